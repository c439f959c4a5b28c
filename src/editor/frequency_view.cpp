#include "editor/frequency_view.h"

#include <algorithm>
#include <cmath>

#include <QComboBox>
#include <QEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QTreeWidget>

#include "model/edit_history.h"
#include "model/profile_document.h"
#include "platform/mnemonic.h"
#include "platform/string_table.h"
#include "platform/vesk_cps_exception.h"

namespace {

using Id = CFrequencyView::ControlId;

constexpr int kLeft = 15;
constexpr int kWidth = 760;
constexpr int kButtonTop = 55;
constexpr int kButtonWidth = 110;
constexpr int kListTop = 91;
constexpr int kListHeight = 240;
constexpr int kLabelWidth = 170;
constexpr int kFieldLeft = kLeft + kLabelWidth + 10;
constexpr int kRowHeight = 24;

constexpr int RowTop(int row) {
    return kListTop + kListHeight + 16 + 32 * row;
}

constexpr SControlTemplate Label(int id, int row, int text, int buddy) {
    return {id, EControlKind::Label, QRect(kLeft, RowTop(row), kLabelWidth, kRowHeight), text,
            buddy};
}

constexpr SControlTemplate Button(int id, int column, int text) {
    return {id, EControlKind::Button,
            QRect(kLeft + column * (kButtonWidth + 10), kButtonTop, kButtonWidth, 26), text, 0};
}

constexpr SControlTemplate kControls[] = {
    {Id::kTitle, EControlKind::Bar, QRect(kLeft, 15, kWidth, 28), 242, 0},
    Button(Id::kAdd, 0, 246),
    Button(Id::kEdit, 1, 247),
    Button(Id::kDelete, 2, 248),
    {Id::kList, EControlKind::List, QRect(kLeft, kListTop, kWidth, kListHeight), 0, 0},
    Label(Id::kFrequencyLabel, 0, 243, Id::kFrequency),
    {Id::kFrequency, EControlKind::Text, QRect(kFieldLeft, RowTop(0), 160, kRowHeight), 0, 0},
    Label(Id::kBandwidthLabel, 1, 244, Id::kBandwidth),
    {Id::kBandwidth, EControlKind::Choice, QRect(kFieldLeft, RowTop(1), 340, kRowHeight), 0, 0},
    Label(Id::kPowerLabel, 2, 245, Id::kPower),
    {Id::kPower, EControlKind::Choice, QRect(kFieldLeft, RowTop(2), 340, kRowHeight), 0, 0},
    Label(Id::kCompanderLabel, 3, 537, Id::kCompander),
    {Id::kCompander, EControlKind::Choice, QRect(kFieldLeft, RowTop(3), 160, kRowHeight), 0, 0},
};

constexpr SLayoutEntry Row(int id) {
    return {id, ELayoutStyle::Plain, ELayoutColumn::Full, 0};
}

constexpr SLayoutEntry kLayout[] = {
    {Id::kTitle, ELayoutStyle::Title, ELayoutColumn::Full, 0},
    Row(Id::kAdd),
    Row(Id::kEdit),
    Row(Id::kDelete),
    Row(Id::kList),
    Row(Id::kFrequencyLabel),
    Row(Id::kFrequency),
    Row(Id::kBandwidthLabel),
    Row(Id::kBandwidth),
    Row(Id::kPowerLabel),
    Row(Id::kPower),
    Row(Id::kCompanderLabel),
    Row(Id::kCompander),
    {0, ELayoutStyle::Plain, ELayoutColumn::Full, 0},
};

// Stored compander codes by list position.
constexpr quint32 kCompanderOn = 2;
constexpr quint32 kCompanderOff = 3;

constexpr int kIndexColumnWidth = 40;
// Beyond this many rows the list shows a scroll bar, and the columns make room for it.
constexpr int kRowsWithoutScrollBar = 14;

// The five frequencies of the licence-free service, which no radio of this family may carry.
constexpr quint32 kMursHertz[] = {151820000, 151880000, 151940000, 154570000, 154600000};

// The highest frequency the field takes, in megahertz: the largest 32-bit count of hertz.
constexpr double kHighestMegahertz = 4294.967295;
constexpr int kIntegerDigits = 4;
constexpr int kDecimals = 6;
constexpr int kFieldLength = 16;

// What the field must never hold; too many decimals are cut instead.
bool RefusedInput(const QString& text, QChar separator) {
    const qsizetype separators = text.count(separator);
    if (separators > 1) {
        return true;
    }
    if (separators == 0 && text.size() > kIntegerDigits) {
        return true;
    }
    QString number = text;
    number.replace(separator, u'.');
    return number.toDouble() > kHighestMegahertz;
}

// Codes of a narrowband region's models end their model string.
bool IsNarrowbandRegion(const QString& model) {
    const QString region = model.right(2);
    return region == u"00" || region == u"70" || region == u"04";
}

}  // namespace

