#include "editor/scan_view.h"

#include <algorithm>

#include <QEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPushButton>
#include <QTreeWidget>

#include "model/edit_journal.h"
#include "model/profile_document.h"
#include "platform/string_table.h"
#include "platform/user_prompt.h"
#include "platform/vesk_cps_exception.h"

namespace {

using Id = CScanView::ControlId;

constexpr int kTextTitle = 184;
constexpr int kTextAdd = 185;
constexpr int kTextRemove = 186;
constexpr int kTextAvailable = 187;
constexpr int kTextMembers = 188;
constexpr int kTextColumn = 197;

// A column-end marker is no control; an id of 0 would end the table there.
constexpr int kColumnEnd = -1;

constexpr int kListTop = 84;
constexpr int kListHeight = 260;

// The buttons come first so that their own mnemonics are taken before the captions are given
// free ones; the constructor puts the tab chain in the order the controls stand.
constexpr SControlTemplate kControls[] = {
    {Id::kTitle, EControlKind::Bar, QRect(15, 15, 490, 28), kTextTitle, 0},
    {Id::kAdd, EControlKind::Button, QRect(205, 170, 110, 28), kTextAdd, 0},
    {Id::kRemove, EControlKind::Button, QRect(205, 210, 110, 28), kTextRemove, 0},
    {Id::kAvailableCaption, EControlKind::Label, QRect(25, 58, 170, 22), kTextAvailable,
     Id::kAvailable},
    {Id::kAvailable, EControlKind::List, QRect(25, kListTop, 170, kListHeight), 0, 0},
    {Id::kMembersCaption, EControlKind::Label, QRect(325, 58, 170, 22), kTextMembers, Id::kMembers},
    {Id::kMembers, EControlKind::List, QRect(325, kListTop, 170, kListHeight), 0, 0},
};

constexpr SLayoutEntry kLayout[] = {
    {Id::kTitle, ELayoutStyle::Title, ELayoutColumn::Full, 0},
    {Id::kAvailableCaption, ELayoutStyle::Plain, ELayoutColumn::Left, 0},
    {Id::kAvailable, ELayoutStyle::Plain, ELayoutColumn::Left, 0},
    {kColumnEnd, ELayoutStyle::ColumnEnd, ELayoutColumn::Left, 0},
    {Id::kAdd, ELayoutStyle::Plain, ELayoutColumn::Right, 0},
    {Id::kRemove, ELayoutStyle::Plain, ELayoutColumn::Right, 0},
    {kColumnEnd, ELayoutStyle::ColumnEnd, ELayoutColumn::Right, 0},
    {Id::kMembersCaption, ELayoutStyle::Plain, ELayoutColumn::Right, 0},
    {Id::kMembers, ELayoutStyle::Plain, ELayoutColumn::Right, 0},
    {0, ELayoutStyle::Plain, ELayoutColumn::Full, 0},
};

QString T(int id) {
    return CStringTable::Instance().Text(id);
}

}  // namespace

CScanView::CScanView(const SPageContext& context, QWidget* parent)
    : CBaseView(context, PageKind::ScanList, kControls, kLayout, parent) {
    m_available = ControlAs<QTreeWidget>(Id::kAvailable);
    m_members = ControlAs<QTreeWidget>(Id::kMembers);
    for (QTreeWidget* list : {m_available, m_members}) {
        list->setSelectionMode(QAbstractItemView::ExtendedSelection);
        list->setHeaderHidden(true);
        // The selection stays as visible when the focus is on a button.
        QPalette palette = list->palette();
        palette.setColor(QPalette::Inactive, QPalette::Highlight,
                         palette.color(QPalette::Active, QPalette::Highlight));
        palette.setColor(QPalette::Inactive, QPalette::HighlightedText,
                         palette.color(QPalette::Active, QPalette::HighlightedText));
        list->setPalette(palette);
        connect(list, &QTreeWidget::itemSelectionChanged, this,
                [this, list] { OnSelectionChanged(list); });
    }
    connect(m_available, &QTreeWidget::itemDoubleClicked, this, [this] { MoveSelected(true); });
    connect(m_members, &QTreeWidget::itemDoubleClicked, this, [this] { MoveSelected(false); });
    connect(ControlAs<QPushButton>(Id::kAdd), &QPushButton::clicked, this,
            [this] { MoveSelected(true); });
    connect(ControlAs<QPushButton>(Id::kRemove), &QPushButton::clicked, this,
            [this] { MoveSelected(false); });
    // The buttons are Add's and Remove's neighbours in the tab chain: available list, Add,
    // Remove, members list, as they stand left to right.
    setTabOrder(m_available, Control(Id::kAdd));
    setTabOrder(Control(Id::kAdd), Control(Id::kRemove));
    setTabOrder(Control(Id::kRemove), m_members);
}

