#pragma once

#include "controls/command_registry.h"
#include "controls/shell_host.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <memory>

namespace vexo {

class BuiltMenu;
class PADWIN;

// The main window's report pads: the list of open pads (at most ten), the pad menu that replaces the
// main menu while any is open, the numbering of new documents, and the pads' part in the main
// window's close-all. One list serves one main window and lives as long as it.
class ReportPads : public QObject, public CloseParticipant
{
    Q_OBJECT
public:
    explicit ReportPads(ShellHost &host);
    ~ReportPads() override;

    // Shows the pad menu and opens the last text report, or a new document when there is none. After
    // a PDF summary it opens that document in the PDF viewer instead, and the main menu stays.
    void REPORTPAD();
    // Creates, fills, registers and shows a pad; false (and no pad) when the file cannot be read.
    bool RE_NEWEDITWINDOW(const QString &path, bool readOnly = false);
    // Opens a ".TXT" or ".RTF" file in a new pad while fewer than ten are open.
    bool RE_DOOPENFILE(const QString &path, bool readOnly = false);
    // The open dialog for pad documents.
    bool RE_FILEOPEN();
    // A new empty pad named "Adsız" and the next number.
    void RE_FILENEW();
    void RE_ADDCHILD(PADWIN *pad);
    // Drops the pad from the list; the last one brings the main menu back.
    void RE_REMOVECHILD(PADWIN *pad);
    void RETURNTOMAIN();
    // Opens every dropped file that exists.
    void DROP(const QStringList &paths);
    void FILEPRINTERSETUP();
    // Help for the pads: the topic helpKeyword().
    void RE_CONTEXTHELP();
    static QString helpKeyword() { return QStringLiteral("Rapor Editörü"); }
    // Closes every pad and brings the main menu back when none is left.
    void CLOSINGCHILD();
    // Closes every pad, whatever its name, and answers how many ended. It stops at the first pad
    // whose save question was cancelled (CLOSINGREFUSED() then answers true).
    int CLOSINGCHILD2();
    bool CLOSINGREFUSED() const { return m_refused; }

    QList<PADWIN *> GETCHILDWINDOWS() const;
    // The first live pad whose name is `name` (every pad is named "PADWIN").
    PADWIN *GETCHILDWINDOW(const QString &name) const;
    // The pad of the canvas's current child, if it is one of the list.
    PADWIN *activePad() const;

    // The pad menu while it exists.
    BuiltMenu *padMenu() const;
    int untitledCounter() const { return m_untitled; }

    ShellHost &host() const { return m_host; }
    QWidget *window() const { return m_window.data(); }

    bool hasWindows() const override { return !GETCHILDWINDOWS().isEmpty(); }
    bool closeAll() override;

private:
    BuiltMenu &ensurePadMenu();
    void dispatch(const QString &command);
    bool tooManyPads();

    ShellHost &m_host;
    QPointer<QWidget> m_window;
    CommandRegistry m_commands;
    QList<QPointer<PADWIN>> m_pads;
    std::unique_ptr<BuiltMenu> m_menu;
    int m_untitled = 0;
    bool m_refused = false;
};

// The pad list of the current main window, made on first use; null while there is no main window.
ReportPads *reportPads();

// Registers the report pads' commands (REPORTPAD, RE_FILENEW, RE_FILEOPEN, FILEPRINTERSETUP,
// RE_CONTEXTHELP, CLOSINGCHILD) with the main window's commands.
void installReportCommands();

} // namespace vexo
