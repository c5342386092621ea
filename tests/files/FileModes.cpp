#include "files/FileModes.h"

#include <QByteArray>

#ifdef Q_OS_UNIX
#include <grp.h>
#include <pwd.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

FileModeScope::FileModeScope(const QString &path, QFile::Permissions permissions)
    : mPath(path), mOld(QFile::permissions(path))
{
    QFile::setPermissions(path, permissions);
}

FileModeScope::~FileModeScope()
{
    QFile::setPermissions(mPath, mOld);
}

bool permissionsBindThisProcess()
{
#ifdef Q_OS_UNIX
    return geteuid() != 0;
#else
    return true;
#endif
}

std::optional<QString> runWherePermissionsBind(const std::function<QString()> &check, QString &why)
{
    if (permissionsBindThisProcess())
        return check();
#ifdef Q_OS_UNIX
    const passwd *nobody = getpwnam("nobody");
    if (!nobody) {
        why = QStringLiteral("the tests run as root and there is no user \"nobody\" to run the check as");
        return std::nullopt;
    }
    const uid_t uid = nobody->pw_uid;
    const gid_t gid = nobody->pw_gid;
    int channel[2];
    if (pipe(channel) != 0) {
        why = QStringLiteral("no pipe to a child process");
        return std::nullopt;
    }
    const pid_t child = fork();
    if (child == 0) {
        close(channel[0]);
        QByteArray report;
        if (setgroups(0, nullptr) != 0 || setgid(gid) != 0 || setuid(uid) != 0)
            report = QByteArrayLiteral("\x01");
        else
            report = QByteArrayLiteral("\x02") + check().toUtf8();
        qsizetype written = 0;
        while (written < report.size()) {
            const ssize_t n = write(channel[1], report.constData() + written, size_t(report.size() - written));
            if (n <= 0)
                break;
            written += n;
        }
        // No exit handlers: they belong to the parent's test run.
        _exit(0);
    }
    close(channel[1]);
    if (child < 0) {
        close(channel[0]);
        why = QStringLiteral("no child process could be started");
        return std::nullopt;
    }
    QByteArray report;
    char buffer[4096];
    for (;;) {
        const ssize_t n = read(channel[0], buffer, sizeof buffer);
        if (n <= 0)
            break;
        report.append(buffer, n);
    }
    close(channel[0]);
    int status = 0;
    waitpid(child, &status, 0);
    if (report.startsWith('\x02'))
        return QString::fromUtf8(report.mid(1));
    why = report.startsWith('\x01') ? QStringLiteral("the tests run as root and cannot become \"nobody\"")
                                    : QStringLiteral("the check as \"nobody\" did not report back");
    return std::nullopt;
#else
    why = QStringLiteral("no unprivileged user to run the check as");
    return std::nullopt;
#endif
}
