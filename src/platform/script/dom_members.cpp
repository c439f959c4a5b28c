#include "platform/script/dom_members.h"

#include <optional>
#include <utility>

#include <QHash>
#include <QList>
#include <QPair>
#include <QRegularExpression>
#include <libxml/tree.h>

#include "platform/script/dom_context.h"
#include "platform/script/errors.h"

namespace vbs {

using namespace dom;

namespace {

// "xmlns:dfns='urn:a' xmlns:b=\"urn:b\"", as scripts set the SelectionNamespaces property.
std::optional<QList<QPair<QString, QString>>> ParseNamespaceList(const QString& text) {
    static const QRegularExpression declaration(
        QStringLiteral(R"re(\s*xmlns(?::([^\s=:'"]+))?\s*=\s*(?:'([^']*)'|"([^"]*)")\s*)re"));
    QList<QPair<QString, QString>> pairs;
    qsizetype at = 0;
    while (at < text.size()) {
        const QRegularExpressionMatch m =
            declaration.match(text, at, QRegularExpression::NormalMatch,
                              QRegularExpression::AnchorAtOffsetMatchOption);
        if (!m.hasMatch() || m.capturedLength() == 0) {
            if (text.mid(at).trimmed().isEmpty()) {
                break;
            }
            return std::nullopt;
        }
        const QString prefix = m.captured(1);
        const QString uri = m.capturedStart(2) >= 0 ? m.captured(2) : m.captured(3);
        if (!prefix.isEmpty() && xmlValidateNCName(X(prefix.toUtf8()), 0) != 0) {
            return std::nullopt;
        }
        pairs.append({prefix, uri});
        at = m.capturedEnd();
    }
    return pairs;
}

// A member access as the interpreter makes it.
struct SCall {
    const QString& name;
    std::span<const CVariant> args;
    InvokeKind kind;

    bool Assigns() const { return kind == InvokeKind::Let || kind == InvokeKind::Set; }
};

enum class EMember {
    Default,
    NodeName,
    BaseName,
    NodeType,
    NamespaceURI,
    Prefix,
    Text,
    Xml,
    Value,
    NodeValue,
    Data,
    Name,
    ParentNode,
    ChildNodes,
    FirstChild,
    LastChild,
    NextSibling,
    PreviousSibling,
    Attributes,
    OwnerDocument,
    HasChildNodes,
    AppendChild,
    InsertBefore,
    RemoveChild,
    ReplaceChild,
    CloneNode,
    SelectSingleNode,
    SelectNodes,
    TagName,
    GetAttribute,
    SetAttribute,
    RemoveAttribute,
    GetAttributeNode,
    GetElementsByTagName,
    DocumentElement,
    CreateElement,
    CreateNode,
    CreateAttribute,
    CreateTextNode,
    CreateComment,
    CreateCDATASection,
    CreateProcessingInstruction,
    SetProperty,
    GetProperty,
    LoadXML,
    Length,
    Item,
    NextNode,
    Reset,
    GetNamedItem,
    RemoveNamedItem,
};

