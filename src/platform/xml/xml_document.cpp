#include "platform/xml/xml_document.h"

#include <climits>
#include <cstring>
#include <mutex>
#include <source_location>
#include <utility>

#include <QFile>
#include <libxml/SAX2.h>
#include <libxml/parser.h>
#include <libxml/xmlerror.h>

#include "platform/xml/libxml_guard.h"

namespace {

// Profiles and settings documents are a few megabytes at most; a larger file is not ours.
constexpr qint64 kMaxFileSize = 64 * 1024 * 1024;

// BIG_LINES only keeps line numbers above 65535 on the nodes, so that later validation errors
// still point at the right line.
constexpr int kParseOptions =
    XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING | XML_PARSE_BIG_LINES;

constexpr const char* kXIncludeNamespaces[] = {"http://www.w3.org/2001/XInclude",
                                               "http://www.w3.org/2003/XInclude"};

struct SParseState {
    xmlParserCtxtPtr parser = nullptr;
    startElementNsSAX2Func startElement = nullptr;
    // The first error is the cause; later ones are mostly its consequences.
    xmlError first{};
    bool hasFirst = false;
    QByteArray refusal;
    int refusalLine = 0;
    int refusalColumn = 0;
};

// The SAX callbacks get only the parser; the state of the parse running on this thread is here.
thread_local SParseState* t_state = nullptr;

void CollectError(void* /*userData*/, xmlErrorPtr error) {
    if (!t_state || !error || t_state->hasFirst || error->level < XML_ERR_ERROR) {
        return;
    }
    if (xmlCopyError(error, &t_state->first) == 0) {
        t_state->hasFirst = true;
    }
}

void Refuse(const char* reason) {
    if (!t_state || !t_state->refusal.isEmpty()) {
        return;
    }
    t_state->refusal = reason;
    t_state->refusalLine = xmlSAX2GetLineNumber(t_state->parser);
    t_state->refusalColumn = xmlSAX2GetColumnNumber(t_state->parser);
    xmlStopParser(t_state->parser);
}

// Refusing at the DOCTYPE means an internal subset is never even read, so neither entity
// declarations nor parameter entities can do any work.
void OnInternalSubset(void* /*context*/, const xmlChar* /*name*/, const xmlChar* /*externalId*/,
                      const xmlChar* /*systemId*/) {
    Refuse("a document type declaration (DOCTYPE) is not allowed in this document");
}

void OnExternalSubset(void* /*context*/, const xmlChar* /*name*/, const xmlChar* /*externalId*/,
                      const xmlChar* /*systemId*/) {
    Refuse("an external DTD is not allowed in this document");
}

void OnEntityDecl(void* /*context*/, const xmlChar* /*name*/, int /*type*/,
                  const xmlChar* /*publicId*/, const xmlChar* /*systemId*/, xmlChar* /*content*/) {
    Refuse("an entity declaration is not allowed in this document");
}

void OnStartElement(void* context, const xmlChar* localName, const xmlChar* prefix,
                    const xmlChar* uri, int namespaceCount, const xmlChar** namespaces,
                    int attributeCount, int defaultedCount, const xmlChar** attributes) {
    if (uri) {
        for (const char* xinclude : kXIncludeNamespaces) {
            if (std::strcmp(reinterpret_cast<const char*>(uri), xinclude) == 0) {
                Refuse("an XInclude element is not allowed in this document");
                return;
            }
        }
    }
    t_state->startElement(context, localName, prefix, uri, namespaceCount, namespaces,
                          attributeCount, defaultedCount, attributes);
}

struct SParserFree {
    void operator()(xmlParserCtxtPtr parser) const { xmlFreeParserCtxt(parser); }
};

CVeskCPSException Failure(int messageId, const QByteArray& message, const QByteArray& source,
                          int line, int column,
                          std::source_location where = std::source_location::current()) {
    xmlError error{};
    error.domain = XML_FROM_PARSER;
    error.code = XML_ERR_USER_STOP;
    error.level = XML_ERR_FATAL;
    error.message = const_cast<char*>(message.constData());
    error.file = source.isEmpty() ? nullptr : const_cast<char*>(source.constData());
    error.line = line;
    error.int2 = column;
    return CVeskCPSException::FromXmlError(messageId, &error, QStringLiteral("CXmlDocument::Parse"),
                                           where);
}

}  // namespace

