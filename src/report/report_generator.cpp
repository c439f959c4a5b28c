#include "report/report_generator.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStandardPaths>
#include <libxml/tree.h>

#include "model/data_item.h"
#include "model/profile_document.h"
#include "model/radio_data_model.h"
#include "model/squelch_codes.h"
#include "platform/settings/configuration.h"
#include "platform/string_table.h"
#include "platform/user_prompt.h"
#include "platform/vesk_cps_exception.h"
#include "platform/xml/namespaces.h"
#include "platform/xml/xml_node.h"
#include "platform/xml/xpath.h"
#include "platform/xml/xslt_transform.h"
#include "report/report_tokens.h"

namespace report {

namespace {

// Where the style sheet wants a row opened whose end tag it leaves out.
constexpr char16_t kRowMarker[] =
    u"ABCDEFGTRTRTRTRTRTRTRTRTRTRTRTRTRTRTRTRTRTRTRTRTRTRFCKUOPQWBFDSA";
// The paragraph the handout's dealer table takes the place of.
constexpr char16_t kDealerMarker[] = u"<p>ABCDEFGSDGFHWRAZxVBSDFSEWASSX</p>";

// A "$" of the dealer's own text stands as this private-use character while the tokens are
// replaced, so that a dealer who writes "$#Model" sees just that. (The profile's texts cannot
// hold "$": the rules admit only the characters a radio can display.)
constexpr QChar kDollarStandIn(0xE000);

const QString kCreateFailure = QStringLiteral("the report's XML document cannot be created");

QString ProtectDollars(QString text) {
    return text.replace(QLatin1Char('$'), kDollarStandIn);
}

QString RestoreDollars(QString text) {
    return text.replace(kDollarStandIn, QLatin1Char('$'));
}

// The report's copy of the profile. A document that cannot be made is the fatal 134; one that
// does not parse is a failure of the XML library (315).
// Unprefixed elements of the profile namespace leave it, and its default declarations go: the
// tree the text without " xmlns=\"...\"" would parse to, made without printing and parsing it.
void LeaveDefaultNamespace(xmlNodePtr node) {
    for (; node != nullptr; node = node->next) {
        if (node->type != XML_ELEMENT_NODE) {
            continue;
        }
        if (node->ns != nullptr && node->ns->prefix == nullptr &&
            xmlStrEqual(node->ns->href, reinterpret_cast<const xmlChar*>(kProfileNamespace))) {
            node->ns = nullptr;
        }
        // The descendants first: they point at this element's declaration until they leave it.
        LeaveDefaultNamespace(node->children);
        for (xmlNsPtr* link = &node->nsDef; *link != nullptr;) {
            xmlNsPtr ns = *link;
            if (ns->prefix == nullptr &&
                xmlStrEqual(ns->href, reinterpret_cast<const xmlChar*>(kProfileNamespace))) {
                *link = ns->next;
                ns->next = nullptr;
                xmlFreeNs(ns);
            } else {
                link = &ns->next;
            }
        }
    }
}

// The report's copy of the profile, addressed without a prefix. A copy that cannot be made is
// the fatal 134.
CXmlDocument LoadReportCopy(const CRadioDataModel& profile, const QString& operation) {
    CXmlDocument copy = profile.WorkingDocument().Clone();
    if (copy.Root() == nullptr) {
        throw CVeskCPSException(kMsgCannotCreateDocument, operation, kCreateFailure);
    }
    LeaveDefaultNamespace(copy.Root());
    return copy;
}

// The style sheet's text: 315 and nothing when it cannot be read. It is parsed once, after the
// text edits, and a sheet that does not parse is a 315 with the parser's reason then.
std::optional<QString> LoadStyleSheetText(const SReportContext& context, const char* name,
                                          IUserPrompt& prompt) {
    QFile file(QDir(context.reportFolder).filePath(QString::fromLatin1(name)));
    if (!file.open(QIODevice::ReadOnly)) {
        prompt.Show(kMsgFilesMissing);
        return std::nullopt;
    }
    QByteArray bytes = file.readAll();
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        return QString::fromUtf8(bytes.mid(3));
    }
    static const QRegularExpression declared(
        QStringLiteral("^<\\?xml[^>]*encoding\\s*=\\s*[\"']([^\"']+)[\"']"));
    const QRegularExpressionMatch encoding = declared.match(QString::fromLatin1(bytes.left(200)));
    if (!encoding.hasMatch() ||
        encoding.captured(1).compare(QLatin1String("UTF-8"), Qt::CaseInsensitive) == 0) {
        return QString::fromUtf8(bytes);
    }
    // Another encoding: the parser reads it as declared and gives the text back.
    return QString::fromUtf8(CXmlDocument::Parse(bytes, file.fileName(), kMsgFilesMissing).ToXml());
}

QString Transform(const QString& styleSheetText, const char* name, const CXmlDocument& input,
                  const SReportContext& context) {
    CXsltStyleSheet sheet(
        CXmlDocument::ParseText(styleSheetText, QString::fromLatin1(name), kMsgFilesMissing),
        context.reportFolder, QString::fromLatin1(name), kMsgFilesMissing);
    return QString::fromUtf8(sheet.Transform(input));
}

void ReplaceChannelCodes(const CXmlDocument& copy, const CRadioDataModel& profile,
                         const QString& decimalSeparator) {
    const CDataItem setting = profile.RootItem().GetChildByName(QStringLiteral("setting"));
    CXPathContext xpath(copy, kMsgFilesMissing);
    for (xmlNodePtr channel : xpath.SelectNodes(QStringLiteral("/VeskProfile/channels/channel"))) {
        for (const char* name : {"rx_code", "tx_code"}) {
            const std::optional<qint32> number = xml::AttributeInt32(channel, name);
            if (number && *number > 0) {
                xml::SetAttribute(channel, name,
                                  squelch::CodeItemText(*number, setting, decimalSeparator));
            }
        }
    }
}

}  // namespace

