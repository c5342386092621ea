#include "mainwindow/MainWindowSettings.h"

#include "platform/ui/KeyCodes.h"

#include <QLocale>

#include <cmath>
#include <limits>

int codeMaxLength(bool versionRowExists)
{
    return versionRowExists ? 50 : 20;
}

bool settingIsTrue(const QString &storedValue)
{
    const QString value = storedValue.trimmed();
    return value == QLatin1String("1") || value == QLatin1String("-1") ||
           value.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0;
}

QString booleanSettingText(bool value)
{
    return value ? QStringLiteral("True") : QStringLiteral("False");
}

std::optional<qint32> wholeNumberSetting(const QString &storedValue)
{
    const QString value = storedValue.trimmed();
    if (value.startsWith(QLatin1String("&H"), Qt::CaseInsensitive)) {
        bool ok = false;
        const quint64 bits = value.mid(2).toULongLong(&ok, 16);
        if (!ok || bits > std::numeric_limits<quint32>::max()) {
            return std::nullopt;
        }
        // Eight hex digits are a 32-bit value with its sign bit, as in &H8000000F.
        return qint32(quint32(bits));
    }
    bool ok = false;
    const double number = QLocale::c().toDouble(value, &ok);
    if (!ok || !std::isfinite(number)) {
        return std::nullopt;
    }
    const double rounded = std::nearbyint(number); // the default rounding mode: half to even
    if (rounded < std::numeric_limits<qint32>::min() || rounded > std::numeric_limits<qint32>::max()) {
        return std::nullopt;
    }
    return qint32(rounded);
}

int assignCategoryOnAddFrom(const QString &storedValue)
{
    if (settingIsTrue(storedValue)) {
        return 1;
    }
    const std::optional<qint32> number = wholeNumberSetting(storedValue);
    return number && *number != std::numeric_limits<qint32>::min() ? std::abs(*number) : 0;
}

int reminderStartupFrom(const QString &storedValue)
{
    if (settingIsTrue(storedValue)) {
        return 1;
    }
    return wholeNumberSetting(storedValue).value_or(0);
}

std::optional<qint32> backColorFrom(const QString &storedValue)
{
    return wholeNumberSetting(storedValue);
}

QString mainWindowCaption(const QString &appName, const QString &dbPath, bool readOnly)
{
    return appName + QStringLiteral(" Database  ") + dbPath +
           (readOnly ? QStringLiteral("  (read-only)") : QString());
}

QString noticeLabelCaption(const QString &noticeLine)
{
    return noticeLine + QStringLiteral("  ");
}

MainWindowLook mainWindowLook(bool tabletMode)
{
    if (tabletMode) {
        return {400, QStringLiteral("Arial"), 14, false, 400, false, true};
    }
    return {225.0709, QStringLiteral("MS Sans Serif"), 8, true, 285, true, false};
}

MainWindowKey mainWindowKey(int keyCode)
{
    switch (keyCode) {
    case platform::VkF1:
        return MainWindowKey::Swallow;
    case platform::VkF5:
        return MainWindowKey::SwallowAndEnablePasswordChange;
    default:
        return MainWindowKey::PassOn;
    }
}
