// veskctl report: a profile's detailed report or customer handout as an HTML file.

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "cli_prompt.h"
#include "model/data_item.h"
#include "model/profile_document.h"
#include "platform/settings/configuration.h"
#include "platform/settings/decimal_separator.h"
#include "platform/string_table.h"
#include "report/print/report_print.h"
#include "report/report_generator.h"
#include "report/report_margins.h"
#include "verbs.h"

namespace {

constexpr char kUsage[] = "veskctl report detailed|handout FILE.vk4 -o OUT.htm [--pdf OUT.pdf]";

// The language module of the user's language, as the desktop program loads it at start-up, so
// that a report made here reads as the same report made there.
void LoadUserLanguage(const CConfiguration& config, const QString& language) {
    const QString module = config.GetResourceModulePath(language);
    if (!module.isEmpty()) {
        CStringTable::Instance().LoadLanguageModule(module);
    }
}

// The handout names its pictures relative to itself: they go beside it.
bool CopyPictures(const QString& reportFolder, const QString& outputFolder, bool display) {
    if (QFileInfo(reportFolder).canonicalFilePath() ==
        QFileInfo(outputFolder).canonicalFilePath()) {
        return true;
    }
    for (const QString& picture : report::FoundHandoutImages(reportFolder, display)) {
        const QString target = QDir(outputFolder).filePath(picture);
        QFile::remove(target);
        if (!QFile::copy(QDir(reportFolder).filePath(picture), target)) {
            TellError(QStringLiteral("cannot write %1").arg(target));
            return false;
        }
    }
    return true;
}

}  // namespace

int RunReport(const QStringList& arguments) {
    QStringList args = arguments;
    QString pdf;
    if (const qsizetype at = args.indexOf(QStringLiteral("--pdf")); at >= 0) {
        if (at + 1 >= args.size() || args.count(QStringLiteral("--pdf")) > 1) {
            return TellUsage(kUsage);
        }
        pdf = args[at + 1];
        args.remove(at, 2);
    }
    SProfileArgs parsed;
    if (!ParseProfileArgs(args, kOptOutput, parsed) || parsed.operands.size() != 2 ||
        parsed.output.isEmpty()) {
        return TellUsage(kUsage);
    }
    const QString kind = parsed.operands[0];
    if (kind != QLatin1String("detailed") && kind != QLatin1String("handout")) {
        return TellUsage(kUsage);
    }
    const bool handout = kind == QLatin1String("handout");
    return WithOpenProfile(
        parsed.operands[1], false,
        [&](CProfileDocument& document, CCliPrompt& prompt, const CSettingsDocuments&) {
            const CConfiguration& config = document.Configuration();
            report::SReportContext context = report::SReportContext::ForConfiguration(config);
            LoadUserLanguage(config, context.language);
            context.decimalSeparator = DecimalSeparatorFor(context.language);
            std::optional<QString> html;
            if (handout) {
                const std::optional<report::SDealerInfo> dealer =
                    report::ReadDealerInfo(config, context.language);
                if (!dealer) {
                    TellError(
                        QStringLiteral("no dealer information for the language \"%1\": enter it in "
                                       "the desktop program (Dealer Information)")
                            .arg(context.language));
                    return kExitRefused;
                }
                html = report::GenerateHandout(document.Model(), *dealer, context, prompt);
            } else {
                html = report::GenerateDetailedReport(document.Model(), context, prompt);
            }
            if (!html) {
                return kExitRefused;
            }
            if (!report::WriteReportFile(parsed.output, *html)) {
                TellError(QStringLiteral("cannot write %1").arg(parsed.output));
                return kExitRefused;
            }
            if (handout) {
                const QString model = document.Model()
                                          .RootItem()
                                          .GetChildByName(QStringLiteral("factory_setting"))
                                          .AttributeText(QStringLiteral("model"))
                                          .value_or(QString());
                if (!CopyPictures(context.reportFolder, QFileInfo(parsed.output).absolutePath(),
                                  report::IsDisplayModel(model))) {
                    return kExitRefused;
                }
            }
            QString error;
            if (!pdf.isEmpty() &&
                !report::WriteReportPdf(parsed.output, pdf, report::CReportMargins::ReportMargins(),
                                        &error)) {
                TellError(QStringLiteral("cannot write %1: %2").arg(pdf, error));
                return kExitRefused;
            }
            return kExitOk;
        });
}
