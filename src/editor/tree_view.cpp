#include "editor/tree_view.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>

#include "editor/tree_icons.h"
#include "model/data_item.h"
#include "model/edit_result.h"
#include "model/profile_checks.h"
#include "model/profile_document.h"
#include "platform/string_table.h"
#include "platform/user_prompt.h"
#include "platform/vesk_cps_exception.h"

namespace {

using tree_icons::ENode;

QString T(int id) {
    return CStringTable::Instance().Text(id);
}

struct SFixedNode {
    int text;
    quint16 kind;
    ENode icon;
};

constexpr SFixedNode kFixedNodes[] = {
    {167, 1, ENode::GeneralSettings}, {172, 2, ENode::AudioSettings}, {168, 3, ENode::Buttons},
    {283, 4, ENode::RfFrequency},     {169, 5, ENode::Channels},
};

constexpr quint16 kScanList = 7;
constexpr quint16 kCustomizedKT = 8;
constexpr quint16 kCustomizedVRC = 9;
constexpr int kTextAdd = 356;
constexpr int kTextDelete = 360;
constexpr int kTextRename = 361;
constexpr quint32 kKTCodes = 122;
constexpr quint32 kVRCCodes = 213;

bool BoolAttribute(const CDataItem& item, const QString& name) {
    return item.GetAttributeValue(name).toBool();
}

}  // namespace

CVeskCPSTreeView::CVeskCPSTreeView(CProfileDocument& document, IUserPrompt& prompt,
                                   ITreeViewHost& host, QWidget* parent)
    : QTreeWidget(parent), m_document(document), m_prompt(prompt), m_host(&host) {
    setObjectName(QStringLiteral("navigationTree"));
    setAccessibleName(kApplicationName);
    header()->hide();
    setColumnCount(1);
    setRootIsDecorated(true);
    setIconSize(QSize(tree_icons::kWidth, tree_icons::kHeight));
    setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
    setItemDelegate(new CChannelNameDelegate(*this));
    connect(this, &QTreeWidget::currentItemChanged, this, &CVeskCPSTreeView::OnCurrentItemChanged);
    // A screen reader selects a node through the accessibility interface, which selects without
    // moving the current item: the node selected that way is shown as if clicked.
    connect(this, &QTreeWidget::itemSelectionChanged, this, [this] {
        const QList<QTreeWidgetItem*> selected = selectedItems();
        if (selected.size() == 1 && selected.constFirst() != currentItem()) {
            setCurrentItem(selected.constFirst());
        }
    });
}

QTreeWidgetItem* CVeskCPSTreeView::AddNode(QTreeWidgetItem* parent, const QString& text,
                                           quint32 itemData, const QIcon& icon) {
    auto* item = parent == nullptr ? new QTreeWidgetItem(this) : new QTreeWidgetItem(parent);
    item->setText(0, text);
    item->setData(0, Qt::UserRole, itemData);
    item->setIcon(0, icon);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    return item;
}

QTreeWidgetItem* CVeskCPSTreeView::AddChannelNode(const CDataItem& channel, int index,
                                                  bool useDisabledIcon) {
    const bool disabled =
        useDisabledIcon && BoolAttribute(channel, QStringLiteral("disable_channel"));
    QTreeWidgetItem* item =
        AddNode(m_channelsNode, channel.AttributeText(QStringLiteral("name")).value_or(QString()),
                tree_data::Make(tree_data::kChannel, static_cast<quint16>(index)),
                tree_icons::ChannelIcon(index + 1, disabled));
    item->setFlags(item->flags() | Qt::ItemIsEditable);
    return item;
}

int CVeskCPSTreeView::ShownChannelCount() const {
    const CDataItem& root = m_document.Model().RootItem();
    const int elements = root.GetChildByName(QStringLiteral("channels")).GetChildCount();
    const int number = root.GetChildByName(QStringLiteral("setting"))
                           .GetAttributeValue(QStringLiteral("numberChannels"))
                           .toInt();
    return std::min(elements, number);
}

void CVeskCPSTreeView::ShowModelFailure(const CVeskCPSException& error) {
    ShowModelException(m_prompt, error);
}

