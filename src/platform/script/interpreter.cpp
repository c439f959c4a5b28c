#include "platform/script/interpreter.h"

#include <cmath>
#include <new>

#include "platform/script/builtins.h"

namespace vbs {

namespace {

template <class... Ts>
struct Overloaded : Ts... {
    using Ts::operator()...;
};
// clang 14 does not deduce aggregate template arguments yet.
template <class... Ts>
Overloaded(Ts...) -> Overloaded<Ts...>;

CScriptError ErrorNaming(int number, const QString& name) {
    return CScriptError(number, ErrorDescription(number) + QStringLiteral(": '") + name + u'\'');
}

const QString kRuntimeSource = QStringLiteral("VBScript runtime error");

// Built-ins that look at an object itself rather than at the value it stands for.
bool BuiltinTakesObjects(const QString& name) {
    static const QStringList names = {QStringLiteral("isobject"), QStringLiteral("typename"),
                                      QStringLiteral("vartype"),  QStringLiteral("isarray"),
                                      QStringLiteral("isempty"),  QStringLiteral("isnull")};
    return names.contains(name.toLower());
}

}  // namespace

// The Err object: the last error that "On Error Resume Next" let pass, and Err.Raise.
class CErrObject : public IScriptObject {
public:
    void Set(const CScriptError& error) {
        m_number = error.Number();
        m_description = error.Description();
        m_source = error.Source().isEmpty() ? kRuntimeSource : error.Source();
    }
    void Clear() {
        m_number = 0;
        m_description.clear();
        m_source.clear();
    }

    QString TypeName() const override { return QStringLiteral("ErrObject"); }

    CVariant Invoke(const QString& name, std::span<const CVariant> args, InvokeKind kind) override {
        const QString member = name.toLower();
        const bool assign = kind == InvokeKind::Let;
        if (member.isEmpty() || member == u"number") {
            if (assign) {
                RequireArgs(args, 1);
                m_number = args[0].ToLong();
                return {};
            }
            RequireArgs(args, 0);
            return CVariant::Long(m_number);
        }
        if (member == u"description" || member == u"source") {
            QString& field = member == u"source" ? m_source : m_description;
            if (assign) {
                RequireArgs(args, 1);
                field = args[0].ToString();
                return {};
            }
            RequireArgs(args, 0);
            return CVariant(field);
        }
        if (member == u"clear" && !assign) {
            RequireArgs(args, 0);
            Clear();
            return {};
        }
        if (member == u"raise" && !assign) {
            if (args.empty() || args.size() > 3) {
                throw CScriptError(err::kWrongArgCount);
            }
            const int number = DefaultValue(args[0]).ToLong();
            if (number == 0) {
                throw CScriptError(err::kInvalidCall);
            }
            const QString source =
                args.size() > 1 && !args[1].IsEmpty() ? args[1].ToString() : QString();
            QString description = args.size() > 2 ? args[2].ToString() : QString();
            if (description.isEmpty()) {
                description = ErrorDescription(number);
            }
            if (description.isEmpty()) {
                description = QStringLiteral("Unknown runtime error");
            }
            throw CScriptError(number, description, source);
        }
        throw ErrorNaming(err::kNoSuchMember, name);
    }

private:
    static void RequireArgs(std::span<const CVariant> args, std::size_t count) {
        if (args.size() != count) {
            throw CScriptError(err::kWrongArgCount);
        }
    }

