#include "editor/setting_view.h"

#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QSignalBlocker>

#include "model/edit_history.h"
#include "model/edit_result.h"
#include "model/profile_document.h"
#include "platform/string_table.h"
#include "platform/vesk_cps_exception.h"

namespace {

using Id = CSettingView::ControlId;

constexpr int kTextTitle = 167;
constexpr int kTextOff = 193;
constexpr int kTextPassword = 740;
constexpr int kTextConfirm = 741;
constexpr int kTextPowerUp = 742;
constexpr int kTextStationId = 743;
constexpr int kTextIdMode = 744;
constexpr int kTextLeds = 745;
constexpr int kTextFactoryReset = 746;
constexpr int kTextProgrammingMode = 747;
constexpr int kTextBatterySave = 748;
constexpr int kTextBacklight = 749;
constexpr int kTextHangTime = 750;
constexpr int kTextLowBattery = 751;
constexpr int kTextAlertTone = 752;
constexpr int kTextCourtesyBeep = 753;
constexpr int kTextTimeout = 754;
constexpr int kTextReverseBurst = 755;
constexpr int kTextBatteryType = 756;
constexpr int kTextAlkaline = 757;
constexpr int kTextNickel = 758;
constexpr int kTextDisable = 759;
constexpr int kText15Min = 760;
constexpr int kText30Min = 761;
constexpr int kText45Min = 762;
constexpr int kText60Min = 763;
constexpr int kTextAfterConversation = 764;

constexpr int kPowerUpLength = 8;
constexpr int kStationIdLength = 9;
constexpr int kHangTimeDigits = 2;
constexpr int kLowBatteryDigits = 3;
constexpr int kBacklightStep = 5;
constexpr int kTimeoutStep = 60;

constexpr int kLabelLeft = 35;
constexpr int kLabelWidth = 270;
constexpr int kValueLeft = 315;
constexpr int kValueWidth = 170;
constexpr int kRowHeight = 24;

constexpr int RowTop(int row) {
    return 60 + 32 * row;
}

constexpr SControlTemplate Label(int id, int row, int text, int buddy) {
    return {id, EControlKind::Label, QRect(kLabelLeft, RowTop(row), kLabelWidth, kRowHeight), text,
            buddy};
}

constexpr SControlTemplate Value(int id, EControlKind kind, int row) {
    const int width = kind == EControlKind::Check ? kRowHeight : kValueWidth;
    return {id, kind, QRect(kValueLeft, RowTop(row), width, kRowHeight), 0, 0};
}

// The rows in their visual order, which is also the tab order.
constexpr SControlTemplate kControls[] = {
    {Id::kTitle, EControlKind::Bar, QRect(15, 15, 480, 28), kTextTitle, 0},
    Label(Id::kPasswordLabel, 0, kTextPassword, Id::kPassword),
    Value(Id::kPassword, EControlKind::Text, 0),
    Label(Id::kConfirmLabel, 1, kTextConfirm, Id::kConfirm),
    Value(Id::kConfirm, EControlKind::Text, 1),
    Label(Id::kPowerUpLabel, 2, kTextPowerUp, Id::kPowerUp),
    Value(Id::kPowerUp, EControlKind::Text, 2),
    Label(Id::kStationIdLabel, 3, kTextStationId, Id::kStationId),
    Value(Id::kStationId, EControlKind::Text, 3),
    Label(Id::kIdModeLabel, 4, kTextIdMode, Id::kIdMode),
    Value(Id::kIdMode, EControlKind::Choice, 4),
    Label(Id::kLedsLabel, 5, kTextLeds, Id::kLeds),
    Value(Id::kLeds, EControlKind::Check, 5),
    Label(Id::kFactoryResetLabel, 6, kTextFactoryReset, Id::kFactoryReset),
    Value(Id::kFactoryReset, EControlKind::Check, 6),
    Label(Id::kProgrammingModeLabel, 7, kTextProgrammingMode, Id::kProgrammingMode),
    Value(Id::kProgrammingMode, EControlKind::Check, 7),
    Label(Id::kBatterySaveLabel, 8, kTextBatterySave, Id::kBatterySave),
    Value(Id::kBatterySave, EControlKind::Check, 8),
    Label(Id::kBacklightLabel, 9, kTextBacklight, Id::kBacklight),
    Value(Id::kBacklight, EControlKind::Choice, 9),
    Label(Id::kHangTimeLabel, 10, kTextHangTime, Id::kHangTime),
    Value(Id::kHangTime, EControlKind::Text, 10),
    Label(Id::kLowBatteryLabel, 11, kTextLowBattery, Id::kLowBattery),
    Value(Id::kLowBattery, EControlKind::Text, 11),
    Label(Id::kAlertToneLabel, 12, kTextAlertTone, Id::kAlertTone),
    Value(Id::kAlertTone, EControlKind::Choice, 12),
    Label(Id::kCourtesyBeepLabel, 13, kTextCourtesyBeep, Id::kCourtesyBeep),
    Value(Id::kCourtesyBeep, EControlKind::Check, 13),
    Label(Id::kTimeoutLabel, 14, kTextTimeout, Id::kTimeout),
    Value(Id::kTimeout, EControlKind::Choice, 14),
    Label(Id::kReverseBurstLabel, 15, kTextReverseBurst, Id::kReverseBurst),
    Value(Id::kReverseBurst, EControlKind::Choice, 15),
    // The battery pack in a box of its own, its row below the box's caption.
    {Id::kBatteryFrame, EControlKind::Frame, QRect(25, RowTop(16) + 6, 470, 66), kTextBatteryType,
     0},
    {Id::kBatteryTypeLabel, EControlKind::Label,
     QRect(kLabelLeft + 10, RowTop(17) + 2, kLabelWidth - 10, kRowHeight), kTextBatteryType,
     Id::kBatteryType},
    {Id::kBatteryType, EControlKind::Choice,
     QRect(kValueLeft, RowTop(17) + 2, kValueWidth, kRowHeight), 0, 0},
};

constexpr SLayoutEntry Plain(int id) {
    return {id, ELayoutStyle::Plain, ELayoutColumn::Full, 0};
}

constexpr SLayoutEntry kLayout[] = {
    {Id::kTitle, ELayoutStyle::Title, ELayoutColumn::Full, 0},
    Plain(Id::kPasswordLabel),
    Plain(Id::kPassword),
    Plain(Id::kConfirmLabel),
    Plain(Id::kConfirm),
    Plain(Id::kPowerUpLabel),
    Plain(Id::kPowerUp),
    Plain(Id::kStationIdLabel),
    Plain(Id::kStationId),
    Plain(Id::kIdModeLabel),
    Plain(Id::kIdMode),
    Plain(Id::kLedsLabel),
    Plain(Id::kLeds),
    Plain(Id::kFactoryResetLabel),
    Plain(Id::kFactoryReset),
    Plain(Id::kProgrammingModeLabel),
    Plain(Id::kProgrammingMode),
    Plain(Id::kBatterySaveLabel),
    Plain(Id::kBatterySave),
    Plain(Id::kBacklightLabel),
    Plain(Id::kBacklight),
    Plain(Id::kHangTimeLabel),
    Plain(Id::kHangTime),
    Plain(Id::kLowBatteryLabel),
    Plain(Id::kLowBattery),
    Plain(Id::kAlertToneLabel),
    Plain(Id::kAlertTone),
    Plain(Id::kCourtesyBeepLabel),
    Plain(Id::kCourtesyBeep),
    Plain(Id::kTimeoutLabel),
    Plain(Id::kTimeout),
    Plain(Id::kReverseBurstLabel),
    Plain(Id::kReverseBurst),
    {Id::kBatteryFrame, ELayoutStyle::Frame, ELayoutColumn::Full, 0},
    Plain(Id::kBatteryTypeLabel),
    Plain(Id::kBatteryType),
    {0, ELayoutStyle::Plain, ELayoutColumn::Full, 0},
};

// Every value row: its label, its control and the attribute behind it.
struct SValueRow {
    int label;
    int control;
    const char* element;
    const char* attribute;
};

constexpr SValueRow kValueRows[] = {
    {Id::kPasswordLabel, Id::kPassword, "setting", "password"},
    {Id::kConfirmLabel, Id::kConfirm, "setting", "password"},
    {Id::kPowerUpLabel, Id::kPowerUp, "setting", "powerupString"},
    {Id::kStationIdLabel, Id::kStationId, "setting", "stationID"},
    {Id::kIdModeLabel, Id::kIdMode, "setting", "rep_id_mode"},
    {Id::kLedsLabel, Id::kLeds, "setting", "disableLED"},
    {Id::kFactoryResetLabel, Id::kFactoryReset, "setting", "disableRestoreFactoryDefault"},
    {Id::kProgrammingModeLabel, Id::kProgrammingMode, "limit", "programming_mode_enabled"},
    {Id::kBatterySaveLabel, Id::kBatterySave, "setting", "disableBatterySave"},
    {Id::kBacklightLabel, Id::kBacklight, "setting", "backlight_enabled"},
    {Id::kBacklightLabel, Id::kBacklight, "setting", "backlight_timeout"},
    {Id::kHangTimeLabel, Id::kHangTime, "setting", "rep_hangtime"},
    {Id::kLowBatteryLabel, Id::kLowBattery, "setting", "low_battery_tx"},
    {Id::kAlertToneLabel, Id::kAlertTone, "setting", "onbatt_alert"},
    {Id::kCourtesyBeepLabel, Id::kCourtesyBeep, "setting", "courtesy_over"},
    {Id::kTimeoutLabel, Id::kTimeout, "setting", "timeoutTimer"},
    {Id::kReverseBurstLabel, Id::kReverseBurst, "setting", "reverseBurst"},
    {Id::kBatteryTypeLabel, Id::kBatteryType, "setting", "batteryType"},
};

// Rows a model's limits take away.
struct SLimitRow {
    int label;
    int control;
    const char* limit;
    bool hiddenWhenSet;  // hidden when the limit is non-zero; otherwise when it is zero
};

constexpr SLimitRow kLimitRows[] = {
    {Id::kTimeoutLabel, Id::kTimeout, "disable_time_out_timer", true},
    {Id::kFactoryResetLabel, Id::kFactoryReset, "factory_reset_disable", true},
    {Id::kReverseBurstLabel, Id::kReverseBurst, "enable_reverse_burst", false},
    {Id::kBatterySaveLabel, Id::kBatterySave, "disable_battery_save_feature", true},
    {Id::kLedsLabel, Id::kLeds, "disable_busy_led_mode", true},
};

// The text fields by EField.
constexpr int kFieldIds[] = {Id::kPassword,  Id::kConfirm,  Id::kPowerUp,
                             Id::kStationId, Id::kHangTime, Id::kLowBattery};

struct SFieldRule {
    const char* attribute;
    int refusal;
    bool integer;
};

// Power-up text, station ID, hang time, low battery (the fields after the password pair).
constexpr SFieldRule kFieldRules[] = {
    {"powerupString", CSettingView::kMsgPowerUpText, false},
    {"stationID", CSettingView::kMsgStationId, false},
    {"rep_hangtime", CSettingView::kMsgHangTime, true},
    {"low_battery_tx", CSettingView::kMsgLowBattery, true},
};

QString T(int id) {
    return CStringTable::Instance().Text(id);
}

// The list item at the stored value; none for a value no item stands for, rather than a wrong
// one. A flag stored as "1" is item 1.
SConversion ItemIndex(int count) {
    return {[count](const CDataItem& element, const QString& attribute) {
                const QVariant stored = element.GetAttributeValue(attribute);
                const int value =
                    stored.typeId() == QMetaType::Bool ? int(stored.toBool()) : stored.toInt();
                return QVariant(value >= 0 && value < count ? value : -1);
            },
            [count](const QVariant& shown) -> std::optional<QVariant> {
                const int index = shown.toInt();
                if (index < 0 || index >= count) {
                    return std::nullopt;
                }
                return QVariant(qint32(index));
            }};
}

// The stored text a value is written as, to tell an unchanged value.
QString StoredForm(const QVariant& value) {
    if (value.typeId() == QMetaType::Bool) {
        return value.toBool() ? QStringLiteral("1") : QStringLiteral("0");
    }
    return value.toString();
}

bool IsPasswordField(int index) {
    return index == 0 || index == 1;
}

}  // namespace

