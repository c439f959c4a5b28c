// Every model template the installation ships is checked against what a dealer and the radio
// expect of it. The rules loop over whatever templates the folder holds, so a template added later
// is held to them too.

#include <algorithm>
#include <optional>
#include <vector>

#include <QByteArray>
#include <QDir>
#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <QString>
#include <QStringList>

#include "model/profile_file.h"
#include "model/schema_validator.h"
#include "model/version_fields.h"
#include "platform/vesk_cps_exception.h"
#include "platform/xml/xml_document.h"
#include "platform/xml/xml_node.h"
#include "platform/xml/xpath.h"
#include "qt_print.h"
#include "source_files.h"

#include <gtest/gtest.h>

namespace {

const QString kTemplateDir = QStringLiteral(VESK_SOURCE_DIR "/install/profiletemplate");
const QString kLibDir = QStringLiteral(VESK_SOURCE_DIR "/install/lib");

// The licence-free service no radio of ours may carry.
constexpr quint32 kMursHz[] = {151820000, 151880000, 151940000, 154570000, 154600000};
constexpr quint32 kSynthesizerStepHz = 1050000;
// The radio keeps seven bits of the synthesizer count above the model's base.
constexpr quint32 kSynthesizerSpan = 127;
constexpr quint32 kUhfRepeaterOffsetHz = 5000000;

struct SBand {
    quint32 low;
    quint32 high;
};
constexpr SBand kVhf{136000000, 174000000};
constexpr SBand kUhf{400000000, 470000000};

// The installation's own documents the templates are judged by.
struct SInstallation {
    CXmlDocument region = CXmlDocument::ParseFile(kLibDir + QStringLiteral("/Region.stv"));
    CXmlDocument rules =
        CXmlDocument::ParseFile(kLibDir + QStringLiteral("/UpDownGradeSetting.stv"));
    CXmlDocument xsd = CXmlDocument::ParseFile(kTemplateDir + QStringLiteral("/DataProfile.xsd"));
    CSchemaValidator validator{ReadAll(kTemplateDir + QStringLiteral("/DataProfile.xsd"))};
};

const SInstallation& Installation() {
    static const SInstallation installation;
    return installation;
}

QString RegionName() {
    CXPathContext xpath(Installation().region);
    return xml::Attribute(xpath.SelectSingle(QStringLiteral("//dfns:Region")), "name")
        .value_or(QString());
}

QStringList SupportedRegionCodes() {
    CXPathContext xpath(Installation().region);
    QStringList codes;
    for (xmlNodePtr code : xpath.SelectNodes(QStringLiteral("//dfns:Support/dfns:*"))) {
        codes << xml::Attribute(code, "num").value_or(QString());
    }
    return codes;
}

int CpsCodeplugVersion() {
    CXPathContext xpath(Installation().region);
    return xml::NodeText(xpath.SelectSingle(QStringLiteral("//dfns:CPVersion"))).trimmed().toInt();
}

// The fields a profile of `version` lacks, as the model computes them from the installed rules.
CVersionFields VersionFields(int version) {
    return CVersionFields::Compute(Installation().rules, RegionName(), version);
}

// Element name -> the attributes its schema type requires.
QHash<QString, QSet<QString>> RequiredAttributes() {
    CXPathContext xpath(Installation().xsd);
    xpath.RegisterNamespace("xs", "http://www.w3.org/2001/XMLSchema");
    QHash<QString, QSet<QString>> required;
    for (xmlNodePtr element : xpath.SelectNodes(QStringLiteral("//xs:element[@type]"))) {
        const QString type = xml::Attribute(element, "type").value_or(QString());
        const QString name = xml::Attribute(element, "name").value_or(QString());
        for (xmlNodePtr attribute : xpath.SelectNodes(
                 QStringLiteral("//xs:complexType[@name=%1]/xs:attribute[@use='required']")
                     .arg(CXPathContext::Literal(type)))) {
            required[name].insert(xml::Attribute(attribute, "name").value_or(QString()));
        }
    }
    return required;
}

struct STemplate {
    QString fileName;
    QByteArray text;
    CXmlDocument asFiled;  // the file's own shape
    CXmlDocument profile;  // with its version's fields put on, as the editor holds it
    int codeplugVersion = 0;
};

struct SLoaded {
    std::vector<STemplate> templates;
    QStringList failures;
};

// Every template read and parsed as the program does, with its version's fields put on and
// validated. One that cannot be read, parsed or brought to the schema's shape is a failure and is
// left out of the rule checks, which would only repeat it.
SLoaded LoadTemplates() {
    const QDir dir(kTemplateDir);
    const QStringList names =
        dir.entryList(QStringList{QStringLiteral("*.vk4")}, QDir::Files, QDir::Name);
    SLoaded loaded;
    if (names.isEmpty()) {
        loaded.failures << QStringLiteral("no template in ") + kTemplateDir;
    }
    for (const QString& name : names) {
        const std::optional<QString> text = profile_file::Read(dir.filePath(name));
        if (!text) {
            loaded.failures << QStringLiteral("cannot read ") + name;
            continue;
        }
        try {
            STemplate entry;
            entry.fileName = name;
            entry.text = text->toUtf8();
            entry.asFiled = CXmlDocument::Parse(entry.text, name);
            CXPathContext xpath(entry.asFiled);
            entry.codeplugVersion =
                xml::AttributeInt32(xpath.SelectSingle(QStringLiteral("//dfns:factory_setting")),
                                    "codeplug_version")
                    .value_or(0);
            entry.profile = entry.asFiled.Clone();
            VersionFields(entry.codeplugVersion).PutOn(entry.profile);
            Installation().validator.Validate(entry.profile, name, entry.text);
            loaded.templates.push_back(std::move(entry));
        } catch (const CVeskCPSException& e) {
            loaded.failures << name + QStringLiteral(": ") + e.Text();
        }
    }
    return loaded;
}

std::vector<STemplate> Templates() {
    return LoadTemplates().templates;
}

// A template that passed the schema has every attribute the rules read.
quint32 Num(const xmlNode* node, const char* name) {
    return xml::AttributeUInt32(node, name).value_or(0);
}

QString Text(const xmlNode* node, const char* name) {
    return xml::Attribute(node, name).value_or(QString());
}

class CProfile {
public:
    explicit CProfile(const STemplate& t) : m_xpath(t.profile) {
        factory = Single("factory_setting");
        limit = Single("limit");
        setting = Single("setting");
        channels = m_xpath.SelectNodes(QStringLiteral("//dfns:channels/dfns:channel"));
        frequencies = m_xpath.SelectNodes(QStringLiteral("//dfns:frequencies/dfns:frequency"));
        presets = m_xpath.SelectNodes(QStringLiteral("//dfns:setting/dfns:preset"));
        model = Text(factory, "model");
    }

