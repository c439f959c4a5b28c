#include "platform/xml/libxml_guard.h"

namespace {

xmlParserInputPtr RefuseExternalEntity(const char* /*url*/, const char* /*id*/,
                                       xmlParserCtxtPtr /*context*/) {
    return nullptr;
}

void IgnoreGenericError(void* /*context*/, const char* /*format*/, ...) {}

std::recursive_mutex& Mutex() {
    static std::recursive_mutex mutex;
    return mutex;
}

}  // namespace

CLibxmlGuard::CLibxmlGuard()
    : m_lock(Mutex()),
      m_loader(xmlGetExternalEntityLoader()),
      m_errorFunc(xmlGenericError),
      m_errorContext(xmlGenericErrorContext) {
    xmlSetExternalEntityLoader(RefuseExternalEntity);
    xmlSetGenericErrorFunc(nullptr, IgnoreGenericError);
}

CLibxmlGuard::~CLibxmlGuard() {
    xmlSetGenericErrorFunc(m_errorContext, m_errorFunc);
    xmlSetExternalEntityLoader(m_loader);
}
