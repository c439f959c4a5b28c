// The checks between identification and transfer, run on the installation's own templates and
// settings documents with radio information records made by hand. Every row states the whole
// conversation: the messages in order, the password questions, and where the operation was handed
// back ("cleanup"), so that a message shown before the hand-back, a second hand-back or a missing
// one fails the row.

#include "radio/radio_checks.h"

#include <memory>
#include <optional>
#include <vector>

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <libxml/tree.h>

#include "model/profile_document.h"
#include "model/settings_documents.h"
#include "platform/settings/configuration.h"
#include "platform/string_table.h"
#include "platform/xml/xml_document.h"
#include "platform/xml/xml_node.h"
#include "platform/xml/xpath.h"
#include "qt_print.h"
#include "radio/document_image.h"
#include "radio/remembered_password.h"
#include "radio/virtual_cp.h"
#include "recording_prompt.h"
#include "source_files.h"
#include "temp_hives.h"

#include <gtest/gtest.h>

namespace {

using radio_checks::CheckRadioForRead;
using radio_checks::CheckRadioForWrite;
using radio_checks::SCheckInputs;

const QString kCleanup = QStringLiteral("cleanup");
const QString kPassword = QStringLiteral("password");

// A radio as identification would describe it. The model is written as the radio reports it:
// three letters, then five digits kept as their values.
struct SRadio {
    const char* model = "CUD41600";
    char codeplugPhase = 'R';
    int codeplugVersion = 3;
    const char* password = "";
    int cloneClass = 2;
    int codeCapacity = 213;
    const char* firmware = "R17";
};

CRadioInfo MakeRadio(const SRadio& radio) {
    CRadioInfo info;
    const QByteArray model(radio.model);
    for (int i = 0; i < 8 && i < model.size(); ++i) {
        info.SetByte(i, i < 3 ? quint8(model.at(i)) : quint8(model.at(i) - '0'));
    }
    const QByteArray firmware(radio.firmware);
    for (int i = 0; i < 3; ++i) {
        info.SetByte(vcp::RadioInfoField("firmware_phase").offset + i, quint8(firmware.at(i)));
    }
    info.SetByte(vcp::RadioInfoField("codeplug_phase").offset, quint8(radio.codeplugPhase));
    info.SetNumber(vcp::RadioInfoField("codeplug_version"), quint32(radio.codeplugVersion));
    info.SetRaw(vcp::RadioInfoField("password"), QByteArray(radio.password));
    info.SetNumber(vcp::RadioInfoField("serial_clone_compatibility"), quint32(radio.cloneClass));
    info.SetNumber(vcp::RadioInfoField("code_capacity"), quint32(radio.codeCapacity));
    return info;
}

// The person at the screen, writing what they were shown into the conversation.
class CLoggingPrompt : public CRecordingPrompt {
public:
    CLoggingPrompt(PromptAnswer answer, QStringList& log) : CRecordingPrompt(answer), m_log(log) {}
    PromptAnswer Ask(int messageId, const QString& text, PromptStyle style) override {
        m_log << QString::number(messageId);
        return CRecordingPrompt::Ask(messageId, text, style);
    }

private:
    QStringList& m_log;
};

// Answers the password dialog from a list; an empty entry, or the end of the list, is Cancel.
class CScriptedPasswordPrompt : public radio_checks::IPasswordPrompt {
public:
    CScriptedPasswordPrompt(QList<std::optional<QString>> answers, QStringList& log)
        : m_answers(std::move(answers)), m_log(log) {}
    std::optional<QString> AskPassword(const QString& text) override {
        m_log << kPassword;
        texts << text;
        return m_answers.isEmpty() ? std::nullopt : m_answers.takeFirst();
    }
    QStringList texts;

private:
    QList<std::optional<QString>> m_answers;
    QStringList& m_log;
};

PromptStyle StyleOf(int messageId) {
    switch (messageId) {
        case radio_checks::kMsgTierReduction:
            return PromptStyle::YesNo;
        case radio_checks::kMsgLowerRadioCodeplug:
            return PromptStyle::Warning;
        default:
            return PromptStyle::Error;
    }
}

// Every message is the string table's own text in the style its meaning asks for; 403 may carry
// 504 after it and is checked by its own test.
void ExpectOwnTextsAndStyles(const CRecordingPrompt& prompt) {
    for (qsizetype i = 0; i < prompt.ids.size(); ++i) {
        const int id = prompt.ids[i];
        EXPECT_EQ(prompt.styles[i], StyleOf(id)) << "message " << id;
        if (id != radio_checks::kMsgRegionNotSupported) {
            EXPECT_EQ(prompt.texts[i], CStringTable::Instance().Text(id)) << "message " << id;
        }
    }
}

// Names the differing offsets, which a plain comparison of 2145 bytes would not.
void ExpectSameImage(const CVirtualCP& actual, const CVirtualCP& expected) {
    QStringList differences;
    for (int i = 0; i < vcp::kImageSize; ++i) {
        if (actual.Byte(i) != expected.Byte(i)) {
            differences << QStringLiteral("0x%1: %2, expected %3")
                               .arg(i, 3, 16, QLatin1Char('0'))
                               .arg(int(actual.Byte(i)))
                               .arg(int(expected.Byte(i)));
        }
    }
    EXPECT_TRUE(differences.isEmpty()) << differences.join(QLatin1Char('\n')).toStdString();
}

// What every write copies from the radio after the checks.
void ApplyRadioIdentity(CVirtualCP& expected, const CRadioInfo& radio, quint32 maxCodes) {
    for (int i = 0; i < 3; ++i) {
        expected.SetByte(vcp::ImageField("firmware_phase").offset + i,
                         radio.Byte(vcp::RadioInfoField("firmware_phase").offset + i));
    }
    expected.SetNumber(vcp::ImageField("maxCodes"), maxCodes);
    expected.SetRaw(vcp::ImageField("model"), radio.Raw(vcp::RadioInfoField("model")));
}

// An installation after start-up: rule script, schema, templates, and the Region and
// UpDownGradeSetting documents loaded.
class RadioChecks : public ::testing::Test {
protected:
    RadioChecks() {
        hives.WriteMachine("[General]\nInstallPath=" + Install(QString()).toUtf8() + "\n");
        for (const char* name :
             {"profiletemplate/DataProfile.vbs", "profiletemplate/DataProfile.xsd",
              "lib/Region.stv", "lib/UpDownGradeSetting.stv"}) {
            const QString relative = QString::fromUtf8(name);
            CTempHives::Write(Install(relative), ReadSource(QStringLiteral("install/") + relative));
        }
        EXPECT_TRUE(settings.LoadProfileDocuments(config, documentPrompt));
    }

