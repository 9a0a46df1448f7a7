#include "problem_fixture.h"

#include "platform/dbf_table.h"
#include "platform/own_temp_files.h"
#include "problem/app_globals.h"
#include "problem/dbserverr.h"
#include "problem/open_problem.h"
#include "problem/problem_file.h"
#include "problem/problem_file_commands.h"
#include "problem/problem_saver.h"
#include "scripted_messages.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

using namespace vexo;
using vexo::test::Record;

namespace {

const QString B11(11, u' ');
QString num(const QString &text) { return text.rightJustified(11, u' '); }

// The main window as the file commands see it; every call is logged.
struct FakeHost : ProblemFileHost
{
    QStringList log;
    QString caption;
    QString status;
    bool editorsClose = true;
    std::optional<QString> newName;

    QWidget *owner() override { return nullptr; }
    void setCaption(const QString &c) override { caption = c; }
    void STATUSMESSAGE(const QString &text) override { status = text; }
    bool closeEditors() override
    {
        log << QStringLiteral("closeEditors");
        return editorsClose;
    }
    void WHOCHANGES() override { log << QStringLiteral("WHOCHANGES"); }
    void MI_ENADISABLE() override
    {
        log << QStringLiteral("MI_ENADISABLE");
        if (!openProblem().isOpen())
            openProblem().reset();
    }
    void YM_GIRIS() override { log << QStringLiteral("YM_GIRIS"); }
    void OBFIRST() override { log << QStringLiteral("OBFIRST"); }
    std::optional<QString> askNewFileName() override { return newName; }
};

// A saved problem with `ingredients` ingredients and two nutrients.
void makeProblem(const QString &path, int ingredients)
{
    openProblem().reset();
    ASSERT_TRUE(DATAFILECREATE(nullptr, path));
    ASSERT_TRUE(DATAFOPEN(nullptr, path));
    OpenProblem &p = openProblem();
    for (int i = 0; i < ingredients; ++i) {
        const QString name = QStringLiteral("YM%1").arg(i + 1);
        p.AYMADLARI << name;
        p.AYMLIST << Row{name.leftJustified(25), num("0.250"), B11, B11, B11, B11, B11, B11, B11, B11, B11};
        p.AYMSTOK << true;
    }
    for (const char *n : {"HP", "KM"}) {
        p.ABMADLARI << QString::fromLatin1(n);
        p.ABMBIRIMLERI << QStringLiteral("%");
        p.ABMLIST << Row{QString::fromLatin1(n).leftJustified(15), QStringLiteral("%").leftJustified(11), B11,
                         num("10.0000"), B11, B11, B11, B11, B11, B11, B11, B11};
        p.AAMAT << Row(ingredients, num("8.5000"));
    }
    p.APARMLIST = {"K", "1000.00", "Krş", "Kg", QString(40, u' '), QString(40, u' '), QString(40, u' '), B11};
    p.setAllDirty(true);
    ASSERT_TRUE(PROBDBFUPDATE());
    p.reset();
}

int fieldCount(const QString &path)
{
    DbfTable t(path, true, true);
    const int n = t.fCount();
    t.close();
    return n;
}

class FileCommands : public ::testing::Test
{
protected:
    test::ProblemEnvironment env;
    test::ScriptedMessages messages;
    test::ScriptedFileDialogs dialogs;
    FakeHost host;

