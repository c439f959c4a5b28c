#include "report/report_margins.h"

#include <array>
#include <optional>
#include <utility>

#include "platform/settings/config_hive.h"

namespace report {

namespace {

// In the order they are saved and put back.
const std::array<QString, 4> kMarginNames = {
    QStringLiteral("margin_left"), QStringLiteral("margin_right"), QStringLiteral("margin_top"),
    QStringLiteral("margin_bottom")};
const QString kSideMargin = QStringLiteral("0.23667");
const QString kTopBottomMargin = QStringLiteral("0.16667");

qreal Inches(const CConfigHive& hive, const QString& name) {
    bool ok = false;
    const qreal value = hive.ReadText(kPageSetupKey, name).value_or(QString()).toDouble(&ok);
    return ok ? value : 0.0;
}

}  // namespace

void CReportMargins::SetReportMargins() {
    m_saved.clear();
    m_set = false;
    if (!m_hive.CanWrite()) {
        return;
    }
    QStringList saved;
    for (const QString& name : kMarginNames) {
        saved.append(m_hive.ReadText(kPageSetupKey, name).value_or(QString()));
    }
    // One write for all four, so that a failure leaves the user's margins as they were and there
    // is nothing to put back.
    const QList<std::pair<QString, QString>> report = {{kMarginNames[0], kSideMargin},
                                                       {kMarginNames[1], kSideMargin},
                                                       {kMarginNames[2], kTopBottomMargin},
                                                       {kMarginNames[3], kTopBottomMargin}};
    if (!m_hive.WriteTexts(kPageSetupKey, report)) {
        return;
    }
    m_saved = std::move(saved);
    m_set = true;
}

void CReportMargins::Restore() {
    if (!m_set) {
        return;
    }
    QList<std::pair<QString, QString>> saved;
    for (int i = 0; i < int(kMarginNames.size()); ++i) {
        saved.append({kMarginNames[i], m_saved.at(i)});
    }
    m_hive.WriteTexts(kPageSetupKey, saved);
    m_set = false;
}

QMarginsF CReportMargins::Current() const {
    return QMarginsF(Inches(m_hive, kMarginNames[0]), Inches(m_hive, kMarginNames[2]),
                     Inches(m_hive, kMarginNames[1]), Inches(m_hive, kMarginNames[3]));
}

QMarginsF CReportMargins::ReportMargins() {
    const qreal side = kSideMargin.toDouble();
    const qreal topBottom = kTopBottomMargin.toDouble();
    return QMarginsF(side, topBottom, side, topBottom);
}

}  // namespace report
