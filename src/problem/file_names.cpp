#include "problem/file_names.h"

#include <filesystem>
#include <system_error>

namespace vexo {

namespace {

qsizetype lastSeparator(const QString &path)
{
    return std::max(path.lastIndexOf(u'/'), path.lastIndexOf(u'\\'));
}

} // namespace

QString SFILEEXT(const QString &path)
{
    const QString trimmed = path.trimmed();
    if (trimmed.size() < 4)
        return {};
    const QString tail = trimmed.right(4);
    return tail.startsWith(u'.') ? tail : QString();
}

QString SFILEBASE(const QString &path)
{
    const QString ext = SFILEEXT(path);
    if (ext.isEmpty())
        return path;
    // The extension is looked for in the untrimmed path, so trailing blanks stay out of the base.
    return path.left(path.lastIndexOf(ext));
}

QString GETFILENAME(const QString &path)
{
    return path.mid(lastSeparator(path) + 1);
}

QString GETFILENAME(const QFileInfo &spec)
{
    return spec.fileName();
}

QString GETFILENAME(const QVariant &value)
{
    if (value.typeId() == QMetaType::QString)
        return GETFILENAME(value.toString());
    if (value.typeId() == QMetaType::fromType<QFileInfo>().id())
        return GETFILENAME(value.value<QFileInfo>());
    return {};
}

QString PROBFILENAME(const QString &problemPath)
{
    const QString name = GETFILENAME(problemPath);
    const qsizetype dot = name.lastIndexOf(u'.');
    return dot > 0 ? name.left(dot) : name;
}

QString PROBFILEBASE(const QString &problemPath)
{
    return SFILEBASE(problemPath);
}

QString PROBFILEDIR(const QString &problemPath)
{
    const qsizetype sep = lastSeparator(problemPath);
    return sep < 0 ? QString() : problemPath.left(sep);
}

bool ISSAMEFILE(const QString &a, const QString &b)
{
    // Two spellings of one existing file are the same file; two existing files are never the same
    // because of how their names are spelt (names differing in case are different files here).
    std::error_code ec;
    const std::filesystem::path pa(a.toStdU16String()), pb(b.toStdU16String());
    if (!a.isEmpty() && !b.isEmpty() && std::filesystem::exists(pa, ec) && std::filesystem::exists(pb, ec)) {
        const bool same = std::filesystem::equivalent(pa, pb, ec);
        if (!ec)
            return same;
    }
    return a.right(4).compare(b.right(4), Qt::CaseInsensitive) == 0 && SFILEBASE(a) == SFILEBASE(b);
}

} // namespace vexo
