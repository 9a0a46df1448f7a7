#pragma once

#include "shell/tip_of_the_day.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace vexo {

// The "Günün Tüyosu" dialog: one tip of the table at a time, paging forwards and backwards, and the
// "Başlarken göster" box. The caller sets TIP, LASTTIP and SHOWONSTARTUP, then calls SHOW.
class WINTIPOFDAY : public QDialog
{
    Q_OBJECT

public:
    explicit WINTIPOFDAY(QWidget *owner);

    void TIP(const QList<TipRow> &table);
    const QList<TipRow> &TIP() const { return m_tips; }
    quint32 LASTTIP() const { return m_pager.current(); }
    void LASTTIP(quint32 row) { m_pager.setCurrent(row); }
    bool SHOWONSTARTUP() const;
    void SHOWONSTARTUP(bool on);

    // Shows the next tip, then the dialog, modally; returns when it closes.
    int SHOW();

    void NEXTTIP();
    void PREVIOUSTIP();
    void LOADTIP();

    void PBNEXT() { NEXTTIP(); }
    void PBPREVIOUS() { PREVIOUSTIP(); }
    void PBCLOSE() { done(Accepted); }
    void PBMORE() { MOREINFO(); }
    virtual void MOREINFO() {}

    // For tests and the tip table's readers.
    QPushButton *previousButton() const { return m_previous; }
    QPushButton *nextButton() const { return m_next; }
    QPushButton *closeButton() const { return m_close; }
    QPushButton *moreButton() const { return m_more; }
    QCheckBox *showOnStartupBox() const { return m_showOnStartup; }
    QLabel *headingLabel() const { return m_heading; }
    QPlainTextEdit *tipTextEdit() const { return m_text; }

private:
    QList<TipRow> m_tips;
    TipPager m_pager;
    QPushButton *m_previous = nullptr;
    QPushButton *m_next = nullptr;
    QPushButton *m_close = nullptr;
    QPushButton *m_more = nullptr;
    QCheckBox *m_showOnStartup = nullptr;
    QLabel *m_heading = nullptr;
    QPlainTextEdit *m_text = nullptr;
};

// The program's tip dialog: "Daha fazla bilgi" tells where to read further: the paper in the program
// folder when it is there, the program's help when it is not.
class WTIPOFDAY : public WINTIPOFDAY
{
    Q_OBJECT

public:
    using WINTIPOFDAY::WINTIPOFDAY;
    void MOREINFO() override;
};

// The further-reading text, five lines.
QString tipMoreInfoText();
// The paper that text names, as the program folder holds it.
QString tipPaperPath();
// What "Daha fazla bilgi" says when the paper is not at `path`.
QString tipPaperMissingText(const QString &path);

} // namespace vexo
