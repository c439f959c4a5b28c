#pragma once

// The page of one channel: its name, whether it is switched off, receive and transmit frequency
// (chosen from the RF frequency table), bandwidths, powers, squelch codes, scramble, repeater or
// talkaround operation and the scans. Every change is written at once through the profile's
// rules; the page keeps the dependent values consistent (a frequency brings its bandwidth and
// power, repeater operation needs two different frequencies).

#include <QVariant>

#include "editor/base_view.h"

class QComboBox;

class CChannelView : public CBaseView {
    Q_OBJECT

public:
    enum ControlId : int {
        kTitle = 1058,
        kNameLabel = 1009,
        kName = 1085,
        kDisableLabel = 1010,
        kDisable = 1032,
        kRxHeader = 1111,
        kRxFrame = 1114,
        kRxFrequencyLabel = 1003,
        kRxFrequency = 1016,
        kRxBandwidthLabel = 1004,
        kRxBandwidth = 1018,
        kRxNote = 1086,
        kTalkaroundPowerLabel = 1031,
        kTalkaroundPower = 1028,
        kRxCodeLabel = 1008,
        kRxCode = 1019,
        kTxHeader = 1113,
        kTxFrame = 1115,
        kTxFrequencyLabel = 1025,
        kTxFrequency = 1017,
        kTxBandwidthLabel = 1026,
        kTxBandwidth = 1020,
        kTxNote = 1087,
        kRepeaterPowerLabel = 1030,
        kRepeaterPower = 1021,
        kTxCodeLabel = 1029,
        kTxCode = 1022,
        kScrambleLabel = 1005,
        kScramble = 1023,
        kRepeaterLabel = 1006,
        kRepeater = 1024,
        kTalkaroundNote = 1076,
        kTalkaroundScanLabel = 1011,
        kTalkaroundScan = 1033,
        kAutoScanLabel = 1007,
        kAutoScan = 1027,
    };

    static constexpr int kMsgSameFrequency = 514;
    static constexpr int kMsgPresetChannel = 534;
    static constexpr int kTextOutOfRange = 510;
    static constexpr int kNameLength = 8;

    explicit CChannelView(const SPageContext& context, QWidget* parent = nullptr);

    int ChannelIndex() const { return m_channel; }

    bool CanLeavePage() override;
    int FocusNameEdit() override;
    void OnUpdate(quint32 hint) override;

protected:
    void LoadRes() override;
    void LoadData() override;
    void OnInitialUpdate() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum class ESide { Receive, Transmit };

    CDataItem Channel() const;
    CDataItem Limit() const;
    CDataItem Setting() const;
    QVariant GetAttribute(const QString& name) const;
    bool ChannelFlag(const char* name) const;
    int ChannelInt(const char* name) const;
    int LimitInt(const char* name) const;
    // The "bandwidth" or "power_level" code of a frequency table entry; -1 when there is none.
    int EntryCode(int frequencyIndex, const char* name) const;

    // Writes one attribute of the channel as the user's change: nothing when it already holds
    // the value; a refusal is told. True when the channel holds the value afterwards.
    bool WriteAttribute(const QString& name, const QVariant& value);

    void AddComboListFreq(QComboBox* list, quint32 start, quint32 end);
    void AddComboListVRCCode(QComboBox* list);
    void SetRXandTXData();
    void SetDefaultValue();
    void SetEnableDisable(bool applyDisabled);
    void EnableTransmitSide(bool repeaterOn);
    void UpdateRepeaterEnabling();
    void ShowName();

    QComboBox* List(int id) const;
    // The position of a frequency table index in a frequency list, -1 when it is not listed.
    static int PositionOf(const QComboBox* list, int frequencyIndex);
    static bool IsOutOfRangeItem(const QComboBox* list, int position);
    static void RemoveOutOfRange(QComboBox* list);
    static int ValueAt(const QComboBox* list, int position);
    // Bandwidth or power list following a frequency's entry code; true when its position changed.
    static bool FollowEntryCode(QComboBox* list, int code, bool newlyChosen);

    void OnRxFrequencyChosen(int position);
    void OnTxFrequencyChosen(int position);
    void OnFrequencyListOpening(ESide side);
    // The receive side's rules for frequency table index `index`: bandwidth and talkaround power
    // follow the entry, then the index is written.
    bool ApplyReceiveRules(int index);
    bool ApplyTransmitRules(int index);
    // Repeater operation goes off when the only transmit frequency equals the receive one.
    void CheckRepeaterSwitchOff(int index);
    // Selects the transmit item after the current one (the first after the last), applies the
    // transmit rules to it and drops "Out of range".
    void SelectNextTransmit();
    void OnRepeaterClicked(bool on);
    void OnDisableClicked(bool disabled);
    // 0: no preset button leads to the channel; 1: a preset element does; 2: and a display
    // model's button carries that preset.
    int PresetCheck(int channelIndex) const;
    void MovePresetsAway(int presetState);
    void ArrangeSingleColumn();
    bool CommitName(bool forced);
    void ReportFailure(const class CVeskCPSException& error);
    void AfterAcceptedBinding(int controlId);

    int m_channel = 0;
    quint32 m_start = 0;
    quint32 m_end = 0;
    // Programmatic changes of the lists are not the user's choices.
    bool m_loading = false;
};
