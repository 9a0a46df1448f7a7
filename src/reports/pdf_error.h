#pragma once

#include <QString>

#include <exception>

namespace vexo {

// Thrown by MDPDF::ERROR after the message was shown: it unwinds the failing writer operation and every
// caller up to the nearest one that catches it.
class PdfError : public std::exception
{
public:
    explicit PdfError(QString message) : m_message(std::move(message)), m_utf8(m_message.toUtf8()) {}
    const QString &message() const { return m_message; }
    const char *what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_message;
    QByteArray m_utf8;
};

} // namespace vexo
