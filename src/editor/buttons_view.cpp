#include "editor/buttons_view.h"

#include <algorithm>
#include <functional>

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSvgRenderer>
#include <QVBoxLayout>

#include "model/edit_history.h"
#include "model/edit_journal.h"
#include "model/profile_document.h"
#include "platform/settings/configuration.h"
#include "platform/string_table.h"
#include "platform/user_prompt.h"
#include "platform/vesk_cps_exception.h"

namespace {

using Id = CButtonsView::ControlId;

constexpr int kTextTitle = 168;
constexpr int kTextCallToneItem = 221;
constexpr int kTextFeature = 820;
constexpr int kTextKeypadLock = 821;
constexpr int kTextSide1 = 822;
constexpr int kTextSide2 = 823;
constexpr int kTextButtonA = 824;
constexpr int kTextButtonB = 825;
constexpr int kTextButtonC = 826;
constexpr int kTextScramble = 827;
constexpr int kTextCallTone = 828;
constexpr int kTextPreset1 = 829;
constexpr int kTextPreset2 = 830;
constexpr int kTextReset = 831;
constexpr int kTextSelectable = 832;
constexpr int kTextOnOff = 833;
constexpr int kTextOff = 834;
constexpr int kTextPicture = 835;

constexpr int kLabelLeft = 255;
constexpr int kLabelWidth = 170;
constexpr int kValueLeft = 435;
constexpr int kValueWidth = 200;
constexpr int kCompanionLabelWidth = 150;
constexpr int kRowHeight = 24;

constexpr int RowTop(int row) {
    return 96 + 32 * row;
}

constexpr SControlTemplate Label(int id, int row, int text, int buddy, int width = kLabelWidth) {
    return {id, EControlKind::Label, QRect(kLabelLeft, RowTop(row) + 2, width, kRowHeight), text,
            buddy};
}

constexpr SControlTemplate Choice(int id, int row) {
    return {id, EControlKind::Choice, QRect(kValueLeft, RowTop(row), kValueWidth, kRowHeight), 0,
            0};
}

// The rows in their visual order, which is also the tab order. The companion rows come last:
// the page moves each beside the button that carries its feature and shows no other.
constexpr SControlTemplate kControls[] = {
    // As wide as the rows with a companion row beside a button, so that they centre under it.
    {Id::kTitle, EControlKind::Bar, QRect(15, 15, 960, 28), kTextTitle, 0},
    {Id::kPicture, EControlKind::Label, QRect(25, 60, 200, 330), 0, 0},
    {Id::kFeatureCaption, EControlKind::Bar, QRect(245, 60, 720, 24), kTextFeature, 0},
    Label(Id::kKeypadLockLabel, 0, kTextKeypadLock, Id::kKeypadLock),
    {Id::kKeypadLock, EControlKind::Check, QRect(kValueLeft, RowTop(0), kRowHeight, kRowHeight), 0,
     0},
    Label(Id::kSide1Label, 1, kTextSide1, Id::kSide1),
    Choice(Id::kSide1, 1),
    Label(Id::kSide2Label, 2, kTextSide2, Id::kSide2),
    Choice(Id::kSide2, 2),
    Label(Id::kButtonALabel, 3, kTextButtonA, Id::kButtonA),
    Choice(Id::kButtonA, 3),
    Label(Id::kButtonBLabel, 4, kTextButtonB, Id::kButtonB),
    Choice(Id::kButtonB, 4),
    Label(Id::kButtonCLabel, 5, kTextButtonC, Id::kButtonC),
    Choice(Id::kButtonC, 5),
    {Id::kReset, EControlKind::Button, QRect(kValueLeft, RowTop(6) + 8, kValueWidth, 28),
     kTextReset, 0},
    Label(Id::kScrambleLabel, 8, kTextScramble, Id::kScramble, kCompanionLabelWidth),
    Choice(Id::kScramble, 8),
    Label(Id::kCallToneLabel, 9, kTextCallTone, Id::kCallTone, kCompanionLabelWidth),
    Choice(Id::kCallTone, 9),
    Label(Id::kPreset1Label, 10, kTextPreset1, Id::kPreset1, kCompanionLabelWidth),
    Choice(Id::kPreset1, 10),
    Label(Id::kPreset2Label, 11, kTextPreset2, Id::kPreset2, kCompanionLabelWidth),
    Choice(Id::kPreset2, 11),
};

constexpr SLayoutEntry Plain(int id) {
    return {id, ELayoutStyle::Plain, ELayoutColumn::Full, 0};
}

constexpr SLayoutEntry kLayout[] = {
    {Id::kTitle, ELayoutStyle::Title, ELayoutColumn::Full, 0},
    Plain(Id::kPicture),
    {Id::kFeatureCaption, ELayoutStyle::Section, ELayoutColumn::Full, 0},
    Plain(Id::kKeypadLockLabel),
    Plain(Id::kKeypadLock),
    Plain(Id::kSide1Label),
    Plain(Id::kSide1),
    Plain(Id::kSide2Label),
    Plain(Id::kSide2),
    Plain(Id::kButtonALabel),
    Plain(Id::kButtonA),
    Plain(Id::kButtonBLabel),
    Plain(Id::kButtonB),
    Plain(Id::kButtonCLabel),
    Plain(Id::kButtonC),
    Plain(Id::kReset),
    Plain(Id::kScrambleLabel),
    Plain(Id::kScramble),
    Plain(Id::kCallToneLabel),
    Plain(Id::kCallTone),
    Plain(Id::kPreset1Label),
    Plain(Id::kPreset1),
    Plain(Id::kPreset2Label),
    Plain(Id::kPreset2),
    {0, ELayoutStyle::Plain, ELayoutColumn::Full, 0},
};

// The features with a row of their own settings.
struct SCompanion {
    qint32 value;
    int label;
    int combo;
};
constexpr SCompanion kCompanions[] = {
    {CButtonsView::kScrambleFeature, Id::kScrambleLabel, Id::kScramble},
    {CButtonsView::kCallToneFeature, Id::kCallToneLabel, Id::kCallTone},
    {CButtonsView::kPreset1Feature, Id::kPreset1Label, Id::kPreset1},
    {CButtonsView::kPreset2Feature, Id::kPreset2Label, Id::kPreset2},
};

// What Button Reset gives the buttons, in the order it writes them.
constexpr const char* kDefaultNames[] = {"side1_but", "side2_but", "upper_right_but",
                                         "lower_left_but", "lower_right_but"};
constexpr qint32 kDefaultValues[] = {7, 4, 3, 9, 10};

// The English feature names of the button list document and the strings that replace them.
constexpr std::pair<const char*, int> kFeatureNames[] = {
    {"Monitor", 416},      {"Scan/Nuisance Channel Delete", 417},
    {"Call Tone", 207},    {"Tx Power Selection", 419},
    {"Scramble", 237},     {"Repeater/Talkaround", 421},
    {"No Operation", 422}, {"Backlight", 423},
    {"Preset 1", 424},     {"Preset 2", 425},
};

QString T(int id) {
    return CStringTable::Instance().Text(id);
}

// The feature names are put into the user's language once in the life of the program, as the
// first page found it; every later page shows the same names.
const std::vector<std::pair<QString, QString>>& FeatureTranslations() {
    static const std::vector<std::pair<QString, QString>> translations = [] {
        std::vector<std::pair<QString, QString>> list;
        for (const auto& [english, id] : kFeatureNames) {
            list.emplace_back(QString::fromLatin1(english), T(id));
        }
        return list;
    }();
    return translations;
}

void Localise(std::vector<SButtonFunction>& list) {
    for (SButtonFunction& function : list) {
        for (const auto& [english, translated] : FeatureTranslations()) {
            function.name.replace(english, translated);
        }
    }
}

const SButtonFunction* FindValue(const std::vector<SButtonFunction>& list, qint32 value) {
    const auto found = std::find_if(list.begin(), list.end(),
                                    [value](const SButtonFunction& f) { return f.value == value; });
    return found == list.end() ? nullptr : &*found;
}

const SButtonFunction* FindName(const std::vector<SButtonFunction>& list, const QString& name) {
    const auto found = std::find_if(list.begin(), list.end(),
                                    [&name](const SButtonFunction& f) { return f.name == name; });
    return found == list.end() ? nullptr : &*found;
}

// The radio picture, stretched over the whole frame.
class CRadioPicture : public QWidget {
public:
    CRadioPicture(std::function<QSvgRenderer*()> renderer, QWidget* parent)
        : QWidget(parent), m_renderer(std::move(renderer)) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }

protected:
    void paintEvent(QPaintEvent* /*event*/) override {
        QSvgRenderer* renderer = m_renderer();
        if (renderer == nullptr || !renderer->isValid()) {
            return;
        }
        QPainter painter(this);
        renderer->render(&painter, QRectF(rect()));
    }

private:
    std::function<QSvgRenderer*()> m_renderer;
};

}  // namespace

