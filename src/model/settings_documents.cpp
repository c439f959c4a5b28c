#include "model/settings_documents.h"

#include <QFile>

#include "model/profile_file.h"
#include "platform/settings/configuration.h"
#include "platform/user_prompt.h"
#include "platform/xml/xml_node.h"
#include "platform/xml/xpath.h"

namespace {

// The five MURS frequencies in Hz. These radios must never carry them.
constexpr std::array<qint64, 5> kMursFrequencies = {154570000, 154600000, 151820000, 151880000,
                                                    151940000};

std::size_t Index(CSettingsDocuments::Doc which) {
    return static_cast<std::size_t>(which);
}

}  // namespace

const std::array<std::pair<CSettingsDocuments::Doc, const char*>, 5>&
CSettingsDocuments::LoadOrder() {
    static const std::array<std::pair<Doc, const char*>, 5> order = {{
        {Doc::VisibleSetting, "VisibleSetting.stv"},
        {Doc::ButtonList, "ButtonList.stv"},
        {Doc::Region, "Region.stv"},
        {Doc::HelpPanMap, "HelpPanMap.stv"},
        {Doc::UpDownGradeSetting, "UpDownGradeSetting.stv"},
    }};
    return order;
}

std::optional<CXmlDocument> CSettingsDocuments::LoadSettingDoc(const CConfiguration& config,
                                                               IUserPrompt& prompt,
                                                               const QString& name,
                                                               bool inLibraryFolder) {
    const QString path = config.GetInstallPath() + u'/' +
                         (inLibraryFolder ? QStringLiteral("lib") : QStringLiteral("Report")) +
                         u'/' + name;
    if (const std::optional<QString> text = profile_file::Read(path)) {
        try {
            return CXmlDocument::ParseText(*text, path);
        } catch (const CVeskCPSException&) {
            // A malformed document is a damaged installation, reported as such below.
        }
    }
    prompt.Show(kMsgFilesMissing);
    return std::nullopt;
}

bool CSettingsDocuments::LoadAll(const CConfiguration& config, IUserPrompt& prompt) {
    for (const auto& [which, name] : LoadOrder()) {
        std::optional<CXmlDocument> document =
            LoadSettingDoc(config, prompt, QString::fromLatin1(name));
        if (!document) {
            return false;
        }
        Set(which, std::move(*document));
    }
    return true;
}

bool CSettingsDocuments::LoadProfileDocuments(const CConfiguration& config, IUserPrompt& prompt,
                                              QString* failed) {
    for (const auto& [which, name] :
         {std::pair{Doc::Region, "Region.stv"},
          std::pair{Doc::UpDownGradeSetting, "UpDownGradeSetting.stv"}}) {
        std::optional<CXmlDocument> document =
            LoadSettingDoc(config, prompt, QString::fromLatin1(name));
        if (!document) {
            if (failed != nullptr) {
                *failed = QString::fromLatin1(name);
            }
            return false;
        }
        Set(which, std::move(*document));
    }
    return true;
}

void CSettingsDocuments::Set(Doc which, CXmlDocument document) {
    m_documents[Index(which)] = std::move(document);
}

const CXmlDocument& CSettingsDocuments::Document(Doc which) const {
    return m_documents[Index(which)];
}

std::vector<xmlNodePtr> CSettingsDocuments::Children(Doc which, const QString& expression) const {
    const CXmlDocument& document = Document(which);
    if (document.IsNull()) {
        return {};
    }
    return CXPathContext(document).SelectNodes(expression);
}

std::optional<QString> CSettingsDocuments::SingleAttribute(Doc which, const QString& expression,
                                                           const char* attribute) const {
    const CXmlDocument& document = Document(which);
    if (document.IsNull()) {
        return std::nullopt;
    }
    xmlNodePtr node = CXPathContext(document).SelectSingle(expression);
    return node ? xml::Attribute(node, attribute) : std::nullopt;
}

QString CSettingsDocuments::RegionName() const {
    return SingleAttribute(Doc::Region, QStringLiteral("//dfns:Region"), "name")
        .value_or(QString());
}

QString CSettingsDocuments::ProductVersion() const {
    return SingleAttribute(Doc::Region, QStringLiteral("//dfns:ProductVersion"), "value")
        .value_or(QString());
}

QStringList CSettingsDocuments::SupportedRegionCodes() const {
    QStringList codes;
    for (xmlNodePtr node : Children(Doc::Region, QStringLiteral("//dfns:Support/dfns:*"))) {
        codes << xml::Attribute(node, "num").value_or(QString());
    }
    return codes;
}

bool CSettingsDocuments::IsSupported(const QString& regionCode) const {
    return SupportedRegionCodes().contains(regionCode, Qt::CaseSensitive);
}

qint32 CSettingsDocuments::CpsCodeplugVersion() const {
    const CXmlDocument& document = Document(Doc::Region);
    if (document.IsNull()) {
        return 1;
    }
    xmlNodePtr node = CXPathContext(document).SelectSingle(QStringLiteral("//dfns:CPVersion"));
    if (!node) {
        return 1;
    }
    return xml::ParseInt32(xml::NodeText(node)).value_or(1);
}

std::optional<QMap<int, QString>> CSettingsDocuments::ModelRegions() const {
    const std::vector<xmlNodePtr> nodes =
        Children(Doc::Region, QStringLiteral("//dfns:ModelRegions/dfns:*"));
    if (nodes.empty()) {
        return std::nullopt;
    }
    QMap<int, QString> table;
    for (xmlNodePtr node : nodes) {
        const std::optional<qint32> code =
            xml::ParseInt32(xml::Attribute(node, "code").value_or(QString()));
        if (code) {
            table.insert(*code, xml::Attribute(node, "name").value_or(QString()));
        }
    }
    return table;
}