CSettingView::CSettingView(const SPageContext& context, QWidget* parent)
    : CBaseView(context, PageKind::GeneralSettings, kControls, kLayout, parent) {
    for (int id : {int(Id::kPassword), int(Id::kConfirm)}) {
        auto* edit = ControlAs<QLineEdit>(id);
        edit->setEchoMode(QLineEdit::Password);
        edit->setMaxLength(kPasswordLength);
        edit->setValidator(new QRegularExpressionValidator(
            QRegularExpression(QStringLiteral("[0-9]{0,%1}").arg(kPasswordLength)), edit));
        // The main window copies and pastes in no field that carries this.
        edit->setProperty("vesk_password", true);
        edit->setContextMenuPolicy(Qt::NoContextMenu);
        edit->setDragEnabled(false);
    }
    ControlAs<QLineEdit>(Id::kPowerUp)->setMaxLength(kPowerUpLength);
    ControlAs<QLineEdit>(Id::kStationId)->setMaxLength(kStationIdLength);
    for (const auto& [id, digits] : {std::pair{int(Id::kHangTime), kHangTimeDigits},
                                     {int(Id::kLowBattery), kLowBatteryDigits}}) {
        auto* edit = ControlAs<QLineEdit>(id);
        edit->setMaxLength(digits);
        // A key that is no digit never reaches the text, so the caret stays where it was.
        edit->setValidator(
            new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), edit));
    }
    for (std::size_t i = 0; i < kFieldCount; ++i) {
        const EField field = EField(i);
        connect(Edit(field), &QLineEdit::textEdited, this, [this, field] { OnTextEdited(field); });
    }
    connect(ControlAs<QComboBox>(Id::kBacklight), &QComboBox::currentIndexChanged, this,
            &CSettingView::OnBacklightChosen);
}

