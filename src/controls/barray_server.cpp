#include "controls/barray_server.h"

#include "platform/dbf_table.h"

#include <QDate>

#include <algorithm>

namespace vexo {

BARRAYSERVER::BARRAYSERVER(ServerFields fields, ServerRows rows)
{
    init(std::move(fields));
    rows_.reserve(rows.size());
    for (ServerRow &r : rows) {
        ServerRow row;
        row.reserve(fields_.size());
        for (int i = 0; i < fields_.size(); ++i)
            row.append(convert(fields_[i], i < r.size() ? r[i] : QVariant()));
        rows_.append(std::move(row));
    }
    deleted_.assign(std::size_t(rows_.size()), false);
    recNo_ = 1;
}

static ServerRows variantRows(const QList<QStringList> &rows)
{
    ServerRows out;
    out.reserve(rows.size());
    for (const QStringList &r : rows)
        out.append(ServerRow(r.begin(), r.end()));
    return out;
}

BARRAYSERVER::BARRAYSERVER(ServerFields fields, const QList<QStringList> &rows)
    : BARRAYSERVER(std::move(fields), variantRows(rows))
{
}

BARRAYSERVER::~BARRAYSERVER() = default;

void BARRAYSERVER::init(ServerFields fields)
{
    fields_ = std::move(fields);
    for (ServerField &f : fields_) {
        f.type = f.type.toUpper();
        if (f.width < 1)
            f.width = 1;
    }
    used_ = !fields_.isEmpty();
}

QVariant BARRAYSERVER::blankValue(const ServerField &f)
{
    switch (f.type.unicode()) {
    case u'N':
        return 0.0;
    case u'L':
        return false;
    case u'D':
        return QDate();
    default:
        return QString(f.width, u' ');
    }
}

QVariant BARRAYSERVER::convert(const ServerField &f, const QVariant &value)
{
    if (!value.isValid() || value.isNull())
        return blankValue(f);
    switch (f.type.unicode()) {
    case u'N': {
        bool ok = false;
        const double d = value.typeId() == QMetaType::QString ? value.toString().trimmed().toDouble(&ok)
                                                              : value.toDouble(&ok);
        return ok ? d : 0.0;
    }
    case u'L':
        if (value.typeId() == QMetaType::QString) {
            const QString t = value.toString().trimmed().toUpper();
            return t == u"T" || t == u".T." || t == u"Y" || t == u"TRUE";
        }
        return value.toBool();
    case u'D':
        return value.toDate();
    default: {
        QString s = value.toString();
        if (s.size() > f.width)
            s.truncate(f.width);
        else if (s.size() < f.width)
            s += QString(f.width - s.size(), u' ');
        return s;
    }
    }
}

QString BARRAYSERVER::FIELDNAME(int pos) const
{
    const ServerField *f = field(pos);
    return f ? f->name : QString();
}

int BARRAYSERVER::FIELDPOS(const QString &name) const
{
    for (int i = 0; i < fields_.size(); ++i)
        if (fields_[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return i + 1;
    return 0;
}

const ServerField *BARRAYSERVER::field(int pos) const
{
    return pos >= 1 && pos <= fields_.size() ? &fields_[pos - 1] : nullptr;
}

// The shown sequence is rebuilt lazily: after any change of rows, marks or order, or when the shared
// deleted-records switch was flipped since the last build.
const std::vector<int> &BARRAYSERVER::sequence() const
{
    const bool hide = DbfTable::deletedHidden();
    if (sequenceValid_ && sequenceHidesDeleted_ == hide)
        return sequence_;
    sequence_.clear();
    sequence_.reserve(std::size_t(rows_.size()));
    for (int i = 0; i < rows_.size(); ++i)
        if (!hide || !deleted_[std::size_t(i)])
            sequence_.push_back(i + 1);
    if (orderKey_) {
        std::vector<std::pair<QString, int>> keyed;
        keyed.reserve(sequence_.size());
        for (int rec : sequence_)
            keyed.emplace_back(orderKey_(rows_[rec - 1]), rec);
        std::stable_sort(keyed.begin(), keyed.end(),
                         [](const auto &a, const auto &b) { return a.first < b.first; });
        for (std::size_t i = 0; i < keyed.size(); ++i)
            sequence_[i] = keyed[i].second;
    }
    sequenceValid_ = true;
    sequenceHidesDeleted_ = hide;
    return sequence_;
}

int BARRAYSERVER::shownCount() const
{
    return int(sequence().size());
}

int BARRAYSERVER::recNoAt(int position) const
{
    const auto &seq = sequence();
    return position >= 1 && position <= int(seq.size()) ? seq[std::size_t(position - 1)] : 0;
}

int BARRAYSERVER::positionOf(int recNo) const
{
    const auto &seq = sequence();
    if (!orderKey_) {
        // Natural order: a binary search over the ascending record numbers.
        auto it = std::lower_bound(seq.begin(), seq.end(), recNo);
        return it != seq.end() && *it == recNo ? int(it - seq.begin()) + 1 : 0;
    }
    auto it = std::find(seq.begin(), seq.end(), recNo);
    return it != seq.end() ? int(it - seq.begin()) + 1 : 0;
}

int BARRAYSERVER::shownBefore(int recNo) const
{
    const auto &seq = sequence();
    if (!orderKey_)
        return int(std::lower_bound(seq.begin(), seq.end(), recNo) - seq.begin());
    const QString key = orderKey_(rows_[recNo - 1]);
    int before = 0;
    for (int rec : seq) {
        const QString k = orderKey_(rows_[rec - 1]);
        if (k < key || (k == key && rec < recNo))
            ++before;
    }
    return before;
}

void BARRAYSERVER::shapeChanged()
{
    sequenceValid_ = false;
    ++shapeStamp_;
}

bool BARRAYSERVER::eof() const
{
    return recNo_ < 1 || recNo_ > LASTREC();
}

bool BARRAYSERVER::deletedAt(int recNo) const
{
    return recNo >= 1 && recNo <= LASTREC() && deleted_[std::size_t(recNo - 1)];
}

bool BARRAYSERVER::moveTo(int recNo, int code)
{
    if (!used_)
        return false;
    NOTIFY(ServerNotify::IntentToMove);
    recNo_ = recNo;
    NOTIFY(code);
    return true;
}

bool BARRAYSERVER::GOTOP()
{
    bof_ = false;
    const int first = recNoAt(1);
    return moveTo(first ? first : LASTREC() + 1, ServerNotify::GoTop);
}

bool BARRAYSERVER::GOBOTTOM()
{
    bof_ = false;
    const int last = recNoAt(shownCount());
    return moveTo(last ? last : LASTREC() + 1, ServerNotify::GoBottom);
}

bool BARRAYSERVER::GOTO(int recNo)
{
    bof_ = false;
    if (recNo < 1 || recNo > LASTREC())
        recNo = LASTREC() + 1;
    return moveTo(recNo, ServerNotify::RecordChange);
}

bool BARRAYSERVER::SKIP(int count)
{
    if (!used_)
        return false;
    bof_ = false;
    if (count == 0)
        return moveTo(recNo_, ServerNotify::RecordChange);
    const int n = shownCount();
    const int pos = positionOf(recNo_);
    int target;
    if (pos > 0)
        target = pos + count;
    else if (recNo_ >= 1 && recNo_ <= LASTREC()) // a hidden (deleted) row: its neighbours count
        target = shownBefore(recNo_) + (count > 0 ? count : count + 1);
    else // past the end
        target = n + 1 + count;
    if (target < 1) {
        bof_ = true;
        target = 1;
    }
    const int rec = target > n ? LASTREC() + 1 : recNoAt(target);
    return moveTo(rec ? rec : LASTREC() + 1, ServerNotify::RecordChange);
}

QVariant BARRAYSERVER::FIELDGET(int pos) const
{
    return valueAt(recNo_, pos);
}

QVariant BARRAYSERVER::valueAt(int recNo, int pos) const
{
    const ServerField *f = field(pos);
    if (!f)
        return {};
    if (recNo < 1 || recNo > LASTREC())
        return blankValue(*f);
    return rows_[recNo - 1][pos - 1];
}

bool BARRAYSERVER::FIELDPUT(int pos, const QVariant &value)
{
    const ServerField *f = field(pos);
    if (!used_ || !f || recNo_ < 1 || recNo_ > LASTREC())
        return false;
    rows_[recNo_ - 1][pos - 1] = convert(*f, value);
    if (orderKey_)
        shapeChanged();
    NOTIFY(ServerNotify::Field, f->name);
    return true;
}

bool BARRAYSERVER::APPEND()
{
    if (!used_ || (appendGate_ && !appendGate_()))
        return false;
    NOTIFY(ServerNotify::IntentToMove);
    ServerRow row;
    row.reserve(fields_.size());
    for (const ServerField &f : fields_)
        row.append(blankValue(f));
    rows_.append(std::move(row));
    deleted_.push_back(false);
    recNo_ = LASTREC();
    bof_ = false;
    shapeChanged();
    NOTIFY(ServerNotify::Appended);
    return true;
}

bool BARRAYSERVER::DELETE()
{
    if (!used_ || recNo_ < 1 || recNo_ > LASTREC())
        return false;
    deleted_[std::size_t(recNo_ - 1)] = true;
    shapeChanged();
    NOTIFY(ServerNotify::Deleted);
    return true;
}

bool BARRAYSERVER::RECALL()
{
    if (!used_ || !deletedAt(recNo_))
        return false;
    deleted_[std::size_t(recNo_ - 1)] = false;
    shapeChanged();
    NOTIFY(ServerNotify::RecordChange);
    return true;
}

bool BARRAYSERVER::PACK()
{
    if (!used_)
        return false;
    ServerRows kept;
    kept.reserve(rows_.size());
    int removedBefore = 0; // marked rows ahead of the current one
    for (int i = 0; i < rows_.size(); ++i) {
        if (!deleted_[std::size_t(i)])
            kept.append(std::move(rows_[i]));
        else if (i + 1 < recNo_)
            ++removedBefore;
    }
    rows_ = std::move(kept);
    deleted_.assign(std::size_t(rows_.size()), false);
    shapeChanged();
    // The current row keeps its place: the row that follows a removed current row takes it, and
    // removing the last row leaves the new last row current.
    recNo_ = std::clamp(recNo_ - removedBefore, 1, std::max(LASTREC(), 1));
    if (LASTREC() == 0)
        recNo_ = 1;
    bof_ = false;
    NOTIFY(ServerNotify::FileChange);
    return true;
}

bool BARRAYSERVER::CLOSE()
{
    if (!used_)
        return false;
    // A client may hold the last reference and let go of it while it is told.
    const auto keep = weak_from_this().lock();
    NOTIFY(ServerNotify::Closing);
    used_ = false;
    clients_.clear();
    return true;
}

QList<QStringList> BARRAYSERVER::textRows() const
{
    QList<QStringList> out;
    out.reserve(rows_.size());
    for (const ServerRow &r : rows_) {
        QStringList row;
        row.reserve(r.size());
        for (const QVariant &v : r)
            row.append(v.toString());
        out.append(std::move(row));
    }
    return out;
}

void BARRAYSERVER::SETORDER(OrderKey key)
{
    orderKey_ = std::move(key);
    shapeChanged();
    NOTIFY(ServerNotify::GoTop);
}

void BARRAYSERVER::NOTIFY(int code, const QString &description)
{
    if (suspended_ > 0 || clients_.empty())
        return;
    const auto keep = weak_from_this().lock();
    // A client may register or unregister clients while it is told; each one still registered when
    // its turn comes hears the code once.
    const std::vector<ServerClient *> snapshot = clients_;
    for (ServerClient *c : snapshot)
        if (std::find(clients_.begin(), clients_.end(), c) != clients_.end())
            c->NOTIFY(code, description);
}

void BARRAYSERVER::registerClient(ServerClient *client)
{
    if (client && std::find(clients_.begin(), clients_.end(), client) == clients_.end())
        clients_.push_back(client);
}

void BARRAYSERVER::unregisterClient(ServerClient *client)
{
    clients_.erase(std::remove(clients_.begin(), clients_.end(), client), clients_.end());
}

} // namespace vexo
