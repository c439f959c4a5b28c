#include "model/profile_document.h"

#include <optional>
#include <ostream>
#include <set>
#include <tuple>
#include <vector>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QStringList>
#include <QVariant>

#include "model/data_item.h"
#include "model/profile_file.h"
#include "model/profile_node_access.h"
#include "model/settings_documents.h"
#include "model/version_fields.h"
#include "platform/user_prompt.h"
#include "platform/vesk_cps_exception.h"
#include "platform/xml/xml_document.h"
#include "platform/xml/xml_node.h"
#include "platform/xml/xpath.h"
#include "qt_print.h"
#include "recording_prompt.h"
#include "source_files.h"
#include "temp_hives.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using ESaveStep = CProfileDocument::ESaveStep;

const QString kSourceDir = QStringLiteral(VESK_SOURCE_DIR);
const QString kGood = kSourceDir + QStringLiteral("/tests/data/profiles/good/");
const QString kBad = kSourceDir + QStringLiteral("/tests/data/profiles/bad/");
const QString kTemplates = kSourceDir + QStringLiteral("/install/profiletemplate/");

QStringList FilesIn(const QString& folder, const QString& pattern) {
    return QDir(folder).entryList({pattern}, QDir::Files, QDir::Name);
}

QStringList FolderEntries(const QString& folder) {
    return QDir(folder).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

// The profile text a saved file holds.
QString SavedText(const QString& path) {
    return profile_file::Decode(ReadAll(path));
}

CXmlDocument SavedDocument(const QString& path) {
    return CXmlDocument::ParseText(SavedText(path), path);
}

// Attribute `name` of every channel of a profile document, in order.
QStringList ChannelAttribute(const CXmlDocument& document, const char* name) {
    QStringList values;
    CXPathContext xpath(document);
    for (xmlNodePtr channel : xpath.SelectNodes(QStringLiteral("//dfns:channels/dfns:channel"))) {
        values.append(xml::Attribute(channel, name).value_or(QStringLiteral("<missing>")));
    }
    return values;
}

QString FactoryAttribute(const CXmlDocument& document, const char* name) {
    CXPathContext xpath(document);
    return xml::Attribute(xpath.SelectSingle(QStringLiteral("//dfns:factory_setting")), name)
        .value_or(QStringLiteral("<missing>"));
}

QVariant RootValue(CProfileDocument& document, const char* element, const char* attribute) {
    CDataItem item = document.Model().RootItem().GetChildByName(QString::fromUtf8(element));
    return item.GetAttributeValue(QString::fromUtf8(attribute));
}

// A sample profile with textual edits, each of which must find its place.
QByteArray Edited(const char* file, const std::vector<std::pair<QByteArray, QByteArray>>& edits) {
    QByteArray text = ReadAll(kGood + QString::fromUtf8(file));
    for (const auto& [from, to] : edits) {
        EXPECT_TRUE(text.contains(from)) << from.toStdString();
        text.replace(from, to);
    }
    return text;
}

QByteArray Utf16WithMark(const QByteArray& utf8) {
    const QString text = QString::fromUtf8(utf8);
    QByteArray bytes("\xFF\xFE", 2);
    bytes.append(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
    return bytes;
}

// The file size limit of this process, restored when it goes out of scope together with the
// disposition of the signal that exceeding it raises.
class CFileSizeLimit {
public:
    CFileSizeLimit(rlim_t bytes, bool ignoreSignal) {
        getrlimit(RLIMIT_FSIZE, &m_limit);
        struct sigaction action = {};
        action.sa_handler = ignoreSignal ? SIG_IGN : SIG_DFL;
        sigemptyset(&action.sa_mask);
        sigaction(SIGXFSZ, &action, &m_action);
        rlimit small = m_limit;
        small.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &small);
    }
    ~CFileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &m_limit);
        sigaction(SIGXFSZ, &m_action, nullptr);
    }
    CFileSizeLimit(const CFileSizeLimit&) = delete;
    CFileSizeLimit& operator=(const CFileSizeLimit&) = delete;

private:
    rlimit m_limit = {};
    struct sigaction m_action = {};
};

// An installation with the rule script, the schema, the settings documents that saving and
// version conversion read, and two templates; a folder "save" for the files the tests write.
class ProfileDocument : public ::testing::Test {
protected:
    ProfileDocument() {
        hives.WriteMachine("[General]\nInstallPath=" + Install(QString()).toUtf8() + "\n");
        for (const char* name :
             {"DataProfile.vbs", "DataProfile.xsd", "CUD41600.vk4", "CUR40800.vk4"}) {
            CopyInstall(QStringLiteral("profiletemplate/") + QString::fromUtf8(name));
        }
        CopyInstall(QStringLiteral("lib/Region.stv"));
        if (std::optional<CXmlDocument> region =
                CSettingsDocuments::LoadSettingDoc(config, prompt, QStringLiteral("Region.stv"))) {
            settings.Set(CSettingsDocuments::Doc::Region, std::move(*region));
        }
        if (QFile::exists(kSourceDir + QStringLiteral("/install/lib/UpDownGradeSetting.stv"))) {
            CopyInstall(QStringLiteral("lib/UpDownGradeSetting.stv"));
            if (std::optional<CXmlDocument> rules = CSettingsDocuments::LoadSettingDoc(
                    config, prompt, QStringLiteral("UpDownGradeSetting.stv"))) {
                settings.Set(CSettingsDocuments::Doc::UpDownGradeSetting, std::move(*rules));
            }
        }
        EXPECT_TRUE(prompt.ids.isEmpty()) << "the installation's settings documents do not load";
        QDir().mkpath(SaveFolder());
    }

