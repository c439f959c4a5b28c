#include "radio/data_adaptor.h"

#include <algorithm>
#include <array>
#include <new>
#include <optional>

#include <libxml/tree.h>

#include "model/settings_documents.h"
#include "platform/codepage/ansi_codepage.h"
#include "platform/user_prompt.h"
#include "platform/vesk_cps_exception.h"
#include "platform/xml/namespaces.h"
#include "platform/xml/xml_document.h"
#include "platform/xml/xml_node.h"
#include "platform/xml/xpath.h"

using namespace vcp;
using ESource = CDataAdaptor::ESource;
using SAttribute = CDataAdaptor::SAttribute;

namespace {

// The customized tones exist only on radios whose code list reaches past them.
constexpr qint64 kFirstToneCodes = 122;
constexpr qint64 kSecondToneCodes = 213;
// Below this codeplug version the radio has no per-channel disable or talkaround scan.
constexpr quint8 kFirstVersionWithChannelDisable = 3;
constexpr quint32 kTwoBits = 0x3;

constexpr std::array kFactoryCatalogue = std::to_array<SAttribute>({
    {"serial_clone_compatibility"},
    {"firmware_phase"},
    {"firmware_version"},
    {"firmware_revision"},
    {"codeplug_phase"},
    {"codeplug_version"},
    {"codeplug_dev_version"},
    {"model"},
    {"serial"},
    {"synth_base_int_part"},
    {"sub_region", ESource::AlwaysZero},
});

constexpr std::array kLimitCatalogue = std::to_array<SAttribute>({
    {"maxChannels"},
    {"max_valid_freqs"},
    {"start_freq"},
    {"end_freq"},
    {"disable_time_out_timer"},
    {"disable_keypad_beep_feature"},
    {"disable_roger_beep_feature"},
    {"disable_busy_led_mode"},
    {"enable_reverse_burst"},
    {"disable_vox_feature"},
    {"disable_ivox_feature"},
    {"disable_scramble_feature"},
    {"disable_battery_save_feature"},
    {"factory_reset_disable"},
    {"disable_scan_mode"},
    {"max_call_tones"},
    {"maxPresetButtons"},
    {"maxCodes"},
    {"power_cntrl_enabled"},
    {"backlight_button_enabled"},
    {"programming_mode_enabled"},
    {"call_feature_disable"},
    {"monitor_feature_disable"},
    {"disable_keypad_lock_feature"},
    {"disable_repeater_feature"},
    {"disable_channel_enable"},
    {"talkaround_scan_enable"},
    {"voice_chip_enable"},
});

constexpr std::array kSettingCatalogue = std::to_array<SAttribute>({
    {"password"},
    {"disableLED"},
    {"disableRestoreFactoryDefault"},
    {"backlight_enabled"},
    {"timeoutTimer"},
    {"reverseBurst"},
    {"vox_level"},
    {"ivol_level"},
    {"microphoneGain"},
    {"accessoryMicrophoneGain"},
    {"batteryType"},
    {"disableBatterySave"},
    {"side1_but", ESource::ButtonSlot},
    {"side2_but", ESource::ButtonSlot},
    {"upper_right_but", ESource::ButtonSlot},
    {"lower_left_but", ESource::ButtonSlot},
    {"lower_right_but", ESource::ButtonSlot},
    {"numberChannels"},
    {"voice_language"},
    {"KTcode124", ESource::Field, kFirstToneCodes},
    {"KTcode125", ESource::Field, kFirstToneCodes},
    {"KTcode126", ESource::Field, kFirstToneCodes},
    {"KTcode127", ESource::Field, kFirstToneCodes},
    {"KTcode128", ESource::Field, kFirstToneCodes},
    {"KTcode129", ESource::Field, kFirstToneCodes},
    {"KTcode214", ESource::Field, kSecondToneCodes},
    {"KTcode215", ESource::Field, kSecondToneCodes},
    {"KTcode216", ESource::Field, kSecondToneCodes},
    {"KTcode217", ESource::Field, kSecondToneCodes},
    {"KTcode218", ESource::Field, kSecondToneCodes},
    {"KTcode219", ESource::Field, kSecondToneCodes},
    {"powerupString"},
    {"rogerBeepTone"},
    {"disableSelectableScramble"},
    {"backlight_timeout"},
    {"callTone"},
    {"keypadLock"},
    {"keypadBeep"},
});

constexpr std::array kPresetCatalogue = std::to_array<SAttribute>({
    {"channel", ESource::Preset},
});

constexpr std::array kChannelCatalogue = std::to_array<SAttribute>({
    {"rx_freq_ndx"},
    {"rx_code"},
    {"tx_freq_ndx"},
    {"tx_code"},
    {"rx_bw"},
    {"tx_bw"},
    {"talkaround_power"},
    {"repeater_power"},
    {"repeater"},
    {"autoScan"},
    {"scramble_code"},
    {"name"},
    {"disable_channel"},
    {"talkaround_scan"},
    {"in_scanlist", ESource::ScanBit},
});

constexpr std::array kFrequencyCatalogue = std::to_array<SAttribute>({
    {"freq", ESource::Frequency},
    {"bandwidth", ESource::Field, -1, kTwoBits},
    {"power_level", ESource::Field, -1, kTwoBits},
    {"compander_lle_mode"},
});

constexpr std::array kPresetFields = {&ImageField("preset_1"), &ImageField("preset_2")};

// Every field entry of a catalogue names a field of its table, of its own element, that the
// conversion may write; a typo or a stray entry does not compile.
template <std::size_t N, std::size_t M>
constexpr bool Resolves(const std::array<SAttribute, N>& catalogue,
                        const std::array<SField, M>& fields, Element element) {
    for (const SAttribute& attribute : catalogue) {
        if (attribute.source != ESource::Field) {
            continue;
        }
        const int i = IndexIn(fields, attribute.name);
        if (i < 0 || fields[std::size_t(i)].element != element ||
            !fields[std::size_t(i)].IsAttribute()) {
            return false;
        }
    }
    return true;
}
static_assert(Resolves(kFactoryCatalogue, kImageFields, Element::FactorySetting));
static_assert(Resolves(kLimitCatalogue, kImageFields, Element::Limit));
static_assert(Resolves(kSettingCatalogue, kImageFields, Element::Setting));
static_assert(Resolves(kChannelCatalogue, kChannelFields, Element::Channel));
static_assert(Resolves(kFrequencyCatalogue, kFrequencyFields, Element::Frequency));

// And every attribute field of the tables is in a catalogue, so that nothing the image holds for
// a profile is silently dropped.
template <std::size_t M, std::size_t... N>
constexpr bool Listed(const std::array<SField, M>& fields,
                      const std::array<SAttribute, N>&... catalogues) {
    for (const SField& field : fields) {
        if (!field.IsAttribute() || field.element == Element::Preset) {
            continue;
        }
        bool found = false;
        const auto look = [&](const auto& catalogue) {
            for (const SAttribute& attribute : catalogue) {
                found = found || attribute.name == field.name;
            }
        };
        (look(catalogues), ...);
        if (!found) {
            return false;
        }
    }
    return true;
}
static_assert(Listed(kImageFields, kFactoryCatalogue, kLimitCatalogue, kSettingCatalogue));
static_assert(Listed(kChannelFields, kChannelCatalogue));
static_assert(Listed(kFrequencyFields, kFrequencyCatalogue));

QLatin1String Latin(std::string_view text) {
    return QLatin1String(text.data(), qsizetype(text.size()));
}

int SlotOf(std::string_view name) {
    return std::find_if(kButtonSlots.begin(), kButtonSlots.end(),
                        [&](const SButtonSlot& slot) { return slot.name == name; })
        ->slot;
}

const QString kToXmlOperation = QStringLiteral("CDataAdaptor::XML2VirtualCP");

// ---- Text to number, as the C library's unsigned conversions read it ----

bool IsBlank(QChar c) {
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\v' || c == u'\f';
}

int DigitValue(QChar c, int base) {
    int value = -1;
    if (c >= u'0' && c <= u'9') {
        value = c.unicode() - u'0';
    } else if (c >= u'a' && c <= u'z') {
        value = c.unicode() - u'a' + 10;
    } else if (c >= u'A' && c <= u'Z') {
        value = c.unicode() - u'A' + 10;
    }
    return value < base ? value : -1;
}

struct SParsed {
    bool negative = false;
    bool overflow = false;
    quint64 magnitude = 0;
};

// Leading blanks, a sign, the digits; the rest of the text is ignored, and no digits read as 0.
SParsed ParseLeading(const QString& text, int base) {
    SParsed parsed;
    qsizetype i = 0;
    while (i < text.size() && IsBlank(text[i])) {
        ++i;
    }
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
        parsed.negative = text[i] == u'-';
        ++i;
    }
    // A "0x" prefix counts only when a digit follows it; otherwise the "0" is the number.
    if (base == 16 && i + 2 < text.size() && text[i] == u'0' &&
        (text[i + 1] == u'x' || text[i + 1] == u'X') && DigitValue(text[i + 2], 16) >= 0) {
        i += 2;
    }
    for (; i < text.size(); ++i) {
        const int digit = DigitValue(text[i], base);
        if (digit < 0) {
            break;
        }
        parsed.magnitude = parsed.magnitude * quint64(base) + quint64(digit);
        if (parsed.magnitude > 0xFFFFFFFFull) {
            parsed.overflow = true;
            parsed.magnitude = 0xFFFFFFFFull;
        }
    }
    return parsed;
}

