// Codeplug version fields: which fields a profile of an older version gains from the rules
// document, and that taking them off gives the file's own shape back.

#include "model/version_fields.h"

#include <QStringList>

#include "platform/vesk_cps_exception.h"
#include "platform/xml/xml_document.h"
#include "qt_print.h"
#include "source_files.h"

#include <gtest/gtest.h>

namespace {

// Versions 1..3 of region "R". The oldest version is never visited, so its entries must never
// matter; a region entry wins over a common one of the same version; the newest version that
// names a field decides its default.
const QByteArray kRules = R"(<?xml version="1.0"?>
<CodePlugSetting xmlns="urn:corvane:vesk-kel:profile:1">
  <CPVer1>
    <R><CPField name="never" nodename="a" defaulvalue="1" replaceby="" isExist="0"/></R>
    <RegionCommon><CPField name="never2" nodename="a" defaulvalue="1" replaceby="" isExist="0"/></RegionCommon>
  </CPVer1>
  <CPVer2>
    <R><CPField name="f2" nodename="a" defaulvalue="region2" replaceby="" isExist="1"/></R>
    <RegionCommon>
      <CPField name="f2" nodename="a" defaulvalue="common2" replaceby="" isExist="1"/>
      <CPField name="copy" nodename="b" defaulvalue="dflt" replaceby="src" isExist="1"/>
      <CPField name="gone2" nodename="a" defaulvalue="z" replaceby="" isExist="0"/>
    </RegionCommon>
  </CPVer2>
  <CPVer3>
    <R>
      <!-- a comment among the entries is no entry -->
      <CPField name="f3" nodename="a" defaulvalue="region3" replaceby="" isExist="1"/>
    </R>
    <RegionCommon>
      <CPField name="f3" nodename="a" defaulvalue="common3" replaceby="" isExist="1"/>
      <CPTag name="t3" parentNode="b" isExist="1"/>
      <CPField name="f2" nodename="a" defaulvalue="common3" replaceby="" isExist="1"/>
      <CPField name="copy" nodename="b" defaulvalue="dflt" replaceby="src" isExist="1"/>
      <CPField name="gone3" nodename="a" defaulvalue="x" replaceby="" isExist="0"/>
    </RegionCommon>
  </CPVer3>
</CodePlugSetting>
)";

QStringList Describe(const CVersionFields& fields) {
    QStringList out;
    for (const SVersionEntry& entry : fields.Entries()) {
        if (entry.kind == SVersionEntry::EKind::Tag) {
            out << QStringLiteral("<%1> in %2").arg(entry.name, entry.node);
        } else {
            out << QStringLiteral("%1@%2=%3%4")
                       .arg(entry.name, entry.node, entry.defaultText,
                            entry.replaceBy.isEmpty() ? QString()
                                                      : QStringLiteral(" or @") + entry.replaceBy);
        }
    }
    return out;
}

struct SComputeRow {
    const char* name;
    const char* region;
    int version;
    QStringList expected;
};

class VersionFieldList : public ::testing::TestWithParam<SComputeRow> {};

TEST_P(VersionFieldList, IsWhatTheRulesSay) {
    const CXmlDocument rules = CXmlDocument::Parse(kRules, QStringLiteral("rules"));
    const SComputeRow& row = GetParam();
    EXPECT_EQ(
        Describe(CVersionFields::Compute(rules, QString::fromLatin1(row.region), row.version)),
        row.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, VersionFieldList,
    ::testing::Values(
        // The newest version gets only what it marks absent itself.
        SComputeRow{"Newest", "R", 3, {"gone3@a=x"}},
        SComputeRow{"Middle", "R", 2, {"f3@a=region3", "<t3> in b", "gone2@a=z"}},
        SComputeRow{
            "Oldest", "R", 1, {"f3@a=region3", "<t3> in b", "f2@a=common3", "copy@b=dflt or @src"}},
        // Another region has only the common entries.
        SComputeRow{"OtherRegionMiddle", "Q", 2, {"f3@a=common3", "<t3> in b", "gone2@a=z"}},
        // Versions the rules do not know are taken as they are.
        SComputeRow{"Unknown", "R", 4, {}}, SComputeRow{"Zero", "R", 0, {}}),
    [](const ::testing::TestParamInfo<SComputeRow>& rowInfo) {
        return std::string(rowInfo.param.name);
    });

TEST(VersionFieldList, NoRulesDocumentGivesNothing) {
    EXPECT_TRUE(CVersionFields::Compute(CXmlDocument(), QStringLiteral("R"), 1).IsEmpty());
}

const QByteArray kProfile = R"(<?xml version="1.0" encoding="UTF-8"?>
<VeskProfile xmlns="urn:corvane:vesk-kel:profile:1">
	<a k="1"/>
	<b src="7"/>
	<b src=""/>
	<b><t3/></b>
	<c/>
</VeskProfile>
)";

