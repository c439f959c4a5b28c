#include "model/rule_script_host.h"

#include <mutex>

#include <libxml/tree.h>

#include "platform/script/dom.h"
#include "platform/script/parser.h"
#include "platform/string_table.h"
#include "platform/user_prompt.h"
#include "platform/vesk_cps_exception.h"

namespace {

const QString kLanguage = QStringLiteral("VBScript");
const QString kInvokeFailed = QStringLiteral("Invoke script function failed\nfunction name=");

QString NodeName(_xmlNode* node) {
    return node && node->name ? QString::fromUtf8(reinterpret_cast<const char*>(node->name))
                              : QString();
}

// A plain site for the presence test; the engine is dropped right after.
class CSilentSite : public vbs::IScriptSite {
public:
    void OnScriptError(const vbs::SScriptDiagnostic&) override {}
};

struct SCompiledScript {
    std::mutex mutex;
    QString text;
    QString fileName;
    std::shared_ptr<const vbs::Program> program;
};

// Every profile model (each open document, each admission check) starts the same rule script;
// it is compiled once per text and shared, since an engine only reads its program. Null when the
// text does not compile: the engine then compiles it itself and reports the errors.
std::shared_ptr<const vbs::Program> CompiledScript(const QString& text, const QString& fileName) {
    // Reachable until exit on purpose, like the compiled schema.
    static SCompiledScript* const compiled = new SCompiledScript;
    const std::lock_guard lock(compiled->mutex);
    if (!compiled->program || compiled->text != text || compiled->fileName != fileName) {
        vbs::SParseResult parsed = vbs::Parse(text, fileName);
        if (!parsed.program) {
            return nullptr;
        }
        compiled->text = text;
        compiled->fileName = fileName;
        compiled->program = std::move(parsed.program);
    }
    return compiled->program;
}

}  // namespace

CRuleScriptHost::CRuleScriptHost(IUserPrompt& prompt) : m_prompt(prompt) {}

CRuleScriptHost::~CRuleScriptHost() {
    if (m_engine) {
        m_engine->SetScriptState(vbs::ScriptState::Closed);
    }
}

bool CRuleScriptHost::CheckScriptEngine(IUserPrompt& prompt) {
    CSilentSite site;
    std::unique_ptr<vbs::CScriptEngine> engine = vbs::CScriptEngine::Create(kLanguage);
    if (!engine || !engine->SetScriptSite(&site) || !engine->InitNew()) {
        prompt.Ask(kMsgNoScriptEngine,
                   CStringTable::Instance().FormatWithAppName(kMsgNoScriptEngine),
                   PromptStyle::Error);
        return false;
    }
    return true;
}

void CRuleScriptHost::FailStart(const QString& detail) {
    throw CVeskCPSException(model_msg::kFatalError101,
                            QStringLiteral("CRadioDataModel::Initialize"), detail);
}

void CRuleScriptHost::FailCall(const QString& operation, const QString& detail) {
    throw CVeskCPSException(model_msg::kUnknownError, operation, detail);
}

void CRuleScriptHost::Start(const QString& scriptText, const QString& fileName) {
    m_engine = vbs::CScriptEngine::Create(kLanguage);
    if (!m_engine) {
        FailStart(QStringLiteral("CoCreateInstance('VBScript') failed"));
    }
    if (!m_engine->SetScriptSite(this)) {
        FailStart(QStringLiteral("call SetScriptSite failed"));
    }
    if (!m_engine->InitNew()) {
        FailStart(QStringLiteral("InitNew failed"));
    }
    const std::shared_ptr<const vbs::Program> program = CompiledScript(scriptText, fileName);
    if (!(program ? m_engine->AddScript(program, fileName)
                  : m_engine->ParseScriptText(scriptText, fileName, 1))) {
        ShowErrors();
        FailStart(QStringLiteral("ParseScriptText failed"));
    }
    if (!m_engine->SetScriptState(vbs::ScriptState::Started)) {
        ShowErrors();
        FailStart(QStringLiteral("SetScriptState failed"));
    }
    m_dispatch = m_engine->GetScriptDispatch();
    if (!m_dispatch) {
        FailStart(QStringLiteral("GetScriptDispatch failed"));
    }
}

void CRuleScriptHost::SetDocument(std::shared_ptr<vbs::CDomDocument> document) {
    m_document = std::move(document);
}

void CRuleScriptHost::SetLimits(const vbs::SRunLimits& limits) {
    if (m_engine) {
        m_engine->SetLimits(limits);
    }
}

