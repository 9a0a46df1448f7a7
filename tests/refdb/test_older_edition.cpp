// The older edition's matrix converted, read back by an independent reader (python3-dbfread).
#include "problem/app_globals.h"
#include "problem/reference_tables.h"
#include "refdb/file_pair_replace.h"
#include "refdb/older_edition.h"
#include "refdb_fixture.h"
#include "scripted_messages.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace vexo;
using vexo::test::bytesOf;
using vexo::test::snapshot;

namespace {

const char *kReader = R"(
import json, sys, dbfread
out = {}
for name in sys.argv[1:]:
    t = dbfread.DBF(name, encoding='cp1254', char_decode_errors='strict', load=True)
    out[name] = {'fields': [[f.name, f.type, f.length] for f in t.fields],
                 'rows': [[str(v).rstrip() if v is not None else '' for v in r.values()] for r in t.records]}
print(json.dumps(out))
)";

// Each table's fields ("NAME TYPE WIDTH") and rows (values as text, trailing blanks dropped).
struct PeerTable
{
    QStringList fields;
    QList<QStringList> rows;
};

PeerTable readByPeer(const QString &path)
{
    QProcess p;
    p.start(QStringLiteral("/usr/bin/python3"), {QStringLiteral("-c"), QString::fromLatin1(kReader), path});
    EXPECT_TRUE(p.waitForFinished(20000));
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    const QJsonObject table = QJsonDocument::fromJson(p.readAllStandardOutput()).object().value(path).toObject();
    PeerTable result;
    for (const QJsonValue &f : table.value(QStringLiteral("fields")).toArray()) {
        const QJsonArray a = f.toArray();
        result.fields << a.at(0).toString() + u' ' + a.at(1).toString() + u' ' + QString::number(a.at(2).toInt());
    }
    for (const QJsonValue &r : table.value(QStringLiteral("rows")).toArray()) {
        QStringList row;
        for (const QJsonValue &v : r.toArray())
            row << v.toString();
        result.rows << row;
    }
    return result;
}

const DbfStructure kOlder = {{"KOD", u'N', 5, 0},  {"YM_ADI", u'C', 25, 0}, {"FIATI", u'C', 11, 0},
                             {"GRUBU", u'C', 11, 0}, {"KMO", u'C', 11, 0},  {"HP", u'C', 15, 0}};

class OlderEdition : public ::testing::Test
{
protected:
    void SetUp() override
    {
        root = m_dir.filePath(QStringLiteral("Veriler"));
        older = m_dir.filePath(QStringLiteral("eski/MATNRC.DBF"));
        QDir().mkpath(root);
        QDir().mkpath(m_dir.filePath(QStringLiteral("eski")));
        m_saved = appGlobals().CVERIKOK;
        appGlobals().CVERIKOK = root;
    }
    void TearDown() override { appGlobals().CVERIKOK = m_saved; }

    QString live(const QString &name) const { return root + u'/' + name; }
    QStringList shownTexts() const
    {
        QStringList texts;
        for (const MessageRequest &r : messages.shown())
            texts << r.caption + u'|' + r.text;
        return texts;
    }
    void writeOlderFixture()
    {
        test::writeRows(older, kOlder,
                        {{0, "BIRIM", "", "", "%", "kcal/kg (ME) x"},
                         {1, "MISIR", "      0.310", "TAHIL", "     88.000", "      8.500"},
                         {2, "SOYA KUSPESI", "", "PROTEIN", "     89.000", "     44.000"}});
    }

    QTemporaryDir m_dir;
    QString root;
    QString older;
    QString m_saved;
    test::ScriptedMessages messages;
};

TEST_F(OlderEdition, TheFixtureBecomesDefinitionsAndMatrix)
{
    writeOlderFixture();
    referenceTables().ABMDESC = {{3, QStringLiteral("HP"), 1}};
    EXPECT_TRUE(VKAR25_DONUS(nullptr, older));
    EXPECT_EQ(shownTexts(), QStringList{QStringLiteral("Bilgi...|Veritabanı dönüşümü başarıyla uygulandı...")});
    const PeerTable definitions = readByPeer(live(QStringLiteral("VMKBMDESC.DBF")));
    EXPECT_EQ(definitions.fields, (QStringList{"NUM N 3", "NAME C 30", "ABRRE C 15", "UNIT C 11", "DECIM N 5"}));
    EXPECT_EQ(definitions.rows, (QList<QStringList>{{"1", "Kuru Madde", "KM", "%", "4"},
                                                    {"3", "Yazılacak...", "HP", "kcal/kg (ME", "4"}}));
    const PeerTable matrix = readByPeer(live(QStringLiteral("MATNRC6.DBF")));
    EXPECT_EQ(matrix.fields, (QStringList{"KOD N 5", "YM_ADI C 25", "FIATI C 11", "GRUBU C 11", "KM C 11", "HP C 11"}));
    EXPECT_EQ(matrix.rows, (QList<QStringList>{{"1", "MISIR", "      0.310", "TAHIL", "     88.000", "      8.500"},
                                               {"2", "SOYA KUSPESI", "", "PROTEIN", "     89.000", "     44.000"}}));
    EXPECT_TRUE(QDir(root + QStringLiteral("/Temp_Data")).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));

    // The editors now type HP with the converted definition's decimals, not the ones held before.
    EXPECT_EQ(nutrientDecimals(QStringLiteral("HP")), 4);

    // A second run replaces both tables again with the same contents.
    const auto first = snapshot(root);
    EXPECT_TRUE(VKAR25_DONUS(nullptr, older));
    EXPECT_EQ(snapshot(root), first);
}