// Unsigned 32-bit: too large gives all ones, a minus sign negates modulo 2^32.
quint32 ToUnsigned(const QString& text, int base) {
    const SParsed parsed = ParseLeading(text, base);
    if (parsed.overflow) {
        return 0xFFFFFFFFu;
    }
    const auto value = quint32(parsed.magnitude);
    return parsed.negative ? quint32(0u - value) : value;
}

// Signed 32-bit, saturating at both ends.
qint32 ToSigned(const QString& text) {
    const SParsed parsed = ParseLeading(text, 10);
    if (parsed.negative) {
        return parsed.magnitude > 0x80000000ull ? qint32(-0x7FFFFFFF - 1)
                                                : qint32(-qint64(parsed.magnitude));
    }
    return parsed.magnitude > 0x7FFFFFFFull ? qint32(0x7FFFFFFF) : qint32(parsed.magnitude);
}

quint8 FirstAnsiByte(const QString& text) {
    const QByteArray bytes = ansi::Encode(QStringView(text).left(1));
    return bytes.isEmpty() ? 0 : quint8(bytes[0]);
}

// ---- Profile to image ----

class CReader {
public:
    CReader(CVirtualCP& image, const CRadioInfo& radio) : m_image(image), m_radio(radio) {}

    // Stores one attribute text into `field` of the record at `base`, by the field's encoding.
    void Store(const SField& field, const QString& text, int base) {
        switch (field.encoding) {
            case Encoding::Number:
                m_image.SetNumber(field, ToUnsigned(text, 10), base);
                break;
            case Encoding::HexNumber:
                m_image.SetNumber(field, ToUnsigned(text, 16), base);
                break;
            case Encoding::Flag:
                m_image.SetNumber(field, text == QLatin1String("1") ? 1 : 0, base);
                break;
            case Encoding::Character:
                m_image.SetNumber(field, FirstAnsiByte(text), base);
                break;
            case Encoding::HexDigit: {
                const QString digits = QString::number(quint32(ToSigned(text)), 16).toUpper();
                m_image.SetNumber(field, quint8(digits.at(0).toLatin1()), base);
                break;
            }
            case Encoding::Model: {
                QByteArray bytes = ansi::Encode(QStringView(text).left(3));
                bytes.append(3 - bytes.size(), '\0');
                for (int i = 3; i < field.width; ++i) {
                    const QChar c = i < text.size() ? text[i] : QChar();
                    bytes.append(char(c >= u'0' && c <= u'9' ? c.unicode() - u'0' : 0));
                }
                m_image.SetRaw(field, bytes, base);
                break;
            }
            case Encoding::Text:
                m_image.SetRaw(field, ansi::Encode(text), base);
                break;
            default:
                break;
        }
    }