    int m_number = 0;
    QString m_description;
    QString m_source;
};

struct CInterpreter::SVariable {
    CVariant value;
    bool isConst = false;
    bool fixedArray = false;  // Dim a(3): its size cannot change
    int locks = 0;            // an element is out as a ByRef argument: the array must stay
};

struct CInterpreter::SFrame {
    QHash<QString, Cell> locals;
    bool isGlobal = true;
    bool resumeNext = false;
    bool optionExplicit = false;
};

CInterpreter::CInterpreter() : m_err(std::make_shared<CErrObject>()) {
    AddGlobalObject(QStringLiteral("Err"), m_err);
}

CInterpreter::~CInterpreter() = default;

void CInterpreter::AddGlobalObject(const QString& name, ObjectPtr object) {
    auto cell = std::make_shared<SVariable>();
    cell->value = CVariant(std::move(object));
    cell->isConst = true;
    m_globals.insert(Key(name), std::move(cell));
}

void CInterpreter::AddProgram(std::shared_ptr<const Program> program) {
    for (const ProcDecl& procedure : program->procedures) {
        m_procedures.insert(Key(procedure.name), SProcedure{&procedure, program->optionExplicit});
    }
    m_programs.push_back(std::move(program));
}

const ProcDecl* CInterpreter::FindProcedure(const QString& name) const {
    const auto it = m_procedures.constFind(Key(name));
    return it == m_procedures.cend() ? nullptr : it->decl;
}

std::optional<CVariant> CInterpreter::GlobalValue(const QString& name) const {
    const auto it = m_globals.constFind(Key(name));
    if (it == m_globals.cend()) {
        return std::nullopt;
    }
    return (*it)->value;
}

void CInterpreter::ResetBudgetAtTopLevel() {
    if (m_depth == 0) {
        m_steps = 0;
    }
}

void CInterpreter::Step() {
    if (++m_steps > m_limits.maxSteps) {
        throw CScriptError(err::kStepBudgetExceeded);
    }
}

void CInterpreter::RunPending() {
    ResetBudgetAtTopLevel();
    while (m_pendingPrograms < m_programs.size()) {
        const Program& program = *m_programs[m_pendingPrograms++];
        SFrame frame;
        frame.optionExplicit = program.optionExplicit;
        SFrame* saved = m_frame;
        m_frame = &frame;
        try {
            for (const QString& name : HoistedNames(program.body)) {
                if (!m_globals.contains(name)) {
                    m_globals.insert(name, std::make_shared<SVariable>());
                }
            }
            ExecBlock(program.body);
        } catch (const std::bad_alloc&) {
            m_frame = saved;
            throw CScriptError(err::kOutOfMemory);
        } catch (...) {
            m_frame = saved;
            throw;
        }
        m_frame = saved;
    }
}

CVariant CInterpreter::CallProcedure(const ProcDecl& procedure, std::vector<SHostArg>& args) {
    const auto it = m_procedures.constFind(Key(procedure.name));
    if (it == m_procedures.cend() || it->decl != &procedure) {
        throw ErrorNaming(err::kTypeMismatch, procedure.name);
    }
    if (args.size() != procedure.params.size()) {
        throw ErrorNaming(err::kWrongArgCount, procedure.name);
    }
    ResetBudgetAtTopLevel();
    std::vector<Cell> cells;
    cells.reserve(args.size());
    for (const SHostArg& arg : args) {
        auto cell = std::make_shared<SVariable>();
        cell->value = arg.value.Copy();
        cells.push_back(std::move(cell));
    }
    const std::vector<Cell> kept = cells;
    CVariant result;
    try {
        result = RunProcedure(*it, std::move(cells));
    } catch (const std::bad_alloc&) {
        throw CScriptError(err::kOutOfMemory);
    }
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i].byRef && !procedure.params[i].byVal) {
            args[i].value = kept[i]->value;
        }
    }
    return result;
}

// --- statements -------------------------------------------------------------------------------

CInterpreter::Flow CInterpreter::ExecBlock(const Block& block) {
    for (const StmtPtr& stmt : block) {
        Flow flow = Flow::Normal;
        try {
            Step();
            flow = ExecStatement(*stmt);
        } catch (CScriptError& error) {
            error.SetPlaceIfUnset(stmt->pos.line, stmt->pos.column);
            if (error.IsFatal() || !m_frame->resumeNext) {
                throw;
            }
            m_err->Set(error);
            continue;
        }
        if (flow != Flow::Normal) {
            return flow;
        }
    }
    return Flow::Normal;
}

std::optional<CInterpreter::Flow> CInterpreter::LoopRound(const Block& body, Flow ownExit) {
    Step();
    const Flow flow = ExecBlock(body);
    if (flow == Flow::Normal) {
        return std::nullopt;
    }
    // The loop's own Exit ends just this loop; any other leaves it and goes on outward.
    return flow == ownExit ? Flow::Normal : flow;
}

CInterpreter::Flow CInterpreter::ExecStatement(const Stmt& stmt) {
    return std::visit([&](const auto& node) { return Exec(node, stmt.pos); }, stmt.node);
}

