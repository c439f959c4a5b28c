#pragma once

#include <memory>

#include <QByteArray>
#include <QString>
#include <libxml/xmlschemas.h>

#include "platform/xml/xml_document.h"

// The profile schema compiled once; validates parsed profiles against it. A refusal is
// CVeskCPSException 135 whose detail is the "Profile Loading Error" text (resource 223): the
// source, the validator's first reason, the line and position, and the text of that line.
class CSchemaValidator {
public:
    // The schema text is parsed with the hardened parser, so compiling it never reaches outside
    // the text. A schema that does not parse or compile raises 134.
    explicit CSchemaValidator(const QByteArray& schemaText,
                              const QString& schemaName = QStringLiteral("DataProfile.xsd"));

    // A schema document already parsed (the validator keeps it).
    CSchemaValidator(CXmlDocument schemaDoc, const QString& schemaName);

    // `sourceText` is the text `profile` was parsed from; it supplies the failing line.
    void Validate(const CXmlDocument& profile, const QString& sourceName,
                  const QByteArray& sourceText) const;
    // Parses (a parse failure is the parser's 135) and validates.
    CXmlDocument ParseAndValidate(const QByteArray& text, const QString& sourceName) const;

    // The resource 223 text; `line` and `position` count from 1.
    static QString LoadingErrorText(const QString& sourceName, const QString& reason, int line,
                                    int position, const QByteArray& sourceText);
    // The 1-based position in its line of the start tag of `node`, or of the attribute when
    // `node` is one or `attributeName` names one of the element; 1 when it is not there.
    static int PositionInLine(const xmlNode* node, const QByteArray& lineText,
                              const QByteArray& attributeName = QByteArray());

private:
    struct SSchemaFree {
        void operator()(xmlSchemaPtr schema) const { xmlSchemaFree(schema); }
    };

    // libxml2 may keep pointers into the schema document, so it lives as long as the schema.
    CXmlDocument m_schemaDoc;
    std::unique_ptr<xmlSchema, SSchemaFree> m_schema;
};
