#include "model/radio_data_model.h"

#include <optional>
#include <ostream>
#include <tuple>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>
#include <QVariant>

#include "model/version_fields.h"
#include "platform/vesk_cps_exception.h"
#include "platform/xml/xml_document.h"
#include "platform/xml/xml_node.h"
#include "platform/xml/xpath.h"
#include "qt_print.h"
#include "recording_prompt.h"
#include "source_files.h"
#include "temp_hives.h"

#include <gtest/gtest.h>

namespace {

const QString kSourceDir = QStringLiteral(VESK_SOURCE_DIR);
const QString kGood = kSourceDir + QStringLiteral("/tests/data/profiles/good/");
const QString kBad = kSourceDir + QStringLiteral("/tests/data/profiles/bad/");

QStringList ChannelNames(const CXmlDocument& document) {
    QStringList names;
    CXPathContext xpath(document);
    for (xmlNodePtr channel : xpath.SelectNodes(QStringLiteral("//dfns:channels/dfns:channel"))) {
        names.append(xml::Attribute(channel, "name").value_or(QStringLiteral("<missing>")));
    }
    return names;
}

// The model exception a call raised, or nullopt when it raised none.
template <typename Call>
std::optional<CVeskCPSException> RaisedBy(Call call) {
    try {
        call();
    } catch (const CVeskCPSException& error) {
        return error;
    }
    return std::nullopt;
}

// An installation folder holding the rule script and the schema that the model reads.
class RadioDataModel : public ::testing::Test {
protected:
    RadioDataModel() {
        hives.WriteMachine(
            "[General]\nInstallPath=" + hives.Path(QStringLiteral("install")).toUtf8() + "\n");
        WriteInstallFile("DataProfile.vbs", ReadAll(kSourceDir + kTemplate + "DataProfile.vbs"));
        WriteInstallFile("DataProfile.xsd", ReadAll(kSourceDir + kTemplate + "DataProfile.xsd"));
    }

    QString InstallFile(const char* name) const {
        return hives.Path(QStringLiteral("install/profiletemplate/") + QString::fromUtf8(name));
    }
    void WriteInstallFile(const char* name, const QByteArray& text) const {
        CTempHives::Write(InstallFile(name), text);
    }
    void RemoveInstallFile(const char* name) const { QFile::remove(InstallFile(name)); }

    static inline const QString kTemplate = QStringLiteral("/install/profiletemplate/");

    CTempHives hives;
    CConfiguration config = hives.Config();
    CRecordingPrompt prompt;
    CRadioDataModel model{config, prompt};
};

struct SGoodRow {
    const char* file;
    const char* model;
    int channels;
};

class RadioDataModelGood : public RadioDataModel,
                           public ::testing::WithParamInterface<std::tuple<SGoodRow, bool>> {};

TEST_P(RadioDataModelGood, LoadsAndTheRootItemReadsIt) {
    const auto& [row, asPath] = GetParam();
    const QString path = kGood + QString::fromUtf8(row.file);
    ASSERT_TRUE(model.LoadProfile(asPath ? path : QString::fromUtf8(ReadAll(path)), asPath));
    EXPECT_TRUE(prompt.ids.isEmpty());
    CDataItem factory = model.RootItem().GetChildByName(QStringLiteral("factory_setting"));
    EXPECT_EQ(factory.GetAttributeValue(QStringLiteral("model")),
              QVariant(QString::fromUtf8(row.model)));
    EXPECT_EQ(model.CodeplugVersion(), 3);
    CDataItem channels = model.RootItem().GetChildByName(QStringLiteral("channels"));
    EXPECT_EQ(channels.GetChildCount(), row.channels);
}

TEST_P(RadioDataModelGood, TakeOffDocGivesTheProfileBack) {
    const auto& [row, asPath] = GetParam();
    const QString path = kGood + QString::fromUtf8(row.file);
    ASSERT_TRUE(model.LoadProfile(asPath ? path : QString::fromUtf8(ReadAll(path)), asPath));
    model.TakeOffDoc();
    const CXmlDocument original = CXmlDocument::Parse(ReadAll(path), path);
    const CXmlDocument saved = CXmlDocument::Parse(model.OperationDocument().ToXml(), path);
    EXPECT_EQ(ChannelNames(saved), ChannelNames(original));
    EXPECT_EQ(ChannelNames(saved).size(), row.channels);
    EXPECT_EQ(saved.ToXml(), original.ToXml());
}

INSTANTIATE_TEST_SUITE_P(
    Rows, RadioDataModelGood,
    ::testing::Combine(::testing::Values(SGoodRow{"full.xml", "CVD51905", 19},
                                         SGoodRow{"handheld_uhf.xml", "CUD41600", 16},
                                         SGoodRow{"minimal.xml", "CUR40200", 1}),
                       ::testing::Bool()));

class RadioDataModelBad : public RadioDataModel,
                          public ::testing::WithParamInterface<const char*> {};

TEST_P(RadioDataModelBad, IsRefusedWithTheLoadingErrorText) {
    const QString path = kBad + QString::fromUtf8(GetParam());
    const auto error = RaisedBy([&] { model.LoadProfile(path, true); });
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->MessageId(), model_msg::kInvalidProfile);
    EXPECT_TRUE(error->Text().contains(QStringLiteral("Profile Loading Error."))) << error->what();
    EXPECT_TRUE(error->Text().contains(QStringLiteral("File: ") + path)) << error->what();
    EXPECT_TRUE(error->Text().contains(QStringLiteral("CRadioDataModel::LoadProfile")))
        << error->what();
    EXPECT_TRUE(model.RootItem().IsEmpty());
}