CInterpreter::Flow CInterpreter::Exec(const ExitStmt& stmt, const SPos& /*pos*/) {
    switch (stmt.what) {
        case ExitStmt::What::For:
            return Flow::ExitFor;
        case ExitStmt::What::Do:
            return Flow::ExitDo;
        case ExitStmt::What::Sub:
        case ExitStmt::What::Function:
            break;
    }
    m_err->Clear();
    return Flow::ExitProcedure;
}

CInterpreter::Flow CInterpreter::Exec(const OnErrorStmt& stmt, const SPos& /*pos*/) {
    m_frame->resumeNext = stmt.resumeNext;
    m_err->Clear();
    return Flow::Normal;
}

CInterpreter::Flow CInterpreter::Exec(const IfStmt& stmt, const SPos& /*pos*/) {
    for (const IfStmt::Branch& branch : stmt.branches) {
        if (EvalCondition(*branch.condition)) {
            return ExecBlock(branch.body);
        }
    }
    return stmt.hasElse ? ExecBlock(stmt.elseBody) : Flow::Normal;
}

CInterpreter::Flow CInterpreter::Exec(const SelectStmt& stmt, const SPos& /*pos*/) {
    const CVariant subject = DefaultValue(Eval(*stmt.subject));
    for (const SelectStmt::Case& c : stmt.cases) {
        for (const ExprPtr& value : c.values) {
            const CVariant same =
                ops::Compare(ops::Comparison::Equal, subject, DefaultValue(Eval(*value)));
            if (same.IsBool() && same.AsBool()) {
                return ExecBlock(c.body);
            }
        }
    }
    return stmt.hasElse ? ExecBlock(stmt.elseBody) : Flow::Normal;
}

CInterpreter::Flow CInterpreter::Exec(const ForStmt& stmt, const SPos& pos) {
    const Cell counter = LookupForWrite(stmt.variable, pos);
    const CVariant from = DefaultValue(Eval(*stmt.from)).ToNumeric();
    const CVariant to = DefaultValue(Eval(*stmt.to)).ToNumeric();
    const CVariant step =
        stmt.step ? DefaultValue(Eval(*stmt.step)).ToNumeric() : CVariant::Integer(1);
    const bool down = step.ToDouble() < 0;
    Assign(*counter, from, false, stmt.variable);
    for (;;) {
        const std::optional<int> order = ops::CompareValues(counter->value.ToNumeric(), to);
        if (!order || (down ? *order < 0 : *order > 0)) {
            break;
        }
        if (const std::optional<Flow> end = LoopRound(stmt.body, Flow::ExitFor)) {
            return *end;
        }
        Assign(*counter, ops::Add(counter->value, step), false, stmt.variable);
    }
    return Flow::Normal;
}

CInterpreter::Flow CInterpreter::Exec(const ForEachStmt& stmt, const SPos& pos) {
    const Cell element = LookupForWrite(stmt.variable, pos);
    const CVariant collection = Eval(*stmt.collection);
    std::vector<CVariant> items;
    if (collection.IsArray()) {
        items = collection.AsArray()->Items();  // a copy: the body may change the array
    } else if (collection.IsObject() && collection.AsObject()) {
        std::optional<std::vector<CVariant>> members = collection.AsObject()->Items();
        if (!members) {
            throw CScriptError(err::kNotACollection);
        }
        items = std::move(*members);
    } else {
        throw CScriptError(collection.IsNothing() ? err::kObjectRequired : err::kNotACollection);
    }
    for (CVariant& item : items) {
        if (element->isConst) {
            throw ErrorNaming(err::kIllegalAssignment, stmt.variable);
        }
        element->value = std::move(item);
        if (const std::optional<Flow> end = LoopRound(stmt.body, Flow::ExitFor)) {
            return *end;
        }
    }
    return Flow::Normal;
}

