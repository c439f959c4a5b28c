#include "model/schema_index.h"

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QString>

#include "model/schema_validator.h"
#include "platform/xml/xml_document.h"
#include "platform/xml/xml_node.h"
#include "platform/xml/xpath.h"
#include "qt_print.h"
#include "source_files.h"

#include <gtest/gtest.h>

namespace {

using ValueType = CSchemaIndex::ValueType;

const QString kSchemaPath =
    QStringLiteral(VESK_SOURCE_DIR "/install/profiletemplate/DataProfile.xsd");
const QString kProfilesDir = QStringLiteral(VESK_SOURCE_DIR "/tests/data/profiles");

const CSchemaIndex& Index() {
    static const CXmlDocument xsd = CXmlDocument::ParseFile(kSchemaPath);
    static const CSchemaIndex index = CSchemaIndex::Build(xsd);
    return index;
}

const CSchemaValidator& Validator() {
    static const CSchemaValidator validator(ReadAll(kSchemaPath));
    return validator;
}

// A profile that holds every element the rows below look up.
const CXmlDocument& FullProfile() {
    static const CXmlDocument profile = CXmlDocument::ParseFile(kProfilesDir + "/good/full.xml");
    return profile;
}

xmlNodePtr SelectIn(const CXmlDocument& document, const QString& xpath) {
    CXPathContext context(document);
    xmlNodePtr node = context.SelectSingle(xpath);
    EXPECT_NE(node, nullptr) << xpath.toStdString();
    return node;
}

CVeskCPSException RefusalOf(const CSchemaValidator& validator, const QByteArray& text,
                            const QString& name) {
    try {
        validator.ParseAndValidate(text, name);
    } catch (const CVeskCPSException& e) {
        return e;
    }
    ADD_FAILURE() << "accepted: " << name.toStdString();
    return CVeskCPSException(0, QString(), QString());
}

std::vector<std::string> SampleNames(const char* folder) {
    std::vector<std::string> names;
    const QDir dir(kProfilesDir + '/' + folder);
    for (const QString& name : dir.entryList({QStringLiteral("*.xml")}, QDir::Files, QDir::Name)) {
        names.push_back(name.toStdString());
    }
    return names;
}

std::string SampleTestName(const testing::TestParamInfo<std::string>& info) {
    std::string name = info.param.substr(0, info.param.find('.'));
    for (char& c : name) {
        if (!std::isalnum(static_cast<unsigned char>(c))) {
            c = '_';
        }
    }
    return name;
}

// --- value typing ----------------------------------------------------------------------------

struct STypeRow {
    const char* xpath;
    const char* attribute;
    std::optional<ValueType> expected;
};

class SchemaIndexType : public testing::TestWithParam<STypeRow> {};

TEST_P(SchemaIndexType, FollowsTheTypeChainToItsBuiltInRoot) {
    const STypeRow& row = GetParam();
    xmlNodePtr element = SelectIn(FullProfile(), QString::fromUtf8(row.xpath));
    ASSERT_NE(element, nullptr);
    EXPECT_EQ(Index().FindAttributeType(element, QString::fromUtf8(row.attribute)), row.expected);
    EXPECT_EQ(Index().AttributeType(element, QString::fromUtf8(row.attribute)),
              row.expected.value_or(ValueType::Text));
}

INSTANTIATE_TEST_SUITE_P(
    DataProfile, SchemaIndexType,
    testing::Values(
        // RfFrequencyHz -> FrequencyHz -> UInt32 -> xs:unsignedLong
        STypeRow{"//dfns:frequencies/dfns:frequency[1]", "freq", ValueType::UnsignedLong},
        STypeRow{"//dfns:limit", "start_freq", ValueType::UnsignedLong},
        STypeRow{"//dfns:factory_setting", "firmware_version", ValueType::UnsignedLong},
        STypeRow{"//dfns:channels/dfns:channel[1]", "rx_bw", ValueType::Boolean},
        STypeRow{"//dfns:setting", "keypadBeep", ValueType::Boolean},
        STypeRow{"//dfns:limit", "programming_mode_enabled", ValueType::Boolean},
        // ChannelIndex -> ByteValue -> xs:long
        STypeRow{"//dfns:setting/dfns:preset[1]", "channel", ValueType::Long},
        STypeRow{"//dfns:channels/dfns:channel[1]", "rx_code", ValueType::Long},
        STypeRow{"//dfns:setting", "side1_but", ValueType::Long},
        STypeRow{"//dfns:setting", "KTcode214", ValueType::Long},
        STypeRow{"//dfns:frequencies/dfns:frequency[1]", "bandwidth", ValueType::Long},
        STypeRow{"//dfns:channels/dfns:channel[1]", "name", ValueType::Text},
        STypeRow{"//dfns:factory_setting", "model", ValueType::Text},
        STypeRow{"//dfns:factory_setting", "firmware_phase", ValueType::Text},
        STypeRow{"//dfns:setting", "password", ValueType::Text},
        STypeRow{"//dfns:channels/dfns:channel[1]", "colour", std::nullopt},
        STypeRow{"//dfns:channels", "name", std::nullopt}));

// --- script handlers -------------------------------------------------------------------------

struct SHandlerRow {
    const char* xpath;
    const char* attribute;  // empty: the element itself
    const char* key;
    std::optional<QString> expected;
};

class SchemaIndexHandler : public testing::TestWithParam<SHandlerRow> {};

TEST_P(SchemaIndexHandler, ReadsTheAnnotationOfTheDeclaration) {
    const SHandlerRow& row = GetParam();
    xmlNodePtr element = SelectIn(FullProfile(), QString::fromUtf8(row.xpath));
    ASSERT_NE(element, nullptr);
    const xmlNode* node = element;
    if (*row.attribute) {
        node = reinterpret_cast<const xmlNode*>(
            xmlHasProp(element, reinterpret_cast<const xmlChar*>(row.attribute)));
        ASSERT_NE(node, nullptr) << row.attribute;
    }
    EXPECT_EQ(Index().Handler(node, QString::fromUtf8(row.key)), row.expected);
}

INSTANTIATE_TEST_SUITE_P(
    DataProfile, SchemaIndexHandler,
    testing::Values(
        SHandlerRow{"//dfns:channels/dfns:channel[1]", "name", "SetVal", "SetChannelName"},
        SHandlerRow{"//dfns:channels/dfns:channel[2]", "in_scanlist", "SetVal", "SetInScanList"},
        SHandlerRow{"//dfns:setting/dfns:preset[2]", "channel", "SetVal", "SetPresetChannel"},
        SHandlerRow{"//dfns:limit", "programming_mode_enabled", "SetVal", "SetProgrammingMode"},
        SHandlerRow{"//dfns:setting", "disableLED", "SetVal", "SetSettingFlag"},
        SHandlerRow{"//dfns:channels", "", "CanAddChild", "CanAddChannel"},
        SHandlerRow{"//dfns:channels", "", "OnAddNew", "AddChannel"},
        SHandlerRow{"//dfns:channels/dfns:channel[1]", "", "OnDelete", "DeleteChannel"},
        SHandlerRow{"//dfns:channels/dfns:channel[1]", "", "CanDeleteChild", "CanDeleteChannel"},
        SHandlerRow{"//dfns:frequencies", "", "CanAddChild", "CanAddFrequency"},
        SHandlerRow{"//dfns:frequencies", "", "OnAddNewFrequency", "AddFrequency"},
        SHandlerRow{"//dfns:frequencies", "", "SetFreqAttr", "SetFrequencyAttributes"},
        SHandlerRow{"//dfns:frequencies/dfns:frequency[1]", "", "OnDelete", "DeleteFrequency"},
        // Declarations without an annotation, or an annotation without the key.
        SHandlerRow{"//dfns:channels/dfns:channel[1]", "rx_code", "SetVal", std::nullopt},
        SHandlerRow{"//dfns:limit", "maxChannels", "SetVal", std::nullopt},
        SHandlerRow{"//dfns:channels/dfns:channel[1]", "name", "CanAddChild", std::nullopt},
        SHandlerRow{"//dfns:channels", "", "OnDelete", std::nullopt},
        SHandlerRow{"//dfns:factory_setting", "", "SetVal", std::nullopt},
        SHandlerRow{"/dfns:VeskProfile", "", "CanAddChild", std::nullopt}));

// --- value limits ----------------------------------------------------------------------------

struct SValueRow {
    const char* xpath;
    const char* attribute;
    const char* value;
    const char* refusal;  // null when the value is admitted
};

void PrintTo(const SValueRow& row, std::ostream* os) {
    *os << row.attribute << "=" << row.value;
}

class SchemaIndexValue : public testing::TestWithParam<SValueRow> {};

// The index's verdict on one value is the validator's on a profile that holds it.
TEST_P(SchemaIndexValue, RefusesWhatTheValidatorRefuses) {
    const SValueRow& row = GetParam();
    const QString xpath = QString::fromUtf8(row.xpath);
    xmlNodePtr element = SelectIn(FullProfile(), xpath);
    ASSERT_NE(element, nullptr);
    const QString value = QString::fromUtf8(row.value);
    const std::optional<QString> refusal =
        Index().CheckAttributeValue(element, QString::fromUtf8(row.attribute), value);
    EXPECT_EQ(refusal, row.refusal ? std::optional(QString::fromUtf8(row.refusal)) : std::nullopt);

    CXmlDocument copy = FullProfile().Clone();
    xml::SetAttribute(SelectIn(copy, xpath), row.attribute, value);
    bool valid = true;
    try {
        Validator().Validate(copy, QStringLiteral("copy"), copy.ToXml());
    } catch (const CVeskCPSException&) {
        valid = false;
    }
    EXPECT_EQ(valid, !refusal.has_value());
}

const char* const kChannel = "//dfns:channels/dfns:channel[1]";
const char* const kFrequency = "//dfns:frequencies/dfns:frequency[1]";
const char* const kFactory = "//dfns:factory_setting";

INSTANTIATE_TEST_SUITE_P(
    DataProfile, SchemaIndexValue,
    testing::Values(
        // SquelchCode -> ByteValue -> xs:long
        SValueRow{kChannel, "rx_code", "255", nullptr},
        SValueRow{kChannel, "rx_code", " 7", "it is not a whole number"},
        SValueRow{kChannel, "rx_code", "+7", nullptr},
        SValueRow{kChannel, "rx_code", "256", "the largest value is 255"},
        SValueRow{kChannel, "rx_code", "-1", "the smallest value is 0"},
        SValueRow{kChannel, "rx_code", "7x", "it is not a whole number"},
        SValueRow{kChannel, "rx_code", "", "it is not a whole number"},
        // The most derived limit is the one named: ChannelIndex before ByteValue.
        SValueRow{"//dfns:setting/dfns:preset[1]", "channel", "19", "the largest value is 18"},
        SValueRow{kFrequency, "bandwidth", "300", "the largest value is 3"},
        // RfFrequencyHz -> FrequencyHz -> UInt32 -> xs:unsignedLong
        SValueRow{kFrequency, "freq", "30000000", nullptr},
        SValueRow{kFrequency, "freq", "29999999", "the smallest value is 30000000"},
        SValueRow{kFrequency, "freq", "1000000001", "the largest value is 1000000000"},
        SValueRow{kFrequency, "freq", "-5", "it is not a whole number of 0 or more"},
        SValueRow{"//dfns:limit", "maxCodes", "4294967295", nullptr},
        SValueRow{"//dfns:limit", "maxCodes", "4294967296", "the largest value is 4294967295"},
        SValueRow{"//dfns:limit", "maxCodes", "18446744073709551616",
                  "it is not a whole number of 0 or more"},
        SValueRow{kFactory, "firmware_version", "4294967295", nullptr},
        SValueRow{kFactory, "firmware_version", "16",
                  "it does not have the form [0-9]|1[0-5]|4294967295"},
        // FlagType: xs:boolean restricted to the one stored form.
        SValueRow{kChannel, "rx_bw", "1", nullptr},
        SValueRow{kChannel, "rx_bw", "true", "it does not have the form 0|1"},
        SValueRow{kChannel, "rx_bw", "2", "it is not 0 or 1"},
        // Texts: patterns and lengths, in characters.
        SValueRow{kFactory, "model", "CUD41600", nullptr},
        SValueRow{kFactory, "model", "CUD4160", "it does not have the form [A-Z]{3}[0-9]{5}"},
        SValueRow{kFactory, "serial", "", nullptr},
        SValueRow{kFactory, "serial", "471KFT2P9X", nullptr},
        SValueRow{kFactory, "serial", "471OFT2P9X",
                  "it does not have the form "
                  "([0-9]{3}[A-NP-Z][A-HJ-NP-Z]{2}[0-9A-Z][0-9A-HJ-NP-Z]{3})?"},
        SValueRow{kChannel, "name", "ABCDEFGH", nullptr},
        SValueRow{kChannel, "name", "ABCDEFGHI", "it must be at most 8 characters long"},
        SValueRow{kChannel, "name",
                  "\U0001F4FB\U0001F4FB\U0001F4FB\U0001F4FB\U0001F4FB\U0001F4FB\U0001F4FB"
                  "\U0001F4FB",
                  nullptr}),
    [](const testing::TestParamInfo<SValueRow>& row) { return "row" + std::to_string(row.index); });

TEST(SchemaIndex, KnowsEveryElementPathOfTheProfile) {
    for (const char* path :
         {"VeskProfile", "VeskProfile/factory_setting", "VeskProfile/limit", "VeskProfile/setting",
          "VeskProfile/setting/preset", "VeskProfile/channels", "VeskProfile/channels/channel",
          "VeskProfile/frequencies", "VeskProfile/frequencies/frequency"}) {
        EXPECT_TRUE(Index().HasElement(QString::fromUtf8(path))) << path;
    }
    EXPECT_EQ(Index().ElementCount(), 9);
}

TEST(SchemaIndex, NodesOutsideTheDeclaredNamespacesHaveNoDeclaration) {
    const CXmlDocument profile = CXmlDocument::Parse(
        R"(<VeskProfile xmlns="urn:corvane:vesk-kel:profile:1" xmlns:x="urn:elsewhere">
             <channels><channel x:name="A" name="B"/></channels>
             <frequencies xmlns="urn:elsewhere"/>
           </VeskProfile>)",
        QStringLiteral("namespaces.xml"));
    xmlNodePtr channels = SelectIn(profile, QStringLiteral("//dfns:channels"));
    ASSERT_NE(channels, nullptr);
    EXPECT_EQ(Index().Handler(channels, QStringLiteral("CanAddChild")), QString("CanAddChannel"));