QLineEdit* CSettingView::Edit(EField field) const {
    return ControlAs<QLineEdit>(kFieldIds[std::size_t(field)]);
}

CSettingView::EField CSettingView::FieldOf(const QObject* object) const {
    for (std::size_t i = 0; i < kFieldCount; ++i) {
        if (object == Control(kFieldIds[i])) {
            return EField(i);
        }
    }
    return EField::Count;
}

CDataItem CSettingView::Setting() {
    return RootItem().GetChildByName(QStringLiteral("setting"));
}

CDataItem CSettingView::Limit() {
    return RootItem().GetChildByName(QStringLiteral("limit"));
}

QVariant CSettingView::Read(const char* element, const char* attribute) {
    try {
        return RootItem()
            .GetChildByName(QString::fromLatin1(element))
            .GetAttributeValue(QString::fromLatin1(attribute));
    } catch (const CVeskCPSException& error) {
        ShowModelException(Context().prompt, error);
        return QVariant(0);
    }
}

bool CSettingView::Write(CDataItem element, const QString& attribute, const QVariant& value) {
    try {
        if (element.AttributeText(attribute) == StoredForm(value)) {
            return true;
        }
        if (!element.SetAttributeValue(attribute, value, EConfirmation::Unconfirmed).IsAccepted()) {
            return false;
        }
    } catch (const CVeskCPSException&) {
        // The caller's message says what the field takes; the profile is as the rules left it.
        return false;
    }
    Context().document.SetModified(true);
    if (Context().profileChanged) {
        Context().profileChanged();
    }
    return true;
}

