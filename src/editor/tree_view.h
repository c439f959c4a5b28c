#pragma once

// The navigation tree of a profile window: one node per page and one per channel. It drives the
// page switch and owns the channel list operations (add, delete, rename).

#include <QStyledItemDelegate>
#include <QTreeWidget>

class CDataItem;
class CProfileDocument;
class IUserPrompt;

// Item data: the page kind in the low 16 bits, a channel node's index in the high 16 bits.
namespace tree_data {
inline constexpr quint32 Make(quint16 kind, quint16 index = 0) {
    return static_cast<quint32>(kind) | (static_cast<quint32>(index) << 16);
}
inline constexpr quint16 Kind(quint32 data) {
    return static_cast<quint16>(data & 0xFFFF);
}
inline constexpr quint16 Index(quint32 data) {
    return static_cast<quint16>(data >> 16);
}
inline constexpr quint16 kRadioInfo = 0;
inline constexpr quint16 kChannels = 5;
inline constexpr quint16 kChannel = 6;
}  // namespace tree_data

// Change hints between the views of one profile: byte 0 the change, byte 1 the page kind, the
// high half the channel index.
namespace view_hint {
inline constexpr quint8 kItemAdded = 1;
inline constexpr quint8 kNameChanged = 3;
// A channel was switched off or on: the tree draws its icons again.
inline constexpr quint8 kStateChanged = 4;
inline constexpr quint32 Make(quint8 change, quint16 kind, quint16 index = 0) {
    return change | (static_cast<quint32>(kind & 0xFF) << 8) | (static_cast<quint32>(index) << 16);
}
inline constexpr quint8 Change(quint32 hint) {
    return static_cast<quint8>(hint & 0xFF);
}
inline constexpr quint16 Kind(quint32 hint) {
    return static_cast<quint16>((hint >> 8) & 0xFF);
}
}  // namespace view_hint

// What the tree needs from the window around it.
class ITreeViewHost {
public:
    virtual ~ITreeViewHost() = default;
    // Shows the page of a node; false when no page could be made for it.
    virtual bool ShowPage(quint32 itemData) = 0;
    virtual bool CanLeaveCurrentPage() = 0;
    // The main window's Add, Delete and Rename.
    virtual void SetCommandFlags(bool add, bool remove, bool rename) = 0;
    // The other views of the profile hear of a change.
    virtual void NotifyViews(quint32 hint) = 0;
    virtual void SetModified() = 0;
    // After the page of a new channel is shown: its name field takes the focus, all selected.
    virtual void FocusNameEditLater() = 0;
};

class CVeskCPSTreeView : public QTreeWidget {
    Q_OBJECT

public:
    static constexpr int kMsgOutOfRange = 511;
    static constexpr int kMsgLastChannel = 338;
    static constexpr int kMsgPresetChannel = 401;
    static constexpr int kNameLength = 8;

    CVeskCPSTreeView(CProfileDocument& document, IUserPrompt& prompt, ITreeViewHost& host,
                     QWidget* parent = nullptr);

    // Builds the nodes, shows the root's page, runs the profile checks and expands everything.
    void BuildTree();

    // The commands. Each shows the model's message itself and keeps the tree as it was on a
    // failure.
    void AddNewItem(quint32 itemData);
    void DelItem(quint32 itemData);
    void StartRename();
    // Commits a label edit in progress for Save, Write and Report; false abandons the command.
    bool CommitPendingRename();
    // Hints from the other views: the Channels page's Add.
    void OnViewHint(quint32 hint);

    // Labels and indexes of the channel nodes follow the profile; surplus nodes go.
    void RefreshTreeNode(QTreeWidgetItem* parent, const CDataItem& channels, int count);
    void RebuildChannelIcons();

    QTreeWidgetItem* ChannelsNode() const { return m_channelsNode; }
    QTreeWidgetItem* NodeFor(quint32 itemData) const;
    quint32 SelectedData() const;
    bool CanAdd() const { return m_canAdd; }
    bool CanDelete() const { return m_canDelete; }
    bool CanRename() const { return m_canRename; }
    // The window around the tree is going: the tree tells it nothing more (the focus still moves
    // while widgets are taken down).
    void DetachHost() { m_host = nullptr; }

    // The delegate's end of a label edit; `forced` for a commit that a command asked for.
    bool CommitRename(QTreeWidgetItem* item, const QString& text, bool forced);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void OnCurrentItemChanged(QTreeWidgetItem* current, QTreeWidgetItem* previous);
    void UpdateCommandStates();
    void ClearCommandStates();
    QTreeWidgetItem* AddNode(QTreeWidgetItem* parent, const QString& text, quint32 itemData,
                             const QIcon& icon);
    QTreeWidgetItem* AddChannelNode(const CDataItem& channel, int index, bool useDisabledIcon);
    int ShownChannelCount() const;
    void ShowModelFailure(const class CVeskCPSException& error);

    CProfileDocument& m_document;
    IUserPrompt& m_prompt;
    ITreeViewHost* m_host;
    QTreeWidgetItem* m_channelsNode = nullptr;
    bool m_ready = false;
    bool m_reverting = false;
    bool m_canAdd = false;
    bool m_canDelete = false;
    bool m_canRename = false;
};

// Channel names are edited in place, at most eight characters.
class CChannelNameDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    explicit CChannelNameDelegate(CVeskCPSTreeView& tree)
        : QStyledItemDelegate(&tree), m_tree(tree) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override;

private:
    CVeskCPSTreeView& m_tree;
};