CButtonsView::CButtonsView(const SPageContext& context, QWidget* parent)
    : CBaseView(context, PageKind::Buttons, kControls, kLayout, parent),
      m_slots{SSlot{Id::kSide1, "side1_but"}, SSlot{Id::kSide2, "side2_but"},
              SSlot{Id::kButtonA, "upper_right_but"}, SSlot{Id::kButtonB, "lower_left_but"},
              SSlot{Id::kButtonC, "lower_right_but"}} {
    QWidget* frame = Control(Id::kPicture);
    auto* layout = new QVBoxLayout(frame);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(new CRadioPicture([this] { return m_picture.get(); }, frame));
    frame->setAccessibleName(T(kTextPicture));

    for (std::size_t i = 0; i < m_slots.size(); ++i) {
        connect(ControlAs<QComboBox>(m_slots[i].button), &QComboBox::currentIndexChanged, this,
                [this, i] { OnButtonChosen(i); });
    }
    // Toggled rather than clicked: a screen reader works a box through its toggle action.
    connect(ControlAs<QCheckBox>(Id::kKeypadLock), &QCheckBox::toggled, this,
            &CButtonsView::OnKeypadLockClicked);
    connect(ControlAs<QComboBox>(Id::kScramble), &QComboBox::currentIndexChanged, this,
            &CButtonsView::OnScrambleChosen);
    connect(ControlAs<QComboBox>(Id::kCallTone), &QComboBox::currentIndexChanged, this,
            &CButtonsView::OnCallToneChosen);
    connect(ControlAs<QComboBox>(Id::kPreset1), &QComboBox::currentIndexChanged, this,
            [this] { OnPresetChosen(0); });
    connect(ControlAs<QComboBox>(Id::kPreset2), &QComboBox::currentIndexChanged, this,
            [this] { OnPresetChosen(1); });
    connect(ControlAs<QPushButton>(Id::kReset), &QPushButton::clicked, this,
            &CButtonsView::OnResetClicked);
}

