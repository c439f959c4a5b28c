#include "radio/virtual_cp.h"

#include <algorithm>
#include <ostream>
#include <string>
#include <vector>

#include <QByteArray>
#include <QDir>
#include <QString>
#include <QStringList>

#include "model/profile_file.h"
#include "platform/vesk_cps_exception.h"
#include "platform/xml/xml_document.h"
#include "platform/xml/xml_node.h"
#include "platform/xml/xpath.h"
#include "qt_print.h"

#include <gtest/gtest.h>

namespace {

using vcp::SField;

// ---- Every byte of every record is named exactly once ----

struct STableRow {
    const char* table;
    std::span<const SField> fields;
    int size;
};

void PrintTo(const STableRow& row, std::ostream* os) {
    *os << row.table;
}

class TableCoverage : public testing::TestWithParam<STableRow> {};

TEST_P(TableCoverage, NamesEveryByteOnce) {
    const STableRow& row = GetParam();
    std::vector<int> owners(std::size_t(row.size), 0);
    QStringList names;
    for (const SField& field : row.fields) {
        ASSERT_GE(field.offset, 0) << field.name;
        ASSERT_LE(field.End(), row.size) << field.name;
        for (int b = field.offset; b < field.End(); ++b) {
            ++owners[std::size_t(b)];
        }
        const QString name = QString::fromLatin1(field.name.data(), qsizetype(field.name.size()));
        EXPECT_FALSE(names.contains(name)) << "named twice: " << field.name;
        names << name;
    }
    for (int b = 0; b < row.size; ++b) {
        EXPECT_EQ(owners[std::size_t(b)], 1) << row.table << " byte " << b;
    }
}

INSTANTIATE_TEST_SUITE_P(
    VirtualCP, TableCoverage,
    testing::Values(STableRow{"image", vcp::kImageFields, vcp::kImageSize},
                    STableRow{"channel", vcp::kChannelFields, vcp::kChannelSize},
                    STableRow{"frequency", vcp::kFrequencyFields, vcp::kFrequencySize},
                    STableRow{"radio information", vcp::kRadioInfoFields, vcp::kRadioInfoSize}),
    [](const auto& row) {
        std::string name = row.param.table;
        std::replace(name.begin(), name.end(), ' ', '_');
        return name;
    });

TEST(VirtualCP, RecordBlocksSitWhereTheTablesSay) {
    EXPECT_EQ(vcp::ImageField("channels").offset, vcp::kChannelBase);
    EXPECT_EQ(vcp::ImageField("channels").width, vcp::kChannelCount * vcp::kChannelSize);
    EXPECT_EQ(vcp::ImageField("frequencies").offset, vcp::kFrequencyBase);
    EXPECT_EQ(vcp::ImageField("frequencies").End(),
              vcp::ImageField("serial_clone_compatibility").offset);
    EXPECT_EQ(CVirtualCP::ChannelOffset(18) + vcp::kChannelSize - 1, 0x215);
    EXPECT_EQ(CVirtualCP::FrequencyOffset(98) + vcp::kFrequencySize - 1, 0x85F);
}

// ---- Access rules ----

// A background that is neither zero nor all ones, so that a byte written by mistake shows.
CVirtualCP Patterned() {
    CVirtualCP image;
    for (int i = 0; i < vcp::kImageSize; ++i) {
        image.Bytes()[std::size_t(i)] = quint8(0xA5 ^ (i & 0xFF));
    }
    return image;
}

// The bytes outside [offset, offset + width) are those of `before`.
void ExpectOnlyChanged(const CVirtualCP& before, const CVirtualCP& after, int offset, int width) {
    for (int i = 0; i < vcp::kImageSize; ++i) {
        if (i < offset || i >= offset + width) {
            EXPECT_EQ(before.Bytes()[std::size_t(i)], after.Bytes()[std::size_t(i)])
                << "byte 0x" << std::hex << i << " changed";
        }
    }
}

struct SNumberRow {
    const char* field;
    quint32 value;
    QByteArray bytes;  // what the field holds afterwards, first byte first
    quint32 readBack;
};

void PrintTo(const SNumberRow& row, std::ostream* os) {
    *os << row.field;
}

class NumberAccess : public testing::TestWithParam<SNumberRow> {};

TEST_P(NumberAccess, LittleEndianCutToWidth) {
    const SNumberRow& row = GetParam();
    const SField* field = vcp::FindImageField(QString::fromLatin1(row.field));
    ASSERT_NE(field, nullptr);
    const CVirtualCP before = Patterned();
    CVirtualCP image = before;
    image.SetNumber(*field, row.value);
    EXPECT_EQ(image.Raw(*field).toHex(), row.bytes.toHex());
    EXPECT_EQ(image.Number(*field), row.readBack);
    ExpectOnlyChanged(before, image, field->offset, field->width);
}

INSTANTIATE_TEST_SUITE_P(
    VirtualCP, NumberAccess,
    testing::Values(SNumberRow{"maxChannels", 0x1FF, QByteArray::fromHex("ff"), 0xFF},
                    SNumberRow{"maxCodes", 0x11223344, QByteArray::fromHex("44332211"), 0x11223344},
                    SNumberRow{"KTcode124", 0x12345, QByteArray::fromHex("4523"), 0x2345},
                    SNumberRow{"synth_base_int_part", 400, QByteArray::fromHex("90010000"), 400},
                    SNumberRow{"serial_clone_compatibility", 256, QByteArray::fromHex("00"), 0}),
    [](const auto& row) { return std::string(row.param.field); });

struct STextRow {
    const char* name;
    const char* field;
    QByteArray text;
    QByteArray stored;
};

void PrintTo(const STextRow& row, std::ostream* os) {
    *os << row.name;
}

class TextAccess : public testing::TestWithParam<STextRow> {};

TEST_P(TextAccess, ZeroesThenCopiesCutAtWidth) {
    const STextRow& row = GetParam();
    const SField* field = vcp::FindImageField(QString::fromLatin1(row.field));
    ASSERT_NE(field, nullptr);
    const CVirtualCP before = Patterned();
    CVirtualCP image = before;
    image.SetRaw(*field, row.text);
    EXPECT_EQ(image.Raw(*field).toHex(), row.stored.toHex());
    ExpectOnlyChanged(before, image, field->offset, field->width);
}

INSTANTIATE_TEST_SUITE_P(
    VirtualCP, TextAccess,
    testing::Values(STextRow{"full_serial", "serial", "471KFT2P9X", "471KFT2P9X"},
                    STextRow{"short_serial", "serial", "471", QByteArray("471\0\0\0\0\0\0\0", 10)},
                    STextRow{"long_serial", "serial", "471KFT2P9XYZ", "471KFT2P9X"},
                    STextRow{"empty_password", "password", "", QByteArray(4, '\0')},
                    STextRow{"powerup_of_nine", "powerupString", "ABCDEFGHI", "ABCDEFGH"}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(VirtualCP, RecordAccessOutsideTheBlocksRaises) {
    CVirtualCP image;
    EXPECT_THROW(image.ChannelNumber(19, vcp::ChannelField("rx_code")), CVeskCPSException);
    EXPECT_THROW(image.ChannelNumber(-1, vcp::ChannelField("rx_code")), CVeskCPSException);
    EXPECT_THROW(image.SetFrequencyNumber(99, vcp::FrequencyField("bandwidth"), 1),
                 CVeskCPSException);
    EXPECT_THROW(image.FrequencyHz(99), CVeskCPSException);
    EXPECT_THROW(image.Number(vcp::ChannelField("check_byte"), vcp::kImageSize), CVeskCPSException);
    try {
        image.SetChannelRaw(25, vcp::ChannelField("name"), "X");
        ADD_FAILURE() << "no exception";
    } catch (const CVeskCPSException& error) {
        EXPECT_TRUE(error.Text().contains(QStringLiteral("channel record 25")))
            << error.Text().toStdString();
    }
}

TEST(VirtualCP, RecordsUseTheirOwnTableAtTheirOwnPlace) {
    CVirtualCP image;
    image.SetChannelNumber(2, vcp::ChannelField("tx_code"), 214);
    image.SetChannelRaw(18, vcp::ChannelField("name"), "LAST");
    image.SetFrequencyNumber(98, vcp::FrequencyField("compander_lle_mode"), 3);
    EXPECT_EQ(image.Byte(0x074 + 2 * 22 + 3), 214);
    EXPECT_EQ(image.Raw(vcp::ChannelField("name"), 0x074 + 18 * 22), QByteArray("LAST\0\0\0\0", 8));
    EXPECT_EQ(image.Byte(0x230 + 98 * 16 + 3), 3);
}

// ---- Button slots ----

struct SSlotRow {
    int slot;
    quint8 function;
    int byte;  // -1: nothing changes
    quint8 expected;
};

void PrintTo(const SSlotRow& row, std::ostream* os) {
    *os << "slot " << row.slot;
}

class ButtonSlots : public testing::TestWithParam<SSlotRow> {};

TEST_P(ButtonSlots, KeepTheOtherHalf) {
    const SSlotRow& row = GetParam();
    const CVirtualCP before = Patterned();
    CVirtualCP image = before;
    image.SetButtonSlot(row.slot, row.function);
    if (row.byte < 0) {
        EXPECT_EQ(image.Bytes(), before.Bytes());
        EXPECT_EQ(image.ButtonSlot(row.slot), 0);
        return;
    }
    EXPECT_EQ(image.Byte(row.byte), row.expected);
    EXPECT_EQ(image.ButtonSlot(row.slot), row.function & 0x0F);
    ExpectOnlyChanged(before, image, row.byte, 1);
}

// The background byte at 0x057 + k is 0xA5 ^ (0x57 + k).
INSTANTIATE_TEST_SUITE_P(
    VirtualCP, ButtonSlots,
    testing::Values(SSlotRow{0, 0x3, 0x057, quint8(((0xA5 ^ 0x57) & 0xF0) | 0x3)},
                    SSlotRow{5, 0xC, 0x059, quint8(((0xA5 ^ 0x59) & 0x0F) | 0xC0)},
                    SSlotRow{6, 0x1F, 0x05A, quint8(((0xA5 ^ 0x5A) & 0xF0) | 0xF)},
                    SSlotRow{11, 0x0, 0x05C, quint8((0xA5 ^ 0x5C) & 0x0F)},
                    SSlotRow{15, 0x9, 0x05E, quint8(((0xA5 ^ 0x5E) & 0x0F) | 0x90)},
                    SSlotRow{16, 0x7, -1, 0}, SSlotRow{200, 0x7, -1, 0}, SSlotRow{-1, 0x7, -1, 0}),
    [](const auto& row) {
        return "slot_" + std::to_string(row.param.slot < 0 ? 999 : row.param.slot);
    });

// ---- Scan-list bits ----

struct SScanRow {
    int channel;
    int byte;  // -1: nothing changes
    int bit;
};

void PrintTo(const SScanRow& row, std::ostream* os) {
    *os << "channel " << row.channel;
}

class ScanBits : public testing::TestWithParam<SScanRow> {};

TEST_P(ScanBits, OneBitPerChannel) {
    const SScanRow& row = GetParam();
    for (const bool member : {true, false}) {
        const CVirtualCP before = Patterned();
        CVirtualCP image = before;
        image.SetInScanList(row.channel, member);
        if (row.byte < 0) {
            EXPECT_EQ(image.Bytes(), before.Bytes());
            EXPECT_FALSE(image.InScanList(row.channel));
            continue;
        }
        const quint8 mask = quint8(1u << row.bit);
        const quint8 old = before.Byte(row.byte);
        EXPECT_EQ(image.Byte(row.byte), member ? quint8(old | mask) : quint8(old & ~mask));
        EXPECT_EQ(image.InScanList(row.channel), member);
        ExpectOnlyChanged(before, image, row.byte, 1);
    }
}

INSTANTIATE_TEST_SUITE_P(VirtualCP, ScanBits,
                         testing::Values(SScanRow{0, 0x05F, 0}, SScanRow{7, 0x05F, 7},
                                         SScanRow{8, 0x060, 0}, SScanRow{18, 0x061, 2},
                                         SScanRow{19, -1, 0}, SScanRow{23, -1, 0},
                                         SScanRow{-1, -1, 0}),
                         [](const auto& row) {
                             return "channel_" +
                                    std::to_string(row.param.channel < 0 ? 999 : row.param.channel);
                         });

// ---- Clearing before a read ----

TEST(VirtualCP, ClearForReadLeavesOnlyTheToneWordsSet) {
    CVirtualCP image = Patterned();
    image.ClearForRead();
    for (int i = 0; i < vcp::kImageSize; ++i) {
        const bool tone = i >= 0x216 && i <= 0x22D;
        EXPECT_EQ(image.Byte(i), tone ? 0xFF : 0x00) << "byte 0x" << std::hex << i;
    }
    for (int code = 124; code <= 129; ++code) {
        EXPECT_EQ(image.Number(*vcp::FindImageField(QStringLiteral("KTcode%1").arg(code))),
                  0xFFFFu);
    }
}

TEST(VirtualCP, NewRecordsAreAllZero) {
    EXPECT_EQ(CVirtualCP().ToByteArray(), QByteArray(vcp::kImageSize, '\0'));
    EXPECT_EQ(CRadioInfo().ToByteArray(), QByteArray(vcp::kRadioInfoSize, '\0'));
}

TEST(VirtualCP, AssignTakesOnlyAWholeImage) {
    CVirtualCP image = Patterned();
    const QByteArray before = image.ToByteArray();
    EXPECT_FALSE(image.Assign(QByteArray(vcp::kImageSize - 1, '\x11')));
    EXPECT_FALSE(image.Assign(QByteArray(vcp::kImageSize + 1, '\x11')));
    EXPECT_EQ(image.ToByteArray(), before);
    EXPECT_TRUE(image.Assign(QByteArray(vcp::kImageSize, '\x11')));
    EXPECT_EQ(image.ToByteArray(), QByteArray(vcp::kImageSize, '\x11'));
}

// ---- Frequencies ----

// The worked example: 462,562,500 Hz over a base of 400 (low byte 144).
TEST(VirtualCP, WorkedFrequencyExampleByteForByte) {
    EXPECT_EQ(vcp::EncodeFrequency(462562500, 144), (vcp::SSynthCode{7, 40, 4, 8, 38212}));

    CVirtualCP image = Patterned();
    image.SetNumber(vcp::ImageField("synth_base_int_part"), 400);
    image.SetFrequencyHz(3, 462562500);
    const int record = CVirtualCP::FrequencyOffset(3);
    const quint8 keep2 = quint8(0xA5 ^ ((record + 2) & 0xFF));
    const quint8 keep3 = quint8(0xA5 ^ ((record + 3) & 0xFF));
    const quint8 keep4 = quint8(0xA5 ^ ((record + 4) & 0xFF));
    const quint8 keep6 = quint8(0xA5 ^ ((record + 6) & 0xFF));
    const quint8 keep7 = quint8(0xA5 ^ ((record + 7) & 0xFF));
    const QByteArray expected = QByteArray::fromHex("0728") + char(keep2) + char(keep3) +
                                char(keep4) + QByteArray::fromHex("04") + char(keep6) +
                                char(keep7) +
                                QByteArray::fromHex(
                                    "08000000"
                                    "44950000");
    EXPECT_EQ(image.ToByteArray().mid(record, 16).toHex(' '), expected.toHex(' '));
    EXPECT_EQ(image.FrequencyHz(3), 462562500u);
}

struct SWrapRow {
    quint32 hz;
    quint8 baseLowByte;
    quint8 integerPart;  // worked out by hand: trunc(hz / 1.05 MHz) - base, modulo 256
};

void PrintTo(const SWrapRow& row, std::ostream* os) {
    *os << row.hz << " Hz over " << int(row.baseLowByte);
}

class IntegerPartWrap : public testing::TestWithParam<SWrapRow> {};

TEST_P(IntegerPartWrap, Modulo256) {
    EXPECT_EQ(vcp::EncodeFrequency(GetParam().hz, GetParam().baseLowByte).integerPart,
              GetParam().integerPart);
}

INSTANTIATE_TEST_SUITE_P(VirtualCP, IntegerPartWrap,
                         testing::Values(SWrapRow{136000000, 100, 29},   // n = 129
                                         SWrapRow{136000000, 200, 185},  // 129 - 200 = -71
                                         SWrapRow{469000000, 0, 190},    // n = 446
                                         SWrapRow{1049999, 1, 255},      // n = 0
                                         SWrapRow{1050000, 0, 1},        // n = 1, exactly on a step
                                         SWrapRow{4294967295u, 0, 0xFA}));  // n = 4090

// Whatever lies beyond the 32-bit products stays defined: the same wrapped bits every time.
TEST(VirtualCP, FrequenciesBeyondTheProductsStayDefined) {
    const vcp::SSynthCode code = vcp::EncodeFrequency(4294967295u, 0);
    EXPECT_EQ(code.referenceDivider, 7);
    EXPECT_EQ(code.synthMode, 4);
    EXPECT_LE(code.fractionLow, 0xFFFFu);
    EXPECT_EQ(code, vcp::EncodeFrequency(4294967295u, 0));
}

struct SBandRow {
    QString source;
    quint32 base;
    quint32 hz;
};

std::vector<SBandRow> TemplateFrequencies() {
    std::vector<SBandRow> rows;
    const QDir folder(QStringLiteral(VESK_SOURCE_DIR "/install/profiletemplate"));
    for (const QString& name : folder.entryList({QStringLiteral("*.vk4")}, QDir::Files)) {
        const std::optional<QString> text = profile_file::Read(folder.filePath(name));
        if (!text) {
            ADD_FAILURE() << "unreadable template " << name.toStdString();
            continue;
        }
        const CXmlDocument document = CXmlDocument::ParseText(*text, name);
        CXPathContext xpath(document);
        const auto number = [](xmlNodePtr node, const char* attribute) {
            return xml::AttributeUInt32(node, attribute).value_or(0);
        };
        const quint32 base = number(xpath.SelectSingle(QStringLiteral("//dfns:factory_setting")),
                                    "synth_base_int_part");
        xmlNodePtr limit = xpath.SelectSingle(QStringLiteral("//dfns:limit"));
        rows.push_back({name + QStringLiteral(" start_freq"), base, number(limit, "start_freq")});
        rows.push_back({name + QStringLiteral(" end_freq"), base, number(limit, "end_freq")});
        int n = 0;
        for (xmlNodePtr node : xpath.SelectNodes(QStringLiteral("//dfns:frequency"))) {
            rows.push_back(
                {name + QStringLiteral(" frequency %1").arg(n++), base, number(node, "freq")});
        }
    }
    return rows;
}

TEST(VirtualCP, EveryTemplateFrequencyAndBandEdgeSurvivesTheRecord) {
    const std::vector<SBandRow> rows = TemplateFrequencies();
    ASSERT_GT(rows.size(), 50u);
    for (const SBandRow& row : rows) {
        const vcp::SSynthCode code = vcp::EncodeFrequency(row.hz, quint8(row.base & 0xFF));
        EXPECT_EQ(vcp::DecodeFrequency(code, row.base), row.hz) << row.source.toStdString();
        // The radio keeps seven bits of the integer part; a template's band must fit them.
        EXPECT_LT(code.integerPart, 128) << row.source.toStdString();
        EXPECT_LT(code.fractionHigh, 1u << 11) << row.source.toStdString();

        CVirtualCP image = Patterned();
        image.SetNumber(vcp::ImageField("synth_base_int_part"), row.base);
        image.SetFrequencyHz(98, row.hz);
        EXPECT_EQ(image.FrequencyHz(98), row.hz) << row.source.toStdString();
    }
}

TEST(VirtualCP, DecodingUsesTheReferenceDivider) {
    // R = 3: step 4.2 MHz, so f = (4,200,000 * (10 + 100) + 2 * 5) / 2.
    const vcp::SSynthCode code{3, 10, 4, 0, 5};
    EXPECT_EQ(vcp::DecodeFrequency(code, 100), 231000005u);
}

// ---- Dump ----

TEST(VirtualCP, DumpNamesEveryFieldAndNumbersTheRecords) {
    CVirtualCP image;
    image.SetRaw(vcp::ImageField("serial"), "471KFT2P9X");
    image.SetChannelRaw(18, vcp::ChannelField("name"), "LAST");
    const QString dump = image.Dump();
    for (const SField& field : vcp::kImageFields) {
        if (field.encoding != vcp::Encoding::Records) {
            EXPECT_TRUE(
                dump.contains(QLatin1String(field.name.data(), qsizetype(field.name.size())) +
                              QLatin1String(" = ")))
                << field.name;
        }
    }
    for (int n : {0, 18}) {
        for (const SField& field : vcp::kChannelFields) {
            EXPECT_TRUE(dump.contains(
                QStringLiteral("channel[%1].%2 = ")
                    .arg(n)
                    .arg(QLatin1String(field.name.data(), qsizetype(field.name.size())))));
        }
    }
    for (const SField& field : vcp::kFrequencyFields) {
        EXPECT_TRUE(dump.contains(
            QStringLiteral("frequency[98].%1 = ")
                .arg(QLatin1String(field.name.data(), qsizetype(field.name.size())))));
    }
    EXPECT_FALSE(dump.contains(QStringLiteral("channel[19]")));
    EXPECT_TRUE(dump.contains(QStringLiteral("0x00e serial = \"471KFT2P9X\"")));
    EXPECT_TRUE(dump.contains(QStringLiteral("channel[18].name = \"LAST\"")));

    CRadioInfo radio;
    radio.SetNumber(vcp::RadioInfoField("codeplug_version"), 3);
    EXPECT_EQ(radio.CodeplugVersion(), 3);
    EXPECT_TRUE(radio.Dump().contains(QStringLiteral("0x00c codeplug_version = 3")));
}

}  // namespace