    QString openPath() const { return openProblem().OPROBDBF ? openProblem().OPROBDBF->path() : QString(); }
    QStringList texts() const
    {
        QStringList out;
        for (const MessageRequest &r : messages.shown())
            out << r.text;
        return out;
    }
};

TEST_F(FileCommands, OpeningRefusesWhatIsNoProblemFileAndChangesNothing)
{
    const QString a = env.path("A.VKD");
    makeProblem(a, 2);
    ASSERT_TRUE(DOOPENFILE(host, a));
    host.log.clear();
    QFile(env.path("X.DBF")).open(QIODevice::WriteOnly);
    struct Row
    {
        QString path;
        QString message;
    };
    const Row rows[] = {
        {QString(), QString()},
        {env.path("X.DBF"), QStringLiteral("X.DBF dosyası bir VEXO_Zud 2.6 veri dosyası değil...")},
        {QStringLiteral("VKD"), QStringLiteral("VKD dosyası bir VEXO_Zud 2.6 veri dosyası değil...")},
        {env.path("YOK.VKD"), QStringLiteral("YOK.VKD dosyası bulunamıyor...")},
        {a, QString()},                                          // already open
        {env.path(".") + QStringLiteral("/A.VKD"), QString()},   // the same file spelt otherwise
    };
    for (const Row &r : rows) {
        messages.clear();
        EXPECT_FALSE(DOOPENFILE(host, r.path)) << r.path.toStdString();
        EXPECT_EQ(texts(), r.message.isEmpty() ? QStringList() : QStringList{r.message}) << r.path.toStdString();
        EXPECT_EQ(openPath(), a);
    }
    EXPECT_TRUE(host.log.isEmpty());
}

TEST_F(FileCommands, OpeningLoadsSetsTheCaptionAndOpensTheIngredientEditor)
{
    const QString inData = env.path("lower.vkd");
    makeProblem(inData, 3);
    ASSERT_TRUE(DOOPENFILE(host, inData));
    EXPECT_EQ(host.caption, QStringLiteral("VEXO_Zud 2.6 - lower.vkd"));
    EXPECT_EQ(openProblem().AYMADLARI.size(), 3);
    EXPECT_EQ(host.log, (QStringList{"MI_ENADISABLE", "YM_GIRIS", "OBFIRST"}));

    QDir(env.path(".")).mkpath(QStringLiteral("elsewhere"));
    const QString other = env.path("elsewhere/B.VKD");
    makeProblem(other, 2);
    ASSERT_TRUE(DOOPENFILE(host, inData));
    ASSERT_EQ(openProblem().AYMADLARI.size(), 3);
    ASSERT_TRUE(DOOPENFILE(host, other));
    EXPECT_EQ(host.caption, QStringLiteral("VEXO_Zud 2.6 - ") + other);
    EXPECT_EQ(openProblem().checkInvariants(), QStringList());
}

// The editors commit before the question, so it sees their edits; they close only after the answer,
// so a cancelled question leaves them open.
TEST_F(FileCommands, OpeningAnotherFileCommitsEditorsThenOffersToSaveTheFirst)
{
    const QString a = env.path("A.VKD"), b = env.path("B.VKD");
    makeProblem(a, 2);
    makeProblem(b, 3);
    ASSERT_TRUE(DOOPENFILE(host, a));
    openProblem().AYMLIST[0][YMPRICE] = num("9.990");
    openProblem().LYMDEG = true;
    host.log.clear();
    messages.answer(MessageAnswer::Yes);
    ASSERT_TRUE(DOOPENFILE(host, b));
    EXPECT_EQ(host.log.first(), QStringLiteral("WHOCHANGES"));
    EXPECT_TRUE(host.log.contains(QStringLiteral("closeEditors")));
    ASSERT_EQ(messages.shown().size(), 1);
    EXPECT_EQ(messages.shown()[0].caption, QStringLiteral("Uyarı..."));
    EXPECT_EQ(messages.shown()[0].text,
              QStringLiteral("A.VKD dosyasındaki veriler değişmiş.\n\nDeğişiklikleri kaydetmek istiyor musunuz?"));
    EXPECT_EQ(openPath(), b);
    EXPECT_EQ(openProblem().AYMADLARI.size(), 3); // none of A's rows reached B
    ASSERT_TRUE(DOOPENFILE(host, a));
    EXPECT_EQ(openProblem().AYMLIST[0][YMPRICE], num("9.990"));
}

TEST_F(FileCommands, AnEditorThatRefusesToCloseStopsOpenCloseAndNew)
{
    const QString a = env.path("A.VKD"), b = env.path("B.VKD");
    makeProblem(a, 2);
    makeProblem(b, 2);
    ASSERT_TRUE(DOOPENFILE(host, a));
    host.editorsClose = false;
    EXPECT_FALSE(DOOPENFILE(host, b));
    EXPECT_FALSE(FILECLOSE(host));
    host.newName = QStringLiteral("A");
    messages.answer(MessageAnswer::Yes);
    YENIDOSYAGIR(host);
    EXPECT_EQ(openPath(), a);
    EXPECT_EQ(test::readTable(a).size(), test::readTable(b).size()); // A was not replaced
    EXPECT_EQ(messages.unexpectedQuestions(), 0);
}

TEST_F(FileCommands, AFailedSaveIsToldAndNothingIsDiscardedAfterIt)
{
    const QString a = env.path("A.VKD"), b = env.path("B.VKD");
    makeProblem(a, 2);
    makeProblem(b, 2);
    ASSERT_TRUE(DOOPENFILE(host, a));
    // 86 ingredients cannot be stored: the saver refuses and writes nothing.
    OpenProblem &p = openProblem();
    for (int i = p.AYMADLARI.size(); i < kMaxIngredients + 1; ++i) {
        p.AYMADLARI << QStringLiteral("EK%1").arg(i);
        p.AYMLIST << Row{QStringLiteral("EK%1").arg(i).leftJustified(25), B11, B11, B11, B11, B11, B11, B11, B11, B11, B11};
        p.AYMSTOK << true;
    }
    p.LYMDEG = true;
    const QByteArray before = test::fileBytes(a);

    EXPECT_FALSE(KAYDET(host));
    ASSERT_EQ(messages.shown().size(), 1);
    EXPECT_EQ(messages.shown()[0].caption, QStringLiteral("Hata..."));
    EXPECT_FALSE(messages.shown()[0].text.isEmpty());
    EXPECT_TRUE(p.LYMDEG);

    messages.clear();
    messages.answer(MessageAnswer::Yes);
    EXPECT_FALSE(FILECLOSE(host));
    messages.answer(MessageAnswer::Yes);
    EXPECT_FALSE(DOOPENFILE(host, b));
    EXPECT_EQ(openPath(), a);
    EXPECT_EQ(p.AYMADLARI.size(), kMaxIngredients + 1);
    EXPECT_TRUE(p.LYMDEG);
    EXPECT_EQ(test::fileBytes(a), before);

    messages.answer(MessageAnswer::No); // only an explicit No discards
    EXPECT_TRUE(FILECLOSE(host));
    EXPECT_FALSE(openProblem().isOpen());
    EXPECT_TRUE(openProblem().AYMADLARI.isEmpty());
}

TEST_F(FileCommands, CloseWithChangesSavesOnYesAndDiscardsOnNo)
{
    const QString a = env.path("A.VKD");
    makeProblem(a, 2);
    for (MessageAnswer answer : {MessageAnswer::Yes, MessageAnswer::No}) {
        ASSERT_TRUE(DOOPENFILE(host, a));
        const QString price = answer == MessageAnswer::Yes ? num("1.500") : num("7.700");
        openProblem().AYMLIST[1][YMPRICE] = price;
        openProblem().LYMDEG = true;
        messages.answer(answer);
        EXPECT_TRUE(FILECLOSE(host));
        EXPECT_FALSE(openProblem().isOpen());
        ASSERT_TRUE(DOOPENFILE(host, a));
        EXPECT_EQ(openProblem().AYMLIST[1][YMPRICE], num("1.500"));
        ASSERT_TRUE(FILECLOSE(host));
    }
}

// Cancel (Escape, the box's close button) stops the close before anything changes: the problem,
// its changes and its editors stay; open and new stop the same way.
TEST_F(FileCommands, CancelOnTheCloseQuestionKeepsTheProblemAndItsEditors)
{
    const QString a = env.path("A.VKD"), b = env.path("B.VKD");
    makeProblem(a, 2);
    makeProblem(b, 3);
    ASSERT_TRUE(DOOPENFILE(host, a));
    const QByteArray before = test::fileBytes(a);
    openProblem().AYMLIST[1][YMPRICE] = num("7.700");
    openProblem().LYMDEG = true;
    host.log.clear();
    messages.answer(MessageAnswer::Cancel);
    EXPECT_FALSE(FILECLOSE(host));
    messages.answer(MessageAnswer::Cancel);
    EXPECT_FALSE(DOOPENFILE(host, b));
    ASSERT_EQ(messages.shown().size(), 2);
    EXPECT_EQ(messages.shown()[0].style, unsigned(MB_YESNOCANCEL | MB_ICONQUESTION));
    EXPECT_FALSE(host.log.contains(QStringLiteral("closeEditors")));
    EXPECT_EQ(openPath(), a);
    EXPECT_EQ(openProblem().AYMLIST[1][YMPRICE], num("7.700"));
    EXPECT_TRUE(openProblem().LYMDEG);
    EXPECT_EQ(test::fileBytes(a), before);
    EXPECT_EQ(messages.unexpectedQuestions(), 0);
}

TEST_F(FileCommands, NewMakesASafeNameAndStoresTheDefaultParameters)
{
    struct Row
    {
        QString typed;
        QString file;
    };
    const Row rows[] = {
        {QStringLiteral("deneme.vkd"), QStringLiteral("deneme.VKD")},
        {QStringLiteral(" a/b.c "), QStringLiteral("a_b_c.VKD")},
    };
    for (const Row &r : rows) {
        host.newName = r.typed;
        YENIDOSYAGIR(host);
        const QString path = env.path(r.file);
        ASSERT_EQ(openPath(), path) << r.typed.toStdString();
        EXPECT_EQ(host.caption, QStringLiteral("VEXO_Zud 2.6 - ") + r.file);
        EXPECT_FALSE(host.LNEWFILE);
        const QList<Record> recs = test::readTable(path);
        ASSERT_EQ(recs.size(), 3);
        EXPECT_EQ(recs[0]["YMBMAT"].toString().trimmed(), kPrmMarker);
        EXPECT_TRUE(recs[1]["YMBMAT"].toString().startsWith(QStringLiteral("K,1000.00,Krş,Kg,")));
        EXPECT_EQ(recs[2]["YMBMAT"].toString().trimmed(), kGrupMarker);
    }
}

TEST_F(FileCommands, NewOverAnExistingFileAsksAndOverTheOpenFileReplacesIt)
{
    const QString a = env.path("A.VKD");
    makeProblem(a, 2);
    ASSERT_TRUE(DOOPENFILE(host, a));
    openProblem().LYMDEG = true;
    const QByteArray before = test::fileBytes(a);
    host.newName = QStringLiteral("A");

    messages.answer(MessageAnswer::No);
    YENIDOSYAGIR(host);
    EXPECT_EQ(messages.shown().last().text, QStringLiteral("A.VKD dosyası mevcut!\n\nÜzerine yazılsın mı?"));
    EXPECT_EQ(test::fileBytes(a), before);
    EXPECT_EQ(openPath(), a);
    EXPECT_EQ(openProblem().AYMADLARI.size(), 2);

    messages.clear();
    messages.answer(MessageAnswer::Yes);
    YENIDOSYAGIR(host);
    EXPECT_EQ(messages.shown().size(), 1); // no save question for the replaced file
    EXPECT_EQ(openPath(), a);
    EXPECT_TRUE(openProblem().AYMADLARI.isEmpty());
    EXPECT_EQ(test::readTable(a).size(), 3);
}

TEST_F(FileCommands, SaveCommitsTheEditorsFirst)
{
    const QString a = env.path("A.VKD");
    makeProblem(a, 2);
    ASSERT_TRUE(DOOPENFILE(host, a));
    host.log.clear();
    EXPECT_TRUE(KAYDET(host));
    EXPECT_EQ(host.log, QStringList{"WHOCHANGES"});
    EXPECT_TRUE(messages.shown().isEmpty());
}

TEST_F(FileCommands, SaveAsExportsOrMovesOnAndNeverOverwritesTheOpenFile)
{
    const QString a = env.path("A.VKD");
    makeProblem(a, 2);
    ASSERT_TRUE(DOOPENFILE(host, a));
    const QString caption = host.caption;
    const int records = test::readTable(a).size();

    // Cancelled, and onto the open file (the extension typed in small letters).
    EXPECT_FALSE(FKAYDET(host));
    EXPECT_EQ(host.status, QStringLiteral("Geçerli dosya adı girilmedi..."));
    dialogs.answer(env.path("A.vkd"));
    EXPECT_FALSE(FKAYDET(host));
    EXPECT_EQ(host.status, QStringLiteral("Açık dosyayı kendi üzerine kaydetme teşbbüsü..."));
    EXPECT_EQ(dialogs.lastInitialPath(), a);
    EXPECT_EQ(dialogs.lastFilters(), (QStringList{"VEXO_Zud Veri Dosyası (*.VKD)", "VEXO_Pro Veri Dosyası (*.VVD)"}));

    // ".VVD": an export; the open file and the caption stay.
    dialogs.answer(env.path("KOPYA"));
    dialogs.answerFilter(2);
    ASSERT_TRUE(FKAYDET(host));
    EXPECT_EQ(host.status, QStringLiteral("Dosya başarıyla farklı kaydedildi..."));
    EXPECT_EQ(openPath(), a);
    EXPECT_EQ(host.caption, caption);
    EXPECT_EQ(test::readTable(env.path("KOPYA.VVD")).size(), records);

    // An existing target is replaced only on Yes, with the stop icon.
    const QByteArray exported = test::fileBytes(env.path("KOPYA.VVD"));
    dialogs.answer(env.path("KOPYA.VVD"));
    dialogs.answerFilter(2);
    messages.answer(MessageAnswer::No);
    EXPECT_FALSE(FKAYDET(host));
    EXPECT_EQ(messages.shown().last().text, QStringLiteral("KOPYA.VVD Dosyası mevcut!\n\nÜzerine yazılsın mı?"));
    EXPECT_EQ(messages.shown().last().icon(), unsigned(MB_ICONSTOP));
    EXPECT_EQ(test::fileBytes(env.path("KOPYA.VVD")), exported);

    // ".VKD": the new file becomes the open problem.
    dialogs.answer(env.path("YENI.VKD"));
    ASSERT_TRUE(FKAYDET(host));
    EXPECT_EQ(openPath(), env.path("YENI.VKD"));
    EXPECT_EQ(host.caption, QStringLiteral("VEXO_Zud 2.6 - YENI.VKD"));
    EXPECT_TRUE(QFileInfo::exists(a));
    EXPECT_EQ(QDir(env.path(".")).entryList(QDir::Hidden | QDir::Files).filter(QLatin1String(kOwnTempMarker)), QStringList());
}

TEST_F(FileCommands, AnOlderFileConvertsOnceInPlace)
{
    const QString path = env.path("ESKI.VKD");
    DbfStructure older;
    for (const DbfField &f : DATAFILESTRUCT())
        if (f.name != u"YMSTOKVY" && !f.name.endsWith(QStringLiteral("KCOZUM")))
            older.append(f);
    test::writeTable(path, older, {{{"YMADI", "A"}, {"BMADI", "HP"}, {"YMBMAT", num("9.5") + "," + num("1.5") + ","}},
                                   {{"YMADI", "B"}, {"YMBMAT", kPrmMarker}},
                                   {{"YMBMAT", "K,1000.00,Krş,Kg,"}}});
    ASSERT_EQ(fieldCount(path), 20);
    ASSERT_TRUE(DOOPENFILE(host, path));
    EXPECT_EQ(fieldCount(path), 25);
    EXPECT_EQ(openProblem().AYMADLARI, (QStringList{"A", "B"}));
    EXPECT_TRUE(messages.shown().isEmpty());
    const QByteArray converted = test::fileBytes(path);
    ASSERT_TRUE(FILECLOSE(host));
    ASSERT_TRUE(DOOPENFILE(host, path));
    ASSERT_TRUE(FILECLOSE(host));
    EXPECT_EQ(test::fileBytes(path), converted);
}

TEST_F(FileCommands, AFailedConversionLeavesTheOlderFileAsItWas)
{
    const QString path = env.path("ESKI.VKD");
    DbfStructure older;
    for (const DbfField &f : DATAFILESTRUCT())
        if (f.name != u"YMSTOKVY")
            older.append(f);
    test::writeTable(path, older, {{{"YMADI", "A"}, {"BMADI", "HP"}, {"YMBMAT", num("9.5") + "," + num("1.5") + ","}},
                                   {{"YMADI", "B"}, {"YMBMAT", kPrmMarker}},
                                   {{"YMBMAT", "K,1000.00,Krş,Kg,"}}});
    const QByteArray before = test::fileBytes(path);
    // A plain file where the temporary folder should be: the folder cannot be made.
    QFile block(env.path("Temp_Data"));
    ASSERT_TRUE(block.open(QIODevice::WriteOnly));
    block.close();
    EXPECT_FALSE(DOOPENFILE(host, path));
    ASSERT_EQ(messages.shown().size(), 2);
    EXPECT_TRUE(messages.shown()[0].text.startsWith(QStringLiteral("Geçici dizin oluşturma başarısız... : ")));
    EXPECT_EQ(messages.shown()[1].text, QStringLiteral("Dosya dönüştürme başarısız..."));
    EXPECT_FALSE(openProblem().isOpen());
    EXPECT_EQ(test::fileBytes(path), before);
}

} // namespace

