#pragma once

#include <memory>
#include <vector>

#include <QString>
#include <libxml/tree.h>
#include <libxml/xpath.h>

#include "platform/vesk_cps_exception.h"

class CXmlDocument;

// XPath 1.0 over one document, with "dfns" and "ms" bound. The document must outlive the
// context. A bad expression, an unbound prefix or a result of the wrong type raises
// `messageId` (by default 131, an unexpected failure of the XML library).
class CXPathContext {
public:
    explicit CXPathContext(const CXmlDocument& document, int messageId = model_msg::kUnknownError);
    explicit CXPathContext(xmlDocPtr document, int messageId = model_msg::kUnknownError);

    void RegisterNamespace(const char* prefix, const char* uri);

    // A null context node means the root element (the document node when there is none).
    // Namespace nodes are refused: libxml2 hands them out as copies that die with the result.
    std::vector<xmlNodePtr> SelectNodes(const QString& expression,
                                        xmlNodePtr contextNode = nullptr);
    // The first node in document order, or null.
    xmlNodePtr SelectSingle(const QString& expression, xmlNodePtr contextNode = nullptr);
    QString EvaluateString(const QString& expression, xmlNodePtr contextNode = nullptr);
    double EvaluateNumber(const QString& expression, xmlNodePtr contextNode = nullptr);
    bool EvaluateBoolean(const QString& expression, xmlNodePtr contextNode = nullptr);

    // `text` as an XPath string literal, safe to splice into an expression whatever quotes it
    // holds (a language or control name taken from a document, for instance).
    static QString Literal(const QString& text);

private:
    struct SObjectFree {
        void operator()(xmlXPathObjectPtr object) const { xmlXPathFreeObject(object); }
    };
    struct SContextFree {
        void operator()(xmlXPathContextPtr context) const { xmlXPathFreeContext(context); }
    };
    using ObjectPtr = std::unique_ptr<xmlXPathObject, SObjectFree>;

    ObjectPtr Evaluate(const QString& expression, xmlNodePtr contextNode, const char* operation);

    xmlDocPtr m_doc;
    int m_messageId;
    std::unique_ptr<xmlXPathContext, SContextFree> m_context;
};
