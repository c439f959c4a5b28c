#pragma once

// The Buttons page: which feature each programmable button carries, the keypad lock, and the
// settings that belong to a feature (scramble button mode, call tone, the two preset channels),
// shown beside the button that carries it; with a picture of the radio. The features a button may
// carry come from the button list document, for the installation's region, the model's display
// class and its limits; every change goes through the profile's rules, which keep one feature on
// one button.

#include <array>
#include <functional>
#include <memory>
#include <vector>

#include "editor/base_view.h"
#include "model/settings_documents.h"

class QComboBox;
class QSvgRenderer;

class CButtonsView : public CBaseView {
    Q_OBJECT

public:
    enum ControlId : int {
        kTitle = 1075,
        kFeatureCaption = 1004,
        kPicture = 1058,
        kKeypadLockLabel = 1054,
        kKeypadLock = 1038,
        kSide1Label = 1009,
        kSide1 = 1001,
        kSide2Label = 1010,
        kSide2 = 1002,
        kButtonALabel = 1011,
        kButtonA = 1003,
        kButtonBLabel = 1012,
        kButtonB = 1005,
        kButtonCLabel = 1013,
        kButtonC = 1006,
        kScrambleLabel = 1016,
        kScramble = 1017,
        kCallToneLabel = 1029,
        kCallTone = 1030,
        kPreset1Label = 1014,
        kPreset1 = 1007,
        kPreset2Label = 1015,
        kPreset2 = 1008,
        kReset = 1041,
    };

    static constexpr int kMsgFilesMissing = 315;
    static constexpr int kMsgInvalidValue = 261;
    static constexpr int kMsgResetQuestion = 213;
    static constexpr int kMsgFeatureTaken = 281;
    static constexpr int kMsgPresetRefused = 282;

    // The feature values the page knows by number.
    static constexpr int kCallToneFeature = 3;
    static constexpr int kPreset1Feature = 9;
    static constexpr int kPreset2Feature = 10;
    static constexpr int kScrambleFeature = 12;

    explicit CButtonsView(const SPageContext& context, QWidget* parent = nullptr);
    ~CButtonsView() override;

    // The picture shown in the frame, for tests and the accessibility walk; null when none could
    // be read.
    const QSvgRenderer* Picture() const { return m_picture.get(); }

protected:
    void LoadRes() override;
    void LoadData() override;

private:
    // A button combo box and the companion row it shows beside it (ids, 0 for none).
    struct SSlot {
        int button;
        const char* attribute;
        int shownLabel = 0;
        int shownCombo = 0;
    };

    CDataItem Setting();
    CDataItem Limit();
    QVariant GetAttribute(const QString& element, const QString& attribute);
    bool SetDataValue(const QString& attribute, qint32 value);
    // Writes one attribute through the rules; true when the profile holds the value afterwards.
    bool WriteItem(CDataItem item, const QString& attribute, qint32 value, const char* operation);
    // A setting written as the user chose it; a refusal says 261 and puts the control back.
    void WriteOrRestore(const QString& attribute, qint32 value,
                        const std::function<void()>& restore);
    bool SetPreButtonValue(int index, qint32 channel);
    qint16 GetDependValue(const QString& name);
    qint16 GetKeyLockValue();
    qint32 GetMaxPreButtons();

    void LoadButtonLists();
    void AddFunctionList(QComboBox* combo, const std::vector<SButtonFunction>& list, bool limited);
    void SelectButtonFunction(QComboBox* combo, const char* attribute);
    qint32 FindFunctionValue(const QString& name, bool commonOnly) const;
    void ShowCompanionControls(SSlot& slot);
    void RefreshButtonCombos();
    bool IsDefaultAssignment();
    void ResetButtons();
    void AddPreComboList(QComboBox* combo);
    void SetPreComboSel(QComboBox* combo, int index);
    int FindChannelItem(int channelIndex, QComboBox* combo);
    int GetSelectedChannelIndex(int item, QComboBox* combo);
    int EnabledChannelCount();
    void SelectScramble();
    void SelectCallTone();
    // Tab order as the rows are seen, after a companion row moved beside its button.
    void OrderTabs();

    void OnButtonChosen(std::size_t slot);
    void OnKeypadLockClicked(bool checked);
    void OnScrambleChosen(int index);
    void OnCallToneChosen(int index);
    void OnPresetChosen(int preset);
    void OnResetClicked();

    std::vector<SButtonFunction> m_common;
    std::vector<SButtonFunction> m_model;
    std::vector<SButtonFunction> m_presets;
    qint32 m_maxCallTones = 0;
    qint32 m_maxPresetButtons = 0;
    std::array<SSlot, 5> m_slots;
    // Companion rows the visible settings leave on this page.
    std::vector<int> m_enabledCompanions;
    std::unique_ptr<QSvgRenderer> m_picture;
    // Programmatic selections are no choices of the user's.
    bool m_loaded = false;
};
