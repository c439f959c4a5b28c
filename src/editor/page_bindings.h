#pragma once

// Pages as bindings: a page declares its rows (control, element and attribute, conversion both
// ways, commit moment) and this class loads them, writes a change through the profile's rules,
// asks for a confirmation the rules want, tells a refusal and puts the control back. A page's
// own code is only what is special about it.
//
// Shown values by control: a line edit or label shows text (QString), a check box a bool, a
// combo box the index of its item (int, -1 for none).

#include <functional>
#include <optional>
#include <vector>

#include <QList>
#include <QObject>
#include <QString>
#include <QVariant>

#include "model/data_item.h"

struct SPageContext;
class QWidget;

struct SConversion {
    // The control's shown value from the profile: usually one attribute of the element, but a
    // read-only row may format several.
    std::function<QVariant(const CDataItem& element, const QString& attribute)> load;
    // The attribute's value from the shown value; nothing when the shown value is no value of the
    // attribute (the control is put back). Empty for a read-only row.
    std::function<std::optional<QVariant>(const QVariant& shown)> store;
};

namespace binding {
// The attribute's text as it is.
SConversion Text();
// A signed integer written in decimal.
SConversion Integer();
// A boolean as a check box's state.
SConversion Check();
// The combo box item at position i stands for values[i].
SConversion Choice(QList<QVariant> values);
// A frequency stored in hertz, shown in megahertz with `decimals` places and the language's
// decimal separator; typed text is read with either "." or that separator.
SConversion Megahertz(const QString& decimalSeparator, int decimals);
// Read-only text made from the element.
SConversion Formatted(std::function<QString(const CDataItem& element)> format);
}  // namespace binding

enum class ECommitMoment {
    Never,              // read-only
    OnChange,           // check boxes and combo boxes: as soon as the user changes them
    OnEditingFinished,  // text: Enter or leaving the field; Escape before that restores it
};

struct SBindingRow {
    int controlId = 0;
    CDataItem element;
    QString attribute;
    SConversion conversion;
    ECommitMoment commit = ECommitMoment::Never;
    // Shown when the control holds no value of the attribute (text that is no number); 0: the
    // control is put back without a message.
    int invalidMessage = 0;
};

class CPageBindings : public QObject {
    Q_OBJECT

public:
    // `control` finds a page control by id.
    CPageBindings(const SPageContext& context, std::function<QWidget*(int)> control,
                  QObject* parent = nullptr);

    void Clear();
    // Connects the control's commit moment. The control must exist on the page.
    void Add(SBindingRow row);
    const std::vector<SBindingRow>& Rows() const { return m_rows; }

    // Fills every visible bound control from the profile. A hidden control is neither loaded nor
    // written: a model that does not show a field need not have its attribute. Raises the model's
    // exception at the first row that cannot be read; the rows before it stay filled.
    void LoadAll();
    // Puts one control back to what the profile holds.
    void Load(int controlId);
    // Writes one control's value through the rules. True when the profile holds the control's
    // value afterwards (accepted, or nothing changed); otherwise the control shows the profile's
    // value again and the user was told why (or declined the rules' question).
    bool Commit(int controlId);
    // Commits every text field with typing not yet committed; false at the first that fails.
    bool CommitPending();

Q_SIGNALS:
    // After an accepted change; every row was reloaded, since the rules may have changed more.
    void Accepted(int controlId);
    // After a refused, declined or invalid change; the control shows the profile's value.
    void Refused(int controlId);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    const SBindingRow* Row(int controlId) const;
    void Connect(const SBindingRow& row, QWidget* widget);
    void Show(const SBindingRow& row, QWidget* widget);
    static QVariant Shown(QWidget* widget);
    // Whether a text field holds typing not yet committed.
    static bool HasPendingText(QWidget* widget);

    const SPageContext& m_context;
    std::function<QWidget*(int)> m_control;
    std::vector<SBindingRow> m_rows;
    // A commit runs the rules and may show a message box, which takes the focus from the field
    // and would commit it a second time.
    bool m_committing = false;
};
