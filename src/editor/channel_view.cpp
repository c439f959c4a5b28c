#include "editor/channel_view.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>

#include "editor/page_navigator.h"
#include "editor/tree_view.h"
#include "model/edit_result.h"
#include "model/profile_checks.h"
#include "model/profile_document.h"
#include "model/squelch_codes.h"
#include "platform/string_table.h"
#include "platform/vesk_cps_exception.h"

namespace {

using Id = CChannelView::ControlId;

constexpr int kTextReceive = 232;
constexpr int kTextTransmit = 236;
constexpr int kTextNarrow = 189;
constexpr int kTextWide = 190;
constexpr int kTextLow = 191;
constexpr int kTextHigh = 192;
constexpr int kTextScrambleOff = 193;
constexpr int kTextScramble1 = 194;
constexpr int kTextTransmitPower = 447;

// Marks the "Out of range" item of a frequency list; its value is the stored index.
constexpr int kOutOfRangeRole = Qt::UserRole + 1;

// The two columns: caption above its list, rows 50 pixels apart inside the column's frame.
constexpr int kRxLeft = 25;
constexpr int kTxLeft = 295;
constexpr int kColumnWidth = 250;
constexpr int kRowWidth = 230;
constexpr int kBlockTop = 130;

constexpr QRect ColumnRect(int left, int top, int height) {
    return QRect(left + 10, top, kRowWidth, height);
}

struct SColumn {
    int header, frame, freqLabel, freq, bwLabel, bw, note, powerLabel, power, codeLabel, code;
};

constexpr SColumn kRx{Id::kRxHeader,
                      Id::kRxFrame,
                      Id::kRxFrequencyLabel,
                      Id::kRxFrequency,
                      Id::kRxBandwidthLabel,
                      Id::kRxBandwidth,
                      Id::kRxNote,
                      Id::kTalkaroundPowerLabel,
                      Id::kTalkaroundPower,
                      Id::kRxCodeLabel,
                      Id::kRxCode};
constexpr SColumn kTx{Id::kTxHeader,
                      Id::kTxFrame,
                      Id::kTxFrequencyLabel,
                      Id::kTxFrequency,
                      Id::kTxBandwidthLabel,
                      Id::kTxBandwidth,
                      Id::kTxNote,
                      Id::kRepeaterPowerLabel,
                      Id::kRepeaterPower,
                      Id::kTxCodeLabel,
                      Id::kTxCode};

constexpr SControlTemplate kControls[] = {
    {Id::kTitle, EControlKind::Bar, QRect(15, 15, 530, 28), 0, 0},
    {Id::kNameLabel, EControlKind::Label, QRect(35, 60, 200, 22), 429, Id::kName},
    {Id::kName, EControlKind::Text, QRect(245, 60, 150, 24), 0, 0},
    {Id::kDisableLabel, EControlKind::Label, QRect(35, 94, 200, 22), 528, Id::kDisable},
    {Id::kDisable, EControlKind::Check, QRect(245, 94, 24, 22), 0, 0},
    // Receive column
    {Id::kRxHeader, EControlKind::Bar, QRect(kRxLeft, kBlockTop, kColumnWidth, 24), kTextReceive,
     0},
    {Id::kRxFrame, EControlKind::Frame, QRect(kRxLeft, kBlockTop + 26, kColumnWidth, 250), 0, 0},
    {Id::kRxFrequencyLabel, EControlKind::Label, ColumnRect(kRxLeft, 166, 18), 233,
     Id::kRxFrequency},
    {Id::kRxFrequency, EControlKind::Choice, ColumnRect(kRxLeft, 184, 24), 0, 0},
    {Id::kRxBandwidthLabel, EControlKind::Label, ColumnRect(kRxLeft, 216, 18), 234,
     Id::kRxBandwidth},
    {Id::kRxBandwidth, EControlKind::Choice, ColumnRect(kRxLeft, 234, 24), 0, 0},
    {Id::kRxNote, EControlKind::Label, ColumnRect(kRxLeft, 266, 32), 515, 0},
    {Id::kTalkaroundPowerLabel, EControlKind::Label, ColumnRect(kRxLeft, 302, 18), 398,
     Id::kTalkaroundPower},
    {Id::kTalkaroundPower, EControlKind::Choice, ColumnRect(kRxLeft, 320, 24), 0, 0},
    {Id::kRxCodeLabel, EControlKind::Label, ColumnRect(kRxLeft, 352, 18), 235, Id::kRxCode},
    {Id::kRxCode, EControlKind::Choice, ColumnRect(kRxLeft, 370, 24), 0, 0},
    // Transmit column
    {Id::kTxHeader, EControlKind::Bar, QRect(kTxLeft, kBlockTop, kColumnWidth, 24), kTextTransmit,
     0},
    {Id::kTxFrame, EControlKind::Frame, QRect(kTxLeft, kBlockTop + 26, kColumnWidth, 250), 0, 0},
    {Id::kTxFrequencyLabel, EControlKind::Label, ColumnRect(kTxLeft, 166, 18), 233,
     Id::kTxFrequency},
    {Id::kTxFrequency, EControlKind::Choice, ColumnRect(kTxLeft, 184, 24), 0, 0},
    {Id::kTxBandwidthLabel, EControlKind::Label, ColumnRect(kTxLeft, 216, 18), 234,
     Id::kTxBandwidth},
    {Id::kTxBandwidth, EControlKind::Choice, ColumnRect(kTxLeft, 234, 24), 0, 0},
    {Id::kTxNote, EControlKind::Label, ColumnRect(kTxLeft, 266, 32), 515, 0},
    {Id::kRepeaterPowerLabel, EControlKind::Label, ColumnRect(kTxLeft, 302, 18), 241,
     Id::kRepeaterPower},
    {Id::kRepeaterPower, EControlKind::Choice, ColumnRect(kTxLeft, 320, 24), 0, 0},
    {Id::kTxCodeLabel, EControlKind::Label, ColumnRect(kTxLeft, 352, 18), 235, Id::kTxCode},
    {Id::kTxCode, EControlKind::Choice, ColumnRect(kTxLeft, 370, 24), 0, 0},
    // Full-width rows below the columns
    {Id::kScrambleLabel, EControlKind::Label, QRect(35, 424, 200, 22), 237, Id::kScramble},
    {Id::kScramble, EControlKind::Choice, QRect(245, 424, 170, 24), 0, 0},
    {Id::kRepeaterLabel, EControlKind::Label, QRect(35, 460, 200, 22), 238, Id::kRepeater},
    {Id::kRepeater, EControlKind::Check, QRect(245, 460, 24, 22), 0, 0},
    {Id::kTalkaroundNote, EControlKind::Label, QRect(kTxLeft, 456, kColumnWidth, 32), 400, 0},
    {Id::kTalkaroundScanLabel, EControlKind::Label, QRect(35, 496, 200, 22), 529,
     Id::kTalkaroundScan},
    {Id::kTalkaroundScan, EControlKind::Check, QRect(245, 496, 24, 22), 0, 0},
    {Id::kAutoScanLabel, EControlKind::Label, QRect(35, 528, 200, 22), 239, Id::kAutoScan},
    {Id::kAutoScan, EControlKind::Check, QRect(245, 528, 24, 22), 0, 0},
};

constexpr SLayoutEntry Plain(int id, ELayoutColumn column = ELayoutColumn::Full) {
    return {id, ELayoutStyle::Plain, column, 0};
}

constexpr SLayoutEntry kLayout[] = {
    {Id::kTitle, ELayoutStyle::Title, ELayoutColumn::Full, 0},
    Plain(Id::kNameLabel),
    Plain(Id::kName),
    Plain(Id::kDisableLabel),
    Plain(Id::kDisable),
    {Id::kRxHeader, ELayoutStyle::Section, ELayoutColumn::Left, 0},
    {Id::kRxFrame, ELayoutStyle::Frame, ELayoutColumn::Left, 0},
    Plain(Id::kRxFrequencyLabel, ELayoutColumn::Left),
    Plain(Id::kRxFrequency, ELayoutColumn::Left),
    Plain(Id::kRxBandwidthLabel, ELayoutColumn::Left),
    Plain(Id::kRxBandwidth, ELayoutColumn::Left),
    Plain(Id::kRxNote, ELayoutColumn::Left),
    Plain(Id::kTalkaroundPowerLabel, ELayoutColumn::Left),
    Plain(Id::kTalkaroundPower, ELayoutColumn::Left),
    Plain(Id::kRxCodeLabel, ELayoutColumn::Left),
    Plain(Id::kRxCode, ELayoutColumn::Left),
    {Id::kTxHeader, ELayoutStyle::Section, ELayoutColumn::Right, 0},
    {Id::kTxFrame, ELayoutStyle::Frame, ELayoutColumn::Right, 0},
    Plain(Id::kTxFrequencyLabel, ELayoutColumn::Right),
    Plain(Id::kTxFrequency, ELayoutColumn::Right),
    Plain(Id::kTxBandwidthLabel, ELayoutColumn::Right),
    Plain(Id::kTxBandwidth, ELayoutColumn::Right),
    Plain(Id::kTxNote, ELayoutColumn::Right),
    Plain(Id::kRepeaterPowerLabel, ELayoutColumn::Right),
    Plain(Id::kRepeaterPower, ELayoutColumn::Right),
    Plain(Id::kTxCodeLabel, ELayoutColumn::Right),
    Plain(Id::kTxCode, ELayoutColumn::Right),
    Plain(Id::kScrambleLabel),
    Plain(Id::kScramble),
    Plain(Id::kRepeaterLabel, ELayoutColumn::Left),
    Plain(Id::kRepeater, ELayoutColumn::Left),
    Plain(Id::kTalkaroundNote, ELayoutColumn::Right),
    Plain(Id::kTalkaroundScanLabel),
    Plain(Id::kTalkaroundScan),
    Plain(Id::kAutoScanLabel),
    Plain(Id::kAutoScan),
    {0, ELayoutStyle::Plain, ELayoutColumn::Full, 0},
};

QString T(int id) {
    return CStringTable::Instance().Text(id);
}

QList<QVariant> Numbers(int count) {
    QList<QVariant> values;
    for (int i = 0; i < count; ++i) {
        values << i;
    }
    return values;
}

}  // namespace