SFrequencyInput FilterFrequencyInput(const QString& before, const QString& changed, int caret,
                                     QChar separator) {
    SFrequencyInput input;
    input.caret = caret;
    for (qsizetype i = 0; i < changed.size(); ++i) {
        const QChar c = changed.at(i);
        if ((c >= u'0' && c <= u'9') || c == separator) {
            input.text.append(c);
        } else if (i < caret) {
            --input.caret;
        }
    }
    // Drop what was just typed, the character before the caret first, until the text is one the
    // field may hold; a text that was already wrong before the change is not made worse.
    qsizetype typed = std::max<qsizetype>(0, input.text.size() - before.size());
    while (RefusedInput(input.text, separator) && typed > 0 && input.caret > 0) {
        input.text.remove(input.caret - 1, 1);
        --input.caret;
        --typed;
    }
    if (RefusedInput(input.text, separator) && !RefusedInput(before, separator)) {
        input.text = before;
    }
    if (const qsizetype at = input.text.indexOf(separator);
        at >= 0 && input.text.size() - at - 1 > kDecimals) {
        input.text.truncate(at + 1 + kDecimals);
    }
    input.text.truncate(kFieldLength);
    input.caret = std::clamp(input.caret, 0, int(input.text.size()));
    return input;
}

CFrequencyView::CFrequencyView(const SPageContext& context, QWidget* parent)
    : CBaseView(context, PageKind::RFFrequency, kControls, kLayout, parent) {
    m_add = ControlAs<QPushButton>(kAdd);
    m_edit = ControlAs<QPushButton>(kEdit);
    m_delete = ControlAs<QPushButton>(kDelete);
    m_list = ControlAs<QTreeWidget>(kList);
    m_frequency = ControlAs<QLineEdit>(kFrequency);
    m_bandwidth = ControlAs<QComboBox>(kBandwidth);
    m_power = ControlAs<QComboBox>(kPower);
    m_compander = ControlAs<QComboBox>(kCompander);

    m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    m_list->setColumnCount(kCompanderColumn + 1);
    m_list->header()->setStretchLastSection(false);
    m_list->header()->setSectionsMovable(false);
    m_list->viewport()->installEventFilter(this);
    m_frequency->setMaxLength(kFieldLength);

    connect(m_add, &QPushButton::clicked, this, &CFrequencyView::OnAddOrSave);
    connect(m_edit, &QPushButton::clicked, this, &CFrequencyView::OnEditOrSave);
    connect(m_delete, &QPushButton::clicked, this, &CFrequencyView::OnDeleteOrCancel);
    connect(m_list, &QTreeWidget::itemSelectionChanged, this, &CFrequencyView::OnSelectionChanged);
    // Kept as it changes: the page may go with its window, after the document that keeps it.
    connect(m_list->verticalScrollBar(), &QScrollBar::valueChanged, this, [this](int scrolled) {
        if (!m_loading && m_mode == EMode::Browsing) {
            Place().scrolled = scrolled;
        }
    });
    connect(m_bandwidth, &QComboBox::activated, this, &CFrequencyView::OnBandwidthChosen);
    connect(m_frequency, &QLineEdit::textChanged, this, &CFrequencyView::OnFieldChanged);
    for (QComboBox* choice : {m_bandwidth, m_power, m_compander}) {
        connect(choice, &QComboBox::activated, this, [this] { m_touched = true; });
    }
    connect(m_frequency, &QLineEdit::textEdited, this, [this] { m_touched = true; });
}

