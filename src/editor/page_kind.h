#pragma once

// The page kinds of the editor: the number a tree item carries (in the low half of its data)
// selects the page class, the page's key in the help map and its key in the visible settings.

#include <optional>

#include <QtGlobal>

enum class PageKind : quint16 {
    RadioInfo = 0,
    GeneralSettings = 1,
    AudioSettings = 2,
    Buttons = 3,
    RFFrequency = 4,
    Channels = 5,
    Channel = 6,
    ScanList = 7,
    CustomizedKT = 8,
    CustomizedVRC = 9,
};

struct SPageKindNames {
    PageKind kind;
    const char* pageClass;
    const char* helpName;        // the page's element in HelpPanMap.stv
    const char* visibilityName;  // the page's element in VisibleSetting.stv
};

inline constexpr SPageKindNames kPageKinds[] = {
    {PageKind::RadioInfo, "CRadioInfoView", "RadioInfo", "RadioProfile"},
    {PageKind::GeneralSettings, "CSettingView", "GeneralSettings", "Settings"},
    {PageKind::AudioSettings, "CAudioSettingView", "AudioSettings", "AudioSettings"},
    {PageKind::Buttons, "CButtonsView", "Buttons", "Buttons"},
    {PageKind::RFFrequency, "CFrequencyView", "RFFrequency", "Frequency"},
    {PageKind::Channels, "CChannelsView", "Channels", "Channels"},
    {PageKind::Channel, "CChannelView", "Channel", "Channel"},
    {PageKind::ScanList, "CScanView", "ScanList", "ScanList"},
    {PageKind::CustomizedKT, "CCustomizedKTView", "CustomizedKT", "CustomizedKT"},
    {PageKind::CustomizedVRC, "CCustomizedVRCView", "CustomizedVRC", "CustomizedVRC"},
};

// The names of a page kind; nothing for a number that selects no page (a switch to it is
// refused).
inline std::optional<SPageKindNames> PageKindNames(int kind) {
    for (const SPageKindNames& names : kPageKinds) {
        if (static_cast<int>(names.kind) == kind) {
            return names;
        }
    }
    return std::nullopt;
}

inline const SPageKindNames& PageKindNames(PageKind kind) {
    return kPageKinds[static_cast<int>(kind)];
}
