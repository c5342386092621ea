// Seeded damages of a 3,000-contact file, each opened as the start opens a file and repaired
// when it is found damaged: how many open as they are, how many are repaired (and of those,
// how many say that rows could not be recovered), how many are refused, and whether any
// crashes or hangs. Each damage runs in a child process of its own, so that a crash or a
// hang is counted rather than ending the run. The rows of every table of a repaired file are
// compared, key by key, with the undamaged file's: a repair that lost rows of a table
// without naming it (as the start's box names a table) is a silent loss, and the run fails.
//
//   RepairDamageRun [damages=1000] [seed=1] [contacts=3000] [password]
//   RepairDamageRun --file <path> [password]
//
// With a password the file is encrypted with it (pages of 1,024 bytes rather than 4,096).
//
// QUILTERN_KEEP_ORIGINAL=<path> keeps a copy of the undamaged file; QUILTERN_KEEP_DAMAGE=<n>
// keeps the n-th damaged file (counted from 1) as kept-damage.mdb in the current folder.

#include "platform/RuntimeError.h"
#include "platform/db/DaoError.h"
#include "platform/db/Database.h"
#include "platform/db/NewDatabase.h"
#include "platform/db/Recordset.h"
#include "platform/db/SqlStatement.h"
#include "platform/db/SqliteError.h"

#include "../tests/support/ContactGenerator.h"
#include "../tests/support/FileBytes.h"

#include <QDir>
#include <QMap>
#include <QSet>
#include <QTemporaryDir>

#include <array>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <random>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

enum Outcome { Opened, Repaired, RepairedWithLoss, Refused, TakenForPassword, Crashed, Hung, Outcomes };
const char *const OutcomeNames[] = {"opened as it was",
                                    "repaired, nothing lost",
                                    "repaired, loss told",
                                    "refused",
                                    "taken for a password",
                                    "crashed",
                                    "hung"};
const char *const KindNames[] = {"cut short", "bytes flipped", "a page garbled", "header bytes",
                                 "pages zeroed", "cut at a page"};
constexpr int Kinds = 6;
int PageSize = 4096;
QString Password;
constexpr auto TimeLimit = std::chrono::seconds(60);

QByteArray damaged(QByteArray bytes, int kind, std::mt19937 &random)
{
    const auto number = [&](qint64 low, qint64 high) {
        return std::uniform_int_distribution<qint64>(low, high)(random);
    };
    const qint64 pages = bytes.size() / PageSize;
    switch (kind) {
    case 0:
        bytes.truncate(number(bytes.size() / 10, bytes.size() - 1));
        break;
    case 1:
        for (qint64 n = number(1, 64); n > 0; --n)
            bytes[number(0, bytes.size() - 1)] ^= char(number(1, 255));
        break;
    case 2: {
        const qint64 at = (number(1, pages) - 1) * PageSize;
        for (int i = 0; i < PageSize; ++i)
            bytes[at + i] = char(number(0, 255));
        break;
    }
    case 3:
        for (qint64 n = number(1, 16); n > 0; --n)
            bytes[number(0, 99)] = char(number(0, 255));
        break;
    case 5:
        bytes.truncate(number(pages / 10, pages - 1) * PageSize);
        break;
    default: {
        const qint64 first = number(2, pages);
        const qint64 count = std::min(number(1, 4), pages - first + 1);
        bytes.replace((first - 1) * PageSize, count * PageSize, QByteArray(count * PageSize, '\0'));
        break;
    }
    }
    return bytes;
}

qint64 contactsIn(const QString &path)
{
    auto db = Password.isEmpty()
                  ? platform::Database::open(path)
                  : platform::Database::open(path, true, false, QStringLiteral(";pwd=") + Password);
    if (!db->isTable(QStringLiteral("tblContacts")) || !db->isTable(QStringLiteral("tblSettings")))
        platform::raiseForeignFile(path);
    auto all = db->openRecordset(QStringLiteral("Select * from tblContacts Order By LastName"));
    qint64 rows = 0;
    for (; !all->eof(); all->moveNext())
        ++rows;
    return rows;
}

const char *const Tables[] = {"tblContacts", "tblCategoryDesc", "tblCategoryID",
                              "tblRemind",   "tblSettings",     "tblCurrentReminders"};

