#include "platform/base/FreeMemory.h"

#include <QFile>

#include <algorithm>
#include <limits>
#include <optional>
#include <sys/resource.h>

namespace platform {

namespace {

constexpr qint64 Unlimited = std::numeric_limits<qint64>::max();

QByteArray contentOf(const QString &file)
{
    QFile opened(file);
    return opened.open(QIODevice::ReadOnly) ? opened.readAll() : QByteArray();
}

// The number after `name` at the start of a line of `text` ("name value" or "name: value kB"),
// in bytes; nothing when no line has it.
std::optional<qint64> field(const QByteArray &text, const QByteArray &name, qint64 unit = 1)
{
    for (const QByteArray &line : text.split('\n')) {
        const QList<QByteArray> words = line.simplified().split(' ');
        if (words.size() >= 2 && (words[0] == name || words[0] == name + ':')) {
            bool ok = false;
            const qint64 value = words[1].toLongLong(&ok);
            if (ok)
                return value * unit;
        }
    }
    return std::nullopt;
}

qint64 number(const QByteArray &text)
{
    bool ok = false;
    const qint64 value = text.trimmed().toLongLong(&ok);
    return ok ? value : Unlimited;
}

// What a memory group and every group above it leave, its file pages not yet in use given
// back first. Groups of both kinds of hierarchy are read: the limit, the use, the list.
qint64 groupsLeave()
{
    qint64 least = Unlimited;
    for (const QByteArray &line : contentOf(QStringLiteral("/proc/self/cgroup")).split('\n')) {
        const QList<QByteArray> parts = line.split(':');
        if (parts.size() < 3)
            continue;
        const bool unified = parts[1].isEmpty();
        if (!unified && !parts[1].split(',').contains("memory"))
            continue;
        const QString root =
            unified ? QStringLiteral("/sys/fs/cgroup") : QStringLiteral("/sys/fs/cgroup/memory");
        QString group = QString::fromUtf8(parts.mid(2).join(':'));
        for (;;) {
            const QString dir = root + group;
            const qint64 limit =
                number(contentOf(dir + (unified ? "/memory.max" : "/memory.limit_in_bytes")));
            if (limit < Unlimited / 2) {
                const qint64 used =
                    number(contentOf(dir + (unified ? "/memory.current" : "/memory.usage_in_bytes")));
                const QByteArray stat = contentOf(dir + QStringLiteral("/memory.stat"));
                const qint64 idle =
                    field(stat, unified ? "inactive_file" : "total_inactive_file").value_or(0);
                if (used < Unlimited)
                    least = std::min(least, limit - used + idle);
            }
            if (group.isEmpty() || group == QLatin1String("/"))
                break;
            group = group.left(std::max<qsizetype>(0, group.lastIndexOf(QLatin1Char('/'))));
        }
    }
    return least;
}

// What a limit of the process leaves beyond `used`.
qint64 limitLeaves(int resource, std::optional<qint64> used)
{
    rlimit limit{};
    if (::getrlimit(resource, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY || !used)
        return Unlimited;
    return qint64(limit.rlim_cur) - *used;
}

} // namespace

FreeMemory freeMemory()
{
    const QByteArray status = contentOf(QStringLiteral("/proc/self/status"));
    const qint64 machine =
        field(contentOf(QStringLiteral("/proc/meminfo")), "MemAvailable", 1024).value_or(Unlimited);
    return {std::min({groupsLeave(), machine, limitLeaves(RLIMIT_DATA, field(status, "VmData", 1024))}),
            limitLeaves(RLIMIT_AS, field(status, "VmSize", 1024))};
}

} // namespace platform
