#include "controls/command_registry.h"
#include "matrix/bamat_gir_win.h"
#include "matrix/contribution_viewers.h"
#include "problem/number_text.h"
#include "problem/open_problem.h"

#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>
#include <QtTest>

using namespace vexo;

class TestContributionViewers : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        OpenProblem &p = openProblem();
        p.reset();
        p.AYMADLARI = {"MISIR", "SOYA"};
        p.ABMADLARI = {"KM", "HP"};
        p.ABMBIRIMLERI = {"%", "%"};
        p.AAMAT = {{Str(88, 11, 4), Str(90, 11, 4)}, {Str(8.8, 11, 4), Str(45, 11, 4)}};
        Row a(YM_COLUMNS, QStringLiteral("           "));
        a[YMNAME] = QStringLiteral("MISIR");
        a[YMACOZUM] = QStringLiteral("    50.0000");
        Row b = a;
        b[YMNAME] = QStringLiteral("SOYA");
        p.AYMLIST = {a, b};
    }

    void contentViewerListsEveryNutrient()
    {
        BM_MUHT_GOR_WIN d(nullptr, QStringLiteral("  MISIR "));
        QCOMPARE(d.windowTitle(), QStringLiteral("Seçili YM'nin BM Muhtevası"));
        QCOMPARE(d.list()->objectName(), QStringLiteral("LV_BMVALUES"));
        QCOMPARE(d.list()->topLevelItemCount(), 2);
        QCOMPARE(d.list()->headerItem()->text(4), QStringLiteral("KM de"));
        QCOMPARE(d.list()->topLevelItem(1)->text(4), QStringLiteral("    10.0000"));
        QVERIFY(!d.list()->header()->sectionsClickable());
        d.show();
        d.okButton()->click();
        QVERIFY(!d.isVisible());
    }

    void contributionViewerEmptyForBlankLevelOrUnknownName()
    {
        HYM_KATILIYOR_WIN full(nullptr, QStringLiteral("HP"), QStringLiteral("    26.9000"));
        QCOMPARE(full.windowTitle(), QStringLiteral("Seçili BM'ye YM Katkıları"));
        QCOMPARE(full.list()->topLevelItemCount(), 2);
        QCOMPARE(full.list()->topLevelItem(1)->text(3), QStringLiteral(" 83.64"));
        for (const auto &[name, level] : {std::pair{QStringLiteral("HP"), QStringLiteral("    *      ")},
                                          std::pair{QStringLiteral("ZN"), QStringLiteral("    12.0000")}}) {
            HYM_KATILIYOR_WIN d(nullptr, name, level);
            QCOMPARE(d.list()->topLevelItemCount(), 0);
            QCOMPARE(d.list()->columnCount(), 0);
        }
    }

    void activeMatrixCommandIsRegistered()
    {
        installActiveMatrixCommands();
        QVERIFY(shellCommands().has(QStringLiteral("AMAT_GIRIS")));
        // Without a main window the command opens nothing.
        QVERIFY(shellCommands().run(QStringLiteral("AMAT_GIRIS")));
    }
};

QTEST_MAIN(TestContributionViewers)
#include "tst_contribution_viewers.moc"
