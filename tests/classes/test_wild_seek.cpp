#include "classes/wild_seek.h"

#include "platform/dbf_filespec.h"
#include "platform/dbf_table.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

using namespace vexo;

TEST(WildMatch, Table)
{
    struct Case
    {
        QString text, pattern;
        bool match;
    };
    const Case cases[] = {
        {"", "", true},        {"", "*", true},        {"", "?", false},      {"ABC", "A*C", true},
        {"ABC", "A**", true},  {"ABC", "A*B", false},  {"ABC", "ABC", true},  {"ABC", "abc", false},
        {"ABC", "AB", false},  {"AB", "ABC", false},   {"ABC", "???", true},  {"ABC", "????", false},
        {"ABCD", "AB?D", true}, {"ABCDE", "AB?D", false}, {"ABD", "AB?D", false}, {"XAXBX", "*X*X", true},
        {"SOYA    ", "SOY*", true}, {"SOYA    ", "SOYA", false}, {"AAB", "*AB", true}, {"ABAB", "*B*B", true},
        {"ABAC", "*B*B", false}, {"A*C", "A?C", true}, {"ş", "?", true},
    };
    for (const Case &c : cases)
        EXPECT_EQ(WILDMATCH(c.text, c.pattern), c.match) << c.text.toStdString() << " ~ " << c.pattern.toStdString();
    EXPECT_EQ(WILDPOS("AB?D*"), 3);
    EXPECT_EQ(WILDPOS("A*B?"), 2);
    EXPECT_EQ(WILDPOS("ABC"), 0);
}

TEST(WildMatch, LongPatternsNeedNoStack)
{
    const QString text(60000, u'a');
    EXPECT_TRUE(WILDMATCH(text, QString(60000, u'?')));
    EXPECT_FALSE(WILDMATCH(text, QString(60001, u'?')));
    const QString pattern = u'*' + QString(59998, u'?') + u'b';
    EXPECT_TRUE(WILDMATCH(text, QString(60000, u'*')));
    EXPECT_FALSE(WILDMATCH(text, pattern));
    EXPECT_TRUE(WILDMATCH(text + u'b', pattern));
}

TEST(WildSeek, IndexedTable)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("FEED.DBF");
    ASSERT_TRUE(DbfFileSpec(path).create({{"NAME", u'C', 4, 0}, {"N", u'N', 3, 0}}));
    DbfTable t(path, false, false);
    const QStringList names = {"SOYA", "MAIX", "ABXD", "ABC", "ABCD", "SOYB"};
    for (int i = 0; i < names.size(); ++i) {
        ASSERT_TRUE(t.append());
        t.fieldPut(1, names[i]);
        t.fieldPut(2, double(i + 1));
        t.commit();
    }
    ASSERT_TRUE(t.createIndex(dir.filePath("FEED.CDX"), "NAME", "NAME", false));
    ASSERT_TRUE(t.setOrder(1));
    struct Case
    {
        QVariant key;
        bool found;
        QString standsOn; // empty: end of file
    };
    const Case cases[] = {
        {QString("SOY*"), true, "SOYA"},
        {QString("*X"), true, "MAIX"},      // from the top, through the whole order
        {QString("AB?D"), true, "ABCD"},    // "ABC " is passed over: nothing may stand where D is
        {QString("AB?X"), false, "MAIX"},   // stops on the first key past the prefix
        {QString("ZZ*"), false, ""},        // a prefix with no key: nothing scanned
        {QString("SOYA"), true, "SOYA"},    // no wildcard: a plain seek
        {QString("*Q"), false, ""},
        {7, false, "ABC "},              // not a text: nothing sought, nothing moved
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.key.toString().toStdString());
        t.goTop();
        EXPECT_EQ(WILDSEEK(t, c.key), c.found);
        EXPECT_EQ(t.eof() ? QString() : t.fieldGet(1).toString(), c.standsOn);
    }
    t.goTop();
    EXPECT_EQ(t.orderKeyVal(), QVariant("ABC "));
    t.setOrder(0);
    EXPECT_FALSE(t.orderKeyVal().isValid());
}
