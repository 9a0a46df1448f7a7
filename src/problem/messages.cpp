#include "problem/messages.h"

#include "problem/number_text.h"

#include <QLocale>
#include <QStringList>

namespace vexo {

namespace {

const QString &errorCaption()
{
    static const QString caption = QStringLiteral("Hata...");
    return caption;
}

const QString &warningCaption()
{
    static const QString caption = QStringLiteral("Uyarı...");
    return caption;
}

void box(QWidget *owner, const QString &caption, const QString &fallback, const QString &text, unsigned icon)
{
    showMessage(owner, caption.isEmpty() ? fallback : caption, text, icon | MB_OK);
}

bool isArray(const QVariant &v)
{
    const int id = v.typeId();
    return id == QMetaType::QVariantList || id == QMetaType::QStringList;
}

// The text form of one element: a text unchanged, a number in its shortest exact form, a nested
// array in braces.
QString valueText(const QVariant &v)
{
    if (isArray(v)) {
        QStringList parts;
        for (const QVariant &e : v.toList())
            parts.append(valueText(e));
        return u'{' + parts.join(QStringLiteral(", ")) + u'}';
    }
    if (v.typeId() == QMetaType::Double || v.typeId() == QMetaType::Float)
        return QString::number(v.toDouble(), 'g', QLocale::FloatingPointShortest);
    return v.toString();
}

QString arrayText(const QVariant &array)
{
    QString text = QStringLiteral(" ");
    const QList<int> dims = ADIMENS(array);
    if (dims.isEmpty())
        return text;
    const QVariantList list = array.toList();
    if (dims.size() == 1) {
        for (const QVariant &e : list)
            text += valueText(e) + u' ';
        return text;
    }
    // Every row shows as many cells as the first row has; a shorter row shows what it has, and a
    // row that is a single value shows that value.
    const int columns = dims.at(1);
    for (const QVariant &row : list) {
        QString line;
        if (isArray(row)) {
            const QVariantList cells = row.toList();
            for (int i = 0; i < columns && i < cells.size(); ++i)
                line += valueText(cells.at(i)) + u' ';
        } else {
            line += valueText(row) + u' ';
        }
        text += line + QStringLiteral("\r\n");
    }
    return text;
}

} // namespace

void ERRMESS(QWidget *owner, const QString &caption, const QString &text)
{
    box(owner, caption, errorCaption(), text, MB_ICONSTOP);
}

void MESS2(const QString &text)
{
    box(nullptr, QString(), errorCaption(), text, MB_ICONSTOP);
}

void MESS(const QString &text)
{
    box(nullptr, QString(), QStringLiteral("Mesaj..."), text, MB_ICONINFORMATION);
}

void UYARI(QWidget *owner, const QString &caption, const QString &text)
{
    box(owner, caption, warningCaption(), text, MB_ICONEXCLAMATION);
}

void UYARI2(const QString &text)
{
    box(nullptr, QString(), warningCaption(), text, MB_ICONEXCLAMATION);
}

void ERRBEEP()
{
    playTones({{100, 3}});
}

void DONEBEEP()
{
    playTones({{300, 1}, {100, 1}, {300, 1}, {100, 1}});
}

void ARRAYTOTEXTSHOW(const QVariant &array)
{
    MESS(arrayText(array));
}

bool askYesNo(QWidget *owner, const QString &caption, const QString &text, unsigned icon)
{
    return showMessage(owner, caption, text, (icon & ~0x0Fu) | MB_YESNO) == MessageAnswer::Yes;
}

bool askRetryCancel(QWidget *owner, const QString &caption, const QString &text, unsigned icon)
{
    return showMessage(owner, caption, text, (icon & ~0x0Fu) | MB_RETRYCANCEL) == MessageAnswer::Retry;
}

MessageAnswer askSaveBeforeClosing(QWidget *owner, const QString &caption, const QString &text, unsigned icon)
{
    const MessageAnswer answer = showMessage(owner, caption, text, (icon & ~0x0Fu) | MB_YESNOCANCEL);
    // Anything but a plain Yes or No (a sink that knows no third answer) keeps what is open.
    return answer == MessageAnswer::Yes || answer == MessageAnswer::No ? answer : MessageAnswer::Cancel;
}

} // namespace vexo