CChannelView::CChannelView(const SPageContext& context, QWidget* parent)
    : CBaseView(context, PageKind::Channel, kControls, kLayout, parent),
      m_channel(context.channelIndex) {
    for (int id : {int(Id::kRxNote), int(Id::kTxNote), int(Id::kTalkaroundNote)}) {
        ControlAs<QLabel>(id)->setWordWrap(true);
    }
    // A screen reader hears which column a field belongs to: both columns have the same captions.
    for (const auto& [column, header] : {std::pair{kRx, kTextReceive}, {kTx, kTextTransmit}}) {
        for (const auto& [label, field] : {std::pair{column.freqLabel, column.freq},
                                           {column.bwLabel, column.bw},
                                           {column.powerLabel, column.power},
                                           {column.codeLabel, column.code}}) {
            Control(field)->setAccessibleName(
                T(header) + u' ' + QString(ControlAs<QLabel>(label)->text()).remove(u'&'));
        }
    }
    ControlAs<QLineEdit>(Id::kName)->setMaxLength(kNameLength);
    ControlAs<QLineEdit>(Id::kName)->installEventFilter(this);

    auto* rxList = static_cast<CChoiceBox*>(List(Id::kRxFrequency));
    auto* txList = static_cast<CChoiceBox*>(List(Id::kTxFrequency));
    connect(rxList, &QComboBox::currentIndexChanged, this, &CChannelView::OnRxFrequencyChosen);
    connect(txList, &QComboBox::currentIndexChanged, this, &CChannelView::OnTxFrequencyChosen);
    connect(rxList, &CChoiceBox::PopupAboutToShow, this,
            [this] { OnFrequencyListOpening(ESide::Receive); });
    connect(txList, &CChoiceBox::PopupAboutToShow, this,
            [this] { OnFrequencyListOpening(ESide::Transmit); });
    // Toggled rather than clicked: a screen reader works a box through its toggle action, which
    // clicks nothing. The page's own changes of the boxes block their signals.
    connect(ControlAs<QCheckBox>(Id::kRepeater), &QCheckBox::toggled, this,
            &CChannelView::OnRepeaterClicked);
    connect(ControlAs<QCheckBox>(Id::kDisable), &QCheckBox::toggled, this,
            &CChannelView::OnDisableClicked);
    connect(&Bindings(), &CPageBindings::Accepted, this, &CChannelView::AfterAcceptedBinding);
}

