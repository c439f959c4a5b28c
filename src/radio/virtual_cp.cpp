#include "radio/virtual_cp.h"

#include <cmath>

#include <QStringList>

#include "platform/codepage/ansi_codepage.h"
#include "platform/vesk_cps_exception.h"

namespace vcp {

namespace {

// The synthesizer's step is 1.05 MHz; the reference divider code 7 with synthesizer mode 4 is the
// only setting this program builds.
constexpr double kReciprocalOfStep = 9.523809523809523e-07;
constexpr quint32 kDoubleStepHz = 2100000;
constexpr quint32 kReferenceClock = 16800000;
constexpr quint8 kReferenceDivider = 7;
constexpr quint8 kSynthMode = 4;

template <std::size_t N>
const SField* FindRuntime(const std::array<SField, N>& fields, QStringView name) {
    for (const SField& field : fields) {
        if (name == QLatin1String(field.name.data(), qsizetype(field.name.size()))) {
            return &field;
        }
    }
    return nullptr;
}

}  // namespace

const SField* FindImageField(QStringView name) {
    return FindRuntime(kImageFields, name);
}
const SField* FindChannelField(QStringView name) {
    return FindRuntime(kChannelFields, name);
}
const SField* FindFrequencyField(QStringView name) {
    return FindRuntime(kFrequencyFields, name);
}

std::optional<int> FindButtonSlot(QStringView name) {
    for (const SButtonSlot& slot : kButtonSlots) {
        if (name == QLatin1String(slot.name.data(), qsizetype(slot.name.size()))) {
            return slot.slot;
        }
    }
    return std::nullopt;
}

SSynthCode EncodeFrequency(quint32 hz, quint8 baseLowByte) {
    const auto n = static_cast<qint64>(static_cast<double>(hz) * kReciprocalOfStep);
    // The 32-bit product wraps for frequencies above about 2.1 GHz; the fraction below is then
    // meaningless but stays defined.
    const auto m = static_cast<quint32>(static_cast<quint64>(n) * kDoubleStepHz);
    const double twiceFraction = 2.0 * static_cast<double>(hz) - static_cast<double>(m);
    // Going through a 64-bit integer keeps a negative or oversized difference (only reachable
    // through the wrap of m) defined: it wraps like the 32-bit register it ends in.
    const auto fraction = static_cast<quint32>(static_cast<qint64>(twiceFraction)) >> 1;

    SSynthCode code;
    code.referenceDivider = kReferenceDivider;
    code.integerPart = static_cast<quint8>(n - baseLowByte);
    code.synthMode = kSynthMode;
    code.fractionHigh = fraction >> 16;
    code.fractionLow = fraction & 0xFFFF;
    return code;
}

quint32 DecodeFrequency(const SSynthCode& code, quint32 base) {
    const quint32 step = kReferenceClock / (quint32(code.referenceDivider) + 1);
    const quint32 fraction = (code.fractionHigh << 16) | code.fractionLow;
    return (step * (quint32(code.integerPart) + base) + 2 * fraction) >> 1;
}

}  // namespace vcp

using namespace vcp;

template <int Size>
void CFieldRecord<Size>::CheckRange(int offset, int width, const char* what) {
    if (offset < 0 || width < 0 || offset > Size - width) {
        throw CVeskCPSException(
            model_msg::kUnknownError, QStringLiteral("CFieldRecord"),
            QStringLiteral("%1 at 0x%2, %3 bytes, lies outside the %4-byte record")
                .arg(QLatin1String(what))
                .arg(offset, 3, 16, QLatin1Char('0'))
                .arg(width)
                .arg(Size));
    }
}

template <int Size>
quint32 CFieldRecord<Size>::Number(const SField& field, int base) const {
    if (field.width > 4) {
        throw CVeskCPSException(
            model_msg::kUnknownError, QStringLiteral("CFieldRecord::Number"),
            QStringLiteral("%1 is %2 bytes wide, not a number")
                .arg(QLatin1String(field.name.data(), qsizetype(field.name.size())))
                .arg(field.width));
    }
    const int offset = base + field.offset;
    CheckRange(offset, field.width, "number");
    quint32 value = 0;
    for (int i = field.width - 1; i >= 0; --i) {
        value = (value << 8) | m_bytes[std::size_t(offset + i)];
    }
    return value;
}

template <int Size>
void CFieldRecord<Size>::SetNumber(const SField& field, quint32 value, int base) {
    const int offset = base + field.offset;
    CheckRange(offset, field.width, "number");
    // Bytes past the fourth of a wider field have nothing to hold.
    for (int i = 0; i < field.width; ++i) {
        m_bytes[std::size_t(offset + i)] = quint8(i < 4 ? value >> (8 * i) : 0u);
    }
}

template <int Size>
QByteArray CFieldRecord<Size>::Raw(const SField& field, int base) const {
    const int offset = base + field.offset;
    CheckRange(offset, field.width, "field");
    return QByteArray(reinterpret_cast<const char*>(m_bytes.data()) + offset, field.width);
}

