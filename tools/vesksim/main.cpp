// vesksim: the radio simulator. It will play a radio and its echoing programming cable on a
// pseudo-terminal; for now it only describes itself.

#include <cstdio>

#include <QCoreApplication>

namespace {

void Usage(std::FILE* out) {
    std::fprintf(out,
                 "usage: vesksim [--help]\n\n"
                 "Plays a radio of the family and its programming cable on a pseudo-terminal,\n"
                 "registered as a virtual cable so that veskcps and veskctl find it.\n\n"
                 "  --help     this text\n");
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments().mid(1);
    if (args == QStringList{QStringLiteral("--help")} ||
        args == QStringList{QStringLiteral("-h")}) {
        Usage(stdout);
        return 0;
    }
    std::fprintf(stderr, "vesksim: the radio is not simulated yet\n\n");
    Usage(stderr);
    return 2;
}
