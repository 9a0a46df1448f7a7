// The report-data dialog on screen (offscreen): its radio rules, the fields' normalisation, Escape;
// and the progress dialog's stop button against a running solve.

#include "solver_fixture.h"

#include "controls/balloon_tip.h"
#include "controls/edit_subclasses.h"
#include "problem/typed_number.h"
#include "solver/act_alert.h"
#include "problem/open_problem.h"
#include "scripted_messages.h"
#include "solver/report_data_dialog.h"
#include "solver/report_data_form.h"
#include "solver/report_road.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QtTest>

#include <gtest/gtest.h>

using namespace vexo;
using namespace vexo::test;

namespace {

class ReportDataDialog : public ::testing::Test
{
protected:
    void SetUp() override
    {
        OpenProblem &p = openProblem();
        p.reset();
        p.APARMLIST = QStringList{QStringLiteral("K"),  QStringLiteral("    1000.00"), QStringLiteral("TL"),
                                  QStringLiteral("Kg"), QStringLiteral("Firma"),       QStringLiteral("Yem"),
                                  QStringLiteral("Ali"), QString(11, u' ')};
    }
    void TearDown() override { openProblem().reset(); }

    void type(QVSLE *field, const QString &text)
    {
        field->setFocus();
        field->selectAll();
        // Key by key, Turkish letters included, as the user types them.
        for (const QChar ch : text)
            QTest::sendKeyEvent(QTest::Click, field, Qt::Key_unknown, QString(ch), Qt::NoModifier);
    }
};

// Every caption is read whole: a one-line caption fits its width, a wrapped one its height, and none
// runs under the field beside it.
TEST_F(ReportDataDialog, EveryCaptionShowsWhole)
{
    ReportDataForm form;
    KYPARMGIR_WIN d(nullptr, form);
    const int fieldsStart = d.field(ReportDataForm::MIXCAPA)->geometry().left();
    int labels = 0;
    for (const QLabel *label : d.findChildren<QLabel *>()) {
        ++labels;
        const QRect r = label->contentsRect();
        if (label->wordWrap())
            EXPECT_LE(label->heightForWidth(r.width()), label->height()) << label->text().toStdString();
        else
            EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), r.width()) << label->text().toStdString();
        EXPECT_LE(label->geometry().right(), fieldsStart) << label->text().toStdString();
    }
    EXPECT_EQ(labels, 6);
}

TEST_F(ReportDataDialog, OpensWithTheParametersDetailedAndText)
{
    ReportDataForm form;
    KYPARMGIR_WIN d(nullptr, form);
    EXPECT_EQ(d.windowTitle(), QStringLiteral("Rapor Verileri"));
    EXPECT_EQ(d.field(ReportDataForm::MIXCAPA)->text(), QStringLiteral("    1000.00"));
    EXPECT_EQ(d.field(ReportDataForm::SLE_HAZIR)->text(), QStringLiteral("Ali"));
    EXPECT_TRUE(d.RB_DETAY()->isChecked());
    EXPECT_TRUE(d.RB_TEKST()->isChecked());
    EXPECT_FALSE(d.RB_TEKST()->isEnabled());
    EXPECT_FALSE(d.RB_PDF()->isEnabled());
    EXPECT_EQ(d.RB_PDF()->toolTip(), QStringLiteral("PDF formatında rapor  hazırla ve göster"));
    d.show();
    d.okButton()->click();
    EXPECT_EQ(d.result(), 1);
    EXPECT_EQ(form.NRTIPI, 2);
    EXPECT_EQ(form.NFORMAT, 2);
    EXPECT_EQ(form.CMCAPAX, QStringLiteral("1000.00"));
    EXPECT_FALSE(openProblem().LPRMDEG); // nothing typed, nothing stored
}

