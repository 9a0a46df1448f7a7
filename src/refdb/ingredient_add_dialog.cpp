#include "refdb/ingredient_add_dialog.h"

#include "controls/barray_server.h"
#include "controls/grid_subclasses.h"
#include "platform/cp1254_codec.h"
#include "platform/message_sink.h"
#include "problem/messages.h"
#include "problem/number_text.h"
#include "problem/reference_tables.h"
#include "problem/turkish_text.h"
#include "problem/dbserverr.h"
#include "refdb/reference_additions.h"

#include "controls/icon_presets.h"
#include "platform/dialog_units.h"
#include "resources/resource_library.h"

#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace vexo {

namespace {

const QString kGroupPrompt = QStringLiteral(" < Bir YM grubu seçiniz > ");
const QString kAllGroups = QStringLiteral("HEPSİ");
enum ListField { CHCK = 1, KODU, YMNAME_, YMFIAT };

// The system's exclamation sound, through the message seam's tones.
void exclamationSound()
{
    playTones({{800, 2}});
}

// A key that types a character into a text, as the platform's character messages carry them:
// printable, without Ctrl or Alt, and not the Delete key.
bool typesCharacter(const QKeyEvent *key)
{
    const QString text = key->text();
    if (text.isEmpty() || key->key() == Qt::Key_Delete
        || (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)))
        return false;
    return text.at(0).unicode() >= 32 && text.at(0).unicode() != 127;
}

QString withoutTrailingBlanks(QString text)
{
    while (!text.isEmpty() && text.back() == u' ')
        text.chop(1);
    return text;
}

// The list's order: the Turkish upper-case name by its code-page bytes, letters outside the code
// page after them, as turkishLess (the name-matching dialog's order) compares.
QString orderKey(const ServerRow &row)
{
    QString key;
    for (QChar ch : TRUPPERQV(row.value(YMNAME_ - 1).toString())) {
        const int byte = Cp1254Codec::fromUnicode(ch);
        key.append(QChar(byte >= 0 ? byte : qMin(0x100 + int(ch.unicode()), 0xD7FF)));
    }
    return key;
}

} // namespace

