#include "sim_radio.h"

#include "radio/memory_map.h"
#include "radio/protocol.h"

namespace sim {

namespace {

// Long frames of the requests are far shorter; anything longer is a stray 0xFF.
constexpr int kLongestRequestLength = 0x40;
constexpr quint32 kFrequencyRecords = 128;

quint8 U8(QByteArrayView bytes, qsizetype at) {
    return static_cast<quint8>(bytes[at]);
}

quint32 Address(QByteArrayView bytes, qsizetype at) {
    return (quint32{U8(bytes, at)} << 16) | (quint32{U8(bytes, at + 1)} << 8) |
           quint32{U8(bytes, at + 2)};
}

QByteArray AddressBytes(quint32 address) {
    QByteArray out;
    out.append(char((address >> 16) & 0xFF));
    out.append(char((address >> 8) & 0xFF));
    out.append(char(address & 0xFF));
    return out;
}

QByteArray Bytes(std::initializer_list<quint8> values) {
    QByteArray out;
    for (quint8 v : values) {
        out.append(char(v));
    }
    return out;
}

struct SRange {
    quint32 first;
    quint32 last;
};
constexpr SRange kWritable[] = {
    {0x10000, 0x10199}, {0x10A99, 0x10A99}, {0x10C8E, 0x10C8E},
    {0x10C9C, 0x10D5F}, {0x20466, 0x20467},
};

}  // namespace

bool SFault::Matches(int frameNumber) const {
    if (frame == 0) {
        return true;
    }
    return onward ? frameNumber >= frame : frameNumber == frame;
}

std::optional<SFault> ParseFault(QStringView text) {
    static constexpr std::pair<const char*, FaultKind> kKinds[] = {
        {"silence", FaultKind::Silence},   {"garbage", FaultKind::Garbage},
        {"drop", FaultKind::Drop},         {"checksum", FaultKind::Checksum},
        {"truncate", FaultKind::Truncate}, {"refuse", FaultKind::Refuse},
        {"babble", FaultKind::Babble},     {"corrupt", FaultKind::Corrupt},
    };
    const qsizetype at = text.indexOf(u'@');
    const QStringView name = at < 0 ? text : text.left(at);
    SFault fault;
    bool known = false;
    for (const auto& [kindName, kind] : kKinds) {
        if (name == QLatin1String(kindName)) {
            fault.kind = kind;
            known = true;
        }
    }
    if (!known) {
        return std::nullopt;
    }
    if (at >= 0) {
        QStringView number = text.mid(at + 1);
        if (number.endsWith(u'+')) {
            fault.onward = true;
            number.chop(1);
        }
        bool ok = false;
        const int n = number.toInt(&ok, 10);
        if (!ok || n < 1 || number.startsWith(u'+')) {
            return std::nullopt;
        }
        fault.frame = n;
    }
    return fault;
}

qsizetype CFrameAssembler::ExpectedSize() const {
    const quint8 header = U8(m_buffer, 0);
    if (header != frame::kLongHeader) {
        const int length = header & 0x0F;
        return length >= 2 ? 2 + length : -1;
    }
    if (m_buffer.size() < 4) {
        return 0;
    }
    const int length = (U8(m_buffer, 2) << 8) | U8(m_buffer, 3);
    return length >= 1 && length <= kLongestRequestLength ? 4 + length : -1;
}

std::vector<QByteArray> CFrameAssembler::Push(QByteArrayView bytes) {
    std::vector<QByteArray> frames;
    QByteArray pending(bytes.data(), bytes.size());
    qsizetype at = 0;
    while (at < pending.size()) {
        const quint8 b = U8(pending, at++);
        if (m_buffer.isEmpty() && b < frame::kShortHeaderBase + 2) {
            continue;
        }
        m_buffer.append(char(b));
        const qsizetype expected = ExpectedSize();
        if (expected < 0) {
            // Not a frame after all: look for one again just past this header.
            pending = m_buffer.mid(1) + pending.mid(at);
            at = 0;
            m_buffer.clear();
        } else if (expected > 0 && m_buffer.size() == expected) {
            frames.push_back(m_buffer);
            m_buffer.clear();
        }
    }
    return frames;
}

CSimRadio::CSimRadio(CSimMemory& memory, SRadioSetup setup)
    : m_memory(memory), m_setup(std::move(setup)) {}

bool CSimRadio::IsWritable(quint32 address, qsizetype n) {
    if (n <= 0) {
        return false;
    }
    const quint32 last = address + quint32(n - 1);
    for (const SRange& range : kWritable) {
        if (address >= range.first && last <= range.last) {
            return true;
        }
    }
    return false;
}

SResponse CSimRadio::Handle(QByteArrayView request) {
    const int number = ++m_frames;
    bool silence = false, garbage = false, drop = false, checksum = false, truncate = false,
         refuse = false, babble = false, corrupt = false;
    for (const SFault& fault : m_setup.faults) {
        if (!fault.Matches(number)) {
            continue;
        }
        switch (fault.kind) {
            case FaultKind::Silence:
                silence = true;
                break;
            case FaultKind::Garbage:
                garbage = true;
                break;
            case FaultKind::Drop:
                drop = true;
                break;
            case FaultKind::Checksum:
                checksum = true;
                break;
            case FaultKind::Truncate:
                truncate = true;
                break;
            case FaultKind::Refuse:
                refuse = true;
                break;
            case FaultKind::Babble:
                babble = true;
                break;
            case FaultKind::Corrupt:
                corrupt = true;
                break;
        }
    }
    SResponse response;
    response.note = frame::Describe(request);
    if (silence) {
        // The radio never heard it: nothing answered, nothing stored.
        response.note += QStringLiteral(" [fault: silence]");
        return response;
    }
    QString note;
    std::optional<QByteArray> reply = Answer(request, refuse, corrupt, note);
    if (!note.isEmpty()) {
        response.note += QStringLiteral(" [") + note + QLatin1Char(']');
    }
    if (!reply) {
        return response;
    }
    if (babble) {
        // The acknowledgement, and then never a frame: only bytes that cannot start one.
        response.note += QStringLiteral(" [fault: babble]");
        response.bytes = QByteArray(1, char(frame::kAck));
        response.babble = true;
        return response;
    }
    if (drop && reply->size() > 1) {
        reply->remove(reply->size() / 2, 1);
    }
    if (checksum && !reply->isEmpty()) {
        (*reply)[reply->size() - 1] = char(~U8(*reply, reply->size() - 1));
    }
    QByteArray out;
    if (garbage) {
        out.append(kGarbage.data(), kGarbage.size());
    }
    out.append(char(frame::kAck));
    out.append(*reply);
    if (truncate) {
        out.truncate(out.size() / 2);
    }
    response.bytes = out;
    return response;
}

std::optional<QByteArray> CSimRadio::Answer(QByteArrayView f, bool refuse, bool corrupt,
                                            QString& note) {
    // What a radio with failing memory cells keeps of the data it was sent.
    const auto stored = [corrupt, &note](QByteArrayView data) {
        QByteArray bytes(data.data(), data.size());
        if (corrupt && !bytes.isEmpty()) {
            bytes.back() = char(~quint8(bytes.back()));
            note = QStringLiteral("fault: stored corrupted");
        }
        return bytes;
    };
    if (f.size() < 3 || frame::Checksum(f.first(f.size() - 1)) != U8(f, f.size() - 1)) {
        note = QStringLiteral("bad checksum, no answer");
        return std::nullopt;
    }
    const quint8 command = U8(f, 1);
    if (U8(f, 0) == frame::kLongHeader) {
        const QByteArrayView body = f.sliced(4, f.size() - 5);
        if (command == frame::kCmdReadMemory && body.size() == 4) {
            const int n = U8(body, 0);
            if (n >= 1 && n <= frame::kMaxChunk) {
                const quint32 address = Address(body, 1);
                return frame::Long(0x80, AddressBytes(address) + m_memory.Read(address, n));
            }
        } else if (command == frame::kCmdWriteMemory && body.size() >= 3) {
            const quint32 address = Address(body, 0);
            const QByteArrayView data = body.sliced(3);
            const bool fits = !data.isEmpty() && data.size() <= frame::kMaxChunk;
            if (refuse || !fits || !IsWritable(address, data.size()) ||
                !m_memory.Write(address, stored(data))) {
                note = refuse ? QStringLiteral("fault: refused") : QStringLiteral("refused");
                return frame::Long(frame::kReplyWriteRefused, AddressBytes(address));
            }
            return frame::Long(0x84, AddressBytes(address));
        } else if (command == frame::kCmdReset && body.isEmpty()) {
            return QByteArray();
        } else if (command == frame::kCmdMemoryControl && body.size() == 4 && U8(body, 0) == 0x1F) {
            note = QStringLiteral("memory control (%1, %2)").arg(U8(body, 1)).arg(U8(body, 2));
            return frame::Short(frame::kCmdMemoryControl, Bytes({0x00}));
        } else if (command == frame::kCmdFrequency && body.size() == 8 && U8(body, 0) == 0x04) {
            const quint32 index = U8(body, 1);
            if (refuse || index >= kFrequencyRecords ||
                !m_memory.Write(
                    mm::Block("frequency_records").address + index * mm::kPackedFrequencySize,
                    stored(body.sliced(2)))) {
                note = refuse ? QStringLiteral("fault: refused") : QStringLiteral("refused");
                return frame::Short(frame::kCmdFrequency, Bytes({0x01}));
            }
            return frame::Short(frame::kCmdFrequency, Bytes({0x00}));
        }
    } else {
        const QByteArrayView data = f.sliced(2, f.size() - 3);
        if (command == frame::kCmdStart && data == Bytes({0x16})) {
            return frame::Short(frame::kCmdStart, Bytes({0x00, 0x00}));
        }
        if (command == frame::kCmdQuery && data == Bytes({0x03})) {
            return frame::Short(frame::kCmdQuery,
                                Bytes({0x03, quint8(m_setup.firmware[0]),
                                       quint8(m_setup.firmware[1]), quint8(m_setup.firmware[2])}));
        }
        if (command == frame::kCmdQuery && data == Bytes({0x09})) {
            return frame::Short(frame::kCmdQuery, Bytes({0x09, 0x00, m_setup.statusCode}));
        }
        if (command == frame::kCmdFrequency && data.size() == 3 && U8(data, 0) == 0x05) {
            constexpr quint32 limits = mm::Block("limits").address;
            if (refuse) {
                note = QStringLiteral("fault: refused");
                return frame::Short(frame::kCmdFrequency, Bytes({0x01}));
            }
            const quint8 flags = m_memory.At(limits + 7);
            const quint8 m = U8(data, 2) != 0 ? 0x20 : 0x00;
            const char bytes[] = {char(U8(data, 1)), char((flags & ~0x20) | m)};
            m_memory.Write(limits + 6, QByteArrayView(bytes, 2));
            return frame::Short(frame::kCmdFrequency, Bytes({0x00}));
        }
    }
    note = QStringLiteral("unknown request, no answer");
    return std::nullopt;
}

}  // namespace sim
