#pragma once

// The radio's side of the programming protocol, without a line: complete request frames in, the
// bytes the radio sends after the echo out. Faults are decided here, so that every one of them
// can be checked without a terminal.

#include <optional>
#include <vector>

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>
#include <QtGlobal>

#include "sim_memory.h"

namespace sim {

enum class FaultKind { Silence, Garbage, Drop, Checksum, Truncate, Refuse, Babble, Corrupt };

// KIND, KIND@N or KIND@N+ of the command line.
struct SFault {
    FaultKind kind = FaultKind::Silence;
    int frame = 0;  // 1-based; 0: every frame
    bool onward = false;

    bool Matches(int frameNumber) const;
};
std::optional<SFault> ParseFault(QStringView text);

inline constexpr QByteArrayView kGarbage("\x00\x13\xA5\x7E", 4);

// Cuts the byte stream from the host into request frames. Bytes that cannot start a frame are
// skipped; a frame whose length field no request can have is not one.
class CFrameAssembler {
public:
    // The frames completed by `bytes`, in order.
    std::vector<QByteArray> Push(QByteArrayView bytes);
    bool HasPartial() const { return !m_buffer.isEmpty(); }
    // The host gave up in the middle of a frame: what came so far must not poison the next.
    void DropPartial() { m_buffer.clear(); }

private:
    // The frame's whole size once the header says it, 0 while unknown, -1 when it is no frame.
    qsizetype ExpectedSize() const;

    QByteArray m_buffer;
};

struct SRadioSetup {
    char firmware[3] = {'R', '1', '7'};
    quint8 statusCode = 0;
    std::vector<SFault> faults;
};

struct SResponse {
    QByteArray bytes;  // after the echo: acknowledgement and reply frame, as the faults left them
    QString note;      // what the radio made of the request, for the log
    // After the bytes, the line keeps carrying stray bytes until the host sends again.
    bool babble = false;
};

class CSimRadio {
public:
    CSimRadio(CSimMemory& memory, SRadioSetup setup);

    // One complete frame as the host sent it; counts it for the faults' @N.
    SResponse Handle(QByteArrayView frame);
    int FramesSeen() const { return m_frames; }

    // Where the programmer writes and so where the radio takes writes.
    static bool IsWritable(quint32 address, qsizetype n);

private:
    // The normal reply frame (without the acknowledgement); nullopt when the radio stays silent.
    // `corrupt`: a write is answered as taken, but the radio keeps its last byte inverted.
    std::optional<QByteArray> Answer(QByteArrayView frame, bool refuse, bool corrupt,
                                     QString& note);

    CSimMemory& m_memory;
    SRadioSetup m_setup;
    int m_frames = 0;
};

}  // namespace sim