CInterpreter::Flow CInterpreter::Exec(const DoStmt& stmt, const SPos& /*pos*/) {
    using Kind = DoStmt::Kind;
    for (;;) {
        if (stmt.kind == Kind::PreWhile && !EvalCondition(*stmt.condition)) {
            break;
        }
        if (stmt.kind == Kind::PreUntil && EvalCondition(*stmt.condition)) {
            break;
        }
        if (const std::optional<Flow> end = LoopRound(stmt.body, Flow::ExitDo)) {
            return *end;
        }
        if (stmt.kind == Kind::PostWhile && !EvalCondition(*stmt.condition)) {
            break;
        }
        if (stmt.kind == Kind::PostUntil && EvalCondition(*stmt.condition)) {
            break;
        }
    }
    return Flow::Normal;
}

CInterpreter::Flow CInterpreter::Exec(const DimStmt& stmt, const SPos& /*pos*/) {
    for (const DimStmt::Var& var : stmt.vars) {
        const QString key = Key(var.name);
        Cell cell = m_frame->isGlobal ? m_globals.value(key) : m_frame->locals.value(key);
        if (!cell) {
            cell = Declare(key, var.pos);
        }
        // Declarations take effect once per scope; a Dim met again (in a loop) changes nothing.
        if (!var.isArray || cell->value.IsArray()) {
            continue;
        }
        std::vector<std::int32_t> bounds = EvalIndexes(var.bounds);
        cell->value = CVariant(std::make_shared<CArray>(std::move(bounds)));
        cell->fixedArray = !var.bounds.empty();
    }
    return Flow::Normal;
}

CInterpreter::Flow CInterpreter::Exec(const ReDimStmt& stmt, const SPos& /*pos*/) {
    for (const ReDimStmt::Var& var : stmt.vars) {
        // ReDim declares a dynamic array where the name is new, also under Option Explicit.
        Cell cell = Lookup(Key(var.name));
        if (!cell) {
            cell = Declare(Key(var.name), var.pos);
        }
        if (cell->fixedArray || cell->locks > 0) {
            throw ErrorNaming(err::kArrayFixed, var.name);
        }
        std::vector<std::int32_t> bounds = EvalIndexes(var.bounds);
        if (stmt.preserve && cell->value.IsArray()) {
            cell->value.AsArray()->Resize(std::move(bounds), true);
        } else {
            cell->value = CVariant(std::make_shared<CArray>(std::move(bounds)));
        }
    }
    return Flow::Normal;
}

CInterpreter::Flow CInterpreter::Exec(const ConstStmt& stmt, const SPos& /*pos*/) {
    for (const ConstStmt::Item& item : stmt.items) {
        const QString key = Key(item.name);
        QHash<QString, Cell>& scope = m_frame->isGlobal ? m_globals : m_frame->locals;
        const Cell existing = scope.value(key);
        if (existing && existing->isConst) {
            continue;  // met again in a loop
        }
        CVariant value = LetValue(Eval(*item.value));
        Cell cell = existing ? existing : Declare(key, item.pos);
        cell->value = std::move(value);
        cell->isConst = true;
    }
    return Flow::Normal;
}

CInterpreter::Flow CInterpreter::Exec(const AssignStmt& stmt, const SPos& /*pos*/) {
    const Expr& target = *stmt.target;
    const InvokeKind kind = stmt.isSet ? InvokeKind::Set : InvokeKind::Let;
    if (const auto* name = std::get_if<NameExpr>(&target.node)) {
        CVariant value = Eval(*stmt.value);
        const Cell cell = LookupForWrite(name->name, target.pos);
        Assign(*cell, std::move(value), stmt.isSet, name->name);
        return Flow::Normal;
    }
    if (const auto* member = std::get_if<MemberExpr>(&target.node)) {
        const ObjectPtr object = EvalObject(*member->object);
        CVariant value = Eval(*stmt.value);
        if (!stmt.isSet) {
            value = LetValue(value);
        } else if (!value.IsObject()) {
            throw CScriptError(err::kObjectRequired);
        }
        object->Invoke(member->member, std::span<const CVariant>(&value, 1), kind);
        return Flow::Normal;
    }
    const auto* call = std::get_if<CallExpr>(&target.node);
    if (!call) {
        throw CScriptError(err::kIllegalAssignment);
    }
    if (const auto* arrayName = std::get_if<NameExpr>(&call->target->node)) {
        const Cell cell = Lookup(Key(arrayName->name));
        if (cell && cell->value.IsArray()) {
            const std::vector<std::int32_t> indexes = EvalIndexes(call->args);
            CVariant value = Eval(*stmt.value);
            if (stmt.isSet && !value.IsObject()) {
                throw CScriptError(err::kObjectRequired);
            }
            CVariant& slot = cell->value.AsArray()->At(indexes);
            slot = stmt.isSet ? std::move(value) : LetValue(value);
            return Flow::Normal;
        }
        if (!cell || !cell->value.IsObject()) {
            throw ErrorNaming(err::kTypeMismatch, arrayName->name);
        }
    }
    ObjectPtr object;
    QString memberName;
    if (const auto* member = std::get_if<MemberExpr>(&call->target->node)) {
        object = EvalObject(*member->object);
        memberName = member->member;
    } else {
        object = EvalObject(*call->target);
    }
    std::vector<CVariant> args = EvalArgs(call->args);
    CVariant value = Eval(*stmt.value);
    args.push_back(stmt.isSet ? std::move(value) : LetValue(value));
    object->Invoke(memberName, args, kind);
    return Flow::Normal;
}

