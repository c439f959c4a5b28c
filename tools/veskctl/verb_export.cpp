// veskctl export: the frequency table or the channels of a profile as a spreadsheet file.

#include <cstdio>
#include <optional>

#include <QFile>

#include "cli_prompt.h"
#include "model/profile_csv.h"
#include "model/profile_document.h"
#include "platform/files/atomic_file.h"
#include "verbs.h"

std::optional<profile_csv::ETable> CsvTable(const QString& name) {
    if (name == QLatin1String("frequencies")) {
        return profile_csv::ETable::Frequencies;
    }
    if (name == QLatin1String("channels")) {
        return profile_csv::ETable::Channels;
    }
    return std::nullopt;
}

int RunExport(const QStringList& args) {
    SProfileArgs parsed;
    std::optional<profile_csv::ETable> table;
    if (!ParseProfileArgs(args, kOptOutput, parsed) || parsed.operands.size() != 2 ||
        !(table = CsvTable(parsed.operands[1]))) {
        return TellUsage("veskctl export FILE.vk4 frequencies|channels [-o OUT.csv]");
    }
    QByteArray csv;
    const int opened =
        WithOpenProfile(parsed.operands.first(), false,
                        [&](CProfileDocument& document, CCliPrompt&, const CSettingsDocuments&) {
                            csv = profile_csv::Export(document.Model().RootItem(), *table);
                            return kExitOk;
                        });
    if (opened != kExitOk) {
        return opened;
    }
    if (parsed.output.isEmpty()) {
        if (std::fwrite(csv.constData(), 1, static_cast<size_t>(csv.size()), stdout) !=
                static_cast<size_t>(csv.size()) ||
            std::fflush(stdout) != 0) {
            TellError(QStringLiteral("cannot write to the standard output"));
            return kExitRefused;
        }
        return kExitOk;
    }
    QString error;
    if (!WriteFileAtomically(parsed.output, csv, &error)) {
        TellError(QStringLiteral("cannot write %1: %2").arg(parsed.output, error));
        return kExitRefused;
    }
    return kExitOk;
}
