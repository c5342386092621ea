#pragma once

#include <QFile>
#include <QString>
#include <functional>
#include <optional>

// Sets the permissions of a file or folder for as long as it lives and puts the old
// ones back, so a temporary folder can still be cleared afterwards.
class FileModeScope {
  public:
    FileModeScope(const QString &path, QFile::Permissions permissions);
    ~FileModeScope();
    FileModeScope(const FileModeScope &) = delete;
    FileModeScope &operator=(const FileModeScope &) = delete;

  private:
    QString mPath;
    QFile::Permissions mOld;
};

// Read and execute for everyone: lets an unprivileged user reach the files inside.
constexpr QFile::Permissions OpenFolder = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                          QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther |
                                          QFile::ExeOther;
constexpr QFile::Permissions ReadOnlyFolder =
    QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther;
constexpr QFile::Permissions ReadOnlyFile = QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther;

// True when the permission bits of files bind this process (it is not root).
bool permissionsBindThisProcess();

// Runs `check` where file permissions bind: in this process when they already do, else
// (running as root) in a child process that has become the unprivileged user "nobody".
// Returns what `check` returned, or nothing with `why` set when no such user can be had.
std::optional<QString> runWherePermissionsBind(const std::function<QString()> &check, QString &why);
