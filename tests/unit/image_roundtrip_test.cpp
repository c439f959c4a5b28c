// A profile sent to a radio and read back must come back as it went, and an image read from a
// radio must be written back as it came: profile -> image -> profile keeps every value the image
// has room for, and image -> profile -> image keeps every byte a field names. Checked over every
// installed template as the document sends it, and over random profiles made from the templates
// by a seeded generator that stays within the schema's ranges and the image's field widths.
//
// What a round trip legitimately changes is listed once, in ExpectedAfterRoundTrip and
// ExpectedImageBytes, each with its reason.

#include <cstdlib>
#include <functional>
#include <map>
#include <optional>
#include <random>
#include <set>
#include <vector>

#include <QByteArray>
#include <QDir>
#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <libxml/tree.h>

#include "model/data_item.h"
#include "model/profile_document.h"
#include "model/profile_file.h"
#include "model/schema_validator.h"
#include "model/settings_documents.h"
#include "platform/codepage/ansi_codepage.h"
#include "platform/settings/configuration.h"
#include "platform/vesk_cps_exception.h"
#include "platform/xml/xml_document.h"
#include "platform/xml/xml_node.h"
#include "platform/xml/xpath.h"
#include "qt_print.h"
#include "radio/data_adaptor.h"
#include "radio/document_image.h"
#include "radio/virtual_cp.h"
#include "recording_prompt.h"
#include "source_files.h"
#include "temp_hives.h"

#include <gtest/gtest.h>

namespace {

const QString kSourceDir = QStringLiteral(VESK_SOURCE_DIR);
const QString kTemplates = kSourceDir + QStringLiteral("/install/profiletemplate/");
const QString kGood = kSourceDir + QStringLiteral("/tests/data/profiles/good/");
constexpr char kXsdNamespace[] = "http://www.w3.org/2001/XMLSchema";
constexpr int kRandomProfiles = 200;
// VESK_IMAGE_ROUNDTRIP_SEED repeats a failing run; every failure names the seed and profile.
constexpr unsigned kDefaultSeed = 20261208;

unsigned Seed() {
    const QByteArray text = qgetenv("VESK_IMAGE_ROUNDTRIP_SEED");
    bool ok = false;
    const unsigned seed = text.toUInt(&ok);
    return ok ? seed : kDefaultSeed;
}

QStringList TemplateNames() {
    return QDir(kTemplates).entryList({QStringLiteral("*.vk4")}, QDir::Files, QDir::Name);
}

QString Attr(const xmlNode* node, const char* name) {
    return xml::Attribute(node, name).value_or(QString());
}

// ------------------------------------------------------------------------------------------
// What the schema allows for an attribute, read from the schema itself so that the generator
// follows it when it changes.

struct SAllowed {
    enum class Kind { Number, Flag, Text } kind = Kind::Text;
    quint64 min = 0;
    quint64 max = 0;
    int maxLength = -1;  // texts; -1 when unbounded
    QString pattern;     // the innermost pattern, when there is one
    QString type;        // the declared type's name, for messages
};

class CSchemaRanges {
public:
    explicit CSchemaRanges(const QByteArray& xsdText)
        : m_xsd(CXmlDocument::Parse(xsdText, QStringLiteral("DataProfile.xsd"))), m_xpath(m_xsd) {
        m_xpath.RegisterNamespace("xs", kXsdNamespace);
    }

    // The attributes the complex type of `element` declares, in order.
    const QStringList& Attributes(const QString& complexType) {
        auto cached = m_attributes.find(complexType);
        if (cached != m_attributes.end()) {
            return cached->second;
        }
        QStringList& names = m_attributes[complexType];
        for (xmlNodePtr node :
             m_xpath.SelectNodes(QStringLiteral("//xs:complexType[@name=%1]/xs:attribute")
                                     .arg(CXPathContext::Literal(complexType)))) {
            names << Attr(node, "name");
        }
        return names;
    }

