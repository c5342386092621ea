#pragma once

#include <QString>
#include <QTemporaryDir>

// Points the program folder at a fresh temporary folder for as long as it lives, so
// that files the program keeps beside itself are written where a test can read them.
class TemporaryProgramFolder {
  public:
    TemporaryProgramFolder();
    ~TemporaryProgramFolder();
    TemporaryProgramFolder(const TemporaryProgramFolder &) = delete;
    TemporaryProgramFolder &operator=(const TemporaryProgramFolder &) = delete;

    bool isValid() const { return mDir.isValid(); }
    QString path() const { return mDir.path(); }
    QString filePath(const QString &name) const { return mDir.filePath(name); }

  private:
    QTemporaryDir mDir;
};
