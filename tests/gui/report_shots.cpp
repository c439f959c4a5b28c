// Shows the report choice or the report window for a screenshot:
//   vesk_report_shots choice|window OUTPUT.png [de] [dark]
// The window shows a small hand-written handout with made-up pictures; the dialog is saved as
// Qt draws it, and the program ends.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPalette>
#include <QStyleFactory>
#include <QTemporaryDir>
#include <QTimer>

#include "platform/settings/config_hive.h"
#include "platform/string_table.h"
#include "recording_prompt.h"
#include "report/report_margins.h"
#include "report/window/report_dlg.h"
#include "report/window/report_option_dlg.h"

namespace {

void Picture(const QString& path, QSize size, const QString& text) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(QColor(230, 236, 244));
    QPainter painter(&image);
    painter.drawRect(image.rect().adjusted(0, 0, -1, -1));
    painter.drawText(image.rect(), Qt::AlignCenter, text);
    painter.end();
    image.save(path, "JPG");
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 3) {
        qWarning("usage: vesk_report_shots choice|window OUTPUT.png [de] [dark]");
        return 2;
    }
    if (args.contains(QStringLiteral("de"))) {
        CStringTable::Instance().LoadLanguageModule(QStringLiteral(VESK_GERMAN_QM));
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
        dark.setColor(QPalette::Highlight, QColor(42, 130, 218));
        dark.setColor(QPalette::HighlightedText, Qt::white);
        QApplication::setPalette(dark);
    }

    const QTemporaryDir dir;
    const QDir folder(dir.path());
    Picture(folder.filePath(QStringLiteral("HandoutHeader.jpg")), QSize(600, 60), "Header");
    Picture(folder.filePath(QStringLiteral("Display.jpg")), QSize(200, 300), "Radio");
    const QString page = folder.filePath(QStringLiteral("Customer Handout.htm"));
    QFile file(page);
    if (!file.open(QIODevice::WriteOnly)) {
        return 1;
    }
    file.write(
        "\xEF\xBB\xBF<html><body><img src=\"HandoutHeader.jpg\"><h2>ZN420</h2>"
        "<table border=\"1\" cellpadding=\"4\"><tr><td><img src=\"Display.jpg\"></td>"
        "<td><b>1</b> Antenne<br><b>2</b> Kanalwahl<br><b>3</b> LED</td></tr></table>"
        "<p>Funkhaus Nord GmbH, Hafenstra\xC3\x9F"
        "e 12, 24103 Kiel</p></body></html>");
    file.close();

    const CConfigHive hive(folder.filePath(QStringLiteral("user.conf")),
                           CConfigHive::Access::ReadWrite);
    const report::CReportMargins margins(hive);
    CRecordingPrompt prompt;
    std::unique_ptr<QDialog> dialog;
    if (args.at(1) == QStringLiteral("choice")) {
        dialog = std::make_unique<CReportOptionDlg>();
    } else if (args.at(1) == QStringLiteral("window")) {
        dialog = std::make_unique<CReportDlg>(
            CReportDlg::SReportPage{page, folder.path(), report::EReportKind::Handout, true},
            margins, prompt);
        dialog->resize(760, 520);
    } else {
        return 2;
    }
    dialog->show();
    QTimer::singleShot(800, [&] {
        dialog->grab().save(args.at(2));
        app.quit();
    });
    return app.exec();
}