CButtonsView::~CButtonsView() = default;

CDataItem CButtonsView::Setting() {
    return RootItem().GetChildByName(QStringLiteral("setting"));
}

CDataItem CButtonsView::Limit() {
    return RootItem().GetChildByName(QStringLiteral("limit"));
}

QVariant CButtonsView::GetAttribute(const QString& element, const QString& attribute) {
    try {
        return RootItem().GetChildByName(element).GetAttributeValue(attribute);
    } catch (CVeskCPSException& error) {
        error.PassOn(QStringLiteral("CButtonsView::GetAttribute"));
        throw;
    }
}

bool CButtonsView::WriteItem(CDataItem item, const QString& attribute, qint32 value,
                             const char* operation) {
    try {
        if (item.IsEmpty()) {
            return false;
        }
        if (item.AttributeText(attribute) == QString::number(value)) {
            return true;
        }
        if (!item.SetAttributeValue(attribute, value).IsAccepted()) {
            return false;
        }
    } catch (CVeskCPSException& error) {
        error.PassOn(QString::fromLatin1(operation));
        throw;
    }
    Context().document.SetModified(true);
    if (Context().profileChanged) {
        Context().profileChanged();
    }
    return true;
}

bool CButtonsView::SetDataValue(const QString& attribute, qint32 value) {
    return WriteItem(Setting(), attribute, value, "CButtonsView::SetDataValue");
}