DTWSENSITIVESEARCH_::DTWSENSITIVESEARCH_(QWidget *owner)
    : TickListDialog(owner)
{
    setObjectName(QStringLiteral("_dtwSensitiveSearch"));
    setWindowTitle(QStringLiteral("Yem Maddesi Ekle"));
    setWindowIcon(ResourceLibrary::icon(QStringLiteral("HAVUCH")));
    setModal(true);
    const QFont dialogFont = font();
    auto dlu = [&](int x, int y, int w, int h) { return dluRect(dialogFont, x, y, w, h); };
    setFixedSize(dlu(0, 0, 268, 230).size());

    CBGROUPS = new QComboBox(this);
    CBGROUPS->setObjectName(QStringLiteral("CBGROUPS"));
    CBGROUPS->setToolTip(QStringLiteral("Yem maddesi grubu seçimi"));
    CBGROUPS->setGeometry(dlu(4, 4, 120, 13));
    SEARCHFIELD = new QLineEdit(this);
    SEARCHFIELD->setObjectName(QStringLiteral("SEARCHFIELD"));
    SEARCHFIELD->setToolTip(QStringLiteral("Arama harfi girişi"));
    SEARCHFIELD->setGeometry(dlu(128, 4, 58, 13));
    SEARCHBUTTON = new QPushButton(this);
    SEARCHBUTTON->setObjectName(QStringLiteral("SEARCH"));
    SEARCHBUTTON->setToolTip(QStringLiteral("Ara"));
    SEARCHBUTTON->setIcon(ResourceLibrary::icon(QStringLiteral("RSEARCH")));
    SEARCHBUTTON->setAutoDefault(false);
    SEARCHBUTTON->setGeometry(dlu(188, 3, 16, 15));
    BROWSER = new SSEARCH_BBROWSER(this, &m_gridOwner);
    BROWSER->setObjectName(QStringLiteral("BROWSER"));
    BROWSER->setGeometry(dlu(4, 21, 200, 177));
    PBHSEC_ = new HSECPUSHBUTTON(this, QStringLiteral("H. Seç "));
    PBHSEC_->setObjectName(QStringLiteral("PBHSEC"));
    PBHSEC_->setToolTip(QStringLiteral("Hepsini seç"));
    PBHSEC_->setGeometry(dlu(210, 21, 54, 16));
    PBHKALDIR_ = new HKALPUSHBUTTON(this, QStringLiteral("H. Kaldır "));
    PBHKALDIR_->setObjectName(QStringLiteral("PBHKALDIR"));
    PBHKALDIR_->setToolTip(QStringLiteral("Hepsini kaldır"));
    PBHKALDIR_->setGeometry(dlu(210, 41, 54, 16));
    PBEKLE_ = new OKPUSHBUTTON(this, QStringLiteral("Ekle "));
    PBEKLE_->setObjectName(QStringLiteral("PBEKLE"));
    PBEKLE_->setToolTip(QStringLiteral("Ekle"));
    PBEKLE_->setGeometry(dlu(210, 162, 54, 16));
    PBIPTAL_ = new CANCELPUSHBUTTON(this, QStringLiteral("İptal "));
    PBIPTAL_->setObjectName(QStringLiteral("PBIPTAL"));
    PBIPTAL_->setToolTip(QStringLiteral("İptal"));
    PBIPTAL_->setGeometry(dlu(210, 182, 54, 16));
    for (QPushButton *b : {PBHSEC_, PBHKALDIR_, PBEKLE_, PBIPTAL_})
        b->setAutoDefault(false);
    FT_ACIKLAMA = new QLabel(
        QStringLiteral("Tek tıklama ile seçim, harf + buton/enter tuşu ile indeksli YM arama."), this);
    FT_ACIKLAMA->setObjectName(QStringLiteral("FT_ACIKLAMA"));
    QFont hintFont(QStringLiteral("Microsoft Sans Serif"), 9);
    hintFont.setStyleHint(QFont::SansSerif);
    FT_ACIKLAMA->setFont(hintFont);
    FT_ACIKLAMA->setAlignment(Qt::AlignCenter);
    FT_ACIKLAMA->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    FT_ACIKLAMA->setWordWrap(true);
    FT_ACIKLAMA->setGeometry(dlu(4, 202, 260, 24));
}

