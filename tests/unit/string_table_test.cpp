#include "platform/string_table.h"

#include <QRegularExpression>

#include "app/command_ids.h"
#include "app/startup.h"
#include "qt_print.h"
#include "recording_prompt.h"
#include "temp_hives.h"

#include <gtest/gtest.h>

namespace {

// Every test leaves the process-wide table in English.
class StringTable : public ::testing::Test {
protected:
    void TearDown() override { CStringTable::Instance().UnloadLanguageModule(); }
    CStringTable& table = CStringTable::Instance();
};

struct SQuotedRow {
    int id;
    const char16_t* text;
};

class EnglishText : public ::testing::TestWithParam<SQuotedRow> {};

TEST_P(EnglishText, IsTheWordingAsGiven) {
    EXPECT_EQ(CStringTable::EnglishText(GetParam().id), QString::fromUtf16(GetParam().text));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, EnglishText,
    ::testing::Values(
        SQuotedRow{129,
                   u"\nProfile\nVeskCPSProfile\nVesk Kel CPS Files (*.vk4)\n.vk4\n"
                   u"VeskKelCPS.Profile\nVeskKelCPS.Profile"},
        SQuotedRow{130, u"Fatal registry Error, the application will be closed!"},
        SQuotedRow{134, u"Fatal error: 102.\nPlease uninstall and re-install CPS."},
        SQuotedRow{
            223, u"Profile Loading Error.\r\nFile: %s\r\nDesc: %s\r\nLine: %d, Pos: %d\r\nSRC: %s"},
        SQuotedRow{222,
                   u"Channel name can only contain: A-Z, 0-9, b, c, d, g, h, l, i, o, r, u, *, "
                   u"{, }, ?, &, %, ., +, /, \\, -, '"},
        SQuotedRow{356, u"&Add\tCtrl+A"}, SQuotedRow{503, u"Please use the \"%s\"."},
        SQuotedRow{533, u"File format error. Failed to save."},
        SQuotedRow{483,
                   u"Some profile information is not supported by the host radio and therefore "
                   u"will not be transferred(KT/VRC Code). "}));

TEST_F(StringTable, UnknownNumberHasNoText) {
    EXPECT_EQ(table.Text(99999), QString());
    EXPECT_EQ(table.Text(0), QString());
}

TEST_F(StringTable, TableIsSortedForLookUp) {
    const auto entries = EnglishStrings();
    ASSERT_GT(entries.size(), 200u);
    for (std::size_t i = 1; i < entries.size(); ++i) {
        EXPECT_LT(entries[i - 1].id, entries[i].id) << "at " << entries[i].id;
    }
    // First and last entries are found, so the search covers both ends.
    EXPECT_FALSE(table.Text(entries.front().id).isEmpty());
    EXPECT_FALSE(table.Text(entries.back().id).isEmpty());
}

TEST_F(StringTable, TextsThatNameTheApplication) {
    EXPECT_EQ(table.FormatWithAppName(381),
              QStringLiteral("CPS needs vbscript engine to start. Please install vbscript engine "
                             "before re-starting the ZN420 CPS."));
    EXPECT_EQ(table.Format(503, {QStringLiteral("ZN420 CPS Canada")}),
              QStringLiteral("Please use the \"ZN420 CPS Canada\"."));
}

struct SFormatRow {
    const char* pattern;
    QStringList args;
    const char* expected;
};

class FormatText : public ::testing::TestWithParam<SFormatRow> {};

TEST_P(FormatText, FillsPlaceholdersInOrderAndNeverReadsPastTheArguments) {
    EXPECT_EQ(CStringTable::FormatText(QString::fromUtf8(GetParam().pattern), GetParam().args),
              QString::fromUtf8(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, FormatText,
    ::testing::Values(SFormatRow{"Line: %d, Pos: %d",
                                 {QStringLiteral("3"), QStringLiteral("14")},
                                 "Line: 3, Pos: 14"},
                      SFormatRow{"%s KHz only", {QStringLiteral("12.5")}, "12.5 KHz only"},
                      SFormatRow{"%s and %s", {QStringLiteral("one")}, "one and "},
                      SFormatRow{"%s", {QStringLiteral("a"), QStringLiteral("b")}, "a"},
                      SFormatRow{"100%% sure, %s", {QStringLiteral("yes")}, "100% sure, yes"},
                      SFormatRow{"ends in %", {}, "ends in %"},
                      SFormatRow{"%x %n %5s", {QStringLiteral("unused")}, "%x %n %5s"},
                      SFormatRow{"%s", {QStringLiteral("%d %s")}, "%d %s"}));

TEST_F(StringTable, GermanModuleReplacesMenuTexts) {
    ASSERT_TRUE(table.LoadLanguageModule(QStringLiteral(VESK_GERMAN_QM)));
    EXPECT_TRUE(table.HasLanguageModule());
    for (const int id :
         {menu_text::kFile, menu_text::kEdit, menu_text::kDevice, menu_text::kHelp}) {
        EXPECT_FALSE(table.Text(id).isEmpty()) << id;
        EXPECT_NE(table.Text(id), CStringTable::EnglishText(id)) << id;
    }
    table.UnloadLanguageModule();
    EXPECT_EQ(table.Text(menu_text::kFile), CStringTable::EnglishText(menu_text::kFile));
}

TEST_F(StringTable, EveryMenuTextExistsInEnglishAndGerman) {
    QTranslator german;
    ASSERT_TRUE(german.load(QStringLiteral(VESK_GERMAN_QM)));
    for (int id = menu_text::kFile; id <= menu_text::kTile; ++id) {
        EXPECT_FALSE(CStringTable::EnglishText(id).isEmpty()) << id;
        EXPECT_FALSE(german.translate(nullptr, QByteArray::number(id).constData()).isEmpty()) << id;
    }
}

// A translation must take the same arguments as the English text, or the filled-in message says
// something else (a number where a name belongs, or a lost value).
TEST_F(StringTable, GermanTranslationsKeepPlaceholdersMnemonicsAndAccelerators) {
    QTranslator german;
    ASSERT_TRUE(german.load(QStringLiteral(VESK_GERMAN_QM)));
    const QRegularExpression placeholder(QStringLiteral("%[sd]"));
    const auto placeholders = [&](const QString& text) {
        QStringList found;
        for (const auto& m : placeholder.globalMatch(text)) {
            found << m.captured();
        }
        return found;
    };
    const auto accelerator = [](const QString& text) { return text.section(u'\t', 1); };
    int translated = 0;
    for (const SStringEntry& entry : EnglishStrings()) {
        const QString english = QString::fromUtf16(entry.text);
        const QString text = german.translate(nullptr, QByteArray::number(entry.id).constData());
        if (text.isEmpty()) {
            continue;
        }
        ++translated;
        EXPECT_EQ(placeholders(text), placeholders(english)) << entry.id;
        EXPECT_EQ(accelerator(text), accelerator(english)) << entry.id;
        EXPECT_EQ(text.count(u'&'), english.count(u'&')) << entry.id;
    }
    EXPECT_GT(translated, 100);
}

TEST_F(StringTable, PartialModuleFallsBackToEnglishAndCannotBreakFormatting) {
    ASSERT_TRUE(table.LoadLanguageModule(QStringLiteral(VESK_PARTIAL_QM)));
    EXPECT_EQ(table.Text(343), QStringLiteral("&Datei (Teil)"));
    // not in the module, and unfinished in the module: both English
    EXPECT_EQ(table.Text(130), CStringTable::EnglishText(130));
    EXPECT_EQ(table.Text(344), CStringTable::EnglishText(344));
    // The module's text asks for three arguments where one is given.
    EXPECT_EQ(table.FormatWithAppName(381),
              QStringLiteral("ZN420 CPS braucht ZN420 CPS und : zu viele Platzhalter."));
}

TEST_F(StringTable, ModulesThatCannotBeReadLeaveEnglish) {
    CTempHives files;
    const QString garbage = files.Path(QStringLiteral("garbage.qm"));
    CTempHives::Write(garbage, "this is not a compiled translation");
    ASSERT_TRUE(table.LoadLanguageModule(QStringLiteral(VESK_PARTIAL_QM)));
    for (const QString& path :
         {QString(), files.Path(QStringLiteral("missing.qm")), garbage, files.Path(QString())}) {
        EXPECT_FALSE(table.LoadLanguageModule(path)) << qPrintable(path);
    }
    // A failed load keeps what was loaded before.
    EXPECT_EQ(table.Text(343), QStringLiteral("&Datei (Teil)"));
}

class LanguageAtStartUp : public StringTable {
protected:
    QByteArray Machine(const QString& germanModule) const {
        return "[General]\nDefaultLanguage=English\nShowContextHelp=1\nInstallPath=" +
               QFileInfo(germanModule).absolutePath().toUtf8() +
               "\n[Language]\nGerman\\GUIResource=" + QFileInfo(germanModule).fileName().toUtf8() +
               "\n";
    }
};

TEST_F(LanguageAtStartUp, GermanUserGetsGermanTexts) {
    CTempHives hives;
    hives.WriteMachine(Machine(QStringLiteral(VESK_GERMAN_QM)));
    hives.WriteUser("[General]\nCurrentLanguage=German\n");
    CRecordingPrompt prompt;
    EXPECT_EQ(LoadLanguage(hives.Config(), prompt, table), QStringLiteral("German"));
    EXPECT_TRUE(prompt.ids.isEmpty());
    EXPECT_NE(table.Text(menu_text::kFile), CStringTable::EnglishText(menu_text::kFile));
}

TEST_F(LanguageAtStartUp, MissingModuleFallsBackToEnglishAndSaysSo) {
    CTempHives hives;
    hives.WriteMachine(Machine(hives.Path(QStringLiteral("veskcps_de.qm"))));
    hives.WriteUser("[General]\nCurrentLanguage=German\n");
    CRecordingPrompt prompt;
    const CConfiguration config = hives.Config();
    EXPECT_EQ(LoadLanguage(config, prompt, table), QStringLiteral("English"));
    EXPECT_EQ(prompt.ids, QList<int>{325});
    EXPECT_EQ(prompt.texts.value(0),
              QStringLiteral("The language resource file is missing. The CPS will start with "
                             "English language version."));
    EXPECT_EQ(config.GetCurrentLanguage(), QStringLiteral("English"));
    EXPECT_FALSE(table.HasLanguageModule());
}

TEST_F(LanguageAtStartUp, LanguageWithoutModuleEntryFallsBackToo) {
    CTempHives hives;
    hives.WriteMachine(Machine(QStringLiteral(VESK_GERMAN_QM)));
    hives.WriteUser("[General]\nCurrentLanguage=Russian\n");
    CRecordingPrompt prompt;
    EXPECT_EQ(LoadLanguage(hives.Config(), prompt, table), QStringLiteral("English"));
    EXPECT_EQ(prompt.ids, QList<int>{325});
}

TEST_F(LanguageAtStartUp, EnglishNeedsNoModule) {
    CTempHives hives;
    hives.WriteMachine("[General]\nDefaultLanguage=English\n");
    hives.WriteUser("[General]\nCurrentLanguage=English\n");
    CRecordingPrompt prompt;
    EXPECT_EQ(LoadLanguage(hives.Config(), prompt, table), QStringLiteral("English"));
    EXPECT_TRUE(prompt.ids.isEmpty());
    EXPECT_FALSE(table.HasLanguageModule());
}

}  // namespace
