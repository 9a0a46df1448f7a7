#include "editors/shown_editor_dialogs.h"
#include "matrix/contribution_viewers.h"
#include "problem/number_text.h"
#include "problem/open_problem.h"

#include <QTimer>
#include <QTreeWidget>
#include <QtTest>

using namespace vexo;

namespace {

// Reads the modal dialog that opens next, then closes it through its own button.
template <typename Check>
void whenModal(Check check)
{
    QTimer::singleShot(0, [check] {
        QWidget *modal = QApplication::activeModalWidget();
        QVERIFY(modal);
        check(modal);
        modal->close();
    });
}

} // namespace

class TestShownEditorDialogs : public QObject
{
    Q_OBJECT
private slots:
    void slotsOpenTheMatrixDialogs()
    {
        OpenProblem &p = openProblem();
        p.reset();
        p.AYMADLARI = {"MISIR"};
        p.ABMADLARI = {"KM", "HP"};
        p.ABMBIRIMLERI = {"%", "%"};
        p.AAMAT = {{Str(88, 11, 4)}, {Str(8.8, 11, 4)}};
        installShownEditorDialogs();
        QString seen;
        whenModal([&seen](QWidget *w) { seen = w->objectName(); });
        editorDialogs().showNutrientContent(nullptr, QStringLiteral("MISIR"));
        QCOMPARE(seen, QStringLiteral("BM_MUHT_GOR_WIN"));
        whenModal([&seen](QWidget *w) { seen = w->objectName(); });
        editorDialogs().showContributions(nullptr, QStringLiteral("HP"), QStringLiteral("    12.0000"));
        QCOMPARE(seen, QStringLiteral("HYM_KATILIYOR_WIN"));
        whenModal([&seen](QWidget *w) { seen = w->windowTitle(); });
        QCOMPARE(editorDialogs().choose(nullptr, QStringLiteral("Bölünen Seçimi"), {"KM", "HP"}), 0);
        QCOMPARE(seen, QStringLiteral("Bölünen Seçimi"));
        setEditorDialogs(nullptr);
    }
};

QTEST_MAIN(TestShownEditorDialogs)
#include "tst_shown_editor_dialogs.moc"
