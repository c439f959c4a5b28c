#pragma once

// The General Settings page: the codeplug password and its confirmation, the power-up text,
// lights, factory-default protection, programming mode, battery options, back light, transmit
// timeout, reverse burst and, for a repeater, its station ID, ID mode, hang time, low-battery
// transmission, battery alert tone and courtesy beep. Check boxes and lists are written as soon
// as they change; text fields when the focus moves to another control of the page, and when the
// profile is saved or the page left.

#include <array>

#include "editor/base_view.h"

class QLineEdit;

class CSettingView : public CBaseView {
    Q_OBJECT

public:
    enum ControlId : int {
        kTitle = 1048,
        kPasswordLabel = 1050,
        kPassword = 1059,
        kConfirmLabel = 1051,
        kConfirm = 1002,
        kPowerUpLabel = 1052,
        kPowerUp = 1003,
        kStationIdLabel = 1054,
        kStationId = 1004,
        kIdModeLabel = 1058,
        kIdMode = 1061,
        kLedsLabel = 1053,
        kLeds = 1037,
        kFactoryResetLabel = 1055,
        kFactoryReset = 1039,
        kProgrammingModeLabel = 1057,
        kProgrammingMode = 1041,
        kBatterySaveLabel = 1024,
        kBatterySave = 1040,
        kBacklightLabel = 1056,
        kBacklight = 1060,
        kHangTimeLabel = 1062,
        kHangTime = 1005,
        kLowBatteryLabel = 1066,
        kLowBattery = 1006,
        kAlertToneLabel = 1064,
        kAlertTone = 1063,
        kCourtesyBeepLabel = 1065,
        kCourtesyBeep = 1038,
        kTimeoutLabel = 1016,
        kTimeout = 1026,
        kReverseBurstLabel = 1018,
        kReverseBurst = 1028,
        kBatteryFrame = 1049,
        kBatteryTypeLabel = 1019,
        kBatteryType = 1029,
    };

    static constexpr int kMsgInvalidValue = 261;
    static constexpr int kMsgPasswordLength = 212;
    static constexpr int kMsgPasswordMismatch = 228;
    static constexpr int kMsgPasswordRefused = 327;
    static constexpr int kMsgPowerUpText = 280;
    static constexpr int kMsgStationId = 491;
    static constexpr int kMsgHangTime = 492;
    static constexpr int kMsgLowBattery = 506;

    static constexpr int kPasswordLength = 4;

    explicit CSettingView(const SPageContext& context, QWidget* parent = nullptr);

    // Commits every field with typing not yet committed; false, with the user back in the field,
    // when one is refused.
    bool CanLeavePage() override;

protected:
    void LoadRes() override;
    void LoadData() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The text fields in the order their pending edits are kept and committed.
    enum class EField { Password, Confirm, PowerUp, StationId, HangTime, LowBattery, Count };
    static constexpr std::size_t kFieldCount = std::size_t(EField::Count);

    QLineEdit* Edit(EField field) const;
    // The field a control is, or EField::Count.
    EField FieldOf(const QObject* object) const;
    bool& Pending(EField field) { return m_pending[std::size_t(field)]; }

    CDataItem Setting();
    CDataItem Limit();
    // An attribute of `setting` or `limit`; when the profile cannot be read, the user hears why
    // and the value is taken as 0.
    QVariant Read(const char* element, const char* attribute);
    // Writes one attribute as the user's change. True when the profile holds the value
    // afterwards; a refusal or a failure of the profile gives false and tells nothing: the caller
    // says what the field accepts.
    bool Write(CDataItem element, const QString& attribute, const QVariant& value);

    void HideByLimits();
    void HideRow(int label, int control);
    void AddBindings();
    void LoadTextFields();
    // Shows what the profile holds in a field and forgets its typing.
    void RestoreField(EField field);
    void RestorePasswords();
    int BacklightItem();
    void ShowBacklight();
    void OnBacklightChosen(int index);

    void OnTextEdited(EField field);
    // A field lost the focus to `next` (a control of the page, or nothing when it left the page).
    void OnFieldLeft(EField field, QWidget* next);
    // Writes one of power-up text, station ID, hang time and low battery when it has typing;
    // on refusal its message, the profile's value back, and the user back in the field.
    bool CommitField(EField field);
    // The password pair as the focus leaves `field` for `next`.
    void CheckPasswords(EField field, QWidget* next);
    bool WritePassword(const QString& password);
    // Tells `messageId` with the password check held off.
    void TellPasswordMessage(int messageId);
    void RequestRefocus(EField field);
    void Refocus();

    std::array<bool, kFieldCount> m_pending{};
    bool m_loaded = false;
    bool m_passwordArmed = false;
    EField m_focusTarget = EField::Count;
    // A write and its message may move the focus; that is no second leaving of the field.
    bool m_committing = false;
};