    void Read(xmlNodePtr node, std::span<const SAttribute> catalogue,
              std::span<const SField> fields, int base, int record) {
        for (const SAttribute& attribute : catalogue) {
            if (attribute.codesAbove >= 0 && qint64(MaxCodes()) <= attribute.codesAbove) {
                continue;
            }
            const QString text = Text(node, attribute.name);
            switch (attribute.source) {
                case ESource::Field: {
                    const SField& field =
                        *std::find_if(fields.begin(), fields.end(),
                                      [&](const SField& f) { return f.name == attribute.name; });
                    Store(field, ClearedByVersion(field) ? QString() : text, base);
                    break;
                }
                case ESource::ButtonSlot:
                    m_image.SetButtonSlot(SlotOf(attribute.name),
                                          quint8(ToUnsigned(text, 10) & 0x0F));
                    break;
                case ESource::ScanBit:
                    m_image.SetInScanList(record, ToUnsigned(text, 10) != 0);
                    break;
                case ESource::Frequency:
                    m_image.SetFrequencyHz(record, ToUnsigned(text, 10));
                    break;
                case ESource::Preset:
                    m_image.SetNumber(*kPresetFields[std::size_t(record)], ToUnsigned(text, 10));
                    break;
                case ESource::AlwaysZero:
                    break;
            }
        }
    }

private:
    static QString Text(xmlNodePtr node, std::string_view name) {
        return xml::Attribute(node, std::string(name).c_str()).value_or(QString());
    }
    quint32 MaxCodes() const { return m_image.Number(ImageField("maxCodes")); }
    bool ClearedByVersion(const SField& field) const {
        return field.element == vcp::Element::Channel &&
               (&field == &ChannelField("disable_channel") ||
                &field == &ChannelField("talkaround_scan")) &&
               m_radio.CodeplugVersion() < kFirstVersionWithChannelDisable;
    }

