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

// Why a table's fields are neither the current problem-file layout nor the older one (which lacks
// some of the stock flag and the saved-solution fields, and may hold shorter matrix rows); an empty
// text when they are one of the two.
QString problemLayoutProblem(const DbfStructure &fields);

// Creates an empty problem file at the full path; on failure tells the user and answers false. When
// the disk is full, the message says so.
bool DATAFILECREATE(QWidget *owner, const QString &path);
// After a write into the folder failed: a text saying that its disk is full, when the disk has less
// room left than `needed` bytes (what the write needed); empty otherwise.
QString diskFullText(const QString &folder, qint64 needed);
// Opens the file shared as the open problem's table. Any table that was open is closed first. A table
// that is not a problem file is refused. On failure tells the user, leaves no table open and answers
// false.
bool DATAFOPEN(QWidget *owner, const QString &path);

} // namespace vexo
