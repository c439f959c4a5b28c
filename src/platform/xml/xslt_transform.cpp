#include "platform/xml/xslt_transform.h"

#include <cstdarg>
#include <cstdio>
#include <mutex>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>
#include <libxml/xmlerror.h>
#include <libxslt/documents.h>
#include <libxslt/security.h>
#include <libxslt/transform.h>
#include <libxslt/xsltInternals.h>
#include <libxslt/xsltutils.h>

namespace {

// The folder the style sheet being compiled or run on this thread may read from. libxslt's
// loader and its read check are process-wide callbacks with no room for our own state, so the
// folder travels beside them; empty means nothing may be read.
thread_local QString t_readableFolder;
// libxslt's messages of the compile or transform running on this thread.
thread_local QString t_errors;

class CFolderScope {
public:
    explicit CFolderScope(const QString& folder) : m_previous(t_readableFolder) {
        t_readableFolder = folder;
        t_errors.clear();
    }
    ~CFolderScope() { t_readableFolder = m_previous; }
    CFolderScope(const CFolderScope&) = delete;
    CFolderScope& operator=(const CFolderScope&) = delete;

private:
    QString m_previous;
};

// A local file name for a URI or path libxslt asks to read; empty for anything that is not a
// local file.
QString LocalPath(const char* value) {
    const QString text = QString::fromUtf8(value);
    if (text.startsWith(QLatin1String("file:"), Qt::CaseInsensitive)) {
        const QUrl url(text);
        return url.isLocalFile() ? url.toLocalFile() : QString();
    }
    if (text.contains(QLatin1String("://"))) {
        return QString();
    }
    return text;
}

bool InsideReadableFolder(const char* value) {
    if (t_readableFolder.isEmpty() || value == nullptr) {
        return false;
    }
    const QString path = LocalPath(value);
    if (path.isEmpty()) {
        return false;
    }
    // Symbolic links and ".." are resolved first, so that neither can lead out of the folder.
    const QString folder = QFileInfo(t_readableFolder).canonicalFilePath();
    const QString file = QFileInfo(path).canonicalFilePath();
    return !folder.isEmpty() && !file.isEmpty() && file.startsWith(folder + QLatin1Char('/'));
}

int CheckRead(xsltSecurityPrefsPtr, xsltTransformContextPtr, const char* value) {
    if (InsideReadableFolder(value)) {
        return 1;
    }
    t_errors += QStringLiteral("reading \"%1\" is not allowed\n").arg(QString::fromUtf8(value));
    return 0;
}

int Refuse(xsltSecurityPrefsPtr, xsltTransformContextPtr, const char* value) {
    t_errors += QStringLiteral("\"%1\": writing and network access are not allowed\n")
                    .arg(QString::fromUtf8(value));
    return 0;
}

xsltSecurityPrefsPtr MakePrefs() {
    xsltSecurityPrefsPtr prefs = xsltNewSecurityPrefs();
    xsltSetSecurityPrefs(prefs, XSLT_SECPREF_READ_FILE, CheckRead);
    xsltSetSecurityPrefs(prefs, XSLT_SECPREF_WRITE_FILE, Refuse);
    xsltSetSecurityPrefs(prefs, XSLT_SECPREF_CREATE_DIRECTORY, Refuse);
    xsltSetSecurityPrefs(prefs, XSLT_SECPREF_READ_NETWORK, Refuse);
    xsltSetSecurityPrefs(prefs, XSLT_SECPREF_WRITE_NETWORK, Refuse);
    return prefs;
}

void CollectError(void*, const char* format, ...) {
    va_list args;
    va_start(args, format);
    char buffer[1024];
    std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    t_errors += QString::fromUtf8(buffer);
}

// Documents that style sheets import, include or open with document() are parsed by the
// program's own parser: libxslt's default loader would load DTDs and substitute entities.
xmlDocPtr LoadDocument(const xmlChar* uri, xmlDictPtr, int, void*, xsltLoadType) {
    const char* name = reinterpret_cast<const char*>(uri);
    if (!InsideReadableFolder(name)) {
        t_errors += QStringLiteral("reading \"%1\" is not allowed\n").arg(QString::fromUtf8(name));
        return nullptr;
    }
    QFile file(LocalPath(name));
    if (!file.open(QIODevice::ReadOnly)) {
        t_errors += QStringLiteral("cannot read \"%1\"\n").arg(file.fileName());
        return nullptr;
    }
    CXmlParser::SError error;
    CXmlParser::DocPtr doc =
        CXmlParser::Parse(file.readAll(), file.fileName(), CXmlParser::EInput::Bytes,
                          CXmlParser::EDoctype::Refuse, &error);
    if (!doc) {
        t_errors += QStringLiteral("%1: line %2: %3\n")
                        .arg(file.fileName())
                        .arg(error.line)
                        .arg(error.reason);
    }
    return doc.release();
}

void InstallOnce() {
    static std::once_flag once;
    std::call_once(once, [] {
        // Compiling reads imports through the default preferences; running uses the context's.
        xsltSetDefaultSecurityPrefs(MakePrefs());
        xsltSetLoaderFunc(LoadDocument);
        xsltSetGenericErrorFunc(nullptr, CollectError);
    });
}

}  // namespace

