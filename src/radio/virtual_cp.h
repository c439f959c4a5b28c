#pragma once

// The codeplug image: the fixed 2145-byte record through which a profile reaches a radio and comes
// back, and the 21-byte record of what identification learnt about the connected radio.
//
// Both layouts are declared once, as the tables below. Reading, writing, the profile attribute
// list of the conversions and the readable dump all walk these tables; no offset is spelt twice.

#include <array>
#include <cstddef>
#include <optional>
#include <span>
#include <string_view>

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>
#include <QtGlobal>

namespace vcp {

inline constexpr int kImageSize = 2145;

inline constexpr int kChannelBase = 0x074;
inline constexpr int kChannelCount = 19;
inline constexpr int kChannelSize = 22;

inline constexpr int kFrequencyBase = 0x230;
inline constexpr int kFrequencyCount = 99;
inline constexpr int kFrequencySize = 16;

inline constexpr int kButtonBase = 0x057;
inline constexpr int kButtonSlotCount = 16;
inline constexpr int kScanListBase = 0x05F;

// The customized tone words, which a read starts from as "not set" rather than zero.
inline constexpr int kToneBase = 0x216;
inline constexpr int kToneCount = 12;
inline constexpr quint16 kToneUnset = 0xFFFF;

inline constexpr int kRadioInfoSize = 21;

// How the bytes of a field are read and written, and so how its profile attribute looks.
enum class Encoding {
    Number,      // unsigned little-endian integer, decimal in the profile
    HexNumber,   // unsigned 8-bit; the profile side is read as hexadecimal, written as decimal
    Flag,        // one byte, 0 or 1; the profile side is 1 only for the text "1"
    Character,   // one code-page character
    HexDigit,    // one hexadecimal digit character, a number 0..15 in the profile
    Model,       // three code-page letters, then five bytes holding one decimal digit value each
    Text,        // code-page characters, zero-padded, no terminator when full
    Buttons,     // sixteen 4-bit button function slots
    ScanList,    // one bit per channel record
    Records,     // the block of channel or frequency records, described by its own table
    Synth,       // synthesizer settings of a frequency record, made from and read as `freq`
    RadioOwned,  // carried between radio and image only; never set from a profile
    Reserved,    // unused; kept as it is
};

// The profile element that carries a field's attribute.
enum class Element { None, FactorySetting, Limit, Setting, Preset, Channel, Frequency };

struct SField {
    std::string_view name;  // the profile attribute, or our own name for bytes without one
    Element element;
    int offset;  // from the start of the record the table describes
    int width;
    Encoding encoding;

