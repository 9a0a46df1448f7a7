// The report pad window: documents in and out, saving, the save question, the typing limit, effects,
// margins, the font dialog and the ruler.
#include "pdf_test_support.h"

#include "controls/edit_subclasses.h"
#include "problem/app_globals.h"
#include "reports/last_report.h"
#include "reports/margin_dialog.h"
#include "reports/pad_document.h"
#include "reports/pad_font.h"
#include "reports/pad_print.h"
#include "reports/pad_rich_edit.h"
#include "reports/pad_rules.h"
#include "reports/pad_window.h"
#include "reports/rich_text_units.h"
#include "scripted_messages.h"
#include "resources/resource_library.h"
#include "source_tree.h"
#include "file_bytes.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontDialog>
#include <QFontInfo>
#include <QScrollBar>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QMimeData>
#include <QPrinter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QAbstractTextDocumentLayout>
#include <QTextBlock>
#include <QTextLayout>
#include <QTimer>
#include <QtTest>

using namespace vexo;
using namespace vexo::test;

namespace {

// Answers the next modal dialog once it is up.
template <typename Dialog, typename Answer>
void whenDialogShows(Answer answer)
{
    QTimer::singleShot(0, [answer] {
        auto *dialog = qobject_cast<Dialog *>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        answer(dialog);
    });
}

class FontScript : public FontDialogs
{
public:
    FontScript() { setFontDialogs(this); }
    ~FontScript() override { setFontDialogs(nullptr); }
    bool chooseFont(QWidget *, QFont &font, QColor &colour) override
    {
        presetFont = font;
        if (!answer)
            return false;
        font = chosen;
        colour = chosenColour;
        return true;
    }
    bool answer = true;
    QFont chosen;
    QColor chosenColour;
    QFont presetFont;
};

// The print dialog answered: Qt's PDF printer into a file, or Cancel.
class PrintScript : public PrintDialogs
{
public:
    PrintScript() { setPrintDialogs(this); }
    ~PrintScript() override { setPrintDialogs(nullptr); }
    bool print(QWidget *, QPrinter &printer) override
    {
        ++asked;
        if (pdf.isEmpty())
            return false;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        return true;
    }
    bool setup(QWidget *, QPrinter &) override { return false; }
    QString pdf;
    int asked = 0;
};

} // namespace

class PadWindowTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_data;
    QString m_savedData;

