// The repair of a damaged 100,000-contact file, encrypted against plain: the same contacts,
// the same damage, each repaired as the start repairs it, with its progress window (offscreen)
// told every step. "ratio" is encrypted / plain; side_s is the encrypted repair's time.
// The damages: the contacts' first page garbled (every row then looked for page by page), a
// page of their rows garbled, and the file cut on a page boundary at 85 %.
#include "BenchSupport.h"

#include "platform/db/Database.h"
#include "platform/db/SqlStatement.h"
#include "platform/ui/ProgressWindow.h"

#include <QFile>
#include <QTemporaryDir>

using namespace platform;

namespace {

const QString Password = QStringLiteral("s3cret");

// Categories, assignments and reminders beside the contacts, as a user's file has them.
void addTheRest(Database &db)
{
    db.beginTrans();
    for (int i = 1; i <= 12; ++i)
        db.execute(QStringLiteral("INSERT INTO tblCategoryDesc (CategoryDesc) VALUES ('Group %1')").arg(i));
    for (int i = 1; i <= 40; ++i)
        db.execute(QStringLiteral("INSERT INTO tblRemind (LinkedRecordID, Description, Status) VALUES (%1, "
                                  "'Call', 'Active')")
                       .arg(i * 7));
    db.execute(QStringLiteral("INSERT INTO tblCategoryID (ID, CategoryNumber) SELECT RecordID, RecordID Mod 12 + "
                              "1 FROM tblContacts WHERE RecordID Mod 5 < 2"));
    db.commitTrans();
}

const bench::KeptDatabase Plain("repair-plain", 100000, 42, addTheRest);
const bench::KeptDatabase Encrypted("repair-encrypted", 100000, 42, addTheRest, Password);

qint64 contactsRoot(const QString &path, const QString &password)
{
    auto db = password.isEmpty() ? Database::open(path)
                                 : Database::open(path, true, false, QStringLiteral(";pwd=") + password);
    SqlStatement root(db->handle(),
                      QStringLiteral("SELECT rootpage FROM sqlite_master WHERE name = 'tblContacts'"));
    return root.step() ? root.int64(0) : 0;
}

void garble(QFile &file, qint64 page, int pageSize)
{
    QByteArray bytes(pageSize, '\0');
    for (int i = 0; i < pageSize; ++i)
        bytes[i] = char((i * 37 + 11) & 0xff);
    file.seek((page - 1) * pageSize);
    file.write(bytes);
}

enum Damage { RootGarbled, PageGarbled, CutAtAPage };

// A damaged copy of the kept file at `path`.
void damagedCopy(const QString &kept, const QString &path, const QString &password, Damage damage)
{
    QFile::remove(path);
    QFile::remove(path + QStringLiteral(".bak"));
    QFile::copy(kept, path);
    const int pageSize = password.isEmpty() ? 4096 : 1024;
    QFile file(path);
    file.open(QIODevice::ReadWrite);
    const qint64 pages = file.size() / pageSize;
    switch (damage) {
    case RootGarbled:
        garble(file, contactsRoot(kept, password), pageSize);
        break;
    case PageGarbled:
        garble(file, pages / 3, pageSize);
        break;
    case CutAtAPage:
        file.resize(pages * 85 / 100 * pageSize);
        break;
    }
}

// The repair as the start runs it, its window told each step.
double repairShowingProgress(const QString &path, const QString &password)
{
    const auto started = bench::Clock::now();
    ProgressWindow window(QStringLiteral("Repairing Database"), 100, ProgressWindow::Cancel::NotOffered);
    Database::repair(path, password, [&](Database::RepairStep step, qint64 done, qint64 total) {
        window.report(int(step) * 25 + (total > 0 ? int(25 * done / total) : 0), QStringLiteral("Repairing"));
    });
    return bench::seconds(started);
}

void Repair100k(benchmark::State &state)
{
    const Damage damage = Damage(state.range(0));
    QTemporaryDir folder;
    const QString plain = folder.filePath(QStringLiteral("plain.mdb"));
    const QString encrypted = folder.filePath(QStringLiteral("encrypted.mdb"));
    bench::PairedTimes times;
    for (auto _ : state) {
        damagedCopy(Plain.ready(), plain, QString(), damage);
        damagedCopy(Encrypted.ready(), encrypted, Password, damage);
        state.SetIterationTime(times.time([&] { return repairShowingProgress(encrypted, Password); },
                                          [&] { return repairShowingProgress(plain, QString()); }));
    }
    times.report(state, "s");
}

} // namespace

BENCHMARK(Repair100k)
    ->ArgName("damage")
    ->Arg(RootGarbled)
    ->Arg(PageGarbled)
    ->Arg(CutAtAPage)
    ->UseManualTime()
    ->Iterations(2)
    ->Unit(benchmark::kSecond);

int main(int argc, char **argv)
{
    return bench::main(argc, argv);
}
