// The rule script's value rules as the pages reach them: every SetVal case of the handler
// case files (tests/script/rules/cases*.txt, written for veskctl) is replayed through
// CDataItem::SetAttributeValue on a fresh copy of its profile. The schema must name the case's
// handler for that attribute, and the item must return what the handler returned.

#include <QDir>
#include <QMap>
#include <QRegularExpression>

#include "edit_result_print.h"
#include "model/data_item.h"
#include "model/profile_node_access.h"
#include "model/rule_script_host.h"
#include "model/schema_index.h"
#include "platform/script/dom.h"
#include "platform/xml/xml_document.h"
#include "platform/xml/xpath.h"
#include "recording_prompt.h"
#include "source_files.h"

#include <gtest/gtest.h>

namespace {

// One handler call of a case file and what veskctl printed for it.
struct SRawCase {
    QString file;
    QString profile;
    QString handler;
    QStringList args;
    QString result;
    QMap<int, qint32> byRef;  // argument number (1-based) -> final value
};

struct SCase {
    QString file;
    QString profile;
    QString handler;
    QString element;    // XPath of the element
    QString attribute;  // its attribute
    QString value;
    qint32 arg = 0;
    qint32 result = 0;
    qint32 out1 = 0;
    qint32 out2 = 0;
};

// Splits like a POSIX shell (as the case files are written for one): blanks separate, single
// quotes keep everything, double quotes keep all but backslash escapes, a backslash outside
// quotes escapes the next character.
QStringList ShellSplit(const QString& text) {
    QStringList words;
    QString word;
    bool inWord = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar ch = text[i];
        if (ch == u'\'') {
            const qsizetype end = text.indexOf(u'\'', i + 1);
            word += text.mid(i + 1, (end < 0 ? text.size() : end) - i - 1);
            i = end < 0 ? text.size() : end;
            inWord = true;
        } else if (ch == u'"') {
            for (++i; i < text.size() && text[i] != u'"'; ++i) {
                if (text[i] == u'\\' && i + 1 < text.size() &&
                    QStringLiteral("\\\"$`").contains(text[i + 1])) {
                    ++i;
                }
                word += text[i];
            }
            inWord = true;
        } else if (ch == u'\\' && i + 1 < text.size()) {
            word += text[++i];
            inWord = true;
        } else if (ch.isSpace()) {
            if (inWord) {
                words << word;
                word.clear();
                inWord = false;
            }
        } else {
            word += ch;
            inWord = true;
        }
    }
    if (inWord) {
        words << word;
    }
    return words;
}

std::vector<SRawCase> AllCases() {
    std::vector<SRawCase> cases;
    const QDir dir(QStringLiteral(VESK_SOURCE_DIR "/tests/script/rules"));
    static const QRegularExpression byRef(QStringLiteral("^byref (\\d+): (-?\\d+)$"));
    for (const QString& name : dir.entryList({QStringLiteral("cases*.txt")}, QDir::Files)) {
        QString profile;
        for (const QString& line : QString::fromUtf8(ReadAll(dir.filePath(name))).split(u'\n')) {
            if (line.startsWith(QLatin1String("# xml:"))) {
                profile = line.mid(6).trimmed();
                continue;
            }
            const QStringList parts = line.split(u'|');
            if (line.startsWith(u'#') || parts.size() != 3) {
                continue;
            }
            SRawCase c{name, profile, parts[0].trimmed(), ShellSplit(parts[1].trimmed()), {}, {}};
            for (const QString& printed : parts[2].trimmed().split(QStringLiteral("\\n"))) {
                if (printed.startsWith(QLatin1String("result: "))) {
                    c.result = printed.mid(8);
                } else if (const auto m = byRef.match(printed); m.hasMatch()) {
                    c.byRef.insert(m.captured(1).toInt(), m.captured(2).toInt());
                }
            }
            cases.push_back(c);
        }
    }
    return cases;
}

