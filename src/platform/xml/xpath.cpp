#include "platform/xml/xpath.h"

#include <QStringList>
#include <libxml/xmlerror.h>
#include <libxml/xpathInternals.h>

#include "platform/xml/namespaces.h"
#include "platform/xml/xml_document.h"

namespace {

const xmlChar* X(const char* text) {
    return reinterpret_cast<const xmlChar*>(text);
}

void IgnoreGenericError(void* /*context*/, const char* /*format*/, ...) {}

struct SXPathError {
    bool set = false;
    QString message;
    int offset = 0;
};

void KeepFirstXPathError(void* context, xmlErrorPtr error) {
    auto* first = static_cast<SXPathError*>(context);
    if (!first || !error || first->set) {
        return;
    }
    first->set = true;
    first->message = QString::fromUtf8(error->message ? error->message : "").trimmed();
    first->offset = error->int1;
}

// libxml2 prints evaluation errors unless a handler takes them; its error handlers are per
// thread, so swapping them here disturbs no other thread. The context's own error hook is not
// used because libxml2 then leaves the message text out of the error.
class CCollectXPathErrors {
public:
    explicit CCollectXPathErrors(SXPathError* first)
        : m_genericFunc(xmlGenericError),
          m_genericContext(xmlGenericErrorContext),
          m_structuredFunc(xmlStructuredError),
          m_structuredContext(xmlStructuredErrorContext) {
        xmlSetGenericErrorFunc(nullptr, IgnoreGenericError);
        xmlSetStructuredErrorFunc(first, KeepFirstXPathError);
    }
    ~CCollectXPathErrors() {
        xmlSetStructuredErrorFunc(m_structuredContext, m_structuredFunc);
        xmlSetGenericErrorFunc(m_genericContext, m_genericFunc);
    }
    CCollectXPathErrors(const CCollectXPathErrors&) = delete;
    CCollectXPathErrors& operator=(const CCollectXPathErrors&) = delete;

private:
    xmlGenericErrorFunc m_genericFunc;
    void* m_genericContext;
    xmlStructuredErrorFunc m_structuredFunc;
    void* m_structuredContext;
};

const char* TypeName(xmlXPathObjectType type) {
    switch (type) {
        case XPATH_NODESET:
            return "a node-set";
        case XPATH_BOOLEAN:
            return "a boolean";
        case XPATH_NUMBER:
            return "a number";
        case XPATH_STRING:
            return "a string";
        default:
            return "an unsupported type";
    }
}

}  // namespace

CXPathContext::CXPathContext(const CXmlDocument& document, int messageId)
    : CXPathContext(document.Get(), messageId) {}

CXPathContext::CXPathContext(xmlDocPtr document, int messageId)
    : m_doc(document), m_messageId(messageId) {
    if (!m_doc) {
        throw CVeskCPSException(m_messageId, QStringLiteral("CXPathContext::CXPathContext"),
                                QStringLiteral("there is no document to query"));
    }
    m_context.reset(xmlXPathNewContext(m_doc));
    if (!m_context) {
        throw CVeskCPSException(m_messageId, QStringLiteral("CXPathContext::CXPathContext"),
                                QStringLiteral("cannot create an XPath context"));
    }
    RegisterNamespace(kProfilePrefix, kProfileNamespace);
    RegisterNamespace(kMsXsltPrefix, kMsXsltNamespace);
}

void CXPathContext::RegisterNamespace(const char* prefix, const char* uri) {
    if (!prefix || !uri || xmlXPathRegisterNs(m_context.get(), X(prefix), X(uri)) != 0) {
        throw CVeskCPSException(
            m_messageId, QStringLiteral("CXPathContext::RegisterNamespace"),
            QStringLiteral("cannot bind the prefix '%1' to '%2'")
                .arg(QString::fromUtf8(prefix ? prefix : ""), QString::fromUtf8(uri ? uri : "")));
    }
}