void CVeskCPSTreeView::BuildTree() {
    m_ready = false;
    clear();
    m_channelsNode = nullptr;
    try {
        CDataItem& root = m_document.Model().RootItem();
        const CDataItem limit = root.GetChildByName(QStringLiteral("limit"));
        QTreeWidgetItem* top =
            AddNode(nullptr, QStringLiteral("ZN420"), tree_data::Make(tree_data::kRadioInfo),
                    tree_icons::NodeIcon(ENode::Root));
        for (const SFixedNode& node : kFixedNodes) {
            QTreeWidgetItem* item = AddNode(top, T(node.text), tree_data::Make(node.kind),
                                            tree_icons::NodeIcon(node.icon));
            if (node.kind == tree_data::kChannels) {
                m_channelsNode = item;
            }
        }
        const CDataItem channels = root.GetChildByName(QStringLiteral("channels"));
        const bool disableEnabled = BoolAttribute(limit, QStringLiteral("disable_channel_enable"));
        const int count = ShownChannelCount();
        for (int i = 0; i < count; ++i) {
            AddChannelNode(channels.GetChildByIndex(i), i, disableEnabled);
        }
        if (!BoolAttribute(limit, QStringLiteral("disable_scan_mode"))) {
            AddNode(top, T(171), tree_data::Make(kScanList), tree_icons::NodeIcon(ENode::ScanList));
        }
        const quint32 maxCodes = limit.GetAttributeValue(QStringLiteral("maxCodes")).toUInt();
        if (maxCodes > kKTCodes) {
            AddNode(top, T(470), tree_data::Make(kCustomizedKT),
                    tree_icons::NodeIcon(ENode::CustomizedKT));
        }
        if (maxCodes > kVRCCodes) {
            AddNode(top, T(524), tree_data::Make(kCustomizedVRC),
                    tree_icons::NodeIcon(ENode::CustomizedVRC));
        }
        setCurrentItem(top);
        m_host->ShowPage(tree_data::Make(tree_data::kRadioInfo));
        m_ready = true;

        profile_checks::EnforceNarrowband(root, m_prompt);
        profile_checks::ResetCompander(root);
        if (!profile_checks::CheckChannelFrequencyRange(root)) {
            m_prompt.Show(kMsgOutOfRange, PromptStyle::Information);
        }
    } catch (const CVeskCPSException& error) {
        m_ready = true;
        ShowModelFailure(error);
    }
    expandAll();
    if (topLevelItemCount() > 0) {
        scrollToItem(topLevelItem(0));
    }
}

QTreeWidgetItem* CVeskCPSTreeView::NodeFor(quint32 itemData) const {
    for (QTreeWidgetItemIterator it(const_cast<CVeskCPSTreeView*>(this)); *it != nullptr; ++it) {
        if ((*it)->data(0, Qt::UserRole).toUInt() == itemData) {
            return *it;
        }
    }
    return nullptr;
}

quint32 CVeskCPSTreeView::SelectedData() const {
    const QTreeWidgetItem* item = currentItem();
    return item == nullptr ? 0 : item->data(0, Qt::UserRole).toUInt();
}

void CVeskCPSTreeView::OnCurrentItemChanged(QTreeWidgetItem* current, QTreeWidgetItem* previous) {
    if (!m_ready || m_reverting || current == nullptr || m_host == nullptr) {
        return;
    }
    if (previous != nullptr) {
        bool canLeave = true;
        try {
            canLeave = m_host->CanLeaveCurrentPage();
        } catch (const CVeskCPSException& error) {
            // The page could not even answer: it is told, and the selection moves on.
            ShowModelFailure(error);
        }
        if (!canLeave) {
            m_reverting = true;
            setCurrentItem(previous);
            m_reverting = false;
            return;
        }
    }
    m_host->ShowPage(current->data(0, Qt::UserRole).toUInt());
    UpdateCommandStates();
}

void CVeskCPSTreeView::UpdateCommandStates() {
    if (m_host == nullptr) {
        return;
    }
    m_canAdd = m_canDelete = m_canRename = false;
    try {
        const quint32 selected = SelectedData();
        const CDataItem channels =
            m_document.Model().RootItem().GetChildByName(QStringLiteral("channels"));
        if (currentItem() != nullptr && tree_data::Kind(selected) == tree_data::kChannels) {
            m_canAdd = channels.CanAddChild();
        } else if (currentItem() != nullptr && tree_data::Kind(selected) == tree_data::kChannel) {
            m_canRename = true;
            m_canDelete = channels.GetChildByIndex(tree_data::Index(selected)).CanDeleteChild();
        }
    } catch (const CVeskCPSException& error) {
        ShowModelFailure(error);
    }
    if (m_host != nullptr) {
        m_host->SetCommandFlags(m_canAdd, m_canDelete, m_canRename);
    }
}

void CVeskCPSTreeView::ClearCommandStates() {
    m_canAdd = m_canDelete = m_canRename = false;
    if (m_host != nullptr) {
        m_host->SetCommandFlags(false, false, false);
    }
}