SFrequencyListPlace& CFrequencyView::Place() {
    return Context().navigator != nullptr ? Context().navigator->FrequencyListPlace() : m_ownPlace;
}

CDataItem CFrequencyView::Frequencies() const {
    // Taken anew each time: an undo replaces the working document and retires older items.
    return Context().document.Model().RootItem().GetChildByName(QStringLiteral("frequencies"));
}

void CFrequencyView::LoadRes() {
    const CStringTable& strings = CStringTable::Instance();
    const QString separator = Context().decimalSeparator;
    m_separator = separator.size() == 1 ? separator.at(0) : QChar(u'.');
    const QString narrow = strings.Text(189).replace(u'.', m_separator);
    const QString wide = strings.Text(190).replace(u'.', m_separator);
    m_bandwidthTexts = {strings.Format(386, {narrow}), strings.Format(387, {wide}),
                        strings.Format(289, {narrow}), strings.Format(290, {wide})};
    m_powerTexts = {strings.Text(388), strings.Text(389), strings.Text(294), strings.Text(295)};
    m_bandwidth->clear();
    m_power->clear();
    m_compander->clear();
    for (const QString& text : m_bandwidthTexts) {
        m_bandwidth->addItem(text);
    }
    for (const QString& text : m_powerTexts) {
        m_power->addItem(text);
    }
    m_compander->addItems({strings.Text(465), strings.Text(466)});

    // Save and Cancel take keys that no other control of the page holds; they never show
    // together with the caption they replace.
    m_addText = m_add->text();
    m_editText = m_edit->text();
    m_deleteText = m_delete->text();
    QString taken;
    for (const QWidget* widget :
         {Control(kAdd), Control(kEdit), Control(kDelete), Control(kFrequencyLabel),
          Control(kBandwidthLabel), Control(kPowerLabel), Control(kCompanderLabel)}) {
        const QString text = widget->property("text").toString();
        if (const qsizetype amp = text.indexOf(u'&'); amp >= 0 && amp + 1 < text.size()) {
            taken.append(text.at(amp + 1).toLower());
        }
    }
    QString forSave = taken;
    m_saveText = WithMnemonic(strings.Text(291), forSave);
    m_cancelText = WithMnemonic(strings.Text(292), taken);

    m_list->setHeaderLabels({strings.Text(293), strings.Text(243), strings.Text(244),
                             strings.Text(245), strings.Text(537)});
    m_list->setAccessibleName(strings.Text(242));
}

void CFrequencyView::OnInitialUpdate() {
    ApplyVisibleSetting(QString::fromLatin1(PageKindNames(Kind()).visibilityName));
    m_hasCompander = !m_compander->isHidden();
    m_list->setColumnHidden(kCompanderColumn, !m_hasCompander);
    m_bandwidthLocked = IsNarrowbandRegion(Context()
                                               .document.Model()
                                               .RootItem()
                                               .GetChildByName(QStringLiteral("factory_setting"))
                                               .GetAttributeValue(QStringLiteral("model"))
                                               .toString());
    try {
        LoadListData();
    } catch (CVeskCPSException&) {
        EnterBrowsing();
        throw;
    }
    const SFrequencyListPlace remembered = Place();
    if (remembered.row >= 0 && m_list->topLevelItemCount() > 0) {
        SelectRow(std::min(remembered.row, m_list->topLevelItemCount() - 1));
    }
    ScrollTo(remembered.scrolled);
    EnterBrowsing();
}

QString CFrequencyView::FrequencyText(quint32 hertz) const {
    return QString::asprintf("%.6f", double(hertz) * 0.000001).replace(u'.', m_separator);
}

QString CFrequencyView::BandwidthText(qint64 code) const {
    return code >= 0 && code < qint64(m_bandwidthTexts.size()) ? m_bandwidthTexts[code]
                                                               : QStringLiteral("N/A");
}

