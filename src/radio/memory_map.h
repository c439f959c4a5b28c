#pragma once

// The radio's own packed layout of the codeplug: the blocks we read and write by 24-bit address,
// and how their bits map onto the image (CVirtualCP) and the radio information (CRadioInfo).
//
// Each block is one table of bit runs. Packing and unpacking both walk the same table, so a field's
// place is written down once; every bit of a block is named, the radio's own ones included, so that
// packing into the bytes just read from the radio leaves what we do not understand untouched.

#include <array>
#include <cstddef>
#include <optional>
#include <span>
#include <string_view>

#include <QByteArray>
#include <QByteArrayView>
#include <QtGlobal>

#include "radio/protocol.h"
#include "radio/virtual_cp.h"

namespace mm {

struct SBlock {
    std::string_view name;
    quint32 address;
    int length;
};

// Every radio block the program reads or writes.
inline constexpr std::array kBlocks = std::to_array<SBlock>({
    {"main", 0x10000, 410},
    {"password", 0x10009, 4},
    {"frequency_records", 0x10800, 6},  // per record
    {"band_edges", 0x10A80, 8},
    {"limits", 0x10A8C, 20},
    {"older_code_capacity", 0x10A91, 1},
    {"frequency_capacity", 0x10A92, 8},
    {"repeater_limit", 0x10A99, 1},
    {"newer_code_capacity", 0x10A9E, 1},
    {"serial_clone", 0x10C01, 1},
    {"compander_option", 0x10C8E, 1},
    {"radio_parameters", 0x10C9C, 196},
    {"synth_base", 0x10D80, 2},
    {"identity", 0x10E18, 32},
    {"identification", 0x10E22, 10},
    {"cleared_pair", 0x20466, 2},
});

consteval const SBlock& Block(std::string_view name) {
    for (const SBlock& block : kBlocks) {
        if (block.name == name) {
            return block;
        }
    }
    throw "no such radio block";
}

inline constexpr int kMainReadBack = 386;
inline constexpr int kMainWithFirstTones = 398;
inline constexpr int kMainSize = 410;
inline constexpr int kChannelRecordBase = 36;
inline constexpr int kPackedChannelSize = 14;
inline constexpr int kPackedFrequencySize = 6;
inline constexpr int kParameterImageSize = 196;
inline constexpr quint8 kChannelCheckSeed = 0x5A;
// Squelch code capacities above which the radio carries the first and second six tone words.
inline constexpr quint32 kFirstToneCodes = 122;
inline constexpr quint32 kSecondToneCodes = 213;

static_assert(Block("main").length == kMainSize);
static_assert(Block("radio_parameters").length == kParameterImageSize);
static_assert(Block("frequency_records").length == kPackedFrequencySize);

// How one run of block bits travels.
enum class Carry {
    Field,           // block bits <-> image bits, both ways
    Inverted,        // a one-bit flag stored the other way round in the radio
    BigEndian,       // `count` block bytes form one big-endian number
    RadioOwned,      // not ours: packing keeps the bits as read
    Unpacked,        // copied into the image on reading, but the radio keeps the last word
    ZeroOnWrite,     // not read; packing writes zeros
    ScrambleButton,  // not read; packing derives it from the buttons (see PackMainBlock)
    CheckByte,       // the channel record's check byte: copied on reading, computed on packing
    ChannelRecords,  // the packed channel records, with their own table
};

// When a run counts: the limit block's layout depends on the firmware, the tone words on the
// radio's squelch code capacity. A run whose condition fails is left alone both ways.
enum class When { Always, OlderFirmware, NewerFirmware, FirstTones, SecondTones };

// Bits high..low of `count` consecutive block bytes from `byte`. Unless the run is BigEndian, each
// byte k carries bits of the target number at `target` + k (a little-endian number of
// `targetWidth` bytes), shifted left by `targetShift`.
struct SBits {
    std::string_view name;
    int byte;
    int count;
    int high;
    int low;
    int target;  // offset in the image, the image record or the radio information; -1 for none
    int targetWidth;
    int targetShift;
    Carry carry;
    When when = When::Always;

