#include "platform/script/dom.h"

#include "platform/xml/libxml_guard.h"

// Lifetime of the objects a script holds
// ---------------------------------------
// Every object of one document (the document object, each node wrapper, node lists, attribute
// maps) holds a shared_ptr to one CDomContext. The context owns what the script may still reach
// outside the tree, and a node is freed only when the context is released or dies:
//
// * Nodes a script unlinks (removeChild, the old node of replaceChild, removeAttribute and
//   removeNamedItem, children replaced by setting `text`, the old content on loadXML) and nodes
//   it creates (create*, cloneNode) are roots in the context's "unattached" set. Inserting one
//   takes it out of the set; inserting a descendant of an unattached subtree just unlinks it
//   from that subtree, whose root stays in the set. So the set holds only parentless roots and
//   every node is either in the document, in one unattached subtree, or freed at the end.
// * Nothing else frees nodes while the context lives. Inserting links nodes by hand, because
//   libxml2's xmlAddChild may merge (and free) a text node and frees an attribute of the same
//   name. Attributes show no child nodes and entity references no children, so replacing an
//   attribute's value (which frees its text children) frees nothing an object points to.
// * Namespace declarations that an insertion makes redundant are unlinked and kept by the
//   context, never freed early, since a node elsewhere may still refer to one.
// * Release() (or the end of the context) frees the unattached roots, the kept declarations and
//   then, for a parsed document, the document; afterwards each object's members raise
//   kObjectNotSet. Wrapper objects cache what TypeName and Identity need, so neither touches
//   freed memory. A wrapped document belongs to its caller, who calls Release() before freeing
//   it; if the first document object dies first, nobody can call Release() later, so its
//   destructor does.
//
// Trees stay at most 256 elements deep (what the parser accepts), so that the recursive libxml2
// routines (copying, XPath) cannot exhaust the stack on a tree a script built.

#include <algorithm>
#include <climits>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <unordered_set>
#include <vector>

#include <QHash>
#include <QRegularExpression>
#include <libxml/parser.h>
#include <libxml/tree.h>
#include <libxml/xmlsave.h>
#include <libxml/xpath.h>
#include <libxml/xpathInternals.h>

#include "platform/script/errors.h"

