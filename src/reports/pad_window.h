#pragma once

#include "controls/command_registry.h"
#include "controls/menu_builder.h"
#include "controls/shell_host.h"

#include <QPointer>
#include <QString>
#include <QWidget>

#include <memory>

namespace vexo {

class QVRICHEDIT;

// The report pad: one document, plain or rich text, in the pad's rich-text control under a 25-pixel
// ruler. The main window's pad list creates it, names it, fills it and shows it in the canvas; the
// pad tells the list when it was edited, when it closed and when it asks for every pad to close.
// Documents are saved into the default data folder under the pad's name.
class PADWIN : public QWidget, public ShellChild
{
    Q_OBJECT
public:
    explicit PADWIN(QWidget *owner = nullptr);
    ~PADWIN() override;

    // The ruler's page edge in pixels (after set-up; 14400 twips while the pad is built).
    int NWIDTH = 0;
    // The margins last confirmed in the margin dialog, in twips.
    int NLEFTMARGIN = 0;
    int NRIGHTMARGIN = 14400;

    QVRICHEDIT *ODCRICHEDIT() const { return m_edit; }

    // The document was edited since it was loaded or saved.
    bool LCHANGE() const { return m_changed; }
    void LCHANGE(bool changed) { m_changed = changed; }
    // The document's name without folder ("Adsız1" for a new one); also the caption.
    const QString &CFNAME() const { return m_name; }
    void setCFNAME(const QString &name);

    // Fills the control: rich text from a rich-text document, plain text otherwise. False when the file
    // cannot be read.
    bool loadFile(const QString &path);
    void setPlainText(const QString &text);
    // The control's text as plain text, lines ended by "\n".
    QString plainText() const;

    // The pad's own commands, by name ("RTFSAVE", "CUT", "YAZıM_DÜZENLE_SOL", ...); false when the
    // pad has none of that name.
    bool runCommand(const QString &name) { return m_commands.run(name); }

    // The pad menu the main window shows while the pad is active; the pad list owns it.
    BuiltMenu *childMenu() override { return m_menu.data(); }
    void setChildMenu(BuiltMenu *menu) { m_menu = menu; }
    CommandRegistry &childCommands() override { return m_commands; }
    // The context menu of the pad's text.
    BuiltMenu *contextMenu() const { return m_context.get(); }

    bool MENUCOMMAND(const QString &name);
    void RTFALIGN(int alignment); // 1 left, 2 right, 3 centre
    void COPY();
    void CUT();
    void PASTE();
    void SELECTALL();
    void FILEPRINT();
    void SETFONT();
    void SETMARGINS();
    // Saves under the pad's name in the data folder (a new document asks a name). False when nothing
    // was saved: the dialog was cancelled, the user kept an existing file, or the write failed.
    bool RTFSAVE();
    bool RTFSAVEAS();
    void SAVEASASCII() {}
    // Asks whether to save a changed document; false when the pad must stay open.
    bool SONKONT();
    // Closes the pad (its MDI frame when it has one) through the save question.
    bool CLOSE();
    void CLOSEALL();
    void WIN_HESMAK();

signals:
    // The first edit after a load or a save: "&Kaydet" becomes available.
    void edited(PADWIN *pad);
    // The pad closed: the list drops it (RE_REMOVECHILD).
    void closed(PADWIN *pad);
    // "Hepsini Kapat": the list closes every pad (CLOSINGCHILD).
    void closeAllRequested();
    // A text for the main window's status bar.
    void statusMessage(const QString &text);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void POSTINIT();
    void INITAPPEARANCE();
    void EDITCHANGE();
    bool saveTo(const QString &path, bool rich);

    QVRICHEDIT *m_edit = nullptr;
    CommandRegistry m_commands;
    QPointer<BuiltMenu> m_menu;
    std::unique_ptr<BuiltMenu> m_context;
    QString m_name;
    bool m_changed = false;
    bool m_loading = false;
};

} // namespace vexo