void CVeskCPSTreeView::AddNewItem(quint32 itemData) {
    if (tree_data::Kind(itemData) != tree_data::kChannels || m_channelsNode == nullptr) {
        return;
    }
    try {
        CDataItem channels =
            m_document.Model().RootItem().GetChildByName(QStringLiteral("channels"));
        if (!channels.CanAddChild()) {
            return;
        }
        const CDataItem added = channels.AddNewChild();
        if (added.IsEmpty()) {
            return;
        }
        const int number = m_document.Model()
                               .RootItem()
                               .GetChildByName(QStringLiteral("setting"))
                               .GetAttributeValue(QStringLiteral("numberChannels"))
                               .toInt();
        QTreeWidgetItem* item = AddChannelNode(added, number - 1, false);
        m_host->SetModified();
        setCurrentItem(item);
        UpdateCommandStates();
        m_host->FocusNameEditLater();
    } catch (const CVeskCPSException& error) {
        ShowModelFailure(error);
    }
}

void CVeskCPSTreeView::DelItem(quint32 itemData) {
    if (tree_data::Kind(itemData) != tree_data::kChannel) {
        return;
    }
    const int index = tree_data::Index(itemData);
    try {
        CDataItem& root = m_document.Model().RootItem();
        CDataItem channels = root.GetChildByName(QStringLiteral("channels"));
        const CDataItem channel = channels.GetChildByIndex(index);
        const bool allowed = profile_checks::GetEnabledChannelCount(root) > 1 ||
                             BoolAttribute(channel, QStringLiteral("disable_channel"));
        if (!allowed) {
            m_prompt.Show(kMsgLastChannel, PromptStyle::Information);
            return;
        }
        if (!channel.CanDeleteChild()) {
            return;
        }
        CEditResult result = channels.RemoveChildByIndex(index);
        if (result.NeedsConfirmation()) {
            const PromptAnswer answer =
                m_prompt.Ask(kMsgPresetChannel, T(kMsgPresetChannel), result.Style());
            if (answer != PromptAnswer::Yes && answer != PromptAnswer::Ok) {
                return;
            }
            result = channels.RemoveChildByIndex(index, EConfirmation::Confirmed);
        }
        if (!result.IsAccepted()) {
            if (result.MessageId() != 0) {
                m_prompt.Show(result.MessageId(), result.RefusalStyle());
            }
            return;
        }
        const int count = root.GetChildByName(QStringLiteral("setting"))
                              .GetAttributeValue(QStringLiteral("numberChannels"))
                              .toInt();
        RefreshTreeNode(m_channelsNode, channels, count);
        m_host->ShowPage(SelectedData());
        m_host->SetModified();
        RebuildChannelIcons();
        UpdateCommandStates();
    } catch (const CVeskCPSException& error) {
        ShowModelFailure(error);
    }
}

void CVeskCPSTreeView::RefreshTreeNode(QTreeWidgetItem* parent, const CDataItem& channels,
                                       int count) {
    if (parent == nullptr) {
        return;
    }
    m_ready = false;
    for (int i = parent->childCount() - 1; i >= count; --i) {
        delete parent->takeChild(i);
    }
    for (int i = 0; i < parent->childCount(); ++i) {
        QTreeWidgetItem* node = parent->child(i);
        const QString name =
            channels.GetChildByIndex(i).AttributeText(QStringLiteral("name")).value_or(QString());
        if (node->text(0) != name) {
            node->setText(0, name);
        }
        node->setData(0, Qt::UserRole,
                      tree_data::Make(tree_data::kChannel, static_cast<quint16>(i)));
    }
    m_ready = true;
}

void CVeskCPSTreeView::RebuildChannelIcons() {
    if (m_channelsNode == nullptr) {
        return;
    }
    const CDataItem channels =
        m_document.Model().RootItem().GetChildByName(QStringLiteral("channels"));
    for (int i = 0; i < m_channelsNode->childCount(); ++i) {
        const bool disabled =
            BoolAttribute(channels.GetChildByIndex(i), QStringLiteral("disable_channel"));
        m_channelsNode->child(i)->setIcon(0, tree_icons::ChannelIcon(i + 1, disabled));
    }
}

void CVeskCPSTreeView::StartRename() {
    QTreeWidgetItem* item = currentItem();
    if (item != nullptr &&
        tree_data::Kind(item->data(0, Qt::UserRole).toUInt()) == tree_data::kChannel) {
        editItem(item);
    }
}

