#pragma once

// The syntax tree of a script. Plain structs: the parser builds them, the interpreter walks them.
// Every node carries the place where it starts, for error reports.

#include <memory>
#include <variant>
#include <vector>

#include <QString>

#include "platform/script/value.h"

namespace vbs {

struct SPos {
    int line = 0;    // 1-based
    int column = 0;  // 1-based
};

struct Expr;
using ExprPtr = std::unique_ptr<Expr>;
struct Stmt;
using StmtPtr = std::unique_ptr<Stmt>;
using Block = std::vector<StmtPtr>;

enum class BinaryOp {
    Power,
    Multiply,
    Divide,
    IntDivide,
    Modulo,
    Add,
    Subtract,
    Concat,
    Equal,
    NotEqual,
    Less,
    Greater,
    LessEqual,
    GreaterEqual,
    Is,
    And,
    Or,
    Xor,
    Eqv,
    Imp,
};
enum class UnaryOp { Negate, Plus, Not };

// True, 42, "text", Nothing, Empty, Null.
struct LiteralExpr {
    CVariant value;
};
// A bare name: a variable, a constant, or a procedure called without arguments.
struct NameExpr {
    QString name;
};
// object.member
struct MemberExpr {
    ExprPtr object;
    QString member;
};
// target(args): a call, an array element, or an object's default member. The target is a
// NameExpr, a MemberExpr or another CallExpr (a(1)(2)).
struct CallExpr {
    ExprPtr target;
    std::vector<ExprPtr> args;
};
// (inner): kept in the tree because an argument in parentheses is passed ByVal.
struct ParenExpr {
    ExprPtr inner;
};
struct UnaryExpr {
    UnaryOp op;
    ExprPtr operand;
};
struct BinaryExpr {
    BinaryOp op;
    ExprPtr left;
    ExprPtr right;
};

struct Expr {
    SPos pos;
    std::variant<LiteralExpr, NameExpr, MemberExpr, CallExpr, ParenExpr, UnaryExpr, BinaryExpr>
        node;
};

// Dim a, b(3), c(), d(2, 4)
struct DimStmt {
    struct Var {
        SPos pos;
        QString name;
        bool isArray = false;         // "()" was written, with or without bounds
        std::vector<ExprPtr> bounds;  // upper bounds; empty for a dynamic array or a scalar
    };
    std::vector<Var> vars;
};
// ReDim [Preserve] a(n), b(x, y)
struct ReDimStmt {
    struct Var {
        SPos pos;
        QString name;
        std::vector<ExprPtr> bounds;
    };
    bool preserve = false;
    std::vector<Var> vars;
};
// Const a = 1, b = "x"
struct ConstStmt {
    struct Item {
        SPos pos;
        QString name;
        ExprPtr value;
    };
    std::vector<Item> items;
};
// target = value, Set target = value. The target is a NameExpr, MemberExpr or CallExpr.
struct AssignStmt {
    ExprPtr target;
    ExprPtr value;
    bool isSet = false;
};
// A procedure call as a statement: "Foo a, b", "obj.Method x", "Call Foo(a, b)", "Foo (a)".
// `target` is a NameExpr or MemberExpr (or a CallExpr whose result is called, rare); `args` are
// the arguments as written, a parenthesised one as a ParenExpr.
struct CallStmt {
    ExprPtr target;
    std::vector<ExprPtr> args;
    bool explicitCall = false;  // written with the Call keyword
};
struct IfStmt {
    struct Branch {
        SPos pos;
        ExprPtr condition;
        Block body;
    };
    std::vector<Branch> branches;  // If, then each ElseIf
    Block elseBody;
    bool hasElse = false;
};
struct SelectStmt {
    struct Case {
        SPos pos;
        std::vector<ExprPtr> values;  // Case a, b, c
        Block body;
    };
    ExprPtr subject;
    std::vector<Case> cases;
    Block elseBody;
    bool hasElse = false;
};
struct ForStmt {
    QString variable;
    ExprPtr from;
    ExprPtr to;
    ExprPtr step;  // null: 1
    Block body;
};
struct ForEachStmt {
    QString variable;
    ExprPtr collection;
    Block body;
};
// Do [While|Until c] ... Loop [While|Until c]; While c ... Wend is PreWhile.
struct DoStmt {
    enum class Kind { Forever, PreWhile, PreUntil, PostWhile, PostUntil };
    Kind kind = Kind::Forever;
    ExprPtr condition;  // null for Forever
    Block body;
};
struct ExitStmt {
    enum class What { Sub, Function, For, Do };
    What what;
};
// On Error Resume Next / On Error GoTo 0
struct OnErrorStmt {
    bool resumeNext = false;
};

struct Stmt {
    SPos pos;
    std::variant<DimStmt, ReDimStmt, ConstStmt, AssignStmt, CallStmt, IfStmt, SelectStmt, ForStmt,
                 ForEachStmt, DoStmt, ExitStmt, OnErrorStmt>
        node;
};

struct Param {
    SPos pos;
    QString name;
    bool byVal = false;    // ByRef unless ByVal is written
    bool isArray = false;  // "a()" in the parameter list
};

// Sub Name(params) ... End Sub / Function Name(params) ... End Function
struct ProcDecl {
    SPos pos;
    QString name;
    bool isFunction = false;
    std::vector<Param> params;
    Block body;
};

// One script text. Procedures are visible to the whole script whatever their place; the
// statements outside them run in order when the script starts.
struct Program {
    bool optionExplicit = false;
    std::vector<ProcDecl> procedures;
    Block body;
};

}  // namespace vbs
