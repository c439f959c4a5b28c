#include "model/settings_documents.h"

#include <QFile>
#include <QRegularExpression>
#include <QSet>

#include "model/profile_file.h"
#include "platform/xml/xml_node.h"
#include "platform/xml/xpath.h"
#include "qt_print.h"
#include "recording_prompt.h"
#include "source_files.h"
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

// Each of the four groups hands its Control children on under the group's name; anything else is
// an entry of its own, and a group's other children are no entries.
TEST(SettingsDocuments, VisibilityGroupsGiveTheirControls) {
    CSettingsDocuments documents;
    documents.Set(CSettingsDocuments::Doc::VisibleSetting,
                  Doc("<R><P><Control ID='1'/><Display><Control ID='2'/><Other ID='9'/></Display>"
                      "<NonDisplay><Control ID='3'/></NonDisplay><Repeater><Control ID='4' "
                      "isVisible='0'/></Repeater><Handheld><Control ID='5'/></Handheld>"
                      "<Portable ID='6'/></P></R>"));
    QStringList seen;
    for (const SVisibilityEntry& entry :
         documents.PageVisibilityEntries(QStringLiteral("R"), QStringLiteral("P"))) {
        seen << QStringLiteral("%1:%2%3")
                    .arg(entry.group)
                    .arg(entry.id.value_or(-1))
                    .arg(entry.isVisible == false ? QStringLiteral(" off") : QString());
    }
    EXPECT_EQ(seen, QStringList(
                        {":1", "Display:2", "NonDisplay:3", "Repeater:4 off", "Handheld:5", ":6"}));
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

// The editor's pages: visibility name, help name, and the page title's control, which every
// model must see.
struct SPage {
    const char* visibility;
    const char* help;
    int title;
};
constexpr SPage kPages[] = {
    {"RadioProfile", "RadioInfo", 1013},
    {"Settings", "GeneralSettings", 1048},
    {"AudioSettings", "AudioSettings", 1019},
    {"Buttons", "Buttons", 1075},
    {"Frequency", "RFFrequency", 1069},
    {"Channels", "Channels", 1061},
    {"Channel", "Channel", 1058},
    {"ScanList", "ScanList", 1035},
    {"CustomizedKT", "CustomizedKT", 1077},
    {"CustomizedVRC", "CustomizedVRC", 1090},
};

// The controls a page shows for one class of model, as the page framework decides it: listed
// directly or in a group of the model's classes, and not switched off by any applicable entry.
QSet<int> VisibleControls(const std::vector<xmlNodePtr>& entries, const QStringList& classes,
                          QStringList* problems) {
    QSet<int> listed;
    QSet<int> hidden;
    auto take = [&](xmlNodePtr control) {
        const std::optional<qint32> id = xml::AttributeInt32(control, "ID");
        if (!id) {
            *problems << QStringLiteral("entry without a numeric ID");
            return;
        }
        listed.insert(*id);
        if (xml::Attribute(control, "isVisible") == QStringLiteral("0")) {
            hidden.insert(*id);
        }
    };
    for (xmlNodePtr entry : entries) {
        const QString name = xml::LocalName(entry);
        if (name == QStringLiteral("Display") || name == QStringLiteral("NonDisplay") ||
            name == QStringLiteral("Repeater") || name == QStringLiteral("Handheld")) {
            for (xmlNodePtr child = entry->children; child; child = child->next) {
                if (child->type != XML_ELEMENT_NODE) {
                    continue;
                }
                if (xml::LocalName(child) != QStringLiteral("Control")) {
                    *problems << name + QStringLiteral(" holds ") + xml::LocalName(child);
                } else if (classes.contains(name)) {
                    take(child);
                }
            }
        } else {
            take(entry);
        }
    }
    return listed - hidden;
}

QSet<QString> HelpTopicFiles() {
    const QString project =
        QString::fromUtf8(ReadSource(QStringLiteral("install/help/veskcps.qhp")));
    QSet<QString> files;
    static const QRegularExpression file(QStringLiteral("<file>([^<]+)</file>"));
    for (const QRegularExpressionMatch& match : file.globalMatch(project)) {
        files.insert(match.captured(1));
    }
    return files;
}

// The documents the installation ships, loaded as start-up loads them, must answer every question
// the pages ask, for the installation's region and both display classes.
TEST(SettingsDocuments, ShippedDocumentsServeEveryPage) {
    CTempHives hives;
    hives.WriteMachine("[General]\nInstallPath=" VESK_SOURCE_DIR "/install\n");
    CRecordingPrompt prompt;
    CSettingsDocuments documents;
    ASSERT_TRUE(documents.LoadAll(hives.Config(), prompt));
    EXPECT_TRUE(prompt.ids.isEmpty());

    const QString region = documents.RegionName();
    const QSet<QString> topics = HelpTopicFiles();
    EXPECT_FALSE(topics.isEmpty());
    for (const SPage& page : kPages) {
        const QString visibility = QString::fromLatin1(page.visibility);
        const std::vector<xmlNodePtr> entries = documents.PageVisibilityList(region, visibility);
        EXPECT_FALSE(entries.empty()) << qPrintable(region) << "/" << page.visibility;
        QStringList problems;
        QSet<int> shown;
        for (const QString& displayClass :
             {QStringLiteral("Display"), QStringLiteral("NonDisplay")}) {
            for (const QString& repeaterClass :
                 {QStringLiteral("Handheld"), QStringLiteral("Repeater")}) {
                const QSet<int> visible =
                    VisibleControls(entries, {displayClass, repeaterClass}, &problems);
                EXPECT_TRUE(visible.contains(page.title))
                    << page.visibility << " " << qPrintable(displayClass) << " "
                    << qPrintable(repeaterClass);
                shown += visible;
            }
        }
        EXPECT_TRUE(problems.isEmpty())
            << page.visibility << ": " << qPrintable(problems.join(", "));
        // Whatever a page can show has a help topic, and that topic is in the help collection.
        for (int id : shown) {
            const QString topic =
                documents.HelpPage(QString::fromLatin1(page.help), QString::number(id), QString());
            EXPECT_TRUE(topics.contains(topic))
                << page.help << " control " << id << ": topic '" << qPrintable(topic) << "'";
        }
    }
}

// The Buttons page leans on the button lists: the value-0 entry last in COMMON, the default
// features offered, dependencies naming real limits, and the radio pictures present.
TEST(SettingsDocuments, ShippedButtonListsHoldWhatTheButtonsPageNeeds) {
    CTempHives hives;
    hives.WriteMachine("[General]\nInstallPath=" VESK_SOURCE_DIR "/install\n");
    CRecordingPrompt prompt;
    CSettingsDocuments documents;
    ASSERT_TRUE(documents.LoadAll(hives.Config(), prompt));
    const CXmlDocument& list = documents.Document(CSettingsDocuments::Doc::ButtonList);
    const QString region = documents.RegionName();

    QSet<QString> limits;
    {
        CXmlDocument xsd = CXmlDocument::Parse(
            ReadSource(QStringLiteral("install/profiletemplate/DataProfile.xsd")),
            QStringLiteral("DataProfile.xsd"));
        CXPathContext xpath(xsd);
        xpath.RegisterNamespace("xs", "http://www.w3.org/2001/XMLSchema");
        for (xmlNodePtr attribute : xpath.SelectNodes(
                 QStringLiteral("//xs:complexType[@name='LimitType']//xs:attribute"))) {
            limits.insert(xml::Attribute(attribute, "name").value_or(QString()));
        }
    }
    ASSERT_FALSE(limits.isEmpty());

    CXPathContext xpath(list);
    auto group = [&](const char* name) {
        return xpath.SelectNodes(
            QStringLiteral("//dfns:%1/dfns:%2/dfns:*").arg(region, QString::fromLatin1(name)));
    };
    QSet<int> offered;
    for (const char* name : {"COMMON", "DISPLAY", "NONDISPLAY", "PREBUTTON"}) {
        const std::vector<xmlNodePtr> entries = group(name);
        for (std::size_t i = 0; i < entries.size(); ++i) {
            const std::optional<qint32> value = xml::AttributeInt32(entries[i], "Value");
            ASSERT_TRUE(value) << name << " entry " << i;
            EXPECT_TRUE(*value >= 0 && *value <= 15) << name << " value " << *value;
            const bool last = i + 1 == entries.size();
            EXPECT_EQ(*value == 0, QByteArray(name) == "COMMON" && last) << name << " entry " << i;
            EXPECT_FALSE(xml::Attribute(entries[i], "Name").value_or(QString()).isEmpty());
            const QString depend = xml::Attribute(entries[i], "DependName").value_or(QString());
            EXPECT_TRUE(depend == QStringLiteral("none") || limits.contains(depend))
                << name << " depends on '" << qPrintable(depend) << "'";
            EXPECT_TRUE(xml::AttributeInt32(entries[i], "DependType")) << name << " entry " << i;
            offered.insert(*value);
        }
    }
    // The defaults of Button Reset: side 1, side 2, A, B, C.
    for (int value : {7, 4, 3, 9, 10, 12}) {
        EXPECT_TRUE(offered.contains(value)) << value;
    }
    const std::vector<xmlNodePtr> images = group("IMAGE");
    ASSERT_FALSE(images.empty());
    for (const char* kind : {"Display", "NonDisplay"}) {
        const QString file = xml::Attribute(images.front(), kind).value_or(QString());
        EXPECT_TRUE(QFile::exists(QStringLiteral(VESK_SOURCE_DIR "/install/lib/") + file))
            << kind << " picture '" << qPrintable(file) << "'";
    }
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