bool WriteReportFile(const QString& path, const QString& html) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return false;
    }
    const QByteArray bytes = QByteArrayLiteral("\xEF\xBB\xBF") + html.toUtf8();
    return file.write(bytes) == bytes.size() && file.commit();
}

bool UseLocalizedFileNames(const QString& language, int ansiCodePage) {
    if (language.isEmpty()) {
        return false;
    }
    if (language == QLatin1String("English")) {
        return true;
    }
    static const QStringList western = {
        QStringLiteral("CaFrench"),  QStringLiteral("Dutch"),      QStringLiteral("French"),
        QStringLiteral("German"),    QStringLiteral("Italian"),    QStringLiteral("LaPortuguese"),
        QStringLiteral("LaSpanish"), QStringLiteral("Portuguese"), QStringLiteral("Spanish")};
    if (western.contains(language)) {
        return ansiCodePage == 1252;
    }
    if (language == QLatin1String("Polish")) {
        return ansiCodePage == 1250;
    }
    if (language == QLatin1String("Russian")) {
        return ansiCodePage == 1251;
    }
    return false;
}

SReportFileNames ReportFileNames(const QString& language, int ansiCodePage) {
    if (!UseLocalizedFileNames(language, ansiCodePage)) {
        return {QStringLiteral("Detailed Report.htm"), QStringLiteral("Customer Handout.htm")};
    }
    const auto name = [](int id) {
        QString text = CStringTable::Instance().Text(id);
        for (const QChar bad : QStringLiteral("\\/:*?\"<>|")) {
            text.replace(bad, QLatin1Char(' '));
        }
        return text + QStringLiteral(".htm");
    };
    return {name(kDetailedReportName), name(kCustomerHandoutName)};
}

bool IsDisplayModel(const QString& model) {
    return model.size() > 2 && (model[2] == QLatin1Char('D') || model[2] == QLatin1Char('d'));
}