    CVirtualCP& m_image;
    const CRadioInfo& m_radio;
};

xmlNodePtr Single(CXPathContext& xpath, const char* expression) {
    xmlNodePtr node = xpath.SelectSingle(QLatin1String(expression));
    if (!node) {
        throw CVeskCPSException(
            model_msg::kUnknownError, kToXmlOperation,
            QStringLiteral("the profile has no element %1").arg(QLatin1String(expression)));
    }
    return node;
}

int FillImage(const CXmlDocument& document, CVirtualCP& image, const CRadioInfo& radio) {
    CXPathContext xpath(document);
    CReader reader(image, radio);
    reader.Read(Single(xpath, "//dfns:factory_setting"), kFactoryCatalogue, kImageFields, 0, 0);
    reader.Read(Single(xpath, "//dfns:limit"), kLimitCatalogue, kImageFields, 0, 0);
    reader.Read(Single(xpath, "//dfns:setting"), kSettingCatalogue, kImageFields, 0, 0);

    const std::vector<xmlNodePtr> presets = xpath.SelectNodes(QStringLiteral("//dfns:preset"));
    for (std::size_t n = 0; n < std::min(presets.size(), kPresetFields.size()); ++n) {
        reader.Read(presets[n], kPresetCatalogue, {}, 0, int(n));
    }
    const std::vector<xmlNodePtr> channels = xpath.SelectNodes(QStringLiteral("//dfns:channel"));
    for (std::size_t n = 0; n < std::min(channels.size(), std::size_t(kChannelCount)); ++n) {
        reader.Read(channels[n], kChannelCatalogue, kChannelFields,
                    CVirtualCP::ChannelOffset(int(n)), int(n));
    }
    const std::vector<xmlNodePtr> frequencies =
        xpath.SelectNodes(QStringLiteral("//dfns:frequency"));
    const std::size_t records = std::min(frequencies.size(), std::size_t(kFrequencyCount));
    for (std::size_t n = 0; n < records; ++n) {
        reader.Read(frequencies[n], kFrequencyCatalogue, kFrequencyFields,
                    CVirtualCP::FrequencyOffset(int(n)), int(n));
    }
    // The radio reads as many records as this count says: the records just filled, whatever a
    // profile written before the count was kept (or edited by hand) claims.
    image.SetNumber(ImageField("max_valid_freqs"), quint32(records));
    return 1;
}

