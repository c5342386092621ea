#pragma once

#include "platform/db/jet/JetDialect.h"

#include <QHash>
#include <QStringList>
#include <QVariant>
#include <sqlcipher/sqlite3.h>

// An in-memory database of a few contacts, settings and reminders with the field types
// of the real file, a catalog over it, and helpers that translate a query text and run
// the result.
class JetTestDatabase {
  public:
    JetTestDatabase();
    ~JetTestDatabase();
    JetTestDatabase(const JetTestDatabase &) = delete;
    JetTestDatabase &operator=(const JetTestDatabase &) = delete;

    sqlite3 *handle() const { return mDb; }
    const platform::JetCatalog &catalog() const { return mCatalog; }

    // Runs plain SQL; fails the test on an error.
    void exec(const QString &sql);
    // Runs plain SQL and returns every row.
    QList<QVariantList> query(const QString &sql);
    // Prepares plain SQL and returns SQLite's error text, empty when it prepares.
    QString prepareError(const QString &sql);

    // Translates a record source and returns its rows.
    QList<QVariantList> select(const QString &jet);
    // Translates a record source and returns one column of its rows as text.
    QStringList column(const QString &jet, int index = 0);
    // Translates an action query, runs it and returns the rows it changed.
    int execute(const QString &jet);
    // The last names of the contacts, in RecordID order, that meet a criterion.
    QStringList lastNamesWhere(const QString &criterion,
                               const QString &source = QStringLiteral("tblContacts"));
    // The first value of a translated expression over one contact, for functions.
    QVariant value(const QString &expression, int recordId = 1);

    int contactCount();

    // The run-time error that translating or running a criterion over every contact
    // raises; 0 when it runs.
    int errorOf(const QString &criterion);

  private:
    sqlite3 *mDb = nullptr;
    QHash<QString, QList<platform::JetColumn>> mTables;
    platform::JetCatalog mCatalog;
};
