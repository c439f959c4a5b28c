#include "platform/settings/config_hive.h"

#include <QFileInfo>

#include "env_guard.h"
#include "platform/settings/hive_paths.h"
#include "temp_hives.h"

#include <gtest/gtest.h>

namespace {

struct SNumberRow {
    const char* stored;
    std::optional<qint32> expected;
};

class ReadNumber : public ::testing::TestWithParam<SNumberRow> {};

TEST_P(ReadNumber, ParsesThirtyTwoBitValuesAndRejectsTheRest) {
    CTempHives hives;
    hives.WriteMachine(QByteArray("[General]\nValue=") + GetParam().stored + "\n");
    const CConfigHive hive(hives.MachineFile(), CConfigHive::Access::ReadOnly);
    EXPECT_EQ(hive.ReadNumber({}, QStringLiteral("Value")), GetParam().expected)
        << "stored: " << GetParam().stored;
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ReadNumber,
    ::testing::Values(SNumberRow{"1", 1}, SNumberRow{"0", 0}, SNumberRow{"5", 5},
                      SNumberRow{" 7 ", 7}, SNumberRow{"-3", -3},
                      // an unsigned 32-bit value keeps its bit pattern
                      SNumberRow{"4294967295", -1}, SNumberRow{"4294967296", std::nullopt},
                      SNumberRow{"yes", std::nullopt}, SNumberRow{"", std::nullopt},
                      SNumberRow{"1.5", std::nullopt}));

TEST(ConfigHive, MissingFileAndValuesReadAsAbsent) {
    CTempHives hives;
    const CConfigHive hive(hives.MachineFile(), CConfigHive::Access::ReadOnly);
    EXPECT_FALSE(hive.Exists());
    EXPECT_EQ(hive.ReadText({}, QStringLiteral("InstallPath")), std::nullopt);
    EXPECT_EQ(hive.ReadNumber({}, QStringLiteral("ShowContextHelp")), std::nullopt);
    EXPECT_EQ(hive.StoredSize({}, QStringLiteral("InstallPath")), std::nullopt);

    hives.WriteMachine("[General]\nEmpty=\n");
    EXPECT_EQ(hive.ReadText({}, QStringLiteral("Empty")), QString());
    EXPECT_EQ(hive.ReadText({}, QStringLiteral("Other")), std::nullopt);
}

TEST(ConfigHive, HandWrittenCommaValueReadsAsOneText) {
    CTempHives hives;
    hives.WriteMachine("[General]\nInstallPath=/opt/vesk, second\n");
    const CConfigHive hive(hives.MachineFile(), CConfigHive::Access::ReadOnly);
    EXPECT_EQ(hive.ReadText({}, QStringLiteral("InstallPath")),
              QStringLiteral("/opt/vesk, second"));
}

TEST(ConfigHive, TextsRoundTripThroughSubkeysWithLineBreaksAndUnicode) {
    CTempHives hives;
    const CConfigHive hive(hives.UserFile(), CConfigHive::Access::ReadWrite);
    ASSERT_TRUE(hive.OpenOrCreate());
    const QString text =
        QStringLiteral("Funkhaus Müller\r\nHauptstraße 1, 10115 Berlin\r\n; \"quoted\" \\ back");
    ASSERT_TRUE(
        hive.WriteText(QStringLiteral("Language/German"), QStringLiteral("DealerInfoLeft"), text));

    const CConfigHive reread(hives.UserFile(), CConfigHive::Access::ReadOnly);
    EXPECT_EQ(reread.ReadText(QStringLiteral("Language/German"), QStringLiteral("DealerInfoLeft")),
              text);
    EXPECT_EQ(
        reread.StoredSize(QStringLiteral("Language/German"), QStringLiteral("DealerInfoLeft")),
        2 * text.size());
    // the same name in another language subkey is another value
    EXPECT_EQ(reread.ReadText(QStringLiteral("Language/English"), QStringLiteral("DealerInfoLeft")),
              std::nullopt);
}

TEST(ConfigHive, ReadOnlyHiveRefusesWrites) {
    CTempHives hives;
    hives.WriteMachine("[General]\nDefaultLanguage=English\n");
    const CConfigHive hive(hives.MachineFile(), CConfigHive::Access::ReadOnly);
    EXPECT_FALSE(hive.WriteText({}, QStringLiteral("DefaultLanguage"), QStringLiteral("German")));
    EXPECT_EQ(hive.ReadText({}, QStringLiteral("DefaultLanguage")), QStringLiteral("English"));
}

TEST(ConfigHive, OpenOrCreateFailsWhereNoFileCanBe) {
    CTempHives hives;
    // A folder in the way of the hive file, and a plain file in the way of its folder.
    QDir().mkpath(hives.Path(QStringLiteral("a/Corvane/Vesk Kel CPS.conf")));
    CTempHives::Write(hives.Path(QStringLiteral("b")), "not a folder");
    for (const QString& path : {hives.Path(QStringLiteral("a/Corvane/Vesk Kel CPS.conf")),
                                hives.Path(QStringLiteral("b/Corvane/Vesk Kel CPS.conf"))}) {
        const CConfigHive hive(path, CConfigHive::Access::ReadWrite);
        EXPECT_FALSE(hive.OpenOrCreate()) << qPrintable(path);
        EXPECT_FALSE(
            hive.WriteText({}, QStringLiteral("CurrentLanguage"), QStringLiteral("English")))
            << qPrintable(path);
    }
    const CConfigHive fresh(hives.UserFile(), CConfigHive::Access::ReadWrite);
    EXPECT_TRUE(fresh.OpenOrCreate());
    EXPECT_TRUE(QFileInfo(hives.UserFile()).isFile());
}

TEST(HivePaths, FollowTheBaseDirectoryVariables) {
    const CEnvGuard guard{"XDG_CONFIG_DIRS", "XDG_CONFIG_HOME", "HOME"};
    CTempHives hives;
    const QString one = hives.Path(QStringLiteral("one"));
    const QString two = hives.Path(QStringLiteral("two"));
    CTempHives::Write(hive_paths::HiveFileIn(two), "[General]\n");

    qputenv("XDG_CONFIG_DIRS", QStringLiteral("relative/dir:%1:%2").arg(one, two).toLocal8Bit());
    EXPECT_EQ(hive_paths::MachineHiveFile(), two + QStringLiteral("/Corvane/Vesk Kel CPS.conf"));
    CTempHives::Write(hive_paths::HiveFileIn(one), "[General]\n");
    EXPECT_EQ(hive_paths::MachineHiveFile(), one + QStringLiteral("/Corvane/Vesk Kel CPS.conf"));

    qputenv("XDG_CONFIG_HOME", one.toLocal8Bit());
    EXPECT_EQ(hive_paths::UserHiveFile(), one + QStringLiteral("/Corvane/Vesk Kel CPS.conf"));
    qputenv("XDG_CONFIG_HOME", "relative");
    qputenv("HOME", two.toLocal8Bit());
    EXPECT_EQ(hive_paths::UserHiveFile(),
              two + QStringLiteral("/.config/Corvane/Vesk Kel CPS.conf"));
}

}  // namespace
