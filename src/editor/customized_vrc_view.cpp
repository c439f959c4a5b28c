#include "editor/customized_vrc_view.h"

#include "model/squelch_codes.h"

namespace {

using Id = CCustomizedVRCView::ControlId;

constexpr int kTextTitle = 524;
constexpr int kTextLabel = 785;

// Codes 214 to 219: the profile keeps six.
constexpr SCodePageTables kTables = CodePageTables(
    {Id::kTitle, kTextTitle, Id::kFirstLabel, Id::kFirstField, 2, squelch::kFirstCustomCode});

bool IsOctalDigit(QChar c) {
    return c >= u'0' && c <= u'7';
}

}  // namespace

CCustomizedVRCView::CCustomizedVRCView(const SPageContext& context, QWidget* parent)
    : CCustomizedCodeView(
          context, PageKind::CustomizedVRC, kTables.controls, kTables.layout,
          {kTables.rows, kTextLabel, kFieldLength, kMsgInvalidCode, "CCustomizedVRCView::LoadData"},
          parent) {}

QString CCustomizedVRCView::Filter(const QString& text) const {
    QString kept;
    for (QChar c : text) {
        if (IsOctalDigit(c)) {
            kept += c;
        }
    }
    return kept;
}

SConversion CCustomizedVRCView::Conversion() const {
    return {
        [](const CDataItem& element, const QString& attribute) {
            return QVariant(squelch::CustomCodeText(element.GetAttributeValue(attribute).toInt()));
        },
        [](const QVariant& shown) -> std::optional<QVariant> {
            // An empty field is no code; otherwise the octal digits up to the first other
            // character.
            const QString text = shown.toString();
            if (text.isEmpty()) {
                return std::nullopt;
            }
            int value = 0;
            for (QChar c : text) {
                if (!IsOctalDigit(c) || value > 0xFFFF) {
                    break;
                }
                value = value * 8 + c.digitValue();
            }
            return QVariant(value);
        }};
}
