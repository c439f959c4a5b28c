#pragma once

#include <QDialog>
#include <QString>

class CSettingsDocuments;

// The program's name, version and legal notices.
class CAboutDlg : public QDialog {
    Q_OBJECT

public:
    static constexpr int kTitle = 297;
    static constexpr int kNameLine = 274;
    static constexpr int kVersionLine = 275;
    // Our own notices, after the version line.
    static constexpr int kNoticeLines[] = {621, 622, 623};

    explicit CAboutDlg(const QString& productVersion, QWidget* parent = nullptr);

    // The version comes from the installation's Region settings document.
    static void Run(const CSettingsDocuments& settings, QWidget* parent);
};