    constexpr int End() const { return offset + width; }
    // True when the field has a profile attribute of its own name (button slots, scan bits and
    // the synthesizer are reached through other attributes; a preset byte is the `channel` of its
    // `preset`).
    constexpr bool IsAttribute() const {
        return element != Element::None && encoding != Encoding::Synth &&
               encoding != Encoding::Records;
    }
    // Bytes that a conversion owns: everything except what only the radio or nobody uses.
    constexpr bool IsConverted() const {
        return encoding != Encoding::RadioOwned && encoding != Encoding::Reserved &&
               encoding != Encoding::Records && encoding != Encoding::Buttons;
    }
};

using E = Encoding;
using El = Element;

// The image's top level; the two record blocks appear as one field each.
inline constexpr std::array kImageFields = std::to_array<SField>({
    {"firmware_phase", El::FactorySetting, 0x000, 1, E::Character},
    {"firmware_version", El::FactorySetting, 0x001, 1, E::HexDigit},
    {"firmware_revision", El::FactorySetting, 0x002, 1, E::HexDigit},
    {"codeplug_phase", El::FactorySetting, 0x003, 1, E::Character},
    {"codeplug_version", El::FactorySetting, 0x004, 1, E::HexNumber},
    {"codeplug_dev_version", El::FactorySetting, 0x005, 1, E::HexNumber},
    {"model", El::FactorySetting, 0x006, 8, E::Model},
    {"serial", El::FactorySetting, 0x00E, 10, E::Text},
    {"synth_base_int_part", El::FactorySetting, 0x018, 4, E::Number},
    {"maxChannels", El::Limit, 0x01C, 1, E::Number},
    {"max_valid_freqs", El::Limit, 0x01D, 1, E::Number},
    {"reserved_01E", El::None, 0x01E, 2, E::Reserved},
    {"start_freq", El::Limit, 0x020, 4, E::Number},
    {"end_freq", El::Limit, 0x024, 4, E::Number},
    {"disable_time_out_timer", El::Limit, 0x028, 1, E::Flag},
    {"limit_flag_029", El::None, 0x029, 1, E::RadioOwned},
    {"disable_keypad_beep_feature", El::Limit, 0x02A, 1, E::Flag},
    {"disable_roger_beep_feature", El::Limit, 0x02B, 1, E::Flag},
    {"disable_busy_led_mode", El::Limit, 0x02C, 1, E::Flag},
    {"enable_reverse_burst", El::Limit, 0x02D, 1, E::Flag},
    {"disable_vox_feature", El::Limit, 0x02E, 1, E::Flag},
    {"disable_ivox_feature", El::Limit, 0x02F, 1, E::Flag},
    {"disable_scramble_feature", El::Limit, 0x030, 1, E::Flag},
    {"disable_battery_save_feature", El::Limit, 0x031, 1, E::Flag},
    {"factory_reset_disable", El::Limit, 0x032, 1, E::Flag},
    {"disable_scan_mode", El::Limit, 0x033, 1, E::Flag},
    {"voice_chip_enable", El::Limit, 0x034, 1, E::Flag},
    {"disable_channel_enable", El::Limit, 0x035, 1, E::Flag},
    {"talkaround_scan_enable", El::Limit, 0x036, 1, E::Flag},
    {"max_call_tones", El::Limit, 0x037, 1, E::Number},
    {"maxPresetButtons", El::Limit, 0x038, 1, E::Number},
    {"reserved_039", El::None, 0x039, 3, E::Reserved},
    {"maxCodes", El::Limit, 0x03C, 4, E::Number},
    {"power_cntrl_enabled", El::Limit, 0x040, 1, E::Flag},
    {"backlight_button_enabled", El::Limit, 0x041, 1, E::Flag},
    {"programming_mode_enabled", El::Limit, 0x042, 1, E::Flag},
    {"call_feature_disable", El::Limit, 0x043, 1, E::Flag},
    {"monitor_feature_disable", El::Limit, 0x044, 1, E::Flag},
    {"disable_keypad_lock_feature", El::Limit, 0x045, 1, E::Flag},
    {"disable_repeater_feature", El::Limit, 0x046, 1, E::Flag},
    {"reserved_047", El::None, 0x047, 1, E::Reserved},
    {"password", El::Setting, 0x048, 4, E::Text},
    {"disableLED", El::Setting, 0x04C, 1, E::Flag},
    {"disableRestoreFactoryDefault", El::Setting, 0x04D, 1, E::Flag},
    {"backlight_enabled", El::Setting, 0x04E, 1, E::Flag},
    {"timeoutTimer", El::Setting, 0x04F, 1, E::Number},
    {"reverseBurst", El::Setting, 0x050, 1, E::Flag},
    {"vox_level", El::Setting, 0x051, 1, E::Number},
    {"ivol_level", El::Setting, 0x052, 1, E::Number},
    {"microphoneGain", El::Setting, 0x053, 1, E::Number},
    {"accessoryMicrophoneGain", El::Setting, 0x054, 1, E::Number},
    {"batteryType", El::Setting, 0x055, 1, E::Flag},
    {"disableBatterySave", El::Setting, 0x056, 1, E::Flag},
    {"button_slots", El::None, kButtonBase, 8, E::Buttons},
    {"scan_list", El::None, kScanListBase, 3, E::ScanList},
    {"numberChannels", El::Setting, 0x062, 1, E::Number},
    {"voice_language", El::Setting, 0x063, 1, E::Number},
    {"powerupString", El::Setting, 0x064, 8, E::Text},
    {"disableSelectableScramble", El::Setting, 0x06C, 1, E::Flag},
    {"rogerBeepTone", El::Setting, 0x06D, 1, E::Flag},
    {"keypadLock", El::Setting, 0x06E, 1, E::Flag},
    {"keypadBeep", El::Setting, 0x06F, 1, E::Flag},
    {"callTone", El::Setting, 0x070, 1, E::Number},
    {"preset_1", El::Preset, 0x071, 1, E::Number},
    {"preset_2", El::Preset, 0x072, 1, E::Number},
    {"backlight_timeout", El::Setting, 0x073, 1, E::Number},
    {"channels", El::None, kChannelBase, kChannelCount* kChannelSize, E::Records},
    {"KTcode124", El::Setting, 0x216, 2, E::Number},
    {"KTcode125", El::Setting, 0x218, 2, E::Number},
    {"KTcode126", El::Setting, 0x21A, 2, E::Number},
    {"KTcode127", El::Setting, 0x21C, 2, E::Number},
    {"KTcode128", El::Setting, 0x21E, 2, E::Number},
    {"KTcode129", El::Setting, 0x220, 2, E::Number},
    {"KTcode214", El::Setting, 0x222, 2, E::Number},
    {"KTcode215", El::Setting, 0x224, 2, E::Number},
    {"KTcode216", El::Setting, 0x226, 2, E::Number},
    {"KTcode217", El::Setting, 0x228, 2, E::Number},
    {"KTcode218", El::Setting, 0x22A, 2, E::Number},
    {"KTcode219", El::Setting, 0x22C, 2, E::Number},
    {"reserved_22E", El::None, 0x22E, 2, E::Reserved},
    {"frequencies", El::None, kFrequencyBase, kFrequencyCount* kFrequencySize, E::Records},
    {"serial_clone_compatibility", El::FactorySetting, 0x860, 1, E::Number},
});

// One channel record; offsets from the record's start.
inline constexpr std::array kChannelFields = std::to_array<SField>({
    {"rx_freq_ndx", El::Channel, 0, 1, E::Number},
    {"rx_code", El::Channel, 1, 1, E::Number},
    {"tx_freq_ndx", El::Channel, 2, 1, E::Number},
    {"tx_code", El::Channel, 3, 1, E::Number},
    {"rx_bw", El::Channel, 4, 1, E::Flag},
    {"tx_bw", El::Channel, 5, 1, E::Flag},
    {"talkaround_power", El::Channel, 6, 1, E::Flag},
    {"repeater_power", El::Channel, 7, 1, E::Flag},
    {"repeater", El::Channel, 8, 1, E::Flag},
    {"autoScan", El::Channel, 9, 1, E::Flag},
    {"disable_channel", El::Channel, 10, 1, E::Flag},
    {"talkaround_scan", El::Channel, 11, 1, E::Flag},
    {"scramble_code", El::Channel, 12, 1, E::Number},
    {"name", El::Channel, 13, 8, E::Text},
    {"check_byte", El::None, 21, 1, E::RadioOwned},
});

// One frequency record; offsets from the record's start.
inline constexpr std::array kFrequencyFields = std::to_array<SField>({
    {"reference_divider", El::Frequency, 0, 1, E::Synth},
    {"integer_part", El::Frequency, 1, 1, E::Synth},
    {"power_level", El::Frequency, 2, 1, E::Number},
    {"compander_lle_mode", El::Frequency, 3, 1, E::Number},
    {"bandwidth", El::Frequency, 4, 1, E::Number},
    {"synth_mode", El::Frequency, 5, 1, E::Synth},
    {"reserved_6", El::None, 6, 2, E::Reserved},
    {"fraction_high", El::Frequency, 8, 4, E::Synth},
    {"fraction_low", El::Frequency, 12, 4, E::Synth},
});

inline constexpr std::array kRadioInfoFields = std::to_array<SField>({
    {"model", El::None, 0, 8, E::Model},
    {"firmware_phase", El::None, 8, 1, E::Character},
    {"firmware_version", El::None, 9, 1, E::Character},
    {"firmware_revision", El::None, 10, 1, E::Character},
    {"codeplug_phase", El::None, 11, 1, E::Character},
    {"codeplug_version", El::None, 12, 1, E::Number},
    {"password", El::None, 13, 4, E::Text},
    {"block_10A92_first", El::None, 17, 1, E::Number},
    {"serial_clone_compatibility", El::None, 18, 1, E::Number},
    {"reserved_19", El::None, 19, 1, E::Reserved},
    {"code_capacity", El::None, 20, 1, E::Number},
});

// The five button slots that profiles carry; the other eleven belong to the radio.
struct SButtonSlot {
    std::string_view name;
    int slot;
};
inline constexpr std::array kButtonSlots = std::to_array<SButtonSlot>({
    {"upper_right_but", 5},
    {"side1_but", 6},
    {"lower_left_but", 8},
    {"lower_right_but", 9},
    {"side2_but", 11},
});

// True when the fields follow each other from offset 0 and end exactly at `size`: every byte is
// named once.
template <std::size_t N>
constexpr bool CoversExactly(const std::array<SField, N>& fields, int size) {
    int next = 0;
    for (const SField& field : fields) {
        if (field.offset != next || field.width <= 0) {
            return false;
        }
        next = field.End();
    }
    return next == size;
}
static_assert(CoversExactly(kImageFields, kImageSize));
static_assert(CoversExactly(kChannelFields, kChannelSize));
static_assert(CoversExactly(kFrequencyFields, kFrequencySize));
static_assert(CoversExactly(kRadioInfoFields, kRadioInfoSize));

// The position of the field called `name`, or -1. Lookups go by index rather than by pointer
// so that they stay constant expressions in sanitizer builds, whose null checks on pointers into
// a table the compiler cannot fold.
template <std::size_t N>
constexpr int IndexIn(const std::array<SField, N>& fields, std::string_view name) {
    for (std::size_t i = 0; i < N; ++i) {
        if (fields[i].name == name) {
            return int(i);
        }
    }
    return -1;
}

template <std::size_t N>
constexpr const SField* FindIn(const std::array<SField, N>& fields, std::string_view name) {
    const int i = IndexIn(fields, name);
    return i < 0 ? nullptr : &fields[std::size_t(i)];
}

// Compile-time lookups: a misspelt name does not compile.
consteval const SField& ImageField(std::string_view name) {
    const int i = IndexIn(kImageFields, name);
    return i >= 0 ? kImageFields[std::size_t(i)] : throw "no such image field";
}
consteval const SField& ChannelField(std::string_view name) {
    const int i = IndexIn(kChannelFields, name);
    return i >= 0 ? kChannelFields[std::size_t(i)] : throw "no such channel field";
}
consteval const SField& FrequencyField(std::string_view name) {
    const int i = IndexIn(kFrequencyFields, name);
    return i >= 0 ? kFrequencyFields[std::size_t(i)] : throw "no such frequency field";
}
consteval const SField& RadioInfoField(std::string_view name) {
    const int i = IndexIn(kRadioInfoFields, name);
    return i >= 0 ? kRadioInfoFields[std::size_t(i)] : throw "no such radio information field";
}

// Run-time lookups by attribute name (null when the table has no such field).
const SField* FindImageField(QStringView name);
const SField* FindChannelField(QStringView name);
const SField* FindFrequencyField(QStringView name);
std::optional<int> FindButtonSlot(QStringView name);

// The synthesizer settings of one frequency, as a frequency record holds them.
struct SSynthCode {
    quint8 referenceDivider = 0;
    quint8 integerPart = 0;
    quint8 synthMode = 0;
    quint32 fractionHigh = 0;
    quint32 fractionLow = 0;

