#pragma once
// The reference-matrix editor's rows and every rule over them that needs no window: loading and
// saving MATNRC6.DBF, captions and decimals by nutrient name, cell normalisation, the one-cell
// clipboard, column arithmetic, macro-nutrient linking, the row commands and the search. The editor
// window (rm_edit_window.h) shows the rows and asks the questions these rules cannot ask themselves.
#include "controls/barray_server.h"
#include "platform/dbf_field.h"
#include "refdb/rm_form.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

class QWidget;

namespace vexo {

class MatrixDialogs;

// One nutrient definition with an abbreviation, as the editor reads it from VMKBMDESC.DBF.
struct RmNutrientDescription
{
    int NUM = 0;
    QString NAME;
    QString ABRRE;
    QString UNIT;
    int DECIM = 4;
};
using RmDescriptions = QList<RmNutrientDescription>;

// GETBMDATA: the definitions whose ABRRE is not blank, in record order; nothing when the table cannot
// be opened (the opener told the user).
std::optional<RmDescriptions> GETBMDATA();

// Columns pair with definitions by name: a nutrient field takes the first definition whose trimmed
// abbreviation is the field's name; a field without one has no unit and 4 decimals.
const RmNutrientDescription *rmDescriptionOf(const RmDescriptions &descriptions, const QString &field);
// The caption of a nutrient column: field name, ",", a line break and the trimmed unit.
QString rmNutrientCaption(const RmDescriptions &descriptions, const QString &field);
int rmNutrientDecimals(const RmDescriptions &descriptions, const QString &field);
// What a click on a nutrient caption shows: the definition's name, or "BM isimleri yazılmamış..."
// when the name is blank or the column has no definition.
QString rmCaptionText(const RmDescriptions &descriptions, const QString &field);

// The reference matrix as read at opening: its structure and its records as rows.
struct RmTableData
{
    DbfStructure structure;
    ServerRows rows;
};
// Opens MATNRC6.DBF with RMDATAFOPEN, reads every record and closes it again; nothing when it cannot
// be opened (the opener told the user).
std::optional<RmTableData> readReferenceMatrix();
ServerFields rmServerFields(const DbfStructure &structure);
// Brings the price and nutrient cells of the rows as read into the program's own number form (a
// decimal comma another program wrote is the point; the nutrient's decimals from `descriptions`).
// A cell that holds no number becomes blanks and is told to the user in one box owned by `owner`.
void ownMatrixNumbers(RmTableData &table, const RmDescriptions &descriptions, QWidget *owner);

// The text a completed cell edit stores (1-based field): the price through SDAYA(text, 3), a nutrient
// through SDAYA3(text, decimals, 4), the name and group trimmed; an emptied cell stays empty.
QString rmEditedCell(int field, const QString &typed, int decimals);
// The same for a typed cell, or nothing when the cell keeps its value: the price and the nutrient
// fields take only a number, and a blank only when the user emptied the cell, not when the typing
// filter took out every character typed (`filtered`).
std::optional<QString> rmTypedCell(int field, const QString &typed, int decimals, bool filtered);
// Whether a field holds a number (the price and the nutrient values).
bool rmNumberField(int field);
// Status-bar texts: characters the typing filter took out, and a typed text kept out of a cell.
QString rmNumbersOnlyText();
QString rmNotANumberText();

// The paste rule: a clipboard value of exactly the column's width; a value copied from the group
// column (clipboard column 4) only into the group column.
bool rmPasteAllowed(const std::optional<QString> &clipboard, int clipboardColumn, int column, int width);

// "+", "-", "*", "/" (0 when y is 0); any other operator gives 0.
double MPRODUCT(const QString &op, double x, double y);
// How a column writes its numbers: rounded to `kept` decimals and written with `shown`. The price
// column keeps and shows 3, a nutrient column keeps its definition's decimals (at most 4) and shows 4.
struct ColumnDecimals
{
    int kept = 4;
    int shown = 4;
};
// A result rounded half away from zero and right-aligned in 11 characters; nothing when it does not
// fit (with 4 decimals: a million or more, minus a hundred thousand or less).
std::optional<QString> rmNumberCell(double value, ColumnDecimals decimals = {});

// The name a column goes by in the editor's captions and questions: "Kod", "Yem Maddesi Adı",
// "Fiyatı", "Grubu" for the fixed fields, the field name itself for a nutrient column.
QString rmColumnCaption(const QString &field);

// What the column-arithmetic dialog answered.
struct ColumnMathRequest
{
    QString COPERAT; // "+", "-", "*", "/", "K"; empty when cancelled
    QString CVTYPE;  // "N" a number, "A" another column
    QString CVALUEX; // the number's text or the other column's field name
};
// The new texts of a column after an operation with a number (CVTYPE "N") or with another column,
// whose texts are `operand` (CVTYPE "A"), written with the column's own decimals (a copy too); nothing
// when a result does not fit 11 characters.
std::optional<QStringList> columnMathCells(const QStringList &column, const QStringList &operand,
                                           const ColumnMathRequest &request, ColumnDecimals decimals = {});
// Linking along a row: the linked texts scaled by new / old (0 when old is 0); empty texts stay empty.
// Nothing when a result does not fit.
std::optional<QStringList> linkedCells(const QStringList &linked, double oldValue, double newValue);

// The rows of the editor: an array data server over the table's structure, the nutrient descriptions,
// and the editor's flags. Every operation works on the server only; the table changes on a save.
class ReferenceMatrixRows
{
public:
    ReferenceMatrixRows(QWidget *owner, RmTableData table, RmDescriptions descriptions);

