#pragma once
// Problems made, saved, read back and held for the save tests.

#include "problem/open_problem.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace vexo::test {

// Replaces the open problem's lists: `ingredients` ingredients named prefix1.. at a price of 10,
// the nutrients given (unit "%", minimum 1) and the groups given, every matrix cell `cell`, every
// group holding every ingredient; every list marked changed.
void setProblem(int ingredients, const QStringList &nutrients, const QStringList &groups,
                const QString &prefix = QStringLiteral("YM"), const QString &cell = QStringLiteral("1.2500"));
// The same with the nutrients HP and KM and the group TAHIL.
void setProblem(int ingredients, const QString &prefix);

// Opens the problem file and loads it as the main window does.
bool loadProblem(const QString &path);
// Creates a problem file at the path holding setProblem(ingredients, prefix); the open problem is
// reset before and after.
bool writeProblem(const QString &path, int ingredients, const QString &prefix);

// Whether every list of the problem is marked changed.
bool allDirty(const OpenProblem &p);
// Changes the first ingredient's price: only the ingredient list is marked changed.
void changeOnePrice(const QString &price);

QByteArray checksum(const QString &path);
// The first ingredient's name and the number of named ingredient rows of a problem file ("BIZ1x9"),
// read without opening it for writing; "?" when it cannot be read.
QString contentsOf(const QString &path);

// What another program does while it saves the file: it holds the save byte. The descriptor, or -1.
int holdSaveByte(const QString &path);

} // namespace vexo::test
