#include "model/schema_validator.h"

#include <utility>

#include <QRegularExpression>
#include <libxml/xmlerror.h>

#include "platform/string_table.h"
#include "platform/vesk_cps_exception.h"
#include "platform/xml/libxml_guard.h"

namespace {

constexpr int kLoadingErrorText = 223;

// The first error is the cause; the validator's later errors mostly follow from it.
struct SFirstError {
    bool has = false;
    QString message;
    int line = 0;
    const xmlNode* node = nullptr;
};

void CollectFirst(void* userData, xmlErrorPtr error) {
    auto* first = static_cast<SFirstError*>(userData);
    if (!first || !error || first->has || error->level < XML_ERR_ERROR) {
        return;
    }
    first->has = true;
    first->message = QString::fromUtf8(error->message ? error->message : "").trimmed();
    first->line = error->line;
    first->node = static_cast<const xmlNode*>(error->node);
}

struct SParserFree {
    void operator()(xmlSchemaParserCtxtPtr context) const { xmlSchemaFreeParserCtxt(context); }
};
struct SValidFree {
    void operator()(xmlSchemaValidCtxtPtr context) const { xmlSchemaFreeValidCtxt(context); }
};

QByteArray SourceLine(const QByteArray& text, int line) {
    if (line < 1) {
        return {};
    }
    qsizetype start = 0;
    for (int current = 1; current < line; ++current) {
        start = text.indexOf('\n', start);
        if (start < 0) {
            return {};
        }
        ++start;
    }
    qsizetype end = text.indexOf('\n', start);
    if (end < 0) {
        end = text.size();
    }
    QByteArray result = text.mid(start, end - start);
    if (result.endsWith('\r')) {
        result.chop(1);
    }
    return result;
}

QByteArray QualifiedName(const xmlNode* node) {
    QByteArray name = reinterpret_cast<const char*>(node->name);
    if (node->ns && node->ns->prefix) {
        name.prepend(QByteArray(reinterpret_cast<const char*>(node->ns->prefix)) + ':');
    }
    return name;
}

bool EndsName(const QByteArray& text, qsizetype at) {
    if (at >= text.size()) {
        return true;
    }
    const char c = text.at(at);
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '/' || c == '>' || c == '=';
}

bool StartsName(const QByteArray& text, qsizetype at) {
    if (at == 0) {
        return true;
    }
    const char c = text.at(at - 1);
    return c == ' ' || c == '\t' || c == '>' || c == '"' || c == '\'';
}

// The position of `name` as a whole name in `text` from `from`, or -1.
qsizetype FindName(const QByteArray& text, const QByteArray& name, qsizetype from) {
    for (qsizetype at = text.indexOf(name, from); at >= 0; at = text.indexOf(name, at + 1)) {
        if (StartsName(text, at) && EndsName(text, at + name.size())) {
            return at;
        }
    }
    return -1;
}

}  // namespace

CSchemaValidator::CSchemaValidator(const QByteArray& schemaText, const QString& schemaName)
    : CSchemaValidator(CXmlDocument::Parse(schemaText, schemaName, model_msg::kFatalError102),
                       schemaName) {}

CSchemaValidator::CSchemaValidator(CXmlDocument schemaDoc, const QString& schemaName)
    : m_schemaDoc(std::move(schemaDoc)) {
    SFirstError first;
    {
        CLibxmlGuard guard;
        std::unique_ptr<xmlSchemaParserCtxt, SParserFree> parser(
            xmlSchemaNewDocParserCtxt(m_schemaDoc.Get()));
        if (parser) {
            xmlSchemaSetParserStructuredErrors(parser.get(), CollectFirst, &first);
            m_schema.reset(xmlSchemaParse(parser.get()));
        }
    }
    if (!m_schema) {
        throw CVeskCPSException(
            model_msg::kFatalError102, QStringLiteral("CSchemaValidator::CSchemaValidator"),
            QStringLiteral("the schema '%1' does not compile: %2 (line %3)")
                .arg(schemaName, first.has ? first.message : QStringLiteral("out of memory"))
                .arg(first.line));
    }
}

