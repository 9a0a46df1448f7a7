#include "editor_fixture.h"

#include "problem/app_globals.h"
#include "problem/number_text.h"
#include "problem/dbserverr.h"
#include "problem/open_problem.h"
#include "problem/problem_file.h"
#include "problem/reference_tables.h"
#include "solver_fixture.h"

#include <QDir>

namespace vexo::test {

EditorEnvironment::EditorEnvironment()
{
    openProblem().reset();
    openProblem().UPANODEGER.reset();
    referenceTables().ABMDESC.clear();
    AppGlobals &g = appGlobals();
    g.CVERIKOK = m_dir.path();
    g.CVERIDIZIN = m_dir.path();
    g.CPROGDIZIN = m_dir.path();
    g.LRMDENOKU = false;
}

EditorEnvironment::~EditorEnvironment()
{
    closeReferenceTables();
    referenceTables().ABMDESC.clear();
    openProblem().reset();
    openProblem().UPANODEGER.reset();
    appGlobals().LRMDENOKU = false;
}

QString EditorEnvironment::path(const QString &name) const
{
    return QDir(m_dir.path()).filePath(name);
}

void installSmallProblem()
{
    FeedProblem fp;
    auto ingredient = [](const char *name, double price) {
        IngredientSpec s;
        s.name = QString::fromLatin1(name);
        s.price = price;
        return s;
    };
    auto nutrient = [](const QString &name, Opt fix, Opt min) {
        NutrientSpec s;
        s.name = name;
        s.fix = fix;
        s.min = min;
        return s;
    };
    fp.ingredients = {ingredient("MISIR", 10.0), ingredient("SOYA", 20.0), ingredient("ARPA", 12.0),
                      ingredient("KEPEK", 8.0)};
    fp.nutrients = {nutrient(kWeightNutrient, 1.0, {}), nutrient(kDryMatterNutrient, {}, 88.0),
                    nutrient(QStringLiteral("HP"), {}, 18.0)};
    fp.content = {{1, 1, 1, 1}, {88, 89, 89, 88}, {8.5, 44, 11, 15}};
    fp.ratios = {RatioSpec{QStringLiteral("HP"), kDryMatterNutrient, {}, {}, 0.5}};
    fp.groups = {GroupSpec{QStringLiteral("TAHIL"), {}, {}, 80.0}, GroupSpec{QStringLiteral("PROTEIN"), {}, 5.0, {}}};
    fp.membership = {{1, 0, 1, 0}, {0, 1, 0, 0}};
    fp.install();
    openProblem().LAMATHAZIR = true;
}

bool openSmallProblem(const QString &path)
{
    OpenProblem &p = openProblem();
    p.reset();
    if (!DATAFILECREATE(nullptr, path) || !DATAFOPEN(nullptr, path))
        return false;
    // The lists go in beside the open table, which the fixture's reset would close.
    std::unique_ptr<DBSERVERR> table = std::move(p.OPROBDBF);
    installSmallProblem();
    p.OPROBDBF = std::move(table);
    return true;
}

ScriptedDialogs::ScriptedDialogs()
{
    setEditorDialogs(this);
}

ScriptedDialogs::~ScriptedDialogs()
{
    setEditorDialogs(nullptr);
}

bool ScriptedDialogs::addIngredients(QWidget *, int room)
{
    asked << QStringLiteral("addIngredients %1").arg(room);
    return onAddIngredients ? onAddIngredients(room) : false;
}

bool ScriptedDialogs::addNutrients(QWidget *)
{
    asked << QStringLiteral("addNutrients");
    return onAddNutrients ? onAddNutrients() : false;
}

int ScriptedDialogs::assignGroup(QWidget *, const QString &ingredient)
{
    asked << QStringLiteral("assignGroup ") + ingredient;
    return groups.isEmpty() ? 0 : groups.takeFirst();
}

int ScriptedDialogs::choose(QWidget *, const QString &title, const QStringList &items)
{
    asked << QStringLiteral("choose ") + title;
    choiceItems << items;
    return choices.isEmpty() ? 0 : choices.takeFirst();
}

void ScriptedDialogs::showNutrientContent(QWidget *, const QString &ingredient)
{
    asked << QStringLiteral("content ") + ingredient;
}

void ScriptedDialogs::showContributions(QWidget *, const QString &nutrient, const QString &level)
{
    asked << QStringLiteral("contributions ") + nutrient + u'|' + level;
}

void addIngredientAsDialogDoes(const QString &name, const QString &price)
{
    OpenProblem &p = openProblem();
    Row row(YM_COLUMNS, QString(11, u' '));
    row[YMNAME] = name.leftJustified(kYmNameWidth);
    row[YMPRICE] = price.rightJustified(11);
    p.AYMLIST.append(row);
    p.AYMADLARI.append(name);
    for (Row &m : p.AAMAT)
        m.append(Str(1.0, 11, 4));
    p.LAMATDEG = true;
}

void addNutrientAsDialogDoes(const QString &name, const QString &unit)
{
    OpenProblem &p = openProblem();
    Row row(BM_COLUMNS, QString(11, u' '));
    row[BMNAME] = name.leftJustified(kBmNameWidth);
    row[BMUNIT] = unit.leftJustified(11);
    p.ABMLIST.append(row);
    p.ABMADLARI.append(name);
    p.ABMBIRIMLERI.append(unit);
    p.AAMAT.append(Row(p.AYMLIST.size(), Str(2.0, 11, 4)));
    p.LAMATDEG = true;
}

} // namespace vexo::test