    QString Install(const QString& relative) const {
        return hives.Path(QStringLiteral("install/") + relative);
    }
    void CopyInstall(const QString& relative) const {
        CTempHives::Write(Install(relative), ReadSource(QStringLiteral("install/") + relative));
    }
    QString SaveFolder() const { return hives.Path(QStringLiteral("save")); }
    QString Saved(const char* name) const {
        return SaveFolder() + QLatin1Char('/') + QString::fromUtf8(name);
    }
    // Writes `bytes` as a file outside the save folder and gives its path.
    QString Input(const char* name, const QByteArray& bytes) const {
        const QString path = hives.Path(QStringLiteral("input/") + QString::fromUtf8(name));
        CTempHives::Write(path, bytes);
        return path;
    }

    // A file in the saved form: `text` opened and saved once, at Saved(name).
    QString SavedOnce(const char* name, const QByteArray& text) {
        CRecordingPrompt quiet;
        CProfileDocument first(config, quiet, &settings);
        EXPECT_TRUE(first.Open(Input(name, text)));
        EXPECT_TRUE(first.Save(Saved(name)));
        EXPECT_TRUE(quiet.ids.isEmpty());
        return Saved(name);
    }

    CTempHives hives;
    CConfiguration config = hives.Config();
    CRecordingPrompt prompt;
    CSettingsDocuments settings;
    CProfileDocument document{config, prompt, &settings};
};

// --- The file form ---

class ProfileDocumentSample : public ProfileDocument,
                              public ::testing::WithParamInterface<const char*> {};

TEST_P(ProfileDocumentSample, SavedFileIsScrambledUtf16WithoutZeroUnits) {
    ASSERT_TRUE(document.Open(kGood + QString::fromUtf8(GetParam())));
    ASSERT_TRUE(document.Save(Saved("out.vk4")));
    EXPECT_TRUE(prompt.ids.isEmpty());

    const QByteArray bytes = ReadAll(Saved("out.vk4"));
    ASSERT_GT(bytes.size(), 2);
    EXPECT_EQ(bytes.left(2), QByteArray("\xFF\xFE"));
    ASSERT_EQ(bytes.size() % 2, 0);
    for (qsizetype i = 2; i < bytes.size(); i += 2) {
        ASSERT_FALSE(bytes[i] == 0 && bytes[i + 1] == 0) << "zero unit at offset " << i;
    }
    // Scrambled, not plain: the text cannot be read without unscrambling.
    EXPECT_FALSE(bytes.mid(2, 10) == QByteArray("<\0?\0x\0m\0l\0", 10));

    // Nothing in the sample differs from what a save writes, so the saved profile is the sample.
    const QString text = profile_file::Decode(bytes);
    EXPECT_EQ(CXmlDocument::ParseText(text, QStringLiteral("saved")).ToXml(),
              CXmlDocument::Parse(ReadAll(kGood + QString::fromUtf8(GetParam())),
                                  QStringLiteral("sample"))
                  .ToXml());
    EXPECT_EQ(profile_file::Encode(text), bytes);
}