QString CFrequencyView::PowerText(qint64 code) const {
    return code >= 0 && code < qint64(m_powerTexts.size()) ? m_powerTexts[code]
                                                           : QStringLiteral("N/A");
}

QString CFrequencyView::CompanderText(qint64 mode) {
    if (mode == kCompanderOn) {
        return CStringTable::Instance().Text(465);
    }
    if (mode == kCompanderOff) {
        return CStringTable::Instance().Text(466);
    }
    return QStringLiteral("N/A");
}

void CFrequencyView::LoadListData() {
    m_loading = true;
    const struct SDone {
        bool& flag;
        ~SDone() { flag = false; }
    } done{m_loading};
    m_list->clear();
    try {
        const int count = Frequencies().GetChildCount();
        QList<QTreeWidgetItem*> items;
        for (int index = 0; index < count; ++index) {
            auto* item = new QTreeWidgetItem;
            items.append(item);
            LoadListItem(item, index);
        }
        m_list->addTopLevelItems(items);
    } catch (CVeskCPSException& error) {
        error.PassOn(QStringLiteral("CFrequencyView::LoadListData"));
        SetColumnWidths();
        throw;
    }
    SetColumnWidths();
}

void CFrequencyView::LoadListItem(QTreeWidgetItem* item, int index) {
    try {
        const CDataItem entry = Frequencies().GetChildByIndex(index);
        const qint64 bandwidth = entry.GetAttributeValue(QStringLiteral("bandwidth")).toLongLong();
        const qint64 power = entry.GetAttributeValue(QStringLiteral("power_level")).toLongLong();
        item->setText(kIndexColumn, QString::number(index + 1));
        item->setText(kFrequencyColumn,
                      FrequencyText(entry.GetAttributeValue(QStringLiteral("freq")).toUInt()));
        item->setText(kBandwidthColumn, BandwidthText(bandwidth));
        item->setText(kPowerColumn, PowerText(power));
        item->setText(
            kCompanderColumn,
            CompanderText(
                entry.GetAttributeValue(QStringLiteral("compander_lle_mode")).toLongLong()));
        // The choice texts are long; a narrow column still tells them whole.
        item->setToolTip(kBandwidthColumn, item->text(kBandwidthColumn));
        item->setToolTip(kPowerColumn, item->text(kPowerColumn));
        item->setTextAlignment(kIndexColumn, Qt::AlignRight | Qt::AlignVCenter);
        item->setTextAlignment(kFrequencyColumn, Qt::AlignRight | Qt::AlignVCenter);
    } catch (CVeskCPSException& error) {
        error.PassOn(QStringLiteral("CFrequencyView::LoadListItem"));
        throw;
    }
}

void CFrequencyView::SetColumnWidths() {
    const int client = m_list->width() - 2 * m_list->frameWidth();
    const int third = client / 3 - (m_list->topLevelItemCount() > kRowsWithoutScrollBar ? 6 : 0);
    const QFontMetrics metrics(m_list->header()->font());
    auto fit = [&](int column) {
        return metrics.horizontalAdvance(m_list->headerItem()->text(column)) + 24;
    };
    // The frequency and the compander need little room; the two choice columns share the rest
    // in the measure of their longest texts.
    const int frequency = std::max(fit(kFrequencyColumn),
                                   metrics.horizontalAdvance(QStringLiteral("0000.000000")) + 24);
    const int compander = m_hasCompander ? fit(kCompanderColumn) : 0;
    // A pixel to spare, so that rounding at fractional scaling never needs a horizontal bar.
    const int choices = std::max(3 * third - 2 - kIndexColumnWidth - frequency - compander, 2 * 80);
    auto widest = [&](const std::array<QString, 4>& texts) {
        int width = 1;
        for (const QString& text : texts) {
            width = std::max(width, metrics.horizontalAdvance(text));
        }
        return width;
    };
    const int bandwidth =
        choices * widest(m_bandwidthTexts) / (widest(m_bandwidthTexts) + widest(m_powerTexts));
    m_list->setColumnWidth(kIndexColumn, kIndexColumnWidth);
    m_list->setColumnWidth(kFrequencyColumn, frequency);
    m_list->setColumnWidth(kBandwidthColumn, bandwidth);
    m_list->setColumnWidth(kPowerColumn, choices - bandwidth);
    m_list->setColumnWidth(kCompanderColumn, compander);
}

