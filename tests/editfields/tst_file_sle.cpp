#include "editfields/file_sle.h"
#include "platform/file_dialogs.h"

#include <QQueue>
#include <QtTest>

using namespace vexo;

// Answers the choosers from a script and records which chooser was asked with what.
class RecordingDialogs : public FileDialogs
{
public:
    RecordingDialogs() { setFileDialogs(this); }
    ~RecordingDialogs() override { setFileDialogs(nullptr); }
    QQueue<QString> answers;
    QStringList calls;

    QString openFile(QWidget *, const QString &, const QString &start, const QString &filter) override
    {
        calls << QStringLiteral("open|") + start + u'|' + filter;
        return next();
    }
    QString saveFile(QWidget *, const QString &, const QString &path, const QString &filter) override
    {
        calls << QStringLiteral("save|") + path + u'|' + filter;
        return next();
    }
    QString folder(QWidget *, const QString &caption, const QString &start) override
    {
        calls << QStringLiteral("folder|") + caption + u'|' + start;
        return next();
    }

private:
    QString next() { return answers.isEmpty() ? QString() : answers.dequeue(); }
};

class FileFields : public QObject
{
    Q_OBJECT
private slots:
    void pickingSetsTheText_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("kept");
        QTest::addColumn<QVariant>("filter");
        QTest::addColumn<QVariant>("descriptions");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("call");
        QTest::addColumn<QString>("text");

        const QVariant none;
        const QVariant two = QStringList{"*.DBF", "*.*"};
        const QVariant twoTexts = QStringList{"Veritabanı Dosyaları", "Tüm Dosyalar"};
        QTest::newRow("folder and name") << 2 << "MATNRC.DBF" << none << none << "/veri/eski"
                                         << "folder|Seçiniz|" << "/veri/eski/MATNRC.DBF";
        QTest::newRow("root and name, one separator") << 2 << "MATNRC.DBF" << none << none << "/"
                                                      << "folder|Seçiniz|" << "/MATNRC.DBF";
        QTest::newRow("folder without a name") << 2 << "" << none << none << "/veri/yedek"
                                               << "folder|Seçiniz|" << "/veri/yedek";
        QTest::newRow("folder cancelled") << 2 << "MATNRC.DBF" << none << none << ""
                                          << "folder|Seçiniz|" << "/eski/metin";
        QTest::newRow("open, default filter") << 1 << "" << none << none << "/a/b.dbf"
                                              << "open|/eski/metin|All FIles (*.*)" << "/a/b.dbf";
        QTest::newRow("open, two filters") << 1 << "" << two << twoTexts << "/a/c.dbf"
                                           << "open|/eski/metin|Veritabanı Dosyaları (*.DBF);;Tüm Dosyalar (*.*)"
                                           << "/a/c.dbf";
        QTest::newRow("open cancelled") << 1 << "" << none << none << "" << "open|/eski/metin|All FIles (*.*)"
                                        << "/eski/metin";
        QTest::newRow("type 0 saves") << 0 << "" << none << none << "/a/d.dbf"
                                      << "save|/eski/metin|All FIles (*.*)" << "/a/d.dbf";
        QTest::newRow("type 3 saves") << 3 << "" << QVariant(QStringLiteral("*.TXT")) << none << "/a/e.txt"
                                      << "save|/eski/metin|*.TXT" << "/a/e.txt";
    }
    void pickingSetsTheText()
    {
        QFETCH(int, type);
        QFETCH(QString, kept);
        QFETCH(QVariant, filter);
        QFETCH(QVariant, descriptions);
        QFETCH(QString, answer);
        QFETCH(QString, call);
        QFETCH(QString, text);
        RecordingDialogs dialogs;
        dialogs.answers.enqueue(answer);
        QWidget owner;
        FILESLE field(&owner, QRect(0, 0, 200, 24));
        field.setText(QStringLiteral("/eski/metin"));
        field.NDIALOGTYPE = type;
        field.SDBFNAME = kept;
        field.SFDIALOGCAPTION = QStringLiteral("Seçiniz");
        field.XFILTER = filter;
        field.XFILTERDESC = descriptions;
        QTest::mouseDClick(&field, Qt::LeftButton);
        QCOMPARE(dialogs.calls, QStringList{call});
        QCOMPARE(field.text(), text);
    }

    void buttonPicksUnlessReadOnlyAndNarrowsTheField()
    {
        RecordingDialogs dialogs;
        QWidget owner;
        PBFILESLE field(&owner, QRect(10, 20, 200, 24));
        auto *button = qobject_cast<FILEPB *>(field.OBUTTON());
        QVERIFY(button);
        QCOMPARE(button->OSLE(), &field);
        QCOMPARE(field.geometry(), QRect(10, 20, 170, 24));
        QCOMPARE(button->geometry(), QRect(182, 20, 30, 25));
        QCOMPARE(button->HBITMAPUP().size(), QSize(22, 21));
        QCOMPARE(button->HBITMAPDOWN().size(), QSize(22, 21));

        field.NDIALOGTYPE = 2;
        for (const char *answer : {"/bir", "/iki", "/uc"})
            dialogs.answers.enqueue(QString::fromLatin1(answer));
        button->click();
        QCOMPARE(field.text(), QStringLiteral("/bir"));
        field.setReadOnly(true); // the button respects read-only, the double click does not
        button->click();
        QCOMPARE(field.text(), QStringLiteral("/bir"));
        QTest::mouseDClick(&field, Qt::LeftButton);
        QCOMPARE(field.text(), QStringLiteral("/iki"));
        QCOMPARE(dialogs.calls.size(), 2);
    }
};

QTEST_MAIN(FileFields)
#include "tst_file_sle.moc"