CDataItem CChannelView::Channel() const {
    return RootItem().GetChildByName(QStringLiteral("channels")).GetChildByIndex(m_channel);
}

CDataItem CChannelView::Limit() const {
    return RootItem().GetChildByName(QStringLiteral("limit"));
}

CDataItem CChannelView::Setting() const {
    return RootItem().GetChildByName(QStringLiteral("setting"));
}

QVariant CChannelView::GetAttribute(const QString& name) const {
    try {
        const CDataItem channel = Channel();
        if (channel.IsEmpty()) {
            constexpr int kMsgNoSuchElement = 132;
            throw CVeskCPSException(kMsgNoSuchElement, QStringLiteral("CChannelView::GetAttribute"),
                                    QStringLiteral("channel %1").arg(m_channel));
        }
        return channel.GetAttributeValue(name);
    } catch (CVeskCPSException& error) {
        error.PassOn(QStringLiteral("CChannelView::GetAttribute"));
        throw;
    }
}

bool CChannelView::ChannelFlag(const char* name) const {
    return GetAttribute(QString::fromLatin1(name)).toBool();
}

int CChannelView::ChannelInt(const char* name) const {
    return GetAttribute(QString::fromLatin1(name)).toInt();
}

int CChannelView::LimitInt(const char* name) const {
    // A limit the page cannot read counts as 0, after the user heard why.
    try {
        return Limit().GetAttributeValue(QString::fromLatin1(name)).toInt();
    } catch (const CVeskCPSException& error) {
        ShowModelException(Context().prompt, error);
        return 0;
    }
}

int CChannelView::EntryCode(int frequencyIndex, const char* name) const {
    const CDataItem entry =
        RootItem().GetChildByName(QStringLiteral("frequencies")).GetChildByIndex(frequencyIndex);
    if (entry.IsEmpty() || !entry.HasAttribute(QString::fromLatin1(name))) {
        return -1;
    }
    return entry.GetAttributeValue(QString::fromLatin1(name)).toInt();
}

bool CChannelView::WriteAttribute(const QString& name, const QVariant& value) {
    try {
        CDataItem channel = Channel();
        const QVariant current = channel.GetAttributeValue(name);
        if (current == value || current.toString() == value.toString()) {
            return true;
        }
        const CEditResult result = SettleEdit(Context().prompt, [&](EConfirmation confirmation) {
            return channel.SetAttributeValue(name, value, confirmation);
        });
        if (!result.IsAccepted()) {
            return false;
        }
    } catch (const CVeskCPSException& error) {
        ShowModelException(Context().prompt, error);
        return false;
    }
    Context().document.SetModified(true);
    if (Context().profileChanged) {
        Context().profileChanged();
    }
    return true;
}

QComboBox* CChannelView::List(int id) const {
    return ControlAs<QComboBox>(id);
}

int CChannelView::PositionOf(const QComboBox* list, int frequencyIndex) {
    for (int i = 0; i < list->count(); ++i) {
        if (!list->itemData(i, kOutOfRangeRole).toBool() &&
            list->itemData(i).toInt() == frequencyIndex) {
            return i;
        }
    }
    return -1;
}

bool CChannelView::IsOutOfRangeItem(const QComboBox* list, int position) {
    return position >= 0 && list->itemData(position, kOutOfRangeRole).toBool();
}

void CChannelView::RemoveOutOfRange(QComboBox* list) {
    const QSignalBlocker blocker(list);
    for (int i = list->count() - 1; i >= 0; --i) {
        if (IsOutOfRangeItem(list, i)) {
            list->removeItem(i);
        }
    }
}

int CChannelView::ValueAt(const QComboBox* list, int position) {
    return position >= 0 ? list->itemData(position).toInt() : -1;
}

bool CChannelView::FollowEntryCode(QComboBox* list, int code, bool newlyChosen) {
    if (code < 0 || code > 3) {
        return false;
    }
    const QSignalBlocker blocker(list);
    const int before = list->currentIndex();
    const bool forced = code <= 1;
    if (forced) {
        list->setCurrentIndex(code);
    } else if (newlyChosen) {
        list->setCurrentIndex(code == 3 ? 1 : 0);
    }
    list->setEnabled(!forced);
    return list->currentIndex() != before;
}

void CChannelView::AddComboListFreq(QComboBox* list, quint32 start, quint32 end) {
    try {
        const QSignalBlocker blocker(list);
        list->clear();
        const CDataItem table = RootItem().GetChildByName(QStringLiteral("frequencies"));
        const int count = table.GetChildCount();
        for (int i = 0; i < count; ++i) {
            const quint32 hertz =
                table.GetChildByIndex(i).GetAttributeValue(QStringLiteral("freq")).toUInt();
            if (hertz < start || hertz > end) {
                continue;
            }
            list->addItem(QString::asprintf("%d - %.6f", i + 1, hertz * 0.000001)
                              .replace(u'.', Context().decimalSeparator),
                          i);
        }
    } catch (CVeskCPSException& error) {
        error.PassOn(QStringLiteral("CChannelView::AddComboListFreq"));
        throw;
    }
}

