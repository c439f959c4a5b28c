#include "editor/customized_kt_view.h"

#include "model/squelch_codes.h"

namespace {

using Id = CCustomizedKTView::ControlId;

constexpr int kTextTitle = 470;
constexpr int kTextLabel = 784;

// Codes 124 to 129: the profile keeps six.
constexpr SCodePageTables kTables = CodePageTables(
    {Id::kTitle, kTextTitle, Id::kFirstLabel, Id::kFirstField, 1, squelch::kFirstCustomTone});

bool IsDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

}  // namespace

CCustomizedKTView::CCustomizedKTView(const SPageContext& context, QWidget* parent)
    : CCustomizedCodeView(
          context, PageKind::CustomizedKT, kTables.controls, kTables.layout,
          {kTables.rows, kTextLabel, kFieldLength, kMsgInvalidTone, "CCustomizedKTView::LoadData"},
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
