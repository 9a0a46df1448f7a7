#include "refdb/rm_form.h"

#include "controls/barray_server.h"
#include "controls/bdata_column.h"
#include "controls/edit_subclasses.h"
#include "controls/grid_subclasses.h"
#include "controls/number_field.h"
#include "controls/picture_button.h"
#include "problem/messages.h"
#include "problem/number_text.h"
#include "problem/reference_tables.h"
#include "refdb/rm_form_dialog.h"
#include "refdb/rm_rules.h"
#include "resources/resource_library.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QFontMetrics>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QApplication>
#include <QPointer>
#include <QMenu>
#include <QPushButton>
#include <QSet>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace vexo {

namespace {

ReferenceFormFunction &formSlot()
{
    static ReferenceFormFunction slot;
    return slot;
}

// The grid's fields.
enum FormField { F_KOD = 1, F_NAME, F_ABRRE, F_UNIT, F_AVALUE };

bool isEnter(const QKeyEvent *e)
{
    return (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) && !(e->modifiers() & ~Qt::KeypadModifier);
}

// Focus that comes and goes with a pop-up (the combo's list, a menu) or with another window being
// activated is no move between the form's fields.
bool fieldMove(Qt::FocusReason reason)
{
    return reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason;
}

} // namespace

const QList<FormMenuItem> &formContextMenuItems()
{
    static const QList<FormMenuItem> items = {
        {570, "&Kaydet", "PBKAYDET", "Değişiklikleri kaydet ve çık"},
        {0, "", "", ""},
        {572, "&Çıkış...", "PBIPTAL", "Çıkış"},
    };
    return items;
}

