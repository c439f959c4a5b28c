#include "editor/audio_setting_view.h"

#include <array>

#include <QComboBox>

#include "model/profile_document.h"
#include "platform/string_table.h"
#include "platform/vesk_cps_exception.h"

namespace {

using Id = CAudioSettingView::ControlId;

constexpr int kTextTitle = 172;
constexpr int kTextLow = 777;
constexpr int kTextMedium = 778;
constexpr int kTextHigh = 779;
constexpr int kTextOff = 780;
constexpr int kTextEnglish = 781;
constexpr int kTextFrench = 782;
constexpr int kTextSpanish = 783;

constexpr int kLabelLeft = 25;
constexpr int kLabelWidth = 230;
constexpr int kValueLeft = 265;
constexpr int kValueWidth = 170;
constexpr int kRowHeight = 24;

constexpr int RowTop(int row) {
    return 60 + 36 * row;
}

constexpr SControlTemplate Label(int id, int row, int text, int buddy) {
    return {id, EControlKind::Label, QRect(kLabelLeft, RowTop(row), kLabelWidth, kRowHeight), text,
            buddy};
}

constexpr SControlTemplate Value(int id, int row, EControlKind kind) {
    const int width = kind == EControlKind::Check ? kRowHeight : kValueWidth;
    return {id, kind, QRect(kValueLeft, RowTop(row), width, kRowHeight), 0, 0};
}

constexpr SControlTemplate kControls[] = {
    {Id::kTitle, EControlKind::Bar, QRect(15, 15, 430, 28), kTextTitle, 0},
    Label(Id::kMicrophoneGainLabel, 0, 770, Id::kMicrophoneGain),
    Value(Id::kMicrophoneGain, 0, EControlKind::Choice),
    Label(Id::kAccessoryGainLabel, 1, 771, Id::kAccessoryGain),
    Value(Id::kAccessoryGain, 1, EControlKind::Choice),
    Label(Id::kVoxLevelLabel, 2, 772, Id::kVoxLevel),
    Value(Id::kVoxLevel, 2, EControlKind::Choice),
    Label(Id::kIvoxLevelLabel, 3, 773, Id::kIvoxLevel),
    Value(Id::kIvoxLevel, 3, EControlKind::Choice),
    Label(Id::kLanguageLabel, 4, 774, Id::kLanguage),
    Value(Id::kLanguage, 4, EControlKind::Choice),
    Label(Id::kRogerBeepLabel, 5, 775, Id::kRogerBeep),
    Value(Id::kRogerBeep, 5, EControlKind::Check),
    Label(Id::kKeypadBeepLabel, 6, 776, Id::kKeypadBeep),
    Value(Id::kKeypadBeep, 6, EControlKind::Check),
};

constexpr SLayoutEntry Row(int id) {
    return {id, ELayoutStyle::Plain, ELayoutColumn::Full, 0};
}

constexpr SLayoutEntry kLayout[] = {
    {Id::kTitle, ELayoutStyle::Title, ELayoutColumn::Full, 0},
    Row(Id::kMicrophoneGainLabel),
    Row(Id::kMicrophoneGain),
    Row(Id::kAccessoryGainLabel),
    Row(Id::kAccessoryGain),
    Row(Id::kVoxLevelLabel),
    Row(Id::kVoxLevel),
    Row(Id::kIvoxLevelLabel),
    Row(Id::kIvoxLevel),
    Row(Id::kLanguageLabel),
    Row(Id::kLanguage),
    Row(Id::kRogerBeepLabel),
    Row(Id::kRogerBeep),
    Row(Id::kKeypadBeepLabel),
    Row(Id::kKeypadBeep),
    {0, ELayoutStyle::Plain, ELayoutColumn::Full, 0},
};

// The announcement languages by item: the radio's voice chip knows them by these numbers, and 7
// silences it.
constexpr std::array<int, 4> kLanguageValues = {0, 1, 2, 7};

// A stored number the chip does not know is announced in English, and so shown; no selection is
// English as well.
SConversion Language() {
    return {[](const CDataItem& element, const QString& attribute) {
                const int stored = element.GetAttributeValue(attribute).toInt();
                for (std::size_t i = 1; i < kLanguageValues.size(); ++i) {
                    if (kLanguageValues[i] == stored) {
                        return QVariant(int(i));
                    }
                }
                return QVariant(0);
            },
            [](const QVariant& shown) -> std::optional<QVariant> {
                const int index = shown.toInt();
                if (index < 0 || index >= int(kLanguageValues.size())) {
                    return QVariant(kLanguageValues[0]);
                }
                return QVariant(kLanguageValues[std::size_t(index)]);
            }};
}

QList<QVariant> Numbers(int count) {
    QList<QVariant> values;
    for (int i = 0; i < count; ++i) {
        values << i;
    }
    return values;
}

QString T(int id) {
    return CStringTable::Instance().Text(id);
}

}  // namespace

