#pragma once

// The engine as a host drives it: create it for a language, give it a site, add the script text,
// start it, and call its procedures by name through the global dispatch. Errors go to the site
// with their place; calls report failure by their result.

#include <memory>
#include <optional>
#include <vector>

#include <QString>

#include "platform/script/errors.h"
#include "platform/script/interpreter.h"
#include "platform/script/object.h"

namespace vbs {

enum class ScriptState { Uninitialized, Initialized, Started, Closed };

// The host's side: receives errors and state notices, and supplies named items.
class IScriptSite {
public:
    virtual ~IScriptSite() = default;
    virtual void OnScriptError(const SScriptDiagnostic& error) = 0;
    // The object a named item stands for; null when the site has none.
    virtual ObjectPtr GetItemInfo(const QString& /*name*/) { return nullptr; }
    virtual void OnStateChange(ScriptState /*state*/) {}
    virtual void OnEnterScript() {}
    virtual void OnLeaveScript() {}
};

class CScriptEngine;

// The script's global namespace: its procedures, found by name and invoked.
class CScriptDispatch {
public:
    // The identifier of a procedure, matched without regard to case.
    std::optional<int> GetIDsOfNames(const QString& name) const;
    // Calls the procedure `id`; ByRef arguments receive the parameters' final values. False when
    // the call failed (a run-time error, reported to the site, or a wrong id or argument count).
    bool Invoke(int id, std::vector<SHostArg>& args, CVariant* result);

private:
    friend class CScriptEngine;
    explicit CScriptDispatch(CScriptEngine& engine) : m_engine(engine) {}
    CScriptEngine& m_engine;
};

class CScriptEngine {
public:
    // The engine for `language` ("VBScript", any case); null for any other language.
    static std::unique_ptr<CScriptEngine> Create(const QString& language);
    ~CScriptEngine();

    bool SetScriptSite(IScriptSite* site);
    // Ready for script text; needs a site.
    bool InitNew();
    // Makes a named item a global object of the script, resolved through the site at start.
    bool AddNamedItem(const QString& name);
    // Compiles one block of text. Every compile error goes to the site; false when there was one.
    bool ParseScriptText(const QString& text, const QString& fileName, int startLine = 1);
    // Adds one block compiled beforehand (vbs::Parse) as ParseScriptText adds what it compiled.
    // The engine only reads the program, so a host may give the same one to several engines.
    bool AddScript(std::shared_ptr<const Program> program, const QString& fileName);
    // Started runs the global statements of the blocks added so far; a run-time error goes to
    // the site and gives false. Closed ends the engine.
    bool SetScriptState(ScriptState state);
    ScriptState State() const { return m_state; }
    // The global dispatch; null before the engine is started.
    CScriptDispatch* GetScriptDispatch();

    void SetLimits(const SRunLimits& limits) { m_interpreter.SetLimits(limits); }
    CInterpreter& Interpreter() { return m_interpreter; }

private:
    friend class CScriptDispatch;
    CScriptEngine();
    void Report(const CScriptError& error);
    void ChangeState(ScriptState state);

    IScriptSite* m_site = nullptr;
    ScriptState m_state = ScriptState::Uninitialized;
    CInterpreter m_interpreter;
    std::vector<const ProcDecl*> m_procedures;  // index = dispatch id
    std::vector<QString> m_namedItems;
    QString m_currentFile;
    CScriptDispatch m_dispatch;
};

}  // namespace vbs
