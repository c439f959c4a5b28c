// Feeds the read operation's unpacking with whatever a radio may answer (memory_input.h gives the
// layout), through to the profile text. Inputs shorter than the fixed blocks are padded with zero
// bytes; the frequency records the read asks for past the input's end read as zero too.
//
// A read must end in one of these ways:
// - the radio says it holds no frequency records: the read fails as the link's empty answer
//   makes it fail;
// - the radio says it holds more frequency records than an image can: the unpacking refuses with
//   the unknown-error message (131), which ends the operation as failed;
// - otherwise the image is complete, and
//   - writing it straight back changes nothing the radio holds but what the write means to set:
//     the packed main block equals the block as read except for the bits no read fills (the low
//     bits of byte 32, written as zero; the scramble button bit, which packing may only clear)
//     and the check bytes of the channel records in use, which must then be right; each
//     frequency record packs back as read, bit 7 of its first byte cleared;
//   - its profile text is what image_checks.h asks of any image.

#include <algorithm>
#include <cstddef>
#include <cstdint>

#include <QByteArray>
#include <QString>

#include "image_checks.h"
#include "memory_input.h"
#include "platform/vesk_cps_exception.h"
#include "radio/memory_map.h"
#include "radio/protocol.h"
#include "radio/virtual_cp.h"

namespace {

namespace input = fuzz::memory_input;
using fuzz::Fail;

// The link's answer to a read of no bytes, which the read operation takes as a failure.
struct SNothingRead {};

class CInputRadio : public mm::IRadioMemory {
public:
    explicit CInputRadio(QByteArray input) : m_input(std::move(input)) {}

    QByteArray Read(const mm::SBlock& block, int count) override {
        if (count <= 0) {
            throw SNothingRead{};
        }
        if (block.name == "frequency_records") {
            QByteArray records = m_input.mid(input::kFrequencyOffset, count);
            records.append(QByteArray(count - records.size(), '\0'));
            m_frequencies = records;
            return records;
        }
        const int offset = input::OffsetOf(block.name);
        if (offset < 0 || count != block.length) {
            Fail("the read asks for a block the fuzzer does not hand over",
                 QString::fromLatin1(block.name.data(), qsizetype(block.name.size())));
        }
        return m_input.mid(offset, count);
    }

    FirmwareInfo Firmware() override { return {m_input[0], m_input[1], m_input[2]}; }

    void Progress(int) override {}

    quint8 At(int offset) const { return static_cast<quint8>(m_input[offset]); }
    QByteArray Fixed(std::string_view name) const {
        return m_input.mid(input::OffsetOf(name), input::FindBlock(name)->length);
    }
    const QByteArray& Frequencies() const { return m_frequencies; }

private:
    QByteArray m_input;
    QByteArray m_frequencies;
};

void CheckMainBlockWriteBack(const CInputRadio& radio, const CVirtualCP& image) {
    const QByteArray read = radio.Fixed("main");
    const int length = mm::MainBlockWriteLength(image);
    if (length != mm::kMainReadBack && length != mm::kMainWithFirstTones &&
        length != mm::kMainSize) {
        Fail("the main block write has an impossible length", QString::number(length));
    }
    const QByteArray packed = mm::PackMainBlock(image, QByteArrayView(read).first(length));
    if (packed.size() != length) {
        Fail("the packed main block is not as long as the write");
    }
    const int channels = std::min(
        radio.At(input::OffsetOf("limits") + input::kLimitsChannels) & 0x1F, vcp::kChannelCount);
    for (int i = 0; i < length; ++i) {
        const auto before = static_cast<quint8>(read[i]);
        const auto after = static_cast<quint8>(packed[i]);
        const int record = (i - mm::kChannelRecordBase) / mm::kPackedChannelSize;
        const bool checkByte =
            i >= mm::kChannelRecordBase && record < channels &&
            (i - mm::kChannelRecordBase) % mm::kPackedChannelSize == mm::kPackedChannelSize - 1;
        bool kept = after == before;
        if (i == 32) {
            kept = after == (before & 0xE0);
        } else if (i == 3) {
            kept = (after & ~0x10) == (before & ~0x10) && (after & 0x10) <= (before & 0x10);
        } else if (checkByte) {
            const int start = mm::kChannelRecordBase + record * mm::kPackedChannelSize;
            unsigned sum = mm::kChannelCheckSeed;
            for (int k = start; k < i; ++k) {
                sum += static_cast<quint8>(packed[k]);
            }
            kept = after == static_cast<quint8>(sum);
        }
        if (!kept) {
            Fail("writing the image read back changes the radio's main block",
                 QStringLiteral("byte %1: read 0x%2, written 0x%3")
                     .arg(i)
                     .arg(before, 2, 16, QLatin1Char('0'))
                     .arg(after, 2, 16, QLatin1Char('0')));
        }
    }
}

void CheckFrequencyWriteBack(const CInputRadio& radio, const CVirtualCP& image) {
    const QByteArray& read = radio.Frequencies();
    for (int n = 0; n * mm::kPackedFrequencySize < read.size(); ++n) {
        QByteArray expected = read.mid(n * mm::kPackedFrequencySize, mm::kPackedFrequencySize);
        expected[0] = static_cast<char>(expected[0] & 0x7F);
        if (mm::PackFrequency(image, n) != expected) {
            Fail("a frequency record does not pack back as read",
                 QStringLiteral("record %1: read %2, packed %3")
                     .arg(n)
                     .arg(QString::fromLatin1(expected.toHex()),
                          QString::fromLatin1(mm::PackFrequency(image, n).toHex())));
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::Schema();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    if (bytes.size() < input::kFrequencyOffset) {
        bytes.append(QByteArray(input::kFrequencyOffset - bytes.size(), '\0'));
    }
    CInputRadio radio(bytes);
    const int frequencies = radio.At(input::OffsetOf("limits") + input::kLimitsFrequencies);

    CVirtualCP image;
    image.ClearForRead();
    try {
        mm::ReadImage(radio, image);
    } catch (const SNothingRead&) {
        if (frequencies != 0) {
            Fail("the read asked for no bytes although the radio holds frequency records");
        }
        return 0;
    } catch (const CVeskCPSException& error) {
        if (frequencies <= vcp::kFrequencyCount || error.MessageId() != model_msg::kUnknownError) {
            Fail("unpacking what a radio answered raised", error.Text());
        }
        return 0;
    }
    if (frequencies == 0 || frequencies > vcp::kFrequencyCount) {
        Fail("a read went through although the radio's frequency count is impossible",
             QString::number(frequencies));
    }
    CheckMainBlockWriteBack(radio, image);
    CheckFrequencyWriteBack(radio, image);
    fuzz::CheckConversion(image);
    return 0;
}
