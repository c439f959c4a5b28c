#include "editor/radio_info_view.h"

#include "platform/vesk_cps_exception.h"

namespace {

using Id = CRadioInfoView::ControlId;

constexpr int kLabelLeft = 25;
// Wide enough for the longest German caption, "Empfangsfrequenzbereich (MHz)".
constexpr int kLabelWidth = 205;
constexpr int kFieldLeft = 235;
constexpr int kFieldWidth = 180;
constexpr int kRowHeight = 22;

constexpr int RowTop(int row) {
    return 60 + 32 * row;
}

constexpr SControlTemplate Label(int id, int row, int text, int buddy) {
    return {id, EControlKind::Label, QRect(kLabelLeft, RowTop(row), kLabelWidth, kRowHeight), text,
            buddy};
}

constexpr SControlTemplate Field(int id, int row) {
    return {id, EControlKind::ReadOnlyText, QRect(kFieldLeft, RowTop(row), kFieldWidth, kRowHeight),
            0, 0};
}

constexpr SControlTemplate kControls[] = {
    {Id::kTitle, EControlKind::Bar, QRect(15, 15, 400, 28), 700, 0},
    Label(Id::kRegionalCodeLabel, 0, 701, Id::kRegionalCode),
    Field(Id::kRegionalCode, 0),
    Label(Id::kSerialNumberLabel, 1, 702, Id::kSerialNumber),
    Field(Id::kSerialNumber, 1),
    Label(Id::kFirmwareVersionLabel, 2, 703, Id::kFirmwareVersion),
    Field(Id::kFirmwareVersion, 2),
    Label(Id::kCodeplugVersionLabel, 3, 704, Id::kCodeplugVersion),
    Field(Id::kCodeplugVersion, 3),
    Label(Id::kFrequencyRangeLabel, 4, 705, Id::kFrequencyRange),
    Field(Id::kFrequencyRange, 4),
    Label(Id::kRxFrequencyRangeLabel, 5, 706, Id::kRxFrequencyRange),
    Field(Id::kRxFrequencyRange, 5),
    Label(Id::kTxFrequencyRangeLabel, 6, 707, Id::kTxFrequencyRange),
    Field(Id::kTxFrequencyRange, 6),
    Label(Id::kMaximumChannelLabel, 7, 708, Id::kMaximumChannel),
    Field(Id::kMaximumChannel, 7),
};

constexpr SLayoutEntry Row(int id) {
    return {id, ELayoutStyle::Plain, ELayoutColumn::Full, 0};
}

constexpr SLayoutEntry kLayout[] = {
    {Id::kTitle, ELayoutStyle::Title, ELayoutColumn::Full, 0},
    Row(Id::kRegionalCodeLabel),
    Row(Id::kRegionalCode),
    Row(Id::kSerialNumberLabel),
    Row(Id::kSerialNumber),
    Row(Id::kFirmwareVersionLabel),
    Row(Id::kFirmwareVersion),
    Row(Id::kCodeplugVersionLabel),
    Row(Id::kCodeplugVersion),
    Row(Id::kFrequencyRangeLabel),
    Row(Id::kFrequencyRange),
    Row(Id::kRxFrequencyRangeLabel),
    Row(Id::kRxFrequencyRange),
    Row(Id::kTxFrequencyRangeLabel),
    Row(Id::kTxFrequencyRange),
    Row(Id::kMaximumChannelLabel),
    Row(Id::kMaximumChannel),
    {0, ELayoutStyle::Plain, ELayoutColumn::Full, 0},
};

// An attribute's text as the file holds it.
QString StoredText(const CDataItem& element, const QString& name) {
    const std::optional<QString> text = element.AttributeText(name);
    return text ? *text : element.GetAttributeValue(name).toString();
}

QString TwoDigits(const CDataItem& element, const char* name) {
    return QString::asprintf("%02d", element.GetAttributeValue(QString::fromLatin1(name)).toInt());
}

// A version: its phase text followed by "%02d.%02d".
SConversion Version(const char* phase, const char* major, const char* minor) {
    return binding::Formatted([=](const CDataItem& element) {
        return StoredText(element, QString::fromLatin1(phase)) + TwoDigits(element, major) + u'.' +
               TwoDigits(element, minor);
    });
}

// The receive and transmit ranges are optional in a profile: one without them (every template,
// and a display radio that reports a single band) shows the radio's frequency range there, as the
// reports do, rather than failing on the first page of the profile.
SConversion FrequencyRange(const QString& start, const QString& end,
                           const QString& decimalSeparator) {
    return binding::Formatted([=](const CDataItem& limit) {
        const bool own = limit.HasAttribute(start) && limit.HasAttribute(end);
        const QString from = own ? start : QStringLiteral("start_freq");
        const QString to = own ? end : QStringLiteral("end_freq");
        return QString::asprintf("%.6f - %.6f", limit.GetAttributeValue(from).toDouble() * 0.000001,
                                 limit.GetAttributeValue(to).toDouble() * 0.000001)
            .replace(u'.', decimalSeparator);
    });
}

}  // namespace

CRadioInfoView::CRadioInfoView(const SPageContext& context, QWidget* parent)
    : CBaseView(context, PageKind::RadioInfo, kControls, kLayout, parent) {}

void CRadioInfoView::LoadData() {
    try {
        ApplyVisibleSetting(QString::fromLatin1(PageKindNames(Kind()).visibilityName));
        const CDataItem factory = RootItem().GetChildByName(QStringLiteral("factory_setting"));
        const CDataItem limit = RootItem().GetChildByName(QStringLiteral("limit"));
        const QString separator = Context().decimalSeparator;
        auto row = [&](int id, const CDataItem& element, SConversion conversion) {
            Bindings().Add(
                {id, element, QString(), std::move(conversion), ECommitMoment::Never, 0});
        };
        Bindings().Clear();
        row(kRegionalCode, factory, binding::Formatted([](const CDataItem& element) {
                // A model string shorter than a region code is shown whole.
                return StoredText(element, QStringLiteral("model")).right(2);
            }));
        row(kSerialNumber, factory, binding::Formatted([](const CDataItem& element) {
                return StoredText(element, QStringLiteral("serial"));
            }));
        row(kFirmwareVersion, factory,
            Version("firmware_phase", "firmware_version", "firmware_revision"));
        row(kCodeplugVersion, factory,
            Version("codeplug_phase", "codeplug_version", "codeplug_dev_version"));
        row(kFrequencyRange, limit,
            FrequencyRange(QStringLiteral("start_freq"), QStringLiteral("end_freq"), separator));
        row(kRxFrequencyRange, limit,
            FrequencyRange(QStringLiteral("rx_start_freq"), QStringLiteral("rx_end_freq"),
                           separator));
        row(kTxFrequencyRange, limit,
            FrequencyRange(QStringLiteral("tx_start_freq"), QStringLiteral("tx_end_freq"),
                           separator));
        row(kMaximumChannel, limit, binding::Formatted([](const CDataItem& element) {
                return QString::number(
                    element.GetAttributeValue(QStringLiteral("maxChannels")).toInt());
            }));
        Bindings().LoadAll();
    } catch (CVeskCPSException& error) {
        error.PassOn(QStringLiteral("CRadioInfoView::LoadData"));
        throw;
    }
}
