// Typed prices saved into the reference matrix, read back by an independent reader (python3-dbfread).
#include "editors/constraint_edit_model.h"

#include "editor_fixture.h"
#include "platform/dbf_filespec.h"
#include "problem/app_globals.h"
#include "problem/dbserverr.h"
#include "problem/reference_tables.h"
#include "scripted_messages.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSignalSpy>

#include <gtest/gtest.h>

using namespace vexo;
using vexo::test::ScriptedMessages;

namespace {

const char *kReader = R"(
import json, sys, dbfread
t = dbfread.DBF(sys.argv[1], encoding='cp1254', char_decode_errors='strict', load=True)
print(json.dumps({r['YM_ADI']: r['FIATI'] for r in t.records}))
)";

// Name -> FIATI as stored (trailing blanks dropped by the reader).
QJsonObject pricesByPeer(const QString &path)
{
    QProcess p;
    p.start(QStringLiteral("/usr/bin/python3"), {QStringLiteral("-c"), QString::fromLatin1(kReader), path});
    EXPECT_TRUE(p.waitForFinished(20000));
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    return QJsonDocument::fromJson(p.readAllStandardOutput()).object();
}

class PriceWriteBack : public ::testing::Test
{
protected:
    void SetUp() override
    {
        test::installSmallProblem();
        appGlobals().LRMDENOKU = true;
        path = env.path(kReferenceMatrixFile);
        ASSERT_TRUE(DbfFileSpec(path).create(HKM_STRCREATE()));
        DBSERVERR table(path, false, false);
        ASSERT_FALSE(table.status().has_value());
        const QList<std::pair<const char *, const char *>> records{
            {"MISIR", "     10.000"}, {"SOYA", "12.50"}, {"ARPA", "      5.000"}, {"MISIR KIRMA", "      1.000"}};
        int kod = 0;
        for (const auto &[name, price] : records) {
            ASSERT_TRUE(table.append());
            ASSERT_TRUE(table.fieldPut(QStringLiteral("KOD"), ++kod));
            ASSERT_TRUE(table.fieldPut(QStringLiteral("YM_ADI"), QString::fromUtf8(name)));
            ASSERT_TRUE(table.fieldPut(QStringLiteral("FIATI"), QString::fromUtf8(price)));
        }
        ASSERT_TRUE(table.commit());
        table.close();
    }

    // Types the prices of MISIR (11), SOYA (12,5, the stored value written differently) and KEPEK
    // (not in the reference matrix).
    void typePrices(ConstraintEditModel &m)
    {
        m.setUp();
        for (const auto &[row, price] : {std::pair{1, "11"}, std::pair{2, "12,5"}, std::pair{4, "9"}}) {
            m.setCurrent(row, 2);
            m.endEdit(2, QString::fromLatin1(price));
        }
        ASSERT_TRUE(m.LFIATDEG);
    }

    test::EditorEnvironment env;
    ScriptedMessages messages;
    QString path;
};

TEST_F(PriceWriteBack, ChangedPricesReachTheReferenceMatrixOnClose)
{
    ConstraintEditModel m(EditorKind::Ingredient);
    typePrices(m);
    QSignalSpy enabled(&m, &ConstraintEditModel::menuItemEnabled);
    messages.answer(MessageAnswer::Yes);
    m.SONKONT();

    ASSERT_EQ(messages.shown().size(), 1);
    EXPECT_EQ(messages.shown().first().text,
              QStringLiteral("Yem maddesi fiyatları değişti!\n\nDeğişiklikler temel matrise kaydedilsin mi?"));
    const QJsonObject prices = pricesByPeer(path);
    EXPECT_EQ(prices.value(QStringLiteral("MISIR")).toString(), QStringLiteral("     11.000"));
    EXPECT_EQ(prices.value(QStringLiteral("SOYA")).toString(), QStringLiteral("12.50")) << "an equal value is not rewritten";
    EXPECT_EQ(prices.value(QStringLiteral("ARPA")).toString(), QStringLiteral("     12.000"))
        << "every price that differs goes back, typed or not";
    EXPECT_EQ(prices.value(QStringLiteral("MISIR KIRMA")).toString(), QStringLiteral("      1.000"))
        << "names match whole, not by their beginning";
    EXPECT_FALSE(m.LFIATDEG);
    EXPECT_EQ(enabled.size(), 2);
    EXPECT_EQ(enabled.first(), (QList<QVariant>{29171, false}));
    EXPECT_FALSE(referenceTables().ORMDBF) << "the reference matrix is closed again";
}

TEST_F(PriceWriteBack, NoForgetsTheChangeAndWritesNothing)
{
    const QByteArray before = [&] {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }();
    ConstraintEditModel m(EditorKind::Ingredient);
    typePrices(m);
    messages.answer(MessageAnswer::No);
    m.YMFIAKAYDISOR();
    EXPECT_FALSE(m.LFIATDEG);
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), before);
    EXPECT_EQ(m.rows()[0][YMPRICE], QStringLiteral("     11.000")) << "the typed prices stay in the problem";
    m.YMFIAKAYDISOR();
    EXPECT_EQ(messages.shown().size(), 1) << "nothing pending, nothing asked";
}

TEST_F(PriceWriteBack, WithTheOptionOffNothingIsAsked)
{
    appGlobals().LRMDENOKU = false;
    ConstraintEditModel m(EditorKind::Ingredient);
    typePrices(m);
    m.SONKONT();
    EXPECT_TRUE(messages.shown().isEmpty());
    EXPECT_EQ(pricesByPeer(path).value(QStringLiteral("MISIR")).toString(), QStringLiteral("     10.000"));
}

TEST_F(PriceWriteBack, AMissingReferenceMatrixKeepsThePricesPending)
{
    ASSERT_TRUE(QFile::remove(path));
    ConstraintEditModel m(EditorKind::Ingredient);
    typePrices(m);
    messages.answer(MessageAnswer::Yes);
    m.YMFIAKAYDISOR();
    ASSERT_EQ(messages.shown().size(), 2);
    EXPECT_EQ(messages.shown().last().text, QStringLiteral("MATNRC6.DBF dosyası yok..!"));
    EXPECT_TRUE(m.LFIATDEG);
}

TEST_F(PriceWriteBack, RecordNumbersByWholeTrimmedName)
{
    ASSERT_TRUE(RMDATAFOPEN());
    EXPECT_EQ(ConstraintEditModel::GETRMRECNO(QStringLiteral("SOYA")), 2);
    EXPECT_EQ(ConstraintEditModel::GETRMRECNO(QStringLiteral("MISIR KIRMA")), 4);
    EXPECT_EQ(ConstraintEditModel::GETRMRECNO(QStringLiteral("KEPEK")), 0);
    closeReferenceTables();
}

} // namespace