    friend bool operator==(const SSynthCode&, const SSynthCode&) = default;
};

// `baseLowByte` is the low byte of synth_base_int_part: the radio keeps the difference modulo 256.
SSynthCode EncodeFrequency(quint32 hz, quint8 baseLowByte);
// `base` is the whole synth_base_int_part.
quint32 DecodeFrequency(const SSynthCode& code, quint32 base);

}  // namespace vcp

// Bytes addressed through a field table, with the access rules every record shares: numbers are
// little-endian and cut to the field's width, texts are zeroed before they are copied in.
// Offsets are checked: an access outside the record raises CVeskCPSException (131) naming it.
template <int Size>
class CFieldRecord {
public:
    static constexpr int kSize = Size;

    CFieldRecord() { m_bytes.fill(0); }

    quint32 Number(const vcp::SField& field, int base = 0) const;
    void SetNumber(const vcp::SField& field, quint32 value, int base = 0);
    // The field's bytes as they are.
    QByteArray Raw(const vcp::SField& field, int base = 0) const;
    // Zeroes the field, then copies `bytes` cut at its width.
    void SetRaw(const vcp::SField& field, QByteArrayView bytes, int base = 0);

    quint8 Byte(int offset) const;
    void SetByte(int offset, quint8 value);

    const std::array<quint8, Size>& Bytes() const { return m_bytes; }
    std::array<quint8, Size>& Bytes() { return m_bytes; }
    QByteArray ToByteArray() const;
    // False (and nothing changed) unless `bytes` has exactly the record's size.
    bool Assign(QByteArrayView bytes);

protected:
    // Raises unless [offset, offset + width) lies inside the record.
    static void CheckRange(int offset, int width, const char* what);