bool CButtonsView::SetPreButtonValue(int index, qint32 channel) {
    return WriteItem(Setting().GetChildByIndex(index), QStringLiteral("channel"), channel,
                     "CButtonsView::SetPreButtonValue");
}

qint16 CButtonsView::GetDependValue(const QString& name) {
    if (name == QStringLiteral("none")) {
        return 0;
    }
    try {
        CDataItem limit = Limit();
        // A limit older profiles do not carry is one the model does not set.
        if (!limit.HasAttribute(name)) {
            return 0;
        }
        return qint16(limit.GetAttributeValue(name).toInt());
    } catch (CVeskCPSException& error) {
        error.PassOn(QStringLiteral("CButtonsView::GetDependValue"));
        throw;
    }
}

qint16 CButtonsView::GetKeyLockValue() {
    try {
        return qint16(Setting().GetAttributeValue(QStringLiteral("keypadLock")).toInt());
    } catch (CVeskCPSException& error) {
        error.PassOn(QStringLiteral("CButtonsView::GetKeyLockValue"));
        throw;
    }
}

qint32 CButtonsView::GetMaxPreButtons() {
    try {
        m_maxPresetButtons = Limit().GetAttributeValue(QStringLiteral("maxPresetButtons")).toInt();
        return m_maxPresetButtons;
    } catch (CVeskCPSException& error) {
        error.PassOn(QStringLiteral("CButtonsView::GetMaxPreButtons"));
        throw;
    }
}

void CButtonsView::LoadRes() {
    ControlAs<QComboBox>(Id::kScramble)->addItems({T(kTextSelectable), T(kTextOnOff)});
    ControlAs<QComboBox>(Id::kCallTone)->addItem(T(kTextOff));
    for (int id : {int(Id::kScramble), int(Id::kCallTone)}) {
        const QSignalBlocker blocker(Control(id));
        ControlAs<QComboBox>(id)->setCurrentIndex(-1);
    }
}

void CButtonsView::LoadData() {
    m_loaded = false;
    try {
        m_maxCallTones =
            GetAttribute(QStringLiteral("limit"), QStringLiteral("max_call_tones")).toInt();
        LoadButtonLists();
        for (std::size_t i = 0; i < m_slots.size(); ++i) {
            auto* combo = ControlAs<QComboBox>(m_slots[i].button);
            const QSignalBlocker blocker(combo);
            combo->clear();
            AddFunctionList(combo, m_common, false);
            if (i >= 2) {
                AddFunctionList(combo, m_model, false);
                AddFunctionList(combo, m_presets, true);
            }
            // The value-0 entry ("No Operation") is the last of the common group and goes last.
            if (!m_common.empty()) {
                combo->addItem(m_common.back().name);
            }
        }
        for (int id : {int(Id::kPreset1), int(Id::kPreset2)}) {
            const QSignalBlocker blocker(Control(id));
            AddPreComboList(ControlAs<QComboBox>(id));
        }
        auto* lock = ControlAs<QCheckBox>(Id::kKeypadLock);
        {
            const QSignalBlocker blocker(lock);
            lock->setChecked(GetKeyLockValue() != 0);
        }
        if (GetDependValue(QStringLiteral("disable_keypad_lock_feature")) != 0) {
            Control(Id::kKeypadLockLabel)->hide();
            lock->hide();
        }
        ApplyVisibleSetting(QString::fromLatin1(PageKindNames(Kind()).visibilityName));
        // A companion row shows only beside a button that carries its feature.
        m_enabledCompanions.clear();
        for (const SCompanion& companion : kCompanions) {
            if (!Control(companion.label)->isHidden() && !Control(companion.combo)->isHidden()) {
                m_enabledCompanions.push_back(companion.combo);
            }
            Control(companion.label)->hide();
            Control(companion.combo)->hide();
        }
        RefreshButtonCombos();
        SetPreComboSel(ControlAs<QComboBox>(Id::kPreset1), 0);
        SetPreComboSel(ControlAs<QComboBox>(Id::kPreset2), 1);

        SelectScramble();
        {
            auto* tones = ControlAs<QComboBox>(Id::kCallTone);
            const QSignalBlocker blocker(tones);
            for (int i = 1; i <= m_maxCallTones; ++i) {
                tones->addItem(QStringLiteral("%1 %2").arg(T(kTextCallToneItem)).arg(i));
            }
        }
        SelectCallTone();
    } catch (CVeskCPSException& error) {
        error.PassOn(QStringLiteral("CButtonsView::LoadData"));
        throw;
    }
    m_loaded = true;
}