CInterpreter::Flow CInterpreter::Exec(const CallStmt& stmt, const SPos& /*pos*/) {
    const Expr& target = *stmt.target;
    if (const auto* name = std::get_if<NameExpr>(&target.node)) {
        CallName(name->name, stmt.args, target.pos, true);
        return Flow::Normal;
    }
    if (const auto* member = std::get_if<MemberExpr>(&target.node)) {
        const ObjectPtr object = EvalObject(*member->object);
        const std::vector<CVariant> args = EvalArgs(stmt.args);
        object->Invoke(member->member, args, InvokeKind::Method);
        return Flow::Normal;
    }
    if (stmt.args.empty()) {
        Eval(target);
        return Flow::Normal;
    }
    const CVariant callee = Eval(target);
    if (!callee.IsObject() || !callee.AsObject()) {
        throw CScriptError(err::kObjectRequired);
    }
    callee.AsObject()->Invoke(QString(), EvalArgs(stmt.args), InvokeKind::Method);
    return Flow::Normal;
}

// --- expressions ------------------------------------------------------------------------------

CVariant CInterpreter::Eval(const Expr& expr) {
    return std::visit(Overloaded{
                          [&](const LiteralExpr& e) { return e.value; },
                          [&](const NameExpr& e) { return EvalName(e); },
                          [&](const MemberExpr& e) { return EvalMember(e); },
                          [&](const CallExpr& e) { return EvalCall(e); },
                          [&](const ParenExpr& e) { return Eval(*e.inner); },
                          [&](const UnaryExpr& e) {
                              CVariant operand = DefaultValue(Eval(*e.operand));
                              switch (e.op) {
                                  case UnaryOp::Negate:
                                      return ops::Negate(operand);
                                  case UnaryOp::Not:
                                      return ops::Not(operand);
                                  case UnaryOp::Plus:
                                      break;
                              }
                              return operand;
                          },
                          [&](const BinaryExpr& e) { return EvalBinary(e); },
                      },
                      expr.node);
}

CVariant CInterpreter::EvalBinary(const BinaryExpr& e) {
    if (e.op == BinaryOp::Is) {
        return CVariant(ops::Is(Eval(*e.left), Eval(*e.right)));
    }
    // Objects take part in arithmetic and comparisons through their default member.
    const CVariant left = DefaultValue(Eval(*e.left));
    const CVariant right = DefaultValue(Eval(*e.right));
    using C = ops::Comparison;
    switch (e.op) {
        case BinaryOp::Power:
            return ops::Power(left, right);
        case BinaryOp::Multiply:
            return ops::Multiply(left, right);
        case BinaryOp::Divide:
            return ops::Divide(left, right);
        case BinaryOp::IntDivide:
            return ops::IntDivide(left, right);
        case BinaryOp::Modulo:
            return ops::Modulo(left, right);
        case BinaryOp::Add:
            return ops::Add(left, right);
        case BinaryOp::Subtract:
            return ops::Subtract(left, right);
        case BinaryOp::Concat:
            return ops::Concat(left, right);
        case BinaryOp::Equal:
            return ops::Compare(C::Equal, left, right);
        case BinaryOp::NotEqual:
            return ops::Compare(C::NotEqual, left, right);
        case BinaryOp::Less:
            return ops::Compare(C::Less, left, right);
        case BinaryOp::Greater:
            return ops::Compare(C::Greater, left, right);
        case BinaryOp::LessEqual:
            return ops::Compare(C::LessEqual, left, right);
        case BinaryOp::GreaterEqual:
            return ops::Compare(C::GreaterEqual, left, right);
        case BinaryOp::Is:
            break;
        case BinaryOp::And:
            return ops::And(left, right);
        case BinaryOp::Or:
            return ops::Or(left, right);
        case BinaryOp::Xor:
            return ops::Xor(left, right);
        case BinaryOp::Eqv:
            return ops::Eqv(left, right);
        case BinaryOp::Imp:
            return ops::Imp(left, right);
    }
    throw CScriptError(err::kSyntaxError);
}

