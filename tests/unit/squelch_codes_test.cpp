// The code list items of the squelch code numbers, as every page, report and veskctl shows them.

#include "model/squelch_codes.h"

#include "model/data_item.h"
#include "model/profile_node_access.h"
#include "model/schema_index.h"
#include "platform/xml/xml_document.h"
#include "platform/xml/xml_node.h"
#include "platform/xml/xpath.h"
#include "qt_print.h"
#include "source_files.h"

#include <gtest/gtest.h>

namespace {

struct SCodeRow {
    int number;
    const char* separator;
    const char* text;
};

class SquelchCodes : public testing::TestWithParam<SCodeRow> {
protected:
    // The setting element of a profile whose customized KT 124 is 100.0 Hz (129 is 255.0 Hz) and
    // customized VRC 214 is 023 (19 in decimal); 215 is not in the profile.
    SquelchCodes()
        : schema(CSchemaIndex::Build(CXmlDocument::Parse(
              ReadSource(QStringLiteral("install/profiletemplate/DataProfile.xsd")),
              QStringLiteral("xsd")))),
          document(CXmlDocument::Parse(
              ReadSource(QStringLiteral("tests/data/profiles/good/handheld_uhf.xml")),
              QStringLiteral("profile"))),
          context(std::make_shared<SDataContext>(SDataContext{nullptr, &schema})) {
        xmlNodePtr node = CXPathContext(document).SelectSingle(QStringLiteral("//dfns:setting"));
        xml::SetAttribute(node, "KTcode124", QStringLiteral("1000"));
        xml::SetAttribute(node, "KTcode214", QStringLiteral("19"));
        xmlUnsetProp(node, reinterpret_cast<const xmlChar*>("KTcode215"));
        setting = CDataItem(CProfileNodeAccess::Wrap(node), context);
    }

    CSchemaIndex schema;
    CXmlDocument document;
    std::shared_ptr<SDataContext> context;
    CDataItem setting;
};

TEST_P(SquelchCodes, ItemTextOfANumber) {
    const SCodeRow& row = GetParam();
    const QString text =
        squelch::CodeItemText(row.number, setting, QString::fromLatin1(row.separator));
    EXPECT_EQ(text, QString::fromUtf8(row.text));
    // Whatever the text says after its number, the number reads back.
    EXPECT_EQ(squelch::NumberOfItemText(text), row.number);
}

INSTANTIATE_TEST_SUITE_P(
    Numbers, SquelchCodes,
    testing::Values(SCodeRow{0, ".", "No KT/VRC code"}, SCodeRow{1, ".", "1 - 67.0 Hz"},
                    SCodeRow{1, ",", "1 - 67,0 Hz"}, SCodeRow{38, ".", "38 - 250.3 Hz"},
                    SCodeRow{39, ".", "39 - VRC 023"}, SCodeRow{121, ".", "121 - VRC 754"},
                    SCodeRow{122, ",", "122 - 69,30 Hz"}, SCodeRow{123, ".", "123 - VRC 645"},
                    SCodeRow{124, ".", "124 - Customized KT (100.0 Hz)"},
                    SCodeRow{129, ".", "129 - Customized KT (255.0 Hz)"},
                    SCodeRow{130, ".", "130 - Inverted VRC 39"},
                    SCodeRow{213, ".", "213 - Inverted VRC 123"},
                    SCodeRow{214, ".", "214 - Customized VRC (023)"},
                    SCodeRow{215, ".", "215 - Customized VRC (000)"},
                    SCodeRow{221, ".", "221 - Inverted VRC 130"}),
    [](const testing::TestParamInfo<SCodeRow>& row) {
        return "Code" + std::to_string(row.param.number) +
               (row.param.separator[0] == ',' ? "Comma" : "");
    });

TEST_F(SquelchCodes, ListRunsFromNoCodeToMaxCodes) {
    const QStringList codes123 = squelch::CodeListTexts(123, setting, QStringLiteral("."));
    ASSERT_EQ(codes123.size(), 124);
    EXPECT_EQ(codes123.last(), QStringLiteral("123 - VRC 645"));
    const QStringList codes219 = squelch::CodeListTexts(219, setting, QStringLiteral("."));
    ASSERT_EQ(codes219.size(), 220);
    EXPECT_TRUE(codes219.last().startsWith(QStringLiteral("219 - Customized VRC (")));
    EXPECT_TRUE(squelch::CodeListTexts(-1, setting, QStringLiteral(".")).isEmpty());
}

TEST(SquelchCodeText, NumbersThatNameNothing) {
    for (const char* text : {"", "abc", " - 67.0 Hz", "12x", "123456 - x", "12-VRC"}) {
        EXPECT_FALSE(squelch::NumberOfItemText(QString::fromLatin1(text)).has_value()) << text;
    }
    EXPECT_EQ(squelch::NumberOfItemText(QStringLiteral(" 17 ")), 17);
}

}  // namespace
