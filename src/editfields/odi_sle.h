#pragma once

#include <QLineEdit>

namespace vexo {

// A single-line edit typed through a fixed mask chosen by CSLETYPE: "N" the number mask (grouped with
// "," and "." whatever the locale; SETLEN must fix the lengths before digits can be typed), "D" the
// date mask "  .  .    " with its command keys, anything else a plain edit.
class ODI_SLE : public QLineEdit
{
    Q_OBJECT
public:
    explicit ODI_SLE(QWidget *owner = nullptr, const QString &type = QStringLiteral("N"));

    // `length` counts the whole number, the point included.
    void SETLEN(int length = 10, int decimals = 0);
    void SLE_TYPE(const QString &type) { m_type = type; }
    void SETBUFFER(const QString &text);

    QString CSLETYPE() const { return m_type; }
    int NINTLEN() const { return m_intLen; }
    int NDECIMALS() const { return m_decimals; }
    QString CBUFFER() const { return m_buffer; }

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    QString m_type;
    int m_intLen = 0;
    int m_decimals = 0;
    QString m_buffer;
};

} // namespace vexo