ReferenceIngredientForm::ReferenceIngredientForm(QWidget *owner, const RmFormInput &input) : QDialog(owner)
{
    setWindowTitle(QStringLiteral("Referans Matris Yem Maddesi Yazımı"));
    setWindowIcon(ResourceLibrary::icon(QStringLiteral("VXOMAIN")));
    setModal(true);
    QFont dialogFont(QStringLiteral("MS Shell Dlg"), 8);
    setFont(dialogFont);
    const QFontMetrics fm(dialogFont);
    resize(341 * fm.averageCharWidth() / 4, 366 * fm.height() / 8);

    KOD = new QLineEdit(this);
    KOD->setReadOnly(true);
    KOD->setFocusPolicy(Qt::NoFocus); // never keeps the focus
    YM_ADI = new QVSLE(this);
    YM_ADI->setMaxLength(25); // the width of YM_ADI in the matrix: nothing typed is cut on saving
    FIATI = new QLineEdit(this);
    CB_GRUB = new QComboBox(this);
    CB_GRUB->setEditable(true);
    CB_GRUB->setInsertPolicy(QComboBox::NoInsert);
    CB_GRUB->setCompleter(nullptr); // a typed name is no choice from the list
    CB_GRUB->lineEdit()->setMaxLength(11);
    auto grid = makeGridClass(GridClass::RYY, this, this);
    BROWSER = grid.release();

    const QSize icon(24, 24), button(40, 36);
    PBKAYDET_ = pictureButton(this, QStringLiteral("VXOOK2"), QStringLiteral("Kaydet"), icon, button);
    PBIPTAL_ = pictureButton(this, QStringLiteral("VXOIPTAL2"), QStringLiteral("Çıkış"), icon, button);
    for (QPushButton *b : {PBKAYDET_, PBIPTAL_}) {
        b->setFont(QFont(QStringLiteral("Microsoft Sans Serif"), 9));
        b->setAutoDefault(false);
        b->setDefault(false);
    }

    auto *fields = new QGridLayout;
    const auto label = [this](const char *text) { return new QLabel(QString::fromUtf8(text), this); };
    fields->addWidget(label("Kod:"), 0, 0);
    fields->addWidget(KOD, 0, 1);
    fields->addWidget(label("Adı:"), 0, 2);
    fields->addWidget(YM_ADI, 0, 3);
    fields->addWidget(label("Fiatı:"), 1, 0);
    fields->addWidget(FIATI, 1, 1);
    fields->addWidget(label("Grubu:"), 1, 2);
    fields->addWidget(CB_GRUB, 1, 3);
    fields->setColumnStretch(1, 1);
    fields->setColumnStretch(3, 3);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(PBKAYDET_);
    buttons->addWidget(PBIPTAL_);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(BROWSER, 1);
    layout->addLayout(buttons);
    setTabOrder(YM_ADI, FIATI);
    setTabOrder(FIATI, CB_GRUB);
    setTabOrder(CB_GRUB, BROWSER);
    setTabOrder(BROWSER, PBKAYDET_);
    setTabOrder(PBKAYDET_, PBIPTAL_);

    connect(PBKAYDET_, &QPushButton::clicked, this, &ReferenceIngredientForm::PBKAYDET);
    connect(PBIPTAL_, &QPushButton::clicked, this, &ReferenceIngredientForm::PBIPTAL);
    guardNumberTyping(FIATI, numberCharactersText(priceName()));
    // A choice from the group list is a change; so is a group typed into its field (a fresh database
    // has no group to choose), counted when the field is left or the form is closed.
    connect(CB_GRUB, &QComboBox::activated, this, [this](int) { YYCHANGE = true; });

    m_menu = new QMenu(QStringLiteral("&Yazım"), this);
    for (const FormMenuItem &item : formContextMenuItems()) {
        if (!*item.text) {
            m_menu->addSeparator();
            continue;
        }
        QAction *a = m_menu->addAction(QString::fromUtf8(item.text));
        a->setStatusTip(QString::fromUtf8(item.description));
        a->setData(item.id);
        const QString command = QString::fromLatin1(item.command);
        connect(a, &QAction::triggered, this, [this, command] {
            if (command == QLatin1String("PBKAYDET"))
                PBKAYDET();
            else
                PBIPTAL();
        });
    }
    for (QWidget *w : {static_cast<QWidget *>(this), static_cast<QWidget *>(BROWSER)}) {
        w->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(w, &QWidget::customContextMenuRequested, this, [this, w](const QPoint &p) {
            m_menu->popup((w == BROWSER ? BROWSER->viewport() : w)->mapToGlobal(p));
        });
    }

    for (QWidget *w : {static_cast<QWidget *>(YM_ADI), static_cast<QWidget *>(FIATI), static_cast<QWidget *>(CB_GRUB)})
        w->installEventFilter(this);
    CB_GRUB->lineEdit()->installEventFilter(this);

    BrowserOwner::YYCHANGE = [this](bool on) {
        if (on)
            YYCHANGE = true;
    };
    KEYBOARDNAVIGATION = [this](bool on) { m_keyMode = on; };
    CELLEDIT = [this](BCellEditEvent &ev) {
        if (ev.mode == CellEditMode::Begin)
            return ev.column == F_AVALUE && valueCellEditable(ev.recNo);
        if (ev.mode == CellEditMode::Typed && ev.VALUECHANGED()) {
            const int row = ev.recNo - 1;
            const int decimals = row >= 0 && row < AYYDECIM.size() ? AYYDECIM[row] : 4;
            if (const std::optional<QString> text = formValueText(ev.TEXTVALUE, decimals)) {
                ev.TEXTVALUE = *text;
            } else {
                ev.TEXTVALUE = ev.originalText; // no number, or too wide for the cell: the old value stays
                refuseTyped(BROWSER, rmNotANumberText());
            }
        }
        if (ev.mode == CellEditMode::Stored && m_server)
            m_server->COMMIT();
        return true;
    };
    EDITCHANGE = [this](BCellEditEvent &ev) {
        if (!RESULT || !ev.editor || !m_server)
            return;
        // From the first change on, keystrokes and pastes that bring other characters than a
        // number's are refused whole; the change that opened the edit came before that guard.
        if (!ev.editor->validator())
            guardNumberTyping(ev.editor, rmNumbersOnlyText());
        if (numberCharactersOnly(ev.editor->text()))
            return;
        RESULT = false;
        ev.editor->setText(ev.originalText);
        RESULT = true;
        refuseTyped(ev.editor, rmNumbersOnlyText());
    };

    fill(input);
    YYCHANGE = false;
}