    const std::shared_ptr<BARRAYSERVER> &server() const { return m_server; }
    const DbfStructure &structure() const { return m_structure; }
    const RmDescriptions &descriptions() const { return m_descriptions; }
    QWidget *owner() const { return m_owner; }

    // The changed flag (set by edits, cleared by a save) and the saved flag (set by every save).
    bool changed = false;
    bool saved = false;
    int moveRow = 0;         // the record chosen with YMSEC
    int clipboardColumn = 0; // the column of the last copy or cut made here

    QString fieldName(int field) const { return m_server->FIELDNAME(field); }
    int fieldWidth(int field) const;
    int decimalsOf(int field) const;
    // How the 1-based field writes its numbers (the price column 3, a nutrient its own decimals).
    ColumnDecimals columnDecimals(int field) const;

    // RMATRIXKAYDI: writes the rows over the table (more rows append, fewer delete and pack). Nothing is
    // written when the table cannot be opened, no longer has the structure read at opening, or a KOD
    // does not fit its field; the user is told and the changed flag stays. True when written.
    bool RMATRIXKAYDI();
    // Saves only when something changed; true when nothing needed saving or the save went through.
    bool KAYDET();

    // Clipboard commands on the current row; `field` is the grid's current column. KOD is never
    // touched. Each answers whether it changed the row.
    void COPY(int field);
    bool CUT(int field);
    bool FDELETE(int field);
    bool PASTE(int field);

    // Row commands (see the editor's menu). YM_EKLE answers whether the last append succeeded.
    bool YM_EKLE();
    // Inserts a blank row at the current row; false (nothing changed) when the server refuses the row.
    bool INSBLNKYM();
    bool YMDELETE(); // asks first
    bool DODELETE();
    void YMSEC();
    bool YMKAYDIR();
    bool moveEnabled() const { return m_moveEnabled; }
    // The search: the first row whose trimmed name begins with the text (Turkish upper case); tells the
    // user and goes back when none does. An empty text does nothing. Answers whether a row matched.
    bool PBARA(const QString &text);

    // COLMATHBM on the 1-based field; `ask` shows the dialog. Answers whether the column changed.
    bool COLMATHBM(int field, const std::function<std::optional<ColumnMathRequest>()> &ask);
    // BMBAGLA along the current row, asking through the matrix dialogs.
    bool BMBAGLA(MatrixDialogs &dialogs);

    // The record the form view starts from, and the form's hand-back written into the current row.
    RmFormInput formInput() const;
    bool applyForm(const RmFormHandBack &handBack);

    // Every row's texts (KOD as its number's text).
    QStringList rowTexts(int recNo) const;
    QStringList columnTexts(int field) const;

private:
    bool appendBlank();
    void renumber(int from);
    void put(int recNo, int field, const QVariant &value);
    bool writeTable(QString *why);

    QWidget *m_owner = nullptr;
    DbfStructure m_structure;
    RmDescriptions m_descriptions;
    std::shared_ptr<BARRAYSERVER> m_server;
    bool m_moveEnabled = false;
};

} // namespace vexo
