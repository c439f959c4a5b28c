#include <libxml/tree.h>

#include "model/rule_script_host.h"
#include "platform/script/dom.h"
#include "platform/script/host.h"
#include "platform/vesk_cps_exception.h"
#include "qt_print.h"
#include "recording_prompt.h"

#include <gtest/gtest.h>

namespace {

const char kProfile[] =
    "<VeskProfile xmlns=\"urn:vesk:profile:1\">"
    "<channels max=\"2\"><channel name=\"CH1\" rx_freq_ndx=\"0\"/></channels>"
    "</VeskProfile>";

// A rule script in the shape the data items call.
const QString kRules = QStringLiteral(
    "Option Explicit\n"
    "Dim calls\n"
    "Function CheckName(elem, attr, value, ByRef out1, limit, ByRef out2)\n"
    "    calls = calls + 1\n"
    "    If Len(value) > limit Then\n"
    "        out1 = 222\n"
    "        CheckName = 1\n"
    "        Exit Function\n"
    "    End If\n"
    "    elem.setAttribute attr.nodeName, UCase(value)\n"
    "    out2 = calls\n"
    "    CheckName = 0\n"
    "End Function\n"
    "Function CanAdd(channels)\n"
    "    CanAdd = channels.childNodes.length < CInt(channels.getAttribute(\"max\"))\n"
    "End Function\n"
    "Function AddChannel(channels)\n"
    "    Dim child\n"
    "    Set child = channels.ownerDocument.createNode(1, \"channel\", channels.namespaceURI)\n"
    "    child.setAttribute \"name\", \"CH\" & (channels.childNodes.length + 1)\n"
    "    Set AddChannel = channels.appendChild(child)\n"
    "End Function\n"
    "Function Broken(channels)\n"
    "    Dim zero\n"
    "    zero = 0\n"
    "    Broken = 1 / zero\n"
    "End Function\n"
    "Function Forever(channels)\n"
    "    Do\n"
    "    Loop\n"
    "End Function\n"
    "Function Deep(n)\n"
    "    Deep = Deep(n)\n"
    "End Function\n");

class RuleScriptHost : public ::testing::Test {
protected:
    void SetUp() override {
        QString error;
        document = vbs::CDomDocument::Parse(QByteArray(kProfile), &error);
        ASSERT_TRUE(document) << qPrintable(error);
        document->SetSelectionNamespaces(
            {{QStringLiteral("dfns"), QStringLiteral("urn:vesk:profile:1")}});
        host.Start(kRules, QStringLiteral("DataProfile.vbs"));
        host.SetDocument(document);
        channels = xmlFirstElementChild(xmlDocGetRootElement(document->Doc()));
        channel = xmlFirstElementChild(channels);
    }
    void TearDown() override {
        if (document) {
            document->Release();
        }
    }

    QString Attribute(xmlNodePtr node, const char* name) const {
        xmlChar* value = xmlGetProp(node, reinterpret_cast<const xmlChar*>(name));
        const QString text = QString::fromUtf8(reinterpret_cast<const char*>(value));
        xmlFree(value);
        return text;
    }