std::optional<SDealerInfo> ReadDealerInfo(const CConfiguration& config, const QString& language) {
    if (language.isEmpty() || !config.CanReadDealerInfo(language)) {
        return std::nullopt;
    }
    const auto left = config.ReadDealerInfo(language, CConfiguration::kDealerInfoLeft);
    const auto middle = config.ReadDealerInfo(language, CConfiguration::kDealerInfoMiddle);
    const auto right = config.ReadDealerInfo(language, CConfiguration::kDealerInfoRight);
    if (!left || !middle || !right) {
        return std::nullopt;
    }
    return SDealerInfo{*left, *middle, *right};
}

namespace detail {

QString ProfileTextForReport(const QString& profileXml) {
    const QString uri = QString::fromLatin1(kProfileNamespace);
    QString text = profileXml;
    text.remove(QStringLiteral(" xmlns=\"%1\"").arg(uri));
    text.remove(QStringLiteral(" xmlns='%1'").arg(uri));
    return text;
}

QString EditDetailedStyleSheet(QString xsl, const QString& decimalSeparator) {
    xsl.replace(QStringLiteral("$#SPLITTER"), decimalSeparator);
    xsl.replace(QStringLiteral("#."), QStringLiteral("#") + decimalSeparator);
    static const char* const kRanges[][2] = {{"rx_freq_start", "rx_start_freq\"/>"},
                                             {"rx_freq_end", "rx_end_freq\"/>"},
                                             {"tx_freq_start", "tx_start_freq\"/>"},
                                             {"tx_freq_end", "tx_end_freq\"/>"}};
    for (const auto& range : kRanges) {
        const QString variable = QString::fromLatin1(range[0]);
        const QString limit = QString::fromLatin1(range[1]);
        const QString found =
            QStringLiteral("<xsl:variable name=\"%1\" select=\"/VeskProfile/limit/@%2")
                .arg(variable, limit);
        const QString profileLimit = limit.startsWith(QLatin1String("rx_start")) ||
                                             limit.startsWith(QLatin1String("tx_start"))
                                         ? QStringLiteral("start_freq\"/>")
                                         : QStringLiteral("end_freq\"/>");
        xsl.replace(found,
                    QStringLiteral("<xsl:variable name=\"%1\" select=\"/VeskProfile/limit/@%2")
                        .arg(variable, profileLimit));
    }
    return xsl;
}

QString LocalizeDetailedReport(QString html, const QString& decimalSeparator) {
    return Localize(std::move(html), DetailedReportTokens(), decimalSeparator);
}

QString LocalizeHandout(QString html) {
    return Localize(std::move(html), HandoutTokens(), QStringLiteral("."));
}

QString PrepareDealerText(const QString& text) {
    QString html = text;
    html.replace(QLatin1Char('&'), QStringLiteral("&amp;"));
    html.replace(QLatin1Char('<'), QStringLiteral("&lt;"));
    html.replace(QLatin1Char('>'), QStringLiteral("&gt;"));
    html.replace(QLatin1Char('"'), QStringLiteral("&quot;"));
    // The dealer texts are typed on this system, whose line ends are a bare line feed; hives
    // written elsewhere hold carriage return and line feed. Both are a line break.
    html.replace(QStringLiteral("\r\n"), QStringLiteral("<BR>"));
    html.replace(QLatin1Char('\n'), QStringLiteral("<BR>"));
    if (!html.endsWith(QLatin1String("<BR>"))) {
        html += QStringLiteral("<BR>");
    }
    return html;
}

QString DealerTable(const SDealerInfo& dealer) {
    return CStringTable::FormatText(
        QStringLiteral(
            "<table class='std'><tr><td><table width=\"100%%\" border=\"0\" cellpadding=\"0\" "
            "cellspacing=\"0\">               <tr>               <td width=\"33%%\" "
            "class=\"ItemVal\" align=\"left\" valign=\"top\">%s</td>               <td "
            "width=\"33%%\" class=\"ItemVal\" align=\"center\" valign=\"top\">%s</td>          "
            "     <td width=\"33%%\" class=\"ItemVal\" align=\"right\" valign=\"top\">%s</td>   "
            "            </tr>               </table></td></tr></table>"),
        {PrepareDealerText(dealer.left), PrepareDealerText(dealer.middle),
         PrepareDealerText(dealer.right)});
}

}  // namespace detail