namespace vbs {

namespace {

constexpr int kMaxDepth = 256;
constexpr int kMaxEntityDepth = 8;

const xmlChar* X(const QByteArray& text) {
    return reinterpret_cast<const xmlChar*>(text.constData());
}

const xmlChar* X(const char* text) {
    return reinterpret_cast<const xmlChar*>(text);
}

QString Q(const xmlChar* text) {
    return text ? QString::fromUtf8(reinterpret_cast<const char*>(text)) : QString();
}

bool IsEmpty(const xmlChar* text) {
    return !text || !*text;
}

bool SameHref(const xmlChar* a, const xmlChar* b) {
    return xmlStrEqual(a ? a : X(""), b ? b : X("")) != 0;
}

[[noreturn]] void Fail(const QString& text) {
    throw CScriptError(err::kInvalidCall, text);
}

// libxml2 answers null when memory runs out.
template <typename T>
T* Made(T* made) {
    if (!made) {
        throw CScriptError(err::kOutOfMemory);
    }
    return made;
}

// --- quiet, local libxml2 settings -------------------------------------------------------------

// --- parsing -----------------------------------------------------------------------------------

struct SParseError {
    bool set = false;
    int line = 0;
    int column = 0;
    QString message;
};

// The parser reports through its context's structured handler; the first real error is the
// one worth showing (later ones are often consequences of it).
thread_local SParseError* t_parseError = nullptr;

void CollectParseError(void* /*context*/, xmlErrorPtr error) {
    if (!t_parseError || !error || t_parseError->set || error->level < XML_ERR_ERROR) {
        return;
    }
    t_parseError->set = true;
    t_parseError->line = error->line;
    t_parseError->column = error->int2;
    t_parseError->message = QString::fromUtf8(error->message ? error->message : "").trimmed();
}

// Parses without network, DTD loading, entity expansion or external entities. `encoding`
// overrides the document's own declaration (for text that is already decoded).
xmlDocPtr ParseXml(const QByteArray& xml, const char* encoding, QString* error) {
    if (xml.size() > INT_MAX) {
        *error = QStringLiteral("0:0: the document is too large");
        return nullptr;
    }
    CLibxmlGuard guard;
    xmlParserCtxtPtr parser = xmlNewParserCtxt();
    if (!parser) {
        *error = QStringLiteral("0:0: out of memory");
        return nullptr;
    }
    SParseError first;
    t_parseError = &first;
    parser->sax->serror = CollectParseError;
    xmlDocPtr doc =
        xmlCtxtReadMemory(parser, xml.constData(), static_cast<int>(xml.size()), nullptr, encoding,
                          XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
    t_parseError = nullptr;
    // Undeclared prefixes are only a namespace error to libxml2; the tree would not mean what
    // the text says, so such a document is refused as well.
    if (doc && (!parser->wellFormed || !parser->nsWellFormed)) {
        xmlFreeDoc(doc);
        doc = nullptr;
    }
    if (!doc) {
        if (!first.set) {
            const xmlError* last = xmlCtxtGetLastError(parser);
            first.line = last ? last->line : 0;
            first.column = last ? last->int2 : 0;
            first.message = last && last->message
                                ? QString::fromUtf8(last->message).trimmed()
                                : QStringLiteral("the text is not well-formed XML");
        }
        *error = QStringLiteral("%1:%2: %3").arg(first.line).arg(first.column).arg(first.message);
    }
    xmlFreeParserCtxt(parser);
    return doc;
}

// --- reading nodes -----------------------------------------------------------------------------

bool IsElement(const xmlNode* node) {
    return node && node->type == XML_ELEMENT_NODE;
}

// Elements and documents have children a script sees; an entity reference's "children" are the
// entity's declaration and an attribute's are its value, neither of which is a node here.
bool ShowsChildren(const xmlNode* node) {
    return node && (node->type == XML_ELEMENT_NODE || node->type == XML_DOCUMENT_NODE);
}

xmlNodePtr FirstChild(xmlNodePtr node) {
    return ShowsChildren(node) ? node->children : nullptr;
}

xmlNodePtr LastChild(xmlNodePtr node) {
    return ShowsChildren(node) ? node->last : nullptr;
}

xmlNodePtr ParentOf(xmlNodePtr node) {
    return node->type == XML_ATTRIBUTE_NODE ? nullptr : node->parent;
}

xmlNodePtr NextSiblingOf(xmlNodePtr node) {
    return node->type == XML_ATTRIBUTE_NODE ? nullptr : node->next;
}

xmlNodePtr PreviousSiblingOf(xmlNodePtr node) {
    return node->type == XML_ATTRIBUTE_NODE ? nullptr : node->prev;
}

xmlNodePtr FirstElementChild(xmlNodePtr node) {
    for (xmlNodePtr child = FirstChild(node); child; child = child->next) {
        if (IsElement(child)) {
            return child;
        }
    }
    return nullptr;
}

xmlNodePtr NextElementSibling(xmlNodePtr node) {
    for (xmlNodePtr sibling = node->next; sibling; sibling = sibling->next) {
        if (IsElement(sibling)) {
            return sibling;
        }
    }
    return nullptr;
}

// The element after `node` in document order among `top`'s descendants (`node` is one of them,
// or `top` itself); null after the last. Iterative, whatever the depth.
xmlNodePtr NextElement(xmlNodePtr node, xmlNodePtr top) {
    if (xmlNodePtr child = FirstElementChild(node)) {
        return child;
    }
    for (; node && node != top; node = node->parent) {
        if (xmlNodePtr sibling = NextElementSibling(node)) {
            return sibling;
        }
    }
    return nullptr;
}

// The node after `node` in document order within the subtree at `top`, entering elements only.
xmlNodePtr NextInSubtree(xmlNodePtr node, xmlNodePtr top) {
    if (IsElement(node) && node->children) {
        return node->children;
    }
    for (; node && node != top; node = node->parent) {
        if (node->next) {
            return node->next;
        }
    }
    return nullptr;
}

// Elements from `node` up to the top of its tree.
int Depth(xmlNodePtr node) {
    int depth = 0;
    for (; IsElement(node); node = node->parent) {
        ++depth;
    }
    return depth;
}

// Levels of elements in the subtree at `root`.
int Height(xmlNodePtr root) {
    if (!IsElement(root)) {
        return 0;
    }
    int height = 1;
    int depth = 1;
    xmlNodePtr node = root;
    for (;;) {
        if (xmlNodePtr child = FirstElementChild(node)) {
            node = child;
            height = std::max(height, ++depth);
            continue;
        }
        while (node != root) {
            if (xmlNodePtr sibling = NextElementSibling(node)) {
                node = sibling;
                break;
            }
            node = node->parent;
            --depth;
        }
        if (node == root) {
            return height;
        }
    }
}

QByteArray QualifiedNameUtf8(const xmlNode* node) {
    QByteArray name;
    if (node->ns && !IsEmpty(node->ns->prefix)) {
        name = reinterpret_cast<const char*>(node->ns->prefix);
        name += ':';
    }
    name += reinterpret_cast<const char*>(node->name);
    return name;
}

QString NodeName(const xmlNode* node) {
    switch (node->type) {
        case XML_ELEMENT_NODE:
        case XML_ATTRIBUTE_NODE:
            return QString::fromUtf8(QualifiedNameUtf8(node));
        case XML_TEXT_NODE:
            return QStringLiteral("#text");
        case XML_CDATA_SECTION_NODE:
            return QStringLiteral("#cdata-section");
        case XML_COMMENT_NODE:
            return QStringLiteral("#comment");
        case XML_DOCUMENT_NODE:
            return QStringLiteral("#document");
        default:  // a processing instruction's target, an entity's or a doctype's name
            return Q(node->name);
    }
}

QString BaseName(const xmlNode* node) {
    switch (node->type) {
        case XML_ELEMENT_NODE:
        case XML_ATTRIBUTE_NODE:
        case XML_PI_NODE:
        case XML_ENTITY_REF_NODE:
        case XML_DTD_NODE:
            return Q(node->name);
        default:
            return {};
    }
}

// The numbers scripts compare nodeType with; libxml2 numbers its doctype node differently.
int NodeTypeNumber(xmlElementType type) {
    return type == XML_DTD_NODE ? 10 : static_cast<int>(type);
}

QString TypeNameOf(xmlElementType type) {
    switch (type) {
        case XML_ELEMENT_NODE:
            return QStringLiteral("IXMLDOMElement");
        case XML_ATTRIBUTE_NODE:
            return QStringLiteral("IXMLDOMAttribute");
        case XML_TEXT_NODE:
            return QStringLiteral("IXMLDOMText");
        case XML_CDATA_SECTION_NODE:
            return QStringLiteral("IXMLDOMCDATASection");
        case XML_COMMENT_NODE:
            return QStringLiteral("IXMLDOMComment");
        case XML_PI_NODE:
            return QStringLiteral("IXMLDOMProcessingInstruction");
        case XML_ENTITY_REF_NODE:
            return QStringLiteral("IXMLDOMEntityReference");
        case XML_DTD_NODE:
            return QStringLiteral("IXMLDOMDocumentType");
        case XML_DOCUMENT_NODE:
            return QStringLiteral("DOMDocument");
        default:
            return QStringLiteral("IXMLDOMNode");
    }
}

// Text, CDATA, comments and processing instructions carry their own content.
bool HasOwnContent(const xmlNode* node) {
    return node->type == XML_TEXT_NODE || node->type == XML_CDATA_SECTION_NODE ||
           node->type == XML_COMMENT_NODE || node->type == XML_PI_NODE;
}

void AppendText(QByteArray& out, xmlNodePtr first, int entityDepth);

// An entity reference reads as the entity's text. Entities nest; the parser has refused loops
// and blow-ups, and the depth limit keeps a hand-made cycle from recursing for ever.
void AppendEntityText(QByteArray& out, xmlNodePtr reference, int entityDepth) {
    xmlNodePtr declaration = reference->children;
    if (entityDepth >= kMaxEntityDepth || !declaration || declaration->type != XML_ENTITY_DECL) {
        return;
    }
    auto* entity = reinterpret_cast<xmlEntityPtr>(declaration);
    if (entity->children) {
        AppendText(out, entity->children, entityDepth + 1);
    } else if (entity->etype == XML_INTERNAL_GENERAL_ENTITY && entity->content &&
               !xmlStrchr(entity->content, '<') && !xmlStrchr(entity->content, '&')) {
        out += reinterpret_cast<const char*>(entity->content);
    }
}

// The text of `first`, its following siblings and their descendants, in document order.
void AppendText(QByteArray& out, xmlNodePtr first, int entityDepth) {
    xmlNodePtr node = first;
    int depth = 0;
    while (node) {
        switch (node->type) {
            case XML_TEXT_NODE:
            case XML_CDATA_SECTION_NODE:
                if (node->content) {
                    out += reinterpret_cast<const char*>(node->content);
                }
                break;
            case XML_ENTITY_REF_NODE:
                AppendEntityText(out, node, entityDepth);
                break;
            case XML_ELEMENT_NODE:
                if (node->children) {
                    node = node->children;
                    ++depth;
                    continue;
                }
                break;
            default:
                break;
        }
        while (!node->next && depth > 0) {
            node = node->parent;
            --depth;
        }
        node = node->next;
    }
}

QString TextOf(xmlNodePtr node) {
    QByteArray out;
    if (HasOwnContent(node)) {
        out = reinterpret_cast<const char*>(node->content ? node->content : X(""));
    } else if (node->type == XML_ENTITY_REF_NODE) {
        AppendEntityText(out, node, 0);
    } else if (node->type == XML_ELEMENT_NODE || node->type == XML_DOCUMENT_NODE ||
               node->type == XML_ATTRIBUTE_NODE) {
        AppendText(out, node->children, 0);
    }
    return QString::fromUtf8(out);
}

QString EscapeAttribute(const QString& value) {
    QString out;
    out.reserve(value.size());
    for (const QChar c : value) {
        switch (c.unicode()) {
            case u'&':
                out += QLatin1String("&amp;");
                break;
            case u'<':
                out += QLatin1String("&lt;");
                break;
            case u'"':
                out += QLatin1String("&quot;");
                break;
            case u'\n':
                out += QLatin1String("&#10;");
                break;
            case u'\r':
                out += QLatin1String("&#13;");
                break;
            case u'\t':
                out += QLatin1String("&#9;");
                break;
            default:
                out += c;
        }
    }
    return out;
}

// The markup of a node as it stands in its place: a document with its XML declaration, an
// element without the declarations its ancestors make.
QString Markup(xmlNodePtr node) {
    if (node->type == XML_ATTRIBUTE_NODE) {
        return QString::fromUtf8(QualifiedNameUtf8(node)) + QLatin1String("=\"") +
               EscapeAttribute(TextOf(node)) + u'"';
    }
    xmlBufferPtr buffer = Made(xmlBufferCreate());
    const bool isDocument = node->type == XML_DOCUMENT_NODE;
    xmlSaveCtxtPtr save = xmlSaveToBuffer(buffer, "UTF-8", isDocument ? 0 : XML_SAVE_NO_DECL);
    if (!save) {
        xmlBufferFree(buffer);
        throw CScriptError(err::kOutOfMemory);
    }
    if (isDocument) {
        xmlSaveDoc(save, reinterpret_cast<xmlDocPtr>(node));
    } else {
        xmlSaveTree(save, node);
    }
    xmlSaveClose(save);
    QString out = QString::fromUtf8(reinterpret_cast<const char*>(xmlBufferContent(buffer)),
                                    xmlBufferLength(buffer));
    xmlBufferFree(buffer);
    return out;
}

QByteArray CheckedName(const QString& name) {
    QByteArray utf8 = name.toUtf8();
    if (name.isEmpty() || xmlValidateQName(X(utf8), 0) != 0) {
        Fail(QStringLiteral("'%1' is not a valid XML name").arg(name));
    }
    return utf8;
}

xmlAttrPtr FindAttribute(xmlNodePtr element, const QString& name) {
    const QByteArray wanted = name.toUtf8();
    for (xmlAttrPtr attribute = element->properties; attribute; attribute = attribute->next) {
        if (QualifiedNameUtf8(reinterpret_cast<xmlNodePtr>(attribute)) == wanted) {
            return attribute;
        }
    }
    return nullptr;
}

// libxml2 keeps namespace declarations apart from attributes; getAttribute("xmlns:p") still
// finds them.
const xmlNs* FindDeclaration(xmlNodePtr element, const QString& name) {
    const bool isDefault = name == QLatin1String("xmlns");
    if (!isDefault && !name.startsWith(QLatin1String("xmlns:"))) {
        return nullptr;
    }
    const QByteArray prefix = name.mid(6).toUtf8();
    for (const xmlNs* ns = element->nsDef; ns; ns = ns->next) {
        if (isDefault ? !ns->prefix : xmlStrEqual(ns->prefix, X(prefix))) {
            return ns;
        }
    }
    return nullptr;
}

std::vector<xmlNodePtr> ElementsNamed(xmlNodePtr top, const QString& name) {
    const bool all = name == QLatin1String("*");
    const QByteArray wanted = name.toUtf8();
    std::vector<xmlNodePtr> found;
    for (xmlNodePtr node = FirstElementChild(top); node; node = NextElement(node, top)) {
        if (all || QualifiedNameUtf8(node) == wanted) {
            found.push_back(node);
        }
    }
    return found;
}

bool IsReservedPrefix(const QByteArray& prefix) {
    return prefix == "xml" || prefix == "xmlns";
}

// Comments and processing instructions cannot hold every text and still serialise.
void CheckCommentText(const QByteArray& text) {
    if (text.contains("--") || text.endsWith('-')) {
        Fail(QStringLiteral("a comment cannot contain '--' or end with '-'"));
    }
}

void CheckInstructionData(const QByteArray& text) {
    if (text.contains("?>")) {
        Fail(QStringLiteral("a processing instruction cannot contain '?>'"));
    }
}

// Nodes that XPath may reach but a script must not hold: namespace nodes (copies that die with
// the result), declarations inside the DTD and the parsed content of entities.
bool Exposable(xmlNodePtr node) {
    switch (node->type) {
        case XML_DOCUMENT_NODE:
            return true;
        case XML_DTD_NODE:
            return node->parent && node->parent->type == XML_DOCUMENT_NODE;
        case XML_ELEMENT_NODE:
        case XML_ATTRIBUTE_NODE:
        case XML_TEXT_NODE:
        case XML_CDATA_SECTION_NODE:
        case XML_ENTITY_REF_NODE:
        case XML_PI_NODE:
        case XML_COMMENT_NODE:
            break;
        default:
            return false;
    }
    for (xmlNodePtr up = node->parent; up; up = up->parent) {
        if (up->type == XML_DOCUMENT_NODE) {
            return true;
        }
        if (up->type != XML_ELEMENT_NODE) {
            return false;
        }
    }
    return true;
}

// libxml2 hands the XPath error handler a code and the offset, not a message.
void CollectXPathError(void* userData, xmlErrorPtr error) {
    auto* message = static_cast<QString*>(userData);
    if (!message->isEmpty() || !error) {
        return;
    }
    static const QHash<int, const char*> texts{
        {XPATH_EXPR_ERROR, "invalid expression"},
        {XPATH_UNCLOSED_ERROR, "unfinished literal"},
        {XPATH_START_LITERAL_ERROR, "a literal must start here"},
        {XPATH_VARIABLE_REF_ERROR, "'$' must start a variable reference"},
        {XPATH_UNDEF_VARIABLE_ERROR, "undefined variable"},
        {XPATH_INVALID_PREDICATE_ERROR, "invalid predicate"},
        {XPATH_INVALID_TYPE, "wrong type of value"},
        {XPATH_INVALID_ARITY, "wrong number of arguments for the function"},
        {XPATH_INVALID_OPERAND, "invalid operand"},
        {XPATH_UNKNOWN_FUNC_ERROR, "unknown function"},
        {XPATH_UNDEF_PREFIX_ERROR, "undefined namespace prefix"},
        {XPATH_NUMBER_ERROR, "invalid number"},
        {XPATH_MEMORY_ERROR, "out of memory"},
        {XPATH_INVALID_CHAR_ERROR, "invalid character"},
        {XPATH_ENCODING_ERROR, "invalid encoding"},
        {XPATH_RECURSION_LIMIT_EXCEEDED, "the expression is nested too deeply"},
    };
    const char* text = texts.value(error->code - XML_XPATH_EXPRESSION_OK, nullptr);
    *message = text             ? QString::fromLatin1(text)
               : error->message ? QString::fromUtf8(error->message).trimmed()
                                : QStringLiteral("error %1").arg(error->code);
    *message += QStringLiteral(" at character %1").arg(error->int1 + 1);
}

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

}  // namespace

// The state that every object of one document shares; see the comment at the top of the file.
class CDomContext : public std::enable_shared_from_this<CDomContext> {
public:
    CDomContext(xmlDocPtr doc, bool ownsDoc) : m_doc(doc), m_ownsDoc(ownsDoc) {}
    ~CDomContext() { Release(); }
    CDomContext(const CDomContext&) = delete;
    CDomContext& operator=(const CDomContext&) = delete;

