// veskctl cables: every device a count of cables looks at, in its order, which of them are
// programming cables, and what would keep a real one from working. The first thing to run when
// the desktop program says "USB Cable Not Connected". Exits 0 when exactly one cable can be used.

#include <cstdio>

#include "platform/d2xx/d2xx.h"
#include "platform/string_table.h"
#include "radio/usb_cable.h"
#include "verbs.h"

int RunCables(const QStringList& args) {
    if (!args.isEmpty()) {
        return TellUsage("veskctl cables");
    }
    const std::vector<d2xx::SDeviceReport> devices = d2xx::DescribeDevices();
    int cables = 0;
    int first = -1;
    for (std::size_t i = 0; i < devices.size(); ++i) {
        const d2xx::SDeviceReport& device = devices[i];
        const bool cable = CUsbCable::IsCableDescription(device.description.constData());
        if (cable) {
            ++cables;
            if (first < 0) {
                first = static_cast<int>(i);
            }
        }
        std::printf("%zu  %-7s  %-14s  \"%s\"%s\n", i, device.isVirtual ? "virtual" : "usb",
                    qPrintable(device.path), device.description.constData(),
                    cable ? "  programming cable" : "");
        for (const QString& problem : device.problems) {
            std::printf("     %s\n", qPrintable(problem));
        }
    }
    for (const QString& converter : d2xx::UnboundConverters()) {
        std::printf("-  usb      (no port)       %s\n     no serial driver has taken it\n",
                    qPrintable(converter));
    }
    if (cables == 0) {
        std::printf("%s\n", qPrintable(CStringTable::Instance().Text(336)));
    } else if (cables > 1) {
        std::printf("%s\n",
                    qPrintable(CStringTable::Instance().Format(397, {QString::number(cables)})));
    } else {
        std::printf("%s: device %d\n", qPrintable(CStringTable::Instance().Text(334)), first);
    }
    std::fflush(stdout);
    // Scripts can wait for a cable on the exit code: only exactly one cable can be used.
    return cables == 1 ? kExitOk : kExitRefused;
}
