// Report generation against a bare run of the same transform. The goal is that everything the
// program adds around libxslt (the report copy, the code texts, the style sheet's text edits,
// parsing under the program's policy, the security preferences, the token tables) costs at most
// half as much again as the transform xsltproc runs:
//
//   build/ci/tests/bench/vesk_bench_report --benchmark_counters_tabular=true
//
// BM_Report is the whole generation of one report from an open profile; BM_XsltprocEquivalent
// does what xsltproc does with the same edited style sheet and the same report copy (read both
// files with its parser options, compile, apply, serialise). The ratio is the first over the
// second. BM_XsltprocProcess runs the real xsltproc with --timing --repeat once and reports its own
// figures (milliseconds for parsing the sheet and the document, and one application), as a check
// that the equivalent is what xsltproc spends.

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QString>
#include <QTemporaryDir>
#include <libxslt/documents.h>
#include <libxslt/security.h>
#include <libxslt/transform.h>
#include <libxslt/xslt.h>
#include <libxslt/xsltInternals.h>
#include <libxslt/xsltutils.h>

#include "model/profile_document.h"
#include "model/settings_documents.h"
#include "platform/settings/configuration.h"
#include "platform/user_prompt.h"
#include "report/report_generator.h"
#include "temp_hives.h"

#include <benchmark/benchmark.h>

namespace {

class CSilentPrompt : public IUserPrompt {
public:
    PromptAnswer Ask(int, const QString&, PromptStyle) override { return PromptAnswer::Ok; }
};

const QString kSourceDir = QStringLiteral(VESK_SOURCE_DIR);
const QString kTemplate = kSourceDir + QStringLiteral("/install/profiletemplate/CUD41670.vk4");

// The largest template, open as the program holds it, with the installation's report folder.
struct SOpenProfile {
    SOpenProfile() {
        hives.WriteMachine(
            "[General]\nInstallPath=" + hives.Path(QStringLiteral("install")).toUtf8() + "\n");
        for (const char* name :
             {"profiletemplate/DataProfile.vbs", "profiletemplate/DataProfile.xsd",
              "Report/Detailed.xsl", "Report/Handout.xsl"}) {
            QFile source(kSourceDir + QStringLiteral("/install/") + QString::fromUtf8(name));
            if (source.open(QIODevice::ReadOnly)) {
                CTempHives::Write(hives.Path(QStringLiteral("install/") + QString::fromUtf8(name)),
                                  source.readAll());
            }
        }
        opened = document.Open(kTemplate);
        context = report::SReportContext::ForConfiguration(config);
        context.decimalSeparator = QStringLiteral(".");
    }