void CButtonsView::LoadButtonLists() {
    const CSettingsDocuments& settings = Context().settings;
    if (settings.Document(CSettingsDocuments::Doc::ButtonList).IsNull()) {
        Context().prompt.Show(kMsgFilesMissing);
        return;
    }
    try {
        const QString region = Context().regionName;
        m_common = settings.ButtonFunctions(region, QStringLiteral("COMMON"));
        Localise(m_common);
        const QString model =
            GetAttribute(QStringLiteral("factory_setting"), QStringLiteral("model")).toString();
        const bool display = model.size() > 2 && model.at(2).toUpper() == u'D';
        m_model = settings.ButtonFunctions(
            region, display ? QStringLiteral("DISPLAY") : QStringLiteral("NONDISPLAY"));
        Localise(m_model);
        m_presets = settings.ButtonFunctions(region, QStringLiteral("PREBUTTON"));
        Localise(m_presets);
        const std::optional<QString> file = settings.ButtonPicture(region, display);
        if (file) {
            const QString path = Context().document.Configuration().GetInstallPath() +
                                 QStringLiteral("/lib/") + *file;
            if (!QFile(path).open(QIODevice::ReadOnly)) {
                Context().prompt.Show(kMsgFilesMissing);
            }
            m_picture = std::make_unique<QSvgRenderer>(path);
            Control(Id::kPicture)->update();
        }
    } catch (const CVeskCPSException&) {
        m_picture.reset();
        Context().prompt.Show(kMsgFilesMissing);
    }
}

void CButtonsView::AddFunctionList(QComboBox* combo, const std::vector<SButtonFunction>& list,
                                   bool limited) {
    std::size_t count = list.size();
    if (limited) {
        count = std::min<std::size_t>(count, std::size_t(std::max<qint32>(0, GetMaxPreButtons())));
    }
    for (std::size_t i = 0; i < count; ++i) {
        const SButtonFunction& function = list[i];
        if (function.value == 0) {
            continue;
        }
        if (function.dependName != QStringLiteral("none")) {
            const qint16 limit = GetDependValue(function.dependName);
            if ((limit != 0) != function.dependType) {
                continue;
            }
            if (function.value == kCallToneFeature && m_maxCallTones <= 0) {
                continue;
            }
        }
        combo->addItem(function.name);
    }
}

void CButtonsView::SelectButtonFunction(QComboBox* combo, const char* attribute) {
    const QString name = QString::fromLatin1(attribute);
    // Twice at most: a value no list offers becomes 0, and a list without the value-0 entry
    // leaves the button without a selection rather than trying for ever.
    for (int attempt = 0; attempt < 2; ++attempt) {
        const qint32 value = GetAttribute(QStringLiteral("setting"), name).toInt();
        const SButtonFunction* function = FindValue(m_common, value);
        if (function == nullptr) {
            function = FindValue(m_model, value);
        }
        if (function == nullptr) {
            function = FindValue(m_presets, value);
        }
        if (function != nullptr) {
            const int item =
                combo->findText(function->name, Qt::MatchExactly | Qt::MatchCaseSensitive);
            if (item >= 0) {
                const QSignalBlocker blocker(combo);
                combo->setCurrentIndex(item);
                return;
            }
        }
        if (value == 0) {
            break;
        }
        // What this page cannot show is no choice of the user's, and no step to undo.
        const CEditJournal::CSilence silence(Context().document.Model().Journal());
        Setting().SetAttributeValue(name, qint32(0));
    }
    const QSignalBlocker blocker(combo);
    combo->setCurrentIndex(-1);
}