    CRecordingPrompt prompt;
    CRuleScriptHost host{prompt};
    std::shared_ptr<vbs::CDomDocument> document;
    xmlNodePtr channels = nullptr;
    xmlNodePtr channel = nullptr;
};

TEST_F(RuleScriptHost, ByValAndByRefArgumentsCrossTheCall) {
    qint32 out1 = -5;
    qint32 out2 = -5;
    xmlAttrPtr name = xmlHasProp(channel, reinterpret_cast<const xmlChar*>("name"));
    // Handler names are found whatever their case.
    EXPECT_EQ(host.SetVal(QStringLiteral("checkname"), channel, reinterpret_cast<xmlNodePtr>(name),
                          vbs::CVariant(QStringLiteral("base")), out1, 8, out2),
              0);
    EXPECT_EQ(out1, 0);  // ByRef integers start at 0
    EXPECT_EQ(out2, 1);
    EXPECT_EQ(Attribute(channel, "name"), QStringLiteral("BASE"));

    EXPECT_EQ(host.SetVal(QStringLiteral("CheckName"), channel, reinterpret_cast<xmlNodePtr>(name),
                          vbs::CVariant(QStringLiteral("far too long")), out1, 8, out2),
              1);
    EXPECT_EQ(out1, 222);
    EXPECT_EQ(out2, 0);
    EXPECT_EQ(Attribute(channel, "name"), QStringLiteral("BASE"));
    EXPECT_TRUE(prompt.ids.isEmpty());
}

TEST_F(RuleScriptHost, ElementHandlersChangeTheDocument) {
    EXPECT_TRUE(host.CanAddChild(QStringLiteral("CanAdd"), channels));
    xmlNodePtr added = host.OnAddNew(QStringLiteral("AddChannel"), channels);
    ASSERT_NE(added, nullptr);
    EXPECT_EQ(added->parent, channels);
    EXPECT_EQ(Attribute(added, "name"), QStringLiteral("CH2"));
    ASSERT_NE(added->ns, nullptr);
    EXPECT_STREQ(reinterpret_cast<const char*>(added->ns->href), "urn:vesk:profile:1");
    EXPECT_FALSE(host.CanAddChild(QStringLiteral("CanAdd"), channels));
}

struct SFailureRow {
    const char* handler;
    const char* expectedDetail;
    const char* expectedPrompt;  // empty: no message for the user
};

class RuleScriptHostFailure : public RuleScriptHost,
                              public ::testing::WithParamInterface<SFailureRow> {};

TEST_P(RuleScriptHostFailure, RaisesUnknownErrorAndShowsTheScriptError) {
    host.SetLimits({.maxSteps = 100000, .maxCallDepth = 50});
    try {
        host.CanAddChild(QString::fromUtf8(GetParam().handler), channels);
        FAIL() << "no exception";
    } catch (const CVeskCPSException& e) {
        EXPECT_EQ(e.MessageId(), 131);
        EXPECT_TRUE(e.Text().contains(QString::fromUtf8(GetParam().expectedDetail)))
            << qPrintable(e.Text());
    }
    const QString expected = QString::fromUtf8(GetParam().expectedPrompt);
    if (expected.isEmpty()) {
        EXPECT_TRUE(prompt.texts.isEmpty());
    } else {
        ASSERT_EQ(prompt.texts.size(), 1);
        EXPECT_EQ(prompt.texts[0], expected);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, RuleScriptHostFailure,
    ::testing::Values(
        SFailureRow{"Broken",
                    "Invoke script function failed\nfunction name=CanAddChild,Node=channels",
                    "IActiveScriptSite::OnScriptError()\nLine: 26\nDivision by zero"},
        SFailureRow{"Forever", "function name=CanAddChild,Node=channels",
                    "IActiveScriptSite::OnScriptError()\nLine: 29\nThe script ran too long and was "
                    "stopped"},
        SFailureRow{"Deep", "function name=CanAddChild,Node=channels",
                    "IActiveScriptSite::OnScriptError()\nLine: 33\nOut of stack space"},
        SFailureRow{"NoSuchHandler", "function name=CanAddChild,Node=channels", ""}));

struct SStartRow {
    const char* script;
    const char* detail;
    const char* prompt;
};

class RuleScriptStart : public ::testing::TestWithParam<SStartRow> {};

TEST_P(RuleScriptStart, FailsWithFatalError101NamingTheStep) {
    CRecordingPrompt prompt;
    CRuleScriptHost host(prompt);
    try {
        host.Start(QString::fromUtf8(GetParam().script), QStringLiteral("DataProfile.vbs"));
        FAIL() << "no exception";
    } catch (const CVeskCPSException& e) {
        EXPECT_EQ(e.MessageId(), 137);
        EXPECT_TRUE(e.Text().endsWith(QString::fromUtf8(GetParam().detail)))
            << qPrintable(e.Text());
    }
    ASSERT_EQ(prompt.texts.size(), 1);
    EXPECT_EQ(prompt.texts[0], QString::fromUtf8(GetParam().prompt));
    EXPECT_FALSE(host.IsStarted());
}

INSTANTIATE_TEST_SUITE_P(
    Rows, RuleScriptStart,
    ::testing::Values(SStartRow{"Dim a\nIf a Then\n  a = 1\n", "ParseScriptText failed",
                                "IActiveScriptSite::OnScriptError()\nLine: 4\n'End If' expected "
                                "(to close 'If' at line 2)"},
                      SStartRow{"Dim a\na = 1\na = a / 0\n", "SetScriptState failed",
                                "IActiveScriptSite::OnScriptError()\nLine: 3\nDivision by zero"}));

TEST(ScriptEngine, PresenceTestPassesAndOnlyVBScriptExists) {
    CRecordingPrompt prompt;
    EXPECT_TRUE(CRuleScriptHost::CheckScriptEngine(prompt));
    EXPECT_TRUE(prompt.ids.isEmpty());
    EXPECT_EQ(vbs::CScriptEngine::Create(QStringLiteral("JScript")), nullptr);
    EXPECT_NE(vbs::CScriptEngine::Create(QStringLiteral("vbscript")), nullptr);
}

class CountingSite : public vbs::IScriptSite {
public:
    void OnScriptError(const vbs::SScriptDiagnostic& error) override { errors.push_back(error); }
    std::vector<vbs::SScriptDiagnostic> errors;
};

TEST(ScriptEngine, StepsInOrderAndDispatchOnlyWhenStarted) {
    CountingSite site;
    auto engine = vbs::CScriptEngine::Create(QStringLiteral("VBScript"));
    EXPECT_FALSE(engine->InitNew());  // no site yet
    ASSERT_TRUE(engine->SetScriptSite(&site));
    EXPECT_FALSE(engine->ParseScriptText(QStringLiteral("x = 1"), QStringLiteral("a.vbs")));
    ASSERT_TRUE(engine->InitNew());
    ASSERT_TRUE(
        engine->ParseScriptText(QStringLiteral("Dim total\nSub Add(ByVal a, ByRef b)\n  b = b + "
                                               "a\n  a = 0\n  total = total + 1\nEnd Sub\n"),
                                QStringLiteral("a.vbs")));
    EXPECT_EQ(engine->GetScriptDispatch(), nullptr);
    ASSERT_TRUE(engine->SetScriptState(vbs::ScriptState::Started));
    vbs::CScriptDispatch* dispatch = engine->GetScriptDispatch();
    ASSERT_NE(dispatch, nullptr);
    EXPECT_EQ(dispatch->GetIDsOfNames(QStringLiteral("Missing")), std::nullopt);
    const std::optional<int> id = dispatch->GetIDsOfNames(QStringLiteral("ADD"));
    ASSERT_TRUE(id);

    std::vector<vbs::SHostArg> args{{vbs::CVariant::Long(5), true},
                                    {vbs::CVariant::Long(10), true}};
    ASSERT_TRUE(dispatch->Invoke(*id, args, nullptr));
    // The first parameter is ByVal in the script: the host's ByRef request cannot make it write.
    EXPECT_EQ(args[0].value.ToLong(), 5);
    EXPECT_EQ(args[1].value.ToLong(), 15);

    std::vector<vbs::SHostArg> tooFew{{vbs::CVariant::Long(1), false}};
    EXPECT_FALSE(dispatch->Invoke(*id, tooFew, nullptr));
    ASSERT_EQ(site.errors.size(), 1u);
    EXPECT_TRUE(site.errors[0].message.contains(QStringLiteral("Wrong number of arguments")));
    EXPECT_EQ(engine->Interpreter().GlobalValue(QStringLiteral("TOTAL"))->ToLong(), 1);
}

}  // namespace