    const SAllowed& Allowed(const QString& complexType, const QString& attribute) {
        const QString key = complexType + QLatin1Char('/') + attribute;
        auto cached = m_allowed.find(key);
        if (cached == m_allowed.end()) {
            cached = m_allowed.emplace(key, Read(complexType, attribute)).first;
        }
        return cached->second;
    }

private:
    SAllowed Read(const QString& complexType, const QString& attribute) {
        xmlNodePtr declaration = m_xpath.SelectSingle(
            QStringLiteral("//xs:complexType[@name=%1]/xs:attribute[@name=%2]")
                .arg(CXPathContext::Literal(complexType), CXPathContext::Literal(attribute)));
        SAllowed allowed;
        if (declaration == nullptr) {
            ADD_FAILURE() << complexType.toStdString() << " declares no "
                          << attribute.toStdString();
            return allowed;
        }
        allowed.type = Attr(declaration, "type");
        std::optional<quint64> min;
        std::optional<quint64> max;
        QString type = allowed.type;
        // Facets further down the chain are the tighter ones, so the first seen wins.
        while (!type.startsWith(QStringLiteral("xs:"))) {
            xmlNodePtr restriction =
                m_xpath.SelectSingle(QStringLiteral("//xs:simpleType[@name=%1]/xs:restriction")
                                         .arg(CXPathContext::Literal(type)));
            if (restriction == nullptr) {
                ADD_FAILURE() << "no simple type " << type.toStdString();
                return allowed;
            }
            for (xmlNodePtr facet = restriction->children; facet; facet = facet->next) {
                if (facet->type != XML_ELEMENT_NODE) {
                    continue;
                }
                const QString name = xml::LocalName(facet);
                const QString value = Attr(facet, "value");
                if (name == QLatin1String("minInclusive") && !min) {
                    min = value.toULongLong();
                } else if (name == QLatin1String("maxInclusive") && !max) {
                    max = value.toULongLong();
                } else if ((name == QLatin1String("maxLength") ||
                            name == QLatin1String("length")) &&
                           allowed.maxLength < 0) {
                    allowed.maxLength = value.toInt();
                } else if (name == QLatin1String("pattern") && allowed.pattern.isEmpty()) {
                    allowed.pattern = value;
                }
            }
            type = Attr(restriction, "base");
        }
        if (type == QLatin1String("xs:boolean")) {
            allowed.kind = SAllowed::Kind::Flag;
            allowed.max = 1;
        } else if (type == QLatin1String("xs:string")) {
            allowed.kind = SAllowed::Kind::Text;
        } else {
            allowed.kind = SAllowed::Kind::Number;
            allowed.min = min.value_or(0);
            allowed.max = max.value_or(0xFFFFFFFFu);
        }
        return allowed;
    }