CXPathContext::ObjectPtr CXPathContext::Evaluate(const QString& expression, xmlNodePtr contextNode,
                                                 const char* operation) {
    const QString where = QString::fromUtf8(operation);
    if (contextNode && contextNode->doc != m_doc) {
        throw CVeskCPSException(
            m_messageId, where,
            QStringLiteral("the context node of \"%1\" belongs to another document")
                .arg(expression));
    }
    if (!contextNode) {
        contextNode = xmlDocGetRootElement(m_doc);
    }
    m_context->node = contextNode ? contextNode : reinterpret_cast<xmlNodePtr>(m_doc);
    m_context->contextSize = -1;
    m_context->proximityPosition = -1;
    xmlResetError(&m_context->lastError);

    const QByteArray text = expression.toUtf8();
    SXPathError first;
    ObjectPtr result;
    {
        CCollectXPathErrors collect(&first);
        result.reset(xmlXPathEval(X(text.constData()), m_context.get()));
    }
    if (!result || first.set) {
        QString detail = QStringLiteral("XPath error \"%1\" in \"%2\"")
                             .arg(first.set && !first.message.isEmpty()
                                      ? first.message
                                      : QStringLiteral("the expression could not be evaluated"),
                                  expression);
        if (first.set) {
            detail += QStringLiteral(" at byte offset %1").arg(first.offset);
        }
        throw CVeskCPSException(m_messageId, where, detail);
    }
    return result;
}

std::vector<xmlNodePtr> CXPathContext::SelectNodes(const QString& expression,
                                                   xmlNodePtr contextNode) {
    ObjectPtr result = Evaluate(expression, contextNode, "CXPathContext::SelectNodes");
    if (result->type != XPATH_NODESET) {
        throw CVeskCPSException(m_messageId, QStringLiteral("CXPathContext::SelectNodes"),
                                QStringLiteral("\"%1\" gives %2, not nodes")
                                    .arg(expression, QString::fromUtf8(TypeName(result->type))));
    }
    std::vector<xmlNodePtr> nodes;
    const xmlNodeSet* set = result->nodesetval;
    if (!set) {
        return nodes;
    }
    nodes.reserve(static_cast<std::size_t>(set->nodeNr));
    for (int i = 0; i < set->nodeNr; ++i) {
        xmlNodePtr node = set->nodeTab[i];
        if (!node || node->type == XML_NAMESPACE_DECL) {
            throw CVeskCPSException(m_messageId, QStringLiteral("CXPathContext::SelectNodes"),
                                    QStringLiteral("\"%1\" selects namespace nodes, which cannot "
                                                   "be kept")
                                        .arg(expression));
        }
        nodes.push_back(node);
    }
    return nodes;
}

xmlNodePtr CXPathContext::SelectSingle(const QString& expression, xmlNodePtr contextNode) {
    const std::vector<xmlNodePtr> nodes = SelectNodes(expression, contextNode);
    return nodes.empty() ? nullptr : nodes.front();
}

QString CXPathContext::EvaluateString(const QString& expression, xmlNodePtr contextNode) {
    ObjectPtr result = Evaluate(expression, contextNode, "CXPathContext::EvaluateString");
    xmlChar* text = xmlXPathCastToString(result.get());
    QString value = text ? QString::fromUtf8(reinterpret_cast<const char*>(text)) : QString();
    xmlFree(text);
    return value;
}

double CXPathContext::EvaluateNumber(const QString& expression, xmlNodePtr contextNode) {
    ObjectPtr result = Evaluate(expression, contextNode, "CXPathContext::EvaluateNumber");
    return xmlXPathCastToNumber(result.get());
}

bool CXPathContext::EvaluateBoolean(const QString& expression, xmlNodePtr contextNode) {
    ObjectPtr result = Evaluate(expression, contextNode, "CXPathContext::EvaluateBoolean");
    return xmlXPathCastToBoolean(result.get()) != 0;
}

QString CXPathContext::Literal(const QString& text) {
    if (!text.contains(u'\'')) {
        return u'\'' + text + u'\'';
    }
    if (!text.contains(u'"')) {
        return u'"' + text + u'"';
    }
    // XPath 1.0 has no escapes; a text with both quote kinds is spliced from pieces.
    QStringList pieces;
    const QStringList parts = text.split(u'\'');
    for (qsizetype i = 0; i < parts.size(); ++i) {
        if (i > 0) {
            pieces << QStringLiteral("\"'\"");
        }
        if (!parts.at(i).isEmpty()) {
            pieces << u'\'' + parts.at(i) + u'\'';
        }
    }
    return QStringLiteral("concat(%1)").arg(pieces.join(u','));
}
