#include "updater/session_status.h"

#include <QRegularExpression>
#include <QUrl>

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

namespace {
// The length from which a password repeated anywhere as a word of its own is hidden.
constexpr qsizetype kEchoedPasswordLength = 8;
} // namespace

QString hidePassword(const QString &text, const QString &password)
{
    QString out = text;
    // This password as the user information of an address, as typed or as an address carries it;
    // first, since it may hold the characters that end the general forms below.
    if (!password.isEmpty()) {
        for (const QString &form : {password, QString::fromLatin1(QUrl::toPercentEncoding(password))})
            out.replace(u':' + form + u'@', QStringLiteral(":***@"));
    }
    // A password long enough not to be a word of the message by chance, where it stands as a word
    // of its own: a server or a library repeating it.
    if (password.size() >= kEchoedPasswordLength) {
        const QRegularExpression echoed(QStringLiteral(R"((?<![^\s'"<(\[{=:]))") + QRegularExpression::escape(password)
                                        + QStringLiteral(R"((?![^\s'">)\]},.;:]))"));
        out.replace(echoed, QStringLiteral("***"));
    }
    static const QRegularExpression forms[] = {
        // any password after "scheme://user:"
        QRegularExpression(QStringLiteral(R"((://[^\s/@:]*:)[^\s/@]+@)")),
        // "user:password@host" standing as a word of its own
        QRegularExpression(QStringLiteral(R"((^|[\s"'<(\[=])([^\s/@:"'<>=]*:)[^\s/@"'<>]+@)"),
                           QRegularExpression::MultilineOption),
        // a login line of the FTP dialogue
        QRegularExpression(QStringLiteral(R"((^|[^A-Za-z0-9_])(PASS +)[^\r\n]*)"), QRegularExpression::MultilineOption),
        // an authorization header, its scheme kept
        QRegularExpression(QStringLiteral(R"(((?:Proxy-)?Authorization: *(?:[A-Za-z-]+ +)?)[^\r\n]*)"),
                           QRegularExpression::CaseInsensitiveOption),
    };
    out.replace(forms[0], QStringLiteral("\\1***@"));
    out.replace(forms[1], QStringLiteral("\\1\\2***@"));
    out.replace(forms[2], QStringLiteral("\\1\\2***"));
    out.replace(forms[3], QStringLiteral("\\1***"));
    return out;
}

QString INETERRORMSG(int error)
{
    if (error == 0)
        return {};
    return QStringLiteral("İnternet hatası ") + QString::number(error);
}

} // namespace vexo