TEST_F(ReportDataDialog, RadioRules)
{
    const struct
    {
        const char *clicks;
        int nrtipi, nformat;
        bool formatEnabled, tekst;
    } cases[] = {
        {"", 2, 2, false, true},
        {"O", 1, 2, true, true},
        {"OP", 1, 1, true, false},
        {"OPD", 2, 2, false, true},
        {"OPT", 1, 2, true, true},
        {"OPDO", 1, 2, true, true}, // Detay put Tekst back
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.clicks);
        ReportDataForm form;
        KYPARMGIR_WIN d(nullptr, form);
        d.show();
        for (const char *k = c.clicks; *k; ++k) {
            QRadioButton *b = *k == 'O' ? d.RB_OZET() : *k == 'D' ? d.RB_DETAY() : *k == 'P' ? d.RB_PDF() : d.RB_TEKST();
            QTest::mouseClick(b, Qt::LeftButton);
        }
        EXPECT_EQ(d.RB_TEKST()->isEnabled(), c.formatEnabled);
        EXPECT_EQ(d.RB_PDF()->isEnabled(), c.formatEnabled);
        EXPECT_EQ(d.RB_TEKST()->isChecked(), c.tekst);
        d.PBTAMAM();
        EXPECT_EQ(form.NRTIPI, c.nrtipi);
        EXPECT_EQ(form.NFORMAT, c.nformat);
    }
}

TEST_F(ReportDataDialog, LeavingTheCapacityNormalisesItAndOkStoresCommaFreeTexts)
{
    ReportDataForm form;
    KYPARMGIR_WIN d(nullptr, form);
    d.show();
    QApplication::setActiveWindow(&d);
    type(d.field(ReportDataForm::MIXCAPA), QStringLiteral("2500,5"));
    EXPECT_TRUE(openProblem().LPRMDEG);
    QTest::keyClick(d.field(ReportDataForm::MIXCAPA), Qt::Key_Return); // Enter moves on as Tab does
    EXPECT_EQ(d.field(ReportDataForm::MIXCAPA)->text(), QStringLiteral("    2500.50"));
    EXPECT_TRUE(d.field(ReportDataForm::PARABIRIM)->hasFocus());
    type(d.field(ReportDataForm::SLE_SKADI), QStringLiteral("  Yem, Gıda  "));
    type(d.field(ReportDataForm::AGIRBIRIM), QStringLiteral("K,g"));
    d.okButton()->click();
    EXPECT_EQ(d.result(), 1);
    EXPECT_EQ(form.CSKADIX, QStringLiteral("Yem  Gıda"));
    const QStringList &parm = openProblem().APARMLIST;
    EXPECT_EQ(parm.at(PARM_CAPACITY), QStringLiteral("2500.50"));
    EXPECT_EQ(parm.at(PARM_WEIGHTUNIT), QStringLiteral("K g"));
    EXPECT_EQ(parm.at(PARM_COMPANY), QStringLiteral("Yem  Gıda"));
    EXPECT_EQ(parm.at(PARM_KIND), QStringLiteral("K"));
}

