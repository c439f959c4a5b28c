#pragma once

#include <optional>

#include <QDialog>

#include "report/report_generator.h"

class QListWidget;
class QListWidgetItem;
class QPushButton;

// Asks which report to make of the active profile: the customer handout or the detailed report.
// Only the choice: making and showing the report is the caller's.
class CReportOptionDlg : public QDialog {
    Q_OBJECT

public:
    explicit CReportOptionDlg(QWidget* parent = nullptr);

    // The report chosen, after Accepted.
    report::EReportKind Kind() const { return m_kind; }
    QListWidget* List() const { return m_list; }
    QPushButton* OkButton() const { return m_ok; }

    // The whole question: the report kind, or nothing for Cancel.
    static std::optional<report::EReportKind> Ask(QWidget* parent);

    void accept() override;

private:
    void ChooseItem(QListWidgetItem* item);

    QListWidget* m_list = nullptr;
    QPushButton* m_ok = nullptr;
    report::EReportKind m_kind = report::EReportKind::Handout;
};