void CXsltStyleSheet::SStyleFree::operator()(_xsltStylesheet* style) const {
    xsltFreeStylesheet(style);
}

CXsltStyleSheet::CXsltStyleSheet(CXmlDocument styleSheet, const QString& readableFolder,
                                 const QString& baseName, int messageId)
    : m_folder(readableFolder), m_baseName(baseName), m_messageId(messageId) {
    InstallOnce();
    CFolderScope scope(m_folder);
    // Relative imports resolve against the folder, as if the sheet had been read from it.
    const QByteArray base = QUrl::fromLocalFile(QDir(m_folder).filePath(baseName)).toEncoded();
    xmlDocPtr doc = styleSheet.Release();
    if (doc != nullptr) {
        xmlNodeSetBase(reinterpret_cast<xmlNodePtr>(doc),
                       reinterpret_cast<const xmlChar*>(base.constData()));
    }
    // xsltParseStylesheetDoc owns the document once it returns a style sheet; on failure the
    // document is still ours.
    m_style.reset(xsltParseStylesheetDoc(doc));
    if (!m_style || m_style->errors > 0) {
        if (!m_style) {
            xmlFreeDoc(doc);
        }
        m_style.reset();
        throw CVeskCPSException::WithText(
            messageId, QStringLiteral("%1: %2").arg(baseName, t_errors.trimmed()),
            QStringLiteral("CXsltStyleSheet"), QStringLiteral("compile"));
    }
}

CXsltStyleSheet::~CXsltStyleSheet() = default;

QByteArray CXsltStyleSheet::Transform(const CXmlDocument& input) const {
    CFolderScope scope(m_folder);
    xsltTransformContextPtr context = xsltNewTransformContext(m_style.get(), input.Get());
    if (context == nullptr) {
        throw CVeskCPSException(m_messageId, QStringLiteral("CXsltStyleSheet::Transform"),
                                QStringLiteral("no transform context"));
    }
    xsltSecurityPrefsPtr prefs = MakePrefs();
    xsltSetCtxtSecurityPrefs(prefs, context);
    xsltSetTransformErrorFunc(context, nullptr, CollectError);
    xmlDocPtr result =
        xsltApplyStylesheetUser(m_style.get(), input.Get(), nullptr, nullptr, nullptr, context);
    const bool failed = result == nullptr || context->state != XSLT_STATE_OK;
    xsltFreeTransformContext(context);
    xsltFreeSecurityPrefs(prefs);
    CXmlDocument owned(result);
    if (failed) {
        throw CVeskCPSException::WithText(
            m_messageId, QStringLiteral("%1: %2").arg(m_baseName, t_errors.trimmed()),
            QStringLiteral("CXsltStyleSheet::Transform"), QStringLiteral("transform"));
    }
    xmlChar* text = nullptr;
    int length = 0;
    if (xsltSaveResultToString(&text, &length, owned.Get(), m_style.get()) != 0) {
        throw CVeskCPSException(m_messageId, QStringLiteral("CXsltStyleSheet::Transform"),
                                QStringLiteral("%1: the result cannot be written").arg(m_baseName));
    }
    QByteArray bytes(reinterpret_cast<const char*>(text), length);
    xmlFree(text);
    return bytes;
}