void CSettingView::LoadRes() {
    const QString off = T(kTextOff);
    ControlAs<QComboBox>(Id::kBacklight)
        ->addItems({off, QString::number(kBacklightStep), QString::number(2 * kBacklightStep)});
    ControlAs<QComboBox>(Id::kTimeout)
        ->addItems({QString::number(kTimeoutStep), QString::number(2 * kTimeoutStep),
                    QString::number(3 * kTimeoutStep)});
    ControlAs<QComboBox>(Id::kReverseBurst)
        ->addItems({QStringLiteral("180"), QStringLiteral("240")});
    ControlAs<QComboBox>(Id::kBatteryType)->addItems({T(kTextAlkaline), T(kTextNickel)});
    ControlAs<QComboBox>(Id::kIdMode)
        ->addItems({T(kTextDisable), T(kText15Min), T(kText30Min), T(kTextAfterConversation)});
    ControlAs<QComboBox>(Id::kAlertTone)
        ->addItems({T(kTextDisable), T(kText15Min), T(kText30Min), T(kText45Min), T(kText60Min)});
    // A list the load step does not fill (its row is hidden) shows no value rather than its first.
    for (int id : {int(Id::kBacklight), int(Id::kTimeout), int(Id::kReverseBurst),
                   int(Id::kBatteryType), int(Id::kIdMode), int(Id::kAlertTone)}) {
        const QSignalBlocker blocker(Control(id));
        ControlAs<QComboBox>(id)->setCurrentIndex(-1);
    }
}