CXmlDocument::~CXmlDocument() {
    if (m_doc) {
        xmlFreeDoc(m_doc);
    }
}

CXmlDocument::CXmlDocument(CXmlDocument&& other) noexcept
    : m_doc(std::exchange(other.m_doc, nullptr)) {}

CXmlDocument& CXmlDocument::operator=(CXmlDocument&& other) noexcept {
    if (this != &other) {
        if (m_doc) {
            xmlFreeDoc(m_doc);
        }
        m_doc = std::exchange(other.m_doc, nullptr);
    }
    return *this;
}

CXmlDocument CXmlDocument::Parse(const QByteArray& text, const QString& sourceName, int messageId) {
    return ParseBytes(text, sourceName, messageId, nullptr, 0);
}

CXmlDocument CXmlDocument::ParseText(const QString& text, const QString& sourceName,
                                     int messageId) {
    return ParseBytes(text.toUtf8(), sourceName, messageId, "UTF-8", XML_PARSE_IGNORE_ENC);
}

CXmlDocument CXmlDocument::ParseBytes(const QByteArray& text, const QString& sourceName,
                                      int messageId, const char* encoding, int extraOptions) {
    const QByteArray source = sourceName.toUtf8();
    if (text.size() > INT_MAX) {
        throw Failure(messageId, "the document is too large", source, 0, 0);
    }

    CLibxmlGuard refuseExternal;
    std::unique_ptr<xmlParserCtxt, SParserFree> parser(xmlNewParserCtxt());
    if (!parser || !parser->sax) {
        throw Failure(messageId, "out of memory", source, 0, 0);
    }
    SParseState state;
    state.parser = parser.get();
    state.startElement = parser->sax->startElementNs;
    parser->sax->serror = CollectError;
    parser->sax->internalSubset = OnInternalSubset;
    parser->sax->externalSubset = OnExternalSubset;
    parser->sax->entityDecl = OnEntityDecl;
    parser->sax->startElementNs = OnStartElement;

    t_state = &state;
    xmlDocPtr parsed =
        xmlCtxtReadMemory(parser.get(), text.constData(), static_cast<int>(text.size()),
                          source.isEmpty() ? nullptr : source.constData(), encoding,
                          kParseOptions | extraOptions);
    t_state = nullptr;
    CXmlDocument document(parsed);

    struct SResetFirst {
        xmlError* error;
        ~SResetFirst() { xmlResetError(error); }
    } resetFirst{&state.first};

    if (!state.refusal.isEmpty()) {
        throw Failure(messageId, state.refusal, source, state.refusalLine, state.refusalColumn);
    }
    // An undeclared prefix is only a namespace error to libxml2, but the tree would not mean
    // what the text says.
    const bool wellFormed = parser->wellFormed && parser->nsWellFormed;
    if (document.IsNull() || !wellFormed || state.hasFirst) {
        if (state.hasFirst) {
            throw CVeskCPSException::FromXmlError(messageId, &state.first,
                                                  QStringLiteral("CXmlDocument::Parse"));
        }
        const xmlError* last = xmlCtxtGetLastError(parser.get());
        if (last && last->code != XML_ERR_OK) {
            throw CVeskCPSException::FromXmlError(messageId, last,
                                                  QStringLiteral("CXmlDocument::Parse"));
        }
        throw Failure(messageId, "the text is not a well-formed XML document", source, 0, 0);
    }
    // Belt and braces: the callbacks above should have stopped any document with a DTD.
    if (document.m_doc->intSubset || document.m_doc->extSubset) {
        throw Failure(messageId, "a document type declaration (DOCTYPE) is not allowed", source, 0,
                      0);
    }
    if (!document.Root()) {
        throw Failure(messageId, "the document has no root element", source, 0, 0);
    }
    return document;
}