INSTANTIATE_TEST_SUITE_P(Rows, RadioDataModelBad,
                         ::testing::Values("bad_serial.xml", "flag_true.xml", "flag_two.xml",
                                           "missing_required_attribute.xml", "name_too_long.xml",
                                           "non_numeric_number.xml", "one_preset.xml",
                                           "too_many_channels.xml", "too_many_frequencies.xml",
                                           "unknown_attribute.xml", "unknown_element.xml",
                                           "value_out_of_range.xml", "wrong_element_order.xml",
                                           "wrong_namespace.xml"));

struct SMissingRow {
    const char* file;
    QByteArray text;  // written instead of the file when not null
};

class RadioDataModelMissing : public RadioDataModel,
                              public ::testing::WithParamInterface<SMissingRow> {};

TEST_P(RadioDataModelMissing, ShowsMessage315AndFails) {
    const SMissingRow& row = GetParam();
    if (row.text.isNull()) {
        RemoveInstallFile(row.file);
    } else {
        WriteInstallFile(row.file, row.text);
    }
    EXPECT_FALSE(model.LoadProfile(kGood + QStringLiteral("minimal.xml"), true));
    EXPECT_EQ(prompt.ids, QList<int>{315});
    EXPECT_TRUE(model.RootItem().IsEmpty());
}

INSTANTIATE_TEST_SUITE_P(Rows, RadioDataModelMissing,
                         ::testing::Values(SMissingRow{"DataProfile.vbs", QByteArray()},
                                           SMissingRow{"DataProfile.vbs", QByteArray("")},
                                           SMissingRow{"DataProfile.xsd", QByteArray()},
                                           SMissingRow{"DataProfile.xsd", QByteArray("")}));

TEST_F(RadioDataModel, InitializeWithoutRuleScriptShows315) {
    RemoveInstallFile("DataProfile.vbs");
    EXPECT_FALSE(model.Initialize());
    EXPECT_EQ(prompt.ids, QList<int>{315});
    EXPECT_EQ(model.ScriptHost(), nullptr);
}

TEST_F(RadioDataModel, RuleScriptThatDoesNotCompileRaises137) {
    WriteInstallFile("DataProfile.vbs", "Function Broken(\n    If Then\nEnd Sub\n");
    const auto error =
        RaisedBy([&] { model.LoadProfile(kGood + QStringLiteral("minimal.xml"), true); });
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->MessageId(), model_msg::kFatalError101);
    EXPECT_TRUE(error->Text().contains(QStringLiteral("Exception Catched"))) << error->what();
    EXPECT_EQ(model.ScriptHost(), nullptr);
}