std::optional<EMember> FindMember(const QString& name) {
    static const QHash<QString, EMember> members = [] {
        const std::pair<const char*, EMember> table[] = {
            {"", EMember::Default},
            {"nodeName", EMember::NodeName},
            {"baseName", EMember::BaseName},
            {"nodeType", EMember::NodeType},
            {"namespaceURI", EMember::NamespaceURI},
            {"prefix", EMember::Prefix},
            {"text", EMember::Text},
            {"xml", EMember::Xml},
            {"value", EMember::Value},
            {"nodeValue", EMember::NodeValue},
            {"data", EMember::Data},
            {"name", EMember::Name},
            {"parentNode", EMember::ParentNode},
            {"childNodes", EMember::ChildNodes},
            {"firstChild", EMember::FirstChild},
            {"lastChild", EMember::LastChild},
            {"nextSibling", EMember::NextSibling},
            {"previousSibling", EMember::PreviousSibling},
            {"attributes", EMember::Attributes},
            {"ownerDocument", EMember::OwnerDocument},
            {"hasChildNodes", EMember::HasChildNodes},
            {"appendChild", EMember::AppendChild},
            {"insertBefore", EMember::InsertBefore},
            {"removeChild", EMember::RemoveChild},
            {"replaceChild", EMember::ReplaceChild},
            {"cloneNode", EMember::CloneNode},
            {"selectSingleNode", EMember::SelectSingleNode},
            {"selectNodes", EMember::SelectNodes},
            {"tagName", EMember::TagName},
            {"getAttribute", EMember::GetAttribute},
            {"setAttribute", EMember::SetAttribute},
            {"removeAttribute", EMember::RemoveAttribute},
            {"getAttributeNode", EMember::GetAttributeNode},
            {"getElementsByTagName", EMember::GetElementsByTagName},
            {"documentElement", EMember::DocumentElement},
            {"createElement", EMember::CreateElement},
            {"createNode", EMember::CreateNode},
            {"createAttribute", EMember::CreateAttribute},
            {"createTextNode", EMember::CreateTextNode},
            {"createComment", EMember::CreateComment},
            {"createCDATASection", EMember::CreateCDATASection},
            {"createProcessingInstruction", EMember::CreateProcessingInstruction},
            {"setProperty", EMember::SetProperty},
            {"getProperty", EMember::GetProperty},
            {"loadXML", EMember::LoadXML},
            {"length", EMember::Length},
            {"item", EMember::Item},
            {"nextNode", EMember::NextNode},
            {"reset", EMember::Reset},
            {"getNamedItem", EMember::GetNamedItem},
            {"removeNamedItem", EMember::RemoveNamedItem},
        };
        QHash<QString, EMember> map;
        for (const auto& [memberName, member] : table) {
            map.insert(QString::fromLatin1(memberName).toLower(), member);
        }
        return map;
    }();
    const auto it = members.constFind(name.toLower());
    return it == members.cend() ? std::nullopt : std::optional<EMember>(*it);
}

[[noreturn]] void NoSuchMember(const QString& name) {
    throw CScriptError(
        err::kNoSuchMember,
        QStringLiteral("Object doesn't support this property or method: '%1'").arg(name));
}

[[noreturn]] void WrongArgs(const QString& name) {
    throw CScriptError(
        err::kWrongArgCount,
        QStringLiteral("Wrong number of arguments or invalid property assignment: '%1'").arg(name));
}

void MethodArgs(const SCall& call, std::size_t min, std::size_t max) {
    if (call.Assigns() || call.args.size() < min || call.args.size() > max) {
        WrongArgs(call.name);
    }
}

// A property read. Arguments after a property that takes none go to the default member of what
// it returned, as in node.childNodes(0).
CVariant Read(const SCall& call, const CVariant& value) {
    if (call.Assigns()) {
        WrongArgs(call.name);
    }
    if (call.args.empty()) {
        return value;
    }
    if (value.IsObject() && value.AsObject()) {
        return value.AsObject()->Invoke(QString(), call.args, InvokeKind::Get);
    }
    WrongArgs(call.name);
}

// The new value of a property assignment.
QString Assigned(const SCall& call) {
    if (call.args.size() != 1) {
        WrongArgs(call.name);
    }
    return call.args[0].ToString();
}

CVariant ValueOf(xmlNodePtr node) {
    if (node->type == XML_ATTRIBUTE_NODE || HasOwnContent(node)) {
        return CVariant(TextOf(node));
    }
    return CVariant::Null();
}