ReferenceIngredientForm::~ReferenceIngredientForm()
{
    if (m_server && m_server->USED())
        m_server->CLOSE();
}

void ReferenceIngredientForm::fill(const RmFormInput &input)
{
    ServerRows rows;
    bool opened = false;
    const QList<FormDefinition> definitions = readFormDefinitions(&opened);
    if (opened) {
        CB_GRUB->addItems(sortedFormGroups(input.groups));
        const auto value = [&](const QString &name) {
            const qsizetype i = input.fieldNames.indexOf(name);
            return i >= 0 && i < input.record.size() ? input.record[i] : QString();
        };
        KOD->setText(formCodeText(value(QStringLiteral("KOD"))));
        YM_ADI->setCURRENTTEXT(value(QStringLiteral("YM_ADI")));
        FIATI->setText(value(QStringLiteral("FIATI")));
        CB_GRUB->setEditText(value(QStringLiteral("GRUBU")));
        m_groupAtOpen = CB_GRUB->currentText();
        m_rows = formNutrientRows(input.fieldNames, input.record, definitions);
        for (const FormNutrientRow &r : m_rows) {
            // The shown texts go without their padding (the grid would cut padded texts short);
            // the hand-back carries the definitions' texts as stored.
            rows.append(ServerRow{r.row.KOD, r.row.NAME.trimmed(), r.row.ABRRE.trimmed(), r.row.UNIT.trimmed(),
                                  r.row.AVALUE});
            AYYDECIM.append(r.decimals);
        }
    }
    const auto widest = [&rows](int field, int least) {
        qsizetype width = least;
        for (const ServerRow &r : rows)
            width = std::max(width, r[field - 1].toString().size());
        return int(width);
    };
    const ServerFields fields = {{QStringLiteral("KOD"), u'N', 3, 0},
                                 {QStringLiteral("NAME"), u'C', widest(F_NAME, 1), 0},
                                 {QStringLiteral("ABRRE"), u'C', widest(F_ABRRE, 1), 0},
                                 {QStringLiteral("UNIT"), u'C', widest(F_UNIT, 1), 0},
                                 {QStringLiteral("AVALUE"), u'C', 11, 0}};
    m_server = std::make_shared<BARRAYSERVER>(fields, rows);
    if (m_server->USED())
        COLUMNFORMAT();
}