DATADLGSENSITIVESEARCH::DATADLGSENSITIVESEARCH(QWidget *owner, int room)
    : DTWSENSITIVESEARCH_(owner)
    , m_room(room)
{
    m_gridOwner.CHKDEG = [this](bool on) { m_CHKDEG = on; };
    m_gridOwner.CELLEDIT = [this](BCellEditEvent &e) {
        if (e.mode == CellEditMode::Stored && e.column == CHCK) {
            m_CHKDEG = true;
            if (m_server)
                m_server->COMMIT();
        }
        return true;
    };
    connect(SEARCHBUTTON, &QPushButton::clicked, this, &DATADLGSENSITIVESEARCH::SEARCH);
    connect(PBHSEC_, &QPushButton::clicked, this, &DATADLGSENSITIVESEARCH::PBHSEC);
    connect(PBHKALDIR_, &QPushButton::clicked, this, &DATADLGSENSITIVESEARCH::PBHKALDIR);
    connect(PBEKLE_, &QPushButton::clicked, this, &DATADLGSENSITIVESEARCH::PBEKLE);
    connect(PBIPTAL_, &QPushButton::clicked, this, &DATADLGSENSITIVESEARCH::PBIPTAL);

    // Any edit of the search text makes the next search a new one, keys passed to the field included.
    connect(SEARCHFIELD, &QLineEdit::textEdited, this, [this] { m_LYENIARAMA = true; });

    BROWSER->setCheckBoxView(true);
    // The tick column alone is editable; its edits reach CELLEDIT as stored ticks.
    BROWSER->setEDITABLE(true);
    BROWSER->setENABLECOLUMNMOVE(false);
    BROWSER->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    BROWSER->addCOLORCONDITION({BCOLORCONDITION::oddOrderPosition(), std::nullopt, QBrush(QColor(235, 242, 250))});
    BVIEWSTYLE caption = BROWSER->CAPTIONVIEW();
    QFont captionFont(QStringLiteral("Arial"), 8);
    captionFont.setStyleHint(QFont::SansSerif);
    captionFont.setBold(true);
    caption.font = captionFont;
    BROWSER->setCAPTIONVIEW(caption);

    if (!RMDATAFOPEN())
        return;
    // The definitions' units decide how contents come into the problem's rows.
    if (!BMDATAFOPEN()) {
        SERVERCLOSE();
        return;
    }
    m_units = definitionUnits(*referenceTables().OBMDESCDBF);
    referenceTables().OBMDESCDBF->close();
    referenceTables().OBMDESCDBF.reset();
    m_opened = true;
    DBSERVERR &rm = *referenceTables().ORMDBF;
    QStringList groups{kGroupPrompt, kAllGroups};
    for (rm.goTop(); !rm.eof(); rm.skip()) {
        const QString g = rm.fieldGet(QStringLiteral("GRUBU")).toString();
        if (!g.trimmed().isEmpty() && !groups.mid(2).contains(g))
            groups.append(g);
    }
    CBGROUPS->addItems(groups);
    CBGROUPS->setCurrentIndex(0);
    SEARCHCLOSE();
    FILLGYEMMAD();
    fitGridWidth(BROWSER, {PBHSEC_, PBHKALDIR_, PBEKLE_, PBIPTAL_}, {FT_ACIKLAMA});
    // The refill runs after the combo has finished with its own selection change.
    connect(CBGROUPS, &QComboBox::currentIndexChanged, this,
            [this] { QMetaObject::invokeMethod(this, &DATADLGSENSITIVESEARCH::FILLGYEMMAD, Qt::QueuedConnection); });
    for (QObject *control : {static_cast<QObject *>(BROWSER), static_cast<QObject *>(SEARCHFIELD),
                             static_cast<QObject *>(SEARCHBUTTON)})
        BROWSER->bRegisterByEventHandler(control, [this](QObject *c, QEvent *e) { return EVENTHANDLER(c, e); });
}

DATADLGSENSITIVESEARCH::~DATADLGSENSITIVESEARCH()
{
    BROWSER->bUnregisterByEventHandler(BROWSER);
    BROWSER->bUnregisterByEventHandler(SEARCHFIELD);
    BROWSER->bUnregisterByEventHandler(SEARCHBUTTON);
    SERVERCLOSE();
}