    QString RegionCode() const { return model.right(2); }
    bool IsRepeaterModel() const {
        return RegionCode() == QLatin1String("70") || RegionCode() == QLatin1String("73");
    }
    bool IsNarrowbandRegion() const {
        return RegionCode() == QLatin1String("00") || RegionCode() == QLatin1String("04") ||
               RegionCode() == QLatin1String("70");
    }
    bool IsUhf() const { return model.size() > 1 && model.at(1) == QLatin1Char('U'); }
    quint32 FreqAt(quint32 index) const {
        return index < frequencies.size() ? Num(frequencies[index], "freq") : 0;
    }
    const xmlNode* FrequencyAt(quint32 index) const {
        return index < frequencies.size() ? frequencies[index] : nullptr;
    }

    xmlNodePtr factory;
    xmlNodePtr limit;
    xmlNodePtr setting;
    std::vector<xmlNodePtr> channels;
    std::vector<xmlNodePtr> frequencies;
    std::vector<xmlNodePtr> presets;
    QString model;

private:
    xmlNodePtr Single(const char* name) {
        return m_xpath.SelectSingle(QStringLiteral("//dfns:") + QLatin1String(name));
    }

    CXPathContext m_xpath;
};

TEST(Templates, LoadAgainstTheSchemaOnceTheirVersionFieldsArePutOn) {
    const SLoaded loaded = LoadTemplates();
    EXPECT_EQ(loaded.failures, QStringList());
    EXPECT_FALSE(loaded.templates.empty());
}

TEST(Templates, OlderVersionsLackExactlyTheFieldsTheVersionRulesAdd) {
    CXPathContext rules(Installation().rules);
    const std::vector<xmlNodePtr> versions =
        rules.SelectNodes(QStringLiteral("//dfns:CodePlugSetting/dfns:*"));
    ASSERT_FALSE(versions.empty());
    // The rules find a version by position, so the names must count up from 1.
    for (std::size_t i = 0; i < versions.size(); ++i) {
        EXPECT_EQ(xml::LocalName(versions[i]), QStringLiteral("CPVer%1").arg(i + 1));
    }
    EXPECT_TRUE(VersionFields(static_cast<int>(versions.size())).IsEmpty())
        << "a profile of the newest version gains nothing";

    const QHash<QString, QSet<QString>> required = RequiredAttributes();
    for (const STemplate& t : Templates()) {
        SCOPED_TRACE(t.fileName.toStdString());
        CXPathContext xpath(t.asFiled);
        QStringList missing;
        for (xmlNodePtr element : xpath.SelectNodes(QStringLiteral("//dfns:*"))) {
            const QString name = xml::LocalName(element);
            for (const QString& attribute : required.value(name)) {
                const QByteArray key = attribute.toUtf8();
                if (!xml::Attribute(element, key.constData())) {
                    missing << name + QLatin1Char('/') + attribute;
                }
            }
        }
        QStringList expected;
        const CVersionFields fields = VersionFields(t.codeplugVersion);
        for (const SVersionEntry& field : fields.Entries()) {
            if (!xpath.SelectNodes(QStringLiteral("//dfns:") + field.node).empty()) {
                expected << field.node + QLatin1Char('/') + field.name;
            }
        }
        missing.removeDuplicates();
        missing.sort();
        expected.sort();
        EXPECT_EQ(missing, expected);
        EXPECT_LE(t.codeplugVersion, static_cast<int>(versions.size()));
    }
}

TEST(Templates, ModelCodeAgreesWithBandTierDisplayAndRegion) {
    static const QRegularExpression pattern(
        QStringLiteral("^C([VU])([DR])([45])([0-9]{2})([0-9]{2})$"));
    const QStringList supported = SupportedRegionCodes();
    for (const STemplate& t : Templates()) {
        SCOPED_TRACE(t.fileName.toStdString());
        const CProfile p(t);
        EXPECT_EQ(t.fileName, p.model + QStringLiteral(".vk4"));
        const QRegularExpressionMatch m = pattern.match(p.model);
        if (!m.hasMatch()) {
            ADD_FAILURE() << "model code " << p.model.toStdString();
            continue;
        }

        const bool vhf = m.captured(1) == QLatin1String("V");
        EXPECT_EQ(m.captured(3), vhf ? QStringLiteral("5") : QStringLiteral("4"));
        const SBand band = vhf ? kVhf : kUhf;
        const quint32 start = Num(p.limit, "start_freq");
        const quint32 end = Num(p.limit, "end_freq");
        EXPECT_LE(band.low, start);
        EXPECT_LT(start, end);
        EXPECT_LE(end, band.high);

        const quint32 tier = m.captured(4).toUInt();
        EXPECT_LE(tier, 19u);
        EXPECT_EQ(Num(p.limit, "maxChannels"), tier);
        EXPECT_EQ(Num(p.setting, "numberChannels"), tier);
        EXPECT_EQ(p.channels.size(), tier);

        const bool display = m.captured(2) == QLatin1String("D");
        EXPECT_EQ(!Text(p.setting, "powerupString").isEmpty(), display)
            << "only a display shows a power-up text";

        EXPECT_TRUE(supported.contains(m.captured(5))) << m.captured(5).toStdString();
        EXPECT_EQ(Num(p.limit, "disable_repeater_feature"), p.IsRepeaterModel() ? 0u : 1u);
        EXPECT_EQ(xml::Attribute(p.setting, "stationID").has_value(), p.IsRepeaterModel())
            << "repeater settings belong to repeater models";
    }
}

TEST(Templates, FrequencyTableHoldsUsableBusinessChannels) {
    for (const STemplate& t : Templates()) {
        SCOPED_TRACE(t.fileName.toStdString());
        const CProfile p(t);
        EXPECT_EQ(p.frequencies.size(), Num(p.limit, "max_valid_freqs"));
        const quint32 start = Num(p.limit, "start_freq");
        const quint32 end = Num(p.limit, "end_freq");
        const quint32 base = Num(p.factory, "synth_base_int_part");
        // Every frequency the model may tune, not only the listed ones, must fit the 7 bits.
        EXPECT_GE(start / kSynthesizerStepHz, base);
        EXPECT_LE(end / kSynthesizerStepHz, base + kSynthesizerSpan);
        QSet<quint32> seen;
        for (const xmlNode* entry : p.frequencies) {
            const quint32 f = Num(entry, "freq");
            SCOPED_TRACE(f);
            EXPECT_GE(f, start);
            EXPECT_LE(f, end);
            EXPECT_EQ(std::count(std::begin(kMursHz), std::end(kMursHz), f), 0);
            EXPECT_TRUE(f % 2500 == 0 || f % 6250 == 0) << "off the channel raster";
            EXPECT_FALSE(seen.contains(f)) << "listed twice";
            seen.insert(f);
        }
    }
}

TEST(Templates, ChannelsReferToTheTableAndTransmitAsTheModelAllows) {
    static const QRegularExpression displayable(
        QStringLiteral("^[ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789bcdghliour*{}?&%.+/\\\\\\-' ]+$"));
    for (const STemplate& t : Templates()) {
        SCOPED_TRACE(t.fileName.toStdString());
        const CProfile p(t);
        const quint32 tableSize = Num(p.limit, "max_valid_freqs");
        const bool talkaroundScan = Num(p.limit, "talkaround_scan_enable") == 1;
        const bool canDisable = Num(p.limit, "disable_channel_enable") == 1;
        QSet<QString> names;
        int enabled = 0;
        for (const xmlNode* channel : p.channels) {
            const QString name = Text(channel, "name");
            SCOPED_TRACE(name.toStdString());
            EXPECT_LE(name.size(), 8);
            EXPECT_TRUE(displayable.match(name).hasMatch()) << "empty or not displayable";
            EXPECT_FALSE(names.contains(name.toUpper())) << "name used twice";
            names.insert(name.toUpper());

            const quint32 rx = Num(channel, "rx_freq_ndx");
            const quint32 tx = Num(channel, "tx_freq_ndx");
            EXPECT_LT(rx, tableSize);
            EXPECT_LT(tx, tableSize);
            const bool repeater = Num(channel, "repeater") == 1;
            if (!p.IsRepeaterModel()) {
                EXPECT_FALSE(repeater);
                EXPECT_EQ(tx, rx);
                EXPECT_EQ(Num(channel, "tx_code"), Num(channel, "rx_code"));
                EXPECT_EQ(Num(channel, "tx_bw"), Num(channel, "rx_bw"));
            }
            if (repeater) {
                EXPECT_NE(p.FreqAt(tx), p.FreqAt(rx)) << "a repeater listens elsewhere";
                if (p.IsUhf()) {
                    EXPECT_EQ(p.FreqAt(tx), p.FreqAt(rx) + kUhfRepeaterOffsetHz);
                }
            }
            if (Num(channel, "talkaround_scan") == 1) {
                EXPECT_TRUE(repeater && talkaroundScan);
            }
            if (Num(channel, "disable_channel") == 1) {
                EXPECT_TRUE(canDisable);
            } else {
                ++enabled;
            }
            if (Num(channel, "scramble_code") != 0) {
                EXPECT_EQ(Num(p.limit, "disable_scramble_feature"), 0u);
            }
        }
        EXPECT_GT(enabled, 0);
        for (const xmlNode* preset : p.presets) {
            const quint32 target = Num(preset, "channel");
            if (target >= p.channels.size()) {
                ADD_FAILURE() << "preset on channel " << target << " of " << p.channels.size();
                continue;
            }
            EXPECT_EQ(Num(p.channels[target], "disable_channel"), 0u) << "preset " << target;
        }
    }
}

TEST(Templates, BandwidthPowerAndCompanderFollowTheTable) {
    for (const STemplate& t : Templates()) {
        SCOPED_TRACE(t.fileName.toStdString());
        const CProfile p(t);
        const bool powerControl = Num(p.limit, "power_cntrl_enabled") == 1;
        for (const xmlNode* entry : p.frequencies) {
            SCOPED_TRACE(Num(entry, "freq"));
            const quint32 bandwidth = Num(entry, "bandwidth");
            if (p.IsNarrowbandRegion()) {
                EXPECT_EQ(bandwidth, 0u) << "25 kHz in a narrowband region";
            }
            if (!powerControl) {
                EXPECT_LE(Num(entry, "power_level"), 1u) << "selectable power without control";
            }
            const quint32 compander = Num(entry, "compander_lle_mode");
            if (bandwidth == 1) {
                EXPECT_EQ(compander, 0u) << "compander on a 25 kHz only entry";
            } else {
                EXPECT_TRUE(compander == 2 || compander == 3) << compander;
            }
        }
        // A forced code (0 or 1) of an entry decides the choice of every channel using it.
        const auto expectForced = [](const xmlNode* entry, const char* code, const xmlNode* channel,
                                     const char* choice) {
            const quint32 forced = Num(entry, code);
            if (forced <= 1) {
                EXPECT_EQ(Num(channel, choice), forced) << choice;
            }
        };
        for (const xmlNode* channel : p.channels) {
            SCOPED_TRACE(Text(channel, "name").toStdString());
            const xmlNode* rx = p.FrequencyAt(Num(channel, "rx_freq_ndx"));
            const xmlNode* tx = p.FrequencyAt(Num(channel, "tx_freq_ndx"));
            if (!rx || !tx) {
                continue;  // reported by the channel rules
            }
            expectForced(rx, "bandwidth", channel, "rx_bw");
            expectForced(rx, "power_level", channel, "talkaround_power");
            expectForced(tx, "bandwidth", channel, "tx_bw");
            expectForced(tx, "power_level", channel, "repeater_power");
        }
    }
}

TEST(Templates, SquelchCodesStayWithinTheModelsList) {
    for (const STemplate& t : Templates()) {
        SCOPED_TRACE(t.fileName.toStdString());
        const CProfile p(t);
        const quint32 maxCodes = Num(p.limit, "maxCodes");
        EXPECT_GE(maxCodes, 122u);
        for (const xmlNode* channel : p.channels) {
            SCOPED_TRACE(Text(channel, "name").toStdString());
            EXPECT_LE(Num(channel, "rx_code"), maxCodes);
            EXPECT_LE(Num(channel, "tx_code"), maxCodes);
        }
        // Customized tones (tenths of a hertz) exist above code 122, customized digital codes
        // (octal 001..777) above 213, and only there.
        struct SCustom {
            int first;
            quint32 above;
            quint32 low;
            quint32 high;
        };
        for (const SCustom& range : {SCustom{124, 122, 670, 2550}, SCustom{214, 213, 1, 0777}}) {
            for (int code = range.first; code < range.first + 6; ++code) {
                const QByteArray name = "KTcode" + QByteArray::number(code);
                const std::optional<quint32> value =
                    xml::AttributeUInt32(p.setting, name.constData());
                EXPECT_EQ(value.has_value(), maxCodes > range.above) << name.constData();
                if (value) {
                    EXPECT_GE(*value, range.low) << name.constData();
                    EXPECT_LE(*value, range.high) << name.constData();
                }
            }
        }
    }
}

TEST(Templates, IdentityAndSettingsAreThoseOfAnUnprogrammedRadio) {
    static const QRegularExpression serialRule(
        QStringLiteral("^[0-9]{3}[A-NP-Z][A-HJ-NP-Z]{2}[0-9A-Z][0-9A-HJ-NP-Z]{3}$"));
    const int cpsVersion = CpsCodeplugVersion();
    for (const STemplate& t : Templates()) {
        SCOPED_TRACE(t.fileName.toStdString());
        const CProfile p(t);
        EXPECT_TRUE(serialRule.match(Text(p.factory, "serial")).hasMatch());
        EXPECT_EQ(Text(p.factory, "firmware_phase"), QStringLiteral("R"));
        EXPECT_EQ(Text(p.factory, "codeplug_phase"), QStringLiteral("R"));
        EXPECT_LE(t.codeplugVersion, cpsVersion) << "this installation would refuse it";
        EXPECT_GE(t.codeplugVersion, 1);
        EXPECT_EQ(Num(p.factory, "sub_region"), 0u);
        EXPECT_EQ(Text(p.setting, "password"), QString()) << "a customer's radio is unlocked";

        EXPECT_LE(Num(p.setting, "callTone"), Num(p.limit, "max_call_tones"));
        QSet<quint32> functions;
        for (const char* button :
             {"side1_but", "side2_but", "upper_right_but", "lower_left_but", "lower_right_but"}) {
            const quint32 function = Num(p.setting, button);
            if (function != 0) {
                EXPECT_FALSE(functions.contains(function)) << button << " repeats a feature";
                functions.insert(function);
            }
        }
        // Values the general and audio settings pages can show as one of their list items.
        const quint32 timeout = Num(p.setting, "timeoutTimer");
        EXPECT_TRUE(timeout == 60 || timeout == 120 || timeout == 180) << timeout;
        if (Num(p.setting, "backlight_enabled") == 1) {
            const quint32 backlight = Num(p.setting, "backlight_timeout");
            EXPECT_TRUE(backlight == 5 || backlight == 10) << backlight;
        }
        const quint32 language = Num(p.setting, "voice_language");
        EXPECT_TRUE(language <= 2 || language == 7) << language;
        EXPECT_LE(Num(p.setting, "microphoneGain"), 2u);
        EXPECT_LE(Num(p.setting, "accessoryMicrophoneGain"), 2u);
        EXPECT_LE(Num(p.setting, "ivol_level"), 2u);
    }
}

}  // namespace