    constexpr int Width() const { return high - low + 1; }
    constexpr quint32 Mask() const { return (1u << Width()) - 1u; }
    constexpr quint8 ByteMask() const { return quint8(Mask() << low); }
};

// Rows built from the image tables, so that an image offset is never spelt twice.
constexpr SBits Bits(int byte, int high, int low, const vcp::SField& field, int shift = 0,
                     Carry carry = Carry::Field, When when = When::Always) {
    return {field.name, byte, 1, high, low, field.offset, field.width, shift, carry, when};
}
constexpr SBits Bytes(int byte, const vcp::SField& field, int count = -1) {
    const int n = count < 0 ? field.width : count;
    return {field.name, byte, n, 7, 0, field.offset, 1, 0, Carry::Field, When::Always};
}
constexpr SBits Word(int byte, int count, const vcp::SField& field, When when = When::Always) {
    return {field.name, byte, count, 7, 0, field.offset, field.width, 0, Carry::BigEndian, when};
}
constexpr SBits Owned(std::string_view name, int byte, int count, int high = 7, int low = 0) {
    return {name, byte, count, high, low, -1, 0, 0, Carry::RadioOwned, When::Always};
}
// Button slot n: byte 13 + n/2 of the main block, the same half as in the image.
constexpr SBits Slot(std::string_view name, int n, Carry carry) {
    const int high = n % 2 == 1 ? 7 : 3;
    return {name, 13 + n / 2, 1,     high,        high - 3, vcp::kButtonBase + n / 2,
            1,    high - 3,   carry, When::Always};
}

// One byte of a wider image field, as a field of its own.
constexpr vcp::SField Part(const vcp::SField& field, int k) {
    return {field.name, field.element, field.offset + k, 1, field.encoding};
}

inline constexpr std::array kMainBlock = std::to_array<SBits>({
    Bits(0, 7, 4, vcp::ImageField("accessoryMicrophoneGain")),
    Bits(0, 3, 2, vcp::ImageField("microphoneGain")),
    Bits(0, 1, 0, vcp::ImageField("vox_level")),
    Bits(1, 7, 6, vcp::ImageField("ivol_level")),
    Bits(1, 5, 5, vcp::ImageField("backlight_enabled")),
    Bits(1, 4, 4, vcp::ImageField("reverseBurst")),
    Bits(1, 3, 3, vcp::ImageField("keypadBeep"), 0, Carry::Inverted),
    Bits(1, 2, 2, vcp::ImageField("keypadLock")),
    Bits(1, 1, 1, vcp::ImageField("rogerBeepTone")),
    Bits(1, 0, 0, vcp::ImageField("batteryType")),
    Bits(2, 7, 7, vcp::ImageField("disableRestoreFactoryDefault")),
    Owned("settings_2", 2, 1, 6, 0),
    Owned("settings_3", 3, 1, 7, 7),
    Bits(3, 6, 6, vcp::ImageField("disableBatterySave")),
    Bits(3, 5, 5, vcp::ImageField("disableSelectableScramble")),
    {"scramble_button", 3, 1, 4, 4, -1, 0, 0, Carry::ScrambleButton, When::Always},
    Bits(3, 3, 0, vcp::ImageField("callTone")),
    Bits(4, 7, 0, vcp::ImageField("preset_1")),
    Bits(5, 7, 0, vcp::ImageField("preset_2")),
    Bits(6, 7, 7, vcp::ImageField("disableLED")),
    Bits(6, 6, 0, vcp::ImageField("numberChannels")),
    Bits(7, 7, 0, vcp::ImageField("backlight_timeout")),
    Bits(8, 7, 0, vcp::ImageField("timeoutTimer")),
    Bytes(9, vcp::ImageField("password")),
    Slot("slot_0", 0, Carry::Unpacked),
    Slot("slot_1", 1, Carry::Unpacked),
    Slot("slot_2", 2, Carry::Unpacked),
    Slot("slot_3", 3, Carry::Unpacked),
    Slot("slot_4", 4, Carry::Unpacked),
    Slot("upper_right_but", 5, Carry::Field),
    Slot("side1_but", 6, Carry::Field),
    Slot("slot_7", 7, Carry::Unpacked),
    Slot("lower_left_but", 8, Carry::Field),
    Slot("lower_right_but", 9, Carry::Field),
    Slot("slot_10", 10, Carry::Unpacked),
    Slot("side2_but", 11, Carry::Field),
    Slot("slot_12", 12, Carry::Unpacked),
    Slot("slot_13", 13, Carry::Unpacked),
    Slot("slot_14", 14, Carry::Unpacked),
    Slot("slot_15", 15, Carry::Unpacked),
    Bytes(21, vcp::ImageField("scan_list")),
    Bytes(24, vcp::ImageField("powerupString")),
    Bits(32, 7, 5, vcp::ImageField("voice_language")),
    {"settings_32", 32, 1, 4, 0, -1, 0, 0, Carry::ZeroOnWrite, When::Always},
    Owned("main_33", 33, 3),
    {"channels", kChannelRecordBase, vcp::kChannelCount* kPackedChannelSize, 7, 0, -1, 0, 0,
     Carry::ChannelRecords, When::Always},
    Word(302, 2, vcp::ImageField("KTcode124"), When::FirstTones),
    Word(304, 2, vcp::ImageField("KTcode125"), When::FirstTones),
    Word(306, 2, vcp::ImageField("KTcode126"), When::FirstTones),
    Word(308, 2, vcp::ImageField("KTcode127"), When::FirstTones),
    Word(310, 2, vcp::ImageField("KTcode128"), When::FirstTones),
    Word(312, 2, vcp::ImageField("KTcode129"), When::FirstTones),
    Word(314, 2, vcp::ImageField("KTcode214"), When::SecondTones),
    Word(316, 2, vcp::ImageField("KTcode215"), When::SecondTones),
    Word(318, 2, vcp::ImageField("KTcode216"), When::SecondTones),
    Word(320, 2, vcp::ImageField("KTcode217"), When::SecondTones),
    Word(322, 2, vcp::ImageField("KTcode218"), When::SecondTones),
    Word(324, 2, vcp::ImageField("KTcode219"), When::SecondTones),
    Owned("main_326", 326, kMainSize - 326),
});

// Offsets are within the 22-byte image channel record.
inline constexpr std::array kChannelRecord = std::to_array<SBits>({
    Bits(0, 7, 0, vcp::ChannelField("rx_freq_ndx")),
    Bits(1, 7, 0, vcp::ChannelField("rx_code")),
    Bits(2, 7, 0, vcp::ChannelField("tx_freq_ndx")),
    Bits(3, 7, 0, vcp::ChannelField("tx_code")),
    Bits(4, 7, 7, vcp::ChannelField("tx_bw")),
    Bits(4, 6, 6, vcp::ChannelField("talkaround_power")),
    Bits(4, 5, 5, vcp::ChannelField("autoScan")),
    Bits(4, 4, 3, vcp::ChannelField("scramble_code")),
    Bits(4, 2, 2, vcp::ChannelField("repeater")),
    Bits(4, 1, 1, vcp::ChannelField("rx_bw")),
    Bits(4, 0, 0, vcp::ChannelField("repeater_power")),
    Bits(5, 7, 7, vcp::ChannelField("disable_channel")),
    Bits(5, 6, 0, Part(vcp::ChannelField("name"), 0)),
    Bits(6, 7, 7, vcp::ChannelField("talkaround_scan")),
    Bits(6, 6, 0, Part(vcp::ChannelField("name"), 1)),
    {"name", 7, 6, 6, 0, vcp::ChannelField("name").offset + 2, 1, 0, Carry::Field, When::Always},
    // Ignored on reading; the radio's value is written back rather than guessed.
    Owned("name_bit_7", 7, 6, 7, 7),
    {"check_byte", 13, 1, 7, 0, vcp::ChannelField("check_byte").offset, 1, 0, Carry::CheckByte,
     When::Always},
});

// Offsets are within the 16-byte image frequency record.
inline constexpr std::array kFrequencyRecord = std::to_array<SBits>({
    {"frequency_0", 0, 1, 7, 7, -1, 0, 0, Carry::ZeroOnWrite, When::Always},
    Bits(0, 6, 3, vcp::FrequencyField("reference_divider")),
    Bits(0, 2, 0, vcp::FrequencyField("integer_part"), 4),
    Bits(1, 7, 4, vcp::FrequencyField("integer_part")),
    Bits(1, 3, 2, vcp::FrequencyField("power_level")),
    Bits(1, 1, 0, vcp::FrequencyField("compander_lle_mode")),
    Bits(2, 7, 6, vcp::FrequencyField("bandwidth")),
    Bits(2, 5, 3, vcp::FrequencyField("synth_mode")),
    Bits(2, 2, 0, vcp::FrequencyField("fraction_high"), 8),
    Bits(3, 7, 0, vcp::FrequencyField("fraction_high")),
    Word(4, 2, vcp::FrequencyField("fraction_low")),
});

inline constexpr std::array kBandEdges = std::to_array<SBits>({
    Word(0, 4, vcp::ImageField("start_freq")),
    Word(4, 4, vcp::ImageField("end_freq")),
});

inline constexpr std::array kSynthBase = std::to_array<SBits>({
    Word(0, 2, vcp::ImageField("synth_base_int_part")),
});

inline constexpr std::array kLimitBlock = std::to_array<SBits>({
    Owned("limits_0", 0, 4),
    Owned("limits_4", 4, 1, 7, 5),
    Bits(4, 4, 0, vcp::ImageField("maxChannels")),
    Owned("limits_5", 5, 1, 7, 7),
    Bits(5, 6, 0, vcp::ImageField("maxCodes"), 0, Carry::Field, When::OlderFirmware),
    Bits(6, 7, 0, vcp::ImageField("max_valid_freqs")),
    Owned("limits_7", 7, 1, 7, 6),
    Bits(7, 5, 5, vcp::ImageField("programming_mode_enabled")),
    Bits(7, 4, 3, vcp::ImageField("maxPresetButtons")),
    Bits(7, 2, 2, vcp::ImageField("voice_chip_enable")),
    Bits(7, 1, 1, vcp::ImageField("disable_channel_enable")),
    Bits(7, 0, 0, vcp::ImageField("talkaround_scan_enable")),
    Owned("limits_8", 8, 1, 7, 3),
    Bits(8, 2, 0, vcp::ImageField("max_call_tones")),
    Owned("limits_9", 9, 1),
    Bits(10, 7, 7, vcp::ImageField("disable_time_out_timer")),
    Bits(10, 6, 6, vcp::ImageField("limit_flag_029")),
    Bits(10, 5, 5, vcp::ImageField("disable_keypad_beep_feature")),
    Bits(10, 4, 4, vcp::ImageField("disable_roger_beep_feature")),
    Bits(10, 3, 3, vcp::ImageField("disable_busy_led_mode")),
    Bits(10, 2, 2, vcp::ImageField("enable_reverse_burst")),
    Bits(10, 1, 1, vcp::ImageField("disable_vox_feature")),
    Bits(10, 0, 0, vcp::ImageField("disable_ivox_feature")),
    Bits(11, 7, 7, vcp::ImageField("disable_scramble_feature")),
    Bits(11, 6, 6, vcp::ImageField("disable_battery_save_feature")),
    Bits(11, 5, 5, vcp::ImageField("factory_reset_disable")),
    Bits(11, 4, 4, vcp::ImageField("disable_scan_mode")),
    Bits(11, 3, 3, vcp::ImageField("backlight_button_enabled")),
    Bits(11, 2, 2, vcp::ImageField("power_cntrl_enabled")),
    Owned("limits_11", 11, 1, 1, 0),
    Owned("limits_12", 12, 1),
    Bits(13, 7, 7, vcp::ImageField("disable_repeater_feature")),
    Bits(13, 6, 6, vcp::ImageField("call_feature_disable")),
    Bits(13, 5, 5, vcp::ImageField("monitor_feature_disable")),
    Owned("limits_13", 13, 1, 4, 0),
    Owned("limits_14", 14, 2),
    Owned("limits_16", 16, 1, 7, 4),
    Bits(16, 3, 3, vcp::ImageField("disable_keypad_lock_feature")),
    Owned("limits_16_low", 16, 1, 2, 0),
    Owned("limits_17", 17, 1),
    Bits(18, 7, 0, vcp::ImageField("maxCodes"), 0, Carry::Field, When::NewerFirmware),
    Owned("limits_19", 19, 1),
});

inline constexpr std::array kIdentityBlock = std::to_array<SBits>({
    Bytes(0, vcp::ImageField("serial")),
    Bytes(10, vcp::ImageField("model")),
    Bits(18, 7, 0, vcp::ImageField("codeplug_phase")),
    Bits(19, 7, 0, vcp::ImageField("codeplug_version")),
    Bits(20, 7, 0, vcp::ImageField("codeplug_dev_version")),
    Owned("identity_21", 21, 11),
});

inline constexpr std::array kSerialClone = std::to_array<SBits>({
    Bits(0, 7, 0, vcp::ImageField("serial_clone_compatibility")),
});

// The blocks identification reads go to the radio information record.
inline constexpr std::array kIdentification = std::to_array<SBits>({
    Bytes(0, vcp::RadioInfoField("model")),
    Bits(8, 7, 0, vcp::RadioInfoField("codeplug_phase")),
    Bits(9, 7, 0, vcp::RadioInfoField("codeplug_version")),
});
inline constexpr std::array kPasswordInfo = std::to_array<SBits>({
    Bytes(0, vcp::RadioInfoField("password")),
});
inline constexpr std::array kFrequencyCapacityInfo = std::to_array<SBits>({
    Bits(0, 7, 0, vcp::RadioInfoField("block_10A92_first")),
    Owned("frequency_capacity_1", 1, 7),
});
inline constexpr std::array kSerialCloneInfo = std::to_array<SBits>({
    Bits(0, 7, 0, vcp::RadioInfoField("serial_clone_compatibility")),
});
inline constexpr std::array kNewerCodeCapacityInfo = std::to_array<SBits>({
    Bits(0, 7, 0, vcp::RadioInfoField("code_capacity")),
});
inline constexpr std::array kOlderCodeCapacityInfo = std::to_array<SBits>({
    Owned("older_code_capacity_7", 0, 1, 7, 7),
    Bits(0, 6, 0, vcp::RadioInfoField("code_capacity")),
});

// True when every bit of `size` bytes is named by exactly one run and every run is well formed.
template <std::size_t N>
constexpr bool CoversBits(const std::array<SBits, N>& rows, int size) {
    std::array<quint8, kMainSize> seen{};
    if (size > kMainSize) {
        return false;
    }
    for (const SBits& row : rows) {
        if (row.high > 7 || row.low < 0 || row.low > row.high || row.count <= 0 || row.byte < 0 ||
            row.byte + row.count > size) {
            return false;
        }
        for (int k = 0; k < row.count; ++k) {
            quint8& bits = seen[std::size_t(row.byte + k)];
            if ((bits & row.ByteMask()) != 0) {
                return false;
            }
            bits = quint8(bits | row.ByteMask());
        }
    }
    for (int b = 0; b < size; ++b) {
        if (seen[std::size_t(b)] != 0xFF) {
            return false;
        }
    }
    return true;
}
static_assert(CoversBits(kMainBlock, kMainSize));
static_assert(CoversBits(kChannelRecord, kPackedChannelSize));
static_assert(CoversBits(kFrequencyRecord, kPackedFrequencySize));
static_assert(CoversBits(kBandEdges, Block("band_edges").length));
static_assert(CoversBits(kSynthBase, Block("synth_base").length));
static_assert(CoversBits(kLimitBlock, Block("limits").length));
static_assert(CoversBits(kIdentityBlock, Block("identity").length));
static_assert(CoversBits(kSerialClone, Block("serial_clone").length));
static_assert(CoversBits(kIdentification, Block("identification").length));
static_assert(CoversBits(kPasswordInfo, Block("password").length));
static_assert(CoversBits(kFrequencyCapacityInfo, Block("frequency_capacity").length));
static_assert(CoversBits(kSerialCloneInfo, Block("serial_clone").length));
static_assert(CoversBits(kNewerCodeCapacityInfo, Block("newer_code_capacity").length));
static_assert(CoversBits(kOlderCodeCapacityInfo, Block("older_code_capacity").length));

// The conditions of a table as the image decides them.
struct SConditions {
    bool newerFirmware = false;
    quint32 maxCodes = 0;

