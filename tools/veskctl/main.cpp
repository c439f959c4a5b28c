// veskctl: the command-line tool over the same core as the desktop program.

#include <cstdio>
#include <cstring>
#include <memory>

#include <QCoreApplication>
#include <QGuiApplication>

#include "platform/string_table.h"
#include "verbs.h"

namespace {

constexpr SVerb kVerbs[] = {
    {"config", "print the resolved configuration: hives, installation, languages", RunConfig},
    {"script", "run a VBScript file, optionally on an XML document and calling one procedure",
     RunScript},
    {"version", "print the program version", RunVersion},
    {"validate", "check whether a profile file may be opened in this installation", RunValidate},
    {"decode", "print the text of a profile file (--as-loaded: as the editor holds it)", RunDecode},
    {"encode", "write profile XML text as a profile file: encode FILE.xml -o OUT.vk4", RunEncode},
    {"new", "make a profile from a model template: new --template NAME -o OUT.vk4", RunNew},
    {"templates", "list the installed model templates", RunTemplates},
    {"diff", "what differs between two profiles: diff A B (a .vk4, an image or radio:)", RunDiff},
    {"set", "set attributes through the profile's rules: set FILE.vk4 PATH=VALUE...", RunSet},
    {"add-channel", "add a channel as the channel tree does", RunAddChannel},
    {"delete-channel", "delete channel N (from 1)", RunDeleteChannel},
    {"add-frequency", "add a frequency: MHZ BANDWIDTH POWER COMPANDER", RunAddFrequency},
    {"edit-frequency", "change frequency N: N MHZ BANDWIDTH POWER COMPANDER", RunEditFrequency},
    {"delete-frequency", "delete frequency N (from 1) of the frequency table", RunDeleteFrequency},
    {"export",
     "the frequency table or the channels as a spreadsheet (CSV) file:\n"
     "                    export FILE.vk4 frequencies|channels [-o OUT.csv]",
     RunExport},
    {"import",
     "a spreadsheet (CSV) file as the frequency table or the channels, through the profile's\n"
     "                    rules, all or nothing: import FILE.vk4 frequencies|channels IN.csv",
     RunImport},
    {"report",
     "a profile's detailed report or customer handout as HTML, with the handout's pictures\n"
     "                    beside it, and as PDF laid out as the program prints it:\n"
     "                    report detailed|handout FILE.vk4 -o OUT.htm [--pdf OUT.pdf]",
     RunReport},
    {"image", "write the codeplug image a radio would get: image FILE.vk4 -o OUT.bin", RunImage},
    {"profile", "the profile in a codeplug image: profile IMAGE.bin [-o OUT.vk4]",
     RunProfileFromImage},
    {"dump", "list every field of a codeplug image by name: dump IMAGE.bin", RunDump},
    {"cables", "list the devices a cable count looks at and what keeps a cable from working",
     RunCables},
    {"peek", "read radio memory through the cable: peek ADDRESS COUNT", RunPeek},
    {"identify", "what the radio on the cable is: model, firmware, codeplug, password",
     RunIdentify},
    {"read", "read the radio into a new profile: read -o OUT.vk4 [--password PIN]", RunRead},
    {"write",
     "write a profile into the radio: write FILE.vk4 [--password PIN] [--yes]\n"
     "                    [--no-backup] [--no-verify]; first keeps the radio's contents as a\n"
     "                    profile in ~/.local/share/Corvane/Vesk Kel CPS/backups (the newest 20\n"
     "                    stay), afterwards reads back and compares every block written",
     RunWrite},
    {"reset", "restart the radio on the cable", RunReset},
};

void Usage(std::FILE* out) {
    std::fprintf(out, "usage: veskctl <verb> [arguments]\n\nverbs:\n");
    for (const SVerb& verb : kVerbs) {
        std::fprintf(out, "  %-17s %s\n", verb.name, verb.summary);
    }
    std::fprintf(out,
                 "\n  The editing verbs (set to delete-frequency) save to -o OUT.vk4 or back to "
                 "FILE.vk4;\n  --yes answers the profile's questions with yes.\n"
                 "\n  --version         same as 'version'\n  --help            this text\n");
}

// A PDF is drawn with fonts and pictures, which need Qt's GUI module; every other verb needs no
// more than the core. Without a display the GUI runs on the offscreen platform.
std::unique_ptr<QCoreApplication> MakeApplication(int& argc, char** argv) {
    bool pdf = false;
    for (int i = 1; i < argc; ++i) {
        pdf = pdf || std::strcmp(argv[i], "--pdf") == 0;
    }
    if (!pdf || argc < 2 || std::strcmp(argv[1], "report") != 0) {
        return std::make_unique<QCoreApplication>(argc, argv);
    }
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
        qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    return std::make_unique<QGuiApplication>(argc, argv);
}

}  // namespace

int main(int argc, char** argv) {
    const std::unique_ptr<QCoreApplication> app = MakeApplication(argc, argv);
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
