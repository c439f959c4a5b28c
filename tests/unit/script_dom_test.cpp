// The XML objects as the interpreter reaches them: every access goes through
// IScriptObject::Invoke with the member name, the arguments and the kind of access.

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <libxml/parser.h>
#include <libxml/tree.h>

#include "platform/script/dom.h"
#include "platform/script/errors.h"
#include "script_variant_expect.h"

#include <gtest/gtest.h>

// gtest shows a QString as its text.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

namespace vbs {
namespace {

using testing_support::SExpect;
using testing_support::Yields;

const char kUri[] = "urn:vesk:profile:1";
const char kProfile[] =
    "<VeskProfile xmlns=\"urn:vesk:profile:1\">"
    "<factory_setting model=\"AVD81670\" codeplug_version=\"3\"/>"
    "<channels><channel name=\"CH1\" rx_freq_ndx=\"0\"/><channel name=\"CH2\" rx_freq_ndx=\"1\"/>"
    "</channels><note>Hello <b>there</b></note></VeskProfile>";

// A string argument; a bare literal would pick CVariant's bool constructor.
CVariant S(const char* text) {
    return CVariant(QString::fromUtf8(text));
}

CVariant Invoke(const CVariant& object, const char* member, std::vector<CVariant> args,
                InvokeKind kind) {
    if (!object.IsObject() || !object.AsObject()) {
        throw CScriptError(err::kObjectRequired);  // what the interpreter raises
    }
    return object.AsObject()->Invoke(QString::fromUtf8(member), args, kind);
}

// obj.member (no arguments) or obj.member(args) used as a value
CVariant Get(const CVariant& object, const char* member, std::vector<CVariant> args = {}) {
    return Invoke(object, member, std::move(args), InvokeKind::Get);
}

// obj.member args  /  x = obj.member(args)
CVariant Call(const CVariant& object, const char* member, std::vector<CVariant> args = {}) {
    return Invoke(object, member, std::move(args), InvokeKind::Method);
}

// obj.member = value
void Let(const CVariant& object, const char* member, CVariant value) {
    Invoke(object, member, {std::move(value)}, InvokeKind::Let);
}

QString Str(const CVariant& value) {
    return value.ToString();
}

int Count(const CVariant& list) {
    return Get(list, "length").ToLong();
}

// "Is": both objects and the same underlying thing.
::testing::AssertionResult Same(const CVariant& a, const CVariant& b) {
    if (!a.IsObject() || !b.IsObject() || !a.AsObject() || !b.AsObject()) {
        return ::testing::AssertionFailure() << Describe(a) << " / " << Describe(b);
    }
    if (a.AsObject()->Identity() != b.AsObject()->Identity()) {
        return ::testing::AssertionFailure() << "different nodes";
    }
    return ::testing::AssertionSuccess();
}

// The error number `f` raised, 0 when it raised none.
int ErrorOf(const std::function<void()>& f, QString* description = nullptr) {
    try {
        f();
    } catch (const CScriptError& e) {
        if (description) {
            *description = e.Description();
        }
        return e.Number();
    }
    return 0;
}

class DomTest : public ::testing::Test {
protected:
    void SetUp() override { document = Load(kProfile); }

    static std::shared_ptr<CDomDocument> Load(const char* xml) {
        QString error;
        std::shared_ptr<CDomDocument> loaded = CDomDocument::Parse(QByteArray(xml), &error);
        EXPECT_TRUE(loaded) << error.toStdString();
        if (loaded) {
            loaded->SetSelectionNamespaces({{QStringLiteral("dfns"), QString::fromUtf8(kUri)}});
        }
        return loaded;
    }

    CVariant Doc() const { return CVariant(ObjectPtr(document)); }
    CVariant Select(const char* xpath) const { return Call(Doc(), "selectSingleNode", {S(xpath)}); }
    CVariant SelectAll(const char* xpath) const { return Call(Doc(), "selectNodes", {S(xpath)}); }
    QString DocXml() const { return Str(Get(Doc(), "xml")); }

