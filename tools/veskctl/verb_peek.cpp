// veskctl peek: a raw read of the radio's memory through the programming protocol, to see what a
// radio holds at an address without the identification, the checks or a profile in the way.

#include <algorithm>
#include <cstdio>
#include <mutex>
#include <optional>

#include "platform/string_table.h"
#include "radio/cable_watch.h"
#include "radio/protocol.h"
#include "radio/usb_cable.h"
#include "verbs.h"

namespace {

// The radio's addresses are 24 bits; a peek is for looking, not for dumping the whole memory.
constexpr quint32 kAddressEnd = 0x1000000;
constexpr int kMaxPeek = 4096;

std::optional<quint32> ParseNumber(const QString& text) {
    bool ok = false;
    const quint32 value = text.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)
                              ? text.mid(2).toUInt(&ok, 16)
                              : text.toUInt(&ok, 10);
    if (!ok) {
        return std::nullopt;
    }
    return value;
}

void PrintRows(quint32 address, const QByteArray& bytes) {
    for (qsizetype row = 0; row < bytes.size(); row += 16) {
        QByteArray hex;
        QByteArray text;
        for (qsizetype k = row; k < std::min<qsizetype>(row + 16, bytes.size()); ++k) {
            const auto byte = static_cast<quint8>(bytes[k]);
            hex += QByteArray::number(byte, 16).rightJustified(2, '0').toUpper() + ' ';
            text += byte >= 0x20 && byte < 0x7F ? char(byte) : '.';
        }
        std::printf("0x%06X  %-48s %s\n", static_cast<unsigned>(address + quint32(row)),
                    hex.constData(), text.constData());
    }
}

}  // namespace

int RunPeek(const QStringList& args) {
    constexpr const char* kUsage = "veskctl peek ADDRESS COUNT   (ADDRESS as 0x10009 or decimal)";
    if (args.size() != 2) {
        return TellUsage(kUsage);
    }
    const std::optional<quint32> address = ParseNumber(args[0]);
    const std::optional<quint32> count = ParseNumber(args[1]);
    if (!address || !count || *count == 0 || *count > kMaxPeek || *address >= kAddressEnd ||
        *count > kAddressEnd - *address) {
        TellError(QStringLiteral("peek needs an address below 0x1000000 and 1 to %1 bytes that "
                                 "stay below it")
                      .arg(kMaxPeek));
        return TellUsage(kUsage);
    }
    const CStringTable& strings = CStringTable::Instance();
    // A peek is a transfer like any other: running copies of the desktop program keep their
    // cable commands off meanwhile, and their cable monitor does not count in the middle of it.
    CCableWatch watch;
    watch.BeginTransfer();
    struct SEnd {
        CCableWatch& watch;
        ~SEnd() { watch.EndTransfer(); }
    } end{watch};
    std::lock_guard lock(watch.ProtocolLock());
    CUsbCable cable;
    const int cables = cable.CountCables();
    if (cables == 0) {
        std::fprintf(stderr, "%s\n", qPrintable(strings.Text(336)));
        return kExitRefused;
    }
    if (cables > 1) {
        std::fprintf(stderr, "%s\n", qPrintable(strings.Format(397, {QString::number(cables)})));
        return kExitRefused;
    }
    if (cable.Open() != 1) {
        std::fprintf(stderr, "%s\nveskctl: the cable did not open (status %u)\n",
                     qPrintable(strings.Text(309)), static_cast<unsigned>(cable.LastStatus()));
        return kExitRefused;
    }
    ProgrammingLink link(cable);
    QByteArray bytes;
    const int result = link.ReadMemory(*address, static_cast<int>(*count), bytes);
    const bool closed = cable.Close() == 1;
    if (result <= 0) {
        std::fprintf(stderr, "%s\nveskctl: %s\n",
                     qPrintable(result < 0 ? strings.Text(309)
                                           : strings.Format(329, {QString::number(result)})),
                     qPrintable(link.LastFailure()));
        return kExitRefused;
    }
    PrintRows(*address, bytes);
    std::fflush(stdout);
    if (!closed) {
        std::fprintf(stderr, "%s\nveskctl: the cable did not close\n",
                     qPrintable(strings.Text(309)));
        return kExitRefused;
    }
    return kExitOk;
}