void CSettingView::HideRow(int label, int control) {
    Control(label)->hide();
    Control(control)->hide();
    if (control == Id::kBatteryType) {
        Control(Id::kBatteryFrame)->hide();
    }
}

void CSettingView::HideByLimits() {
    for (const SLimitRow& row : kLimitRows) {
        const bool set = Read("limit", row.limit).toInt() != 0;
        if (set == row.hiddenWhenSet) {
            HideRow(row.label, row.control);
        }
    }
    // The repeater's own settings are not part of the radio's memory, so a repeater profile read
    // from a radio lacks them: a row without its attribute has nothing to show or to change.
    CDataItem setting = Setting();
    CDataItem limit = Limit();
    for (const SValueRow& row : kValueRows) {
        const CDataItem& element = qstrcmp(row.element, "limit") == 0 ? limit : setting;
        if (!element.HasAttribute(QString::fromLatin1(row.attribute))) {
            HideRow(row.label, row.control);
        }
    }
}

void CSettingView::AddBindings() {
    CDataItem setting = Setting();
    CDataItem limit = Limit();
    Bindings().Clear();
    auto row = [this](int id, const CDataItem& element, const char* attribute,
                      SConversion conversion) {
        Bindings().Add({id, element, QString::fromLatin1(attribute), std::move(conversion),
                        ECommitMoment::OnChange, kMsgInvalidValue});
    };
    row(Id::kLeds, setting, "disableLED", binding::Check());
    row(Id::kFactoryReset, setting, "disableRestoreFactoryDefault", binding::Check());
    row(Id::kProgrammingMode, limit, "programming_mode_enabled", binding::Check());
    row(Id::kBatterySave, setting, "disableBatterySave", binding::Check());
    row(Id::kCourtesyBeep, setting, "courtesy_over", binding::Check());
    row(Id::kTimeout, setting, "timeoutTimer",
        binding::Choice({kTimeoutStep, 2 * kTimeoutStep, 3 * kTimeoutStep}));
    row(Id::kReverseBurst, setting, "reverseBurst", ItemIndex(2));
    row(Id::kBatteryType, setting, "batteryType", ItemIndex(2));
    row(Id::kIdMode, setting, "rep_id_mode", ItemIndex(4));
    row(Id::kAlertTone, setting, "onbatt_alert", ItemIndex(5));
}

void CSettingView::LoadData() {
    m_loaded = false;
    try {
        HideByLimits();
        ApplyVisibleSetting(QString::fromLatin1(PageKindNames(Kind()).visibilityName));
        AddBindings();
        Bindings().LoadAll();
        LoadTextFields();
        ShowBacklight();
    } catch (CVeskCPSException& error) {
        error.PassOn(QStringLiteral("CSettingView::LoadData"));
        throw;
    }
    m_pending.fill(false);
    m_loaded = true;
}

void CSettingView::LoadTextFields() {
    for (std::size_t i = 0; i < kFieldCount; ++i) {
        // The pair shows the password only when both are there: one field alone could not be
        // confirmed.
        if (IsPasswordField(int(i)) &&
            (Edit(EField::Password)->isHidden() || Edit(EField::Confirm)->isHidden())) {
            continue;
        }
        if (!Edit(EField(i))->isHidden()) {
            RestoreField(EField(i));
        }
    }
}

