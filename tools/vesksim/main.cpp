// vesksim: the radio simulator. It plays a radio of the family and its echoing programming cable
// on a pseudo-terminal registered as a virtual cable, so that veskcps and veskctl find it as they
// find a real cable.

#include <csignal>
#include <cstdio>
#include <optional>

#include <QCoreApplication>
#include <QFileInfo>

#include "platform/settings/configuration.h"
#include "sim_line.h"
#include "sim_memory.h"
#include "sim_radio.h"

#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr int kExitUsage = 2;

void Usage(std::FILE* out) {
    std::fprintf(
        out,
        "usage: vesksim [options]\n\n"
        "Plays a radio of the family and its programming cable on a pseudo-terminal,\n"
        "registered as a virtual cable so that veskcps and veskctl find it.\n\n"
        "  --memory FILE          the radio's memory (0x20000 bytes for 0x10000..0x2FFFF),\n"
        "                         created when missing and kept up to date after every write\n"
        "  --from FILE.vk4        (re)build the memory from this profile or template\n"
        "  --model CODE           model code (three letters, five digits) in the identity block\n"
        "  --firmware PVR         firmware phase, version and revision (R16, R17, D7)\n"
        "  --codeplug-version N   identity byte 19\n"
        "  --codeplug-phase C     identity byte 18\n"
        "  --password PIN         0 to 4 digits ('' clears it)\n"
        "  --code-capacity N      the squelch code capacity, in both limit layouts\n"
        "  --serial-clone N       the serial clone compatibility byte\n"
        "  --status-code N        what the status query reports\n"
        "  --cable NAME           registration NAME.cable (default vesksim)\n"
        "  --description TEXT     the cable's description (default \"ZT CPS Cable\")\n"
        "  --fast                 no pacing\n"
        "  --turnaround MS        the radio's reaction time before its acknowledgement\n"
        "  --fault KIND[@N[+]]    silence, garbage, drop, checksum, truncate, refuse, babble\n"
        "                         (stray bytes without end after the acknowledgement) or\n"
        "                         corrupt (writes answered as taken, last byte stored\n"
        "                         inverted); on every request, on request N only, or from\n"
        "                         request N on\n"
        "  --pull-after N         the cable vanishes after N bytes to the host (exit 3)\n"
        "  --log                  every frame both ways on stderr\n"
        "  --help                 this text\n");
}

int Refuse(const QString& text) {
    std::fprintf(stderr, "vesksim: %s\n", text.toUtf8().constData());
    return kExitUsage;
}

struct SOptions {
    QString memory;
    QString from;
    std::optional<QByteArray> firmware;
    sim::SRadioOverrides overrides;
    sim::SLineSetup line;
    sim::SRadioSetup radio;
};

std::optional<uint> Number(const QString& text, uint max) {
    bool ok = false;
    const uint n = text.toUInt(&ok, 10);
    if (!ok || n > max || text.startsWith(u'+')) {
        return std::nullopt;
    }
    return n;
}

// False after the message.
bool Parse(const QStringList& args, SOptions& o, bool& help) {
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        const auto flag = [&](const char* name) { return arg == QLatin1String(name); };
        if (flag("--help") || flag("-h")) {
            help = true;
            return true;
        }
        if (flag("--fast")) {
            o.line.fast = true;
            continue;
        }
        if (flag("--log")) {
            o.line.log = true;
            continue;
        }
        if (i + 1 >= args.size()) {
            Refuse(arg.startsWith(u'-') ? QStringLiteral("%1 needs a value").arg(arg)
                                        : QStringLiteral("unexpected argument '%1'").arg(arg));
            return false;
        }
        const QString value = args[++i];
        const auto bad = [&](const char* what) {
            Refuse(QStringLiteral("%1 '%2': %3").arg(arg, value, QString::fromLatin1(what)));
            return false;
        };
        const auto byte = [&](std::optional<quint8>& target) {
            const std::optional<uint> n = Number(value, 255);
            if (n) {
                target = quint8(*n);
            }
            return n.has_value();
        };
        if (flag("--memory")) {
            if (value.isEmpty()) {
                return bad("a file name is needed");
            }
            o.memory = value;
        } else if (flag("--from")) {
            o.from = value;
        } else if (flag("--model")) {
            bool model = value.size() == 8;
            for (qsizetype k = 0; model && k < 8; ++k) {
                const QChar c = value[k];
                model = k < 3 ? c.unicode() > 0x20 && c.unicode() < 0x7F : c >= u'0' && c <= u'9';
            }
            if (!model) {
                return bad("a model code is three letters and five digits");
            }
            o.overrides.model = value.toLatin1();
        } else if (flag("--firmware")) {
            const QByteArray pvr = value.toLatin1();
            if (pvr.size() < 2 || pvr.size() > 3 || value.size() != pvr.size()) {
                return bad("expected phase, version and revision such as R16, R17 or D7");
            }
            o.firmware = pvr.size() == 2 ? pvr + '0' : pvr;
        } else if (flag("--codeplug-version")) {
            if (!byte(o.overrides.codeplugVersion)) {
                return bad("expected a number 0 to 255");
            }
        } else if (flag("--codeplug-phase")) {
            if (value.size() != 1 || value.at(0).unicode() > 0xFF) {
                return bad("expected one character");
            }
            o.overrides.codeplugPhase = quint8(value.at(0).unicode());
        } else if (flag("--password")) {
            bool digits = value.size() <= 4;
            for (QChar c : value) {
                digits = digits && c >= u'0' && c <= u'9';
            }
            if (!digits) {
                return bad("a password is 0 to 4 digits");
            }
            o.overrides.password = value.toLatin1();
        } else if (flag("--code-capacity")) {
            if (!byte(o.overrides.codeCapacity)) {
                return bad("expected a number 0 to 255");
            }
        } else if (flag("--serial-clone")) {
            if (!byte(o.overrides.serialClone)) {
                return bad("expected a number 0 to 255");
            }
        } else if (flag("--status-code")) {
            std::optional<quint8> status;
            if (!byte(status)) {
                return bad("expected a number 0 to 255");
            }
            o.radio.statusCode = *status;
        } else if (flag("--cable")) {
            if (value.isEmpty() || value.contains(u'/') || value.startsWith(u'.')) {
                return bad("a cable name is a plain file name");
            }
            o.line.cableName = value;
        } else if (flag("--description")) {
            if (value.contains(u'\n') || value.contains(u'\r')) {
                return bad("the description is one line");
            }
            o.line.description = value;
        } else if (flag("--turnaround")) {
            const std::optional<uint> ms = Number(value, 60000);
            if (!ms) {
                return bad("expected milliseconds 0 to 60000");
            }
            o.line.turnaroundMs = int(*ms);
        } else if (flag("--fault")) {
            const std::optional<sim::SFault> fault = sim::ParseFault(value);
            if (!fault) {
                return bad(
                    "expected silence, garbage, drop, checksum, truncate, refuse, babble or "
                    "corrupt, optionally with @N or @N+");
            }
            o.radio.faults.push_back(*fault);
        } else if (flag("--pull-after")) {
            bool ok = false;
            const qint64 n = value.toLongLong(&ok, 10);
            if (!ok || n < 0) {
                return bad("expected a number of bytes");
            }
            o.line.pullAfter = n;
        } else {
            Refuse(QStringLiteral("unknown option '%1'").arg(arg));
            return false;
        }
    }
    return true;
}