void CChannelView::AddComboListVRCCode(QComboBox* list) {
    try {
        const QSignalBlocker blocker(list);
        list->clear();
        list->addItems(
            squelch::CodeListTexts(LimitInt("maxCodes"), Setting(), Context().decimalSeparator));
    } catch (CVeskCPSException& error) {
        error.PassOn(QStringLiteral("CChannelView::AddComboListVRCCode"));
        throw;
    }
}

void CChannelView::ShowName() {
    const QString name = GetAttribute(QStringLiteral("name")).toString();
    auto* edit = ControlAs<QLineEdit>(Id::kName);
    edit->setText(name);
    edit->setModified(false);
    ControlAs<QLabel>(Id::kTitle)->setText(QStringLiteral("%1 (%2)").arg(name).arg(m_channel + 1));
}

void CChannelView::LoadRes() {
    try {
        ShowName();
        m_start = static_cast<quint32>(LimitInt("start_freq"));
        m_end = static_cast<quint32>(LimitInt("end_freq"));
        AddComboListFreq(List(Id::kRxFrequency), m_start, m_end);
        AddComboListFreq(List(Id::kTxFrequency), m_start, m_end);
        const QString narrow = T(kTextNarrow).replace(u'.', Context().decimalSeparator);
        for (int id : {int(Id::kRxBandwidth), int(Id::kTxBandwidth)}) {
            List(id)->addItems({narrow, T(kTextWide)});
        }
        for (int id : {int(Id::kTalkaroundPower), int(Id::kRepeaterPower)}) {
            List(id)->addItems({T(kTextLow), T(kTextHigh)});
        }
        AddComboListVRCCode(List(Id::kRxCode));
        AddComboListVRCCode(List(Id::kTxCode));
        QStringList scramble{T(kTextScrambleOff)};
        for (int i = 0; i < 3; ++i) {
            scramble << T(kTextScramble1 + i);
        }
        List(Id::kScramble)->addItems(scramble);
    } catch (CVeskCPSException& error) {
        error.PassOn(QStringLiteral("CChannelView::LoadRes"));
        throw;
    }
}

void CChannelView::LoadData() {
    const CDataItem channel = Channel();
    const int codes = List(Id::kRxCode)->count();
    auto row = [&](int id, const char* attribute, SConversion conversion) {
        Bindings().Add({id, channel, QString::fromLatin1(attribute), std::move(conversion),
                        ECommitMoment::OnChange, 0});
    };
    Bindings().Clear();
    const QList<QVariant> flags{false, true};
    row(Id::kRxBandwidth, "rx_bw", binding::Choice(flags));
    row(Id::kTalkaroundPower, "talkaround_power", binding::Choice(flags));
    row(Id::kRxCode, "rx_code", binding::Choice(Numbers(codes)));
    row(Id::kTxBandwidth, "tx_bw", binding::Choice(flags));
    row(Id::kRepeaterPower, "repeater_power", binding::Choice(flags));
    row(Id::kTxCode, "tx_code", binding::Choice(Numbers(codes)));
    row(Id::kScramble, "scramble_code", binding::Choice(Numbers(4)));
    row(Id::kTalkaroundScan, "talkaround_scan", binding::Check());
    row(Id::kAutoScan, "autoScan", binding::Check());
    SetDefaultValue();
    SetEnableDisable(true);
}

void CChannelView::SetRXandTXData() {
    try {
        m_loading = true;
        const struct SDone {
            bool& flag;
            ~SDone() { flag = false; }
        } done{m_loading};
        for (const auto& [id, attribute] : {std::pair{int(Id::kRxFrequency), "rx_freq_ndx"},
                                            {int(Id::kTxFrequency), "tx_freq_ndx"}}) {
            QComboBox* list = List(id);
            const QSignalBlocker blocker(list);
            RemoveOutOfRange(list);
            const int stored = ChannelInt(attribute);
            int position = PositionOf(list, stored);
            if (position < 0) {
                // The stored frequency is outside the model's range or no longer in the table:
                // said so rather than shown as another frequency.
                list->addItem(T(kTextOutOfRange), stored);
                position = list->count() - 1;
                list->setItemData(position, true, kOutOfRangeRole);
            }
            list->setCurrentIndex(position);
        }
        for (const auto& [id, attribute] : {std::pair{int(Id::kRxBandwidth), "rx_bw"},
                                            {int(Id::kTalkaroundPower), "talkaround_power"},
                                            {int(Id::kTxBandwidth), "tx_bw"},
                                            {int(Id::kRepeaterPower), "repeater_power"}}) {
            const QSignalBlocker blocker(List(id));
            List(id)->setCurrentIndex(ChannelFlag(attribute) ? 1 : 0);
        }
        for (const auto& [id, attribute] :
             {std::pair{int(Id::kRxCode), "rx_code"}, {int(Id::kTxCode), "tx_code"}}) {
            const QSignalBlocker blocker(List(id));
            List(id)->setCurrentIndex(ChannelInt(attribute));
        }
    } catch (CVeskCPSException& error) {
        error.PassOn(QStringLiteral("CChannelView::SetRXandTXData"));
        throw;
    }
}

void CChannelView::SetDefaultValue() {
    try {
        SetRXandTXData();
        {
            const QSignalBlocker blocker(List(Id::kScramble));
            List(Id::kScramble)->setCurrentIndex(ChannelInt("scramble_code"));
        }
        const bool repeater = ChannelFlag("repeater");
        {
            const QSignalBlocker blocker(Control(Id::kRepeater));
            ControlAs<QCheckBox>(Id::kRepeater)->setChecked(repeater);
        }
        EnableTransmitSide(repeater);
        Control(Id::kTalkaroundNote)->setVisible(!repeater && !Control(Id::kRepeater)->isHidden());
        for (const auto& [id, attribute] : {std::pair{int(Id::kAutoScan), "autoScan"},
                                            {int(Id::kTalkaroundScan), "talkaround_scan"},
                                            {int(Id::kDisable), "disable_channel"}}) {
            const QSignalBlocker blocker(Control(id));
            ControlAs<QCheckBox>(id)->setChecked(ChannelFlag(attribute));
        }
    } catch (CVeskCPSException& error) {
        error.PassOn(QStringLiteral("CChannelView::SetDefaultValue"));
        throw;
    }
}