    QString Install(const QString& relative) const {
        return hives.Path(QStringLiteral("install/") + relative);
    }

    std::unique_ptr<CProfileDocument> OpenTemplate(const char* name) {
        auto document = std::make_unique<CProfileDocument>(config, documentPrompt, &settings);
        EXPECT_TRUE(document->Open(QStringLiteral(VESK_SOURCE_DIR "/install/profiletemplate/") +
                                   QString::fromLatin1(name) + QStringLiteral(".vk4")))
            << name;
        return document;
    }

    // The image the profile converts into for `radio`, before any check touched it.
    CVirtualCP Converted(const char* templateName, const CRadioInfo& radio) {
        CVirtualCP image;
        GetVirtualCPData(*OpenTemplate(templateName), image, radio);
        return image;
    }

    SCheckInputs Inputs(const CRadioInfo& radio, IUserPrompt& prompt,
                        radio_checks::IPasswordPrompt& passwords, CRememberedPassword& remembered,
                        QStringList& log) {
        return SCheckInputs{radio,     settings,   prompt,
                            passwords, remembered, [&log] { log << kCleanup; }};
    }

    struct SWrite {
        bool goesOn = false;
        QStringList log;  // messages, prompts and cleanup calls in order
        CVirtualCP image;
    };
    // The write checks of `document` for `radio`, every question answered `answer`, without a
    // password.
    SWrite Write(const CRadioInfo& radio, CProfileDocument& document, PromptAnswer answer) {
        SWrite write;
        CLoggingPrompt prompt(answer, write.log);
        CScriptedPasswordPrompt passwords({}, write.log);
        CRememberedPassword remembered;
        write.goesOn = CheckRadioForWrite(Inputs(radio, prompt, passwords, remembered, write.log),
                                          &document, write.image);
        return write;
    }

