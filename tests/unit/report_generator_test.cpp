#include "report/report_generator.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "model/data_item.h"
#include "model/profile_document.h"
#include "model/settings_documents.h"
#include "platform/string_table.h"
#include "profile_installation.h"
#include "qt_print.h"
#include "recording_prompt.h"
#include "report/report_tokens.h"
#include "source_files.h"
#include "temp_hives.h"

#include <gtest/gtest.h>

namespace {

using report::EReportKind;
using report::SReportContext;

const QString kSourceDir = QStringLiteral(VESK_SOURCE_DIR);
// A 16-channel UHF display repeater: tones, digital codes, a customized tone and an inverted
// code on its channels, and code 0 on two of them.
const QString kRepeater = kSourceDir + QStringLiteral("/install/profiletemplate/CUD41670.vk4");

const QString kRowMarker =
    QStringLiteral("ABCDEFGTRTRTRTRTRTRTRTRTRTRTRTRTRTRTRTRTRTRTRTRTRTRFCKUOPQWBFDSA");

// The language module for the length of a test.
class CLanguageScope {
public:
    explicit CLanguageScope(const char* module) {
        if (module != nullptr) {
            loaded = CStringTable::Instance().LoadLanguageModule(QString::fromUtf8(module));
        }
    }
    ~CLanguageScope() { CStringTable::Instance().UnloadLanguageModule(); }
    CLanguageScope(const CLanguageScope&) = delete;
    CLanguageScope& operator=(const CLanguageScope&) = delete;
    bool loaded = false;
};

void WriteFile(const QString& path, const QByteArray& bytes) {
    CTempHives::Write(path, bytes);
}

QByteArray ReadFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The part of a style sheet between its header and its end, so that each case writes only what
// it checks.
QByteArray Sheet(const QByteArray& body, const QByteArray& top = {}) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<xsl:stylesheet version=\"1.0\" xmlns:xsl=\"http://www.w3.org/1999/XSL/Transform\">\n"
           "<xsl:output method=\"html\" encoding=\"UTF-8\"/>\n" +
           top + "<xsl:template match=\"/\">" + body + "</xsl:template>\n</xsl:stylesheet>\n";
}

struct SFileNameRow {
    const char* language;
    int codePage;
    const char* module;
    const char* detailed;
    const char* handout;
};

class ReportFileNames : public ::testing::TestWithParam<SFileNameRow> {};

TEST_P(ReportFileNames, FollowTheLanguageAndItsCodePage) {
    const SFileNameRow& row = GetParam();
    CLanguageScope language(row.module);
    const report::SReportFileNames names =
        report::ReportFileNames(QString::fromUtf8(row.language), row.codePage);
    EXPECT_EQ(names.For(EReportKind::Detailed), QString::fromUtf8(row.detailed));
    EXPECT_EQ(names.For(EReportKind::Handout), QString::fromUtf8(row.handout));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ReportFileNames,
    ::testing::Values(
        SFileNameRow{"", 1252, VESK_GERMAN_QM, "Detailed Report.htm", "Customer Handout.htm"},
        SFileNameRow{"Chinese", 1252, VESK_GERMAN_QM, "Detailed Report.htm",
                     "Customer Handout.htm"},
        SFileNameRow{"German", 1252, VESK_GERMAN_QM, "Detaillierter Bericht.htm",
                     "Kundeninformation.htm"},
        SFileNameRow{"German", 1250, VESK_GERMAN_QM, "Detailed Report.htm", "Customer Handout.htm"},
        SFileNameRow{"Russian", 1251, VESK_GERMAN_QM, "Detaillierter Bericht.htm",
                     "Kundeninformation.htm"},
        SFileNameRow{"Polish", 1251, VESK_GERMAN_QM, "Detailed Report.htm", "Customer Handout.htm"},
        // A name with "/" and ":" cannot be a file name as it stands.
        SFileNameRow{"German", 1252, VESK_PARTIAL_QM, "Detailed Report.htm",
                     "Kunden Info  Blatt.htm"}));

// Every word a style sheet may ask for has its string; a missing one would reach the paper as
// an English word in a German report.
TEST(ReportTokens, EveryTokenHasItsStrings) {
    using report::detail::EReplacement;
    for (auto table : {report::detail::DetailedReportTokens(), report::detail::HandoutTokens()}) {
        for (const report::detail::SReportToken& token : table) {
            const auto view = [](std::u16string_view text) {
                return QStringView(text.data(), static_cast<qsizetype>(text.size()));
            };
            const std::u16string_view english =
                token.how == EReplacement::Label ? token.label : token.english;
            EXPECT_TRUE(report::detail::StringIdOfEnglish(view(english)))
                << view(token.label).toString().toStdString();
            if (token.how == EReplacement::Bandwidth) {
                EXPECT_TRUE(report::detail::StringIdOfEnglish(view(token.argument)));
            }
        }
    }
    EXPECT_TRUE(report::detail::StringIdOfEnglish(u"(default)"));
}