namespace {

TEST_F(FileCommands, FailuresFromTheTableOnLeaveNoProblemOpen)
{
    const QString a = env.path("A.VKD");
    makeProblem(a, 2);
    const QString broken = env.path("BOZUK.VKD");
    {
        QFile f(broken);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("this is no table");
    }
    const QString good = env.path("B.VKD");
    makeProblem(good, 2);
    struct Row
    {
        const char *name;
        QString path;
        bool fromReference;
        bool messageShown;
    };
    const Row rows[] = {
        {"table cannot be opened", broken, false, true},
        {"loader failed (reference tables missing)", good, true, true},
    };
    for (const Row &r : rows) {
        SCOPED_TRACE(r.name);
        appGlobals().LRMDENOKU = false;
        ASSERT_TRUE(DOOPENFILE(host, a));
        appGlobals().LRMDENOKU = r.fromReference;
        messages.clear();
        host.caption = QStringLiteral("unchanged");
        EXPECT_FALSE(DOOPENFILE(host, r.path));
        EXPECT_EQ(!messages.shown().isEmpty(), r.messageShown);
        EXPECT_FALSE(openProblem().isOpen());
        EXPECT_TRUE(openProblem().AYMADLARI.isEmpty());
        EXPECT_EQ(host.log.last(), QStringLiteral("MI_ENADISABLE"));
    }
    appGlobals().LRMDENOKU = false;
}

TEST_F(FileCommands, NewWhoseTableCannotBeCreatedChangesNothing)
{
    const QString a = env.path("A.VKD");
    makeProblem(a, 2);
    ASSERT_TRUE(DOOPENFILE(host, a));
    appGlobals().CVERIDIZIN = env.path("yok/olmayan");
    host.newName = QStringLiteral("YENI");
    YENIDOSYAGIR(host);
    ASSERT_EQ(messages.shown().size(), 1);
    EXPECT_EQ(messages.shown()[0].text, QStringLiteral("YENI.VKD dosyası oluşturulamadı..."));
    EXPECT_EQ(openPath(), a);
    EXPECT_FALSE(host.LNEWFILE);
}

} // namespace

