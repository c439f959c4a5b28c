#pragma once

// The page margins reports print with. They are the per-user page-setup values of the report
// view ("PageSetup" key of the user hive: margin_left, margin_right, margin_top, margin_bottom, in
// inches, as text). While a report window is open they hold the report's own margins; afterwards
// the user's texts are put back exactly, an absent value as an empty text.

#include <QMarginsF>
#include <QString>
#include <QStringList>

class CConfigHive;

namespace report {

inline const QString kPageSetupKey = QStringLiteral("PageSetup");

class CReportMargins {
public:
    explicit CReportMargins(const CConfigHive& userHive) : m_hive(userHive) {}

    // Saves the user's four texts and writes the report's margins. Nothing when the hive cannot
    // be written; Restore then does nothing either.
    void SetReportMargins();
    void Restore();

    // The margins the hive holds now, in inches; a value missing or not a number counts as 0.
    QMarginsF Current() const;
    // The report's own margins, in inches, for output made without a report window.
    static QMarginsF ReportMargins();

private:
    const CConfigHive& m_hive;
    QStringList m_saved;
    bool m_set = false;
};

}  // namespace report
