// The rule script's value rules as the pages reach them: every SetVal case of the handler
// case files (tests/script/rules/cases*.txt, written for veskctl) is replayed through
// CDataItem::SetAttributeValue on a fresh copy of its profile. The schema must name the case's
// handler for that attribute, and the item must return what the handler returned.

#include <QDir>
#include <QRegularExpression>

#include "model/data_item.h"
#include "model/rule_script_host.h"
#include "model/schema_index.h"
#include "platform/script/dom.h"
#include "platform/xml/xml_document.h"
#include "platform/xml/xpath.h"
#include "recording_prompt.h"
#include "source_files.h"

#include <gtest/gtest.h>

namespace {

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

// The SetVal cases: HANDLER | xpath:ELEMENT xpath:ELEMENT/@NAME VALUE &0 ARG &0 | result ...
std::vector<SCase> SetValCases() {
    std::vector<SCase> cases;
    const QDir dir(QStringLiteral(VESK_SOURCE_DIR "/tests/script/rules"));
    static const QRegularExpression expected(
        QStringLiteral("^result: (-?\\d+)\\\\nbyref 4: (-?\\d+)\\\\nbyref 6: (-?\\d+)$"));
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
            const QStringList args = ShellSplit(parts[1].trimmed());
            const QRegularExpressionMatch outcome = expected.match(parts[2].trimmed());
            if (args.size() != 6 || !args[0].startsWith(QLatin1String("xpath:")) ||
                !args[1].startsWith(args[0] + QStringLiteral("/@")) || !outcome.hasMatch()) {
                continue;
            }
            SCase c;
            c.file = name;
            c.profile = profile;
            c.handler = parts[0].trimmed();
            c.element = args[0].mid(6);
            c.attribute = args[1].mid(args[0].size() + 2);
            c.value = args[2];
            c.arg = args[4].toInt();
            c.result = outcome.captured(1).toInt();
            c.out1 = outcome.captured(2).toInt();
            c.out2 = outcome.captured(3).toInt();
            cases.push_back(c);
        }
    }
    return cases;
}

const CSchemaIndex& Schema() {
    static const CSchemaIndex index = CSchemaIndex::Build(
        CXmlDocument::Parse(ReadSource(QStringLiteral("install/profiletemplate/DataProfile.xsd")),
                            QStringLiteral("xsd")));
    return index;
}

TEST(RuleCases, SetValCasesGiveTheSameAnswersThroughDataItems) {
    const std::vector<SCase> cases = SetValCases();
    ASSERT_GE(cases.size(), 40u) << "the case files changed shape";
    const QString script =
        QString::fromUtf8(ReadSource(QStringLiteral("install/profiletemplate/DataProfile.vbs")));
    for (const SCase& c : cases) {
        SCOPED_TRACE((c.file + u' ' + c.handler + u' ' + c.element + u' ' + c.value).toStdString());
        CXmlDocument document = CXmlDocument::Parse(ReadSource(c.profile), c.profile);
        auto view = vbs::CDomDocument::Wrap(document.Get());
        view->SetSelectionNamespaces(
            {{QStringLiteral("dfns"), QStringLiteral("urn:corvane:vesk-kel:profile:1")}});
        CRecordingPrompt prompt;
        CRuleScriptHost host(prompt);
        host.Start(script, QStringLiteral("DataProfile.vbs"));
        host.SetDocument(view);
        const auto context = std::make_shared<SDataContext>(SDataContext{&host, &Schema()});

        xmlNodePtr element = CXPathContext(document).SelectSingle(c.element);
        ASSERT_NE(element, nullptr);
        const CDataItem item(element, context);
        QString handler;
        EXPECT_TRUE(item.GetScriptHandler(
            reinterpret_cast<xmlNodePtr>(xmlHasProp(
                element, reinterpret_cast<const xmlChar*>(c.attribute.toUtf8().constData()))),
            QStringLiteral("SetVal"), handler));
        EXPECT_EQ(handler.toStdString(), c.handler.toStdString());

        // Numbers and truth values travel typed, as the pages pass them; anything else as text.
        bool isNumber = false;
        const qint32 number = c.value.toInt(&isNumber);
        QVariant value = isNumber ? QVariant(number) : QVariant(c.value);
        if (c.value.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0 ||
            c.value.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0) {
            value = QVariant(c.value.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0);
        }
        qint32 out1 = -1;
        qint32 out2 = -1;
        CDataItem writable = item;
        EXPECT_EQ(writable.SetAttributeValue(c.attribute, value, out1, c.arg, out2), c.result);
        EXPECT_EQ(out1, c.out1);
        EXPECT_EQ(out2, c.out2);
        EXPECT_TRUE(prompt.ids.isEmpty());

        host.SetDocument(nullptr);
        view->Release();
    }
}

}  // namespace