namespace {

// Dosya > Yeni while the open problem has changes, abandoned on the save question (Cancel), or on a
// save that fails: no empty problem file is left behind, an existing file of that name stays as it
// was, and the open problem stays open with its changes.
TEST_F(FileCommands, NewAbandonedOnTheSaveQuestionLeavesNoFileBehind)
{
    const QString a = env.path("A.VKD");
    const QString existing = env.path("VAR.VKD");
    makeProblem(a, 2);
    makeProblem(existing, 3);
    const QByteArray existingBytes = test::fileBytes(existing);
    const struct
    {
        const char *what;
        QString name;
        QList<MessageAnswer> answers;
    } cases[] = {
        {"a new name, cancelled", QStringLiteral("YENI"), {MessageAnswer::Cancel}},
        {"an existing name, overwrite, cancelled", QStringLiteral("VAR"), {MessageAnswer::Yes, MessageAnswer::Cancel}},
    };
    for (const auto &c : cases) {
        ASSERT_TRUE(DOOPENFILE(host, a)) << c.what;
        openProblem().LYMDEG = true;
        messages.clear();
        for (MessageAnswer answer : c.answers)
            messages.answer(answer);
        host.newName = c.name;
        YENIDOSYAGIR(host);
        EXPECT_EQ(messages.pendingAnswers(), 0) << c.what;
        EXPECT_FALSE(QFileInfo::exists(env.path("YENI.VKD"))) << c.what << ": an empty problem file was left";
        EXPECT_EQ(test::fileBytes(existing), existingBytes) << c.what;
        EXPECT_EQ(openPath(), a) << c.what;
        EXPECT_TRUE(openProblem().LYMDEG) << c.what;
        EXPECT_FALSE(host.LNEWFILE) << c.what;
        openProblem().LYMDEG = false;
        ASSERT_TRUE(FILECLOSE(host));
    }
}

} // namespace