void CSettingView::RestoreField(EField field) {
    const std::size_t index = std::size_t(field);
    const bool password = IsPasswordField(int(index));
    const char* attribute = password ? "password" : kFieldRules[index - 2].attribute;
    const bool integer = !password && kFieldRules[index - 2].integer;
    QLineEdit* edit = Edit(field);
    const QVariant stored = Read("setting", attribute);
    const QSignalBlocker blocker(edit);
    edit->setText(integer ? QString::number(stored.toLongLong()) : stored.toString());
    edit->setModified(false);
    Pending(field) = false;
}

void CSettingView::RestorePasswords() {
    RestoreField(EField::Password);
    RestoreField(EField::Confirm);
}

int CSettingView::BacklightItem() {
    if (!Read("setting", "backlight_enabled").toBool()) {
        return 0;
    }
    const int item = Read("setting", "backlight_timeout").toInt() / kBacklightStep;
    return item >= 0 && item <= 2 ? item : -1;
}

void CSettingView::ShowBacklight() {
    auto* list = ControlAs<QComboBox>(Id::kBacklight);
    if (list->isHidden()) {
        return;
    }
    const QSignalBlocker blocker(list);
    list->setCurrentIndex(BacklightItem());
}

void CSettingView::OnBacklightChosen(int index) {
    if (!m_loaded || index < 0) {
        return;
    }
    // One choice in the list is one step of the history, though it sets two attributes.
    CEditJournal::CGroup step(
        Context().document.Model().Journal(),
        CStringTable::Instance().Format(
            CEditHistory::kTextChange,
            {QString(ControlAs<QLabel>(Id::kBacklightLabel)->text()).remove(u'&')}));
    if (!Write(Setting(), QStringLiteral("backlight_enabled"), index != 0)) {
        Context().prompt.Show(kMsgInvalidValue);
        ShowBacklight();
        return;
    }
    const int shown = ControlAs<QComboBox>(Id::kBacklight)->currentIndex();
    if (!Write(Setting(), QStringLiteral("backlight_timeout"), qint32(kBacklightStep * shown))) {
        Context().prompt.Show(kMsgInvalidValue);
        ShowBacklight();
    }
}

void CSettingView::OnTextEdited(EField field) {
    if (!m_loaded) {
        return;
    }
    // The profile differs from its file as soon as the user types, before the text is taken.
    Context().document.SetModified(true);
    Pending(field) = true;
    if (field == EField::Password || field == EField::Confirm) {
        m_passwordArmed = true;
    }
}

void CSettingView::OnFieldLeft(EField field, QWidget* next) {
    if (field == EField::Password || field == EField::Confirm) {
        if (m_passwordArmed) {
            CheckPasswords(field, next);
        }
        return;
    }
    CommitField(field);
}

bool CSettingView::CommitField(EField field) {
    if (!Pending(field)) {
        return true;
    }
    QLineEdit* edit = Edit(field);
    if (edit->isHidden()) {
        Pending(field) = false;
        return true;
    }
    const SFieldRule& rule = kFieldRules[std::size_t(field) - 2];
    m_committing = true;
    bool accepted = false;
    if (rule.integer) {
        // An empty field holds no number; it is refused rather than taken as 0.
        bool ok = false;
        const qint32 value = edit->text().toInt(&ok);
        accepted = ok && Write(Setting(), QString::fromLatin1(rule.attribute), value);
    } else {
        accepted = Write(Setting(), QString::fromLatin1(rule.attribute), edit->text());
    }
    if (!accepted) {
        Context().prompt.Show(rule.refusal);
        RequestRefocus(field);
    }
    RestoreField(field);
    m_committing = false;
    return accepted;
}

void CSettingView::TellPasswordMessage(int messageId) {
    m_passwordArmed = false;
    Context().prompt.Show(messageId);
    m_passwordArmed = true;
}