// A mixer capacity that is no number, empty or negative is refused in place with the tone and a word
// naming the field, and the field keeps 1000.00. A keystroke or paste is refused as it comes; what is
// refused when the field is left also holds back the OK that follows at once.
TEST_F(ReportDataDialog, ACapacityThatIsNoNumberIsRefusedAndTheLastOneKept)
{
    const QString name = QStringLiteral("Mikser kapasitesi");
    struct Case { const char *label; QString typed; bool paste; bool atKeystroke; QString word; };
    const Case cases[] = {
        {"letters", QStringLiteral("abc"), false, true, numberCharactersText(name, false)},
        {"pasted 2x5", QStringLiteral("2x5"), true, true, numberCharactersText(name, false)},
        {"emptied", QString(), false, false, typedNumberRefusal(name, TypedNumberFault::Empty)},
        {"negative", QStringLiteral("-5"), false, false, typedNumberRefusal(name, TypedNumberFault::Negative)},
        {"two points", QStringLiteral("1.2.3"), false, false, typedNumberRefusal(name, TypedNumberFault::NotANumber)},
        {"minus inside", QStringLiteral("1-2"), false, false, typedNumberRefusal(name, TypedNumberFault::NotANumber)},
        {"too wide", QStringLiteral("123456789012"), false, false, typedNumberRefusal(name, TypedNumberFault::NotANumber)},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.label);
        ScriptedMessages messages;
        openProblem().LPRMDEG = false;
        openProblem().APARMLIST[PARM_CAPACITY] = QStringLiteral("    1000.00"); // as OK of the last case left it
        ReportDataForm form;
        KYPARMGIR_WIN d(nullptr, form);
        d.show();
        QApplication::setActiveWindow(&d);
        QVSLE *mixer = d.field(ReportDataForm::MIXCAPA);
        mixer->setFocus();
        mixer->selectAll();
        if (c.paste) {
            QApplication::clipboard()->setText(c.typed);
            mixer->paste();
        } else if (c.typed.isEmpty()) {
            QTest::keyClick(mixer, Qt::Key_Backspace);
        } else {
            type(mixer, c.typed);
        }
        if (c.atKeystroke) {
            EXPECT_EQ(mixer->text(), QStringLiteral("    1000.00"));
            ASSERT_TRUE(visibleBalloonTip());
            EXPECT_EQ(visibleBalloonTip()->text(), c.word);
            EXPECT_FALSE(openProblem().LPRMDEG); // nothing reached the field
        }
        QTest::keyClick(mixer, Qt::Key_Return); // leaves the field
        EXPECT_EQ(mixer->text(), QStringLiteral("    1000.00"));
        if (!c.atKeystroke) {
            ASSERT_TRUE(visibleBalloonTip());
            EXPECT_EQ(visibleBalloonTip()->text(), c.word);
            d.okButton()->click(); // right after the refusal: the report waits
            EXPECT_TRUE(d.isVisible());
            EXPECT_NE(d.result(), 1);
        }
        EXPECT_FALSE(messages.toneLog().isEmpty());
        d.okButton()->click(); // the capacity the field kept
        EXPECT_EQ(d.result(), 1);
        EXPECT_EQ(form.CMCAPAX, QStringLiteral("1000.00"));
    }
}

// No report is made with a capacity the user did not give: an empty or unreadable capacity from the
// problem file holds OK back until a number is typed.
TEST_F(ReportDataDialog, OkWaitsForACapacityTheUserGives)
{
    for (const QString &stored : {QString(11, u' '), QStringLiteral("abc")}) {
        SCOPED_TRACE(stored.toStdString());
        ScriptedMessages messages;
        openProblem().APARMLIST[PARM_CAPACITY] = stored;
        ReportDataForm form;
        QString why;
        EXPECT_FALSE(form.accept(&why));
        EXPECT_TRUE(form.CMCAPAX.isEmpty());
        EXPECT_EQ(form.NRTIPI, 0);
        EXPECT_TRUE(why.startsWith(QStringLiteral("Mikser kapasitesi "))) << why.toStdString();

        setReportDataAsker({});
        QTimer::singleShot(0, [] {
            auto *d = qobject_cast<KYPARMGIR_WIN *>(QApplication::activeModalWidget());
            ASSERT_TRUE(d);
            d->okButton()->click();
            EXPECT_TRUE(d->isVisible());
            EXPECT_EQ(d->focusWidget(), d->field(ReportDataForm::MIXCAPA));
            ASSERT_TRUE(visibleBalloonTip());
            QVSLE *mixer = d->field(ReportDataForm::MIXCAPA);
            mixer->selectAll();
            QTest::keyClicks(mixer, QStringLiteral("800"));
            d->okButton()->click();
        });
        ReportDataForm asked;
        EXPECT_TRUE(askReportData(nullptr, asked));
        EXPECT_EQ(asked.CMCAPAX, QStringLiteral("800.00"));
        EXPECT_EQ(openProblem().APARMLIST.at(PARM_CAPACITY), QStringLiteral("800.00"));
        EXPECT_FALSE(messages.toneLog().isEmpty());
    }
}

TEST_F(ReportDataDialog, OkWithTheFlagAlreadySetStoresTheTexts)
{
    openProblem().APARMLIST[PARM_COMPANY] = QStringLiteral("  Firma, A.Ş.  ");
    openProblem().LPRMDEG = true;
    ReportDataForm form;
    form.accept();
    EXPECT_EQ(openProblem().APARMLIST.at(PARM_COMPANY), QStringLiteral("Firma  A.Ş."));
    EXPECT_TRUE(openProblem().LPRMDEG);
}

