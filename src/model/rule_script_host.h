#pragma once

// The profile's rule script, run by the model: started once per profile model and called by
// the data items through the handler names that the schema gives.

#include <array>
#include <memory>
#include <vector>

#include <QString>
#include <QStringList>

#include "platform/script/host.h"
#include "platform/script/value.h"

class IUserPrompt;
struct _xmlNode;

namespace vbs {
class CDomDocument;
}

class CRuleScriptHost : private vbs::IScriptSite {
public:
    // Message shown when the rule script engine is missing at start-up; takes the application
    // name.
    static constexpr int kMsgNoScriptEngine = 381;

    explicit CRuleScriptHost(IUserPrompt& prompt);
    ~CRuleScriptHost() override;
    CRuleScriptHost(const CRuleScriptHost&) = delete;
    CRuleScriptHost& operator=(const CRuleScriptHost&) = delete;

    // The start-up presence test: an engine for "VBScript" can be created, given a site and
    // initialised. Shows message 381 and answers false when not.
    static bool CheckScriptEngine(IUserPrompt& prompt);

    // Starts the engine with the whole rule script as one block. Throws CVeskCPSException 137
    // naming the step that failed; compile and run-time errors are shown to the user first.
    void Start(const QString& scriptText, const QString& fileName);
    bool IsStarted() const { return m_dispatch != nullptr; }

    // The document whose nodes the handlers receive and change.
    void SetDocument(std::shared_ptr<vbs::CDomDocument> document);
    const std::shared_ptr<vbs::CDomDocument>& Document() const { return m_document; }

    // The calls, one per handler key; each throws CVeskCPSException 131 when the call fails.
    // Out parameters are the script's ByRef integers, 0 on entry.
    qint32 SetVal(const QString& handler, _xmlNode* element, _xmlNode* attribute,
                  const vbs::CVariant& value, qint32& out1, qint32 integer, qint32& out2);
    bool CanAddChild(const QString& handler, _xmlNode* element);
    // The new child element the script made, or null when it answered anything else.
    _xmlNode* OnAddNew(const QString& handler, _xmlNode* element);
    qint32 OnDelete(const QString& handler, _xmlNode* child, qint32 index, qint32& out1,
                    qint32 integer, qint32& out2);
    bool CanDeleteChild(const QString& handler, _xmlNode* element);
    bool CanDeleteFrequency(const QString& handler, _xmlNode* element, quint32 index);
    qint32 OnAddNewFrequency(const QString& handler, _xmlNode* element,
                             const std::array<quint32, 4>& values, qint32& out1, qint32& out2);
    qint32 SetFreqAttr(const QString& handler, _xmlNode* element,
                       const std::array<vbs::CVariant, 5>& values, qint32& out1, qint32& out2,
                       qint32 integer);

    // For tests and hosts that need other limits (the defaults stop a runaway handler).
    void SetLimits(const vbs::SRunLimits& limits);

private:
    struct SCodeAnswer {
        qint32 code;
        qint32 out1;
        qint32 out2;
    };

    // IScriptSite
    void OnScriptError(const vbs::SScriptDiagnostic& error) override;

    // Invokes `handler`; false when it does not exist or failed (errors already shown).
    bool Invoke(const QString& handler, std::vector<vbs::SHostArg>& args, vbs::CVariant* result);
    // An integer answer with the two ByRef integers at `out1` and `out2`; nullopt when the call
    // failed or answered something that is no number.
    std::optional<SCodeAnswer> InvokeForCode(const QString& handler,
                                             std::vector<vbs::SHostArg>& args, std::size_t out1,
                                             std::size_t out2);
    std::optional<bool> InvokeForBool(const QString& handler, std::vector<vbs::SHostArg>& args);
    vbs::CVariant Node(_xmlNode* node) const;
    void ShowErrors();
    [[noreturn]] static void FailStart(const QString& detail);
    [[noreturn]] static void FailCall(const QString& operation, const QString& detail);

    IUserPrompt& m_prompt;
    std::unique_ptr<vbs::CScriptEngine> m_engine;
    vbs::CScriptDispatch* m_dispatch = nullptr;
    std::shared_ptr<vbs::CDomDocument> m_document;
    QStringList m_pendingErrors;
};