template <typename Parse>
int Convert(Parse parse, CVirtualCP& image, const CRadioInfo& radio) {
    try {
        const CXmlDocument document = parse();
        return FillImage(document, image, radio);
    } catch (CVeskCPSException& error) {
        error.PassOn(kToXmlOperation);
        throw;
    } catch (const std::bad_alloc&) {
        throw CVeskCPSException(model_msg::kUnknownError, kToXmlOperation,
                                QStringLiteral("out of memory"));
    }
}

// ---- Image to profile ----

// Serial, password, power-up string and channel name as the profile shows them.
QString TextRule(QByteArrayView bytes) {
    const qsizetype end = bytes.indexOf('\0');
    QString text = ansi::Decode(end < 0 ? bytes : bytes.first(end));
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && IsBlank(text[first])) {
        ++first;
    }
    while (last > first && IsBlank(text[last - 1])) {
        --last;
    }
    text = text.mid(first, last - first);
    text.replace(QLatin1Char('&'), QLatin1String("&amp;"));
    text.replace(QLatin1Char('<'), QLatin1String("&lt;"));
    text.replace(QLatin1Char('>'), QLatin1String("&gt;"));
    text.replace(QLatin1Char('"'), QLatin1String("&quot;"));
    return text;
}

quint32 HexDigitRule(quint8 byte) {
    if (byte >= '0' && byte <= '9') {
        return quint32(byte - '0');
    }
    if (byte >= 'A' && byte <= 'F') {
        return quint32(byte - 'A' + 10);
    }
    if (byte >= 'a' && byte <= 'f') {
        return quint32(byte - 'a' + 10);
    }
    return 0xFFFFFFFFu;
}

class CWriter {
public:
    CWriter(const CVirtualCP& image, QString& out) : m_image(image), m_out(out) {}

    QString Value(const SField& field, int base) const {
        const QByteArray raw = m_image.Raw(field, base);
        switch (field.encoding) {
            case Encoding::Character:
                return ansi::Decode(raw);
            case Encoding::HexDigit:
                return QString::number(HexDigitRule(quint8(raw[0])));
            case Encoding::Model: {
                QString text = ansi::Decode(raw.left(3).split('\0').first());
                for (int i = 3; i < raw.size(); ++i) {
                    text += QString::number(quint8(raw[i]));
                }
                return text;
            }
            case Encoding::Text:
                return TextRule(raw);
            default:
                return QString::number(m_image.Number(field, base));
        }
    }

