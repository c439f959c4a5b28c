#pragma once

// What the Customized KT and Customized VRC pages share: six typed fields, one per customized
// squelch code of the "setting" element, each filtered as it is typed and written when the user
// moves to another control of the page, presses Enter or leaves the page. A refused value is
// told, stays in its field for correcting, and keeps the page until it is mended.

#include <array>
#include <span>

#include "editor/base_view.h"

class QLineEdit;

class CCustomizedCodeView : public CBaseView {
    Q_OBJECT

public:
    // A label and the field it names, for the code `number` (attribute "KTcode" + number).
    struct SCodeRow {
        int label;
        int field;
        int number;
    };

    bool CanLeavePage() override;

protected:
    struct SCodePage {
        std::span<const SCodeRow> rows;
        int labelText;       // the label's string, "%d" taking the code number
        int maxLength;       // characters a field takes
        int refusedMessage;  // told when a value is refused without a message of the rules
        const char* loadOperation;
    };

    CCustomizedCodeView(const SPageContext& context, PageKind kind,
                        std::span<const SControlTemplate> controls,
                        std::span<const SLayoutEntry> layout, const SCodePage& page,
                        QWidget* parent);

    // What typing leaves of `text`: the characters the field takes, in order.
    virtual QString Filter(const QString& text) const = 0;
    // How a field shows and reads its attribute; reading gives nothing for text that is no value.
    virtual SConversion Conversion() const = 0;

    void LoadData() override;
    void OnInitialUpdate() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLineEdit* Field(int field) const;
    void OnTextEdited(int field);
    // Writes a field's typing through the rules; true when the profile holds its value afterwards
    // (the field then shows it as stored). A refusal is told and leaves the typing in the field.
    bool WriteField(int field);
    // Brings the page forward and gives the field the focus with its text selected.
    void Refocus(int field);
    void WriteOnFocusMove(int field);

    SCodePage m_page;
    bool m_loaded = false;
    // The filter's own change of a field is no typing.
    bool m_filtering = false;
};

// The numbers of a code page: its title, the first label and field (each row's are `step` on
// from the row before) and the first of the six codes it edits.
struct SCodePageIds {
    int title;
    int titleText;
    int firstLabel;
    int firstField;
    int step;
    int firstCode;
};

// A code page's controls (a title bar over six label-and-field rows), their layout and the codes
// its rows edit, from its numbers.
struct SCodePageTables {
    std::array<SControlTemplate, 13> controls{};
    std::array<SLayoutEntry, 14> layout{};
    std::array<CCustomizedCodeView::SCodeRow, 6> rows{};
};

constexpr SCodePageTables CodePageTables(const SCodePageIds& ids) {
    SCodePageTables tables;
    tables.controls[0] = {ids.title, EControlKind::Bar, QRect(15, 15, 330, 28), ids.titleText, 0};
    tables.layout[0] = {ids.title, ELayoutStyle::Title, ELayoutColumn::Full, 0};
    for (int row = 0; row < 6; ++row) {
        const int label = ids.firstLabel + ids.step * row;
        const int field = ids.firstField + ids.step * row;
        const int top = 60 + 36 * row;
        tables.controls[1 + 2 * row] = {label, EControlKind::Label, QRect(25, top, 200, 24), 0,
                                        field};
        tables.controls[2 + 2 * row] = {field, EControlKind::Text, QRect(235, top, 90, 24), 0, 0};
        tables.layout[1 + 2 * row] = {label, ELayoutStyle::Plain, ELayoutColumn::Full, 0};
        tables.layout[2 + 2 * row] = {field, ELayoutStyle::Plain, ELayoutColumn::Full, 0};
        tables.rows[row] = {label, field, ids.firstCode + row};
    }
    tables.layout[13] = {0, ELayoutStyle::Plain, ELayoutColumn::Full, 0};
    return tables;
}