    bool IsLive() const { return !m_released; }
    void CheckLive() const {
        if (m_released) {
            throw CScriptError(err::kObjectNotSet,
                               QStringLiteral("the document is no longer available"));
        }
    }
    bool OwnsDoc() const { return m_ownsDoc; }
    xmlDocPtr Doc() const { return m_doc; }
    xmlNodePtr DocNode() const { return reinterpret_cast<xmlNodePtr>(m_doc); }
    void Release();

    // --- objects for the script
    void SetDocumentObject(const std::shared_ptr<CDomDocument>& document) {
        m_documentObject = document;
    }
    ObjectPtr Object(xmlNodePtr node);
    CVariant Value(xmlNodePtr node) { return CVariant(Object(node)); }
    CVariant StaticList(std::vector<xmlNodePtr> nodes);
    CVariant ChildList(xmlNodePtr parent);
    CVariant AttributeMap(xmlNodePtr element);

    // What a DOM object in `value` stands for; a null context when it is none.
    struct SRef {
        CDomContext* context = nullptr;
        xmlNodePtr node = nullptr;
    };
    static SRef RefOf(const CVariant& value);
    // The node in a member's argument, which must be a live node of this document.
    xmlNodePtr NodeArg(const CVariant& value, const QString& member) const;

    // --- changes
    xmlNodePtr CreateElement(const QString& qualifiedName, const QString& uri);
    xmlNodePtr CreateAttribute(const QString& qualifiedName, const QString& uri);
    // A node the script made: unattached until it is inserted.
    xmlNodePtr Adopt(xmlNodePtr made);
    void Insert(xmlNodePtr parent, xmlNodePtr node, xmlNodePtr before);
    void Replace(xmlNodePtr parent, xmlNodePtr node, xmlNodePtr old);
    void Remove(xmlNodePtr parent, xmlNodePtr child);
    void SetText(xmlNodePtr node, const QString& text);
    void SetValue(xmlNodePtr node, const QString& value);
    void SetAttribute(xmlNodePtr element, const QString& name, const QString& value);
    void RemoveAttribute(xmlAttrPtr attribute) { Detach(reinterpret_cast<xmlNodePtr>(attribute)); }
    xmlNodePtr Clone(xmlNodePtr node, bool deep);
    bool LoadXml(const QString& text, QString* error);

