// veskctl import: a spreadsheet file as a profile's frequency table or channels, through the
// profile's rules. The profile file changes only when every line was taken.

#include <cstdio>
#include <optional>

#include <QFile>

#include "cli_prompt.h"
#include "model/profile_csv.h"
#include "model/profile_document.h"
#include "verbs.h"

int RunImport(const QStringList& args) {
    SProfileArgs parsed;
    std::optional<profile_csv::ETable> table;
    if (!ParseProfileArgs(args, 0, parsed) || parsed.operands.size() != 3 ||
        !(table = CsvTable(parsed.operands[1]))) {
        return TellUsage("veskctl import FILE.vk4 frequencies|channels IN.csv");
    }
    const QString& path = parsed.operands.first();
    QFile input(parsed.operands[2]);
    if (!input.open(QIODevice::ReadOnly)) {
        TellError(QStringLiteral("cannot read %1: %2").arg(input.fileName(), input.errorString()));
        return kExitRefused;
    }
    const QByteArray csv = input.readAll();
    return WithOpenProfile(
        path, false, [&](CProfileDocument& document, CCliPrompt&, const CSettingsDocuments&) {
            const profile_csv::SImportResult result = profile_csv::Import(document, *table, csv);
            if (!result.applied) {
                for (const profile_csv::SImportProblem& problem : result.problems) {
                    std::fprintf(stderr, "%s\n",
                                 profile_csv::ProblemText(problem).toUtf8().constData());
                }
                std::fprintf(stderr, "%s\n",
                             profile_csv::NothingImportedText().toUtf8().constData());
                return kExitRefused;
            }
            // Saved as any edit is: checked, and written beside the file before it replaces it.
            if (!document.Save(path)) {
                return kExitRefused;
            }
            std::printf("%s: %d %s imported\n", path.toUtf8().constData(), result.rows,
                        *table == profile_csv::ETable::Frequencies ? "frequencies" : "channels");
            return kExitOk;
        });
}