CAudioSettingView::CAudioSettingView(const SPageContext& context, QWidget* parent)
    : CBaseView(context, PageKind::AudioSettings, kControls, kLayout, parent) {}

void CAudioSettingView::LoadRes() {
    const QStringList levels{T(kTextLow), T(kTextMedium), T(kTextHigh)};
    for (int id : {int(Id::kMicrophoneGain), int(Id::kAccessoryGain), int(Id::kIvoxLevel)}) {
        ControlAs<QComboBox>(id)->addItems(levels);
    }
    ControlAs<QComboBox>(Id::kVoxLevel)->addItems(levels + QStringList{T(kTextOff)});
    ControlAs<QComboBox>(Id::kLanguage)
        ->addItems({T(kTextEnglish), T(kTextFrench), T(kTextSpanish), T(kTextOff)});
}

void CAudioSettingView::HideRowsByLimits() {
    struct SLimitRow {
        const char* limit;
        bool hiddenWhenSet;
        int label;
        int value;
    };
    static constexpr SLimitRow kRows[] = {
        {"disable_vox_feature", true, Id::kVoxLevelLabel, Id::kVoxLevel},
        {"disable_ivox_feature", true, Id::kIvoxLevelLabel, Id::kIvoxLevel},
        {"disable_roger_beep_feature", true, Id::kRogerBeepLabel, Id::kRogerBeep},
        {"disable_keypad_beep_feature", true, Id::kKeypadBeepLabel, Id::kKeypadBeep},
        {"voice_chip_enable", false, Id::kLanguageLabel, Id::kLanguage},
    };
    const CDataItem limit = RootItem().GetChildByName(QStringLiteral("limit"));
    for (const SLimitRow& row : kRows) {
        const bool set = limit.GetAttributeValue(QString::fromLatin1(row.limit)).toInt() != 0;
        if (set == row.hiddenWhenSet) {
            Control(row.label)->hide();
            Control(row.value)->hide();
        }
    }
}

void CAudioSettingView::LoadData() {
    try {
        const CDataItem setting = RootItem().GetChildByName(QStringLiteral("setting"));
        auto row = [&](int id, const char* attribute, SConversion conversion) {
            Bindings().Add({id, setting, QString::fromLatin1(attribute), std::move(conversion),
                            ECommitMoment::OnChange, kMsgInvalidValue});
        };
        Bindings().Clear();
        row(kMicrophoneGain, "microphoneGain", binding::Choice(Numbers(3)));
        row(kAccessoryGain, "accessoryMicrophoneGain", binding::Choice(Numbers(3)));
        row(kVoxLevel, "vox_level", binding::Choice(Numbers(4)));
        row(kIvoxLevel, "ivol_level", binding::Choice(Numbers(3)));
        row(kLanguage, "voice_language", Language());
        row(kRogerBeep, "rogerBeepTone", binding::Check());
        row(kKeypadBeep, "keypadBeep", binding::Check());

        // Hidden first: a row the model does not have is never read, so its attribute may be
        // missing from the profile.
        HideRowsByLimits();
        ApplyVisibleSetting(QString::fromLatin1(PageKindNames(Kind()).visibilityName));
    } catch (CVeskCPSException& error) {
        error.PassOn(QStringLiteral("CAudioSettingView::LoadData"));
        throw;
    }
    // A value that cannot be read is told and leaves its control as it was; the others fill.
    for (const SBindingRow& row : Bindings().Rows()) {
        if (Control(row.controlId)->isHidden()) {
            continue;
        }
        try {
            Bindings().Load(row.controlId);
        } catch (const CVeskCPSException& error) {
            ShowModelException(Context().prompt, error);
        }
    }
}