    xmlNodePtr channel = SelectIn(profile, QStringLiteral("//dfns:channel"));
    ASSERT_NE(channel, nullptr);
    const auto* foreign = reinterpret_cast<const xmlNode*>(
        xmlHasNsProp(channel, reinterpret_cast<const xmlChar*>("name"),
                     reinterpret_cast<const xmlChar*>("urn:elsewhere")));
    const auto* own = reinterpret_cast<const xmlNode*>(
        xmlHasNsProp(channel, reinterpret_cast<const xmlChar*>("name"), nullptr));
    ASSERT_NE(foreign, nullptr);
    ASSERT_NE(own, nullptr);
    EXPECT_EQ(Index().Handler(foreign, QStringLiteral("SetVal")), std::nullopt);
    EXPECT_EQ(Index().Handler(own, QStringLiteral("SetVal")), QString("SetChannelName"));

    xmlNodePtr frequencies = xmlLastElementChild(profile.Root());
    ASSERT_NE(frequencies, nullptr);
    EXPECT_EQ(Index().Handler(frequencies, QStringLiteral("CanAddChild")), std::nullopt);
    EXPECT_EQ(Index().Handler(nullptr, QStringLiteral("SetVal")), std::nullopt);
    EXPECT_EQ(Index().FindAttributeType(nullptr, QStringLiteral("name")), std::nullopt);
}