template <int Size>
void CFieldRecord<Size>::SetRaw(const SField& field, QByteArrayView bytes, int base) {
    const int offset = base + field.offset;
    CheckRange(offset, field.width, "field");
    for (int i = 0; i < field.width; ++i) {
        m_bytes[std::size_t(offset + i)] = i < bytes.size() ? static_cast<quint8>(bytes[i]) : 0;
    }
}

template <int Size>
quint8 CFieldRecord<Size>::Byte(int offset) const {
    CheckRange(offset, 1, "byte");
    return m_bytes[std::size_t(offset)];
}

template <int Size>
void CFieldRecord<Size>::SetByte(int offset, quint8 value) {
    CheckRange(offset, 1, "byte");
    m_bytes[std::size_t(offset)] = value;
}

template <int Size>
QByteArray CFieldRecord<Size>::ToByteArray() const {
    return QByteArray(reinterpret_cast<const char*>(m_bytes.data()), Size);
}

template <int Size>
bool CFieldRecord<Size>::Assign(QByteArrayView bytes) {
    if (bytes.size() != Size) {
        return false;
    }
    for (int i = 0; i < Size; ++i) {
        m_bytes[std::size_t(i)] = static_cast<quint8>(bytes[i]);
    }
    return true;
}

template class CFieldRecord<kImageSize>;
template class CFieldRecord<kRadioInfoSize>;

namespace {

QString Name(const SField& field) {
    return QString::fromLatin1(field.name.data(), qsizetype(field.name.size()));
}

QString Hex(QByteArrayView bytes) {
    return QString::fromLatin1(bytes.toByteArray().toHex(' '));
}

// One field's value as the dump shows it: numbers in decimal, characters and texts quoted as the
// code page reads them, with the bytes beside anything that is not a plain number.
template <int Size>
QString DumpValue(const CFieldRecord<Size>& record, const SField& field, int base) {
    const QByteArray raw = record.Raw(field, base);
    switch (field.encoding) {
        case Encoding::Number:
        case Encoding::HexNumber:
        case Encoding::Flag:
        case Encoding::Synth:
            return QString::number(record.Number(field, base));
        case Encoding::Character:
        case Encoding::HexDigit:
        case Encoding::Text: {
            const qsizetype end = raw.indexOf('\0');
            return QStringLiteral("\"%1\" [%2]")
                .arg(ansi::Decode(end < 0 ? raw : raw.left(end)), Hex(raw));
        }
        case Encoding::Model: {
            QString text = ansi::Decode(raw.left(3).split('\0').first());
            for (int i = 3; i < raw.size(); ++i) {
                text += QString::number(quint8(raw[i]));
            }
            return QStringLiteral("\"%1\" [%2]").arg(text, Hex(raw));
        }
        default:
            return QStringLiteral("[%1]").arg(Hex(raw));
    }
}

QString Line(int offset, const QString& name, const QString& value) {
    return QStringLiteral("0x%1 %2 = %3\n").arg(offset, 3, 16, QLatin1Char('0')).arg(name, value);
}

}  // namespace

void CVirtualCP::ClearForRead() {
    m_bytes.fill(0);
    for (int i = 0; i < kToneCount; ++i) {
        m_bytes[std::size_t(kToneBase + 2 * i)] = quint8(kToneUnset & 0xFF);
        m_bytes[std::size_t(kToneBase + 2 * i + 1)] = quint8(kToneUnset >> 8);
    }
}

int CVirtualCP::ChannelOffset(int n) {
    if (n < 0 || n >= kChannelCount) {
        throw CVeskCPSException(
            model_msg::kUnknownError, QStringLiteral("CVirtualCP"),
            QStringLiteral("channel record %1 outside 0..%2").arg(n).arg(kChannelCount - 1));
    }
    return kChannelBase + n * kChannelSize;
}

int CVirtualCP::FrequencyOffset(int n) {
    if (n < 0 || n >= kFrequencyCount) {
        throw CVeskCPSException(
            model_msg::kUnknownError, QStringLiteral("CVirtualCP"),
            QStringLiteral("frequency record %1 outside 0..%2").arg(n).arg(kFrequencyCount - 1));
    }
    return kFrequencyBase + n * kFrequencySize;
}

quint32 CVirtualCP::ChannelNumber(int n, const SField& field) const {
    return Number(field, ChannelOffset(n));
}
void CVirtualCP::SetChannelNumber(int n, const SField& field, quint32 value) {
    SetNumber(field, value, ChannelOffset(n));
}
QByteArray CVirtualCP::ChannelRaw(int n, const SField& field) const {
    return Raw(field, ChannelOffset(n));
}
void CVirtualCP::SetChannelRaw(int n, const SField& field, QByteArrayView bytes) {
    SetRaw(field, bytes, ChannelOffset(n));
}
quint32 CVirtualCP::FrequencyNumber(int n, const SField& field) const {
    return Number(field, FrequencyOffset(n));
}
void CVirtualCP::SetFrequencyNumber(int n, const SField& field, quint32 value) {
    SetNumber(field, value, FrequencyOffset(n));
}

