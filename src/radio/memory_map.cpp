#include "radio/memory_map.h"

#include <algorithm>

#include <QString>

#include "platform/vesk_cps_exception.h"

namespace mm {

namespace {

const QString kOperation = QStringLiteral("MemoryMap");

QString Name(std::string_view name) {
    return QString::fromLatin1(name.data(), qsizetype(name.size()));
}

[[noreturn]] void Fail(const QString& detail) {
    throw CVeskCPSException(model_msg::kUnknownError, kOperation, detail);
}

const SBlock& BlockNamed(std::string_view name) {
    for (const SBlock& block : kBlocks) {
        if (block.name == name) {
            return block;
        }
    }
    Fail(QStringLiteral("no radio block %1").arg(Name(name)));
}

// A short or long answer from the radio must not be half unpacked.
void CheckLength(QByteArrayView bytes, std::string_view blockName) {
    const SBlock& block = BlockNamed(blockName);
    if (bytes.size() != block.length) {
        Fail(QStringLiteral("%1 block at 0x%2: %3 bytes where the radio keeps %4")
                 .arg(Name(block.name))
                 .arg(block.address, 5, 16, QLatin1Char('0'))
                 .arg(bytes.size())
                 .arg(block.length));
    }
}

bool Reads(Carry carry) {
    return carry == Carry::Field || carry == Carry::Inverted || carry == Carry::BigEndian ||
           carry == Carry::Unpacked || carry == Carry::CheckByte;
}

quint32 Little(const quint8* at, int width) {
    quint32 value = 0;
    for (int i = width - 1; i >= 0; --i) {
        value = (value << 8) | at[i];
    }
    return value;
}

void SetLittle(quint8* at, int width, quint32 value) {
    for (int i = 0; i < width; ++i) {
        at[i] = quint8(value >> (8 * i));
    }
}

// Where row k of a run lands in the record; raises when a table and a record disagree.
template <int Size>
int TargetOffset(const SBits& row, int k, int base) {
    const int offset = base + row.target + (row.carry == Carry::BigEndian ? 0 : k);
    if (row.target < 0 || offset < 0 || offset + row.targetWidth > Size) {
        Fail(QStringLiteral("%1 at 0x%2 lies outside the %3-byte record")
                 .arg(Name(row.name))
                 .arg(offset, 3, 16, QLatin1Char('0'))
                 .arg(Size));
    }
    return offset;
}

void CheckBlockRange(const SBits& row, qsizetype size) {
    if (row.byte + row.count > size) {
        Fail(QStringLiteral("%1 at block byte %2 lies beyond the %3 bytes given")
                 .arg(Name(row.name))
                 .arg(row.byte)
                 .arg(size));
    }
}

template <std::size_t N>
const SBits& RowNamed(const std::array<SBits, N>& rows, std::string_view name) {
    for (const SBits& row : rows) {
        if (row.name == name) {
            return row;
        }
    }
    Fail(QStringLiteral("no block bits for %1").arg(Name(name)));
}

}  // namespace

bool SConditions::Holds(When when) const {
    switch (when) {
        case When::Always:
            return true;
        case When::OlderFirmware:
            return !newerFirmware;
        case When::NewerFirmware:
            return newerFirmware;
        case When::FirstTones:
            return maxCodes > kFirstToneCodes;
        case When::SecondTones:
            return maxCodes > kSecondToneCodes;
    }
    return false;
}

bool IsNewerFirmware(const CVirtualCP& image) {
    const char phase = char(image.Number(vcp::ImageField("firmware_phase")));
    const char version = char(image.Number(vcp::ImageField("firmware_version")));
    const char revision = char(image.Number(vcp::ImageField("firmware_revision")));
    if (phase == 'R') {
        return version > '1' || (version == '1' && revision >= '7');
    }
    if (phase == 'D') {
        return version >= '7';
    }
    return false;
}

SConditions ConditionsOf(const CVirtualCP& image) {
    return {IsNewerFirmware(image), image.Number(vcp::ImageField("maxCodes"))};
}

template <int Size>
void Unpack(std::span<const SBits> rows, QByteArrayView bytes, CFieldRecord<Size>& record,
            const SConditions& when, int base) {
    auto& out = record.Bytes();
    for (const SBits& row : rows) {
        if (Reads(row.carry) && when.Holds(row.when)) {
            CheckBlockRange(row, bytes.size());
            const int runs = row.carry == Carry::BigEndian ? 1 : row.count;
            for (int k = 0; k < runs; ++k) {
                SetLittle(&out[std::size_t(TargetOffset<Size>(row, k, base))], row.targetWidth, 0);
            }
        }
    }
    for (const SBits& row : rows) {
        if (!Reads(row.carry) || !when.Holds(row.when)) {
            continue;
        }
        if (row.carry == Carry::BigEndian) {
            quint32 value = 0;
            for (int k = 0; k < row.count; ++k) {
                value = (value << 8) | quint8(bytes[row.byte + k]);
            }
            SetLittle(&out[std::size_t(TargetOffset<Size>(row, 0, base))], row.targetWidth, value);
            continue;
        }
        for (int k = 0; k < row.count; ++k) {
            quint8* at = &out[std::size_t(TargetOffset<Size>(row, k, base))];
            quint32 value = (quint8(bytes[row.byte + k]) >> row.low) & row.Mask();
            if (row.carry == Carry::Inverted) {
                value = value == 0 ? 1 : 0;
            }
            const quint32 old = Little(at, row.targetWidth);
            const quint32 mask = row.Mask() << row.targetShift;
            SetLittle(at, row.targetWidth, (old & ~mask) | (value << row.targetShift));
        }
    }
}

template <int Size>
void Pack(std::span<const SBits> rows, const CFieldRecord<Size>& record, QByteArray& bytes,
          const SConditions& when, int base) {
    const auto& in = record.Bytes();
    const auto put = [&bytes](const SBits& row, int k, quint32 value) {
        quint8& byte = reinterpret_cast<quint8&>(bytes[row.byte + k]);
        byte = quint8((byte & ~row.ByteMask()) | ((value & row.Mask()) << row.low));
    };
    for (const SBits& row : rows) {
        if (!when.Holds(row.when)) {
            continue;
        }
        CheckBlockRange(row, bytes.size());
        switch (row.carry) {
            case Carry::Field:
            case Carry::Inverted:
                for (int k = 0; k < row.count; ++k) {
                    const quint32 number =
                        Little(&in[std::size_t(TargetOffset<Size>(row, k, base))], row.targetWidth);
                    if (row.carry == Carry::Inverted) {
                        put(row, k, number == 0 ? 1 : 0);
                    } else {
                        put(row, k, number >> row.targetShift);
                    }
                }
                break;
            case Carry::BigEndian: {
                const quint32 number =
                    Little(&in[std::size_t(TargetOffset<Size>(row, 0, base))], row.targetWidth);
                for (int k = 0; k < row.count; ++k) {
                    bytes[row.byte + k] = char(quint8(number >> (8 * (row.count - 1 - k))));
                }
                break;
            }
            case Carry::ZeroOnWrite:
                for (int k = 0; k < row.count; ++k) {
                    put(row, k, 0);
                }
                break;
            case Carry::RadioOwned:
            case Carry::Unpacked:
            case Carry::ScrambleButton:
            case Carry::ChannelRecords:
            case Carry::CheckByte:
                break;
        }
    }
    // The check byte covers everything before it, so it comes last.
    for (const SBits& row : rows) {
        if (row.carry == Carry::CheckByte && when.Holds(row.when)) {
            bytes[row.byte] = char(ChannelCheckByte(QByteArrayView(bytes).first(row.byte)));
        }
    }
}

template void Unpack<vcp::kImageSize>(std::span<const SBits>, QByteArrayView,
                                      CFieldRecord<vcp::kImageSize>&, const SConditions&, int);
template void Unpack<vcp::kRadioInfoSize>(std::span<const SBits>, QByteArrayView,
                                          CFieldRecord<vcp::kRadioInfoSize>&, const SConditions&,
                                          int);
template void Pack<vcp::kImageSize>(std::span<const SBits>, const CFieldRecord<vcp::kImageSize>&,
                                    QByteArray&, const SConditions&, int);
template void Pack<vcp::kRadioInfoSize>(std::span<const SBits>,
                                        const CFieldRecord<vcp::kRadioInfoSize>&, QByteArray&,
                                        const SConditions&, int);

quint8 ChannelCheckByte(QByteArrayView packed) {
    quint32 sum = kChannelCheckSeed;
    for (const char c : packed) {
        sum += quint8(c);
    }
    return quint8(sum);
}

void UnpackIdentity(QByteArrayView bytes, CVirtualCP& image) {
    CheckLength(bytes, "identity");
    Unpack(kIdentityBlock, bytes, image);
}

void UnpackSynthBase(QByteArrayView bytes, CVirtualCP& image) {
    CheckLength(bytes, "synth_base");
    Unpack(kSynthBase, bytes, image);
}

void UnpackBandEdges(QByteArrayView bytes, CVirtualCP& image) {
    CheckLength(bytes, "band_edges");
    Unpack(kBandEdges, bytes, image);
}

void UnpackLimits(QByteArrayView bytes, CVirtualCP& image) {
    CheckLength(bytes, "limits");
    Unpack(kLimitBlock, bytes, image, ConditionsOf(image));
    // Models 4xxxx and 5xxxx without a display have no repeater feature to disable.
    const quint8 firstDigit = image.Byte(vcp::ImageField("model").offset + 3);
    const quint8 thirdLetter = image.Byte(vcp::ImageField("model").offset + 2);
    if ((firstDigit == 4 || firstDigit == 5) && thirdLetter != 'D') {
        image.SetNumber(vcp::ImageField("disable_repeater_feature"), 0);
    }
}

void UnpackSerialClone(QByteArrayView bytes, CVirtualCP& image) {
    CheckLength(bytes, "serial_clone");
    Unpack(kSerialClone, bytes, image);
}

void UnpackMainBlock(QByteArrayView bytes, CVirtualCP& image) {
    CheckLength(bytes, "main");
    Unpack(kMainBlock, bytes, image, ConditionsOf(image));
    for (int n = 0; n < vcp::kChannelCount; ++n) {
        Unpack(kChannelRecord,
               bytes.sliced(kChannelRecordBase + n * kPackedChannelSize, kPackedChannelSize), image,
               {}, CVirtualCP::ChannelOffset(n));
    }
}

void UnpackFrequencies(QByteArrayView bytes, CVirtualCP& image) {
    if (bytes.size() % kPackedFrequencySize != 0 ||
        bytes.size() / kPackedFrequencySize > vcp::kFrequencyCount) {
        Fail(QStringLiteral("frequency records at 0x%1: %2 bytes is not a whole number of "
                            "%3-byte records, at most %4")
                 .arg(Block("frequency_records").address, 5, 16, QLatin1Char('0'))
                 .arg(bytes.size())
                 .arg(kPackedFrequencySize)
                 .arg(vcp::kFrequencyCount));
    }
    for (int n = 0; n < bytes.size() / kPackedFrequencySize; ++n) {
        Unpack(kFrequencyRecord, bytes.sliced(n * kPackedFrequencySize, kPackedFrequencySize),
               image, {}, CVirtualCP::FrequencyOffset(n));
    }
}

void ReadImage(IRadioMemory& radio, CVirtualCP& image) {
    const auto read = [&radio](std::string_view name) {
        const SBlock& block = BlockNamed(name);
        return radio.Read(block, block.length);
    };
    UnpackIdentity(read("identity"), image);
    radio.Progress(20);
    UnpackSynthBase(read("synth_base"), image);
    radio.Progress(30);
    const FirmwareInfo firmware = radio.Firmware();
    image.SetByte(0, quint8(firmware.phase));
    image.SetByte(1, quint8(firmware.version));
    image.SetByte(2, quint8(firmware.revision));
    radio.Progress(40);
    UnpackLimits(read("limits"), image);
    radio.Progress(50);
    UnpackSerialClone(read("serial_clone"), image);
    radio.Progress(60);
    UnpackMainBlock(read("main"), image);
    radio.Progress(70);
    const int frequencies = int(image.Number(vcp::ImageField("max_valid_freqs")));
    UnpackFrequencies(
        radio.Read(BlockNamed("frequency_records"), kPackedFrequencySize * frequencies), image);
    radio.Progress(80);
    UnpackBandEdges(read("band_edges"), image);
    radio.Progress(100);
}

QByteArray PackChannel(const CVirtualCP& image, int n, QByteArrayView readBack) {
    QByteArray bytes(kPackedChannelSize, '\0');
    if (!readBack.isEmpty()) {
        if (readBack.size() != kPackedChannelSize) {
            Fail(QStringLiteral("channel record %1: %2 bytes read back, not %3")
                     .arg(n)
                     .arg(readBack.size())
                     .arg(kPackedChannelSize));
        }
        bytes = readBack.toByteArray();
    }
    Pack(kChannelRecord, image, bytes, {}, CVirtualCP::ChannelOffset(n));
    return bytes;
}

QByteArray PackFrequency(const CVirtualCP& image, int n) {
    QByteArray bytes(kPackedFrequencySize, '\0');
    Pack(kFrequencyRecord, image, bytes, {}, CVirtualCP::FrequencyOffset(n));
    return bytes;
}

namespace {

// The radio shows the scramble button only while some button can reach scrambling (function 12);
// on a display model three more buttons can.
bool KeepScrambleButton(const CVirtualCP& image) {
    if (image.Number(vcp::ImageField("disableSelectableScramble")) == 0) {
        return false;
    }
    constexpr quint8 kScrambleFunction = 12;
    const auto carries = [&image](int slot) { return image.ButtonSlot(slot) == kScrambleFunction; };
    if (carries(6) || carries(11)) {
        return true;
    }
    const bool display = image.Byte(vcp::ImageField("model").offset + 2) == 'D';
    return display && (carries(8) || carries(9) || carries(5));
}

}  // namespace

QByteArray PackMainBlock(const CVirtualCP& image, QByteArrayView readBack) {
    if (readBack.size() < kMainReadBack || readBack.size() > kMainSize) {
        Fail(QStringLiteral("main block at 0x%1: %2 bytes read back, need %3")
                 .arg(Block("main").address, 5, 16, QLatin1Char('0'))
                 .arg(readBack.size())
                 .arg(kMainReadBack));
    }
    QByteArray bytes = readBack.toByteArray();
    bytes.append(QByteArray(kMainSize - bytes.size(), '\0'));

    const SConditions when = ConditionsOf(image);
    Pack(kMainBlock, image, bytes, when);

    const SBits& scramble = RowNamed(kMainBlock, "scramble_button");
    if (!KeepScrambleButton(image)) {
        bytes[scramble.byte] = char(quint8(bytes[scramble.byte]) & ~scramble.ByteMask());
    }

    const int channels =
        std::min<int>(int(image.Number(vcp::ImageField("maxChannels"))), vcp::kChannelCount);
    for (int n = 0; n < channels; ++n) {
        const int at = kChannelRecordBase + n * kPackedChannelSize;
        bytes.replace(at, kPackedChannelSize,
                      PackChannel(image, n, QByteArrayView(bytes).sliced(at, kPackedChannelSize)));
    }

    bytes.truncate(MainBlockWriteLength(image));
    return bytes;
}

int MainBlockWriteLength(const CVirtualCP& image) {
    const SConditions when = ConditionsOf(image);
    if (when.Holds(When::SecondTones)) {
        return kMainSize;
    }
    return when.Holds(When::FirstTones) ? kMainWithFirstTones : kMainReadBack;
}

void UnpackIdentification(QByteArrayView bytes, CRadioInfo& info) {
    CheckLength(bytes, "identification");
    Unpack(kIdentification, bytes, info);
}

void UnpackPassword(QByteArrayView bytes, CRadioInfo& info) {
    CheckLength(bytes, "password");
    Unpack(kPasswordInfo, bytes, info);
}

void UnpackFrequencyCapacity(QByteArrayView bytes, CRadioInfo& info) {
    CheckLength(bytes, "frequency_capacity");
    Unpack(kFrequencyCapacityInfo, bytes, info);
}

void UnpackSerialClone(QByteArrayView bytes, CRadioInfo& info) {
    CheckLength(bytes, "serial_clone");
    Unpack(kSerialCloneInfo, bytes, info);
}

void UnpackCodeCapacity(QByteArrayView bytes, bool newerLayout, CRadioInfo& info) {
    if (newerLayout) {
        CheckLength(bytes, "newer_code_capacity");
        Unpack(kNewerCodeCapacityInfo, bytes, info);
    } else {
        CheckLength(bytes, "older_code_capacity");
        Unpack(kOlderCodeCapacityInfo, bytes, info);
    }
}

quint8 RepeaterLimitToWrite(quint8 read) {
    const SBits& repeater = RowNamed(kLimitBlock, "disable_repeater_feature");
    return quint8(read & ~repeater.ByteMask());
}

namespace {

// Counted from zero: the 90th byte, the only one of image A that holds 0x43.
constexpr int kParameterVariantByte = 89;

constexpr std::array<quint8, kParameterImageSize> kParameterImageA = {
    0x25, 0xF0, 0x00, 0x78, 0x7A, 0x27, 0x36, 0x52, 0xE0, 0x0B, 0x36, 0x62, 0xE0, 0x37, 0x36, 0xA2,
    0xE0, 0x20, 0x36, 0xC2, 0xE0, 0x1E, 0x36, 0x92, 0xE0, 0x1C, 0x36, 0xE2, 0xE0, 0x25, 0xF0, 0x3C,
    0x2A, 0x1D, 0xE0, 0x3A, 0x77, 0x20, 0xA6, 0x07, 0x36, 0x26, 0xE8, 0x36, 0x75, 0x1F, 0xA4, 0x05,
    0x36, 0x34, 0xE0, 0x0B, 0xA3, 0x0A, 0x22, 0x13, 0xE0, 0x2F, 0x22, 0x33, 0xE8, 0x2D, 0x30, 0x26,
    0xB6, 0x07, 0x7E, 0x1A, 0x60, 0x12, 0x00, 0xDE, 0xF0, 0x27, 0xA3, 0x0A, 0x2A, 0x33, 0xE0, 0x24,
    0xF7, 0xF6, 0x78, 0x17, 0x79, 0x18, 0xA3, 0x08, 0x22, 0x43, 0xE0, 0x03, 0x62, 0x02, 0x34, 0x72,
    0xF0, 0x01, 0x60, 0x02, 0xB2, 0x09, 0xF0, 0x18, 0x2A, 0x2E, 0xE0, 0x16, 0x7B, 0x13, 0xA5, 0x0B,
    0x2A, 0x35, 0xE0, 0x12, 0x66, 0x32, 0x34, 0xAB, 0xB2, 0x7B, 0xF0, 0x0E, 0x72, 0x10, 0xA3, 0x02,
    0x2A, 0x23, 0xE0, 0x0A, 0x78, 0x0F, 0xC5, 0x08, 0x36, 0x85, 0xE8, 0x06, 0x20, 0x98, 0xC5, 0x78,
    0x30, 0x35, 0x34, 0x05, 0x34, 0x15, 0xD5, 0x78, 0x00, 0x68, 0x21, 0xF0, 0x00, 0xCF, 0x00, 0x00,
    0x00, 0x02, 0x04, 0x88, 0x00, 0x02, 0x04, 0x70, 0x00, 0x02, 0x02, 0x96, 0x00, 0x00, 0x72, 0xCE,
    0x00, 0x02, 0x00, 0x69, 0x00, 0x02, 0x01, 0x27, 0x00, 0x02, 0x00, 0x17, 0x00, 0x02, 0x00, 0x09,
    0x00, 0x05, 0x32, 0x86,
};
static_assert(kParameterImageA[kParameterVariantByte] == 0x43);

constexpr std::array<quint8, kParameterImageSize> MakeImageB() {
    std::array<quint8, kParameterImageSize> image = kParameterImageA;
    image[kParameterVariantByte] = 0x33;
    return image;
}
constexpr std::array<quint8, kParameterImageSize> kParameterImageB = MakeImageB();

}  // namespace

const std::array<quint8, kParameterImageSize>& ParameterImageA() {
    return kParameterImageA;
}

const std::array<quint8, kParameterImageSize>& ParameterImageB() {
    return kParameterImageB;
}

std::optional<std::array<quint8, kParameterImageSize>> ParameterImageFor(const CVirtualCP& image) {
    const int model = vcp::ImageField("model").offset;
    const bool secondV = image.Byte(model + 1) == 'V';
    const quint8 firstDigit = image.Byte(model + 3);
    if (secondV && firstDigit == 5) {
        return kParameterImageA;
    }
    if (!secondV && firstDigit == 4) {
        return kParameterImageB;
    }
    return std::nullopt;
}

}  // namespace mm
