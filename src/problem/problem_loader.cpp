#include "problem/problem_loader.h"

#include "problem/app_globals.h"
#include "problem/dbserverr.h"
#include "problem/file_names.h"
#include "problem/messages.h"
#include "problem/name_match.h"
#include "problem/number_text.h"
#include "problem/nutrient_units.h"
#include "problem/open_problem.h"
#include "problem/problem_file.h"
#include "problem/reference_tables.h"

#include <QSet>

#include <functional>

namespace vexo {

namespace {

const QString kBlank11 = QString(kCellWidth, u' ');

QString padded(const QString &text, int width)
{
    return text.leftJustified(width, u' ', true);
}

// A field's stored text, or nothing when the table lacks the field.
std::optional<QString> optionalField(DBSERVERR &t, const QString &name)
{
    if (t.fieldPos(name) == 0)
        return std::nullopt;
    return t.fieldGet(name).toString();
}

QString field(DBSERVERR &t, const QString &name)
{
    return t.fieldGet(name).toString();
}

QString dividedBy1000(const QString &cell)
{
    static const UnitCrossing thousandth{UnitCrossing::Scaled, 1.0, 1000.0};
    return crossedCell(cell, thousandth).value_or(cell);
}

bool isConvertedNutrient(const QString &name)
{
    return name == u"ME_KA" || name == u"ME_RU" || name == u"KOLIN" || name == u"DEMIR";
}

// The older units of the energy and trace nutrients become Mcal and g per kg.
bool convertUnit(Row &row, qsizetype n, OpenProblem &p)
{
    const QString name = row.value(BMNAME).trimmed();
    const QString newUnit = loadedUnit(name, row.value(BMUNIT));
    if (newUnit.isEmpty())
        return false;
    p.ABMBIRIMLERI[n] = newUnit;
    row[BMUNIT] = padded(newUnit, kCellWidth);
    p.ADONUSENBM.append(name);
    for (int c : {BMFIX, BMLLIMIT, BMULIMIT})
        row[c] = dividedBy1000(row[c]);
    return true;
}

// The number fields of one list of the problem file, read into the program's own form: what typing
// the text into the list's editor column gives (a decimal comma another program wrote counts as the
// point; the sign stays). A text already in that form and a blank one stay byte for byte; a text that
// is no number is noted and loads as no value. Whatever changed marks the list changed, so that the
// next save writes the program's form.
class ListNumbers
{
public:
    using Rule = std::function<QString(const QString &, bool *)>;

    ListNumbers(ReferenceNumberReader &numbers, QString list, bool &changed, Rule rule)
        : m_numbers(numbers)
        , m_list(std::move(list))
        , m_changed(changed)
        , m_rule(std::move(rule))
    {
    }

