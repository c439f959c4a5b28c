#pragma once

#include <memory>

#include <QByteArray>
#include <QString>
#include <libxml/tree.h>

// The one way the program turns XML text into a libxml2 tree, whoever reads it: profiles,
// settings documents, schemas, style sheets and the documents scripts load. One set of parser
// options (no network, no DTD loading, no entity substitution, no XInclude, libxml2's own size
// limits kept), an external-entity loader that refuses everything, no XInclude element, entity
// references that may not stand for more text than the document could reasonably hold, and the
// first error with its line, its column and the parser's reason.
class CXmlParser {
public:
    // What a document type declaration gets; the rest of the policy is the same for both.
    enum class EDoctype {
        // Refused where it starts, so that no declaration in it is ever read. The program's own
        // documents have none.
        Refuse,
        // Kept as written, for the documents scripts load: nothing outside the text is read and
        // entity references stay references, reading as the entity's text where it has one.
        KeepInert,
    };

    // Bytes decode as their XML declaration says; text already decoded (to UTF-8) ignores it.
    enum class EInput { Bytes, DecodedUtf8 };

    struct SError {
        QString reason;  // the parser's words, or ours for what the policy refuses
        int line = 0;
        int column = 0;
        int code = 0;  // libxml2's error number; XML_ERR_USER_STOP for a refusal of the policy
        int domain = 0;
        QString source;  // the source name, or the name libxml2 gave instead
    };

    struct SDocFree {
        void operator()(xmlDocPtr doc) const { xmlFreeDoc(doc); }
    };
    using DocPtr = std::unique_ptr<xmlDoc, SDocFree>;

    // Null, with `error` filled, when the text is not namespace-well-formed XML (the first
    // error of level ERROR or above counts) or the policy refuses it. `sourceName` names the
    // text in errors.
    static DocPtr Parse(const QByteArray& text, const QString& sourceName, EInput input,
                        EDoctype doctype, SError* error);
};