void CScanView::LoadRes() {
    for (QTreeWidget* list : {m_available, m_members}) {
        list->setColumnCount(1);
        list->setHeaderLabels({T(kTextColumn)});
        list->header()->setStretchLastSection(true);
    }
}

void CScanView::ReadRecords(std::vector<SRecord>& records) const {
    records.clear();
    const CDataItem& root = RootItem();
    const CDataItem channels = root.GetChildByName(QStringLiteral("channels"));
    // A file may hold more channel elements than the setting counts, or fewer: only channels
    // both name are the radio's.
    const int count = std::min(root.GetChildByName(QStringLiteral("setting"))
                                   .GetAttributeValue(QStringLiteral("numberChannels"))
                                   .toInt(),
                               channels.GetChildCount());
    for (int i = 0; i < count; ++i) {
        const CDataItem channel = channels.GetChildByIndex(i);
        records.push_back({channel.GetAttributeValue(QStringLiteral("name")).toString(),
                           channel.GetAttributeValue(QStringLiteral("in_scanlist")).toBool(),
                           channel.GetAttributeValue(QStringLiteral("disable_channel")).toBool()});
    }
}

void CScanView::LoadData() {
    const QString visibility =
        QString::fromLatin1(PageKindNames(PageKind::ScanList).visibilityName);
    try {
        ReadRecords(m_shown);
    } catch (CVeskCPSException&) {
        // The channels read before the failure are shown.
        m_working = m_shown;
        FillLists();
        ApplyVisibleSetting(visibility);
        UpdateButtons();
        throw;
    }
    m_working = m_shown;
    FillLists();
    ApplyVisibleSetting(visibility);
    if (m_available->topLevelItemCount() > 0) {
        SelectRow(m_available, 0);
    } else if (m_members->topLevelItemCount() > 0) {
        SelectRow(m_members, 0);
    }
    UpdateButtons();
}

void CScanView::FillLists() {
    m_guard = true;
    m_available->clear();
    m_members->clear();
    for (std::size_t i = 0; i < m_shown.size(); ++i) {
        const SRecord& record = m_shown[i];
        if (record.disabled) {
            continue;
        }
        auto* item = new QTreeWidgetItem({record.name});
        item->setData(0, Qt::UserRole, int(i));
        (record.inScanList ? m_members : m_available)->addTopLevelItem(item);
    }
    m_guard = false;
}

int CScanView::RowOfChannel(QTreeWidget* list, int channel) {
    for (int row = 0; row < list->topLevelItemCount(); ++row) {
        if (list->topLevelItem(row)->data(0, Qt::UserRole).toInt() == channel) {
            return row;
        }
    }
    return -1;
}

void CScanView::SelectRow(QTreeWidget* list, int row) {
    QTreeWidgetItem* item = list->topLevelItem(row);
    if (item == nullptr) {
        return;
    }
    list->setCurrentItem(item, 0, QItemSelectionModel::ClearAndSelect);
    list->scrollToItem(item);
}

void CScanView::UpdateButtons() {
    Control(Id::kAdd)->setEnabled(!m_available->selectedItems().isEmpty());
    Control(Id::kRemove)->setEnabled(!m_members->selectedItems().isEmpty());
}

