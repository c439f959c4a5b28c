#include "platform/xml/xml_document.h"

#include <source_location>
#include <utility>

#include <QFile>
#include <libxml/xmlerror.h>

#include "platform/xml/xml_parser.h"

namespace {

// Profiles and settings documents are a few megabytes at most; a larger file is not ours.
constexpr qint64 kMaxFileSize = 64 * 1024 * 1024;

CVeskCPSException Failure(int messageId, const CXmlParser::SError& error,
                          std::source_location where = std::source_location::current()) {
    const QByteArray message = error.reason.toUtf8();
    const QByteArray source = error.source.toUtf8();
    xmlError libxml{};
    libxml.domain = error.domain;
    libxml.code = error.code;
    libxml.level = XML_ERR_FATAL;
    libxml.message = const_cast<char*>(message.constData());
    libxml.file = source.isEmpty() ? nullptr : const_cast<char*>(source.constData());
    libxml.line = error.line;
    libxml.int2 = error.column;
    return CVeskCPSException::FromXmlError(messageId, &libxml,
                                           QStringLiteral("CXmlDocument::Parse"), where);
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
    return ParseBytes(text, sourceName, messageId, CXmlParser::EInput::Bytes);
}

CXmlDocument CXmlDocument::ParseText(const QString& text, const QString& sourceName,
                                     int messageId) {
    return ParseBytes(text.toUtf8(), sourceName, messageId, CXmlParser::EInput::DecodedUtf8);
}

CXmlDocument CXmlDocument::ParseBytes(const QByteArray& text, const QString& sourceName,
                                      int messageId, CXmlParser::EInput input) {
    CXmlParser::SError error;
    CXmlParser::DocPtr parsed =
        CXmlParser::Parse(text, sourceName, input, CXmlParser::EDoctype::Refuse, &error);
    if (!parsed) {
        throw Failure(messageId, error);
    }
    return CXmlDocument(parsed.release());
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
