#include "platform/ui/ClassicFont.h"

#include "platform/base/CompatibleFamily.h"

#include <QApplication>

namespace platform {

namespace {

// Without these the system's font configuration picks a face for each name, on some
// machines a monospace one for all of them.
void substituteDesignFonts()
{
    static const bool done = [] {
        for (const QString &name : designFontNames())
            QFont::insertSubstitution(name, compatibleFamily(name));
        return true;
    }();
    Q_UNUSED(done);
}

} // namespace

void useDesignFonts()
{
    substituteDesignFonts();
    QApplication::setFont(classicFont(QStringLiteral("MS Sans Serif"), 8));
}

QFont classicFont(const QString &family, double points, bool bold)
{
    substituteDesignFonts();
    QFont font(family);
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

} // namespace platform
