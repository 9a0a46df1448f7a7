// The updater window for trying it by hand and for screenshots under Xvfb. Not installed.
//   updater_demo FOLDER                  a scripted server held in memory
//   updater_demo FOLDER HOST[:PORT] USER PASSWORD [DIRECTORY]
//                                        the program's own sessions against that server
// FOLDER holds the settings file and the download folder "VXO-Setup". The window connects at once.
#include "../fake_session.h"
#include "updater/ftp_win.h"
#include "updater/updater_commands.h"

#include <QApplication>
#include <QDir>
#include <QTimer>

#include <cstdio>

namespace {
vexo::InetSessionFactory realSessions()
{
    return [](bool http, const QString &agent, vexo::InetSession::StatusHook status) {
        return vexo::makeInetSession(http, agent, std::move(status));
    };
}
} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    if (args.size() != 2 && args.size() < 5) {
        std::fprintf(stderr, "usage: updater_demo FOLDER [HOST[:PORT] USER PASSWORD [DIRECTORY]]\n");
        return 2;
    }
    const QString folder = QDir(args.at(1)).absolutePath();
    QDir().mkpath(folder);
    vexo::UpdaterBuiltins b;
    b.server = QStringLiteral("127.0.0.1");
    b.user = QStringLiteral("vexo");
    b.password = QStringLiteral("KoMuTeL!5274*");
    b.directory = QStringLiteral("public_html");
    b.setupDir = QDir(folder).filePath(QStringLiteral("VXO-Setup"));
    b.progFile = QDir(folder).filePath(QStringLiteral("VEXO_Rir26"));
    b.setupFile = QStringLiteral("VXO_Rir26-setup.exe");
    b.pwdKey = QStringLiteral("jwz");

    vexo::InetSessionFactory factory;
    if (args.size() >= 5) {
        b.server = args.at(2);
        b.user = args.at(3);
        b.password = args.at(4);
        b.directory = args.value(5);
        factory = realSessions();
    } else {
        auto server = std::make_shared<vexo::test::FakeServer>();
        server->listing = {{QStringLiteral("VXO_Rir26-setup.exe"), 5001, QDate::currentDate().addDays(-2),
                            QStringLiteral("14:05:00"), QStringLiteral("A")}};
        server->files[QStringLiteral("VXO_Rir26-setup.exe")] = QByteArray(5001, 's');
        factory = vexo::test::fakeFactory(server);
    }
    vexo::FTPWIN window(nullptr, b, factory, folder);
    QTimer::singleShot(200, &window, &vexo::FTPWIN::FTPCONNECT);
    return window.exec();
}
