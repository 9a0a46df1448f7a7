#include "problem/crypt_dbserver.h"

#include "platform/crypt.h"

namespace vexo {

QString CRYPTDBSERVER::CRYPTIT(const QString &text) const
{
    return Crypt(text, m_key);
}

QString CRYPTDBSERVER::DECRYPT(const QString &text) const
{
    return Crypt(text, m_key);
}

QVariant CRYPTDBSERVER::fieldGet(int pos)
{
    const QVariant stored = DbfTable::fieldGet(pos);
    if (stored.typeId() != QMetaType::QString || pos < 1 || pos > fCount() || dbStruct().at(pos - 1).type != u'C')
        return stored;
    return DECRYPT(stored.toString());
}

bool CRYPTDBSERVER::fieldPut(int pos, const QVariant &value)
{
    if (pos < 1 || pos > fCount() || dbStruct().at(pos - 1).type != u'C')
        return DbfTable::fieldPut(pos, value);
    const int width = dbStruct().at(pos - 1).width;
    const QString text = value.toString().left(width).leftJustified(width, u' ');
    return DbfTable::fieldPut(pos, CRYPTIT(text));
}

} // namespace vexo
