// Shows a page of an installed template for a screenshot:
//   vesk_editor_shots TEMPLATE OUTPUT.png WIDTH HEIGHT [dark] [comma] [german]
//                     [frequency [add] | settings | audio | kt | vrc | scan | channels |
//                      buttons]
// TEMPLATE is a model template's name (CUD41600). The Radio Information page, or with
// "frequency" the RF Frequency page with its third row selected ("add": in adding mode), or the
// General Settings, Audio Settings, Customized KT or Customized VRC page, is shown at WIDTH x
// HEIGHT, saved as it is drawn on the display, and the program ends. "scan": the Scan List page
// with channels 7 to 16 taken out of the scan list and two of them selected; "channels": the
// Channels page; "buttons": the Buttons page.
#include <memory>

#include <QApplication>
#include <QPalette>
#include <QPushButton>
#include <QStyleFactory>
#include <QTimer>
#include <QTreeWidget>

#include "editor/audio_setting_view.h"
#include "editor/buttons_view.h"
#include "editor/channels_view.h"
#include "editor/customized_kt_view.h"
#include "editor/customized_vrc_view.h"
#include "editor/frequency_view.h"
#include "editor/page_navigator.h"
#include "editor/radio_info_view.h"
#include "editor/scan_view.h"
#include "editor/setting_view.h"
#include "model/profile_document.h"
#include "model/settings_documents.h"
#include "platform/settings/configuration.h"
#include "platform/string_table.h"
#include "recording_prompt.h"
#include "temp_hives.h"

namespace {

// The audio and customized code pages, when the arguments ask for one of them.
std::unique_ptr<CBaseView> AudioOrCodePage(const QStringList& args, const SPageContext& context) {
    if (args.contains(QStringLiteral("audio"))) {
        return std::make_unique<CAudioSettingView>(context);
    }
    if (args.contains(QStringLiteral("kt"))) {
        return std::make_unique<CCustomizedKTView>(context);
    }
    if (args.contains(QStringLiteral("vrc"))) {
        return std::make_unique<CCustomizedVRCView>(context);
    }
    return nullptr;
}

// The scan list and channels pages, when the arguments ask for one of them.
std::unique_ptr<CBaseView> ScanOrChannelsPage(const QStringList& args,
                                              const SPageContext& context) {
    if (args.contains(QStringLiteral("channels"))) {
        return std::make_unique<CChannelsView>(context);
    }
    if (!args.contains(QStringLiteral("scan"))) {
        return nullptr;
    }
    CDataItem channels =
        context.document.Model().RootItem().GetChildByName(QStringLiteral("channels"));
    for (int i = 6; i < channels.GetChildCount(); ++i) {
        channels.GetChildByIndex(i).SetAttributeValue(QStringLiteral("in_scanlist"), qint32(0));
    }
    auto page = std::make_unique<CScanView>(context);
    QTimer::singleShot(200, [view = page.get()] {
        auto* available = view->ControlAs<QTreeWidget>(CScanView::kAvailable);
        available->topLevelItem(2)->setSelected(true);
        available->setFocus();
    });
    return page;
}

// The Buttons page, when the arguments ask for it.
std::unique_ptr<CBaseView> ButtonsPage(const QStringList& args, const SPageContext& context) {
    if (args.contains(QStringLiteral("buttons"))) {
        return std::make_unique<CButtonsView>(context);
    }
    return nullptr;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 5) {
        qWarning("usage: vesk_editor_shots TEMPLATE OUTPUT.png WIDTH HEIGHT [dark] [comma]");
        return 2;
    }
    if (args.contains(QStringLiteral("dark"))) {
        QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
        QPalette dark;
        dark.setColor(QPalette::Window, QColor(45, 45, 48));
        dark.setColor(QPalette::WindowText, Qt::white);
        dark.setColor(QPalette::Base, QColor(30, 30, 30));
        dark.setColor(QPalette::Text, Qt::white);
        dark.setColor(QPalette::Button, QColor(60, 60, 64));
        dark.setColor(QPalette::ButtonText, Qt::white);
        QApplication::setPalette(dark);
    }
    if (args.contains(QStringLiteral("german")) &&
        !CStringTable::Instance().LoadLanguageModule(QStringLiteral(VESK_GERMAN_QM))) {
        qWarning("cannot load the German language module");
        return 1;
    }
    const QString install = QStringLiteral(VESK_SOURCE_DIR "/install");
    CTempHives hives;
    hives.WriteMachine("[General]\nInstallPath=" + install.toUtf8() + "\n");
    const CConfiguration config = hives.Config();
    CRecordingPrompt prompt;
    CSettingsDocuments settings;
    CProfileDocument document(config, prompt, &settings);
    if (!settings.LoadAll(config, prompt) ||
        !document.NewFromTemplate(install + "/profiletemplate/" + args[1] + ".vk4")) {
        qWarning("cannot load the template or the settings documents");
        return 1;
    }
    const QString separator =
        args.contains(QStringLiteral("comma")) ? QStringLiteral(",") : QStringLiteral(".");
    CPageNavigator navigator;
    navigator.FrequencyListPlace().row = 2;
    const SPageContext context{
        document, settings, settings.RegionName(), separator, prompt, {}, {}, {}, 0, &navigator};
    std::unique_ptr<CBaseView> page;
    if (args.contains(QStringLiteral("frequency"))) {
        page = std::make_unique<CFrequencyView>(context);
    } else if (args.contains(QStringLiteral("settings"))) {
        page = std::make_unique<CSettingView>(context);
    } else {
        page = std::make_unique<CRadioInfoView>(context);
    }
    if (std::unique_ptr<CBaseView> other = AudioOrCodePage(args, context)) {
        page = std::move(other);
    }
    if (std::unique_ptr<CBaseView> other = ScanOrChannelsPage(args, context)) {
        page = std::move(other);
    }
    if (std::unique_ptr<CBaseView> buttons = ButtonsPage(args, context)) {
        page = std::move(buttons);
    }
    page->resize(args[3].toInt(), args[4].toInt());
    page->show();
    if (args.contains(QStringLiteral("add"))) {
        QTimer::singleShot(200, [&] { page->ControlAs<QPushButton>(1041)->click(); });
    }
    QTimer::singleShot(500, [&] {
        page->grab().save(args[2]);
        app.quit();
    });
    const int result = app.exec();
    for (const QString& text : prompt.texts) {
        qWarning("message: %s", qPrintable(text));
    }
    return result;
}
