#include "app/report_command.h"

#include <optional>

#include <QGuiApplication>

#include "app/vesk_cps_app.h"
#include "app/vesk_cps_doc.h"
#include "app/wait_cursor.h"
#include "model/data_item.h"
#include "model/profile_document.h"
#include "platform/codepage/ansi_codepage.h"
#include "platform/settings/configuration.h"
#include "platform/vesk_cps_exception.h"
#include "report/report_generator.h"
#include "report/window/report_dlg.h"
#include "report/window/report_option_dlg.h"

void RunReportCommand(CVeskCPSApp& app, CVeskCPSDoc& document, QWidget* parent) {
    try {
        const QString language = app.Language();
        // The names are settled when the choice opens, as its language is then.
        const report::SReportFileNames names =
            report::ReportFileNames(language, ansi::SystemCodePageFor(language));
        const std::optional<report::EReportKind> kind = CReportOptionDlg::Ask(parent);
        if (!kind) {
            return;
        }
        report::SReportContext context = report::SReportContext::ForConfiguration(app.Config());
        context.language = language;
        context.decimalSeparator = app.DecimalSeparator();
        const CRadioDataModel& profile = document.Profile().Model();
        std::optional<report::SWrittenReport> written;
        {
            const CWaitCursor wait;
            std::optional<QString> html;
            if (*kind == report::EReportKind::Handout) {
                const std::optional<report::SDealerInfo> dealer =
                    report::ReadDealerInfo(app.Config(), language);
                if (!dealer) {
                    return;
                }
                html = report::GenerateHandout(profile, *dealer, context, app.Prompt());
            } else {
                html = report::GenerateDetailedReport(profile, context, app.Prompt());
            }
            if (!html) {
                return;
            }
            written = report::WriteReport(context, names.For(*kind), *html, app.Prompt());
        }
        if (!written) {
            return;
        }
        const QString model = profile.RootItem()
                                  .GetChildByName(QStringLiteral("factory_setting"))
                                  .AttributeText(QStringLiteral("model"))
                                  .value_or(QString());
        CReportDlg::Run({written->path, written->folder, *kind, report::IsDisplayModel(model)},
                        app.Config().UserHive(), app.Prompt(), parent);
    } catch (const CVeskCPSException& error) {
        ShowModelException(app.Prompt(), error);
    }
}
