#pragma once

#include "problem/open_problem.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace vexo {

// The ingredient-group window's rules over rows of the group list (YmgColumn order), without widgets.
// Columns count from 1 as the grid shows them: 1 name, 2 fixed share, 3 lower limit, 4 upper limit,
// 5 to 10 results.

// A message box a rule asks for; the window shows it through the message seam.
struct GroupNotice
{
    QString caption;
    QString text;
    bool error = false; // stop icon ("Hata..."), otherwise information
    bool operator==(const GroupNotice &) const = default;
};

// What a rule did to one row.
struct GroupCellOutcome
{
    Row row;
    bool changed = false;        // GIRDEG
    bool statusReset = false;    // BASDURUM
    bool tone = false;           // ERRBEEP before the box
    std::optional<GroupNotice> notice;
    std::optional<QString> clipboard; // the clipboard afterwards
    // Why a typed entry was refused, for the status bar (empty when there is nothing to say).
    QString status;
};

inline const QString kFixedFirstText = QStringLiteral("Alt/Üst sınır girişi için önce sabit girişi siliniz!");
inline const QString kMismatchText = QStringLiteral("Uyumsuz veri girişi...");
inline const QString kNamedNotDefinedText = QStringLiteral("Grup ismi verildi, fakat grup belirlenmedi...");
inline const QString kNoDataText = QStringLiteral("Çözüm için yeterli veri girişi yapılmadı...");
inline const QString kNameTakenText = QStringLiteral("Grup ismi mevcut. Başka bir isim giriniz...");
inline const QString kDeleteGroupQuestion = QStringLiteral("Seçili yem maddesi grubu siliniyor!");

// A group row of blanks at the fields' widths.
Row blankGroupRow();

// Columns the user edits (1 to 4) and the number columns among them (2 to 4).
bool groupColumnEditable(int column);

// The typing filter of columns 2 and higher (the number cells' filter); the name column is left as
// typed.
QString filterGroupTyping(int column, const QString &text);

// The end of a typed edit (grid edit stage 3) of `column` with the text typed: the limit and fixed
// share rules, then the value normalised to 3 decimals. The outcome's row holds the new cell too.
// `filtered`: the typing filter took characters out during the edit. A text that is no number, a
// negative share, and a limit on the wrong side of the other limit are refused: the row stays as
// it was and `status` says why.
GroupCellOutcome groupCellEdit(const Row &row, int column, const QString &typed, bool filtered = false);

// The one-cell clipboard on the current cell; outside columns 1 to 4 nothing happens.
GroupCellOutcome groupCopy(const Row &row, int column, const std::optional<QString> &clipboard);
GroupCellOutcome groupCut(const Row &row, int column, const std::optional<QString> &clipboard);
GroupCellOutcome groupClear(const Row &row, int column, const std::optional<QString> &clipboard);
// Pastes only into columns 2 to 4, and only a value that reads as a number.
GroupCellOutcome groupPaste(const Row &row, int column, const std::optional<QString> &clipboard);

// Cuts the longer of the group names and the membership rows, together with the group list, to the
// shorter length; true when something was cut (LYMGDEG).
bool MATDUZENLE(OpenProblem &p);

// Commits the grid's rows: the group list becomes a copy of them, LYMGDEG, then MATDUZENLE; the
// group names then follow the rows' name cells.
void commitGroupRows(OpenProblem &p, const RowList &gridRows);
// A group's name is the one its row shows: name k becomes row k's trimmed name cell (empty for a row
// whose name was emptied), for every group that has both.
void followGroupNames(OpenProblem &p, const RowList &gridRows);

// Writes membership row r (from 1) with the ticked ingredient positions (from 1): a row past the end
// is appended with one cell per ingredient; an existing row is rewritten over its own length and a
// position past its end is ignored. Sets LYMGDEG.
void YGKAYDET(OpenProblem &p, int r, const QList<int> &positions);

// The row a new group goes to: the first row with an empty name, else one past the end.
int rowForNewGroup(const RowList &gridRows);
// Records the name of a new group put into grid row r: a reused row takes its place in the names,
// a new row is appended.
void placeGroupName(OpenProblem &p, int r, const QString &name);

// Removes group r (from 1) from the names and the membership rows (each only when it has that row);
// the membership matrix becomes empty when no grid rows remain.
void YGMATSIL(OpenProblem &p, int r);
void YGNAMSIL(OpenProblem &p, int r);

// Whether the solve may run; the status-bar text when it may not.
std::optional<QString> solveRefusal(const OpenProblem &p, int gridRows);

// Writes the solver's group results (share, shadow price per group) into the grid's rows: the k-th row
// with a name takes result k, up to the number of group names and results; a row without a name takes
// part in no solve and gets a blank share and shadow price. Previous share and differences as the
// solve count and the saved solution say.
void writeGroupResults(RowList &gridRows, const QList<QStringList> &results, int nameCount, int solveCount,
                       bool savedSolution);

// The five cost fields: current, previous, current minus previous, saved, current minus saved. A
// zero cost writes nothing, so a field keeps its text.
struct GroupCostTexts
{
    QString current, previous, currentDifference, saved, savedDifference;
    bool operator==(const GroupCostTexts &) const = default;
};
GroupCostTexts groupCostTexts(GroupCostTexts shown, double current, double previous, double saved);

// The member dialog's pre-ticking: positions (from 1) whose cell reads exactly 1.
QList<int> membersOf(const Row &membershipRow);

// The member dialog's save checks: the warning to show, none when the save may go on.
std::optional<GroupNotice> groupSaveRefusal(int ticked, const QString &name);
// The duplicate check of a new group's name on leaving the field.
bool groupNameTaken(const QStringList &names, const QString &typed);

// The group of every ingredient added after the membership matrix was built: `ask` gives the chosen
// group (from 1), or 0 for none; each membership row gets one cell ("1.0000" for the chosen group,
// "0.0000" for the others). Nothing happens without groups or new ingredients. Sets LYMGDEG when it
// asked.
void assignNewIngredientGroups(OpenProblem &p, const std::function<int(const QString &ingredient)> &ask);

} // namespace vexo
