#include "platform/ui/ApplicationTitle.h"

namespace platform {

namespace {
QString &title()
{
    static QString text = QStringLiteral("Quiltern 3");
    return text;
}
} // namespace

QString applicationTitle()
{
    return title();
}

void setApplicationTitle(const QString &text)
{
    title() = text;
}

} // namespace platform
