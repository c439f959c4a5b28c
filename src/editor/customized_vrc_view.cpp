#include "editor/customized_vrc_view.h"

#include "model/squelch_codes.h"

namespace {

using Id = CCustomizedVRCView::ControlId;

constexpr int kTextTitle = 524;
constexpr int kTextLabel = 785;

constexpr int RowTop(int row) {
    return 60 + 36 * row;
}

constexpr CCustomizedCodeView::SCodeRow Code(int row) {
    return {Id::kFirstLabel + 2 * row, Id::kFirstField + 2 * row, squelch::kFirstCustomCode + row};
}

// Codes 214 to 219: the profile keeps six.
constexpr CCustomizedCodeView::SCodeRow kRows[] = {Code(0), Code(1), Code(2),
                                                   Code(3), Code(4), Code(5)};

constexpr SControlTemplate Label(int row) {
    return {Id::kFirstLabel + 2 * row, EControlKind::Label, QRect(25, RowTop(row), 200, 24), 0,
            Id::kFirstField + 2 * row};
}

constexpr SControlTemplate Field(int row) {
    return {Id::kFirstField + 2 * row, EControlKind::Text, QRect(235, RowTop(row), 90, 24), 0, 0};
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
    Row(Id::kFirstLabel + 2),
    Row(Id::kFirstField + 2),
    Row(Id::kFirstLabel + 4),
    Row(Id::kFirstField + 4),
    Row(Id::kFirstLabel + 6),
    Row(Id::kFirstField + 6),
    Row(Id::kFirstLabel + 8),
    Row(Id::kFirstField + 8),
    Row(Id::kFirstLabel + 10),
    Row(Id::kFirstField + 10),
    {0, ELayoutStyle::Plain, ELayoutColumn::Full, 0},
};

bool IsOctalDigit(QChar c) {
    return c >= u'0' && c <= u'7';
}

}  // namespace

CCustomizedVRCView::CCustomizedVRCView(const SPageContext& context, QWidget* parent)
    : CCustomizedCodeView(
          context, PageKind::CustomizedVRC, kControls, kLayout,
          {kRows, kTextLabel, kFieldLength, kMsgInvalidCode, "CCustomizedVRCView::LoadData"},
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