TEST_P(ProfileDocumentSample, SavingAFileInTheSavedFormWritesItsBytesAgain) {
    const QString first = SavedOnce("first.vk4", ReadAll(kGood + QString::fromUtf8(GetParam())));
    const QByteArray before = ReadAll(first);

    ASSERT_TRUE(document.Open(first));
    ASSERT_TRUE(document.Save(Saved("second.vk4")));
    EXPECT_EQ(ReadAll(Saved("second.vk4")), before);
    // And over itself.
    ASSERT_TRUE(document.Save(first));
    EXPECT_EQ(ReadAll(first), before);
    EXPECT_TRUE(prompt.ids.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Rows, ProfileDocumentSample,
                         ::testing::Values("full.xml", "handheld_uhf.xml", "minimal.xml"));

// Texts of the power-up string: the mask unit itself, units whose low byte is the mask, the
// units beside it, and a character outside the basic plane.
class ProfileDocumentMaskText : public ProfileDocument,
                                public ::testing::WithParamInterface<const char16_t*> {};

TEST_P(ProfileDocumentMaskText, SurvivesSaveAndReopen) {
    const QString value = QString::fromUtf16(GetParam());
    const QByteArray text =
        Edited("handheld_uhf.xml",
               {{"powerupString=\"HELLO\"", "powerupString=\"" + value.toUtf8() + "\""},
                {"name=\"CH 02\"", "name=\"" + value.toUtf8() + "\""}});
    ASSERT_TRUE(document.Open(Input("mask.xml", text)));
    ASSERT_TRUE(document.Save(Saved("mask.vk4")));

    const QByteArray bytes = ReadAll(Saved("mask.vk4"));
    for (qsizetype i = 2; i + 1 < bytes.size(); i += 2) {
        ASSERT_FALSE(bytes[i] == 0 && bytes[i + 1] == 0) << "zero unit at offset " << i;
    }
    CProfileDocument reopened(config, prompt, &settings);
    ASSERT_TRUE(reopened.Open(Saved("mask.vk4")));
    EXPECT_EQ(RootValue(reopened, "setting", "powerupString").toString(), value);
    EXPECT_EQ(ChannelAttribute(reopened.Model().WorkingDocument(), "name").value(1), value);
    EXPECT_TRUE(prompt.ids.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Rows, ProfileDocumentMaskText,
                         ::testing::Values(u"\u00A5", u"A\u00A5\u00A5B", u"\u01A5\u0125",
                                           u"\u00A4\u00A6\u00FF", u"\u00A5\U0001F4FB\u00A5"));

// --- Version fields ---

TEST_F(ProfileDocument, EveryTemplateSavesWithoutTheFieldsItsVersionLacks) {
    const QStringList templates = FilesIn(kTemplates, QStringLiteral("*.vk4"));
    ASSERT_FALSE(templates.isEmpty()) << "no template in " << kTemplates.toStdString();
    bool sawVersion2 = false;
    for (const QString& name : templates) {
        SCOPED_TRACE(name.toStdString());
        CProfileDocument profile(config, prompt, &settings);
        ASSERT_TRUE(profile.NewFromTemplate(kTemplates + name));
        EXPECT_TRUE(profile.Path().isEmpty());
        EXPECT_FALSE(profile.IsModified());

        const std::vector<SVersionEntry>& entries = profile.Model().VersionFields().Entries();
        if (profile.Model().CodeplugVersion() == 2) {
            sawVersion2 = true;
            EXPECT_FALSE(entries.empty());
        }
        const QString target = SaveFolder() + QLatin1Char('/') + name;
        ASSERT_TRUE(profile.Save(target));
        const CXmlDocument saved = SavedDocument(target);
        CXPathContext working(profile.Model().WorkingDocument());
        CXPathContext file(saved);
        for (const SVersionEntry& entry : entries) {
            const QString query =
                entry.kind == SVersionEntry::EKind::Field
                    ? QStringLiteral("//dfns:%1[@%2]").arg(entry.node, entry.name)
                    : QStringLiteral("//dfns:%1/dfns:%2").arg(entry.node, entry.name);
            SCOPED_TRACE(query.toStdString());
            // Put on while open (where the element exists), so its absence in the file is the
            // taking off and not a field that was never there.
            if (!working.SelectNodes(QStringLiteral("//dfns:%1").arg(entry.node)).empty()) {
                EXPECT_FALSE(working.SelectNodes(query).empty());
            }
            EXPECT_TRUE(file.SelectNodes(query).empty());
        }
    }
    EXPECT_TRUE(sawVersion2) << "no template of codeplug version 2";
    EXPECT_TRUE(prompt.ids.isEmpty()) << prompt.texts.join(u'\n').toStdString();
}

// --- What saving does to the profile ---

struct SSubRegionRow {
    const char* name;
    bool throughWorkingDocument;  // otherwise the file holds it
};

class ProfileDocumentSubRegion : public ProfileDocument,
                                 public ::testing::WithParamInterface<SSubRegionRow> {};

TEST_P(ProfileDocumentSubRegion, SavedFileHoldsZero) {
    const SSubRegionRow& row = GetParam();
    QByteArray text = ReadAll(kGood + QStringLiteral("handheld_uhf.xml"));
    if (!row.throughWorkingDocument) {
        text = Edited("handheld_uhf.xml", {{"sub_region=\"0\"", "sub_region=\"3\""}});
    }
    ASSERT_TRUE(document.Open(Input("sub.xml", text)));
    if (row.throughWorkingDocument) {
        CDataItem factory =
            document.Model().RootItem().GetChildByName(QStringLiteral("factory_setting"));
        xml::SetAttribute(CProfileNodeAccess::Xml(factory.Node()), "sub_region",
                          QStringLiteral("3"));
    }
    ASSERT_EQ(FactoryAttribute(document.Model().WorkingDocument(), "sub_region"),
              QStringLiteral("3"));
    ASSERT_TRUE(document.Save(Saved("sub.vk4")));
    EXPECT_EQ(FactoryAttribute(SavedDocument(Saved("sub.vk4")), "sub_region"), QStringLiteral("0"));
}

INSTANTIATE_TEST_SUITE_P(Rows, ProfileDocumentSubRegion,
                         ::testing::Values(SSubRegionRow{"file", false},
                                           SSubRegionRow{"working", true}),
                         [](const auto& row) { return std::string(row.param.name); });

// Channels 2 and 4 transmit elsewhere than they receive.
QByteArray SplitTransmit(const char* disableRepeater) {
    return Edited(
        "handheld_uhf.xml",
        {{"disable_repeater_feature=\"0\"",
          QByteArray("disable_repeater_feature=\"") + disableRepeater + "\""},
         {"rx_freq_ndx=\"1\" rx_code=\"7\" tx_freq_ndx=\"1\" tx_code=\"7\" rx_bw=\"0\" tx_bw=\"0\"",
          "rx_freq_ndx=\"1\" rx_code=\"7\" tx_freq_ndx=\"4\" tx_code=\"9\" rx_bw=\"0\" "
          "tx_bw=\"1\""},
         {"rx_freq_ndx=\"3\" rx_code=\"21\" tx_freq_ndx=\"3\" tx_code=\"21\"",
          "rx_freq_ndx=\"3\" rx_code=\"21\" tx_freq_ndx=\"12\" tx_code=\"0\""}});
}

TEST_F(ProfileDocument, WithoutRepeaterFeatureEveryChannelTransmitsAsItReceives) {
    ASSERT_TRUE(document.Open(Input("split.xml", SplitTransmit("1"))));
    ASSERT_NE(ChannelAttribute(document.Model().WorkingDocument(), "tx_code"),
              ChannelAttribute(document.Model().WorkingDocument(), "rx_code"));
    ASSERT_TRUE(document.Save(Saved("split.vk4")));
    const CXmlDocument saved = SavedDocument(Saved("split.vk4"));
    EXPECT_EQ(ChannelAttribute(saved, "tx_code"), ChannelAttribute(saved, "rx_code"));
    EXPECT_EQ(ChannelAttribute(saved, "tx_freq_ndx"), ChannelAttribute(saved, "rx_freq_ndx"));
    EXPECT_EQ(ChannelAttribute(saved, "tx_bw"), ChannelAttribute(saved, "rx_bw"));
    EXPECT_EQ(ChannelAttribute(saved, "rx_code").size(), 16);
}

TEST_F(ProfileDocument, WithRepeaterFeatureTransmitSettingsAreKept) {
    ASSERT_TRUE(document.Open(Input("split.xml", SplitTransmit("0"))));
    ASSERT_TRUE(document.Save(Saved("split.vk4")));
    const CXmlDocument saved = SavedDocument(Saved("split.vk4"));
    const CXmlDocument original =
        CXmlDocument::Parse(SplitTransmit("0"), QStringLiteral("split.xml"));
    for (const char* name : {"tx_code", "tx_freq_ndx", "tx_bw"}) {
        EXPECT_EQ(ChannelAttribute(saved, name), ChannelAttribute(original, name)) << name;
    }
}

// --- The frequency range check ---

struct SRangeRow {
    const char* name;
    const char* frequency;  // replaces channel 1's frequency 464500000
    bool inRange;
};

class ProfileDocumentRange : public ProfileDocument,
                             public ::testing::WithParamInterface<SRangeRow> {};

TEST_P(ProfileDocumentRange, OutOfRangeShows511AndWritesNothing) {
    const SRangeRow& row = GetParam();
    const QByteArray text = Edited(
        "handheld_uhf.xml", {{"freq=\"464500000\"", QByteArray("freq=\"") + row.frequency + "\""}});
    const QString existing = SavedOnce("existing.vk4", ReadAll(kGood + "handheld_uhf.xml"));
    const QByteArray before = ReadAll(existing);

    ASSERT_TRUE(document.Open(Input("range.xml", text)));
    EXPECT_EQ(document.Save(existing), row.inRange);
    EXPECT_EQ(document.Save(Saved("new.vk4")), row.inRange);
    if (row.inRange) {
        EXPECT_TRUE(prompt.ids.isEmpty());
        EXPECT_TRUE(QFile::exists(Saved("new.vk4")));
    } else {
        EXPECT_EQ(prompt.ids, (QList<int>{511, 511}));
        EXPECT_EQ(ReadAll(existing), before);
        EXPECT_EQ(FolderEntries(SaveFolder()), QStringList{QStringLiteral("existing.vk4")});
        EXPECT_EQ(document.Path(), Input("range.xml", text));
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, ProfileDocumentRange,
                         ::testing::Values(SRangeRow{"below", "449999999", false},
                                           SRangeRow{"above", "470000001", false},
                                           SRangeRow{"otherBand", "151820000", false},
                                           SRangeRow{"lowEdge", "450000000", true},
                                           SRangeRow{"highEdge", "470000000", true}),
                         [](const auto& row) { return std::string(row.param.name); });

// --- Interrupted and failed saves ---

// An open profile in the saved form at Saved("profile.vk4"), with an edit pending.
class ProfileDocumentFailure : public ProfileDocument {
protected:
    void SetUp() override {
        path = SavedOnce("profile.vk4", ReadAll(kGood + QStringLiteral("handheld_uhf.xml")));
        before = ReadAll(path);
        ASSERT_TRUE(document.Open(path));
        document.SetModified(true);
    }

    // The file, the folder and the document as they were before the failed save.
    void ExpectNothingLost() const {
        EXPECT_EQ(ReadAll(path), before);
        EXPECT_EQ(FolderEntries(SaveFolder()), QStringList{QStringLiteral("profile.vk4")});
        EXPECT_EQ(document.Path(), path);
        EXPECT_EQ(document.Title(), QStringLiteral("profile.vk4"));
        EXPECT_TRUE(document.IsModified());
    }

    QString path;
    QByteArray before;
};

const std::vector<ESaveStep> kAllSteps = {ESaveStep::CommitEdits,    ESaveStep::RangeCheck,
                                          ESaveStep::CopyToTransmit, ESaveStep::ResetSubRegion,
                                          ESaveStep::TakeOff,        ESaveStep::Recover,
                                          ESaveStep::Verify,         ESaveStep::Scramble,
                                          ESaveStep::WriteTemporary, ESaveStep::Replace};

TEST_F(ProfileDocumentFailure, ASavePassesEveryStepInOrder) {
    std::vector<ESaveStep> passed;
    document.SetSaveStepHook([&passed](ESaveStep step) { passed.push_back(step); });
    ASSERT_TRUE(document.Save(path));
    // The page commits once before the check and once more when writing.
    std::vector<ESaveStep> expected = kAllSteps;
    expected.insert(expected.begin() + 2, ESaveStep::CommitEdits);
    EXPECT_EQ(passed, expected);
}

class ProfileDocumentInterrupted : public ProfileDocumentFailure,
                                   public ::testing::WithParamInterface<ESaveStep> {};

TEST_P(ProfileDocumentInterrupted, LeavesTheFileAndTheDocumentAsTheyWere) {
    const ESaveStep at = GetParam();
    document.SetSaveStepHook([at](ESaveStep step) {
        if (step == at) {
            throw CVeskCPSException(model_msg::kFailedToSave, QStringLiteral("test"),
                                    QStringLiteral("interrupted"));
        }
    });
    EXPECT_FALSE(document.Save(path));
    EXPECT_EQ(prompt.ids, QList<int>{model_msg::kFailedToSave});
    ExpectNothingLost();

    // Save As to a new name fails the same way and creates nothing.
    EXPECT_FALSE(document.Save(Saved("other.vk4")));
    ExpectNothingLost();

    // The profile is still whole: without the fault it saves as it was.
    document.SetSaveStepHook({});
    ASSERT_TRUE(document.Save(path));
    EXPECT_EQ(ReadAll(path), before);
    EXPECT_FALSE(document.IsModified());
}

std::string StepName(const ::testing::TestParamInfo<ESaveStep>& step) {
    static const char* const kNames[] = {
        "CommitEdits", "RangeCheck", "CopyToTransmit", "ResetSubRegion", "TakeOff",
        "Recover",     "Verify",     "Scramble",       "WriteTemporary", "Replace"};
    return kNames[static_cast<int>(step.param)];
}

INSTANTIATE_TEST_SUITE_P(EverySaveStep, ProfileDocumentInterrupted, ::testing::ValuesIn(kAllSteps),
                         StepName);

class ProfileDocumentRefusedCommit : public ProfileDocumentFailure,
                                     public ::testing::WithParamInterface<int> {};

// The page may refuse at the first commit (before the check) or at the second (when writing).
TEST_P(ProfileDocumentRefusedCommit, StopsWithoutAMessage) {
    const int refusedCall = GetParam();
    int calls = 0;
    document.SetCommitEdits([&calls, refusedCall] { return ++calls != refusedCall; });
    EXPECT_FALSE(document.Save(path));
    EXPECT_EQ(calls, refusedCall);
    EXPECT_TRUE(prompt.ids.isEmpty());
    ExpectNothingLost();
}

INSTANTIATE_TEST_SUITE_P(Rows, ProfileDocumentRefusedCommit, ::testing::Values(1, 2));

// Changes made behind the rules' back (values a page or a tool wrote unchecked), each of which
// would make the saved file one that opening refuses.
struct SUnadmittedRow {
    const char* name;
    std::vector<std::tuple<const char*, const char*, const char*>> edits;  // node, attribute, value
    const char* reason;  // what the message must say after "Failed to save."
};

void PrintTo(const SUnadmittedRow& row, std::ostream* os) {
    *os << row.name;
}

class ProfileDocumentUnadmitted : public ProfileDocumentFailure,
                                  public ::testing::WithParamInterface<SUnadmittedRow> {};

TEST_P(ProfileDocumentUnadmitted, SaveIsRefusedWithTheReasonAndWritesNothing) {
    CXPathContext xpath(document.Model().WorkingDocument());
    for (const auto& [node, attribute, value] : GetParam().edits) {
        xmlNodePtr element = xpath.SelectSingle(QString::fromUtf8(node));
        ASSERT_NE(element, nullptr) << node;
        xml::SetAttribute(element, attribute, QString::fromUtf8(value));
    }
    EXPECT_FALSE(document.Save(path));
    EXPECT_FALSE(document.Save(Saved("other.vk4")));
    EXPECT_EQ(prompt.ids, (QList<int>{model_msg::kFailedToSave, model_msg::kFailedToSave}));
    EXPECT_TRUE(prompt.texts.value(0).contains(QString::fromUtf8(GetParam().reason)))
        << prompt.texts.value(0).toStdString();
    ExpectNothingLost();
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ProfileDocumentUnadmitted,
    ::testing::Values(SUnadmittedRow{"beyondTheSchemaLimit",
                                     {{"//dfns:channel[4]", "rx_code", "256"}},
                                     "attribute 'rx_code'"},
                      SUnadmittedRow{"notTheSchemaForm",
                                     {{"//dfns:factory_setting", "model", "CUD4160"}},
                                     "attribute 'model'"},
                      SUnadmittedRow{"unusedMursFrequency",
                                     {{"//dfns:channel[16]", "rx_freq_ndx", "0"},
                                      {"//dfns:channel[16]", "tx_freq_ndx", "0"},
                                      {"//dfns:frequency[16]", "freq", "154570000"}},
                                     "Invalid Frequency."}),
    [](const auto& row) { return std::string(row.param.name); });

TEST_F(ProfileDocumentFailure, WriteBeyondTheFileSizeLimitFailsWithTheSystemsReason) {
    bool saved = true;
    {
        const CFileSizeLimit limit(64, true);
        saved = document.Save(path);
    }
    EXPECT_FALSE(saved);
    EXPECT_EQ(prompt.ids, QList<int>{kSystemMessage});
    EXPECT_TRUE(prompt.texts.value(0).contains(path)) << prompt.texts.value(0).toStdString();
    EXPECT_EQ(QFileInfo(path).size(), before.size());
    ExpectNothingLost();
}

TEST_F(ProfileDocumentFailure, ProcessKilledWhileWritingLeavesTheOldFile) {
    const pid_t child = fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
        // Exceeding the limit with the default action kills the process in the middle of the
        // write, as a power cut or a crash would.
        const CFileSizeLimit limit(64, false);
        const bool result = document.Save(path);
        _exit(result ? 10 : 11);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status)) << "child exited with " << WEXITSTATUS(status);
    EXPECT_EQ(WTERMSIG(status), SIGXFSZ);
    EXPECT_EQ(ReadAll(path), before);
    CProfileDocument reopened(config, prompt, &settings);
    EXPECT_TRUE(reopened.Open(path));
}

TEST_F(ProfileDocument, SaveIntoAMissingFolderFailsAndCreatesNothing) {
    ASSERT_TRUE(document.Open(kGood + QStringLiteral("handheld_uhf.xml")));
    const QString missing = SaveFolder() + QStringLiteral("/missing");
    EXPECT_FALSE(document.Save(missing + QStringLiteral("/profile.vk4")));
    ASSERT_EQ(prompt.ids, QList<int>{kSystemMessage});
    EXPECT_TRUE(prompt.texts.value(0).contains(QStringLiteral("/missing/profile.vk4")));
    EXPECT_FALSE(QFileInfo::exists(missing));
    EXPECT_TRUE(FolderEntries(SaveFolder()).isEmpty());
    EXPECT_EQ(document.Path(), kGood + QStringLiteral("handheld_uhf.xml"));
}

// --- RecoverXML ---

struct SRecoverRow {
    const char* name;
    const char* text;
    const char* expected;  // the re-serialised text; null when it must not parse
};

class ProfileDocumentRecover : public ::testing::TestWithParam<SRecoverRow> {};

TEST_P(ProfileDocumentRecover, ReserialisesOrRaises135) {
    const SRecoverRow& row = GetParam();
    std::optional<QByteArray> result;
    std::optional<CVeskCPSException> error;
    try {
        result = CProfileDocument::RecoverXML(QByteArray(row.text));
    } catch (const CVeskCPSException& raised) {
        error = raised;
    }
    if (row.expected) {
        ASSERT_TRUE(result.has_value()) << (error ? error->what() : "");
        EXPECT_EQ(*result, QByteArray(row.expected));
        // Once re-serialised, the text stays as it is.
        EXPECT_EQ(CProfileDocument::RecoverXML(*result), *result);
    } else {
        ASSERT_TRUE(error.has_value());
        EXPECT_EQ(error->MessageId(), model_msg::kInvalidProfile);
        EXPECT_TRUE(error->Text().contains(QStringLiteral("Desc: "))) << error->what();
        // The parser's reason follows on the same line.
        EXPECT_FALSE(error->Text()
                         .mid(error->Text().indexOf(QStringLiteral("Desc: ")) + 6)
                         .section(QLatin1Char('\n'), 0, 0)
                         .trimmed()
                         .isEmpty())
            << error->what();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ProfileDocumentRecover,
    ::testing::Values(
        SRecoverRow{"quotes", "<p xmlns='urn:corvane:vesk-kel:profile:1'><a x='1' y=\"2\"></a></p>",
                    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                    "<p xmlns=\"urn:corvane:vesk-kel:profile:1\"><a x=\"1\" y=\"2\"/></p>\n"},
        SRecoverRow{"declaration", "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<p>\n\t<a/>\n</p>",
                    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<p>\n\t<a/>\n</p>\n"},
        SRecoverRow{"escapes", "<p a=\"&lt;&amp;&#x41;\">&gt;</p>",
                    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<p a=\"&lt;&amp;A\">&gt;</p>\n"},
        SRecoverRow{"empty", "", nullptr}, SRecoverRow{"unclosed", "<p><a></p>", nullptr},
        SRecoverRow{"words", "not a profile", nullptr},
        SRecoverRow{"twoRoots", "<p/><q/>", nullptr},
        SRecoverRow{"unboundPrefix", "<x:p/>", nullptr},
        SRecoverRow{"entity", "<!DOCTYPE p [<!ENTITY e \"x\">]><p>&e;</p>", nullptr}),
    [](const auto& row) { return std::string(row.param.name); });

// --- Opening and creating ---

TEST_F(ProfileDocument, MissingFileShows135) {
    const QString path = hives.Path(QStringLiteral("nosuch.vk4"));
    EXPECT_FALSE(document.Open(path));
    EXPECT_EQ(prompt.ids, QList<int>{model_msg::kInvalidProfile});
    EXPECT_TRUE(prompt.texts.value(0).contains(path));
    EXPECT_TRUE(document.Path().isEmpty());
}

class ProfileDocumentInvalid : public ProfileDocument,
                               public ::testing::WithParamInterface<QString> {};

TEST_P(ProfileDocumentInvalid, Shows135WithTheLine) {
    EXPECT_FALSE(document.Open(kBad + GetParam()));
    ASSERT_EQ(prompt.ids, QList<int>{model_msg::kInvalidProfile});
    EXPECT_TRUE(prompt.texts.value(0).contains(QStringLiteral("Line:")))
        << prompt.texts.value(0).toStdString();
    EXPECT_TRUE(document.Path().isEmpty());
    EXPECT_FALSE(document.IsModified());
}

INSTANTIATE_TEST_SUITE_P(EveryBadSample, ProfileDocumentInvalid,
                         ::testing::ValuesIn(FilesIn(kBad, QStringLiteral("*.xml"))),
                         [](const auto& row) {
                             return QFileInfo(row.param).completeBaseName().toStdString();
                         });

struct SFormRow {
    const char* name;
    QByteArray (*bytes)(const QByteArray& utf8);
};

class ProfileDocumentForm : public ProfileDocument,
                            public ::testing::WithParamInterface<SFormRow> {};

TEST_P(ProfileDocumentForm, OpensWithPathTitleAndNoModification) {
    const SFormRow& row = GetParam();
    const QByteArray text = Edited("handheld_uhf.xml", {{"HELLO",
                                                         "\xC2\xA5"
                                                         "EN"}});
    const QString path = Input("form.vk4", row.bytes(text));
    ASSERT_TRUE(document.Open(path)) << prompt.texts.join(u'\n').toStdString();
    EXPECT_EQ(document.Path(), path);
    EXPECT_EQ(document.Title(), QStringLiteral("form.vk4"));
    EXPECT_FALSE(document.IsModified());
    EXPECT_EQ(RootValue(document, "factory_setting", "model").toString(),
              QStringLiteral("CUD41600"));
    EXPECT_EQ(RootValue(document, "setting", "powerupString").toString(), u"\u00A5EN");
    EXPECT_EQ(ChannelAttribute(document.Model().WorkingDocument(), "name").size(), 16);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ProfileDocumentForm,
    ::testing::Values(
        SFormRow{"plainUtf8", [](const QByteArray& text) { return text; }},
        SFormRow{"plainUtf8WithMark",
                 [](const QByteArray& text) { return QByteArray("\xEF\xBB\xBF") + text; }},
        SFormRow{"plainUtf16", [](const QByteArray& text) { return Utf16WithMark(text); }},
        SFormRow{
            "scrambled",
            [](const QByteArray& text) { return profile_file::Encode(QString::fromUtf8(text)); }}),
    [](const auto& row) { return std::string(row.param.name); });

struct SCountRow {
    const char* name;
    const char* count;  // max_valid_freqs of a profile with 16 frequencies
};

void PrintTo(const SCountRow& row, std::ostream* os) {
    *os << row.name;
}

class ProfileDocumentFrequencyCount : public ProfileDocument,
                                      public ::testing::WithParamInterface<SCountRow> {};

TEST_P(ProfileDocumentFrequencyCount, DisagreeingCountIsToldCorrectedAndLeftToSave) {
    const QByteArray text = Edited(
        "handheld_uhf.xml",
        {{"max_valid_freqs=\"16\"", QByteArray("max_valid_freqs=\"") + GetParam().count + "\""}});
    const QString input = Input("count.xml", text);
    ASSERT_TRUE(document.Open(input));
    EXPECT_EQ(prompt.ids, QList<int>{538});
    EXPECT_TRUE(prompt.texts.value(0).contains(QStringLiteral("16")))
        << prompt.texts.value(0).toStdString();
    EXPECT_TRUE(document.IsModified());
    EXPECT_EQ(document.Path(), input);
    EXPECT_EQ(RootValue(document, "limit", "max_valid_freqs").toInt(), 16);
    ASSERT_TRUE(document.Save(Saved("count.vk4")));
    const CXmlDocument saved = SavedDocument(Saved("count.vk4"));
    CXPathContext xpath(saved);
    EXPECT_EQ(xml::Attribute(xpath.SelectSingle(QStringLiteral("//dfns:limit")), "max_valid_freqs"),
              QStringLiteral("16"));
}

INSTANTIATE_TEST_SUITE_P(Rows, ProfileDocumentFrequencyCount,
                         ::testing::Values(SCountRow{"fewer", "12"}, SCountRow{"more", "17"},
                                           SCountRow{"none", "0"}),
                         [](const auto& row) { return std::string(row.param.name); });

TEST_F(ProfileDocument, NewFromTemplateHasNoPathAndIsUnmodified) {
    ASSERT_TRUE(document.Open(kGood + QStringLiteral("minimal.xml")));
    ASSERT_TRUE(document.NewFromTemplate(Install(QStringLiteral("profiletemplate/CUD41600.vk4"))));
    EXPECT_TRUE(document.Path().isEmpty());
    EXPECT_FALSE(document.IsModified());
    EXPECT_EQ(RootValue(document, "factory_setting", "model").toString(),
              QStringLiteral("CUD41600"));
    EXPECT_TRUE(prompt.ids.isEmpty());
}

TEST_F(ProfileDocument, NewFromImageTextNamesUnnamedChannelsAndIsModified) {
    const QByteArray text = Edited(
        "handheld_uhf.xml", {{"name=\"CH 02\"", "name=\"\""}, {"name=\"CH 09\"", "name=\"\""}});
    ASSERT_TRUE(document.NewFromImageText(text));
    EXPECT_TRUE(document.Path().isEmpty());
    EXPECT_TRUE(document.IsModified());
    const QStringList names = ChannelAttribute(document.Model().WorkingDocument(), "name");
    ASSERT_EQ(names.size(), 16);
    EXPECT_FALSE(names[1].isEmpty());
    EXPECT_FALSE(names[8].isEmpty());
    EXPECT_EQ(names[0], QStringLiteral("CH 01"));
    EXPECT_EQ(names[2], QStringLiteral("CH 03"));
    EXPECT_EQ(std::set<QString>(names.begin(), names.end()).size(), 16u)
        << names.join(u',').toStdString();
    EXPECT_TRUE(prompt.ids.isEmpty());
}

TEST_F(ProfileDocument, NewFromImageTextThatIsNoXmlShows135) {
    EXPECT_FALSE(document.NewFromImageText(QByteArray("<VeskProfile")));
    EXPECT_EQ(prompt.ids, QList<int>{model_msg::kInvalidProfile});
    EXPECT_FALSE(document.IsModified());
}

TEST_F(ProfileDocument, SecondOpenReplacesTheProfile) {
    ASSERT_TRUE(document.Open(kGood + QStringLiteral("handheld_uhf.xml")));
    ASSERT_TRUE(document.Open(kGood + QStringLiteral("minimal.xml")));
    EXPECT_EQ(document.Path(), kGood + QStringLiteral("minimal.xml"));
    EXPECT_EQ(document.Title(), QStringLiteral("minimal.xml"));
    EXPECT_EQ(RootValue(document, "factory_setting", "model").toString(),
              QStringLiteral("CUR40200"));
    EXPECT_EQ(ChannelAttribute(document.Model().WorkingDocument(), "name").size(), 1);
    ASSERT_TRUE(document.Save(Saved("second.vk4")));
    EXPECT_EQ(SavedDocument(Saved("second.vk4")).ToXml(),
              CXmlDocument::Parse(ReadAll(kGood + QStringLiteral("minimal.xml")),
                                  QStringLiteral("minimal.xml"))
                  .ToXml());
    EXPECT_TRUE(prompt.ids.isEmpty());
}

// --- The proposed file name ---

struct SNameRow {
    const char* name;
    const char* title;
    bool withPath;
    const char* expected;  // ignored with a path: the path is proposed
};

class ProfileDocumentProposedName : public ProfileDocument,
                                    public ::testing::WithParamInterface<SNameRow> {};

TEST_P(ProfileDocumentProposedName, IsThePathOrTheTitleCut) {
    const SNameRow& row = GetParam();
    if (row.withPath) {
        ASSERT_TRUE(document.Open(kGood + QStringLiteral("minimal.xml")));
    }
    document.SetTitle(QString::fromUtf8(row.title));
    EXPECT_EQ(document.ProposedFileName(), row.withPath ? kGood + QStringLiteral("minimal.xml")
                                                        : QString::fromUtf8(row.expected));
}

INSTANTIATE_TEST_SUITE_P(Rows, ProfileDocumentProposedName,
                         ::testing::Values(SNameRow{"path", "A:B", true, nullptr},
                                           SNameRow{"plain", "Profile1", false, "Profile1.vk4"},
                                           SNameRow{"colon", "A:B", false, "A.vk4"},
                                           SNameRow{"slash", "A/B", false, "A.vk4"},
                                           SNameRow{"backslash", "A\\B", false, "A.vk4"},
                                           SNameRow{"firstCutWins", "A\\B:C/D", false, "A.vk4"},
                                           SNameRow{"leadingCut", ":B", false, ".vk4"}),
                         [](const auto& row) { return std::string(row.param.name); });

}  // namespace
