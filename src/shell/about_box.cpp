#include "shell/about_box.h"

#include "platform/dialog_units.h"
#include "resources/resource_library.h"

#include <QLabel>
#include <QPushButton>

namespace vexo {

namespace {

struct TextField
{
    const char *name;
    int x, y, w, h;
    const char *text;
};

// The maker's lines are this program's own.
const TextField kFields[] = {
    {"FIXEDTEXT1", 56, 7, 124, 22, " VEXO_Zud S 2.6"},
    {"FIXEDTEXT2", 19, 40, 199, 11, "EN DÜŞÜK MALİYETLİ KARMA YEM  FORMÜLÜ"},
    {"FIXEDTEXT9", 66, 55, 104, 12, "HAZIRLAMA PROGRAMI"},
    {"FIXEDTEXT3", 58, 73, 121, 12, "VEXO_Zud Geliştirme Ekibi"},
    {"FIXEDTEXT4", 40, 88, 160, 10, "Hayvan Besleme ve Yem Teknolojisi"},
    {"FIXEDTEXT5", 92, 103, 54, 11, "Türkiye, 2026"},
    {"FIXEDTEXT7", 56, 118, 124, 11, "Tüm hakları saklıdır."},
};

// The program has no terms of use of its own beyond the rights line, so the box has no "Kullanım
// Şartları:" field (an empty framed box would read as missing text); the button and the foot of the
// box move up by its height.
constexpr int kOkTop = 136;
constexpr int kBoxHeight = 167;

QFont makeFont(const char *family, int points, bool bold = false)
{
    QFont f(QString::fromLatin1(family), points);
    f.setBold(bold);
    return f;
}

void colour(QLabel *label, const QColor &text, const QColor &back)
{
    QPalette pal = label->palette();
    pal.setColor(QPalette::WindowText, text);
    pal.setColor(QPalette::Window, back);
    label->setPalette(pal);
    label->setAutoFillBackground(true);
}

} // namespace

QIcon vxoMainIcon()
{
    return ResourceLibrary::icon(QStringLiteral("VXOMAIN"));
}

VXOHAKKINDA::VXOHAKKINDA(QWidget *owner)
    : QDialog(owner)
{
    setObjectName(QStringLiteral("VXOHAKKINDA"));
    setWindowTitle(QStringLiteral("Hakkında..."));
    setStatusTip(QStringLiteral("VEXO_Zud 2.6 Programı hakkında..."));
    setWindowIcon(vxoMainIcon());
    setModal(true);
    QFont dialogFont(QStringLiteral("MS Shell Dlg"), 8);
    dialogFont.setStyleHint(QFont::SansSerif);
    setFont(dialogFont);
    auto dlu = [&](int x, int y, int w, int h) { return dluRect(dialogFont, x, y, w, h); };
    setFixedSize(dlu(0, 0, 244, kBoxHeight).size());

    for (const TextField &f : kFields) {
        auto *label = new QLabel(this);
        label->setObjectName(QString::fromLatin1(f.name));
        label->setGeometry(dlu(f.x, f.y, f.w, f.h));
        if (f.text)
            label->setText(QString::fromUtf8(f.text));
    }
    QLabel *title = field(QStringLiteral("FIXEDTEXT1"));
    title->setFont(makeFont("Arial", 16, true));
    title->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    colour(title, Qt::white, Qt::black);
    for (const char *name : {"FIXEDTEXT2", "FIXEDTEXT9"})
        field(QString::fromLatin1(name))->setFont(makeFont("Arial", 10, true));
    QFont maker = makeFont("Times New Roman", 11);
    maker.setItalic(true);
    maker.setUnderline(true);
    field(QStringLiteral("FIXEDTEXT3"))->setFont(maker);
    for (const char *name :
         {"FIXEDTEXT2", "FIXEDTEXT9", "FIXEDTEXT3", "FIXEDTEXT4", "FIXEDTEXT5", "FIXEDTEXT7"})
        field(QString::fromLatin1(name))->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);

    m_ok = new QPushButton(this);
    m_ok->setObjectName(QStringLiteral("PBTAMAM"));
    const QRect okRect = dlu(110, kOkTop, 24, 23);
    m_ok->setGeometry(okRect);
    m_ok->setIcon(ResourceLibrary::icon(QStringLiteral("VXOOK2")));
    const int side = std::min(okRect.width(), okRect.height()) - 8;
    m_ok->setIconSize(QSize(side, side));
    m_ok->setToolTip(QStringLiteral("Tamam"));
    m_ok->setDefault(true);
    connect(m_ok, &QPushButton::clicked, this, [this] { PBTAMAM(); });
}

QLabel *VXOHAKKINDA::field(const QString &name) const
{
    return findChild<QLabel *>(name, Qt::FindDirectChildrenOnly);
}

void showAboutBox(QWidget *owner)
{
    VXOHAKKINDA box(owner);
    if (owner) {
        QRect r(QPoint(), box.size());
        r.moveCenter(owner->frameGeometry().center());
        box.move(r.topLeft());
    }
    box.exec();
}

} // namespace vexo
