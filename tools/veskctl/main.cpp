// veskctl: the command-line tool over the same core as the desktop program.

#include <cstdio>
#include <cstring>

#include <QCoreApplication>

#include "resources/string_table.h"
#include "verbs.h"

namespace {

constexpr SVerb kVerbs[] = {
    {"config", "print the resolved configuration: hives, installation, languages", RunConfig},
    {"script", "run a VBScript file, optionally on an XML document and calling one procedure",
     RunScript},
    {"version", "print the program version", RunVersion},
};

void Usage(std::FILE* out) {
    std::fprintf(out, "usage: veskctl <verb> [arguments]\n\nverbs:\n");
    for (const SVerb& verb : kVerbs) {
        std::fprintf(out, "  %-10s %s\n", verb.name, verb.summary);
    }
    std::fprintf(out, "\n  --version  same as 'version'\n  --help     this text\n");
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("veskctl"));
    QStringList args = QCoreApplication::arguments().mid(1);
    if (args.isEmpty()) {
        Usage(stderr);
        return kExitUsage;
    }
    QString verb = args.takeFirst();
    if (verb == QLatin1String("--help") || verb == QLatin1String("-h") ||
        verb == QLatin1String("help")) {
        Usage(stdout);
        return kExitOk;
    }
    if (verb == QLatin1String("--version")) {
        verb = QStringLiteral("version");
    }
    for (const SVerb& entry : kVerbs) {
        if (verb == QLatin1String(entry.name)) {
            return entry.run(args);
        }
    }
    std::fprintf(stderr, "veskctl: unknown verb '%s'\n\n", qPrintable(verb));
    Usage(stderr);
    return kExitUsage;
}
