#include "platform/script/dom_context.h"

#include <memory>
#include <span>

#include <QHash>
#include <QStringList>
#include <libxml/entities.h>
#include <libxml/parser.h>
#include <libxml/valid.h>
#include <libxml/xpath.h>
#include <libxml/xpathInternals.h>

#include "platform/script/dom_members.h"
#include "platform/script/dom_tree.h"
#include "platform/xml/libxml_guard.h"

namespace vbs {

using namespace dom;

namespace {

constexpr int kMaxDepth = 256;

QByteArray CheckedName(const QString& name) {
    QByteArray utf8 = name.toUtf8();
    if (name.isEmpty() || xmlValidateQName(X(utf8), 0) != 0) {
        Fail(QStringLiteral("'%1' is not a valid XML name").arg(name));
    }
    return utf8;
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

QByteArray CheckedTarget(const QString& target) {
    const QByteArray utf8 = target.toUtf8();
    if (xmlValidateNCName(X(utf8), 0) != 0 ||
        target.compare(QLatin1String("xml"), Qt::CaseInsensitive) == 0) {
        Fail(QStringLiteral("'%1' is not a valid processing instruction target").arg(target));
    }
    return utf8;
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

}  // namespace

CXmlParser::DocPtr ParseDocument(const QByteArray& text, CXmlParser::EInput input, QString* error) {
    CXmlParser::SError failure;
    CXmlParser::DocPtr doc =
        CXmlParser::Parse(text, QString(), input, CXmlParser::EDoctype::KeepInert, &failure);
    if (!doc && error) {
        *error =
            QStringLiteral("%1:%2: %3").arg(failure.line).arg(failure.column).arg(failure.reason);
    }
    return doc;
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

xmlNodePtr CDomContext::CreateText(const QString& text) {
    return Adopt(Made(xmlNewDocText(m_doc, X(text.toUtf8()))));
}

xmlNodePtr CDomContext::CreateCData(const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    return Adopt(Made(xmlNewCDataBlock(m_doc, X(utf8), static_cast<int>(utf8.size()))));
}

xmlNodePtr CDomContext::CreateComment(const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    CheckCommentText(utf8);
    return Adopt(Made(xmlNewDocComment(m_doc, X(utf8))));
}

xmlNodePtr CDomContext::CreateInstruction(const QString& target, const CVariant* data) {
    const QByteArray name = CheckedTarget(target);
    if (!data) {
        return Adopt(Made(xmlNewDocPI(m_doc, X(name), nullptr)));
    }
    const QByteArray content = data->ToString().toUtf8();
    CheckInstructionData(content);
    return Adopt(Made(xmlNewDocPI(m_doc, X(name), X(content))));
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

std::shared_ptr<CDomDocument> CDomContext::CloneDocument(bool deep) {
    xmlDocPtr copy = Made(xmlCopyDoc(m_doc, deep ? 1 : 0));
    std::shared_ptr<CDomDocument> document = MakeDocument(copy, true);
    document->SetSelectionNamespaces(m_selectionNamespaces);
    return document;
}

// The old content stays alive (objects may hold it) as unattached subtrees. The new content is
// copied in, so that its strings belong to this document's dictionary.
bool CDomContext::LoadXml(const QString& text, QString* error) {
    const CXmlParser::DocPtr parsed =
        ParseDocument(text.toUtf8(), CXmlParser::EInput::DecodedUtf8, error);
    if (!parsed) {
        return false;
    }
    xmlDocPtr fresh = parsed.get();
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
            throw CScriptError(err::kOutOfMemory);
        }
        copy->doc = m_doc;
        Link(DocNode(), copy, nullptr);
        if (isDtd) {
            m_doc->intSubset = reinterpret_cast<xmlDtdPtr>(copy);  // Link's unlink cleared it
        }
    }
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

}  // namespace vbs
