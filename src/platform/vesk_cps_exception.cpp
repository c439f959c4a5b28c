#include "platform/vesk_cps_exception.h"

#include <libxml/xmlerror.h>

namespace {

QString ContextLine(const QString& operation, const QString& detail,
                    const std::source_location& where) {
    return QStringLiteral("\n(%1:%2) %3").arg(operation).arg(where.line()).arg(detail);
}

QString XmlText(const char* text) {
    return QString::fromUtf8(text ? text : "").trimmed();
}

}  // namespace

CVeskCPSException::CVeskCPSException(int messageId, QString text)
    : m_messageId(messageId), m_text(std::move(text)), m_ownLength(m_text.size()) {
    Refresh();
}

CVeskCPSException::CVeskCPSException(int messageId, const QString& operation, const QString& detail,
                                     std::source_location where)
    : CVeskCPSException(messageId, QString()) {
    AddContext(operation, detail, where);
}

CVeskCPSException CVeskCPSException::FromXmlError(int messageId, const _xmlError* error,
                                                  const QString& operation,
                                                  std::source_location where) {
    QString message;
    QString description;
    QString source;
    if (error) {
        message = XmlText(error->message);
        description = QStringLiteral("line %1, column %2 (error %3 of domain %4)")
                          .arg(error->line)
                          .arg(error->int2)
                          .arg(error->code)
                          .arg(error->domain);
        source = XmlText(error->file);
        if (source.isEmpty() && error->str1) {
            source = XmlText(error->str1);
        }
    } else {
        message = QStringLiteral("unknown XML error");
    }
    QString text =
        QStringLiteral("ErrorMsg: %1\nDesc: %2\nSource: %3").arg(message, description, source);
    CVeskCPSException exception(messageId, std::move(text));
    exception.AddContext(operation, QStringLiteral("XML error"), where);
    return exception;
}

CVeskCPSException CVeskCPSException::WithText(int messageId, QString text, const QString& operation,
                                              const QString& detail, std::source_location where) {
    CVeskCPSException exception(messageId, std::move(text));
    exception.AddContext(operation, detail, where);
    return exception;
}

CVeskCPSException& CVeskCPSException::AddContext(const QString& operation, const QString& detail,
                                                 std::source_location where) {
    m_text += ContextLine(operation, detail, where);
    Refresh();
    return *this;
}

CVeskCPSException& CVeskCPSException::PassOn(const QString& operation, std::source_location where) {
    return AddContext(operation, QStringLiteral("Exception Catched"), where);
}

void CVeskCPSException::Refresh() {
    m_what = m_text.toUtf8();
}
