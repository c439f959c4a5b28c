#include "platform/script/dom_tree.h"

#include <algorithm>

#include <libxml/entities.h>
#include <libxml/xmlsave.h>

namespace vbs::dom {

namespace {

constexpr int kMaxEntityDepth = 8;

void AppendText(QByteArray& out, xmlNodePtr first, int entityDepth);

// An entity reference reads as the entity's text. Entities nest; the parser has refused loops
// and blow-ups, and the depth limit keeps a hand-made cycle from recursing for ever.
void AppendEntityText(QByteArray& out, xmlNodePtr reference, int entityDepth) {
    xmlNodePtr declaration = reference->children;
    if (entityDepth >= kMaxEntityDepth || !declaration || declaration->type != XML_ENTITY_DECL) {
        return;
    }
    auto* entity = reinterpret_cast<xmlEntityPtr>(declaration);
    if (entity->children) {
        AppendText(out, entity->children, entityDepth + 1);
    } else if (entity->etype == XML_INTERNAL_GENERAL_ENTITY && entity->content &&
               !xmlStrchr(entity->content, '<') && !xmlStrchr(entity->content, '&')) {
        out += reinterpret_cast<const char*>(entity->content);
    }
}

// The text of `first`, its following siblings and their descendants, in document order.
void AppendText(QByteArray& out, xmlNodePtr first, int entityDepth) {
    xmlNodePtr node = first;
    int depth = 0;
    while (node) {
        switch (node->type) {
            case XML_TEXT_NODE:
            case XML_CDATA_SECTION_NODE:
                if (node->content) {
                    out += reinterpret_cast<const char*>(node->content);
                }
                break;
            case XML_ENTITY_REF_NODE:
                AppendEntityText(out, node, entityDepth);
                break;
            case XML_ELEMENT_NODE:
                if (node->children) {
                    node = node->children;
                    ++depth;
                    continue;
                }
                break;
            default:
                break;
        }
        while (!node->next && depth > 0) {
            node = node->parent;
            --depth;
        }
        node = node->next;
    }
}

QString EscapeAttribute(const QString& value) {
    QString out;
    out.reserve(value.size());
    for (const QChar c : value) {
        switch (c.unicode()) {
            case u'&':
                out += QLatin1String("&amp;");
                break;
            case u'<':
                out += QLatin1String("&lt;");
                break;
            case u'"':
                out += QLatin1String("&quot;");
                break;
            case u'\n':
                out += QLatin1String("&#10;");
                break;
            case u'\r':
                out += QLatin1String("&#13;");
                break;
            case u'\t':
                out += QLatin1String("&#9;");
                break;
            default:
                out += c;
        }
    }
    return out;
}

}  // namespace

[[noreturn]] void Fail(const QString& text) {
    throw CScriptError(err::kInvalidCall, text);
}

bool IsElement(const xmlNode* node) {
    return node && node->type == XML_ELEMENT_NODE;
}

bool ShowsChildren(const xmlNode* node) {
    return node && (node->type == XML_ELEMENT_NODE || node->type == XML_DOCUMENT_NODE);
}

xmlNodePtr FirstChild(xmlNodePtr node) {
    return ShowsChildren(node) ? node->children : nullptr;
}

xmlNodePtr LastChild(xmlNodePtr node) {
    return ShowsChildren(node) ? node->last : nullptr;
}

xmlNodePtr ParentOf(xmlNodePtr node) {
    return node->type == XML_ATTRIBUTE_NODE ? nullptr : node->parent;
}

xmlNodePtr NextSiblingOf(xmlNodePtr node) {
    return node->type == XML_ATTRIBUTE_NODE ? nullptr : node->next;
}

xmlNodePtr PreviousSiblingOf(xmlNodePtr node) {
    return node->type == XML_ATTRIBUTE_NODE ? nullptr : node->prev;
}

xmlNodePtr FirstElementChild(xmlNodePtr node) {
    for (xmlNodePtr child = FirstChild(node); child; child = child->next) {
        if (IsElement(child)) {
            return child;
        }
    }
    return nullptr;
}

xmlNodePtr NextElementSibling(xmlNodePtr node) {
    for (xmlNodePtr sibling = node->next; sibling; sibling = sibling->next) {
        if (IsElement(sibling)) {
            return sibling;
        }
    }
    return nullptr;
}

xmlNodePtr NextElement(xmlNodePtr node, xmlNodePtr top) {
    if (xmlNodePtr child = FirstElementChild(node)) {
        return child;
    }
    for (; node && node != top; node = node->parent) {
        if (xmlNodePtr sibling = NextElementSibling(node)) {
            return sibling;
        }
    }
    return nullptr;
}

xmlNodePtr NextInSubtree(xmlNodePtr node, xmlNodePtr top) {
    if (IsElement(node) && node->children) {
        return node->children;
    }
    for (; node && node != top; node = node->parent) {
        if (node->next) {
            return node->next;
        }
    }
    return nullptr;
}

int Depth(xmlNodePtr node) {
    int depth = 0;
    for (; IsElement(node); node = node->parent) {
        ++depth;
    }
    return depth;
}

int Height(xmlNodePtr root) {
    if (!IsElement(root)) {
        return 0;
    }
    int height = 1;
    int depth = 1;
    xmlNodePtr node = root;
    for (;;) {
        if (xmlNodePtr child = FirstElementChild(node)) {
            node = child;
            height = std::max(height, ++depth);
            continue;
        }
        while (node != root) {
            if (xmlNodePtr sibling = NextElementSibling(node)) {
                node = sibling;
                break;
            }
            node = node->parent;
            --depth;
        }
        if (node == root) {
            return height;
        }
    }
}

QByteArray QualifiedNameUtf8(const xmlNode* node) {
    QByteArray name;
    if (node->ns && !IsEmpty(node->ns->prefix)) {
        name = reinterpret_cast<const char*>(node->ns->prefix);
        name += ':';
    }
    name += reinterpret_cast<const char*>(node->name);
    return name;
}

QString NodeName(const xmlNode* node) {
    switch (node->type) {
        case XML_ELEMENT_NODE:
        case XML_ATTRIBUTE_NODE:
            return QString::fromUtf8(QualifiedNameUtf8(node));
        case XML_TEXT_NODE:
            return QStringLiteral("#text");
        case XML_CDATA_SECTION_NODE:
            return QStringLiteral("#cdata-section");
        case XML_COMMENT_NODE:
            return QStringLiteral("#comment");
        case XML_DOCUMENT_NODE:
            return QStringLiteral("#document");
        default:  // a processing instruction's target, an entity's or a doctype's name
            return Q(node->name);
    }
}

QString BaseName(const xmlNode* node) {
    switch (node->type) {
        case XML_ELEMENT_NODE:
        case XML_ATTRIBUTE_NODE:
        case XML_PI_NODE:
        case XML_ENTITY_REF_NODE:
        case XML_DTD_NODE:
            return Q(node->name);
        default:
            return {};
    }
}

int NodeTypeNumber(xmlElementType type) {
    return type == XML_DTD_NODE ? 10 : static_cast<int>(type);
}

QString TypeNameOf(xmlElementType type) {
    switch (type) {
        case XML_ELEMENT_NODE:
            return QStringLiteral("IXMLDOMElement");
        case XML_ATTRIBUTE_NODE:
            return QStringLiteral("IXMLDOMAttribute");
        case XML_TEXT_NODE:
            return QStringLiteral("IXMLDOMText");
        case XML_CDATA_SECTION_NODE:
            return QStringLiteral("IXMLDOMCDATASection");
        case XML_COMMENT_NODE:
            return QStringLiteral("IXMLDOMComment");
        case XML_PI_NODE:
            return QStringLiteral("IXMLDOMProcessingInstruction");
        case XML_ENTITY_REF_NODE:
            return QStringLiteral("IXMLDOMEntityReference");
        case XML_DTD_NODE:
            return QStringLiteral("IXMLDOMDocumentType");
        case XML_DOCUMENT_NODE:
            return QStringLiteral("DOMDocument");
        default:
            return QStringLiteral("IXMLDOMNode");
    }
}

bool HasOwnContent(const xmlNode* node) {
    return node->type == XML_TEXT_NODE || node->type == XML_CDATA_SECTION_NODE ||
           node->type == XML_COMMENT_NODE || node->type == XML_PI_NODE;
}

QString TextOf(xmlNodePtr node) {
    QByteArray out;
    if (HasOwnContent(node)) {
        out = reinterpret_cast<const char*>(node->content ? node->content : X(""));
    } else if (node->type == XML_ENTITY_REF_NODE) {
        AppendEntityText(out, node, 0);
    } else if (node->type == XML_ELEMENT_NODE || node->type == XML_DOCUMENT_NODE ||
               node->type == XML_ATTRIBUTE_NODE) {
        AppendText(out, node->children, 0);
    }
    return QString::fromUtf8(out);
}

QString Markup(xmlNodePtr node) {
    if (node->type == XML_ATTRIBUTE_NODE) {
        return QString::fromUtf8(QualifiedNameUtf8(node)) + QLatin1String("=\"") +
               EscapeAttribute(TextOf(node)) + u'"';
    }
    xmlBufferPtr buffer = Made(xmlBufferCreate());
    const bool isDocument = node->type == XML_DOCUMENT_NODE;
    xmlSaveCtxtPtr save = xmlSaveToBuffer(buffer, "UTF-8", isDocument ? 0 : XML_SAVE_NO_DECL);
    if (!save) {
        xmlBufferFree(buffer);
        throw CScriptError(err::kOutOfMemory);
    }
    if (isDocument) {
        xmlSaveDoc(save, reinterpret_cast<xmlDocPtr>(node));
    } else {
        xmlSaveTree(save, node);
    }
    xmlSaveClose(save);
    QString out = QString::fromUtf8(reinterpret_cast<const char*>(xmlBufferContent(buffer)),
                                    xmlBufferLength(buffer));
    xmlBufferFree(buffer);
    return out;
}

xmlAttrPtr FindAttribute(xmlNodePtr element, const QString& name) {
    const QByteArray wanted = name.toUtf8();
    for (xmlAttrPtr attribute = element->properties; attribute; attribute = attribute->next) {
        if (QualifiedNameUtf8(reinterpret_cast<xmlNodePtr>(attribute)) == wanted) {
            return attribute;
        }
    }
    return nullptr;
}

const xmlNs* FindDeclaration(xmlNodePtr element, const QString& name) {
    const bool isDefault = name == QLatin1String("xmlns");
    if (!isDefault && !name.startsWith(QLatin1String("xmlns:"))) {
        return nullptr;
    }
    const QByteArray prefix = name.mid(6).toUtf8();
    for (const xmlNs* ns = element->nsDef; ns; ns = ns->next) {
        if (isDefault ? !ns->prefix : xmlStrEqual(ns->prefix, X(prefix))) {
            return ns;
        }
    }
    return nullptr;
}

std::vector<xmlNodePtr> ElementsNamed(xmlNodePtr top, const QString& name) {
    const bool all = name == QLatin1String("*");
    const QByteArray wanted = name.toUtf8();
    std::vector<xmlNodePtr> found;
    for (xmlNodePtr node = FirstElementChild(top); node; node = NextElement(node, top)) {
        if (all || QualifiedNameUtf8(node) == wanted) {
            found.push_back(node);
        }
    }
    return found;
}

}  // namespace vbs::dom
