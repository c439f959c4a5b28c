#pragma once

// The script objects of a document's nodes and lists, and the dispatch of a member access by
// name to what the member does. Internal to the DOM; scripts reach it through dom.h.

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include <QString>
#include <libxml/tree.h>

#include "platform/script/dom_tree.h"
#include "platform/script/object.h"
#include "platform/script/value.h"

namespace vbs {

class CDomContext;

// The members of the document node: its own, then those every node has.
CVariant InvokeDocument(CDomContext& context, const QString& name, std::span<const CVariant> args,
                        InvokeKind kind);

// A node of the document other than the document itself.
class CDomNode final : public IScriptObject {
public:
    CDomNode(std::shared_ptr<CDomContext> context, xmlNodePtr node)
        : m_context(std::move(context)), m_node(node), m_type(node->type) {}

    QString TypeName() const override { return dom::TypeNameOf(m_type); }
    CVariant Invoke(const QString& name, std::span<const CVariant> args, InvokeKind kind) override;
    const void* Identity() const override { return m_node; }

    CDomContext* Context() const { return m_context.get(); }
    xmlNodePtr Node() const { return m_node; }

private:
    std::shared_ptr<CDomContext> m_context;
    xmlNodePtr m_node;
    xmlElementType m_type;  // for TypeName() after the document is gone
};

// childNodes (live), an element's attributes (live) or a selection (a snapshot). A snapshot's
// nodes stay alive: the context frees no node before it ends.
class CDomNodeList final : public IScriptObject {
public:
    enum class EKind { Children, Attributes, Snapshot };

    CDomNodeList(std::shared_ptr<CDomContext> context, EKind kind, xmlNodePtr owner,
                 std::vector<xmlNodePtr> nodes = {})
        : m_context(std::move(context)), m_kind(kind), m_owner(owner), m_nodes(std::move(nodes)) {}

    QString TypeName() const override {
        return m_kind == EKind::Attributes ? QStringLiteral("IXMLDOMNamedNodeMap")
                                           : QStringLiteral("IXMLDOMNodeList");
    }
    CVariant Invoke(const QString& name, std::span<const CVariant> args, InvokeKind kind) override;
    std::optional<std::vector<CVariant>> Items() override;

private:
    xmlNodePtr First() const {
        return m_kind == EKind::Attributes ? reinterpret_cast<xmlNodePtr>(m_owner->properties)
                                           : dom::FirstChild(m_owner);
    }
    std::int32_t Count() const;
    xmlNodePtr At(std::int64_t index) const;

    std::shared_ptr<CDomContext> m_context;
    EKind m_kind;
    xmlNodePtr m_owner;
    std::vector<xmlNodePtr> m_nodes;
    std::int64_t m_cursor = 0;  // for nextNode
};

}  // namespace vbs