TEST(SchemaIndex, CyclicAndRecursiveTypesEndAsText) {
    const CXmlDocument xsd = CXmlDocument::Parse(
        R"(<xs:schema xmlns:xs="http://www.w3.org/2001/XMLSchema" xmlns="urn:t"
                      targetNamespace="urn:t" elementFormDefault="qualified">
             <xs:simpleType name="A"><xs:restriction base="B"/></xs:simpleType>
             <xs:simpleType name="B"><xs:restriction base="A"/></xs:simpleType>
             <xs:simpleType name="C"><xs:restriction>
               <xs:simpleType><xs:restriction base="xs:boolean"/></xs:simpleType>
             </xs:restriction></xs:simpleType>
             <xs:element name="node" type="NodeType"/>
             <xs:complexType name="NodeType">
               <xs:sequence><xs:element name="node" type="NodeType" minOccurs="0"/></xs:sequence>
               <xs:attribute name="loop" type="A"/>
               <xs:attribute name="flag" type="C"/>
               <xs:attribute name="count" type="xs:int"/>
             </xs:complexType>
           </xs:schema>)",
        QStringLiteral("cyclic.xsd"));
    const CSchemaIndex index = CSchemaIndex::Build(xsd);
    EXPECT_TRUE(index.HasElement(QStringLiteral("node")));
    EXPECT_TRUE(index.HasElement(QStringLiteral("node/node")));
    EXPECT_FALSE(index.HasElement(QStringLiteral("node/node/node")));

    const CXmlDocument doc =
        CXmlDocument::Parse(R"(<node xmlns="urn:t"><node/></node>)", QStringLiteral("cyclic.xml"));
    xmlNodePtr inner = xmlFirstElementChild(doc.Root());
    ASSERT_NE(inner, nullptr);
    EXPECT_EQ(index.FindAttributeType(doc.Root(), QStringLiteral("loop")), ValueType::Text);
    EXPECT_EQ(index.FindAttributeType(doc.Root(), QStringLiteral("flag")), ValueType::Boolean);
    EXPECT_EQ(index.FindAttributeType(doc.Root(), QStringLiteral("count")), ValueType::Text);
    EXPECT_EQ(index.FindAttributeType(inner, QStringLiteral("flag")), ValueType::Boolean);
}