void DATADLGSENSITIVESEARCH::FILLGYEMMAD()
{
    DBSERVERR *rm = referenceTables().ORMDBF.get();
    if (!rm)
        return;
    const QString g = CBGROUPS->currentText();
    ServerRows rows;
    if (g != kGroupPrompt) {
        const quint32 last = rm->lastRec();
        for (rm->goTop(); !rm->eof(); rm->skip()) {
            const QString name = rm->fieldGet(QStringLiteral("YM_ADI")).toString();
            if (name.trimmed().isEmpty())
                continue;
            if (g != kAllGroups && rm->fieldGet(QStringLiteral("GRUBU")).toString() != g)
                continue;
            // The price as the addition will bring it in; a text that is no number is shown as it
            // stands (the addition names it).
            const QString price = rm->fieldGet(QStringLiteral("FIATI")).toString();
            rows.append({false, recordNumberText(rm->recNo(), last), name, tablePriceText(price).value_or(price)});
        }
    }
    const int codeWidth = int(recordNumberText(rm->lastRec(), rm->lastRec()).size());
    const ServerFields fields = {{QStringLiteral("CHCK"), u'L', 1, 0}, {QStringLiteral("KODU"), u'C', codeWidth, 0},
                                 {QStringLiteral("YMNAME"), u'C', 25, 0}, {QStringLiteral("YMFIAT"), u'C', 11, 0}};
    if (m_server)
        m_server->CLOSE();
    m_server = std::make_shared<BARRAYSERVER>(fields, rows);
    m_server->SETORDER(orderKey);
    m_server->GOTOP();
    BROWSER->USE(m_server);
    const QStringList captions = {QStringLiteral("Seç"), QStringLiteral("Kod"), QStringLiteral("Yem Maddesi Adı"),
                                  QStringLiteral("Fiyatı")};
    const QList<Qt::Alignment> aligns = {Qt::AlignCenter, Qt::AlignCenter, Qt::AlignLeft | Qt::AlignVCenter,
                                         Qt::AlignRight | Qt::AlignVCenter};
    for (int c = 1; c <= BROWSER->COLUMNCOUNT(); ++c) {
        BDATACOLUMN *col = BROWSER->GETCOLUMN(c);
        col->setCAPTION(captions.value(c - 1));
        col->setALIGNMENT(aligns.value(c - 1));
        col->setEDITABLE(c == CHCK);
        col->CALCULATEWIDTH();
    }
    BROWSER->setCURRENTCOLUMN(YMNAME_);
    BROWSER->REFRESH();
    BROWSER->SETFOCUS();
}

bool DATADLGSENSITIVESEARCH::searchOpen() const
{
    return !SEARCHFIELD->isHidden();
}

bool DATADLGSENSITIVESEARCH::SEARCHOPEN(int)
{
    m_LYENIARAMA = true;
    SEARCHFIELD->clear();
    SEARCHFIELD->show();
    SEARCHBUTTON->show();
    SEARCHFIELD->setFocus(Qt::OtherFocusReason);
    return true;
}

bool DATADLGSENSITIVESEARCH::SEARCHCLOSE()
{
    SEARCHFIELD->hide();
    SEARCHBUTTON->hide();
    return true;
}

void DATADLGSENSITIVESEARCH::SEARCH()
{
    BARRAYSERVER *s = BROWSER->SERVER();
    const int column = BROWSER->CURRENTCOLUMN();
    bool found = false;
    if (s && s->USED() && s->LASTREC() > 0 && column > 0) {
        if (!m_LYENIARAMA) {
            found = true;
            if (s->eof())
                s->SKIP(-1);
        } else {
            const QString text = SEARCHFIELD->text();
            const bool wanted = QStringLiteral("JYT").contains(text.trimmed());
            const QString t = TRUPPERQV(withoutTrailingBlanks(text));
            for (int pos = 1; pos <= s->shownCount() && !found; ++pos) {
                const int rec = s->recNoAt(pos);
                if (column == CHCK)
                    found = s->valueAt(rec, CHCK).toBool() == wanted;
                else
                    found = TRUPPERQV(withoutTrailingBlanks(s->textAt(rec, YMNAME_))).startsWith(t);
                if (found)
                    s->GOTO(rec);
            }
        }
    }
    if (found) {
        m_LYENIARAMA = false;
    } else {
        exclamationSound();
        m_LYENIARAMA = true;
    }
    SEARCHFIELD->setFocus(Qt::OtherFocusReason);
}

