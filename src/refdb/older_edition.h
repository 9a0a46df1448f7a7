#pragma once

#include <QString>

class QWidget;

namespace vexo {

// Builds the reference database from the older edition's single matrix table: one definition per
// older nutrient column (the first record holds the units, "BIRIM" in YM_ADI), "KM" first and filled
// from the older dry-matter column KMO, which then goes. Both new tables are built and checked in
// "Temp_Data" and replace the live pair together; any failure leaves the live tables as they were,
// with the step's message. True when both live tables were replaced.
bool VKAR25_DONUS(QWidget *owner, const QString &olderPath);

// The checks of the menu command on the confirmed path: an empty or relative path stops silently, a
// table in the data root or a missing one with a message; then the open editors are closed and the
// table converted. False when nothing was started.
bool convertChosenOlderTable(QWidget *owner, const QString &chosen);
// The menu command: asks for the older table with the folder dialog, refuses one in the data root or
// a missing one, closes the open editors and converts. False when nothing was started.
bool VKAR25_DONUS_COMMAND();

} // namespace vexo
