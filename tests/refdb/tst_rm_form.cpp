#include "refdb/rm_form.h"
#include "refdb/rm_form_dialog.h"

#include "controls/balloon_tip.h"
#include "controls/number_field.h"
#include "problem/typed_number.h"
#include "controls/bdata_column.h"
#include "controls/edit_subclasses.h"
#include "controls/grid_subclasses.h"
#include "problem/reference_tables.h"
#include "refdb/rm_rules.h"
#include "refdb/starter_database.h"
#include "real_boxes.h"
#include "refdb_root.h"
#include "scripted_messages.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <QClipboard>
#include <QtTest>

#include <functional>

using namespace vexo;
using vexo::test::RefDbRoot;
using Act = vexo::test::RealBoxes::Act;

Q_DECLARE_METATYPE(vexo::test::RealBoxes::Act)

namespace {

// The record the editor hands over: its nutrient columns run HP, KM, CA while the definitions run
// KM, HP, NA (no column), CA.
RmFormInput input()
{
    RmFormInput in;
    in.fieldNames = {"KOD", "YM_ADI", "FIATI", "GRUBU", "HP", "KM", "CA"};
    in.record = {"3", "ARPA                     ", "      1.250", "TAHIL      ", "    11.0000", "    88.0000", ""};
    in.groups = {"YAG", "TAHIL", "ARPA KEPEK"};
    return in;
}

enum Row { KM = 1, HP, NA, CA };

} // namespace

class TestRmForm : public QObject
{
    Q_OBJECT

    std::unique_ptr<RefDbRoot> root;
    std::unique_ptr<test::ScriptedMessages> messages;

    std::unique_ptr<ReferenceIngredientForm> open(const RmFormInput &in = input())
    {
        auto form = std::make_unique<ReferenceIngredientForm>(nullptr, in);
        form->show();
        form->activateWindow();
        [[maybe_unused]] const bool active = QTest::qWaitForWindowActive(form.get());
        QCoreApplication::processEvents();
        return form;
    }

    // Types into the value cell of a row as a user does, then Enter.
    static void typeValue(ReferenceIngredientForm &f, int row, const QString &text)
    {
        f.server()->GOTO(row);
        f.BROWSER->setCURRENTCOLUMN(5);
        f.BROWSER->setFocus();
        for (QChar ch : text) {
            QLineEdit *editor = f.BROWSER->currentEditor();
            QTest::keyClicks(editor ? static_cast<QWidget *>(editor) : f.BROWSER, QString(ch));
        }
        if (QLineEdit *editor = f.BROWSER->currentEditor())
            QTest::keyClick(editor, Qt::Key_Return);
        QCoreApplication::processEvents();
    }

    static void typeInto(QWidget *field, const QString &text)
    {
        field->setFocus(Qt::OtherFocusReason);
        QCoreApplication::processEvents();
        QTest::keyClicks(field, text);
    }

    static void tabAway(QWidget *from)
    {
        QTest::keyClick(from, Qt::Key_Tab);
        QCoreApplication::processEvents();
    }

    static QString value(ReferenceIngredientForm &f, int row) { return f.server()->textAt(row, 5); }

private slots:
    void init()
    {
        root = std::make_unique<RefDbRoot>();
        messages = std::make_unique<test::ScriptedMessages>();
        QVERIFY(root->writeDefinitions({{"Kuru Madde", "KM", "%", 4},
                                        {"Ham Protein", "HP", "%", 2},
                                        {"Sodyum", "NA", "%", 3},
                                        {"Kalsiyum", "CA", "%", 4}}));
    }

    void cleanup()
    {
        QCOMPARE(messages->unexpectedQuestions(), 0);
        messages.reset();
        root.reset();
    }