void CChannelView::EnableTransmitSide(bool repeaterOn) {
    for (int id :
         {int(Id::kTxFrequency), int(Id::kTxCode), int(Id::kTxFrequencyLabel),
          int(Id::kTxBandwidthLabel), int(Id::kRepeaterPowerLabel), int(Id::kTxCodeLabel)}) {
        Control(id)->setEnabled(repeaterOn);
    }
    const int tx = ValueAt(List(Id::kTxFrequency), List(Id::kTxFrequency)->currentIndex());
    const int bandwidth = EntryCode(tx, "bandwidth");
    const int power = EntryCode(tx, "power_level");
    List(Id::kTxBandwidth)->setEnabled(repeaterOn && (bandwidth == 2 || bandwidth == 3));
    List(Id::kRepeaterPower)->setEnabled(repeaterOn && (power == 2 || power == 3));
}

void CChannelView::UpdateRepeaterEnabling() {
    auto* box = ControlAs<QCheckBox>(Id::kRepeater);
    if (box->isChecked()) {
        return;
    }
    const bool same = ChannelInt("rx_freq_ndx") == ChannelInt("tx_freq_ndx");
    box->setEnabled(!(same && List(Id::kTxFrequency)->count() == 1));
}

void CChannelView::SetEnableDisable(bool applyDisabled) {
    try {
        auto hide = [this](std::initializer_list<int> ids) {
            for (int id : ids) {
                Control(id)->hide();
            }
        };
        if (LimitInt("power_cntrl_enabled") == 0) {
            hide({Id::kTalkaroundPowerLabel, Id::kTalkaroundPower, Id::kRepeaterPowerLabel,
                  Id::kRepeaterPower});
        }
        UpdateRepeaterEnabling();
        for (const SColumn& column : {kRx, kTx}) {
            const int index = ValueAt(List(column.freq), List(column.freq)->currentIndex());
            const int bandwidth = EntryCode(index, "bandwidth");
            if (bandwidth == 0 || bandwidth == 1) {
                List(column.bw)->setEnabled(false);
            }
            const int power = EntryCode(index, "power_level");
            if (!Control(column.power)->isHidden() && (power == 0 || power == 1)) {
                List(column.power)->setEnabled(false);
            }
        }
        if (LimitInt("disable_scramble_feature") != 0) {
            hide({Id::kScrambleLabel, Id::kScramble});
        }
        if (LimitInt("disable_repeater_feature") != 0) {
            hide({Id::kRepeaterLabel, Id::kRepeater, Id::kTalkaroundNote, Id::kTalkaroundScanLabel,
                  Id::kTalkaroundScan});
        }
        if (LimitInt("disable_scan_mode") != 0) {
            hide({Id::kAutoScanLabel, Id::kAutoScan});
        }
        if (LimitInt("talkaround_scan_enable") == 0) {
            hide({Id::kTalkaroundScanLabel, Id::kTalkaroundScan});
        }
        const bool repeater = ChannelFlag("repeater");
        Control(Id::kTalkaroundScanLabel)->setEnabled(repeater);
        Control(Id::kTalkaroundScan)->setEnabled(repeater);

        if (LimitInt("disable_channel_enable") != 0) {
            const bool disabled = ChannelFlag("disable_channel");
            if (disabled && applyDisabled) {
                for (const SLayoutEntry& entry : kLayout) {
                    if (entry.id != 0 && entry.id != Id::kTitle && entry.id != Id::kDisable &&
                        entry.id != Id::kDisableLabel) {
                        Control(entry.id)->setEnabled(false);
                    }
                }
            }
            // The last channel that still works cannot be switched off.
            const bool onlyEnabled =
                !disabled && profile_checks::GetEnabledChannelCount(RootItem()) <= 1;
            Control(Id::kDisable)->setEnabled(!onlyEnabled);
        } else {
            hide({Id::kDisableLabel, Id::kDisable});
        }
    } catch (CVeskCPSException& error) {
        error.PassOn(QStringLiteral("CChannelView::SetEnableDisable"));
        throw;
    }
}

void CChannelView::OnInitialUpdate() {
    ApplyVisibleSetting(QString::fromLatin1(PageKindNames(Kind()).visibilityName));
    if (Control(Id::kRxNote) != nullptr) {
        QPalette palette = Control(Id::kRxNote)->palette();
        palette.setColor(QPalette::WindowText, Qt::red);
        Control(Id::kRxNote)->setPalette(palette);
    }
    if (Control(Id::kRepeaterPower)->isHidden()) {
        // Without power rows the transmit rows stand level with the receive rows.
        const auto level = [this](int tx, int rx) {
            QRect rect = LayoutRect(tx);
            rect.moveTop(LayoutRect(rx).top());
            SetLayoutRect(tx, rect);
        };
        level(Id::kTxBandwidthLabel, Id::kRxBandwidthLabel);
        level(Id::kTxBandwidth, Id::kRxBandwidth);
        level(Id::kTxCodeLabel, Id::kRxCodeLabel);
        level(Id::kTxCode, Id::kRxCode);
    }
    if (Control(Id::kRepeater)->isHidden()) {
        ArrangeSingleColumn();
    }
    Relayout();
}

