#include "platform/ui/Application.h"

#include "platform/RuntimeError.h"
#include "platform/ui/DisplayOpening.h"
#include "platform/ui/KeyboardCommands.h"
#include "platform/ui/MousePointer.h"
#include "platform/ui/MsgBox.h"

#include <QScopeGuard>
#include <QThreadPool>
#include <csignal>
#include <malloc.h>
#include <sys/resource.h>
#include <exception>

namespace platform {

namespace {

void reportUnexpectedError(const QString &what)
{
    setMousePointer(MousePointer::Default);
    QString text = QStringLiteral("The program met an error it did not expect, and what it was doing was "
                                  "not finished.");
    if (!what.isEmpty())
        text += QStringLiteral("\r\n\r\n") + what;
    MsgBox(text, vbOKOnly + vbCritical);
}

bool addressSpaceLimited()
{
    rlimit space{};
    return getrlimit(RLIMIT_AS, &space) == 0 && space.rlim_cur != RLIM_INFINITY;
}

// Under a limit on the address space, each thread that allocates would reserve an arena of
// its own (64 MB on 64-bit systems), and a thread the system can no longer make leaves Qt's
// drawing waiting for it for good, as after a repair that used most of the room. One arena,
// shared, leaves the room to the work. Done before Qt starts its own threads.
int &beforeQt(int &argc)
{
#ifdef M_ARENA_MAX
    if (addressSpaceLimited())
        mallopt(M_ARENA_MAX, 1);
#endif
    DisplayOpening::begin();
    return argc;
}

} // namespace

Application::Application(int &argc, char **argv) : QApplication(beforeQt(argc), argv)
{
    DisplayOpening::end();
    // A file grown past the size the user's limits allow would end the program where it
    // stands, its work files left behind; ignored, the write fails as on a full disk, which
    // the work tells and cleans up after.
    std::signal(SIGXFSZ, SIG_IGN);
    // The threads that share out the drawing of a large picture need little stack; the
    // default would reserve megabytes for each.
    if (addressSpaceLimited())
        QThreadPool::globalInstance()->setStackSize(512 * 1024);
}

bool Application::notify(QObject *receiver, QEvent *event)
{
    std::exception_ptr escaped;
    try {
        if (screenKeyEvent(receiver, event))
            return true;
        // Asked before the delivery, which may take the receiver away.
        const bool toWidget = receiver->isWidgetType();
        const bool delivered = QApplication::notify(receiver, event);
        noteKeyDelivered(toWidget, event);
        return delivered;
    } catch (...) {
        escaped = std::current_exception();
    }
    // The box that tells of one error runs events itself; an error met while it is up (a
    // paint that fails again) goes to the log rather than stacking boxes.
    static bool reporting = false;
    const bool nested = reporting;
    reporting = true;
    const auto done = qScopeGuard([nested] { reporting = nested; });
    try {
        std::rethrow_exception(escaped);
    } catch (const RuntimeError &error) {
        if (nested)
            qWarning("Run-time error %d: %s", error.number(), qPrintable(error.description()));
        else
            reportRuntimeError(error);
    } catch (const std::exception &error) {
        if (nested)
            qWarning("Unexpected error: %s", error.what());
        else
            reportUnexpectedError(QString::fromLocal8Bit(error.what()));
    } catch (...) {
        if (nested)
            qWarning("Unexpected error");
        else
            reportUnexpectedError(QString());
    }
    return false;
}

void reportRuntimeError(const RuntimeError &error)
{
    setMousePointer(MousePointer::Default);
    MsgBox(QStringLiteral("Run-time error '%1':\r\n\r\n%2").arg(error.number()).arg(error.description()),
           vbOKOnly + vbCritical);
}

} // namespace platform