    void Attributes(std::span<const SAttribute> catalogue, std::span<const SField> fields, int base,
                    int record) {
        const quint32 maxCodes = m_image.Number(ImageField("maxCodes"));
        for (const SAttribute& attribute : catalogue) {
            if (attribute.codesAbove >= 0 && qint64(maxCodes) <= attribute.codesAbove) {
                continue;
            }
            QString value;
            switch (attribute.source) {
                case ESource::Field: {
                    const SField& field =
                        *std::find_if(fields.begin(), fields.end(),
                                      [&](const SField& f) { return f.name == attribute.name; });
                    value = attribute.mask == 0xFFFFFFFF
                                ? Value(field, base)
                                : QString::number(m_image.Number(field, base) & attribute.mask);
                    break;
                }
                case ESource::ButtonSlot:
                    value = QString::number(m_image.ButtonSlot(SlotOf(attribute.name)));
                    break;
                case ESource::ScanBit:
                    value = QString::number(m_image.InScanList(record) ? 1 : 0);
                    break;
                case ESource::Frequency:
                    value = QString::number(m_image.FrequencyHz(record));
                    break;
                case ESource::Preset:
                    value = QString::number(m_image.Number(*kPresetFields[std::size_t(record)]));
                    break;
                case ESource::AlwaysZero:
                    value = QStringLiteral("0");
                    break;
            }
            m_out += Latin(attribute.name);
            m_out += QLatin1String("=\"");
            m_out += value;
            m_out += QLatin1String("\" ");
        }
    }

private:
    const CVirtualCP& m_image;
    QString& m_out;
};

QString BuildProfile(const CVirtualCP& image) {
    QString out;
    CWriter writer(image, out);
    out += QLatin1String("<?xml version=\"1.0\" encoding=\"utf-8\" ?>\r\n<VeskProfile xmlns=\"");
    out += QLatin1String(kProfileNamespace);
    out += QLatin1String("\">\r\n");

    out += QLatin1String("\t<factory_setting ");
    writer.Attributes(kFactoryCatalogue, kImageFields, 0, 0);
    out += QLatin1String("/>");

    out += QLatin1String("\r\n\t<limit ");
    writer.Attributes(kLimitCatalogue, kImageFields, 0, 0);
    out += QLatin1String("/>\r\n");

    out += QLatin1String("\t<setting ");
    writer.Attributes(kSettingCatalogue, kImageFields, 0, 0);
    out += QLatin1String(">\r\n");
    for (int n = 0; n < int(kPresetFields.size()); ++n) {
        out += QLatin1String("\t\t<preset ");
        // The preset's one attribute closes its element without the blank of the others.
        QString attribute;
        CWriter(image, attribute).Attributes(kPresetCatalogue, {}, 0, n);
        out += attribute.chopped(1);
        out += QLatin1String("/>\r\n");
    }
    out += QLatin1String("\t</setting>\r\n");

    out += QLatin1String("\t<channels>\r\n");
    for (int n = 0; n < CDataAdaptor::ChannelsInUse(image); ++n) {
        out += QLatin1String("\t\t<channel ");
        writer.Attributes(kChannelCatalogue, kChannelFields, CVirtualCP::ChannelOffset(n), n);
        out += QLatin1String("/>\r\n");
    }
    out += QLatin1String("\t</channels>\r\n");

    out += QLatin1String("\t<frequencies>\r\n");
    for (int n = 0; n < CDataAdaptor::FrequenciesInUse(image); ++n) {
        out += QLatin1String("\t\t<frequency ");
        writer.Attributes(kFrequencyCatalogue, kFrequencyFields, CVirtualCP::FrequencyOffset(n), n);
        out += QLatin1String("/>\r\n");
    }
    out += QLatin1String("\t</frequencies>\r\n");
    out += QLatin1String("</VeskProfile>\r\n");
    return out;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
bool IsUpper(char c) {
    return c >= 'A' && c <= 'Z';
}
// Letters that read like digits are left out of the positions where they could be mistaken.
bool IsUpperNotO(char c) {
    return IsUpper(c) && c != 'O';
}
bool IsUpperNotOI(char c) {
    return IsUpperNotO(c) && c != 'I';
}

}  // namespace

std::span<const SAttribute> CDataAdaptor::Catalogue(Element element) {
    switch (element) {
        case Element::FactorySetting:
            return kFactoryCatalogue;
        case Element::Limit:
            return kLimitCatalogue;
        case Element::Setting:
            return kSettingCatalogue;
        case Element::Preset:
            return kPresetCatalogue;
        case Element::Channel:
            return kChannelCatalogue;
        case Element::Frequency:
            return kFrequencyCatalogue;
        case Element::None:
            break;
    }
    return {};
}