struct SLocalizeRow {
    const char* html;
    const char* separator;
    const char* expected;
};

class LocalizeDetailedReport : public ::testing::TestWithParam<SLocalizeRow> {};

TEST_P(LocalizeDetailedReport, InGerman) {
    CLanguageScope language(VESK_GERMAN_QM);
    ASSERT_TRUE(language.loaded);
    const SLocalizeRow& row = GetParam();
    EXPECT_EQ(report::detail::LocalizeDetailedReport(QString::fromUtf8(row.html),
                                                     QString::fromUtf8(row.separator)),
              QString::fromUtf8(row.expected));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, LocalizeDetailedReport,
    ::testing::Values(
        // A token that another begins with is replaced after it.
        SLocalizeRow{"<td>$#Disable All LEDs</td><td>$#Disable</td>", ",",
                     "<td>Alle LEDs ausschalten</td><td>Aus</td>"},
        SLocalizeRow{"$#12.5 KHz only|$#25KHz|$#User selectable with 12.5 KHz as default", ",",
                     "Nur 12,5 kHz|25 kHz|Wählbar, Standard 12,5 kHz"},
        SLocalizeRow{"$#15 min $#15 $#30", ".", "15 min 15 min 30 min"},
        SLocalizeRow{"$#Prog 1 (URB) $#KT Code 124 (Hz) $#KT Code 219", ".",
                     "Taste A KT-Code 124 (Hz) KT-Code 219 (OKT)"},
        SLocalizeRow{"$#Talkaround Scan, $#Voice Language", ".",
                     "Dynamischer Direktbetrieb-Scan, Sprache der Kanalansage"}));

TEST(LocalizeHandout, DefaultsAndNames) {
    CLanguageScope language(VESK_GERMAN_QM);
    ASSERT_TRUE(language.loaded);
    EXPECT_EQ(report::detail::LocalizeHandout(
                  QStringLiteral("$#Call Tone (default)|$#Call Tone|$#Wolk|$#Prog 3 (LRB)")),
              QStringLiteral("Rufton (Standard)|Rufton|Wolk-Serie|Taste C"));
}

TEST(EditDetailedStyleSheet, SeparatorPatternsAndRangeLines) {
    const QString xsl = QStringLiteral(
        "<xsl:decimal-format decimal-separator=\"$#SPLITTER\"/>\n"
        "<xsl:value-of select=\"format-number(@f, '#.000')\"/><x a='##.0'/>\n"
        "<xsl:variable name=\"rx_freq_start\" select=\"/VeskProfile/limit/@rx_start_freq\"/>\n"
        "<xsl:variable name=\"rx_freq_end\" select=\"/VeskProfile/limit/@rx_end_freq\"/>\n"
        "<xsl:variable name=\"tx_freq_start\" select=\"/VeskProfile/limit/@tx_start_freq\"/>\n"
        "<xsl:variable name=\"tx_freq_end\" select=\"/VeskProfile/limit/@tx_end_freq\"/>\n");
    EXPECT_EQ(
        report::detail::EditDetailedStyleSheet(xsl, QStringLiteral(",")),
        QStringLiteral(
            "<xsl:decimal-format decimal-separator=\",\"/>\n"
            "<xsl:value-of select=\"format-number(@f, '#,000')\"/><x a='##,0'/>\n"
            "<xsl:variable name=\"rx_freq_start\" select=\"/VeskProfile/limit/@start_freq\"/>\n"
            "<xsl:variable name=\"rx_freq_end\" select=\"/VeskProfile/limit/@end_freq\"/>\n"
            "<xsl:variable name=\"tx_freq_start\" select=\"/VeskProfile/limit/@start_freq\"/>\n"
            "<xsl:variable name=\"tx_freq_end\" select=\"/VeskProfile/limit/@end_freq\"/>\n"));
}

TEST(PrepareDealerText, EscapesAndBreaksLines) {
    using report::detail::PrepareDealerText;
    EXPECT_EQ(PrepareDealerText(QStringLiteral("Smith & Sons\r\n\"Radio\" <shop>")),
              QStringLiteral("Smith &amp; Sons<BR>&quot;Radio&quot; &lt;shop&gt;<BR>"));
    EXPECT_EQ(PrepareDealerText(QStringLiteral("one\ntwo")), QStringLiteral("one<BR>two<BR>"));
    EXPECT_EQ(PrepareDealerText(QStringLiteral("ends\r\n")), QStringLiteral("ends<BR>"));
    EXPECT_EQ(PrepareDealerText(QString()), QStringLiteral("<BR>"));
}

