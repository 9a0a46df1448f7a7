#include "controls/bdata_column.h"

#include "controls/bbrowser.h"

#include <QDate>
#include <QFontMetrics>

#include <algorithm>

namespace vexo {

BCOLORCONDITION::Test BCOLORCONDITION::oddRecNo()
{
    return [](const BARRAYSERVER &, int recNo) { return recNo % 2 > 0; };
}

BCOLORCONDITION::Test BCOLORCONDITION::oddOrderPosition()
{
    return [](const BARRAYSERVER &server, int recNo) { return server.positionOf(recNo) % 2 > 0; };
}

BCOLORCONDITION::Test BCOLORCONDITION::startsWithStar(const QString &fieldName)
{
    return [fieldName, pos = 0](const BARRAYSERVER &server, int recNo) mutable {
        if (pos == 0 || server.FIELDNAME(pos).compare(fieldName, Qt::CaseInsensitive) != 0)
            pos = server.FIELDPOS(fieldName);
        const QString text = server.textAt(recNo, pos);
        for (QChar c : text)
            if (c != u' ')
                return c == u'*';
        return false;
    };
}

BCOLORCONDITION::Test BCOLORCONDITION::byRecord(std::function<bool(int)> predicate)
{
    return [predicate = std::move(predicate)](const BARRAYSERVER &, int recNo) {
        return predicate && predicate(recNo);
    };
}

std::function<bool(int)> flagIsFalse(const QList<bool> *flags)
{
    return [flags](int recNo) { return flags && recNo >= 1 && recNo <= flags->size() && !flags->at(recNo - 1); };
}

BDATACOLUMN::BDATACOLUMN(const QString &name, int fieldNo) : name_(name), fieldNo_(fieldNo), caption_(name)
{
}

BDATACOLUMN::~BDATACOLUMN() = default;

void BDATACOLUMN::changed()
{
    if (grid_)
        grid_->columnChanged__(this);
}

void BDATACOLUMN::setCAPTION(const QString &caption)
{
    caption_ = caption;
    changed();
}

QStringList BDATACOLUMN::captionLines() const
{
    QString c = caption_;
    c.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    c.replace(u'\r', u'\n');
    return c.split(u'\n');
}

void BDATACOLUMN::setCAPTIONVIEW(const BVIEWSTYLE &style)
{
    captionView_ = style;
    changed();
}

void BDATACOLUMN::setALIGNMENT(Qt::Alignment a)
{
    alignment_ = a;
    alignmentSet_ = true;
    changed();
}

void BDATACOLUMN::setWIDTH(int pixels)
{
    pixels = std::max(pixels, 4);
    if (pixels == width_)
        return;
    width_ = pixels;
    changed();
}

void BDATACOLUMN::CALCULATEWIDTH()
{
    const QFont dataFont = grid_ ? grid_->dataFont() : QFont();
    const QFont captionFont = grid_ ? grid_->captionFont(this) : QFont();
    const QFontMetrics dm(dataFont);
    const QFontMetrics cm(captionFont);
    int w = 0;
    for (const QString &line : captionLines())
        w = std::max(w, cm.horizontalAdvance(line));
    int chars = 0;
    if (const BARRAYSERVER *s = SERVER(); s && s->field(fieldNo_))
        chars = s->field(fieldNo_)->width;
    if (showsCheckBox())
        w = std::max(w, 16);
    else
        w = std::max(w, chars * dm.horizontalAdvance(u'0'));
    setWIDTH(w + 10);
}

BARRAYSERVER *BDATACOLUMN::SERVER() const
{
    return grid_ ? grid_->SERVER() : nullptr;
}

QVariant BDATACOLUMN::VALUE() const
{
    const BARRAYSERVER *s = SERVER();
    return s ? s->FIELDGET(fieldNo_) : QVariant();
}

QString BDATACOLUMN::textFor(int recNo) const
{
    const BARRAYSERVER *s = SERVER();
    if (!s)
        return {};
    const ServerField *f = s->field(fieldNo_);
    if (!f)
        return {};
    const QVariant v = s->valueAt(recNo, fieldNo_);
    switch (f->type.unicode()) {
    case u'N':
        return QString::number(v.toDouble(), 'f', f->decimals);
    case u'L':
        return v.toBool() ? QStringLiteral("T") : QStringLiteral("F");
    case u'D':
        return v.toDate().toString(QStringLiteral("dd.MM.yyyy"));
    default:
        return v.toString();
    }
}

bool BDATACOLUMN::showsCheckBox() const
{
    if (isCheckColumn())
        return true;
    const BARRAYSERVER *s = SERVER();
    const ServerField *f = s ? s->field(fieldNo_) : nullptr;
    return f && f->type == u'L' && (!grid_ || grid_->checkBoxView());
}

BCHECKCOLUMN::BCHECKCOLUMN(const QString &name) : BDATACOLUMN(name, 0)
{
    setALIGNMENT(Qt::AlignCenter);
}

QVariant BCHECKCOLUMN::VALUE() const
{
    return CHECKED();
}

bool BCHECKCOLUMN::CHECKED() const
{
    const BARRAYSERVER *s = SERVER();
    return s && !s->eof() && checked_.contains(s->RECNO());
}

void BCHECKCOLUMN::CHECK()
{
    const BARRAYSERVER *s = SERVER();
    if (s && !s->eof() && !checked_.contains(s->RECNO())) {
        checked_.append(s->RECNO());
        repaint();
    }
}

void BCHECKCOLUMN::UNCHECK()
{
    const BARRAYSERVER *s = SERVER();
    if (s && checked_.removeAll(s->RECNO()) > 0)
        repaint();
}

void BCHECKCOLUMN::UNCHECKALL()
{
    if (!checked_.isEmpty()) {
        checked_.clear();
        repaint();
    }
}

void BCHECKCOLUMN::toggle(int recNo)
{
    if (checked_.removeAll(recNo) == 0)
        checked_.append(recNo);
    repaint();
}

void BCHECKCOLUMN::repaint()
{
    if (grid())
        grid()->repaintCells();
}

} // namespace vexo
