#pragma once

#include <QString>

struct sqlite3;

namespace platform {

// One SQLite connection, closed when it goes, as SqlStatement finalizes its statement: no
// path out of an open, a check or a maintenance run can leave the file held. Statements
// still open on it when it closes keep the connection alive until they are finalized.
class SqlConnection {
  public:
    SqlConnection() = default;
    ~SqlConnection();
    SqlConnection(SqlConnection &&other) noexcept;
    SqlConnection &operator=(SqlConnection &&other) noexcept;
    SqlConnection(const SqlConnection &) = delete;
    SqlConnection &operator=(const SqlConnection &) = delete;

    // Opens the file with SQLite's open flags, closing any connection held before, and
    // returns SQLite's result code. A failed open still holds a handle that tells why,
    // until it is closed.
    int open(const QString &path, int flags);
    void close();

    bool isOpen() const { return mDb != nullptr; }
    sqlite3 *handle() const { return mDb; }

  private:
    sqlite3 *mDb = nullptr;
};

} // namespace platform
