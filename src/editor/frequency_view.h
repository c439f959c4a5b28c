#pragma once

// The RF Frequency page: the radio's table of frequencies, which channels point into by position.
// The list shows the table; a small edit area under it adds an entry or changes the selected one
// through the rule script, and the Delete button removes the selected entries no channel uses.

#include <array>
#include <optional>

#include <QString>

#include "editor/base_view.h"
#include "editor/page_navigator.h"

class QComboBox;
class QLineEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

// What is left of the frequency field's text after a change: digits and one decimal separator,
// at most 4294.967295, four integer digits without a separator, six decimals, 16 characters.
// `before` is the text the change started from and `caret` where the caret stands after it.
struct SFrequencyInput {
    QString text;
    int caret = 0;
};
SFrequencyInput FilterFrequencyInput(const QString& before, const QString& changed, int caret,
                                     QChar separator);

class CFrequencyView : public CBaseView {
    Q_OBJECT

public:
    enum ControlId {
        kTitle = 1069,
        kAdd = 1041,
        kEdit = 1065,
        kDelete = 1066,
        kList = 1067,
        kFrequencyLabel = 1070,
        kFrequency = 1073,
        kBandwidthLabel = 1071,
        kBandwidth = 1063,
        kPowerLabel = 1072,
        kPower = 1064,
        kCompanderLabel = 1074,
        kCompander = 1068,
    };

    enum class EMode { Browsing, Adding, Editing };

    enum EColumn {
        kIndexColumn,
        kFrequencyColumn,
        kBandwidthColumn,
        kPowerColumn,
        kCompanderColumn
    };

    static constexpr int kMsgInvalidFrequency = 284;
    static constexpr int kMsgFrequencyInUse = 288;
    static constexpr int kMsgDeleteQuestion = 378;
    // Told when the rules refuse an entry without a message of their own.
    static constexpr int kMsgInvalidValue = 261;

    explicit CFrequencyView(const SPageContext& context, QWidget* parent = nullptr);

    EMode Mode() const { return m_mode; }
    // An entry being added or edited is saved first; a refusal keeps the page. An Add the user
    // has not touched is cancelled.
    bool CanLeavePage() override;

protected:
    void LoadRes() override;
    void OnInitialUpdate() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    CDataItem Frequencies() const;
    SFrequencyListPlace& Place();
    QString FrequencyText(quint32 hertz) const;
    QString BandwidthText(qint64 code) const;
    QString PowerText(qint64 code) const;
    static QString CompanderText(qint64 mode);

    // The whole list from the profile; raises the model's exception.
    void LoadListData();
    // One row's texts from the entry at its position; raises the model's exception.
    void LoadListItem(QTreeWidgetItem* item, int index);
    void SetColumnWidths();
    void SelectRow(int row);
    int SelectedRow() const;
    void ScrollTo(int scrolled);
    int Scrolled() const;

    void EnterBrowsing();
    void ShowSelectedRow();
    void OnSelectionChanged();
    void OnBandwidthChosen();
    void ApplyCompanderRule(bool chosenByUser);
    // The frequency in hertz the field holds; nothing (after 284) for a MURS frequency.
    std::optional<quint32> FieldFrequency();
    SFrequencyEntry EntryFromEditArea(const CDataItem& stored) const;
    void OnFieldChanged(const QString& text);
    void OnListClicked();

    void OnAddOrSave();
    void OnEditOrSave();
    void OnDeleteOrCancel();
    void SaveNewEntry();
    void SaveEditedEntry();
    void Cancel();
    void DeleteSelected();
    void Changed();
    void ShowRefusal(const CEditResult& result);

    QPushButton* m_add = nullptr;
    QPushButton* m_edit = nullptr;
    QPushButton* m_delete = nullptr;
    QTreeWidget* m_list = nullptr;
    QLineEdit* m_frequency = nullptr;
    QComboBox* m_bandwidth = nullptr;
    QComboBox* m_power = nullptr;
    QComboBox* m_compander = nullptr;

    EMode m_mode = EMode::Browsing;
    QChar m_separator = u'.';
    std::array<QString, 4> m_bandwidthTexts;
    std::array<QString, 4> m_powerTexts;
    QString m_addText, m_editText, m_deleteText, m_saveText, m_cancelText;
    // The field's text after the last change, for the filter to go back to.
    QString m_fieldText;
    bool m_filtering = false;
    // Whether the user changed the edit area since adding or editing began.
    bool m_touched = false;
    bool m_loading = false;
    bool m_hasCompander = true;
    // Regions under the narrowband mandate keep every entry at 12.5 kHz.
    bool m_bandwidthLocked = false;
    // The row being edited.
    int m_editRow = -1;
    // Where the list stood when adding or editing began, for Cancel.
    int m_scrolledBeforeMode = 0;
    // The list's place when the page has no navigator to keep it.
    SFrequencyListPlace m_ownPlace;
};
