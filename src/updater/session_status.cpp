#include "updater/session_status.h"

namespace vexo {

std::optional<QString> sessionStatusText(int stage)
{
    switch (stage) {
    case StageResolving: return QStringLiteral("İsim Çözümleniyor ...");
    case StageResolved: return QStringLiteral("İsim Çözümlendi ...");
    case StageConnecting: return QStringLiteral("Server'e Bağlanılıyor ...");
    case StageConnected: return QStringLiteral("Server'e Bağlanıldı ...");
    case StageSending: return QStringLiteral("İstek Gönderiliyor ...");
    case StageSent: return QStringLiteral("İstek gönderildi");
    case StageReceiving: return QStringLiteral("Cevap alınıyor ...");
    case StageReceived: return QStringLiteral("Cevap alındı");
    case StageControlReceived: return QStringLiteral("CTL Cevap alındı");
    case StagePrefetch: return QStringLiteral("Prefetch");
    case StageClosing: return QStringLiteral("Bağlantı kesiliyor ...");
    case StageClosed: return QStringLiteral("Bağlantı kesildi");
    case StageHandleCreated: return std::nullopt;
    case StageHandleClosing: return QStringLiteral("Tutaç kapanıyor ...");
    case StageComplete: return QStringLiteral("İstek tamam");
    case StageRedirect: return QStringLiteral("Yeniden yönlendirme");
    default: return QStringLiteral("Bilinmeyen FTP Durumu");
    }
}

QString INETERRORMSG(int error)
{
    if (error == 0)
        return {};
    return QStringLiteral("İnternet hatası ") + QString::number(error);
}

} // namespace vexo