TEST_F(RadioDataModel, TextThatIsNoXmlNamesTheSource) {
    const QString path = hives.Path(QStringLiteral("broken.xml"));
    CTempHives::Write(path, "<VeskProfile xmlns=\"urn:corvane:vesk-kel:profile:1\">");
    const auto error = RaisedBy([&] { model.LoadProfile(path, true); });
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->MessageId(), model_msg::kInvalidProfile);
    // The text begins with the source; the context lines follow.
    EXPECT_TRUE(
        error->Text().startsWith(QStringLiteral("File='") + path + QStringLiteral("'\nDesc: ")))
        << error->what();
    // The parser's reason, and where it met it (the text does not begin as a plain profile does,
    // so the reader took it for a scrambled one).
    EXPECT_TRUE(error->Summary().contains(
        QStringLiteral("\nDesc: Start tag expected, '<' not found; line 1, column 1")))
        << error->what();
    EXPECT_TRUE(error->Text().contains(QStringLiteral("CRadioDataModel::InitialOperaDoc")))
        << error->what();
}

TEST_F(RadioDataModel, UnreadableTemplateRaises135) {
    const QString path = hives.Path(QStringLiteral("nosuch.xml"));
    const auto error = RaisedBy([&] { model.LoadProfile(path, true); });
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->MessageId(), model_msg::kInvalidProfile);
    EXPECT_TRUE(error->Text().contains(path)) << error->what();
}

TEST_F(RadioDataModel, SecondProfileReusesTheEngine) {
    ASSERT_TRUE(model.LoadProfile(kGood + QStringLiteral("minimal.xml"), true));
    const CRuleScriptHost* first = model.ScriptHost();
    ASSERT_NE(first, nullptr);
    ASSERT_TRUE(model.LoadProfile(kGood + QStringLiteral("handheld_uhf.xml"), true));
    EXPECT_EQ(model.ScriptHost(), first);
    CDataItem factory = model.RootItem().GetChildByName(QStringLiteral("factory_setting"));
    EXPECT_EQ(factory.GetAttributeValue(QStringLiteral("model")),
              QVariant(QStringLiteral("CUD41600")));
    EXPECT_TRUE(prompt.ids.isEmpty());
}

// The schema and the rule script are compiled once per text and shared by every model: a text
// changed on disk must be the one the next load goes by, not the one compiled before.
TEST_F(RadioDataModel, SchemaAndRuleScriptChangedOnDiskAreTheOnesTheNextLoadUses) {
    const QString minimal = kGood + QStringLiteral("minimal.xml");
    ASSERT_TRUE(model.LoadProfile(minimal, true));

    QByteArray schema = ReadAll(kSourceDir + kTemplate + "DataProfile.xsd");
    ASSERT_TRUE(schema.contains("<xs:element name=\"VeskProfile\""));
    schema.replace("<xs:element name=\"VeskProfile\"", "<xs:element name=\"OtherProfile\"");
    WriteInstallFile("DataProfile.xsd", schema);
    const auto refused = RaisedBy([&] { model.LoadProfile(minimal, true); });
    ASSERT_TRUE(refused.has_value());
    EXPECT_EQ(refused->MessageId(), model_msg::kInvalidProfile);

    WriteInstallFile("DataProfile.xsd", ReadAll(kSourceDir + kTemplate + "DataProfile.xsd"));
    WriteInstallFile("DataProfile.vbs", "Function Broken(\n    If Then\nEnd Sub\n");
    CRadioDataModel second{config, prompt};
    const auto broken = RaisedBy([&] { second.LoadProfile(minimal, true); });
    ASSERT_TRUE(broken.has_value());
    EXPECT_EQ(broken->MessageId(), model_msg::kFatalError101);
    // The first model keeps the engine it started, and the schema is the installed one again.
    ASSERT_TRUE(model.LoadProfile(minimal, true));
}

TEST_F(RadioDataModel, ProfileAfterARefusedOneLoads) {
    EXPECT_TRUE(RaisedBy([&] {
                    model.LoadProfile(kBad + QStringLiteral("unknown_element.xml"), true);
                }).has_value());
    ASSERT_TRUE(model.LoadProfile(kGood + QStringLiteral("minimal.xml"), true));
    EXPECT_FALSE(model.RootItem().IsEmpty());
}

// What a load into a model that holds a profile may meet; none of it may cost the held profile.
struct SFailedLoadRow {
    const char* name;
    const char* bad;          // a sample of tests/data/profiles/bad, or null
    const char* text;         // profile text, or null
    const char* missingFile;  // an installation file taken away first, or null
};

