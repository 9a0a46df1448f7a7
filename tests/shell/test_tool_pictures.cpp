// Every tool bar of the program shows a picture on each of its buttons, never the button's text, and
// a command that has a drawing of its own shows that one.
#include "controls/menu_builder.h"
#include "controls/shell_menus.h"
#include "editors/editor_menus.h"
#include "matrix/bamat_gir_win.h"
#include "matrix/group_menus.h"
#include "reports/pad_menus.h"
#include "resources/resource_library.h"

#include <QAction>
#include <QToolBar>

#include <gtest/gtest.h>

namespace vexo {
namespace {

std::vector<MenuTable> tablesWithToolBars()
{
    return {emptyShellMenu(), standardShellMenu(), ymGirMenu(), bmGirMenu(), bmoGirMenu(),
            amatGirMenu(),    ymGrubuMenu(),       standardPadMenu()};
}

TEST(ToolPictures, EveryButtonOfEveryToolBarHasAPicture)
{
    for (const MenuTable &t : tablesWithToolBars()) {
        ASSERT_FALSE(t.tools.empty()) << t.name.toStdString();
        BuiltMenu built(t, [](const QString &) {});
        ASSERT_NE(built.toolBar(), nullptr);
        int buttons = 0;
        for (QAction *a : built.toolBar()->actions()) {
            if (a->isSeparator())
                continue;
            ++buttons;
            EXPECT_FALSE(a->icon().isNull()) << t.name.toStdString() << ": " << a->toolTip().toStdString();
        }
        EXPECT_GT(buttons, 0);
    }
}

TEST(ToolPictures, ACommandWithItsOwnDrawingShowsIt)
{
    // Closing a window and closing the data file share a number; so do solving and linking.
    EXPECT_EQ(toolBarPictureName(3, QStringLiteral("CLOSE")), QStringLiteral("TB3_CLOSE"));
    EXPECT_EQ(toolBarPictureName(3, QStringLiteral("FILECLOSE")), QStringLiteral("TB3"));
    EXPECT_EQ(toolBarPictureName(90, QStringLiteral("BMBAGLA")), QStringLiteral("TB90_BMBAGLA"));
    EXPECT_EQ(toolBarPictureName(90, QString()), QStringLiteral("TB90"));
    for (const QString &name : {QStringLiteral("TB3_CLOSE"), QStringLiteral("TB3"), QStringLiteral("TB90_BMBAGLA")})
        EXPECT_TRUE(ResourceLibrary::contains(name)) << name.toStdString();
}

} // namespace
} // namespace vexo