    CTempHives hives;
    CConfiguration config = hives.Config();
    CRecordingPrompt documentPrompt;
    CSettingsDocuments settings;
};

struct SReadRow {
    const char* name;
    SRadio radio;
    QList<std::optional<QString>> answers;
    const char* remembered;
    bool goesOn;
    QStringList log;
    const char* rememberedAfter;
};

TEST_F(RadioChecks, ReadRows) {
    const auto p = [](const char* text) {
        return std::optional<QString>(QString::fromLatin1(text));
    };
    const std::vector<SReadRow> rows = {
        {"fits", {}, {}, "", true, {}, ""},
        {"repeater region", {.model = "CUR41673"}, {}, "", true, {}, ""},
        {"region of another edition", {.model = "CUR40802"}, {}, "", false, {"cleanup", "403"}, ""},
        {"region of no edition", {.model = "CUR40809"}, {}, "", false, {"cleanup", "403"}, ""},
        {"newer radio codeplug", {.codeplugVersion = 4}, {}, "", false, {"cleanup", "402"}, ""},
        {"development codeplug of any version",
         {.codeplugPhase = 'D', .codeplugVersion = 9},
         {},
         "",
         true,
         {},
         ""},
        {"region before version",
         {.model = "CUR40802", .codeplugVersion = 4},
         {},
         "",
         false,
         {"cleanup", "403"},
         ""},
        {"version before password",
         {.codeplugVersion = 4, .password = "1234"},
         {},
         "",
         false,
         {"cleanup", "402"},
         ""},
        {"right password", {.password = "1234"}, {p("1234")}, "", true, {"password"}, "1234"},
        {"wrong, then right",
         {.password = "1234"},
         {p("4321"), p("1234")},
         "",
         true,
         {"password", "279", "password"},
         "1234"},
        {"wrong, then cancel",
         {.password = "1234"},
         {p("4321"), std::nullopt},
         "0042",
         false,
         {"password", "279", "password", "cleanup"},
         "0042"},
        {"cancel", {.password = "1234"}, {std::nullopt}, "", false, {"password", "cleanup"}, ""},
        {"remembered", {.password = "1234"}, {}, "1234", true, {}, "1234"},
        {"a different radio's password remembered",
         {.password = "1234"},
         {p("1234")},
         "5555",
         true,
         {"password"},
         "1234"},
        {"short password ends at its zero byte",
         {.password = "12"},
         {p("12")},
         "",
         true,
         {"password"},
         "12"},
    };
    for (const SReadRow& row : rows) {
        SCOPED_TRACE(row.name);
        QStringList log;
        CLoggingPrompt prompt(PromptAnswer::Ok, log);
        CScriptedPasswordPrompt passwords(row.answers, log);
        CRememberedPassword remembered;
        remembered.Set(QString::fromLatin1(row.remembered));
        const CRadioInfo radio = MakeRadio(row.radio);
        EXPECT_EQ(CheckRadioForRead(Inputs(radio, prompt, passwords, remembered, log)), row.goesOn);
        EXPECT_EQ(log, row.log);
        EXPECT_EQ(remembered.Get(), QString::fromLatin1(row.rememberedAfter));
        ExpectOwnTextsAndStyles(prompt);
        for (const QString& text : passwords.texts) {
            EXPECT_EQ(text, QStringLiteral("Please enter the password:"));
        }
    }
}

TEST_F(RadioChecks, RegionMessageNamesTheEditionForTheRadiosRegion) {
    const struct {
        const char* model;
        const char* text;
    } rows[] = {
        {"CUR40802",
         "The CPS does not support this radio's region. Please use the \"ZN420 CPS Europe\"."},
        {"CUR40871",
         "The CPS does not support this radio's region. Please use the \"ZN420 CPS Europe\"."},
        {"CUR40808",
         "The CPS does not support this radio's region. Please use the \"ZN420 CPS China\"."},
        {"CUR40809", "The CPS does not support this radio's region."},
        {"CUR40877", "The CPS does not support this radio's region."},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.model);
        QStringList log;
        CLoggingPrompt prompt(PromptAnswer::Ok, log);
        CScriptedPasswordPrompt passwords({}, log);
        CRememberedPassword remembered;
        const CRadioInfo radio = MakeRadio({.model = row.model});
        EXPECT_FALSE(CheckRadioForRead(Inputs(radio, prompt, passwords, remembered, log)));
        ASSERT_EQ(prompt.texts.size(), 1);
        EXPECT_EQ(prompt.texts[0], QString::fromUtf8(row.text));
        EXPECT_EQ(prompt.ids[0], 403);
    }
}