    std::shared_ptr<CDomDocument> document;
};

// --- reading -----------------------------------------------------------------------------------

struct SReadRow {
    const char* xpath;  // the node read
    const char* member;
    InvokeKind kind;
    SExpect expected;
};

void PrintTo(const SReadRow& row, std::ostream* os) {
    *os << row.xpath << " ." << row.member;
}

class DomRead : public DomTest, public ::testing::WithParamInterface<SReadRow> {};

TEST_P(DomRead, MemberGivesValue) {
    const SReadRow& row = GetParam();
    const CVariant node = Select(row.xpath);
    ASSERT_FALSE(node.IsNothing()) << row.xpath;
    EXPECT_TRUE(Yields([&] { return Invoke(node, row.member, {}, row.kind); }, row.expected));
}

const InvokeKind kGet = InvokeKind::Get;
const InvokeKind kMethod = InvokeKind::Method;

INSTANTIATE_TEST_SUITE_P(
    Profile, DomRead,
    ::testing::Values(
        SReadRow{"/dfns:VeskProfile", "nodeName", kGet, S("VeskProfile")},
        SReadRow{"/dfns:VeskProfile", "NODENAME", kGet, S("VeskProfile")},
        SReadRow{"/dfns:VeskProfile", "baseName", kGet, S("VeskProfile")},
        SReadRow{"/dfns:VeskProfile", "tagName", kGet, S("VeskProfile")},
        SReadRow{"/dfns:VeskProfile", "nodeType", kGet, CVariant::Long(1)},
        SReadRow{"/dfns:VeskProfile", "namespaceURI", kGet, S(kUri)},
        SReadRow{"/dfns:VeskProfile", "prefix", kGet, S("")},
        SReadRow{"/dfns:VeskProfile", "value", kGet, CVariant::Null()},
        SReadRow{"/dfns:VeskProfile", "hasChildNodes", kMethod, CVariant(true)},
        SReadRow{"//dfns:factory_setting", "hasChildNodes", kMethod, CVariant(false)},
        SReadRow{"//dfns:factory_setting/@model", "nodeType", kGet, CVariant::Long(2)},
        SReadRow{"//dfns:factory_setting/@model", "nodeName", kGet, S("model")},
        SReadRow{"//dfns:factory_setting/@model", "name", kGet, S("model")},
        SReadRow{"//dfns:factory_setting/@model", "value", kGet, S("AVD81670")},
        SReadRow{"//dfns:factory_setting/@model", "nodeValue", kGet, S("AVD81670")},
        SReadRow{"//dfns:factory_setting/@model", "text", kGet, S("AVD81670")},
        SReadRow{"//dfns:factory_setting/@model", "xml", kGet, S("model=\"AVD81670\"")},
        SReadRow{"//dfns:factory_setting/@model", "namespaceURI", kGet, S("")},
        SReadRow{"//dfns:factory_setting/@model", "parentNode", kGet, CVariant::Nothing()},
        SReadRow{"//dfns:factory_setting/@model", "nextSibling", kGet, CVariant::Nothing()},
        SReadRow{"//dfns:factory_setting/@model", "attributes", kGet, CVariant::Null()},
        SReadRow{"//dfns:factory_setting/@model", "hasChildNodes", kMethod, CVariant(false)},
        SReadRow{"//dfns:note", "text", kGet, S("Hello there")},
        SReadRow{"//dfns:note", "xml", kGet, S("<note>Hello <b>there</b></note>")},
        SReadRow{"//dfns:note/text()", "nodeName", kGet, S("#text")},
        SReadRow{"//dfns:note/text()", "nodeType", kGet, CVariant::Long(3)},
        SReadRow{"//dfns:note/text()", "nodeValue", kGet, S("Hello ")},
        SReadRow{"//dfns:note/text()", "xml", kGet, S("Hello ")},
        SReadRow{"//dfns:note/text()", "baseName", kGet, S("")},
        SReadRow{"//dfns:channel[2]", "xml", kGet, S("<channel name=\"CH2\" rx_freq_ndx=\"1\"/>")},
        SReadRow{"//dfns:channel[1]", "previousSibling", kGet, CVariant::Nothing()},
        SReadRow{"/", "nodeName", kGet, S("#document")},
        SReadRow{"/", "nodeType", kGet, CVariant::Long(9)},
        SReadRow{"/", "parentNode", kGet, CVariant::Nothing()},
        SReadRow{"/", "ownerDocument", kGet, CVariant::Nothing()},
        SReadRow{"/", "text", kGet, S("Hello there")},
        SReadRow{"/", "nodeValue", kGet, CVariant::Null()},
        // Members a node does not have, and properties that cannot be called with arguments.
        SReadRow{"//dfns:note", "frobnicate", kGet, SExpect::Error(err::kNoSuchMember)},
        SReadRow{"//dfns:note", "documentElement", kGet, SExpect::Error(err::kNoSuchMember)},
        SReadRow{"//dfns:note/text()", "getAttribute", kMethod, SExpect::Error(err::kNoSuchMember)},
        SReadRow{"//dfns:note/text()", "tagName", kGet, SExpect::Error(err::kNoSuchMember)},
        SReadRow{"//dfns:note", "name", kGet, SExpect::Error(err::kNoSuchMember)},
        SReadRow{"//dfns:note", "getAttribute", kMethod, SExpect::Error(err::kWrongArgCount)},
        SReadRow{"//dfns:note", "appendChild", kMethod, SExpect::Error(err::kWrongArgCount)}));

// --- selection ---------------------------------------------------------------------------------

struct SSelectRow {
    const char* context;  // where the query starts
    const char* xpath;
    int count;
};

void PrintTo(const SSelectRow& row, std::ostream* os) {
    *os << row.context << " -> " << row.xpath;
}

class DomSelect : public DomTest, public ::testing::WithParamInterface<SSelectRow> {};

TEST_P(DomSelect, CountsMatches) {
    const SSelectRow& row = GetParam();
    const CVariant context = Select(row.context);
    const CVariant list = Call(context, "selectNodes", {S(row.xpath)});
    EXPECT_EQ(Count(list), row.count);
    const CVariant first = Call(context, "selectSingleNode", {S(row.xpath)});
    if (row.count == 0) {
        EXPECT_TRUE(first.IsNothing());
    } else {
        EXPECT_TRUE(Same(first, Get(list, "item", {CVariant::Long(0)})));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Profile, DomSelect,
    ::testing::Values(SSelectRow{"/", "//dfns:channel", 2},
                      SSelectRow{"/", "/dfns:VeskProfile/dfns:channels/dfns:channel[@name='CH2']",
                                 1},
                      SSelectRow{"/", "//dfns:channel/@name", 2},
                      SSelectRow{"/", "//dfns:factory_setting/@*", 2},
                      SSelectRow{"/", "//channel", 0},  // no prefix: no namespace
                      SSelectRow{"/", "//dfns:nowhere", 0}, SSelectRow{"/", "//text()", 2},
                      SSelectRow{"/", "//*", 7}, SSelectRow{"//dfns:channels", "dfns:channel", 2},
                      SSelectRow{"//dfns:channels", "dfns:channel[@rx_freq_ndx='1']", 1},
                      SSelectRow{"//dfns:channels", "..", 1},
                      SSelectRow{"//dfns:channels", "/dfns:VeskProfile", 1},
                      // Namespace nodes are not nodes a script can hold.
                      SSelectRow{"//dfns:channels", "namespace::*", 0}));

TEST_F(DomTest, SelectedAttributeIsTheElementsAttribute) {
    const CVariant setting = Select("//dfns:factory_setting");
    const CVariant viaXPath = Select("//dfns:factory_setting/@model");
    const CVariant viaElement = Call(setting, "getAttributeNode", {S("model")});
    EXPECT_TRUE(Same(viaXPath, viaElement));
    EXPECT_EQ(viaXPath.AsObject()->TypeName(), QStringLiteral("IXMLDOMAttribute"));
    // Two wrappers of one node are one node for "Is" and for the host.
    EXPECT_TRUE(Same(Select("//dfns:channels"), Get(Select("//dfns:channel"), "parentNode")));
    EXPECT_NE(NodeOf(viaXPath), nullptr);
    EXPECT_EQ(NodeOf(viaXPath), NodeOf(viaElement));
    EXPECT_EQ(NodeOf(S("not a node")), nullptr);
    EXPECT_TRUE(Same(Get(Select("/dfns:VeskProfile"), "ownerDocument"), Doc()));
    EXPECT_TRUE(Same(Get(Select("/dfns:VeskProfile"), "parentNode"), Doc()));
    EXPECT_TRUE(Same(Get(Doc(), "documentElement"), Select("/dfns:VeskProfile")));
    EXPECT_EQ(NodeOf(Doc()), reinterpret_cast<xmlNodePtr>(document->Doc()));
}

struct SXPathErrorRow {
    const char* xpath;
    int error;
    const char* reason;
};

void PrintTo(const SXPathErrorRow& row, std::ostream* os) {
    *os << row.xpath;
}

class DomXPathError : public DomTest, public ::testing::WithParamInterface<SXPathErrorRow> {};

TEST_P(DomXPathError, RaisesNamingTheExpression) {
    const SXPathErrorRow& row = GetParam();
    for (const char* member : {"selectNodes", "selectSingleNode"}) {
        QString description;
        EXPECT_EQ(ErrorOf([&] { Call(Doc(), member, {S(row.xpath)}); }, &description), row.error)
            << member;
        EXPECT_TRUE(description.contains(u'\'' + QString::fromUtf8(row.xpath) + u'\''))
            << description.toStdString();
        EXPECT_TRUE(description.contains(QString::fromUtf8(row.reason)))
            << description.toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Queries, DomXPathError,
    ::testing::Values(
        SXPathErrorRow{"///[", err::kInvalidCall, "invalid expression"},
        SXPathErrorRow{"//dfns:channel[", err::kInvalidCall, "invalid"},
        SXPathErrorRow{"", err::kInvalidCall, "invalid expression"},
        SXPathErrorRow{"//undeclared:channel", err::kInvalidCall, "undefined namespace prefix"},
        SXPathErrorRow{"nosuchfunction()", err::kInvalidCall, "unknown function"},
        SXPathErrorRow{"count(//dfns:channel)", err::kTypeMismatch, "does not select nodes"},
        SXPathErrorRow{"string(/)", err::kTypeMismatch, "does not select nodes"},
        SXPathErrorRow{"1 = 1", err::kTypeMismatch, "does not select nodes"}));

TEST_F(DomTest, SelectionNamespacesComeFromTheProperty) {
    Call(Doc(), "setProperty",
         {S("SelectionNamespaces"), S("xmlns:p='urn:vesk:profile:1'  xmlns:q=\"urn:other\"")});
    EXPECT_EQ(Count(SelectAll("//p:channel")), 2);
    EXPECT_EQ(Count(SelectAll("//q:channel")), 0);
    // The new list replaces the old one.
    EXPECT_EQ(ErrorOf([&] { SelectAll("//dfns:channel"); }), err::kInvalidCall);
    EXPECT_EQ(Str(Call(Doc(), "getProperty", {S("SelectionNamespaces")})),
              QStringLiteral("xmlns:p='urn:vesk:profile:1' xmlns:q='urn:other'"));
    Call(Doc(), "setProperty", {S("SelectionNamespaces"), S("xmlns:p=\"urn:it's\"")});
    EXPECT_EQ(Str(Call(Doc(), "getProperty", {S("SelectionNamespaces")})),
              QStringLiteral("xmlns:p=\"urn:it's\""));
    Call(Doc(), "setProperty",
         {S("SelectionNamespaces"), S("xmlns:p='urn:vesk:profile:1'  xmlns:q=\"urn:other\"")});
    Call(Doc(), "setProperty", {S("SelectionLanguage"), S("XPath")});
    EXPECT_EQ(Str(Call(Doc(), "getProperty", {S("SelectionLanguage")})), QStringLiteral("XPath"));

    for (const char* bad : {"xmlns:p=urn", "p='urn:x'", "xmlns:p='urn:x' junk", "xmlns:1p='u'"}) {
        EXPECT_EQ(ErrorOf([&] {
                      Call(Doc(), "setProperty", {S("SelectionNamespaces"), S(bad)});
                  }),
                  err::kInvalidCall)
            << bad;
    }
    EXPECT_EQ(Count(SelectAll("//p:channel")), 2);  // a refused value changes nothing
    EXPECT_EQ(ErrorOf([&] {
                  Call(Doc(), "setProperty", {S("ProhibitDTD"), CVariant(true)});
              }),
              err::kInvalidCall);
    EXPECT_EQ(ErrorOf([&] { Call(Doc(), "getProperty", {S("NewParser")}); }), err::kInvalidCall);
}

// --- attributes --------------------------------------------------------------------------------

TEST_F(DomTest, GetAttributeGivesStringOrNull) {
    const CVariant setting = Select("//dfns:factory_setting");
    EXPECT_TRUE(Yields([&] { return Call(setting, "getAttribute", {S("model")}); }, S("AVD81670")));
    EXPECT_TRUE(
        Yields([&] { return Call(setting, "GetAttribute", {S("missing")}); }, CVariant::Null()));
    EXPECT_TRUE(Yields([&] { return Call(setting, "getAttribute", {S("MODEL")}); },
                       CVariant::Null()));  // XML names keep their case
    EXPECT_TRUE(Yields([&] { return Call(Select("/*"), "getAttribute", {S("xmlns")}); }, S(kUri)));
    EXPECT_TRUE(Yields([&] { return Call(setting, "getAttribute", {CVariant::Null()}); },
                       SExpect::Error(err::kInvalidNull)));
    EXPECT_TRUE(Call(setting, "getAttributeNode", {S("missing")}).IsNothing());
}

struct SSetAttributeRow {
    CVariant value;
    SExpect stored;  // what getAttribute answers afterwards, or the error
};

void PrintTo(const SSetAttributeRow& row, std::ostream* os) {
    *os << Describe(row.value);
}

class DomSetAttribute : public DomTest, public ::testing::WithParamInterface<SSetAttributeRow> {};

TEST_P(DomSetAttribute, StoresTheValueAsText) {
    const SSetAttributeRow& row = GetParam();
    const CVariant setting = Select("//dfns:factory_setting");
    for (const char* name : {"codeplug_version", "added"}) {  // existing and new
        EXPECT_TRUE(Yields(
            [&] {
                Call(setting, "setAttribute", {S(name), row.value});
                return Call(setting, "getAttribute", {S(name)});
            },
            row.stored))
            << name;
    }
    if (row.stored.error == 0) {
        // The markup holds the value, escaped, and reads back the same.
        std::shared_ptr<CDomDocument> reparsed =
            CDomDocument::Parse(Str(Get(Doc(), "xml")).toUtf8(), nullptr);
        ASSERT_TRUE(reparsed);
        reparsed->SetSelectionNamespaces({{QStringLiteral("dfns"), QString::fromUtf8(kUri)}});
        const CVariant again = Call(CVariant(ObjectPtr(reparsed)), "selectSingleNode",
                                    {S("//dfns:factory_setting/@added")});
        EXPECT_TRUE(Yields([&] { return Get(again, "value"); }, row.stored));
    } else {
        EXPECT_EQ(Str(Call(setting, "getAttribute", {S("codeplug_version")})), QStringLiteral("3"));
        EXPECT_TRUE(Call(setting, "getAttribute", {S("added")}).IsNull());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Values, DomSetAttribute,
    ::testing::Values(SSetAttributeRow{CVariant::Long(4), S("4")},
                      SSetAttributeRow{CVariant(true), S("True")},
                      SSetAttributeRow{CVariant::Double(1.5), S("1.5")},
                      SSetAttributeRow{CVariant(), S("")},
                      SSetAttributeRow{S("a\"b<c>&d 'e'\tf\ng"), S("a\"b<c>&d 'e'\tf\ng")},
                      SSetAttributeRow{S("\xc3\xa9t\xc3\xa9"), S("\xc3\xa9t\xc3\xa9")},
                      SSetAttributeRow{CVariant::Null(), SExpect::Error(err::kInvalidNull)}));

TEST_F(DomTest, SetAttributeShowsInMarkup) {
    const CVariant setting = Select("//dfns:factory_setting");
    Call(setting, "setAttribute", {S("codeplug_version"), CVariant::Long(4)});
    Call(setting, "setAttribute", {S("added"), S("x")});
    EXPECT_EQ(Str(Get(setting, "xml")),
              QStringLiteral("<factory_setting model=\"AVD81670\" codeplug_version=\"4\" "
                             "added=\"x\"/>"));
    Call(setting, "removeAttribute", {S("added")});
    Call(setting, "removeAttribute", {S("never there")});
    EXPECT_EQ(Str(Get(setting, "xml")),
              QStringLiteral("<factory_setting model=\"AVD81670\" codeplug_version=\"4\"/>"));
}

TEST_F(DomTest, SetAttributeRefusesBadNames) {
    const CVariant setting = Select("//dfns:factory_setting");
    for (const char* name : {"", "1x", "a b", "a:b:c", "undeclared:x", "<x"}) {
        EXPECT_EQ(ErrorOf([&] {
                      Call(setting, "setAttribute", {S(name), S("v")});
                  }),
                  err::kInvalidCall)
            << name;
    }
    EXPECT_EQ(Str(Get(setting, "xml")),
              QStringLiteral("<factory_setting model=\"AVD81670\" codeplug_version=\"3\"/>"));
}

TEST_F(DomTest, NamespacedAttributesNeedADeclaration) {
    const CVariant setting = Select("//dfns:factory_setting");
    Call(setting, "setAttribute", {S("xmlns:ext"), S("urn:ext")});
    Call(setting, "setAttribute", {S("ext:flag"), S("1")});
    Call(setting, "setAttribute", {S("xml:lang"), S("en")});
    const CVariant flag = Call(setting, "getAttributeNode", {S("ext:flag")});
    EXPECT_EQ(Str(Get(flag, "namespaceURI")), QStringLiteral("urn:ext"));
    EXPECT_EQ(Str(Get(flag, "prefix")), QStringLiteral("ext"));
    EXPECT_EQ(Str(Get(flag, "baseName")), QStringLiteral("flag"));
    EXPECT_EQ(Str(Get(setting, "xml")),
              QStringLiteral("<factory_setting xmlns:ext=\"urn:ext\" model=\"AVD81670\" "
                             "codeplug_version=\"3\" ext:flag=\"1\" xml:lang=\"en\"/>"));
    // The same declaration again is fine; another namespace for the prefix is not.
    Call(setting, "setAttribute", {S("xmlns:ext"), S("urn:ext")});
    EXPECT_EQ(ErrorOf([&] {
                  Call(setting, "setAttribute", {S("xmlns:ext"), S("urn:b")});
              }),
              err::kInvalidCall);
    EXPECT_EQ(ErrorOf([&] {
                  Call(setting, "setAttribute", {S("xmlns"), S("urn:b")});
              }),
              err::kInvalidCall);
    Call(setting, "setAttribute", {S("xmlns"), S(kUri)});  // what it already is
}

TEST_F(DomTest, AttributeMapListsAndRemoves) {
    const CVariant setting = Select("//dfns:factory_setting");
    const CVariant map = Get(setting, "attributes");
    EXPECT_EQ(map.AsObject()->TypeName(), QStringLiteral("IXMLDOMNamedNodeMap"));
    EXPECT_EQ(Count(map), 2);
    EXPECT_EQ(Str(Get(Call(map, "item", {CVariant::Long(1)}), "nodeName")),
              QStringLiteral("codeplug_version"));
    EXPECT_EQ(Str(Get(Get(map, "", {CVariant::Long(0)}), "value")), QStringLiteral("AVD81670"));
    EXPECT_EQ(Str(Get(Get(setting, "attributes", {CVariant::Long(0)}), "value")),
              QStringLiteral("AVD81670"));  // setting.attributes(0)
    EXPECT_TRUE(Call(map, "item", {CVariant::Long(2)}).IsNothing());
    EXPECT_TRUE(Call(map, "getNamedItem", {S("none")}).IsNothing());

    std::vector<QString> names;
    const std::optional<std::vector<CVariant>> items = map.AsObject()->Items();
    ASSERT_TRUE(items);
    for (const CVariant& attribute : *items) {
        names.push_back(Str(Get(attribute, "name")) + u'=' + Str(Get(attribute, "value")));
    }
    EXPECT_EQ(names, (std::vector<QString>{QStringLiteral("model=AVD81670"),
                                           QStringLiteral("codeplug_version=3")}));

    // The map is live, and a removed attribute stays usable.
    const CVariant removed = Call(map, "removeNamedItem", {S("model")});
    EXPECT_EQ(Count(map), 1);
    EXPECT_TRUE(Call(setting, "getAttribute", {S("model")}).IsNull());
    EXPECT_EQ(Str(Get(removed, "value")), QStringLiteral("AVD81670"));
    Let(removed, "value", S("changed"));
    EXPECT_EQ(Str(Get(removed, "xml")), QStringLiteral("model=\"changed\""));
    EXPECT_TRUE(Call(map, "removeNamedItem", {S("model")}).IsNothing());
    Call(setting, "setAttribute", {S("model"), S("new")});
    EXPECT_EQ(Str(Get(removed, "value")), QStringLiteral("changed"));
}

TEST_F(DomTest, AttributeValueAssignmentsKeepTheNode) {
    const CVariant model = Select("//dfns:factory_setting/@model");
    Let(model, "value", S("AUD41670"));
    Let(model, "text", S("AUD41671"));
    Let(model, "nodeValue", S("AUD41672"));
    EXPECT_EQ(Str(Call(Select("//dfns:factory_setting"), "getAttribute", {S("model")})),
              QStringLiteral("AUD41672"));
    EXPECT_TRUE(Same(model, Select("//dfns:factory_setting/@model")));
}

// --- changing the tree ------------------------------------------------------------------------

// The names of an element's children, in order.
QString ChildNames(const CVariant& parent) {
    QStringList names;
    const std::optional<std::vector<CVariant>> items =
        Get(parent, "childNodes").AsObject()->Items();
    for (const CVariant& child : *items) {
        const CVariant name = Get(child, "nodeType").ToLong() == 1
                                  ? Call(child, "getAttribute", {S("name")})
                                  : CVariant::Null();
        names << (name.IsNull() ? Str(Get(child, "nodeName")) : Str(name));
    }
    return names.join(u',');
}

TEST_F(DomTest, AppendInsertRemoveReplaceKeepIdentity) {
    const CVariant channels = Select("//dfns:channels");
    const CVariant made = Call(Doc(), "createNode", {CVariant::Long(1), S("channel"), S(kUri)});
    Call(made, "setAttribute", {S("name"), S("CH3")});
    EXPECT_TRUE(Same(Call(channels, "appendChild", {made}), made));
    EXPECT_TRUE(Same(Get(made, "parentNode"), channels));
    EXPECT_TRUE(Same(Get(channels, "lastChild"), made));
    EXPECT_EQ(ChildNames(channels), QStringLiteral("CH1,CH2,CH3"));

    const CVariant first = Get(channels, "firstChild");
    const CVariant second = Select("//dfns:channel[@name='CH2']");
    EXPECT_TRUE(Same(Call(channels, "insertBefore", {second, first}), second));
    EXPECT_EQ(ChildNames(channels), QStringLiteral("CH2,CH1,CH3"));
    Call(channels, "insertBefore", {second, CVariant::Nothing()});  // Nothing: at the end
    EXPECT_EQ(ChildNames(channels), QStringLiteral("CH1,CH3,CH2"));
    Call(channels, "insertBefore", {second, second});  // before itself: stays
    Call(channels, "insertBefore", {first, Get(first, "nextSibling")});
    EXPECT_EQ(ChildNames(channels), QStringLiteral("CH1,CH3,CH2"));

    const CVariant removed = Call(channels, "removeChild", {made});
    EXPECT_TRUE(Same(removed, made));
    EXPECT_TRUE(Get(made, "parentNode").IsNothing());
    EXPECT_TRUE(Get(made, "nextSibling").IsNothing());
    EXPECT_EQ(ChildNames(channels), QStringLiteral("CH1,CH2"));

    const CVariant old = Call(channels, "replaceChild", {made, first});
    EXPECT_TRUE(Same(old, first));
    EXPECT_TRUE(Get(first, "parentNode").IsNothing());
    EXPECT_EQ(ChildNames(channels), QStringLiteral("CH3,CH2"));
    EXPECT_TRUE(Same(Call(channels, "replaceChild", {made, made}), made));
    EXPECT_EQ(ChildNames(channels), QStringLiteral("CH3,CH2"));
    EXPECT_EQ(Str(Get(channels, "xml")),
              QStringLiteral("<channels><channel name=\"CH3\"/><channel name=\"CH2\" "
                             "rx_freq_ndx=\"1\"/></channels>"));
}

TEST_F(DomTest, RemovedNodeStaysUsableAndGoesBackIn) {
    const CVariant channels = Select("//dfns:channels");
    const CVariant second = Select("//dfns:channel[@name='CH2']");
    Call(channels, "removeChild", {second});
    Call(second, "setAttribute", {S("name"), S("CH2b")});
    EXPECT_EQ(Str(Get(second, "nodeName")), QStringLiteral("channel"));
    EXPECT_EQ(Str(Get(second, "namespaceURI")), QString::fromUtf8(kUri));
    // Out of the tree it carries its own namespace declaration.
    EXPECT_EQ(Str(Get(second, "xml")),
              QStringLiteral("<channel xmlns=\"urn:vesk:profile:1\" name=\"CH2b\" "
                             "rx_freq_ndx=\"1\"/>"));
    EXPECT_EQ(Count(SelectAll("//dfns:channel")), 1);
    Call(channels, "insertBefore", {second, Get(channels, "firstChild")});
    EXPECT_EQ(ChildNames(channels), QStringLiteral("CH2b,CH1"));
    EXPECT_EQ(Str(Get(second, "xml")),
              QStringLiteral("<channel name=\"CH2b\" rx_freq_ndx=\"1\"/>"));
    EXPECT_EQ(Count(SelectAll("//dfns:channel")), 2);
}

TEST_F(DomTest, ChildOfARemovedParentStaysUsable) {
    const CVariant root = Get(Doc(), "documentElement");
    const CVariant channels = Select("//dfns:channels");
    const CVariant channel = Select("//dfns:channel");
    Call(root, "removeChild", {channels});
    EXPECT_TRUE(Same(Get(channel, "parentNode"), channels));
    EXPECT_EQ(Count(Call(channel, "selectNodes", {S("../dfns:channel")})), 2);
    // Taking the child out of the removed subtree leaves the rest of it unattached.
    Call(root, "appendChild", {channel});
    EXPECT_TRUE(Same(Get(channel, "parentNode"), root));
    EXPECT_EQ(Count(Get(channels, "childNodes")), 1);
    EXPECT_EQ(Count(SelectAll("//dfns:channel")), 1);
    EXPECT_EQ(Str(Get(root, "xml")),
              QStringLiteral("<VeskProfile xmlns=\"urn:vesk:profile:1\"><factory_setting "
                             "model=\"AVD81670\" codeplug_version=\"3\"/><note>Hello "
                             "<b>there</b></note><channel name=\"CH1\" rx_freq_ndx=\"0\"/>"
                             "</VeskProfile>"));
    // Dropping every reference to the removed part frees nothing early; the end of the
    // document frees it (the leak checker watches).
}

struct SRefusedRow {
    const char* what;
    // Runs the change on a fresh profile; it must raise `error` and leave the markup as it was.
    std::function<void(const CVariant& doc, const std::shared_ptr<CDomDocument>& other)> change;
    int error;
};

void PrintTo(const SRefusedRow& row, std::ostream* os) {
    *os << row.what;
}

class DomRefused : public DomTest, public ::testing::WithParamInterface<SRefusedRow> {};

TEST_P(DomRefused, RaisesAndLeavesTheTreeAlone) {
    const SRefusedRow& row = GetParam();
    const std::shared_ptr<CDomDocument> other = Load("<other><x/></other>");
    const QString before = DocXml();
    QString description;
    EXPECT_EQ(ErrorOf([&] { row.change(Doc(), other); }, &description), row.error);
    EXPECT_FALSE(description.isEmpty());
    EXPECT_EQ(DocXml(), before);
}

CVariant At(const CVariant& doc, const char* xpath) {
    return Call(doc, "selectSingleNode", {S(xpath)});
}

INSTANTIATE_TEST_SUITE_P(
    Hierarchy, DomRefused,
    ::testing::Values(
        SRefusedRow{"into itself",
                    [](const CVariant& d, auto) {
                        Call(At(d, "//dfns:channels"), "appendChild", {At(d, "//dfns:channels")});
                    },
                    err::kInvalidCall},
        SRefusedRow{"into its own descendant",
                    [](const CVariant& d, auto) {
                        Call(At(d, "//dfns:channel"), "appendChild", {At(d, "//dfns:channels")});
                    },
                    err::kInvalidCall},
        SRefusedRow{"the root into its descendant",
                    [](const CVariant& d, auto) {
                        Call(At(d, "//dfns:b"), "insertBefore", {At(d, "/*"), CVariant::Nothing()});
                    },
                    err::kInvalidCall},
        SRefusedRow{
            "the document as a child",
            [](const CVariant& d, auto) { Call(At(d, "//dfns:channels"), "appendChild", {d}); },
            err::kInvalidCall},
        SRefusedRow{"an attribute as a child",
                    [](const CVariant& d, auto) {
                        Call(At(d, "//dfns:channels"), "appendChild",
                             {At(d, "//dfns:channel/@name")});
                    },
                    err::kInvalidCall},
        SRefusedRow{"into a text node",
                    [](const CVariant& d, auto) {
                        Call(At(d, "//dfns:note/text()"), "appendChild",
                             {Call(d, "createElement", {S("x")})});
                    },
                    err::kInvalidCall},
        SRefusedRow{"into an attribute",
                    [](const CVariant& d, auto) {
                        Call(At(d, "//dfns:channel/@name"), "appendChild",
                             {Call(d, "createTextNode", {S("x")})});
                    },
                    err::kInvalidCall},
        SRefusedRow{"a second document element",
                    [](const CVariant& d, auto) {
                        Call(d, "appendChild", {Call(d, "createElement", {S("x")})});
                    },
                    err::kInvalidCall},
        SRefusedRow{"text at the top of the document",
                    [](const CVariant& d, auto) {
                        Call(d, "appendChild", {Call(d, "createTextNode", {S("x")})});
                    },
                    err::kInvalidCall},
        SRefusedRow{"a node of another document",
                    [](const CVariant& d, const std::shared_ptr<CDomDocument>& o) {
                        Call(At(d, "//dfns:channels"), "appendChild",
                             {Call(CVariant(ObjectPtr(o)), "selectSingleNode", {S("//x")})});
                    },
                    err::kInvalidCall},
        SRefusedRow{"a reference node that is no child",
                    [](const CVariant& d, auto) {
                        Call(At(d, "//dfns:channels"), "insertBefore",
                             {Call(d, "createElement", {S("x")}), At(d, "//dfns:note")});
                    },
                    err::kInvalidCall},
        SRefusedRow{"removing a node that is no child",
                    [](const CVariant& d, auto) {
                        Call(At(d, "//dfns:channels"), "removeChild", {At(d, "//dfns:note")});
                    },
                    err::kInvalidCall},
        SRefusedRow{"removing an attribute as a child",
                    [](const CVariant& d, auto) {
                        Call(At(d, "//dfns:channel"), "removeChild",
                             {At(d, "//dfns:channel/@name")});
                    },
                    err::kInvalidCall},
        SRefusedRow{"replacing a node that is no child",
                    [](const CVariant& d, auto) {
                        Call(At(d, "//dfns:channels"), "replaceChild",
                             {Call(d, "createElement", {S("x")}), At(d, "//dfns:note")});
                    },
                    err::kInvalidCall},
        SRefusedRow{"a string for a node",
                    [](const CVariant& d, auto) {
                        Call(At(d, "//dfns:channels"), "appendChild", {S("<x/>")});
                    },
                    err::kObjectRequired},
        SRefusedRow{"Nothing for a node",
                    [](const CVariant& d, auto) {
                        Call(At(d, "//dfns:channels"), "removeChild", {CVariant::Nothing()});
                    },
                    err::kObjectRequired},
        SRefusedRow{"a list for a node",
                    [](const CVariant& d, auto) {
                        Call(At(d, "//dfns:channels"), "appendChild",
                             {Get(At(d, "//dfns:channels"), "childNodes")});
                    },
                    err::kTypeMismatch},
        SRefusedRow{"a node of a released document",
                    [](const CVariant& d, const std::shared_ptr<CDomDocument>& o) {
                        const CVariant x =
                            Call(CVariant(ObjectPtr(o)), "selectSingleNode", {S("//x")});
                        o->Release();
                        Call(At(d, "//dfns:channels"), "appendChild", {x});
                    },
                    err::kTypeMismatch},
        SRefusedRow{"assigning a read-only property",
                    [](const CVariant& d, auto) { Let(At(d, "//dfns:note"), "nodeName", S("x")); },
                    err::kWrongArgCount},
        SRefusedRow{"setting the text of the document",
                    [](const CVariant& d, auto) { Let(d, "text", S("x")); }, err::kInvalidCall},
        SRefusedRow{"setting the value of an element",
                    [](const CVariant& d, auto) { Let(At(d, "//dfns:note"), "nodeValue", S("x")); },
                    err::kInvalidCall},
        SRefusedRow{"a comment that cannot serialise",
                    [](const CVariant& d, auto) { Call(d, "createComment", {S("a--b")}); },
                    err::kInvalidCall},
        SRefusedRow{"an element name that is no name",
                    [](const CVariant& d, auto) { Call(d, "createElement", {S("two words")}); },
                    err::kInvalidCall},
        SRefusedRow{"a prefix without a namespace",
                    [](const CVariant& d, auto) { Call(d, "createElement", {S("p:x")}); },
                    err::kInvalidCall},
        SRefusedRow{"a node type createNode does not make",
                    [](const CVariant& d, auto) {
                        Call(d, "createNode", {CVariant::Long(9), S("x"), S("")});
                    },
                    err::kInvalidCall}));

TEST_F(DomTest, DocumentElementCanBeRemovedAndReplaced) {
    const CVariant root = Get(Doc(), "documentElement");
    EXPECT_TRUE(Same(Call(Doc(), "removeChild", {root}), root));
    EXPECT_TRUE(Get(Doc(), "documentElement").IsNothing());
    EXPECT_EQ(Count(SelectAll("//dfns:channel")), 0);
    // The old root still answers, from where it now is.
    EXPECT_EQ(Count(Call(root, "selectNodes", {S("dfns:channels/dfns:channel")})), 2);
    const CVariant fresh = Call(Doc(), "createNode", {S("element"), S("VeskProfile"), S(kUri)});
    Call(Doc(), "appendChild", {fresh});
    EXPECT_TRUE(Same(Get(Doc(), "documentElement"), fresh));
    Call(Doc(), "replaceChild", {root, fresh});
    EXPECT_TRUE(Same(Get(Doc(), "documentElement"), root));
    EXPECT_EQ(Count(SelectAll("//dfns:channel")), 2);
    EXPECT_EQ(Count(Get(Doc(), "childNodes")), 1);
}

TEST_F(DomTest, ChildNodesIsLiveAndSelectNodesASnapshot) {
    const CVariant channels = Select("//dfns:channels");
    const CVariant live = Get(channels, "childNodes");
    const CVariant snapshot = Call(channels, "selectNodes", {S("dfns:channel")});
    EXPECT_EQ(live.AsObject()->TypeName(), QStringLiteral("IXMLDOMNodeList"));
    const CVariant first = Get(live, "", {CVariant::Long(0)});  // default member
    Call(channels, "removeChild", {first});
    Call(channels, "appendChild", {Call(Doc(), "createElement", {S("x")})});
    Call(channels, "appendChild", {Call(Doc(), "createElement", {S("y")})});
    EXPECT_EQ(Count(live), 3);
    EXPECT_EQ(Count(snapshot), 2);
    // The snapshot still holds the removed node, and it is still a node.
    EXPECT_TRUE(Same(Call(snapshot, "item", {CVariant::Long(0)}), first));
    EXPECT_EQ(Str(Get(Call(snapshot, "item", {CVariant::Long(0)}), "xml")),
              QStringLiteral("<channel xmlns=\"urn:vesk:profile:1\" name=\"CH1\" "
                             "rx_freq_ndx=\"0\"/>"));
    EXPECT_EQ(Str(Get(Call(live, "item", {CVariant::Long(2)}), "nodeName")), QStringLiteral("y"));
    EXPECT_EQ(Str(Get(Get(channels, "childNodes", {CVariant::Long(1)}), "nodeName")),
              QStringLiteral("x"));  // channels.childNodes(1)

    for (const std::int32_t outside : {-1, 3, 1000}) {
        EXPECT_TRUE(Call(live, "item", {CVariant::Long(outside)}).IsNothing()) << outside;
    }
    EXPECT_EQ(ErrorOf([&] { Call(live, "item", {S("first")}); }), err::kTypeMismatch);
    EXPECT_EQ(ErrorOf([&] { Call(live, "item"); }), err::kWrongArgCount);
    EXPECT_EQ(ErrorOf([&] { Let(live, "length", CVariant::Long(1)); }), err::kWrongArgCount);
    EXPECT_EQ(ErrorOf([&] { Call(live, "getNamedItem", {S("x")}); }), err::kNoSuchMember);

    std::vector<QString> names;
    for (CVariant node = Call(snapshot, "nextNode"); !node.IsNothing();
         node = Call(snapshot, "nextNode")) {
        names.push_back(Str(Call(node, "getAttribute", {S("name")})));
    }
    EXPECT_EQ(names, (std::vector<QString>{QStringLiteral("CH1"), QStringLiteral("CH2")}));
    Call(snapshot, "reset");
    EXPECT_TRUE(Same(Call(snapshot, "nextNode"), first));

    const std::optional<std::vector<CVariant>> items = live.AsObject()->Items();
    ASSERT_TRUE(items);
    ASSERT_EQ(items->size(), 3u);
    EXPECT_TRUE(Same((*items)[0], Select("//dfns:channel")));
    EXPECT_FALSE(Select("//dfns:channel").AsObject()->Items());  // a node is no collection
}

// --- namespaces on insertion ------------------------------------------------------------------

TEST_F(DomTest, CreatedNodesSerialiseInTheirNamespace) {
    const CVariant channels = Select("//dfns:channels");
    const CVariant channel = Call(Doc(), "createNode", {CVariant::Long(1), S("channel"), S(kUri)});
    Call(channel, "setAttribute", {S("name"), S("CH3")});
    Call(channels, "appendChild", {channel});
    EXPECT_EQ(Str(Get(channel, "xml")), QStringLiteral("<channel name=\"CH3\"/>"));

    // An element without a namespace says so under a default namespace.
    const CVariant plain = Call(Doc(), "createElement", {S("plain")});
    Call(channels, "appendChild", {plain});
    EXPECT_EQ(Str(Get(plain, "xml")), QStringLiteral("<plain xmlns=\"\"/>"));

    // A prefixed element brings its declaration; its children in that namespace do not repeat it.
    const CVariant ext = Call(Doc(), "createNode", {CVariant::Long(1), S("x:ext"), S("urn:ext")});
    Call(ext, "appendChild",
         {Call(Doc(), "createNode", {S("element"), S("x:inner"), S("urn:ext")})});
    Call(ext, "appendChild", {Call(Doc(), "createNode", {S("element"), S("back"), S(kUri)})});
    Call(channels, "appendChild", {ext});
    EXPECT_EQ(Str(Get(ext, "xml")),
              QStringLiteral("<x:ext xmlns:x=\"urn:ext\"><x:inner/><back/></x:ext>"));
    EXPECT_EQ(Str(Get(ext, "prefix")), QStringLiteral("x"));

    // The markup reads back as the same tree.
    const QString xml = DocXml();
    EXPECT_EQ(xml.count(QStringLiteral("xmlns=\"urn:vesk:profile:1\"")), 1) << xml.toStdString();
    const std::shared_ptr<CDomDocument> reparsed = Load(xml.toUtf8().constData());
    ASSERT_TRUE(reparsed);
    const CVariant again(ObjectPtr{reparsed});
    EXPECT_EQ(Count(Call(again, "selectNodes", {S("//dfns:channels/dfns:channel")})), 3);
    EXPECT_EQ(Count(Call(again, "selectNodes", {S("//dfns:channels/plain")})), 1);
    EXPECT_EQ(Count(Call(again, "selectNodes", {S("//dfns:back")})), 1);
    EXPECT_EQ(
        Str(Get(Call(again, "selectSingleNode", {S("//dfns:channels/*[5]/*[1]")}), "namespaceURI")),
        QStringLiteral("urn:ext"));
}

TEST_F(DomTest, MovedNodesKeepTheirNamespaces) {
    // A subtree with its own declarations moves to where another prefix binding holds.
    std::shared_ptr<CDomDocument> mixed =
        Load("<r xmlns:p='urn:a'><a><p:x p:k='1'/></a><b xmlns:p='urn:b'/></r>");
    const CVariant doc(ObjectPtr{mixed});
    const CVariant x = Call(doc, "selectSingleNode", {S("//a/*")});
    Call(Call(doc, "selectSingleNode", {S("//b")}), "appendChild", {x});
    EXPECT_EQ(Str(Get(x, "namespaceURI")), QStringLiteral("urn:a"));
    // Where "p" means another namespace, the moved element declares its own "p".
    EXPECT_EQ(Str(Get(x, "xml")), QStringLiteral("<p:x xmlns:p=\"urn:a\" p:k=\"1\"/>"));
    EXPECT_EQ(Str(Get(Call(x, "getAttributeNode", {S("p:k")}), "namespaceURI")),
              QStringLiteral("urn:a"));
    const std::shared_ptr<CDomDocument> reparsed = Load(Str(Get(doc, "xml")).toUtf8().constData());
    ASSERT_TRUE(reparsed);
    reparsed->SetSelectionNamespaces({{QStringLiteral("a"), QStringLiteral("urn:a")}});
    EXPECT_EQ(Count(Call(CVariant(ObjectPtr{reparsed}), "selectNodes", {S("//b/a:x[@a:k='1']")})),
              1)
        << Str(Get(doc, "xml")).toStdString();
}

// --- copies ------------------------------------------------------------------------------------

TEST_F(DomTest, CloneNodeDeepAndShallow) {
    const CVariant channels = Select("//dfns:channels");
    const CVariant deep = Call(channels, "cloneNode", {CVariant(true)});
    const CVariant shallow = Call(channels, "cloneNode", {CVariant(false)});
    EXPECT_EQ(Count(Get(deep, "childNodes")), 2);
    EXPECT_EQ(Count(Get(shallow, "childNodes")), 0);
    EXPECT_TRUE(Get(deep, "parentNode").IsNothing());
    EXPECT_FALSE(Same(deep, channels));
    Call(Get(deep, "firstChild"), "setAttribute", {S("name"), S("copy")});
    EXPECT_EQ(Str(Call(Select("//dfns:channel"), "getAttribute", {S("name")})),
              QStringLiteral("CH1"));

    const CVariant setting = Call(Select("//dfns:factory_setting"), "cloneNode", {CVariant(false)});
    EXPECT_EQ(Str(Call(setting, "getAttribute", {S("model")})), QStringLiteral("AVD81670"));

    // A copy of a removed node goes back in without invented prefixes.
    const CVariant removed = Call(channels, "removeChild", {Get(channels, "lastChild")});
    const CVariant copy = Call(removed, "cloneNode", {CVariant(true)});
    Call(channels, "appendChild", {copy});
    Call(channels, "appendChild", {deep});
    EXPECT_EQ(Str(Get(channels, "xml")),
              QStringLiteral("<channels><channel name=\"CH1\" rx_freq_ndx=\"0\"/><channel "
                             "name=\"CH2\" rx_freq_ndx=\"1\"/><channels><channel name=\"copy\" "
                             "rx_freq_ndx=\"0\"/><channel name=\"CH2\" rx_freq_ndx=\"1\"/>"
                             "</channels></channels>"));

    const CVariant attribute = Call(Select("//dfns:channel/@name"), "cloneNode", {CVariant(true)});
    EXPECT_EQ(Str(Get(attribute, "xml")), QStringLiteral("name=\"CH1\""));

    const CVariant docCopy = Call(Doc(), "cloneNode", {CVariant(true)});
    EXPECT_EQ(docCopy.AsObject()->TypeName(), QStringLiteral("DOMDocument"));
    EXPECT_FALSE(Same(docCopy, Doc()));
    EXPECT_EQ(Count(Call(docCopy, "selectNodes", {S("//dfns:channel")})), 4);
    EXPECT_EQ(Str(Get(docCopy, "xml")), DocXml());
}

// --- text ----------------------------------------------------------------------------------------

TEST_F(DomTest, TextReadsAndReplaces) {
    const CVariant note = Select("//dfns:note");
    const CVariant bold = Select("//dfns:b");
    const CVariant hello = Get(note, "firstChild");
    EXPECT_EQ(Str(Get(note, "text")), QStringLiteral("Hello there"));
    Let(note, "text", S("plain & <simple>"));
    EXPECT_EQ(Count(Get(note, "childNodes")), 1);
    EXPECT_EQ(Str(Get(note, "xml")), QStringLiteral("<note>plain &amp; &lt;simple&gt;</note>"));
    // The replaced children live on, out of the tree.
    EXPECT_EQ(Str(Get(bold, "text")), QStringLiteral("there"));
    EXPECT_TRUE(Get(bold, "parentNode").IsNothing());
    EXPECT_EQ(Str(Get(hello, "nodeValue")), QStringLiteral("Hello "));
    Call(note, "appendChild", {bold});
    EXPECT_EQ(Str(Get(note, "text")), QStringLiteral("plain & <simple>there"));

    Let(Get(note, "firstChild"), "nodeValue", S("new "));
    Let(Get(note, "firstChild"), "data", S("newer "));
    EXPECT_EQ(Str(Get(note, "xml")), QStringLiteral("<note>newer <b>there</b></note>"));
    Let(note, "text", S(""));
    EXPECT_FALSE(Call(note, "hasChildNodes").ToBool());
    EXPECT_EQ(Str(Get(note, "xml")), QStringLiteral("<note/>"));
}

TEST_F(DomTest, AdjacentTextNodesStayApart) {
    const CVariant note = Select("//dfns:note");
    Let(note, "text", S("a"));
    const CVariant first = Get(note, "firstChild");
    const CVariant second = Call(note, "appendChild", {Call(Doc(), "createTextNode", {S("b")})});
    EXPECT_EQ(Count(Get(note, "childNodes")), 2);
    EXPECT_EQ(Str(Get(note, "text")), QStringLiteral("ab"));
    EXPECT_EQ(Str(Get(second, "text")), QStringLiteral("b"));
    Call(note, "insertBefore", {second, first});
    EXPECT_EQ(Str(Get(note, "text")), QStringLiteral("ba"));
}

TEST_F(DomTest, CreatedNodesOfEveryKind) {
    const CVariant note = Select("//dfns:note");
    Let(note, "text", S(""));
    Call(note, "appendChild", {Call(Doc(), "createComment", {S(" remark ")})});
    Call(note, "appendChild", {Call(Doc(), "createCDATASection", {S("<raw>")})});
    Call(note, "appendChild", {Call(Doc(), "createProcessingInstruction", {S("pi"), S("x")})});
    Call(note, "appendChild", {Call(Doc(), "createNode", {S("text"), S(""), S("")})});
    EXPECT_EQ(Str(Get(note, "xml")),
              QStringLiteral("<note><!-- remark --><![CDATA[<raw>]]><?pi x?></note>"));
    EXPECT_EQ(Str(Get(note, "text")), QStringLiteral("<raw>"));
    EXPECT_EQ(Get(Get(note, "firstChild"), "nodeType").ToLong(), 8);
    EXPECT_EQ(Str(Get(Get(note, "firstChild"), "nodeName")), QStringLiteral("#comment"));
    EXPECT_EQ(Get(note, "firstChild").AsObject()->TypeName(), QStringLiteral("IXMLDOMComment"));
    EXPECT_EQ(Get(Call(Get(note, "childNodes"), "item", {CVariant::Long(1)}), "nodeType").ToLong(),
              4);

    const CVariant extra = Call(Doc(), "createAttribute", {S("extra")});
    Let(extra, "value", S("1"));
    EXPECT_EQ(Get(extra, "nodeType").ToLong(), 2);
    EXPECT_EQ(Str(Get(extra, "xml")), QStringLiteral("extra=\"1\""));
    const CVariant namespaced =
        Call(Doc(), "createNode", {CVariant::Long(2), S("x:flag"), S("urn:ext")});
    EXPECT_EQ(Str(Get(namespaced, "namespaceURI")), QStringLiteral("urn:ext"));
    EXPECT_EQ(Str(Get(namespaced, "nodeName")), QStringLiteral("x:flag"));
}

TEST_F(DomTest, GetElementsByTagNameFindsDescendants) {
    EXPECT_EQ(Count(Call(Doc(), "getElementsByTagName", {S("channel")})), 2);
    EXPECT_EQ(Count(Call(Doc(), "getElementsByTagName", {S("*")})), 7);
    EXPECT_EQ(Count(Call(Select("//dfns:channels"), "getElementsByTagName", {S("*")})), 2);
    EXPECT_EQ(Count(Call(Select("//dfns:channels"), "getElementsByTagName", {S("channels")})), 0);
}

// --- lifetime ------------------------------------------------------------------------------------

TEST_F(DomTest, ReleaseEndsEveryObject) {
    const CVariant channels = Select("//dfns:channels");
    const CVariant list = Get(channels, "childNodes");
    const CVariant map = Get(Select("//dfns:channel"), "attributes");
    const CVariant removed = Call(channels, "removeChild", {Get(channels, "firstChild")});
    const CVariant made = Call(Doc(), "createElement", {S("made")});
    const void* identity = channels.AsObject()->Identity();
    document->Release();
    document->Release();  // twice is harmless

    for (const CVariant& object : {Doc(), channels, list, map, removed, made}) {
        QString description;
        EXPECT_EQ(ErrorOf([&] { Get(object, "nodeName"); }, &description), err::kObjectNotSet);
        EXPECT_EQ(description, QStringLiteral("the document is no longer available"));
        EXPECT_EQ(ErrorOf([&] { Get(object, "length"); }), err::kObjectNotSet);
        EXPECT_EQ(NodeOf(object), nullptr);
    }
    EXPECT_EQ(ErrorOf([&] { list.AsObject()->Items(); }), err::kObjectNotSet);
    EXPECT_EQ(channels.AsObject()->TypeName(), QStringLiteral("IXMLDOMElement"));
    EXPECT_EQ(channels.AsObject()->Identity(), identity);
    EXPECT_EQ(document->Doc(), nullptr);
}

TEST(DomWrap, CallerKeepsTheDocument) {
    xmlDocPtr doc = xmlReadMemory(kProfile, static_cast<int>(sizeof(kProfile) - 1), nullptr,
                                  nullptr, XML_PARSE_NONET);
    ASSERT_NE(doc, nullptr);
    std::shared_ptr<CDomDocument> wrapped = CDomDocument::Wrap(doc);
    EXPECT_EQ(wrapped->Doc(), doc);
    const CVariant root(wrapped->NodeObject(xmlDocGetRootElement(doc)));
    EXPECT_TRUE(Same(CVariant(wrapped->NodeObject(reinterpret_cast<xmlNodePtr>(doc))),
                     CVariant(ObjectPtr(wrapped))));
    const CVariant made = Call(CVariant(ObjectPtr(wrapped)), "createElement", {S("made")});
    Call(root, "appendChild", {made});
    const CVariant removed = Call(root, "removeChild", {Get(root, "firstChild")});
    wrapped->Release();
    EXPECT_EQ(ErrorOf([&] { Get(root, "nodeName"); }), err::kObjectNotSet);
    // What the script inserted belongs to the caller's document now.
    EXPECT_STREQ(reinterpret_cast<const char*>(xmlDocGetRootElement(doc)->last->name), "made");
    xmlFreeDoc(doc);
    EXPECT_EQ(ErrorOf([&] { Get(removed, "nodeName"); }), err::kObjectNotSet);
}

TEST(DomWrap, LosingTheDocumentObjectReleasesAWrappedDocument) {
    xmlDocPtr doc = xmlReadMemory(kProfile, static_cast<int>(sizeof(kProfile) - 1), nullptr,
                                  nullptr, XML_PARSE_NONET);
    ASSERT_NE(doc, nullptr);
    std::shared_ptr<CDomDocument> wrapped = CDomDocument::Wrap(doc);
    const CVariant root(wrapped->NodeObject(xmlDocGetRootElement(doc)));
    wrapped.reset();
    // Nobody can call Release() any more, so the objects are ended before the caller frees it.
    EXPECT_EQ(ErrorOf([&] { Get(root, "nodeName"); }), err::kObjectNotSet);
    EXPECT_EQ(ErrorOf([&] { Get(root, "ownerDocument"); }), err::kObjectNotSet);
    EXPECT_EQ(NodeOf(root), nullptr);
    xmlFreeDoc(doc);
}

TEST_F(DomTest, NodesOutliveTheDocumentObject) {
    const CVariant channel = Select("//dfns:channel");
    const CVariant removed = Call(Select("//dfns:channels"), "removeChild", {channel});
    document.reset();  // a parsed document lives while any of its objects does
    EXPECT_EQ(Str(Call(removed, "getAttribute", {S("name")})), QStringLiteral("CH1"));
    const CVariant owner = Get(channel, "ownerDocument");
    EXPECT_EQ(owner.AsObject()->TypeName(), QStringLiteral("DOMDocument"));
    EXPECT_EQ(Count(Call(owner, "selectNodes", {S("//*")})), 6);
    EXPECT_TRUE(Same(Get(owner, "documentElement"), Call(owner, "selectSingleNode", {S("/*")})));
    EXPECT_TRUE(Same(Get(Get(owner, "documentElement"), "parentNode"), owner));
}

TEST_F(DomTest, TreesStayWithinTheParserDepth) {
    CVariant top = Call(Doc(), "createElement", {S("level")});
    CVariant deepest = top;
    int refused = 0;
    for (int i = 0; i < 300 && refused == 0; ++i) {
        const CVariant next = Call(Doc(), "createElement", {S("level")});
        refused = ErrorOf([&] { Call(deepest, "appendChild", {next}); });
        if (refused == 0) {
            deepest = next;
        }
    }
    EXPECT_EQ(refused, err::kInvalidCall);
    EXPECT_EQ(Count(Call(top, "selectNodes", {S("//level")})), 0);  // not in the document
    EXPECT_EQ(Count(Call(top, "selectNodes", {S("descendant-or-self::level")})), 256);
    // The whole chain under the root would be too deep as well.
    EXPECT_EQ(ErrorOf([&] { Call(Select("//dfns:note"), "appendChild", {top}); }),
              err::kInvalidCall);
    const CVariant copy = Call(top, "cloneNode", {CVariant(true)});
    EXPECT_EQ(Count(Call(copy, "selectNodes", {S("descendant-or-self::level")})), 256);
}

// --- parsing ---------------------------------------------------------------------------------

struct SMalformedRow {
    const char* xml;
    const char* error;  // what Parse reports: "line:column: message"
};

void PrintTo(const SMalformedRow& row, std::ostream* os) {
    *os << row.xml;
}

class DomMalformed : public ::testing::TestWithParam<SMalformedRow> {};

TEST_P(DomMalformed, ReportsLineAndColumn) {
    QString error;
    EXPECT_FALSE(CDomDocument::Parse(QByteArray(GetParam().xml), &error));
    EXPECT_EQ(error, QString::fromUtf8(GetParam().error));
    EXPECT_FALSE(CDomDocument::Parse(QByteArray(GetParam().xml), nullptr));
}

INSTANTIATE_TEST_SUITE_P(
    Documents, DomMalformed,
    ::testing::Values(
        SMalformedRow{"<a>\n  <b>\n</a>", "3:5: Opening and ending tag mismatch: b line 2 and a"},
        SMalformedRow{"", "1:1: Document is empty"},
        SMalformedRow{"<a/><b/>", "1:5: Extra content at the end of the document"},
        SMalformedRow{"<a x='1' x='2'/>", "1:15: Attribute x redefined"},
        SMalformedRow{"<a>&undefined;</a>", "1:15: Entity 'undefined' not defined"},
        SMalformedRow{"<a>\n\n   <p:b/></a>", "3:8: Namespace prefix p on b is not defined"}));

// A document may name files to pull in; none of them is read.
struct SHostileRow {
    const char* name;
    const char* xml;
};

void PrintTo(const SHostileRow& row, std::ostream* os) {
    *os << row.name;
}

class DomHostile : public ::testing::TestWithParam<SHostileRow> {};

TEST_P(DomHostile, LoadsNothingFromOutside) {
    QString error;
    const std::shared_ptr<CDomDocument> parsed = CDomDocument::Parse(GetParam().xml, &error);
    ASSERT_TRUE(parsed) << error.toStdString();
    const CVariant doc(ObjectPtr{parsed});
    const QString text = Str(Get(doc, "text"));
    EXPECT_EQ(text, QStringLiteral("ab"));
    EXPECT_FALSE(Str(Get(doc, "xml")).contains(QStringLiteral("root:")));

    // The same through loadXML on a document that exists already.
    const std::shared_ptr<CDomDocument> other = CDomDocument::Parse("<x/>", nullptr);
    const CVariant target(ObjectPtr{other});
    EXPECT_TRUE(Call(target, "loadXML", {S(GetParam().xml)}).ToBool());
    EXPECT_EQ(Str(Get(target, "text")), QStringLiteral("ab"));
    EXPECT_FALSE(Str(Get(target, "xml")).contains(QStringLiteral("root:")));
}

INSTANTIATE_TEST_SUITE_P(
    Entities, DomHostile,
    ::testing::Values(
        SHostileRow{"external general entity",
                    "<!DOCTYPE x [<!ENTITY e SYSTEM \"file:///etc/passwd\">]><x>a&e;b</x>"},
        SHostileRow{"external DTD", "<!DOCTYPE x SYSTEM \"file:///etc/passwd\"><x>ab</x>"},
        SHostileRow{"external parameter entity",
                    "<!DOCTYPE x [<!ENTITY % p SYSTEM \"file:///etc/passwd\"> %p;]><x>ab</x>"},
        SHostileRow{"attribute default from an external DTD",
                    "<!DOCTYPE x PUBLIC \"-//x//y\" \"file:///etc/passwd\"><x a='b'>ab</x>"}));

TEST(DomParse, InternalEntitiesReadAsTheirText) {
    const std::shared_ptr<CDomDocument> parsed =
        CDomDocument::Parse("<!DOCTYPE x [<!ENTITY co \"Company\">]><x>a &co; b</x>", nullptr);
    ASSERT_TRUE(parsed);
    const CVariant doc(ObjectPtr{parsed});
    EXPECT_EQ(Str(Get(Get(doc, "documentElement"), "text")), QStringLiteral("a Company b"));
    EXPECT_EQ(Str(Get(Get(doc, "documentElement"), "xml")), QStringLiteral("<x>a &co; b</x>"));
    const CVariant reference =
        Call(Get(Get(doc, "documentElement"), "childNodes"), "item", {CVariant::Long(1)});
    EXPECT_EQ(Get(reference, "nodeType").ToLong(), 5);
    EXPECT_FALSE(Call(reference, "hasChildNodes").ToBool());  // the entity is no child
    EXPECT_EQ(Count(Call(reference, "selectNodes", {S("node()")})), 0);
    EXPECT_EQ(ErrorOf([&] { Let(reference, "text", S("x")); }), err::kInvalidCall);
    const CVariant doctype = Get(doc, "firstChild");
    EXPECT_EQ(Get(doctype, "nodeType").ToLong(), 10);
    EXPECT_EQ(ErrorOf([&] { Call(doc, "removeChild", {doctype}); }), err::kInvalidCall);
}

TEST(DomParse, EntityExpansionBombIsRefused) {
    std::string xml = "<!DOCTYPE l [<!ENTITY l0 \"lol\">";
    for (int i = 1; i < 10; ++i) {
        xml += "<!ENTITY l" + std::to_string(i) + " \"";
        for (int j = 0; j < 10; ++j) {
            xml += "&l" + std::to_string(i - 1) + ";";
        }
        xml += "\">";
    }
    xml += "]><l>&l9;</l>";
    QString error;
    EXPECT_FALSE(CDomDocument::Parse(QByteArray::fromStdString(xml), &error));
    EXPECT_TRUE(error.contains(QStringLiteral("entity"), Qt::CaseInsensitive))
        << error.toStdString();
}

// A few big entities, each referenced many times, pass libxml2's own amplification check as long
// as nothing substitutes them; read as text they would stand for 20 MB from 12 kB of markup.
std::string Amplified(bool inAttribute) {
    std::string xml = "<!DOCTYPE r [<!ENTITY e0 \"" + std::string(1000, 'x') + "\">";
    xml += "<!ENTITY e1 \"";
    for (int i = 0; i < 10; ++i) {
        xml += "&e0;";
    }
    xml += "\">]>";
    std::string references;
    for (int i = 0; i < 2000; ++i) {
        references += "&e1;";
    }
    return xml + (inAttribute ? "<r a=\"" + references + "\"/>" : "<r>" + references + "</r>");
}

struct SPolicyRow {
    const char* name;
    std::string xml;
    const char* reason;  // what Parse reports after "1:column: "
};

void PrintTo(const SPolicyRow& row, std::ostream* os) {
    *os << row.name;
}

class DomPolicy : public ::testing::TestWithParam<SPolicyRow> {};

// Refused as every other document of the program refuses them, and loadXML keeps what it had.
TEST_P(DomPolicy, RefusesByParseAndByLoadXml) {
    const SPolicyRow& row = GetParam();
    QString error;
    EXPECT_FALSE(CDomDocument::Parse(QByteArray::fromStdString(row.xml), &error));
    EXPECT_TRUE(error.startsWith(QStringLiteral("1:"))) << error.toStdString();
    EXPECT_TRUE(error.endsWith(QStringLiteral(": ") + QString::fromUtf8(row.reason)))
        << error.toStdString();

    const std::shared_ptr<CDomDocument> other = CDomDocument::Parse("<x>kept</x>", nullptr);
    const CVariant target(ObjectPtr{other});
    EXPECT_FALSE(Call(target, "loadXML", {CVariant(QString::fromStdString(row.xml))}).ToBool());
    EXPECT_EQ(Str(Get(Get(target, "documentElement"), "xml")), QStringLiteral("<x>kept</x>"));
}

INSTANTIATE_TEST_SUITE_P(
    Documents, DomPolicy,
    ::testing::Values(
        SPolicyRow{"XInclude",
                   "<r xmlns:xi=\"http://www.w3.org/2001/XInclude\">"
                   "<xi:include href=\"file:///etc/passwd\" parse=\"text\"/></r>",
                   "an XInclude element is not allowed in this document"},
        SPolicyRow{"amplified entities in content", Amplified(false),
                   "entity references would expand to more than 1048576 bytes of text"},
        SPolicyRow{"amplified entities in an attribute", Amplified(true),
                   "entity references would expand to more than 1048576 bytes of text"}),
    [](const ::testing::TestParamInfo<SPolicyRow>& param) {
        std::string name = param.param.name;
        std::replace(name.begin(), name.end(), ' ', '_');
        return name;
    });

TEST_F(DomTest, LoadXmlReplacesTheContent) {
    const CVariant oldRoot = Get(Doc(), "documentElement");
    const CVariant oldChannel = Select("//dfns:channel");
    EXPECT_TRUE(Yields(
        [&] {
            return Call(Doc(), "loadXML",
                        {S("<VeskProfile xmlns='urn:vesk:profile:1'>"
                           "<channels><channel name='N'/></channels>"
                           "</VeskProfile>")});
        },
        CVariant(true)));
    EXPECT_FALSE(Same(Get(Doc(), "documentElement"), oldRoot));
    EXPECT_EQ(Count(SelectAll("//dfns:channel")), 1);
    EXPECT_EQ(Str(Call(Select("//dfns:channel"), "getAttribute", {S("name")})),
              QStringLiteral("N"));
    // The old nodes are out of the document but still answer.
    EXPECT_TRUE(Get(oldRoot, "parentNode").IsNothing());
    EXPECT_EQ(Str(Call(oldChannel, "getAttribute", {S("name")})), QStringLiteral("CH1"));
    EXPECT_TRUE(Same(Get(Get(oldChannel, "parentNode"), "parentNode"), oldRoot));

    // Text that is no XML changes nothing.
    const QString before = DocXml();
    EXPECT_TRUE(Yields([&] { return Call(Doc(), "loadXML", {S("<broken>")}); }, CVariant(false)));
    EXPECT_EQ(DocXml(), before);
    // The text is already decoded; a declared encoding does not apply to it.
    EXPECT_TRUE(
        Call(Doc(), "loadXML", {S("<?xml version='1.0' encoding='ISO-8859-1'?><a>\xc3\xa9</a>")})
            .ToBool());
    EXPECT_EQ(Str(Get(Get(Doc(), "documentElement"), "text")), QString::fromUtf8("\xc3\xa9"));
    EXPECT_TRUE(
        Call(Doc(), "loadXML", {S("<!DOCTYPE x [<!ENTITY co \"Company\">]><x>&co;</x>")}).ToBool());
    EXPECT_EQ(Str(Get(Get(Doc(), "documentElement"), "text")), QStringLiteral("Company"));
    EXPECT_EQ(Str(Get(Get(Doc(), "firstChild"), "xml")),
              QStringLiteral("<!DOCTYPE x [\n<!ENTITY co \"Company\">\n]>"));
}

TEST_F(DomTest, DocumentMarkupHasTheDeclaration) {
    EXPECT_EQ(DocXml(), QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n") +
                            QString::fromUtf8(kProfile) + u'\n');
}

TEST(DomParse, TheDoctypeStaysAheadOfTheDocumentElement) {
    const std::shared_ptr<CDomDocument> parsed =
        CDomDocument::Parse("<!--a--><!DOCTYPE r [<!ENTITY e 'x'>]><r/>", nullptr);
    ASSERT_TRUE(parsed);
    const CVariant doc(ObjectPtr{parsed});
    const CVariant root = Get(doc, "documentElement");
    const CVariant comment = Get(doc, "firstChild");
    Call(doc, "removeChild", {root});
    EXPECT_EQ(ErrorOf([&] { Call(doc, "insertBefore", {root, comment}); }), err::kInvalidCall);
    EXPECT_EQ(ErrorOf([&] { Call(doc, "replaceChild", {root, comment}); }), err::kInvalidCall);
    Call(doc, "insertBefore", {Call(doc, "createComment", {S("b")}), comment});
    Call(doc, "appendChild", {root});
    EXPECT_TRUE(CDomDocument::Parse(Str(Get(doc, "xml")).toUtf8(), nullptr));
}

TEST(DomParse, EntityReferencesNeedTheirDeclaration) {
    const std::shared_ptr<CDomDocument> parsed =
        CDomDocument::Parse("<!DOCTYPE r [<!ENTITY e 'old'>]><r><b>&e;</b></r>", nullptr);
    ASSERT_TRUE(parsed);
    const CVariant doc(ObjectPtr{parsed});
    const CVariant b = Call(doc, "selectSingleNode", {S("//b")});
    ASSERT_TRUE(Call(doc, "loadXML", {S("<r/>")}).ToBool());
    EXPECT_EQ(Str(Get(b, "text")), QStringLiteral("old"));  // still readable out of the tree
    EXPECT_EQ(ErrorOf([&] { Call(Get(doc, "documentElement"), "appendChild", {b}); }),
              err::kInvalidCall);
    // Declared again, the reference goes in and reads the new declaration.
    ASSERT_TRUE(Call(doc, "loadXML", {S("<!DOCTYPE r [<!ENTITY e 'new'>]><r/>")}).ToBool());
    Call(Get(doc, "documentElement"), "appendChild", {b});
    EXPECT_EQ(Str(Get(b, "text")), QStringLiteral("new"));
    EXPECT_TRUE(CDomDocument::Parse(Str(Get(doc, "xml")).toUtf8(), nullptr));
}

TEST_F(DomTest, ValuesAreTextNotMarkup) {
    // Ampersands and angle brackets in a value are characters, however the value gets there.
    const CVariant name = Select("//dfns:channel/@name");
    Let(name, "value", S("a &amp; <b>"));
    const CVariant copy = Call(name, "cloneNode", {CVariant(false)});
    EXPECT_EQ(Str(Get(copy, "value")), QStringLiteral("a &amp; <b>"));
    EXPECT_EQ(Str(Get(copy, "xml")), QStringLiteral("name=\"a &amp;amp; &lt;b>\""));
    const CVariant text = Call(Doc(), "createTextNode", {S("&e; <x/>")});
    EXPECT_EQ(Str(Get(text, "xml")), QStringLiteral("&amp;e; &lt;x/&gt;"));
    const CVariant attribute = Call(Doc(), "createAttribute", {S("a")});
    Let(attribute, "text", S("&lt;"));
    EXPECT_EQ(Str(Get(attribute, "value")), QStringLiteral("&lt;"));
}

}  // namespace
}  // namespace vbs
