// Names missing between stored rows: a file whose matrices hold contents for a record without a
// name before the last named one is not opened (skipping the record would hand its contents to the
// next ingredient or nutrient), every other file opens as it always did, a header counting fewer
// records than the file holds is refused, and no save writes names that would not pair with their
// columns.
#include "feed_file.h"

#include "problem/app_globals.h"
#include "problem/number_text.h"
#include "problem/open_problem.h"
#include "problem/problem_file.h"
#include "problem/problem_loader.h"
#include "problem/problem_saver.h"
#include "scripted_messages.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QtEndian>

#include <functional>

using namespace vexo;
using vexo::test::Contents;
using vexo::test::Record;

namespace {

bool load(const QString &path)
{
    openProblem().reset();
    if (!DATAFOPEN(nullptr, path))
        return false;
    return AKTPRODIZOLUSTUR(nullptr);
}

QString joined(const QStringList &cells)
{
    QString out;
    for (const QString &c : cells)
        out += c + u',';
    return out;
}

// Changes the stored matrix rows of the records from..to (from 0; the active rows are 0 to 4, the
// membership rows 8 and 9).
void changeRows(QList<Record> &recs, int from, int to, const std::function<void(QStringList &)> &change)
{
    for (int k = from; k <= to; ++k) {
        const QString text = recs[k].value(QStringLiteral("YMBMAT")).toString();
        if (text.isEmpty() || isMarker(text, kPrmMarker) || isMarker(text, kGrupMarker) || text.startsWith(u'K'))
            continue;
        QStringList cells = decodeYmbmat(text);
        change(cells);
        recs[k][QStringLiteral("YMBMAT")] = joined(cells);
    }
}

// Every stored matrix row of the records without cell k (from 1).
void dropColumn(QList<Record> &recs, int k)
{
    changeRows(recs, 0, int(recs.size()) - 1, [k](QStringList &cells) { cells.removeAt(k - 1); });
}

// The file without nutrients: the parameter marker comes first and the membership rows stay.
void dropNutrients(QList<Record> &recs)
{
    QStringList sequence;
    for (const Record &r : recs)
        sequence << r.value(QStringLiteral("YMBMAT")).toString();
    sequence = sequence.mid(5);
    for (qsizetype k = 0; k < recs.size(); ++k) {
        for (const char *f : {"BMADI", "BMBIRIM", "BMSABIT", "BMALTLIM", "BMUSTLIM", "BMADIA", "BMADIB", "OALTLIM"})
            recs[k].remove(QString::fromLatin1(f));
        recs[k][QStringLiteral("YMBMAT")] = sequence.value(k);
    }
}

const QString kNamelessFifth =
    QStringLiteral("KARMA.VKD dosyası açılamadı! : Dosyada 11 yem maddesi var, matris satırlarında 12 yem maddesinin "
                   "değeri var: 5. kayıttaki yem maddesinin adı boş (SOYA KUSPESI ile KIREC TASI arasında). Bu kayıt "
                   "atlanırsa değerler başka yem maddelerine kayardı.");

} // namespace

// The file: the fifth ingredient's name is gone, its price, limit and contents are still
// there. Opened, KIREC TASI would take SOYA YAGI's contents and DCP those of KIREC TASI.
TEST(NamelessRows, TheFileWithTheFifthIngredientNamelessIsRefusedAndLeftAsItWas)
{
    test::ProblemEnvironment env;
    test::ScriptedMessages messages;
    const QString path = env.path("KARMA.VKD");
    QList<Record> recs = test::feedFileRecords();
    recs[4]["YMADI"] = QString();
    test::writeProblemFile(path, recs);
    const QByteArray before = test::fileBytes(path);

    EXPECT_FALSE(load(path));
    ASSERT_EQ(messages.shown().size(), 1);
    EXPECT_EQ(messages.shown()[0].text.toStdString(), kNamelessFifth.toStdString());
    EXPECT_EQ(messages.shown()[0].caption, QStringLiteral("Hata..."));
    openProblem().reset();
    EXPECT_EQ(test::fileBytes(path), before);

    // Read by record, as the file stores them, every named ingredient still has its own contents.
    const test::PeerProblem peer = test::readWithPeer(path);
    Contents expected = test::feedContents();
    expected.remove(QStringLiteral("SOYA YAGI"));
    EXPECT_EQ(peer.contents(), expected);
    EXPECT_EQ(peer.contents()["DCP"]["KALSIYUM"], 23.0);
    EXPECT_EQ(peer.contents()["KIREC TASI"]["KALSIYUM"], 38.0);
}

