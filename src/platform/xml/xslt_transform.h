#pragma once

#include <memory>

#include <QByteArray>
#include <QString>

#include "platform/xml/xml_document.h"

struct _xsltStylesheet;

// An XSLT 1.0 style sheet, compiled from a document parsed under the program's parser policy,
// and run under security preferences: no file is written, no folder created, nothing read or
// written over the network, and files are read only inside the one folder the style sheet was
// given (its imports, includes and document() calls). Nothing outside that folder can leak into
// a report, whatever a style sheet someone edited asks for.
class CXsltStyleSheet {
public:
    // Compiles `styleSheet` (taken over). `readableFolder` is the only folder it may read from;
    // `baseName` names it in errors. Raises `messageId` with libxslt's words when it does not
    // compile.
    CXsltStyleSheet(CXmlDocument styleSheet, const QString& readableFolder, const QString& baseName,
                    int messageId);
    ~CXsltStyleSheet();
    CXsltStyleSheet(const CXsltStyleSheet&) = delete;
    CXsltStyleSheet& operator=(const CXsltStyleSheet&) = delete;

    // The result serialised as the style sheet's xsl:output says (its encoding; UTF-8 for the
    // report sheets). Raises `messageId` with libxslt's words when the transform fails or an
    // instruction was refused by the security preferences.
    QByteArray Transform(const CXmlDocument& input) const;

private:
    struct SStyleFree {
        void operator()(_xsltStylesheet* style) const;
    };
    std::unique_ptr<_xsltStylesheet, SStyleFree> m_style;
    QString m_folder;
    QString m_baseName;
    int m_messageId;
};