private slots:
    void init()
    {
        m_savedData = appGlobals().CVERIDIZIN;
        appGlobals().CVERIDIZIN = m_data.path();
        lastReport().clear();
    }
    void cleanup() { appGlobals().CVERIDIZIN = m_savedData; }

    void reportsOpenedAndSavedUnchangedAreByteIdentical_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        const QString golden = sourceTree() + QStringLiteral("/tests/solver/golden/");
        for (const char *name : {"optimum_detay.TXT", "infeasible_detay.TXT", "ratios_groups_detay.TXT",
                                 "two_sided_detay.TXT", "ratios_groups_ozet.TXT"})
            QTest::newRow(name) << readBytes(golden + QLatin1String(name));
        // A paged report: form feeds in front of a page's first line and after a strip's last line,
        // blank lines of 100 blanks, Turkish letters and a no-break space.
        QByteArray paged;
        for (int page = 1; page <= 3; ++page) {
            paged += QByteArray("\x0c") + QByteArray("\xdd\xfe\xe7i \xf0\xfd\xfc Sayfa  1.") + QByteArray::number(page)
                + QByteArray(70, ' ') + "\r\n";
            paged += QByteArray(100, ' ') + "\r\n";
            paged += "a\xa0" "b\tc" + QByteArray(95, ' ') + "\r\n\x0c";
        }
        QTest::newRow("form feeds") << paged;
    }
    void reportsOpenedAndSavedUnchangedAreByteIdentical()
    {
        QFETCH(QByteArray, bytes);
        QVERIFY(!bytes.isEmpty());
        const QString source = m_data.filePath(QStringLiteral("source/RAPOR.TXT"));
        QVERIFY(QDir().mkpath(m_data.filePath(QStringLiteral("source"))));
        QVERIFY(writeBytes(source, bytes));
        ScriptedMessages messages;
        PADWIN pad;
        QVERIFY(pad.loadFile(source));
        pad.setCFNAME(QStringLiteral("RAPOR.TXT"));
        QVERIFY(pad.RTFSAVE());
        // Saved into the data folder, not back where the document came from.
        QCOMPARE(readBytes(m_data.filePath(QStringLiteral("RAPOR.TXT"))), bytes);
        QCOMPARE(lastReport().CSONRAPOR(), m_data.filePath(QStringLiteral("RAPOR.TXT")));
        QCOMPARE(lastReport().CSONRAPORMETNI(), padTextFromBytes(bytes).replace(u'\n', QStringLiteral("\r\n")));
        QVERIFY(messages.shown().isEmpty());
    }

    void typingStopsAtTheLimitButAnOpenedDocumentStaysWhole()
    {
        PADWIN pad;
        pad.show();
        QVRICHEDIT *edit = pad.ODCRICHEDIT();
        edit->setTextLimit(20);
        pad.setPlainText(QString(18, u'a'));
        edit->moveCursor(QTextCursor::End);
        QTest::keyClicks(edit, QStringLiteral("xyz"));
        QCOMPARE(pad.plainText(), QString(18, u'a') + QStringLiteral("xy"));
        QTest::keyClick(edit, Qt::Key_Return);
        QCOMPARE(edit->textLength(), 20);

        // A longer document opens whole and takes nothing more, not even a pasted text.
        pad.setPlainText(QString(30, u'b'));
        QCOMPARE(edit->textLength(), 30);
        edit->moveCursor(QTextCursor::End);
        QTest::keyClicks(edit, QStringLiteral("c"));
        QApplication::clipboard()->setText(QStringLiteral("pasted"));
        edit->paste();
        QCOMPARE(pad.plainText(), QString(30, u'b'));

        // Pasting cuts what does not fit; a selection being replaced makes room.
        pad.setPlainText(QString(16, u'd'));
        edit->moveCursor(QTextCursor::End);
        edit->paste();
        QCOMPARE(pad.plainText(), QString(16, u'd') + QStringLiteral("past"));
        edit->selectAll();
        edit->paste();
        QCOMPARE(pad.plainText(), QStringLiteral("pasted"));
        QCOMPARE(PADWIN().ODCRICHEDIT()->textLimit(), 65536);
    }

    void escAsksTheSaveQuestionAndCancelKeepsThePad()
    {
        ScriptedMessages messages;
        PADWIN pad;
        pad.setCFNAME(QStringLiteral("DENEME.TXT"));
        pad.show();
        QTest::keyClicks(pad.ODCRICHEDIT(), QStringLiteral("yeni"));
        QVERIFY(pad.LCHANGE());
        messages.answer(MessageAnswer::Cancel);
        QTest::keyClick(pad.ODCRICHEDIT(), Qt::Key_Escape);
        QVERIFY(pad.isVisible());
        QCOMPARE(messages.shown().size(), 1);
        QCOMPARE(messages.shown()[0].caption, QStringLiteral("Uyarı..."));
        QCOMPARE(messages.shown()[0].text,
                 QStringLiteral("DENEME.TXT dosyasındaki metin değişti.\n\nKaydetmek istiyor musunuz?"));
        QCOMPARE(messages.shown()[0].buttons(), unsigned(MB_YESNOCANCEL));
        QCOMPARE(messages.shown()[0].icon(), unsigned(MB_ICONQUESTION));

        // No closes without saving.
        QSignalSpy closed(&pad, &PADWIN::closed);
        messages.answer(MessageAnswer::No);
        QTest::keyClick(pad.ODCRICHEDIT(), Qt::Key_Escape);
        QVERIFY(!pad.isVisible());
        QCOMPARE(closed.size(), 1);
        QVERIFY(!QFileInfo::exists(m_data.filePath(QStringLiteral("DENEME.TXT"))));

        // An unchanged pad closes without a question.
        PADWIN quiet;
        quiet.show();
        messages.clear();
        QVERIFY(quiet.CLOSE());
        QVERIFY(messages.shown().isEmpty());
    }

    void yesWithACancelledOrFailedSaveKeepsThePadOpenAndChanged()
    {
        ScriptedMessages messages;
        ScriptedFileDialogs files;
        PADWIN pad;
        pad.setCFNAME(untitledName(1));
        pad.show();
        QTest::keyClicks(pad.ODCRICHEDIT(), QStringLiteral("metin"));
        messages.answer(MessageAnswer::Yes);
        QVERIFY(!pad.CLOSE()); // the save dialog is cancelled: nothing scripted
        QVERIFY(pad.isVisible());
        QVERIFY(pad.LCHANGE());
        QCOMPARE(files.captions(), QStringList{QStringLiteral("Farklı Kaydet")});
        QCOMPARE(files.lastInitialPath(), m_data.filePath(QStringLiteral("Adsız1")));
        QCOMPARE(files.lastFilters(), padSaveFilters());

        // A write that fails is told, and the text stays unsaved.
        pad.setCFNAME(QStringLiteral("KAYIT.TXT"));
        appGlobals().CVERIDIZIN = m_data.filePath(QStringLiteral("not-a-folder"));
        QVERIFY(writeBytes(appGlobals().CVERIDIZIN, "file in the way"));
        messages.clear();
        messages.answer(MessageAnswer::Yes);
        QVERIFY(!pad.CLOSE());
        QVERIFY(pad.isVisible());
        QVERIFY(pad.LCHANGE());
        QCOMPARE(messages.shown().size(), 2);
        QCOMPARE(messages.shown()[1].caption, QStringLiteral("Hata..."));
        QCOMPARE(messages.shown()[1].text,
                 QStringLiteral("Rapor dosyası oluşturma başarısız!\r\n\r\nSonra tekrar deneyiniz.."));
        QVERIFY(lastReport().CSONRAPOR().isEmpty());
    }

    void saveAsCompletesTheNameAsksBeforeOverwritingAndWritesRichTextForRtfInAnyCase()
    {
        ScriptedMessages messages;
        ScriptedFileDialogs files;
        PADWIN pad;
        pad.setCFNAME(untitledName(2));
        pad.setPlainText(QStringLiteral("Şekerli içerik\n"));
        QSignalSpy status(&pad, &PADWIN::statusMessage);

        // A name without an extension takes the chosen filter's: rich text.
        files.answer(m_data.filePath(QStringLiteral("zengin")));
        files.answerFilter(2);
        QVERIFY(pad.RTFSAVEAS());
        QVERIFY(readBytes(m_data.filePath(QStringLiteral("zengin.RTF"))).startsWith("{\\rtf1"));
        QCOMPARE(pad.CFNAME(), QStringLiteral("zengin.RTF"));
        QCOMPARE(pad.windowTitle(), QStringLiteral("zengin.RTF"));
        QVERIFY(status.isEmpty());

        // Small letters select rich text too.
        files.answer(m_data.filePath(QStringLiteral("kucuk.rtf")));
        QVERIFY(pad.RTFSAVEAS());
        QVERIFY(readBytes(m_data.filePath(QStringLiteral("kucuk.rtf"))).startsWith("{\\rtf1"));

        // An existing file: No keeps it, the name and the change flag.
        const QString existing = m_data.filePath(QStringLiteral("VAR.TXT"));
        QVERIFY(writeBytes(existing, "eski"));
        pad.LCHANGE(true);
        messages.answer(MessageAnswer::No);
        files.answer(existing);
        QVERIFY(!pad.RTFSAVEAS());
        QCOMPARE(readBytes(existing), QByteArray("eski"));
        QCOMPARE(pad.CFNAME(), QStringLiteral("kucuk.rtf"));
        QVERIFY(pad.LCHANGE());
        QCOMPARE(messages.shown().last().text, QStringLiteral("VAR.TXT dosyası mevcut!\n\nÜzerine yazılsın mı?"));
        QCOMPARE(messages.shown().last().caption, QStringLiteral("Uyarı..."));
        QCOMPARE(messages.shown().last().buttons(), unsigned(MB_YESNO));

        // Yes overwrites, as plain text in the Turkish code page with CR LF.
        messages.answer(MessageAnswer::Yes);
        files.answer(existing);
        QVERIFY(pad.RTFSAVEAS());
        QCOMPARE(readBytes(existing), QByteArray("\xde" "ekerli i\xe7" "erik\r\n"));
        QVERIFY(!pad.LCHANGE());
        QCOMPARE(pad.CFNAME(), QStringLiteral("VAR.TXT"));
        QCOMPARE(status.size(), 1);
        QCOMPARE(status[0][0].toString(), QStringLiteral("Dosya başarıyla kaydedildi!"));
        QCOMPARE(lastReport().CSONRAPOR(), existing);
        QCOMPARE(lastReport().CSONRAPORMETNI(), QStringLiteral("Şekerli içerik\r\n"));

        // RTFSAVE of a pad whose name ends in .rtf writes rich text into the data folder.
        pad.setCFNAME(QStringLiteral("sonra.rtf"));
        QVERIFY(pad.RTFSAVE());
        QVERIFY(readBytes(m_data.filePath(QStringLiteral("sonra.rtf"))).startsWith("{\\rtf1"));
        QCOMPARE(lastReport().CSONRAPOR(), existing);
    }

    void setBoldTogglesUniformSelectionsAndTheWordAtTheCaret_data()
    {
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        QTest::addColumn<QString>("boldAfter"); // one letter per character: B bold, - not
        // "alpha beta gamma" with "beta" bold.
        QTest::newRow("bold throughout loses bold") << 6 << 10 << QStringLiteral("----------------");
        QTest::newRow("not bold gains bold") << 0 << 5 << QStringLiteral("BBBBB-BBBB------");
        QTest::newRow("mixed stays as it is") << 3 << 8 << QStringLiteral("------BBBB------");
        QTest::newRow("caret in a plain word") << 13 << 13 << QStringLiteral("------BBBB-BBBBB");
        QTest::newRow("caret in a bold word") << 8 << 8 << QStringLiteral("----------------");
    }
    void setBoldTogglesUniformSelectionsAndTheWordAtTheCaret()
    {
        QFETCH(int, from);
        QFETCH(int, to);
        QFETCH(QString, boldAfter);
        PADWIN pad;
        QVRICHEDIT *edit = pad.ODCRICHEDIT();
        pad.setPlainText(QStringLiteral("alpha beta gamma"));
        QTextCursor c(edit->document());
        c.setPosition(6);
        c.setPosition(10, QTextCursor::KeepAnchor);
        QTextCharFormat bold;
        bold.setFontWeight(QFont::Bold);
        c.mergeCharFormat(bold);

        c.setPosition(from);
        c.setPosition(to, QTextCursor::KeepAnchor);
        edit->setTextCursor(c);
        edit->SETBOLD();
        QString after;
        for (int i = 0; i < 16; ++i) {
            QTextCursor probe(edit->document());
            probe.setPosition(i + 1);
            after += probe.charFormat().fontWeight() >= QFont::Bold ? u'B' : u'-';
        }
        QCOMPARE(after, boldAfter);
    }

    void italicAndUnderlineToggleTheirOwnEffect()
    {
        PADWIN pad;
        QVRICHEDIT *edit = pad.ODCRICHEDIT();
        pad.setPlainText(QStringLiteral("abc"));
        edit->selectAll();
        edit->SETITALIC();
        edit->SETUNDERLINE();
        QTextCursor probe(edit->document());
        probe.setPosition(2);
        QVERIFY(probe.charFormat().fontItalic());
        QVERIFY(probe.charFormat().fontUnderline());
        QVERIFY(probe.charFormat().fontWeight() < QFont::Bold);
        edit->SETUNDERLINE();
        probe.setPosition(2);
        QVERIFY(!probe.charFormat().fontUnderline());
        QVERIFY(probe.charFormat().fontItalic());
    }

    void marginDialogStoresTwipsAndIndentsTheParagraph_data()
    {
        QTest::addColumn<QString>("left");
        QTest::addColumn<QString>("right");
        QTest::addColumn<int>("storedLeft");
        QTest::addColumn<int>("storedRight");
        QTest::addColumn<int>("indentLeft");
        QTest::addColumn<int>("indentRight");
        QTest::newRow("1 and 7") << QStringLiteral("1") << QStringLiteral("7") << 1440 << 10080 << 1440 << 4320;
        QTest::newRow("2 and 6") << QStringLiteral("2") << QStringLiteral("6") << 2880 << 8640 << 2880 << 5760;
    }
    void marginDialogStoresTwipsAndIndentsTheParagraph()
    {
        QFETCH(QString, left);
        QFETCH(QString, right);
        PADWIN pad;
        pad.setPlainText(QStringLiteral("bir\niki"));
        pad.ODCRICHEDIT()->moveCursor(QTextCursor::Start);
        whenDialogShows<MARGINDIALOG>([&](MARGINDIALOG *d) {
            QCOMPARE(d->windowTitle(), QStringLiteral("Sayfa Marjı"));
            QCOMPARE(d->DCSLELM()->text(), QStringLiteral("0"));
            QCOMPARE(d->DCSLERM()->text(), QStringLiteral("7"));
            QCOMPARE(d->okButton()->toolTip(), QStringLiteral("Tamam"));
            QCOMPARE(d->cancelButton()->toolTip(), QStringLiteral("İptal"));
            d->DCSLELM()->setText(left);
            d->DCSLERM()->setText(right);
            QTest::mouseClick(d->okButton(), Qt::LeftButton);
        });
        pad.SETMARGINS();
        QFETCH(int, storedLeft);
        QFETCH(int, storedRight);
        QFETCH(int, indentLeft);
        QFETCH(int, indentRight);
        QCOMPARE(pad.NLEFTMARGIN, storedLeft);
        QCOMPARE(pad.NRIGHTMARGIN, storedRight);
        const QTextBlockFormat first = pad.ODCRICHEDIT()->document()->firstBlock().blockFormat();
        QCOMPARE(pixelsToTwips(first.leftMargin()), indentLeft);
        QCOMPARE(pixelsToTwips(first.rightMargin()), indentRight);
        // Only the paragraph of the insertion point.
        QCOMPARE(pad.ODCRICHEDIT()->document()->lastBlock().blockFormat().leftMargin(), 0.0);
    }

    void cancelledMarginDialogChangesNothing()
    {
        PADWIN pad;
        pad.setPlainText(QStringLiteral("bir"));
        whenDialogShows<MARGINDIALOG>([](MARGINDIALOG *d) {
            d->DCSLELM()->setText(QStringLiteral("3"));
            QTest::keyClick(d->DCSLELM(), Qt::Key_Escape);
        });
        pad.SETMARGINS();
        QCOMPARE(pad.NLEFTMARGIN, 0);
        QCOMPARE(pad.NRIGHTMARGIN, 14400);
        QCOMPARE(pad.ODCRICHEDIT()->document()->firstBlock().blockFormat().leftMargin(), 0.0);
    }

    void marginThatIsNoNumberIsRefusedAndTheDialogStays_data()
    {
        QTest::addColumn<bool>("leftField");
        QTest::addColumn<QString>("typed");
        QTest::newRow("letters on the left") << true << QStringLiteral("abc");
        QTest::newRow("empty left") << true << QString();
        QTest::newRow("negative left") << true << QStringLiteral("-2");
        QTest::newRow("two points on the right") << false << QStringLiteral("1.2.3");
        QTest::newRow("letters on the right") << false << QStringLiteral("7x");
    }
    void marginThatIsNoNumberIsRefusedAndTheDialogStays()
    {
        QFETCH(bool, leftField);
        QFETCH(QString, typed);
        ScriptedMessages messages;
        PADWIN pad;
        pad.setPlainText(QStringLiteral("bir"));
        bool stayed = false;
        QString kept;
        whenDialogShows<MARGINDIALOG>([&](MARGINDIALOG *d) {
            QLineEdit *field = leftField ? d->DCSLELM() : d->DCSLERM();
            d->DCSLELM()->setText(QStringLiteral("2"));
            field->setText(typed);
            QTest::mouseClick(d->okButton(), Qt::LeftButton);
            stayed = d->isVisible();
            kept = field->text();
            d->PBCANCEL();
        });
        pad.SETMARGINS();
        QVERIFY(stayed);
        QCOMPARE(kept, leftField ? QStringLiteral("0") : QStringLiteral("7"));
        QCOMPARE(messages.toneLog().size(), 1);
        // Nothing reached the pad.
        QCOMPARE(pad.NLEFTMARGIN, 0);
        QCOMPARE(pad.NRIGHTMARGIN, 14400);
        QCOMPARE(pad.ODCRICHEDIT()->document()->firstBlock().blockFormat().leftMargin(), 0.0);
    }

    void alignmentItemsReachThePadThroughItsMenuCommands()
    {
        PADWIN pad;
        pad.setPlainText(QStringLiteral("satır"));
        QVERIFY(pad.runCommand(QStringLiteral("YAZıM_DÜZENLE_ORTA")));
        QCOMPARE(pad.ODCRICHEDIT()->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
        QVERIFY(pad.runCommand(QStringLiteral("YAZıM_DÜZENLE_SAĞ")));
        QCOMPARE(pad.ODCRICHEDIT()->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
        QVERIFY(pad.runCommand(QStringLiteral("YAZıM_DÜZENLE_SOL")));
        QCOMPARE(pad.ODCRICHEDIT()->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignLeft);
        QVERIFY(!pad.runCommand(QStringLiteral("YAZıM_DÜZENLE")));
        QVERIFY(!pad.runCommand(QStringLiteral("RE_FILENEW")));
    }

    void fontDialogIsPresetAndItsChoiceGoesToSelectionOrWholeText()
    {
        FontScript fonts;
        PADWIN pad;
        pad.setPlainText(QStringLiteral("bir iki"));
        fonts.chosen = QFont(QStringLiteral("Liberation Serif"), 15);
        fonts.chosenColour = QColor(0, 0, 200);
        pad.SETFONT();
        // The dialog starts from the font the pad shows: Courier New as Qt found it, 14 pixels.
        const QFont padFont = CREATEFONT(14, 14).controlFont();
        QCOMPARE(fonts.presetFont.family(), QFontInfo(padFont).family());
        QCOMPARE(fonts.presetFont.pixelSize(), 14);
        for (int pos : {1, 7}) {
            QTextCursor probe(pad.ODCRICHEDIT()->document());
            probe.setPosition(pos);
            QCOMPARE(probe.charFormat().font().family(), QStringLiteral("Liberation Serif"));
            QCOMPARE(probe.charFormat().foreground().color(), QColor(0, 0, 200));
        }
        QTextCursor c(pad.ODCRICHEDIT()->document());
        c.setPosition(4);
        c.setPosition(7, QTextCursor::KeepAnchor);
        pad.ODCRICHEDIT()->setTextCursor(c);
        fonts.chosen = QFont(QStringLiteral("Liberation Sans"), 9);
        pad.SETFONT();
        QTextCursor probe(pad.ODCRICHEDIT()->document());
        probe.setPosition(2);
        QCOMPARE(probe.charFormat().font().family(), QStringLiteral("Liberation Serif"));
        probe.setPosition(6);
        QCOMPARE(probe.charFormat().font().family(), QStringLiteral("Liberation Sans"));

        fonts.answer = false;
        pad.ODCRICHEDIT()->selectAll();
        pad.SETFONT();
        probe.setPosition(6);
        QCOMPARE(probe.charFormat().font().family(), QStringLiteral("Liberation Sans"));
    }

    // The real dialog: it shows the face the text is drawn in and the text colour, and "Tamam" without
    // a change leaves the report as it was, fixed pitch and all.
    void fontDialogShowsThePadsFontAndAnUnchangedOneChangesNothing()
    {
        PADWIN pad;
        pad.setPlainText(QStringLiteral("Hammadde        Miktar\nMISIR             12.5"));
        const QFont padFont = CREATEFONT(14, 14).controlFont();
        const QString face = QFontInfo(padFont).family();
        QVERIFY(QFontInfo(padFont).fixedPitch());
        const QString before = pad.ODCRICHEDIT()->document()->toHtml();
        QString shownFamily;
        bool shownFixed = false;
        QString shownColour;
        whenDialogShows<PadFontDialog>([&](PadFontDialog *d) {
            QCOMPARE(d->windowTitle(), QStringLiteral("Yazı Tipi"));
            shownFamily = d->fontChooser()->currentFont().family();
            shownFixed = QFontInfo(d->fontChooser()->currentFont()).fixedPitch();
            shownColour = d->colourChoice()->currentText();
            QCOMPARE(d->colourChoice()->count(), 16);
            QPushButton *ok = qobject_cast<QPushButton *>(d->buttons()->buttons().value(0));
            QVERIFY(ok);
            QCOMPARE(ok->text(), QStringLiteral("Tamam"));
            ok->click();
        });
        pad.SETFONT();
        QCOMPARE(shownFamily, face);
        QVERIFY(shownFixed);
        QCOMPARE(shownColour, QStringLiteral("Siyah"));
        QCOMPARE(pad.ODCRICHEDIT()->document()->toHtml(), before);
        for (int pos : {1, 20, 30}) {
            QTextCursor probe(pad.ODCRICHEDIT()->document());
            probe.setPosition(pos);
            const QFontInfo drawn(probe.charFormat().font().resolve(pad.ODCRICHEDIT()->document()->defaultFont()));
            QCOMPARE(drawn.family(), face);
            QVERIFY(drawn.fixedPitch());
            QCOMPARE(drawn.pixelSize(), 14);
        }
    }

    // The colour chosen beside the font goes to the selection with it; the rest keeps its colour.
    void fontDialogColourGoesToTheSelection()
    {
        PADWIN pad;
        pad.setPlainText(QStringLiteral("bir iki"));
        QTextCursor c(pad.ODCRICHEDIT()->document());
        c.setPosition(4);
        c.setPosition(7, QTextCursor::KeepAnchor);
        pad.ODCRICHEDIT()->setTextCursor(c);
        whenDialogShows<PadFontDialog>([](PadFontDialog *d) {
            const int red = d->colourChoice()->findText(QStringLiteral("Kırmızı"));
            QVERIFY(red >= 0);
            d->colourChoice()->setCurrentIndex(red);
            d->buttons()->buttons().value(0)->click();
        });
        pad.SETFONT();
        QTextCursor probe(pad.ODCRICHEDIT()->document());
        probe.setPosition(6);
        QCOMPARE(probe.charFormat().foreground().color(), QColor(255, 0, 0));
        QCOMPARE(QFontInfo(probe.charFormat().font()).family(), QFontInfo(CREATEFONT(14, 14).controlFont()).family());
        probe.setPosition(2);
        QVERIFY(probe.charFormat().foreground().color() != QColor(255, 0, 0));

        // Cancel changes nothing.
        pad.ODCRICHEDIT()->selectAll();
        whenDialogShows<PadFontDialog>([](PadFontDialog *d) {
            d->colourChoice()->setCurrentIndex(d->colourChoice()->findText(QStringLiteral("Mavi")));
            d->buttons()->buttons().value(1)->click();
        });
        pad.SETFONT();
        probe.setPosition(6);
        QCOMPARE(probe.charFormat().foreground().color(), QColor(255, 0, 0));
    }

    // A reopened rich-text report whose paragraphs are indented opens at the left edge.
    void reopenedIndentedRtfOpensAtTheLeftEdge()
    {
        const QString path = m_data.filePath(QStringLiteral("girinti.rtf"));
        QByteArray rtf = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Courier New;}}\\pard\\li2880\\ri0 ";
        for (int i = 0; i < 40; ++i)
            rtf += "Girintili bir rapor sat\\'fdr\\'fd\\par ";
        rtf += "}";
        QVERIFY(writeBytes(path, rtf));
        PADWIN pad;
        pad.resize(500, 300);
        QVERIFY(pad.loadFile(path));
        QCOMPARE(pixelsToTwips(pad.ODCRICHEDIT()->document()->firstBlock().blockFormat().leftMargin()), 2880);
        pad.show();
        QVERIFY(QTest::qWaitForWindowExposed(&pad));
        QCoreApplication::processEvents();
        QCOMPARE(pad.ODCRICHEDIT()->horizontalScrollBar()->value(), 0);
        QCOMPARE(pad.ODCRICHEDIT()->verticalScrollBar()->value(), 0);
    }

    void rulerPageEdgeStaysPutWhateverTheWidth()
    {
        for (int width : {1400, 1800}) {
            PADWIN pad;
            pad.resize(width, 300);
            pad.show();
            QCOMPARE(pad.NWIDTH, rulerPageEdge(pad.logicalDpiX()));
            QCOMPARE(pad.ODCRICHEDIT()->geometry(), QRect(0, 25, width, 275));
            QImage image(pad.size(), QImage::Format_RGB32);
            image.fill(Qt::black);
            pad.render(&image);
            const int edge = pad.NWIDTH;
            QCOMPARE(QColor(image.pixel(edge - 20, 10)), QColor(Qt::white));
            QCOMPARE(QColor(image.pixel(edge + 40, 10)), QColor(191, 191, 191));
            QCOMPARE(QColor(image.pixel(edge + 1, 10)), QColor(127, 127, 127));
            QCOMPARE(QColor(image.pixel(edge - 20, 4)), QColor(Qt::black)); // the page's top line
            // Strokes half-way between the numbers: dark pixels around x = 48 + 96 k.
            bool stroke = false;
            for (int y = 5; y < 22; ++y)
                for (int x = 46; x <= 50; ++x)
                    stroke = stroke || qGray(image.pixel(x, y)) < 128;
            QVERIFY(stroke);
        }
    }

    void aReportPrintsToPdfWithANewPageAtEveryFormFeed()
    {
        PrintScript prints;
        PADWIN pad;
        const QString golden = sourceTree() + QStringLiteral("/tests/solver/golden/");
        const QByteArray first = readBytes(golden + QStringLiteral("optimum_detay.TXT"));
        const QByteArray second = readBytes(golden + QStringLiteral("ratios_groups_detay.TXT"));
        pad.setPlainText(padTextFromBytes(first + "\x0c" + second));

        // Cancel prints nothing.
        pad.FILEPRINT();
        QCOMPARE(prints.asked, 1);

        prints.pdf = m_data.filePath(QStringLiteral("rapor.pdf"));
        pad.FILEPRINT();
        QVERIFY(QFileInfo(prints.pdf).size() > 0);
        const ToolResult check = runTool(QStringLiteral("qpdf"), {QStringLiteral("--check"), prints.pdf});
        QVERIFY2(check.found, "qpdf is not installed (tools/deps.sh installs it)");
        QVERIFY2(check.exitCode == 0, check.out.constData());
        const ToolResult pages = runTool(QStringLiteral("qpdf"), {QStringLiteral("--show-npages"), prints.pdf});
        QCOMPARE(pages.out.trimmed(), QByteArray("2"));

        const ToolResult text = runTool(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), prints.pdf, QStringLiteral("-")});
        QVERIFY2(text.found, "pdftotext is not installed (tools/deps.sh installs it)");
        const QStringList printed = QString::fromUtf8(text.out).split(u'\f');
        QCOMPARE(printed.size(), 3); // two pages and what follows the last form feed
        // Every non-blank line of each report comes back, Turkish letters included, on its own page.
        const auto lines = [](const QByteArray &bytes) {
            QStringList out;
            for (const QString &line : padTextFromBytes(bytes).split(u'\n'))
                if (!line.trimmed().isEmpty())
                    out << line.simplified();
            return out;
        };
        const auto pageLines = [](const QString &page) {
            QStringList out;
            for (const QString &line : page.split(u'\n'))
                if (!line.trimmed().isEmpty())
                    out << line.simplified();
            return out;
        };
        QCOMPARE(pageLines(printed[0]), lines(first));
        QCOMPARE(pageLines(printed[1]), lines(second));
        QVERIFY(printed[0].contains(QStringLiteral("ENDÜŞÜK MALİYETLİ KARMA YEM FORMÜLÜ")));

        // A picture of the first page, to be looked at.
        const QString picture = m_data.filePath(QStringLiteral("page"));
        const ToolResult ppm = runTool(QStringLiteral("pdftoppm"), {QStringLiteral("-png"), QStringLiteral("-r"), QStringLiteral("40"),
                                                                  QStringLiteral("-f"), QStringLiteral("1"), QStringLiteral("-l"),
                                                                  QStringLiteral("1"), prints.pdf, picture});
        QVERIFY(ppm.found);
        QImage page(picture + QStringLiteral("-1.png"));
        QVERIFY(!page.isNull());
        QVERIFY(page.height() > page.width()); // portrait
    }

    void padAndMarginDialogCarryThePadIcon()
    {
        QCOMPARE(ResourceLibrary::nativeSize(QStringLiteral("IDI_COCPADICON")), QSize(46, 48));
        PADWIN pad;
        QVERIFY(!pad.windowIcon().isNull());
        MARGINDIALOG dialog(&pad);
        QVERIFY(!dialog.windowIcon().isNull());
    }

    void linesWrapAtTheTenInchPageNotTheWindow()
    {
        PADWIN pad;
        pad.resize(400, 300);
        QCOMPARE(pad.ODCRICHEDIT()->lineWrapMode(), QTextEdit::FixedPixelWidth);
        QCOMPARE(pad.ODCRICHEDIT()->lineWrapColumnOrWidth(), padLineWidth(pad.logicalDpiX()));
        // The pad's font: a report line of 100 characters is one line.
        pad.setPlainText(QString(100, u'x'));
        pad.show();
        const QTextBlock block = pad.ODCRICHEDIT()->document()->firstBlock();
        pad.ODCRICHEDIT()->document()->documentLayout()->blockBoundingRect(block);
        QCOMPARE(block.layout()->lineCount(), 1);
        QCOMPARE(pad.ODCRICHEDIT()->document()->defaultFont().pixelSize(), 14);
    }
};

QTEST_MAIN(PadWindowTest)
#include "tst_pad_window.moc"
