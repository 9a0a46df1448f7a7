#include "matrix/colon_maths.h"

#include "controls/barray_server.h"
#include "controls/control_extensions.h"
#include "controls/number_field.h"
#include "controls/picture_button.h"
#include "problem/number_text.h"
#include "resources/resource_library.h"

#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace vexo {

QStringList arithmeticFieldNames(const QStringList &fieldNames)
{
    static const QStringList left = {QStringLiteral("KOD"), QStringLiteral("YM_ADI"), QStringLiteral("GRUBU")};
    QStringList names;
    for (const QString &n : fieldNames)
        if (!left.contains(n))
            names.append(n);
    return names;
}

OperandReading readOperand(const QString &text, bool picked, const QStringList &names, const QString &mode)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return {mode, text, {}};
    if (picked && names.contains(t))
        return {QStringLiteral("A"), t, {}};
    bool fits = true;
    const TypedNumberFault fault = typedNumberFault(t, true);
    const QString number = fault == TypedNumberFault::None ? SDAYA(t, 4, &fits) : QString();
    if (fault != TypedNumberFault::None || !fits)
        return {mode, text, typedNumberRefusal(operandName(), TypedNumberFault::NotANumber)};
    return {QStringLiteral("N"), number, {}};
}

QString operandName()
{
    return QStringLiteral("Uygulanacak değer");
}

QString numberOperandRefusal(const QString &op, const QString &operand)
{
    const TypedNumberFault fault = typedNumberFault(operand, true);
    if (fault != TypedNumberFault::None)
        return typedNumberRefusal(operandName(), fault);
    if (op == u"/" && Val(QString(operand).replace(u',', u'.')) == 0)
        return QStringLiteral("Sıfıra bölünemez: kolondaki değerler değiştirilmedi...");
    return QString();
}

COLONMATHS::COLONMATHS(QWidget *owner, const BARRAYSERVER *server) : QDialog(owner)
{
    setWindowTitle(QStringLiteral("Kolon Aritmetiği"));
    setWindowIcon(ResourceLibrary::icon(QStringLiteral("VXOTOD")));
    setModal(true);
    QStringList fields;
    if (server)
        for (const ServerField &f : server->fields())
            fields.append(f.name);
    m_names = arithmeticFieldNames(fields);

    auto *prompt = new QLabel(QStringLiteral("Seçili kolona uygulanacak değer:"), this);
    m_combo = new QVCOMBOBOX(this);
    m_combo->setEditable(true);
    m_combo->setInsertPolicy(QComboBox::NoInsert);
    // A name counts only when it is typed whole and exactly; no completion may finish it.
    m_combo->setCompleter(nullptr);
    m_combo->addItems(m_names);
    m_combo->setCurrentIndex(-1);
    m_combo->installEventFilter(this);
    if (m_combo->lineEdit()) {
        m_combo->lineEdit()->installEventFilter(this);
        connect(m_combo->lineEdit(), &QLineEdit::textEdited, this, [this] {
            m_edited = true;
            m_refused = false;
        });
    }
    connect(m_combo, qOverload<int>(&QComboBox::activated), this, [this] {
        m_edited = true;
        m_refused = false;
        LISTBOXSELECT();
    });

    QFont opFont(QStringLiteral("MS Sans Serif"), 10);
    opFont.setBold(true);
    const QList<std::array<QString, 3>> ops = {
        {QStringLiteral("+"), QStringLiteral("+"), QStringLiteral("Artı")},
        {QStringLiteral("--"), QStringLiteral("-"), QStringLiteral("Eksi")},
        {QStringLiteral("*"), QStringLiteral("*"), QStringLiteral("Çarpı")},
        {QStringLiteral("/"), QStringLiteral("/"), QStringLiteral("Bölü")},
        {QStringLiteral("K"), QStringLiteral("K"), QStringLiteral("Girilen değeri/kolonu seçilen kolona kopyala")},
    };
    auto *layout = new QGridLayout(this);
    layout->addWidget(prompt, 0, 0, 1, 6);
    layout->addWidget(m_combo, 1, 0, 1, 6);
    int col = 0;
    for (const auto &op : ops) {
        auto *b = new QPushButton(op[0], this);
        QFont f = opFont;
        if (op[1] == QStringLiteral("K"))
            f = QFont(QStringLiteral("Microsoft Sans Serif"), 8, QFont::Bold);
        b->setFont(f);
        b->setToolTip(op[2]);
        b->setStatusTip(op[2]);
        b->setAutoDefault(false);
        const QString sign = op[1];
        connect(b, &QPushButton::clicked, this, [this, sign] { operatorButton(sign); });
        m_ops.append({sign, b});
        layout->addWidget(b, 2, col++);
    }
    m_cancel = pictureButton(this, QStringLiteral("VXOIPTAL2"), QStringLiteral("İptal"), QSize(20, 20), QSize(32, 28));
    m_cancel->setDefault(true);
    connect(m_cancel, &QPushButton::clicked, this, &COLONMATHS::PBIPTAL);
    layout->addWidget(m_cancel, 2, col);
    m_combo->setFocus();
}

QPushButton *COLONMATHS::operatorButtonOf(const QString &op) const
{
    for (const auto &[sign, b] : m_ops)
        if (sign == op)
            return b;
    return nullptr;
}

bool COLONMATHS::ISFLDNAME(const QString &text)
{
    const bool isName = m_picked && m_names.contains(text);
    CVTYPE = isName ? QStringLiteral("A") : QStringLiteral("N");
    return isName;
}

void COLONMATHS::LISTBOXSELECT()
{
    m_picked = true;
}

void COLONMATHS::EDITFOCUSCHANGE()
{
    if (!m_edited)
        return;
    m_edited = false;
    const OperandReading r = readOperand(m_combo->currentText(), m_picked, m_names, CVTYPE);
    if (!r.refusal.isEmpty()) {
        m_combo->setEditText(m_last);
        m_refused = true;
        refuseTyped(m_combo, r.refusal);
        return;
    }
    CVTYPE = r.mode;
    if (r.text != m_combo->currentText())
        m_combo->setEditText(r.text);
    if (!r.text.trimmed().isEmpty())
        m_last = r.text;
}

bool COLONMATHS::eventFilter(QObject *watched, QEvent *event)
{
    if (!m_ended && (watched == m_combo || watched == m_combo->lineEdit()) && event->type() == QEvent::FocusOut)
        EDITFOCUSCHANGE();
    return QDialog::eventFilter(watched, event);
}

void COLONMATHS::operatorButton(const QString &op)
{
    // A click takes the focus from the combo box first; a call without a click classifies here.
    EDITFOCUSCHANGE();
    if (m_refused) {
        m_refused = false;
        m_combo->setFocus();
        return;
    }
    const QString text = m_combo->currentText().trimmed();
    const QString refusal = text.isEmpty() ? typedNumberRefusal(operandName(), TypedNumberFault::Empty)
                            : CVTYPE == u"N" ? numberOperandRefusal(op, text)
                                             : QString();
    if (!refusal.isEmpty()) {
        m_combo->setFocus();
        refuseTyped(m_combo, refusal);
        return;
    }
    CVALUEX = text;
    COPERAT = op;
    m_ended = true;
    done(1);
}

void COLONMATHS::PBIPTAL()
{
    CVALUEX.clear();
    COPERAT.clear();
    CVTYPE = QStringLiteral("U");
    m_ended = true;
    done(0);
}

void COLONMATHS::reject()
{
    // The close box: the results stay as they are.
    done(0);
}

} // namespace vexo
