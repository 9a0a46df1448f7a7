#include "shell/help_topics.h"

#include "controls/shell_menus.h"
#include "editors/editor_menus.h"
#include "editors/editor_traits.h"
#include "matrix/bamat_gir_win.h"
#include "matrix/group_menus.h"
#include "matrix/group_window.h"
#include "refdb/rm_edit_window.h"
#include "reports/pad_menus.h"
#include "reports/report_pads.h"
#include "updater/vo_ftp_win.h"

namespace vexo {

namespace {

QString s(const char *text)
{
    return QString::fromUtf8(text);
}

} // namespace

const QList<HelpPage> &helpPages()
{
    static const QList<HelpPage> pages = {
        {s("helpindex.html"), {kHelpIndexTopic, s("Help_Index")}},
        {s("helpcontents.html"), {kHelpContentsTopic}},
        {s("yardim.html"), {s("Help_ContextHelp")}},
        {s("girisler.html"), {}},
        {s("dosya.html"), {}},
        {s("sayilar.html"), {}},
        {s("yem_maddeleri.html"), {editorTraits(EditorKind::Ingredient).helpKeyword}},
        {s("besin_maddeleri.html"), {editorTraits(EditorKind::Nutrient).helpKeyword}},
        {s("oranlar.html"), {editorTraits(EditorKind::Ratio).helpKeyword}},
        {s("gruplar.html"), {BYM_GRUBU_WIN::helpKeyword()}},
        {s("aktif_matris.html"), {BAMAT_GIR_WIN::helpKeyword()}},
        {s("cozum.html"), {}},
        {s("rapor.html"), {}},
        {s("rapor_editoru.html"),
         {ReportPads::helpKeyword(), s("File"), s("File_New"), s("File_Open"), s("File_Save"), s("File_Save_As"),
          s("File_Print"), s("File_Printer_Setup"), s("SetFont"), s("Undo")}},
        {s("referans_matris.html"), {RM_EDIT_WINDOW::helpKeyword()}},
        {s("yedekleme.html"), {}},
        {s("yazim.html"),
         {s("Edit"), s("Cut"), s("Copy"), s("Paste"), s("Append"), s("Delete"), s("GoTop"), s("SkipPrevious"),
          s("SkipNext")}},
        {s("pencere.html"), {s("WindowCascade"), s("WindowTile")}},
    };
    return pages;
}

QString helpPageFile(const QString &topic)
{
    const QString wanted = topic.trimmed();
    if (wanted.isEmpty())
        return helpPageFile(kHelpIndexTopic);
    for (const HelpPage &page : helpPages()) {
        for (const QString &name : page.topics) {
            if (name.compare(wanted, Qt::CaseInsensitive) == 0)
                return page.file;
        }
    }
    return {};
}

std::vector<MenuTable> programMenuTables()
{
    std::vector<MenuTable> tables = {
        emptyShellMenu(), standardShellMenu(), amatGirMenu(), amContMenu(), ymGrubuMenu(), ymgContMenu(),
        dwContMenu(),     standardPadMenu(),   edContMenu(),  fbMenu(),     lbMenu(),
    };
    for (EditorKind kind : {EditorKind::Ingredient, EditorKind::Nutrient, EditorKind::Ratio}) {
        tables.push_back(editorMenu(kind));
        tables.push_back(editorContextMenu(kind));
    }
    return tables;
}

QStringList programHelpTopics()
{
    QStringList topics = {kHelpIndexTopic, kHelpContentsTopic, BYM_GRUBU_WIN::helpKeyword(),
                          BAMAT_GIR_WIN::helpKeyword(), RM_EDIT_WINDOW::helpKeyword(), ReportPads::helpKeyword()};
    for (EditorKind kind : {EditorKind::Ingredient, EditorKind::Nutrient, EditorKind::Ratio})
        topics << editorTraits(kind).helpKeyword;
    for (const MenuTable &table : programMenuTables()) {
        for (const MenuRow &row : table.rows) {
            if (!row.help.isEmpty())
                topics << row.help;
        }
    }
    topics.removeDuplicates();
    return topics;
}

} // namespace vexo
