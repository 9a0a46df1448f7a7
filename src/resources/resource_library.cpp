#include "resources/resource_library.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QIconEngine>
#include <QPainter>
#include <QPoint>
#include <QSvgRenderer>

// A .qrc inside a static library is only linked in when something names its initialiser.
static void registerCompiledPictures()
{
    Q_INIT_RESOURCE(resources);
}

namespace vexo {

namespace {

const QString kFolder = QStringLiteral(":/vexo/pictures/");

// Cursor pictures carry no hot spot of their own; these are the points the pointer acts at.
const QHash<QString, QPoint> &hotSpots()
{
    static const QHash<QString, QPoint> spots{
        {QStringLiteral("JOVVSPLITBARCURSOR"), QPoint(12, 10)},
        {QStringLiteral("JOVHSPLITBARCURSOR"), QPoint(10, 12)},
        {QStringLiteral("CURSOR_HAND"), QPoint(12, 1)},
    };
    return spots;
}

// The stored file of a picture, or an empty text. Files are stored under their upper-case names, so
// upper-casing the request is the whole case-blind lookup (ASCII only: no Turkish dotted I here).
QString fileOf(const QString &name)
{
    initResources();
    const QString key = name.trimmed().toUpper();
    if (key.isEmpty())
        return {};
    for (const char *ext : {".svg", ".png"}) {
        const QString file = kFolder + key + QLatin1String(ext);
        if (QFile::exists(file))
            return file;
    }
    return {};
}

// Renders an SVG afresh at whatever size is asked, so a 32-pixel drawing stays sharp at 21 or 48.
class SvgIconEngine : public QIconEngine
{
public:
    explicit SvgIconEngine(const QString &file) : m_file(file) {}

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override
    {
        painter->drawPixmap(rect, pixmap(rect.size() * painter->device()->devicePixelRatio(), mode, state));
    }

    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State) override
    {
        QImage image(size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QSvgRenderer renderer(m_file);
        QPainter p(&image);
        renderer.render(&p);
        p.end();
        if (mode == QIcon::Disabled) {
            // A pale grey copy, as the platform draws a disabled picture.
            for (int y = 0; y < image.height(); ++y) {
                auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
                for (int x = 0; x < image.width(); ++x) {
                    const QRgb c = line[x];
                    const int a = qAlpha(c);
                    const int g = qGray(c) / 2 + a * 3 / 8; // premultiplied: stay within alpha
                    line[x] = qRgba(g, g, g, a);
                }
            }
        }
        return QPixmap::fromImage(image);
    }

    QSize actualSize(const QSize &size, QIcon::Mode, QIcon::State) override { return size; }
    QIconEngine *clone() const override { return new SvgIconEngine(m_file); }
    QString key() const override { return QStringLiteral("vexo-svg"); }

private:
    QString m_file;
};

} // namespace

void initResources()
{
    static const bool done = [] {
        registerCompiledPictures();
        return true;
    }();
    Q_UNUSED(done);
}

bool ResourceLibrary::contains(const QString &name)
{
    return !fileOf(name).isEmpty();
}

QSize ResourceLibrary::nativeSize(const QString &name)
{
    const QString file = fileOf(name);
    if (file.isEmpty())
        return {};
    if (file.endsWith(QLatin1String(".png")))
        return QImage(file).size();
    return QSvgRenderer(file).defaultSize();
}

QIcon ResourceLibrary::icon(const QString &name)
{
    const QString file = fileOf(name);
    if (file.isEmpty())
        return {};
    if (file.endsWith(QLatin1String(".png")))
        return QIcon(QPixmap(file));
    return QIcon(new SvgIconEngine(file));
}

QPixmap ResourceLibrary::pixmap(const QString &name)
{
    const QString file = fileOf(name);
    if (file.isEmpty())
        return {};
    if (file.endsWith(QLatin1String(".png")))
        return QPixmap(file);
    SvgIconEngine engine(file);
    return engine.pixmap(QSvgRenderer(file).defaultSize(), QIcon::Normal, QIcon::Off);
}

QCursor ResourceLibrary::cursor(const QString &name)
{
    const QString key = name.trimmed().toUpper();
    const auto spot = hotSpots().constFind(key);
    const QPixmap picture = pixmap(key);
    if (spot == hotSpots().constEnd() || picture.isNull())
        return QCursor(Qt::ArrowCursor);
    return QCursor(picture, spot->x(), spot->y());
}

QStringList ResourceLibrary::names()
{
    initResources();
    QStringList result;
    const QDir dir(kFolder);
    for (const QString &file : dir.entryList(QDir::Files, QDir::Name))
        result << file.section(QLatin1Char('.'), 0, 0);
    return result;
}

} // namespace vexo
