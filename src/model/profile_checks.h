#pragma once

// Whole-profile predicates and checks that several parts of the program share: the model kind,
// the channel count, the squelch code capacity, the band edges, and the regional bandwidth rules.

#include <optional>

#include "model/data_item.h"

class IUserPrompt;

namespace profile_checks {

inline constexpr int kMsgOutOfRange = 511;
inline constexpr int kMsgNarrowbandEnforced = 536;
inline constexpr int kMsgFrequencyCountCorrected = 538;

// The model string's third character is "D" (any case).
bool IsDisplayModel(const CDataItem& profile);
// The model string ends in the repeater region codes "70" or "73".
bool IsRepeaterModel(const CDataItem& profile);
// The region code: the last two characters of the model string.
QString RegionCode(const CDataItem& profile);

// Channels in use (below numberChannels) that are not disabled.
int GetEnabledChannelCount(const CDataItem& profile);
// Every channel in use has receive and transmit codes of at most `highestCode`.
bool CheckChannelCodes(const CDataItem& profile, quint32 highestCode);
// Every channel in use has its transmit and receive frequencies within the band edges, both
// included. A channel pointing past the frequency table is out of range too.
bool CheckChannelFrequencyRange(const CDataItem& profile);
// Regions under a narrowband mandate ("00", "04", "70") lose every 25 kHz setting; message 536 is
// shown once when anything changed. True when something changed.
bool EnforceNarrowband(CDataItem& profile, IUserPrompt& prompt);
// Frequencies of bandwidth code 1 have their compander switched off.
void ResetCompander(CDataItem& profile);
// The frequency count of the limits is how many frequency records a write sends, so it is set to
// the number of entries in the frequency table. The new count when it disagreed; nothing when it
// agreed or the profile lacks either element.
std::optional<int> CorrectFrequencyCount(const CDataItem& profile);

}  // namespace profile_checks