TEST_F(ReportDataDialog, EscapeInAFieldCancelsAndRestoresTheFlag)
{
    for (const bool before : {false, true}) {
        SCOPED_TRACE(before);
        openProblem().LPRMDEG = before;
        const QStringList parm = openProblem().APARMLIST;
        ReportDataForm form;
        KYPARMGIR_WIN d(nullptr, form);
        d.show();
        QApplication::setActiveWindow(&d);
        type(d.field(ReportDataForm::SLE_KYADI), QStringLiteral("Başka"));
        EXPECT_TRUE(openProblem().LPRMDEG);
        QTest::keyClick(d.field(ReportDataForm::SLE_KYADI), Qt::Key_Escape);
        EXPECT_EQ(d.result(), 0);
        EXPECT_FALSE(d.isVisible());
        EXPECT_EQ(openProblem().LPRMDEG, before);
        EXPECT_EQ(openProblem().APARMLIST, parm);
    }
}

TEST_F(ReportDataDialog, TheProgramsAskerRunsTheDialogModally)
{
    setReportDataAsker({});
    QTimer::singleShot(0, [] {
        auto *d = qobject_cast<KYPARMGIR_WIN *>(QApplication::activeModalWidget());
        ASSERT_TRUE(d);
        d->RB_OZET()->click();
        d->RB_PDF()->click();
        d->okButton()->click();
    });
    ReportDataForm form;
    EXPECT_TRUE(askReportData(nullptr, form));
    EXPECT_EQ(form.NRTIPI, 1);
    EXPECT_EQ(form.NFORMAT, 1);

    QTimer::singleShot(0, [] {
        auto *d = qobject_cast<KYPARMGIR_WIN *>(QApplication::activeModalWidget());
        ASSERT_TRUE(d);
        QTest::keyClick(d, Qt::Key_Escape);
    });
    ReportDataForm cancelled;
    EXPECT_FALSE(askReportData(nullptr, cancelled));
}

// The stop button of the real progress dialog ends a running solve at the next count: nothing is
// written and no count follows the click.
TEST(ActAlertStop, StopButtonEndsTheSolveAtTheNextCount)
{
    ScriptedMessages messages;
    FeedProblem fp = randomProblem(7, RandomShape{30, 20, true});
    fp.install();
    installSolverDialogs();
    const RowList ym = openProblem().AYMLIST;
    int clickedAt = -1;
    int highest = 0;
    int seen = 0;
    QTimer poll;
    poll.setInterval(0);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        for (QWidget *w : QApplication::topLevelWidgets()) {
            auto *a = qobject_cast<ACTALERT *>(w);
            if (!a || !a->isVisible())
                continue;
            ++seen;
            EXPECT_EQ(a->windowTitle(), QStringLiteral("İşlemler yürütülüyor! Lütfen bekleyiniz..."));
            highest = std::max(highest, int(a->count()));
            if (clickedAt < 0 && a->count() >= 1) {
                EXPECT_EQ(a->FT_COUNTER()->text(), QStringLiteral("iterasyon: ") + QString::number(a->count()));
                clickedAt = int(a->count());
                QTest::mouseClick(a->stopButton(), Qt::LeftButton);
            }
        }
    });
    poll.start();
    KY_OPTIMIZER solver(nullptr, true);
    poll.stop();
    setProgressFactory({});
    setReportStep(nullptr);
    ASSERT_GT(seen, 0);
    ASSERT_GE(clickedAt, 1) << "the solve ended before its first count";
    EXPECT_EQ(highest, clickedAt);
    EXPECT_EQ(solver.RESULT(), 0);
    EXPECT_EQ(solver.outcome(), SolveOutcome::Stopped);
    EXPECT_EQ(openProblem().AYMLIST, ym);
    EXPECT_EQ(openProblem().CCOZUMDURUMU, QStringLiteral("H"));
    for (QWidget *w : QApplication::topLevelWidgets())
        EXPECT_FALSE(qobject_cast<ACTALERT *>(w)) << "the dialog was not destroyed";
    openProblem().reset();
}

} // namespace
