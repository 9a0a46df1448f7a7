#pragma once

#include <QString>

namespace vexo {

// Writes the parts of the open problem whose dirty flag is set into its table and commits it.
// Nothing is written when the problem cannot be stored whole (too many ingredients, a matrix row
// wider than its field); a refused append or write stops the writer that met it, keeps its flags,
// and the answer is false with the reason in *error for the caller to show.
bool PROBDBFUPDATE(QString *error = nullptr);
// Why a problem with `count` ingredients cannot be stored.
QString tooManyIngredientsText(int count);

bool YMKAYDI();
bool BMKAYDI();
bool GRUPKAYDI();
bool MATRIXKAYDI();
bool BMOKAYDI();
// Completes the parameter list to its eight elements.
void QVPARMARRANGE();

} // namespace vexo