void CScanView::OnSelectionChanged(QTreeWidget* changed) {
    if (m_guard) {
        return;
    }
    m_guard = true;
    QTreeWidget* other = changed == m_available ? m_members : m_available;
    if (!changed->selectedItems().isEmpty()) {
        other->clearSelection();
    }
    m_guard = false;
    UpdateButtons();
}

bool CScanView::WriteWorkingCopy() {
    CDataItem channels = RootItem().GetChildByName(QStringLiteral("channels"));
    bool changed = false;
    bool accepted = true;
    for (std::size_t i = 0; i < m_working.size(); ++i) {
        CDataItem channel = channels.GetChildByIndex(int(i));
        // Only what the move changes is written: a file may keep a disabled channel in the scan
        // list, and the rules refuse to put it there again, which would stop every move.
        const QString flag = m_working[i].inScanList ? QStringLiteral("1") : QStringLiteral("0");
        if (channel.AttributeText(QStringLiteral("in_scanlist")) == flag) {
            continue;
        }
        if (!channel
                 .SetAttributeValue(QStringLiteral("in_scanlist"),
                                    qint32(m_working[i].inScanList ? 1 : 0))
                 .IsAccepted()) {
            accepted = false;
            break;
        }
        changed = true;
    }
    if (changed) {
        Context().document.SetModified(true);
        if (Context().profileChanged) {
            Context().profileChanged();
        }
    }
    return accepted;
}

bool CScanView::MoveSelected(bool intoScanList) {
    QTreeWidget* source = intoScanList ? m_available : m_members;
    QTreeWidget* target = intoScanList ? m_members : m_available;
    int lastRow = -1;
    for (QTreeWidgetItem* item : source->selectedItems()) {
        m_working[std::size_t(item->data(0, Qt::UserRole).toInt())].inScanList = intoScanList;
        lastRow = std::max(lastRow, source->indexOfTopLevelItem(item));
    }
    if (lastRow < 0) {
        return false;
    }
    QTreeWidgetItem* next = source->topLevelItem(lastRow + 1);
    const int nextChannel = next != nullptr ? next->data(0, Qt::UserRole).toInt() : -1;

    bool accepted = false;
    bool told = false;
    try {
        // One move is one step of the history, however many channels it takes.
        CEditJournal::CGroup step(Context().document.Model().Journal(),
                                  T(intoScanList ? kTextAddStep : kTextRemoveStep));
        accepted = WriteWorkingCopy();
    } catch (const CVeskCPSException& error) {
        ShowModelException(Context().prompt, error);
        told = true;
    }
    if (!accepted) {
        // Channels written before the refusal keep their new flag: the lists show what the
        // profile holds, never what the move meant to make of it.
        if (!told) {
            Context().prompt.Show(kMsgInvalidValue);
        }
        try {
            ReadRecords(m_shown);
        } catch (const CVeskCPSException& error) {
            ShowModelException(Context().prompt, error);
        }
        m_working = m_shown;
        FillLists();
        UpdateButtons();
        return false;
    }

    m_shown = m_working;
    FillLists();
    const int nextRow = nextChannel >= 0 ? RowOfChannel(source, nextChannel) : -1;
    SelectRow(source, nextRow >= 0 ? nextRow : 0);
    UpdateButtons();
    source->setFocus(Qt::OtherFocusReason);
    if (source->topLevelItemCount() == 0 && target->topLevelItemCount() > 0) {
        SelectRow(target, 0);
        target->setFocus(Qt::OtherFocusReason);
        UpdateButtons();
    }
    return true;
}

bool CScanView::eventFilter(QObject* watched, QEvent* event) {
    // Enter in a list moves its selection, as a double click does.
    if (event->type() == QEvent::KeyPress && (watched == m_available || watched == m_members)) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
            key->modifiers() == Qt::NoModifier) {
            MoveSelected(watched == m_available);
            return true;
        }
    }
    return CBaseView::eventFilter(watched, event);
}