bool DATADLGSENSITIVESEARCH::EVENTHANDLER(QObject *control, QEvent *event)
{
    BARRAYSERVER *s = BROWSER->SERVER();
    const bool hasRows = s && s->USED() && s->LASTREC() > 0;
    if (event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        const QString text = key->text();
        if (control == BROWSER) {
            if (hasRows && typesCharacter(key) && BROWSER->CURRENTCOLUMN() > 0) {
                SEARCHOPEN(BROWSER->CURRENTCOLUMN());
                QCoreApplication::postEvent(SEARCHFIELD, new QKeyEvent(QEvent::KeyPress, key->key(),
                                                                       key->modifiers(), text));
                return true;
            }
            return false;
        }
        if (control == SEARCHFIELD) {
            switch (key->key()) {
            case Qt::Key_Return:
            case Qt::Key_Enter:
                SEARCH();
                return true;
            case Qt::Key_Escape:
                SEARCHCLOSE();
                BROWSER->SETFOCUS();
                return true;
            case Qt::Key_Up:
            case Qt::Key_Down:
            case Qt::Key_PageUp:
            case Qt::Key_PageDown: {
                if (!hasRows)
                    return false;
                const int page = qMax(1, BROWSER->viewport()->height() / qMax(1, BROWSER->ROWHEIGHT()));
                const int step = key->key() == Qt::Key_Up ? -1 : key->key() == Qt::Key_Down ? 1
                                 : key->key() == Qt::Key_PageUp ? -page : page;
                const int pos = qBound(1, s->positionOf(s->RECNO()) + step, s->shownCount());
                s->GOTO(s->recNoAt(pos));
                return true;
            }
            case Qt::Key_Tab:
            case Qt::Key_Backtab:
            case Qt::Key_Backspace:
                return true; // the field keeps the focus; Backspace edits nothing
            case Qt::Key_Delete:
                return false; // a key, not a character: it reaches the field
            default:
                break;
            }
            if (typesCharacter(key)) {
                m_LYENIARAMA = true;
                return false;
            }
            if (text.isEmpty() || text.at(0).unicode() == 127)
                return false; // other keys (Left, Right, Home, End, ...) reach the field
            return true; // the other control characters (Ctrl+V and the like)
        }
        return false;
    }
    if (event->type() == QEvent::FocusOut && (control == SEARCHFIELD || control == SEARCHBUTTON)) {
        QMetaObject::invokeMethod(this, [this] {
            QWidget *now = QApplication::focusWidget();
            if (now && isAncestorOf(now) && now != SEARCHFIELD && now != SEARCHBUTTON)
                SEARCHCLOSE();
        }, Qt::QueuedConnection);
    }
    return false;
}

void DATADLGSENSITIVESEARCH::PBHSEC()
{
    setAllTicks(BROWSER, CHCK, true);
    m_CHKDEG = true;
}

void DATADLGSENSITIVESEARCH::PBHKALDIR()
{
    setAllTicks(BROWSER, CHCK, false);
    m_CHKDEG = false;
}

bool DATADLGSENSITIVESEARCH::CHKSTATUS()
{
    return anyTicked(BROWSER, CHCK);
}

void DATADLGSENSITIVESEARCH::PBEKLE()
{
    NRESULT = 0;
    if (m_CHKDEG) {
        m_ASECKAYIT.clear();
        for (int record : tickedNumbers(BROWSER, CHCK, KODU))
            m_ASECKAYIT.append(quint32(record));
        if (!m_ASECKAYIT.isEmpty() && referenceTables().ORMDBF) {
            IngredientAddition addition(*referenceTables().ORMDBF, this, m_units);
            if (addition.AMAT_YMEKLE_KY(m_ASECKAYIT, m_room))
                NRESULT = 1;
        }
        m_CHKDEG = false;
    }
    SERVERCLOSE();
    finish(int(NRESULT));
}

bool DATADLGSENSITIVESEARCH::SONKONT()
{
    NRESULT = 0;
    if (m_CHKDEG && CHKSTATUS()) {
        const MessageAnswer answer =
            askSaveBeforeClosing(this, QStringLiteral("Uyarı..."),
                                 QStringLiteral("Seçilen yem maddeleri var!\r\n\r\nAktif matrise ekleyecek misiniz?"));
        if (answer == MessageAnswer::Cancel)
            return false; // the list stays with its ticks
        if (answer == MessageAnswer::Yes)
            PBEKLE();
    }
    SERVERCLOSE();
    return true;
}

void DATADLGSENSITIVESEARCH::SERVERCLOSE()
{
    if (referenceTables().ORMDBF) {
        referenceTables().ORMDBF->close();
        referenceTables().ORMDBF.reset();
    }
    if (m_server && m_server->USED())
        m_server->CLOSE();
}

} // namespace vexo