QStringList CSettingsDocuments::SupportedLanguages() const {
    QStringList names;
    for (xmlNodePtr node :
         Children(Doc::Region, QStringLiteral("//dfns:SupportLanguages/dfns:*"))) {
        names << xml::Attribute(node, "name").value_or(QString());
    }
    return names;
}

QString CSettingsDocuments::LanguageDisplayName(const QString& language) const {
    const std::optional<QString> name =
        SingleAttribute(Doc::Region,
                        QStringLiteral("//dfns:SupportLanguages/dfns:language[@name=%1]")
                            .arg(CXPathContext::Literal(language)),
                        "displayName");
    return name.value_or(QStringLiteral(" "));
}

std::vector<xmlNodePtr> CSettingsDocuments::PageVisibilityList(const QString& region,
                                                               const QString& page) const {
    return Children(Doc::VisibleSetting,
                    QStringLiteral("//dfns:%1/dfns:%2/dfns:*").arg(region, page));
}

namespace {

std::optional<bool> XmlBoolean(const std::optional<QString>& text) {
    if (!text) {
        return std::nullopt;
    }
    const QString value = text->trimmed();
    if (value == QStringLiteral("1") || value == QStringLiteral("true")) {
        return true;
    }
    if (value == QStringLiteral("0") || value == QStringLiteral("false")) {
        return false;
    }
    return std::nullopt;
}

SVisibilityEntry ReadVisibilityEntry(const xmlNode* node, const QString& group) {
    return SVisibilityEntry{group, xml::AttributeInt32(node, "ID"),
                            XmlBoolean(xml::Attribute(node, "isVisible"))};
}

}  // namespace

std::vector<SVisibilityEntry> CSettingsDocuments::PageVisibilityEntries(const QString& region,
                                                                        const QString& page) const {
    std::vector<SVisibilityEntry> entries;
    for (xmlNodePtr node : PageVisibilityList(region, page)) {
        // Groups of entries that apply to one class of model only: with or without a display,
        // repeater or handheld.
        static const QStringList kGroups{QStringLiteral("Display"), QStringLiteral("NonDisplay"),
                                         QStringLiteral("Repeater"), QStringLiteral("Handheld")};
        const QString name = xml::LocalName(node);
        if (!kGroups.contains(name)) {
            entries.push_back(ReadVisibilityEntry(node, QString()));
            continue;
        }
        for (xmlNodePtr child = node->children; child; child = child->next) {
            if (child->type == XML_ELEMENT_NODE &&
                xml::LocalName(child) == QStringLiteral("Control")) {
                entries.push_back(ReadVisibilityEntry(child, name));
            }
        }
    }
    return entries;
}

std::vector<SButtonFunction> CSettingsDocuments::ButtonFunctions(const QString& region,
                                                                 const QString& group) const {
    std::vector<SButtonFunction> functions;
    for (xmlNodePtr node :
         Children(Doc::ButtonList, QStringLiteral("//dfns:%1/dfns:%2/dfns:*").arg(region, group))) {
        SButtonFunction function;
        function.name = xml::Attribute(node, "Name").value_or(QString());
        function.value = xml::Attribute(node, "Value").value_or(QString()).trimmed().toInt();
        function.dependName = xml::Attribute(node, "DependName").value_or(QString());
        function.dependType =
            xml::Attribute(node, "DependType").value_or(QString()).trimmed().toInt() != 0;
        functions.push_back(function);
    }
    return functions;
}

std::optional<QString> CSettingsDocuments::ButtonPicture(const QString& region,
                                                         bool display) const {
    const std::vector<xmlNodePtr> pictures =
        Children(Doc::ButtonList, QStringLiteral("//dfns:%1/dfns:IMAGE/dfns:*").arg(region));
    if (pictures.empty()) {
        return std::nullopt;
    }
    return xml::Attribute(pictures.front(), display ? "Display" : "NonDisplay");
}

QString CSettingsDocuments::HelpPage(const QString& page, const QString& controlId,
                                     const QString& current) const {
    return SingleAttribute(Doc::HelpPanMap,
                           QStringLiteral("//dfns:%1/dfns:map[@id=%2]")
                               .arg(page, CXPathContext::Literal(controlId)),
                           "pageName")
        .value_or(current);
}

namespace {

bool HasNoMursFrequency(const CXmlDocument& document) {
    for (xmlNodePtr node :
         CXPathContext(document).SelectNodes(QStringLiteral("//dfns:frequencies/*"))) {
        const std::optional<QString> text = xml::Attribute(node, "freq");
        bool ok = false;
        const qint64 hz = text ? text->trimmed().toLongLong(&ok) : 0;
        if (ok && std::find(kMursFrequencies.begin(), kMursFrequencies.end(), hz) !=
                      kMursFrequencies.end()) {
            return false;
        }
    }
    return true;
}

}  // namespace

bool CheckMURFreq(const QByteArray& profileText) {
    try {
        return HasNoMursFrequency(CXmlDocument::Parse(profileText, QStringLiteral("profile")));
    } catch (const CVeskCPSException&) {
        return false;
    }
}

bool CheckMURFreq(const QString& profileText) {
    try {
        return HasNoMursFrequency(CXmlDocument::ParseText(profileText, QStringLiteral("profile")));
    } catch (const CVeskCPSException&) {
        return false;
    }
}

bool IsMursFrequency(qint64 hertz) {
    return std::find(kMursFrequencies.begin(), kMursFrequencies.end(), hertz) !=
           kMursFrequencies.end();
}