bool CInterpreter::EvalCondition(const Expr& expr) {
    const CVariant value = DefaultValue(Eval(expr));
    // A Null condition is not true; If and loops treat it as False.
    return !value.IsNull() && value.ToBool();
}

ObjectPtr CInterpreter::EvalObject(const Expr& expr) {
    CVariant value = Eval(expr);
    if (!value.IsObject() || !value.AsObject()) {
        if (const auto* name = std::get_if<NameExpr>(&expr.node)) {
            throw ErrorNaming(err::kObjectRequired, name->name);
        }
        throw CScriptError(err::kObjectRequired);
    }
    return value.AsObject();
}

std::vector<CVariant> CInterpreter::EvalArgs(const std::vector<ExprPtr>& args) {
    std::vector<CVariant> values;
    values.reserve(args.size());
    for (const ExprPtr& arg : args) {
        values.push_back(Eval(*arg));
    }
    return values;
}

std::vector<std::int32_t> CInterpreter::EvalIndexes(const std::vector<ExprPtr>& args) {
    std::vector<std::int32_t> indexes;
    indexes.reserve(args.size());
    for (const ExprPtr& arg : args) {
        indexes.push_back(LetValue(Eval(*arg)).ToLong());
    }
    return indexes;
}

CVariant CInterpreter::EvalName(const NameExpr& e) {
    const QString key = Key(e.name);
    if (const Cell cell = Lookup(key)) {
        return cell->value;
    }
    if (const auto it = m_procedures.constFind(key); it != m_procedures.cend()) {
        return InvokeProcedure(*it, {});
    }
    if (std::optional<CVariant> constant = FindBuiltinConstant(e.name)) {
        return *std::move(constant);
    }
    if (const SBuiltin* builtin = FindBuiltin(e.name); builtin && builtin->minArgs == 0) {
        return builtin->fn({});
    }
    if (m_frame->optionExplicit) {
        throw ErrorNaming(err::kUndefinedVariable, e.name);
    }
    return {};
}

CVariant CInterpreter::EvalMember(const MemberExpr& e) {
    const ObjectPtr object = EvalObject(*e.object);
    return object->Invoke(e.member, {}, InvokeKind::Get);
}

CVariant CInterpreter::EvalCall(const CallExpr& e) {
    if (const auto* name = std::get_if<NameExpr>(&e.target->node)) {
        return CallName(name->name, e.args, e.target->pos, false);
    }
    if (const auto* member = std::get_if<MemberExpr>(&e.target->node)) {
        const ObjectPtr object = EvalObject(*member->object);
        return object->Invoke(member->member, EvalArgs(e.args), InvokeKind::Method);
    }
    const CVariant callee = Eval(*e.target);
    if (callee.IsArray()) {
        return callee.AsArray()->At(EvalIndexes(e.args));
    }
    if (callee.IsObject() && callee.AsObject()) {
        return callee.AsObject()->Invoke(QString(), EvalArgs(e.args), InvokeKind::Get);
    }
    throw CScriptError(err::kTypeMismatch);
}