    std::array<quint8, Size> m_bytes;
};

extern template class CFieldRecord<vcp::kImageSize>;
extern template class CFieldRecord<vcp::kRadioInfoSize>;

// The codeplug image. A new image is all zero.
class CVirtualCP : public CFieldRecord<vcp::kImageSize> {
public:
    // Before a read from a radio: all zero but the customized tone words, which become 0xFFFF.
    void ClearForRead();

    // Channel record n (0..18) and frequency record n (0..98) through their own tables. A record
    // number outside the block raises CVeskCPSException (131).
    quint32 ChannelNumber(int n, const vcp::SField& field) const;
    void SetChannelNumber(int n, const vcp::SField& field, quint32 value);
    QByteArray ChannelRaw(int n, const vcp::SField& field) const;
    void SetChannelRaw(int n, const vcp::SField& field, QByteArrayView bytes);
    quint32 FrequencyNumber(int n, const vcp::SField& field) const;
    void SetFrequencyNumber(int n, const vcp::SField& field, quint32 value);

    static int ChannelOffset(int n);
    static int FrequencyOffset(int n);

    // Slots above 15 are ignored when storing and read as 0.
    quint8 ButtonSlot(int slot) const;
    void SetButtonSlot(int slot, quint8 function);
    // Channels above 18 are ignored when storing and read as not in the list.
    bool InScanList(int channel) const;
    void SetInScanList(int channel, bool member);

    vcp::SSynthCode SynthCode(int n) const;
    // Stores the synthesizer bytes of `hz` into frequency record n, with the base of the image's
    // synth_base_int_part; power level, compander, bandwidth and the reserved bytes stay.
    void SetFrequencyHz(int n, quint32 hz);
    // The frequency record n holds, with the image's synth_base_int_part as base.
    quint32 FrequencyHz(int n) const;

    // Every field by name with its offset and value, records numbered; for logs and veskctl.
    QString Dump() const;
};

// What identification learnt about the connected radio. A new record is all zero.
class CRadioInfo : public CFieldRecord<vcp::kRadioInfoSize> {
public:
    quint8 CodeplugVersion() const;
    QString Dump() const;
};