    CTempHives hives;
    CConfiguration config = hives.Config();
    CSilentPrompt prompt;
    CProfileDocument document{config, prompt, nullptr};
    report::SReportContext context;
    bool opened = false;
};

void BM_Report(benchmark::State& state) {
    SOpenProfile profile;
    const bool detailed = state.range(0) == 0;
    const report::SDealerInfo dealer{QStringLiteral("Radio & Co\nMain Street 1"),
                                     QStringLiteral("Open Mon-Fri"), QStringLiteral("+1 555 0100")};
    for (auto _ : state) {
        const std::optional<QString> html =
            detailed ? report::GenerateDetailedReport(profile.document.Model(), profile.context,
                                                      profile.prompt)
                     : report::GenerateHandout(profile.document.Model(), dealer, profile.context,
                                               profile.prompt);
        if (!html) {
            state.SkipWithError("no report");
            return;
        }
        benchmark::DoNotOptimize(html->size());
    }
}
BENCHMARK(BM_Report)->Arg(0)->Arg(1)->ArgName("handout")->Unit(benchmark::kMillisecond);

// The edited detailed style sheet and the report copy as files, as xsltproc would be given them.
struct SXsltprocInput {
    SXsltprocInput() {
        QFile sheetSource(kSourceDir + QStringLiteral("/install/Report/Detailed.xsl"));
        if (!sheetSource.open(QIODevice::ReadOnly) || !profile.opened) {
            return;
        }
        sheet = dir.filePath(QStringLiteral("Detailed.xsl"));
        input = dir.filePath(QStringLiteral("profile.xml"));
        CTempHives::Write(sheet, report::detail::EditDetailedStyleSheet(
                                     QString::fromUtf8(sheetSource.readAll()), QStringLiteral("."))
                                     .toUtf8());
        CTempHives::Write(input,
                          report::detail::ProfileTextForReport(
                              QString::fromUtf8(profile.document.Model().WorkingDocument().ToXml()))
                              .toUtf8());
    }
    SOpenProfile profile;
    QTemporaryDir dir;
    QString sheet;
    QString input;
};

void BM_XsltprocEquivalent(benchmark::State& state) {
    const SXsltprocInput files;
    if (files.sheet.isEmpty()) {
        state.SkipWithError("no style sheet");
        return;
    }
    const QByteArray sheetPath = files.sheet.toLocal8Bit();
    const QByteArray inputPath = files.input.toLocal8Bit();
    // xsltproc runs with libxslt's own loader and no security preferences; the program has put
    // its own in place for the whole process, and gets them back afterwards.
    const xsltDocLoaderFunc loader = xsltDocDefaultLoader;
    xsltSecurityPrefsPtr prefs = xsltGetDefaultSecurityPrefs();
    xsltSetLoaderFunc(nullptr);
    xsltSetDefaultSecurityPrefs(nullptr);
    for (auto _ : state) {
        xsltStylesheetPtr style =
            xsltParseStylesheetFile(reinterpret_cast<const xmlChar*>(sheetPath.constData()));
        xmlDocPtr doc = xmlReadFile(inputPath.constData(), nullptr, XSLT_PARSE_OPTIONS);
        if (style == nullptr || doc == nullptr) {
            state.SkipWithError("xsltproc's way cannot read the files");
            xmlFreeDoc(doc);
            xsltFreeStylesheet(style);
            break;
        }
        xmlDocPtr result = xsltApplyStylesheet(style, doc, nullptr);
        xmlChar* text = nullptr;
        int length = 0;
        xsltSaveResultToString(&text, &length, result, style);
        benchmark::DoNotOptimize(length);
        xmlFree(text);
        xmlFreeDoc(result);
        xmlFreeDoc(doc);
        xsltFreeStylesheet(style);
    }
    xsltSetLoaderFunc(loader);
    xsltSetDefaultSecurityPrefs(prefs);
}
BENCHMARK(BM_XsltprocEquivalent)->Unit(benchmark::kMillisecond);

void BM_XsltprocProcess(benchmark::State& state) {
    const SXsltprocInput files;
    const QString xsltproc = QStandardPaths::findExecutable(QStringLiteral("xsltproc"));
    if (files.sheet.isEmpty() || xsltproc.isEmpty()) {
        state.SkipWithError("no style sheet or no xsltproc");
        return;
    }
    QString timing;
    for (auto _ : state) {
        QProcess process;
        process.setStandardOutputFile(QProcess::nullDevice());
        process.start(xsltproc, {QStringLiteral("--timing"), QStringLiteral("--repeat"),
                                 files.sheet, files.input});
        process.waitForFinished(60000);
        timing = QString::fromLocal8Bit(process.readAllStandardError());
    }
    const auto figure = [&](const char* pattern) {
        const QRegularExpressionMatch match =
            QRegularExpression(QString::fromLatin1(pattern)).match(timing);
        return match.hasMatch() ? match.captured(1).toDouble() : -1.0;
    };
    state.counters["sheet_ms"] = figure("Parsing stylesheet .* took (\\d+) ms");
    state.counters["document_ms"] = figure("Parsing document .* took (\\d+) ms");
    state.counters["apply_ms"] = figure("Applying stylesheet 20 times took (\\d+) ms") / 20.0;
}
BENCHMARK(BM_XsltprocProcess)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
