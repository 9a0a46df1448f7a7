#include "updater/session_status.h"

#include <gtest/gtest.h>

namespace vexo {
namespace {

TEST(SessionStatus, EveryStageHasItsText)
{
    struct Case
    {
        int stage;
        const char *text; // nullptr: the line stays as it is
    } cases[] = {
        {10, "İsim Çözümleniyor ..."},   {11, "İsim Çözümlendi ..."},     {20, "Server'e Bağlanılıyor ..."},
        {21, "Server'e Bağlanıldı ..."}, {30, "İstek Gönderiliyor ..."},  {31, "İstek gönderildi"},
        {40, "Cevap alınıyor ..."},       {41, "Cevap alındı"},            {42, "CTL Cevap alındı"},
        {43, "Prefetch"},                 {50, "Bağlantı kesiliyor ..."},  {51, "Bağlantı kesildi"},
        {60, nullptr},                    {70, "Tutaç kapanıyor ..."},     {100, "İstek tamam"},
        {110, "Yeniden yönlendirme"},     {0, "Bilinmeyen FTP Durumu"},    {-1, "Bilinmeyen FTP Durumu"},
        {61, "Bilinmeyen FTP Durumu"},
    };
    for (const Case &c : cases) {
        const auto text = sessionStatusText(c.stage);
        if (c.text)
            EXPECT_EQ(text, std::optional<QString>(QString::fromUtf8(c.text))) << c.stage;
        else
            EXPECT_FALSE(text) << c.stage;
    }
}

TEST(SessionStatus, ErrorTexts)
{
    EXPECT_EQ(INETERRORMSG(0), QString());
    EXPECT_EQ(INETERRORMSG(12016), QStringLiteral("İnternet hatası 12016"));
}

} // namespace
} // namespace vexo
