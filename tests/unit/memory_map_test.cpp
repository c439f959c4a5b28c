#include "radio/memory_map.h"

#include <ostream>
#include <random>
#include <string>
#include <vector>

#include <QByteArray>
#include <QDir>
#include <QString>
#include <QStringList>

#include "model/profile_file.h"
#include "platform/vesk_cps_exception.h"
#include "qt_print.h"
#include "radio/data_adaptor.h"
#include "radio/virtual_cp.h"
#include "source_files.h"

#include <gtest/gtest.h>

namespace {

using mm::SBits;

QByteArray Hex(const char* text) {
    return QByteArray::fromHex(QByteArray(text));
}

std::string HexOf(QByteArrayView bytes) {
    return bytes.toByteArray().toHex(' ').toStdString();
}

// ---- Each block field, transcribed from the radio's layout independently of the tables ----

enum class Table { Main, Channel, Frequency, Limits, Identity };

std::span<const SBits> RowsOf(Table table) {
    switch (table) {
        case Table::Main:
            return mm::kMainBlock;
        case Table::Channel:
            return mm::kChannelRecord;
        case Table::Frequency:
            return mm::kFrequencyRecord;
        case Table::Limits:
            return mm::kLimitBlock;
        case Table::Identity:
            return mm::kIdentityBlock;
    }
    return {};
}

int SizeOf(Table table) {
    switch (table) {
        case Table::Main:
            return mm::kMainSize;
        case Table::Channel:
            return mm::kPackedChannelSize;
        case Table::Frequency:
            return mm::kPackedFrequencySize;
        case Table::Limits:
            return mm::Block("limits").length;
        case Table::Identity:
            return mm::Block("identity").length;
    }
    return 0;
}

// The record inside the image that a table's offsets are relative to.
int BaseOf(Table table) {
    if (table == Table::Channel) {
        return CVirtualCP::ChannelOffset(2);
    }
    if (table == Table::Frequency) {
        return CVirtualCP::FrequencyOffset(3);
    }
    return 0;
}

struct SFieldRow {
    const char* name;
    Table table;
    int byte;
    int high;
    int low;
    int imageOffset;  // within the image, or the record for channels and frequencies
    int imageShift;   // where the block bits land in the little-endian image number
    bool newerFirmware = false;
};

void PrintTo(const SFieldRow& row, std::ostream* os) {
    *os << row.name;
}

const SFieldRow kFieldRows[] = {
    {"accessoryMicrophoneGain", Table::Main, 0, 7, 4, 0x054, 0},
    {"microphoneGain", Table::Main, 0, 3, 2, 0x053, 0},
    {"vox_level", Table::Main, 0, 1, 0, 0x051, 0},
    {"ivol_level", Table::Main, 1, 7, 6, 0x052, 0},
    {"backlight_enabled", Table::Main, 1, 5, 5, 0x04E, 0},
    {"reverseBurst", Table::Main, 1, 4, 4, 0x050, 0},
    {"keypadLock", Table::Main, 1, 2, 2, 0x06E, 0},
    {"rogerBeepTone", Table::Main, 1, 1, 1, 0x06D, 0},
    {"batteryType", Table::Main, 1, 0, 0, 0x055, 0},
    {"disableRestoreFactoryDefault", Table::Main, 2, 7, 7, 0x04D, 0},
    {"disableBatterySave", Table::Main, 3, 6, 6, 0x056, 0},
    {"disableSelectableScramble", Table::Main, 3, 5, 5, 0x06C, 0},
    {"callTone", Table::Main, 3, 3, 0, 0x070, 0},
    {"preset_1", Table::Main, 4, 7, 0, 0x071, 0},
    {"preset_2", Table::Main, 5, 7, 0, 0x072, 0},
    {"disableLED", Table::Main, 6, 7, 7, 0x04C, 0},
    {"numberChannels", Table::Main, 6, 6, 0, 0x062, 0},
    {"backlight_timeout", Table::Main, 7, 7, 0, 0x073, 0},
    {"timeoutTimer", Table::Main, 8, 7, 0, 0x04F, 0},
    {"password_1", Table::Main, 9, 7, 0, 0x048, 0},
    {"password_4", Table::Main, 12, 7, 0, 0x04B, 0},
    {"upper_right_but", Table::Main, 15, 7, 4, 0x059, 4},
    {"side1_but", Table::Main, 16, 3, 0, 0x05A, 0},
    {"lower_left_but", Table::Main, 17, 3, 0, 0x05B, 0},
    {"lower_right_but", Table::Main, 17, 7, 4, 0x05B, 4},
    {"side2_but", Table::Main, 18, 7, 4, 0x05C, 4},
    {"scan_list_1", Table::Main, 21, 7, 0, 0x05F, 0},
    {"scan_list_3", Table::Main, 23, 7, 0, 0x061, 0},
    {"powerupString_1", Table::Main, 24, 7, 0, 0x064, 0},
    {"powerupString_8", Table::Main, 31, 7, 0, 0x06B, 0},
    {"voice_language", Table::Main, 32, 7, 5, 0x063, 0},
    {"rx_freq_ndx", Table::Channel, 0, 7, 0, 0, 0},
    {"rx_code", Table::Channel, 1, 7, 0, 1, 0},
    {"tx_freq_ndx", Table::Channel, 2, 7, 0, 2, 0},
    {"tx_code", Table::Channel, 3, 7, 0, 3, 0},
    {"tx_bw", Table::Channel, 4, 7, 7, 5, 0},
    {"talkaround_power", Table::Channel, 4, 6, 6, 6, 0},
    {"autoScan", Table::Channel, 4, 5, 5, 9, 0},
    {"scramble_code", Table::Channel, 4, 4, 3, 12, 0},
    {"repeater", Table::Channel, 4, 2, 2, 8, 0},
    {"rx_bw", Table::Channel, 4, 1, 1, 4, 0},
    {"repeater_power", Table::Channel, 4, 0, 0, 7, 0},
    {"disable_channel", Table::Channel, 5, 7, 7, 10, 0},
    {"name_1", Table::Channel, 5, 6, 0, 13, 0},
    {"talkaround_scan", Table::Channel, 6, 7, 7, 11, 0},
    {"name_2", Table::Channel, 6, 6, 0, 14, 0},
    {"name_3", Table::Channel, 7, 6, 0, 15, 0},
    {"name_8", Table::Channel, 12, 6, 0, 20, 0},
    {"reference_divider", Table::Frequency, 0, 6, 3, 0, 0},
    {"integer_part_high", Table::Frequency, 0, 2, 0, 1, 4},
    {"integer_part_low", Table::Frequency, 1, 7, 4, 1, 0},
    {"power_level", Table::Frequency, 1, 3, 2, 2, 0},
    {"compander_lle_mode", Table::Frequency, 1, 1, 0, 3, 0},
    {"bandwidth", Table::Frequency, 2, 7, 6, 4, 0},
    {"synth_mode", Table::Frequency, 2, 5, 3, 5, 0},
    {"fraction_high_high", Table::Frequency, 2, 2, 0, 8, 8},
    {"fraction_high_low", Table::Frequency, 3, 7, 0, 8, 0},
    {"maxChannels", Table::Limits, 4, 4, 0, 0x01C, 0},
    {"maxCodes_older", Table::Limits, 5, 6, 0, 0x03C, 0},
    {"max_valid_freqs", Table::Limits, 6, 7, 0, 0x01D, 0},
    {"programming_mode_enabled", Table::Limits, 7, 5, 5, 0x042, 0},
    {"maxPresetButtons", Table::Limits, 7, 4, 3, 0x038, 0},
    {"voice_chip_enable", Table::Limits, 7, 2, 2, 0x034, 0},
    {"disable_channel_enable", Table::Limits, 7, 1, 1, 0x035, 0},
    {"talkaround_scan_enable", Table::Limits, 7, 0, 0, 0x036, 0},
    {"max_call_tones", Table::Limits, 8, 2, 0, 0x037, 0},
    {"disable_time_out_timer", Table::Limits, 10, 7, 7, 0x028, 0},
    {"limit_flag_029", Table::Limits, 10, 6, 6, 0x029, 0},
    {"disable_keypad_beep_feature", Table::Limits, 10, 5, 5, 0x02A, 0},
    {"disable_roger_beep_feature", Table::Limits, 10, 4, 4, 0x02B, 0},
    {"disable_busy_led_mode", Table::Limits, 10, 3, 3, 0x02C, 0},
    {"enable_reverse_burst", Table::Limits, 10, 2, 2, 0x02D, 0},
    {"disable_vox_feature", Table::Limits, 10, 1, 1, 0x02E, 0},
    {"disable_ivox_feature", Table::Limits, 10, 0, 0, 0x02F, 0},
    {"disable_scramble_feature", Table::Limits, 11, 7, 7, 0x030, 0},
    {"disable_battery_save_feature", Table::Limits, 11, 6, 6, 0x031, 0},
    {"factory_reset_disable", Table::Limits, 11, 5, 5, 0x032, 0},
    {"disable_scan_mode", Table::Limits, 11, 4, 4, 0x033, 0},
    {"backlight_button_enabled", Table::Limits, 11, 3, 3, 0x041, 0},
    {"power_cntrl_enabled", Table::Limits, 11, 2, 2, 0x040, 0},
    {"disable_repeater_feature", Table::Limits, 13, 7, 7, 0x046, 0},
    {"call_feature_disable", Table::Limits, 13, 6, 6, 0x043, 0},
    {"monitor_feature_disable", Table::Limits, 13, 5, 5, 0x044, 0},
    {"disable_keypad_lock_feature", Table::Limits, 16, 3, 3, 0x045, 0},
    {"maxCodes_newer", Table::Limits, 18, 7, 0, 0x03C, 0, true},
    {"serial_1", Table::Identity, 0, 7, 0, 0x00E, 0},
    {"serial_10", Table::Identity, 9, 7, 0, 0x017, 0},
    {"model_1", Table::Identity, 10, 7, 0, 0x006, 0},
    {"model_8", Table::Identity, 17, 7, 0, 0x00D, 0},
    {"codeplug_phase", Table::Identity, 18, 7, 0, 0x003, 0},
    {"codeplug_version", Table::Identity, 19, 7, 0, 0x004, 0},
    {"codeplug_dev_version", Table::Identity, 20, 7, 0, 0x005, 0},
};

class MemoryMapFields : public testing::TestWithParam<SFieldRow> {
protected:
    mm::SConditions When() const { return {GetParam().newerFirmware, 0}; }
    static quint8 RowMask(const SFieldRow& row) {
        return quint8(((1u << (row.high - row.low + 1)) - 1u) << row.low);
    }
    static quint32 ImageNumber(const CVirtualCP& image, int offset) {
        return image.Byte(offset) | (quint32(image.Byte(offset + 1)) << 8);
    }
};

// Setting the field's bits in the image changes exactly its bits of the block.
TEST_P(MemoryMapFields, PackMovesOnlyItsBits) {
    const SFieldRow& row = GetParam();
    const int size = SizeOf(row.table);
    const int at = BaseOf(row.table) + row.imageOffset;
    CVirtualCP image;
    QByteArray before(size, '\0');
    mm::Pack(RowsOf(row.table), image, before, When(), BaseOf(row.table));

    const quint32 ones = quint32(RowMask(row) >> row.low) << row.imageShift;
    image.SetByte(at, quint8(ones));
    image.SetByte(at + 1, quint8(ones >> 8));
    QByteArray after(size, '\0');
    mm::Pack(RowsOf(row.table), image, after, When(), BaseOf(row.table));

    for (int b = 0; b < size; ++b) {
        if (row.table == Table::Channel && b == mm::kPackedChannelSize - 1) {
            continue;  // the check byte follows every change
        }
        const quint8 changed = quint8(before[b] ^ after[b]);
        EXPECT_EQ(changed, b == row.byte ? RowMask(row) : 0) << "block byte " << b;
    }
}

// The field's bits in the block land in the image field alone.
TEST_P(MemoryMapFields, UnpackFillsOnlyItsField) {
    const SFieldRow& row = GetParam();
    const int at = BaseOf(row.table) + row.imageOffset;
    QByteArray empty(SizeOf(row.table), '\0');
    QByteArray bits = empty;
    bits[row.byte] = char(RowMask(row));

    CVirtualCP fromEmpty;
    CVirtualCP fromBits;
    mm::Unpack(RowsOf(row.table), empty, fromEmpty, When(), BaseOf(row.table));
    mm::Unpack(RowsOf(row.table), bits, fromBits, When(), BaseOf(row.table));

    const quint32 ones = quint32(RowMask(row) >> row.low) << row.imageShift;
    EXPECT_EQ(ImageNumber(fromBits, at) ^ ImageNumber(fromEmpty, at), ones);
    for (int b = 0; b < vcp::kImageSize; ++b) {
        if (b != at && b != at + 1) {
            EXPECT_EQ(fromBits.Byte(b), fromEmpty.Byte(b)) << "image byte " << b;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(MemoryMap, MemoryMapFields, testing::ValuesIn(kFieldRows),
                         [](const testing::TestParamInfo<SFieldRow>& p) {
                             return std::string(p.param.name);
                         });

// ---- Multi-byte numbers: big-endian in the radio, little-endian in the image ----

struct SWordRow {
    const char* name;
    const vcp::SField* field;
    quint32 value;
    const char* blockHex;
    int blockLength;
    int blockByte;
};

void PrintTo(const SWordRow& row, std::ostream* os) {
    *os << row.name;
}

class MemoryMapWords : public testing::TestWithParam<SWordRow> {};

TEST_P(MemoryMapWords, BigEndianBothWays) {
    const SWordRow& row = GetParam();
    CVirtualCP image;
    image.SetNumber(*row.field, row.value);
    image.SetNumber(vcp::ImageField("maxCodes"), 250);  // every tone word counts
    QByteArray block(row.blockLength, '\0');
    const std::span<const SBits> rows =
        row.blockLength == mm::kMainSize ? std::span<const SBits>(mm::kMainBlock)
        : row.blockLength == 8           ? std::span<const SBits>(mm::kBandEdges)
                                         : std::span<const SBits>(mm::kSynthBase);
    mm::Pack(rows, image, block, mm::ConditionsOf(image));
    const QByteArray expected = Hex(row.blockHex);
    EXPECT_EQ(HexOf(block.mid(row.blockByte, expected.size())), HexOf(expected));

    CVirtualCP back;
    back.SetNumber(vcp::ImageField("maxCodes"), 250);
    mm::Unpack(rows, block, back, mm::ConditionsOf(back));
    EXPECT_EQ(back.Number(*row.field), row.value);
}

const SWordRow kWordRows[] = {
    {"start_freq", &vcp::ImageField("start_freq"), 450000000, "1a d2 74 80", 8, 0},
    {"end_freq", &vcp::ImageField("end_freq"), 470000000, "1c 03 a1 80", 8, 4},
    {"synth_base", &vcp::ImageField("synth_base_int_part"), 400, "01 90", 2, 0},
    {"KTcode124", &vcp::ImageField("KTcode124"), 0x1234, "12 34", mm::kMainSize, 302},
    {"KTcode129", &vcp::ImageField("KTcode129"), 0xABCD, "ab cd", mm::kMainSize, 312},
    {"KTcode214", &vcp::ImageField("KTcode214"), 0x0102, "01 02", mm::kMainSize, 314},
    {"KTcode219", &vcp::ImageField("KTcode219"), 0xFEDC, "fe dc", mm::kMainSize, 324},
};

INSTANTIATE_TEST_SUITE_P(MemoryMap, MemoryMapWords, testing::ValuesIn(kWordRows),
                         [](const testing::TestParamInfo<SWordRow>& p) {
                             return std::string(p.param.name);
                         });

TEST(MemoryMapFrequency, FractionLowIsBigEndian) {
    CVirtualCP image;
    image.SetFrequencyNumber(0, vcp::FrequencyField("fraction_low"), 0x9544);
    EXPECT_EQ(HexOf(mm::PackFrequency(image, 0).mid(4)), "95 44");
}

// ---- The cases where the layout can really break ----

TEST(MemoryMapChannel, HighBitsOfNameBytesBecomeFlagsAndDropOut) {
    // 'A'..'H' with bit 7 set in every name byte.
    const QByteArray packed = Hex("00 00 00 00 00 c1 c2 c3 c4 c5 c6 c7 c8 77");
    QByteArray block(mm::kMainSize, '\0');
    block.replace(mm::kChannelRecordBase, mm::kPackedChannelSize, packed);
    CVirtualCP image;
    image.ClearForRead();
    mm::UnpackMainBlock(block, image);
    EXPECT_EQ(image.ChannelRaw(0, vcp::ChannelField("name")), QByteArray("ABCDEFGH"));
    EXPECT_EQ(image.ChannelNumber(0, vcp::ChannelField("disable_channel")), 1u);
    EXPECT_EQ(image.ChannelNumber(0, vcp::ChannelField("talkaround_scan")), 1u);
    EXPECT_EQ(image.ChannelNumber(0, vcp::ChannelField("check_byte")), 0x77u);
}

TEST(MemoryMapChannel, EmptyRecordChecksToSeed) {
    CVirtualCP image;
    EXPECT_EQ(HexOf(mm::PackChannel(image, 0)), HexOf(Hex("00000000000000000000000000 5a")));
}

struct SCheckRow {
    const char* packed;  // thirteen bytes
    quint8 check;
};
void PrintTo(const SCheckRow& row, std::ostream* os) {
    *os << row.packed;
}
class MemoryMapCheckByte : public testing::TestWithParam<SCheckRow> {};

// The check byte is recomputed from the packed bytes, whatever the radio had stored.
TEST_P(MemoryMapCheckByte, FollowsThePackedBytes) {
    const QByteArray packed = Hex(GetParam().packed);
    CVirtualCP image;
    mm::Unpack(mm::kChannelRecord, packed + QByteArray(1, '\x00'), image, {},
               CVirtualCP::ChannelOffset(4));
    const QByteArray repacked = mm::PackChannel(image, 4, packed + QByteArray(1, '\x00'));
    EXPECT_EQ(HexOf(repacked.first(13)), HexOf(packed));
    EXPECT_EQ(quint8(repacked[13]), GetParam().check);
}
INSTANTIATE_TEST_SUITE_P(MemoryMap, MemoryMapCheckByte,
                         testing::Values(SCheckRow{"01000000000000000000000000", 0x5B},
                                         SCheckRow{"a6000000000000000000000000", 0x00},
                                         SCheckRow{"ffffffffffffffffffffffffff", 0x4D},
                                         SCheckRow{"0a0b0c0d9ec1424344454647c8", 0x4A}));

TEST(MemoryMapFrequency, DividerAndIntegerPartShareTheFirstBytes) {
    CVirtualCP image;
    image.SetFrequencyNumber(5, vcp::FrequencyField("reference_divider"), 7);
    image.SetFrequencyNumber(5, vcp::FrequencyField("integer_part"), 100);
    const QByteArray packed = mm::PackFrequency(image, 5);
    EXPECT_EQ(quint8(packed[0]), 0x3E);
    EXPECT_EQ(quint8(packed[1]) >> 4, 0b0100);
}

TEST(MemoryMapFrequency, WorkedExampleTravelsThroughTheRadio) {
    CVirtualCP image;
    image.SetNumber(vcp::ImageField("synth_base_int_part"), 400);
    image.SetFrequencyHz(0, 462562500);
    const QByteArray packed = mm::PackFrequency(image, 0);
    CVirtualCP back;
    back.SetNumber(vcp::ImageField("synth_base_int_part"), 400);
    mm::UnpackFrequencies(packed, back);
    EXPECT_EQ(back.FrequencyHz(0), 462562500u);
}

struct SBeepRow {
    quint8 keypadBeep;
    quint8 readBack;
    quint8 packed;
};
void PrintTo(const SBeepRow& row, std::ostream* os) {
    *os << "keypadBeep " << int(row.keypadBeep) << " over " << int(row.readBack);
}
class MemoryMapKeypadBeep : public testing::TestWithParam<SBeepRow> {};

TEST_P(MemoryMapKeypadBeep, StoredInverted) {
    CVirtualCP image;
    image.SetNumber(vcp::ImageField("keypadBeep"), GetParam().keypadBeep);
    QByteArray readBack(mm::kMainReadBack, '\0');
    readBack[1] = char(GetParam().readBack);
    EXPECT_EQ(quint8(mm::PackMainBlock(image, readBack)[1]), GetParam().packed);
}
INSTANTIATE_TEST_SUITE_P(MemoryMap, MemoryMapKeypadBeep,
                         testing::Values(SBeepRow{1, 0x08, 0x00}, SBeepRow{0, 0x00, 0x08},
                                         SBeepRow{1, 0xFF, 0x00}, SBeepRow{0, 0xFF, 0x08}));

struct SToneRow {
    quint32 maxCodes;
    int written;
    bool firstSix;
    bool secondSix;
};
void PrintTo(const SToneRow& row, std::ostream* os) {
    *os << "maxCodes " << row.maxCodes;
}
class MemoryMapTones : public testing::TestWithParam<SToneRow> {};

TEST_P(MemoryMapTones, WriteLengthAndToneWordsFollowCodeCapacity) {
    const SToneRow& row = GetParam();
    CVirtualCP image;
    image.SetNumber(vcp::ImageField("maxCodes"), row.maxCodes);
    for (int k = 0; k < vcp::kToneCount; ++k) {
        image.SetNumber(
            {"tone", vcp::Element::None, vcp::kToneBase + 2 * k, 2, vcp::Encoding::Number},
            quint32(0x1100 + k));
    }
    QByteArray readBack(mm::kMainReadBack, '\0');
    for (int b = 302; b < 326; ++b) {
        readBack[b] = char(0xE0 + (b - 302));
    }
    const QByteArray packed = mm::PackMainBlock(image, readBack);
    ASSERT_EQ(packed.size(), row.written);
    for (int k = 0; k < vcp::kToneCount; ++k) {
        const bool ours = k < 6 ? row.firstSix : row.secondSix;
        const QByteArray expected =
            ours ? QByteArray(1, char(0x11)).append(char(k)) : readBack.mid(302 + 2 * k, 2);
        EXPECT_EQ(HexOf(packed.mid(302 + 2 * k, 2)), HexOf(expected)) << "tone word " << k;
    }

    // Reading takes the words only where the radio carries them; the rest stay unset.
    QByteArray block = packed;
    block.append(QByteArray(mm::kMainSize - block.size(), '\0'));
    CVirtualCP back;
    back.ClearForRead();
    back.SetNumber(vcp::ImageField("maxCodes"), row.maxCodes);
    mm::UnpackMainBlock(block, back);
    for (int k = 0; k < vcp::kToneCount; ++k) {
        const bool ours = k < 6 ? row.firstSix : row.secondSix;
        const quint32 word = back.Byte(vcp::kToneBase + 2 * k) |
                             (quint32(back.Byte(vcp::kToneBase + 2 * k + 1)) << 8);
        EXPECT_EQ(word, ours ? quint32(0x1100 + k) : quint32(vcp::kToneUnset)) << k;
    }
}
INSTANTIATE_TEST_SUITE_P(
    MemoryMap, MemoryMapTones,
    testing::Values(SToneRow{0, 386, false, false}, SToneRow{122, 386, false, false},
                    SToneRow{123, 398, true, false}, SToneRow{213, 398, true, false},
                    SToneRow{214, 410, true, true}, SToneRow{255, 410, true, true}));

struct SScrambleRow {
    const char* name;
    quint8 disableSelectable;
    char thirdLetter;
    int slot;  // -1: no button carries scrambling
    bool readBackBit;
    bool packedBit;
};
void PrintTo(const SScrambleRow& row, std::ostream* os) {
    *os << row.name;
}
class MemoryMapScrambleButton : public testing::TestWithParam<SScrambleRow> {};

TEST_P(MemoryMapScrambleButton, KeptOnlyWhileAButtonReachesScrambling) {
    const SScrambleRow& row = GetParam();
    CVirtualCP image;
    image.SetByte(vcp::ImageField("model").offset + 2, quint8(row.thirdLetter));
    image.SetNumber(vcp::ImageField("disableSelectableScramble"), row.disableSelectable);
    for (int slot = 0; slot < vcp::kButtonSlotCount; ++slot) {
        image.SetButtonSlot(slot, slot == row.slot ? 12 : 3);
    }
    QByteArray readBack(mm::kMainReadBack, '\0');
    readBack[3] = char(row.readBackBit ? 0x10 : 0x00);
    const QByteArray packed = mm::PackMainBlock(image, readBack);
    EXPECT_EQ((quint8(packed[3]) & 0x10) != 0, row.packedBit);
}
INSTANTIATE_TEST_SUITE_P(
    MemoryMap, MemoryMapScrambleButton,
    testing::Values(SScrambleRow{"selectable_cleared", 0, 'D', 6, true, false},
                    SScrambleRow{"side1_keeps", 1, 'R', 6, true, true},
                    SScrambleRow{"side2_keeps", 1, 'R', 11, true, true},
                    SScrambleRow{"kept_bit_clear_stays", 1, 'R', 11, false, false},
                    SScrambleRow{"upper_right_on_display", 1, 'D', 5, true, true},
                    SScrambleRow{"lower_left_on_display", 1, 'D', 8, true, true},
                    SScrambleRow{"lower_right_on_display", 1, 'D', 9, true, true},
                    SScrambleRow{"upper_right_without_display", 1, 'R', 5, true, false},
                    SScrambleRow{"lower_left_without_display", 1, 'R', 8, true, false},
                    SScrambleRow{"radio_slot_does_not_count", 1, 'D', 7, true, false},
                    SScrambleRow{"no_button", 1, 'D', -1, true, false}),
    [](const testing::TestParamInfo<SScrambleRow>& p) { return std::string(p.param.name); });

TEST(MemoryMapMain, OnlyTheProfileButtonSlotsAreWritten) {
    CVirtualCP image;
    for (int slot = 0; slot < vcp::kButtonSlotCount; ++slot) {
        image.SetButtonSlot(slot, 0xA);
    }
    QByteArray readBack(mm::kMainReadBack, '\0');
    for (int b = 13; b <= 20; ++b) {
        readBack[b] = char(0x55);
    }
    const QByteArray packed = mm::PackMainBlock(image, readBack);
    // Slots 5, 6, 8, 9 and 11 are the image's; every other half keeps the radio's 5.
    EXPECT_EQ(HexOf(packed.mid(13, 8)), HexOf(Hex("55 55 a5 5a aa a5 55 55")));
}

TEST(MemoryMapMain, ChannelsBeyondMaxChannelsKeepTheRadioBytes) {
    CVirtualCP image;
    image.SetNumber(vcp::ImageField("maxChannels"), 2);
    QByteArray readBack(mm::kMainReadBack, '\x33');
    const QByteArray packed = mm::PackMainBlock(image, readBack);
    const int third = mm::kChannelRecordBase + 2 * mm::kPackedChannelSize;
    EXPECT_EQ(HexOf(packed.mid(third, 17 * mm::kPackedChannelSize)),
              HexOf(readBack.mid(third, 17 * mm::kPackedChannelSize)));
    EXPECT_NE(HexOf(packed.mid(mm::kChannelRecordBase, 2 * mm::kPackedChannelSize)),
              HexOf(readBack.mid(mm::kChannelRecordBase, 2 * mm::kPackedChannelSize)));
}

TEST(MemoryMapMain, VoiceLanguageClearsTheLowBits) {
    CVirtualCP image;
    image.SetNumber(vcp::ImageField("voice_language"), 5);
    QByteArray readBack(mm::kMainReadBack, '\xFF');
    EXPECT_EQ(quint8(mm::PackMainBlock(image, readBack)[32]), 0xA0);
}

// ---- Limit block: the firmware decides where the code capacity lies ----

struct SFirmwareRow {
    const char* firmware;  // phase, version, revision
    bool newer;
};
void PrintTo(const SFirmwareRow& row, std::ostream* os) {
    *os << row.firmware;
}
class MemoryMapFirmware : public testing::TestWithParam<SFirmwareRow> {};

TEST_P(MemoryMapFirmware, CodeCapacityFromTheMatchingByte) {
    const SFirmwareRow& row = GetParam();
    CVirtualCP image;
    image.ClearForRead();
    image.SetRaw(vcp::SField{"firmware", vcp::Element::None, 0, 3, vcp::Encoding::Text},
                 QByteArray(row.firmware));
    EXPECT_EQ(mm::IsNewerFirmware(image), row.newer);
    QByteArray limits(mm::Block("limits").length, '\0');
    limits[5] = char(0x80 | 100);
    limits[18] = char(230);
    mm::UnpackLimits(limits, image);
    EXPECT_EQ(image.Number(vcp::ImageField("maxCodes")), row.newer ? 230u : 100u);
}
INSTANTIATE_TEST_SUITE_P(MemoryMap, MemoryMapFirmware,
                         testing::Values(SFirmwareRow{"R16", false}, SFirmwareRow{"R17", true},
                                         SFirmwareRow{"R1A", true}, SFirmwareRow{"R20", true},
                                         SFirmwareRow{"R09", false}, SFirmwareRow{"RA0", true},
                                         SFirmwareRow{"D6F", false}, SFirmwareRow{"D70", true},
                                         SFirmwareRow{"D80", true}, SFirmwareRow{"X99", false}));

struct SRepeaterRow {
    const char* model;  // three letters, then the first digit's value
    bool kept;
};
void PrintTo(const SRepeaterRow& row, std::ostream* os) {
    *os << row.model;
}
class MemoryMapRepeater : public testing::TestWithParam<SRepeaterRow> {};

TEST_P(MemoryMapRepeater, ForcedOffWithoutDisplayOnModels4And5) {
    const SRepeaterRow& row = GetParam();
    CVirtualCP image;
    image.ClearForRead();
    const QByteArray model(row.model);
    for (int k = 0; k < 3; ++k) {
        image.SetByte(vcp::ImageField("model").offset + k, quint8(model[k]));
    }
    image.SetByte(vcp::ImageField("model").offset + 3, quint8(model[3] - '0'));
    QByteArray limits(mm::Block("limits").length, '\0');
    limits[13] = char(0x80);
    mm::UnpackLimits(limits, image);
    EXPECT_EQ(image.Number(vcp::ImageField("disable_repeater_feature")), row.kept ? 1u : 0u);
}
INSTANTIATE_TEST_SUITE_P(MemoryMap, MemoryMapRepeater,
                         testing::Values(SRepeaterRow{"CUR4", false}, SRepeaterRow{"CVR5", false},
                                         SRepeaterRow{"CUD4", true}, SRepeaterRow{"CVD5", true},
                                         SRepeaterRow{"CUR3", true}, SRepeaterRow{"CUR6", true}));

TEST(MemoryMapLimits, RepeaterStepClearsOnlyTheTopBit) {
    EXPECT_EQ(mm::RepeaterLimitToWrite(0xFF), 0x7F);
    EXPECT_EQ(mm::RepeaterLimitToWrite(0x85), 0x05);
    EXPECT_EQ(mm::RepeaterLimitToWrite(0x2A), 0x2A);
}

// ---- Identification into the radio information record ----

TEST(MemoryMapIdentification, BlocksFillTheirBytes) {
    CRadioInfo info;
    mm::UnpackIdentification(Hex("43 55 44 04 01 06 30 30 52 03"), info);
    mm::UnpackPassword(QByteArray("1234"), info);
    mm::UnpackFrequencyCapacity(Hex("63 ff ff ff ff ff ff ff"), info);
    mm::UnpackSerialClone(Hex("07"), info);
    mm::UnpackCodeCapacity(Hex("fa"), false, info);
    EXPECT_EQ(HexOf(QByteArrayView(info.Bytes().data(), 21)),
              HexOf(Hex("43 55 44 04 01 06 30 30 00 00 00 52 03 31 32 33 34 63 07 00 7a")));
    mm::UnpackCodeCapacity(Hex("fa"), true, info);
    EXPECT_EQ(info.Byte(20), 0xFA);
}

// ---- Radio parameter images ----

struct SParameterRow {
    const char* letters;
    quint8 firstDigit;
    int image;  // 0 none, 1 A, 2 B
};
void PrintTo(const SParameterRow& row, std::ostream* os) {
    *os << row.letters << int(row.firstDigit);
}
class MemoryMapParameters : public testing::TestWithParam<SParameterRow> {};

TEST_P(MemoryMapParameters, ImageByModel) {
    const SParameterRow& row = GetParam();
    CVirtualCP image;
    for (int k = 0; k < 3; ++k) {
        image.SetByte(vcp::ImageField("model").offset + k, quint8(row.letters[k]));
    }
    image.SetByte(vcp::ImageField("model").offset + 3, row.firstDigit);
    const auto chosen = mm::ParameterImageFor(image);
    ASSERT_EQ(chosen.has_value(), row.image != 0);
    if (chosen) {
        EXPECT_EQ(*chosen, row.image == 1 ? mm::ParameterImageA() : mm::ParameterImageB());
    }
}
INSTANTIATE_TEST_SUITE_P(MemoryMap, MemoryMapParameters,
                         testing::Values(SParameterRow{"CVR", 5, 1}, SParameterRow{"CVD", 5, 1},
                                         SParameterRow{"CUR", 4, 2}, SParameterRow{"CUD", 4, 2},
                                         SParameterRow{"CVR", 4, 0}, SParameterRow{"CUR", 5, 0}));

TEST(MemoryMapParameters, ImagesDifferInOneByteOnly) {
    const auto& a = mm::ParameterImageA();
    const auto& b = mm::ParameterImageB();
    std::vector<int> differing;
    for (int i = 0; i < mm::kParameterImageSize; ++i) {
        if (a[std::size_t(i)] != b[std::size_t(i)]) {
            differing.push_back(i);
        }
    }
    ASSERT_EQ(differing.size(), 1u);
    EXPECT_EQ(a[std::size_t(differing[0])], 0x43);
    EXPECT_EQ(b[std::size_t(differing[0])], 0x33);
    EXPECT_EQ(HexOf(QByteArrayView(a.data(), 4)), "25 f0 00 78");
    EXPECT_EQ(HexOf(QByteArrayView(a.data() + 192, 4)), "00 05 32 86");
}

// ---- Bad input: a clear error, nothing half unpacked ----

struct SLengthRow {
    const char* name;
    void (*unpack)(QByteArrayView, CVirtualCP&);
    int length;
};
void PrintTo(const SLengthRow& row, std::ostream* os) {
    *os << row.name << " " << row.length;
}
class MemoryMapLengths : public testing::TestWithParam<SLengthRow> {};

TEST_P(MemoryMapLengths, WrongLengthRaisesAndLeavesTheImage) {
    CVirtualCP image;
    image.ClearForRead();
    const auto before = image.Bytes();
    try {
        GetParam().unpack(QByteArray(GetParam().length, '\x5A'), image);
        ADD_FAILURE() << "accepted " << GetParam().length << " bytes";
    } catch (const CVeskCPSException& e) {
        EXPECT_TRUE(e.Text().contains(QStringLiteral("0x1"))) << e.Text().toStdString();
    }
    EXPECT_TRUE(image.Bytes() == before);
}
INSTANTIATE_TEST_SUITE_P(MemoryMap, MemoryMapLengths,
                         testing::Values(SLengthRow{"main", mm::UnpackMainBlock, 386},
                                         SLengthRow{"main", mm::UnpackMainBlock, 411},
                                         SLengthRow{"limits", mm::UnpackLimits, 19},
                                         SLengthRow{"identity", mm::UnpackIdentity, 0},
                                         SLengthRow{"band_edges", mm::UnpackBandEdges, 7},
                                         SLengthRow{"synth_base", mm::UnpackSynthBase, 3},
                                         SLengthRow{"frequencies", mm::UnpackFrequencies, 13},
                                         SLengthRow{"frequencies", mm::UnpackFrequencies, 600}));

TEST(MemoryMapMain, ShortReadBackIsRefused) {
    CVirtualCP image;
    EXPECT_THROW(mm::PackMainBlock(image, QByteArray(385, '\0')), CVeskCPSException);
}

// ---- Random radio bytes: unpack then pack gives them back ----

QByteArray RandomBytes(std::mt19937& random, int size) {
    QByteArray bytes(size, '\0');
    for (char& c : bytes) {
        c = char(random() & 0xFF);
    }
    return bytes;
}

class MemoryMapRandom : public testing::TestWithParam<unsigned> {};

TEST_P(MemoryMapRandom, MainBlockSurvivesUnpackAndPack) {
    std::mt19937 random(GetParam());
    const QByteArray block = RandomBytes(random, mm::kMainSize);
    const quint32 maxCodes = quint32(random() % 256);
    const quint32 maxChannels = quint32(random() % 20);

    CVirtualCP image;
    image.ClearForRead();
    image.SetNumber(vcp::ImageField("maxCodes"), maxCodes);
    image.SetNumber(vcp::ImageField("maxChannels"), maxChannels);
    mm::UnpackMainBlock(block, image);
    const QByteArray packed = mm::PackMainBlock(image, block.first(mm::kMainReadBack));

    const int written = maxCodes > 213 ? 410 : maxCodes > 122 ? 398 : 386;
    ASSERT_EQ(packed.size(), written);
    for (int b = 0; b < written; ++b) {
        const int record = (b - mm::kChannelRecordBase) / mm::kPackedChannelSize;
        const bool checkByte = b >= mm::kChannelRecordBase && b < 302 &&
                               (b - mm::kChannelRecordBase) % mm::kPackedChannelSize == 13;
        if (checkByte && quint32(record) < maxChannels) {
            quint8 sum = 0x5A;
            for (int k = b - 13; k < b; ++k) {
                sum = quint8(sum + quint8(packed[k]));
            }
            EXPECT_EQ(quint8(packed[b]), sum) << "check byte of record " << record;
            continue;
        }
        // Bits the write always sets itself: the scramble button and the low bits of byte 32.
        const quint8 decided = b == 3 ? 0x10 : b == 32 ? 0x1F : 0x00;
        const quint8 expected = b < mm::kMainReadBack ? quint8(block[b]) : quint8(packed[b]);
        EXPECT_EQ(quint8(packed[b]) & ~decided, expected & ~decided) << "block byte " << b;
    }
    // Nothing past what was read back is ours to carry.
    for (int b = mm::kMainReadBack; b < written; ++b) {
        EXPECT_EQ(quint8(packed[b]), 0) << "block byte " << b;
    }
}

TEST_P(MemoryMapRandom, OtherBlocksSurviveUnpackAndPack) {
    std::mt19937 random(GetParam());
    struct SCase {
        const char* name;
        std::span<const SBits> rows;
        int size;
        bool newer;
    };
    const SCase cases[] = {
        {"limits older", mm::kLimitBlock, 20, false}, {"limits newer", mm::kLimitBlock, 20, true},
        {"identity", mm::kIdentityBlock, 32, false},  {"band edges", mm::kBandEdges, 8, false},
        {"synth base", mm::kSynthBase, 2, false},     {"serial clone", mm::kSerialClone, 1, false},
    };
    for (const SCase& c : cases) {
        const QByteArray bytes = RandomBytes(random, c.size);
        CVirtualCP image;
        mm::Unpack(c.rows, bytes, image, {c.newer, 0});
        QByteArray packed = bytes;
        mm::Pack(c.rows, image, packed, {c.newer, 0});
        EXPECT_EQ(HexOf(packed), HexOf(bytes)) << c.name;
        // Packing into zeros gives the same bytes wherever the image carries them.
        QByteArray fresh(c.size, '\0');
        mm::Pack(c.rows, image, fresh, {c.newer, 0});
        CVirtualCP again;
        mm::Unpack(c.rows, fresh, again, {c.newer, 0});
        EXPECT_TRUE(again.Bytes() == image.Bytes()) << c.name;
    }

    const QByteArray records = RandomBytes(random, 5 * mm::kPackedFrequencySize);
    CVirtualCP image;
    mm::UnpackFrequencies(records, image);
    for (int n = 0; n < 5; ++n) {
        QByteArray expected = records.mid(n * mm::kPackedFrequencySize, mm::kPackedFrequencySize);
        expected[0] = char(quint8(expected[0]) & 0x7F);
        EXPECT_EQ(HexOf(mm::PackFrequency(image, n)), HexOf(expected)) << "frequency " << n;
    }
}

INSTANTIATE_TEST_SUITE_P(MemoryMap, MemoryMapRandom, testing::Range(1u, 41u));

// ---- Every template's image goes to the radio and comes back ----

class MemoryMapTemplates : public testing::TestWithParam<QString> {};

TEST_P(MemoryMapTemplates, PackThenUnpackGivesTheImageBack) {
    const QString path = QStringLiteral(VESK_SOURCE_DIR "/install/profiletemplate/") + GetParam();
    const std::optional<QString> text = profile_file::Read(path);
    ASSERT_TRUE(text.has_value()) << path.toStdString();
    CVirtualCP image;
    CRadioInfo radio;
    radio.SetNumber(vcp::RadioInfoField("codeplug_version"), 3);
    ASSERT_EQ(CDataAdaptor::XML2VirtualCP(*text, image, radio), 1);

    // What the radio would hold after the write, block by block.
    QByteArray identity(32, '\0');
    mm::Pack(mm::kIdentityBlock, image, identity);
    QByteArray synth(2, '\0');
    mm::Pack(mm::kSynthBase, image, synth);
    QByteArray band(8, '\0');
    mm::Pack(mm::kBandEdges, image, band);
    QByteArray limits(20, '\0');
    mm::Pack(mm::kLimitBlock, image, limits, mm::ConditionsOf(image));
    QByteArray clone(1, '\0');
    mm::Pack(mm::kSerialClone, image, clone);
    QByteArray main = mm::PackMainBlock(image, QByteArray(mm::kMainReadBack, '\0'));
    main.append(QByteArray(mm::kMainSize - main.size(), '\0'));
    QByteArray frequencies;
    const int records = int(image.Number(vcp::ImageField("max_valid_freqs")));
    for (int n = 0; n < records; ++n) {
        frequencies += mm::PackFrequency(image, n);
    }

    CVirtualCP back;
    back.ClearForRead();
    for (const char* name : {"firmware_phase", "firmware_version", "firmware_revision"}) {
        const vcp::SField* field = vcp::FindImageField(QString::fromLatin1(name));
        back.SetRaw(*field, image.Raw(*field));
    }
    mm::UnpackIdentity(identity, back);
    mm::UnpackSynthBase(synth, back);
    mm::UnpackBandEdges(band, back);
    mm::UnpackLimits(limits, back);
    mm::UnpackSerialClone(clone, back);
    mm::UnpackMainBlock(main, back);
    mm::UnpackFrequencies(frequencies, back);

    const quint32 maxCodes = image.Number(vcp::ImageField("maxCodes"));
    const quint8 firstDigit = image.Byte(0x009);
    const bool repeaterForced = (firstDigit == 4 || firstDigit == 5) && image.Byte(0x008) != 'D';
    for (const vcp::SField& field : vcp::kImageFields) {
        if (!field.IsAttribute()) {
            continue;
        }
        const QString name = QString::fromLatin1(field.name.data(), qsizetype(field.name.size()));
        QByteArray expected = image.Raw(field);
        if (name == QStringLiteral("disable_repeater_feature") && repeaterForced) {
            expected = QByteArray(1, '\0');
        }
        if (name.startsWith(QStringLiteral("KTcode"))) {
            const bool second = name.mid(6).toInt() >= 214;
            if (maxCodes <= (second ? 213u : 122u)) {
                expected = QByteArray(2, '\xFF');
            }
        }
        EXPECT_EQ(HexOf(back.Raw(field)), HexOf(expected)) << field.name;
    }
    for (const vcp::SButtonSlot& slot : vcp::kButtonSlots) {
        EXPECT_EQ(back.ButtonSlot(slot.slot), image.ButtonSlot(slot.slot)) << slot.name;
    }
    for (int n = 0; n < vcp::kChannelCount; ++n) {
        EXPECT_EQ(back.InScanList(n), image.InScanList(n)) << "scan list " << n;
    }
    const int channels = int(image.Number(vcp::ImageField("maxChannels")));
    for (int n = 0; n < channels; ++n) {
        for (const vcp::SField& field : vcp::kChannelFields) {
            if (field.IsAttribute()) {
                EXPECT_EQ(HexOf(back.ChannelRaw(n, field)), HexOf(image.ChannelRaw(n, field)))
                    << "channel " << n << " " << field.name;
            }
        }
    }
    for (int n = 0; n < records; ++n) {
        EXPECT_EQ(back.SynthCode(n), image.SynthCode(n)) << "frequency " << n;
        EXPECT_EQ(back.FrequencyHz(n), image.FrequencyHz(n)) << "frequency " << n;
        for (const char* name : {"power_level", "compander_lle_mode", "bandwidth"}) {
            const vcp::SField* field = vcp::FindFrequencyField(QString::fromLatin1(name));
            EXPECT_EQ(back.FrequencyNumber(n, *field), image.FrequencyNumber(n, *field))
                << "frequency " << n << " " << name;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(MemoryMap, MemoryMapTemplates, testing::ValuesIn(InstalledTemplateFiles()),
                         [](const testing::TestParamInfo<QString>& p) {
                             return p.param.section(QLatin1Char('.'), 0, 0).toStdString();
                         });

}  // namespace