// The members every node has, and those of elements. `node` may be the document node.
CVariant InvokeNode(CDomContext& context, xmlNodePtr node, const SCall& call) {
    const std::optional<EMember> member = FindMember(call.name);
    if (!member) {
        NoSuchMember(call.name);
    }
    const bool isElement = IsElement(node);
    const bool isNamed = isElement || node->type == XML_ATTRIBUTE_NODE;
    const std::span<const CVariant> args = call.args;
    switch (*member) {
        case EMember::NodeName:
            return Read(call, NodeName(node));
        case EMember::BaseName:
            return Read(call, BaseName(node));
        case EMember::NodeType:
            return Read(call, CVariant::Long(NodeTypeNumber(node->type)));
        case EMember::NamespaceURI:
            return Read(call, isNamed && node->ns ? Q(node->ns->href) : QString());
        case EMember::Prefix:
            return Read(call, isNamed && node->ns ? Q(node->ns->prefix) : QString());
        case EMember::Text:
            if (call.Assigns()) {
                if (node->type == XML_DOCUMENT_NODE) {
                    Fail(QStringLiteral("the text of a document cannot be set"));
                }
                context.SetText(node, Assigned(call));
                return {};
            }
            return Read(call, TextOf(node));
        case EMember::Xml:
            return Read(call, Markup(node));
        case EMember::Value:
        case EMember::NodeValue:
            if (call.Assigns()) {
                context.SetValue(node, Assigned(call));
                return {};
            }
            return Read(call, ValueOf(node));
        case EMember::Data:
            if (!HasOwnContent(node)) {
                break;
            }
            if (call.Assigns()) {
                context.SetValue(node, Assigned(call));
                return {};
            }
            return Read(call, TextOf(node));
        case EMember::Name:
            if (node->type != XML_ATTRIBUTE_NODE) {
                break;
            }
            return Read(call, NodeName(node));
        case EMember::ParentNode:
            return Read(call, context.Value(ParentOf(node)));
        case EMember::ChildNodes:
            return Read(call, context.ChildList(node));
        case EMember::FirstChild:
            return Read(call, context.Value(FirstChild(node)));
        case EMember::LastChild:
            return Read(call, context.Value(LastChild(node)));
        case EMember::NextSibling:
            return Read(call, context.Value(NextSiblingOf(node)));
        case EMember::PreviousSibling:
            return Read(call, context.Value(PreviousSiblingOf(node)));
        case EMember::Attributes:
            return Read(call, isElement ? context.AttributeMap(node) : CVariant::Null());
        case EMember::OwnerDocument:
            return Read(call,
                        context.Value(node == context.DocNode() ? nullptr : context.DocNode()));
        case EMember::HasChildNodes:
            MethodArgs(call, 0, 0);
            return CVariant(FirstChild(node) != nullptr);
        case EMember::AppendChild: {
            MethodArgs(call, 1, 1);
            xmlNodePtr child = context.NodeArg(args[0], call.name);
            context.Insert(node, child, nullptr);
            return context.Value(child);
        }
        case EMember::InsertBefore: {
            MethodArgs(call, 1, 2);
            xmlNodePtr child = context.NodeArg(args[0], call.name);
            const bool append =
                args.size() < 2 || args[1].IsNothing() || args[1].IsEmpty() || args[1].IsNull();
            xmlNodePtr before = append ? nullptr : context.NodeArg(args[1], call.name);
            context.Insert(node, child, before);
            return context.Value(child);
        }
        case EMember::RemoveChild: {
            MethodArgs(call, 1, 1);
            xmlNodePtr child = context.NodeArg(args[0], call.name);
            context.Remove(node, child);
            return context.Value(child);
        }
        case EMember::ReplaceChild: {
            MethodArgs(call, 2, 2);
            xmlNodePtr child = context.NodeArg(args[0], call.name);
            xmlNodePtr old = context.NodeArg(args[1], call.name);
            context.Replace(node, child, old);
            return context.Value(old);
        }
        case EMember::CloneNode:
            MethodArgs(call, 1, 1);
            return context.Value(context.Clone(node, args[0].ToBool()));
        case EMember::SelectSingleNode: {
            MethodArgs(call, 1, 1);
            const std::vector<xmlNodePtr> nodes = context.Select(node, args[0].ToString());
            return context.Value(nodes.empty() ? nullptr : nodes.front());
        }
        case EMember::SelectNodes:
            MethodArgs(call, 1, 1);
            return context.StaticList(context.Select(node, args[0].ToString()));
        case EMember::GetElementsByTagName:
            if (!isElement && node->type != XML_DOCUMENT_NODE) {
                break;
            }
            MethodArgs(call, 1, 1);
            return context.StaticList(ElementsNamed(node, args[0].ToString()));
        default:
            break;
    }
    if (!isElement) {
        NoSuchMember(call.name);
    }
    switch (*member) {
        case EMember::TagName:
            return Read(call, NodeName(node));
        case EMember::GetAttribute: {
            MethodArgs(call, 1, 1);
            const QString name = args[0].ToString();
            if (xmlAttrPtr attribute = FindAttribute(node, name)) {
                return CVariant(TextOf(reinterpret_cast<xmlNodePtr>(attribute)));
            }
            if (const xmlNs* declaration = FindDeclaration(node, name)) {
                return CVariant(Q(declaration->href));
            }
            return CVariant::Null();
        }
        case EMember::SetAttribute: {
            MethodArgs(call, 2, 2);
            const QString name = args[0].ToString();
            context.SetAttribute(node, name, args[1].ToString());
            return {};
        }
        case EMember::RemoveAttribute:
            MethodArgs(call, 1, 1);
            if (xmlAttrPtr attribute = FindAttribute(node, args[0].ToString())) {
                context.RemoveAttribute(attribute);
            }
            return {};
        case EMember::GetAttributeNode:
            MethodArgs(call, 1, 1);
            return context.Value(
                reinterpret_cast<xmlNodePtr>(FindAttribute(node, args[0].ToString())));
        default:
            NoSuchMember(call.name);
    }
}

