#include "updater/vo_ftp_win.h"

#include "controls/menu_builder.h"
#include "platform/dialog_units.h"
#include "resources/resource_library.h"
#include "updater/my_list_view.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>

namespace vexo {

using namespace Qt::StringLiterals;

MenuTable fbMenu()
{
    MenuTable t;
    t.name = u"FBMENU"_s;
    t.rows = {submenu(0, 16687, u"Dosya"_s, u"DOSYA"_s), item(1, 16688, u"&Günceli Al..."_s, u"FTPGETFILE"_s)};
    return t;
}

MenuTable lbMenu()
{
    MenuTable t;
    t.name = u"LBMENU"_s;
    t.rows = {submenu(0, 16725, u"Dosya"_s, u"DOSYA"_s),
              item(1, 16726, u"&Kur Dosyasını Sil..."_s, u"DELETEFILE"_s)};
    return t;
}

namespace {

enum class Kind { Button, Text, Edit, Bar, List, Check };
enum Look : unsigned { Plain = 0, Bold8 = 1, Bold11 = 2, ReadOnly = 4, Disabled = 8, Password = 16, Sunken = 32 };

struct ControlSpec
{
    int id;
    Kind kind;
    const char16_t *name;
    const char16_t *caption;
    const char16_t *tip;
    int x, y, w, h;
    unsigned look;
};

// The form in its order; positions and sizes in dialog units.
constexpr ControlSpec kControls[] = {
    {100, Kind::Button, u"OKBUTTON", u"&Çıkış...", u"Çıkış", 360, 254, 44, 19, Bold11},
    {101, Kind::Text, u"FIXEDTEXT4", u"Server:", nullptr, 12, 11, 36, 11, Plain},
    {102, Kind::Text, u"FIXEDTEXT5", u"Kullanıcı:", nullptr, 12, 48, 36, 12, Plain},
    {103, Kind::Text, u"FIXEDTEXT6", u"Parola:", nullptr, 164, 48, 28, 12, Plain},
    {104, Kind::Edit, u"FTPSERVER", nullptr, nullptr, 56, 11, 212, 11, ReadOnly},
    {105, Kind::Edit, u"FTPUSER", nullptr, nullptr, 56, 48, 100, 11, ReadOnly},
    {106, Kind::Edit, u"FTPPASSWORD", nullptr, nullptr, 196, 48, 72, 11, ReadOnly | Password},
    {107, Kind::Edit, u"CURDIR", nullptr, nullptr, 216, 121, 191, 11, Disabled | Bold8},
    {108, Kind::Button, u"FTPCONNECT", u"Server'e Bağlan", u"Server'a bağlan", 334, 7, 74, 18, Plain},
    {109, Kind::Button, u"FTPDISCONNECT", u"Bağlantıyı Kes", u"Bağlantıyı kes", 292, 254, 66, 19, Plain},
    {110, Kind::Button, u"SAVESETUP", u"Ayarları Kaydet", u"Ayarları kaydet", 12, 254, 66, 19, Plain},
    {111, Kind::Edit, u"LOCALDIR", nullptr, nullptr, 12, 121, 191, 11, Disabled | Bold8},
    {112, Kind::Text, u"FIXEDTEXT8", u"Lokal Dosyalar:", nullptr, 12, 107, 62, 11, Bold8},
    {113, Kind::Text, u"FIXEDTEXT9", u"Uzak Dosyalar:", nullptr, 216, 107, 72, 11, Bold8},
    {114, Kind::Text, u"FIXEDTEXT10", u"Durum:", nullptr, 12, 66, 36, 12, Plain},
    {115, Kind::Bar, u"FTPBAR", nullptr, nullptr, 12, 88, 396, 12, Plain},
    {116, Kind::Text, u"FTPSTATUS", u"Bağlanı yok", nullptr, 56, 66, 268, 12, Bold8 | Sunken},
    {117, Kind::List, u"LOCALBOX", nullptr, nullptr, 12, 136, 190, 115, Plain},
    {118, Kind::List, u"FILEBOX", nullptr, nullptr, 216, 136, 191, 115, Plain},
    {119, Kind::Edit, u"FTPPROXY", nullptr, nullptr, 56, 29, 212, 11, Plain},
    {120, Kind::Text, u"FIXEDTEXT7", u"Proxy:", nullptr, 12, 29, 36, 11, Plain},
    {121, Kind::Check, u"USEHTTP", u"HTTP Kullan", nullptr, 276, 48, 56, 11, Plain},
    {122, Kind::Button, u"FTPGUNCELLE", u"Güncellemeleri Al", u"Yeni güncellemeleri al", 334, 29, 74, 19, Plain},
};

QString text(const char16_t *s)
{
    return s ? QString::fromUtf16(s) : QString();
}

} // namespace

VO_FTPWIN::VO_FTPWIN(QWidget *owner, const UpdaterBuiltins &builtins)
    : QDialog(owner, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
                         | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint)
{
    setObjectName(u"FTPWIN"_s);
    setWindowTitle(u"Program Güncelleme Arayüzü"_s);
    setWindowIcon(ResourceLibrary::icon(u"VXOMAIN"_s));
    setModal(true);
    QFont small = font();
    small.setPointSize(8);
    setFont(small);
    setFixedSize(dluRect(font(), 0, 0, 420, 281).size());
    build();
    POSTINIT(builtins);
}

VO_FTPWIN::~VO_FTPWIN() = default;

void VO_FTPWIN::build()
{
    QFont bold8 = font();
    bold8.setPointSize(8);
    bold8.setBold(true);
    QFont bold11 = font();
    bold11.setPointSize(11);
    bold11.setBold(true);

    for (const ControlSpec &c : kControls) {
        const QRect r = dluRect(font(), c.x, c.y, c.w, c.h);
        QWidget *w = nullptr;
        switch (c.kind) {
        case Kind::Button: {
            auto *b = new QPushButton(text(c.caption), this);
            b->setAutoDefault(false);
            w = b;
            break;
        }
        case Kind::Text: {
            auto *l = new QLabel(text(c.caption), this);
            if (c.look & Sunken)
                l->setFrameStyle(QFrame::Panel | QFrame::Sunken);
            w = l;
            break;
        }
        case Kind::Edit: {
            auto *e = new QLineEdit(this);
            e->setReadOnly(c.look & ReadOnly);
            if (c.look & Password)
                e->setEchoMode(QLineEdit::Password);
            w = e;
            break;
        }
        case Kind::Bar: {
            auto *p = new QProgressBar(this);
            p->setTextVisible(false);
            w = p;
            break;
        }
        case Kind::List:
            w = new MYLISTVIEW(this, r);
            break;
        case Kind::Check:
            w = new QCheckBox(text(c.caption), this);
            break;
        }
        w->setObjectName(text(c.name));
        w->setProperty("controlId", c.id);
        w->setGeometry(r);
        if (c.tip)
            w->setToolTip(text(c.tip));
        if (c.look & Bold8)
            w->setFont(bold8);
        if (c.look & Bold11)
            w->setFont(bold11);
        if (c.look & Disabled)
            w->setEnabled(false);
    }

    m_ok = findChild<QPushButton *>(u"OKBUTTON"_s);
    m_connect = findChild<QPushButton *>(u"FTPCONNECT"_s);
    m_disconnect = findChild<QPushButton *>(u"FTPDISCONNECT"_s);
    m_save = findChild<QPushButton *>(u"SAVESETUP"_s);
    m_update = findChild<QPushButton *>(u"FTPGUNCELLE"_s);
    m_server = findChild<QLineEdit *>(u"FTPSERVER"_s);
    m_user = findChild<QLineEdit *>(u"FTPUSER"_s);
    m_password = findChild<QLineEdit *>(u"FTPPASSWORD"_s);
    m_curDir = findChild<QLineEdit *>(u"CURDIR"_s);
    m_localDir = findChild<QLineEdit *>(u"LOCALDIR"_s);
    m_proxy = findChild<QLineEdit *>(u"FTPPROXY"_s);
    m_useHttp = findChild<QCheckBox *>(u"USEHTTP"_s);
    m_status = findChild<QLabel *>(u"FTPSTATUS"_s);
    m_bar = findChild<QProgressBar *>(u"FTPBAR"_s);
    m_localBox = findChild<MYLISTVIEW *>(u"LOCALBOX"_s);
    m_fileBox = findChild<MYLISTVIEW *>(u"FILEBOX"_s);
    // A password never leaves its field: no copying, no dragging, no context menu.
    m_password->setContextMenuPolicy(Qt::NoContextMenu);
    m_password->setDragEnabled(false);

    auto dispatch = [this](const QString &command) { runMenuCommand(command); };
    m_fbMenu = new BuiltMenu(fbMenu(), dispatch, this);
    m_lbMenu = new BuiltMenu(lbMenu(), dispatch, this);
    for (auto [list, menu] : {std::pair{m_fileBox, m_fbMenu}, std::pair{m_localBox, m_lbMenu}}) {
        list->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(list, &QWidget::customContextMenuRequested, this, [list, menu](const QPoint &at) {
            if (QMenu *popup = menu->popup())
                popup->popup(list->viewport()->mapToGlobal(at));
        });
    }
}

void VO_FTPWIN::POSTINIT(const UpdaterBuiltins &builtins)
{
    m_server->setText(builtins.server);
    m_user->setText(builtins.user);
    m_password->setText(builtins.password);
    m_curDir->setText(builtins.directory);
    m_pwdKey = builtins.pwdKey;
    m_setupDir = builtins.setupDir;
    m_progFile = builtins.progFile;
    m_setupFile = builtins.setupFile;
}

} // namespace vexo
