#include "refdb/bm_ekle_dlg.h"

#include <gtest/gtest.h>

using namespace vexo;

TEST(Abbreviation, NormalisedToAColumnName)
{
    const QList<std::pair<QString, QString>> cases = {
        {"gıda-ön 12", "GIDA_ON_12"},
        {" Çinko ", "CINKO"},
        {"met+sist", "MET_SIST"},
        {"a\"b.c", "A_B_C"},
        {"şeker_pancarı", "SEKER_PANC"},
        {"KM", "KM"},
    };
    for (const auto &[typed, expected] : cases)
        EXPECT_EQ(normaliseAbbreviation(typed), expected) << typed.toStdString();
}

TEST(Abbreviation, OnlyNamesATableTakes)
{
    for (const char *good : {"KM", "GIDA_ON_12", "FIATI", "A1"})
        EXPECT_TRUE(abbreviationProblem(QString::fromUtf8(good)).isEmpty()) << good;
    for (const char *bad : {"", "ONBIR_HARFLI", "Ё"})
        EXPECT_FALSE(abbreviationProblem(QString::fromUtf8(bad)).isEmpty()) << bad;
}

TEST(Decimals, WholeNumbersZeroToFour)
{
    for (const char *good : {"0", "4", "          2", " 3 "})
        EXPECT_TRUE(decimalsAccepted(QString::fromLatin1(good))) << good;
    for (const char *bad : {"-2", "7", "1.5", "", "  ", "x", "12"})
        EXPECT_FALSE(decimalsAccepted(QString::fromLatin1(bad))) << bad;
}
