// veskctl script FILE.vbs [--xml DOC.xml] [--call NAME [ARG...]]: runs a script as rule script
// authors try their rules: WScript.Echo prints, --xml gives a global Document, --call calls one
// procedure and prints its result and ByRef arguments.

#include <cstdio>

#include "platform/script/script_file.h"
#include "verbs.h"

namespace {

int Usage() {
    std::fprintf(stderr,
                 "usage: veskctl script FILE.vbs [--xml DOC.xml] [--call NAME [ARG...]]\n"
                 "  ARG: a number, True/False, Nothing, xpath:EXPR (a node of DOC.xml) or text;\n"
                 "       a leading '&' passes it ByRef and prints its value after the call\n");
    return kExitUsage;
}

}  // namespace

int RunScript(const QStringList& args) {
    vbs::SScriptFileRun run;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        if (arg == QLatin1String("--xml") && i + 1 < args.size() && run.xmlPath.isEmpty()) {
            run.xmlPath = args[++i];
        } else if (arg == QLatin1String("--call") && i + 1 < args.size()) {
            run.callName = args[++i];
            run.callArgs = args.mid(i + 1);
            break;
        } else if (!arg.startsWith(QLatin1String("--")) && run.scriptPath.isEmpty()) {
            run.scriptPath = arg;
        } else {
            return Usage();
        }
    }
    if (run.scriptPath.isEmpty()) {
        return Usage();
    }

    const vbs::SScriptFileResult result = vbs::RunScriptFile(run, [](const QString& line) {
        std::printf("%s\n", qPrintable(line));
        std::fflush(stdout);
    });
    for (const vbs::SScriptDiagnostic& error : result.errors) {
        std::fprintf(stderr, "%s\n", qPrintable(error.ToString()));
    }
    if (!result.failure.isEmpty()) {
        std::fprintf(stderr, "veskctl: %s\n", qPrintable(result.failure));
    }
    return result.ok ? kExitOk : kExitRefused;
}