qint32 CButtonsView::FindFunctionValue(const QString& name, bool commonOnly) const {
    const SButtonFunction* function = FindName(m_common, name);
    if (function == nullptr && !commonOnly) {
        function = FindName(m_model, name);
        if (function == nullptr) {
            function = FindName(m_presets, name);
        }
    }
    return function == nullptr ? -1 : function->value;
}

void CButtonsView::ShowCompanionControls(SSlot& slot) {
    auto* combo = ControlAs<QComboBox>(slot.button);
    if (combo->isHidden()) {
        return;
    }
    const qint32 value = FindFunctionValue(combo->currentText(), false);
    const SCompanion* match = nullptr;
    for (const SCompanion& companion : kCompanions) {
        if (companion.value == value &&
            std::find(m_enabledCompanions.begin(), m_enabledCompanions.end(), companion.combo) !=
                m_enabledCompanions.end()) {
            match = &companion;
            break;
        }
    }
    if (match != nullptr && match->combo == slot.shownCombo) {
        return;
    }
    if (slot.shownCombo != 0) {
        Control(slot.shownLabel)->hide();
        Control(slot.shownCombo)->hide();
        slot.shownLabel = 0;
        slot.shownCombo = 0;
    }
    if (match != nullptr) {
        const QRect button = LayoutRect(slot.button);
        QRect label = LayoutRect(match->label);
        label.moveTopLeft(QPoint(button.right() + 1, button.top() + 2));
        SetLayoutRect(match->label, label);
        QRect companion = LayoutRect(match->combo);
        companion.moveTopLeft(QPoint(button.right() + 1 + label.width() + 10, button.top()));
        SetLayoutRect(match->combo, companion);
        Control(match->label)->show();
        Control(match->combo)->show();
        slot.shownLabel = match->label;
        slot.shownCombo = match->combo;
    }
    Relayout();
    OrderTabs();
}

void CButtonsView::RefreshButtonCombos() {
    for (SSlot& slot : m_slots) {
        try {
            SelectButtonFunction(ControlAs<QComboBox>(slot.button), slot.attribute);
        } catch (const CVeskCPSException& error) {
            // The other buttons are still shown.
            ShowModelException(Context().prompt, error);
        }
    }
    for (SSlot& slot : m_slots) {
        ShowCompanionControls(slot);
    }
}

void CButtonsView::OrderTabs() {
    std::vector<QWidget*> controls;
    for (const SLayoutEntry& entry : kLayout) {
        if (entry.id == 0) {
            break;
        }
        QWidget* widget = Control(entry.id);
        if (widget != nullptr && !widget->isHidden() && (widget->focusPolicy() & Qt::TabFocus)) {
            controls.push_back(widget);
        }
    }
    std::stable_sort(controls.begin(), controls.end(), [](QWidget* a, QWidget* b) {
        if (a->y() != b->y()) {
            return a->y() < b->y();
        }
        return a->x() < b->x();
    });
    for (std::size_t i = 1; i < controls.size(); ++i) {
        setTabOrder(controls[i - 1], controls[i]);
    }
}

bool CButtonsView::IsDefaultAssignment() {
    for (std::size_t i = 0; i < std::size(kDefaultNames); ++i) {
        if (GetAttribute(QStringLiteral("setting"), QString::fromLatin1(kDefaultNames[i]))
                .toInt() != kDefaultValues[i]) {
            return false;
        }
    }
    return true;
}

void CButtonsView::AddPreComboList(QComboBox* combo) {
    try {
        const int count = Setting().GetAttributeValue(QStringLiteral("numberChannels")).toInt();
        CDataItem channels = RootItem().GetChildByName(QStringLiteral("channels"));
        for (int i = 0; i < count; ++i) {
            CDataItem channel = channels.GetChildByIndex(i);
            if (channel.IsEmpty()) {
                break;
            }
            if (channel.GetAttributeValue(QStringLiteral("disable_channel")).toInt() != 0) {
                continue;
            }
            combo->addItem(channel.GetAttributeValue(QStringLiteral("name")).toString());
        }
    } catch (CVeskCPSException& error) {
        error.PassOn(QStringLiteral("CButtonsView::AddPreComboList"));
        throw;
    }
}

