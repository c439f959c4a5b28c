#include "platform/xml/xml_node.h"

#include <limits>
#include <memory>

#include <libxml/xmlstring.h>

#include "platform/vesk_cps_exception.h"

namespace {

const xmlChar* X(const char* text) {
    return reinterpret_cast<const xmlChar*>(text);
}

struct SXmlFree {
    void operator()(xmlChar* text) const { xmlFree(text); }
};
using XmlText = std::unique_ptr<xmlChar, SXmlFree>;

[[noreturn]] void Fail(const char* operation, const QString& detail) {
    throw CVeskCPSException(model_msg::kUnknownError, QString::fromUtf8(operation), detail);
}

// XML 1.0 has no way to write most control characters, not even as character references; a
// value holding one would make a saved profile unreadable.
bool IsXmlText(const QString& value) {
    for (qsizetype i = 0; i < value.size(); ++i) {
        const char16_t c = value.at(i).unicode();
        if (c < 0x20 && c != 0x9 && c != 0xA && c != 0xD) {
            return false;
        }
        if (c == 0xFFFE || c == 0xFFFF) {
            return false;
        }
        if (QChar::isHighSurrogate(c)) {
            if (i + 1 >= value.size() || !QChar::isLowSurrogate(value.at(i + 1).unicode())) {
                return false;
            }
            ++i;
        } else if (QChar::isLowSurrogate(c)) {
            return false;
        }
    }
    return true;
}

std::optional<qint64> ParseInteger(QStringView text) {
    const QStringView trimmed = text.trimmed();
    qsizetype digits = 0;
    if (!trimmed.isEmpty() && (trimmed.front() == u'+' || trimmed.front() == u'-')) {
        digits = 1;
    }
    const qsizetype count = trimmed.size() - digits;
    if (count < 1) {
        return std::nullopt;
    }
    qint64 value = 0;
    for (qsizetype i = digits; i < trimmed.size(); ++i) {
        const char16_t c = trimmed.at(i).unicode();
        if (c < u'0' || c > u'9') {
            return std::nullopt;
        }
        if (value > std::numeric_limits<qint64>::max() / 10 - 10) {
            return std::nullopt;
        }
        value = value * 10 + (c - u'0');
    }
    return trimmed.front() == u'-' ? -value : value;
}

xmlNsPtr NamespaceFor(xmlNodePtr node, const char* namespaceUri, const char* prefix) {
    if (!namespaceUri) {
        return nullptr;
    }
    xmlNsPtr ns = xmlSearchNsByHref(node->doc, node, X(namespaceUri));
    // A default namespace declaration does not apply to attributes, so it is of no use here.
    if (ns && ns->prefix) {
        return ns;
    }
    if (!prefix || !*prefix) {
        Fail("xml::SetAttribute", QStringLiteral("no prefix is declared for the namespace '%1'")
                                      .arg(QString::fromUtf8(namespaceUri)));
    }
    ns = xmlNewNs(node, X(namespaceUri), X(prefix));
    if (!ns) {
        Fail("xml::SetAttribute",
             QStringLiteral("cannot declare the prefix '%1' for '%2' here")
                 .arg(QString::fromUtf8(prefix), QString::fromUtf8(namespaceUri)));
    }
    return ns;
}

}  // namespace

