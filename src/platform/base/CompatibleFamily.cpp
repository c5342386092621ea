#include "platform/base/CompatibleFamily.h"

namespace platform {

namespace {

struct StandIn {
    QLatin1StringView design;
    QLatin1StringView family;
};

// Liberation Sans has Arial's widths; MS Sans Serif at 8 points, Tahoma and Small Fonts
// set a line within a few per cent of it, closer than any other family Debian packages.
constexpr StandIn StandIns[] = {
    {QLatin1StringView("MS Sans Serif"), QLatin1StringView("Liberation Sans")},
    {QLatin1StringView("Arial"), QLatin1StringView("Liberation Sans")},
    {QLatin1StringView("Tahoma"), QLatin1StringView("Liberation Sans")},
    {QLatin1StringView("Small Fonts"), QLatin1StringView("Liberation Sans")},
    {QLatin1StringView("Times New Roman"), QLatin1StringView("Liberation Serif")},
    {QLatin1StringView("Courier New"), QLatin1StringView("Liberation Mono")},
};

} // namespace

QString compatibleFamily(const QString &name)
{
    const QString trimmed = name.trimmed();
    for (const StandIn &s : StandIns)
        if (trimmed.compare(s.design, Qt::CaseInsensitive) == 0)
            return QString(s.family);
    return trimmed;
}

QList<QString> designFontNames()
{
    QList<QString> names;
    for (const StandIn &s : StandIns)
        names << QString(s.design);
    return names;
}

} // namespace platform
