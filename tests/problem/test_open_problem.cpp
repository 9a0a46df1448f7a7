#include "problem/open_problem.h"

#include <gtest/gtest.h>

using namespace vexo;

namespace {

QString pad(const QString &s, int w) { return s.leftJustified(w, u' '); }
const QString B11(11, u' ');

// Five ingredients A..E, three nutrients, two ratios, one group; a consistent open problem.
void buildProblem(OpenProblem &p)
{
    p.reset();
    for (const char *n : {"A", "B", "C", "D", "E"}) {
        p.AYMADLARI << QString::fromLatin1(n);
        p.AYMLIST << Row{pad(QString::fromLatin1(n), 25), B11, B11, B11, B11, B11, B11, B11, B11, B11, B11};
        p.AYMSTOK << true;
    }
    for (const char *n : {"HP", "KALSIYUM", "TFOSFOR"}) {
        p.ABMADLARI << QString::fromLatin1(n);
        p.ABMBIRIMLERI << QStringLiteral("%");
        p.ABMLIST << Row{pad(QString::fromLatin1(n), 15), pad(QStringLiteral("%"), 11), B11, B11, B11, B11,
                         B11, B11, B11, B11, B11, B11};
        Row cells;
        for (int i = 1; i <= 5; ++i)
            cells << QStringLiteral("%1").arg(QString::fromLatin1(n) + QString::number(i), 11);
        p.AAMAT << cells;
    }
    p.ABMOLIST << Row{pad(QStringLiteral("KALSIYUM"), 15), pad(QStringLiteral("TFOSFOR"), 15), B11, B11, B11,
                      B11, B11, B11, B11, B11, B11};
    p.ABMOLIST << Row{pad(QStringLiteral("HP"), 15), pad(QStringLiteral("TFOSFOR"), 15), B11, B11, B11, B11,
                      B11, B11, B11, B11, B11};
    p.ABMOLIST << Row{pad(QStringLiteral("TFOSFOR"), 15), pad(QStringLiteral("KALSIYUM"), 15), B11, B11, B11,
                      B11, B11, B11, B11, B11, B11};
    p.AYMGADLARI << QStringLiteral("TAHIL");
    p.AYMGLIST << Row{pad(QStringLiteral("TAHIL"), 25), B11, B11, B11, B11, B11, B11, B11, B11, B11};
    p.AGMAT << Row{QStringLiteral("1.0"), QStringLiteral("0.0"), QStringLiteral("1.0"), QStringLiteral("0.0"),
                   QStringLiteral("0.0")};
}

} // namespace

TEST(OpenProblem, ResetGivesTheNoProblemStateAndKeepsTheClipboard)
{
    OpenProblem &p = openProblem();
    buildProblem(p);
    p.UPANODEGER = QStringLiteral("     1.2500");
    p.ADONUSENBM = {QStringLiteral("ME_KA")};
    p.NMALIYET = 3.5;
    p.NCOZUMSAYISI = 2;
    p.CCOZUMDURUMU = QStringLiteral("E");
    p.setAllDirty(true);
    p.LBMKCOZUMVAR = true;
    p.reset();
    EXPECT_TRUE(p.AYMLIST.isEmpty() && p.ABMLIST.isEmpty() && p.AAMAT.isEmpty() && p.AGMAT.isEmpty()
                && p.AYMSTOK.isEmpty() && p.APARMLIST.isEmpty() && p.AYMGADLARI.isEmpty());
    EXPECT_EQ(p.NMALIYET, 0.0);
    EXPECT_EQ(p.NCOZUMSAYISI, 0);
    EXPECT_TRUE(p.CCOZUMDURUMU.isEmpty());
    EXPECT_FALSE(p.anyDirty());
    EXPECT_FALSE(p.LBMKCOZUMVAR);
    EXPECT_FALSE(p.isOpen());
    EXPECT_EQ(p.UPANODEGER, QStringLiteral("     1.2500"));
    EXPECT_EQ(p.ADONUSENBM, QStringList{QStringLiteral("ME_KA")});
    EXPECT_TRUE(p.checkInvariants().isEmpty());
    p.UPANODEGER.reset();
    p.ADONUSENBM.clear();
}

