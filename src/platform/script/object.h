#pragma once

#include <memory>
#include <optional>
#include <span>
#include <vector>

#include <QString>

namespace vbs {

class CVariant;

// How a member is reached: read as a property, called as a method, or assigned with (Let) or
// without (Set) an object reference. For Let and Set the new value is the last argument.
enum class InvokeKind { Get, Method, Let, Set };

// An object that scripts can hold in a variable and reach through its members: the XML DOM, the
// Err object, WScript, and whatever else a host gives the script. Member names are matched
// without regard to case. An empty name is the default member (list(0) is list.item(0)).
class IScriptObject : public std::enable_shared_from_this<IScriptObject> {
public:
    virtual ~IScriptObject() = default;

    // What TypeName() answers for it.
    virtual QString TypeName() const = 0;

    // Throws CScriptError: kNoSuchMember for an unknown member, kWrongArgCount for a wrong
    // argument count, kTypeMismatch and others as the member sees fit.
    virtual CVariant Invoke(const QString& name, std::span<const CVariant> args,
                            InvokeKind kind) = 0;

    // The members of a collection for For Each; nullopt when it is not one.
    virtual std::optional<std::vector<CVariant>> Items();

    // Two references are the same object for "Is" when their identities are equal. Wrappers
    // that are made afresh for the same underlying thing (a DOM node) answer that thing.
    virtual const void* Identity() const { return this; }
};

using ObjectPtr = std::shared_ptr<IScriptObject>;

}  // namespace vbs