void CChannelView::ArrangeSingleColumn() {
    ControlAs<QLabel>(Id::kRxHeader)->setText(T(kTextReceive) + u'/' + T(kTextTransmit));
    ControlAs<QLabel>(Id::kTalkaroundPowerLabel)->setText(T(kTextTransmitPower));
    Control(Id::kTalkaroundPower)->setAccessibleName(T(kTextTransmitPower));
    for (int id : {kTx.header, kTx.frame, kTx.freqLabel, kTx.freq, kTx.bwLabel, kTx.bw, kTx.note,
                   kTx.powerLabel, kTx.power, kTx.codeLabel, kTx.code}) {
        Control(id)->hide();
    }
    // One column under the title: the full-width rows centred on the scramble row, the receive
    // column on its header.
    const int titleCentre = LayoutRect(Id::kTitle).center().x();
    const QRect scrambleRow = LayoutRect(Id::kScrambleLabel).united(LayoutRect(Id::kScramble));
    const int rowShift = titleCentre - scrambleRow.center().x();
    const int columnShift = titleCentre - LayoutRect(Id::kRxHeader).center().x();
    for (const SLayoutEntry& entry : kLayout) {
        if (entry.id == 0 || entry.id == Id::kTitle) {
            continue;
        }
        const int shift = entry.column == ELayoutColumn::Full ? rowShift
                          : entry.column == ELayoutColumn::Left && entry.id != Id::kRepeaterLabel &&
                                  entry.id != Id::kRepeater
                              ? columnShift
                              : 0;
        SetLayoutRect(entry.id, LayoutRect(entry.id).translated(shift, 0));
    }
    const QSignalBlocker blocker(Control(Id::kRepeater));
    ControlAs<QCheckBox>(Id::kRepeater)->setChecked(false);
    WriteAttribute(QStringLiteral("repeater"), false);
}

bool CChannelView::ApplyReceiveRules(int index) {
    bool ok = true;
    if (FollowEntryCode(List(Id::kRxBandwidth), EntryCode(index, "bandwidth"), true)) {
        ok = WriteAttribute(QStringLiteral("rx_bw"), List(Id::kRxBandwidth)->currentIndex() == 1);
    }
    if (!Control(Id::kTalkaroundPower)->isHidden() &&
        FollowEntryCode(List(Id::kTalkaroundPower), EntryCode(index, "power_level"), true)) {
        ok = WriteAttribute(QStringLiteral("talkaround_power"),
                            List(Id::kTalkaroundPower)->currentIndex() == 1) &&
             ok;
    }
    ok = WriteAttribute(QStringLiteral("rx_freq_ndx"), index) && ok;
    return ok;
}

bool CChannelView::ApplyTransmitRules(int index) {
    bool ok = true;
    if (FollowEntryCode(List(Id::kTxBandwidth), EntryCode(index, "bandwidth"), true)) {
        ok = WriteAttribute(QStringLiteral("tx_bw"), List(Id::kTxBandwidth)->currentIndex() == 1);
    }
    if (!Control(Id::kRepeaterPower)->isHidden() &&
        FollowEntryCode(List(Id::kRepeaterPower), EntryCode(index, "power_level"), true)) {
        ok = WriteAttribute(QStringLiteral("repeater_power"),
                            List(Id::kRepeaterPower)->currentIndex() == 1) &&
             ok;
    }
    ok = WriteAttribute(QStringLiteral("tx_freq_ndx"), index) && ok;
    if (!ControlAs<QCheckBox>(Id::kRepeater)->isChecked()) {
        // Talkaround: the transmit lists stay greyed whatever the entry allows.
        EnableTransmitSide(false);
    }
    return ok;
}

void CChannelView::CheckRepeaterSwitchOff(int index) {
    QComboBox* tx = List(Id::kTxFrequency);
    if (tx->count() < 2 && index == ChannelInt("tx_freq_ndx") &&
        index == ChannelInt("rx_freq_ndx") && ChannelFlag("repeater") &&
        PositionOf(List(Id::kRxFrequency), index) >= 0 && PositionOf(tx, index) >= 0) {
        {
            const QSignalBlocker blocker(Control(Id::kRepeater));
            ControlAs<QCheckBox>(Id::kRepeater)->setChecked(false);
        }
        OnRepeaterClicked(false);
    }
    UpdateRepeaterEnabling();
}

void CChannelView::SelectNextTransmit() {
    QComboBox* tx = List(Id::kTxFrequency);
    int next = tx->currentIndex() + 1;
    if (next >= tx->count() || IsOutOfRangeItem(tx, next)) {
        next = 0;
    }
    {
        const QSignalBlocker blocker(tx);
        tx->setCurrentIndex(next);
    }
    ApplyTransmitRules(ValueAt(tx, next));
    RemoveOutOfRange(tx);
}

void CChannelView::OnRxFrequencyChosen(int position) {
    if (m_loading) {
        return;
    }
    try {
        QComboBox* rx = List(Id::kRxFrequency);
        const int index = ValueAt(rx, position);
        if (IsOutOfRangeItem(rx, position) || index == ChannelInt("rx_freq_ndx")) {
            return;
        }
        RemoveOutOfRange(rx);
        QComboBox* tx = List(Id::kTxFrequency);
        if (tx->isHidden()) {
            // One column: transmit follows receive.
            const QSignalBlocker blocker(tx);
            tx->setCurrentIndex(PositionOf(tx, index));
            ApplyTransmitRules(index);
            RemoveOutOfRange(tx);
        }
        if (!ApplyReceiveRules(index)) {
            SetRXandTXData();
            return;
        }
        if (tx->count() < 2) {
            CheckRepeaterSwitchOff(index);
        } else if (!Control(Id::kRepeater)->isHidden() &&
                   ControlAs<QCheckBox>(Id::kRepeater)->isChecked() &&
                   index == ChannelInt("tx_freq_ndx")) {
            Context().prompt.Show(kMsgSameFrequency, PromptStyle::Warning);
            SelectNextTransmit();
        }
    } catch (const CVeskCPSException& error) {
        ReportFailure(error);
    }
}

