// Shows one of the main window's dialogs on the display for a screenshot:
//   vesk_dialog_shots DIALOG OUTPUT.png [de] [dark]
// DIALOG is new, about, dealer or password. The dialog is filled as a dealer would see it, the
// whole screen is saved with ImageMagick's import, and the program ends.
#include <QApplication>
#include <QLineEdit>
#include <QPalette>
#include <QProcess>
#include <QStyleFactory>
#include <QTemporaryDir>
#include <QTimer>

#include "app/about_dlg.h"
#include "app/ask_pwd_dlg.h"
#include "app/dealer_info_dialog.h"
#include "app/limited_text_edit.h"
#include "app/new_profile_dlg.h"
#include "platform/settings/configuration.h"
#include "platform/string_table.h"
#include "recording_prompt.h"
#include "temp_hives.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 3) {
        qWarning("usage: vesk_dialog_shots new|about|dealer|password OUTPUT.png [de] [dark]");
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

    CTempHives hives;
    hives.WriteUser(
        "[General]\nCurrentLanguage=German\n\n[Language]\n"
        "German\\DealerInfoLeft=Funkhaus Nord GmbH\\nHafenstrasse 12\\n24103 Kiel\n"
        "German\\DealerInfoMiddle=Wartung jeden ersten Montag im Monat.\n"
        "German\\DealerInfoRight=Tel. 0431 123456\\nservice@funkhaus-nord.example\n");
    const QString folder = hives.Path(QStringLiteral("install/profiletemplate/"));
    for (const char* name : {"CUD41600", "CUR40201", "CVD51600", "CVR50873"}) {
        CTempHives::Write(folder + QString::fromLatin1(name) + QStringLiteral(".vk4"), "x");
    }
    const CConfiguration config = hives.Config();
    CRecordingPrompt prompt;

    std::unique_ptr<QDialog> dialog;
    const QString which = args.at(1);
    if (which == QStringLiteral("new")) {
        dialog = std::make_unique<CNewProfileDlg>(hives.Path(QStringLiteral("install")));
    } else if (which == QStringLiteral("about")) {
        dialog = std::make_unique<CAboutDlg>(QStringLiteral("1.0.0"));
    } else if (which == QStringLiteral("dealer")) {
        auto dealer = std::make_unique<CDealerInfoDialog>(config, QStringLiteral("German"), prompt);
        if (!dealer->Load()) {
            return 1;
        }
        dialog = std::move(dealer);
    } else if (which == QStringLiteral("password")) {
        auto password = std::make_unique<CAskPwdDlg>(QStringLiteral("1234"), prompt);
        password->Field()->setText(QStringLiteral("12"));
        dialog = std::move(password);
    } else {
        return 2;
    }
    dialog->move(40, 40);
    dialog->show();
    QTimer::singleShot(1500, [&] {
        QProcess::execute(QStringLiteral("import"),
                          {QStringLiteral("-window"), QStringLiteral("root"), args.at(2)});
        app.quit();
    });
    return app.exec();
}
