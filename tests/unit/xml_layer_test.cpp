#include <atomic>
#include <cerrno>
#include <optional>
#include <thread>
#include <vector>

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <libxml/parser.h>

#include "platform/xml/namespaces.h"
#include "platform/xml/xml_document.h"
#include "platform/xml/xml_node.h"
#include "platform/xml/xpath.h"
#include "qt_print.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

const QByteArray kProfile = R"(<?xml version="1.0" encoding="UTF-8"?>
<VeskProfile xmlns="urn:corvane:vesk-kel:profile:1" xmlns:ms="urn:schemas-microsoft-com:xslt">
  <factory_setting codeplug_version="7"/>
  <frequencies>
    <channel name="Dock" freq="151820000" ms:tag="a"/>
    <channel name="Yard" freq="154570000"/>
    <channel name="Gate" freq="462562500" ms:tag="b"/>
  </frequencies>
  <other xmlns="urn:elsewhere"><channel name="Stranger"/></other>
</VeskProfile>
)";

CVeskCPSException ParseFailure(const QByteArray& text, int messageId = model_msg::kInvalidProfile) {
    try {
        CXmlDocument::Parse(text, QStringLiteral("test.vk4"), messageId);
    } catch (const CVeskCPSException& e) {
        return e;
    }
    ADD_FAILURE() << "accepted: " << text.toStdString();
    return CVeskCPSException(0, QString(), QString());
}

std::atomic<int> g_loaderCalls = 0;

// Stands for whatever loader the rest of the program had installed before a parse.
xmlParserInputPtr CountingLoader(const char*, const char*, xmlParserCtxtPtr) {
    ++g_loaderCalls;
    return nullptr;
}

// --- parsing ---------------------------------------------------------------------------------

TEST(XmlDocument, ParsesANamespacedProfile) {
    const CXmlDocument document = CXmlDocument::Parse(kProfile, QStringLiteral("p.vk4"));
    ASSERT_NE(document.Root(), nullptr);
    EXPECT_EQ(xml::LocalName(document.Root()), QStringLiteral("VeskProfile"));
    EXPECT_EQ(xml::NamespaceUri(document.Root()), QString::fromUtf8(kProfileNamespace));
}

TEST(XmlDocument, MovedFromDocumentIsEmptyAndOwnsNothing) {
    CXmlDocument first = CXmlDocument::Parse(kProfile, QStringLiteral("p.vk4"));
    xmlDocPtr raw = first.Get();
    CXmlDocument second(std::move(first));
    EXPECT_TRUE(first.IsNull());
    EXPECT_EQ(second.Get(), raw);
    CXmlDocument third = CXmlDocument::Parse("<a/>", QStringLiteral("a.xml"));
    third = std::move(second);
    EXPECT_EQ(third.Get(), raw);
}

struct SMalformed {
    const char* name;
    const char* text;
    const char* where;     // "line L, column C" of the first error
    const char* notWhere;  // the place of a later error that must not be reported
};

class MalformedXml : public testing::TestWithParam<SMalformed> {};

