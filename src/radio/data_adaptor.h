#pragma once

// The conversions between a profile's XML text and the codeplug image. The attributes, their
// order and their text forms come from the attribute catalogue below, whose entries name fields of
// the image tables (radio/virtual_cp.h).

#include <span>
#include <string_view>

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include "radio/virtual_cp.h"

class IUserPrompt;

class CDataAdaptor {
public:
    static constexpr int kMsgInvalidFrequency = 284;
    static constexpr int kMsgInvalidSerial = 376;
    static constexpr int kMsgCodeplugCorrupted = 391;

    // Where an attribute of the catalogue takes its value from.
    enum class ESource {
        Field,       // the image (or channel, or frequency) field of the same name
        Preset,      // `channel` of a preset; the index says which preset byte
        ButtonSlot,  // the button slot of the same name
        ScanBit,     // the channel's scan-list bit
        Frequency,   // the decoded synthesizer settings of the record
        AlwaysZero,  // written as 0, never read
    };
    struct SAttribute {
        std::string_view name;
        ESource source = ESource::Field;
        // Written and read only when maxCodes is greater than this (-1: always).
        qint64 codesAbove = -1;
        // The bits of the field that the profile shows.
        quint32 mask = 0xFFFFFFFF;
    };

    // The catalogue of one element, in the order its attributes are written and read.
    // Element::Preset gives the single `channel` attribute of a `preset`.
    static std::span<const SAttribute> Catalogue(vcp::Element element);

    // Fills `image` from the profile text. Returns 1; every failure (text that does not parse, a
    // missing element) raises CVeskCPSException with the operation "CDataAdaptor::XML2VirtualCP".
    // The image may be half filled after a failure.
    static int XML2VirtualCP(const QString& profileText, CVirtualCP& image,
                             const CRadioInfo& radio);
    // The same for UTF-8 bytes.
    static int XML2VirtualCP(const QByteArray& profileText, CVirtualCP& image,
                             const CRadioInfo& radio);

    // Writes the canonical profile text of `image` into `out`. Returns 1, or 0 after showing
    // 376 (output unchanged), 391 or 284 (output already set) through `prompt`. Repairs duplicate
    // channel names in `image` itself.
    static int VirtualCP2XML(CVirtualCP& image, QString& out, IUserPrompt& prompt);

    // The ten serial bytes follow the serial number rule.
    static bool IsValidSerial(QByteArrayView serial);
    // Renames every channel whose name repeats an earlier one's, among the channels in use.
    static void RepairDuplicateNames(CVirtualCP& image);
    // Channels and frequencies in use, as many as the image says but never more than its
    // records.
    static int ChannelsInUse(const CVirtualCP& image);
    static int FrequenciesInUse(const CVirtualCP& image);
    // The repair's candidate name for counter value `k`: eight bytes, zero-padded, cut without a
    // terminator when longer.
    static QByteArray RepairName(int k);
};