SReportContext SReportContext::ForConfiguration(const CConfiguration& config) {
    SReportContext context;
    context.reportFolder = QDir(config.GetInstallPath()).filePath(QStringLiteral("Report"));
    context.fallbackFolder =
        QDir(QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation))
            .filePath(QStringLiteral("veskcps/Report"));
    context.language = config.GetCurrentLanguage();
    return context;
}

std::optional<QString> GenerateDetailedReport(const CRadioDataModel& profile,
                                              const SReportContext& context, IUserPrompt& prompt) {
    const QString operation = QStringLiteral("CReportOptionDlg::GenOverviewReport");
    try {
        const CXmlDocument copy = LoadReportCopy(profile, operation);
        const std::optional<QString> sheet =
            LoadStyleSheetText(context, kDetailedStyleSheet, prompt);
        if (!sheet) {
            return std::nullopt;
        }
        ReplaceChannelCodes(copy, profile, context.decimalSeparator);
        QString html = Transform(detail::EditDetailedStyleSheet(*sheet, context.decimalSeparator),
                                 kDetailedStyleSheet, copy, context);
        html.replace(QString::fromUtf16(kRowMarker), QStringLiteral("<tr>"));
        return RestoreDollars(
            detail::LocalizeDetailedReport(std::move(html), context.decimalSeparator));
    } catch (const CVeskCPSException& error) {
        ShowModelException(prompt, error);
        return std::nullopt;
    }
}

std::optional<QString> GenerateHandout(const CRadioDataModel& profile, const SDealerInfo& dealer,
                                       const SReportContext& context, IUserPrompt& prompt) {
    const QString operation = QStringLiteral("CReportOptionDlg::GenSpecReport");
    try {
        const std::optional<QString> sheet =
            LoadStyleSheetText(context, kHandoutStyleSheet, prompt);
        if (!sheet) {
            return std::nullopt;
        }
        const CXmlDocument copy = LoadReportCopy(profile, operation);
        const SDealerInfo guarded{ProtectDollars(dealer.left), ProtectDollars(dealer.middle),
                                  ProtectDollars(dealer.right)};
        QString html = Transform(*sheet, kHandoutStyleSheet, copy, context);
        html.replace(QString::fromUtf16(kDealerMarker), detail::DealerTable(guarded));
        return RestoreDollars(detail::LocalizeHandout(std::move(html)));
    } catch (const CVeskCPSException& error) {
        ShowModelException(prompt, error);
        return std::nullopt;
    }
}

std::optional<SWrittenReport> WriteReport(const SReportContext& context, const QString& fileName,
                                          const QString& html, IUserPrompt& prompt) {
    const QString target = QDir(context.reportFolder).filePath(fileName);
    if (WriteReportFile(target, html)) {
        return SWrittenReport{target, context.reportFolder};
    }
    const QString fallback = QDir(context.fallbackFolder).filePath(fileName);
    if (!QDir().mkpath(context.fallbackFolder) || !WriteReportFile(fallback, html)) {
        prompt.Show(kMsgCannotWriteReport);
        return std::nullopt;
    }
    // The report names its pictures relative to itself.
    const QDir source(context.reportFolder);
    for (const QString& picture :
         source.entryList({QStringLiteral("*.jpg")}, QDir::Files | QDir::Readable)) {
        const QString copy = QDir(context.fallbackFolder).filePath(picture);
        QFile::remove(copy);
        QFile::copy(source.filePath(picture), copy);
    }
    return SWrittenReport{fallback, context.fallbackFolder};
}

}  // namespace report
