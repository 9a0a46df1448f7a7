#pragma once

#include "platform/dbf_table.h"

#include <QString>

namespace vexo {

// A table whose character fields are stored scrambled with Crypt under the class's key.
class CRYPTDBSERVER : public DbfTable
{
public:
    using DbfTable::DbfTable;
    using DbfTable::fieldGet;
    using DbfTable::fieldPut;

    QVariant fieldGet(int pos) override;
    // A text is padded to the field's width before it is scrambled: the table would otherwise pad the
    // scrambled text with plain blanks, which read back as scrambled characters.
    bool fieldPut(int pos, const QVariant &value) override;

    QString CRYPTIT(const QString &text) const;
    QString DECRYPT(const QString &text) const;

private:
    const QString m_key = QStringLiteral("kvz");
};

} // namespace vexo
