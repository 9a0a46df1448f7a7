#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

namespace vexo {

class DBSERVERR;

// A row of a problem list: fixed-width texts in the column order below.
using Row = QStringList;
using RowList = QList<Row>;

// Column positions (from 0) and widths of the four row lists.
enum YmColumn { YMNAME, YMPRICE, YMFIX, YMLLIMIT, YMULIMIT, YMACOZUM, YMAZFIAT, YMOCOZUM, YMCFARKI,
                YMKCOZUM, YMKCFARKI, YM_COLUMNS };
enum BmColumn { BMNAME, BMUNIT, BMFIX, BMLLIMIT, BMULIMIT, BMACOZUM, BMSPRICE, BMKMYYUZ, BMOCOZUM,
                BMCFARKI, BMKCOZUM, BMKCFARKI, BM_COLUMNS };
enum BmoColumn { BMONAME1, BMONAME2, BMOFIX, BMOLLIMIT, BMOULIMIT, BMOACOZUM, BMOSPRICE, BMOOCOZUM,
                 BMOCFARKI, BMOKCOZUM, BMOKCFARKI, BMO_COLUMNS };
enum YmgColumn { YMGNAME, YMGFIX, YMGLLIMIT, YMGULIMIT, YMGACOZUM, YMGGFIAT, YMGOCOZUM, YMGCFARKI,
                 YMGKCOZUM, YMGKCFARKI, YMG_COLUMNS };

constexpr int kCellWidth = 11;
constexpr int kYmNameWidth = 25;
constexpr int kBmNameWidth = 15;
// A group name is as long as the file's name field holds: the group window's name cell and the
// member dialog take no more, so no name is cut when it is saved.
constexpr int kYmgNameWidth = 15;
// The problem file holds a matrix row in 1020 characters, 12 per ingredient.
constexpr int kMaxIngredients = 85;

// Parameter list positions (from 0).
enum ParmIndex { PARM_KIND, PARM_CAPACITY, PARM_CURRENCY, PARM_WEIGHTUNIT, PARM_COMPANY, PARM_FEEDNAME,
                 PARM_PREPARER, PARM_SAVEDCOST, PARM_COUNT };

inline const QString kWeightNutrient = QStringLiteral("AĞIRLIK");
inline const QString kDryMatterNutrient = QStringLiteral("KM");
inline const QString kProgramTitle = QStringLiteral("VEXO_Zud 2.6 - DUD Karma Yem Formülü Hazırlama Programı");

// The one open formulation problem that every window, the solver and the reports share. At most one
// problem is open; it is open exactly while OPROBDBF is set. An absent list is an empty one.
class OpenProblem
{
public:
    OpenProblem();
    ~OpenProblem();
    OpenProblem(const OpenProblem &) = delete;
    OpenProblem &operator=(const OpenProblem &) = delete;

    RowList AYMLIST;
    RowList ABMLIST;
    RowList ABMOLIST;
    RowList AYMGLIST;

    QStringList AYMADLARI;
    QStringList ABMADLARI;
    QStringList ABMBIRIMLERI;
    QStringList AYMGADLARI;
    QList<bool> AYMSTOK;

    RowList AAMAT; // one row per nutrient, one cell per ingredient
    RowList AGMAT; // one row per group, one cell per ingredient: "1.0" member, "0.0" not

    QStringList APARMLIST;

    double NMALIYET = 0.0;
    double NONCEKIMALIYET = 0.0;
    double NKAYITLIMALIYET = 0.0;
    int NCOZUMSAYISI = 0;
    QString CCOZUMDURUMU;
    bool LAMATHAZIR = false;

    bool LYMKCOZUMVAR = false;
    bool LBMKCOZUMVAR = false;
    bool LBMOKCOZUMVAR = false;
    bool LYMGKCOZUMVAR = false;

    bool LYMDEG = false;
    bool LYMSTOKDEG = false;
    bool LBMDEG = false;
    bool LBMODEG = false;
    bool LYMGDEG = false;
    bool LAMATDEG = false;
    bool LPRMDEG = false;

    // The grid editors' one-cell clipboard; it outlives the problem.
    std::optional<QString> UPANODEGER;
    // Trimmed names of the nutrients whose unit the last load converted.
    QStringList ADONUSENBM;

    std::unique_ptr<DBSERVERR> OPROBDBF;

    bool isOpen() const { return OPROBDBF != nullptr; }
    bool anyDirty() const;
    void setAllDirty(bool dirty);

    // Deletions from 1-based positions; each closes the gap.
    void DELMATROW(int n);
    void DELMATCOL(int n);
    void DELGMATCOL(int n);
    void ORANIDASIL2(const QString &name);
    void deleteNutrient(int n);
    void deleteIngredient(int n);

    void KAYITLICOZUM();
    void STOKARRAY();

    // The no-problem state: every list absent, costs 0, counter 0, status empty, no flag set. The
    // clipboard and the converted-unit names stay. The table is closed and released.
    void reset();

    // The seven invariants of an open problem; an empty list when all hold, otherwise one text per
    // broken rule. Tests call it after every operation.
    QStringList checkInvariants() const;
};

OpenProblem &openProblem();

// The open problem file's name without folder and extension, its path without extension, its folder.
// Called only while a problem is open; empty otherwise.
QString PROBFILENAME();
QString PROBFILEBASE();
QString PROBFILEDIR();

// A result cell may carry "*" marks for a broken limit; readers that calculate remove them first.
QString withoutViolationMark(const QString &cell);
bool isBlank(const QString &cell);

} // namespace vexo