void CSettingView::CheckPasswords(EField field, QWidget* next) {
    const EField otherField = field == EField::Password ? EField::Confirm : EField::Password;
    const QString entered = Edit(field)->text();
    const QString other = Edit(otherField)->text();
    m_committing = true;
    if (entered.isEmpty() && other.isEmpty()) {
        WritePassword(QString());
    } else if (!entered.isEmpty() && entered.size() < kPasswordLength) {
        TellPasswordMessage(kMsgPasswordLength);
        RequestRefocus(field);
    } else if (entered != other) {
        // The user is on the way to type the other one.
        if (next != Edit(otherField) && !other.isEmpty()) {
            TellPasswordMessage(kMsgPasswordMismatch);
            // Back to what the profile holds, not to empty fields: empty fields would remove the
            // password when the page is left next.
            RestorePasswords();
            RequestRefocus(EField::Password);
        }
    } else if (entered.size() == kPasswordLength && Pending(field)) {
        WritePassword(entered);
    }
    m_committing = false;
}

bool CSettingView::WritePassword(const QString& password) {
    if (Write(Setting(), QStringLiteral("password"), password)) {
        RestorePasswords();
        return true;
    }
    TellPasswordMessage(kMsgPasswordRefused);
    RestorePasswords();
    RequestRefocus(EField::Password);
    return false;
}

bool CSettingView::CanLeavePage() {
    const bool passwordPending = Pending(EField::Password) || Pending(EField::Confirm);
    if (passwordPending) {
        const QString password = Edit(EField::Password)->text();
        const QString confirmation = Edit(EField::Confirm)->text();
        m_committing = true;
        bool written = false;
        if (!password.isEmpty() && password.size() < kPasswordLength) {
            TellPasswordMessage(kMsgPasswordLength);
            RequestRefocus(EField::Password);
        } else if (!confirmation.isEmpty() && confirmation.size() < kPasswordLength) {
            TellPasswordMessage(kMsgPasswordLength);
            RequestRefocus(EField::Confirm);
        } else if (password != confirmation) {
            TellPasswordMessage(kMsgPasswordMismatch);
            RestorePasswords();
            RequestRefocus(EField::Password);
        } else {
            // Both empty: no password.
            written = WritePassword(password);
        }
        m_committing = false;
        if (!written) {
            return false;
        }
    }
    // The other fields too, so that a save never leaves typing behind that the page still shows.
    for (EField field :
         {EField::PowerUp, EField::StationId, EField::HangTime, EField::LowBattery}) {
        if (!CommitField(field)) {
            return false;
        }
    }
    return true;
}

void CSettingView::RequestRefocus(EField field) {
    m_focusTarget = field;
    // After the message and the focus change that ended the edit are over.
    QMetaObject::invokeMethod(
        this, [this] { Refocus(); }, Qt::QueuedConnection);
}

void CSettingView::Refocus() {
    if (m_focusTarget == EField::Count) {
        return;
    }
    QLineEdit* edit = Edit(m_focusTarget);
    m_focusTarget = EField::Count;
    if (edit->isHidden()) {
        return;
    }
    activateWindow();
    edit->setFocus(Qt::OtherFocusReason);
    edit->selectAll();
    ensureWidgetVisible(edit);
}

bool CSettingView::eventFilter(QObject* watched, QEvent* event) {
    const EField field = FieldOf(watched);
    if (field != EField::Count) {
        auto* edit = static_cast<QLineEdit*>(watched);
        const bool password = field == EField::Password || field == EField::Confirm;
        if (event->type() == QEvent::FocusOut && m_loaded && !m_committing) {
            // Focus that moves to another control of the page commits; focus that leaves the page
            // (for the tree, which asks through CanLeavePage, or another window) does not.
            QWidget* next = QApplication::focusWidget();
            if (next != nullptr && next != edit && isAncestorOf(next)) {
                OnFieldLeft(field, next);
            }
        } else if (event->type() == QEvent::KeyPress) {
            auto* key = static_cast<QKeyEvent*>(event);
            if (password && (key->matches(QKeySequence::Cut) || key->matches(QKeySequence::Copy))) {
                // A password field gives nothing away, and Cut does not even delete.
                return true;
            }
            if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
                if (password) {
                    // On to the other field, as Tab goes: Enter in the first field is no mismatch.
                    focusNextChild();
                } else {
                    CommitField(field);
                }
                return true;
            }
            if (key->key() == Qt::Key_Escape && Pending(field)) {
                if (password) {
                    RestorePasswords();
                } else {
                    RestoreField(field);
                }
                return true;
            }
        }
    }
    return CBaseView::eventFilter(watched, event);
}
