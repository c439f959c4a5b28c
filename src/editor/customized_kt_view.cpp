#include "editor/customized_kt_view.h"

#include "model/squelch_codes.h"

namespace {

using Id = CCustomizedKTView::ControlId;

constexpr int kTextTitle = 470;
constexpr int kTextLabel = 784;

constexpr int RowTop(int row) {
    return 60 + 36 * row;
}

constexpr CCustomizedCodeView::SCodeRow Code(int row) {
    return {Id::kFirstLabel + row, Id::kFirstField + row, squelch::kFirstCustomTone + row};
}

constexpr CCustomizedCodeView::SCodeRow kRows[] = {Code(0), Code(1), Code(2),
                                                   Code(3), Code(4), Code(5)};

constexpr SControlTemplate Label(int row) {
    return {Id::kFirstLabel + row, EControlKind::Label, QRect(25, RowTop(row), 200, 24), 0,
            Id::kFirstField + row};
}

constexpr SControlTemplate Field(int row) {
    return {Id::kFirstField + row, EControlKind::Text, QRect(235, RowTop(row), 90, 24), 0, 0};
}

constexpr SControlTemplate kControls[] = {
    {Id::kTitle, EControlKind::Bar, QRect(15, 15, 330, 28), kTextTitle, 0},
    Label(0),
    Field(0),
    Label(1),
    Field(1),
    Label(2),
    Field(2),
    Label(3),
    Field(3),
    Label(4),
    Field(4),
    Label(5),
    Field(5),
};

constexpr SLayoutEntry Row(int id) {
    return {id, ELayoutStyle::Plain, ELayoutColumn::Full, 0};
}

constexpr SLayoutEntry kLayout[] = {
    {Id::kTitle, ELayoutStyle::Title, ELayoutColumn::Full, 0},
    Row(Id::kFirstLabel + 0),
    Row(Id::kFirstField + 0),
    Row(Id::kFirstLabel + 1),
    Row(Id::kFirstField + 1),
    Row(Id::kFirstLabel + 2),
    Row(Id::kFirstField + 2),
    Row(Id::kFirstLabel + 3),
    Row(Id::kFirstField + 3),
    Row(Id::kFirstLabel + 4),
    Row(Id::kFirstField + 4),
    Row(Id::kFirstLabel + 5),
    Row(Id::kFirstField + 5),
    {0, ELayoutStyle::Plain, ELayoutColumn::Full, 0},
};

bool IsDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

}  // namespace

CCustomizedKTView::CCustomizedKTView(const SPageContext& context, QWidget* parent)
    : CCustomizedCodeView(
          context, PageKind::CustomizedKT, kControls, kLayout,
          {kRows, kTextLabel, kFieldLength, kMsgInvalidTone, "CCustomizedKTView::LoadData"},
          parent) {}

QString CCustomizedKTView::Separator() const {
    return Context().decimalSeparator.isEmpty() ? QStringLiteral(".") : Context().decimalSeparator;
}

QString CCustomizedKTView::Filter(const QString& text) const {
    // Digits and one separator; the radio keeps tenths, so typing stops at the first decimal.
    const QString separator = Separator();
    QString kept;
    bool separated = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (IsDigit(text[i])) {
            kept += text[i];
            if (separated) {
                break;
            }
        } else if (!separated && QStringView(text).mid(i).startsWith(separator)) {
            kept += separator;
            separated = true;
            i += separator.size() - 1;
        }
    }
    return kept;
}

SConversion CCustomizedKTView::Conversion() const {
    const QString separator = Separator();
    return {[separator](const CDataItem& element, const QString& attribute) {
                return QVariant(squelch::CustomToneText(
                    element.GetAttributeValue(attribute).toInt(), separator));
            },
            [separator](const QVariant& shown) -> std::optional<QVariant> {
                // Whole hertz and the first decimal, counted exactly: the value is truncated to
                // tenths, never rounded by a floating-point product.
                const QString text = shown.toString();
                const qsizetype at = text.indexOf(separator);
                const QString whole = at < 0 ? text : text.left(at);
                const QString fraction = at < 0 ? QString() : text.mid(at + separator.size());
                if ((whole + fraction).isEmpty() || whole.size() > 6) {
                    return std::nullopt;
                }
                for (QChar c : whole + fraction) {
                    if (!IsDigit(c)) {
                        return std::nullopt;
                    }
                }
                const int tenths = (whole.isEmpty() ? 0 : whole.toInt()) * 10 +
                                   (fraction.isEmpty() ? 0 : fraction[0].digitValue());
                return QVariant(tenths);
            }};
}