    // --- queries
    std::vector<xmlNodePtr> Select(xmlNodePtr context, const QString& expression);
    void SetSelectionNamespaces(QList<QPair<QString, QString>> pairs) {
        m_selectionNamespaces = std::move(pairs);
    }
    QString SelectionNamespacesText() const;

    CVariant InvokeDocument(const SCall& call);
    static std::shared_ptr<CDomDocument> MakeDocument(xmlDocPtr doc, bool ownsDoc);

private:
    // `before`: the node it will precede; `replaced`: the node it takes the place of.
    void CheckInsert(xmlNodePtr parent, xmlNodePtr node, xmlNodePtr before,
                     xmlNodePtr replaced) const;
    void Link(xmlNodePtr parent, xmlNodePtr node, xmlNodePtr before);
    void Detach(xmlNodePtr node);
    void SetAttributeValue(xmlAttrPtr attribute, const QByteArray& value);
    void DeclareNamespace(xmlNodePtr element, const QString& name, const QString& uri);
    xmlNsPtr InScope(xmlNodePtr node, const xmlChar* prefix) const;
    void FixNamespaces(xmlNodePtr root);
    void DropRedundantDeclarations(xmlNodePtr element);
    xmlNsPtr Bind(xmlNodePtr element, xmlNodePtr root, xmlNsPtr ns, bool forAttribute);
    xmlNsPtr Keep(xmlNsPtr ns) {
        m_keptNs.push_back(ns);
        return ns;
    }

    // Nothing a script unlinks is freed before the objects are released; a runaway handler that
    // keeps making nodes is stopped here instead of eating the memory.
    void CountMade() {
        constexpr std::size_t kMaxMade = 200'000;
        if (++m_made > kMaxMade) {
            throw CScriptError(err::kOutOfMemory,
                               QStringLiteral("Out of memory: the script made too many XML nodes"));
        }
    }