CVariant CInterpreter::CallName(const QString& name, const std::vector<ExprPtr>& args,
                                const SPos& /*pos*/, bool asStatement) {
    const QString key = Key(name);
    if (const Cell cell = Lookup(key)) {
        // Inside a function its own name is the result variable; with arguments it is a
        // recursive call.
        const bool isOwnResult =
            m_procedures.contains(key) && !m_frame->isGlobal && m_frame->locals.value(key) == cell;
        if (!isOwnResult || args.empty()) {
            if (cell->value.IsArray() && !asStatement) {
                return cell->value.AsArray()->At(EvalIndexes(args));
            }
            if (cell->value.IsObject() && cell->value.AsObject()) {
                return cell->value.AsObject()->Invoke(
                    QString(), EvalArgs(args), asStatement ? InvokeKind::Method : InvokeKind::Get);
            }
            if (!isOwnResult) {
                throw ErrorNaming(err::kTypeMismatch, name);
            }
        }
    }
    if (const auto it = m_procedures.constFind(key); it != m_procedures.cend()) {
        return InvokeProcedure(*it, args);
    }
    if (const SBuiltin* builtin = FindBuiltin(name)) {
        const int count = static_cast<int>(args.size());
        if (count < builtin->minArgs || count > builtin->maxArgs) {
            throw ErrorNaming(err::kWrongArgCount, name);
        }
        std::vector<CVariant> values = EvalArgs(args);
        if (!BuiltinTakesObjects(name)) {
            for (CVariant& value : values) {
                value = DefaultValue(value);
            }
        }
        return builtin->fn(values);
    }
    throw ErrorNaming(err::kTypeMismatch, name);
}

CVariant CInterpreter::InvokeProcedure(const SProcedure& procedure,
                                       const std::vector<ExprPtr>& args) {
    const ProcDecl& decl = *procedure.decl;
    if (args.size() != decl.params.size()) {
        throw ErrorNaming(err::kWrongArgCount, decl.name);
    }
    // ByRef arguments share the caller's variable. An array element is copied in and written
    // back afterwards, which reads the same to the script.
    struct SWriteBack {
        Cell array;
        std::vector<std::int32_t> indexes;
        Cell value;
    };
    std::vector<SWriteBack> writeBacks;
    std::vector<Cell> cells;
    cells.reserve(args.size());
    for (std::size_t i = 0; i < args.size(); ++i) {
        const Param& param = decl.params[i];
        const Expr& arg = *args[i];
        if (!param.byVal) {
            if (const auto* name = std::get_if<NameExpr>(&arg.node)) {
                const QString key = Key(name->name);
                Cell cell = Lookup(key);
                if (!cell && !m_procedures.contains(key) && !FindBuiltinConstant(name->name) &&
                    !m_frame->optionExplicit) {
                    cell = Declare(key, arg.pos);
                }
                if (cell && !cell->isConst) {
                    cells.push_back(std::move(cell));
                    continue;
                }
            } else if (const auto* call = std::get_if<CallExpr>(&arg.node)) {
                if (const auto* arrayName = std::get_if<NameExpr>(&call->target->node)) {
                    const Cell array = Lookup(Key(arrayName->name));
                    if (array && array->value.IsArray()) {
                        std::vector<std::int32_t> indexes = EvalIndexes(call->args);
                        auto cell = std::make_shared<SVariable>();
                        cell->value = array->value.AsArray()->At(indexes);
                        writeBacks.push_back({array, std::move(indexes), cell});
                        cells.push_back(std::move(cell));
                        continue;
                    }
                }
            }
        }
        auto cell = std::make_shared<SVariable>();
        cell->value = Eval(arg).Copy();
        cells.push_back(std::move(cell));
    }
    struct SUnlock {
        std::vector<SWriteBack>& backs;
        ~SUnlock() {
            for (SWriteBack& back : backs) {
                --back.array->locks;
            }
        }
    } unlock{writeBacks};
    for (SWriteBack& back : writeBacks) {
        ++back.array->locks;
    }
    CVariant result = RunProcedure(procedure, std::move(cells));
    for (SWriteBack& back : writeBacks) {
        if (back.array->value.IsArray()) {
            back.array->value.AsArray()->At(back.indexes) = std::move(back.value->value);
        }
    }
    return result;
}

