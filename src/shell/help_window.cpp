#include "shell/help_window.h"

#include "shell/help_topics.h"

#include <QFile>
#include <QTextBrowser>
#include <QVBoxLayout>

// The pages are compiled into this library; a static library has to register them itself.
static void registerHelpPages()
{
    Q_INIT_RESOURCE(help);
}

static void initHelpPages()
{
    static const bool once = (registerHelpPages(), true);
    (void)once;
}

namespace vexo {

HelpWindow::HelpWindow(QWidget *owner) : QDialog(owner)
{
    initHelpPages();
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(QStringLiteral("VEXO_Zud 2.6 Yardım"));
    setModal(false);
    browser_ = new QTextBrowser(this);
    browser_->setOpenLinks(true);
    browser_->setSearchPaths({QStringLiteral(":/help")});
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(browser_);
    resize(560, 480);
}

QString HelpWindow::pageOf(const QString &topic)
{
    initHelpPages();
    const QString file = helpPageFile(topic);
    const QString path = QStringLiteral(":/help/") + file;
    return !file.isEmpty() && QFile::exists(path) ? path : QString();
}

bool HelpWindow::showTopic(const QString &topic)
{
    QString page = pageOf(topic);
    const bool found = !page.isEmpty();
    if (!found)
        page = pageOf(kHelpIndexTopic);
    if (page.isEmpty())
        return false;
    browser_->setSource(QUrl(QStringLiteral("qrc") + page));
    topic_ = found ? topic : kHelpIndexTopic;
    show();
    raise();
    return found;
}

} // namespace vexo