// An installation with the rule script and schema, a report folder of the test's own, and the
// repeater template open.
class ReportGeneration : public ::testing::Test {
protected:
    ReportGeneration() {
        InstallForProfiles(hives, config, prompt, settings);
        EXPECT_TRUE(document.Open(kRepeater));
        context = SReportContext::ForConfiguration(config);
        context.fallbackFolder = hives.Path(QStringLiteral("cache/Report"));
        context.decimalSeparator = QStringLiteral(".");
        QDir().mkpath(context.reportFolder);
    }

    QString Install(const QString& relative) const {
        return hives.Path(QStringLiteral("install/") + relative);
    }
    void WriteSheet(const char* name, const QByteArray& text) const {
        WriteFile(QDir(context.reportFolder).filePath(QString::fromLatin1(name)), text);
    }
    std::optional<QString> Detailed() {
        return report::GenerateDetailedReport(document.Model(), context, prompt);
    }
    std::optional<QString> Handout(const report::SDealerInfo& dealer) {
        return report::GenerateHandout(document.Model(), dealer, context, prompt);
    }

    CTempHives hives;
    CConfiguration config = hives.Config();
    CRecordingPrompt prompt;
    CSettingsDocuments settings;
    CProfileDocument document{config, prompt, &settings};
    SReportContext context;
};

TEST_F(ReportGeneration, ChannelCodesRowsAndSeparator) {
    const CDataItem channel =
        document.Model().RootItem().GetChildByName(QStringLiteral("channels")).GetChildByIndex(0);
    WriteSheet(report::kDetailedStyleSheet,
               Sheet("<xsl:for-each select=\"/VeskProfile/channels/channel[position() &lt; 3 or "
                     "@rx_code = 0]\">" +
                         kRowMarker.toUtf8() +
                         "<td><xsl:value-of select=\"@name\"/>=<xsl:value-of select=\"@rx_code\"/>"
                         "/<xsl:value-of select=\"@tx_code\"/></td></xsl:for-each>"
                         "<p><xsl:value-of select=\"format-number($rx_freq_start div 1000000, "
                         "'#.000')\"/> $#ON</p>",
                     "<xsl:decimal-format decimal-separator=\"$#SPLITTER\" "
                     "grouping-separator=\"_\"/>\n"
                     "<xsl:variable name=\"rx_freq_start\" "
                     "select=\"/VeskProfile/limit/@rx_start_freq\"/>\n"));
    context.decimalSeparator = QStringLiteral(",");
    const std::optional<QString> html = Detailed();
    ASSERT_TRUE(html) << prompt.texts.join(u'\n').toStdString();
    EXPECT_EQ(*html, QStringLiteral("<tr><td>RPT 1=12 - 100,0 Hz/12 - 100,0 Hz</td>"
                                    "<tr><td>RPT 2=18 - 123,0 Hz/18 - 123,0 Hz</td>"
                                    "<tr><td>SIMP 1=0/0</td><tr><td>SIMP 3=0/0</td>"
                                    "<p>450,000 ON</p>\n"));
    // The profile itself keeps its numbers.
    EXPECT_EQ(channel.AttributeText(QStringLiteral("rx_code")), QStringLiteral("12"));
    EXPECT_TRUE(prompt.ids.isEmpty());
}

TEST_F(ReportGeneration, HandoutTakesTheDealerTable) {
    WriteSheet(report::kHandoutStyleSheet,
               Sheet("<h1>$#Model</h1><p>ABCDEFGSDGFHWRAZxVBSDFSEWASSX</p>"));
    const std::optional<QString> html =
        Handout({QStringLiteral("A & B\r\nRoad 1"), QStringLiteral("$#Model"), QString()});
    ASSERT_TRUE(html);
    EXPECT_TRUE(
        html->startsWith(QStringLiteral("<h1>Model</h1><table class='std'><tr><td><table "
                                        "width=\"100%\" border=\"0\"")));
    EXPECT_TRUE(html->contains(QStringLiteral(
        "valign=\"top\">A &amp; B<BR>Road 1<BR></td>               <td width=\"33%\" "
        "class=\"ItemVal\" align=\"center\" valign=\"top\">$#Model<BR></td>")));
    EXPECT_TRUE(html->contains(QStringLiteral("align=\"right\" valign=\"top\"><BR></td>")));
}