namespace xml {

QString Text(const xmlChar* text) {
    return text ? QString::fromUtf8(reinterpret_cast<const char*>(text)) : QString();
}

QString LocalName(const xmlNode* node) {
    return node ? Text(node->name) : QString();
}

QString NamespaceUri(const xmlNode* node) {
    return node && node->ns ? Text(node->ns->href) : QString();
}

QString NodeText(const xmlNode* node) {
    if (!node) {
        return {};
    }
    XmlText content(xmlNodeGetContent(node));
    return Text(content.get());
}

std::optional<QString> Attribute(const xmlNode* node, const char* name, const char* namespaceUri) {
    if (!node || !name || node->type != XML_ELEMENT_NODE) {
        return std::nullopt;
    }
    XmlText value(namespaceUri ? xmlGetNsProp(node, X(name), X(namespaceUri))
                               : xmlGetNoNsProp(node, X(name)));
    if (!value) {
        return std::nullopt;
    }
    return Text(value.get());
}

std::optional<qint32> ParseInt32(QStringView text) {
    const std::optional<qint64> value = ParseInteger(text);
    if (!value || *value < std::numeric_limits<qint32>::min() ||
        *value > std::numeric_limits<qint32>::max()) {
        return std::nullopt;
    }
    return static_cast<qint32>(*value);
}

std::optional<quint32> ParseUInt32(QStringView text) {
    const std::optional<qint64> value = ParseInteger(text);
    if (!value || *value < 0 || *value > std::numeric_limits<quint32>::max()) {
        return std::nullopt;
    }
    return static_cast<quint32>(*value);
}

std::optional<bool> ParseBool(QStringView text) {
    const QStringView trimmed = text.trimmed();
    if (trimmed == u"1" || trimmed == u"true") {
        return true;
    }
    if (trimmed == u"0" || trimmed == u"false") {
        return false;
    }
    return std::nullopt;
}

std::optional<qint32> AttributeInt32(const xmlNode* node, const char* name,
                                     const char* namespaceUri) {
    const std::optional<QString> text = Attribute(node, name, namespaceUri);
    return text ? ParseInt32(*text) : std::nullopt;
}

std::optional<quint32> AttributeUInt32(const xmlNode* node, const char* name,
                                       const char* namespaceUri) {
    const std::optional<QString> text = Attribute(node, name, namespaceUri);
    return text ? ParseUInt32(*text) : std::nullopt;
}

std::optional<bool> AttributeBool(const xmlNode* node, const char* name, const char* namespaceUri) {
    const std::optional<QString> text = Attribute(node, name, namespaceUri);
    return text ? ParseBool(*text) : std::nullopt;
}

void SetAttribute(xmlNodePtr node, const char* name, const QString& value, const char* namespaceUri,
                  const char* prefix) {
    if (!node || node->type != XML_ELEMENT_NODE || !name || !*name) {
        Fail("xml::SetAttribute", QStringLiteral("no element or no attribute name"));
    }
    if (!IsXmlText(value)) {
        Fail("xml::SetAttribute", QStringLiteral("the value of '%1' holds a character XML cannot "
                                                 "carry")
                                      .arg(QString::fromUtf8(name)));
    }
    const QByteArray utf8 = value.toUtf8();
    xmlAttrPtr attribute = namespaceUri
                               ? xmlSetNsProp(node, NamespaceFor(node, namespaceUri, prefix),
                                              X(name), X(utf8.constData()))
                               : xmlSetNsProp(node, nullptr, X(name), X(utf8.constData()));
    if (!attribute) {
        Fail("xml::SetAttribute",
             QStringLiteral("cannot set the attribute '%1'").arg(QString::fromUtf8(name)));
    }
}

void SetAttributeInt32(xmlNodePtr node, const char* name, qint32 value, const char* namespaceUri,
                       const char* prefix) {
    SetAttribute(node, name, QString::number(value), namespaceUri, prefix);
}

void SetAttributeUInt32(xmlNodePtr node, const char* name, quint32 value, const char* namespaceUri,
                        const char* prefix) {
    SetAttribute(node, name, QString::number(value), namespaceUri, prefix);
}

void SetAttributeBool(xmlNodePtr node, const char* name, bool value, const char* namespaceUri,
                      const char* prefix) {
    SetAttribute(node, name, value ? QStringLiteral("1") : QStringLiteral("0"), namespaceUri,
                 prefix);
}

bool RemoveAttribute(xmlNodePtr node, const char* name, const char* namespaceUri) {
    if (!node || node->type != XML_ELEMENT_NODE || !name) {
        return false;
    }
    xmlAttrPtr attribute = namespaceUri ? xmlHasNsProp(node, X(name), X(namespaceUri))
                                        : xmlHasNsProp(node, X(name), nullptr);
    // xmlHasNsProp also reports DTD defaults, which are not nodes of the tree.
    if (!attribute || attribute->type != XML_ATTRIBUTE_NODE) {
        return false;
    }
    return xmlRemoveProp(attribute) == 0;
}

}  // namespace xml
