#include "platform/settings/configuration.h"

#include "qt_print.h"
#include "recording_prompt.h"
#include "temp_hives.h"

#include <gtest/gtest.h>

namespace {

const QString kGermanKey = QStringLiteral("Language/German");

// A complete machine hive as the install step writes it.
const QByteArray kMachine =
    "[General]\n"
    "DefaultLanguage=German\n"
    "InstallPath=/opt/vesk\n"
    "ShowContextHelp=1\n"
    "\n"
    "[Language]\n"
    "German\\HelpFileName=help/veskcps_de.qhc\n"
    "German\\GUIResource=veskcps_de.qm\n"
    "German\\DealerInfoLeft=Funkhaus\n"
    "German\\DealerInfoMiddle=Notizen\n"
    "German\\DealerInfoRight=Kontakt\n"
    "English\\HelpFileName=help/veskcps_en.qhc\n";

TEST(PrepareConfiguration, FirstRunTakesTheMachineDefaults) {
    CTempHives hives;
    hives.WriteMachine(kMachine);
    CRecordingPrompt prompt;
    const CConfiguration config = hives.Config();

    ASSERT_TRUE(config.PrepareConfiguration(prompt));
    EXPECT_TRUE(prompt.ids.isEmpty());
    EXPECT_EQ(config.GetCurrentLanguage(), QStringLiteral("German"));
    EXPECT_EQ(config.GetShowContextHelp(), 1);
    EXPECT_EQ(config.ReadDealerInfo(QStringLiteral("German"), CConfiguration::kDealerInfoLeft),
              QStringLiteral("Funkhaus"));
    EXPECT_EQ(config.ReadDealerInfo(QStringLiteral("German"), CConfiguration::kDealerInfoRight),
              QStringLiteral("Kontakt"));
    // Only the current language is seeded.
    EXPECT_EQ(config.ReadDealerInfo(QStringLiteral("English"), CConfiguration::kDealerInfoLeft),
              std::nullopt);
}

struct SContextHelpRow {
    const char* machineValue;
    int expected;
};

class MachineContextHelp : public ::testing::TestWithParam<SContextHelpRow> {};

TEST_P(MachineContextHelp, OnlyOneShowsThePane) {
    CTempHives hives;
    hives.WriteMachine(QByteArray("[General]\nDefaultLanguage=English\nShowContextHelp=") +
                       GetParam().machineValue + "\n");
    CRecordingPrompt prompt;
    const CConfiguration config = hives.Config();
    ASSERT_TRUE(config.PrepareConfiguration(prompt));
    EXPECT_EQ(config.GetShowContextHelp(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Rows, MachineContextHelp,
                         ::testing::Values(SContextHelpRow{"1", 1}, SContextHelpRow{"0", 0},
                                           SContextHelpRow{"5", 0}, SContextHelpRow{"-1", 0},
                                           SContextHelpRow{"4294967295", 0}));

TEST(PrepareConfiguration, UserValuesAreKept) {
    CTempHives hives;
    hives.WriteMachine(kMachine);
    hives.WriteUser(
        "[General]\nCurrentLanguage=German\nShowContextHelp=0\n\n"
        "[Language]\nGerman\\DealerInfoLeft=Eigener Text\nGerman\\DealerInfoRight=\n");
    CRecordingPrompt prompt;
    const CConfiguration config = hives.Config();

    ASSERT_TRUE(config.PrepareConfiguration(prompt));
    EXPECT_EQ(config.GetShowContextHelp(), 0);
    EXPECT_EQ(config.ReadDealerInfo(QStringLiteral("German"), CConfiguration::kDealerInfoLeft),
              QStringLiteral("Eigener Text"));
    // An empty text is the user's own too.
    EXPECT_EQ(config.ReadDealerInfo(QStringLiteral("German"), CConfiguration::kDealerInfoRight),
              QString());
    // Only the missing value was filled.
    EXPECT_EQ(config.ReadDealerInfo(QStringLiteral("German"), CConfiguration::kDealerInfoMiddle),
              QStringLiteral("Notizen"));
}

TEST(PrepareConfiguration, UnreadableUserContextHelpIsReplaced) {
    CTempHives hives;
    hives.WriteMachine(kMachine);
    hives.WriteUser("[General]\nCurrentLanguage=German\nShowContextHelp=maybe\n");
    CRecordingPrompt prompt;
    const CConfiguration config = hives.Config();
    ASSERT_TRUE(config.PrepareConfiguration(prompt));
    EXPECT_EQ(config.GetShowContextHelp(), 1);
}

TEST(PrepareConfiguration, DealerValuesTheMachineLacksStayMissing) {
    CTempHives hives;
    hives.WriteMachine("[General]\nDefaultLanguage=English\nShowContextHelp=1\n");
    CRecordingPrompt prompt;
    const CConfiguration config = hives.Config();
    ASSERT_TRUE(config.PrepareConfiguration(prompt));
    EXPECT_EQ(config.ReadDealerInfo(QStringLiteral("English"), CConfiguration::kDealerInfoMiddle),
              std::nullopt);
}

struct SFatalRow {
    const char* name;
    QByteArray machine;  // empty: no machine hive at all
    QByteArray user;
    bool userPathBlocked;
};

class FatalRegistryError : public ::testing::TestWithParam<SFatalRow> {};

TEST_P(FatalRegistryError, Shows130AndFails) {
    const SFatalRow& row = GetParam();
    CTempHives hives;
    if (!row.machine.isEmpty()) {
        hives.WriteMachine(row.machine);
    }
    if (!row.user.isEmpty()) {
        hives.WriteUser(row.user);
    }
    QString userFile = hives.UserFile();
    if (row.userPathBlocked) {
        CTempHives::Write(hives.Path(QStringLiteral("blocked")), "a file where a folder must be");
        userFile = hives.Path(QStringLiteral("blocked/Corvane/Vesk Kel CPS.conf"));
    }
    CRecordingPrompt prompt;
    const CConfiguration config(hives.MachineFile(), userFile);
    EXPECT_FALSE(config.PrepareConfiguration(prompt));
    EXPECT_EQ(prompt.ids, QList<int>{130});
    EXPECT_EQ(prompt.texts.value(0),
              QStringLiteral("Fatal registry Error, the application will be closed!"));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, FatalRegistryError,
    ::testing::Values(
        SFatalRow{"NoMachineHive", {}, {}, false},
        SFatalRow{"NoDefaultLanguage", "[General]\nShowContextHelp=1\n", {}, false},
        SFatalRow{
            "EmptyDefaultLanguage", "[General]\nDefaultLanguage=\nShowContextHelp=1\n", {}, false},
        SFatalRow{"NoContextHelpAnywhere", "[General]\nDefaultLanguage=English\n", {}, false},
        SFatalRow{"UnreadableMachineContextHelp",
                  "[General]\nDefaultLanguage=English\nShowContextHelp=on\n",
                  {},
                  false},
        SFatalRow{
            "UserLanguageButNoContextHelp", {}, "[General]\nCurrentLanguage=English\n", false},
        SFatalRow{"UserHiveCannotBeCreated", kMachine, {}, true}),
    [](const ::testing::TestParamInfo<SFatalRow>& row) { return std::string(row.param.name); });

TEST(PrepareConfiguration, CompleteUserHiveNeedsNoMachineHive) {
    CTempHives hives;
    hives.WriteUser("[General]\nCurrentLanguage=English\nShowContextHelp=1\n");
    CRecordingPrompt prompt;
    EXPECT_TRUE(hives.Config().PrepareConfiguration(prompt));
    EXPECT_TRUE(prompt.ids.isEmpty());
}

struct SPathRow {
    const char* name;
    QByteArray machine;
    const char* language;
    const char* help;
    const char* module;
};

class InstallFilePaths : public ::testing::TestWithParam<SPathRow> {};

TEST_P(InstallFilePaths, JoinInstallPathAndFileName) {
    const SPathRow& row = GetParam();
    CTempHives hives;
    hives.WriteMachine(row.machine);
    const CConfiguration config = hives.Config();
    const QString language = QString::fromUtf8(row.language);
    EXPECT_EQ(config.GetHelpFilePath(language), QString::fromUtf8(row.help));
    EXPECT_EQ(config.GetResourceModulePath(language), QString::fromUtf8(row.module));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, InstallFilePaths,
    ::testing::Values(
        SPathRow{"Plain", kMachine, "German", "/opt/vesk/help/veskcps_de.qhc",
                 "/opt/vesk/veskcps_de.qm"},
        // No check for a separator the install path already ends in.
        SPathRow{"TrailingSeparatorKept",
                 "[General]\nInstallPath=/opt/vesk/\n[Language]\nGerman\\HelpFileName=h.qhc\n"
                 "German\\GUIResource=de.qm\n",
                 "German", "/opt/vesk//h.qhc", "/opt/vesk//de.qm"},
        SPathRow{"NoFileNames", kMachine, "French", "", ""},
        SPathRow{"OnlyHelp", kMachine, "English", "/opt/vesk/help/veskcps_en.qhc", ""},
        SPathRow{"NoLanguage", kMachine, "", "", ""},
        SPathRow{"EmptyFileName",
                 "[General]\nInstallPath=/opt/vesk\n[Language]\nGerman\\HelpFileName=\n", "German",
                 "", ""}),
    [](const ::testing::TestParamInfo<SPathRow>& row) { return std::string(row.param.name); });

TEST(Configuration, SettersWriteTheUserHive) {
    CTempHives hives;
    hives.WriteMachine(kMachine);
    const CConfiguration config = hives.Config();
    EXPECT_EQ(config.GetShowContextHelp(), -1);
    EXPECT_EQ(config.GetCurrentLanguage(), QString());

    ASSERT_TRUE(config.SetShowContextHelp(true));
    EXPECT_EQ(config.GetShowContextHelp(), 1);
    ASSERT_TRUE(config.SetShowContextHelp(false));
    EXPECT_EQ(config.GetShowContextHelp(), 0);
    ASSERT_TRUE(config.SetCurrentLanguage(QStringLiteral("Polish")));
    EXPECT_EQ(config.GetCurrentLanguage(), QStringLiteral("Polish"));

    // The machine hive is never written.
    EXPECT_EQ(config.GetDefaultLanguage(), QStringLiteral("German"));
    EXPECT_EQ(config.GetInstallPath(), QStringLiteral("/opt/vesk"));
    EXPECT_FALSE(hives.UserText().contains("DefaultLanguage"));
}

TEST(Configuration, DealerTextsKeepTheirSizeAndLines) {
    CTempHives hives;
    const CConfiguration config = hives.Config();
    const QString german = QStringLiteral("German");
    const QString long300(300, u'x');
    const QString lines = QStringLiteral("Zeile 1\r\nZeile 2\r\n");

    ASSERT_TRUE(config.WriteDealerInfo(german, CConfiguration::kDealerInfoLeft, long300));
    ASSERT_TRUE(config.WriteDealerInfo(german, CConfiguration::kDealerInfoMiddle, QString()));
    ASSERT_TRUE(config.WriteDealerInfo(german, CConfiguration::kDealerInfoRight, lines));

    EXPECT_EQ(config.DealerInfoSize(german, CConfiguration::kDealerInfoLeft), 600);
    EXPECT_EQ(config.DealerInfoSize(german, CConfiguration::kDealerInfoMiddle), 0);
    EXPECT_EQ(config.ReadDealerInfo(german, CConfiguration::kDealerInfoMiddle), QString());
    EXPECT_EQ(config.ReadDealerInfo(german, CConfiguration::kDealerInfoRight), lines);
    EXPECT_EQ(config.DealerInfoSize(german, CConfiguration::kDealerInfoRight), 2 * lines.size());
    EXPECT_EQ(config.DealerInfoSize(QStringLiteral("English"), CConfiguration::kDealerInfoLeft),
              std::nullopt);
}

}  // namespace
