#pragma once

#include "platform/dbf_field.h"

#include <QString>
#include <QStringList>

class QWidget;

namespace vexo {

inline const QString kPrmMarker = QStringLiteral("Prm_Bilgileri_Kaydi");
inline const QString kGrupMarker = QStringLiteral("Grup_Bilgileri_Kaydi");
inline const QString kProblemFileType = QStringLiteral("VEXO_Zud Veri Dosyası(*.VKD)");
constexpr int kYmbmatWidth = 1020;

// The 25 fields of a problem data file, in their order.
DbfStructure DATAFILESTRUCT();

// The cells of a YMBMAT text: each cell is the text before a comma, kept untrimmed; whatever follows
// the last comma is ignored.
QStringList decodeYmbmat(const QString &text);
// The first `count` cells, each followed by a comma (missing cells count as empty).
QString encodeYmbmat(const QStringList &cells, qsizetype count);
bool isMarker(const QString &fieldText, const QString &marker);

// Creates an empty problem file at the full path; on failure tells the user and answers false.
bool DATAFILECREATE(QWidget *owner, const QString &path);
// Opens the file shared as the open problem's table. Any table that was open is closed first. On
// failure tells the user, leaves no table open and answers false.
bool DATAFOPEN(QWidget *owner, const QString &path);

} // namespace vexo