// The keys of every row of each table, read straight from the file.
QList<QSet<qint64>> keysOf(const QString &path)
{
    auto db = Password.isEmpty()
                  ? platform::Database::open(path)
                  : platform::Database::open(path, true, false, QStringLiteral(";pwd=") + Password);
    QList<QSet<qint64>> keys;
    for (const char *table : Tables) {
        QSet<qint64> rows;
        try {
            platform::SqlStatement all(db->handle(), QStringLiteral("SELECT rowid FROM %1").arg(table));
            while (all.step())
                rows.insert(all.int64(0));
        } catch (const platform::RuntimeError &) {
        }
        keys.append(rows);
    }
    return keys;
}

QList<QSet<qint64>> &originalKeys()
{
    static QList<QSet<qint64>> keys;
    return keys;
}

// A table the box names as short of rows.
bool named(const platform::Database::RepairReport &report, const char *table)
{
    const platform::Database::RepairedTable repaired = report.table(QLatin1String(table));
    return repaired.held > repaired.kept || !repaired.whole ||
           report.leftOut.contains(QLatin1String(table), Qt::CaseInsensitive);
}

// What the start does with the file: open it; when damaged, repair it and open it again.
Outcome openOrRepair(const QString &path)
{
    try {
        contactsIn(path);
        return Opened;
    } catch (const platform::RuntimeError &error) {
        if (error.number() == platform::err::NotValidPassword)
            return TakenForPassword;
        if (error.number() != platform::err::DamagedDatabase) {
            writeFileBytes(path + QStringLiteral(".why"), error.description().toUtf8());
            return Refused;
        }
    }
    try {
        const platform::Database::RepairReport report = platform::Database::repair(path, Password);
        const qint64 kept = contactsIn(path);
        // For the parent: the contacts kept, and the most the repair saw the file hold.
        writeFileBytes(path + QStringLiteral(".kept"),
                       QByteArray::number(kept) + ' ' +
                           QByteArray::number(report.table(QStringLiteral("tblContacts")).held));
        // And each table that lost rows or that the box names: its rows lost, and whether the
        // box names it.
        const QList<QSet<qint64>> keys = keysOf(path);
        QByteArray losses;
        for (int t = 0; t < int(std::size(Tables)); ++t) {
            // A file of the user's choosing has no undamaged one to compare it with.
            const qint64 lost = t < originalKeys().size() ? (originalKeys()[t] - keys[t]).size() : 0;
            if (lost > 0 || named(report, Tables[t]))
                losses += QByteArray(Tables[t]) + ' ' + QByteArray::number(lost) + ' ' +
                          (named(report, Tables[t]) ? "named" : "silent") + '\n';
        }
        writeFileBytes(path + QStringLiteral(".losses"), losses);
        return report.lostRows() ? RepairedWithLoss : Repaired;
    } catch (const platform::RuntimeError &error) {
        writeFileBytes(path + QStringLiteral(".why"), error.description().toUtf8());
        return Refused;
    }
}

