#include "model/profile_checks.h"

#include <QFile>

#include "model/profile_node_access.h"
#include "model/schema_index.h"
#include "platform/xml/xml_document.h"
#include "platform/xml/xml_node.h"
#include "platform/xml/xpath.h"
#include "recording_prompt.h"
#include "source_files.h"

#include <gtest/gtest.h>

namespace {

// The 16-channel UHF display handheld of the samples, read through data items without a rule
// script: the checks read and correct the document themselves.
class ProfileChecks : public ::testing::Test {
protected:
    ProfileChecks()
        : schema(CSchemaIndex::Build(CXmlDocument::Parse(
              ReadSource(QStringLiteral("install/profiletemplate/DataProfile.xsd")),
              QStringLiteral("xsd")))),
          document(CXmlDocument::Parse(
              ReadSource(QStringLiteral("tests/data/profiles/good/handheld_uhf.xml")),
              QStringLiteral("profile"))),
          context(std::make_shared<SDataContext>(SDataContext{nullptr, &schema})),
          profile(CProfileNodeAccess::Wrap(document.Root()), context) {}

    void Set(const char* xpath, const char* attribute, const QString& value) {
        xmlNodePtr node = CXPathContext(document).SelectSingle(QString::fromLatin1(xpath));
        ASSERT_NE(node, nullptr) << xpath;
        xml::SetAttribute(node, attribute, value);
    }
    QString Get(const char* xpath, const char* attribute) {
        return xml::Attribute(CXPathContext(document).SelectSingle(QString::fromLatin1(xpath)),
                              attribute)
            .value_or(QString());
    }