    bool Holds(When when) const;
};
// The image's firmware (offsets 0x000..0x002) against the layout change of the limit block.
bool IsNewerFirmware(const CVirtualCP& image);
SConditions ConditionsOf(const CVirtualCP& image);

// The generic walk. `base` is the offset of the target record inside `record`. Unpacking first
// zeroes every target it fills, so that stale bits never leak through; packing starts from
// `bytes`, which must hold the block as read from the radio (or zeros when there is none).
template <int Size>
void Unpack(std::span<const SBits> rows, QByteArrayView bytes, CFieldRecord<Size>& record,
            const SConditions& when = {}, int base = 0);
template <int Size>
void Pack(std::span<const SBits> rows, const CFieldRecord<Size>& record, QByteArray& bytes,
          const SConditions& when = {}, int base = 0);

// 0x5A plus the sum of the first thirteen bytes, modulo 256.
quint8 ChannelCheckByte(QByteArrayView packed);

// Blocks of the read operation into a cleared image. The limit block needs the image's firmware
// fields; the main block needs maxCodes, so the limit block comes first. Each raises
// CVeskCPSException (131) naming the block when `bytes` has the wrong length.
void UnpackIdentity(QByteArrayView bytes, CVirtualCP& image);
void UnpackSynthBase(QByteArrayView bytes, CVirtualCP& image);
void UnpackBandEdges(QByteArrayView bytes, CVirtualCP& image);
void UnpackLimits(QByteArrayView bytes, CVirtualCP& image);
void UnpackSerialClone(QByteArrayView bytes, CVirtualCP& image);
void UnpackMainBlock(QByteArrayView bytes, CVirtualCP& image);
// Records 0.. of `bytes` (a whole number of 6-byte records, at most 99).
void UnpackFrequencies(QByteArrayView bytes, CVirtualCP& image);

// Where a read takes the radio's blocks from: the programming link in the read operation, plain
// bytes elsewhere. A source that cannot deliver raises whatever its caller expects to catch; it
// passes through ReadImage untouched.
class IRadioMemory {
public:
    virtual ~IRadioMemory() = default;
    // `count` bytes from the block's address.
    virtual QByteArray Read(const SBlock& block, int count) = 0;
    // The firmware phase, version and revision characters, which decide the limit block's layout.
    virtual FirmwareInfo Firmware() = 0;
    // How far the read has come, in percent.
    virtual void Progress(int percent) = 0;
};

// The read operation's blocks into a cleared image, asked for in the order their unpacking needs
// (the firmware and the limits before the main block; the limits say how many frequency records
// to read). Raises CVeskCPSException (131) when a block comes back at the wrong length or the
// radio says it holds more frequency records than an image can.
void ReadImage(IRadioMemory& radio, CVirtualCP& image);

// Packed channel record n of the image, with its check byte. `readBack` gives the radio's bits
// that the image does not carry; without it they are zero.
QByteArray PackChannel(const CVirtualCP& image, int n, QByteArrayView readBack = {});
QByteArray PackFrequency(const CVirtualCP& image, int n);

// The main block to write, packed into the bytes just read back from the radio (386 at least, up
// to 410): 386, 398 or 410 bytes, by maxCodes. Bytes past what was read back are written as zero.
QByteArray PackMainBlock(const CVirtualCP& image, QByteArrayView readBack);
// How many bytes of the main block a write of `image` sends: 386, 398 or 410, by maxCodes.
int MainBlockWriteLength(const CVirtualCP& image);

// Identification blocks into the radio information record.
void UnpackIdentification(QByteArrayView bytes, CRadioInfo& info);
void UnpackPassword(QByteArrayView bytes, CRadioInfo& info);
void UnpackFrequencyCapacity(QByteArrayView bytes, CRadioInfo& info);
void UnpackSerialClone(QByteArrayView bytes, CRadioInfo& info);
void UnpackCodeCapacity(QByteArrayView bytes, bool newerLayout, CRadioInfo& info);

// The limit byte the firmware R16 step writes back: repeater feature no longer disabled.
quint8 RepeaterLimitToWrite(quint8 read);

// The radio parameter image for the image's model, or none when the model needs none.
std::optional<std::array<quint8, kParameterImageSize>> ParameterImageFor(const CVirtualCP& image);
// The two fixed images, A for the "V" models of first digit 5, B for the others of first digit 4.
const std::array<quint8, kParameterImageSize>& ParameterImageA();
const std::array<quint8, kParameterImageSize>& ParameterImageB();

}  // namespace mm