void CChannelView::OnTxFrequencyChosen(int position) {
    if (m_loading) {
        return;
    }
    try {
        QComboBox* tx = List(Id::kTxFrequency);
        const int index = ValueAt(tx, position);
        if (IsOutOfRangeItem(tx, position) || index == ChannelInt("tx_freq_ndx")) {
            return;
        }
        RemoveOutOfRange(tx);
        if (tx->count() < 2) {
            if (!ApplyTransmitRules(index)) {
                SetRXandTXData();
                return;
            }
            CheckRepeaterSwitchOff(index);
            return;
        }
        if (ControlAs<QCheckBox>(Id::kRepeater)->isChecked() &&
            index == ChannelInt("rx_freq_ndx")) {
            Context().prompt.Show(kMsgSameFrequency, PromptStyle::Warning);
            SelectNextTransmit();
            return;
        }
        if (!ApplyTransmitRules(index)) {
            SetRXandTXData();
        }
    } catch (const CVeskCPSException& error) {
        ReportFailure(error);
    }
}

void CChannelView::OnFrequencyListOpening(ESide side) {
    QComboBox* list = List(side == ESide::Receive ? Id::kRxFrequency : Id::kTxFrequency);
    QComboBox* other = List(side == ESide::Receive ? Id::kTxFrequency : Id::kRxFrequency);
    if (!IsOutOfRangeItem(list, list->currentIndex())) {
        return;
    }
    try {
        // The first listed frequency, or the second when the first is what the other side uses.
        const int otherValue = ValueAt(other, other->currentIndex());
        int position = 0;
        if (list->count() > 1 && ValueAt(list, 0) == otherValue && !IsOutOfRangeItem(list, 0) &&
            !IsOutOfRangeItem(list, 1)) {
            position = 1;
        }
        {
            const QSignalBlocker blocker(list);
            list->setCurrentIndex(position);
        }
        if (IsOutOfRangeItem(list, position)) {
            return;
        }
        const int index = ValueAt(list, position);
        RemoveOutOfRange(list);
        const bool ok =
            side == ESide::Receive ? ApplyReceiveRules(index) : ApplyTransmitRules(index);
        if (!ok) {
            SetRXandTXData();
            return;
        }
        CheckRepeaterSwitchOff(index);
    } catch (const CVeskCPSException& error) {
        ReportFailure(error);
    }
}

void CChannelView::OnRepeaterClicked(bool on) {
    try {
        auto* box = ControlAs<QCheckBox>(Id::kRepeater);
        if (!WriteAttribute(QStringLiteral("repeater"), on)) {
            const QSignalBlocker blocker(box);
            box->setChecked(ChannelFlag("repeater"));
            return;
        }
        Control(Id::kTalkaroundNote)->setVisible(!on && !box->isHidden());
        if (on && ChannelInt("rx_freq_ndx") == ChannelInt("tx_freq_ndx")) {
            SelectNextTransmit();
        }
        Control(Id::kTalkaroundScanLabel)->setEnabled(on);
        Control(Id::kTalkaroundScan)->setEnabled(on);
        EnableTransmitSide(on);
        UpdateRepeaterEnabling();
    } catch (const CVeskCPSException& error) {
        ReportFailure(error);
    }
}

int CChannelView::PresetCheck(int channelIndex) const {
    const CDataItem root = RootItem();
    if (profile_checks::IsRepeaterModel(root)) {
        return 0;
    }
    const CDataItem setting = Setting();
    int found = -1;
    for (int k = 0; k < setting.GetChildCount() && found < 0; ++k) {
        const CDataItem preset = setting.GetChildByIndex(k);
        if (preset.HasAttribute(QStringLiteral("channel")) &&
            preset.GetAttributeValue(QStringLiteral("channel")).toInt() == channelIndex) {
            found = k;
        }
    }
    if (found < 0) {
        return 0;
    }
    if (!profile_checks::IsDisplayModel(root)) {
        return 1;
    }
    auto presetOn = [&](int k) {
        const CDataItem preset = setting.GetChildByIndex(k);
        return !preset.IsEmpty() && preset.HasAttribute(QStringLiteral("channel")) &&
               preset.GetAttributeValue(QStringLiteral("channel")).toInt() == channelIndex;
    };
    constexpr int kFeaturePreset1 = 9;
    constexpr int kFeaturePreset2 = 10;
    for (const char* button : {"upper_right_but", "lower_left_but", "lower_right_but"}) {
        const QString name = QString::fromLatin1(button);
        if (!setting.HasAttribute(name)) {
            continue;
        }
        const int feature = setting.GetAttributeValue(name).toInt();
        if ((feature == kFeaturePreset1 && presetOn(0)) ||
            (feature == kFeaturePreset2 && presetOn(1))) {
            return 2;
        }
    }
    return 1;
}

void CChannelView::MovePresetsAway(int presetState) {
    if (presetState == 0) {
        return;
    }
    // The enabled channels in order, counted after this one was switched off.
    const CDataItem root = RootItem();
    const CDataItem channels = root.GetChildByName(QStringLiteral("channels"));
    const int number =
        std::min(channels.GetChildCount(),
                 Setting().GetAttributeValue(QStringLiteral("numberChannels")).toInt());
    QList<int> enabled;
    for (int i = 0; i < number; ++i) {
        if (!channels.GetChildByIndex(i)
                 .GetAttributeValue(QStringLiteral("disable_channel"))
                 .toBool()) {
            enabled << i;
        }
    }
    if (enabled.isEmpty()) {
        return;
    }
    CDataItem setting = Setting();
    for (int k = 0; k < setting.GetChildCount(); ++k) {
        CDataItem preset = setting.GetChildByIndex(k);
        if (!preset.HasAttribute(QStringLiteral("channel")) ||
            preset.GetAttributeValue(QStringLiteral("channel")).toInt() != m_channel) {
            continue;
        }
        const int target = enabled.value(k, enabled.last());
        const CEditResult result = SettleEdit(Context().prompt, [&](EConfirmation confirmation) {
            return preset.SetAttributeValue(QStringLiteral("channel"), target, confirmation);
        });
        if (result.IsAccepted()) {
            Context().document.SetModified(true);
        }
    }
}

