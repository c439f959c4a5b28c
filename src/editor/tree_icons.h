#pragma once

#include <QIcon>
#include <QList>

// The navigation tree's pictures, drawn by the program itself so that they are sharp at every
// scaling: the root (the radio), the five fixed pages, one numbered icon per channel in an
// enabled and a disabled form, and scan list, customized KT and customized VRC.
namespace tree_icons {

inline constexpr int kWidth = 25;
inline constexpr int kHeight = 20;
inline constexpr int kChannelIcons = 19;

enum class ENode {
    Root,
    GeneralSettings,
    AudioSettings,
    Buttons,
    RfFrequency,
    Channels,
    ScanList,
    CustomizedKT,
    CustomizedVRC
};

QIcon NodeIcon(ENode node);
// Channel number n = 1 .. 19; none beyond.
QIcon ChannelIcon(int number, bool disabled);

}  // namespace tree_icons