struct SWriteRow {
    const char* name;
    const char* profile;  // a template, or null for no profile window
    SRadio radio;
    PromptAnswer answer;  // to 319
    QList<std::optional<QString>> answers;
    bool goesOn;
    QStringList log;
    // The profile's codeplug_version text instead of the template's.
    const char* profileCodeplugVersion = nullptr;
};

TEST_F(RadioChecks, WriteRows) {
    const auto p = [](const char* text) {
        return std::optional<QString>(QString::fromLatin1(text));
    };
    const PromptAnswer yes = PromptAnswer::Yes;
    const PromptAnswer no = PromptAnswer::No;
    const std::vector<SWriteRow> rows = {
        {"fits", "CUD41600", {}, no, {}, true, {}},
        {"no profile window", nullptr, {}, yes, {}, false, {"cleanup"}},
        {"region before the profile window",
         nullptr,
         {.model = "CUD41602"},
         yes,
         {},
         false,
         {"cleanup", "462"}},
        {"unsupported model",
         "CUD41600",
         {.model = "CUD41602"},
         yes,
         {},
         false,
         {"cleanup", "462"}},
        {"newer radio codeplug",
         "CUD41600",
         {.codeplugVersion = 4},
         yes,
         {},
         false,
         {"cleanup", "402"}},
        {"other region of this installation",
         "CUD41600",
         {.model = "CUD41601"},
         yes,
         {},
         false,
         {"cleanup", "440"}},
        {"clone class", "CUD41600", {.cloneClass = 3}, yes, {}, false, {"cleanup", "396"}},
        {"band", "CUD41600", {.model = "CVD51600"}, yes, {}, false, {"cleanup", "269"}},
        {"clone class before band",
         "CUD41600",
         {.model = "CVD51600", .cloneClass = 3},
         yes,
         {},
         false,
         {"cleanup", "396"}},
        {"model before clone class",
         "CUD41600",
         {.model = "CVD51601", .cloneClass = 3},
         yes,
         {},
         false,
         {"cleanup", "440"}},
        {"code above 122 in use",
         "CUD41600",
         {.codeCapacity = 122},
         yes,
         {},
         false,
         {"cleanup", "483"}},
        {"code above 213 in use",
         "CUD41604",
         {.model = "CUD41604", .codeCapacity = 213},
         yes,
         {},
         false,
         {"cleanup", "483"}},
        {"codes within 122",
         "CVR50873",
         {.model = "CVR50873", .cloneClass = 3, .codeCapacity = 122},
         yes,
         {},
         true,
         {}},
        {"band before codes",
         "CUD41600",
         {.model = "CVD41600", .codeCapacity = 122},
         yes,
         {},
         false,
         {"cleanup", "269"}},
        {"fewer channels, yes", "CUD41600", {.model = "CUD40800"}, yes, {}, true, {"319"}},
        {"fewer channels, no",
         "CUD41600",
         {.model = "CUD40800"},
         no,
         {},
         false,
         {"319", "cleanup"}},
        {"display profile to a radio without display, yes",
         "CUD41600",
         {.model = "CUR41600"},
         yes,
         {},
         true,
         {"319"}},
        {"display profile to a radio without display, no",
         "CUD41600",
         {.model = "CUR41600"},
         no,
         {},
         false,
         {"319", "cleanup"}},
        {"both losses asked once", "CUD41600", {.model = "CUR40800"}, yes, {}, true, {"319"}},
        {"both losses declined once",
         "CUD41600",
         {.model = "CUR40800"},
         no,
         {},
         false,
         {"319", "cleanup"}},
        {"loss before password",
         "CUD41600",
         {.model = "CUR40800", .password = "1234"},
         no,
         {p("1234")},
         false,
         {"319", "cleanup"}},
        {"password", "CUD41600", {.password = "1234"}, yes, {p("1234")}, true, {"password"}},
        {"wrong password, then right",
         "CUD41600",
         {.password = "1234"},
         yes,
         {p("0000"), p("1234")},
         true,
         {"password", "279", "password"}},
        {"password cancelled",
         "CUD41600",
         {.password = "1234"},
         yes,
         {std::nullopt},
         false,
         {"password", "cleanup"}},
        {"older radio codeplug goes on",
         "CUD41600",
         {.codeplugVersion = 2},
         yes,
         {},
         true,
         {"530"}},
        {"password before the older codeplug",
         "CUD41600",
         {.codeplugVersion = 2, .password = "1234"},
         yes,
         {p("1234")},
         true,
         {"password", "530"}},
        {"older codeplug after a cancelled password",
         "CUD41600",
         {.codeplugVersion = 2, .password = "1234"},
         yes,
         {},
         false,
         {"password", "cleanup"}},
        // The profile's version text "10" is the radio's byte 0x10, as the image carries it.
        {"older radio codeplug in the radio's own numbering",
         "CUD41600",
         {.codeplugPhase = 'D', .codeplugVersion = 0x0C},
         yes,
         {},
         true,
         {"530"},
         "10"},
        {"same codeplug in the radio's own numbering",
         "CUD41600",
         {.codeplugPhase = 'D', .codeplugVersion = 0x10},
         yes,
         {},
         true,
         {},
         "10"},
    };
    for (const SWriteRow& row : rows) {
        SCOPED_TRACE(row.name);
        QStringList log;
        CLoggingPrompt prompt(row.answer, log);
        CScriptedPasswordPrompt passwords(row.answers, log);
        CRememberedPassword remembered;
        const CRadioInfo radio = MakeRadio(row.radio);
        std::unique_ptr<CProfileDocument> document;
        if (row.profile != nullptr) {
            document = OpenTemplate(row.profile);
        }
        if (row.profileCodeplugVersion != nullptr) {
            xml::SetAttribute(CXPathContext(document->Model().WorkingDocument())
                                  .SelectSingle(QStringLiteral("//dfns:factory_setting")),
                              "codeplug_version", QString::fromLatin1(row.profileCodeplugVersion));
        }
        CVirtualCP image;
        image.SetByte(0x100, 0x5A);
        EXPECT_EQ(CheckRadioForWrite(Inputs(radio, prompt, passwords, remembered, log),
                                     document.get(), image),
                  row.goesOn);
        EXPECT_EQ(log, row.log);
        ExpectOwnTextsAndStyles(prompt);
        EXPECT_TRUE(documentPrompt.ids.isEmpty())
            << documentPrompt.texts.join(QLatin1Char('\n')).toStdString();
        if (row.goesOn) {
            // Whatever the image held before is gone; it is the profile's now, with the radio's
            // own model.
            EXPECT_EQ(image.Raw(vcp::ImageField("model")), radio.Raw(vcp::RadioInfoField("model")));
        }
    }
}