int CButtonsView::FindChannelItem(int channelIndex, QComboBox* combo) {
    CDataItem channel =
        RootItem().GetChildByName(QStringLiteral("channels")).GetChildByIndex(channelIndex);
    if (channel.IsEmpty()) {
        return -1;
    }
    return combo->findText(channel.GetAttributeValue(QStringLiteral("name")).toString(),
                           Qt::MatchExactly | Qt::MatchCaseSensitive);
}

void CButtonsView::SetPreComboSel(QComboBox* combo, int index) {
    try {
        CDataItem preset = Setting().GetChildByIndex(index);
        const int channel =
            preset.IsEmpty() ? -1 : preset.GetAttributeValue(QStringLiteral("channel")).toInt();
        const QSignalBlocker blocker(combo);
        combo->setCurrentIndex(channel < 0 ? -1 : FindChannelItem(channel, combo));
    } catch (CVeskCPSException& error) {
        error.PassOn(QStringLiteral("CButtonsView::SetPreComboSel"));
        throw;
    }
}

int CButtonsView::GetSelectedChannelIndex(int item, QComboBox* combo) {
    const QString text = combo->itemText(item);
    const int count = Setting().GetAttributeValue(QStringLiteral("numberChannels")).toInt();
    CDataItem channels = RootItem().GetChildByName(QStringLiteral("channels"));
    for (int i = 0; i < count; ++i) {
        CDataItem channel = channels.GetChildByIndex(i);
        if (channel.IsEmpty()) {
            break;
        }
        if (channel.GetAttributeValue(QStringLiteral("name")).toString() == text) {
            return i;
        }
    }
    return 0;
}

int CButtonsView::EnabledChannelCount() {
    // The preset lists hold exactly the enabled channels among those in use.
    return ControlAs<QComboBox>(Id::kPreset1)->count();
}

void CButtonsView::SelectScramble() {
    auto* scramble = ControlAs<QComboBox>(Id::kScramble);
    const QSignalBlocker blocker(scramble);
    scramble->setCurrentIndex(
        GetAttribute(QStringLiteral("setting"), QStringLiteral("disableSelectableScramble"))
                    .toInt() != 0
            ? 1
            : 0);
}

void CButtonsView::SelectCallTone() {
    auto* tones = ControlAs<QComboBox>(Id::kCallTone);
    const int stored = GetAttribute(QStringLiteral("setting"), QStringLiteral("callTone")).toInt();
    const QSignalBlocker blocker(tones);
    tones->setCurrentIndex(stored >= 0 && stored < tones->count() ? stored : -1);
}

void CButtonsView::OnButtonChosen(std::size_t index) {
    if (!m_loaded) {
        return;
    }
    SSlot& slot = m_slots[index];
    auto* combo = ControlAs<QComboBox>(slot.button);
    try {
        const qint32 value = FindFunctionValue(combo->currentText(), index < 2);
        if (value < 0) {
            Context().prompt.Show(kMsgFilesMissing);
            SelectButtonFunction(combo, slot.attribute);
            return;
        }
        if (!SetDataValue(QString::fromLatin1(slot.attribute), value)) {
            Context().prompt.Show(kMsgFeatureTaken);
            SelectButtonFunction(combo, slot.attribute);
        }
        ShowCompanionControls(slot);
    } catch (CVeskCPSException& error) {
        error.PassOn(QStringLiteral("CButtonsView::OnButtonChosen"));
        ShowModelException(Context().prompt, error);
    }
}

void CButtonsView::WriteOrRestore(const QString& attribute, qint32 value,
                                  const std::function<void()>& restore) {
    try {
        if (!SetDataValue(attribute, value)) {
            Context().prompt.Show(kMsgInvalidValue);
            restore();
        }
    } catch (CVeskCPSException& error) {
        ShowModelException(Context().prompt, error);
    }
}

