#pragma once

#include <mutex>

#include <libxml/parser.h>
#include <libxml/xmlerror.h>

// Holds libxml2's process-wide parsing state for one parse: the external entity loader refuses
// everything and generic error output goes nowhere. Our parse options already keep the parser
// from loading anything; if some path in the library still asks, the answer is no. Every parse
// of the program (documents, settings, the script DOM) takes this one lock, so two parses never
// restore each other's state out of order.
class CLibxmlGuard {
public:
    CLibxmlGuard();
    ~CLibxmlGuard();
    CLibxmlGuard(const CLibxmlGuard&) = delete;
    CLibxmlGuard& operator=(const CLibxmlGuard&) = delete;

private:
    std::scoped_lock<std::recursive_mutex> m_lock;
    xmlExternalEntityLoader m_loader;
    xmlGenericErrorFunc m_errorFunc;
    void* m_errorContext;
};
