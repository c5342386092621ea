#include "platform/ui/DisplayOpening.h"

#include "platform/ui/ApplicationTitle.h"

#include <QByteArray>
#include <QList>
#include <QMutex>
#include <QtGlobal>

#include <cstdio>
#include <cstdlib>

namespace platform {

namespace {

struct HeldMessage {
    QtMsgType type;
    QByteArray file, function, category;
    int line;
    QString text;
};

Q_CONSTINIT QBasicMutex heldMutex;
QtMessageHandler previousHandler = nullptr;
bool holding = false;

QList<HeldMessage> &held()
{
    static QList<HeldMessage> messages;
    return messages;
}

QString described(const char *variable)
{
    const QString value = qEnvironmentVariable(variable);
    return QLatin1String(variable) +
           (value.isEmpty() ? QStringLiteral(" is not set") : QStringLiteral(" is \"%1\"").arg(value));
}

// What was tried, from the display variables as they are.
QString noDisplayText()
{
    QString text = applicationTitle() + QStringLiteral(": no display could be opened (") +
                   described("DISPLAY") + QStringLiteral(", ") + described("WAYLAND_DISPLAY");
    if (qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        text += QStringLiteral(", ") + described("QT_QPA_PLATFORM");
    return text + QStringLiteral(").");
}

void holdMessage(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    // The platform's last word before it aborts: no display could be opened.
    if (type == QtFatalMsg) {
        std::fputs(qPrintable(noDisplayText() + QLatin1Char('\n')), stderr);
        std::fflush(stderr);
        // Nothing of the program's own is open yet, and the half-made application object
        // is better left alone than torn down.
        std::_Exit(1);
    }
    const QMutexLocker lock(&heldMutex);
    held().append({type, context.file, context.function, context.category, context.line, text});
}

} // namespace

void DisplayOpening::begin()
{
    const QMutexLocker lock(&heldMutex);
    if (holding)
        return;
    holding = true;
    previousHandler = qInstallMessageHandler(holdMessage);
}

void DisplayOpening::end()
{
    QList<HeldMessage> messages;
    {
        const QMutexLocker lock(&heldMutex);
        if (!holding)
            return;
        holding = false;
        qInstallMessageHandler(previousHandler);
        messages.swap(held());
    }
    for (const HeldMessage &message : messages) {
        const QMessageLogContext context(message.file.constData(), message.line, message.function.constData(),
                                         message.category.constData());
        qt_message_output(message.type, context, message.text);
    }
}

} // namespace platform