    void opensOverTheRecordWithValuesByName()
    {
        auto f = open();
        QCOMPARE(f->windowTitle(), QStringLiteral("Referans Matris Yem Maddesi Yazımı"));
        QCOMPARE(f->KOD->text(), QStringLiteral("  3"));
        QVERIFY(f->KOD->isReadOnly());
        QCOMPARE(f->YM_ADI->text(), QStringLiteral("ARPA                     "));
        QCOMPARE(f->FIATI->text(), QStringLiteral("      1.250"));
        QCOMPARE(f->CB_GRUB->currentText(), QStringLiteral("TAHIL      "));
        QStringList items;
        for (int i = 0; i < f->CB_GRUB->count(); ++i)
            items.append(f->CB_GRUB->itemText(i));
        QCOMPARE(items, QStringList({"ARPA KEPEK", "TAHIL", "YAG"}));

        QCOMPARE(f->server()->LASTREC(), 4);
        QCOMPARE(value(*f, KM), QStringLiteral("    88.0000"));
        QCOMPARE(value(*f, HP), QStringLiteral("    11.0000"));
        QCOMPARE(value(*f, NA).trimmed(), QString());
        QCOMPARE(f->AYYDECIM, QList<int>({4, 2, 3, 4}));
        const QStringList captions = {"Kod", "Besin Maddesi Adı", "Kısaltma", "Birim", "Değerler"};
        for (int c = 1; c <= 5; ++c) {
            QCOMPARE(f->BROWSER->GETCOLUMN(c)->CAPTION(), captions[c - 1]);
            QCOMPARE(f->BROWSER->GETCOLUMN(c)->EDITABLE(), c == 5);
        }
        QCOMPARE(f->BROWSER->FREEZE(), 2);
        QCOMPARE(f->BROWSER->CURRENTCOLUMN(), 5);
        QVERIFY(!f->YYCHANGE);
        QVERIFY(!f->LYYKAYDET);
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(f->YM_ADI));
    }

    void contextMenuItems()
    {
        auto f = open();
        const QList<QAction *> actions = f->contextMenu()->actions();
        QCOMPARE(f->contextMenu()->title(), QStringLiteral("&Yazım"));
        QCOMPARE(actions.size(), 3);
        QCOMPARE(actions[0]->text(), QStringLiteral("&Kaydet"));
        QCOMPARE(actions[0]->statusTip(), QStringLiteral("Değişiklikleri kaydet ve çık"));
        QCOMPARE(actions[0]->data().toInt(), 570);
        QVERIFY(actions[1]->isSeparator());
        QCOMPARE(actions[2]->text(), QStringLiteral("&Çıkış..."));
        QCOMPARE(actions[2]->statusTip(), QStringLiteral("Çıkış"));
        QCOMPARE(actions[2]->data().toInt(), 572);
        QCOMPARE(f->PBKAYDET_->toolTip(), QStringLiteral("Kaydet"));
        QCOMPARE(f->PBIPTAL_->toolTip(), QStringLiteral("Çıkış"));
    }

    void cikisWithoutAChangeAsksNothing()
    {
        auto f = open();
        QTest::mouseClick(f->PBIPTAL_, Qt::LeftButton);
        QVERIFY(!f->isVisible());
        QVERIFY(messages->shown().isEmpty());
        QVERIFY(!f->handBack());

        // "Kaydet" without a change hands nothing back either.
        auto g = open();
        QTest::mouseClick(g->PBKAYDET_, Qt::LeftButton);
        QVERIFY(!g->isVisible());
        QVERIFY(!g->handBack());
        QVERIFY(messages->shown().isEmpty());
    }

    void cikisAfterAChangeAsks_data()
    {
        QTest::addColumn<bool>("yes");
        QTest::newRow("Yes hands back") << true;
        QTest::newRow("No drops the change") << false;
    }

    void cikisAfterAChangeAsks()
    {
        QFETCH(bool, yes);
        auto f = open();
        typeValue(*f, HP, QStringLiteral("1,239"));
        QCOMPARE(value(*f, HP), QStringLiteral("     1.2300")); // cut to 2 decimals, shown with 4
        QVERIFY(f->YYCHANGE);
        messages->answer(yes ? MessageAnswer::Yes : MessageAnswer::No);
        QTest::mouseClick(f->PBIPTAL_, Qt::LeftButton);
        QVERIFY(!f->isVisible());
        QCOMPARE(messages->shown().size(), 1);
        const MessageRequest &q = messages->shown()[0];
        QCOMPARE(q.caption, QStringLiteral("Uyarı..."));
        QCOMPARE(q.text, QStringLiteral("Seçili Yem Maddesinin içeriği değişti!\n\nKaydetmek istiyor musunuz?"));
        QCOMPARE(q.buttons(), unsigned(MB_YESNOCANCEL)); // Escape stays
        QCOMPARE(q.icon(), unsigned(MB_ICONQUESTION));
        QCOMPARE(q.owner.data(), static_cast<QWidget *>(f.get()));
        const std::optional<RmFormHandBack> back = f->handBack();
        QCOMPARE(back.has_value(), yes);
        if (!yes)
            return;
        QCOMPARE(back->CYYADI, QStringLiteral("ARPA"));
        QCOMPARE(back->CYYFIATI, QStringLiteral("      1.250"));
        QCOMPARE(back->CYYGRUBU, QStringLiteral("TAHIL"));
        QCOMPARE(back->AYYDEGERLER.size(), 4);
        QCOMPARE(back->AYYDEGERLER[1].AVALUE, QStringLiteral("     1.2300"));

        // The editor writes it back by name into a record whose columns run otherwise.
        RmFormInput in = input();
        QVERIFY(applyFormHandBack(in.fieldNames, in.record, *back));
        QCOMPARE(in.record, QStringList({"3", "ARPA", "      1.250", "TAHIL", "     1.2300", "    88.0000",
                                         QString(11, u' ')}));
    }

    void valuesAreFilteredAndNormalised()
    {
        auto f = open();
        f->server()->GOTO(KM);
        f->BROWSER->setCURRENTCOLUMN(5);
        f->BROWSER->setFocus();
        QTest::keyClicks(f->BROWSER, QStringLiteral("9"));
        QLineEdit *editor = f->BROWSER->currentEditor();
        QVERIFY(editor);
        QTest::keyClicks(editor, QStringLiteral("a0 ,5x%"));
        QCOMPARE(editor->text(), QStringLiteral("90,5")); // only number characters reach the cell
        QCOMPARE(editor->cursorPosition(), 4);
        QTest::keyClick(editor, Qt::Key_Return);
        QCoreApplication::processEvents();
        QCOMPARE(value(*f, KM), QStringLiteral("    90.5000"));
        typeValue(*f, NA, QStringLiteral("5")); // no column: nothing to edit
        QVERIFY(!f->BROWSER->currentEditor());
        QCOMPARE(value(*f, NA).trimmed(), QString());
        // Clearing a cell stores an empty value.
        f->YYCHANGE = false;
        typeValue(*f, HP, QString());
        f->server()->GOTO(HP);
        QTest::keyClick(f->BROWSER, Qt::Key_F2);
        if (QLineEdit *editor = f->BROWSER->currentEditor()) {
            editor->clear();
            QTest::keyClick(editor, Qt::Key_Return);
        }
        QCoreApplication::processEvents();
        QCOMPARE(value(*f, HP).trimmed(), QString());
        QVERIFY(f->YYCHANGE);
    }

    void priceIsNormalisedWhenLeft()
    {
        auto f = open();
        f->FIATI->clear();
        typeInto(f->FIATI, QStringLiteral("12,5 TL"));
        QCOMPARE(f->FIATI->text(), QStringLiteral("12,5")); // letters never reach the field
        QVERIFY(!f->YYCHANGE);                           // not before the field is left
        tabAway(f->FIATI);
        QCOMPARE(f->FIATI->text(), QStringLiteral("     12.500"));
        QVERIFY(f->YYCHANGE);
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget *>(f->CB_GRUB));

        // A fourth decimal is cut off.
        f->FIATI->setFocus(Qt::BacktabFocusReason);
        QCoreApplication::processEvents();
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(f->FIATI)); // a step back stays
        f->FIATI->clear();
        QTest::keyClicks(f->FIATI, QStringLiteral("1,2349"));
        tabAway(f->FIATI);
        QCOMPARE(f->FIATI->text(), QStringLiteral("      1.234"));
        QTest::mouseClick(f->PBKAYDET_, Qt::LeftButton);
        QVERIFY(f->handBack());
        QCOMPARE(f->handBack()->CYYFIATI, QStringLiteral("      1.234"));
    }

    // A group typed into the combo's field is a change of its own: "Kaydet" hands it back.
    void aTypedGroupIsAChange()
    {
        auto f = open();
        f->CB_GRUB->setFocus(Qt::TabFocusReason);
        QCoreApplication::processEvents();
        f->CB_GRUB->lineEdit()->selectAll();
        QTest::keyClicks(f->CB_GRUB->lineEdit(), QStringLiteral("KEPEK"));
        QCOMPARE(f->CB_GRUB->currentText(), QStringLiteral("KEPEK"));
        QTest::mouseClick(f->PBKAYDET_, Qt::LeftButton);
        QVERIFY(f->handBack());
        QCOMPARE(f->handBack()->CYYGRUBU, QStringLiteral("KEPEK"));
        QCOMPARE(f->handBack()->AYYDEGERLER[1].AVALUE, QStringLiteral("    11.0000")); // the rest as it was

        // With another change the typed text goes back as the group.
        auto g = open();
        g->CB_GRUB->setFocus(Qt::TabFocusReason);
        QCoreApplication::processEvents();
        g->CB_GRUB->lineEdit()->selectAll();
        QTest::keyClicks(g->CB_GRUB->lineEdit(), QStringLiteral("KEPEK"));
        typeValue(*g, CA, QStringLiteral("2"));
        QTest::mouseClick(g->PBKAYDET_, Qt::LeftButton);
        QVERIFY(g->handBack());
        QCOMPARE(g->handBack()->CYYGRUBU, QStringLiteral("KEPEK"));
        QCOMPARE(g->handBack()->AYYDEGERLER[3].AVALUE, QStringLiteral("     2.0000"));

        // A choice from the list is a change.
        auto h = open();
        h->CB_GRUB->setFocus(Qt::TabFocusReason);
        QCoreApplication::processEvents();
        QTest::keyClick(h->CB_GRUB, Qt::Key_Down);
        QVERIFY(h->YYCHANGE);
    }

    // Escape in the group field closes its list at most: the price typed before and the group typed
    // there stay, and "Kaydet" hands both back.
    void escapeInTheGroupFieldKeepsWhatWasTyped()
    {
        auto f = open();
        f->FIATI->setFocus(Qt::TabFocusReason);
        QCoreApplication::processEvents();
        f->FIATI->selectAll();
        QTest::keyClicks(f->FIATI, QStringLiteral("780"));
        tabAway(f->FIATI);
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget *>(f->CB_GRUB));
        f->CB_GRUB->lineEdit()->selectAll();
        QTest::keyClicks(f->CB_GRUB, QStringLiteral("KEPEK"));
        QTest::keyClick(f->CB_GRUB, Qt::Key_Escape);
        QCoreApplication::processEvents();
        QVERIFY(f->isVisible());
        // With the list open, Escape closes the list only.
        f->CB_GRUB->showPopup();
        QCoreApplication::processEvents();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        QCoreApplication::processEvents();
        QVERIFY(f->isVisible());
        QVERIFY(messages->shown().isEmpty());
        QCOMPARE(f->FIATI->text(), QStringLiteral("    780.000"));
        QCOMPARE(f->CB_GRUB->currentText(), QStringLiteral("KEPEK"));
        QTest::mouseClick(f->PBKAYDET_, Qt::LeftButton);
        QVERIFY(f->handBack());
        QCOMPARE(f->handBack()->CYYFIATI, QStringLiteral("    780.000"));
        QCOMPARE(f->handBack()->CYYGRUBU, QStringLiteral("KEPEK"));
    }

    // A fresh database has no group to choose: the group is typed, and it is handed back.
    void onAFreshDatabaseTheGroupIsTyped()
    {
        QVERIFY(QFile::remove(root->path(kNutrientDefinitionFile)));
        QVERIFY(writeStarterReferenceDatabase());
        RmFormInput in;
        for (const DbfField &field : HKM_STRCREATE())
            in.fieldNames.append(field.name);
        in.record = QStringList(in.fieldNames.size(), QString());
        in.record[0] = QStringLiteral("1");
        auto f = open(in);
        QCOMPARE(f->CB_GRUB->count(), 0);
        QVERIFY(f->CB_GRUB->isEditable());
        typeInto(f->YM_ADI, QStringLiteral("MISIR"));
        tabAway(f->YM_ADI);
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget *>(f->FIATI));
        QTest::keyClicks(f->FIATI, QStringLiteral("780"));
        tabAway(f->FIATI);
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget *>(f->CB_GRUB));
        QTest::keyClicks(f->CB_GRUB, QStringLiteral("TAHIL"));
        QCOMPARE(f->CB_GRUB->currentText(), QStringLiteral("TAHIL"));
        QTest::mouseClick(f->PBKAYDET_, Qt::LeftButton);
        QVERIFY(f->handBack());
        QCOMPARE(f->handBack()->CYYADI, QStringLiteral("MISIR"));
        QCOMPARE(f->handBack()->CYYFIATI, QStringLiteral("    780.000"));
        QCOMPARE(f->handBack()->CYYGRUBU, QStringLiteral("TAHIL"));
    }

    // The closing question answered with Escape or its close button keeps the form with its values.
    void escapeOnTheClosingQuestionKeepsTheForm_data()
    {
        QTest::addColumn<Act>("act");
        QTest::newRow("Escape") << Act::Escape;
        QTest::newRow("close button") << Act::CloseButton;
    }

    void escapeOnTheClosingQuestionKeepsTheForm()
    {
        QFETCH(Act, act);
        auto f = open();
        typeValue(*f, KM, QStringLiteral("7"));
        for (const auto &leave : {std::function<void()>([&] { QTest::mouseClick(f->PBIPTAL_, Qt::LeftButton); }),
                                  std::function<void()>([&] { f->close(); }),
                                  std::function<void()>([&] { QTest::keyClick(f->YM_ADI, Qt::Key_Escape); })}) {
            test::RealBoxes boxes({act});
            leave();
            QCOMPARE(boxes.texts(),
                     QStringList{QStringLiteral("Seçili Yem Maddesinin içeriği değişti!\n\nKaydetmek istiyor musunuz?")});
            QCOMPARE(boxes.unexpected(), 0);
            QVERIFY(f->isVisible());
            QCOMPARE(value(*f, KM), QStringLiteral("     7.0000"));
        }
        QTest::mouseClick(f->PBKAYDET_, Qt::LeftButton);
        QVERIFY(f->handBack());
        QCOMPARE(f->handBack()->AYYDEGERLER[0].AVALUE, QStringLiteral("     7.0000"));
    }

    // Letters typed over the price or a value leave it as it was, with the tone and a balloon that
    // says why; emptying the field on purpose still empties it.
    void lettersTypedOverANumberKeepIt()
    {
        auto f = open();
        typeValue(*f, KM, QStringLiteral("abc"));
        QCOMPARE(value(*f, KM), QStringLiteral("    88.0000"));
        typeValue(*f, KM, QStringLiteral("1-2"));
        QCOMPARE(value(*f, KM), QStringLiteral("    88.0000"));
        QVERIFY(visibleBalloonTip());
        QCOMPARE(visibleBalloonTip()->text(), rmNotANumberText());

        f->FIATI->setFocus(Qt::TabFocusReason);
        QCoreApplication::processEvents();
        f->FIATI->selectAll();
        QTest::keyClicks(f->FIATI, QStringLiteral("abc"));
        tabAway(f->FIATI);
        QCOMPARE(f->FIATI->text(), QStringLiteral("      1.250"));
        QVERIFY(!f->YYCHANGE);
        QVERIFY(messages->toneLog().size() >= 3);

        f->FIATI->setFocus(Qt::BacktabFocusReason); // a step back from the group field stays
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(f->FIATI));
        QCoreApplication::processEvents();
        f->FIATI->selectAll();
        QTest::keyClick(f->FIATI, Qt::Key_Backspace);
        tabAway(f->FIATI);
        QCOMPARE(f->FIATI->text(), QString());
        QVERIFY(f->YYCHANGE);
        messages->answer(MessageAnswer::No);
    }

    // A keystroke or paste that brings a character no number has is refused as it comes, with the tone
    // and a word, and the price or value stays as it was ("2x5" never becomes 25); what is no number
    // when the field is left is refused with a word naming the price. A negative is a number here, as
    // everywhere in the reference matrix.
    void typedPriceAndValuesFollowTheOneRule_data()
    {
        const QString price = ReferenceIngredientForm::priceName();
        QTest::addColumn<bool>("cell");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("paste");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("word");
        QTest::newRow("price: pasted 2x5") << false << "2x5" << true << "      1.250" << numberCharactersText(price);
        QTest::newRow("price: x typed") << false << "2x" << false << "2" << numberCharactersText(price);
        QTest::newRow("price: two points") << false << "1.2.3" << false << "      1.250"
                                           << typedNumberRefusal(price, TypedNumberFault::NotANumber);
        QTest::newRow("price: negative") << false << "-2" << false << "     -2.000" << QString();
        QTest::newRow("value: pasted 2x5") << true << "2x5" << true << "    88.0000" << rmNumbersOnlyText();
        QTest::newRow("value: x typed") << true << "2x" << false << "2" << rmNumbersOnlyText();
    }
    void typedPriceAndValuesFollowTheOneRule()
    {
        QFETCH(bool, cell);
        QFETCH(QString, typed);
        QFETCH(bool, paste);
        QFETCH(QString, stored);
        QFETCH(QString, word);
        auto f = open();
        QLineEdit *field = f->FIATI;
        if (cell) {
            f->server()->GOTO(KM);
            f->BROWSER->setCURRENTCOLUMN(5);
            f->BROWSER->setFocus();
            QTest::keyClick(f->BROWSER, Qt::Key_F2);
            field = f->BROWSER->currentEditor();
            QVERIFY(field);
        } else {
            field->setFocus(Qt::TabFocusReason);
            QCoreApplication::processEvents();
        }
        field->selectAll();
        messages->clear();
        if (paste) {
            QApplication::clipboard()->setText(typed);
            field->paste();
        } else {
            QTest::keyClicks(field, typed);
        }
        if (paste || typed.endsWith(u'x')) {
            // Told as it comes; what the field held stays.
            QCOMPARE(field->text().trimmed(), paste ? (cell ? QStringLiteral("88.0000") : QStringLiteral("1.250")) : stored);
            QVERIFY(visibleBalloonTip());
            QCOMPARE(visibleBalloonTip()->text(), word);
            QVERIFY(!messages->toneLog().isEmpty());
            if (!paste)
                return;
        }
        if (cell) {
            QTest::keyClick(field, Qt::Key_Return);
            QCoreApplication::processEvents();
            QCOMPARE(value(*f, KM), stored);
        } else {
            tabAway(field);
            QCOMPARE(f->FIATI->text(), stored);
            if (!word.isEmpty() && !paste) {
                QVERIFY(visibleBalloonTip());
                QCOMPARE(visibleBalloonTip()->text(), word);
                QVERIFY(!messages->toneLog().isEmpty());
                QVERIFY(!f->YYCHANGE);
            }
        }
        if (f->YYCHANGE)
            messages->answer(MessageAnswer::No);
    }

    void delBlanksOnlyAValueCell()
    {
        auto f = open();
        f->BROWSER->setFocus();
        f->server()->GOTO(KM);
        f->BROWSER->setCURRENTCOLUMN(5);
        QTest::keyClick(f->BROWSER, Qt::Key_Delete);
        QCOMPARE(value(*f, KM), QString(11, u' '));
        QVERIFY(f->YYCHANGE);

        auto g = open();
        g->BROWSER->setFocus();
        g->server()->GOTO(NA); // a definition without a column
        g->BROWSER->setCURRENTCOLUMN(5);
        QTest::keyClick(g->BROWSER, Qt::Key_Delete);
        QVERIFY(!g->YYCHANGE);
    }

    void escInTheNameIsCikis()
    {
        auto f = open();
        typeValue(*f, KM, QStringLiteral("1"));
        f->YM_ADI->setFocus(Qt::TabFocusReason);
        QCoreApplication::processEvents();
        messages->answer(MessageAnswer::No);
        QTest::keyClick(f->YM_ADI, Qt::Key_Escape);
        QVERIFY(!f->isVisible());
        QCOMPARE(messages->shown().size(), 1);
        QVERIFY(!f->handBack());
    }

    // "Kaydet" reached while a field still has the focus (the context menu) takes what it holds.
    void aNameStillBeingTypedCounts()
    {
        auto f = open();
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(f->YM_ADI));
        QTest::keyClicks(f->YM_ADI, QStringLiteral("X"));
        f->contextMenu()->actions()[0]->trigger(); // "&Kaydet" while the name keeps the focus
        QVERIFY(!f->isVisible());
        QVERIFY(f->handBack());
        QCOMPARE(f->handBack()->CYYADI, QStringLiteral("X")); // typed over the selected name
        QVERIFY(messages->shown().isEmpty());

        // A price still being typed when the form is closed is asked about, not dropped.
        auto p = open();
        p->FIATI->setFocus(Qt::TabFocusReason);
        QCoreApplication::processEvents();
        p->FIATI->selectAll();
        QTest::keyClicks(p->FIATI, QStringLiteral("5"));
        messages->answer(MessageAnswer::Yes);
        p->close();
        QCOMPARE(messages->shown().size(), 1);
        QVERIFY(p->handBack());
        QCOMPARE(p->handBack()->CYYFIATI, QStringLiteral("      5.000"));

        // Left for the next field, it counts.
        auto g = open();
        g->YM_ADI->selectAll();
        QTest::keyClicks(g->YM_ADI, QStringLiteral("ARPA EZME"));
        tabAway(g->YM_ADI);
        QVERIFY(g->YYCHANGE);
        g->contextMenu()->actions()[0]->trigger();
        QVERIFY(g->handBack());
        QCOMPARE(g->handBack()->CYYADI, QStringLiteral("ARPA EZME"));
    }

    void enterMovesOnThroughTheFields()
    {
        auto f = open();
        QVERIFY(f->keyboardNavigation());
        QTest::keyClick(f->YM_ADI, Qt::Key_Return);
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget *>(f->FIATI));
        QTest::keyClick(f->FIATI, Qt::Key_Return);
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget *>(f->CB_GRUB));
        QTest::keyClick(f->CB_GRUB, Qt::Key_Return);
        QTRY_VERIFY(f->BROWSER->hasFocus());
        QVERIFY(!f->keyboardNavigation());
        QCOMPARE(f->BROWSER->CURRENTCOLUMN(), 5);
        QVERIFY(f->isVisible());
        QVERIFY(!f->YYCHANGE);
    }

    // A column of values is typed one after another: Enter stores the value and goes on to the
    // next nutrient's value.
    void enterGoesOnToTheNextValue()
    {
        auto f = open();
        f->server()->GOTO(KM);
        f->BROWSER->setCURRENTCOLUMN(5);
        f->BROWSER->setFocus();
        const auto typeAndEnter = [&](const QString &text) {
            for (QChar ch : text) {
                QLineEdit *editor = f->BROWSER->currentEditor();
                QTest::keyClicks(editor ? static_cast<QWidget *>(editor) : f->BROWSER, QString(ch));
            }
            QLineEdit *editor = f->BROWSER->currentEditor();
            QVERIFY(editor);
            QTest::keyClick(editor, Qt::Key_Return);
            QCoreApplication::processEvents();
        };
        typeAndEnter(QStringLiteral("89"));
        QCOMPARE(f->server()->RECNO(), HP);
        QCOMPARE(f->BROWSER->CURRENTCOLUMN(), 5);
        typeAndEnter(QStringLiteral("46"));
        QCOMPARE(value(*f, KM), QStringLiteral("    89.0000"));
        QCOMPARE(value(*f, HP), QStringLiteral("    46.0000"));
        QCOMPARE(f->server()->RECNO(), NA);
        // On the last row Enter stores and stays.
        f->server()->GOTO(CA);
        typeAndEnter(QStringLiteral("3"));
        QCOMPARE(value(*f, CA), QStringLiteral("     3.0000"));
        QCOMPARE(f->server()->RECNO(), CA);
        // Leaving a cell another way stays on its row.
        f->server()->GOTO(KM);
        f->BROWSER->setFocus();
        QTest::keyClicks(f->BROWSER, QStringLiteral("7"));
        QVERIFY(f->BROWSER->currentEditor());
        f->BROWSER->storePendingEdit();
        QCOMPARE(value(*f, KM), QStringLiteral("     7.0000"));
        QCOMPARE(f->server()->RECNO(), KM);
    }

    void aFieldTakesTheGridBackToItsFirstRowAndAClickEndsTheEnterMode()
    {
        auto f = open();
        f->server()->GOTO(CA);
        f->FIATI->setFocus(Qt::MouseFocusReason);
        QCoreApplication::processEvents();
        QCOMPARE(f->server()->RECNO(), 1);
        QVERIFY(f->keyboardNavigation());
        const QRect cell = f->BROWSER->visualRect(f->BROWSER->model()->index(2, 4));
        QTest::mouseClick(f->BROWSER->viewport(), Qt::LeftButton, {}, cell.center());
        QCoreApplication::processEvents();
        QVERIFY(!f->keyboardNavigation());
        QCOMPARE(f->server()->RECNO(), 3);
        // Enter in a field does nothing while the mode is off (no default button closes the form).
        QTest::keyClick(f->FIATI, Qt::Key_Return);
        QVERIFY(f->isVisible());
    }

    void theCloseBoxAsksWhenChanged()
    {
        auto f = open();
        typeValue(*f, KM, QStringLiteral("7"));
        messages->answer(MessageAnswer::Yes);
        f->close();
        QVERIFY(!f->isVisible());
        QCOMPARE(messages->shown().size(), 1);
        QVERIFY(f->handBack());
        QCOMPARE(f->handBack()->AYYDEGERLER[0].AVALUE, QStringLiteral("     7.0000"));
    }

    void theModalFormAnswersTheHandBack()
    {
        // Left without a change: nothing.
        QTimer::singleShot(50, [] {
            if (auto *f = qobject_cast<ReferenceIngredientForm *>(QApplication::activeModalWidget()))
                f->PBIPTAL_->click();
        });
        QVERIFY(!YM_YAZ_WIND(nullptr, input()));

        // Changed and saved: the hand-back.
        QTimer::singleShot(50, [] {
            if (auto *f = qobject_cast<ReferenceIngredientForm *>(QApplication::activeModalWidget())) {
                f->server()->GOTO(KM);
                f->server()->FIELDPUT(5, QStringLiteral("    50.0000"));
                f->PBKAYDET_->click();
            }
        });
        const std::optional<RmFormHandBack> back = referenceForm()(nullptr, input());
        QVERIFY(back);
        QCOMPARE(back->AYYDEGERLER[0].AVALUE, QStringLiteral("    50.0000"));
    }

    void withoutDefinitionsTheFormIsEmpty()
    {
        QVERIFY(QFile::remove(root->path(kNutrientDefinitionFile)));
        auto f = open();
        QCOMPARE(messages->shown().size(), 1);
        QCOMPARE(messages->shown()[0].text, QStringLiteral("VMKBMDESC.DBF dosyası yok..!"));
        QVERIFY(f->YM_ADI->text().isEmpty());
        QVERIFY(f->KOD->text().isEmpty());
        QCOMPARE(f->server()->LASTREC(), 0);
        typeInto(f->YM_ADI, QStringLiteral("YENI"));
        tabAway(f->YM_ADI);
        QTest::mouseClick(f->PBKAYDET_, Qt::LeftButton);
        // Handed back without rows: the editor writes nothing.
        QVERIFY(f->handBack());
        RmFormInput in = input();
        QVERIFY(!applyFormHandBack(in.fieldNames, in.record, *f->handBack()));
        QCOMPARE(in.record, input().record);
    }

    void overTheStarterDatabase()
    {
        QVERIFY(QFile::remove(root->path(kNutrientDefinitionFile)));
        QVERIFY(writeStarterReferenceDatabase());
        RmFormInput in;
        for (const DbfField &f : HKM_STRCREATE())
            in.fieldNames.append(f.name);
        in.record = QStringList(in.fieldNames.size(), QString());
        in.record[0] = QStringLiteral("1");
        ReferenceIngredientForm f(nullptr, in);
        QCOMPARE(f.server()->LASTREC(), 52);
        QCOMPARE(f.server()->textAt(1, 2).trimmed(), QStringLiteral("Kuru Madde"));
        QCOMPARE(f.server()->textAt(1, 4).trimmed(), QStringLiteral("%"));
        for (int rec = 1; rec <= 52; ++rec) {
            QCOMPARE(f.rows()[rec - 1].field, rec + 3); // every definition owns its column
            QCOMPARE(f.server()->textAt(rec, 3).trimmed(), in.fieldNames[rec + 3]);
        }
        QCOMPARE(f.KOD->text(), QStringLiteral("  1"));
        if (const int ms = qEnvironmentVariableIntValue("VEXO_FORM_HOLD_MS"); ms > 0) {
            f.move(40, 40);
            f.show();
            QTest::qWait(ms);
        }
    }

    // Run with VEXO_FORM_HOLD_MS set (and a real display) to look at the form.
    void holdForALook()
    {
        const int ms = qEnvironmentVariableIntValue("VEXO_FORM_HOLD_MS");
        if (ms <= 0)
            QSKIP("VEXO_FORM_HOLD_MS not set");
        auto f = open();
        f->move(40, 40);
        typeValue(*f, HP, QStringLiteral("1,239"));
        f->server()->GOTO(NA);
        f->BROWSER->REFRESH();
        QTest::qWait(ms);
    }
};

QTEST_MAIN(TestRmForm)
#include "tst_rm_form.moc"
