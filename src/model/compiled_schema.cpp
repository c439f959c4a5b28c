#include "model/compiled_schema.h"

#include <mutex>
#include <utility>

#include "platform/vesk_cps_exception.h"

namespace {

struct SSchemaCache {
    std::mutex mutex;
    QString text;
    std::shared_ptr<const CCompiledSchema> schema;
};

}  // namespace

CCompiledSchema::CCompiledSchema(const QString& schemaText, const QString& schemaName)
    : CCompiledSchema(CXmlDocument::ParseText(schemaText, schemaName, model_msg::kFatalError102),
                      schemaName) {}

CCompiledSchema::CCompiledSchema(CXmlDocument schemaDoc, const QString& schemaName)
    : m_index(CSchemaIndex::Build(schemaDoc)), m_validator(std::move(schemaDoc), schemaName) {}

std::shared_ptr<const CCompiledSchema> CCompiledSchema::For(const QString& schemaText,
                                                            const QString& schemaName) {
    // Reachable until exit on purpose: freeing a compiled schema during static destruction could
    // run after libxml2's own state is gone.
    static SSchemaCache* const cache = new SSchemaCache;
    // Held while compiling: a second loader of the same text waits for the first one's schema
    // instead of compiling its own.
    const std::lock_guard lock(cache->mutex);
    if (!cache->schema || cache->text != schemaText) {
        auto compiled = std::make_shared<const CCompiledSchema>(schemaText, schemaName);
        cache->text = schemaText;
        cache->schema = std::move(compiled);
    }
    return cache->schema;
}