    CXmlDocument m_xsd;
    CXPathContext m_xpath;
    std::map<QString, QStringList> m_attributes;
    std::map<QString, SAllowed> m_allowed;
};

// ------------------------------------------------------------------------------------------
// The random profiles.

struct SElementKind {
    const char* element;
    const char* complexType;
    vcp::Element imageElement;
};
constexpr SElementKind kFactory{"factory_setting", "FactorySettingType",
                                vcp::Element::FactorySetting};
constexpr SElementKind kLimit{"limit", "LimitType", vcp::Element::Limit};
constexpr SElementKind kSetting{"setting", "SettingType", vcp::Element::Setting};
constexpr SElementKind kPreset{"preset", "PresetType", vcp::Element::Preset};
constexpr SElementKind kChannel{"channel", "ChannelType", vcp::Element::Channel};
constexpr SElementKind kFrequency{"frequency", "FrequencyType", vcp::Element::Frequency};

// Attributes of the schema that the image has no room for; a profile made from an image lacks
// them. The repeater settings of the general page, and the separate band edges of the
// information page.
const std::set<QString> kNotInImage = {
    QStringLiteral("stationID"),     QStringLiteral("rep_id_mode"),
    QStringLiteral("rep_hangtime"),  QStringLiteral("low_battery_tx"),
    QStringLiteral("onbatt_alert"),  QStringLiteral("courtesy_over"),
    QStringLiteral("rx_start_freq"), QStringLiteral("rx_end_freq"),
    QStringLiteral("tx_start_freq"), QStringLiteral("tx_end_freq"),
};

// Characters of the code page a text field may hold: those XML escapes, and a few beyond ASCII
// among them; blanks are drawn separately so that texts with surrounding blanks are common.
const QString kTextCharacters =
    QStringLiteral(
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_.,;:!?#/()*+=") +
    QStringLiteral("<>&\"'") +
    QString::fromUtf8("\xC3\xA9\xC3\x9F\xC3\x84\xE2\x82\xAC\xC2\xA9\xC3\xB1");

class CProfileGenerator {
public:
    CProfileGenerator(CSchemaRanges& ranges, unsigned seed) : m_ranges(ranges), m_random(seed) {}

    // `base` is a template's text; every attribute the image carries gets a new value, the rest
    // stay as the template has them.
    QByteArray Make(const QByteArray& templateText) {
        CXmlDocument document = CXmlDocument::Parse(templateText, QStringLiteral("template"));
        CXPathContext xpath(document);
        xmlNodePtr factory = xpath.SelectSingle(QStringLiteral("//dfns:factory_setting"));
        xmlNodePtr limit = xpath.SelectSingle(QStringLiteral("//dfns:limit"));
        xmlNodePtr setting = xpath.SelectSingle(QStringLiteral("//dfns:setting"));
        xmlNodePtr channels = xpath.SelectSingle(QStringLiteral("//dfns:channels"));
        xmlNodePtr frequencies = xpath.SelectSingle(QStringLiteral("//dfns:frequencies"));

        Fill(factory, kFactory);
        Fill(limit, kLimit);
        Fill(setting, kSetting);
        for (xmlNodePtr preset : xpath.SelectNodes(QStringLiteral("//dfns:preset"))) {
            Fill(preset, kPreset);
        }

        // The synthesizer reaches 255 steps above its base; frequencies stay within that span,
        // within the schema's radio range, and above the base so that no step count wraps.
        const quint32 base = Between(29, 700);
        xml::SetAttributeUInt32(factory, "synth_base_int_part", base);

        const int channelCount = static_cast<int>(Between(1, vcp::kChannelCount));
        const int frequencyCount = static_cast<int>(Between(0, vcp::kFrequencyCount));
        xml::SetAttributeUInt32(limit, "maxChannels", static_cast<quint32>(channelCount));
        xml::SetAttributeUInt32(limit, "max_valid_freqs", static_cast<quint32>(frequencyCount));
        // The customised code ranges: below, within and above each threshold.
        static constexpr quint32 kCodeChoices[] = {0, 99, 122, 123, 200, 213, 214, 219, 255};
        xml::SetAttributeUInt32(limit, "maxCodes",
                                kCodeChoices[Between(0, std::size(kCodeChoices) - 1)]);

        Replace(channels, "channel", channelCount,
                [&](xmlNodePtr channel, int) { Fill(channel, kChannel); });
        std::set<QByteArray> names;
        for (xmlNodePtr channel = channels->children; channel; channel = channel->next) {
            if (channel->type == XML_ELEMENT_NODE) {
                xml::SetAttribute(channel, "name", UniqueName(names));
            }
        }
        Replace(frequencies, "frequency", frequencyCount, [&](xmlNodePtr frequency, int) {
            Fill(frequency, kFrequency);
            const quint32 steps = Between(base + 1, std::min<quint32>(base + 200, 951));
            xml::SetAttributeUInt32(frequency, "freq", steps * 1050000u + Between(0, 1049999));
        });
        return document.ToXml();
    }

private:
    quint32 Between(quint64 low, quint64 high) {
        return static_cast<quint32>(std::uniform_int_distribution<quint64>(low, high)(m_random));
    }

    // Every attribute the schema declares for the element and the image carries; optional
    // attributes of the customised codes are present in every profile, whatever maxCodes says.
    void Fill(xmlNodePtr node, const SElementKind& kind) {
        for (const QString& name : m_ranges.Attributes(QString::fromUtf8(kind.complexType))) {
            if (kNotInImage.count(name) != 0) {
                continue;
            }
            const SAllowed& allowed = m_ranges.Allowed(QString::fromUtf8(kind.complexType), name);
            xml::SetAttribute(node, name.toUtf8().constData(), Value(name, allowed));
        }
    }

    QString Value(const QString& name, const SAllowed& allowed) {
        if (name == QLatin1String("serial")) {
            return Serial();
        }
        if (name == QLatin1String("model")) {
            return Letters(3, QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ")) +
                   Letters(5, QStringLiteral("0123456789"));
        }
        if (allowed.type == QLatin1String("PhaseLetter")) {
            // A phase is a letter; the canonical text writes it without escaping, so a radio that
            // held '<' there would be refused (391), which the adaptor's own tests cover.
            return Letters(1, QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ"));
        }
        if (allowed.type == QLatin1String("HexDigitValue")) {
            // 4294967295 stands for a byte that is no digit at all; it cannot be written back as
            // what it was, so the generator keeps to the digits.
            return QString::number(Between(0, 15));
        }
        switch (allowed.kind) {
            case SAllowed::Kind::Flag:
                return QString::number(Between(0, 1));
            case SAllowed::Kind::Number:
                return QString::number(Between(allowed.min, allowed.max));
            case SAllowed::Kind::Text:
                return Text(allowed.maxLength < 0 ? 8 : allowed.maxLength);
        }
        return QString();
    }

    QString Letters(int count, const QString& from) {
        QString text;
        for (int i = 0; i < count; ++i) {
            text += from.at(Between(0, static_cast<quint64>(from.size() - 1)));
        }
        return text;
    }

    // Up to `width` characters, now and then with blanks around or only blanks.
    QString Text(int width) {
        const int length = static_cast<int>(Between(0, static_cast<quint64>(width)));
        QString text = Letters(length, kTextCharacters);
        for (int i = 0; i < text.size(); ++i) {
            if (Between(0, 5) == 0) {
                text[i] = QLatin1Char(' ');
            }
        }
        return text;
    }

    // Serial numbers follow the rule the image is checked with; an empty one (a profile never
    // read from a radio) is not an image a radio can hold.
    QString Serial() {
        const QString digits = QStringLiteral("0123456789");
        const QString noO = QStringLiteral("ABCDEFGHIJKLMNPQRSTUVWXYZ");
        const QString noOI = QStringLiteral("ABCDEFGHJKLMNPQRSTUVWXYZ");
        return Letters(3, digits) + Letters(1, noO) + Letters(2, noOI) +
               Letters(1, digits + QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ")) +
               Letters(3, digits + noOI);
    }

    // Names whose eight image bytes differ from every other channel's, so that no duplicate
    // repair takes place (the adaptor's own tests cover the repair).
    QString UniqueName(std::set<QByteArray>& taken) {
        for (;;) {
            const QString name = Text(8);
            QByteArray bytes = ansi::Encode(name).left(8);
            bytes.append(QByteArray(8 - bytes.size(), '\0'));
            if (taken.insert(bytes).second) {
                return name;
            }
        }
    }

    template <typename Fill>
    void Replace(xmlNodePtr parent, const char* name, int count, Fill fill) {
        for (xmlNodePtr child = parent->children; child;) {
            xmlNodePtr next = child->next;
            xmlUnlinkNode(child);
            xmlFreeNode(child);
            child = next;
        }
        for (int i = 0; i < count; ++i) {
            xmlNodePtr child =
                xmlNewChild(parent, parent->ns, reinterpret_cast<const xmlChar*>(name), nullptr);
            fill(child, i);
        }
    }

    CSchemaRanges& m_ranges;
    std::mt19937 m_random;
};

// ------------------------------------------------------------------------------------------
// The documented changes of a round trip.

qint64 MaxCodes(const xmlNode* limit) {
    return xml::Attribute(limit, "maxCodes").value_or(QStringLiteral("0")).toLongLong();
}

// The text a fixed-width field of the image gives back: cut at the width in the code page (the
// field has no room for more), then trimmed (reading a field takes no surrounding blanks).
QString FieldText(const QString& text, int width) {
    return ansi::Decode(ansi::Encode(text).left(width).split('\0').first()).trimmed();
}

// What a profile attribute becomes after profile -> image -> profile; nullopt when the profile
// made from the image lacks it.
std::optional<QString> ExpectedAfterRoundTrip(const SElementKind& kind, const QString& name,
                                              const QString& value, qint64 maxCodes,
                                              quint8 radioVersion) {
    if (kNotInImage.count(name) != 0) {
        return std::nullopt;  // no field in the image
    }
    if (name == QLatin1String("sub_region")) {
        return QStringLiteral("0");  // the image has no sub-region; a radio's profile has none
    }
    if (name.startsWith(QStringLiteral("KTcode"))) {
        // A radio whose codes stop below a customised range has no such words.
        const int code = name.mid(6).toInt();
        if (maxCodes <= (code < 200 ? 122 : 213)) {
            return std::nullopt;
        }
        return value;
    }
    if (kind.imageElement == vcp::Element::Channel && radioVersion < 3 &&
        (name == QLatin1String("disable_channel") || name == QLatin1String("talkaround_scan"))) {
        return QStringLiteral("0");  // a radio before codeplug version 3 has neither
    }
    const vcp::SField* field = nullptr;
    if (kind.imageElement == vcp::Element::Channel) {
        field = vcp::FindChannelField(name);
    } else if (kind.imageElement == vcp::Element::Frequency) {
        field = vcp::FindFrequencyField(name);
    } else {
        field = vcp::FindImageField(name);
    }
    if (field != nullptr && field->encoding == vcp::Encoding::HexNumber) {
        // Read as hexadecimal towards the image, written as decimal from it: only 0..9 keep their
        // text.
        return QString::number(value.toUInt(nullptr, 16) & 0xFFu);
    }
    if (field != nullptr && field->encoding == vcp::Encoding::Text) {
        return FieldText(value, field->width);
    }
    return value;
}

// Compares one element of the profile sent with the same element of the profile read back.
void CompareElement(const SElementKind& kind, const xmlNode* sent, const xmlNode* back,
                    qint64 maxCodes, quint8 radioVersion, const QString& where) {
    ASSERT_NE(back, nullptr) << where.toStdString() << " is missing after the round trip";
    std::set<QString> seen;
    for (const xmlAttr* attribute = sent->properties; attribute; attribute = attribute->next) {
        const QString name = QString::fromUtf8(reinterpret_cast<const char*>(attribute->name));
        seen.insert(name);
        const QString value = xml::NodeText(reinterpret_cast<const xmlNode*>(attribute));
        const std::optional<QString> want =
            ExpectedAfterRoundTrip(kind, name, value, maxCodes, radioVersion);
        const std::optional<QString> got = xml::Attribute(back, name.toUtf8().constData());
        EXPECT_EQ(got, want) << where.toStdString() << "/@" << name.toStdString() << ": sent \""
                             << value.toStdString() << "\"";
    }
    for (const xmlAttr* attribute = back->properties; attribute; attribute = attribute->next) {
        const QString name = QString::fromUtf8(reinterpret_cast<const char*>(attribute->name));
        EXPECT_TRUE(seen.count(name) != 0)
            << where.toStdString() << "/@" << name.toStdString() << " came back from nowhere";
    }
}

std::vector<xmlNodePtr> Children(CXPathContext& xpath, const char* path) {
    return xpath.SelectNodes(QString::fromUtf8(path));
}

void CompareProfiles(const CXmlDocument& sent, const CXmlDocument& back, quint8 radioVersion) {
    CXPathContext a(sent);
    CXPathContext b(back);
    const qint64 maxCodes = MaxCodes(a.SelectSingle(QStringLiteral("//dfns:limit")));
    for (const SElementKind* kind : {&kFactory, &kLimit, &kSetting}) {
        const QString path = QStringLiteral("//dfns:") + QString::fromUtf8(kind->element);
        CompareElement(*kind, a.SelectSingle(path), b.SelectSingle(path), maxCodes, radioVersion,
                       QString::fromUtf8(kind->element));
    }
    for (const auto& [kind, path, limit] :
         {std::tuple{&kPreset, "//dfns:preset", 2},
          std::tuple{&kChannel, "//dfns:channel", vcp::kChannelCount},
          std::tuple{&kFrequency, "//dfns:frequency", vcp::kFrequencyCount}}) {
        const std::vector<xmlNodePtr> sentNodes = Children(a, path);
        const std::vector<xmlNodePtr> backNodes = Children(b, path);
        ASSERT_EQ(backNodes.size(), std::min<size_t>(sentNodes.size(), size_t(limit))) << path;
        for (size_t i = 0; i < backNodes.size(); ++i) {
            CompareElement(
                *kind, sentNodes[i], backNodes[i], maxCodes, radioVersion,
                QStringLiteral("%1[%2]").arg(QString::fromUtf8(kind->element)).arg(i + 1));
        }
    }
}

// The bytes a text field holds after image -> profile -> image: its text trimmed, zero-padded.
QByteArray TrimmedField(const QByteArray& raw) {
    QByteArray bytes = ansi::Encode(ansi::Decode(raw.split('\0').first()).trimmed());
    bytes.append(QByteArray(raw.size() - bytes.size(), '\0'));
    return bytes;
}

// What a field of an image holds after image -> profile -> image.
QByteArray ExpectedImageBytes(const vcp::SField& field, const QByteArray& raw) {
    switch (field.encoding) {
        case vcp::Encoding::Text:
            return TrimmedField(raw);  // texts are trimmed when read
        case vcp::Encoding::HexNumber: {
            // Written as a decimal number and read as a hexadecimal one.
            const quint8 byte = static_cast<quint8>(raw.at(0));
            return QByteArray(1, static_cast<char>(QString::number(byte).toUInt(nullptr, 16)));
        }
        default:
            return raw;
    }
}

void CompareImages(const CVirtualCP& first, const CVirtualCP& second) {
    for (const vcp::SField& field : vcp::kImageFields) {
        if (field.IsConverted()) {
            EXPECT_EQ(second.Raw(field), ExpectedImageBytes(field, first.Raw(field)))
                << "image field " << field.name;
        }
    }
    for (const vcp::SButtonSlot& slot : vcp::kButtonSlots) {
        EXPECT_EQ(second.ButtonSlot(slot.slot), first.ButtonSlot(slot.slot)) << slot.name;
    }
    const int channels = CDataAdaptor::ChannelsInUse(first);
    for (int n = 0; n < channels; ++n) {
        EXPECT_EQ(second.InScanList(n), first.InScanList(n)) << "scan list, channel " << n;
        for (const vcp::SField& field : vcp::kChannelFields) {
            if (field.IsConverted()) {
                EXPECT_EQ(second.Raw(field, CVirtualCP::ChannelOffset(n)),
                          ExpectedImageBytes(field, first.Raw(field, CVirtualCP::ChannelOffset(n))))
                    << "channel " << n << " field " << field.name;
            }
        }
    }
    for (int n = 0; n < CDataAdaptor::FrequenciesInUse(first); ++n) {
        for (const vcp::SField& field : vcp::kFrequencyFields) {
            if (field.IsConverted()) {
                EXPECT_EQ(second.Raw(field, CVirtualCP::FrequencyOffset(n)),
                          first.Raw(field, CVirtualCP::FrequencyOffset(n)))
                    << "frequency " << n << " field " << field.name;
            }
        }
    }
}

CRadioInfo Radio(quint8 codeplugVersion) {
    CRadioInfo radio;
    radio.SetNumber(vcp::RadioInfoField("codeplug_version"), codeplugVersion);
    return radio;
}

// Both directions for one profile text: the text sent, the image the radio would get.
void CheckRoundTrips(const QByteArray& sentText, const CVirtualCP& sentImage, quint8 radioVersion,
                     const CSchemaValidator& schema) {
    CVirtualCP image = sentImage;
    CRecordingPrompt prompt;
    QString backText;
    ASSERT_EQ(CDataAdaptor::VirtualCP2XML(image, backText, prompt), 1)
        << "messages " << ::testing::PrintToString(prompt.ids);
    EXPECT_TRUE(prompt.ids.isEmpty());
    // No channel name repeats, so nothing was repaired.
    EXPECT_EQ(image.ToByteArray(), sentImage.ToByteArray());

    const QByteArray backBytes = backText.toUtf8();
    const CXmlDocument sent = CXmlDocument::Parse(sentText, QStringLiteral("sent"));
    CXmlDocument back;
    ASSERT_NO_THROW(back = schema.ParseAndValidate(backBytes, QStringLiteral("image")))
        << backText.toStdString();
    CompareProfiles(sent, back, radioVersion);

    CVirtualCP again;
    ASSERT_EQ(CDataAdaptor::XML2VirtualCP(backBytes, again, Radio(radioVersion)), 1);
    CompareImages(sentImage, again);
}

// ------------------------------------------------------------------------------------------

// An installation as the document needs it: the rule script, the schema, the templates and the
// settings documents.
class ImageRoundTrip : public ::testing::Test {
protected:
    ImageRoundTrip() {
        hives.WriteMachine("[General]\nInstallPath=" + Install(QString()).toUtf8() + "\n");
        QStringList files = {QStringLiteral("profiletemplate/DataProfile.vbs"),
                             QStringLiteral("profiletemplate/DataProfile.xsd"),
                             QStringLiteral("lib/Region.stv"),
                             QStringLiteral("lib/UpDownGradeSetting.stv")};
        for (const QString& name : TemplateNames()) {
            files << QStringLiteral("profiletemplate/") + name;
        }
        for (const QString& relative : files) {
            CTempHives::Write(Install(relative), ReadSource(QStringLiteral("install/") + relative));
        }
        EXPECT_TRUE(settings.LoadProfileDocuments(config, prompt));
    }

    QString Install(const QString& relative) const {
        return hives.Path(QStringLiteral("install/") + relative);
    }
    QString Input(const char* name, const QByteArray& bytes) const {
        const QString path = hives.Path(QStringLiteral("input/") + QString::fromUtf8(name));
        CTempHives::Write(path, bytes);
        return path;
    }

    CTempHives hives;
    CConfiguration config = hives.Config();
    CRecordingPrompt prompt;
    CSettingsDocuments settings;
    CSchemaValidator schema{ReadSource(QStringLiteral("install/profiletemplate/DataProfile.xsd"))};
};

class ImageRoundTripTemplate : public ImageRoundTrip,
                               public ::testing::WithParamInterface<QString> {};

// The template as the document sends it to a radio of codeplug version 3, and to one of version
// 2, which has no per-channel disable and talkaround scan flags.
TEST_P(ImageRoundTripTemplate, SentThroughTheDocumentComesBackAsItWent) {
    for (const quint8 radioVersion : {quint8(3), quint8(2)}) {
        SCOPED_TRACE(::testing::Message() << "radio codeplug version " << int(radioVersion));
        CProfileDocument document(config, prompt, &settings);
        ASSERT_TRUE(document.Open(kTemplates + GetParam()));
        CVirtualCP image;
        GetVirtualCPData(document, image, Radio(radioVersion));
        EXPECT_TRUE(prompt.ids.isEmpty());

        // What was sent is the working document as the conversion saw it.
        const QByteArray sent = document.Model().WorkingDocument().ToXml();
        CVirtualCP direct;
        ASSERT_EQ(CDataAdaptor::XML2VirtualCP(sent, direct, Radio(radioVersion)), 1);
        EXPECT_EQ(image.ToByteArray(), direct.ToByteArray());
        CheckRoundTrips(sent, image, radioVersion, schema);
    }
}

INSTANTIATE_TEST_SUITE_P(Installed, ImageRoundTripTemplate, ::testing::ValuesIn(TemplateNames()),
                         [](const ::testing::TestParamInfo<QString>& row) {
                             return row.param.section(QLatin1Char('.'), 0, 0).toStdString();
                         });

TEST_F(ImageRoundTrip, RandomProfilesComeBackAsTheyWent) {
    const QStringList templates = TemplateNames();
    ASSERT_FALSE(templates.isEmpty());
    std::vector<QByteArray> bases;
    for (const QString& name : templates) {
        const std::optional<QString> text = profile_file::Read(kTemplates + name);
        ASSERT_TRUE(text.has_value()) << name.toStdString();
        bases.push_back(text->toUtf8());
    }
    CSchemaRanges ranges(ReadSource(QStringLiteral("install/profiletemplate/DataProfile.xsd")));
    const unsigned seed = Seed();
    int checked = 0;
    for (int i = 0; i < kRandomProfiles && !HasFatalFailure(); ++i) {
        SCOPED_TRACE(::testing::Message()
                     << "seed " << seed << ", profile " << i << " (from "
                     << templates[i % templates.size()].toStdString()
                     << "); VESK_IMAGE_ROUNDTRIP_SEED=" << seed << " repeats it");
        CProfileGenerator generator(ranges, seed + static_cast<unsigned>(i));
        QByteArray text = generator.Make(bases[size_t(i) % bases.size()]);
        // A frequency of the licence-free service is refused (284) by the way back; the way back
        // is not what is tried here, so such a profile is drawn again.
        while (!CheckMURFreq(text)) {
            text = generator.Make(bases[size_t(i) % bases.size()]);
        }
        // The generator stays within what the schema allows, or the test proves nothing.
        ASSERT_NO_THROW(schema.ParseAndValidate(text, QStringLiteral("generated")))
            << text.toStdString();
        const quint8 radioVersion = i % 4 == 3 ? 2 : 3;
        CVirtualCP image;
        ASSERT_EQ(CDataAdaptor::XML2VirtualCP(text, image, Radio(radioVersion)), 1);
        CheckRoundTrips(text, image, radioVersion, schema);
        ++checked;
    }
    EXPECT_EQ(checked, kRandomProfiles);
}

// ------------------------------------------------------------------------------------------
// The document's side of the image.

QByteArray SampleWith(const char* file,
                      const std::vector<std::pair<QByteArray, QByteArray>>& edits) {
    QByteArray text = ReadAll(kGood + QString::fromUtf8(file));
    for (const auto& [from, to] : edits) {
        EXPECT_EQ(text.count(from), 1) << from.toStdString();
        text.replace(from, to);
    }
    return text;
}

QStringList ChannelValues(const CXmlDocument& document, const char* name) {
    QStringList values;
    CXPathContext xpath(document);
    for (xmlNodePtr channel : xpath.SelectNodes(QStringLiteral("//dfns:channel"))) {
        values << Attr(channel, name);
    }
    return values;
}

class ProfileDocumentImage : public ImageRoundTrip,
                             public ::testing::WithParamInterface<const char*> {};

// Channel 2 of the sample receives on frequency 2 with code 7 and transmits on 4 with code 9,
// wide.
const std::vector<std::pair<QByteArray, QByteArray>> kSplitChannel = {
    {"rx_freq_ndx=\"1\" rx_code=\"7\" tx_freq_ndx=\"1\" tx_code=\"7\" rx_bw=\"0\" tx_bw=\"0\"",
     "rx_freq_ndx=\"1\" rx_code=\"7\" tx_freq_ndx=\"3\" tx_code=\"9\" rx_bw=\"0\" tx_bw=\"1\""}};

// Rows: the repeater flag of the limit, and whether transmit follows receive afterwards.
TEST_P(ProfileDocumentImage, GetVirtualCPDataMakesModelsWithoutRepeaterTransmitAsTheyReceive) {
    const bool noRepeater = QByteArray(GetParam()) == "1";
    std::vector<std::pair<QByteArray, QByteArray>> edits = kSplitChannel;
    edits.push_back({"disable_repeater_feature=\"0\"",
                     QByteArray("disable_repeater_feature=\"") + GetParam() + "\""});
    CProfileDocument document(config, prompt, &settings);
    ASSERT_TRUE(document.Open(Input("split.xml", SampleWith("handheld_uhf.xml", edits))));

    CVirtualCP image;
    GetVirtualCPData(document, image, Radio(3));
    EXPECT_EQ(image.ChannelNumber(1, vcp::ChannelField("tx_freq_ndx")), noRepeater ? 1u : 3u);
    EXPECT_EQ(image.ChannelNumber(1, vcp::ChannelField("tx_code")), noRepeater ? 7u : 9u);
    EXPECT_EQ(image.ChannelNumber(1, vcp::ChannelField("tx_bw")), noRepeater ? 0u : 1u);
    // The open profile itself changed with it.
    const CXmlDocument& working = document.Model().WorkingDocument();
    EXPECT_EQ(ChannelValues(working, "tx_freq_ndx").value(1),
              noRepeater ? QStringLiteral("1") : QStringLiteral("3"));
    EXPECT_EQ(ChannelValues(working, "tx_code").value(1),
              noRepeater ? QStringLiteral("7") : QStringLiteral("9"));
    EXPECT_TRUE(prompt.ids.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(RepeaterFlag, ProfileDocumentImage, ::testing::Values("0", "1"));

TEST_F(ImageRoundTrip, GetVirtualCPDataWithoutAProfileRaisesWithItsStep) {
    CProfileDocument document(config, prompt, &settings);
    CVirtualCP image;
    try {
        GetVirtualCPData(document, image, Radio(3));
        FAIL() << "a document without a profile filled an image";
    } catch (const CVeskCPSException& error) {
        EXPECT_TRUE(error.Text().contains(
            QRegularExpression(QStringLiteral("\\(CVeskCPSDoc::GetVirtualCPData:[0-9]+\\) "
                                              "Exception Caught$"))))
            << error.Text().toStdString();
    }
}

// An image the way a radio read leaves it: from a sample profile, with edits to its bytes.
CVirtualCP SampleImage(const char* file, const std::function<void(CVirtualCP&)>& edit = {}) {
    CVirtualCP image;
    EXPECT_EQ(
        CDataAdaptor::XML2VirtualCP(ReadAll(kGood + QString::fromUtf8(file)), image, Radio(3)), 1);
    if (edit) {
        edit(image);
    }
    return image;
}

void SetChannelName(CVirtualCP& image, int channel, const char* name) {
    image.SetChannelRaw(channel, vcp::ChannelField("name"), QByteArray(name));
}

TEST_F(ImageRoundTrip, NewFromImageNamesUnnamedChannelsAndStartsModified) {
    CVirtualCP image =
        SampleImage("handheld_uhf.xml", [](CVirtualCP& edited) { SetChannelName(edited, 2, ""); });
    CProfileDocument document(config, prompt, &settings);
    ASSERT_TRUE(NewFromImage(document, image));
    EXPECT_TRUE(prompt.ids.isEmpty());
    EXPECT_TRUE(document.IsModified());
    EXPECT_TRUE(document.Path().isEmpty());
    const QStringList names = ChannelValues(document.Model().WorkingDocument(), "name");
    EXPECT_EQ(names.value(0), QStringLiteral("CH 01"));
    EXPECT_FALSE(names.value(2).isEmpty()) << "the unnamed channel got no name";
    EXPECT_EQ(names.count(names.value(2)), 1) << names.join(u',').toStdString();
}

// Rows: an edit that makes the image unusable, and the message it is refused with.
struct SBadImage {
    const char* name;
    void (*edit)(CVirtualCP&);
    int message;
};

const SBadImage kBadImages[] = {
    {"serial_rule",
     [](CVirtualCP& image) { image.SetRaw(vcp::ImageField("serial"), QByteArray("12O4AB7890")); },
     CDataAdaptor::kMsgInvalidSerial},
    {"murs_frequency", [](CVirtualCP& image) { image.SetFrequencyHz(0, 151820000); },
     CDataAdaptor::kMsgInvalidFrequency},
    {"more_channels_than_records",
     [](CVirtualCP& image) { image.SetNumber(vcp::ImageField("maxChannels"), 25); },
     model_msg::kInvalidProfile},
};

class ProfileDocumentBadImage : public ImageRoundTrip,
                                public ::testing::WithParamInterface<SBadImage> {};

// The rows edit the VHF sample, whose synthesizer base lets a frequency of the licence-free
// service be stored.
TEST_P(ProfileDocumentBadImage, NewFromImageFailsWithTheMessageShownOnce) {
    CVirtualCP image = SampleImage("full.xml", GetParam().edit);
    CProfileDocument document(config, prompt, &settings);
    EXPECT_FALSE(NewFromImage(document, image));
    EXPECT_EQ(prompt.ids, QList<int>{GetParam().message});
}

// The open profile stays when an image does not convert; a load failure is raised with the step.
TEST_P(ProfileDocumentBadImage, SetVirtualCPDataKeepsTheOpenProfileOrRaises) {
    CProfileDocument document(config, prompt, &settings);
    ASSERT_TRUE(document.Open(kGood + QStringLiteral("handheld_uhf.xml")));
    const QByteArray before = document.Model().WorkingDocument().ToXml();
    CVirtualCP image = SampleImage("full.xml", GetParam().edit);
    if (GetParam().message == model_msg::kInvalidProfile) {
        try {
            SetVirtualCPData(document, image);
            FAIL() << "an image the schema refuses was loaded";
        } catch (const CVeskCPSException& error) {
            EXPECT_EQ(error.MessageId(), model_msg::kInvalidProfile);
            EXPECT_TRUE(error.Text().contains(QRegularExpression(
                QStringLiteral("\\(CVeskCPSDoc::SetVirtualCPData:[0-9]+\\) Exception Catched$"))))
                << error.Text().toStdString();
        }
        // A read that replaces the open profile with an image that does not load loses nothing.
        EXPECT_EQ(document.Model().WorkingDocument().ToXml(), before);
        EXPECT_FALSE(document.Model().RootItem().IsEmpty());
        EXPECT_TRUE(document.Save(hives.Path(QStringLiteral("kept.vk4"))));
        return;
    }
    EXPECT_FALSE(SetVirtualCPData(document, image));
    EXPECT_EQ(prompt.ids, QList<int>{GetParam().message});
    EXPECT_EQ(document.Model().WorkingDocument().ToXml(), before);
}

INSTANTIATE_TEST_SUITE_P(Rows, ProfileDocumentBadImage, ::testing::ValuesIn(kBadImages),
                         [](const ::testing::TestParamInfo<SBadImage>& row) {
                             return std::string(row.param.name);
                         });

TEST_F(ImageRoundTrip, SetVirtualCPDataReplacesTheOpenProfile) {
    CProfileDocument document(config, prompt, &settings);
    ASSERT_TRUE(document.Open(kGood + QStringLiteral("full.xml")));
    CVirtualCP image = SampleImage("handheld_uhf.xml", [](CVirtualCP& edited) {
        SetChannelName(edited, 0, "");
        SetChannelName(edited, 4, "CH 02");
    });
    ASSERT_TRUE(SetVirtualCPData(document, image));
    EXPECT_TRUE(prompt.ids.isEmpty());
    const CXmlDocument& working = document.Model().WorkingDocument();
    CXPathContext xpath(working);
    EXPECT_EQ(Attr(xpath.SelectSingle(QStringLiteral("//dfns:factory_setting")), "serial"),
              QString::fromLatin1(image.Raw(vcp::ImageField("serial"))));
    const QStringList names = ChannelValues(working, "name");
    EXPECT_EQ(names.size(), 16);  // the sample's channels, not the 19 of the profile it replaced
    EXPECT_FALSE(names.value(0).isEmpty()) << "the unnamed channel got no name";
    // The second "CH 02" was repaired by the conversion, in the image too.
    EXPECT_EQ(names.count(QStringLiteral("CH 02")), 1) << names.join(u',').toStdString();
    EXPECT_NE(image.ChannelRaw(4, vcp::ChannelField("name")), QByteArray("CH 02\0\0\0", 8));
}

}  // namespace
