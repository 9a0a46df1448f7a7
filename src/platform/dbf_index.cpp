#include "platform/dbf_index.h"

#include "platform/atomic_file.h"
#include "platform/cp1254_codec.h"

#include <QFile>
#include <QSet>
#include <QtEndian>

#include <algorithm>

namespace vexo {

namespace {

constexpr int kPage = 512;
constexpr int kHeader = 1024;
constexpr int kLeafData = 24;       // where a leaf's entry information starts
constexpr int kInteriorData = 12;   // where an interior page's entries start
constexpr int kTagNameLength = 10;  // keys of the tag list
constexpr int kMaxKeyLength = 240;
constexpr quint16 kRoot = 1, kLeaf = 2;
constexpr quint32 kNone = 0xFFFFFFFFu;

int bitsFor(quint32 v)
{
    int bits = 0;
    while (v) {
        ++bits;
        v >>= 1;
    }
    return bits;
}

void put16(QByteArray &b, qsizetype at, quint16 v) { qToLittleEndian<quint16>(v, b.data() + at); }
void put32(QByteArray &b, qsizetype at, quint32 v) { qToLittleEndian<quint32>(v, b.data() + at); }
void put32be(QByteArray &b, qsizetype at, quint32 v) { qToBigEndian<quint32>(v, b.data() + at); }
quint16 get16(const QByteArray &b, qsizetype at) { return qFromLittleEndian<quint16>(b.constData() + at); }
quint32 get32(const QByteArray &b, qsizetype at) { return qFromLittleEndian<quint32>(b.constData() + at); }
quint32 get32be(const QByteArray &b, qsizetype at) { return qFromBigEndian<quint32>(b.constData() + at); }

QByteArray indexHeader(quint32 root, int keyLength, quint8 options, const QByteArray &expression)
{
    QByteArray h(kHeader, '\0');
    put32(h, 0, root);
    put32(h, 4, 0);
    put16(h, 12, quint16(keyLength));
    h[14] = char(options);
    h[15] = 1;
    put16(h, 502, 0);                                // ascending
    put16(h, 504, quint16(expression.size() + 1));   // the whole expression pool
    put16(h, 506, 1);                                // no FOR condition: its pool is a single NUL
    put16(h, 510, quint16(expression.size() + 1));
    std::copy(expression.begin(), expression.end(), h.begin() + 512);
    return h;
}

struct Key
{
    QByteArray bytes; // exactly the key length, blank padded
    quint32 recNo;
};

struct Level
{
    QList<QByteArray> pages;
    QList<Key> last; // the highest key of each page, for the level above
};

// Compressed leaves: each entry's record number, duplicate-byte and trailing-blank counts packed into
// a few bytes from the front of the page, the remaining key bytes packed from the back.
std::optional<Level> buildLeaves(const QList<Key> &keys, int keyLength)
{
    quint32 maxRec = 0;
    for (const Key &k : keys)
        maxRec = std::max(maxRec, k.recNo);
    const int countBits = bitsFor(quint32(keyLength));
    int width = 1;
    while (width < 4 && 8 * width - 2 * countBits < std::max(bitsFor(maxRec), 8))
        ++width;
    const int recBits = 8 * width - 2 * countBits;
    if (recBits < bitsFor(maxRec) || recBits <= 0)
        return std::nullopt;

    Level level;
    qsizetype i = 0;
    do {
        QByteArray page(kPage, '\0');
        put16(page, 0, kLeaf);
        put32(page, 14, recBits >= 32 ? 0xFFFFFFFFu : (1u << recBits) - 1);
        page[18] = char((1 << countBits) - 1);
        page[19] = char((1 << countBits) - 1);
        page[20] = char(recBits);
        page[21] = char(countBits);
        page[22] = char(countBits);
        page[23] = char(width);
        int info = kLeafData;
        int data = kPage;
        int n = 0;
        QByteArray previous;
        for (; i < keys.size(); ++i) {
            const QByteArray &k = keys[i].bytes;
            int trail = 0;
            while (trail < keyLength && k.at(keyLength - 1 - trail) == ' ')
                ++trail;
            int dup = 0;
            while (dup < previous.size() && dup < keyLength - trail && k.at(dup) == previous.at(dup))
                ++dup;
            const int stored = keyLength - dup - trail;
            if (info + width > data - stored)
                break;
            quint64 item = keys[i].recNo | (quint64(dup) << recBits) | (quint64(trail) << (recBits + countBits));
            for (int b = 0; b < width; ++b)
                page[info + b] = char((item >> (8 * b)) & 0xFF);
            info += width;
            data -= stored;
            std::copy(k.begin() + dup, k.begin() + dup + stored, page.begin() + data);
            previous = k;
            ++n;
        }
        put16(page, 2, quint16(n));
        put16(page, 12, quint16(data - info));
        level.pages.append(page);
        level.last.append(n > 0 ? keys[i - 1] : Key{QByteArray(keyLength, ' '), 0});
    } while (i < keys.size());
    return level;
}

Level buildInterior(const QList<Key> &children, const QList<quint32> &childOffsets, int keyLength)
{
    const int perPage = (kPage - kInteriorData) / (keyLength + 8);
    Level level;
    for (qsizetype first = 0; first < children.size(); first += perPage) {
        QByteArray page(kPage, '\0');
        const qsizetype n = std::min<qsizetype>(perPage, children.size() - first);
        put16(page, 2, quint16(n));
        for (qsizetype j = 0; j < n; ++j) {
            const qsizetype at = kInteriorData + j * (keyLength + 8);
            const Key &k = children[first + j];
            std::copy(k.bytes.begin(), k.bytes.end(), page.begin() + at);
            put32be(page, at + keyLength, k.recNo);
            put32be(page, at + keyLength + 4, childOffsets[first + j]);
        }
        level.pages.append(page);
        level.last.append(children[first + n - 1]);
    }
    return level;
}

// Lays out the pages of one index from `base` on; returns the bytes and the root's offset.
std::optional<std::pair<QByteArray, quint32>> buildTree(const QList<Key> &keys, int keyLength, quint32 base)
{
    std::optional<Level> leaves = buildLeaves(keys, keyLength);
    if (!leaves)
        return std::nullopt;
    QByteArray out;
    Level level = *leaves;
    bool leafLevel = true;
    for (;;) {
        const quint32 start = base + quint32(out.size());
        QList<quint32> offsets;
        for (qsizetype p = 0; p < level.pages.size(); ++p) {
            QByteArray &page = level.pages[p];
            offsets.append(start + quint32(p * kPage));
            put32(page, 4, p == 0 ? kNone : start + quint32((p - 1) * kPage));
            put32(page, 8, p + 1 == level.pages.size() ? kNone : start + quint32((p + 1) * kPage));
            if (level.pages.size() == 1)
                put16(page, 0, quint16((leafLevel ? kLeaf : 0) | kRoot));
            out += page;
        }
        if (level.pages.size() == 1)
            return std::make_pair(out, offsets.first());
        level = buildInterior(level.last, offsets, keyLength);
        leafLevel = false;
    }
}

struct Reader
{
    const QByteArray &file;
    QSet<quint32> visited;