TEST(VersionFields, PutOnThenTakeOffGivesTheTextBackByteForByte) {
    const CXmlDocument rules = CXmlDocument::Parse(kRules, QStringLiteral("rules"));
    const CVersionFields fields = CVersionFields::Compute(rules, QStringLiteral("R"), 1);
    CXmlDocument profile = CXmlDocument::Parse(kProfile, QStringLiteral("profile"));
    const QByteArray before = profile.ToXml();
    fields.PutOn(profile);
    const QByteArray put = profile.ToXml();
    // The copy comes from `src` when it holds a value; a tag the element has is not added twice.
    EXPECT_EQ(put, QByteArray(R"(<?xml version="1.0" encoding="UTF-8"?>
<VeskProfile xmlns="urn:corvane:vesk-kel:profile:1">
	<a k="1" f3="region3" f2="common3"/>
	<b src="7" copy="7"><t3/></b>
	<b src="" copy="dflt"><t3/></b>
	<b copy="dflt"><t3/></b>
	<c/>
</VeskProfile>
)"));
    // Taken off a fresh parse, as a save does after the working document was edited.
    CXmlDocument reparsed = CXmlDocument::Parse(put, QStringLiteral("saved"));
    fields.TakeOff(reparsed);
    // The tag the file had of its own goes as well: the version does not have it.
    QByteArray expected = before;
    expected.replace("<b><t3/></b>", "<b/>");
    EXPECT_EQ(reparsed.ToXml(), expected);
}

TEST(VersionFields, PutOnReplacesAValueTheFileCarries) {
    CVersionFields fields({{SVersionEntry::EKind::Field, QStringLiteral("k"), QStringLiteral("a"),
                            QStringLiteral("new"), QString()}});
    CXmlDocument profile = CXmlDocument::Parse(kProfile, QStringLiteral("profile"));
    fields.PutOn(profile);
    EXPECT_TRUE(profile.ToXml().contains(R"(<a k="new"/>)"));
}

struct SBadRow {
    const char* name;
    SVersionEntry entry;
};

class VersionFieldsBadNames : public ::testing::TestWithParam<SBadRow> {};

// A rules document is installation data; a name that is no XML name fails the load (136) or the
// save (533) instead of producing a profile that cannot be read back.
TEST_P(VersionFieldsBadNames, RaiseTheLoadOrSaveMessage) {
    const CVersionFields fields({GetParam().entry});
    CXmlDocument profile = CXmlDocument::Parse(kProfile, QStringLiteral("profile"));
    try {
        fields.PutOn(profile);
        ADD_FAILURE() << "PutOn accepted it";
    } catch (const CVeskCPSException& error) {
        EXPECT_EQ(error.MessageId(), model_msg::kFailedToLoadProfile);
    }
    try {
        fields.TakeOff(profile);
        ADD_FAILURE() << "TakeOff accepted it";
    } catch (const CVeskCPSException& error) {
        EXPECT_EQ(error.MessageId(), model_msg::kFailedToSave);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, VersionFieldsBadNames,
    ::testing::Values(
        SBadRow{"AttributeWithBlank",
                {SVersionEntry::EKind::Field, QStringLiteral("a b"), QStringLiteral("a"), {}, {}}},
        SBadRow{"ElementPath",
                {SVersionEntry::EKind::Field, QStringLiteral("k"), QStringLiteral("a[1]"), {}, {}}},
        SBadRow{"EmptyTag", {SVersionEntry::EKind::Tag, QString(), QStringLiteral("b"), {}, {}}},
        SBadRow{"ReplaceByQuery",
                {SVersionEntry::EKind::Field,
                 QStringLiteral("k"),
                 QStringLiteral("a"),
                 {},
                 QStringLiteral("@x")}}),
    [](const ::testing::TestParamInfo<SBadRow>& rowInfo) {
        return std::string(rowInfo.param.name);
    });

TEST(VersionFieldList, BadRegionNameRaises136) {
    const CXmlDocument rules = CXmlDocument::Parse(kRules, QStringLiteral("rules"));
    try {
        CVersionFields::Compute(rules, QStringLiteral("R]|//*"), 2);
        ADD_FAILURE() << "accepted";
    } catch (const CVeskCPSException& error) {
        EXPECT_EQ(error.MessageId(), model_msg::kFailedToLoadProfile);
    }
}

// The installation's own rules, worked out by hand in the document's header comment.
struct SInstalledRow {
    int version;
    QStringList expected;
};

class InstalledVersionRules : public ::testing::TestWithParam<SInstalledRow> {};

TEST_P(InstalledVersionRules, GiveTheDocumentedLists) {
    const CXmlDocument rules = CXmlDocument::ParseFile(
        QStringLiteral(VESK_SOURCE_DIR "/install/lib/UpDownGradeSetting.stv"));
    QStringList got = Describe(
        CVersionFields::Compute(rules, QStringLiteral("NorthAmerica"), GetParam().version));
    QStringList expected = GetParam().expected;
    got.sort();
    expected.sort();
    EXPECT_EQ(got, expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, InstalledVersionRules,
    ::testing::Values(SInstalledRow{3, {}},
                      SInstalledRow{
                          2,
                          {"disable_channel@channel=0", "talkaround_scan@channel=0",
                           "disable_channel_enable@limit=0", "talkaround_scan_enable@limit=0"}},
                      SInstalledRow{1,
                                    {"voice_chip_enable@limit=1", "disable_channel@channel=0",
                                     "talkaround_scan@channel=0", "disable_channel_enable@limit=0",
                                     "talkaround_scan_enable@limit=0", "voice_language@setting=0",
                                     "backlight_timeout@setting=5", "tx_bw@channel=0 or @rx_bw",
                                     "repeater_power@channel=1 or @talkaround_power"}}));

}  // namespace