// What the style sheets may not do, whoever edited them: read outside the report folder, write
// files. Each refusal is a 315 naming what was refused, and nothing is written.
TEST_F(ReportGeneration, StyleSheetsStayInTheReportFolder) {
    const QString secret = hives.Path(QStringLiteral("secret.xml"));
    WriteFile(secret, "<secret>password</secret>");
    WriteFile(QDir(context.reportFolder).filePath(QStringLiteral("words.xml")), "<w>inside</w>");
    const QString written = hives.Path(QStringLiteral("written.htm"));
    struct SCase {
        QByteArray body;
        QByteArray top;
        const char* outcome;  // the report, or null for a refusal
    };
    const SCase cases[] = {
        {"<p><xsl:value-of select=\"document('words.xml')/w\"/></p>", {}, "<p>inside</p>\n"},
        {"<p><xsl:value-of select=\"document('" + secret.toUtf8() + "')/secret\"/></p>",
         {},
         nullptr},
        {"<p><xsl:value-of select=\"document('../secret.xml')/secret\"/></p>", {}, nullptr},
        {"<xsl:document href=\"" + written.toUtf8() + "\"><p>x</p></xsl:document>", {}, nullptr},
        {"<p/>", "<xsl:import href=\"" + secret.toUtf8() + "\"/>", nullptr},
    };
    for (const SCase& c : cases) {
        prompt.ids.clear();
        WriteSheet(report::kDetailedStyleSheet, Sheet(c.body, c.top));
        const std::optional<QString> html = Detailed();
        if (c.outcome != nullptr) {
            EXPECT_EQ(html, QString::fromUtf8(c.outcome)) << c.body.constData();
        } else {
            EXPECT_FALSE(html && html->contains(QStringLiteral("password"))) << c.body.constData();
            EXPECT_FALSE(html) << c.body.constData();
            EXPECT_EQ(prompt.ids, QList<int>{report::kMsgFilesMissing}) << c.body.constData();
        }
    }
    EXPECT_FALSE(QFile::exists(written));
}

TEST_F(ReportGeneration, MissingOrBrokenStyleSheetIs315) {
    EXPECT_FALSE(Detailed());
    WriteSheet(report::kHandoutStyleSheet, "<xsl:stylesheet");
    EXPECT_FALSE(Handout({}));
    EXPECT_EQ(prompt.ids, (QList<int>{report::kMsgFilesMissing, report::kMsgFilesMissing}));
}

TEST_F(ReportGeneration, WrittenWithBomIntoTheReportFolderOrTheFallback) {
    WriteFile(QDir(context.reportFolder).filePath(QStringLiteral("1.jpg")), "picture");
    const QString html = QStringLiteral("<p>Kanal ä</p>");
    const std::optional<report::SWrittenReport> first =
        report::WriteReport(context, QStringLiteral("Detailed Report.htm"), html, prompt);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->folder, context.reportFolder);
    EXPECT_EQ(ReadFile(first->path), "\xEF\xBB\xBF" + html.toUtf8());

    // A folder of the report's name stands where the file would go: the report folder cannot
    // take it, whoever runs the test (permissions do not stop root).
    QDir(context.reportFolder).mkdir(QStringLiteral("Customer Handout.htm"));
    const std::optional<report::SWrittenReport> fallback =
        report::WriteReport(context, QStringLiteral("Customer Handout.htm"), html, prompt);
    ASSERT_TRUE(fallback);
    EXPECT_EQ(fallback->folder, context.fallbackFolder);
    EXPECT_EQ(ReadFile(fallback->path), "\xEF\xBB\xBF" + html.toUtf8());
    EXPECT_EQ(ReadFile(QDir(context.fallbackFolder).filePath(QStringLiteral("1.jpg"))), "picture");
    EXPECT_TRUE(prompt.ids.isEmpty());

    QDir(context.fallbackFolder).mkdir(QStringLiteral("Blocked.htm"));
    QDir(context.reportFolder).mkdir(QStringLiteral("Blocked.htm"));
    EXPECT_FALSE(report::WriteReport(context, QStringLiteral("Blocked.htm"), html, prompt));
    EXPECT_EQ(prompt.ids, QList<int>{report::kMsgCannotWriteReport});
}

TEST_F(ReportGeneration, DealerInfoNeedsAllThreeTexts) {
    EXPECT_FALSE(report::ReadDealerInfo(config, QString()));
    ASSERT_TRUE(config.WriteDealerInfo(QStringLiteral("German"), QStringLiteral("l"),
                                       QStringLiteral("m"), QStringLiteral("r")));
    const std::optional<report::SDealerInfo> dealer =
        report::ReadDealerInfo(config, QStringLiteral("German"));
    ASSERT_TRUE(dealer);
    EXPECT_EQ(dealer->middle, QStringLiteral("m"));
    EXPECT_FALSE(report::ReadDealerInfo(config, QStringLiteral("French")));
}

}  // namespace
