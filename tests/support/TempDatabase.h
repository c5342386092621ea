#pragma once

#include "platform/db/Database.h"

#include <QString>
#include <QTemporaryDir>
#include <memory>

// A fresh database made from the shipped schema in a temporary folder of its own, removed
// with the fixture. db() opens it shared on first use.
class TempDatabase {
  public:
    TempDatabase();
    ~TempDatabase();

    QString path() const { return mPath; }
    QString folder() const { return mDir.path(); }
    platform::Database &db();
    // Closes the shared connection (to reopen the file another way).
    void close();

  private:
    QTemporaryDir mDir;
    QString mPath;
    std::unique_ptr<platform::Database> mDb;
};