TEST(SchemaIndex, RefusesADocumentThatIsNoSchema) {
    const CXmlDocument notSchema =
        CXmlDocument::Parse("<schema xmlns='urn:t'/>", QStringLiteral("not.xsd"));
    try {
        CSchemaIndex::Build(notSchema);
        ADD_FAILURE() << "built an index from a non-schema";
    } catch (const CVeskCPSException& e) {
        EXPECT_EQ(e.MessageId(), model_msg::kFatalError102);
    }
}

// --- validation ------------------------------------------------------------------------------

class GoodProfile : public testing::TestWithParam<std::string> {};

TEST_P(GoodProfile, Validates) {
    const QString name = QString::fromStdString(GetParam());
    const QByteArray text = ReadAll(kProfilesDir + "/good/" + name);
    ASSERT_FALSE(text.isEmpty());
    EXPECT_NO_THROW(Validator().ParseAndValidate(text, name));
}

INSTANTIATE_TEST_SUITE_P(Samples, GoodProfile, testing::ValuesIn(SampleNames("good")),
                         SampleTestName);

class BadProfile : public testing::TestWithParam<std::string> {};

TEST_P(BadProfile, IsRefusedWithTheLoadingErrorText) {
    const QString name = QString::fromStdString(GetParam());
    const QByteArray text = ReadAll(kProfilesDir + "/bad/" + name);
    ASSERT_FALSE(text.isEmpty());
    const CVeskCPSException e = RefusalOf(Validator(), text, name);
    EXPECT_EQ(e.MessageId(), model_msg::kInvalidProfile);
    const QString prefix = QStringLiteral("Profile Loading Error.\r\nFile: ") + name + "\r\nDesc: ";
    // The user-facing text comes first; the context line follows it.
    EXPECT_TRUE(e.Text().startsWith(prefix)) << e.Text().toStdString();
    EXPECT_TRUE(e.Text().contains(QStringLiteral("\n(CSchemaValidator::Validate:")));

    static const QRegularExpression kPlace(
        QStringLiteral("\r\nLine: (\\d+), Pos: (\\d+)\r\nSRC: ([^\r\n]*)"));
    const QRegularExpressionMatch place = kPlace.match(e.Text());
    ASSERT_TRUE(place.hasMatch()) << e.Text().toStdString();
    const int line = place.captured(1).toInt();
    const int position = place.captured(2).toInt();
    ASSERT_GT(line, 0);
    EXPECT_GT(position, 0);
    const QList<QByteArray> lines = text.split('\n');
    ASSERT_LE(line, lines.size());
    const QString raw = QString::fromUtf8(lines[line - 1]);
    EXPECT_EQ(place.captured(3), raw.trimmed());
    EXPECT_FALSE(place.captured(3).isEmpty());

    // The position points at the attribute the reason names when it is written in that line,
    // else at the start tag.
    static const QRegularExpression kAttribute(QStringLiteral("attribute '([^']+)'"));
    const QString attribute = kAttribute.match(e.Text()).captured(1);
    const QString atPosition = raw.mid(position - 1);
    if (!attribute.isEmpty() && raw.contains(u' ' + attribute + u'=')) {
        EXPECT_TRUE(atPosition.startsWith(attribute + u'=')) << atPosition.toStdString();
    } else {
        EXPECT_TRUE(atPosition.startsWith(u'<')) << atPosition.toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(Samples, BadProfile, testing::ValuesIn(SampleNames("bad")),
                         SampleTestName);

TEST(SchemaValidator, SampleFoldersAreNotEmpty) {
    EXPECT_GE(SampleNames("good").size(), 1u);
    EXPECT_GE(SampleNames("bad").size(), 1u);
}

struct SXmllintVerdict {
    bool valid = false;
    int firstLine = 0;
};

std::optional<SXmllintVerdict> Xmllint(const QString& path) {
    const QString program = QStandardPaths::findExecutable(QStringLiteral("xmllint"));
    if (program.isEmpty()) {
        return std::nullopt;
    }
    QProcess process;
    process.start(program, {QStringLiteral("--noout"), QStringLiteral("--nonet"),
                            QStringLiteral("--schema"), kSchemaPath, path});
    if (!process.waitForFinished(30000)) {
        ADD_FAILURE() << "xmllint did not finish";
        return std::nullopt;
    }
    SXmllintVerdict verdict;
    verdict.valid = process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    static const QRegularExpression kLine(QStringLiteral(":(\\d+): "));
    const QRegularExpressionMatch match =
        kLine.match(QString::fromUtf8(process.readAllStandardError()));
    verdict.firstLine = match.hasMatch() ? match.captured(1).toInt() : 0;
    return verdict;
}

class XmllintAgreement : public testing::TestWithParam<std::string> {};

TEST_P(XmllintAgreement, SameVerdictAndLine) {
    const QString path = kProfilesDir + '/' + QString::fromStdString(GetParam());
    const auto reference = Xmllint(path);
    if (!reference) {
        GTEST_SKIP() << "xmllint is not installed";
    }
    const QByteArray text = ReadAll(path);
    try {
        Validator().ParseAndValidate(text, path);
        EXPECT_TRUE(reference->valid) << "xmllint refuses what we accept";
    } catch (const CVeskCPSException& e) {
        EXPECT_FALSE(reference->valid) << e.Text().toStdString();
        EXPECT_TRUE(e.Text().contains(QStringLiteral("\r\nLine: %1,").arg(reference->firstLine)))
            << "xmllint line " << reference->firstLine << ": " << e.Text().toStdString();
    }
}

std::vector<std::string> AllSamples() {
    std::vector<std::string> all;
    for (const char* folder : {"good", "bad"}) {
        for (const std::string& name : SampleNames(folder)) {
            all.push_back(std::string(folder) + '/' + name);
        }
    }
    return all;
}

INSTANTIATE_TEST_SUITE_P(Samples, XmllintAgreement, testing::ValuesIn(AllSamples()),
                         SampleTestName);

// --- the parts of the message ----------------------------------------------------------------

TEST(SchemaValidator, FormatsTheLoadingErrorText) {
    EXPECT_EQ(CSchemaValidator::LoadingErrorText(QStringLiteral("a.xml"), QStringLiteral("why"), 2,
                                                 5, "<a>\r\n\t<b x='1'/>\r\n</a>"),
              QStringLiteral("Profile Loading Error.\r\nFile: a.xml\r\nDesc: why\r\nLine: 2, "
                             "Pos: 5\r\nSRC: <b x='1'/>"));
    EXPECT_EQ(CSchemaValidator::LoadingErrorText(QStringLiteral("a.xml"), QStringLiteral("why"), 9,
                                                 1, "<a/>"),
              QStringLiteral("Profile Loading Error.\r\nFile: a.xml\r\nDesc: why\r\nLine: 9, "
                             "Pos: 1\r\nSRC: "));
}

struct SPositionRow {
    const char* line;
    const char* attribute;  // empty: the element
    int expected;
    const char* namedInReason = "";
};

class PositionInLine : public testing::TestWithParam<SPositionRow> {};

TEST_P(PositionInLine, PointsAtTheTagOrAttribute) {
    const SPositionRow& row = GetParam();
    const CXmlDocument doc =
        CXmlDocument::Parse(R"(<p:root xmlns:p="urn:p"><p:item rx_name="1" name="2"/></p:root>)",
                            QStringLiteral("position.xml"));
    xmlNodePtr item = xmlFirstElementChild(doc.Root());
    ASSERT_NE(item, nullptr);
    const xmlNode* node = item;
    if (*row.attribute) {
        node = reinterpret_cast<const xmlNode*>(
            xmlHasProp(item, reinterpret_cast<const xmlChar*>(row.attribute)));
        ASSERT_NE(node, nullptr);
    }
    EXPECT_EQ(CSchemaValidator::PositionInLine(node, row.line, row.namedInReason), row.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, PositionInLine,
    testing::Values(SPositionRow{"\t<p:item rx_name=\"1\" name=\"2\"/>", "", 2},
                    SPositionRow{"\t<p:item rx_name=\"1\" name=\"2\"/>", "name", 22},
                    SPositionRow{"\t<p:item rx_name=\"1\" name=\"2\"/>", "rx_name", 10},
                    SPositionRow{"<p:items/><p:item/>", "", 11},
                    SPositionRow{"   name=\"2\"", "name", 4}, SPositionRow{"nothing here", "", 1},
                    SPositionRow{"\t<p:item rx_name=\"1\" name=\"2\"/>", "", 22, "name"},
                    SPositionRow{"\t<p:item rx_name=\"1\"/>", "", 2, "colour"},

                    SPositionRow{"", "name", 1}));

TEST(SchemaValidator, ASchemaThatDoesNotCompileIsAFatalError) {
    for (const QByteArray& text :
         {QByteArray("<xs:schema xmlns:xs='http://www.w3.org/2001/XMLSchema'>"
                     "<xs:element name='a' type='Missing'/></xs:schema>"),
          QByteArray("<not a schema"), QByteArray("<other/>")}) {
        try {
            CSchemaValidator validator(text);
            ADD_FAILURE() << "compiled: " << text.toStdString();
        } catch (const CVeskCPSException& e) {
            EXPECT_EQ(e.MessageId(), model_msg::kFatalError102) << text.toStdString();
        }
    }
}

TEST(SchemaValidator, ParseFailureIsAnInvalidProfile) {
    const CVeskCPSException e =
        RefusalOf(Validator(), "<VeskProfile xmlns='urn:corvane:vesk-kel:profile:1'>",
                  QStringLiteral("cut.xml"));
    EXPECT_EQ(e.MessageId(), model_msg::kInvalidProfile);
    EXPECT_TRUE(e.Text().contains(QStringLiteral("cut.xml"))) << e.Text().toStdString();
}

TEST(SchemaValidator, ANullDocumentIsRefused) {
    try {
        Validator().Validate(CXmlDocument(), QStringLiteral("none.xml"), QByteArray());
        ADD_FAILURE() << "validated nothing";
    } catch (const CVeskCPSException& e) {
        EXPECT_EQ(e.MessageId(), model_msg::kInvalidProfile);
        EXPECT_TRUE(e.Text().contains(QStringLiteral("Profile Loading Error.\r\nFile: none.xml")));
    }
}

}  // namespace
