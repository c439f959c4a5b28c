#pragma once

// The Radio Information page: what the profile records about its radio, read-only.

#include "editor/base_view.h"

class CRadioInfoView : public CBaseView {
    Q_OBJECT

public:
    enum ControlId {
        kTitle = 1013,
        kRegionalCodeLabel = 1001,
        kRegionalCode = 1066,
        kSerialNumberLabel = 1002,
        kSerialNumber = 1011,
        kFirmwareVersionLabel = 1003,
        kFirmwareVersion = 1012,
        kCodeplugVersionLabel = 1004,
        kCodeplugVersion = 1014,
        kFrequencyRangeLabel = 1005,
        kFrequencyRange = 1015,
        kRxFrequencyRangeLabel = 1008,
        kRxFrequencyRange = 1018,
        kTxFrequencyRangeLabel = 1007,
        kTxFrequencyRange = 1017,
        kMaximumChannelLabel = 1006,
        kMaximumChannel = 1016,
    };

    explicit CRadioInfoView(const SPageContext& context, QWidget* parent = nullptr);

protected:
    void LoadData() override;
};
