#include "refdb/rm_rules.h"

#include "matrix/colon_maths.h"
#include "matrix/matrix_dialogs.h"
#include "platform/dbf_table.h"
#include "platform/message_sink.h"
#include "problem/dbserverr.h"
#include "problem/messages.h"
#include "problem/number_text.h"
#include "problem/open_problem.h"
#include "problem/reference_tables.h"
#include "problem/turkish_text.h"

#include <cmath>

using namespace Qt::StringLiterals;

namespace vexo {

namespace {

const QString kWarning = u"Uyarı..."_s;
const QString kSure = u"\n\nYaptığınız işlemden emin misiniz?"_s;
const QString kDoesNotFit = u"İşlemin sonucu 11 karakterlik hücreye sığmıyor (en çok 11 karakter, 4 ondalık); "
                            u"hiçbir değer değiştirilmedi."_s;

QString trimRight(const QString &s)
{
    qsizetype n = s.size();
    while (n > 0 && s.at(n - 1).isSpace())
        --n;
    return s.left(n);
}

bool isArithmetic(const QString &op)
{
    return op == u"+" || op == u"-" || op == u"*" || op == u"/";
}

} // namespace

std::optional<RmDescriptions> GETBMDATA()
{
    if (!BMDATAFOPEN())
        return std::nullopt;
    ReferenceTables &r = referenceTables();
    DBSERVERR &t = *r.OBMDESCDBF;
    RmDescriptions out;
    for (t.goTop(); !t.eof(); t.skip()) {
        const QString abbreviation = t.fieldGet(u"ABRRE"_s).toString();
        if (abbreviation.trimmed().isEmpty())
            continue;
        RmNutrientDescription d;
        d.NUM = t.fieldGet(u"NUM"_s).toInt();
        d.NAME = t.fieldGet(u"NAME"_s).toString();
        d.ABRRE = abbreviation;
        d.UNIT = t.fieldGet(u"UNIT"_s).toString();
        d.DECIM = t.fieldGet(u"DECIM"_s).toInt();
        out.append(d);
    }
    t.close();
    r.OBMDESCDBF.reset();
    return out;
}

const RmNutrientDescription *rmDescriptionOf(const RmDescriptions &descriptions, const QString &field)
{
    const QString name = field.trimmed();
    for (const RmNutrientDescription &d : descriptions) {
        if (d.ABRRE.trimmed() == name)
            return &d;
    }
    return nullptr;
}

QString rmNutrientCaption(const RmDescriptions &descriptions, const QString &field)
{
    const RmNutrientDescription *d = rmDescriptionOf(descriptions, field);
    return field + u",\r\n"_s + (d ? d->UNIT.trimmed() : QString());
}

int rmNutrientDecimals(const RmDescriptions &descriptions, const QString &field)
{
    const RmNutrientDescription *d = rmDescriptionOf(descriptions, field);
    return d ? d->DECIM : 4;
}

QString rmCaptionText(const RmDescriptions &descriptions, const QString &field)
{
    const RmNutrientDescription *d = rmDescriptionOf(descriptions, field);
    if (!d || d->NAME.trimmed().isEmpty())
        return u"BM isimleri yazılmamış..."_s;
    return d->NAME;
}

std::optional<RmTableData> readReferenceMatrix()
{
    if (!RMDATAFOPEN())
        return std::nullopt;
    ReferenceTables &r = referenceTables();
    DBSERVERR &t = *r.ORMDBF;
    RmTableData out;
    out.structure = t.dbStruct();
    const int n = t.fCount();
    for (t.goTop(); !t.eof(); t.skip()) {
        ServerRow row;
        row.reserve(n);
        for (int j = 1; j <= n; ++j)
            row.append(t.fieldGet(j));
        out.rows.append(std::move(row));
    }
    t.close();
    r.ORMDBF.reset();
    return out;
}

void ownMatrixNumbers(RmTableData &table, const RmDescriptions &descriptions, QWidget *owner)
{
    const int name = 1; // YM_ADI, from 0
    const int price = 2;
    ReferenceNumberReader numbers;
    for (ServerRow &row : table.rows) {
        const QString ingredient = row.value(name).toString();
        for (qsizetype j = price; j < row.size() && j < table.structure.size(); ++j) {
            const DbfField &f = table.structure.at(j);
            if (f.type != u'C' || (j != price && j < kReferenceFixedFields))
                continue;
            const QString stored = row.at(j).toString();
            row[j] = j == price ? numbers.price(ingredient, stored)
                                : numbers.content(ingredient, f.name, stored, rmNutrientDecimals(descriptions, f.name));
        }
    }
    numbers.tell(owner);
}

ServerFields rmServerFields(const DbfStructure &structure)
{
    ServerFields fields;
    for (const DbfField &f : structure)
        fields.append({f.name, f.type, f.width, f.decimals});
    return fields;
}

QString rmEditedCell(int field, const QString &typed, int decimals)
{
    const QString text = typed.trimmed();
    if (text.isEmpty())
        return text;
    if (field == 3)
        return SDAYA(text, 3);
    if (field >= 5)
        return SDAYA3(text, unsigned(qMax(0, decimals)), 4);
    return text;
}

bool rmNumberField(int field)
{
    return field == 3 || field >= 5;
}

std::optional<QString> rmTypedCell(int field, const QString &typed, int decimals, bool filtered)
{
    if (rmNumberField(field)) {
        const QString text = typed.trimmed();
        if (text.isEmpty() ? filtered : !isTypedNumber(text, true))
            return std::nullopt;
    }
    return rmEditedCell(field, typed, decimals);
}

QString rmNumbersOnlyText()
{
    return u"Bu hücreye yalnız sayı yazılabilir (rakamlar, eksi, nokta ya da virgül)..."_s;
}

QString rmNotANumberText()
{
    return u"Girilen değer bir sayı değil: hücredeki eski değer korundu..."_s;
}

bool rmPasteAllowed(const std::optional<QString> &clipboard, int clipboardColumn, int column, int width)
{
    if (column < 2 || !clipboard || clipboard->isEmpty() || clipboard->size() != width)
        return false;
    return clipboardColumn != 4 || column == 4;
}

double MPRODUCT(const QString &op, double x, double y)
{
    if (op == u"+")
        return x + y;
    if (op == u"-")
        return x - y;
    if (op == u"*")
        return x * y;
    if (op == u"/")
        return y == 0 ? 0 : x / y;
    return 0;
}

std::optional<QString> rmNumberCell(double value, ColumnDecimals decimals)
{
    const int shown = qBound(0, decimals.shown, 4);
    double v = MROUND2(value, qBound(0, decimals.kept, shown));
    if (v == 0)
        v = 0; // no "-0.0000"
    if (!std::isfinite(v))
        return std::nullopt;
    const QString s = Str(v, kNumberTextWidth, shown);
    if (s.size() > kNumberTextWidth)
        return std::nullopt;
    return s;
}

QString rmColumnCaption(const QString &field)
{
    static const QList<std::pair<QString, QString>> fixed = {
        {u"KOD"_s, u"Kod"_s}, {u"YM_ADI"_s, u"Yem Maddesi Adı"_s}, {u"FIATI"_s, u"Fiyatı"_s}, {u"GRUBU"_s, u"Grubu"_s}};
    for (const auto &[name, caption] : fixed) {
        if (name == field)
            return caption;
    }
    return field;
}

std::optional<QStringList> columnMathCells(const QStringList &column, const QStringList &operand,
                                           const ColumnMathRequest &request, ColumnDecimals decimals)
{
    // A copied text is written as the column writes its numbers; an empty one stays empty.
    const auto copied = [&](const QString &text) -> std::optional<QString> {
        if (text.trimmed().isEmpty())
            return emptyNumberText();
        return rmNumberCell(Val(QString(text).replace(u',', u'.')), decimals);
    };
    const auto number = [&](double value) { return rmNumberCell(value, decimals); };
    const QString &op = request.COPERAT;
    const QString blank = emptyNumberText();
    QStringList out;
    out.reserve(column.size());
    if (request.CVTYPE == u"N") {
        if (op == u"K") {
            const std::optional<QString> r = copied(request.CVALUEX);
            if (!r)
                return std::nullopt;
            for (qsizetype i = 0; i < column.size(); ++i)
                out.append(*r);
            return out;
        }
        if (!isArithmetic(op))
            return std::nullopt;
        const double v = Val(QString(request.CVALUEX).replace(u',', u'.'));
        for (const QString &cell : column) {
            if (!cell.trimmed().isEmpty()) {
                const std::optional<QString> r = number(MPRODUCT(op, Val(cell), v));
                if (!r)
                    return std::nullopt;
                out.append(*r);
            } else if (op == u"+" || op == u"-") {
                const double result = MPRODUCT(op, 0, v);
                if (result == 0) {
                    out.append(blank);
                    continue;
                }
                const std::optional<QString> r = number(result);
                if (!r)
                    return std::nullopt;
                out.append(*r);
            } else {
                out.append(blank);
            }
        }
        return out;
    }
    if (request.CVTYPE != u"A")
        return std::nullopt;
    if (op == u"K") {
        for (qsizetype i = 0; i < column.size(); ++i) {
            const std::optional<QString> r = copied(operand.value(i));
            if (!r)
                return std::nullopt;
            out.append(*r);
        }
        return out;
    }
    if (!isArithmetic(op))
        return std::nullopt;
    for (qsizetype i = 0; i < column.size(); ++i) {
        const QString a = column[i].trimmed();
        const QString b = operand.value(i).trimmed();
        if (!a.isEmpty() && !b.isEmpty()) {
            const std::optional<QString> r = number(MPRODUCT(op, Val(a), Val(b)));
            if (!r)
                return std::nullopt;
            out.append(*r);
        } else if (op == u"+" || op == u"-") {
            const double result = MPRODUCT(op, Val(a), Val(b));
            if (result == 0) {
                // A cell that held zero keeps its zero; one that was empty stays empty.
                out.append(!a.isEmpty() && Val(a) == 0 ? *number(0) : blank);
                continue;
            }
            const std::optional<QString> r = number(result);
            if (!r)
                return std::nullopt;
            out.append(*r);
        } else {
            out.append(blank);
        }
    }
    return out;
}

std::optional<QStringList> linkedCells(const QStringList &linked, double oldValue, double newValue)
{
    QStringList out;
    for (const QString &cell : linked) {
        if (cell.trimmed().isEmpty()) {
            out.append(cell);
            continue;
        }
        const std::optional<QString> r = rmNumberCell(oldValue == 0 ? 0 : Val(cell) / oldValue * newValue);
        if (!r)
            return std::nullopt;
        out.append(*r);
    }
    return out;
}

// --- ReferenceMatrixRows ---------------------------------------------------------------------------

ReferenceMatrixRows::ReferenceMatrixRows(QWidget *owner, RmTableData table, RmDescriptions descriptions)
    : m_owner(owner), m_structure(std::move(table.structure)), m_descriptions(std::move(descriptions)),
      m_server(std::make_shared<BARRAYSERVER>(rmServerFields(m_structure), std::move(table.rows)))
{
}

int ReferenceMatrixRows::fieldWidth(int field) const
{
    const ServerField *f = m_server->field(field);
    return f ? f->width : 0;
}

int ReferenceMatrixRows::decimalsOf(int field) const
{
    return rmNutrientDecimals(m_descriptions, fieldName(field));
}

ColumnDecimals ReferenceMatrixRows::columnDecimals(int field) const
{
    if (field == 3)
        return {3, 3};
    return {decimalsOf(field), 4};
}

QStringList ReferenceMatrixRows::rowTexts(int recNo) const
{
    QStringList out;
    for (int j = 1; j <= m_server->FCOUNT(); ++j)
        out.append(m_server->textAt(recNo, j));
    return out;
}

QStringList ReferenceMatrixRows::columnTexts(int field) const
{
    QStringList out;
    out.reserve(m_server->LASTREC());
    for (int r = 1; r <= m_server->LASTREC(); ++r)
        out.append(m_server->textAt(r, field));
    return out;
}

void ReferenceMatrixRows::put(int recNo, int field, const QVariant &value)
{
    if (m_server->RECNO() != recNo)
        m_server->GOTO(recNo);
    m_server->FIELDPUT(field, value);
}

bool ReferenceMatrixRows::appendBlank()
{
    for (int attempt = 0; attempt < 3; ++attempt) {
        if (m_server->APPEND()) {
            m_server->FIELDPUT(1, double(m_server->RECNO()));
            return true;
        }
    }
    return false;
}

void ReferenceMatrixRows::renumber(int from)
{
    for (int r = qMax(1, from); r <= m_server->LASTREC(); ++r) {
        if (m_server->valueAt(r, 1).toInt() != r)
            put(r, 1, double(r));
    }
}

// --- saving ------------------------------------------------------------------------------------------

bool ReferenceMatrixRows::writeTable(QString *why)
{
    const ServerRows &rows = m_server->DATA();
    const int kod = 1;
    if (!m_structure.isEmpty() && m_structure[0].type == u'N') {
        const DbfField &f = m_structure[0];
        for (const ServerRow &row : rows) {
            if (Str(row.value(kod - 1).toDouble(), f.width, f.decimals).size() > f.width) {
                *why = u"Yem maddesi sayısı KOD alanına (%1 karakter) sığmıyor."_s.arg(f.width);
                return false;
            }
        }
    }
    if (!RMDATAFOPEN()) {
        *why = u"Referans matris dosyası açılamadı."_s;
        return false;
    }
    ReferenceTables &refs = referenceTables();
    DBSERVERR &t = *refs.ORMDBF;
    auto done = [&](bool ok) {
        t.close();
        refs.ORMDBF.reset();
        return ok;
    };
    auto reason = [&](const QString &text) {
        *why = text + (t.status() ? u" : "_s + t.status()->text() : QString());
        return false;
    };
    if (t.dbStruct() != m_structure) {
        *why = u"Referans matris dosyasının yapısı pencere açıldıktan sonra değişmiş."_s;
        return done(false);
    }
    if (!t.beginReplacement())
        return done(reason(u"Referans matris dosyasının kopyası yazılamadı."_s));
    const int n = int(rows.size());
    const int fields = t.fCount();
    bool ok = true;
    // Rows go over the records by position, deleted ones included (they are taken back), so that no
    // row lands in a record the pack below would drop.
    const bool hidden = DbfTable::setDeleted(false);
    if (n > 0) {
        if (t.lastRec() == 0)
            ok = t.append();
        else
            t.goTop();
    }
    for (int i = 0; i < n && ok; ++i) {
        if (t.deleted())
            ok = t.recall();
        for (int j = 1; j <= fields && ok; ++j)
            ok = t.fieldPut(j, rows[i].value(j - 1));
        if (!ok)
            break;
        t.skip();
        if (t.eof() && i < n - 1)
            ok = t.append();
    }
    int removed = 0;
    if (ok && (n == 0 ? t.lastRec() > 0 : !t.eof())) {
        if (n == 0)
            t.goTop();
        while (ok && !t.eof()) {
            ok = t.deleted() || t.deleteRecord();
            removed += ok;
            t.skip();
        }
    }
    DbfTable::setDeleted(hidden);
    if (!ok) {
        reason(u"Referans matris dosyasına yazılamadı."_s);
        t.abandonReplacement();
        return done(false);
    }
    if (!t.finishReplacement()) {
        reason(u"Referans matris dosyasına yazılamadı."_s);
        t.abandonReplacement();
        return done(false);
    }
    // The surplus records are already deleted in the saved file; packing only drops them for good.
    if (removed > 0)
        t.pack();
    t.commit();
    return done(true);
}

bool ReferenceMatrixRows::RMATRIXKAYDI()
{
    QString why;
    if (!writeTable(&why)) {
        ERRMESS(m_owner, QString(), why + u"\nDeğişiklikler kaydedilmedi."_s);
        return false;
    }
    changed = false;
    saved = true;
    return true;
}

bool ReferenceMatrixRows::KAYDET()
{
    return !changed || RMATRIXKAYDI();
}

// --- clipboard ---------------------------------------------------------------------------------------

void ReferenceMatrixRows::COPY(int field)
{
    if (field < 2 || field > m_server->FCOUNT() || m_server->eof())
        return;
    clipboardColumn = field;
    openProblem().UPANODEGER = m_server->FIELDGET(field).toString();
}

bool ReferenceMatrixRows::CUT(int field)
{
    if (field < 2 || field > m_server->FCOUNT() || m_server->eof())
        return false;
    COPY(field);
    return FDELETE(field);
}

bool ReferenceMatrixRows::FDELETE(int field)
{
    if (field < 2 || field > m_server->FCOUNT() || m_server->eof())
        return false;
    m_server->FIELDPUT(field, QString(fieldWidth(field), u' '));
    changed = true;
    return true;
}

bool ReferenceMatrixRows::PASTE(int field)
{
    if (field > m_server->FCOUNT() || m_server->eof())
        return false;
    const std::optional<QString> &clip = openProblem().UPANODEGER;
    if (!rmPasteAllowed(clip, clipboardColumn, field, fieldWidth(field)))
        return false;
    m_server->FIELDPUT(field, *clip);
    changed = true;
    return true;
}

// --- rows ----------------------------------------------------------------------------------------------

bool ReferenceMatrixRows::YM_EKLE()
{
    if (!m_server->USED())
        return false;
    if (m_server->LASTREC() == 0)
        return appendBlank();
    for (int r = 1; r <= m_server->LASTREC(); ++r) {
        if (m_server->textAt(r, 2).trimmed().isEmpty()) {
            m_server->GOTO(r);
            return false;
        }
    }
    if (!appendBlank())
        return false;
    renumber(1);
    m_server->GOBOTTOM();
    return true;
}

bool ReferenceMatrixRows::INSBLNKYM()
{
    if (!m_server->USED())
        return false;
    const int r = m_server->eof() ? m_server->LASTREC() + 1 : m_server->RECNO();
    // The blank row is appended first and the rows below the insertion point move down one by one in
    // memory, so a refused append leaves every row where it was.
    if (!appendBlank())
        return false;
    const int last = m_server->LASTREC();
    const int fields = m_server->FCOUNT();
    const ServerRows &data = m_server->DATA();
    for (int rec = last; rec > r; --rec) {
        m_server->GOTO(rec);
        for (int j = 2; j <= fields; ++j)
            m_server->FIELDPUT(j, data[rec - 2][j - 1]);
    }
    m_server->GOTO(r);
    for (int j = 2; j <= fields; ++j)
        m_server->FIELDPUT(j, BARRAYSERVER::blankValue(*m_server->field(j)));
    renumber(r);
    m_server->GOTO(r);
    return true;
}

bool ReferenceMatrixRows::YMDELETE()
{
    if (!m_server->USED() || m_server->eof())
        return false;
    const int r = m_server->RECNO();
    if (!askYesNo(m_owner, kWarning, u"Seçili yem maddesi siliniyor!"_s))
        return false;
    const bool hidden = DbfTable::setDeleted(false);
    bool done = false;
    if (m_server->DELETE() && m_server->DELETED()) {
        m_server->PACK();
        changed = true;
        done = true;
    }
    DbfTable::setDeleted(hidden);
    if (r > m_server->LASTREC()) {
        m_server->GOBOTTOM();
    } else {
        renumber(r);
        m_server->GOTO(r);
    }
    return done;
}

bool ReferenceMatrixRows::DODELETE()
{
    if (!m_server->USED() || m_server->eof())
        return false;
    if (!m_server->DELETE())
        return false;
    m_server->PACK();
    return true;
}

void ReferenceMatrixRows::YMSEC()
{
    if (!m_server->USED() || m_server->eof())
        return;
    moveRow = m_server->RECNO();
    m_moveEnabled = true;
}

bool ReferenceMatrixRows::YMKAYDIR()
{
    m_moveEnabled = false;
    if (!m_server->USED() || m_server->eof() || moveRow < 1 || moveRow > m_server->LASTREC())
        return false;
    const int t = m_server->RECNO();
    int s = moveRow;
    if (!INSBLNKYM())
        return false;
    if (t < s)
        ++s;
    if (t == s) {
        m_server->GOTO(t);
        DODELETE();
        renumber(t);
        m_server->GOTO(t);
        return false;
    }
    const int fields = m_server->FCOUNT();
    const ServerRow source = m_server->DATA()[s - 1];
    m_server->GOTO(t);
    for (int j = 2; j <= fields; ++j)
        m_server->FIELDPUT(j, source[j - 1]);
    changed = true;
    m_server->GOTO(s);
    DODELETE();
    renumber(qMin(s, t));
    m_server->GOTO(t > s ? t - 1 : t);
    return true;
}

bool ReferenceMatrixRows::PBARA(const QString &text)
{
    if (!m_server->USED())
        return false;
    const int r = m_server->RECNO();
    const QString wanted = text.trimmed();
    if (wanted.isEmpty())
        return false;
    const QString upper = TRUPPERQV(wanted);
    for (int rec = 1; rec <= m_server->LASTREC(); ++rec) {
        QString name = m_server->textAt(rec, 2).trimmed();
        if (name.size() > wanted.size())
            name.truncate(wanted.size());
        if (!name.isEmpty() && TRUPPERQV(name) == upper) {
            m_server->GOTO(rec);
            return true;
        }
    }
    showMessage(m_owner, u"Duyuru..."_s, u"Yem maddesi bulunamadı..."_s, MB_OK | MB_ICONINFORMATION);
    m_server->GOTO(r);
    return false;
}

// --- column tools --------------------------------------------------------------------------------------

bool ReferenceMatrixRows::COLMATHBM(int field, const std::function<std::optional<ColumnMathRequest>()> &ask)
{
    if (!m_server->USED())
        return false;
    if (field < 3 || field == 4 || field > m_server->FCOUNT()) {
        UYARI(m_owner, QString(), u"Aritmetik için önce sayısal bir kolon seçiniz!"_s);
        return false;
    }
    const std::optional<ColumnMathRequest> request = ask ? ask() : std::nullopt;
    if (!request || request->COPERAT.isEmpty() || (request->CVTYPE != u"N" && request->CVTYPE != u"A"))
        return false;
    const QString f = fieldName(field);
    const QString caption = rmColumnCaption(f);
    const QString &op = request->COPERAT;
    QStringList operand;
    QString question;
    if (request->CVTYPE == u"N") {
        // What is no number, and a division by zero, is refused before anything is asked.
        if (const QString why = numberOperandRefusal(op, request->CVALUEX); !why.isEmpty()) {
            ERRBEEP();
            UYARI(m_owner, QString(), why);
            return false;
        }
        if (op == u"K")
            question = u"Seçili kolona ("_s + caption + u") "_s + request->CVALUEX + u" değeri kopyalanacak..."_s;
        else
            question = u"Seçili kolona ("_s + caption + u"="_s + caption + op + request->CVALUEX + u") işlemi uygulanacak"_s;
    } else {
        const QString o = request->CVALUEX.trimmed();
        if (o == f) {
            showMessage(m_owner, kWarning, u"Farklı bir besin maddesi seçilmedi..."_s, MB_OK | MB_ICONINFORMATION);
            return false;
        }
        const int p = m_server->FIELDPOS(o);
        if (p < 1)
            return false;
        operand = columnTexts(p);
        const QString other = rmColumnCaption(o);
        if (op == u"K")
            question = u"Seçili kolona ("_s + caption + u"), "_s + other + u" alan değerleri kopyalanacak..."_s;
        else
            question = u"Seçili referans matrise ("_s + caption + u"="_s + caption + op + other + u") işlemi uygulanacak"_s;
    }
    if (!askYesNo(m_owner, kWarning, question + kSure))
        return false;
    const std::optional<QStringList> cells =
        columnMathCells(columnTexts(field), operand, *request, columnDecimals(field));
    if (!cells) {
        UYARI(m_owner, QString(), kDoesNotFit);
        return false;
    }
    m_server->SUSPENDNOTIFICATION();
    for (int r = 1; r <= m_server->LASTREC(); ++r)
        put(r, field, cells->value(r - 1));
    m_server->GOTOP();
    m_server->RESETNOTIFICATION();
    changed = true;
    return true;
}

bool ReferenceMatrixRows::BMBAGLA(MatrixDialogs &dialogs)
{
    if (!m_server->USED() || m_server->eof())
        return false;
    static const QStringList fixed = {u"KOD"_s, u"YM_ADI"_s, u"FIATI"_s, u"GRUBU"_s};
    QStringList names;
    for (int j = 1; j <= m_server->FCOUNT(); ++j) {
        if (!fixed.contains(fieldName(j)))
            names.append(fieldName(j));
    }
    const int chosen = dialogs.choose(m_owner, u"Makro BM Seçimi"_s, names);
    if (chosen < 1 || chosen > names.size())
        return false;
    const QString macro = names[chosen - 1];
    const int macroField = m_server->FIELDPOS(macro);
    const QString present = m_server->FIELDGET(macroField).toString();
    if (present.trimmed().isEmpty()) {
        UYARI(m_owner, QString(), u"Seçilen makro besin maddesi boş!"_s);
        return false;
    }
    const QString prompt = trimRight(m_server->FIELDGET(2).toString()) + u"->"_s + macro + u" Değerini Giriniz:"_s;
    const QString value = dialogs.askValue(m_owner, prompt, present);
    if (value.isEmpty() || value == present)
        return false;
    names.removeAt(chosen - 1);
    const QList<int> ticked = dialogs.chooseMany(m_owner, u"Bağlı BM'lerin Seçimi"_s, names);
    if (ticked.isEmpty())
        return false;
    if (!askYesNo(m_owner, kWarning, u"Referans Matrisi bir satır boyunca değiştirmek üzeresiniz..."_s + kSure))
        return false;
    QList<int> linkedFields;
    QStringList linked;
    for (int pos : ticked) {
        const int field = m_server->FIELDPOS(names.value(pos - 1));
        if (field < 1)
            continue;
        linkedFields.append(field);
        linked.append(m_server->FIELDGET(field).toString());
    }
    const std::optional<QStringList> scaled = linkedCells(linked, Val(present), Val(value));
    if (!scaled) {
        UYARI(m_owner, QString(), kDoesNotFit);
        return false;
    }
    m_server->SUSPENDNOTIFICATION();
    for (qsizetype i = 0; i < linkedFields.size(); ++i)
        m_server->FIELDPUT(linkedFields[i], scaled->value(i));
    m_server->FIELDPUT(macroField, value);
    m_server->RESETNOTIFICATION();
    changed = true;
    return true;
}

// --- form view -----------------------------------------------------------------------------------------

RmFormInput ReferenceMatrixRows::formInput() const
{
    RmFormInput in;
    for (int j = 1; j <= m_server->FCOUNT(); ++j)
        in.fieldNames.append(fieldName(j));
    in.record = rowTexts(m_server->RECNO());
    for (int r = 1; r <= m_server->LASTREC(); ++r) {
        const QString group = m_server->textAt(r, 4).trimmed();
        if (!group.isEmpty() && !in.groups.contains(group))
            in.groups.append(group);
    }
    return in;
}

bool ReferenceMatrixRows::applyForm(const RmFormHandBack &handBack)
{
    if (!m_server->USED() || m_server->eof())
        return false;
    const RmFormInput in = formInput();
    QStringList record = in.record;
    if (!applyFormHandBack(in.fieldNames, record, handBack))
        return false;
    for (int j = 2; j <= m_server->FCOUNT(); ++j) {
        if (record.value(j - 1) != in.record.value(j - 1))
            m_server->FIELDPUT(j, record.value(j - 1));
    }
    changed = true;
    return true;
}

} // namespace vexo
