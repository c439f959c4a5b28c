#include "model/settings_documents.h"

#include <QFile>

#include "model/profile_file.h"
#include "qt_print.h"
#include "recording_prompt.h"
#include "temp_hives.h"

#include <gtest/gtest.h>

namespace {

const QByteArray kNs = "urn:corvane:vesk-kel:profile:1";

CXmlDocument Doc(const QByteArray& body) {
    return CXmlDocument::Parse("<Settings xmlns=\"" + kNs + "\">" + body + "</Settings>",
                               QStringLiteral("test.stv"));
}

// The installation's own Region document, as shipped.
CSettingsDocuments Shipped() {
    QFile file(QStringLiteral(VESK_SOURCE_DIR "/install/lib/Region.stv"));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    CSettingsDocuments documents;
    documents.Set(CSettingsDocuments::Doc::Region,
                  CXmlDocument::Parse(file.readAll(), QStringLiteral("Region.stv")));
    return documents;
}

TEST(SettingsDocuments, ShippedRegionAnswersEveryLookup) {
    const CSettingsDocuments documents = Shipped();
    EXPECT_EQ(documents.RegionName(), QStringLiteral("NorthAmerica"));
    EXPECT_FALSE(documents.ProductVersion().isEmpty());
    EXPECT_GE(documents.CpsCodeplugVersion(), 1);
    EXPECT_TRUE(documents.IsSupported(QStringLiteral("00")));
    EXPECT_TRUE(documents.IsSupported(QStringLiteral("73")));
    EXPECT_EQ(documents.SupportedLanguages().size(), 13);
    EXPECT_EQ(documents.LanguageDisplayName(QStringLiteral("LaSpanish")),
              QStringLiteral("LA Spanish"));
    const auto regions = documents.ModelRegions();
    ASSERT_TRUE(regions);
    EXPECT_EQ(regions->value(2), QStringLiteral("ZN420 CPS Europe"));
    // No code is both programmed here and sent to another edition.
    for (const QString& code : documents.SupportedRegionCodes()) {
        EXPECT_FALSE(regions->contains(code.toInt())) << qPrintable(code);
    }
}

TEST(SettingsDocuments, RegionLookupsFollowTheDocumentExactly) {
    CSettingsDocuments documents;
    documents.Set(
        CSettingsDocuments::Doc::Region,
        Doc("<Region name='X'/><Support><c num='07'/><!-- a note --><c num='01'/></Support>"
            "<ModelRegions><m code='07' name='Seven'/></ModelRegions>"
            "<SupportLanguages><language name='German'/>"
            "<language name=\"O'Brien\" displayName='quoted'/></SupportLanguages>"));
    // Comments among the children are not entries; codes compare as exact text.
    EXPECT_EQ(documents.SupportedRegionCodes(),
              (QStringList{QStringLiteral("07"), QStringLiteral("01")}));
    EXPECT_FALSE(documents.IsSupported(QStringLiteral("7")));
    EXPECT_TRUE(documents.IsSupported(QStringLiteral("07")));
    // No CPVersion: 1. No ProductVersion: empty.
    EXPECT_EQ(documents.CpsCodeplugVersion(), 1);
    EXPECT_EQ(documents.ProductVersion(), QString());
    EXPECT_EQ(documents.ModelRegions()->value(7), QStringLiteral("Seven"));
    // A language without display name, or unknown, is a blank; quotes in a name are data.
    EXPECT_EQ(documents.LanguageDisplayName(QStringLiteral("German")), QStringLiteral(" "));
    EXPECT_EQ(documents.LanguageDisplayName(QStringLiteral("Klingon")), QStringLiteral(" "));
    EXPECT_EQ(documents.LanguageDisplayName(QStringLiteral("O'Brien")), QStringLiteral("quoted"));

    documents.Set(CSettingsDocuments::Doc::Region, Doc("<CPVersion> 4 </CPVersion>"));
    EXPECT_EQ(documents.CpsCodeplugVersion(), 4);
    EXPECT_EQ(documents.ModelRegions(), std::nullopt);
}

TEST(SettingsDocuments, VisibilityAndHelpEntries) {
    CSettingsDocuments documents;
    documents.Set(
        CSettingsDocuments::Doc::VisibleSetting,
        Doc("<NorthAmerica><ChannelPage><Display isVisible='1'/><!--x--><Control isVisible='0'/>"
            "</ChannelPage></NorthAmerica>"));
    documents.Set(CSettingsDocuments::Doc::HelpPanMap,
                  Doc("<ChannelPage><map id='1027' pageName='channels.html'/></ChannelPage>"));
    EXPECT_EQ(
        documents.PageVisibilityList(QStringLiteral("NorthAmerica"), QStringLiteral("ChannelPage"))
            .size(),
        2u);
    EXPECT_TRUE(
        documents.PageVisibilityList(QStringLiteral("Europe"), QStringLiteral("ChannelPage"))
            .empty());
    EXPECT_EQ(documents.HelpPage(QStringLiteral("ChannelPage"), QStringLiteral("1027"),
                                 QStringLiteral("old")),
              QStringLiteral("channels.html"));
    EXPECT_EQ(documents.HelpPage(QStringLiteral("ChannelPage"), QStringLiteral("9999"),
                                 QStringLiteral("old")),
              QStringLiteral("old"));
}

TEST(SettingsDocuments, MissingOrBrokenFileShows315) {
    CTempHives hives;
    const QString install = hives.Path(QStringLiteral("install"));
    hives.WriteMachine("[General]\nInstallPath=" + install.toUtf8() + "\n");
    CTempHives::Write(install + QStringLiteral("/lib/Broken.stv"), "<unclosed");
    CTempHives::Write(install + QStringLiteral("/lib/Good.stv"),
                      "<?xml version='1.0'?><Settings xmlns='" + kNs + "'/>");
    // Settings documents may be shipped scrambled like profiles.
    CTempHives::Write(install + QStringLiteral("/Report/Style.xsl"),
                      profile_file::Encode(QStringLiteral("<?xml version='1.0'?><Settings "
                                                          "xmlns='%1'/>")
                                               .arg(QString::fromUtf8(kNs))));
    // Without an XML declaration a file does not read as plain text, and the unscrambled bytes
    // are not XML.
    CTempHives::Write(install + QStringLiteral("/lib/Undeclared.stv"),
                      "<Settings xmlns='" + kNs + "'/>");
    const CConfiguration config = hives.Config();
    for (const char* name : {"Missing.stv", "Broken.stv", "Undeclared.stv"}) {
        CRecordingPrompt prompt;
        EXPECT_FALSE(CSettingsDocuments::LoadSettingDoc(config, prompt, QString::fromLatin1(name)));
        EXPECT_EQ(prompt.ids, QList<int>{315}) << name;
    }
    CRecordingPrompt prompt;
    EXPECT_TRUE(CSettingsDocuments::LoadSettingDoc(config, prompt, QStringLiteral("Good.stv")));
    EXPECT_TRUE(
        CSettingsDocuments::LoadSettingDoc(config, prompt, QStringLiteral("Style.xsl"), false));
    EXPECT_TRUE(prompt.ids.isEmpty());
    // Start-up stops at the first document that fails, after one message.
    CSettingsDocuments documents;
    EXPECT_FALSE(documents.LoadAll(config, prompt));
    EXPECT_EQ(prompt.ids, QList<int>{315});
}

struct SMursRow {
    const char* freq;
    bool allowed;
};

class MursCheck : public ::testing::TestWithParam<SMursRow> {};

TEST_P(MursCheck, RefusesTheFiveMursFrequenciesOnly) {
    const QByteArray profile = "<VeskProfile xmlns='" + kNs +
                               "'><frequencies><frequency freq='464500000'/><frequency freq='" +
                               QByteArray(GetParam().freq) + "'/></frequencies></VeskProfile>";
    EXPECT_EQ(CheckMURFreq(profile), GetParam().allowed) << GetParam().freq;
}

INSTANTIATE_TEST_SUITE_P(
    Rows, MursCheck,
    ::testing::Values(SMursRow{"154600000", false}, SMursRow{"154600001", true},
                      SMursRow{"151820000", false}, SMursRow{"151880000", false},
                      SMursRow{"151940000", false}, SMursRow{"154570000", false},
                      SMursRow{"151625000", true}, SMursRow{"not a number", true}));

TEST(MursCheckText, UnparsableProfileIsRefused) {
    EXPECT_FALSE(CheckMURFreq(QByteArray("<VeskProfile")));
    EXPECT_FALSE(CheckMURFreq(QStringLiteral("<VeskProfile")));
    EXPECT_TRUE(CheckMURFreq("<VeskProfile xmlns='" + kNs + "'/>"));
}

}  // namespace
