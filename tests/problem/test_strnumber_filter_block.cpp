#include "problem/filter_block.h"
#include "problem/strnumber.h"

#include <gtest/gtest.h>

namespace vexo {
namespace {

TEST(StrNumber, FieldDescription)
{
    const STRNUMBER spec(QStringLiteral("Fiyat"), 4);
    EXPECT_EQ(spec.name(), "STRNUMBER");
    EXPECT_EQ(spec.caption(), "Fiyat");
    EXPECT_EQ(spec.type(), "C");
    EXPECT_EQ(spec.length(), 11);
    EXPECT_EQ(spec.decimals(), 4);
    EXPECT_EQ(spec.PICTURE(), "######.####");
}

TEST(StrNumber, PictureIsAlwaysElevenCharacters)
{
    EXPECT_EQ(STRNUMBER("a", 0).PICTURE(), "##########.");
    EXPECT_EQ(STRNUMBER("a", 10).PICTURE(), ".##########");
    EXPECT_EQ(STRNUMBER("a", 2).PICTURE(), "########.##");
    for (int d = 0; d <= 10; ++d) {
        const QString picture = STRNUMBER("a", d).PICTURE();
        EXPECT_EQ(picture.size(), 11);
        EXPECT_EQ(picture.indexOf(u'.'), 10 - d);
    }
    // Decimals no picture can hold take the nearest one.
    EXPECT_EQ(STRNUMBER("a", -3).PICTURE(), "##########.");
    EXPECT_EQ(STRNUMBER("a", 12).decimals(), 10);
}

struct Server
{
    int recno = 0;
};

TEST(FilterBlock, EvaluatesAgainstItsServer)
{
    Server server;
    FILTERBLOCK<Server> filter(&server, [](Server *s) { return QVariant(s->recno > 2); });
    EXPECT_EQ(filter.ODB, &server);
    EXPECT_FALSE(filter.EVAL().toBool());
    server.recno = 3;
    EXPECT_TRUE(filter.EVAL().toBool());
}

TEST(FilterBlock, DestroyIsIdempotent)
{
    Server server;
    int calls = 0;
    FILTERBLOCK<Server> filter(&server, [&calls](Server *) { ++calls; return QVariant(1); });
    EXPECT_EQ(&filter.DESTROY(), &filter);
    EXPECT_EQ(filter.ODB, nullptr);
    EXPECT_FALSE(static_cast<bool>(filter.BEXPR));
    filter.DESTROY();
    EXPECT_EQ(filter.ODB, nullptr);
    // Nothing left to evaluate: no value, and the old expression is not run.
    EXPECT_FALSE(filter.EVAL().isValid());
    EXPECT_EQ(calls, 0);
}

} // namespace
} // namespace vexo