// A fitting write: the profile's image with the radio's firmware, model and the smaller of the
// two code capacities, and nothing else changed.
TEST_F(RadioChecks, WriteCopiesTheRadiosIdentity) {
    const struct {
        SRadio radio;
        quint32 maxCodes;
    } rows[] = {
        {{.model = "CUD51600", .codeCapacity = 200, .firmware = "R19"}, 200},
        {{.model = "CUD42000", .codeCapacity = 219, .firmware = "D7A"}, 213},
        {{.model = "CUD41600", .codeCapacity = 213, .firmware = "R16"}, 213},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.radio.model);
        const CRadioInfo radio = MakeRadio(row.radio);
        auto document = OpenTemplate("CUD41600");
        auto [goesOn, log, image] = Write(radio, *document, PromptAnswer::No);
        ASSERT_TRUE(goesOn);
        EXPECT_TRUE(log.isEmpty()) << log.join(QLatin1Char(',')).toStdString();

        CVirtualCP expected = Converted("CUD41600", radio);
        EXPECT_NE(expected.Raw(vcp::ImageField("firmware_revision")),
                  radio.Raw(vcp::RadioInfoField("firmware_revision")))
            << "the row shows no firmware copy";
        ApplyRadioIdentity(expected, radio, row.maxCodes);
        ExpectSameImage(image, expected);
    }
}

// The 16-channel profile whose second preset is channel 16 written to an 8-channel radio.
TEST_F(RadioChecks, FewerChannelsClearsTheChannelsTheRadioLacks) {
    const CRadioInfo radio = MakeRadio({.model = "CUD40804", .codeCapacity = 219});
    auto document = OpenTemplate("CUD41604");
    auto [goesOn, log, image] = Write(radio, *document, PromptAnswer::Yes);
    ASSERT_TRUE(goesOn);
    EXPECT_EQ(log, QStringList{QStringLiteral("319")});

    CVirtualCP expected = Converted("CUD41604", radio);
    ASSERT_EQ(expected.Number(vcp::ImageField("numberChannels")), 16u);
    ASSERT_EQ(expected.Number(vcp::ImageField("preset_1")), 0u);
    ASSERT_EQ(expected.Number(vcp::ImageField("preset_2")), 15u);
    for (int offset = CVirtualCP::ChannelOffset(8); offset < CVirtualCP::ChannelOffset(16);
         ++offset) {
        expected.SetByte(offset, 0);
    }
    expected.SetNumber(vcp::ImageField("numberChannels"), 8);
    expected.SetNumber(vcp::ImageField("preset_2"), 1);
    ApplyRadioIdentity(expected, radio, 219);
    ExpectSameImage(image, expected);
}