TEST_P(MalformedXml, ReportsTheFirstErrorWithLineAndColumn) {
    const SMalformed& row = GetParam();
    const CVeskCPSException e = ParseFailure(row.text, model_msg::kFailedToLoadProfile);
    EXPECT_EQ(e.MessageId(), model_msg::kFailedToLoadProfile);
    EXPECT_TRUE(e.Text().startsWith(QStringLiteral("ErrorMsg: "))) << qPrintable(e.Text());
    EXPECT_TRUE(e.Text().contains(QString::fromUtf8(row.where))) << qPrintable(e.Text());
    EXPECT_TRUE(e.Text().contains(QStringLiteral("Source: test.vk4"))) << qPrintable(e.Text());
    if (row.notWhere) {
        EXPECT_FALSE(e.Text().contains(QString::fromUtf8(row.notWhere))) << qPrintable(e.Text());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, MalformedXml,
    testing::Values(SMalformed{"MismatchedEnd", "<a>\n  <b>\n</a>", "line 3, column 5", nullptr},
                    SMalformed{"FirstOfTwoErrors", "<a>\n<b x='1' x='2'/>\n</c>",
                               "line 2, column 15", "line 3"},
                    SMalformed{"Empty", "", "line 1, column 1", nullptr},
                    SMalformed{"TextOnly", "hello", "line 1, column 1", nullptr},
                    SMalformed{"Unclosed", "<a>\n<b/>", "line 2, column 5", nullptr},
                    SMalformed{"UndeclaredPrefix", "<a>\n <x:b/>\n</a>", "line 2, column 6",
                               nullptr},
                    SMalformed{"UndefinedEntity", "<a>&nope;</a>", "line 1, column 10", nullptr},
                    SMalformed{"BadUtf8", "<a>\xff\xfe</a>", "line 1, column 4", nullptr},
                    SMalformed{"TwoRoots", "<a/><b/>", "line 1, column 5", nullptr}),
    [](const testing::TestParamInfo<SMalformed>& param) { return std::string(param.param.name); });

// --- hostile documents -----------------------------------------------------------------------

// A port on the loopback interface that records whether anything tried to connect.
class CLoopbackListener {
public:
    CLoopbackListener() {
        m_socket = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (m_socket < 0 || bind(m_socket, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
            listen(m_socket, 8) != 0 ||
            getsockname(m_socket, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
            ADD_FAILURE() << "cannot listen on the loopback interface";
            return;
        }
        m_port = ntohs(address.sin_port);
    }
    ~CLoopbackListener() {
        if (m_socket >= 0) {
            close(m_socket);
        }
    }
    CLoopbackListener(const CLoopbackListener&) = delete;
    CLoopbackListener& operator=(const CLoopbackListener&) = delete;

    int Port() const { return m_port; }
    bool WasContacted() const {
        const int connection = accept(m_socket, nullptr, nullptr);
        if (connection >= 0) {
            close(connection);
            return true;
        }
        return errno != EAGAIN && errno != EWOULDBLOCK;
    }

private:
    int m_socket = -1;
    int m_port = 0;
};

struct SHostile {
    const char* name;
    // %SECRET% is a file whose content must never show up; %PORT% a port that must stay silent.
    const char* text;
    const char* reason;
};

class HostileXml : public testing::TestWithParam<SHostile> {};

constexpr char kSecretContent[] = "VESK-SECRET-7731";

TEST_P(HostileXml, IsRefusedWithoutReadingOrFollowingAnything) {
    const SHostile& row = GetParam();
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString secretPath = folder.filePath(QStringLiteral("secret.txt"));
    {
        QFile secret(secretPath);
        ASSERT_TRUE(secret.open(QIODevice::WriteOnly));
        secret.write(kSecretContent);
    }
    CLoopbackListener listener;
    QByteArray text(row.text);
    text.replace("%SECRET%", secretPath.toUtf8());
    text.replace("%PORT%", QByteArray::number(listener.Port()));

    const xmlExternalEntityLoader before = xmlGetExternalEntityLoader();
    xmlSetExternalEntityLoader(CountingLoader);
    g_loaderCalls = 0;
    const CVeskCPSException e = ParseFailure(text);
    const xmlExternalEntityLoader after = xmlGetExternalEntityLoader();
    xmlSetExternalEntityLoader(before);

    EXPECT_EQ(e.MessageId(), model_msg::kInvalidProfile);
    EXPECT_TRUE(e.Text().contains(QString::fromUtf8(row.reason))) << qPrintable(e.Text());
    EXPECT_TRUE(e.Text().contains(QStringLiteral("line "))) << qPrintable(e.Text());
    EXPECT_FALSE(e.Text().contains(QString::fromUtf8(kSecretContent))) << qPrintable(e.Text());
    EXPECT_FALSE(e.Text().contains(QStringLiteral("root:"))) << qPrintable(e.Text());
    EXPECT_FALSE(listener.WasContacted());
    EXPECT_EQ(after, &CountingLoader) << "the previous entity loader was not restored";
    EXPECT_EQ(g_loaderCalls, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, HostileXml,
    testing::Values(
        SHostile{"ExternalEntityPasswd",
                 "<!DOCTYPE r [<!ENTITY x SYSTEM \"file:///etc/passwd\">]><r>&x;</r>", "DOCTYPE"},
        SHostile{"ExternalEntitySecret",
                 "<!DOCTYPE r [<!ENTITY x SYSTEM \"file://%SECRET%\">]><r>&x;</r>", "DOCTYPE"},
        SHostile{"ExternalEntityInAttribute",
                 "<!DOCTYPE r [<!ENTITY x SYSTEM \"%SECRET%\">]><r a=\"&x;\"/>", "DOCTYPE"},
        SHostile{"ParameterEntity",
                 "<!DOCTYPE r [<!ENTITY % p SYSTEM \"http://127.0.0.1:%PORT%/p.ent\"> %p;]><r/>",
                 "DOCTYPE"},
        SHostile{"ParameterEntityFile",
                 "<!DOCTYPE r [<!ENTITY % p SYSTEM \"file://%SECRET%\"> %p;]><r/>", "DOCTYPE"},
        SHostile{"BillionLaughs",
                 "<!DOCTYPE r [<!ENTITY a \"lollollollollollollollollollol\">"
                 "<!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\">"
                 "<!ENTITY c \"&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;\">"
                 "<!ENTITY d \"&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;\">"
                 "<!ENTITY e \"&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;\">"
                 "<!ENTITY f \"&e;&e;&e;&e;&e;&e;&e;&e;&e;&e;\">"
                 "<!ENTITY g \"&f;&f;&f;&f;&f;&f;&f;&f;&f;&f;\">"
                 "<!ENTITY h \"&g;&g;&g;&g;&g;&g;&g;&g;&g;&g;\">"
                 "<!ENTITY i \"&h;&h;&h;&h;&h;&h;&h;&h;&h;&h;\">]>"
                 "<r a=\"&i;\">&i;</r>",
                 "DOCTYPE"},
        SHostile{"ExternalDtdHttp",
                 "<?xml version=\"1.0\"?>\n<!DOCTYPE r SYSTEM \"http://127.0.0.1:%PORT%/r.dtd\">"
                 "<r/>",
                 "DOCTYPE"},
        SHostile{"ExternalDtdFile", "<!DOCTYPE r PUBLIC \"-//X//Y\" \"file://%SECRET%\"><r/>",
                 "DOCTYPE"},
        SHostile{"EmptyDoctype", "<!DOCTYPE r><r/>", "DOCTYPE"},
        SHostile{"XIncludeHttp",
                 "<r xmlns:xi=\"http://www.w3.org/2001/XInclude\">"
                 "<xi:include href=\"http://127.0.0.1:%PORT%/x.xml\"/></r>",
                 "XInclude"},
        SHostile{"XIncludeFileText",
                 "<r><include xmlns=\"http://www.w3.org/2001/XInclude\" href=\"file://%SECRET%\" "
                 "parse=\"text\"/></r>",
                 "XInclude"},
        SHostile{"XIncludeOldNamespace",
                 "<xi:include xmlns:xi=\"http://www.w3.org/2003/XInclude\" href=\"%SECRET%\"/>",
                 "XInclude"}),
    [](const testing::TestParamInfo<SHostile>& param) { return std::string(param.param.name); });

TEST(XmlDocument, ParallelParsesKeepTheLoaderConsistent) {
    const xmlExternalEntityLoader before = xmlGetExternalEntityLoader();
    xmlSetExternalEntityLoader(CountingLoader);
    g_loaderCalls = 0;
    std::vector<std::thread> threads;
    std::vector<int> accepted(4, 0);
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([t, &accepted] {
            for (int i = 0; i < 50; ++i) {
                const bool hostile = (i + t) % 2 == 0;
                try {
                    CXmlDocument::Parse(
                        hostile ? QByteArray("<!DOCTYPE r SYSTEM \"r.dtd\"><r/>") : kProfile,
                        QStringLiteral("t.xml"));
                    ++accepted[static_cast<std::size_t>(t)];
                } catch (const CVeskCPSException&) {
                }
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    const xmlExternalEntityLoader after = xmlGetExternalEntityLoader();
    xmlSetExternalEntityLoader(before);
    EXPECT_EQ(after, &CountingLoader);
    EXPECT_EQ(g_loaderCalls, 0);
    for (int count : accepted) {
        EXPECT_EQ(count, 25);
    }
}

// --- files -----------------------------------------------------------------------------------

TEST(XmlDocument, ParseFileReadsAFileAndNamesAMissingOne) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString path = folder.filePath(QStringLiteral("Region.stv"));
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(kProfile);
    }
    const CXmlDocument document = CXmlDocument::ParseFile(path);
    EXPECT_EQ(xml::LocalName(document.Root()), QStringLiteral("VeskProfile"));

    const QString missing = folder.filePath(QStringLiteral("Missing.stv"));
    try {
        CXmlDocument::ParseFile(missing, model_msg::kFatalError102);
        FAIL() << "a missing file was accepted";
    } catch (const CVeskCPSException& e) {
        EXPECT_EQ(e.MessageId(), model_msg::kFatalError102);
        EXPECT_TRUE(e.Text().contains(missing)) << qPrintable(e.Text());
    }
    EXPECT_THROW(CXmlDocument::ParseFile(folder.path()), CVeskCPSException);
}

TEST(XmlDocument, ParseFileErrorsNameTheFile) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString path = folder.filePath(QStringLiteral("Broken.stv"));
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("<a>\n<b>\n");
    }
    try {
        CXmlDocument::ParseFile(path);
        FAIL() << "a broken file was accepted";
    } catch (const CVeskCPSException& e) {
        EXPECT_TRUE(e.Text().contains(QStringLiteral("Source: ") + path)) << qPrintable(e.Text());
    }
}

// --- XPath -----------------------------------------------------------------------------------

struct SQuery {
    const char* expression;
    int count;
    const char* firstName;  // attribute `name` of the first node, or null when none
};

class ProfileQuery : public testing::TestWithParam<SQuery> {};

TEST_P(ProfileQuery, SelectsWithTheBoundPrefixes) {
    const SQuery& row = GetParam();
    const CXmlDocument document = CXmlDocument::Parse(kProfile, QStringLiteral("p.vk4"));
    CXPathContext xpath(document);
    const QString expression = QString::fromUtf8(row.expression);
    EXPECT_EQ(xpath.SelectNodes(expression).size(), static_cast<std::size_t>(row.count));
    const xmlNodePtr first = xpath.SelectSingle(expression);
    if (row.firstName) {
        EXPECT_EQ(xml::Attribute(first, "name"), QString::fromUtf8(row.firstName));
    } else {
        EXPECT_EQ(first, nullptr);
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, ProfileQuery,
                         testing::Values(SQuery{"//dfns:channel", 3, "Dock"},
                                         SQuery{"//dfns:frequencies/dfns:*[2]", 1, "Yard"},
                                         SQuery{"//dfns:channel[@ms:tag='b']", 1, "Gate"},
                                         SQuery{"//dfns:channel[@ms:tag]", 2, "Dock"},
                                         SQuery{"//channel", 0, nullptr},
                                         SQuery{"//*[local-name()='channel']", 4, "Dock"},
                                         SQuery{"dfns:frequencies/dfns:channel", 3, "Dock"},
                                         SQuery{"//dfns:channel[@name='Nowhere']", 0, nullptr}));

TEST(XPathContext, QueriesRelativeToAContextNodeAndEvaluatesValues) {
    const CXmlDocument document = CXmlDocument::Parse(kProfile, QStringLiteral("p.vk4"));
    CXPathContext xpath(document);
    const xmlNodePtr frequencies = xpath.SelectSingle(QStringLiteral("//dfns:frequencies"));
    ASSERT_NE(frequencies, nullptr);
    EXPECT_EQ(xpath.SelectNodes(QStringLiteral("dfns:channel"), frequencies).size(), 3u);
    EXPECT_EQ(xpath.EvaluateNumber(QStringLiteral("count(dfns:channel)"), frequencies), 3.0);
    EXPECT_EQ(xpath.EvaluateString(QStringLiteral("dfns:channel[3]/@freq"), frequencies),
              QStringLiteral("462562500"));
    EXPECT_EQ(xpath.EvaluateNumber(QStringLiteral("//dfns:factory_setting/@codeplug_version")),
              7.0);
    EXPECT_TRUE(xpath.EvaluateBoolean(QStringLiteral("//dfns:channel[@freq > 462000000]")));
    EXPECT_FALSE(xpath.EvaluateBoolean(QStringLiteral("//dfns:channel[@freq > 500000000]")));
}

TEST(XPathContext, RefusesAContextNodeOfAnotherDocument) {
    const CXmlDocument first = CXmlDocument::Parse(kProfile, QStringLiteral("a.vk4"));
    const CXmlDocument second = CXmlDocument::Parse(kProfile, QStringLiteral("b.vk4"));
    CXPathContext xpath(first);
    EXPECT_THROW(xpath.SelectNodes(QStringLiteral("*"), second.Root()), CVeskCPSException);
}

struct SBadQuery {
    const char* expression;
    const char* reason;
};

class BadQuery : public testing::TestWithParam<SBadQuery> {};

TEST_P(BadQuery, RaisesWithTheExpressionInTheText) {
    const SBadQuery& row = GetParam();
    const CXmlDocument document = CXmlDocument::Parse(kProfile, QStringLiteral("p.vk4"));
    CXPathContext xpath(document, model_msg::kProgrammingError107);
    try {
        xpath.SelectNodes(QString::fromUtf8(row.expression));
        FAIL() << "accepted " << row.expression;
    } catch (const CVeskCPSException& e) {
        EXPECT_EQ(e.MessageId(), model_msg::kProgrammingError107);
        EXPECT_TRUE(e.Text().contains(QString::fromUtf8(row.expression))) << qPrintable(e.Text());
        EXPECT_TRUE(e.Text().contains(QString::fromUtf8(row.reason))) << qPrintable(e.Text());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, BadQuery,
    testing::Values(SBadQuery{"//dfns:[", "XPath error \"Invalid expression\""},
                    SBadQuery{"//nope:x", "XPath error \"Undefined namespace prefix\""},
                    SBadQuery{"count(//dfns:channel", "XPath error"},
                    SBadQuery{"no-such-function()", "XPath error \"Unregistered function\""},
                    SBadQuery{"//dfns:channel[", "XPath error"},
                    SBadQuery{"count(//dfns:channel)", "gives a number, not nodes"},
                    SBadQuery{"'text'", "gives a string, not nodes"},
                    SBadQuery{"//dfns:channel/namespace::*", "namespace nodes"}));

class XPathLiteral : public testing::TestWithParam<const char*> {};

TEST_P(XPathLiteral, EvaluatesBackToTheSameText) {
    const QString text = QString::fromUtf8(GetParam());
    const CXmlDocument document = CXmlDocument::Parse(kProfile, QStringLiteral("p.vk4"));
    CXPathContext xpath(document);
    EXPECT_EQ(xpath.EvaluateString(QStringLiteral("string(%1)").arg(CXPathContext::Literal(text))),
              text);
}

INSTANTIATE_TEST_SUITE_P(Rows, XPathLiteral,
                         testing::Values("English", "", "O'Brien", "say \"hi\"", "it's \"both\"",
                                         "'", "''\"", "' or '1'='1"));

TEST(XPathContext, LiteralKeepsAQuotedNameFromWideningAQuery) {
    const CXmlDocument document = CXmlDocument::Parse(kProfile, QStringLiteral("p.vk4"));
    CXPathContext xpath(document);
    const QString name = QStringLiteral("x' or '1'='1");
    EXPECT_TRUE(
        xpath
            .SelectNodes(
                QStringLiteral("//dfns:channel[@name=%1]").arg(CXPathContext::Literal(name)))
            .empty());
}

// --- typed attributes ------------------------------------------------------------------------

struct SAttribute {
    const char* value;
    std::optional<qint32> int32;
    std::optional<quint32> uint32;
    std::optional<bool> boolean;
};

class TypedAttribute : public testing::TestWithParam<SAttribute> {};

TEST_P(TypedAttribute, ReadsOnlyValuesThatFitTheType) {
    const SAttribute& row = GetParam();
    CXmlDocument document = CXmlDocument::Parse("<a/>", QStringLiteral("a.xml"));
    xml::SetAttribute(document.Root(), "v", QString::fromUtf8(row.value));
    EXPECT_EQ(xml::AttributeInt32(document.Root(), "v"), row.int32) << row.value;
    EXPECT_EQ(xml::AttributeUInt32(document.Root(), "v"), row.uint32) << row.value;
    EXPECT_EQ(xml::AttributeBool(document.Root(), "v"), row.boolean) << row.value;
}

INSTANTIATE_TEST_SUITE_P(
    Rows, TypedAttribute,
    testing::Values(SAttribute{"0", 0, 0u, false}, SAttribute{"1", 1, 1u, true},
                    SAttribute{"42", 42, 42u, std::nullopt},
                    SAttribute{" 17\n", 17, 17u, std::nullopt},
                    SAttribute{"+8", 8, 8u, std::nullopt},
                    SAttribute{"-1", -1, std::nullopt, std::nullopt},
                    SAttribute{"2147483647", 2147483647, 2147483647u, std::nullopt},
                    SAttribute{"2147483648", std::nullopt, 2147483648u, std::nullopt},
                    SAttribute{"-2147483648", INT32_MIN, std::nullopt, std::nullopt},
                    SAttribute{"-2147483649", std::nullopt, std::nullopt, std::nullopt},
                    SAttribute{"4294967295", std::nullopt, 4294967295u, std::nullopt},
                    SAttribute{"4294967296", std::nullopt, std::nullopt, std::nullopt},
                    SAttribute{"99999999999999999999999", std::nullopt, std::nullopt, std::nullopt},
                    SAttribute{"", std::nullopt, std::nullopt, std::nullopt},
                    SAttribute{"-", std::nullopt, std::nullopt, std::nullopt},
                    SAttribute{"12a", std::nullopt, std::nullopt, std::nullopt},
                    SAttribute{"0x10", std::nullopt, std::nullopt, std::nullopt},
                    SAttribute{"1 2", std::nullopt, std::nullopt, std::nullopt},
                    SAttribute{"1.0", std::nullopt, std::nullopt, std::nullopt},
                    SAttribute{"\xd9\xa3", std::nullopt, std::nullopt, std::nullopt},
                    SAttribute{"true", std::nullopt, std::nullopt, true},
                    SAttribute{"false", std::nullopt, std::nullopt, false},
                    SAttribute{"TRUE", std::nullopt, std::nullopt, std::nullopt},
                    SAttribute{"yes", std::nullopt, std::nullopt, std::nullopt}));

TEST(TypedAttributes, MissingAttributeAndNullNodeReadAsNothing) {
    const CXmlDocument document = CXmlDocument::Parse("<a v='1'/>", QStringLiteral("a.xml"));
    EXPECT_EQ(xml::Attribute(document.Root(), "w"), std::nullopt);
    EXPECT_EQ(xml::AttributeInt32(nullptr, "v"), std::nullopt);
    EXPECT_EQ(xml::AttributeBool(document.Root(), "v"), true);
}

TEST(TypedAttributes, NamespaceDecidesWhichAttributeIsRead) {
    const CXmlDocument document = CXmlDocument::Parse(kProfile, QStringLiteral("p.vk4"));
    CXPathContext xpath(document);
    const xmlNodePtr dock = xpath.SelectSingle(QStringLiteral("//dfns:channel[1]"));
    ASSERT_NE(dock, nullptr);
    EXPECT_EQ(xml::Attribute(dock, "tag", kMsXsltNamespace), QStringLiteral("a"));
    EXPECT_EQ(xml::Attribute(dock, "tag"), std::nullopt);
    EXPECT_EQ(xml::Attribute(dock, "name", kMsXsltNamespace), std::nullopt);
    EXPECT_EQ(xml::AttributeUInt32(dock, "freq"), 151820000u);
}

TEST(TypedAttributes, WritesAndRemovesWithNamespaces) {
    CXmlDocument document = CXmlDocument::CreateWithRoot("root", kProfileNamespace);
    const xmlNodePtr root = document.Root();
    xml::SetAttributeBool(root, "isVisible", true);
    xml::SetAttributeInt32(root, "offset", -5);
    xml::SetAttributeUInt32(root, "tag", 4000000000u, kMsXsltNamespace, "ms");
    EXPECT_EQ(xml::Attribute(root, "isVisible"), QStringLiteral("1"));
    EXPECT_EQ(xml::AttributeInt32(root, "offset"), -5);
    EXPECT_EQ(xml::AttributeUInt32(root, "tag", kMsXsltNamespace), 4000000000u);
    EXPECT_EQ(xml::Attribute(root, "tag"), std::nullopt);

    CXPathContext xpath(document);
    EXPECT_EQ(xpath.SelectSingle(QStringLiteral("/dfns:root[@ms:tag='4000000000']")), root);

    EXPECT_TRUE(xml::RemoveAttribute(root, "tag", kMsXsltNamespace));
    EXPECT_FALSE(xml::RemoveAttribute(root, "tag", kMsXsltNamespace));
    EXPECT_EQ(xml::Attribute(root, "tag", kMsXsltNamespace), std::nullopt);
    EXPECT_EQ(xml::Attribute(root, "offset"), QStringLiteral("-5"));
}

TEST(TypedAttributes, RefusesWhatCannotBeWritten) {
    CXmlDocument document = CXmlDocument::CreateWithRoot("root", kProfileNamespace);
    EXPECT_THROW(xml::SetAttribute(document.Root(), "v", QStringLiteral("a\x01z")),
                 CVeskCPSException);
    EXPECT_THROW(xml::SetAttribute(document.Root(), "v", QString(QChar(0xD800))),
                 CVeskCPSException);
    EXPECT_THROW(xml::SetAttribute(nullptr, "v", QStringLiteral("1")), CVeskCPSException);
    // The default namespace does not apply to attributes, so a prefix is needed.
    EXPECT_THROW(xml::SetAttribute(document.Root(), "v", QStringLiteral("1"), kProfileNamespace),
                 CVeskCPSException);
    EXPECT_EQ(xml::Attribute(document.Root(), "v"), std::nullopt);
}

// --- round trip ------------------------------------------------------------------------------

TEST(XmlDocument, RoundTripKeepsValuesAndText) {
    CXmlDocument document = CXmlDocument::Parse(kProfile, QStringLiteral("p.vk4"));
    CXPathContext xpath(document);
    const xmlNodePtr yard = xpath.SelectSingle(QStringLiteral("//dfns:channel[@name='Yard']"));
    ASSERT_NE(yard, nullptr);
    const QString awkward = QStringLiteral("Küche <&> \"quoted\" 'single'\ttab\nline 漢字 🎙");
    xml::SetAttribute(yard, "name", awkward);
    xml::SetAttribute(yard, "note", awkward, kMsXsltNamespace, "ms");

    const QByteArray text = document.ToXml();
    EXPECT_TRUE(text.startsWith("<?xml version=\"1.0\" encoding=\"UTF-8\"?>")) << text.data();
    const CXmlDocument again = CXmlDocument::Parse(text, QStringLiteral("again.vk4"));
    CXPathContext xpathAgain(again);
    const xmlNodePtr yardAgain = xpathAgain.SelectSingle(QStringLiteral("//dfns:channel[2]"));
    ASSERT_NE(yardAgain, nullptr);
    EXPECT_EQ(xml::Attribute(yardAgain, "name"), awkward);
    EXPECT_EQ(xml::Attribute(yardAgain, "note", kMsXsltNamespace), awkward);
    EXPECT_EQ(xml::AttributeUInt32(yardAgain, "freq"), 154570000u);
    EXPECT_EQ(again.ToXml(), text);
}

TEST(XmlDocument, CloneIsIndependent) {
    const CXmlDocument original = CXmlDocument::Parse(kProfile, QStringLiteral("p.vk4"));
    CXmlDocument copy = original.Clone();
    ASSERT_NE(copy.Get(), original.Get());
    xml::SetAttributeInt32(copy.Root(), "changed", 1);
    EXPECT_EQ(xml::Attribute(original.Root(), "changed"), std::nullopt);
    EXPECT_EQ(xml::AttributeInt32(copy.Root(), "changed"), 1);
}

}  // namespace
