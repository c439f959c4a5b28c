#pragma once

// The profile schema as loading needs it: the validator and the index of declarations, compiled
// once per schema text. Compiling takes far longer than validating a profile, and every load (the
// admission check, opening, the reload after a radio read) reads the same installed schema.

#include <memory>

#include <QString>

#include "model/schema_index.h"
#include "model/schema_validator.h"

class CCompiledSchema {
public:
    // The compiled form of `schemaText`, shared with every caller since that gave the same text;
    // compiled anew when the text changed (the installation was updated while running). The name
    // only names the schema in the failure of a text that is no schema (134), which is not kept.
    // Safe from any thread; what it returns is only read from then on.
    static std::shared_ptr<const CCompiledSchema> For(const QString& schemaText,
                                                      const QString& schemaName);

    // Compiles without sharing. Raises 134 as For does.
    CCompiledSchema(const QString& schemaText, const QString& schemaName);

    const CSchemaValidator& Validator() const { return m_validator; }
    const CSchemaIndex& Index() const { return m_index; }

private:
    CCompiledSchema(CXmlDocument schemaDoc, const QString& schemaName);

    // The index is read from the schema document before the validator takes it over.
    CSchemaIndex m_index;
    CSchemaValidator m_validator;
};