Outcome inChild(const QString &path)
{
    const pid_t child = fork();
    if (child == 0)
        _exit(openOrRepair(path));
    const auto deadline = std::chrono::steady_clock::now() + TimeLimit;
    int status = 0;
    while (waitpid(child, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            kill(child, SIGKILL);
            waitpid(child, &status, 0);
            return Hung;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return WIFEXITED(status) && WEXITSTATUS(status) < Crashed ? Outcome(WEXITSTATUS(status)) : Crashed;
}

} // namespace

int main(int argc, char **argv)
{
    // One file of the user's choosing, opened or repaired as the run does each damage.
    if (argc >= 3 && std::strcmp(argv[1], "--file") == 0) {
        Password = argc > 3 ? QString::fromLocal8Bit(argv[3]) : QString();
        const QString path = QString::fromLocal8Bit(argv[2]);
        const Outcome outcome = openOrRepair(path);
        std::printf("%s\n", OutcomeNames[outcome]);
        for (const QByteArray &table : readFileBytes(path + QStringLiteral(".losses")).split('\n'))
            if (table.endsWith(" named"))
                std::printf("named: %s\n", table.left(table.indexOf(' ')).constData());
        return 0;
    }
    const int damages = argc > 1 ? std::atoi(argv[1]) : 1000;
    const quint32 seed = argc > 2 ? quint32(std::atoi(argv[2])) : 1;
    const int contacts = argc > 3 ? std::atoi(argv[3]) : 3000;
    Password = argc > 4 ? QString::fromLocal8Bit(argv[4]) : QString();
    if (!Password.isEmpty())
        PageSize = 1024;

    QTemporaryDir folder;
    const QString original = folder.filePath(QStringLiteral("original.mdb"));
    platform::createDatabaseFromSchema(original);
    {
        auto db = platform::Database::open(original);
        ContactGenerator::insert(*db, contacts, seed);
        for (int i = 1; i <= 12; ++i)
            db->execute(
                QStringLiteral("INSERT INTO tblCategoryDesc (CategoryDesc) VALUES ('Group %1')").arg(i));
        for (int i = 1; i <= 40; ++i)
            db->execute(QStringLiteral("INSERT INTO tblRemind (LinkedRecordID, Description, Status) VALUES "
                                       "(%1, 'Call', 'Active')")
                            .arg(i * 7));
        // About every other contact in a category, some in two.
        db->execute(QStringLiteral("INSERT INTO tblCategoryID (ID, CategoryNumber) SELECT RecordID, RecordID "
                                   "Mod 12 + 1 FROM tblContacts WHERE RecordID Mod 5 < 2"));
        db->execute(QStringLiteral("INSERT INTO tblCategoryID (ID, CategoryNumber) SELECT RecordID, (RecordID "
                                   "+ 5) Mod 12 + 1 FROM tblContacts WHERE RecordID Mod 5 = 0"));
    }
    if (!Password.isEmpty())
        platform::Database::open(original, true, false, QStringLiteral(";pwd="))
            ->newPassword(QString(), Password);
    const QByteArray bytes = readFileBytes(original);
    originalKeys() = keysOf(original);
    // The undamaged file, for trying a damage by hand.
    if (!qEnvironmentVariable("QUILTERN_KEEP_ORIGINAL").isEmpty())
        QFile::copy(original, qEnvironmentVariable("QUILTERN_KEEP_ORIGINAL"));
    std::printf("%d damages of a %lld-byte %s file of %d contacts, seed %u\n", damages, qint64(bytes.size()),
                Password.isEmpty() ? "plain" : "encrypted", contacts, seed);

    std::mt19937 random(seed);
    qint64 contactsKept = 0;
    int repairs = 0, unseenLosses = 0, overcounts = 0;
    // Repairs that lost rows of some table, and those that did not name every such table
    // (of them, how many under the box that says nothing was lost).
    int losingRepairs = 0, silentLosses = 0, silentUnderInformation = 0;
    // Tables the boxes name, and of them those that kept every row.
    int tablesNamed = 0, namedWhole = 0;
    QMap<QByteArray, int> silentByTable;
    // Refusals of files that kept what a repair needs most: a plain file's length, an
    // encrypted file's first 16 bytes (the salt of its key).
    int keptNeeds = 0, keptNeedsRefused = 0;
    std::array<std::array<int, Outcomes>, Kinds> counts{};
    const auto started = std::chrono::steady_clock::now();
    for (int i = 0; i < damages; ++i) {
        const int kind = i % Kinds;
        const QString path = folder.filePath(QStringLiteral("damaged-%1.mdb").arg(i));
        const QByteArray damage = damaged(bytes, kind, random);
        writeFileBytes(path, damage);
        const bool needsKept =
            Password.isEmpty() ? damage.size() == bytes.size() : damage.left(16) == bytes.left(16);
        if (qEnvironmentVariableIntValue("QUILTERN_KEEP_DAMAGE") == i + 1)
            QFile::copy(path, QStringLiteral("kept-damage.mdb"));
        const Outcome outcome = inChild(path);
        ++counts[kind][outcome];
        keptNeeds += needsKept;
        keptNeedsRefused += needsKept && (outcome == Refused || outcome == TakenForPassword);
        const QList<QByteArray> kept = readFileBytes(path + QStringLiteral(".kept")).split(' ');
        if (kept.size() == 2) {
            contactsKept += kept[0].toLongLong();
            ++repairs;
            // Told nothing was lost, yet contacts are missing: a loss the repair did not see.
            const bool unseen = outcome == Repaired && kept[0].toLongLong() < contacts;
            const bool overcount = kept[1].toLongLong() > contacts;
            unseenLosses += unseen;
            overcounts += overcount;
            if (unseen || overcount)
                std::printf("damage %d (%s): kept %s, seen held %s\n", i, KindNames[kind],
                            kept[0].constData(), kept[1].constData());
        }
        const QList<QByteArray> losses = readFileBytes(path + QStringLiteral(".losses")).split('\n');
        bool losing = false, silent = false;
        for (const QByteArray &loss : losses) {
            const QList<QByteArray> parts = loss.split(' ');
            if (parts.size() != 3)
                continue;
            tablesNamed += parts[2] == "named";
            namedWhole += parts[2] == "named" && parts[1] == "0";
            if (parts[1] == "0")
                continue;
            losing = true;
            if (parts[2] == "silent") {
                silent = true;
                ++silentByTable[parts[0]];
                std::printf("damage %d (%s): %s rows of %s lost without naming it%s\n", i, KindNames[kind],
                            parts[1].constData(), parts[0].constData(),
                            outcome == Repaired ? ", under the information box" : "");
            }
        }
        losingRepairs += losing;
        silentLosses += silent;
        silentUnderInformation += silent && outcome == Repaired;
        if (outcome == Refused && qEnvironmentVariableIsSet("QUILTERN_TELL_REFUSALS"))
            std::printf("damage %d (%s) refused: %s\n", i, KindNames[kind],
                        readFileBytes(path + QStringLiteral(".why")).constData());
        if (outcome >= Crashed)
            std::printf("damage %d (%s): %s\n", i, KindNames[kind], OutcomeNames[outcome]);
        for (const QString &left : QDir(folder.path()).entryList({QStringLiteral("damaged-*")}))
            QFile::remove(folder.filePath(left));
    }

    std::array<int, Outcomes> total{};
    for (int kind = 0; kind < Kinds; ++kind) {
        std::printf("%-15s", KindNames[kind]);
        for (int outcome = 0; outcome < Outcomes; ++outcome) {
            std::printf("  %s %d", OutcomeNames[outcome], counts[kind][outcome]);
            total[outcome] += counts[kind][outcome];
        }
        std::printf("\n");
    }
    std::printf("%-15s", "all");
    for (int outcome = 0; outcome < Outcomes; ++outcome)
        std::printf("  %s %d", OutcomeNames[outcome], total[outcome]);
    std::printf("\nrepairs keep %.1f contacts of %d on average; %d said nothing was lost yet kept fewer "
                "contacts; %d counted more contacts held than there were",
                contactsKept / double(std::max(repairs, 1)), contacts, unseenLosses, overcounts);
    std::printf("\n%d repairs lost rows of some table; %d of them did not name every table that lost rows "
                "(%d under the box that says nothing was lost)",
                losingRepairs, silentLosses, silentUnderInformation);
    for (auto table = silentByTable.cbegin(); table != silentByTable.cend(); ++table)
        std::printf("; %s %d", table.key().constData(), table.value());
    std::printf("\n%d tables named as short of rows, %d of them kept every row", tablesNamed, namedWhole);
    const int refused = total[Refused] + total[TakenForPassword];
    std::printf("\nrefused %d of %d (%.1f%%); of the %d %s, %d refused; crashed %d, hung %d, in %.0f s\n",
                refused, damages, 100.0 * refused / std::max(damages, 1), keptNeeds,
                Password.isEmpty() ? "not cut short" : "with their first 16 bytes intact", keptNeedsRefused,
                total[Crashed], total[Hung],
                std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count());
    // At most one in 300 plain files of whole length refused, one in 20 encrypted files with
    // their salt whole.
    const int allowedOneIn = Password.isEmpty() ? 300 : 20;
    return total[Crashed] + total[Hung] == 0 && silentLosses == 0 && keptNeedsRefused * allowedOneIn <= keptNeeds
               ? 0
               : 1;
}
