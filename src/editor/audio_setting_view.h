#pragma once

// The Audio Settings page: microphone gains, VOX and iVOX levels, the channel announcement
// language, roger beep and keypad beep. Every change is written as soon as it is made; rows the
// model's limits switch off are hidden and never written.

#include "editor/base_view.h"

class CAudioSettingView : public CBaseView {
    Q_OBJECT

public:
    enum ControlId : int {
        kTitle = 1019,
        kMicrophoneGainLabel = 1020,
        kMicrophoneGain = 1025,
        kAccessoryGainLabel = 1021,
        kAccessoryGain = 1026,
        kVoxLevelLabel = 1022,
        kVoxLevel = 1027,
        kIvoxLevelLabel = 1023,
        kIvoxLevel = 1028,
        kLanguageLabel = 1029,
        kLanguage = 1030,
        kRogerBeepLabel = 1024,
        kRogerBeep = 1017,
        kKeypadBeepLabel = 1014,
        kKeypadBeep = 1018,
    };

    static constexpr int kMsgInvalidValue = 261;

    explicit CAudioSettingView(const SPageContext& context, QWidget* parent = nullptr);

protected:
    void LoadRes() override;
    void LoadData() override;

private:
    void HideRowsByLimits();
};