void CRuleScriptHost::OnScriptError(const vbs::SScriptDiagnostic& error) {
    m_pendingErrors << QStringLiteral("IActiveScriptSite::OnScriptError()\nLine: %1\n%2")
                           .arg(error.line)
                           .arg(error.message);
}

void CRuleScriptHost::ShowErrors() {
    if (m_pendingErrors.isEmpty()) {
        return;
    }
    // Several compile errors make one message, not a row of boxes.
    const QString text = m_pendingErrors.join(QStringLiteral("\n\n"));
    m_pendingErrors.clear();
    m_prompt.Ask(0, text, PromptStyle::Error);
}

vbs::CVariant CRuleScriptHost::Node(_xmlNode* node) const {
    if (!node || !m_document) {
        return vbs::CVariant::Nothing();
    }
    return vbs::CVariant(m_document->NodeObject(node));
}

bool CRuleScriptHost::Invoke(const QString& handler, std::vector<vbs::SHostArg>& args,
                             vbs::CVariant* result) {
    if (!m_dispatch) {
        return false;
    }
    const std::optional<int> id = m_dispatch->GetIDsOfNames(handler);
    if (!id) {
        return false;
    }
    const bool ok = m_dispatch->Invoke(*id, args, result);
    ShowErrors();
    return ok;
}

namespace {

vbs::SHostArg Out() {
    return {vbs::CVariant::Long(0), true};
}

vbs::SHostArg In(vbs::CVariant value) {
    return {std::move(value), false};
}

// The script's answers, read as the host's types; nullopt when they are not numbers.
std::optional<qint32> AsInt(const vbs::CVariant& value) {
    try {
        return value.ToLong();
    } catch (const vbs::CScriptError&) {
        return std::nullopt;
    }
}

std::optional<bool> AsBool(const vbs::CVariant& value) {
    try {
        return value.ToBool();
    } catch (const vbs::CScriptError&) {
        return std::nullopt;
    }
}

}  // namespace

std::optional<CRuleScriptHost::SCodeAnswer> CRuleScriptHost::InvokeForCode(
    const QString& handler, std::vector<vbs::SHostArg>& args, std::size_t out1, std::size_t out2) {
    vbs::CVariant result;
    if (!Invoke(handler, args, &result)) {
        return std::nullopt;
    }
    const std::optional<qint32> code = AsInt(result);
    const std::optional<qint32> first = AsInt(args[out1].value);
    const std::optional<qint32> second = AsInt(args[out2].value);
    if (!code || !first || !second) {
        return std::nullopt;
    }
    return SCodeAnswer{*code, *first, *second};
}

std::optional<bool> CRuleScriptHost::InvokeForBool(const QString& handler,
                                                   std::vector<vbs::SHostArg>& args) {
    vbs::CVariant result;
    if (!Invoke(handler, args, &result)) {
        return std::nullopt;
    }
    return AsBool(result);
}

qint32 CRuleScriptHost::SetVal(const QString& handler, _xmlNode* element, _xmlNode* attribute,
                               const vbs::CVariant& value, qint32& out1, qint32 integer,
                               qint32& out2) {
    std::vector<vbs::SHostArg> args{In(Node(element)),
                                    In(Node(attribute)),
                                    In(value),
                                    Out(),
                                    In(vbs::CVariant::Long(integer)),
                                    Out()};
    const std::optional<SCodeAnswer> answer = InvokeForCode(handler, args, 3, 5);
    if (!answer) {
        QString shown;
        try {
            shown = value.IsNull() ? QStringLiteral("Null") : value.ToString();
        } catch (const vbs::CScriptError&) {
            shown = value.TypeName();
        }
        // The failure's text reaches message boxes and the command line's output; a password
        // is named by its length only.
        if (NodeName(attribute) == QLatin1String("password") && !value.IsNull()) {
            shown = QStringLiteral("<%1 characters>").arg(shown.size());
        }
        FailCall(QStringLiteral("CDataItem::SetAttributeValue"),
                 kInvokeFailed + QStringLiteral("SetAttributeValue,Node=%1 Attribute=%2 Value=%3")
                                     .arg(NodeName(element), NodeName(attribute), shown));
    }
    out1 = answer->out1;
    out2 = answer->out2;
    return answer->code;
}