void ReferenceIngredientForm::COLUMNFORMAT()
{
    BROWSER->USE(m_server);
    BROWSER->setFREEZE(2);
    BROWSER->setEDITABLE(true);
    BROWSER->setAUTOEDIT(BrowserAutoEdit::EXCEL);
    BROWSER->setENTERMOVESDOWN(true); // Enter takes the typing on to the next nutrient's value
    BROWSER->setENABLECOLUMNMOVE(false);
    BROWSER->addCOLORCONDITION({BCOLORCONDITION::oddRecNo(), std::nullopt, QBrush(QColor(190, 190, 190))});
    BVIEWSTYLE caption;
    QFont bold(QStringLiteral("Arial"), 8);
    bold.setBold(true);
    caption.font = bold;
    caption.alignment = Qt::AlignCenter;
    BROWSER->setCAPTIONVIEW(caption);
    BVIEWSTYLE data;
    data.alignment = Qt::AlignLeft | Qt::AlignVCenter;
    BROWSER->setDATAVIEW(data);
    const char *const captions[] = {"Kod", "Besin Maddesi Adı", "Kısaltma", "Birim", "Değerler"};
    for (int i = F_KOD; i <= F_AVALUE; ++i) {
        BDATACOLUMN *c = BROWSER->GETCOLUMN(i);
        if (!c)
            continue;
        c->setCAPTION(QString::fromUtf8(captions[i - 1]));
        c->setEDITABLE(i == F_AVALUE);
        c->setSELECTABLE(i == F_AVALUE);
    }
    fitColumnWidths();
    if (BDATACOLUMN *kod = BROWSER->GETCOLUMN(int(F_KOD)))
        kod->setALIGNMENT(Qt::AlignCenter);
    if (BDATACOLUMN *value = BROWSER->GETCOLUMN(int(F_AVALUE))) {
        value->setALIGNMENT(Qt::AlignRight | Qt::AlignVCenter);
        // A definition without a matrix column has nothing to edit: its cell is shown grey.
        value->addCOLORCONDITION({BCOLORCONDITION::byRecord([this](int recNo) { return !valueCellEditable(recNo); }),
                                  QColor(Qt::darkGray), std::nullopt});
    }
    BROWSER->KEYCOMMAND(Qt::Key_Delete, [this] { FDELETE(); });
    BROWSER->RECALCULATE();
    BROWSER->setCURRENTCOLUMN(F_AVALUE);
    BROWSER->clearSelection();
}

void ReferenceIngredientForm::fitColumnWidths()
{
    // Every column as wide as what it shows (its caption and its texts without outer blanks); the
    // value column at least as wide as a full value, so typed values are seen whole.
    const QFontMetrics data(BROWSER->dataFont());
    for (int i = F_KOD; i <= F_AVALUE; ++i) {
        BDATACOLUMN *c = BROWSER->GETCOLUMN(i);
        if (!c)
            continue;
        const QFontMetrics caption(BROWSER->captionFont(c));
        int width = caption.horizontalAdvance(c->CAPTION());
        if (i == F_AVALUE)
            width = std::max(width, data.horizontalAdvance(QStringLiteral("-00000.0000")));
        for (int rec = 1; rec <= m_server->LASTREC(); ++rec)
            width = std::max(width, data.horizontalAdvance(c->textFor(rec).trimmed()));
        c->setWIDTH(width + 14);
    }
}

bool ReferenceIngredientForm::valueCellEditable(int recNo) const
{
    return recNo >= 1 && recNo <= m_rows.size() && m_rows[recNo - 1].field >= 0;
}

std::optional<RmFormHandBack> ReferenceIngredientForm::handBack() const
{
    if (!LYYKAYDET)
        return std::nullopt;
    return m_handBack;
}

QString ReferenceIngredientForm::priceName()
{
    return QStringLiteral("Fiyat");
}

void ReferenceIngredientForm::fieldGotFocus(QWidget *field)
{
    if (field == YM_ADI)
        CYYESKI = YM_ADI->text();
    else if (field == FIATI)
        CYYESKI = FIATI->text();
    m_keyMode = true;
    if (m_server && m_server->USED() && m_server->LASTREC() > 0)
        m_server->GOTOP();
    BROWSER->clearSelection();
}

