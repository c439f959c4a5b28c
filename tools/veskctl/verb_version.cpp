#include <cstdio>

#include "platform/string_table.h"
#include "verbs.h"

int RunVersion(const QStringList& args) {
    if (!args.isEmpty()) {
        std::fprintf(stderr, "veskctl: version takes no arguments\n");
        return kExitUsage;
    }
    std::printf("veskctl (%s) %s\n", qPrintable(kApplicationName), VESK_VERSION);
    return kExitOk;
}