void PrintTo(const SFailedLoadRow& row, std::ostream* os) {
    *os << row.name;
}

class RadioDataModelFailedLoad : public RadioDataModel,
                                 public ::testing::WithParamInterface<SFailedLoadRow> {};

TEST_P(RadioDataModelFailedLoad, KeepsTheHeldProfileAndItsEdits) {
    const SFailedLoadRow& row = GetParam();
    ASSERT_TRUE(model.LoadProfile(kGood + QStringLiteral("handheld_uhf.xml"), true));
    CDataItem channel =
        model.RootItem().GetChildByName(QStringLiteral("channels")).GetChildByIndex(1);
    ASSERT_TRUE(
        channel.SetAttributeValue(QStringLiteral("name"), QVariant(QStringLiteral("EDITED")))
            .IsAccepted());
    const QByteArray held = model.WorkingDocument().ToXml();
    const int version = model.CodeplugVersion();

    if (row.missingFile) {
        RemoveInstallFile(row.missingFile);
    }
    bool loaded = true;
    if (row.bad) {
        EXPECT_TRUE(RaisedBy([&] {
                        loaded = model.LoadProfile(kBad + QString::fromUtf8(row.bad), true);
                    }).has_value());
    } else if (row.text) {
        EXPECT_TRUE(RaisedBy([&] {
                        loaded = model.LoadProfileText(QString::fromUtf8(row.text),
                                                       QStringLiteral("radio"));
                    }).has_value());
    } else {
        loaded = model.LoadProfile(kGood + QStringLiteral("minimal.xml"), true);
        EXPECT_FALSE(loaded);
    }

    ASSERT_FALSE(model.RootItem().IsEmpty());
    EXPECT_EQ(model.WorkingDocument().ToXml(), held);
    EXPECT_EQ(model.CodeplugVersion(), version);
    channel = model.RootItem().GetChildByName(QStringLiteral("channels")).GetChildByIndex(1);
    EXPECT_EQ(channel.GetAttributeValue(QStringLiteral("name")),
              QVariant(QStringLiteral("EDITED")));
    model.TakeOffDoc();
    EXPECT_EQ(ChannelNames(model.OperationDocument()).value(1), QStringLiteral("EDITED"));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, RadioDataModelFailedLoad,
    ::testing::Values(SFailedLoadRow{"schemaRefuses", "too_many_channels.xml", nullptr, nullptr},
                      SFailedLoadRow{"notXml", nullptr, "<VeskProfile", nullptr},
                      SFailedLoadRow{"unreadable", "nosuch.xml", nullptr, nullptr},
                      SFailedLoadRow{"schemaFileMissing", nullptr, nullptr, "DataProfile.xsd"}),
    [](const auto& row) { return std::string(row.param.name); });

TEST_F(RadioDataModel, EditThroughTheRootItemIsSaved) {
    ASSERT_TRUE(model.LoadProfile(kGood + QStringLiteral("handheld_uhf.xml"), true));
    CDataItem channels = model.RootItem().GetChildByName(QStringLiteral("channels"));
    CDataItem channel = channels.GetChildByIndex(1);
    EXPECT_TRUE(channel.SetAttributeValue(QStringLiteral("name"), QVariant(QStringLiteral("BASE")))
                    .IsAccepted());
    // The rule refuses a name another channel has, and the refusal must not reach the file.
    EXPECT_TRUE(channel.SetAttributeValue(QStringLiteral("name"), QVariant(QStringLiteral("CH 01")))
                    .IsRefused());
    model.TakeOffDoc();
    const QStringList names = ChannelNames(model.OperationDocument());
    ASSERT_EQ(names.size(), 16);
    EXPECT_EQ(names[0], QStringLiteral("CH 01"));
    EXPECT_EQ(names[1], QStringLiteral("BASE"));
    EXPECT_EQ(names[2], QStringLiteral("CH 03"));
}

TEST_F(RadioDataModel, TakeOffDocWithoutProfileRaises533) {
    const auto error = RaisedBy([&] { model.TakeOffDoc(); });
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->MessageId(), model_msg::kFailedToSave);
}

}  // namespace
