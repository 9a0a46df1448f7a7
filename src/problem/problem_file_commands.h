#pragma once

#include <QString>

#include <optional>

class QWidget;

namespace vexo {

// What the file commands need of the main window. The window implements it; tests give a fake.
class ProblemFileHost
{
public:
    virtual ~ProblemFileHost() = default;
    virtual QWidget *owner() = 0;
    virtual void setCaption(const QString &caption) = 0;
    virtual void STATUSMESSAGE(const QString &text) = 0;
    // Closes every editor and report pad (they commit first); false when one refused to close.
    virtual bool closeEditors() = 0;
    // Asks the open editors to commit their rows without closing.
    virtual void WHOCHANGES() = 0;
    virtual void MI_ENADISABLE() = 0;
    virtual void YM_GIRIS() = 0;
    virtual void OBFIRST() = 0;
    // The new-file name dialog: the trimmed name, or nothing when cancelled.
    virtual std::optional<QString> askNewFileName() = 0;

    // A file that New has just created; the opening step reads and clears it.
    bool LNEWFILE = false;
};

// The file menu's commands over the open problem. Every message goes through the message seam, every
// file chooser through the file-dialog seam.
bool FILEOPEN(ProblemFileHost &host);
bool DOOPENFILE(ProblemFileHost &host, const QString &path);
void YENIDOSYAGIR(ProblemFileHost &host);
// Closes the open problem, offering to save changes first; false (the problem stays open) when the
// editors refused to close or the offered save failed.
bool FILECLOSE(ProblemFileHost &host);
// Commits the editors and saves; a failed save is told and keeps the changes marked.
bool KAYDET(ProblemFileHost &host);
bool FKAYDET(ProblemFileHost &host);
// Converts an opened file of the older layout in place; the original stays as it was on any failure.
bool ESKIDDONUSTUR(ProblemFileHost &host, const QString &path);

// The caption for an open file: the name alone when it lies in the data folder, else the full path.
QString problemCaption(const QString &path);

} // namespace vexo