// A model whose digits claim more channels than the image has records: the records past the
// radio's tier are cleared up to the last one the image holds, and nothing beyond it is touched.
TEST_F(RadioChecks, TierAboveTheImagesRecordsClearsToTheLastRecord) {
    auto document = OpenTemplate("CUD41604");
    xml::SetAttribute(CXPathContext(document->Model().WorkingDocument())
                          .SelectSingle(QStringLiteral("//dfns:factory_setting")),
                      "model", QStringLiteral("CUD43204"));
    const CRadioInfo radio = MakeRadio({.model = "CUD41604", .codeCapacity = 219});
    auto [goesOn, log, image] = Write(radio, *document, PromptAnswer::Yes);
    ASSERT_TRUE(goesOn);
    EXPECT_EQ(log, QStringList{QStringLiteral("319")});
    for (int offset = CVirtualCP::ChannelOffset(16);
         offset < CVirtualCP::ChannelOffset(vcp::kChannelCount - 1) + vcp::kChannelSize; ++offset) {
        EXPECT_EQ(image.Byte(offset), 0) << offset;
    }
    EXPECT_EQ(image.Byte(vcp::ImageField("KTcode124").offset),
              Converted("CUD41604", radio).Byte(vcp::ImageField("KTcode124").offset));
    EXPECT_EQ(image.Number(vcp::ImageField("numberChannels")), 16u);
}

// Presets the smaller radio has stay where they were; each one it lacks has its own fallback.
TEST_F(RadioChecks, PresetsFallBackOnlyWhenTheRadioLacksThem) {
    const struct {
        const char* radioModel;
        quint32 first;
        quint32 second;
        quint32 firstAfter;
        quint32 secondAfter;
    } rows[] = {
        {"CUD40804", 3, 12, 3, 1}, {"CUD40804", 9, 7, 0, 7}, {"CUD40804", 8, 8, 0, 1},
        {"CUD40204", 1, 0, 1, 0},  {"CUD40204", 2, 2, 0, 1},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(::testing::Message()
                     << row.radioModel << " " << row.first << "/" << row.second);
        auto document = OpenTemplate("CUD41604");
        CXPathContext xpath(document->Model().WorkingDocument());
        xml::SetAttribute(xpath.SelectSingle(QStringLiteral("//dfns:preset[1]")), "channel",
                          QString::number(row.first));
        xml::SetAttribute(xpath.SelectSingle(QStringLiteral("//dfns:preset[2]")), "channel",
                          QString::number(row.second));
        const CRadioInfo radio = MakeRadio({.model = row.radioModel, .codeCapacity = 219});
        auto [goesOn, log, image] = Write(radio, *document, PromptAnswer::Yes);
        ASSERT_TRUE(goesOn);
        EXPECT_EQ(image.Number(vcp::ImageField("preset_1")), row.firstAfter);
        EXPECT_EQ(image.Number(vcp::ImageField("preset_2")), row.secondAfter);
    }
}

// Codes the radio does not know become code 1 in every channel record, in use or not, even when
// the profile's code capacity check did not apply.
TEST_F(RadioChecks, CodesAboveTheRadiosCapacityBecomeCodeOne) {
    const CRadioInfo radio = MakeRadio({.codeCapacity = 100});
    auto document = OpenTemplate("CUD41600");
    auto [goesOn, log, image] = Write(radio, *document, PromptAnswer::No);
    ASSERT_TRUE(goesOn);
    EXPECT_TRUE(log.isEmpty()) << log.join(QLatin1Char(',')).toStdString();

    CVirtualCP expected = Converted("CUD41600", radio);
    for (const int channel : {11, 12, 13}) {
        for (const vcp::SField& code :
             {vcp::ChannelField("rx_code"), vcp::ChannelField("tx_code")}) {
            ASSERT_GT(expected.ChannelNumber(channel, code), 100u) << channel;
            expected.SetChannelNumber(channel, code, 1);
        }
    }
    ApplyRadioIdentity(expected, radio, 100);
    ExpectSameImage(image, expected);
}