// The SetVal cases: HANDLER | xpath:ELEMENT xpath:ELEMENT/@NAME VALUE &0 ARG &0 | result ...
std::vector<SCase> SetValCases() {
    std::vector<SCase> cases;
    for (const SRawCase& raw : AllCases()) {
        const QStringList& args = raw.args;
        if (args.size() != 6 || !args[0].startsWith(QLatin1String("xpath:")) ||
            !args[1].startsWith(args[0] + QStringLiteral("/@")) || !raw.byRef.contains(4) ||
            !raw.byRef.contains(6)) {
            continue;
        }
        cases.push_back({raw.file, raw.profile, raw.handler, args[0].mid(6),
                         args[1].mid(args[0].size() + 2), args[2], args[4].toInt(),
                         raw.result.toInt(), raw.byRef.value(4), raw.byRef.value(6)});
    }
    return cases;
}

const CSchemaIndex& Schema() {
    static const CSchemaIndex index = CSchemaIndex::Build(
        CXmlDocument::Parse(ReadSource(QStringLiteral("install/profiletemplate/DataProfile.xsd")),
                            QStringLiteral("xsd")));
    return index;
}

// A fresh copy of a case's profile with the rule script started on it, as a profile model holds it.
class CLoadedProfile {
public:
    CLoadedProfile(const QString& profile, const QString& script)
        : m_document(CXmlDocument::Parse(ReadSource(profile), profile)),
          m_view(vbs::CDomDocument::Wrap(m_document.Get())),
          m_host(m_prompt) {
        m_view->SetSelectionNamespaces(
            {{QStringLiteral("dfns"), QStringLiteral("urn:corvane:vesk-kel:profile:1")}});
        m_host.Start(script, QStringLiteral("DataProfile.vbs"));
        m_host.SetDocument(m_view);
        m_context = std::make_shared<SDataContext>(SDataContext{&m_host, &Schema()});
    }
    ~CLoadedProfile() {
        m_host.SetDocument(nullptr);
        m_view->Release();
    }
    CLoadedProfile(const CLoadedProfile&) = delete;
    CLoadedProfile& operator=(const CLoadedProfile&) = delete;

    CDataItem Item(const QString& xpath) {
        xmlNodePtr node = CXPathContext(m_document).SelectSingle(xpath);
        EXPECT_NE(node, nullptr) << xpath.toStdString();
        return CDataItem(CProfileNodeAccess::Wrap(node), m_context);
    }
    const CRecordingPrompt& Prompt() const { return m_prompt; }

private:
    CXmlDocument m_document;
    std::shared_ptr<vbs::CDomDocument> m_view;
    CRecordingPrompt m_prompt;
    CRuleScriptHost m_host;
    std::shared_ptr<SDataContext> m_context;
};

QString Script() {
    return QString::fromUtf8(ReadSource(QStringLiteral("install/profiletemplate/DataProfile.vbs")));
}

TEST(RuleCases, SetValCasesGiveTheSameAnswersThroughDataItems) {
    const std::vector<SCase> cases = SetValCases();
    ASSERT_GE(cases.size(), 40u) << "the case files changed shape";
    const QString script = Script();
    for (const SCase& c : cases) {
        SCOPED_TRACE((c.file + u' ' + c.handler + u' ' + c.element + u' ' + c.value).toStdString());
        CLoadedProfile loaded(c.profile, script);
        const CDataItem item = loaded.Item(c.element);
        const std::optional<QString> handler = item.GetScriptHandler(
            CProfileNodeAccess::Wrap(
                xmlHasProp(CProfileNodeAccess::Xml(item.Node()),
                           reinterpret_cast<const xmlChar*>(c.attribute.toUtf8().constData()))),
            QStringLiteral("SetVal"));
        EXPECT_EQ(handler.value_or(QString()).toStdString(), c.handler.toStdString());

        // Numbers and truth values travel typed, as the pages pass them; anything else as text.
        bool isNumber = false;
        const qint32 number = c.value.toInt(&isNumber);
        QVariant value = isNumber ? QVariant(number) : QVariant(c.value);
        if (c.value.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0 ||
            c.value.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0) {
            value = QVariant(c.value.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0);
        }
        CDataItem writable = item;
        EXPECT_EQ(writable.SetAttributeValue(c.attribute, value, static_cast<EConfirmation>(c.arg)),
                  CEditResult::FromScript(c.result, c.out1, c.out2));
        EXPECT_TRUE(loaded.Prompt().ids.isEmpty());
    }
}