    xmlDocPtr m_doc;
    bool m_ownsDoc;
    bool m_released = false;
    std::size_t m_made = 0;
    std::unordered_set<xmlNodePtr> m_unattached;
    std::vector<xmlNsPtr> m_keptNs;
    std::weak_ptr<CDomDocument> m_documentObject;
    QList<QPair<QString, QString>> m_selectionNamespaces;
};

void CDomContext::Release() {
    if (m_released) {
        return;
    }
    m_released = true;
    // Before the document: freeing an ID attribute looks at the document's ID table.
    for (xmlNodePtr node : m_unattached) {
        xmlFreeNode(node);
    }
    m_unattached.clear();
    for (xmlNsPtr ns : m_keptNs) {
        xmlFreeNs(ns);
    }
    m_keptNs.clear();
    if (m_ownsDoc && m_doc) {
        xmlFreeDoc(m_doc);
    }
    m_doc = nullptr;
}

xmlNodePtr CDomContext::NodeArg(const CVariant& value, const QString& member) const {
    if (!value.IsObject() || value.IsNothing()) {
        throw CScriptError(err::kObjectRequired,
                           QStringLiteral("Object required: '%1' needs an XML node").arg(member));
    }
    const SRef ref = RefOf(value);
    if (!ref.context || !ref.context->IsLive()) {
        throw CScriptError(err::kTypeMismatch,
                           QStringLiteral("Type mismatch: '%1' needs a node of an available "
                                          "document, not %2")
                               .arg(member, value.AsObject()->TypeName()));
    }
    if (ref.context != this) {
        Fail(QStringLiteral("'%1': the node belongs to another document").arg(member));
    }
    return ref.node;
}

xmlNodePtr CDomContext::Adopt(xmlNodePtr made) {
    CountMade();
    m_unattached.insert(made);
    FixNamespaces(made);
    return made;
}

xmlNodePtr CDomContext::CreateElement(const QString& qualifiedName, const QString& uri) {
    const QByteArray name = CheckedName(qualifiedName);
    const qsizetype colon = name.indexOf(':');
    const QByteArray prefix = colon < 0 ? QByteArray() : name.left(colon);
    if (colon >= 0 && (uri.isEmpty() || IsReservedPrefix(prefix))) {
        Fail(QStringLiteral("the element '%1' needs a namespace URI for its prefix")
                 .arg(qualifiedName));
    }
    CountMade();
    xmlNodePtr element = Made(xmlNewDocNode(m_doc, nullptr, X(name.mid(colon + 1)), nullptr));
    m_unattached.insert(element);
    if (!uri.isEmpty()) {
        element->ns = Made(xmlNewNs(element, X(uri.toUtf8()), colon < 0 ? nullptr : X(prefix)));
    }
    return element;
}

xmlNodePtr CDomContext::CreateAttribute(const QString& qualifiedName, const QString& uri) {
    const QByteArray name = CheckedName(qualifiedName);
    const qsizetype colon = name.indexOf(':');
    const QByteArray prefix = colon < 0 ? QByteArray() : name.left(colon);
    if (name == "xmlns" || prefix == "xmlns") {
        Fail(QStringLiteral("namespace declarations are made with setAttribute, not as nodes"));
    }
    xmlNsPtr ns = nullptr;
    if (prefix == "xml") {
        ns = InScope(DocNode(), X(prefix));
    } else if (colon >= 0 || !uri.isEmpty()) {
        if (colon < 0 || uri.isEmpty()) {
            Fail(QStringLiteral("the attribute '%1' needs both a prefix and a namespace URI")
                     .arg(qualifiedName));
        }
        // Attributes carry no declarations; the context keeps this one.
        ns = Keep(Made(xmlNewNs(nullptr, X(uri.toUtf8()), X(prefix))));
    }
    CountMade();
    xmlAttrPtr attribute = Made(xmlNewDocProp(m_doc, X(name.mid(colon + 1)), nullptr));
    attribute->ns = ns;
    m_unattached.insert(reinterpret_cast<xmlNodePtr>(attribute));
    return reinterpret_cast<xmlNodePtr>(attribute);
}

void CDomContext::CheckInsert(xmlNodePtr parent, xmlNodePtr node, xmlNodePtr before,
                              xmlNodePtr replaced) const {
    if (!ShowsChildren(parent)) {
        Fail(QStringLiteral("a node of type %1 cannot have child nodes")
                 .arg(TypeNameOf(parent->type)));
    }
    const bool intoDocument = parent->type == XML_DOCUMENT_NODE;
    switch (node->type) {
        case XML_ELEMENT_NODE:
        case XML_COMMENT_NODE:
        case XML_PI_NODE:
            break;
        case XML_TEXT_NODE:
        case XML_CDATA_SECTION_NODE:
        case XML_ENTITY_REF_NODE:
            if (intoDocument) {
                Fail(QStringLiteral("text cannot stand at the top level of a document"));
            }
            break;
        case XML_DOCUMENT_NODE:
            Fail(QStringLiteral("a document cannot be inserted into a node"));
        case XML_ATTRIBUTE_NODE:
            Fail(QStringLiteral("an attribute is not a child node; use setAttribute"));
        case XML_DTD_NODE:
            Fail(QStringLiteral("the document type declaration cannot be moved"));
        default:
            Fail(
                QStringLiteral("a node of type %1 cannot be inserted").arg(TypeNameOf(node->type)));
    }
    if (intoDocument && node->type == XML_ELEMENT_NODE) {
        const xmlNodePtr root = xmlDocGetRootElement(m_doc);
        if (root && root != node && root != replaced) {
            Fail(QStringLiteral("the document already has a document element"));
        }
        // `before` is where the node goes: the document type declaration must stay ahead of it.
        for (xmlNodePtr sibling = before; sibling; sibling = sibling->next) {
            if (sibling->type == XML_DTD_NODE) {
                Fail(
                    QStringLiteral("the document element must follow the document type "
                                   "declaration"));
            }
        }
    }
    for (xmlNodePtr up = parent; up; up = up->parent) {
        if (up == node) {
            Fail(QStringLiteral("a node cannot be inserted into itself or its own descendant"));
        }
    }
    if (Depth(parent) + Height(node) > kMaxDepth) {
        Fail(QStringLiteral("the tree would be nested deeper than %1 elements").arg(kMaxDepth));
    }
    // A reference whose declaration went with an earlier DTD (loadXML) would not parse again.
    for (xmlNodePtr inner = node; inner; inner = NextInSubtree(inner, node)) {
        if (inner->type == XML_ENTITY_REF_NODE && !xmlGetDocEntity(m_doc, inner->name)) {
            Fail(QStringLiteral("the entity '%1' is not declared in this document")
                     .arg(Q(inner->name)));
        }
    }
}

// By hand: xmlAddChild and its siblings merge adjacent text nodes and free the one inserted.
void CDomContext::Link(xmlNodePtr parent, xmlNodePtr node, xmlNodePtr before) {
    xmlUnlinkNode(node);
    m_unattached.erase(node);
    node->parent = parent;
    node->next = before;
    node->prev = before ? before->prev : parent->last;
    if (node->prev) {
        node->prev->next = node;
    } else {
        parent->children = node;
    }
    if (before) {
        before->prev = node;
    } else {
        parent->last = node;
    }
    FixNamespaces(node);
    // Entity references read the declaration of the DTD they are in now.
    for (xmlNodePtr inner = node; inner; inner = NextInSubtree(inner, node)) {
        if (inner->type == XML_ENTITY_REF_NODE) {
            if (xmlEntityPtr entity = xmlGetDocEntity(m_doc, inner->name)) {
                inner->children = reinterpret_cast<xmlNodePtr>(entity);
                inner->last = inner->children;
            }
        }
    }
}

void CDomContext::Detach(xmlNodePtr node) {
    xmlUnlinkNode(node);
    m_unattached.insert(node);
    FixNamespaces(node);
}

void CDomContext::Insert(xmlNodePtr parent, xmlNodePtr node, xmlNodePtr before) {
    if (before && (before->parent != parent || before->type == XML_ATTRIBUTE_NODE)) {
        Fail(QStringLiteral("the reference node is not a child of this node"));
    }
    CheckInsert(parent, node, before, nullptr);
    if (node != before) {
        Link(parent, node, before);
    }
}

void CDomContext::Replace(xmlNodePtr parent, xmlNodePtr node, xmlNodePtr old) {
    if (old->parent != parent || old->type == XML_ATTRIBUTE_NODE) {
        Fail(QStringLiteral("the node to replace is not a child of this node"));
    }
    if (old->type == XML_DTD_NODE) {
        Fail(QStringLiteral("the document type declaration cannot be moved"));
    }
    CheckInsert(parent, node, old, old);
    if (node != old) {
        Link(parent, node, old);
        Detach(old);
    }
}

void CDomContext::Remove(xmlNodePtr parent, xmlNodePtr child) {
    if (child->parent != parent || child->type == XML_ATTRIBUTE_NODE) {
        Fail(QStringLiteral("the node to remove is not a child of this node"));
    }
    if (child->type == XML_DTD_NODE) {
        Fail(QStringLiteral("the document type declaration cannot be moved"));
    }
    Detach(child);
}

void CDomContext::SetText(xmlNodePtr node, const QString& text) {
    if (node->type != XML_ELEMENT_NODE) {
        SetValue(node, text);
        return;
    }
    const QByteArray utf8 = text.toUtf8();
    CountMade();
    xmlNodePtr replacement = utf8.isEmpty() ? nullptr : Made(xmlNewDocText(m_doc, X(utf8)));
    while (xmlNodePtr child = node->children) {
        Detach(child);
    }
    if (replacement) {
        Link(node, replacement, nullptr);
    }
}

void CDomContext::SetValue(xmlNodePtr node, const QString& value) {
    const QByteArray utf8 = value.toUtf8();
    switch (node->type) {
        case XML_ATTRIBUTE_NODE:
            SetAttributeValue(reinterpret_cast<xmlAttrPtr>(node), utf8);
            return;
        case XML_COMMENT_NODE:
            CheckCommentText(utf8);
            break;
        case XML_PI_NODE:
            CheckInstructionData(utf8);
            break;
        case XML_TEXT_NODE:
        case XML_CDATA_SECTION_NODE:
            break;
        default:
            Fail(QStringLiteral("the value of a node of type %1 cannot be set")
                     .arg(TypeNameOf(node->type)));
    }
    xmlNodeSetContent(node, X(utf8));
}

// The attribute keeps its identity; only its text child is new. An ID attribute moves to its
// new value in the document's ID table, which would otherwise point at a freed value.
void CDomContext::SetAttributeValue(xmlAttrPtr attribute, const QByteArray& value) {
    xmlNodePtr text = Made(xmlNewDocText(m_doc, X(value)));
    const bool isId = attribute->atype == XML_ATTRIBUTE_ID;
    if (isId) {
        xmlRemoveID(m_doc, attribute);
    }
    xmlFreeNodeList(attribute->children);
    attribute->children = text;
    attribute->last = text;
    text->parent = reinterpret_cast<xmlNodePtr>(attribute);
    if (isId && attribute->parent) {
        xmlAddID(nullptr, m_doc, X(value), attribute);
    }
}

void CDomContext::SetAttribute(xmlNodePtr element, const QString& name, const QString& value) {
    if (xmlAttrPtr existing = FindAttribute(element, name)) {
        SetAttributeValue(existing, value.toUtf8());
        return;
    }
    const QByteArray qualified = CheckedName(name);
    const qsizetype colon = qualified.indexOf(':');
    const QByteArray prefix = colon < 0 ? QByteArray() : qualified.left(colon);
    if (qualified == "xmlns" || prefix == "xmlns") {
        DeclareNamespace(element, name, value);
        return;
    }
    xmlNsPtr ns = nullptr;
    if (colon >= 0) {
        ns = InScope(element, X(prefix));
        if (!ns) {
            Fail(QStringLiteral("the prefix of '%1' is not declared here").arg(name));
        }
    }
    Made(xmlNewNsProp(element, ns, X(qualified.mid(colon + 1)), X(value.toUtf8())));
}

void CDomContext::DeclareNamespace(xmlNodePtr element, const QString& name, const QString& uri) {
    const QByteArray href = uri.toUtf8();
    if (name == QLatin1String("xmlns")) {
        // An element's default namespace follows from its name; another one would rename it.
        const bool own = element->ns && !element->ns->prefix;
        if (own ? SameHref(element->ns->href, X(href)) : href.isEmpty()) {
            return;
        }
        Fail(
            QStringLiteral("the default namespace of an element is set by creating it in that "
                           "namespace"));
    }
    const QByteArray prefix = name.mid(6).toUtf8();
    if (IsReservedPrefix(prefix) || href.isEmpty()) {
        Fail(QStringLiteral("'%1' cannot be declared as '%2'").arg(name, uri));
    }
    if (const xmlNs* declared = FindDeclaration(element, name)) {
        if (SameHref(declared->href, X(href))) {
            return;
        }
        Fail(QStringLiteral("the element already declares '%1' for another namespace").arg(name));
    }
    Made(xmlNewNs(element, X(href), X(prefix)));
    // Descendants that used the prefix for another namespace now need their own declaration.
    FixNamespaces(element);
}

// The declaration of `prefix` (null: the default namespace) in force at `node`.
xmlNsPtr CDomContext::InScope(xmlNodePtr node, const xmlChar* prefix) const {
    if (prefix && xmlStrEqual(prefix, X("xml"))) {
        return xmlSearchNs(m_doc, DocNode(), prefix);
    }
    for (; IsElement(node); node = node->parent) {
        for (xmlNsPtr ns = node->nsDef; ns; ns = ns->next) {
            if (xmlStrEqual(ns->prefix, prefix)) {
                return ns;
            }
        }
    }
    return nullptr;
}

// After a subtree moved (in, out, or created): declarations that are already in force where
// they stand are dropped, and every name is bound to a declaration in force where it stands, so
// that the markup means what the tree says. A name without a namespace under a default
// namespace gets xmlns="". Elements come in document order, so an element's ancestors are
// settled before it.
void CDomContext::FixNamespaces(xmlNodePtr root) {
    if (!IsElement(root)) {
        return;
    }
    for (xmlNodePtr element = root; element; element = NextElement(element, root)) {
        DropRedundantDeclarations(element);
        if (element->ns) {
            element->ns = Bind(element, root, element->ns, false);
        } else if (const xmlNs* inherited = InScope(element, nullptr);
                   inherited && !IsEmpty(inherited->href)) {
            xmlNewNs(element, X(""), nullptr);
        }
        for (xmlAttrPtr attribute = element->properties; attribute; attribute = attribute->next) {
            if (attribute->ns) {
                attribute->ns = Bind(element, root, attribute->ns, true);
            }
        }
    }
}

// A dropped declaration is kept, not freed: names that used it are rebound by the caller, but
// a node elsewhere might still point at it.
void CDomContext::DropRedundantDeclarations(xmlNodePtr element) {
    const xmlNodePtr outer = IsElement(element->parent) ? element->parent : nullptr;
    for (xmlNsPtr* link = &element->nsDef; *link;) {
        xmlNsPtr ns = *link;
        const xmlNs* there = outer ? InScope(outer, ns->prefix) : nullptr;
        const bool redundant =
            there ? SameHref(there->href, ns->href) : !ns->prefix && IsEmpty(ns->href);
        if (redundant) {
            *link = ns->next;
            ns->next = nullptr;
            Keep(ns);
        } else {
            link = &ns->next;
        }
    }
}

xmlNsPtr CDomContext::Bind(xmlNodePtr element, xmlNodePtr root, xmlNsPtr ns, bool forAttribute) {
    // Attributes never take the default namespace.
    const bool usable = !forAttribute || !IsEmpty(ns->prefix);
    xmlNsPtr found = InScope(element, ns->prefix);
    if (usable && found && (found == ns || SameHref(found->href, ns->href))) {
        return found;
    }
    if (usable && !found && ns->prefix) {
        // Unbound all the way up, so declaring it at the root rebinds nothing already bound.
        if (xmlNsPtr made = xmlNewNs(root, ns->href, ns->prefix)) {
            return made;
        }
    } else if (usable && !forAttribute) {
        // On the element itself: its ancestors keep what their names mean.
        if (xmlNsPtr made = xmlNewNs(element, ns->href, ns->prefix)) {
            return made;
        }
    }
    for (int i = 1;; ++i) {
        const QByteArray prefix = "ns" + QByteArray::number(i);
        if (!InScope(element, X(prefix))) {
            return Made(xmlNewNs(element, ns->href, X(prefix)));
        }
    }
}

xmlNodePtr CDomContext::Clone(xmlNodePtr node, bool deep) {
    if (node->type == XML_DTD_NODE || node->type == XML_DOCUMENT_NODE) {
        Fail(QStringLiteral("a node of type %1 cannot be cloned here").arg(TypeNameOf(node->type)));
    }
    if (node->type == XML_ATTRIBUTE_NODE) {
        // Not through xmlNewDocProp's value, which would read "&x;" in it as a reference.
        xmlAttrPtr copy = Made(xmlNewDocProp(m_doc, node->name, nullptr));
        copy->ns = node->ns;  // alive as long as this context: nothing frees it earlier
        Adopt(reinterpret_cast<xmlNodePtr>(copy));
        SetAttributeValue(copy, TextOf(node).toUtf8());
        return reinterpret_cast<xmlNodePtr>(copy);
    }
    return Adopt(Made(xmlDocCopyNode(node, m_doc, deep ? 1 : 2)));
}

// The old content stays alive (objects may hold it) as unattached subtrees. The new content is
// copied in, so that its strings belong to this document's dictionary.
bool CDomContext::LoadXml(const QString& text, QString* error) {
    xmlDocPtr fresh = ParseXml(text.toUtf8(), "UTF-8", error);
    if (!fresh) {
        return false;
    }
    while (xmlNodePtr child = m_doc->children) {
        if (child->type == XML_DTD_NODE) {
            xmlUnlinkNode(child);
            m_unattached.insert(child);
        } else {
            Detach(child);
        }
    }
    for (xmlNodePtr child = fresh->children; child; child = child->next) {
        const bool isDtd = child->type == XML_DTD_NODE;
        if (isDtd &&
            (m_doc->intSubset || child != reinterpret_cast<xmlNodePtr>(fresh->intSubset))) {
            continue;
        }
        // The DTD comes before the elements, so their entity references find its copy.
        xmlNodePtr copy = isDtd ? reinterpret_cast<xmlNodePtr>(xmlCopyDtd(fresh->intSubset))
                                : xmlDocCopyNode(child, m_doc, 1);
        if (!copy) {
            xmlFreeDoc(fresh);
            throw CScriptError(err::kOutOfMemory);
        }
        copy->doc = m_doc;
        Link(DocNode(), copy, nullptr);
        if (isDtd) {
            m_doc->intSubset = reinterpret_cast<xmlDtdPtr>(copy);  // Link's unlink cleared it
        }
    }
    xmlFreeDoc(fresh);
    return true;
}

std::vector<xmlNodePtr> CDomContext::Select(xmlNodePtr context, const QString& expression) {
    const QByteArray text = expression.toUtf8();
    CLibxmlGuard guard;
    xmlXPathContextPtr xpath = Made(xmlXPathNewContext(m_doc));
    std::unique_ptr<xmlXPathContext, decltype(&xmlXPathFreeContext)> owner(xpath,
                                                                           xmlXPathFreeContext);
    xpath->node = context;
    for (const auto& [prefix, uri] : m_selectionNamespaces) {
        if (!prefix.isEmpty()) {
            xmlXPathRegisterNs(xpath, X(prefix.toUtf8()), X(uri.toUtf8()));
        }
    }
    QString message;
    xpath->userData = &message;
    xpath->error = CollectXPathError;
    xmlXPathObjectPtr result = xmlXPathEval(X(text), xpath);
    if (!result) {
        Fail(QStringLiteral("the XPath expression '%1' is not valid: %2")
                 .arg(expression, message.isEmpty() ? QStringLiteral("error") : message));
    }
    std::unique_ptr<xmlXPathObject, decltype(&xmlXPathFreeObject)> resultOwner(result,
                                                                               xmlXPathFreeObject);
    if (result->type != XPATH_NODESET) {
        throw CScriptError(
            err::kTypeMismatch,
            QStringLiteral("the XPath expression '%1' does not select nodes").arg(expression));
    }
    std::vector<xmlNodePtr> nodes;
    if (const xmlNodeSet* set = result->nodesetval) {
        nodes.reserve(static_cast<std::size_t>(set->nodeNr));
        for (int i = 0; i < set->nodeNr; ++i) {
            if (Exposable(set->nodeTab[i])) {
                nodes.push_back(set->nodeTab[i]);
            }
        }
    }
    return nodes;
}

QString CDomContext::SelectionNamespacesText() const {
    QStringList parts;
    for (const auto& [prefix, uri] : m_selectionNamespaces) {
        const QChar quote = uri.contains(u'\'') ? u'"' : u'\'';
        parts << QStringLiteral("xmlns%1=%2%3%2")
                     .arg(prefix.isEmpty() ? QString() : u':' + prefix, quote, uri);
    }
    return parts.join(u' ');
}

// --- members -----------------------------------------------------------------------------------

namespace {

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

}  // namespace

// A node of the document other than the document itself.
class CDomNode final : public IScriptObject {
public:
    CDomNode(std::shared_ptr<CDomContext> context, xmlNodePtr node)
        : m_context(std::move(context)), m_node(node), m_type(node->type) {}

