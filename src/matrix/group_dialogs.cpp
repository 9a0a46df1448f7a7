#include "matrix/group_dialogs.h"

#include "controls/barray_server.h"
#include "controls/bitmap_presets.h"
#include "controls/grid_subclasses.h"
#include "controls/icon_presets.h"
#include "matrix/group_rules.h"
#include "platform/dialog_units.h"
#include "problem/messages.h"
#include "problem/open_problem.h"
#include "resources/resource_library.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>

namespace vexo {

namespace {

void showNotice(QWidget *owner, const GroupNotice &n)
{
    if (n.error)
        ERRMESS(owner, n.caption, n.text);
    else
        UYARI(owner, n.caption, n.text);
}

} // namespace

void SYSTEMMENUCLOSE(QWidget *window, bool enable)
{
    if (!window)
        return;
    Qt::WindowFlags flags = window->windowFlags();
    if (enable)
        flags = (flags | Qt::WindowCloseButtonHint) & ~Qt::CustomizeWindowHint;
    else
        flags = (flags | Qt::CustomizeWindowHint | Qt::WindowTitleHint) & ~Qt::WindowCloseButtonHint;
    const bool visible = window->isVisible();
    window->setWindowFlags(flags);
    if (visible)
        window->show();
}

GRUP_ATAMA_DLG::GRUP_ATAMA_DLG(QWidget *owner, const QString &ingredient)
    : QDialog(owner)
{
    setObjectName(QStringLiteral("Grup_Atama_Dlg"));
    setWindowTitle(QStringLiteral("Grup Atama Diyaloğu"));
    setWindowIcon(ResourceLibrary::icon(QStringLiteral("VXOICON")));
    setModal(true);
    resize(dluRect(font(), 0, 0, 204, 100).size());
    FT_YMAD = new QLabel(this);
    FT_YMAD->setObjectName(QStringLiteral("FT_YMAD"));
    FT_YMAD->setGeometry(dluRect(font(), 8, 8, 188, 12));
    CB_GSEC = new QComboBox(this);
    CB_GSEC->setObjectName(QStringLiteral("CB_GSEC"));
    CB_GSEC->setEditable(true);
    CB_GSEC->setGeometry(dluRect(font(), 8, 26, 188, 14));
    auto *ok = new OKBMPBUTTON(this, QStringLiteral("Tamam "));
    ok->setObjectName(QStringLiteral("PBTAMAM"));
    ok->setGeometry(dluRect(font(), 40, 70, 56, 20));
    BTAMAM = ok;
    auto *skip = new INTERPOLPBUTTON(this, QStringLiteral("Atla "));
    skip->setObjectName(QStringLiteral("PBATLA"));
    skip->setGeometry(dluRect(font(), 108, 70, 56, 20));
    BATLA = skip;
    namedCommands().add(QStringLiteral("PBTAMAM"), [this] { PBTAMAM(); });
    connect(skip, &QPushButton::clicked, this, [this] { PBATLA(); });

    // POSTINIT
    FT_YMAD->setText(ingredient + QStringLiteral(" YM grubunu seçiniz"));
    CB_GSEC->addItems(openProblem().AYMGADLARI);
    CB_GSEC->setCurrentIndex(-1);
    SYSTEMMENUCLOSE(this, false);
}

void GRUP_ATAMA_DLG::PBTAMAM()
{
    // Only a name of the list counts, typed or picked.
    const int index = CB_GSEC->findText(CB_GSEC->currentText(), Qt::MatchExactly);
    if (CB_GSEC->currentText().isEmpty() || index < 0) {
        CB_GSEC->setFocus();
        return;
    }
    NSELECTED = 0;
    NSELECTED = unsigned(index + 1);
    done(1);
}

void GRUP_ATAMA_DLG::PBATLA()
{
    NSELECTED = 0;
    done(2);
}

void GRUP_ATAMA_DLG::closeEvent(QCloseEvent *event)
{
    event->ignore();
}

int askIngredientGroup(QWidget *owner, const QString &ingredient)
{
    GRUP_ATAMA_DLG dlg(owner, ingredient);
    return dlg.exec() == 1 ? int(dlg.NSELECTED) : 0;
}

GRUP_BELIR_DLG::GRUP_BELIR_DLG(QWidget *owner, std::optional<Existing> existing)
    : QDialog(owner)
{
    setObjectName(QStringLiteral("Grup_Belir_Dlg"));
    setWindowTitle(QStringLiteral("Grup Yem Maddeleri Seçimi"));
    setWindowIcon(ResourceLibrary::icon(QStringLiteral("HAVUCH")));
    setModal(true);
    resize(dluRect(font(), 0, 0, 232, 197).size());

    m_owner.CHKDEG = [this](bool changed) { CHKDEG(changed); };
    BROWSER = makeGridClass(GridClass::GRPBELIRLE, this, &m_owner).release();
    BROWSER->setObjectName(QStringLiteral("BROWSER"));
    BROWSER->setGeometry(dluRect(font(), 4, 24, 224, 140));
    BKAYDET = new OKPUSHBUTTON(this, QStringLiteral("&Kaydet "));
    BKAYDET->setObjectName(QStringLiteral("PBKAYDET"));
    BKAYDET->setToolTip(QStringLiteral("Kaydet"));
    BKAYDET->setGeometry(dluRect(font(), 60, 176, 50, 16));
    BIPTAL = new CANCELPUSHBUTTON(this, QStringLiteral("&İptal "));
    BIPTAL->setObjectName(QStringLiteral("PBIPTAL"));
    BIPTAL->setToolTip(QStringLiteral("İptal"));
    BIPTAL->setGeometry(dluRect(font(), 122, 176, 50, 16));
    auto *hint = new QLabel(QStringLiteral("Tek tıklama ve boşluk tuşu ile seçim"), this);
    hint->setObjectName(QStringLiteral("FT_ACIKLAMA"));
    hint->setAlignment(Qt::AlignCenter);
    hint->setGeometry(dluRect(font(), 4, 165, 224, 10));
    auto *label = new QLabel(QStringLiteral("Grup adı:"), this);
    label->setObjectName(QStringLiteral("FT_GADI"));
    label->setGeometry(dluRect(font(), 4, 6, 40, 12));
    SLE_GADI = new QLineEdit(this);
    SLE_GADI->setObjectName(QStringLiteral("SLE_GADI"));
    SLE_GADI->setGeometry(dluRect(font(), 46, 5, 120, 13));
    SLE_GADI->setMaxLength(kYmgNameWidth);
    SLE_GADI->installEventFilter(this);
    connect(BKAYDET, &QPushButton::clicked, this, [this] { PBKAYDET(); });
    connect(BIPTAL, &QPushButton::clicked, this, [this] { PBIPTAL(); });

    // POSTINIT: one row per ingredient, {tick, number, name}.
    ServerRows rows;
    const QStringList &names = openProblem().AYMADLARI;
    for (int i = 0; i < names.size(); ++i)
        rows.append(ServerRow{false, QString::number(i + 1).rightJustified(3, u' '), names.at(i)});
    m_server = std::make_shared<BARRAYSERVER>(
        ServerFields{{QStringLiteral("CHK"), u'L', 1, 0}, {QStringLiteral("NUM"), u'C', 3, 0},
                     {QStringLiteral("AYMNAME"), u'C', 28, 0}},
        rows);
    if (m_server->USED()) {
        BROWSER->setROWMODE(BrowserRowMode::ABSOLUTE);
        BROWSER->setROWCOUNTMODE(BrowserRowCountMode::RECCOUNT);
        BROWSER->USE(m_server);
        BROWSER->setFREEZE(2);
        BROWSER->setEDITABLE(false);
        BROWSER->setENABLECOLUMNMOVE(false);
        BROWSER->setCheckBoxView(true);
        BROWSER->addCOLORCONDITION(BCOLORCONDITION{BCOLORCONDITION::oddRecNo(), {}, QBrush(QColor(190, 190, 190))});
        BROWSER->setGRID(BGRID{1, QColor(223, 223, 223)});
        BVIEWSTYLE caption = BROWSER->CAPTIONVIEW();
        QFont captionFont(QStringLiteral("Arial"), 8);
        captionFont.setBold(true);
        caption.font = captionFont;
        BROWSER->setCAPTIONVIEW(caption);
        const char *captions[] = {"Seç", "No:", "Yem Maddesi Adı"};
        for (int c = 1; c <= 3; ++c) {
            if (BDATACOLUMN *col = BROWSER->GETCOLUMN(c)) {
                col->setCAPTION(QString::fromUtf8(captions[c - 1]));
                col->CALCULATEWIDTH();
            }
        }
        BROWSER->KEYCOMMAND(Qt::Key_Space, [this] { CHKSELECT(); });
    }
    if (existing) {
        SLE_GADI->setText(existing->name);
        SLE_GADI->setEnabled(false);
        GSELECTED(existing->row);
    } else {
        m_newGroup = true;
    }
    if (m_server->USED()) {
        BROWSER->RECALCULATE();
        BROWSER->setCURRENTCOLUMN(3);
        BROWSER->REFRESH();
        BROWSER->SETFOCUS();
    }
}

GRUP_BELIR_DLG::~GRUP_BELIR_DLG()
{
    if (BROWSER)
        BROWSER->setOWNER(nullptr);
}

void GRUP_BELIR_DLG::GSELECTED(int n)
{
    const RowList &matrix = openProblem().AGMAT;
    if (matrix.isEmpty() || n < 1 || n > matrix.size() || !m_server->USED())
        return;
    BROWSER->SUSPENDUPDATE();
    m_server->SUSPENDNOTIFICATION();
    for (int pos : membersOf(matrix.at(n - 1))) {
        if (pos <= m_server->LASTREC() && m_server->GOTO(pos))
            m_server->FIELDPUT(1, true);
    }
    m_server->GOTOP();
    m_server->RESETNOTIFICATION();
    m_changed = false;
    BROWSER->RESTOREUPDATE();
}

void GRUP_BELIR_DLG::CHKSELECT()
{
    if (!BROWSER || !m_server->USED() || m_server->eof())
        return;
    m_server->FIELDPUT(1, !m_server->FIELDGET(1).toBool());
    m_server->NOTIFY(ServerNotify::FileChange);
    m_changed = true;
}

QList<int> GRUP_BELIR_DLG::ticked() const
{
    QList<int> out;
    for (int r = 1; r <= m_server->LASTREC(); ++r) {
        if (m_server->valueAt(r, 1).toBool())
            out.append(r);
    }
    return out;
}

int GRUP_BELIR_DLG::GETTOTSELNO() const
{
    return int(ticked().size());
}

void GRUP_BELIR_DLG::DOKAYDET()
{
    ANSELECTED = ticked();
    if (m_newGroup)
        CGRPNAME = SLE_GADI->text().trimmed();
    RESULT = 1;
}

void GRUP_BELIR_DLG::DOIPTAL()
{
    RESULT = 0;
    ANSELECTED.clear();
}

void GRUP_BELIR_DLG::PBKAYDET()
{
    if (auto refusal = groupSaveRefusal(GETTOTSELNO(), SLE_GADI->text())) {
        showNotice(this, *refusal);
        if (GETTOTSELNO() < 2)
            BROWSER->SETFOCUS();
        else
            SLE_GADI->setFocus();
        return;
    }
    if (m_newGroup && groupNameTaken(openProblem().AYMGADLARI, SLE_GADI->text())) {
        showNotice(this, GroupNotice{QStringLiteral("Uyarı..."), kNameTakenText, false});
        SLE_GADI->setText(QString(kYmgNameWidth, u' '));
        SLE_GADI->setFocus();
        return;
    }
    if (m_changed)
        DOKAYDET();
    else
        DOIPTAL();
    m_ending = true;
    m_server->CLOSE();
    done(RESULT);
}

bool GRUP_BELIR_DLG::SONKONT()
{
    if (m_changed && GETTOTSELNO() >= 2) {
        const MessageAnswer answer =
            askSaveBeforeClosing(this, QStringLiteral("Uyarı..."), QStringLiteral("Yeni seçim yapıldı, kaydedecek misiniz?"));
        if (answer == MessageAnswer::Cancel)
            return false; // the dialog stays with its choice
        if (answer == MessageAnswer::Yes) {
            // A yes saves as the save button does, with its checks: a refused save keeps the dialog.
            PBKAYDET();
            return false;
        }
    }
    DOIPTAL();
    return true;
}

void GRUP_BELIR_DLG::PBIPTAL()
{
    if (m_ending || !SONKONT())
        return;
    m_ending = true;
    m_server->CLOSE();
    done(0);
}

void GRUP_BELIR_DLG::reject()
{
    PBIPTAL();
}

void GRUP_BELIR_DLG::closeEvent(QCloseEvent *event)
{
    if (!m_ending)
        PBIPTAL();
    if (m_ending)
        event->accept();
    else
        event->ignore();
}

bool GRUP_BELIR_DLG::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == SLE_GADI && event->type() == QEvent::FocusOut && m_newGroup && !m_ending
        && !openProblem().AYMGADLARI.isEmpty() && groupNameTaken(openProblem().AYMGADLARI, SLE_GADI->text())) {
        // The box takes the focus itself: the check runs once the focus has settled.
        QTimer::singleShot(0, this, [this] {
            if (!groupNameTaken(openProblem().AYMGADLARI, SLE_GADI->text()))
                return;
            showNotice(this, GroupNotice{QStringLiteral("Uyarı..."), kNameTakenText, false});
            SLE_GADI->setText(QString(kYmgNameWidth, u' '));
            SLE_GADI->setFocus();
        });
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace vexo
