#pragma once

// The XML objects a script sees, over libxml2, with the member names scripts are written
// against (selectSingleNode, getAttribute, appendChild, childNodes, text, xml, ...).

#include <memory>

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

#include "platform/script/object.h"
#include "platform/script/value.h"

struct _xmlDoc;
struct _xmlNode;

namespace vbs {

class CDomContext;

// A document as a script object. It is also the context that every node object of the document
// shares: node identity, the selection namespaces for XPath, and the nodes a script has unlinked
// or created but not inserted (freed with the context, never while a script can reach them).
class CDomDocument : public IScriptObject {
public:
    // Wraps a document that the caller owns and frees; call Release() before freeing it.
    static std::shared_ptr<CDomDocument> Wrap(_xmlDoc* doc);
    // Parses XML text into a document that the object owns, through the program's one parser
    // (see CXmlParser; a DOCTYPE is kept, inert). Null, with `error` set to
    // "line:column: message", when it is not XML or the parser refuses it.
    static std::shared_ptr<CDomDocument> Parse(const QByteArray& xml, QString* error);

    ~CDomDocument() override;

    _xmlDoc* Doc() const;
    // Prefix -> namespace URI pairs that XPath queries may use ("dfns" -> the profile URI), as
    // setProperty("SelectionNamespaces", "xmlns:dfns='...'") sets them from a script.
    void SetSelectionNamespaces(const QList<QPair<QString, QString>>& prefixToUri);
    // The script object of a node of this document; the same node always gives an object with
    // the same Identity().
    ObjectPtr NodeObject(_xmlNode* node);
    // Ends every object of this document: their members raise a run-time error from now on, and
    // the unlinked nodes are freed. Called by an owner before it frees a wrapped document.
    void Release();

    QString TypeName() const override;
    CVariant Invoke(const QString& name, std::span<const CVariant> args, InvokeKind kind) override;
    const void* Identity() const override;

private:
    // The context hands out further objects for the document node (ownerDocument, parentNode).
    friend class CDomContext;

    CDomDocument();
    std::shared_ptr<CDomContext> m_context;
    // The object Wrap() or Parse() returned; for a wrapped document its end releases the
    // context, since nobody can call Release() through it afterwards.
    bool m_first = false;
    const void* m_identity = nullptr;  // the document's address, kept for after Release()
};

// The libxml2 node behind a DOM object in `value`; null when `value` holds no live DOM node.
_xmlNode* NodeOf(const CVariant& value);

}  // namespace vbs