    QString cell(DBSERVERR &t, const QString &row, const QString &fieldName)
    {
        const QString stored = field(t, fieldName);
        if (isBlank(stored))
            return stored;
        // The wider fields keep a blank after the eleven characters of the number.
        const QString text = stored.size() > kCellWidth && isBlank(stored.mid(kCellWidth)) ? stored.left(kCellWidth)
                                                                                           : stored;
        const QString own = m_numbers.number(m_list + u' ' + row.trimmed(), fieldName, text, m_rule);
        if (own == text)
            return stored;
        m_changed = true;
        return own;
    }

private:
    ReferenceNumberReader &m_numbers;
    QString m_list;
    bool &m_changed;
    Rule m_rule;
};

QString threeDecimals(const QString &text, bool *ok)
{
    return SDAYA3(text, 3, 3, ok);
}

void readIngredients(DBSERVERR &t, OpenProblem &p, ReferenceNumberReader &numbers)
{
    ListNumbers cells(numbers, QStringLiteral("Yem maddesi"), p.LYMDEG, threeDecimals);
    for (t.goTop(); !t.eof(); t.skip()) {
        const QString name = field(t, QStringLiteral("YMADI"));
        if (isBlank(name))
            continue;
        p.AYMADLARI.append(name.trimmed());
        p.AYMSTOK.append(t.fieldPos(QStringLiteral("YMSTOKVY")) == 0
                             ? true
                             : t.fieldGet(QStringLiteral("YMSTOKVY")).toBool());
        Row row = {name, cells.cell(t, name, QStringLiteral("YMFIAT")), cells.cell(t, name, QStringLiteral("YMSABIT")),
                   cells.cell(t, name, QStringLiteral("YMALTLIM")), cells.cell(t, name, QStringLiteral("YMUSTLIM")),
                   kBlank11, kBlank11, kBlank11, kBlank11,
                   optionalField(t, QStringLiteral("YMKCOZUM")).value_or(kBlank11), kBlank11};
        p.AYMLIST.append(row);
    }
}

void readNutrients(DBSERVERR &t, OpenProblem &p, ReferenceNumberReader &numbers)
{
    p.ABMLIST.clear();
    for (t.goTop(); !t.eof(); t.skip()) {
        const QString name = field(t, QStringLiteral("BMADI"));
        if (isBlank(name))
            continue;
        const QString unit = field(t, QStringLiteral("BMBIRIM"));
        p.ABMADLARI.append(name.trimmed());
        p.ABMBIRIMLERI.append(unit.trimmed());
        // As the nutrient editor stores a typed value: the nutrient's decimals, four shown.
        const unsigned decimals = unsigned(qBound(0, nutrientDecimals(name.trimmed()), 4));
        ListNumbers cells(numbers, QStringLiteral("Besin maddesi"), p.LBMDEG,
                          [decimals](const QString &text, bool *ok) { return SDAYA3(text, decimals, 4, ok); });
        Row row = {name, unit, cells.cell(t, name, QStringLiteral("BMSABIT")),
                   cells.cell(t, name, QStringLiteral("BMALTLIM")), cells.cell(t, name, QStringLiteral("BMUSTLIM")),
                   kBlank11, kBlank11, kBlank11};
        const bool converted = convertUnit(row, p.ABMBIRIMLERI.size() - 1, p);
        // The saved solution's level is set against the next solve's, so it follows its row's unit.
        const QString savedLevel = optionalField(t, QStringLiteral("BMKCOZUM")).value_or(kBlank11);
        row << kBlank11 << kBlank11 << (converted ? dividedBy1000(savedLevel) : savedLevel) << kBlank11;
        p.ABMLIST.append(row);
    }
}

void readRatios(DBSERVERR &t, OpenProblem &p, ReferenceNumberReader &numbers)
{
    p.ABMOLIST.clear();
    ListNumbers cells(numbers, QStringLiteral("Oran"), p.LBMODEG,
                      [](const QString &text, bool *ok) { return SDAYA(text, 4, ok); });
    for (t.goTop(); !t.eof(); t.skip()) {
        const QString a = field(t, QStringLiteral("BMADIA"));
        const QString b = field(t, QStringLiteral("BMADIB"));
        if (isBlank(a) || isBlank(b))
            continue;
        const QString ratio = a.trimmed() + u'/' + b.trimmed();
        p.ABMOLIST.append({a, b, cells.cell(t, ratio, QStringLiteral("OSABIT")),
                           cells.cell(t, ratio, QStringLiteral("OALTLIM")),
                           cells.cell(t, ratio, QStringLiteral("OUSTLIM")), kBlank11, kBlank11, kBlank11, kBlank11,
                           optionalField(t, QStringLiteral("OKCOZUM")).value_or(kBlank11), kBlank11});
    }
}

// A ratio's limits are in the units of its two nutrients: a ratio on a nutrient the load converted
// follows it (divided by 1000 when its numerator was converted, multiplied when its denominator was,
// unchanged when both were), and is saved with it.
void convertRatioUnits(OpenProblem &p)
{
    for (Row &ratio : p.ABMOLIST) {
        const bool numerator = p.ADONUSENBM.contains(ratio.value(BMONAME1).trimmed());
        const bool denominator = p.ADONUSENBM.contains(ratio.value(BMONAME2).trimmed());
        if (numerator == denominator)
            continue;
        const UnitCrossing c = numerator ? UnitCrossing{UnitCrossing::Scaled, 1.0, 1000.0}
                                         : UnitCrossing{UnitCrossing::Scaled, 1000.0, 1.0};
        for (int column : {int(BMOFIX), int(BMOLLIMIT), int(BMOULIMIT), int(BMOKCOZUM)})
            ratio[column] = crossedCell(ratio.value(column), c).value_or(ratio.value(column));
        p.LBMODEG = true;
    }
}

// Reads the named group records; answers the places (from 0) of the records without a name.
QList<int> readGroups(DBSERVERR &t, OpenProblem &p, ReferenceNumberReader &numbers)
{
    p.AYMGADLARI.clear();
    p.AYMGLIST.clear();
    ListNumbers cells(numbers, QStringLiteral("Grup"), p.LYMGDEG, threeDecimals);
    QList<int> unnamed;
    int place = 0;
    for (t.goTop(); !t.eof(); t.skip(), ++place) {
        const QString name = field(t, QStringLiteral("GADI"));
        if (isBlank(name)) {
            unnamed.append(place);
            continue;
        }
        p.AYMGADLARI.append(name.trimmed());
        p.AYMGLIST.append({name, cells.cell(t, name, QStringLiteral("GSABIT")),
                           cells.cell(t, name, QStringLiteral("GALTLIM")),
                           cells.cell(t, name, QStringLiteral("GUSTLIM")), kBlank11, kBlank11, kBlank11, kBlank11,
                           optionalField(t, QStringLiteral("GKCOZUM")).value_or(kBlank11), kBlank11});
    }
    return unnamed;
}

// Group record n and membership row n describe one group. A group row stored without a name is no
// group: its membership row goes with it, so that every later group keeps its own members.
void dropUnnamedGroupRows(OpenProblem &p, const QList<int> &unnamed)
{
    for (qsizetype i = unnamed.size() - 1; i >= 0; --i) {
        if (unnamed.at(i) < p.AGMAT.size())
            p.AGMAT.removeAt(unnamed.at(i));
    }
}

void readGroupMatrix(DBSERVERR &t, OpenProblem &p)
{
    p.AGMAT.clear();
    t.goTop();
    while (!t.eof() && !isMarker(field(t, QStringLiteral("YMBMAT")), kGrupMarker))
        t.skip();
    if (t.eof())
        return;
    for (t.skip(); !t.eof(); t.skip()) {
        const QString text = field(t, QStringLiteral("YMBMAT"));
        if (!isBlank(text))
            p.AGMAT.append(decodeYmbmat(text));
    }
}

// Reads the matrix rows stored in the file; leaves the table on the parameter marker (or at the end).
void readActiveMatrix(DBSERVERR &t, OpenProblem &p)
{
    p.AAMAT.clear();
    int n = 0;
    for (t.goTop(); !t.eof(); t.skip()) {
        const QString text = field(t, QStringLiteral("YMBMAT"));
        if (isBlank(text))
            continue;
        ++n;
        if (isMarker(text, kPrmMarker))
            return;
        QStringList cells = decodeYmbmat(text);
        if (n <= p.ABMLIST.size()) {
            const QString name = p.ABMLIST.at(n - 1).value(BMNAME).trimmed();
            if (p.ADONUSENBM.contains(name))
                cells = MATDUZELT(name, cells);
        }
        p.AAMAT.append(cells);
    }
}

void readParameters(DBSERVERR &t, OpenProblem &p)
{
    if (!t.eof())
        t.skip();
    if (t.eof()) {
        p.APARMLIST.clear();
        return;
    }
    p.APARMLIST = decodeYmbmat(field(t, QStringLiteral("YMBMAT")));
    if (p.APARMLIST.size() >= 8 && !isBlank(p.APARMLIST.at(PARM_SAVEDCOST)))
        p.NKAYITLIMALIYET = Val(p.APARMLIST.at(PARM_SAVEDCOST));
}

// A problem without ingredients stores its matrix rows as blank records, which the readers skip:
// each nutrient and each group still has its (empty) row.
void completeEmptyRows(OpenProblem &p)
{
    if (!p.AYMADLARI.isEmpty())
        return;
    while (p.AAMAT.size() < p.ABMLIST.size())
        p.AAMAT.append(Row());
    while (p.AGMAT.size() < p.AYMGLIST.size())
        p.AGMAT.append(Row());
}

// Why the file cannot be loaded without losing data, or an empty text: more ingredients than a
// matrix row of the file can hold, fewer active-matrix rows than nutrients, or active-matrix rows cut
// short (an older file whose rows were cut at their field's width would have the missing contents
// taken as 0). Membership rows take
// four characters a cell and are never cut.
QString loadProblem(DBSERVERR &t, const OpenProblem &p)
{
    const int field = t.dbStruct().value(t.fieldPos(QStringLiteral("YMBMAT")) - 1).width;
    const int holds = std::min<int>(kMaxIngredients, field / (kCellWidth + 1));
    const qsizetype ingredients = p.AYMADLARI.size();
    const QString count = QStringLiteral("Dosyada %1 yem maddesi var; ").arg(ingredients);
    if (ingredients > holds)
        return count + QStringLiteral("dosyanın bir matris satırı en çok %1 yem maddesi taşıyabilir.").arg(holds);
    if (p.AAMAT.size() < p.ABMLIST.size())
        return QStringLiteral("Dosyada %1 besin maddesi var; aktif matriste yalnız %2 besin maddesinin satırı var, "
                              "eksik satırların değerleri 0 sayılırdı.")
            .arg(p.ABMLIST.size())
            .arg(p.AAMAT.size());
    for (const Row &row : p.AAMAT) {
        if (row.size() < ingredients)
            return count + QStringLiteral("matris satırlarında yalnız %1 yem maddesinin değeri var "
                                          "(dosyanın bir satırı en çok %2 yem maddesi taşıyabilir); "
                                          "eksik değerler 0 sayılırdı.")
                               .arg(row.size())
                               .arg(holds);
    }
    return {};
}

bool refuseLoad(QWidget *owner, DBSERVERR &t, const QString &why)
{
    ERRMESS(owner, QString(), GETFILENAME(t.path()) + QStringLiteral(" dosyası açılamadı! : ") + why);
    return false;
}

void seekParameterMarker(DBSERVERR &t)
{
    t.goTop();
    while (!t.eof() && !isMarker(field(t, QStringLiteral("YMBMAT")), kPrmMarker))
        t.skip();
}

// --- names missing between stored rows ---------------------------------------------------------
// The writers store ingredient i in record i and its contents in cell i of every matrix row, and
// nutrient j in record j with its contents in active-matrix row j. The reader skips a record without
// a name and counts only the named ones, which is sound only while the matrices hold nothing for the
// skipped record. When they hold more cells (or rows) than there are names and a nameless record
// lies within them before the last name, skipping it would hand its contents to the next name and
// every later one: such a file is not opened, and the message names the record.

struct NamedRecords
{
    QStringList names; // per record; empty where the name is blank
    int count = 0;     // the named ones
    int last = -1;     // the last named record (from 0)
};

NamedRecords namedRecords(DBSERVERR &t, const QString &nameField)
{
    NamedRecords out;
    for (t.goTop(); !t.eof(); t.skip()) {
        const QString name = field(t, nameField);
        out.names.append(isBlank(name) ? QString() : name.trimmed());
        if (!isBlank(name)) {
            ++out.count;
            out.last = int(out.names.size()) - 1;
        }
    }
    return out;
}

// The first record (from 0) among the first `within` whose name is blank and that a named record
// follows: skipping it moves the contents of every later name. A nameless record after the last
// named one moves nothing; its cells belong to no name and are dropped (dropCellsOfNoName).
std::optional<int> firstNamelessBeforeLastName(const NamedRecords &records, qsizetype within)
{
    const qsizetype end = std::min(within, qsizetype(records.last));
    for (qsizetype k = 0; k < end; ++k) {
        if (records.names.at(k).isEmpty())
            return int(k);
    }
    return std::nullopt;
}

// Where a record lies among the named ones: "(A ile B arasında)" and the like.
QString neighbours(const NamedRecords &records, int k)
{
    QString before;
    QString after;
    for (int i = k - 1; i >= 0 && before.isEmpty(); --i)
        before = records.names.at(i);
    for (qsizetype i = k + 1; i < records.names.size() && after.isEmpty(); ++i)
        after = records.names.at(i);
    if (!before.isEmpty() && !after.isEmpty())
        return QStringLiteral(" (%1 ile %2 arasında)").arg(before, after);
    if (!before.isEmpty())
        return QStringLiteral(" (%1 kaydından sonra)").arg(before);
    if (!after.isEmpty())
        return QStringLiteral(" (%1 kaydından önce)").arg(after);
    return {};
}

// Why the file's names and its stored matrix rows would not pair, or an empty text. The rows stored
// in the file are counted whether or not this load reads them (contents from the reference matrix):
// a later load without that option would read them.
QString namelessRowWithContents(DBSERVERR &t)
{
    const NamedRecords ingredients = namedRecords(t, QStringLiteral("YMADI"));
    const NamedRecords nutrients = namedRecords(t, QStringLiteral("BMADI"));
    qsizetype cells = 0;
    qsizetype activeRows = 0;
    bool active = true;
    bool groups = false;
    for (t.goTop(); !t.eof(); t.skip()) {
        const QString text = field(t, QStringLiteral("YMBMAT"));
        if (isBlank(text))
            continue;
        if (isMarker(text, kPrmMarker)) {
            active = false;
            continue;
        }
        if (isMarker(text, kGrupMarker)) {
            active = false;
            groups = true;
            continue;
        }
        if (active) {
            ++activeRows;
            cells = std::max(cells, decodeYmbmat(text).size());
        } else if (groups) {
            cells = std::max(cells, decodeYmbmat(text).size());
        }
    }
    if (cells > ingredients.count) {
        if (const std::optional<int> k = firstNamelessBeforeLastName(ingredients, cells))
            return QStringLiteral("Dosyada %1 yem maddesi var, matris satırlarında %2 yem maddesinin değeri var: "
                                  "%3. kayıttaki yem maddesinin adı boş%4. Bu kayıt atlanırsa değerler başka yem "
                                  "maddelerine kayardı.")
                .arg(ingredients.count)
                .arg(cells)
                .arg(*k + 1)
                .arg(neighbours(ingredients, *k));
    }
    if (activeRows > nutrients.count) {
        if (const std::optional<int> j = firstNamelessBeforeLastName(nutrients, activeRows))
            return QStringLiteral("Dosyada %1 besin maddesi var, aktif matriste %2 besin maddesinin satırı var: "
                                  "%3. kayıttaki besin maddesinin adı boş%4. Bu kayıt atlanırsa değerler başka "
                                  "besin maddelerine kayardı.")
                .arg(nutrients.count)
                .arg(activeRows)
                .arg(*j + 1)
                .arg(neighbours(nutrients, *j));
    }
    return {};
}

// Cells beyond the last ingredient belong to no ingredient of the file (a record after the last named
// one whose name is gone, or a row a writer left wider). Dropped, they cannot pass to an ingredient
// added later, and every row pairs with the ingredient list. Membership rows shorter than the
// ingredients stay so: the ingredients after their end are in no group.
void dropCellsOfNoName(OpenProblem &p)
{
    const qsizetype ingredients = p.AYMADLARI.size();
    for (RowList *matrix : {&p.AAMAT, &p.AGMAT}) {
        for (Row &row : *matrix) {
            if (row.size() > ingredients)
                row.resize(ingredients);
        }
    }
}

// The header must count every record the file holds: the records it leaves out would not be read,
// and the next save, which writes the records it read, would lose them.
QString miscountedRecords(DbfTable &t)
{
    const qint64 counted = t.lastRec();
    const qint64 held = t.recordsInFile();
    if (held <= counted)
        return {};
    return QStringLiteral("Dosyanın başlığında %1 kayıt sayılı, dosyada %2 kayıt var; sayılmayan kayıtlar "
                          "okunmaz ve bir sonraki kaydetmede silinirdi.")
        .arg(counted)
        .arg(held);
}

} // namespace

void WEIGHTCONTROL()
{
    OpenProblem &p = openProblem();
    if (p.ABMADLARI.contains(kWeightNutrient))
        return;
    static const char16_t *const spellings[] = {u"AGIRLIK", u"Ağırlık", u"Ağirlik", u"Agirlik",
                                                u"ağirlik", u"agırlık", u"agirlik"};
    for (const char16_t *s : spellings) {
        const qsizetype i = p.ABMADLARI.indexOf(QString::fromUtf16(s));
        if (i < 0)
            continue;
        p.ABMADLARI[i] = kWeightNutrient;
        p.ABMLIST[i][BMNAME] = padded(kWeightNutrient, kBmNameWidth);
        return;
    }
}

void KMOCONTROL()
{
    OpenProblem &p = openProblem();
    if (p.ABMADLARI.contains(kDryMatterNutrient))
        return;
    const qsizetype i = p.ABMADLARI.indexOf(QStringLiteral("KMO"));
    if (i < 0)
        return;
    p.ABMADLARI[i] = kDryMatterNutrient;
    p.ABMLIST[i][BMNAME] = padded(kDryMatterNutrient, kBmNameWidth);
}

QStringList MATDUZELT(const QString &name, const QStringList &row)
{
    if (!isConvertedNutrient(name))
        return row;
    QStringList out;
    out.reserve(row.size());
    for (const QString &cell : row)
        out.append(dividedBy1000(cell));
    return out;
}

bool AKTPRODIZOLUSTUR(QWidget *owner)
{
    OpenProblem &p = openProblem();
    DBSERVERR &t = *p.OPROBDBF;
    p.AYMADLARI.clear();
    p.ABMADLARI.clear();
    p.ABMBIRIMLERI.clear();
    p.AYMSTOK.clear();
    p.ADONUSENBM.clear();
    p.AYMLIST.clear();

    if (const QString why = miscountedRecords(t); !why.isEmpty())
        return refuseLoad(owner, t, why);
    ReferenceNumberReader numbers(GETFILENAME(t.path()));
    readIngredients(t, p, numbers);
    if (p.AYMADLARI.size() > kMaxIngredients)
        return refuseLoad(owner, t, loadProblem(t, p));
    if (const QString why = namelessRowWithContents(t); !why.isEmpty())
        return refuseLoad(owner, t, why);
    readNutrients(t, p, numbers);
    WEIGHTCONTROL();
    KMOCONTROL();
    readRatios(t, p, numbers);
    convertRatioUnits(p);
    const QList<int> unnamedGroups = readGroups(t, p, numbers);
    readGroupMatrix(t, p);
    dropUnnamedGroupRows(p, unnamedGroups);

    // A problem without ingredients or nutrients has nothing to match against the reference: it
    // loads as stored.
    const bool fromReference = appGlobals().LRMDENOKU && !p.AYMADLARI.isEmpty() && !p.ABMADLARI.isEmpty();
    if (fromReference) {
        // The stored rows stay for a nutrient whose reference contents are not taken.
        readActiveMatrix(t, p);
        if (!RMATRISDENOKU(owner))
            return false;
        seekParameterMarker(t);
    } else {
        readActiveMatrix(t, p);
    }
    readParameters(t, p);
    completeEmptyRows(p);
    dropCellsOfNoName(p);
    if (const QString why = loadProblem(t, p); !why.isEmpty())
        return refuseLoad(owner, t, why);

    // Converted units must reach the file together with the converted matrix rows, or a later save
    // of one without the other would leave them a thousand times apart.
    if (!p.ADONUSENBM.isEmpty()) {
        p.LBMDEG = true;
        p.LAMATDEG = true;
    }
    numbers.tell(owner);
    return true;
}

QStringList GETFLDARROFRM()
{
    QStringList names;
    DBSERVERR &t = *referenceTables().ORMDBF;
    for (int i = 1; i <= t.fCount(); ++i)
        names.append(t.fieldName(i));
    return names;
}

void GETYMARROFRM(QList<int> &records, QStringList &names)
{
    records.clear();
    names.clear();
    DBSERVERR &t = *referenceTables().ORMDBF;
    for (t.goTop(); !t.eof(); t.skip()) {
        const QString name = t.fieldGet(QStringLiteral("YM_ADI")).toString().trimmed();
        if (name.isEmpty())
            continue;
        records.append(int(t.recNo()));
        names.append(name);
    }
}

namespace {

NameMatchAnswer askMatch(QWidget *owner, const QString &caption, const QString &name,
                         const QStringList &candidates)
{
    NameMatcher *matcher = nameMatcher();
    if (!matcher)
        return {};
    return matcher->choose(owner, caption, name, candidates);
}

} // namespace

int CHCKBMNAMES(QWidget *owner, const QStringList &fieldNames, const QString &name, int n)
{
    OpenProblem &p = openProblem();
    // Only nutrient columns not yet taken by another nutrient of the problem are offered, so a match
    // can never make two nutrients of one name.
    QStringList candidates;
    for (qsizetype i = kReferenceFixedFields; i < fieldNames.size(); ++i) {
        if (!p.ABMADLARI.contains(fieldNames.at(i)))
            candidates.append(fieldNames.at(i));
    }
    const NameMatchAnswer a = askMatch(owner, QStringLiteral("Besin Maddelerini Eşleştir"), name, candidates);
    if (a.result == NameMatchAnswer::Cancelled || (a.result == NameMatchAnswer::Chosen
                                                   && (a.position < 1 || a.position > candidates.size()))) {
        p.LBMDEG = p.LBMODEG = p.LAMATDEG = false;
        return 0;
    }
    if (a.result == NameMatchAnswer::Skipped) {
        p.deleteNutrient(n);
        return 2;
    }
    const QString chosen = candidates.at(a.position - 1);
    const QString old = p.ABMADLARI.at(n - 1);
    p.ABMADLARI[n - 1] = chosen;
    p.ABMLIST[n - 1][BMNAME] = padded(chosen, kBmNameWidth);
    for (Row &ratio : p.ABMOLIST) {
        if (ratio.value(BMONAME1).trimmed() == old)
            ratio[BMONAME1] = padded(chosen, kBmNameWidth);
        else if (ratio.value(BMONAME2).trimmed() == old)
            ratio[BMONAME2] = padded(chosen, kBmNameWidth);
    }
    p.LBMDEG = p.LBMODEG = true;
    return 1;
}

int CHCKYMNAMES(QWidget *owner, const QStringList &referenceNames, const QString &name, int n)
{
    OpenProblem &p = openProblem();
    QStringList candidates;
    for (const QString &c : referenceNames) {
        if (!p.AYMADLARI.contains(c) && !candidates.contains(c))
            candidates.append(c);
    }
    const NameMatchAnswer a = askMatch(owner, QStringLiteral("Yem Maddelerini Eşleştir"), name, candidates);
    if (a.result == NameMatchAnswer::Cancelled || (a.result == NameMatchAnswer::Chosen
                                                   && (a.position < 1 || a.position > candidates.size()))) {
        p.LYMDEG = p.LYMSTOKDEG = p.LAMATDEG = p.LYMGDEG = false;
        return 0;
    }
    if (a.result == NameMatchAnswer::Skipped) {
        p.deleteIngredient(n);
        return 2;
    }
    const QString chosen = candidates.at(a.position - 1);
    p.AYMADLARI[n - 1] = chosen;
    p.AYMLIST[n - 1][YMNAME] = padded(chosen, kYmNameWidth);
    p.LYMDEG = true;
    return 1;
}

namespace {

// One row per nutrient and one cell per ingredient: the rows the file stored where the caller read
// them, blanks elsewhere.
RowList storedMatrixShaped(const OpenProblem &p)
{
    RowList shaped(p.ABMADLARI.size(), Row(p.AYMADLARI.size(), kBlank11));
    for (qsizetype j = 0; j < shaped.size() && j < p.AAMAT.size(); ++j) {
        for (qsizetype i = 0; i < p.AYMADLARI.size() && i < p.AAMAT.at(j).size(); ++i)
            shaped[j][i] = p.AAMAT.at(j).at(i);
    }
    return shaped;
}

// How the reference contents of each nutrient come into its row's unit, settled before any of them
// goes in; nothing for "AĞIRLIK", for a nutrient without a reference column and for one whose
// differing unit the user keeps (its row keeps the contents the file holds).
QList<std::optional<UnitCrossing>> referenceCrossings(QWidget *owner, const QStringList &nutrientFields,
                                                      const QHash<QString, QString> &units)
{
    const OpenProblem &p = openProblem();
    QList<std::optional<UnitCrossing>> crossings(p.ABMADLARI.size());
    for (qsizetype j = 0; j < p.ABMADLARI.size(); ++j) {
        const QString &nutrient = p.ABMADLARI.at(j);
        if (nutrient == kWeightNutrient || !nutrientFields.contains(nutrient))
            continue;
        const QString rowUnit = problemRowUnit(p, j);
        const QString referenceUnit = units.value(nutrient);
        UnitCrossing c = unitCrossing(referenceUnit, rowUnit);
        if (c.kind == UnitCrossing::Differ) {
            if (!askTakeDifferingUnit(owner, nutrient, rowUnit, referenceUnit, UnitRoad::ReferenceLoad))
                continue;
            c = UnitCrossing(); // taken as stored, in the reference's unit
        }
        crossings[j] = c;
    }
    return crossings;
}

} // namespace

bool RMATRISDENOKU(QWidget *owner)
{
    OpenProblem &p = openProblem();
    if (p.ABMADLARI.isEmpty() || p.AYMADLARI.isEmpty())
        return false;
    const QString centredOne = QStringLiteral("  1.0000   ");
    p.AAMAT = storedMatrixShaped(p);
    for (qsizetype j = 0; j < p.ABMADLARI.size(); ++j) {
        if (p.ABMADLARI.at(j) == kWeightNutrient)
            p.AAMAT[j] = Row(p.AYMADLARI.size(), centredOne);
    }
    if (!RMDATAFOPEN())
        return false;
    ReferenceTables &ref = referenceTables();
    const QStringList fields = GETFLDARROFRM();
    const QStringList nutrientFields = fields.mid(kReferenceFixedFields);

    for (int j = 1; j <= p.ABMADLARI.size();) {
        const QString name = p.ABMADLARI.at(j - 1);
        if (name == kWeightNutrient || nutrientFields.contains(name)) {
            ++j;
            continue;
        }
        const int r = CHCKBMNAMES(owner, fields, name, j);
        if (r == 0) {
            closeReferenceTables();
            return false;
        }
        if (r == 1)
            ++j;
    }

    QList<int> records;
    QStringList refNames;
    GETYMARROFRM(records, refNames);
    for (int i = 1; i <= p.AYMADLARI.size();) {
        if (refNames.contains(p.AYMADLARI.at(i - 1))) {
            ++i;
            continue;
        }
        const int r = CHCKYMNAMES(owner, refNames, p.AYMADLARI.at(i - 1), i);
        if (r == 0) {
            closeReferenceTables();
            return false;
        }
        if (r == 1)
            ++i;
    }

    if (!BMDATAFOPEN()) {
        closeReferenceTables();
        return false;
    }
    // Units are paired with the definitions by abbreviation, so a definitions table whose records are
    // in another order than the matrix columns still gives each nutrient its own unit.
    const QHash<QString, QString> units = definitionUnits(*ref.OBMDESCDBF);
    const QList<std::optional<UnitCrossing>> crossings = referenceCrossings(owner, nutrientFields, units);

    DBSERVERR &rm = *ref.ORMDBF;
    ReferenceNumberReader numbers;
    for (qsizetype i = 0; i < p.AYMADLARI.size(); ++i) {
        const qsizetype k = refNames.indexOf(p.AYMADLARI.at(i));
        if (k < 0)
            continue;
        rm.goTo(records.at(k));
        const QString price = numbers.price(p.AYMADLARI.at(i), rm.fieldGet(QStringLiteral("FIATI")).toString());
        if (!isBlank(price))
            p.AYMLIST[i][YMPRICE] = price;
        for (qsizetype j = 0; j < p.ABMADLARI.size(); ++j) {
            if (!crossings.at(j))
                continue;
            const QString &nutrient = p.ABMADLARI.at(j);
            const QString stored = numbers.content(p.AYMADLARI.at(i), nutrient, rm.fieldGet(nutrient).toString());
            const std::optional<QString> cell = crossedCell(stored, *crossings.at(j));
            if (!cell) {
                ERRMESS(owner, QString(),
                        unconvertibleValueText(nutrient, p.AYMADLARI.at(i), stored, units.value(nutrient),
                                               problemRowUnit(p, j)));
                closeReferenceTables();
                return false;
            }
            p.AAMAT[j][i] = *cell;
        }
    }
    numbers.tell(owner);

    for (qsizetype j = 0; j < p.ABMADLARI.size(); ++j) {
        const QString &nutrient = p.ABMADLARI.at(j);
        if (nutrient == kWeightNutrient) {
            p.ABMLIST[j][BMUNIT] = padded(QStringLiteral("Kg/Kg"), kCellWidth);
            p.ABMBIRIMLERI[j] = p.ABMLIST[j][BMUNIT];
        } else if (crossings.at(j) && crossings.at(j)->kind == UnitCrossing::Same
                   && !units.value(nutrient).isEmpty()) {
            // Contents taken as stored are in the definition's unit; converted ones keep the row's.
            p.ABMLIST[j][BMUNIT] = padded(units.value(nutrient), kCellWidth);
            p.ABMBIRIMLERI[j] = units.value(nutrient);
        }
    }
    closeReferenceTables();
    return true;
}

} // namespace vexo