void CFrequencyView::SelectRow(int row) {
    QTreeWidgetItem* item = m_list->topLevelItem(row);
    if (item == nullptr) {
        m_list->clearSelection();
        return;
    }
    m_list->setCurrentItem(item, 0,
                           QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    m_list->scrollToItem(item);
}

int CFrequencyView::SelectedRow() const {
    QTreeWidgetItem* current = m_list->currentItem();
    if (current != nullptr && current->isSelected()) {
        return m_list->indexOfTopLevelItem(current);
    }
    int first = -1;
    for (QTreeWidgetItem* item : m_list->selectedItems()) {
        const int row = m_list->indexOfTopLevelItem(item);
        first = first < 0 ? row : std::min(first, row);
    }
    return first;
}

void CFrequencyView::ScrollTo(int scrolled) {
    // The list lays its rows out later; the scroll bar learns its range only then.
    m_list->verticalScrollBar()->setValue(scrolled);
    QTimer::singleShot(
        0, m_list, [list = m_list, scrolled] { list->verticalScrollBar()->setValue(scrolled); });
}

int CFrequencyView::Scrolled() const {
    return m_list->verticalScrollBar()->value();
}

void CFrequencyView::EnterBrowsing() {
    m_mode = EMode::Browsing;
    m_add->setText(m_addText);
    m_edit->setText(m_editText);
    m_delete->setText(m_deleteText);
    m_frequency->setEnabled(false);
    m_bandwidth->setEnabled(false);
    m_power->setEnabled(false);
    m_compander->setEnabled(false);
    m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_list->setEnabled(true);
    bool canAdd = false;
    try {
        canAdd = Frequencies().CanAddChild();
    } catch (const CVeskCPSException& error) {
        ShowModelException(Context().prompt, error);
    }
    m_add->setEnabled(canAdd);
    const bool selected = SelectedRow() >= 0;
    m_edit->setEnabled(selected);
    m_delete->setEnabled(selected);
    ShowSelectedRow();
}

void CFrequencyView::ShowSelectedRow() {
    const int row = SelectedRow();
    if (row < 0) {
        m_frequency->clear();
        m_bandwidth->setCurrentIndex(-1);
        m_power->setCurrentIndex(-1);
        m_compander->setCurrentIndex(-1);
        return;
    }
    try {
        const CDataItem entry = Frequencies().GetChildByIndex(row);
        if (entry.IsEmpty()) {
            return;
        }
        auto code = [&](const char* name) {
            return entry.GetAttributeValue(QString::fromLatin1(name)).toLongLong();
        };
        m_frequency->setText(m_list->topLevelItem(row)->text(kFrequencyColumn));
        m_frequency->setCursorPosition(0);
        const qint64 bandwidth = code("bandwidth");
        const qint64 power = code("power_level");
        // A code the lists have no text for selects nothing rather than a wrong item.
        m_bandwidth->setCurrentIndex(bandwidth >= 0 && bandwidth <= 3 ? int(bandwidth) : -1);
        m_power->setCurrentIndex(power >= 0 && power <= 3 ? int(power) : -1);
        m_compander->setCurrentIndex(code("compander_lle_mode") == kCompanderOff ? 1 : 0);
    } catch (const CVeskCPSException& error) {
        ShowModelException(Context().prompt, error);
    }
}

void CFrequencyView::OnSelectionChanged() {
    if (m_loading || m_mode != EMode::Browsing) {
        return;
    }
    const int row = SelectedRow();
    Place().row = row;
    Place().scrolled = Scrolled();
    ShowSelectedRow();
    m_edit->setEnabled(row >= 0);
    m_delete->setEnabled(row >= 0);
}

void CFrequencyView::OnBandwidthChosen() {
    if (m_mode != EMode::Browsing) {
        ApplyCompanderRule(true);
    }
}

void CFrequencyView::ApplyCompanderRule(bool chosenByUser) {
    // By position, not by text: a language module may give two choices the same text.
    const int bandwidth = m_bandwidth->currentIndex();
    if (bandwidth == 1) {
        // Wideband audio gains nothing from the compander.
        m_compander->setCurrentIndex(1);
        m_compander->setEnabled(false);
        return;
    }
    m_compander->setEnabled(m_mode != EMode::Browsing);
    if (chosenByUser) {
        m_compander->setCurrentIndex(bandwidth == 3 ? 1 : 0);
    }
}

void CFrequencyView::OnFieldChanged(const QString& text) {
    if (m_filtering) {
        return;
    }
    m_filtering = true;
    const SFrequencyInput input =
        FilterFrequencyInput(m_fieldText, text, m_frequency->cursorPosition(), m_separator);
    if (input.text != text) {
        m_frequency->setText(input.text);
        m_frequency->setCursorPosition(input.caret);
    }
    m_fieldText = input.text;
    m_filtering = false;
}

std::optional<quint32> CFrequencyView::FieldFrequency() {
    QString text = m_frequency->text();
    text.replace(m_separator, u'.');
    const double megahertz = text.toDouble();
    const qint64 hertz = QString::asprintf("%.0f", megahertz * 1000000.0).toLongLong();
    const auto value = quint32(std::clamp<qint64>(hertz, 0, 0xFFFFFFFF));
    if (std::find(std::begin(kMursHertz), std::end(kMursHertz), value) != std::end(kMursHertz)) {
        Context().prompt.Show(kMsgInvalidFrequency);
        return std::nullopt;
    }
    return value;
}

SFrequencyEntry CFrequencyView::EntryFromEditArea(const CDataItem& stored) const {
    // A list that shows no item (a code it has no text for), or a compander the model does not
    // show, keeps what the entry holds: the rules then judge the stored code.
    auto storedCode = [&](const char* name) {
        return stored.IsEmpty()
                   ? 0u
                   : quint32(stored.GetAttributeValue(QString::fromLatin1(name)).toLongLong());
    };
    SFrequencyEntry entry;
    entry.bandwidth = m_bandwidth->currentIndex() >= 0 ? quint32(m_bandwidth->currentIndex())
                                                       : storedCode("bandwidth");
    entry.power =
        m_power->currentIndex() >= 0 ? quint32(m_power->currentIndex()) : storedCode("power_level");
    if (m_hasCompander || stored.IsEmpty()) {
        entry.compander = m_compander->currentIndex() == 1 ? kCompanderOff : kCompanderOn;
    } else {
        entry.compander = storedCode("compander_lle_mode");
    }
    return entry;
}

bool CFrequencyView::CanLeavePage() {
    switch (m_mode) {
        case EMode::Browsing:
            return CBaseView::CanLeavePage();
        case EMode::Adding:
            if (!m_touched) {
                Cancel();
                return true;
            }
            SaveNewEntry();
            break;
        case EMode::Editing:
            SaveEditedEntry();
            break;
    }
    return m_mode == EMode::Browsing;
}

void CFrequencyView::OnAddOrSave() {
    if (m_mode == EMode::Adding) {
        SaveNewEntry();
        return;
    }
    if (m_mode != EMode::Browsing) {
        return;
    }
    m_mode = EMode::Adding;
    m_touched = false;
    m_scrolledBeforeMode = Scrolled();
    m_add->setText(m_saveText);
    m_edit->setEnabled(false);
    m_delete->setText(m_cancelText);
    m_delete->setEnabled(true);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setEnabled(false);
    m_frequency->setEnabled(true);
    m_bandwidth->setCurrentIndex(0);
    m_bandwidth->setEnabled(!m_bandwidthLocked);
    m_power->setCurrentIndex(1);
    m_power->setEnabled(true);
    m_compander->setCurrentIndex(0);
    m_compander->setEnabled(true);
    ApplyCompanderRule(false);
    m_list->scrollToBottom();
    m_frequency->setFocus(Qt::OtherFocusReason);
    m_frequency->selectAll();
}

void CFrequencyView::OnEditOrSave() {
    if (m_mode == EMode::Editing) {
        SaveEditedEntry();
        return;
    }
    if (m_mode != EMode::Browsing || SelectedRow() < 0) {
        return;
    }
    m_mode = EMode::Editing;
    m_touched = false;
    m_editRow = SelectedRow();
    m_scrolledBeforeMode = Scrolled();
    ApplyCompanderRule(false);
    m_frequency->setEnabled(true);
    m_bandwidth->setEnabled(!m_bandwidthLocked);
    m_power->setEnabled(true);
    m_add->setEnabled(false);
    m_delete->setText(m_cancelText);
    m_edit->setText(m_saveText);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setEnabled(false);
    m_frequency->setFocus(Qt::OtherFocusReason);
    m_frequency->selectAll();
}

void CFrequencyView::OnDeleteOrCancel() {
    if (m_mode == EMode::Browsing) {
        DeleteSelected();
    } else {
        Cancel();
    }
}

void CFrequencyView::ShowRefusal(const CEditResult& result) {
    const int message = result.MessageId() != 0 ? result.MessageId() : kMsgInvalidValue;
    Context().prompt.Ask(message, CStringTable::Instance().Text(message), result.RefusalStyle());
}

void CFrequencyView::Changed() {
    Context().document.SetModified(true);
    if (Context().profileChanged) {
        Context().profileChanged();
    }
}

void CFrequencyView::SaveNewEntry() {
    const std::optional<quint32> hertz = FieldFrequency();
    if (!hertz) {
        return;
    }
    SFrequencyEntry entry = EntryFromEditArea(CDataItem());
    entry.hertz = *hertz;
    int row = 0;
    try {
        CDataItem table = Frequencies();
        const CEditResult result = table.AddFrequency(entry);
        if (!result.IsAccepted()) {
            ShowRefusal(result);
            return;
        }
        Changed();
        row = table.GetChildCount() - 1;
        // The row shows what the profile holds, whatever the rules made of the entry.
        auto* item = new QTreeWidgetItem;
        m_loading = true;
        m_list->addTopLevelItem(item);
        m_loading = false;
        LoadListItem(item, row);
        SetColumnWidths();
    } catch (const CVeskCPSException& error) {
        m_loading = false;
        ShowModelException(Context().prompt, error);
        return;
    }
    m_mode = EMode::Browsing;
    SelectRow(row);
    EnterBrowsing();
    Place().row = row;
    m_list->scrollToBottom();
    m_list->setFocus(Qt::OtherFocusReason);
}

void CFrequencyView::SaveEditedEntry() {
    const std::optional<quint32> hertz = FieldFrequency();
    if (!hertz) {
        return;
    }
    const int index = m_editRow;
    try {
        CDataItem table = Frequencies();
        const CDataItem stored = table.GetChildByIndex(index);
        SFrequencyEntry entry = EntryFromEditArea(stored);
        entry.hertz = *hertz;
        auto holds = [&](const char* name, quint32 value) {
            return stored.GetAttributeValue(QString::fromLatin1(name)).toLongLong() == value;
        };
        // Saving what the entry already holds asks no rule and changes nothing.
        const bool unchanged = !stored.IsEmpty() && holds("freq", entry.hertz) &&
                               holds("bandwidth", entry.bandwidth) &&
                               holds("power_level", entry.power) &&
                               holds("compander_lle_mode", entry.compander);
        if (!unchanged) {
            const CEditResult result =
                SettleEdit(Context().prompt, [&](EConfirmation confirmation) {
                    return table.SetFreqAttributeValue(quint32(index), entry, confirmation);
                });
            if (!result.IsAccepted()) {
                // SettleEdit told a refusal; a declined question keeps the user editing.
                if (result.IsRefused() && result.MessageId() == 0) {
                    ShowRefusal(result);
                }
                return;
            }
            Changed();
            LoadListItem(m_list->topLevelItem(index), index);
        }
    } catch (const CVeskCPSException& error) {
        ShowModelException(Context().prompt, error);
        return;
    }
    m_mode = EMode::Browsing;
    SelectRow(index);
    EnterBrowsing();
    m_list->setFocus(Qt::OtherFocusReason);
}

void CFrequencyView::Cancel() {
    EnterBrowsing();
    ScrollTo(m_scrolledBeforeMode);
    m_list->setFocus(Qt::OtherFocusReason);
}

void CFrequencyView::DeleteSelected() {
    QList<int> rows;
    for (QTreeWidgetItem* item : m_list->selectedItems()) {
        rows.append(m_list->indexOfTopLevelItem(item));
    }
    std::sort(rows.begin(), rows.end());
    if (rows.isEmpty()) {
        return;
    }
    IUserPrompt& prompt = Context().prompt;
    const CStringTable& strings = CStringTable::Instance();
    int deleted = 0;
    try {
        CDataItem table = Frequencies();
        bool deletable = false;
        bool kept = false;
        for (const int row : rows) {
            (table.CanDeleteFrequency(quint32(row)) ? deletable : kept) = true;
            if (deletable && kept) {
                break;
            }
        }
        if (deletable && prompt.Ask(kMsgDeleteQuestion, strings.Text(kMsgDeleteQuestion),
                                    PromptStyle::YesNo) != PromptAnswer::Yes) {
            m_list->setFocus(Qt::OtherFocusReason);
            return;
        }
        if (kept) {
            prompt.Show(kMsgFrequencyInUse, PromptStyle::Warning);
        }
        if (!deletable) {
            m_list->setFocus(Qt::OtherFocusReason);
            return;
        }
        QStringList numbers;
        for (const int row : rows) {
            numbers.append(QString::number(row + 1));
        }
        // One undo step for what the user did in one go.
        const CEditJournal::CGroup group(
            Context().document.Model().Journal(),
            strings.Format(CEditHistory::kTextDelete,
                           {QStringLiteral("frequency ") + numbers.join(QStringLiteral(", "))}));
        for (const int row : rows) {
            const int index = row - deleted;
            if (!table.CanDeleteFrequency(quint32(index))) {
                continue;
            }
            const CEditResult result = table.RemoveChildByIndex(index);
            if (result.IsAccepted()) {
                ++deleted;
            } else if (result.MessageId() != 0) {
                prompt.Show(result.MessageId(), PromptStyle::Information);
            }
        }
    } catch (CVeskCPSException& error) {
        error.PassOn(QStringLiteral("CFrequencyView::OnBnClickedFreqDel"));
        ShowModelException(prompt, error);
    }
    if (deleted > 0) {
        Changed();
        const int remembered = Place().scrolled;
        try {
            LoadListData();
        } catch (const CVeskCPSException& error) {
            ShowModelException(prompt, error);
        }
        const int last = rows.last();
        if (last < m_list->topLevelItemCount()) {
            SelectRow(last);
            ScrollTo(remembered);
        } else {
            SelectRow(0);
            ScrollTo(0);
        }
        EnterBrowsing();
        Place().row = SelectedRow();
    }
    m_list->setFocus(Qt::OtherFocusReason);
}

void CFrequencyView::OnListClicked() {
    if (m_mode != EMode::Browsing || !m_list->selectedItems().isEmpty() ||
        m_list->topLevelItemCount() == 0) {
        return;
    }
    QTreeWidgetItem* top = m_list->itemAt(QPoint(1, 1));
    SelectRow(top != nullptr ? m_list->indexOfTopLevelItem(top)
                             : std::min(Scrolled(), m_list->topLevelItemCount() - 1));
}

bool CFrequencyView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_list->viewport() && event->type() == QEvent::MouseButtonRelease) {
        // After the list has handled the click, which may have cleared the selection.
        QTimer::singleShot(0, this, &CFrequencyView::OnListClicked);
    }
    if (event->type() == QEvent::KeyPress && m_mode != EMode::Browsing &&
        (watched == m_frequency || watched == m_bandwidth || watched == m_power ||
         watched == m_compander)) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            m_mode == EMode::Adding ? SaveNewEntry() : SaveEditedEntry();
            return true;
        }
        if (key == Qt::Key_Escape) {
            Cancel();
            return true;
        }
    }
    return CBaseView::eventFilter(watched, event);
}
