#pragma once

#include "controls/barray_server.h"

#include <QBrush>
#include <QColor>
#include <QFont>
#include <QList>
#include <QSet>
#include <QString>

#include <functional>
#include <optional>

namespace vexo {

class BBROWSER;

// Line style of a grid area: a style number (0 none, 1 solid thin; other numbers draw solid thin
// lines too) and a colour.
struct BGRID
{
    int style = 1;
    QColor colour = Qt::lightGray;
};

// How a caption or data area looks; unset members take the grid's (or Qt's) defaults. `option` is
// kept for owners that pass a view option value; it changes nothing in the drawing.
struct BVIEWSTYLE
{
    std::optional<QColor> foreground;
    std::optional<QBrush> background;
    std::optional<Qt::Alignment> alignment;
    std::optional<QFont> font;
    std::optional<BGRID> grid;
    int option = 0;
};

// A colour condition: when `test` holds for a record, its row (or, on a column, its cell) is drawn
// with the text colour and background given. The test sees the server and the record number and must
// not move the server (use valueAt/textAt).
struct BCOLORCONDITION
{
    using Test = std::function<bool(const BARRAYSERVER &server, int recNo)>;
    Test test;
    std::optional<QColor> foreground;
    std::optional<QBrush> background;

    // "Server:RecNo%2>0": the record number is odd.
    static Test oddRecNo();
    // "Server:OrderKeyNo()%2>0": the row's position in the running order is odd.
    static Test oddOrderPosition();
    // The "*" test: the field's text, without leading blanks, begins with "*".
    static Test startsWithStar(const QString &fieldName);
    // A per-record predicate the owner keeps (for example its stock list); records the predicate
    // does not know answer false.
    static Test byRecord(std::function<bool(int recNo)> predicate);
};

// Predicate over a list of flags kept by the owner: true when the record lies within the list and its
// flag is false (the out-of-stock test). The list is read at each call, so later changes count.
std::function<bool(int recNo)> flagIsFalse(const QList<bool> *flags);

// A column of the grid over one field of the server (FIELDNO from 1), or, for a tick column, over no
// field. The column belongs to its grid.
class BDATACOLUMN
{
public:
    BDATACOLUMN(const QString &name, int fieldNo);
    virtual ~BDATACOLUMN();

    const QString &NAME() const { return name_; }
    int FIELDNO() const { return fieldNo_; }

    // The caption; "\r\n" or "\n" breaks it into lines.
    const QString &CAPTION() const { return caption_; }
    void setCAPTION(const QString &caption);
    QStringList captionLines() const;
    const std::optional<BVIEWSTYLE> &CAPTIONVIEW() const { return captionView_; }
    void setCAPTIONVIEW(const BVIEWSTYLE &style);

    Qt::Alignment ALIGNMENT() const { return alignment_; }
    void setALIGNMENT(Qt::Alignment a);
    bool hasAlignment() const { return alignmentSet_; }
    bool EDITABLE() const { return editable_; }
    void setEDITABLE(bool on) { editable_ = on; }
    bool SELECTABLE() const { return selectable_; }
    void setSELECTABLE(bool on) { selectable_ = on; }
    const std::optional<QColor> &FOREGROUND() const { return foreground_; }
    void setFOREGROUND(const QColor &c) { foreground_ = c; }
    const std::optional<QBrush> &BACKGROUND() const { return background_; }
    void setBACKGROUND(const QBrush &b) { background_ = b; }

    // Cell colour conditions of this column, tested after the grid's row conditions.
    const QList<BCOLORCONDITION> &colorConditions() const { return conditions_; }
    void addCOLORCONDITION(const BCOLORCONDITION &c) { conditions_.append(c); }

    // Width in pixels. CALCULATEWIDTH sizes the column from its caption lines and its field's width
    // in the grid's fonts.
    int WIDTH() const { return width_; }
    void setWIDTH(int pixels);
    void CALCULATEWIDTH();

    BBROWSER *grid() const { return grid_; }
    BARRAYSERVER *SERVER() const;
    // The current row's value of the column's field (nothing for a tick column).
    virtual QVariant VALUE() const;
    // The text a cell shows for a record.
    virtual QString textFor(int recNo) const;
    virtual bool isCheckColumn() const { return false; }
    // L fields and tick columns draw as check boxes.
    bool showsCheckBox() const;

    void attach__(BBROWSER *grid) { grid_ = grid; }

private:
    void changed();

    QString name_;
    int fieldNo_ = 0;
    QString caption_;
    std::optional<BVIEWSTYLE> captionView_;
    Qt::Alignment alignment_ = Qt::AlignLeft | Qt::AlignVCenter;
    bool alignmentSet_ = false;
    bool editable_ = true;
    bool selectable_ = true;
    std::optional<QColor> foreground_;
    std::optional<QBrush> background_;
    QList<BCOLORCONDITION> conditions_;
    int width_ = 80;
    BBROWSER *grid_ = nullptr;
};

// A tick column: draws a check box per record and keeps the list of ticked record numbers itself (the
// ticks are not data of the server). CHECK, UNCHECK and CHECKED act on the grid's current record.
class BCHECKCOLUMN : public BDATACOLUMN
{
public:
    explicit BCHECKCOLUMN(const QString &name);

    bool isCheckColumn() const override { return true; }
    QVariant VALUE() const override;
    QString textFor(int) const override { return {}; }

    bool CHECKED() const;
    bool isChecked(int recNo) const { return checked_.contains(recNo); }
    void CHECK();
    void UNCHECK();
    void UNCHECKALL();
    void toggle(int recNo);
    int CHECKEDCOUNT() const { return int(checked_.size()); }
    // Ticked record numbers in the order they were ticked.
    const QList<int> &checkedRecords() const { return checked_; }

private:
    void repaint();
    QList<int> checked_;
};

} // namespace vexo
