#pragma once
// The reference database a fresh data root starts with: the empty reference matrix and one nutrient
// definition per column of it, so that the matrix editor opens with captioned columns.
#include <QList>
#include <QString>

namespace vexo {

struct StarterDefinition
{
    int NUM = 0;
    QString NAME;
    QString ABRRE;
    QString UNIT;
    int DECIM = 4;
};

// The name every definition without a certain name starts with.
inline const QString kStarterPlaceholderName = QStringLiteral("Yazılacak...");

// One definition per nutrient column of the newly created matrix, in column order: NUM the record
// number, ABRRE the column name, DECIM 4, names and units from the compiled-in list.
QList<StarterDefinition> starterDefinitions();

// When the data root holds neither the reference matrix nor the nutrient definitions, writes both:
// the matrix as a new one is made (56 fields, one record, KOD 1) and starterDefinitions(). The pair
// is written whole or not at all. A root holding either table is left alone. Answers false with the
// reason when the pair should have been written and could not be.
bool writeStarterReferenceDatabase(QString *error = nullptr);

} // namespace vexo
