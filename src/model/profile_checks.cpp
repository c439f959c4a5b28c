#include "model/profile_checks.h"

#include "model/profile_node_access.h"
#include "platform/user_prompt.h"
#include "platform/vesk_cps_exception.h"
#include "platform/xml/xml_node.h"

namespace profile_checks {

namespace {

CDataItem Child(const CDataItem& item, const char* name) {
    CDataItem child = item.GetChildByName(QString::fromLatin1(name));
    return child;
}

QString ModelString(const CDataItem& profile, const char* operation) {
    try {
        return Child(profile, "factory_setting")
            .GetAttributeValue(QStringLiteral("model"))
            .toString();
    } catch (CVeskCPSException& e) {
        e.PassOn(QString::fromLatin1(operation));
        throw;
    }
}

int ChannelsInUse(const CDataItem& profile) {
    return Child(profile, "setting").GetAttributeValue(QStringLiteral("numberChannels")).toInt();
}

// The channels in use that exist; a profile whose count runs past its records is cut short
// rather than read out of bounds.
template <typename Visit>
bool EveryChannelInUse(const CDataItem& profile, Visit visit) {
    const CDataItem channels = Child(profile, "channels");
    const int count = std::min(ChannelsInUse(profile), channels.GetChildCount());
    for (int i = 0; i < count; ++i) {
        CDataItem channel = channels.GetChildByIndex(i);
        if (!visit(channel)) {
            return false;
        }
    }
    return true;
}

// The first child element of that name, or an empty item.
CDataItem FindChild(const CDataItem& item, const char* name) {
    for (int i = 0; i < item.GetChildCount(); ++i) {
        CDataItem child = item.GetChildByIndex(i);
        if (child.Name() == QLatin1String(name)) {
            return child;
        }
    }
    return CDataItem();
}

bool IsNarrowbandRegion(const QString& code) {
    return code == u"00" || code == u"04" || code == u"70";
}

// Writes straight into the document: these are corrections the program makes itself, not edits
// the rule script has a say in.
bool ZeroIfSet(const CDataItem& item, const char* attribute) {
    const std::optional<qint32> value =
        xml::AttributeInt32(CProfileNodeAccess::Xml(item.Node()), attribute);
    if (!value || *value == 0) {
        return false;
    }
    xml::SetAttribute(CProfileNodeAccess::Xml(item.Node()), attribute, QStringLiteral("0"));
    return true;
}

}  // namespace

bool IsDisplayModel(const CDataItem& profile) {
    const QString model = ModelString(profile, "IsDisplayModel");
    return model.size() > 2 && model.at(2).toUpper() == u'D';
}

bool IsRepeaterModel(const CDataItem& profile) {
    const QString code = ModelString(profile, "IsRepeaterModel").right(2);
    return code == u"70" || code == u"73";
}

QString RegionCode(const CDataItem& profile) {
    return ModelString(profile, "RegionCode").right(2);
}

int GetEnabledChannelCount(const CDataItem& profile) {
    int enabled = 0;
    EveryChannelInUse(profile, [&enabled](const CDataItem& channel) {
        if (!channel.GetAttributeValue(QStringLiteral("disable_channel")).toBool()) {
            ++enabled;
        }
        return true;
    });
    return enabled;
}

bool CheckChannelCodes(const CDataItem& profile, quint32 highestCode) {
    return EveryChannelInUse(profile, [highestCode](const CDataItem& channel) {
        return channel.GetAttributeValue(QStringLiteral("rx_code")).toUInt() <= highestCode &&
               channel.GetAttributeValue(QStringLiteral("tx_code")).toUInt() <= highestCode;
    });
}

bool CheckChannelFrequencyRange(const CDataItem& profile) {
    const CDataItem limit = Child(profile, "limit");
    const quint32 low = limit.GetAttributeValue(QStringLiteral("start_freq")).toUInt();
    const quint32 high = limit.GetAttributeValue(QStringLiteral("end_freq")).toUInt();
    const CDataItem frequencies = Child(profile, "frequencies");
    const auto inBand = [&](const CDataItem& channel, const char* index) {
        CDataItem entry = frequencies.GetChildByIndex(
            channel.GetAttributeValue(QString::fromLatin1(index)).toInt());
        if (entry.IsEmpty()) {
            return false;
        }
        const quint32 hz = entry.GetAttributeValue(QStringLiteral("freq")).toUInt();
        return hz >= low && hz <= high;
    };
    return EveryChannelInUse(profile, [&](const CDataItem& channel) {
        return inBand(channel, "tx_freq_ndx") && inBand(channel, "rx_freq_ndx");
    });
}

bool EnforceNarrowband(CDataItem& profile, IUserPrompt& prompt) {
    if (!IsNarrowbandRegion(RegionCode(profile))) {
        return false;
    }
    bool changed = false;
    const CDataItem frequencies = Child(profile, "frequencies");
    for (int i = 0; i < frequencies.GetChildCount(); ++i) {
        CDataItem entry = frequencies.GetChildByIndex(i);
        changed |= ZeroIfSet(entry, "bandwidth");
    }
    const CDataItem channels = Child(profile, "channels");
    for (int i = 0; i < channels.GetChildCount(); ++i) {
        CDataItem channel = channels.GetChildByIndex(i);
        changed |= ZeroIfSet(channel, "rx_bw");
        changed |= ZeroIfSet(channel, "tx_bw");
    }
    if (changed) {
        prompt.Show(kMsgNarrowbandEnforced, PromptStyle::Information);
    }
    return changed;
}

void ResetCompander(CDataItem& profile) {
    const CDataItem frequencies = Child(profile, "frequencies");
    for (int i = 0; i < frequencies.GetChildCount(); ++i) {
        CDataItem entry = frequencies.GetChildByIndex(i);
        if (xml::AttributeInt32(CProfileNodeAccess::Xml(entry.Node()), "bandwidth") == 1) {
            xml::SetAttribute(CProfileNodeAccess::Xml(entry.Node()), "compander_lle_mode",
                              QStringLiteral("0"));
        }
    }
}

std::optional<int> CorrectFrequencyCount(const CDataItem& profile) {
    const CDataItem limit = FindChild(profile, "limit");
    const CDataItem frequencies = FindChild(profile, "frequencies");
    if (limit.IsEmpty() || frequencies.IsEmpty()) {
        return std::nullopt;
    }
    const int entries = frequencies.GetChildCount();
    xmlNodePtr node = CProfileNodeAccess::Xml(limit.Node());
    if (xml::AttributeInt32(node, "max_valid_freqs") == entries) {
        return std::nullopt;
    }
    // Written straight into the document: the count is the program's bookkeeping, not a value
    // the rule script decides on.
    xml::SetAttributeInt32(node, "max_valid_freqs", entries);
    return entries;
}

}  // namespace profile_checks