// A display profile to a radio without display: the three buttons the display model places on
// its face are cleared, the side buttons stay.
TEST_F(RadioChecks, RadioWithoutDisplayLosesTheFaceButtons) {
    for (const char* radioModel : {"CUR41600", "CUR40800"}) {
        SCOPED_TRACE(radioModel);
        const CRadioInfo radio = MakeRadio({.model = radioModel});
        auto document = OpenTemplate("CUD41600");
        auto [goesOn, log, image] = Write(radio, *document, PromptAnswer::Yes);
        ASSERT_TRUE(goesOn);
        EXPECT_EQ(log, QStringList{QStringLiteral("319")});

        const CVirtualCP converted = Converted("CUD41600", radio);
        for (const int slot : {5, 8, 9}) {
            ASSERT_NE(converted.ButtonSlot(slot), 0) << slot;
            EXPECT_EQ(image.ButtonSlot(slot), 0) << slot;
        }
        for (const int slot : {6, 11}) {
            ASSERT_NE(converted.ButtonSlot(slot), 0) << slot;
            EXPECT_EQ(image.ButtonSlot(slot), converted.ButtonSlot(slot)) << slot;
        }
    }
}

// A password proven once is not asked for again, by a read or by a write to the same radio.
TEST_F(RadioChecks, ProvenPasswordIsNotAskedAgain) {
    const CRadioInfo radio = MakeRadio({.password = "7391"});
    QStringList log;
    CLoggingPrompt prompt(PromptAnswer::Yes, log);
    CScriptedPasswordPrompt passwords({QStringLiteral("7391")}, log);
    CRememberedPassword remembered;
    EXPECT_TRUE(CheckRadioForRead(Inputs(radio, prompt, passwords, remembered, log)));
    EXPECT_TRUE(CheckRadioForRead(Inputs(radio, prompt, passwords, remembered, log)));
    auto document = OpenTemplate("CUD41600");
    CVirtualCP image;
    EXPECT_TRUE(CheckRadioForWrite(Inputs(radio, prompt, passwords, remembered, log),
                                   document.get(), image));
    EXPECT_EQ(log, QStringList{kPassword});
    EXPECT_EQ(remembered.Get(), QStringLiteral("7391"));
}

// A fixed password from the command line is tried once: a wrong one is reported and the
// operation handed back instead of asking for ever.
TEST_F(RadioChecks, FixedPasswordIsTriedOnce) {
    const struct {
        std::optional<QString> given;
        bool goesOn;
        QStringList log;
        int asked;
    } rows[] = {
        {QStringLiteral("7391"), true, {}, 1},
        {QStringLiteral("7390"), false, {"279", "cleanup"}, 2},
        {std::nullopt, false, {"cleanup"}, 1},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.given.value_or(QStringLiteral("(none)")).toStdString());
        const CRadioInfo radio = MakeRadio({.password = "7391"});
        QStringList log;
        CLoggingPrompt prompt(PromptAnswer::Yes, log);
        radio_checks::CFixedPasswordPrompt passwords(row.given);
        CRememberedPassword remembered;
        EXPECT_EQ(CheckRadioForRead(Inputs(radio, prompt, passwords, remembered, log)), row.goesOn);
        EXPECT_EQ(log, row.log);
        EXPECT_EQ(passwords.TimesAsked(), row.asked);
    }
}

// A profile the checks cannot read is refused with the model's message, after the hand-back.
TEST_F(RadioChecks, UnreadableProfileIsRefusedCleanly) {
    auto document = OpenTemplate("CUD41600");
    xmlNodePtr factory = CXPathContext(document->Model().WorkingDocument())
                             .SelectSingle(QStringLiteral("//dfns:factory_setting"));
    ASSERT_NE(factory, nullptr);
    xmlUnsetProp(factory, reinterpret_cast<const xmlChar*>("model"));

    const CRadioInfo radio = MakeRadio({});
    auto [goesOn, log, image] = Write(radio, *document, PromptAnswer::Yes);
    EXPECT_FALSE(goesOn);
    EXPECT_EQ(log, (QStringList{kCleanup, QStringLiteral("133")}));
}

}  // namespace