void CSchemaValidator::Validate(const CXmlDocument& profile, const QString& sourceName,
                                const QByteArray& sourceText) const {
    if (profile.IsNull()) {
        throw CVeskCPSException(
            model_msg::kInvalidProfile, QStringLiteral("CSchemaValidator::Validate"),
            LoadingErrorText(sourceName, QStringLiteral("no document"), 0, 0, sourceText));
    }
    SFirstError first;
    int result = -1;
    {
        CLibxmlGuard guard;
        // A context per call: validation contexts hold state, and Validate may run on any thread.
        std::unique_ptr<xmlSchemaValidCtxt, SValidFree> context(
            xmlSchemaNewValidCtxt(m_schema.get()));
        if (context) {
            xmlSchemaSetValidStructuredErrors(context.get(), CollectFirst, &first);
            result = xmlSchemaValidateDoc(context.get(), profile.Get());
        }
    }
    if (result == 0) {
        return;
    }
    const xmlNode* node = first.node;
    const xmlNode* element = node && node->type == XML_ATTRIBUTE_NODE ? node->parent : node;
    int line = first.line;
    if (line <= 0 && element && element->type == XML_ELEMENT_NODE) {
        line = static_cast<int>(xmlGetLineNo(element));
    }
    if (line <= 0) {
        line = 0;
    }
    const QByteArray lineText = SourceLine(sourceText, line);
    const QString reason =
        first.has ? first.message : QStringLiteral("the validator failed (code %1)").arg(result);
    // The validator reports an attribute's fault on its element and names the attribute only in
    // the reason.
    static const QRegularExpression kAttributeName(QStringLiteral("attribute '([^']+)'"));
    const QByteArray attributeName = kAttributeName.match(reason).captured(1).toUtf8();
    throw CVeskCPSException::WithText(
        model_msg::kInvalidProfile,
        LoadingErrorText(sourceName, reason, line,
                         line > 0 ? PositionInLine(node, lineText, attributeName) : 0, sourceText),
        QStringLiteral("CSchemaValidator::Validate"), QStringLiteral("schema validation"));
}

CXmlDocument CSchemaValidator::ParseAndValidate(const QByteArray& text,
                                                const QString& sourceName) const {
    CXmlDocument document = CXmlDocument::Parse(text, sourceName, model_msg::kInvalidProfile);
    Validate(document, sourceName, text);
    return document;
}

QString CSchemaValidator::LoadingErrorText(const QString& sourceName, const QString& reason,
                                           int line, int position, const QByteArray& sourceText) {
    return CStringTable::Instance().Format(
        kLoadingErrorText, {sourceName, reason, QString::number(line), QString::number(position),
                            QString::fromUtf8(SourceLine(sourceText, line)).trimmed()});
}

int CSchemaValidator::PositionInLine(const xmlNode* node, const QByteArray& lineText,
                                     const QByteArray& attributeName) {
    if (!node) {
        return 1;
    }
    const bool isAttribute = node->type == XML_ATTRIBUTE_NODE;
    const xmlNode* element = isAttribute ? node->parent : node;
    if (!element || element->type != XML_ELEMENT_NODE) {
        return 1;
    }
    const qsizetype tag = FindName(lineText, '<' + QualifiedName(element), 0);
    const QByteArray attribute = isAttribute ? QualifiedName(node) : attributeName;
    if (!attribute.isEmpty()) {
        // Attributes may sit on a continuation line of the tag, so search the whole line.
        const qsizetype name = FindName(lineText, attribute, tag < 0 ? 0 : tag);
        if (name > 0) {
            return static_cast<int>(name) + 1;
        }
    }
    return tag >= 0 ? static_cast<int>(tag) + 1 : 1;
}