CXmlDocument CXmlDocument::ParseFile(const QString& path, int messageId) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        throw CVeskCPSException(
            messageId, QStringLiteral("CXmlDocument::ParseFile"),
            QStringLiteral("cannot open '%1': %2").arg(path, file.errorString()));
    }
    if (file.size() > kMaxFileSize) {
        throw CVeskCPSException(
            messageId, QStringLiteral("CXmlDocument::ParseFile"),
            QStringLiteral("'%1' is %2 bytes, more than the %3 an XML document of ours may have")
                .arg(path)
                .arg(file.size())
                .arg(kMaxFileSize));
    }
    // A FIFO or device reports size 0; read one byte past the limit to catch those too.
    const QByteArray text = file.read(kMaxFileSize + 1);
    if (text.size() > kMaxFileSize || file.error() != QFileDevice::NoError) {
        throw CVeskCPSException(
            messageId, QStringLiteral("CXmlDocument::ParseFile"),
            QStringLiteral("cannot read '%1': %2")
                .arg(path, text.size() > kMaxFileSize ? QStringLiteral("the file is too large")
                                                      : file.errorString()));
    }
    return Parse(text, path, messageId);
}

CXmlDocument CXmlDocument::CreateWithRoot(const char* localName, const char* namespaceUri) {
    CXmlDocument document(xmlNewDoc(reinterpret_cast<const xmlChar*>("1.0")));
    if (document.IsNull() || !localName) {
        throw CVeskCPSException(model_msg::kUnknownError,
                                QStringLiteral("CXmlDocument::CreateWithRoot"),
                                QStringLiteral("cannot create a document"));
    }
    xmlNodePtr root = xmlNewDocNode(document.m_doc, nullptr,
                                    reinterpret_cast<const xmlChar*>(localName), nullptr);
    if (!root) {
        throw CVeskCPSException(
            model_msg::kUnknownError, QStringLiteral("CXmlDocument::CreateWithRoot"),
            QStringLiteral("cannot create the element '%1'").arg(QString::fromUtf8(localName)));
    }
    xmlDocSetRootElement(document.m_doc, root);
    if (namespaceUri) {
        xmlNsPtr ns = xmlNewNs(root, reinterpret_cast<const xmlChar*>(namespaceUri), nullptr);
        if (!ns) {
            throw CVeskCPSException(model_msg::kUnknownError,
                                    QStringLiteral("CXmlDocument::CreateWithRoot"),
                                    QStringLiteral("cannot declare the namespace '%1'")
                                        .arg(QString::fromUtf8(namespaceUri)));
        }
        xmlSetNs(root, ns);
    }
    return document;
}

xmlDocPtr CXmlDocument::Release() noexcept {
    return std::exchange(m_doc, nullptr);
}

xmlNodePtr CXmlDocument::Root() const noexcept {
    return m_doc ? xmlDocGetRootElement(m_doc) : nullptr;
}

CXmlDocument CXmlDocument::Clone() const {
    if (!m_doc) {
        return {};
    }
    CXmlDocument copy(xmlCopyDoc(m_doc, 1));
    if (copy.IsNull()) {
        throw CVeskCPSException(model_msg::kUnknownError, QStringLiteral("CXmlDocument::Clone"),
                                QStringLiteral("cannot copy the document"));
    }
    return copy;
}

QByteArray CXmlDocument::ToXml() const {
    if (!m_doc) {
        throw CVeskCPSException(model_msg::kUnknownError, QStringLiteral("CXmlDocument::ToXml"),
                                QStringLiteral("there is no document"));
    }
    xmlChar* buffer = nullptr;
    int size = 0;
    xmlDocDumpFormatMemoryEnc(m_doc, &buffer, &size, "UTF-8", 0);
    if (!buffer || size < 0) {
        xmlFree(buffer);
        throw CVeskCPSException(model_msg::kUnknownError, QStringLiteral("CXmlDocument::ToXml"),
                                QStringLiteral("cannot serialise the document"));
    }
    QByteArray text(reinterpret_cast<const char*>(buffer), size);
    xmlFree(buffer);
    return text;
}