void CChannelView::OnDisableClicked(bool disabled) {
    auto* box = ControlAs<QCheckBox>(Id::kDisable);
    try {
        int presetState = 0;
        if (disabled) {
            presetState = PresetCheck(m_channel);
            if (presetState == 2 &&
                Context().prompt.Show(kMsgPresetChannel, PromptStyle::YesNo) != PromptAnswer::Yes) {
                const QSignalBlocker blocker(box);
                box->setChecked(ChannelFlag("disable_channel"));
                return;
            }
        }
        const bool written = WriteAttribute(QStringLiteral("disable_channel"), disabled);
        if (written && disabled) {
            MovePresetsAway(presetState);
        }
        const bool now = ChannelFlag("disable_channel");
        {
            const QSignalBlocker blocker(box);
            box->setChecked(now);
        }
        for (const SLayoutEntry& entry : kLayout) {
            if (entry.id != 0 && entry.id != Id::kTitle && entry.id != Id::kDisable &&
                entry.id != Id::kDisableLabel) {
                Control(entry.id)->setEnabled(!now);
            }
        }
        if (!now) {
            SetDefaultValue();
            SetEnableDisable(false);
        }
        NotifyViews(view_hint::Make(view_hint::kStateChanged, tree_data::kChannel,
                                    static_cast<quint16>(m_channel)));
    } catch (const CVeskCPSException& error) {
        ReportFailure(error);
    }
}

void CChannelView::AfterAcceptedBinding(int controlId) {
    // One column: what the receive side chose holds for transmitting too.
    const struct {
        int rx;
        int tx;
        const char* attribute;
    } kCopies[] = {{Id::kRxBandwidth, Id::kTxBandwidth, "tx_bw"},
                   {Id::kTalkaroundPower, Id::kRepeaterPower, "repeater_power"},
                   {Id::kRxCode, Id::kTxCode, "tx_code"}};
    for (const auto& copy : kCopies) {
        if (controlId != copy.rx || !Control(copy.tx)->isHidden()) {
            continue;
        }
        const int position = List(copy.rx)->currentIndex();
        {
            const QSignalBlocker blocker(List(copy.tx));
            List(copy.tx)->setCurrentIndex(position);
        }
        const QVariant value =
            copy.tx == Id::kTxCode ? QVariant(position) : QVariant(position == 1);
        WriteAttribute(QString::fromLatin1(copy.attribute), value);
    }
}

bool CChannelView::CommitName(bool forced) {
    Q_UNUSED(forced);
    auto* edit = ControlAs<QLineEdit>(Id::kName);
    try {
        const QString stored = GetAttribute(QStringLiteral("name")).toString();
        if (edit->text() == stored) {
            edit->setModified(false);
            return true;
        }
        const QString trimmed = edit->text().trimmed();
        edit->setText(trimmed);
        if (!trimmed.isEmpty()) {
            if (trimmed == stored) {
                edit->setModified(false);
                return true;
            }
            CDataItem channel = Channel();
            const CEditResult result =
                SettleEdit(Context().prompt, [&](EConfirmation confirmation) {
                    return channel.SetAttributeValue(QStringLiteral("name"), trimmed, confirmation);
                });
            if (result.IsAccepted()) {
                Context().document.SetModified(true);
                if (Context().profileChanged) {
                    Context().profileChanged();
                }
                ShowName();
                NotifyViews(view_hint::Make(view_hint::kNameChanged, tree_data::kChannel,
                                            static_cast<quint16>(m_channel)));
                return true;
            }
        }
        edit->setText(stored);
        edit->setModified(false);
    } catch (const CVeskCPSException& error) {
        ShowModelException(Context().prompt, error);
    }
    // Back to the field, once the message and the focus change that ended the edit are over.
    QMetaObject::invokeMethod(
        this, [this] { FocusNameEdit(); }, Qt::QueuedConnection);
    return false;
}

bool CChannelView::CanLeavePage() {
    return CommitName(true);
}

int CChannelView::FocusNameEdit() {
    auto* edit = ControlAs<QLineEdit>(Id::kName);
    activateWindow();
    edit->setFocus(Qt::OtherFocusReason);
    edit->selectAll();
    ensureWidgetVisible(edit);
    return 0;
}

void CChannelView::OnUpdate(quint32 hint) {
    try {
        if (Context().navigator != nullptr && Context().navigator->CurrentPage() == this) {
            m_channel = Context().navigator->CurrentChannel();
        }
        if (view_hint::Change(hint) == view_hint::kNameChanged) {
            ShowName();
        }
    } catch (CVeskCPSException& error) {
        error.PassOn(QStringLiteral("CChannelView::OnUpdate"));
        ShowModelException(Context().prompt, error);
    }
}

bool CChannelView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Control(Id::kName)) {
        auto* edit = ControlAs<QLineEdit>(Id::kName);
        if (event->type() == QEvent::FocusOut) {
            // Focus that moves to another field of the page commits; focus that leaves the page
            // (for the tree, which asks through CanLeavePage, or another window) does not.
            QWidget* next = QApplication::focusWidget();
            if (edit->isModified() && next != nullptr && next != edit && isAncestorOf(next)) {
                CommitName(false);
            }
        } else if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                CommitName(false);
                return true;
            }
            if (key == Qt::Key_Escape && edit->isModified()) {
                ShowName();
                return true;
            }
        }
    }
    return CBaseView::eventFilter(watched, event);
}

void CChannelView::ReportFailure(const CVeskCPSException& error) {
    ShowModelException(Context().prompt, error);
    try {
        SetRXandTXData();
    } catch (const CVeskCPSException&) {
        // Already told; the lists stay as they are.
    }
}
