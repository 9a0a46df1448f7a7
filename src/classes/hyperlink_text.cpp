#include "classes/hyperlink_text.h"

#include "classes/bitmap_file.h"

#include "platform/shell_open.h"
#include "resources/resource_library.h"

#include <QImage>
#include <QMouseEvent>

namespace vexo {

QColor predefinedColour(int number)
{
    switch (number) {
    case 0: return QColor(0, 0, 0);
    case 1: return QColor(0, 0, 255);
    case 2: return QColor(0, 255, 0);
    case 3: return QColor(0, 255, 255);
    case 4: return QColor(255, 0, 0);
    case 7: return QColor(255, 255, 255);
    default: return QColor();
    }
}

FTHBRUSH_::FTHBRUSH_(const QColor &colour, Qt::BrushStyle style) : m_brush(colour, style) {}

FTHBRUSH_::~FTHBRUSH_()
{
    AXIT();
}

void FTHBRUSH_::Destroy()
{
    m_brush = QBrush();
    m_destroyed = true;
}

FIXEDTEXTHYPERLINK::FIXEDTEXTHYPERLINK(QWidget *owner, const QString &caption)
    : QLabel(caption, owner), m_brush(new FTHBRUSH_(predefinedColour(7)))
{
    QPalette pal = palette();
    pal.setColor(QPalette::WindowText, predefinedColour(1));
    pal.setBrush(QPalette::Window, m_brush->brush());
    setPalette(pal);
    setAutoFillBackground(true);
}

FIXEDTEXTHYPERLINK::~FIXEDTEXTHYPERLINK()
{
    delete m_brush;
}

QString FIXEDTEXTHYPERLINK::target() const
{
    return LINK.isEmpty() ? text() : LINK;
}

void FIXEDTEXTHYPERLINK::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        shellOpener().open(parentWidget() ? parentWidget() : this, target()); // the answer is not used
    QLabel::mousePressEvent(event);
}

void FIXEDTEXTHYPERLINK::MOUSEENTER()
{
    m_saved = cursor();
    setCursor(ResourceLibrary::cursor(QStringLiteral("CURSOR_HAND")));
}

void FIXEDTEXTHYPERLINK::MOUSEEXIT()
{
    if (m_saved)
        setCursor(*m_saved);
    else
        unsetCursor();
}

VOBITMAPFROMDISK::VOBITMAPFROMDISK(const QVariant &, const QString &file)
{
    const QImage image = loadBitmapFile(file);
    if (!image.isNull())
        m_pixmap = QPixmap::fromImage(image);
}

} // namespace vexo