    CSchemaIndex schema;
    CXmlDocument document;
    std::shared_ptr<SDataContext> context;
    CDataItem profile;
};

TEST_F(ProfileChecks, ModelKindFromTheModelString) {
    const struct {
        const char* model;
        bool display;
        bool repeater;
    } rows[] = {{"CUD41600", true, false}, {"CUd41600", true, false}, {"CUR41600", false, false},
                {"CUR41670", false, true}, {"CUD41673", true, true},  {"CUR41607", false, false}};
    for (const auto& row : rows) {
        Set("//dfns:factory_setting", "model", QString::fromLatin1(row.model));
        EXPECT_EQ(profile_checks::IsDisplayModel(profile), row.display) << row.model;
        EXPECT_EQ(profile_checks::IsRepeaterModel(profile), row.repeater) << row.model;
    }
}

TEST_F(ProfileChecks, MissingModelRaisesWithTheCheckNamed) {
    xmlUnsetProp(CXPathContext(document).SelectSingle(QStringLiteral("//dfns:factory_setting")),
                 reinterpret_cast<const xmlChar*>("model"));
    try {
        profile_checks::IsRepeaterModel(profile);
        FAIL() << "no exception";
    } catch (const CVeskCPSException& e) {
        EXPECT_EQ(e.MessageId(), 133);
        EXPECT_TRUE(e.Text().contains(QStringLiteral("IsRepeaterModel"))) << qPrintable(e.Text());
    }
}

TEST_F(ProfileChecks, EnabledChannelsCountOnlyChannelsInUse) {
    EXPECT_EQ(profile_checks::GetEnabledChannelCount(profile), 16);
    Set("//dfns:channels/dfns:channel[2]", "disable_channel", QStringLiteral("1"));
    Set("//dfns:channels/dfns:channel[16]", "disable_channel", QStringLiteral("1"));
    EXPECT_EQ(profile_checks::GetEnabledChannelCount(profile), 14);
    Set("//dfns:setting", "numberChannels", QStringLiteral("15"));
    EXPECT_EQ(profile_checks::GetEnabledChannelCount(profile), 14);
    Set("//dfns:setting", "numberChannels", QStringLiteral("1"));
    EXPECT_EQ(profile_checks::GetEnabledChannelCount(profile), 1);
}

TEST_F(ProfileChecks, ChannelCodesAgainstTheRadiosCapacity) {
    EXPECT_TRUE(profile_checks::CheckChannelCodes(profile, 213));
    Set("//dfns:channels/dfns:channel[5]", "tx_code", QStringLiteral("214"));
    EXPECT_FALSE(profile_checks::CheckChannelCodes(profile, 213));
    EXPECT_TRUE(profile_checks::CheckChannelCodes(profile, 214));
    // A channel beyond those in use does not count.
    Set("//dfns:setting", "numberChannels", QStringLiteral("4"));
    EXPECT_TRUE(profile_checks::CheckChannelCodes(profile, 213));
}

TEST_F(ProfileChecks, FrequencyRangeIncludesBothBandEdges) {
    EXPECT_TRUE(profile_checks::CheckChannelFrequencyRange(profile));
    const QString txIndex = Get("//dfns:channels/dfns:channel[1]", "tx_freq_ndx");
    const QByteArray entry =
        "//dfns:frequencies/dfns:frequency[" + QByteArray::number(txIndex.toInt() + 1) + "]";
    Set(entry.constData(), "freq", Get("//dfns:limit", "end_freq"));
    EXPECT_TRUE(profile_checks::CheckChannelFrequencyRange(profile));
    Set(entry.constData(), "freq", QString::number(Get("//dfns:limit", "end_freq").toUInt() + 1));
    EXPECT_FALSE(profile_checks::CheckChannelFrequencyRange(profile));
    Set(entry.constData(), "freq", Get("//dfns:limit", "start_freq"));
    EXPECT_TRUE(profile_checks::CheckChannelFrequencyRange(profile));
    // An index past the table is out of range, not a crash.
    Set("//dfns:channels/dfns:channel[3]", "rx_freq_ndx", QStringLiteral("98"));
    EXPECT_FALSE(profile_checks::CheckChannelFrequencyRange(profile));
}

TEST_F(ProfileChecks, NarrowbandRegionsLoseWidebandOnceWithOneMessage) {
    Set("//dfns:frequencies/dfns:frequency[1]", "bandwidth", QStringLiteral("1"));
    Set("//dfns:channels/dfns:channel[2]", "tx_bw", QStringLiteral("1"));
    Set("//dfns:factory_setting", "model", QStringLiteral("CUD41601"));
    CRecordingPrompt prompt;
    EXPECT_FALSE(profile_checks::EnforceNarrowband(profile, prompt));
    EXPECT_TRUE(prompt.ids.isEmpty());
    EXPECT_EQ(Get("//dfns:frequencies/dfns:frequency[1]", "bandwidth"), QStringLiteral("1"));

    Set("//dfns:factory_setting", "model", QStringLiteral("CUD41600"));
    EXPECT_TRUE(profile_checks::EnforceNarrowband(profile, prompt));
    EXPECT_EQ(prompt.ids, QList<int>{536});
    EXPECT_EQ(Get("//dfns:frequencies/dfns:frequency[1]", "bandwidth"), QStringLiteral("0"));
    EXPECT_EQ(Get("//dfns:channels/dfns:channel[2]", "tx_bw"), QStringLiteral("0"));
    // Nothing left to change: no second message.
    EXPECT_FALSE(profile_checks::EnforceNarrowband(profile, prompt));
    EXPECT_EQ(prompt.ids.size(), 1);
}

TEST_F(ProfileChecks, CompanderOffWhereBandwidthCodeIsOne) {
    Set("//dfns:frequencies/dfns:frequency[1]", "bandwidth", QStringLiteral("1"));
    Set("//dfns:frequencies/dfns:frequency[1]", "compander_lle_mode", QStringLiteral("2"));
    Set("//dfns:frequencies/dfns:frequency[2]", "compander_lle_mode", QStringLiteral("2"));
    profile_checks::ResetCompander(profile);
    EXPECT_EQ(Get("//dfns:frequencies/dfns:frequency[1]", "compander_lle_mode"),
              QStringLiteral("0"));
    EXPECT_EQ(Get("//dfns:frequencies/dfns:frequency[2]", "compander_lle_mode"),
              QStringLiteral("2"));
}

}  // namespace
