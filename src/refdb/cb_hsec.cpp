#include "refdb/cb_hsec.h"

#include "controls/picture_button.h"
#include "problem/turkish_text.h"
#include "resources/resource_library.h"

#include <QComboBox>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace vexo {

CB_HSEC::CB_HSEC(QWidget *owner, const QString &missingName, const QStringList &choices)
    : QDialog(owner)
{
    setWindowTitle(QStringLiteral("Eşleştirme Diyaloğu"));
    setWindowIcon(ResourceLibrary::icon(QStringLiteral("VXOMAIN")));
    setModal(true);

    m_prompt = new QLabel(missingName + QStringLiteral(" ->\nEşini Seçiniz:"), this);
    m_prompt->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_combo = new QComboBox(this);
    m_combo->setEditable(true);
    m_combo->setInsertPolicy(QComboBox::NoInsert);
    m_combo->setMinimumWidth(200);
    m_ok = pictureButton(this, QStringLiteral("VXOOK2"), QStringLiteral("Tamam"), QSize(32, 32), QSize(48, 40));
    m_skip = pictureButton(this, QStringLiteral("VXOATLA"), QStringLiteral("Altla"), QSize(32, 32), QSize(48, 40));
    m_cancel = pictureButton(this, QStringLiteral("VXOIPTAL2"), QStringLiteral("İptal"), QSize(32, 32), QSize(48, 40));
    // Enter in the combo's edit part must not press a button for the user.
    for (QPushButton *b : {m_ok, m_skip, m_cancel})
        b->setAutoDefault(false);

    auto *grid = new QGridLayout(this);
    grid->addWidget(m_prompt, 0, 0, 3, 1);
    grid->addWidget(m_combo, 0, 1, 3, 1, Qt::AlignVCenter);
    auto *buttons = new QVBoxLayout;
    buttons->addWidget(m_ok);
    buttons->addWidget(m_skip);
    buttons->addWidget(m_cancel);
    grid->addLayout(buttons, 0, 2, 3, 1);
    grid->setColumnStretch(1, 1);

    for (int i = 0; i < choices.size(); ++i)
        m_ASECENEK.append({i + 1, choices.at(i)});
    std::stable_sort(m_ASECENEK.begin(), m_ASECENEK.end(), [](const auto &a, const auto &b) {
        return turkishLess(a.second, b.second);
    });
    for (const auto &entry : m_ASECENEK)
        m_combo->addItem(entry.second);
    m_combo->setCurrentIndex(-1);
    m_combo->clearEditText();

    // Enter in the edit part would pick the entry whose text was typed; a typed name is no pick.
    m_combo->installEventFilter(this);
    m_combo->lineEdit()->installEventFilter(this);
    m_combo->setCompleter(nullptr);
    connect(m_combo, &QComboBox::activated, this, [this](int index) { m_picked = index; });
    connect(m_combo, &QComboBox::editTextChanged, this, [this](const QString &text) {
        if (m_picked >= 0 && text != m_combo->itemText(m_picked))
            m_picked = -1;
    });
    connect(m_ok, &QPushButton::clicked, this, &CB_HSEC::PBTAMAM);
    connect(m_skip, &QPushButton::clicked, this, &CB_HSEC::PB_ATLA);
    connect(m_cancel, &QPushButton::clicked, this, &CB_HSEC::PBIPTAL);
}

bool CB_HSEC::eventFilter(QObject *watched, QEvent *event)
{
    if ((watched == m_combo || watched == m_combo->lineEdit()) && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter)
            return true;
    }
    return QDialog::eventFilter(watched, event);
}

void CB_HSEC::setIPTAL(bool noCancel)
{
    m_cancel->setVisible(!noCancel);
}

QList<int> CB_HSEC::shownPositions() const
{
    QList<int> out;
    for (const auto &entry : m_ASECENEK)
        out.append(entry.first);
    return out;
}

void CB_HSEC::PBTAMAM()
{
    NSELECTED = 0;
    const int k = m_picked;
    // Only an entry picked from the list counts, not a text typed into the edit part.
    if (k < 0 || k >= m_ASECENEK.size()) {
        m_combo->setFocus();
        return;
    }
    NSELECTED = quint32(m_ASECENEK.at(k).first);
    done(1);
}

void CB_HSEC::PB_ATLA()
{
    NSELECTED = 0;
    done(2);
}

void CB_HSEC::PBIPTAL()
{
    NSELECTED = 0;
    done(0);
}

void CB_HSEC::reject()
{
    PBIPTAL();
}

NameMatchAnswer DialogNameMatcher::choose(QWidget *owner, const QString &caption, const QString &name,
                                          const QStringList &candidates)
{
    CB_HSEC dialog(owner, name, candidates);
    if (!caption.isEmpty())
        dialog.setWindowTitle(caption);
    const int result = dialog.exec();
    NameMatchAnswer answer;
    if (result == 1) {
        answer.result = NameMatchAnswer::Chosen;
        answer.position = int(dialog.NSELECTED);
    } else if (result == 2) {
        answer.result = NameMatchAnswer::Skipped;
    }
    return answer;
}

} // namespace vexo
