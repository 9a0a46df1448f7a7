#include "matrix/contribution_viewers.h"

#include "controls/control_extensions.h"
#include "controls/picture_button.h"
#include "problem/number_text.h"
#include "resources/resource_library.h"

#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace vexo {

namespace {

QString position2(int i)
{
    return QString::number(i).rightJustified(2);
}

} // namespace

QList<QStringList> nutrientContentRows(const OpenProblem &p, const QString &ingredient)
{
    QList<QStringList> rows;
    const int n = int(p.AYMADLARI.indexOf(ingredient));
    if (n < 0)
        return rows;
    const int k = int(p.ABMADLARI.indexOf(kDryMatterNutrient));
    const double d = k >= 0 ? Val(p.AAMAT.value(k).value(n)) : 0.0;
    for (int i = 0; i < p.ABMADLARI.size(); ++i) {
        const QString &name = p.ABMADLARI[i];
        const QString stored = p.AAMAT.value(i).value(n);
        double dm = 0.0;
        if (name == kDryMatterNutrient)
            dm = d;
        else if (name == kWeightNutrient)
            dm = 1.0;
        else if (d > 0)
            dm = Val(stored) / (d / 100.0);
        rows.append({position2(i + 1), name, p.ABMBIRIMLERI.value(i), stored, Str(dm, kCellWidth, 4)});
    }
    return rows;
}

QList<QStringList> contributionRows(const OpenProblem &p, const QString &nutrient, const QString &level)
{
    QList<QStringList> rows;
    const QString value = QString(level).remove(u'*').trimmed();
    const int b = int(p.ABMADLARI.indexOf(nutrient.trimmed()));
    if (value.isEmpty() || b < 0)
        return rows;
    const double v = Val(value);
    for (int i = 0; i < p.AYMLIST.size(); ++i) {
        const QString solution = p.AYMLIST[i].value(YMACOZUM);
        const QString s = QString(solution).remove(u'*').trimmed();
        if (s.isEmpty())
            continue;
        double c = Val(p.AAMAT.value(b).value(i)) * Val(s) / 100.0;
        c = v == 0.0 ? 0.0 : c / v * 100.0;
        rows.append({position2(i + 1), p.AYMLIST[i].value(YMNAME), solution, Str(MROUND(c, 2), 6, 2)});
    }
    return rows;
}

ContributionViewer::ContributionViewer(QWidget *owner, const QString &name, const QString &caption,
                                       const QString &listName, const QList<Column> &columns,
                                       const QList<QStringList> &rows)
    : QDialog(owner)
{
    setObjectName(name);
    setWindowTitle(caption);
    setWindowIcon(ResourceLibrary::icon(QStringLiteral("VXOTOD")));
    setModal(true);
    m_list = new QTreeWidget(this);
    m_list->setObjectName(listName);
    m_list->setRootIsDecorated(false);
    m_list->setSortingEnabled(false);
    m_list->header()->setSectionsClickable(false);
    const QPixmap back = ResourceLibrary::pixmap(QStringLiteral("BMPBACK"));
    if (!back.isNull()) {
        QPalette pal = m_list->viewport()->palette();
        pal.setBrush(QPalette::Base, QBrush(back));
        m_list->viewport()->setPalette(pal);
    }
    // Columns only when there is something to show, as an empty level opens a bare list.
    if (!rows.isEmpty()) {
        QStringList captions;
        for (const Column &c : columns)
            captions.append(c.caption);
        m_list->setHeaderLabels(captions);
        const int chars = fontMetrics().averageCharWidth();
        for (int i = 0; i < columns.size(); ++i) {
            m_list->setColumnWidth(i, columns[i].width * chars);
            m_list->headerItem()->setTextAlignment(i, columns[i].alignment);
        }
        for (const QStringList &row : rows) {
            auto *item = new QTreeWidgetItem(m_list, row);
            for (int i = 0; i < columns.size(); ++i)
                item->setTextAlignment(i, columns[i].alignment);
        }
        AUTOSIZE(m_list);
    } else {
        m_list->setHeaderHidden(true);
        m_list->setColumnCount(0);
    }
    m_ok = pictureButton(this, QStringLiteral("VXOOK2"), QStringLiteral("Tamam"), QSize(24, 24), QSize(40, 36));
    m_ok->setDefault(true);
    connect(m_ok, &QPushButton::clicked, this, &ContributionViewer::PBTAMAM);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_list);
    layout->addWidget(m_ok, 0, Qt::AlignRight);
}

BM_MUHT_GOR_WIN::BM_MUHT_GOR_WIN(QWidget *owner, const QString &ingredient)
    : ContributionViewer(owner, QStringLiteral("BM_MUHT_GOR_WIN"), QStringLiteral("Seçili YM'nin BM Muhtevası"),
                         QStringLiteral("LV_BMVALUES"),
                         {{QStringLiteral("No"), 4, Qt::AlignLeft},
                          {QStringLiteral("BM Adı"), 17, Qt::AlignLeft},
                          {QStringLiteral("Birim"), 13, Qt::AlignLeft},
                          {QStringLiteral("Havada Kuru"), 13, Qt::AlignRight},
                          {QStringLiteral("KM de"), 13, Qt::AlignRight}},
                         nutrientContentRows(openProblem(), ingredient.trimmed()))
{
    resize(520, 460);
}

HYM_KATILIYOR_WIN::HYM_KATILIYOR_WIN(QWidget *owner, const QString &nutrient, const QString &level)
    : ContributionViewer(owner, QStringLiteral("HYM_KATILIYOR_WIN"), QStringLiteral("Seçili BM'ye YM Katkıları"),
                         QStringLiteral("LV_HYEMKATILIYOR"),
                         {{QStringLiteral("No"), 4, Qt::AlignLeft},
                          {QStringLiteral("YM Adı"), 27, Qt::AlignLeft},
                          {QStringLiteral("Çözüm, %"), 13, Qt::AlignRight},
                          {QStringLiteral("Katkı, %"), 8, Qt::AlignRight}},
                         contributionRows(openProblem(), nutrient, level))
{
    resize(450, 420);
}

} // namespace vexo