// Where a name can be missing, and what the file then holds for the nameless record: refused only
// where skipping the record moves the contents of a later name; every other file opens as it always
// did.
TEST(NamelessRows, ARecordWithoutANameIsRefusedOnlyWhereLaterContentsWouldMove)
{
    struct Case
    {
        const char *what;
        std::function<void(QList<Record> &)> change;
        QString message; // empty: the file opens
        bool reference = false;
        QString gone = QStringLiteral("SOYA YAGI"); // the ingredient a file that opens lacks
        bool shortMembership = false; // a membership row stays shorter than the ingredients
    };
    const QString prefix = QStringLiteral("KARMA.VKD dosyası açılamadı! : ");
    const QList<Case> cases = {
        {"the fifth ingredient", [](QList<Record> &r) { r[4]["YMADI"] = QString(); }, kNamelessFifth},
        {"the first ingredient", [](QList<Record> &r) { r[0]["YMADI"] = QString(); },
         prefix + "Dosyada 11 yem maddesi var, matris satırlarında 12 yem maddesinin değeri var: 1. kayıttaki yem "
                  "maddesinin adı boş (ARPA kaydından önce). Bu kayıt atlanırsa değerler başka yem maddelerine kayardı."},
        {"the fifth ingredient of a problem whose only matrix is the membership",
         [](QList<Record> &r) {
             dropNutrients(r);
             r[4]["YMADI"] = QString();
         },
         kNamelessFifth},
        {"the fifth ingredient, contents taken from the reference matrix",
         [](QList<Record> &r) { r[4]["YMADI"] = QString(); }, kNamelessFifth, true},
        {"the third nutrient, its row still stored", [](QList<Record> &r) { r[2]["BMADI"] = QString(); },
         prefix + "Dosyada 4 besin maddesi var, aktif matriste 5 besin maddesinin satırı var: 3. kayıttaki besin "
                  "maddesinin adı boş (HP ile FOSFOR arasında). Bu kayıt atlanırsa değerler başka besin maddelerine "
                  "kayardı."},
        // A nameless record whose column is not stored moves nothing: it is skipped.
        {"the fifth ingredient with its column gone",
         [](QList<Record> &r) {
             r[4]["YMADI"] = QString();
             dropColumn(r, 5);
         },
         QString()},
        // After the last name nothing can move: the nameless record's cells belong to nobody.
        {"the last ingredient, its cells still stored", [](QList<Record> &r) { r[11]["YMADI"] = QString(); },
         QString(), false, QStringLiteral("MERMER TOZU")},
        // A file of more records than ingredients (a blank thirteenth record) whose rows are wider.
        {"every matrix row a cell wider than the ingredients",
         [](QList<Record> &r) {
             changeRows(r, 0, 11, [](QStringList &cells) { cells << QStringLiteral("9.0"); });
             r.append(Record());
         },
         QString(), false, QString()},
        {"a membership row wider than the ingredients",
         [](QList<Record> &r) {
             changeRows(r, 9, 9, [](QStringList &cells) { cells << QStringLiteral("1.0") << QStringLiteral("0.0"); });
             r.append(Record());
         },
         QString(), false, QString()},
        {"membership rows of different widths, the first cut after its last member",
         [](QList<Record> &r) {
             changeRows(r, 8, 8, [](QStringList &cells) { cells = cells.mid(0, 3); });
             r.append(Record());
         },
         QString(), false, QString(), true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        test::ProblemEnvironment env;
        test::ScriptedMessages messages;
        appGlobals().LRMDENOKU = c.reference;
        const QString path = env.path("KARMA.VKD");
        QList<Record> recs = test::feedFileRecords();
        c.change(recs);
        test::writeProblemFile(path, recs);
        const QByteArray before = test::fileBytes(path);
        const bool loaded = load(path);
        if (!c.message.isEmpty()) {
            EXPECT_FALSE(loaded);
            ASSERT_EQ(messages.shown().size(), 1);
            EXPECT_EQ(messages.shown()[0].text.toStdString(), c.message.toStdString());
        } else {
            ASSERT_TRUE(loaded);
            EXPECT_TRUE(messages.shown().isEmpty());
            Contents expected = test::feedContents();
            QMap<QString, QStringList> members = test::feedMembers();
            expected.remove(c.gone);
            for (QStringList &list : members)
                list.removeAll(c.gone);
            EXPECT_EQ(test::contentsInMemory(), expected);
            EXPECT_EQ(test::membersInMemory(), members);
            if (!c.shortMembership) {
                EXPECT_TRUE(openProblem().checkInvariants().isEmpty())
                    << openProblem().checkInvariants().join(u',').toStdString();
            }
        }
        openProblem().reset();
        EXPECT_EQ(test::fileBytes(path), before);
    }
}

// What a save would write must pair every name with its own column when the file is opened again;
// a list that would not is not saved, and the file and the unsaved marks stay as they were.
TEST(NamelessRows, ASaveWhoseNamesWouldNotPairWithTheirColumnsIsRefused)
{
    struct Case
    {
        const char *what;
        std::function<void(OpenProblem &)> change;
        QString reason;
    };
    const QString notSaved = QStringLiteral(" Değişiklikler kaydedilmedi.");
    const QList<Case> cases = {
        {"an ingredient row without a name",
         [](OpenProblem &p) {
             p.AYMLIST[4][YMNAME] = QString(kYmNameWidth, u' ');
             p.LYMDEG = true;
         },
         "Yem maddesi listesinin 5. satırında ad yok; dosya yeniden açıldığında adsız satır atlanır ve değerler başka "
         "yem maddelerine kayardı." + notSaved},
        {"ingredient rows in another order than the columns",
         [](OpenProblem &p) {
             p.AYMLIST.swapItemsAt(4, 5);
             p.LYMDEG = true;
         },
         "Yem maddesi listesinin 5. satırı \"KIREC TASI\", matrisin 5. yem maddesi \"SOYA YAGI\"; kaydedilirse "
         "değerler başka yem maddelerine kayardı." + notSaved},
        {"an ingredient list one row short of the columns",
         [](OpenProblem &p) {
             p.AYMLIST.removeAt(4);
             p.LYMDEG = true;
         },
         "Yem maddesi listesinin 5. satırı \"KIREC TASI\", matrisin 5. yem maddesi \"SOYA YAGI\"; kaydedilirse "
         "değerler başka yem maddelerine kayardı." + notSaved},
        {"an active-matrix row a cell short",
         [](OpenProblem &p) {
             p.AAMAT[2].removeLast();
             p.LAMATDEG = true;
         },
         "Aktif matrisin 3. satırında 11 yem maddesinin değeri var, problemde 12 yem maddesi var; kaydedilirse "
         "değerler başka yem maddelerine kayardı." + notSaved},
        {"a membership row a cell long",
         [](OpenProblem &p) {
             p.AGMAT[1].append(QStringLiteral("1.0"));
             p.LYMGDEG = true;
         },
         "Grup matrisinin 2. satırında 13 yem maddesinin değeri var, problemde 12 yem maddesi var; kaydedilirse "
         "değerler başka yem maddelerine kayardı." + notSaved},
        {"a nutrient row without a name",
         [](OpenProblem &p) {
             p.ABMLIST[2][BMNAME] = QString(kBmNameWidth, u' ');
             p.LBMDEG = true;
         },
         "Besin maddesi listesinin 3. satırında ad yok; dosya yeniden açıldığında adsız satır atlanır ve değerler "
         "başka besin maddelerine kayardı." + notSaved},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        test::ProblemEnvironment env;
        test::ScriptedMessages messages;
        const QString path = env.path("KARMA.VKD");
        test::writeProblemFile(path, test::feedFileRecords());
        const QByteArray before = test::fileBytes(path);
        ASSERT_TRUE(load(path));
        OpenProblem &p = openProblem();
        c.change(p);
        const bool dirty[] = {p.LYMDEG, p.LBMDEG, p.LAMATDEG, p.LYMGDEG};
        QString reason;
        EXPECT_FALSE(PROBDBFUPDATE(&reason));
        EXPECT_EQ(reason.toStdString(), c.reason.toStdString());
        EXPECT_EQ((std::vector<bool>{p.LYMDEG, p.LBMDEG, p.LAMATDEG, p.LYMGDEG}),
                  (std::vector<bool>{dirty[0], dirty[1], dirty[2], dirty[3]}));
        openProblem().reset();
        EXPECT_EQ(test::fileBytes(path), before);
    }
}

// The sound road beside the refusals: a price edit and a save of the whole file, then opening it
// again, leave every ingredient with its contents, its membership, its stock flag and its price.
TEST(NamelessRows, AWholeSaveAndReopenKeepEveryIngredientWithItsColumn)
{
    test::ProblemEnvironment env;
    test::ScriptedMessages messages;
    const QString path = env.path("KARMA.VKD");
    test::writeProblemFile(path, test::feedFileRecords());
    ASSERT_TRUE(load(path));
    OpenProblem &p = openProblem();
    p.AYMLIST[5][YMPRICE] = Str(0.06, kCellWidth, 3);
    p.setAllDirty(true);
    QString reason;
    ASSERT_TRUE(PROBDBFUPDATE(&reason)) << reason.toStdString();
    openProblem().reset();

    ASSERT_TRUE(load(path));
    EXPECT_EQ(test::contentsInMemory(), test::feedContents());
    EXPECT_EQ(test::membersInMemory(), test::feedMembers());
    EXPECT_EQ(openProblem().AYMADLARI, test::feedIngredients());
    EXPECT_FALSE(openProblem().AYMSTOK.at(test::feedIngredients().indexOf("BALIK UNU")));
    openProblem().reset();

    const test::PeerProblem peer = test::readWithPeer(path);
    EXPECT_EQ(peer.contents(), test::feedContents());
    EXPECT_EQ(peer.groupMembers(), test::feedMembers());
    EXPECT_EQ(peer.priceOf("KIREC TASI"), QStringLiteral("0.060"));
    EXPECT_EQ(peer.priceOf("DCP"), QStringLiteral("1.200"));
    EXPECT_EQ(peer.stock.at(9), false);
}

// A header counting fewer records than the file holds (a writer that stopped before updating it, or
// damage): read as counted, the problem would lack the records left out (here a membership row among
// them) and the next save would destroy them. Such a file is refused, naming both counts, and left
// as it was; an end byte or a record cut short after the counted ones is no record.
TEST(NamelessRows, AHeaderCountingFewerRecordsThanTheFileHoldsIsRefused)
{
    const struct
    {
        const char *what;
        quint32 counted;
        QByteArray tail; // bytes put after the records written
        QString message; // empty: the file opens
    } cases[] = {
        {"no record counted", 0, {},
         QStringLiteral("KARMA.VKD dosyası açılamadı! : Dosyanın başlığında 0 kayıt sayılı, dosyada 12 kayıt var; "
                        "sayılmayan kayıtlar okunmaz ve bir sonraki kaydetmede silinirdi.")},
        {"eleven of twelve counted", 11, {},
         QStringLiteral("KARMA.VKD dosyası açılamadı! : Dosyanın başlığında 11 kayıt sayılı, dosyada 12 kayıt var; "
                        "sayılmayan kayıtlar okunmaz ve bir sonraki kaydetmede silinirdi.")},
        {"all counted, a record cut short after them", 12, QByteArray(40, ' '), QString()},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        test::ProblemEnvironment env;
        test::ScriptedMessages messages;
        const QString path = env.path("KARMA.VKD");
        test::writeProblemFile(path, test::feedFileRecords());
        QByteArray bytes = test::fileBytes(path);
        qToLittleEndian<quint32>(c.counted, bytes.data() + 4);
        bytes += c.tail;
        {
            QFile f(path);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            ASSERT_EQ(f.write(bytes), bytes.size());
        }
        const bool loaded = load(path);
        if (c.message.isEmpty()) {
            EXPECT_TRUE(loaded);
            EXPECT_TRUE(messages.shown().isEmpty());
            EXPECT_EQ(test::membersInMemory(), test::feedMembers());
        } else {
            EXPECT_FALSE(loaded);
            ASSERT_EQ(messages.shown().size(), 1);
            EXPECT_EQ(messages.shown()[0].text.toStdString(), c.message.toStdString());
        }
        openProblem().reset();
        EXPECT_EQ(test::fileBytes(path), bytes);
    }
}
