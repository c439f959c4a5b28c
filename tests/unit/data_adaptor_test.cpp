#include "radio/data_adaptor.h"

#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include <QByteArray>
#include <QDir>
#include <QSet>
#include <QString>
#include <QStringList>

#include "platform/vesk_cps_exception.h"
#include "platform/xml/namespaces.h"
#include "platform/xml/xml_document.h"
#include "platform/xml/xml_node.h"
#include "platform/xml/xpath.h"
#include "qt_print.h"
#include "radio/virtual_cp.h"
#include "recording_prompt.h"
#include "source_files.h"

#include <gtest/gtest.h>

namespace {

using vcp::SField;

const QString kImages = QStringLiteral(VESK_SOURCE_DIR "/tests/data/images/");

QByteArray GoldenFile(const QString& name, const char* file) {
    return ReadAll(kImages + name + QLatin1Char('/') + QLatin1String(file));
}

CVirtualCP GoldenImage(const QString& name) {
    CVirtualCP image;
    EXPECT_TRUE(image.Assign(GoldenFile(name, "image.bin"))) << name.toStdString();
    return image;
}

CRadioInfo RadioOfVersion(quint8 version) {
    CRadioInfo radio;
    radio.SetNumber(vcp::RadioInfoField("codeplug_version"), version);
    return radio;
}

// The full 19-channel, 99-frequency profile with one change made through the XML library.
using Edit = std::function<void(CXPathContext&)>;
QByteArray EditedProfile(const Edit& edit) {
    CXmlDocument document = CXmlDocument::Parse(
        GoldenFile(QStringLiteral("full_19x99"), "profile.xml"), QStringLiteral("full_19x99"));
    CXPathContext xpath(document);
    edit(xpath);
    return document.ToXml();
}

Edit SetAttribute(const char* element, const char* attribute, const char* value) {
    return [=](CXPathContext& xpath) {
        for (xmlNodePtr node : xpath.SelectNodes(QLatin1String(element))) {
            xml::SetAttribute(node, attribute, QString::fromUtf8(value));
        }
    };
}

CVirtualCP Converted(const QByteArray& profile, quint8 radioVersion = 3) {
    CVirtualCP image;
    EXPECT_EQ(CDataAdaptor::XML2VirtualCP(profile, image, RadioOfVersion(radioVersion)), 1);
    return image;
}

// ---- Profile to image: conversion rules by kind ----

struct SStoreRow {
    const char* name;
    const char* element;  // every node this selects gets the attribute
    const char* attribute;
    const char* text;
    int offset;  // where the stored bytes are
    QByteArray stored;
};

void PrintTo(const SStoreRow& row, std::ostream* os) {
    *os << row.name;
}

class StoreRule : public testing::TestWithParam<SStoreRow> {};

TEST_P(StoreRule, StoresTheBytes) {
    const SStoreRow& row = GetParam();
    // A background of 0x33 shows which bytes, and which halves of a byte, the conversion keeps.
    CVirtualCP image;
    image.Bytes().fill(0x33);
    ASSERT_EQ(CDataAdaptor::XML2VirtualCP(
                  EditedProfile(SetAttribute(row.element, row.attribute, row.text)), image,
                  RadioOfVersion(3)),
              1);
    EXPECT_EQ(image.ToByteArray().mid(row.offset, row.stored.size()).toHex(' '),
              row.stored.toHex(' '));
}

const char* const kFactory = "//dfns:factory_setting";
const char* const kLimit = "//dfns:limit";
const char* const kSetting = "//dfns:setting";
const char* const kFirstChannel = "//dfns:channel[1]";
const char* const kFirstFrequency = "//dfns:frequency[1]";

INSTANTIATE_TEST_SUITE_P(
    DataAdaptor, StoreRule,
    testing::Values(
        // Versions are hexadecimal on the way in.
        SStoreRow{"codeplug_version_17", kFactory, "codeplug_version", "17", 0x004, "\x17"},
        SStoreRow{"codeplug_version_9", kFactory, "codeplug_version", "9", 0x004, "\x09"},
        SStoreRow{"codeplug_dev_version_1f", kFactory, "codeplug_dev_version", "1f", 0x005, "\x1f"},
        SStoreRow{"codeplug_version_0x10", kFactory, "codeplug_version", "0x10", 0x004, "\x10"},
        // Firmware digits: a decimal number written as one upper-case hexadecimal digit.
        SStoreRow{"firmware_version_10", kFactory, "firmware_version", "10", 0x001, "A"},
        SStoreRow{"firmware_version_15", kFactory, "firmware_version", "15", 0x001, "F"},
        SStoreRow{"firmware_revision_16", kFactory, "firmware_revision", "16", 0x002, "1"},
        SStoreRow{"firmware_revision_minus_1", kFactory, "firmware_revision", "-1", 0x002, "F"},
        SStoreRow{"firmware_phase", kFactory, "firmware_phase", "Dev", 0x000, "D"},
        SStoreRow{"codeplug_phase_empty", kFactory, "codeplug_phase", "", 0x003,
                  QByteArray(1, '\0')},
        SStoreRow{"codeplug_phase_1252", kFactory, "codeplug_phase", "\xc3\xa9", 0x003, "\xe9"},
        // Model: three letters, then five digit values.
        SStoreRow{"model_digits", kFactory, "model", "XYZ12345", 0x006,
                  QByteArray("XYZ\x01\x02\x03\x04\x05", 8)},
        SStoreRow{"model_letter_among_digits", kFactory, "model", "XYZ12X45", 0x006,
                  QByteArray("XYZ\x01\x02\x00\x04\x05", 8)},
        SStoreRow{"model_short", kFactory, "model", "XY", 0x006,
                  QByteArray(8, '\0').replace(0, 2, "XY")},
        // Flags are exactly "1".
        SStoreRow{"flag_1", kSetting, "disableLED", "1", 0x04C, "\x01"},
        SStoreRow{"flag_true", kSetting, "disableLED", "true", 0x04C, QByteArray(1, '\0')},
        SStoreRow{"flag_01", kSetting, "disableLED", "01", 0x04C, QByteArray(1, '\0')},
        SStoreRow{"flag_blank_1", kSetting, "disableLED", " 1", 0x04C, QByteArray(1, '\0')},
        // Decimal numbers: leading digits, cut to the width.
        SStoreRow{"number_cut_to_byte", kSetting, "timeoutTimer", "300", 0x04F, "\x2c"},
        SStoreRow{"number_leading_digits", kSetting, "timeoutTimer", "12abc", 0x04F, "\x0c"},
        SStoreRow{"number_no_digits", kSetting, "timeoutTimer", "abc", 0x04F, QByteArray(1, '\0')},
        SStoreRow{"number_leading_blank", kSetting, "timeoutTimer", " 7", 0x04F, "\x07"},
        SStoreRow{"number_32_bits", kLimit, "end_freq", "470000000", 0x024,
                  QByteArray::fromHex("80a1031c")},
        SStoreRow{"number_overflow_is_all_ones", kLimit, "start_freq", "99999999999", 0x020,
                  QByteArray::fromHex("ffffffff")},
        SStoreRow{"tone_word", kSetting, "KTcode219", "70000", 0x22C, QByteArray::fromHex("7011")},
        SStoreRow{"clone_compatibility", kFactory, "serial_clone_compatibility", "258", 0x860,
                  "\x02"},
        // Texts: zeroed, then the code-page bytes cut at the width.
        SStoreRow{"name_of_nine", kFirstChannel, "name", "ABCDEFGHI", 0x074 + 13, "ABCDEFGH"},
        SStoreRow{"name_short", kFirstChannel, "name", "AB", 0x074 + 13,
                  QByteArray("AB\0\0\0\0\0\0", 8)},
        SStoreRow{"name_lost_character", kFirstChannel, "name", "\xe2\x98\x83X", 0x074 + 13,
                  QByteArray("?X\0\0\0\0\0\0", 8)},
        SStoreRow{"serial_short", kFactory, "serial", "471", 0x00E,
                  QByteArray("471\0\0\0\0\0\0\0", 10)},
        SStoreRow{"password_empty", kSetting, "password", "", 0x048, QByteArray(4, '\0')},
        SStoreRow{"powerup_euro", kSetting, "powerupString",
                  "\xe2\x82\xac"
                  "5",
                  0x064,
                  QByteArray("\x80"
                             "5\0\0\0\0\0\0",
                             8)},
        // Button slot 6 is the low half of 0x05A; the high half (slot 7, radio-owned) stays.
        SStoreRow{"button_low_bits", kSetting, "side1_but", "23", 0x05A, "\x37"},
        // Slot 11 is the high half of 0x05C; slot 10 (low) stays.
        SStoreRow{"button_high_half", kSetting, "side2_but", "2", 0x05C, "\x23"},
        SStoreRow{"scan_any_number", kFirstChannel, "in_scanlist", "2", 0x05F, "\x25"},
        SStoreRow{"scan_zero", kFirstChannel, "in_scanlist", "0", 0x05F, "\x24"},
        SStoreRow{"frequency_bytes", kFirstFrequency, "bandwidth", "258", 0x230 + 4, "\x02"},
        SStoreRow{"preset_cut", "//dfns:preset[1]", "channel", "257", 0x071, "\x01"},
        // The radio gets as many frequency records as the table has (99), whatever the count of
        // the limits says.
        SStoreRow{"frequency_count_below_table", kLimit, "max_valid_freqs", "12", 0x01D, "\x63"},
        SStoreRow{"frequency_count_zero", kLimit, "max_valid_freqs", "0", 0x01D, "\x63"}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(DataAdaptor, FillsTheFullGoldenImageWithTheHandCheckedValues) {
    // Values checked by hand against the tables (see also the golden test below):
    // 0x01C maxChannels 19, 0x03C maxCodes 219 = db 00 00 00, channel 1's name at
    // 0x074 + 22 + 13 = 0x097 "A&B<C>", and frequency record 0 at 0x230 for 450,000,000 Hz over
    // base 400: n = 428, integer part (428 - 144) mod 256 = 28, F = 600,000 = 9 << 16 | 10,176.
    const CVirtualCP image = Converted(GoldenFile(QStringLiteral("full_19x99"), "profile.xml"));
    const QByteArray bytes = image.ToByteArray();
    EXPECT_EQ(bytes.mid(0x01C, 1).toHex(), "13");
    EXPECT_EQ(bytes.mid(0x03C, 4).toHex(), "db000000");
    EXPECT_EQ(bytes.mid(0x097, 8), QByteArray("A&B<C>\0\0", 8));
    EXPECT_EQ(bytes.mid(0x230, 16).toHex(' '), "07 1c 00 00 00 04 00 00 09 00 00 00 c0 27 00 00");
    // Button bytes 0x059..0x05C of image.bin read b9 cf 79 df: slot 5 (0x059 high) 11 =
    // upper_right_but, slot 6 (0x05A low) 15 = side1_but, slots 8/9 (0x05B) 9 and 7 =
    // lower_left_but/lower_right_but, slot 11 (0x05C high) 13 = side2_but; the other halves are
    // radio-owned and come back as zero here. Scan byte 0x05F = 0x24: channels 2 and 5.
    EXPECT_EQ(bytes.mid(0x059, 4).toHex(' '), "b0 0f 79 d0");
    EXPECT_EQ(bytes.mid(0x05F, 1).toHex(), "24");
}

TEST(DataAdaptor, RadioBeforeVersion3ClearsChannelDisableAndTalkaroundScan) {
    const QByteArray profile = EditedProfile([](CXPathContext& xpath) {
        for (xmlNodePtr node : xpath.SelectNodes(QStringLiteral("//dfns:channel"))) {
            xml::SetAttribute(node, "disable_channel", QStringLiteral("1"));
            xml::SetAttribute(node, "talkaround_scan", QStringLiteral("1"));
        }
    });
    for (const int version : {0, 1, 2, 3, 4}) {
        const CVirtualCP image = Converted(profile, quint8(version));
        for (int n = 0; n < vcp::kChannelCount; ++n) {
            const quint32 expected = version < 3 ? 0 : 1;
            EXPECT_EQ(image.ChannelNumber(n, vcp::ChannelField("disable_channel")), expected)
                << "version " << version << " channel " << n;
            EXPECT_EQ(image.ChannelNumber(n, vcp::ChannelField("talkaround_scan")), expected);
        }
    }
}

struct SCodesRow {
    const char* maxCodes;
    int firstSixRead;
    int secondSixRead;
};

void PrintTo(const SCodesRow& row, std::ostream* os) {
    *os << "maxCodes " << row.maxCodes;
}

class ToneCodesIn : public testing::TestWithParam<SCodesRow> {};

TEST_P(ToneCodesIn, ReadOnlyWhenTheCodeListReachesThem) {
    const QByteArray profile = EditedProfile(SetAttribute(kLimit, "maxCodes", GetParam().maxCodes));
    CVirtualCP image;
    image.ClearForRead();
    ASSERT_EQ(CDataAdaptor::XML2VirtualCP(profile, image, RadioOfVersion(3)), 1);
    int first = 0;
    int second = 0;
    for (int i = 0; i < vcp::kToneCount; ++i) {
        const quint32 word = image.Number(
            *vcp::FindImageField(QStringLiteral("KTcode%1").arg(i < 6 ? 124 + i : 214 + i - 6)));
        (i < 6 ? first : second) += word != vcp::kToneUnset ? 1 : 0;
    }
    EXPECT_EQ(first, GetParam().firstSixRead);
    EXPECT_EQ(second, GetParam().secondSixRead);
}

INSTANTIATE_TEST_SUITE_P(DataAdaptor, ToneCodesIn,
                         testing::Values(SCodesRow{"122", 0, 0}, SCodesRow{"123", 6, 0},
                                         SCodesRow{"213", 6, 0}, SCodesRow{"214", 6, 6},
                                         SCodesRow{"219", 6, 6}, SCodesRow{"0", 0, 0}),
                         [](const auto& row) {
                             return "maxCodes_" + std::string(row.param.maxCodes);
                         });

TEST(DataAdaptor, TwentiethChannelAndHundredthFrequencyAreIgnored) {
    const QByteArray profile = EditedProfile([](CXPathContext& xpath) {
        xmlNodePtr channel = xpath.SelectSingle(QStringLiteral("//dfns:channel[19]"));
        xmlNodePtr extra = xmlAddNextSibling(channel, xmlCopyNode(channel, 1));
        xml::SetAttribute(extra, "name", QStringLiteral("TWENTY"));
        xml::SetAttribute(extra, "rx_code", QStringLiteral("99"));
        xmlNodePtr frequency = xpath.SelectSingle(QStringLiteral("//dfns:frequency[99]"));
        xmlNodePtr extraFrequency = xmlAddNextSibling(frequency, xmlCopyNode(frequency, 1));
        xml::SetAttribute(extraFrequency, "bandwidth", QStringLiteral("3"));
        xmlNodePtr preset = xpath.SelectSingle(QStringLiteral("//dfns:preset[2]"));
        xml::SetAttribute(xmlAddNextSibling(preset, xmlCopyNode(preset, 1)), "channel",
                          QStringLiteral("9"));
    });
    const QByteArray golden = GoldenFile(QStringLiteral("full_19x99"), "profile.xml");
    const CVirtualCP plain = Converted(golden);
    const CVirtualCP extended = Converted(profile);
    EXPECT_EQ(extended.ToByteArray(), plain.ToByteArray());
}

TEST(DataAdaptor, FewerRecordsLeaveTheRestAsTheyWere) {
    const QString templatePath = QStringLiteral(VESK_SOURCE_DIR
                                                "/tests/data/images/"
                                                "template_CUD41604/profile.xml");
    CVirtualCP image;
    image.Bytes().fill(0x5A);
    ASSERT_EQ(CDataAdaptor::XML2VirtualCP(ReadAll(templatePath), image, RadioOfVersion(3)), 1);
    // That template has 16 channels and 12 frequencies.
    EXPECT_EQ(image.ChannelRaw(16, vcp::ChannelField("name")), QByteArray(8, 0x5A));
    EXPECT_EQ(image.ChannelNumber(18, vcp::ChannelField("rx_code")), 0x5Au);
    EXPECT_NE(image.ChannelNumber(15, vcp::ChannelField("rx_code")), 0x5Au);
    EXPECT_EQ(image.FrequencyNumber(12, vcp::FrequencyField("power_level")), 0x5Au);
    EXPECT_EQ(image.FrequencyNumber(11, vcp::FrequencyField("reference_divider")), 7u);
    // So do the scan-list bits of the channels the profile lacks (16..18, all in 0x061).
    EXPECT_EQ(image.Byte(0x061), 0x5A);
}

struct SFailureRow {
    const char* name;
    QByteArray profile;
};

void PrintTo(const SFailureRow& row, std::ostream* os) {
    *os << row.name;
}

class ToImageFailure : public testing::TestWithParam<SFailureRow> {};

TEST_P(ToImageFailure, RaisesWithTheOperation) {
    CVirtualCP image;
    try {
        CDataAdaptor::XML2VirtualCP(GetParam().profile, image, RadioOfVersion(3));
        ADD_FAILURE() << "no exception";
    } catch (const CVeskCPSException& error) {
        EXPECT_TRUE(error.Text().contains(QStringLiteral("CDataAdaptor::XML2VirtualCP")))
            << error.Text().toStdString();
    }
}

QByteArray WithoutElement(const char* element) {
    return EditedProfile([=](CXPathContext& xpath) {
        xmlNodePtr node = xpath.SelectSingle(QLatin1String(element));
        xmlUnlinkNode(node);
        xmlFreeNode(node);
    });
}

INSTANTIATE_TEST_SUITE_P(
    DataAdaptor, ToImageFailure,
    testing::Values(SFailureRow{"not_xml", "<VeskProfile"}, SFailureRow{"empty", ""},
                    SFailureRow{"other_namespace",
                                "<VeskProfile><factory_setting/><limit/><setting/></VeskProfile>"},
                    SFailureRow{"no_factory_setting", WithoutElement(kFactory)},
                    SFailureRow{"no_limit", WithoutElement(kLimit)},
                    SFailureRow{"no_setting", WithoutElement(kSetting)}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(DataAdaptor, MissingNamedElementIsNamedInTheError) {
    CVirtualCP image;
    try {
        CDataAdaptor::XML2VirtualCP(WithoutElement(kLimit), image, RadioOfVersion(3));
        ADD_FAILURE() << "no exception";
    } catch (const CVeskCPSException& error) {
        EXPECT_TRUE(error.Text().contains(QStringLiteral("//dfns:limit")))
            << error.Text().toStdString();
    }
}

TEST(DataAdaptor, TextAndBytesOverloadsAgree) {
    const QByteArray bytes = GoldenFile(QStringLiteral("template_CUD41604"), "profile.xml");
    CVirtualCP fromText;
    CVirtualCP fromBytes;
    CDataAdaptor::XML2VirtualCP(QString::fromUtf8(bytes), fromText, RadioOfVersion(3));
    CDataAdaptor::XML2VirtualCP(bytes, fromBytes, RadioOfVersion(3));
    EXPECT_EQ(fromText.ToByteArray(), fromBytes.ToByteArray());
}

// ---- Image to profile ----

// An image that converts: the template golden image.
CVirtualCP Base() {
    return GoldenImage(QStringLiteral("template_CUD41604"));
}

QString Attribute(const QString& profile, const QString& xpathExpression, const char* name) {
    const CXmlDocument document = CXmlDocument::ParseText(profile, QStringLiteral("out"));
    CXPathContext xpath(document);
    return xml::Attribute(xpath.SelectSingle(xpathExpression), name)
        .value_or(QStringLiteral("(none)"));
}

QStringList ChannelNames(const QString& profile) {
    const CXmlDocument document = CXmlDocument::ParseText(profile, QStringLiteral("out"));
    CXPathContext xpath(document);
    QStringList names;
    for (xmlNodePtr node : xpath.SelectNodes(QStringLiteral("//dfns:channel"))) {
        names << xml::Attribute(node, "name").value_or(QString());
    }
    return names;
}

struct SRepairRow {
    const char* name;
    QList<QByteArray> names;  // the image's names, channel 0 first
    QStringList repaired;
};

void PrintTo(const SRepairRow& row, std::ostream* os) {
    *os << row.name;
}

class DuplicateRepair : public testing::TestWithParam<SRepairRow> {};

TEST_P(DuplicateRepair, RenamesLaterDuplicates) {
    const SRepairRow& row = GetParam();
    CVirtualCP image = Base();
    image.SetNumber(vcp::ImageField("maxChannels"), quint32(row.names.size()));
    image.SetNumber(vcp::ImageField("numberChannels"), quint32(row.names.size()));
    for (int n = 0; n < row.names.size(); ++n) {
        image.SetChannelRaw(n, vcp::ChannelField("name"), row.names[n]);
    }
    QString out;
    CRecordingPrompt prompt;
    ASSERT_EQ(CDataAdaptor::VirtualCP2XML(image, out, prompt), 1) << prompt.ids.value(0);
    EXPECT_EQ(ChannelNames(out), row.repaired);
    // The image itself carries the repair.
    for (int n = 0; n < row.names.size(); ++n) {
        const QByteArray stored = image.ChannelRaw(n, vcp::ChannelField("name"));
        const qsizetype end = stored.indexOf('\0');
        EXPECT_EQ(QString::fromLatin1(end < 0 ? stored : stored.left(end)).trimmed(),
                  row.repaired[n]);
    }
}

INSTANTIATE_TEST_SUITE_P(
    DataAdaptor, DuplicateRepair,
    testing::Values(
        SRepairRow{"two", {"BASE", "BASE"}, {"BASE", "CHAN 01"}},
        SRepairRow{"three", {"BASE", "BASE", "BASE"}, {"BASE", "CHAN 01", "CHAN 02"}},
        SRepairRow{"existing_chan_01", {"BASE", "CHAN 01", "BASE"}, {"BASE", "CHAN 01", "CHAN 02"}},
        SRepairRow{"one_counter_for_all",
                   {"A", "A", "B", "B", "CHAN 03"},
                   {"A", "CHAN 01", "B", "CHAN 02", "CHAN 03"}},
        SRepairRow{"counter_skips_taken",
                   {"A", "A", "CHAN 01", "CHAN 02", "B", "B"},
                   {"A", "CHAN 03", "CHAN 01", "CHAN 02", "B", "CHAN 04"}},
        SRepairRow{"unnamed_twice", {"", "", "X"}, {"", "CHAN 01", "X"}},
        SRepairRow{"blanks_differ_from_empty", {"        ", ""}, {"", ""}},
        SRepairRow{"case_matters", {"base", "BASE"}, {"base", "BASE"}}),
    [](const auto& row) { return std::string(row.param.name); });

struct SRepairNameRow {
    int k;
    QByteArray name;
};

void PrintTo(const SRepairNameRow& row, std::ostream* os) {
    *os << "k " << row.k;
}

class RepairName : public testing::TestWithParam<SRepairNameRow> {};

TEST_P(RepairName, EightBytesAtMost) {
    EXPECT_EQ(CDataAdaptor::RepairName(GetParam().k), GetParam().name);
}

INSTANTIATE_TEST_SUITE_P(DataAdaptor, RepairName,
                         testing::Values(SRepairNameRow{1, QByteArray("CHAN 01\0", 8)},
                                         SRepairNameRow{9, QByteArray("CHAN 09\0", 8)},
                                         SRepairNameRow{10, QByteArray("CHAN 10\0", 8)},
                                         SRepairNameRow{99, QByteArray("CHAN 99\0", 8)},
                                         SRepairNameRow{100, QByteArray("CHAN 100", 8)},
                                         SRepairNameRow{1234, QByteArray("CHAN 123", 8)}));

struct STextOutRow {
    const char* name;
    QByteArray stored;
    QString written;
};

void PrintTo(const STextOutRow& row, std::ostream* os) {
    *os << row.name;
}

class TextOut : public testing::TestWithParam<STextOutRow> {};

TEST_P(TextOut, ChannelNameByTheTextRule) {
    CVirtualCP image = Base();
    image.SetChannelRaw(0, vcp::ChannelField("name"), GetParam().stored);
    QString out;
    CRecordingPrompt prompt;
    ASSERT_EQ(CDataAdaptor::VirtualCP2XML(image, out, prompt), 1);
    EXPECT_EQ(ChannelNames(out).value(0), GetParam().written);
}

INSTANTIATE_TEST_SUITE_P(
    DataAdaptor, TextOut,
    testing::Values(STextOutRow{"eight_blanks", "        ", QString()},
                    STextOutRow{"trimmed", " \tA B\t ", QStringLiteral("A B")},
                    STextOutRow{"less_than", "A<B", QStringLiteral("A<B")},
                    STextOutRow{"all_escapes", "&<>\"", QStringLiteral("&<>\"")},
                    STextOutRow{"stops_at_zero", QByteArray("AB\0CD", 5), QStringLiteral("AB")},
                    STextOutRow{"full_width", "ABCDEFGH", QStringLiteral("ABCDEFGH")},
                    STextOutRow{"code_page", "\xe9\x80", QStringLiteral("\u00e9\u20ac")}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(DataAdaptor, LessThanIsEscapedInTheText) {
    CVirtualCP image = Base();
    image.SetChannelRaw(0, vcp::ChannelField("name"), "A<B&\"");
    QString out;
    CRecordingPrompt prompt;
    ASSERT_EQ(CDataAdaptor::VirtualCP2XML(image, out, prompt), 1);
    EXPECT_TRUE(out.contains(QStringLiteral("name=\"A&lt;B&amp;&quot;\""))) << out.toStdString();
}

struct SSerialRow {
    const char* name;
    QByteArray serial;
    bool valid;
};

void PrintTo(const SSerialRow& row, std::ostream* os) {
    *os << row.name;
}

class SerialRule : public testing::TestWithParam<SSerialRow> {};

TEST_P(SerialRule, DecidesWhetherTheImageConverts) {
    const SSerialRow& row = GetParam();
    EXPECT_EQ(CDataAdaptor::IsValidSerial(row.serial), row.valid);
    CVirtualCP image = Base();
    image.SetRaw(vcp::ImageField("serial"), row.serial);
    QString out = QStringLiteral("untouched");
    CRecordingPrompt prompt;
    EXPECT_EQ(CDataAdaptor::VirtualCP2XML(image, out, prompt), row.valid ? 1 : 0);
    if (row.valid) {
        EXPECT_TRUE(prompt.ids.isEmpty());
    } else {
        EXPECT_EQ(prompt.ids, QList<int>{CDataAdaptor::kMsgInvalidSerial});
        EXPECT_EQ(out, QStringLiteral("untouched"));
    }
}

INSTANTIATE_TEST_SUITE_P(DataAdaptor, SerialRule,
                         testing::Values(SSerialRow{"digits_letters_digits", "123ABC4567", true},
                                         SSerialRow{"example", "471KFT2P9X", true},
                                         SSerialRow{"o_in_position_4", "123OBC4567", false},
                                         SSerialRow{"i_in_position_4", "123IBC4567", true},
                                         SSerialRow{"i_in_position_5", "123AIC4567", false},
                                         SSerialRow{"o_in_position_6", "123ABO4567", false},
                                         SSerialRow{"o_in_position_7", "123ABCO567", true},
                                         SSerialRow{"o_in_position_8", "123ABC4O67", false},
                                         SSerialRow{"i_in_position_10", "123ABC456I", false},
                                         SSerialRow{"letter_in_position_1", "A23ABC4567", false},
                                         SSerialRow{"digit_in_position_4", "1234BC4567", false},
                                         SSerialRow{"lower_case", "123abc4567", false},
                                         SSerialRow{"short", "123ABC456", false},
                                         SSerialRow{"blank_at_end", "123ABC456 ", false},
                                         SSerialRow{"empty", "", false}),
                         [](const auto& row) { return std::string(row.param.name); });

struct SCodesOutRow {
    quint32 maxCodes;
    bool firstSix;
    bool secondSix;
};

void PrintTo(const SCodesOutRow& row, std::ostream* os) {
    *os << "maxCodes " << row.maxCodes;
}

class ToneCodesOut : public testing::TestWithParam<SCodesOutRow> {};

TEST_P(ToneCodesOut, WrittenOnlyWhenTheCodeListReachesThem) {
    CVirtualCP image = Base();
    image.SetNumber(vcp::ImageField("maxCodes"), GetParam().maxCodes);
    QString out;
    CRecordingPrompt prompt;
    ASSERT_EQ(CDataAdaptor::VirtualCP2XML(image, out, prompt), 1);
    for (int code = 124; code <= 129; ++code) {
        EXPECT_EQ(out.contains(QStringLiteral(" KTcode%1=").arg(code)), GetParam().firstSix);
    }
    for (int code = 214; code <= 219; ++code) {
        EXPECT_EQ(out.contains(QStringLiteral(" KTcode%1=").arg(code)), GetParam().secondSix);
    }
}

INSTANTIATE_TEST_SUITE_P(
    DataAdaptor, ToneCodesOut,
    testing::Values(SCodesOutRow{122, false, false}, SCodesOutRow{123, true, false},
                    SCodesOutRow{200, true, false}, SCodesOutRow{213, true, false},
                    SCodesOutRow{214, true, true}, SCodesOutRow{0xFFFFFFFF, true, true}));

struct SFactoryOutRow {
    const char* name;
    int offset;
    QByteArray bytes;
    const char* attribute;
    QString written;
};

void PrintTo(const SFactoryOutRow& row, std::ostream* os) {
    *os << row.name;
}

class FactoryOut : public testing::TestWithParam<SFactoryOutRow> {};

TEST_P(FactoryOut, WrittenByItsRule) {
    const SFactoryOutRow& row = GetParam();
    CVirtualCP image = Base();
    for (int i = 0; i < row.bytes.size(); ++i) {
        image.SetByte(row.offset + i, quint8(row.bytes[i]));
    }
    QString out;
    CRecordingPrompt prompt;
    ASSERT_EQ(CDataAdaptor::VirtualCP2XML(image, out, prompt), 1);
    EXPECT_EQ(Attribute(out, QStringLiteral("//dfns:factory_setting"), row.attribute), row.written);
}

INSTANTIATE_TEST_SUITE_P(
    DataAdaptor, FactoryOut,
    testing::Values(
        SFactoryOutRow{"hex_digit_upper", 0x001, "C", "firmware_version", QStringLiteral("12")},
        SFactoryOutRow{"hex_digit_lower", 0x002, "f", "firmware_revision", QStringLiteral("15")},
        SFactoryOutRow{"hex_digit_bad", 0x001, "G", "firmware_version",
                       QStringLiteral("4294967295")},
        SFactoryOutRow{"hex_digit_zero_byte", 0x002, QByteArray(1, '\0'), "firmware_revision",
                       QStringLiteral("4294967295")},
        SFactoryOutRow{"version_in_decimal", 0x004, "\x17", "codeplug_version",
                       QStringLiteral("23")},
        SFactoryOutRow{"model_digits", 0x006, QByteArray("XYZ\x01\x02\x03\x04\x05", 8), "model",
                       QStringLiteral("XYZ12345")},
        SFactoryOutRow{"model_letters_end_at_zero", 0x006,
                       QByteArray("X\0Z\x00\x00\x07\x01\x09", 8), "model",
                       QStringLiteral("X00719")},
        SFactoryOutRow{"model_digit_above_9", 0x009, "\x0c", "model", QStringLiteral("CUD121604")},
        SFactoryOutRow{"sub_region_always_0", 0x000, "R", "sub_region", QStringLiteral("0")},
        SFactoryOutRow{"clone_compatibility", 0x860, "\xfe", "serial_clone_compatibility",
                       QStringLiteral("254")}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(DataAdaptor, FrequencyBytesAreMaskedButCompanderIsNot) {
    CVirtualCP image = Base();
    image.SetFrequencyNumber(0, vcp::FrequencyField("bandwidth"), 0xFE);
    image.SetFrequencyNumber(0, vcp::FrequencyField("power_level"), 0x07);
    image.SetFrequencyNumber(0, vcp::FrequencyField("compander_lle_mode"), 0x09);
    QString out;
    CRecordingPrompt prompt;
    ASSERT_EQ(CDataAdaptor::VirtualCP2XML(image, out, prompt), 1);
    const QString first = QStringLiteral("//dfns:frequency[1]");
    EXPECT_EQ(Attribute(out, first, "bandwidth"), QStringLiteral("2"));
    EXPECT_EQ(Attribute(out, first, "power_level"), QStringLiteral("3"));
    EXPECT_EQ(Attribute(out, first, "compander_lle_mode"), QStringLiteral("9"));
}

// The base image is a UHF radio; a VHF frequency needs a VHF base to come back as itself.
void SetVhfFrequency(CVirtualCP& image, int record, quint32 hz) {
    image.SetNumber(vcp::ImageField("synth_base_int_part"), 100);
    image.SetFrequencyHz(record, hz);
}

struct SRefusalRow {
    const char* name;
    std::function<void(CVirtualCP&)> spoil;
    int message;
};

void PrintTo(const SRefusalRow& row, std::ostream* os) {
    *os << row.name;
}

class Refusal : public testing::TestWithParam<SRefusalRow> {};

TEST_P(Refusal, ShowsTheMessageWithTheOutputSet) {
    CVirtualCP image = Base();
    GetParam().spoil(image);
    QString out;
    CRecordingPrompt prompt;
    EXPECT_EQ(CDataAdaptor::VirtualCP2XML(image, out, prompt), 0);
    EXPECT_EQ(prompt.ids, QList<int>{GetParam().message});
    EXPECT_TRUE(out.startsWith(QStringLiteral("<?xml version=\"1.0\" encoding=\"utf-8\" ?>\r\n")));
    EXPECT_TRUE(out.endsWith(QStringLiteral("</VeskProfile>\r\n")));
}

INSTANTIATE_TEST_SUITE_P(
    DataAdaptor, Refusal,
    testing::Values(
        SRefusalRow{
            "control_character_in_name",
            [](CVirtualCP& image) { image.SetChannelRaw(0, vcp::ChannelField("name"), "A\x01"); },
            CDataAdaptor::kMsgCodeplugCorrupted},
        SRefusalRow{"quote_as_phase", [](CVirtualCP& image) { image.SetByte(0x000, '"'); },
                    CDataAdaptor::kMsgCodeplugCorrupted},
        SRefusalRow{"zero_byte_as_phase", [](CVirtualCP& image) { image.SetByte(0x003, 0); },
                    CDataAdaptor::kMsgCodeplugCorrupted},
        SRefusalRow{"less_than_in_model", [](CVirtualCP& image) { image.SetByte(0x007, '<'); },
                    CDataAdaptor::kMsgCodeplugCorrupted},
        SRefusalRow{"murs_frequency",
                    [](CVirtualCP& image) { SetVhfFrequency(image, 3, 154600000); },
                    CDataAdaptor::kMsgInvalidFrequency},
        SRefusalRow{"first_murs_frequency",
                    [](CVirtualCP& image) { SetVhfFrequency(image, 0, 151820000); },
                    CDataAdaptor::kMsgInvalidFrequency}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(DataAdaptor, OneHertzAboveMursConverts) {
    CVirtualCP image = Base();
    SetVhfFrequency(image, 3, 154600001);
    QString out;
    CRecordingPrompt prompt;
    EXPECT_EQ(CDataAdaptor::VirtualCP2XML(image, out, prompt), 1);
    EXPECT_TRUE(prompt.ids.isEmpty());
}

struct SOversizeRow {
    quint32 maxChannels;
    quint32 maxFrequencies;
};

void PrintTo(const SOversizeRow& row, std::ostream* os) {
    *os << row.maxChannels << " channels, " << row.maxFrequencies << " frequencies";
}

class OversizedCounts : public testing::TestWithParam<SOversizeRow> {};

// Counts beyond the record blocks are written as they are (the schema refuses them later), but
// only the records that exist are read and repaired.
TEST_P(OversizedCounts, ReadOnlyTheRecordsThatExist) {
    CVirtualCP image = GoldenImage(QStringLiteral("full_19x99"));
    image.SetNumber(vcp::ImageField("maxChannels"), GetParam().maxChannels);
    image.SetNumber(vcp::ImageField("max_valid_freqs"), GetParam().maxFrequencies);
    // Every name equal: the repair must stay inside the records too.
    for (int n = 0; n < vcp::kChannelCount; ++n) {
        image.SetChannelRaw(n, vcp::ChannelField("name"), "SAME");
    }
    QString out;
    CRecordingPrompt prompt;
    ASSERT_EQ(CDataAdaptor::VirtualCP2XML(image, out, prompt), 1) << prompt.ids.value(0);
    EXPECT_EQ(Attribute(out, QStringLiteral("//dfns:limit"), "maxChannels"),
              QString::number(GetParam().maxChannels));
    EXPECT_EQ(Attribute(out, QStringLiteral("//dfns:limit"), "max_valid_freqs"),
              QString::number(GetParam().maxFrequencies));
    EXPECT_EQ(out.count(QStringLiteral("<channel ")),
              std::min<qsizetype>(GetParam().maxChannels, vcp::kChannelCount));
    EXPECT_EQ(out.count(QStringLiteral("<frequency ")),
              std::min<qsizetype>(GetParam().maxFrequencies, vcp::kFrequencyCount));
    const QStringList names = ChannelNames(out);
    EXPECT_EQ(QSet<QString>(names.begin(), names.end()).size(), names.size())
        << names.join(u',').toStdString();
}

INSTANTIATE_TEST_SUITE_P(DataAdaptor, OversizedCounts,
                         testing::Values(SOversizeRow{25, 200}, SOversizeRow{255, 255},
                                         SOversizeRow{19, 99}, SOversizeRow{20, 100}));

TEST(DataAdaptor, CatalogueListsEveryElementInOrder) {
    QStringList channel;
    for (const CDataAdaptor::SAttribute& attribute :
         CDataAdaptor::Catalogue(vcp::Element::Channel)) {
        channel << QString::fromLatin1(attribute.name.data(), qsizetype(attribute.name.size()));
    }
    EXPECT_EQ(channel.join(u' '),
              QStringLiteral("rx_freq_ndx rx_code tx_freq_ndx tx_code rx_bw tx_bw "
                             "talkaround_power repeater_power repeater autoScan scramble_code "
                             "name disable_channel talkaround_scan in_scanlist"));
    EXPECT_TRUE(CDataAdaptor::Catalogue(vcp::Element::None).empty());
    EXPECT_EQ(CDataAdaptor::Catalogue(vcp::Element::Preset).size(), 1u);
}

// ---- Golden folders, both directions ----

class Golden : public testing::TestWithParam<std::string> {};

// The bytes the conversion owns in an image, derived from the tables and the catalogue: records
// only as far as the image uses them, tone words only when its code list reaches them, and
// neither reserved nor radio-owned bytes, slots or bits.
struct SOwned {
    QList<int> bytes;
};

SOwned OwnedBytes(const CVirtualCP& image) {
    SOwned owned;
    const quint32 maxCodes = image.Number(vcp::ImageField("maxCodes"));
    const auto codesAbove = [](const SField& field) -> qint64 {
        for (const CDataAdaptor::SAttribute& attribute :
             CDataAdaptor::Catalogue(vcp::Element::Setting)) {
            if (attribute.name == field.name) {
                return attribute.codesAbove;
            }
        }
        return -1;
    };
    for (const SField& field : vcp::kImageFields) {
        if (!field.IsConverted() || field.encoding == vcp::Encoding::ScanList ||
            qint64(maxCodes) <= codesAbove(field)) {
            continue;
        }
        for (int b = field.offset; b < field.End(); ++b) {
            owned.bytes << b;
        }
    }
    for (int n = 0; n < CDataAdaptor::ChannelsInUse(image); ++n) {
        for (const SField& field : vcp::kChannelFields) {
            for (int b = field.offset; field.IsConverted() && b < field.End(); ++b) {
                owned.bytes << CVirtualCP::ChannelOffset(n) + b;
            }
        }
    }
    for (int n = 0; n < CDataAdaptor::FrequenciesInUse(image); ++n) {
        for (const SField& field : vcp::kFrequencyFields) {
            for (int b = field.offset; field.IsConverted() && b < field.End(); ++b) {
                owned.bytes << CVirtualCP::FrequencyOffset(n) + b;
            }
        }
    }
    return owned;
}

TEST_P(Golden, ImageToProfileByteForByte) {
    const QString name = QString::fromStdString(GetParam());
    CVirtualCP image = GoldenImage(name);
    QString out;
    CRecordingPrompt prompt;
    ASSERT_EQ(CDataAdaptor::VirtualCP2XML(image, out, prompt), 1) << prompt.ids.value(0);
    EXPECT_EQ(out.toUtf8(), GoldenFile(name, "profile.xml"));
}

TEST_P(Golden, ProfileToImageForEveryOwnedByte) {
    const QString name = QString::fromStdString(GetParam());
    // The image as the profile describes it: after the duplicate-name repair.
    CVirtualCP expected = GoldenImage(name);
    QString unused;
    CRecordingPrompt prompt;
    CDataAdaptor::VirtualCP2XML(expected, unused, prompt);

    CVirtualCP image;
    ASSERT_EQ(
        CDataAdaptor::XML2VirtualCP(GoldenFile(name, "profile.xml"), image, RadioOfVersion(3)), 1);
    const SOwned owned = OwnedBytes(expected);
    ASSERT_GT(owned.bytes.size(), 200);
    for (int b : owned.bytes) {
        EXPECT_EQ(image.Byte(b), expected.Byte(b)) << "byte 0x" << std::hex << b;
    }
    for (const vcp::SButtonSlot& slot : vcp::kButtonSlots) {
        EXPECT_EQ(image.ButtonSlot(slot.slot), expected.ButtonSlot(slot.slot)) << slot.name;
    }
    for (int n = 0; n < CDataAdaptor::ChannelsInUse(expected); ++n) {
        EXPECT_EQ(image.InScanList(n), expected.InScanList(n)) << "channel " << n;
    }
}

// A golden image survives an unedited trip through the record with every byte, radio-owned and
// reserved ones included.
TEST_P(Golden, ImageBytesSurviveTheRecord) {
    const QString name = QString::fromStdString(GetParam());
    const QByteArray bytes = GoldenFile(name, "image.bin");
    CVirtualCP image;
    ASSERT_TRUE(image.Assign(bytes));
    EXPECT_EQ(image.ToByteArray(), bytes);
}

std::vector<std::string> GoldenCases() {
    std::vector<std::string> cases;
    for (const QString& name : QDir(kImages).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        cases.push_back(name.toStdString());
    }
    return cases;
}

INSTANTIATE_TEST_SUITE_P(DataAdaptor, Golden, testing::ValuesIn(GoldenCases()),
                         [](const auto& row) { return row.param; });

TEST(DataAdaptor, GoldenFoldersAreThere) {
    EXPECT_GE(GoldenCases().size(), 3u);
}

}  // namespace