    bool pageOk(quint32 offset) const
    {
        return offset % kPage == 0 && qint64(offset) + kPage <= file.size() && offset >= kHeader;
    }

    // Every key of the tree whose root is at `root`, leaves in sibling order.
    std::optional<QList<Key>> keys(quint32 root, int keyLength)
    {
        quint32 at = root;
        // Down the leftmost edge to the first leaf.
        for (;;) {
            if (!pageOk(at) || visited.contains(at))
                return std::nullopt;
            visited.insert(at);
            const QByteArray page = file.mid(at, kPage);
            if (get16(page, 0) & kLeaf)
                break;
            if (get16(page, 2) == 0 || kInteriorData + keyLength + 8 > kPage)
                return std::nullopt;
            at = get32be(page, kInteriorData + keyLength + 4);
        }
        visited.remove(at);
        QList<Key> out;
        while (at != kNone) {
            if (!pageOk(at) || visited.contains(at))
                return std::nullopt;
            visited.insert(at);
            const QByteArray page = file.mid(at, kPage);
            if (!(get16(page, 0) & kLeaf) || !leaf(page, keyLength, &out))
                return std::nullopt;
            at = get32(page, 8);
        }
        return out;
    }

    static bool leaf(const QByteArray &page, int keyLength, QList<Key> *out)
    {
        const int n = get16(page, 2);
        const quint32 recMask = get32(page, 14);
        const int recBits = uchar(page[20]), dupBits = uchar(page[21]), trailBits = uchar(page[22]);
        const int width = uchar(page[23]);
        if (width < 1 || width > 4 || recBits + dupBits + trailBits > 8 * width || dupBits > 16 || trailBits > 16)
            return false;
        if (kLeafData + n * width > kPage)
            return false;
        int data = kPage;
        QByteArray previous(keyLength, ' ');
        for (int i = 0; i < n; ++i) {
            quint64 item = 0;
            for (int b = 0; b < width; ++b)
                item |= quint64(uchar(page[kLeafData + i * width + b])) << (8 * b);
            const quint32 recNo = quint32(item) & recMask;
            const int dup = int((item >> recBits) & ((1u << dupBits) - 1));
            const int trail = int((item >> (recBits + dupBits)) & ((1u << trailBits) - 1));
            const int stored = keyLength - dup - trail;
            if (stored < 0 || data - stored < kLeafData + n * width)
                return false;
            data -= stored;
            QByteArray key = previous.left(dup) + page.mid(data, stored) + QByteArray(trail, ' ');
            out->append({key, recNo});
            previous = key;
        }
        return true;
    }
};

QString cString(const QByteArray &bytes)
{
    const qsizetype end = bytes.indexOf('\0');
    return Cp1254Codec::decode(end < 0 ? bytes : bytes.left(end));
}

} // namespace

void DbfIndex::add(const QByteArray &key, quint32 recNo)
{
    entries.append({key, recNo});
}

void DbfIndex::finish()
{
    std::stable_sort(entries.begin(), entries.end(),
                     [](const Entry &a, const Entry &b) { return a.key < b.key; });
    if (unique) {
        // Keys were added in record order and the sort is stable: the first of equal keys is the
        // lowest record, the one a unique index keeps.
        auto last = std::unique(entries.begin(), entries.end(),
                                [](const Entry &a, const Entry &b) { return a.key == b.key; });
        entries.erase(last, entries.end());
    }
}

qsizetype DbfIndex::seek(const QByteArray &prefix) const
{
    auto it = std::lower_bound(entries.begin(), entries.end(), prefix,
                               [](const Entry &e, const QByteArray &k) { return e.key < k; });
    if (it == entries.end() || !it->key.startsWith(prefix))
        return -1;
    return it - entries.begin();
}

qsizetype DbfIndex::positionOf(quint32 recNo) const
{
    for (qsizetype i = 0; i < entries.size(); ++i)
        if (entries[i].recNo == recNo)
            return i;
    return -1;
}

QByteArray DbfIndex::serialize() const
{
    if (keyLength < 1 || keyLength > kMaxKeyLength)
        return {};
    QList<Key> keys;
    for (const Entry &e : entries)
        keys.append({e.key.left(keyLength).leftJustified(keyLength, ' '), e.recNo});

    // Compound header, then the tag list, then the tag's header and its pages.
    const quint32 tagList = kHeader;
    const quint32 tagHeader = tagList + kPage;
    const quint32 tagPages = tagHeader + kHeader;
    const auto tree = buildTree(keys, keyLength, tagPages);
    const QByteArray name = Cp1254Codec::encode(tag).left(kTagNameLength).leftJustified(kTagNameLength, ' ');
    const auto list = buildTree({{name, tagHeader}}, kTagNameLength, tagList);
    if (!tree || !list)
        return {};
    QByteArray out = indexHeader(list->second, kTagNameLength, 0xE0, QByteArray());
    out += list->first;
    out += indexHeader(tree->second, keyLength, quint8(0x60 | (unique ? 0x01 : 0x00)), Cp1254Codec::encode(keyField));
    out += tree->first;
    return out;
}

std::optional<DbfIndex> DbfIndex::parse(const QByteArray &bytes, QString *why)
{
    auto fail = [why](const QString &t) -> std::optional<DbfIndex> {
        if (why)
            *why = t;
        return std::nullopt;
    };
    if (bytes.size() < kHeader + kPage || bytes.size() % kPage != 0)
        return fail(QStringLiteral("indeks dosyası tanınmıyor"));
    if (get16(bytes, 12) != kTagNameLength || !(uchar(bytes[14]) & 0x40))
        return fail(QStringLiteral("birleşik indeks dosyası değil"));
    Reader reader{bytes, {}};
    const std::optional<QList<Key>> tags = reader.keys(get32(bytes, 0), kTagNameLength);
    if (!tags || tags->isEmpty())
        return fail(QStringLiteral("indeks etiket listesi bozuk"));
    const quint32 at = tags->first().recNo;
    if (at % kPage != 0 || qint64(at) + kHeader > bytes.size() || at < kHeader)
        return fail(QStringLiteral("indeks etiketi bozuk"));
    const QByteArray header = bytes.mid(at, kHeader);
    DbfIndex idx;
    idx.tag = Cp1254Codec::decode(tags->first().bytes).trimmed();
    idx.keyLength = get16(header, 12);
    idx.unique = uchar(header[14]) & 0x01;
    idx.keyField = cString(header.mid(512)).trimmed().toUpper();
    if (idx.keyLength < 1 || idx.keyLength > kMaxKeyLength || idx.keyField.isEmpty())
        return fail(QStringLiteral("indeks başlığı bozuk"));
    const std::optional<QList<Key>> keys = reader.keys(get32(header, 0), idx.keyLength);
    if (!keys)
        return fail(QStringLiteral("indeks sayfaları bozuk"));
    for (const Key &k : *keys)
        idx.entries.append({k.bytes, k.recNo});
    return idx;
}

bool DbfIndex::save(const QString &path, QString *why) const
{
    const QByteArray bytes = serialize();
    if (bytes.isEmpty()) {
        if (why)
            *why = QStringLiteral("anahtarlar indekse yerleştirilemedi");
        return false;
    }
    return writeFileAtomically(path, bytes, why);
}

std::optional<DbfIndex> DbfIndex::load(const QString &path, QString *why)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        if (why)
            *why = f.errorString();
        return std::nullopt;
    }
    // An index of a small table; a file far larger than any key list is not ours.
    if (f.size() > 64 * 1024 * 1024) {
        if (why)
            *why = QStringLiteral("indeks dosyası çok büyük");
        return std::nullopt;
    }
    return parse(f.readAll(), why);
}

} // namespace vexo
