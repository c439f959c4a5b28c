#pragma once

// The differences between two profiles as a dealer reads them: by setting name, and by channel,
// frequency or preset number, never by XML path. Shared by veskctl diff and the desktop program.

#include <optional>
#include <vector>

#include <QString>

class CDataItem;

struct SProfileDifference {
    // "channel 3", "frequency 12", "setting", "setting / preset 2": where the setting lives.
    QString place;
    // The attribute's name; empty when a whole record is in one profile only.
    QString setting;
    // The values as a dealer reads them (frequencies in MHz); nothing where that side lacks it.
    std::optional<QString> left;
    std::optional<QString> right;
};

// Every difference between the profiles under `left` and `right` (root items), in document
// order. Records of a list are compared by their number, so a frequency deleted from the middle
// shows as changed entries after it and one entry fewer at the end, as a radio holds them.
std::vector<SProfileDifference> DiffProfiles(const CDataItem& left, const CDataItem& right);

// One difference as a line: "channel 3 name: CH 03 -> BASE", "frequency 17: only in the second".
QString DescribeDifference(const SProfileDifference& difference, const QString& leftName,
                           const QString& rightName);
