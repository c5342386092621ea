#include "platform/ui/Shell.h"

#include "platform/ui/DialogSeam.h"

#include <QStandardPaths>
#include <QUrl>

namespace platform {

namespace {
bool shell(DialogKind kind, const QString &text, const QStringList &arguments = {})
{
    DialogRequest request;
    request.kind = kind;
    request.text = text;
    request.arguments = arguments;
    return runDialog(request).accepted;
}
} // namespace

bool isShellLink(const QString &address)
{
    const QUrl url(address.trimmed(), QUrl::TolerantMode);
    if (!url.isValid())
        return false;
    const QString scheme = url.scheme().toLower();
    if (scheme == QLatin1String("http") || scheme == QLatin1String("https"))
        return !url.host().isEmpty() && address.trimmed().mid(scheme.size(), 3) == QLatin1String("://");
    if (scheme == QLatin1String("mailto"))
        return !url.path().trimmed().isEmpty();
    return false;
}

bool openLink(const QString &address)
{
    if (!isShellLink(address))
        return false;
    return shell(DialogKind::OpenLink, address.trimmed());
}

bool openDocument(const QString &path)
{
    if (path.trimmed().isEmpty())
        return false;
    return shell(DialogKind::OpenDocument, path);
}

bool startProgram(const QString &program, const QStringList &arguments)
{
    return shell(DialogKind::StartProgram, program, arguments);
}

QString onScreenKeyboardProgram()
{
    // The keyboards the desktops ship, most common first; a desktop with none of them
    // is asked for the first, and starting it then fails quietly.
    static const char *const keyboards[] = {"onboard",           "florence", "squeekboard",
                                            "matchbox-keyboard", "kvkbd",    "xvkbd"};
    for (const char *keyboard : keyboards) {
        const QString found = QStandardPaths::findExecutable(QLatin1String(keyboard));
        if (!found.isEmpty())
            return found;
    }
    return QLatin1String(keyboards[0]);
}

bool startOnScreenKeyboard()
{
#ifdef Q_OS_WIN
    return startProgram(QStringLiteral("cmd.exe"),
                        {QStringLiteral("/c"), QStringLiteral("start"), QStringLiteral("osk")});
#else
    return startProgram(onScreenKeyboardProgram());
#endif
}

} // namespace platform