    QString TypeName() const override { return TypeNameOf(m_type); }
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
                                           : FirstChild(m_owner);
    }
    std::int32_t Count() const;
    xmlNodePtr At(std::int64_t index) const;

    std::shared_ptr<CDomContext> m_context;
    EKind m_kind;
    xmlNodePtr m_owner;
    std::vector<xmlNodePtr> m_nodes;
    std::int64_t m_cursor = 0;  // for nextNode
};

CDomContext::SRef CDomContext::RefOf(const CVariant& value) {
    if (!value.IsObject() || !value.AsObject()) {
        return {};
    }
    IScriptObject* object = value.AsObject().get();
    if (const auto* node = dynamic_cast<const CDomNode*>(object)) {
        return {node->Context(), node->Node()};
    }
    if (const auto* document = dynamic_cast<const CDomDocument*>(object)) {
        CDomContext* context = document->m_context.get();
        return {context, context ? context->DocNode() : nullptr};
    }
    return {};
}

ObjectPtr CDomContext::Object(xmlNodePtr node) {
    if (!node) {
        return nullptr;
    }
    if (node == DocNode()) {
        if (std::shared_ptr<CDomDocument> document = m_documentObject.lock()) {
            return document;
        }
        std::shared_ptr<CDomDocument> document(new CDomDocument());
        document->m_context = shared_from_this();
        document->m_identity = m_doc;
        m_documentObject = document;
        return document;
    }
    return std::make_shared<CDomNode>(shared_from_this(), node);
}

CVariant CDomContext::StaticList(std::vector<xmlNodePtr> nodes) {
    return CVariant(std::make_shared<CDomNodeList>(
        shared_from_this(), CDomNodeList::EKind::Snapshot, nullptr, std::move(nodes)));
}

CVariant CDomContext::ChildList(xmlNodePtr parent) {
    return CVariant(
        std::make_shared<CDomNodeList>(shared_from_this(), CDomNodeList::EKind::Children, parent));
}

CVariant CDomContext::AttributeMap(xmlNodePtr element) {
    return CVariant(std::make_shared<CDomNodeList>(shared_from_this(),
                                                   CDomNodeList::EKind::Attributes, element));
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

namespace {

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

QByteArray CheckedTarget(const QString& target) {
    const QByteArray utf8 = target.toUtf8();
    if (xmlValidateNCName(X(utf8), 0) != 0 ||
        target.compare(QLatin1String("xml"), Qt::CaseInsensitive) == 0) {
        Fail(QStringLiteral("'%1' is not a valid processing instruction target").arg(target));
    }
    return utf8;
}

}  // namespace

// The document's own members; the rest are those of a node.
CVariant CDomContext::InvokeDocument(const SCall& call) {
    const std::optional<EMember> member = FindMember(call.name);
    const std::span<const CVariant> args = call.args;
    switch (member.value_or(EMember::Default)) {
        case EMember::DocumentElement:
            return Read(call, Value(xmlDocGetRootElement(m_doc)));
        case EMember::CreateElement:
            MethodArgs(call, 1, 1);
            return Value(CreateElement(args[0].ToString(), QString()));
        case EMember::CreateNode: {
            MethodArgs(call, 2, 3);
            const int type = NodeTypeArg(args[0]);
            const QString name = args[1].ToString();
            const QString uri = args.size() > 2 ? args[2].ToString() : QString();
            switch (type) {
                case XML_ELEMENT_NODE:
                    return Value(CreateElement(name, uri));
                case XML_ATTRIBUTE_NODE:
                    return Value(CreateAttribute(name, uri));
                case XML_TEXT_NODE:
                    return Value(Adopt(Made(xmlNewDocText(m_doc, X("")))));
                case XML_CDATA_SECTION_NODE:
                    return Value(Adopt(Made(xmlNewCDataBlock(m_doc, X(""), 0))));
                case XML_COMMENT_NODE:
                    return Value(Adopt(Made(xmlNewDocComment(m_doc, X("")))));
                case XML_PI_NODE:
                    return Value(Adopt(Made(xmlNewDocPI(m_doc, X(CheckedTarget(name)), nullptr))));
                default:
                    Fail(QStringLiteral("createNode cannot make nodes of type %1").arg(type));
            }
        }
        case EMember::CreateAttribute:
            MethodArgs(call, 1, 1);
            return Value(CreateAttribute(args[0].ToString(), QString()));
        case EMember::CreateTextNode:
            MethodArgs(call, 1, 1);
            return Value(Adopt(Made(xmlNewDocText(m_doc, X(args[0].ToString().toUtf8())))));
        case EMember::CreateComment: {
            MethodArgs(call, 1, 1);
            const QByteArray text = args[0].ToString().toUtf8();
            CheckCommentText(text);
            return Value(Adopt(Made(xmlNewDocComment(m_doc, X(text)))));
        }
        case EMember::CreateCDATASection: {
            MethodArgs(call, 1, 1);
            const QByteArray text = args[0].ToString().toUtf8();
            return Value(
                Adopt(Made(xmlNewCDataBlock(m_doc, X(text), static_cast<int>(text.size())))));
        }
        case EMember::CreateProcessingInstruction: {
            MethodArgs(call, 2, 2);
            const QByteArray target = CheckedTarget(args[0].ToString());
            const QByteArray data = args[1].ToString().toUtf8();
            CheckInstructionData(data);
            return Value(Adopt(Made(xmlNewDocPI(m_doc, X(target), X(data)))));
        }
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
                SetSelectionNamespaces(std::move(*pairs));
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
                return CVariant(SelectionNamespacesText());
            }
            if (property.compare(QLatin1String("SelectionLanguage"), Qt::CaseInsensitive) == 0) {
                return CVariant(QStringLiteral("XPath"));
            }
            Fail(QStringLiteral("unknown document property '%1'").arg(property));
        }
        case EMember::LoadXML: {
            MethodArgs(call, 1, 1);
            QString error;
            return CVariant(LoadXml(args[0].ToString(), &error));
        }
        case EMember::CloneNode: {
            MethodArgs(call, 1, 1);
            xmlDocPtr copy = Made(xmlCopyDoc(m_doc, args[0].ToBool() ? 1 : 0));
            std::shared_ptr<CDomDocument> document = MakeDocument(copy, true);
            document->m_context->SetSelectionNamespaces(m_selectionNamespaces);
            return CVariant(ObjectPtr(std::move(document)));
        }
        default:
            return InvokeNode(*this, DocNode(), call);
    }
}