TEST(OpenProblem, DeletingTheThirdOfFiveIngredientsClosesTheGapEverywhere)
{
    OpenProblem &p = openProblem();
    buildProblem(p);
    ASSERT_TRUE(p.checkInvariants().isEmpty()) << p.checkInvariants().join(u';').toStdString();
    p.deleteIngredient(3);
    EXPECT_TRUE(p.checkInvariants().isEmpty()) << p.checkInvariants().join(u';').toStdString();
    EXPECT_EQ(p.AYMADLARI, (QStringList{"A", "B", "D", "E"}));
    EXPECT_EQ(p.AAMAT[0][2].trimmed(), QStringLiteral("HP4"));
    EXPECT_EQ(p.AGMAT[0], (Row{"1.0", "0.0", "0.0", "0.0"}));
    EXPECT_TRUE(p.LYMDEG && p.LYMSTOKDEG && p.LAMATDEG && p.LYMGDEG);
    p.reset();
}

TEST(OpenProblem, DeletingANutrientRemovesItsRowAndEveryRatioNamingIt)
{
    OpenProblem &p = openProblem();
    buildProblem(p);
    p.deleteNutrient(2); // KALSIYUM
    EXPECT_TRUE(p.checkInvariants().isEmpty()) << p.checkInvariants().join(u';').toStdString();
    EXPECT_EQ(p.ABMADLARI, (QStringList{"HP", "TFOSFOR"}));
    EXPECT_EQ(p.AAMAT.size(), 2);
    EXPECT_EQ(p.AAMAT[1][0].trimmed(), QStringLiteral("TFOSFOR1"));
    ASSERT_EQ(p.ABMOLIST.size(), 1);
    EXPECT_EQ(p.ABMOLIST[0][BMONAME1].trimmed(), QStringLiteral("HP"));
    EXPECT_TRUE(p.LBMDEG && p.LAMATDEG && p.LBMODEG);
    p.reset();
}

TEST(OpenProblem, MatrixDeletionsOutOfRangeChangeNothing)
{
    OpenProblem &p = openProblem();
    buildProblem(p);
    const RowList before = p.AAMAT;
    p.DELMATCOL(6);
    p.DELMATROW(4);
    p.DELMATROW(0);
    p.DELGMATCOL(9);
    EXPECT_EQ(p.AAMAT, before);
    EXPECT_FALSE(p.LAMATDEG);
    EXPECT_FALSE(p.LYMGDEG);
    p.AAMAT.clear();
    p.DELMATCOL(1);
    EXPECT_FALSE(p.LAMATDEG);
    p.reset();
}

TEST(OpenProblem, SavedSolutionFlagsAndStockList)
{
    OpenProblem &p = openProblem();
    buildProblem(p);
    p.KAYITLICOZUM();
    EXPECT_FALSE(p.LYMKCOZUMVAR || p.LBMKCOZUMVAR || p.LBMOKCOZUMVAR || p.LYMGKCOZUMVAR);
    p.AYMGLIST[0][YMGKCOZUM] = QStringLiteral("     40.000");
    p.KAYITLICOZUM();
    EXPECT_TRUE(p.LYMGKCOZUMVAR);
    EXPECT_FALSE(p.LYMKCOZUMVAR || p.LBMKCOZUMVAR || p.LBMOKCOZUMVAR);

    p.AYMSTOK.clear();
    p.AYMADLARI = {"A", "B", "C"};
    p.STOKARRAY();
    EXPECT_EQ(p.AYMSTOK, (QList<bool>{true, true, true}));
    p.AYMSTOK = {false};
    p.STOKARRAY();
    EXPECT_EQ(p.AYMSTOK, (QList<bool>{false}));
    p.reset();
}

TEST(OpenProblem, InvariantCheckNamesBrokenRules)
{
    OpenProblem &p = openProblem();
    buildProblem(p);
    p.AAMAT[1].removeLast();
    p.ABMOLIST[0][BMONAME2] = pad(QStringLiteral("YOK"), 15);
    p.AYMADLARI[1] = QStringLiteral("A");
    p.AYMLIST[1][YMNAME] = pad(QStringLiteral("A"), 25);
    const QStringList broken = p.checkInvariants();
    EXPECT_EQ(broken.size(), 3) << broken.join(u';').toStdString();
    p.reset();
}

TEST(OpenProblem, FileNamesOfTheOpenProblem)
{
    OpenProblem &p = openProblem();
    p.reset();
    EXPECT_TRUE(PROBFILENAME().isEmpty());
    EXPECT_TRUE(PROBFILEBASE().isEmpty());
}
