#pragma once

#include <functional>

#include <QDialog>
#include <QString>
#include <QStringList>

#include "report/report_generator.h"

class CConfigHive;
class IUserPrompt;
class QPrinter;
class QTextBrowser;

namespace report {
class CReportMargins;
}

// The report window: shows a written report and previews, prints, saves (as HTML with its
// pictures, or as PDF) and mails it. Printing uses the report margins that the page setup holds
// while the window is open.
class CReportDlg : public QDialog {
    Q_OBJECT

public:
    static constexpr int kMsgMailMissing = 393;
    static constexpr int kMsgSaveFailed = 958;
    // How long the program's windows wait for the mail program to hand the message over. A mail
    // program that stays in the foreground until it is closed must not freeze this one for good.
    static constexpr int kMailTimeLimitMs = 30000;

    // What the report generation hands over.
    struct SReportPage {
        QString path;    // the written report file
        QString folder;  // the folder that holds it and, for a handout, its pictures
        report::EReportKind kind = report::EReportKind::Detailed;
        bool display = false;  // handout of a radio with a display: the display picture set
    };

    // Asks where to save; `proposed` is a path with the file name to start from. An empty
    // answer is Cancel.
    using FileChooser = std::function<QString(const QString& proposed, const QString& filter)>;

    // Checks a handout's pictures (315 when one is missing; the report is shown all the same).
    CReportDlg(SReportPage page, const report::CReportMargins& margins, IUserPrompt& prompt,
               QWidget* parent = nullptr);

    // Sets the report margins, shows the report modally and puts the user's margins back.
    static void Run(const SReportPage& page, const CConfigHive& userHive, IUserPrompt& prompt,
                    QWidget* parent);

    QTextBrowser* View() const { return m_view; }

    void SetFileChooser(FileChooser chooser) { m_chooser = std::move(chooser); }
    void SetMailTimeLimit(int milliseconds) { m_mailTimeLimitMs = milliseconds; }

    void PrintPreview();
    void Print();
    void SaveAs();
    void SaveAsPdf();
    void Mail();

private:
    bool IsHandout() const { return m_page.kind == report::EReportKind::Handout; }
    QString ChooseFile(const QString& extension, int filterText);
    void PrepareForPrinting(QPrinter& printer) const;
    void ShowSaveError(const QString& detail);
    bool RunMailProgram(const QString& program, const QStringList& arguments);

    SReportPage m_page;
    const report::CReportMargins& m_margins;
    IUserPrompt& m_prompt;
    QTextBrowser* m_view = nullptr;
    FileChooser m_chooser;
    int m_mailTimeLimitMs = kMailTimeLimitMs;
};