std::shared_ptr<CDomDocument> CDomContext::MakeDocument(xmlDocPtr doc, bool ownsDoc) {
    auto context = std::make_shared<CDomContext>(doc, ownsDoc);
    std::shared_ptr<CDomDocument> document(new CDomDocument());
    document->m_context = context;
    document->m_first = true;
    document->m_identity = doc;
    context->SetDocumentObject(document);
    return document;
}

CVariant CDomNode::Invoke(const QString& name, std::span<const CVariant> args, InvokeKind kind) {
    m_context->CheckLive();
    return InvokeNode(*m_context, m_node, SCall{name, args, kind});
}

// --- the document ------------------------------------------------------------------------------

CDomDocument::CDomDocument() = default;

CDomDocument::~CDomDocument() {
    if (m_first && m_context && !m_context->OwnsDoc()) {
        m_context->Release();
    }
}

std::shared_ptr<CDomDocument> CDomDocument::Wrap(_xmlDoc* doc) {
    return doc ? CDomContext::MakeDocument(doc, false) : nullptr;
}

std::shared_ptr<CDomDocument> CDomDocument::Parse(const QByteArray& xml, QString* error) {
    QString ignored;
    xmlDocPtr doc = ParseXml(xml, nullptr, error ? error : &ignored);
    return doc ? CDomContext::MakeDocument(doc, true) : nullptr;
}

_xmlDoc* CDomDocument::Doc() const {
    return m_context->Doc();
}

void CDomDocument::SetSelectionNamespaces(const QList<QPair<QString, QString>>& prefixToUri) {
    m_context->SetSelectionNamespaces(prefixToUri);
}

ObjectPtr CDomDocument::NodeObject(_xmlNode* node) {
    return m_context->Object(node);
}

void CDomDocument::Release() {
    m_context->Release();
}

QString CDomDocument::TypeName() const {
    return QStringLiteral("DOMDocument");
}

CVariant CDomDocument::Invoke(const QString& name, std::span<const CVariant> args,
                              InvokeKind kind) {
    m_context->CheckLive();
    return m_context->InvokeDocument(SCall{name, args, kind});
}

const void* CDomDocument::Identity() const {
    return m_identity;
}

_xmlNode* NodeOf(const CVariant& value) {
    const CDomContext::SRef ref = CDomContext::RefOf(value);
    return ref.context && ref.context->IsLive() ? ref.node : nullptr;
}

}  // namespace vbs