void ReferenceIngredientForm::fieldLostFocus(QWidget *field, Qt::FocusReason reason)
{
    // Moving on with Tab or Enter leads to the next field of the form; a click, a step back or a
    // move the program makes goes where it was aimed.
    const bool follow = !m_closing && reason == Qt::TabFocusReason;
    const auto moveOn = [this](QWidget *to) {
        QPointer<QWidget> landed = QApplication::focusWidget();
        QTimer::singleShot(0, to, [this, to, landed] {
            if (!m_closing && QApplication::focusWidget() == landed && landed != to)
                to->setFocus(Qt::TabFocusReason);
        });
    };
    if (field == YM_ADI) {
        if (YM_ADI->text() != CYYESKI)
            YYCHANGE = true;
    } else if (field == FIATI) {
        if (FIATI->text() != CYYESKI) {
            // An emptied price stays empty; what is no number keeps the price it had.
            if (const std::optional<QString> price = formPriceText(FIATI->text())) {
                RESULT = false;
                FIATI->setText(*price);
                RESULT = true;
                YYCHANGE = true;
            } else {
                // No number, or too wide for the price field: the price stays as it was.
                RESULT = false;
                FIATI->setText(CYYESKI);
                RESULT = true;
                refuseTyped(FIATI, typedNumberRefusal(priceName(), TypedNumberFault::NotANumber));
            }
        }
        if (follow)
            moveOn(CB_GRUB);
    } else if (field == CB_GRUB) {
        noteTypedGroup();
        m_keyMode = false;
        BROWSER->setCURRENTCOLUMN(F_AVALUE);
        BROWSER->REFRESH();
        if (follow)
            moveOn(BROWSER);
    }
}

bool ReferenceIngredientForm::eventFilter(QObject *watched, QEvent *event)
{
    QWidget *field = watched == CB_GRUB->lineEdit() ? CB_GRUB : qobject_cast<QWidget *>(watched);
    switch (event->type()) {
    case QEvent::FocusIn:
        if (watched != CB_GRUB->lineEdit() && fieldMove(static_cast<QFocusEvent *>(event)->reason()))
            fieldGotFocus(field);
        break;
    case QEvent::FocusOut:
        if (watched != CB_GRUB->lineEdit() && fieldMove(static_cast<QFocusEvent *>(event)->reason()))
            fieldLostFocus(field, static_cast<QFocusEvent *>(event)->reason());
        break;
    case QEvent::KeyPress: {
        auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Escape && field == CB_GRUB) {
            // Escape in the group field closes its list, never the form with what was typed.
            CB_GRUB->hidePopup();
            return true;
        }
        if (isEnter(key)) {
            // Enter moves on to the next field while that mode is on, and does nothing otherwise
            // (the form has no default button).
            if (m_keyMode)
                focusNextChild();
            return true;
        }
        break;
    }
    default:
        break;
    }
    return QDialog::eventFilter(watched, event);
}

void ReferenceIngredientForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!m_shown) {
        m_shown = true;
        YM_ADI->setFocus(Qt::OtherFocusReason);
    }
}

void ReferenceIngredientForm::FDELETE()
{
    if (!m_server || !m_server->USED() || m_server->eof())
        return;
    if (BROWSER->CURRENTCOLUMN() != F_AVALUE || !valueCellEditable(m_server->RECNO()))
        return;
    if (BDATACOLUMN *c = BROWSER->GETCOLUMN(BROWSER->CURRENTCOLUMN()); !c || !c->EDITABLE())
        return;
    m_server->FIELDPUT(F_AVALUE, QString(11, u' '));
    BROWSER->REFRESH();
}

void ReferenceIngredientForm::noteTypedGroup()
{
    if (CB_GRUB->currentText().trimmed() != m_groupAtOpen.trimmed())
        YYCHANGE = true;
}

void ReferenceIngredientForm::takeTypedFields()
{
    // Closing from the field being typed in (the context menu, Escape, the close box) counts what
    // it holds, as leaving it would: nothing typed is dropped unasked.
    QWidget *focused = QApplication::focusWidget();
    if (focused == YM_ADI || focused == FIATI)
        fieldLostFocus(focused, Qt::OtherFocusReason);
    noteTypedGroup();
}

void ReferenceIngredientForm::DOKAYDET()
{
    BROWSER->storePendingEdit();
    if (m_server) {
        for (int i = 0; i < m_rows.size() && i < m_server->LASTREC(); ++i)
            m_rows[i].row.AVALUE = m_server->textAt(i + 1, F_AVALUE);
    }
    m_handBack = formHandBack(YM_ADI->text(), FIATI->text(), CB_GRUB->currentText(), m_rows);
    LYYKAYDET = true;
    YYCHANGE = false;
    if (m_server && m_server->USED())
        m_server->CLOSE();
}

