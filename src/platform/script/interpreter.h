#pragma once

#include <memory>
#include <optional>
#include <vector>

#include <QHash>
#include <QString>
#include <QStringList>

#include "platform/script/ast.h"
#include "platform/script/errors.h"
#include "platform/script/value.h"

namespace vbs {

class CErrObject;

// Limits that keep a script from freezing or crashing the program that runs it.
struct SRunLimits {
    // Statements and loop rounds one top-level run or call may take.
    std::int64_t maxSteps = 20'000'000;
    // Nested procedure calls; the interpreter walks the tree recursively, so this also bounds
    // the native stack.
    int maxCallDepth = 200;
};

// One argument of a call from the host. A ByRef argument is written back when the call returns.
struct SHostArg {
    CVariant value;
    bool byRef = false;
};

// Runs programs: their global statements once, their procedures whenever the host calls them.
// Not thread-safe: one interpreter belongs to one thread at a time.
class CInterpreter {
public:
    CInterpreter();
    ~CInterpreter();
    CInterpreter(const CInterpreter&) = delete;
    CInterpreter& operator=(const CInterpreter&) = delete;

    void SetLimits(const SRunLimits& limits) { m_limits = limits; }

    // A global object the script reaches by name (a host's named item).
    void AddGlobalObject(const QString& name, ObjectPtr object);

    // Adds a program: its procedures become callable at once (a later program's procedure of
    // the same name replaces the earlier one), its global statements wait for RunPending(). The
    // interpreter only reads the program, so one program may serve several interpreters.
    void AddProgram(std::shared_ptr<const Program> program);
    // Runs the global statements of every program added since the last run. Throws CScriptError
    // with its place set.
    void RunPending();

    // The procedure of that name, any case.
    const ProcDecl* FindProcedure(const QString& name) const;
    // Calls a procedure with the host's arguments; ByRef ones receive the final values of the
    // parameters. Throws CScriptError with its place set.
    CVariant CallProcedure(const ProcDecl& procedure, std::vector<SHostArg>& args);

    // The value of a global variable, for hosts and tests.
    std::optional<CVariant> GlobalValue(const QString& name) const;

private:
    struct SFrame;
    struct SVariable;
    enum class Flow { Normal, ExitFor, ExitDo, ExitProcedure };
    using Cell = std::shared_ptr<SVariable>;
    struct SProcedure {
        const ProcDecl* decl = nullptr;
        bool optionExplicit = false;
    };

    Flow ExecBlock(const Block& block);
    Flow ExecStatement(const Stmt& stmt);
    // One round of a loop's body: nullopt to go on, else how the loop ends.
    std::optional<Flow> LoopRound(const Block& body, Flow ownExit);
    // One per statement kind; `pos` is where the statement starts.
    Flow Exec(const DimStmt& stmt, const SPos& pos);
    Flow Exec(const ReDimStmt& stmt, const SPos& pos);
    Flow Exec(const ConstStmt& stmt, const SPos& pos);
    Flow Exec(const AssignStmt& stmt, const SPos& pos);
    Flow Exec(const CallStmt& stmt, const SPos& pos);
    Flow Exec(const IfStmt& stmt, const SPos& pos);
    Flow Exec(const SelectStmt& stmt, const SPos& pos);
    Flow Exec(const ForStmt& stmt, const SPos& pos);
    Flow Exec(const ForEachStmt& stmt, const SPos& pos);
    Flow Exec(const DoStmt& stmt, const SPos& pos);
    Flow Exec(const ExitStmt& stmt, const SPos& pos);
    Flow Exec(const OnErrorStmt& stmt, const SPos& pos);

    CVariant Eval(const Expr& expr);
    CVariant EvalName(const NameExpr& name);
    CVariant EvalMember(const MemberExpr& member);
    CVariant EvalCall(const CallExpr& call);
    CVariant EvalBinary(const BinaryExpr& binary);
    bool EvalCondition(const Expr& expr);
    ObjectPtr EvalObject(const Expr& expr);
    std::vector<CVariant> EvalArgs(const std::vector<ExprPtr>& args);
    std::vector<std::int32_t> EvalIndexes(const std::vector<ExprPtr>& args);

    // A call of a name with arguments: a user procedure, an array element, an object's default
    // member or a built-in function.
    CVariant CallName(const QString& name, const std::vector<ExprPtr>& args, const SPos& pos,
                      bool asStatement);
    CVariant InvokeProcedure(const SProcedure& procedure, const std::vector<ExprPtr>& args);
    CVariant RunProcedure(const SProcedure& procedure, std::vector<Cell> params);

    // Variables.
    Cell Lookup(const QString& key) const;
    Cell Declare(const QString& key, const SPos& pos, bool isConst = false);
    Cell LookupForWrite(const QString& name, const SPos& pos);
    void Assign(SVariable& variable, CVariant value, bool isSet, const QString& name);
    CVariant LetValue(const CVariant& value);

    void Step();
    void ResetBudgetAtTopLevel();
    const QStringList& HoistedNames(const Block& body);
    static QString Key(const QString& name) { return name.toLower(); }

    SRunLimits m_limits;
    std::vector<std::shared_ptr<const Program>> m_programs;
    std::size_t m_pendingPrograms = 0;
    QHash<QString, SProcedure> m_procedures;
    QHash<const Block*, QStringList> m_hoisted;
    QHash<QString, Cell> m_globals;
    SFrame* m_frame = nullptr;  // innermost running procedure or the global code
    int m_depth = 0;
    std::int64_t m_steps = 0;
    std::shared_ptr<CErrObject> m_err;
};

}  // namespace vbs
