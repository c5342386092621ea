#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace platform {
class Database;
} // namespace platform

// The settings rows the main window reads as it loads and first activates, read with one
// record set instead of one a row. Each type answers as its own settings query
// ("Select * from tblSettings Where Type='...'") answers: the first row of that type in the
// order of the settings index, by Name and then as the rows were added; a type that differs
// only in case or accents is the same type.
class StartupSettings {
  public:
    struct Row {
        QString name;     // Name, "" when Null
        QString setting1; // Setting1, "" when Null
    };

    // Reads the rows of these types, forgetting what was read before; the query goes
    // through gSql as every settings query does.
    void read(platform::Database &db, const QStringList &types);
    // The same, leaving gSql alone: for reading on a thread other than the windows'.
    void readAhead(platform::Database &db, const QStringList &types);
    static QString query(const QStringList &types);
    // The row of a type read above; nothing when the database has none.
    std::optional<Row> row(const QString &type) const;

  private:
    QList<std::pair<QString, Row>> mRows;
};
