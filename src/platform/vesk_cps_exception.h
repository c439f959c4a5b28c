#pragma once

#include <exception>
#include <source_location>

#include <QString>

struct _xmlError;

// Message numbers of the model's failures.
namespace model_msg {
inline constexpr int kUnknownError = 131;
inline constexpr int kProgrammingError107 = 132;
inline constexpr int kProgrammingError108 = 133;
inline constexpr int kFatalError102 = 134;
inline constexpr int kInvalidProfile = 135;
inline constexpr int kFailedToLoadProfile = 136;
inline constexpr int kFatalError101 = 137;
inline constexpr int kFailedToSave = 533;
}  // namespace model_msg

// The one exception of the model and the pages. It carries the message number that the user is
// shown, and a diagnostic text that grows by one context line at every raise and every handler
// that passes it on, so that the text reads as the way the failure travelled.
class CVeskCPSException : public std::exception {
public:
    // Raises with a first context line "(operation:line) detail".
    CVeskCPSException(int messageId, const QString& operation, const QString& detail,
                      std::source_location where = std::source_location::current());

    // The XML library's last error, as "ErrorMsg: ...\nDesc: ...\nSource: ..." followed by the
    // context line.
    static CVeskCPSException FromXmlError(
        int messageId, const _xmlError* error, const QString& operation,
        std::source_location where = std::source_location::current());

    // An exception whose text is `text` itself (a resource text already filled in), followed by
    // the context line "(operation:line) detail".
    static CVeskCPSException WithText(int messageId, QString text, const QString& operation,
                                      const QString& detail,
                                      std::source_location where = std::source_location::current());

    int MessageId() const noexcept { return m_messageId; }
    const QString& Text() const noexcept { return m_text; }
    // The text without the context lines: what the failure was, not how it travelled. Empty when
    // the exception was raised with a context line only.
    QString Summary() const { return m_text.left(m_ownLength); }
    const char* what() const noexcept override { return m_what.constData(); }

    // Appends "\n(operation:line) detail".
    CVeskCPSException& AddContext(const QString& operation, const QString& detail,
                                  std::source_location where = std::source_location::current());
    // For a handler that passes the exception on: its operation with "Exception Catched".
    CVeskCPSException& PassOn(const QString& operation,
                              std::source_location where = std::source_location::current());

private:
    CVeskCPSException(int messageId, QString text);
    void Refresh();

    int m_messageId;
    QString m_text;
    qsizetype m_ownLength = 0;
    QByteArray m_what;
};
