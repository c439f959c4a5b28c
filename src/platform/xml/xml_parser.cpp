#include "platform/xml/xml_parser.h"

#include <algorithm>
#include <climits>
#include <cstring>

#include <QHash>
#include <libxml/SAX2.h>
#include <libxml/entities.h>
#include <libxml/parser.h>
#include <libxml/xmlerror.h>

#include "platform/xml/libxml_guard.h"

namespace {

// BIG_LINES only keeps line numbers above 65535 on the nodes, so that later validation errors
// still point at the right line.
constexpr int kParseOptions =
    XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING | XML_PARSE_BIG_LINES;

constexpr const char* kXIncludeNamespaces[] = {"http://www.w3.org/2001/XInclude",
                                               "http://www.w3.org/2003/XInclude"};

// libxml2 refuses entities that nest into an exponential blow-up, but not a few big entities
// referenced many times: 140 kB of markup can stand for a gigabyte of text, which a script then
// reads with one `.text`. References may add as much text as the document itself holds, and at
// least this much for a small one.
constexpr qint64 kMinEntityBudget = 1024 * 1024;
// libxml2 stops nesting at 40 levels; deeper than this is no document of ours.
constexpr int kMaxEntityNesting = 64;

struct SParseState {
    xmlParserCtxtPtr parser = nullptr;
    CXmlParser::EDoctype doctype = CXmlParser::EDoctype::Refuse;
    startElementNsSAX2Func startElement = nullptr;
    referenceSAXFunc reference = nullptr;
    // The first error is the cause; later ones are mostly its consequences.
    xmlError first{};
    bool hasFirst = false;
    QByteArray refusal;
    int refusalLine = 0;
    int refusalColumn = 0;
    qint64 entityBudget = kMinEntityBudget;
    qint64 entityText = 0;  // what the references met so far stand for
    QHash<const xmlEntity*, qint64> entitySizes;
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

void Refuse(const QByteArray& reason) {
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

qint64 EntityTextSize(const xmlEntity* entity, int nesting);

// The text a run of nodes stands for, nested references expanded: the content of an entity or
// the value of an attribute. Sizes stop growing past the budget, which is all a caller asks.
qint64 TextSize(const xmlNode* first, int nesting) {
    const qint64 enough = t_state->entityBudget + 1;
    qint64 size = 0;
    for (const xmlNode* top = first; top && size < enough; top = top->next) {
        const xmlNode* node = top;
        while (node && size < enough) {
            switch (node->type) {
                case XML_TEXT_NODE:
                case XML_CDATA_SECTION_NODE:
                    size += xmlStrlen(node->content);
                    break;
                case XML_ENTITY_REF_NODE:
                    size += EntityTextSize(xmlGetDocEntity(t_state->parser->myDoc, node->name),
                                           nesting + 1);
                    break;
                case XML_ELEMENT_NODE:
                    for (const xmlAttr* attribute = node->properties; attribute;
                         attribute = attribute->next) {
                        size += TextSize(attribute->children, nesting);
                    }
                    break;
                default:
                    break;
            }
            // Through the elements of the content, without recursion however deep they nest.
            if (node->type == XML_ELEMENT_NODE && node->children) {
                node = node->children;
                continue;
            }
            while (node != top && !node->next) {
                node = node->parent;
            }
            node = node == top ? nullptr : node->next;
        }
    }
    return std::min(size, enough);
}

// Remembered per entity: a blow-up is the same few entities referenced over and over.
qint64 EntityTextSize(const xmlEntity* entity, int nesting) {
    if (!entity || entity->etype == XML_INTERNAL_PREDEFINED_ENTITY) {
        return 0;
    }
    if (nesting > kMaxEntityNesting) {
        return t_state->entityBudget + 1;
    }
    if (const auto known = t_state->entitySizes.constFind(entity);
        known != t_state->entitySizes.cend()) {
        return *known;
    }
    // A loop that got this far counts as too big rather than recursing for ever.
    t_state->entitySizes.insert(entity, t_state->entityBudget + 1);
    const qint64 size = entity->children ? TextSize(entity->children, nesting)
                                         : static_cast<qint64>(xmlStrlen(entity->content));
    t_state->entitySizes.insert(entity, size);
    return size;
}

void Spend(qint64 size) {
    t_state->entityText += size;
    if (t_state->entityText > t_state->entityBudget) {
        Refuse(QByteArray("entity references would expand to more than ") +
               QByteArray::number(t_state->entityBudget) + " bytes of text");
    }
}

// Only references of the document itself count: libxml2 reads an entity's own content on its
// first reference through a parser of its own, and that content is counted with the entity.
void OnReference(void* context, const xmlChar* name) {
    t_state->reference(context, name);
    if (context == t_state->parser && t_state->parser->myDoc) {
        Spend(EntityTextSize(xmlGetDocEntity(t_state->parser->myDoc, name), 0));
    }
}

void OnStartElement(void* context, const xmlChar* localName, const xmlChar* prefix,
                    const xmlChar* uri, int namespaceCount, const xmlChar** namespaces,
                    int attributeCount, int defaultedCount, const xmlChar** attributes) {
    // Built first in any case: inside an entity's content a parser of libxml2's own is running,
    // which the refusal does not stop, and its end tag must find the element.
    t_state->startElement(context, localName, prefix, uri, namespaceCount, namespaces,
                          attributeCount, defaultedCount, attributes);
    if (uri) {
        for (const char* xinclude : kXIncludeNamespaces) {
            if (std::strcmp(reinterpret_cast<const char*>(uri), xinclude) == 0) {
                Refuse("an XInclude element is not allowed in this document");
                return;
            }
        }
    }
    // Attribute values keep their references as nodes too.
    const xmlNode* element = t_state->parser->node;
    if (t_state->doctype == CXmlParser::EDoctype::KeepInert && context == t_state->parser &&
        element && element->type == XML_ELEMENT_NODE) {
        for (const xmlAttr* attribute = element->properties; attribute;
             attribute = attribute->next) {
            for (const xmlNode* part = attribute->children; part; part = part->next) {
                if (part->type == XML_ENTITY_REF_NODE) {
                    Spend(EntityTextSize(xmlGetDocEntity(element->doc, part->name), 0));
                }
            }
        }
    }
}

struct SParserFree {
    void operator()(xmlParserCtxtPtr parser) const { xmlFreeParserCtxt(parser); }
};

CXmlParser::SError Refusal(const QByteArray& reason, const QString& source, int line, int column) {
    CXmlParser::SError error;
    error.reason = QString::fromUtf8(reason);
    error.line = line;
    error.column = column;
    error.code = XML_ERR_USER_STOP;
    error.domain = XML_FROM_PARSER;
    error.source = source;
    return error;
}

CXmlParser::SError FromLibxml(const xmlError& libxml) {
    CXmlParser::SError error;
    error.reason = QString::fromUtf8(libxml.message ? libxml.message : "").trimmed();
    error.line = libxml.line;
    error.column = libxml.int2;
    error.code = libxml.code;
    error.domain = libxml.domain;
    error.source = QString::fromUtf8(libxml.file ? libxml.file : "");
    if (error.source.isEmpty() && libxml.str1) {
        error.source = QString::fromUtf8(libxml.str1);
    }
    return error;
}

}  // namespace

CXmlParser::DocPtr CXmlParser::Parse(const QByteArray& text, const QString& sourceName,
                                     EInput input, EDoctype doctype, SError* error) {
    SError ignored;
    SError& failure = error ? *error : ignored;
    if (text.size() > INT_MAX) {
        failure = Refusal("the document is too large", sourceName, 0, 0);
        return nullptr;
    }
    const QByteArray source = sourceName.toUtf8();

    CLibxmlGuard refuseExternal;
    std::unique_ptr<xmlParserCtxt, SParserFree> parser(xmlNewParserCtxt());
    if (!parser || !parser->sax) {
        failure = Refusal("out of memory", sourceName, 0, 0);
        return nullptr;
    }
    SParseState state;
    state.parser = parser.get();
    state.doctype = doctype;
    state.startElement = parser->sax->startElementNs;
    state.reference = parser->sax->reference;
    state.entityBudget = std::max<qint64>(kMinEntityBudget, text.size());
    parser->sax->serror = CollectError;
    parser->sax->startElementNs = OnStartElement;
    if (doctype == EDoctype::Refuse) {
        parser->sax->internalSubset = OnInternalSubset;
        parser->sax->externalSubset = OnExternalSubset;
        parser->sax->entityDecl = OnEntityDecl;
    } else if (state.reference) {
        parser->sax->reference = OnReference;
    }

    const int options = kParseOptions | (input == EInput::DecodedUtf8 ? XML_PARSE_IGNORE_ENC : 0);
    t_state = &state;
    DocPtr document(xmlCtxtReadMemory(parser.get(), text.constData(), static_cast<int>(text.size()),
                                      source.isEmpty() ? nullptr : source.constData(),
                                      input == EInput::DecodedUtf8 ? "UTF-8" : nullptr, options));
    t_state = nullptr;

    struct SResetFirst {
        xmlError* error;
        ~SResetFirst() { xmlResetError(error); }
    } resetFirst{&state.first};

    if (!state.refusal.isEmpty()) {
        failure = Refusal(state.refusal, sourceName, state.refusalLine, state.refusalColumn);
        return nullptr;
    }
    // An undeclared prefix is only a namespace error to libxml2, but the tree would not mean
    // what the text says.
    const bool wellFormed = parser->wellFormed && parser->nsWellFormed;
    if (!document || !wellFormed || state.hasFirst) {
        if (state.hasFirst) {
            failure = FromLibxml(state.first);
        } else if (const xmlError* last = xmlCtxtGetLastError(parser.get());
                   last && last->code != XML_ERR_OK) {
            failure = FromLibxml(*last);
        } else {
            failure = Refusal("the text is not a well-formed XML document", sourceName, 0, 0);
        }
        return nullptr;
    }
    // Belt and braces: the callbacks above should have stopped any document with a DTD.
    if (doctype == EDoctype::Refuse && (document->intSubset || document->extSubset)) {
        failure = Refusal("a document type declaration (DOCTYPE) is not allowed", sourceName, 0, 0);
        return nullptr;
    }
    if (!xmlDocGetRootElement(document.get())) {
        failure = Refusal("the document has no root element", sourceName, 0, 0);
        return nullptr;
    }
    return document;
}