CVariant CInterpreter::RunProcedure(const SProcedure& procedure, std::vector<Cell> params) {
    const ProcDecl& decl = *procedure.decl;
    if (m_depth >= m_limits.maxCallDepth) {
        throw CScriptError(err::kOutOfStack);
    }
    SFrame frame;
    frame.isGlobal = false;
    frame.optionExplicit = procedure.optionExplicit;
    for (std::size_t i = 0; i < decl.params.size(); ++i) {
        frame.locals.insert(Key(decl.params[i].name), std::move(params[i]));
    }
    Cell result;
    if (decl.isFunction) {
        result = std::make_shared<SVariable>();
        frame.locals.insert(Key(decl.name), result);
    }
    for (const QString& name : HoistedNames(decl.body)) {
        if (!frame.locals.contains(name)) {
            frame.locals.insert(name, std::make_shared<SVariable>());
        }
    }

    struct SGuard {
        CInterpreter& self;
        SFrame* saved;
        ~SGuard() {
            self.m_frame = saved;
            --self.m_depth;
        }
    } guard{*this, m_frame};
    m_frame = &frame;
    ++m_depth;
    ExecBlock(decl.body);
    return result ? result->value : CVariant();
}

// --- variables --------------------------------------------------------------------------------

CInterpreter::Cell CInterpreter::Lookup(const QString& key) const {
    if (m_frame && !m_frame->isGlobal) {
        if (const auto it = m_frame->locals.constFind(key); it != m_frame->locals.cend()) {
            return *it;
        }
    }
    const auto it = m_globals.constFind(key);
    return it == m_globals.cend() ? nullptr : *it;
}

CInterpreter::Cell CInterpreter::Declare(const QString& key, const SPos& /*pos*/, bool isConst) {
    auto cell = std::make_shared<SVariable>();
    cell->isConst = isConst;
    (m_frame->isGlobal ? m_globals : m_frame->locals).insert(key, cell);
    return cell;
}

CInterpreter::Cell CInterpreter::LookupForWrite(const QString& name, const SPos& pos) {
    const QString key = Key(name);
    if (Cell cell = Lookup(key)) {
        return cell;
    }
    if (m_frame->optionExplicit || m_procedures.contains(key)) {
        throw ErrorNaming(
            m_procedures.contains(key) ? err::kIllegalAssignment : err::kUndefinedVariable, name);
    }
    return Declare(key, pos);
}

void CInterpreter::Assign(SVariable& variable, CVariant value, bool isSet, const QString& name) {
    if (variable.isConst) {
        throw ErrorNaming(err::kIllegalAssignment, name);
    }
    if (isSet) {
        if (!value.IsObject()) {
            throw ErrorNaming(err::kObjectRequired, name);
        }
        variable.value = std::move(value);
        return;
    }
    if (variable.fixedArray || variable.locks > 0) {
        throw ErrorNaming(err::kArrayFixed, name);
    }
    variable.value = LetValue(value);
}

CVariant CInterpreter::LetValue(const CVariant& value) {
    return value.IsArray() ? value.Copy() : DefaultValue(value);
}

const QStringList& CInterpreter::HoistedNames(const Block& body) {
    if (const auto it = m_hoisted.constFind(&body); it != m_hoisted.cend()) {
        return *it;
    }
    // Dim declares for the whole procedure (or script), wherever it stands.
    QStringList names;
    const auto walk = [&names](const auto& self, const Block& block) -> void {
        for (const StmtPtr& stmt : block) {
            std::visit(Overloaded{
                           [&](const DimStmt& s) {
                               for (const DimStmt::Var& var : s.vars) {
                                   names << Key(var.name);
                               }
                           },
                           [&](const IfStmt& s) {
                               for (const IfStmt::Branch& b : s.branches) {
                                   self(self, b.body);
                               }
                               self(self, s.elseBody);
                           },
                           [&](const SelectStmt& s) {
                               for (const SelectStmt::Case& c : s.cases) {
                                   self(self, c.body);
                               }
                               self(self, s.elseBody);
                           },
                           [&](const ForStmt& s) { self(self, s.body); },
                           [&](const ForEachStmt& s) { self(self, s.body); },
                           [&](const DoStmt& s) { self(self, s.body); },
                           [](const auto&) {},
                       },
                       stmt->node);
        }
    };
    walk(walk, body);
    return *m_hoisted.insert(&body, names);
}

}  // namespace vbs