// createNode's first argument: a number, or a name such as "element".
int NodeTypeArg(const CVariant& value) {
    if (value.IsString()) {
        static const QHash<QString, int> names{
            {QStringLiteral("element"), XML_ELEMENT_NODE},
            {QStringLiteral("attribute"), XML_ATTRIBUTE_NODE},
            {QStringLiteral("text"), XML_TEXT_NODE},
            {QStringLiteral("cdatasection"), XML_CDATA_SECTION_NODE},
            {QStringLiteral("processinginstruction"), XML_PI_NODE},
            {QStringLiteral("comment"), XML_COMMENT_NODE},
        };
        if (const auto it = names.constFind(value.AsString().trimmed().toLower());
            it != names.cend()) {
            return *it;
        }
    }
    return value.ToLong();
}

// The document's own members; the rest are those of a node.
CVariant InvokeDocumentNode(CDomContext& context, const SCall& call) {
    const std::optional<EMember> member = FindMember(call.name);
    const std::span<const CVariant> args = call.args;
    switch (member.value_or(EMember::Default)) {
        case EMember::DocumentElement:
            return Read(call, context.Value(xmlDocGetRootElement(context.Doc())));
        case EMember::CreateElement:
            MethodArgs(call, 1, 1);
            return context.Value(context.CreateElement(args[0].ToString(), QString()));
        case EMember::CreateNode: {
            MethodArgs(call, 2, 3);
            const int type = NodeTypeArg(args[0]);
            const QString name = args[1].ToString();
            const QString uri = args.size() > 2 ? args[2].ToString() : QString();
            switch (type) {
                case XML_ELEMENT_NODE:
                    return context.Value(context.CreateElement(name, uri));
                case XML_ATTRIBUTE_NODE:
                    return context.Value(context.CreateAttribute(name, uri));
                case XML_TEXT_NODE:
                    return context.Value(context.CreateText(QString()));
                case XML_CDATA_SECTION_NODE:
                    return context.Value(context.CreateCData(QString()));
                case XML_COMMENT_NODE:
                    return context.Value(context.CreateComment(QString()));
                case XML_PI_NODE:
                    return context.Value(context.CreateInstruction(name, nullptr));
                default:
                    Fail(QStringLiteral("createNode cannot make nodes of type %1").arg(type));
            }
        }
        case EMember::CreateAttribute:
            MethodArgs(call, 1, 1);
            return context.Value(context.CreateAttribute(args[0].ToString(), QString()));
        case EMember::CreateTextNode:
            MethodArgs(call, 1, 1);
            return context.Value(context.CreateText(args[0].ToString()));
        case EMember::CreateComment:
            MethodArgs(call, 1, 1);
            return context.Value(context.CreateComment(args[0].ToString()));
        case EMember::CreateCDATASection:
            MethodArgs(call, 1, 1);
            return context.Value(context.CreateCData(args[0].ToString()));
        case EMember::CreateProcessingInstruction:
            MethodArgs(call, 2, 2);
            return context.Value(context.CreateInstruction(args[0].ToString(), &args[1]));
        case EMember::SetProperty: {
            MethodArgs(call, 2, 2);
            const QString property = args[0].ToString();
            if (property.compare(QLatin1String("SelectionNamespaces"), Qt::CaseInsensitive) == 0) {
                const QString text = args[1].ToString();
                std::optional<QList<QPair<QString, QString>>> pairs = ParseNamespaceList(text);
                if (!pairs) {
                    Fail(QStringLiteral("'%1' is not a list of declarations such as "
                                        "xmlns:p='urn:x'")
                             .arg(text));
                }
                context.SetSelectionNamespaces(std::move(*pairs));
                return {};
            }
            if (property.compare(QLatin1String("SelectionLanguage"), Qt::CaseInsensitive) == 0) {
                return {};  // XPath is the only language
            }
            Fail(QStringLiteral("unknown document property '%1'").arg(property));
        }
        case EMember::GetProperty: {
            MethodArgs(call, 1, 1);
            const QString property = args[0].ToString();
            if (property.compare(QLatin1String("SelectionNamespaces"), Qt::CaseInsensitive) == 0) {
                return CVariant(context.SelectionNamespacesText());
            }
            if (property.compare(QLatin1String("SelectionLanguage"), Qt::CaseInsensitive) == 0) {
                return CVariant(QStringLiteral("XPath"));
            }
            Fail(QStringLiteral("unknown document property '%1'").arg(property));
        }
        case EMember::LoadXML: {
            MethodArgs(call, 1, 1);
            QString error;
            return CVariant(context.LoadXml(args[0].ToString(), &error));
        }
        case EMember::CloneNode:
            MethodArgs(call, 1, 1);
            return CVariant(ObjectPtr(context.CloneDocument(args[0].ToBool())));
        default:
            return InvokeNode(context, context.DocNode(), call);
    }
}

}  // namespace