quint8 CVirtualCP::ButtonSlot(int slot) const {
    if (slot < 0 || slot >= kButtonSlotCount) {
        return 0;
    }
    const quint8 byte = m_bytes[std::size_t(kButtonBase + slot / 2)];
    return slot % 2 == 0 ? byte & 0x0F : byte >> 4;
}

void CVirtualCP::SetButtonSlot(int slot, quint8 function) {
    if (slot < 0 || slot >= kButtonSlotCount) {
        return;
    }
    quint8& byte = m_bytes[std::size_t(kButtonBase + slot / 2)];
    const quint8 nibble = function & 0x0F;
    byte = slot % 2 == 0 ? quint8((byte & 0xF0) | nibble) : quint8((byte & 0x0F) | (nibble << 4));
}

bool CVirtualCP::InScanList(int channel) const {
    if (channel < 0 || channel >= kChannelCount) {
        return false;
    }
    return (m_bytes[std::size_t(kScanListBase + channel / 8)] >> (channel % 8)) & 1;
}

void CVirtualCP::SetInScanList(int channel, bool member) {
    if (channel < 0 || channel >= kChannelCount) {
        return;
    }
    quint8& byte = m_bytes[std::size_t(kScanListBase + channel / 8)];
    const auto bit = quint8(1u << (channel % 8));
    byte = member ? quint8(byte | bit) : quint8(byte & ~bit);
}

SSynthCode CVirtualCP::SynthCode(int n) const {
    SSynthCode code;
    code.referenceDivider = quint8(FrequencyNumber(n, FrequencyField("reference_divider")));
    code.integerPart = quint8(FrequencyNumber(n, FrequencyField("integer_part")));
    code.synthMode = quint8(FrequencyNumber(n, FrequencyField("synth_mode")));
    code.fractionHigh = FrequencyNumber(n, FrequencyField("fraction_high"));
    code.fractionLow = FrequencyNumber(n, FrequencyField("fraction_low"));
    return code;
}

void CVirtualCP::SetFrequencyHz(int n, quint32 hz) {
    const auto base = quint8(Number(ImageField("synth_base_int_part")) & 0xFF);
    const SSynthCode code = EncodeFrequency(hz, base);
    SetFrequencyNumber(n, FrequencyField("reference_divider"), code.referenceDivider);
    SetFrequencyNumber(n, FrequencyField("integer_part"), code.integerPart);
    SetFrequencyNumber(n, FrequencyField("synth_mode"), code.synthMode);
    SetFrequencyNumber(n, FrequencyField("fraction_high"), code.fractionHigh);
    SetFrequencyNumber(n, FrequencyField("fraction_low"), code.fractionLow);
}

quint32 CVirtualCP::FrequencyHz(int n) const {
    return DecodeFrequency(SynthCode(n), Number(ImageField("synth_base_int_part")));
}

QString CVirtualCP::Dump() const {
    QString out;
    for (const SField& field : kImageFields) {
        if (field.encoding == Encoding::Buttons) {
            QStringList functions;
            for (int slot = 0; slot < kButtonSlotCount; ++slot) {
                functions << QString::number(ButtonSlot(slot));
            }
            out += Line(
                field.offset, Name(field),
                QStringLiteral("%1 [%2]").arg(functions.join(QLatin1Char(' ')), Hex(Raw(field))));
        } else if (field.encoding == Encoding::ScanList) {
            QStringList members;
            for (int channel = 0; channel < kChannelCount; ++channel) {
                if (InScanList(channel)) {
                    members << QString::number(channel);
                }
            }
            out += Line(
                field.offset, Name(field),
                QStringLiteral("{%1} [%2]").arg(members.join(QLatin1Char(' ')), Hex(Raw(field))));
        } else if (field.encoding == Encoding::Records && field.offset == kChannelBase) {
            for (int n = 0; n < kChannelCount; ++n) {
                for (const SField& member : kChannelFields) {
                    out += Line(ChannelOffset(n) + member.offset,
                                QStringLiteral("channel[%1].%2").arg(n).arg(Name(member)),
                                DumpValue(*this, member, ChannelOffset(n)));
                }
            }
        } else if (field.encoding == Encoding::Records) {
            for (int n = 0; n < kFrequencyCount; ++n) {
                for (const SField& member : kFrequencyFields) {
                    out += Line(FrequencyOffset(n) + member.offset,
                                QStringLiteral("frequency[%1].%2").arg(n).arg(Name(member)),
                                DumpValue(*this, member, FrequencyOffset(n)));
                }
                out += QStringLiteral("      frequency[%1] = %2 Hz\n").arg(n).arg(FrequencyHz(n));
            }
        } else {
            out += Line(field.offset, Name(field), DumpValue(*this, field, 0));
        }
    }
    return out;
}

quint8 CRadioInfo::CodeplugVersion() const {
    return quint8(Number(RadioInfoField("codeplug_version")));
}

QString CRadioInfo::Dump() const {
    QString out;
    for (const SField& field : kRadioInfoFields) {
        out += Line(field.offset, Name(field), DumpValue(*this, field, 0));
    }
    return out;
}