void CButtonsView::OnKeypadLockClicked(bool checked) {
    if (!m_loaded) {
        return;
    }
    WriteOrRestore(QStringLiteral("keypadLock"), checked ? 1 : 0, [this] {
        const QSignalBlocker blocker(Control(Id::kKeypadLock));
        ControlAs<QCheckBox>(Id::kKeypadLock)->setChecked(GetKeyLockValue() != 0);
    });
}

void CButtonsView::OnScrambleChosen(int index) {
    if (!m_loaded || index < 0) {
        return;
    }
    // On a refusal the list shows nothing rather than a mode the profile does not hold.
    WriteOrRestore(QStringLiteral("disableSelectableScramble"), index,
                   [this] { SelectScramble(); });
}

void CButtonsView::OnCallToneChosen(int index) {
    if (!m_loaded || index < 0) {
        return;
    }
    WriteOrRestore(QStringLiteral("callTone"), index, [this] { SelectCallTone(); });
}

void CButtonsView::OnPresetChosen(int preset) {
    if (!m_loaded) {
        return;
    }
    auto* combo = ControlAs<QComboBox>(preset == 0 ? Id::kPreset1 : Id::kPreset2);
    if (combo->currentIndex() < 0) {
        return;
    }
    try {
        if (!SetPreButtonValue(preset, GetSelectedChannelIndex(combo->currentIndex(), combo))) {
            Context().prompt.Show(kMsgPresetRefused);
            SetPreComboSel(combo, preset);
        }
    } catch (CVeskCPSException& error) {
        ShowModelException(Context().prompt, error);
    }
}

void CButtonsView::OnResetClicked() {
    if (!m_loaded) {
        return;
    }
    if (Context().prompt.Show(kMsgResetQuestion, PromptStyle::YesNo) != PromptAnswer::Yes) {
        return;
    }
    try {
        // Everything Button Reset writes is one step of the history.
        const CEditJournal::CGroup step(
            Context().document.Model().Journal(),
            QString(ControlAs<QPushButton>(Id::kReset)->text()).remove(u'&'));
        ResetButtons();
    } catch (CVeskCPSException& error) {
        error.PassOn(QStringLiteral("CButtonsView::ResetButtons"));
        ShowModelException(Context().prompt, error);
    }
}

void CButtonsView::ResetButtons() {
    if (!IsDefaultAssignment()) {
        // Cleared first, so that no default meets a feature another button still carries.
        for (const char* name : kDefaultNames) {
            SetDataValue(QString::fromLatin1(name), 0);
        }
        RefreshButtonCombos();
        for (std::size_t i = 0; i < std::size(kDefaultNames); ++i) {
            SetDataValue(QString::fromLatin1(kDefaultNames[i]), kDefaultValues[i]);
        }
        RefreshButtonCombos();
    }
    if (GetAttribute(QStringLiteral("setting"), QStringLiteral("callTone")).toInt() != 0) {
        SetDataValue(QStringLiteral("callTone"), 0);
    }
    SelectCallTone();
    if (GetAttribute(QStringLiteral("setting"), QStringLiteral("disableSelectableScramble"))
            .toInt() != 0) {
        SetDataValue(QStringLiteral("disableSelectableScramble"), 0);
    }
    SelectScramble();
    auto* preset1 = ControlAs<QComboBox>(Id::kPreset1);
    auto* preset2 = ControlAs<QComboBox>(Id::kPreset2);
    if (preset1->count() > 0) {
        SetPreButtonValue(0, GetSelectedChannelIndex(0, preset1));
    }
    // Shown as the profile holds it, also when the rules kept the old channel.
    SetPreComboSel(preset1, 0);
    const int item2 = EnabledChannelCount() < 2 ? 0 : 1;
    if (preset2->count() > item2) {
        SetPreButtonValue(1, GetSelectedChannelIndex(item2, preset2));
    }
    SetPreComboSel(preset2, 1);
}