CVariant InvokeDocument(CDomContext& context, const QString& name, std::span<const CVariant> args,
                        InvokeKind kind) {
    return InvokeDocumentNode(context, SCall{name, args, kind});
}

CVariant CDomNode::Invoke(const QString& name, std::span<const CVariant> args, InvokeKind kind) {
    m_context->CheckLive();
    return InvokeNode(*m_context, m_node, SCall{name, args, kind});
}

std::int32_t CDomNodeList::Count() const {
    if (m_kind == EKind::Snapshot) {
        return static_cast<std::int32_t>(m_nodes.size());
    }
    std::int32_t count = 0;
    for (xmlNodePtr node = First(); node; node = node->next) {
        ++count;
    }
    return count;
}

xmlNodePtr CDomNodeList::At(std::int64_t index) const {
    if (index < 0) {
        return nullptr;
    }
    if (m_kind == EKind::Snapshot) {
        return index < static_cast<std::int64_t>(m_nodes.size())
                   ? m_nodes[static_cast<std::size_t>(index)]
                   : nullptr;
    }
    xmlNodePtr node = First();
    for (; node && index > 0; --index) {
        node = node->next;
    }
    return node;
}

std::optional<std::vector<CVariant>> CDomNodeList::Items() {
    m_context->CheckLive();
    std::vector<CVariant> items;
    if (m_kind == EKind::Snapshot) {
        for (xmlNodePtr node : m_nodes) {
            items.push_back(m_context->Value(node));
        }
    } else {
        for (xmlNodePtr node = First(); node; node = node->next) {
            items.push_back(m_context->Value(node));
        }
    }
    return items;
}

CVariant CDomNodeList::Invoke(const QString& name, std::span<const CVariant> args,
                              InvokeKind kind) {
    m_context->CheckLive();
    const SCall call{name, args, kind};
    const std::optional<EMember> member = FindMember(name);
    if (!member) {
        NoSuchMember(name);
    }
    const bool isMap = m_kind == EKind::Attributes;
    switch (*member) {
        case EMember::Length:
            return Read(call, CVariant::Long(Count()));
        case EMember::Default:
        case EMember::Item:
            MethodArgs(call, 1, 1);
            return m_context->Value(At(args[0].ToLong()));
        case EMember::NextNode:
            MethodArgs(call, 0, 0);
            return m_context->Value(At(m_cursor++));
        case EMember::Reset:
            MethodArgs(call, 0, 0);
            m_cursor = 0;
            return {};
        case EMember::GetNamedItem:
            if (!isMap) {
                break;
            }
            MethodArgs(call, 1, 1);
            return m_context->Value(
                reinterpret_cast<xmlNodePtr>(FindAttribute(m_owner, args[0].ToString())));
        case EMember::RemoveNamedItem: {
            if (!isMap) {
                break;
            }
            MethodArgs(call, 1, 1);
            xmlAttrPtr attribute = FindAttribute(m_owner, args[0].ToString());
            if (attribute) {
                m_context->RemoveAttribute(attribute);
            }
            return m_context->Value(reinterpret_cast<xmlNodePtr>(attribute));
        }
        default:
            break;
    }
    NoSuchMember(name);
}

}  // namespace vbs
