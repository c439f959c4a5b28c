// veskctl dump: every field of a codeplug image by name, to see what a radio holds or what a
// write would send, down to the bytes no profile carries.

#include <cstdio>

#include "radio/virtual_cp.h"
#include "verbs.h"

int RunDump(const QStringList& args) {
    SProfileArgs parsed;
    if (!ParseProfileArgs(args, 0, parsed) || parsed.operands.size() != 1) {
        return TellUsage("veskctl dump IMAGE.bin");
    }
    CVirtualCP image;
    if (!ReadImageFile(parsed.operands.first(), image)) {
        return kExitRefused;
    }
    const QByteArray text = image.Dump().toUtf8();
    if (std::fwrite(text.constData(), 1, static_cast<size_t>(text.size()), stdout) !=
            static_cast<size_t>(text.size()) ||
        std::fflush(stdout) != 0) {
        TellError(QStringLiteral("cannot write the dump of %1").arg(parsed.operands.first()));
        return kExitRefused;
    }
    return kExitOk;
}