bool CRuleScriptHost::CanAddChild(const QString& handler, _xmlNode* element) {
    std::vector<vbs::SHostArg> args{In(Node(element))};
    const std::optional<bool> answer = InvokeForBool(handler, args);
    if (!answer) {
        FailCall(QStringLiteral("CDataItem::CanAddChild"),
                 kInvokeFailed + QStringLiteral("CanAddChild,Node=") + NodeName(element));
    }
    return *answer;
}

_xmlNode* CRuleScriptHost::OnAddNew(const QString& handler, _xmlNode* element) {
    std::vector<vbs::SHostArg> args{In(Node(element))};
    vbs::CVariant result;
    if (!Invoke(handler, args, &result)) {
        FailCall(QStringLiteral("CDataItem::AddNewChild"),
                 kInvokeFailed + QStringLiteral("OnAddNew,Node=") + NodeName(element));
    }
    _xmlNode* child = vbs::NodeOf(result);
    return child && child->type == XML_ELEMENT_NODE ? child : nullptr;
}

qint32 CRuleScriptHost::OnDelete(const QString& handler, _xmlNode* child, qint32 index,
                                 qint32& out1, qint32 integer, qint32& out2) {
    std::vector<vbs::SHostArg> args{In(Node(child)), In(vbs::CVariant::Long(index)), Out(),
                                    In(vbs::CVariant::Long(integer)), Out()};
    const std::optional<SCodeAnswer> answer = InvokeForCode(handler, args, 2, 4);
    if (!answer) {
        FailCall(QStringLiteral("CDataItem::RemoveChildByIndex"),
                 kInvokeFailed + QStringLiteral("OnDelete,Node=") + NodeName(child));
    }
    out1 = answer->out1;
    out2 = answer->out2;
    return answer->code;
}

bool CRuleScriptHost::CanDeleteChild(const QString& handler, _xmlNode* element) {
    std::vector<vbs::SHostArg> args{In(Node(element))};
    const std::optional<bool> answer = InvokeForBool(handler, args);
    if (!answer) {
        FailCall(QStringLiteral("CDataItem::CanDeleteChild"),
                 kInvokeFailed + QStringLiteral("CanDeleteChild,Node=") + NodeName(element));
    }
    return *answer;
}

bool CRuleScriptHost::CanDeleteFrequency(const QString& handler, _xmlNode* element, quint32 index) {
    std::vector<vbs::SHostArg> args{In(Node(element)),
                                    In(vbs::CVariant::Number(static_cast<qint64>(index)))};
    const std::optional<bool> answer = InvokeForBool(handler, args);
    if (!answer) {
        FailCall(QStringLiteral("CDataItem::CanDeleteFrequency"),
                 kInvokeFailed + QStringLiteral("CanDeleteChild,Node=") + NodeName(element));
    }
    return *answer;
}

qint32 CRuleScriptHost::OnAddNewFrequency(const QString& handler, _xmlNode* element,
                                          const std::array<quint32, 4>& values, qint32& out1,
                                          qint32& out2) {
    std::vector<vbs::SHostArg> args{In(Node(element))};
    for (const quint32 v : values) {
        args.push_back(In(vbs::CVariant::Number(static_cast<qint64>(v))));
    }
    args.push_back(Out());
    args.push_back(Out());
    const std::optional<SCodeAnswer> answer = InvokeForCode(handler, args, 5, 6);
    if (!answer) {
        FailCall(QStringLiteral("CDataItem::AddFrequency"), QStringLiteral("Error: AddFrequency"));
    }
    out1 = answer->out1;
    out2 = answer->out2;
    return answer->code;
}

qint32 CRuleScriptHost::SetFreqAttr(const QString& handler, _xmlNode* element,
                                    const std::array<vbs::CVariant, 5>& values, qint32& out1,
                                    qint32& out2, qint32 integer) {
    std::vector<vbs::SHostArg> args{In(Node(element))};
    for (const vbs::CVariant& v : values) {
        args.push_back(In(v));
    }
    args.push_back(Out());
    args.push_back(Out());
    args.push_back(In(vbs::CVariant::Long(integer)));
    const std::optional<SCodeAnswer> answer = InvokeForCode(handler, args, 6, 7);
    if (!answer) {
        FailCall(QStringLiteral("CDataItem::SetFreqAttributeValue"),
                 kInvokeFailed + QStringLiteral("SetFreqAttributeValue,Node=") + NodeName(element));
    }
    out1 = answer->out1;
    out2 = answer->out2;
    return answer->code;
}