// The element handlers: adding and deleting channels and frequencies and editing a frequency,
// through the item operations the navigation tree and the frequency page use.
TEST(RuleCases, ElementCasesGiveTheSameAnswersThroughDataItems) {
    const QString script = Script();
    int replayed = 0;
    for (const SRawCase& c : AllCases()) {
        if (c.args.isEmpty() || !c.args[0].startsWith(QLatin1String("xpath:")) ||
            c.args[1 % c.args.size()].startsWith(c.args[0] + QStringLiteral("/@"))) {
            continue;
        }
        SCOPED_TRACE((c.file + u' ' + c.handler + u' ' + c.args.join(u' ')).toStdString());
        CLoadedProfile loaded(c.profile, script);
        CDataItem item = loaded.Item(c.args[0].mid(6));
        const auto number = [&c](int i) { return c.args.value(i).toUInt(); };
        const auto truth = [](bool b) { return QString::fromLatin1(b ? "True" : "False"); };
        // The schema must name this handler under the key the operation uses; asked before the
        // call, since a delete takes the node out of the tree.
        static const QMap<QString, QString> kKeys = {
            {QStringLiteral("CanAddChannel"), QStringLiteral("CanAddChild")},
            {QStringLiteral("CanAddFrequency"), QStringLiteral("CanAddChild")},
            {QStringLiteral("CanDeleteChannel"), QStringLiteral("CanDeleteChild")},
            {QStringLiteral("CanDeleteFrequency"), QStringLiteral("CanDeleteChild")},
            {QStringLiteral("AddChannel"), QStringLiteral("OnAddNew")},
            {QStringLiteral("AddFrequency"), QStringLiteral("OnAddNewFrequency")},
            {QStringLiteral("SetFrequencyAttributes"), QStringLiteral("SetFreqAttr")},
            {QStringLiteral("DeleteChannel"), QStringLiteral("OnDelete")},
            {QStringLiteral("DeleteFrequency"), QStringLiteral("OnDelete")}};
        EXPECT_EQ(item.GetScriptHandler(item.Node(), kKeys.value(c.handler))
                      .value_or(QString())
                      .toStdString(),
                  c.handler.toStdString());

        if (c.handler == u"CanAddChannel" || c.handler == u"CanAddFrequency") {
            EXPECT_EQ(truth(item.CanAddChild()), c.result);
        } else if (c.handler == u"CanDeleteChannel") {
            EXPECT_EQ(truth(item.CanDeleteChild()), c.result);
        } else if (c.handler == u"CanDeleteFrequency") {
            EXPECT_EQ(truth(item.CanDeleteFrequency(number(1))), c.result);
        } else if (c.handler == u"AddChannel") {
            EXPECT_EQ(!item.AddNewChild().IsEmpty(), c.result != u"0");
        } else if (c.handler == u"AddFrequency") {
            EXPECT_EQ(item.AddFrequency({number(1), number(2), number(3), number(4)}),
                      CEditResult::FromScript(c.result == u"0" ? 0 : 1, c.byRef.value(6),
                                              c.byRef.value(7)));
        } else if (c.handler == u"SetFrequencyAttributes") {
            EXPECT_EQ(
                item.SetFreqAttributeValue(number(1), {number(2), number(3), number(4), number(5)},
                                           static_cast<EConfirmation>(c.args.value(8).toInt())),
                CEditResult::FromScript(c.result.toInt(), c.byRef.value(7), c.byRef.value(8)));
        } else if (c.handler == u"DeleteChannel" || c.handler == u"DeleteFrequency") {
            CDataItem parent(CProfileNodeAccess::Wrap(CProfileNodeAccess::Xml(item.Node())->parent),
                             item.Context());
            EXPECT_EQ(
                parent.RemoveChildByIndex(c.args.value(1).toInt(),
                                          static_cast<EConfirmation>(c.args.value(3).toInt())),
                CEditResult::FromScript(c.result.toInt(), c.byRef.value(3), c.byRef.value(5)));
        } else {
            ADD_FAILURE() << "no item operation for this handler";
            continue;
        }
        ++replayed;
    }
    EXPECT_GE(replayed, 30);
}

}  // namespace
