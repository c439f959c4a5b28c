#include "platform/script/dom.h"

#include "platform/script/dom_context.h"
#include "platform/script/dom_members.h"

namespace vbs {

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
    CXmlParser::DocPtr doc = ParseDocument(xml, CXmlParser::EInput::Bytes, error);
    return doc ? CDomContext::MakeDocument(doc.release(), true) : nullptr;
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
    return InvokeDocument(*m_context, name, args, kind);
}

const void* CDomDocument::Identity() const {
    return m_identity;
}

_xmlNode* NodeOf(const CVariant& value) {
    const CDomContext::SRef ref = CDomContext::RefOf(value);
    return ref.context && ref.context->IsLive() ? ref.node : nullptr;
}

}  // namespace vbs
