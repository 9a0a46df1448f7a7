#include "shell/tip_of_the_day_dialog.h"

#include "platform/dialog_units.h"

#include "platform/message_sink.h"
#include "problem/app_globals.h"
#include "resources/resource_library.h"

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

namespace vexo {

namespace {

QFont makeFont(const char *family, int points, bool bold = false)
{
    QFont f(QString::fromLatin1(family), points);
    f.setStyleHint(QFont::SansSerif);
    f.setBold(bold);
    return f;
}

QPushButton *button(QWidget *parent, const QString &text, const QString &tip, const QRect &r)
{
    auto *b = new QPushButton(text, parent);
    b->setToolTip(tip);
    b->setGeometry(r);
    b->setAutoDefault(false);
    return b;
}

} // namespace

WINTIPOFDAY::WINTIPOFDAY(QWidget *owner)
    : QDialog(owner)
{
    const QFont dialogFont = makeFont("MS Sans Serif", 8);
    setFont(dialogFont);
    setWindowTitle(QStringLiteral("Günün Tüyosu"));
    setWindowIcon(ResourceLibrary::icon(QStringLiteral("VXOTOD")));
    setModal(true);
    auto dlu = [&](int x, int y, int w, int h) { return dluRect(dialogFont, x, y, w, h); };
    setFixedSize(dlu(0, 0, 240, 172).size());

    // The white panel first, so that the heading, picture, text and button stand on it.
    auto *backdrop = new QFrame(this);
    backdrop->setObjectName(QStringLiteral("ODCBACKDROP"));
    backdrop->setFrameShape(QFrame::Box);
    backdrop->setAutoFillBackground(true);
    QPalette white = backdrop->palette();
    white.setColor(QPalette::Window, Qt::white);
    white.setColor(QPalette::Base, Qt::white);
    backdrop->setPalette(white);
    backdrop->setGeometry(dlu(7, 8, 226, 128));

    auto *bulb = new QLabel(this);
    const QRect bulbRect = dlu(13, 12, 32, 29);
    bulb->setGeometry(bulbRect);
    const int bulbSide = std::min(bulbRect.width(), bulbRect.height());
    bulb->setPixmap(ResourceLibrary::icon(QStringLiteral("LIGHTBULB")).pixmap(bulbSide, bulbSide));
    bulb->setAlignment(Qt::AlignCenter);

    m_heading = new QLabel(this);
    m_heading->setObjectName(QStringLiteral("ODCTIPHEADING"));
    m_heading->setFont(makeFont("Arial", 12, true));
    QPalette red = white;
    red.setColor(QPalette::WindowText, Qt::red);
    m_heading->setPalette(red);
    m_heading->setAutoFillBackground(true);
    m_heading->setGeometry(dlu(46, 18, 186, 12));

    m_text = new QPlainTextEdit(this);
    m_text->setObjectName(QStringLiteral("ODCTIPTEXT"));
    m_text->setReadOnly(true);
    m_text->setFrameShape(QFrame::NoFrame);
    m_text->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_text->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_text->setFont(makeFont("MS Sans Serif", 10));
    QPalette blue = white;
    blue.setColor(QPalette::Text, Qt::blue);
    m_text->setPalette(blue);
    m_text->setGeometry(dlu(13, 43, 217, 74));
    m_text->setFocusPolicy(Qt::NoFocus);

    m_more = button(this, QStringLiteral("&Daha fazla bilgi"), QStringLiteral("Bu tüyo hakkında daha fazla bilgi"),
                    dlu(90, 119, 60, 12));
    m_showOnStartup = new QCheckBox(QStringLiteral("Başlarken göster"), this);
    m_showOnStartup->setToolTip(QStringLiteral("Program başladığında günün tüyosunu göster"));
    m_showOnStartup->setGeometry(dlu(6, 141, 67, 11));
    m_previous = button(this, QStringLiteral("< &Önceki"), QStringLiteral("Önceki tüyoyu gör"), dlu(73, 153, 48, 13));
    m_next = button(this, QStringLiteral("&Sonraki >"), QStringLiteral("Sonraki tüyoyu gör"), dlu(122, 153, 46, 13));
    m_close = button(this, QStringLiteral("&Kapat"), QStringLiteral("Günün tüyosunu kapat"), dlu(186, 153, 47, 13));
    m_close->setDefault(true);

    connect(m_previous, &QPushButton::clicked, this, [this] { PBPREVIOUS(); });
    connect(m_next, &QPushButton::clicked, this, [this] { PBNEXT(); });
    connect(m_close, &QPushButton::clicked, this, [this] { PBCLOSE(); });
    connect(m_more, &QPushButton::clicked, this, [this] { PBMORE(); });
}

void WINTIPOFDAY::TIP(const QList<TipRow> &table)
{
    m_tips = table;
    m_pager.setRowCount(int(table.size()));
}

bool WINTIPOFDAY::SHOWONSTARTUP() const
{
    return m_showOnStartup->isChecked();
}

void WINTIPOFDAY::SHOWONSTARTUP(bool on)
{
    m_showOnStartup->setChecked(on);
}

int WINTIPOFDAY::SHOW()
{
    NEXTTIP();
    m_close->setFocus();
    return exec();
}

void WINTIPOFDAY::NEXTTIP()
{
    m_pager.next();
    LOADTIP();
}

void WINTIPOFDAY::PREVIOUSTIP()
{
    m_pager.previous();
    LOADTIP();
}

void WINTIPOFDAY::LOADTIP()
{
    const quint32 row = m_pager.current();
    if (row < 1 || row > quint32(m_tips.size()))
        return;
    const TipRow &tip = m_tips.at(row - 1);
    m_heading->setText(tip.heading);
    m_text->setPlainText(tip.text);
    m_more->setVisible(tip.more);
    // Both states first: focus cannot go to a button that is still disabled.
    m_next->setEnabled(m_pager.nextEnabled());
    m_previous->setEnabled(m_pager.previousEnabled());
    if (!m_pager.nextEnabled())
        m_previous->setFocus();
    if (!m_pager.previousEnabled())
        m_next->setFocus();
}

namespace {

const QString kPaperTitle = QStringLiteral("VEXO_Zud: Doğrusal Programlama ile En Düşük Maliyetli Karma Yem "
                                           "Formülasyonu İçin Bir Bilgisayar Programı");

} // namespace

QString tipMoreInfoText()
{
    return QStringList{
        QStringLiteral("Daha  Fazla  bilgi  için,  program  katoloğunda  bulunan"),
        QStringLiteral("veya  program  dizininde  Word dosyası  olarak sunulan"),
        QStringLiteral("\"VEXO_Zud: Doğrusal Programlama ile En Düşük Maliyetli"),
        QStringLiteral("Karma Yem Formülasyonu İçin Bir Bilgisayar Programı\""),
        QStringLiteral("okuyunuz, ve programın yardım sistemini inceleyiniz."),
    }.join(u'\n');
}

QString tipPaperPath()
{
    const QString folder = appGlobals().CPROGDIZIN;
    return folder.isEmpty() ? QString() : QDir(folder).filePath(QStringLiteral("VEXO_Zud_Bildiri.doc"));
}

QString tipPaperMissingText(const QString &path)
{
    return QStringList{
        QStringLiteral("Daha fazla bilgi için programın yardım sistemini inceleyiniz:"),
        QStringLiteral("Yardım > İndeks (F1) ve Yardım > İçindekiler (F2)."),
        QString(),
        QStringLiteral("\"") + kPaperTitle + QStringLiteral("\" adlı Word belgesi"),
        QStringLiteral("program dizininde bulunamadı:"),
        QDir::toNativeSeparators(path.isEmpty() ? QStringLiteral("VEXO_Zud_Bildiri.doc") : path),
    }.join(u'\n');
}

void WTIPOFDAY::MOREINFO()
{
    const QString paper = tipPaperPath();
    const bool present = !paper.isEmpty() && QFileInfo(paper).isFile();
    showMessage(this, QStringLiteral("Daha Fazla Bilgi"), present ? tipMoreInfoText() : tipPaperMissingText(paper),
                MB_OK | MB_ICONINFORMATION);
}

} // namespace vexo
