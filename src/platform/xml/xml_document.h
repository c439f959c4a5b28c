#pragma once

#include <QByteArray>
#include <QString>
#include <libxml/tree.h>

#include "platform/vesk_cps_exception.h"
#include "platform/xml/xml_parser.h"

// One libxml2 document, owned. Every document the program reads goes through Parse, which is
// CXmlParser's policy with no DOCTYPE at all.
class CXmlDocument {
public:
    CXmlDocument() noexcept = default;
    // Takes ownership of a document made elsewhere (for instance a style sheet's output).
    explicit CXmlDocument(xmlDocPtr document) noexcept : m_doc(document) {}
    ~CXmlDocument();
    CXmlDocument(CXmlDocument&& other) noexcept;
    CXmlDocument& operator=(CXmlDocument&& other) noexcept;
    CXmlDocument(const CXmlDocument&) = delete;
    CXmlDocument& operator=(const CXmlDocument&) = delete;

    // Parses without network, DTDs, entities or XInclude. A document with a DOCTYPE, an entity
    // declaration or an XInclude element is refused; so is one that is not namespace-well-formed.
    // Failure raises `messageId` with "ErrorMsg: ...\nDesc: line L, column C ...\nSource: ...",
    // the first error the parser met.
    static CXmlDocument Parse(const QByteArray& text, const QString& sourceName,
                              int messageId = model_msg::kInvalidProfile);
    // Text already decoded (by the profile file reader, or made in memory): the encoding its
    // XML declaration names is ignored, since the characters are already what they are.
    static CXmlDocument ParseText(const QString& text, const QString& sourceName,
                                  int messageId = model_msg::kInvalidProfile);
    static CXmlDocument ParseFile(const QString& path, int messageId = model_msg::kInvalidProfile);
    // A new document holding one empty element, in `namespaceUri` (declared as the default
    // namespace) unless that is null.
    static CXmlDocument CreateWithRoot(const char* localName, const char* namespaceUri);

    bool IsNull() const noexcept { return m_doc == nullptr; }
    xmlDocPtr Get() const noexcept { return m_doc; }
    xmlDocPtr Release() noexcept;
    // Null when there is no document or it has no root element.
    xmlNodePtr Root() const noexcept;
    // A deep copy, independent of this one.
    CXmlDocument Clone() const;
    // The document as UTF-8 text with an XML declaration, whitespace kept as it is in the tree.
    QByteArray ToXml() const;

private:
    static CXmlDocument ParseBytes(const QByteArray& text, const QString& sourceName, int messageId,
                                   CXmlParser::EInput input);

    xmlDocPtr m_doc = nullptr;
};
