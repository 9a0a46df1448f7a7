#pragma once

#include "controls/menu_table.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <vector>

namespace vexo {

// The topics of the main window's help commands.
inline const QString kHelpIndexTopic = QStringLiteral("HelpIndex");
inline const QString kHelpContentsTopic = QStringLiteral("HelpContents");

// A page of the help (its file under the help resources) and the topics that open it.
struct HelpPage
{
    QString file;
    QStringList topics;
};

// Every page with its topics.
const QList<HelpPage> &helpPages();

// The page file a topic opens; empty when no page has it. Topics are compared without the blanks
// around them and without regard to case; the blank topic (a menu item's help context of one blank)
// is the index's.
QString helpPageFile(const QString &topic);

// Every menu table of the program: the main window's, the editors', the group window's, the matrix
// editors', the report pad's and the updater's, context menus included.
std::vector<MenuTable> programMenuTables();

// Every help topic the program names: the help commands' topics, each window's help keyword and each
// menu row's help context. Each has its page (helpPageFile).
QStringList programHelpTopics();

} // namespace vexo
