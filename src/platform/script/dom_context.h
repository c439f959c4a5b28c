#pragma once

// The context that every object of one document shares: it owns the nodes a script may still
// reach outside the tree, makes every change to the tree, and answers queries. Internal to the
// DOM; scripts reach it through dom.h.
//
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

#include <cstddef>
#include <memory>
#include <unordered_set>
#include <vector>

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <libxml/tree.h>

#include "platform/script/dom.h"
#include "platform/script/errors.h"
#include "platform/script/object.h"
#include "platform/script/value.h"
#include "platform/xml/xml_parser.h"

namespace vbs {

class CDomContext : public std::enable_shared_from_this<CDomContext> {
public:
    CDomContext(xmlDocPtr doc, bool ownsDoc) : m_doc(doc), m_ownsDoc(ownsDoc) {}
    ~CDomContext() { Release(); }
    CDomContext(const CDomContext&) = delete;
    CDomContext& operator=(const CDomContext&) = delete;

    // A new context for `doc` and its first document object.
    static std::shared_ptr<CDomDocument> MakeDocument(xmlDocPtr doc, bool ownsDoc);

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

    // --- new nodes: unattached until they are inserted
    xmlNodePtr CreateElement(const QString& qualifiedName, const QString& uri);
    xmlNodePtr CreateAttribute(const QString& qualifiedName, const QString& uri);
    xmlNodePtr CreateText(const QString& text);
    xmlNodePtr CreateCData(const QString& text);
    xmlNodePtr CreateComment(const QString& text);
    // `data` is read only once the target is known to be good; without it the instruction has
    // no content at all, not an empty one.
    xmlNodePtr CreateInstruction(const QString& target, const CVariant* data);
    xmlNodePtr Clone(xmlNodePtr node, bool deep);
    // A document of its own, with the same selection namespaces.
    std::shared_ptr<CDomDocument> CloneDocument(bool deep);

    // --- changes
    void Insert(xmlNodePtr parent, xmlNodePtr node, xmlNodePtr before);
    void Replace(xmlNodePtr parent, xmlNodePtr node, xmlNodePtr old);
    void Remove(xmlNodePtr parent, xmlNodePtr child);
    void SetText(xmlNodePtr node, const QString& text);
    void SetValue(xmlNodePtr node, const QString& value);
    void SetAttribute(xmlNodePtr element, const QString& name, const QString& value);
    void RemoveAttribute(xmlAttrPtr attribute) { Detach(reinterpret_cast<xmlNodePtr>(attribute)); }
    // Replaces the content with the document in `text`; false, with `error` set to
    // "line:column: reason" and nothing changed, when the text is refused.
    bool LoadXml(const QString& text, QString* error);

    // --- queries
    std::vector<xmlNodePtr> Select(xmlNodePtr context, const QString& expression);
    const QList<QPair<QString, QString>>& SelectionNamespaces() const {
        return m_selectionNamespaces;
    }
    void SetSelectionNamespaces(QList<QPair<QString, QString>> pairs) {
        m_selectionNamespaces = std::move(pairs);
    }
    QString SelectionNamespacesText() const;

private:
    // A node the script made: unattached until it is inserted.
    xmlNodePtr Adopt(xmlNodePtr made);
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

// Every text the DOM reads goes through the program's one parser, with a DOCTYPE kept inert.
// Null, with `error` set to "line:column: reason", when the text is refused.
CXmlParser::DocPtr ParseDocument(const QByteArray& text, CXmlParser::EInput input, QString* error);

}  // namespace vbs