void ReferenceIngredientForm::DOIPTAL()
{
    m_handBack = {};
    LYYKAYDET = false;
    YYCHANGE = false;
    if (m_server && m_server->USED())
        m_server->CLOSE();
}

bool ReferenceIngredientForm::SONKONT()
{
    if (!YYCHANGE) {
        DOIPTAL();
        return true;
    }
    switch (askSaveBeforeClosing(this, QStringLiteral("Uyarı..."),
                                 QStringLiteral("Seçili Yem Maddesinin içeriği değişti!\n\nKaydetmek istiyor musunuz?"))) {
    case MessageAnswer::Yes:
        DOKAYDET();
        return true;
    case MessageAnswer::No:
        DOIPTAL();
        return true;
    default:
        return false; // the form stays with everything typed
    }
}

void ReferenceIngredientForm::finish(int result)
{
    m_closing = true;
    done(result);
}

void ReferenceIngredientForm::PBKAYDET()
{
    if (m_closing)
        return;
    m_closing = true;
    BROWSER->storePendingEdit();
    takeTypedFields();
    if (YYCHANGE)
        DOKAYDET();
    else
        DOIPTAL();
    finish(LYYKAYDET ? Accepted : Rejected);
}

void ReferenceIngredientForm::PBIPTAL()
{
    if (m_closing)
        return;
    m_closing = true;
    BROWSER->storePendingEdit();
    takeTypedFields();
    if (YYCHANGE) {
        if (!SONKONT()) {
            m_closing = false;
            return;
        }
    } else {
        DOIPTAL();
    }
    finish(LYYKAYDET ? Accepted : Rejected);
}

void ReferenceIngredientForm::closeEvent(QCloseEvent *event)
{
    if (!m_closing) {
        m_closing = true;
        BROWSER->storePendingEdit();
        takeTypedFields();
        if (!SONKONT()) {
            m_closing = false;
            event->ignore();
            return;
        }
        setResult(LYYKAYDET ? Accepted : Rejected);
    }
    event->accept();
    QDialog::closeEvent(event);
}

void ReferenceIngredientForm::reject()
{
    if (m_closing) {
        QDialog::reject();
        return;
    }
    PBIPTAL();
}

// Shown modally over the record; the hand-back is read once the dialog has closed.
std::optional<RmFormHandBack> YM_YAZ_WIND(QWidget *owner, const RmFormInput &input)
{
    ReferenceIngredientForm form(owner, input);
    form.exec();
    return form.handBack();
}

ReferenceFormFunction referenceForm()
{
    if (formSlot())
        return formSlot();
    return &YM_YAZ_WIND;
}

void setReferenceForm(ReferenceFormFunction form)
{
    formSlot() = std::move(form);
}

bool applyFormHandBack(const QStringList &fieldNames, QStringList &record, const RmFormHandBack &handBack)
{
    if (handBack.AYYDEGERLER.isEmpty())
        return false;
    const auto put = [&](const QString &name, const QString &value) {
        const qsizetype i = fieldNames.indexOf(name);
        if (i >= 0 && i < record.size())
            record[i] = value;
    };
    put(QStringLiteral("YM_ADI"), handBack.CYYADI);
    put(QStringLiteral("FIATI"), handBack.CYYFIATI);
    put(QStringLiteral("GRUBU"), handBack.CYYGRUBU);
    // Each nutrient field takes the value of the first row of its name, as the form showed it.
    QSet<QString> written;
    for (const RmFormValueRow &row : handBack.AYYDEGERLER) {
        const QString name = row.ABRRE.trimmed();
        const qsizetype i = fieldNames.indexOf(name, kReferenceFixedFields);
        if (name.isEmpty() || i < kReferenceFixedFields || i >= record.size() || written.contains(name))
            continue;
        written.insert(name);
        record[i] = row.AVALUE;
    }
    return true;
}

} // namespace vexo
