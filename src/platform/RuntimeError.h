#pragma once

#include <QString>
#include <stdexcept>

namespace platform {

// A run-time error as the system's handlers see it: a number they test and a
// sentence they show. Numbers keep their classic meanings (3021 no current record,
// 3022 duplicate key, 3024 file not found, 3031 bad password, 3049 damaged file,
// 3061 unknown name, 3075 syntax error, 3163 text too long, 3167 record deleted,
// 13 type mismatch, 53 file not found, 75 path/file access error, 76 path not found,
// 32755 dialog cancelled).
class RuntimeError : public std::runtime_error {
public:
    RuntimeError(int number, const QString &description);

    int number() const noexcept { return mNumber; }
    const QString &description() const noexcept { return mDescription; }

private:
    int mNumber;
    QString mDescription;
};

// The error's text followed by the full stop a message puts after it, which a text that
// already ends a sentence does not take twice.
QString withFullStop(const QString &description);

namespace err {
constexpr int TypeMismatch = 13;
constexpr int FileNotFound = 53;
constexpr int PathFileAccess = 75;
constexpr int PathNotFound = 76;
constexpr int NoCurrentRecord = 3021;
constexpr int DuplicateKey = 3022;
constexpr int DatabaseNotFound = 3024;
constexpr int NotValidPassword = 3031;
constexpr int DamagedDatabase = 3049;
constexpr int UnknownName = 3061;
constexpr int SyntaxError = 3075;
constexpr int FieldTooLong = 3163;
constexpr int RecordDeleted = 3167;
constexpr int DialogCancelled = 32755;
} // namespace err

} // namespace platform