TEST_F(OlderEdition, AFirstRecordThatIsNoUnitsRowStaysAnIngredient)
{
    test::writeRows(older, kOlder, {{1, "MISIR", "", "", "88", "8.5"}, {2, "ARPA", "", "", "89", "11"}});
    EXPECT_TRUE(VKAR25_DONUS(nullptr, older));
    EXPECT_EQ(readByPeer(live(QStringLiteral("VMKBMDESC.DBF"))).rows.at(1).at(3), QStringLiteral("8.5"));
    const PeerTable matrix = readByPeer(live(QStringLiteral("MATNRC6.DBF")));
    ASSERT_EQ(matrix.rows.size(), 2);
    EXPECT_EQ(matrix.rows.at(0).mid(0, 2), (QStringList{"1", "MISIR"}));
}

TEST_F(OlderEdition, ManyRowsAreKept)
{
    QList<QVariantList> rows{{0, "BIRIM", "", "", "%", "%"}};
    for (int i = 1; i <= 1200; ++i)
        rows.append({i, QStringLiteral("YEM %1").arg(i), "", "", QString::number(80 + i % 10), ""});
    test::writeRows(older, kOlder, rows);
    EXPECT_TRUE(VKAR25_DONUS(nullptr, older));
    const PeerTable matrix = readByPeer(live(QStringLiteral("MATNRC6.DBF")));
    ASSERT_EQ(matrix.rows.size(), 1200);
    EXPECT_EQ(matrix.rows.last().mid(0, 2), (QStringList{"1200", "YEM 1200"}));
}

TEST_F(OlderEdition, RefusedTablesChangeNothing)
{
    test::writeRows(live(QStringLiteral("MATNRC6.DBF")), kOlder, {{1, "CANLI"}});
    test::writeRows(live(QStringLiteral("MATNRC.DBF")), kOlder, {{1, "KOKTEKI"}});
    const QString noKmo = m_dir.filePath(QStringLiteral("eski/KMOSUZ.DBF"));
    test::writeRows(noKmo, {{"KOD", u'N', 5, 0}, {"YM_ADI", u'C', 25, 0}, {"FIATI", u'C', 11, 0},
                            {"GRUBU", u'C', 11, 0}, {"HP", u'C', 11, 0}},
                    {{1, "MISIR"}});
    const auto before = snapshot(root);
    const struct {
        const char *name;
        QString chosen;
        bool started;
        QString message;
    } cases[] = {
        {"empty", QString(), false, {}},
        {"relative", QStringLiteral("eski/MATNRC.DBF"), false, {}},
        {"in the data root", live(QStringLiteral("MATNRC.DBF")), false,
         QStringLiteral("Uyarı...|Program dizininden farklı bir dizin seçilmedi!")},
        {"missing", m_dir.filePath(QStringLiteral("eski/YOK.DBF")), false,
         QStringLiteral("Uyarı...|Seçili dizinde VEXO_Zud 2.5 RM dosyası yok!")},
        {"without KMO", noKmo, true, QStringLiteral("Hata...|Seçili dosya VEXO_Zud 2.5 RM dosyası değil!")},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        messages.clear();
        EXPECT_EQ(convertChosenOlderTable(nullptr, c.chosen), c.started);
        EXPECT_EQ(shownTexts(), c.message.isEmpty() ? QStringList() : QStringList{c.message});
        EXPECT_EQ(snapshot(root), before);
    }
}

// A failed replacement leaves both live tables as they were, also where one was missing.
TEST_F(OlderEdition, AFailedReplacementLeavesTheLiveTables)
{
    class FailSecondRename : public FileTransfer
    {
    public:
        FailSecondRename() { setFileTransfer(this); }
        ~FailSecondRename() override { setFileTransfer(nullptr); }
        bool rename(const QString &from, const QString &to) override
        {
            return ++renames != 2 && FileTransfer::rename(from, to);
        }
        int renames = 0;
    };
    writeOlderFixture();
    test::writeRows(live(QStringLiteral("MATNRC6.DBF")), kOlder, {{1, "CANLI"}});
    const auto before = snapshot(root);
    {
        FailSecondRename fault;
        EXPECT_FALSE(VKAR25_DONUS(nullptr, older));
    }
    EXPECT_EQ(shownTexts(), QStringList{QStringLiteral("Hata...|Dosya kopyalama başarısız...")});
    EXPECT_EQ(snapshot(root), before);
    EXPECT_FALSE(QFile::exists(live(QStringLiteral("VMKBMDESC.DBF"))));
    EXPECT_TRUE(QDir(root + QStringLiteral("/Temp_Data")).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
}

} // namespace
