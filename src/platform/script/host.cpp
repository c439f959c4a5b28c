#include "platform/script/host.h"

#include "platform/script/parser.h"

namespace vbs {

namespace {

// A failure that is no script error is a fault of the engine or of a host object; the host still
// gets a report instead of an exception it does not expect.
CScriptError InternalError(const std::exception& error) {
    return CScriptError(err::kInternalError, ErrorDescription(err::kInternalError) +
                                                 QStringLiteral(": ") +
                                                 QString::fromUtf8(error.what()));
}

}  // namespace

std::unique_ptr<CScriptEngine> CScriptEngine::Create(const QString& language) {
    if (language.compare(QLatin1String("VBScript"), Qt::CaseInsensitive) != 0) {
        return nullptr;
    }
    return std::unique_ptr<CScriptEngine>(new CScriptEngine());
}

CScriptEngine::CScriptEngine() : m_dispatch(*this) {}

CScriptEngine::~CScriptEngine() = default;

void CScriptEngine::ChangeState(ScriptState state) {
    m_state = state;
    if (m_site) {
        m_site->OnStateChange(state);
    }
}

bool CScriptEngine::SetScriptSite(IScriptSite* site) {
    if (!site || m_site) {
        return false;
    }
    m_site = site;
    return true;
}

bool CScriptEngine::InitNew() {
    if (!m_site || m_state != ScriptState::Uninitialized) {
        return false;
    }
    ChangeState(ScriptState::Initialized);
    return true;
}

bool CScriptEngine::AddNamedItem(const QString& name) {
    if (m_state == ScriptState::Uninitialized || m_state == ScriptState::Closed || name.isEmpty()) {
        return false;
    }
    m_namedItems.push_back(name);
    return true;
}

bool CScriptEngine::ParseScriptText(const QString& text, const QString& fileName, int startLine) {
    if (m_state != ScriptState::Initialized && m_state != ScriptState::Started) {
        return false;
    }
    SParseResult parsed = Parse(text, fileName, startLine);
    if (!parsed.program) {
        for (const SScriptDiagnostic& error : parsed.errors) {
            m_site->OnScriptError(error);
        }
        return false;
    }
    return AddScript(std::move(parsed.program), fileName);
}

bool CScriptEngine::AddScript(std::shared_ptr<const Program> program, const QString& fileName) {
    if ((m_state != ScriptState::Initialized && m_state != ScriptState::Started) || !program) {
        return false;
    }
    for (const ProcDecl& procedure : program->procedures) {
        m_procedures.push_back(&procedure);
    }
    m_currentFile = fileName;
    m_interpreter.AddProgram(std::move(program));
    if (m_state == ScriptState::Started) {
        return SetScriptState(ScriptState::Started);
    }
    return true;
}

bool CScriptEngine::SetScriptState(ScriptState state) {
    if (state == ScriptState::Closed) {
        ChangeState(ScriptState::Closed);
        return true;
    }
    if (state != ScriptState::Started ||
        (m_state != ScriptState::Initialized && m_state != ScriptState::Started)) {
        return false;
    }
    if (m_state == ScriptState::Initialized) {
        for (const QString& name : m_namedItems) {
            if (ObjectPtr item = m_site->GetItemInfo(name)) {
                m_interpreter.AddGlobalObject(name, std::move(item));
            }
        }
        ChangeState(ScriptState::Started);
    }
    m_site->OnEnterScript();
    bool ok = true;
    try {
        m_interpreter.RunPending();
    } catch (const CScriptError& error) {
        Report(error);
        ok = false;
    } catch (const std::exception& error) {
        Report(InternalError(error));
        ok = false;
    }
    m_site->OnLeaveScript();
    return ok;
}

CScriptDispatch* CScriptEngine::GetScriptDispatch() {
    return m_state == ScriptState::Started ? &m_dispatch : nullptr;
}

void CScriptEngine::Report(const CScriptError& error) {
    SScriptDiagnostic diagnostic;
    diagnostic.file = m_currentFile;
    diagnostic.line = error.Line();
    diagnostic.column = error.Column();
    diagnostic.number = error.Number();
    diagnostic.message = error.Description();
    m_site->OnScriptError(diagnostic);
}

std::optional<int> CScriptDispatch::GetIDsOfNames(const QString& name) const {
    const ProcDecl* procedure = m_engine.m_interpreter.FindProcedure(name);
    if (!procedure) {
        return std::nullopt;
    }
    const std::vector<const ProcDecl*>& all = m_engine.m_procedures;
    for (std::size_t i = 0; i < all.size(); ++i) {
        if (all[i] == procedure) {
            return static_cast<int>(i);
        }
    }
    return std::nullopt;
}

bool CScriptDispatch::Invoke(int id, std::vector<SHostArg>& args, CVariant* result) {
    if (m_engine.m_state != ScriptState::Started || id < 0 ||
        static_cast<std::size_t>(id) >= m_engine.m_procedures.size()) {
        return false;
    }
    IScriptSite& site = *m_engine.m_site;
    site.OnEnterScript();
    bool ok = true;
    try {
        CVariant value = m_engine.m_interpreter.CallProcedure(*m_engine.m_procedures[id], args);
        if (result) {
            *result = std::move(value);
        }
    } catch (const CScriptError& error) {
        m_engine.Report(error);
        ok = false;
    } catch (const std::exception& error) {
        m_engine.Report(InternalError(error));
        ok = false;
    }
    site.OnLeaveScript();
    return ok;
}

}  // namespace vbs