int g_stopWrite = -1;

void OnStop(int) {
    const char b = 's';
    [[maybe_unused]] const ssize_t n = ::write(g_stopWrite, &b, 1);
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("vesksim"));
    SOptions options;
    bool help = false;
    if (!Parse(QCoreApplication::arguments().mid(1), options, help)) {
        std::fprintf(stderr, "\n");
        Usage(stderr);
        return kExitUsage;
    }
    if (help) {
        Usage(stdout);
        return 0;
    }

    // Everything that can refuse is settled before the memory file is touched.
    const CConfiguration config = CConfiguration::FromEnvironment();
    const QString defaultTemplate = config.GetInstallPath() + QStringLiteral("/profiletemplate/") +
                                    QLatin1String(sim::kDefaultTemplate) + QStringLiteral(".vk4");
    const bool haveFile = !options.memory.isEmpty() && QFileInfo::exists(options.memory);
    const bool rebuild = !options.from.isEmpty() || !haveFile;
    std::optional<CVirtualCP> image;
    QString error;
    if (rebuild) {
        const QString source = !options.from.isEmpty() ? options.from : defaultTemplate;
        image = sim::ImageFromProfile(config, source, error);
        if (!image) {
            return Refuse(error);
        }
    }
    sim::CSimMemory memory;
    QByteArray bytes;
    if (rebuild) {
        bytes = sim::MemoryFromImage(*image);
    } else {
        if (!memory.Open(options.memory, error)) {
            return Refuse(error);
        }
        bytes = memory.Bytes();
    }
    if (!options.firmware) {
        if (!image) {
            // A memory file does not say which firmware the radio runs; the installation's
            // default template does.
            image = sim::ImageFromProfile(config, defaultTemplate, error);
            if (!image) {
                return Refuse(error);
            }
        }
        options.firmware = QByteArray(reinterpret_cast<const char*>(image->Bytes().data()), 3);
    }
    for (int k = 0; k < 3; ++k) {
        options.radio.firmware[k] = options.firmware->at(k);
    }
    sim::ApplyOverrides(bytes, options.overrides);
    if (options.memory.isEmpty()) {
        memory.Assign(bytes);
    } else if (rebuild) {
        if (!memory.Create(options.memory, bytes, error)) {
            return Refuse(error);
        }
    } else if (bytes != memory.Bytes()) {
        memory.Assign(bytes);
        if (!memory.Flush(error)) {
            return Refuse(error);
        }
    }

    int stopPipe[2];
    if (::pipe2(stopPipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        std::perror("vesksim: pipe");
        return 1;
    }
    g_stopWrite = stopPipe[1];
    struct sigaction action {};
    action.sa_handler = OnStop;
    sigemptyset(&action.sa_mask);
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);

    sim::CSimRadio radio(memory, options.radio);
    sim::CSimLine line(radio, options.line);
    if (!line.Open(error)) {
        std::fprintf(stderr, "vesksim: %s\n", error.toUtf8().constData());
        return 1;
    }
    std::printf("cable %s %s\n", options.line.cableName.toUtf8().constData(),
                line.Device().toUtf8().constData());
    std::fflush(stdout);
    return line.Run(stopPipe[0]);
}
