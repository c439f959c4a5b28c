#pragma once

// The Scan List page: the enabled channels in two lists, those the radio does not scan and those
// it does, with buttons (and double clicks, and Enter) that move the selected channels across.

#include <vector>

#include "editor/base_view.h"

class QTreeWidget;

class CScanView : public CBaseView {
    Q_OBJECT

public:
    enum ControlId : int {
        kAdd = 1033,
        kRemove = 1034,
        kTitle = 1035,
        kAvailableCaption = 1036,
        kMembersCaption = 1037,
        kAvailable = 1047,
        kMembers = 1048,
    };

    static constexpr int kMsgInvalidValue = 261;
    // The texts of one move as a step of the undo history.
    static constexpr int kTextAddStep = 800;
    static constexpr int kTextRemoveStep = 801;

    explicit CScanView(const SPageContext& context, QWidget* parent = nullptr);

    // Moves the selected rows of the available list into the scan list, or the selected members
    // out. False when nothing was selected or the rules refused a change.
    bool MoveSelected(bool intoScanList);

protected:
    void LoadRes() override;
    void LoadData() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // One channel as the page keeps it. Rows carry the channel's position, never its name: a
    // profile opened from a file may hold two channels of the same name.
    struct SRecord {
        QString name;
        bool inScanList = false;
        bool disabled = false;
    };

    // Raises the model's exception at the first channel that cannot be read; `records` then holds
    // the channels before it.
    void ReadRecords(std::vector<SRecord>& records) const;
    void FillLists();
    void SelectRow(QTreeWidget* list, int row);
    // The row of a channel in a list; -1 when the list does not show it.
    static int RowOfChannel(QTreeWidget* list, int channel);
    void UpdateButtons();
    void OnSelectionChanged(QTreeWidget* changed);
    // Writes the working copy's flags that differ from the profile; false at the first refusal.
    bool WriteWorkingCopy();

    QTreeWidget* m_available = nullptr;
    QTreeWidget* m_members = nullptr;
    std::vector<SRecord> m_shown;
    std::vector<SRecord> m_working;
    // Clearing one list's selection from the other's change must not clear back, and refilling
    // the lists is no selection by the user.
    bool m_guard = false;
};