int CDataAdaptor::XML2VirtualCP(const QString& profileText, CVirtualCP& image,
                                const CRadioInfo& radio) {
    return Convert(
        [&] {
            return CXmlDocument::ParseText(profileText, QStringLiteral("profile"),
                                           model_msg::kUnknownError);
        },
        image, radio);
}

int CDataAdaptor::XML2VirtualCP(const QByteArray& profileText, CVirtualCP& image,
                                const CRadioInfo& radio) {
    return Convert(
        [&] {
            return CXmlDocument::Parse(profileText, QStringLiteral("profile"),
                                       model_msg::kUnknownError);
        },
        image, radio);
}

int CDataAdaptor::VirtualCP2XML(CVirtualCP& image, QString& out, IUserPrompt& prompt) {
    if (!IsValidSerial(image.Raw(ImageField("serial")))) {
        prompt.Show(kMsgInvalidSerial);
        return 0;
    }
    RepairDuplicateNames(image);
    out = BuildProfile(image);
    try {
        CXmlDocument::ParseText(out, QStringLiteral("codeplug"));
    } catch (const CVeskCPSException&) {
        prompt.Show(kMsgCodeplugCorrupted);
        return 0;
    }
    if (!CheckMURFreq(out)) {
        prompt.Show(kMsgInvalidFrequency);
        return 0;
    }
    return 1;
}

bool CDataAdaptor::IsValidSerial(QByteArrayView serial) {
    if (serial.size() < 10) {
        return false;
    }
    const auto at = [&](int position) { return serial[position - 1]; };
    return IsDigit(at(1)) && IsDigit(at(2)) && IsDigit(at(3)) && IsUpperNotO(at(4)) &&
           IsUpperNotOI(at(5)) && IsUpperNotOI(at(6)) && (IsDigit(at(7)) || IsUpper(at(7))) &&
           (IsDigit(at(8)) || IsUpperNotOI(at(8))) && (IsDigit(at(9)) || IsUpperNotOI(at(9))) &&
           (IsDigit(at(10)) || IsUpperNotOI(at(10)));
}

QByteArray CDataAdaptor::RepairName(int k) {
    const QByteArray text =
        (k < 10 ? QByteArrayLiteral("CHAN 0") : QByteArrayLiteral("CHAN ")) + QByteArray::number(k);
    QByteArray name = text.left(ChannelField("name").width);
    name.append(ChannelField("name").width - name.size(), '\0');
    return name;
}

void CDataAdaptor::RepairDuplicateNames(CVirtualCP& image) {
    const SField& name = ChannelField("name");
    const int count = ChannelsInUse(image);
    const auto taken = [&](const QByteArray& candidate) {
        for (int c = 0; c < count; ++c) {
            if (image.ChannelRaw(c, name) == candidate) {
                return true;
            }
        }
        return false;
    };
    // One counter for the whole repair, so that every new name is new. At most `count` names
    // can be taken, so the search for a free one always ends.
    int k = 1;
    for (int i = 1; i < count; ++i) {
        for (int j = 0; j < i; ++j) {
            if (image.ChannelRaw(i, name) != image.ChannelRaw(j, name)) {
                continue;
            }
            QByteArray candidate;
            do {
                candidate = RepairName(k++);
            } while (taken(candidate));
            image.SetChannelRaw(i, name, candidate);
        }
    }
}

int CDataAdaptor::ChannelsInUse(const CVirtualCP& image) {
    return int(std::min<quint32>(image.Number(ImageField("maxChannels")), kChannelCount));
}

int CDataAdaptor::FrequenciesInUse(const CVirtualCP& image) {
    return int(std::min<quint32>(image.Number(ImageField("max_valid_freqs")), kFrequencyCount));
}