bool CVeskCPSTreeView::CommitRename(QTreeWidgetItem* item, const QString& text, bool forced) {
    Q_UNUSED(forced);
    const QString name = text.trimmed();
    const quint32 itemData = item->data(0, Qt::UserRole).toUInt();
    if (name.isEmpty() || tree_data::Kind(itemData) != tree_data::kChannel) {
        return false;
    }
    try {
        CDataItem channel = m_document.Model()
                                .RootItem()
                                .GetChildByName(QStringLiteral("channels"))
                                .GetChildByIndex(tree_data::Index(itemData));
        const CEditResult result = SettleEdit(m_prompt, [&](EConfirmation confirmation) {
            return channel.SetAttributeValue(QStringLiteral("name"), name, confirmation);
        });
        if (!result.IsAccepted()) {
            return false;
        }
        item->setText(0, channel.AttributeText(QStringLiteral("name")).value_or(name));
        m_host->SetModified();
        m_host->NotifyViews(view_hint::Make(view_hint::kNameChanged, tree_data::kChannel,
                                            tree_data::Index(itemData)));
        return true;
    } catch (const CVeskCPSException& error) {
        ShowModelFailure(error);
        return false;
    }
}

bool CVeskCPSTreeView::CommitPendingRename() {
    if (state() != QAbstractItemView::EditingState || currentItem() == nullptr) {
        return true;
    }
    auto* editor = viewport()->findChild<QLineEdit*>();
    if (editor == nullptr) {
        return true;
    }
    // The editor goes without committing again: this commit is the one that counts, and a
    // refusal has been told once.
    const bool committed = CommitRename(currentItem(), editor->text(), true);
    Q_EMIT itemDelegate()->closeEditor(editor, QAbstractItemDelegate::NoHint);
    return committed;
}

void CVeskCPSTreeView::OnViewHint(quint32 hint) {
    const quint8 change = view_hint::Change(hint);
    if (change == view_hint::kItemAdded && view_hint::Kind(hint) == tree_data::kChannels) {
        AddNewItem(tree_data::Make(tree_data::kChannels));
        return;
    }
    if (view_hint::Kind(hint) != tree_data::kChannel) {
        return;
    }
    try {
        if (change == view_hint::kNameChanged) {
            // The channel page renamed its channel: the node's label follows.
            const CDataItem channels =
                m_document.Model().RootItem().GetChildByName(QStringLiteral("channels"));
            RefreshTreeNode(m_channelsNode, channels, ShownChannelCount());
        } else if (change == view_hint::kStateChanged) {
            RebuildChannelIcons();
        }
    } catch (const CVeskCPSException& error) {
        ShowModelFailure(error);
    }
}

void CVeskCPSTreeView::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Delete && state() != QAbstractItemView::EditingState) {
        DelItem(SelectedData());
        return;
    }
    QTreeWidget::keyPressEvent(event);
}

void CVeskCPSTreeView::focusInEvent(QFocusEvent* event) {
    QTreeWidget::focusInEvent(event);
    UpdateCommandStates();
}

void CVeskCPSTreeView::focusOutEvent(QFocusEvent* event) {
    QTreeWidget::focusOutEvent(event);
    ClearCommandStates();
}

void CVeskCPSTreeView::contextMenuEvent(QContextMenuEvent* event) {
    QTreeWidgetItem* item = itemAt(event->pos());
    if (item == nullptr) {
        return;
    }
    setCurrentItem(item);
    UpdateCommandStates();
    QMenu menu(this);
    const quint32 selected = SelectedData();
    QAction* add = menu.addAction(T(kTextAdd), this, [this, selected] { AddNewItem(selected); });
    QAction* remove = menu.addAction(T(kTextDelete), this, [this, selected] { DelItem(selected); });
    QAction* rename = menu.addAction(T(kTextRename), this, [this] { StartRename(); });
    add->setEnabled(m_canAdd);
    remove->setEnabled(m_canDelete);
    rename->setEnabled(m_canRename);
    menu.exec(event->globalPos());
}

QWidget* CChannelNameDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                            const QModelIndex& index) const {
    QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
    if (auto* line = qobject_cast<QLineEdit*>(editor)) {
        line->setMaxLength(CVeskCPSTreeView::kNameLength);
        line->setAccessibleName(index.data().toString());
    }
    return editor;
}

void CChannelNameDelegate::setModelData(QWidget* editor, QAbstractItemModel* /*model*/,
                                        const QModelIndex& index) const {
    auto* line = qobject_cast<QLineEdit*>(editor);
    QTreeWidgetItem* item = m_tree.itemFromIndex(index);
    if (line != nullptr && item != nullptr) {
        // The label changes only when the profile took the name.
        m_tree.CommitRename(item, line->text(), false);
    }
}
