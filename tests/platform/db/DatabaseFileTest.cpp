#include "platform/db/DatabaseFile.h"
#include "platform/base/FileKind.h"
#include "platform/db/DamageMark.h"
#include "platform/db/DaoError.h"
#include "platform/db/Database.h"
#include "platform/db/NewDatabase.h"
#include "platform/db/Recordset.h"
#include "platform/db/SqlStatement.h"
#include "support/ContactGenerator.h"
#include "support/DamagedDatabase.h"
#include "support/ExpectRuntimeError.h"
#include "support/TempDatabase.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>
#include <sqlcipher/sqlite3.h>
#include <sys/mount.h>

using namespace platform;

namespace {

QByteArray readAll(const QString &path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

void writeAll(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    file.open(QIODevice::WriteOnly | QIODevice::Truncate);
    file.write(bytes);
}

qint64 countRows(Database &db, const QString &table)
{
    auto rs = db.openRecordset(QStringLiteral("Select Count(*) as N from ") + table);
    return rs->value(0).toLongLong();
}

// The rollback journal of a transaction on a copy of `path` under way, as a kill leaves it:
// the engine marks its header only once it is on the disk, at the commit.
QByteArray journalOfAWriteUnderWay(const QString &path)
{
    const QString copy = path + QStringLiteral(".under-way");
    QFile::copy(path, copy);
    sqlite3 *db = nullptr;
    sqlite3_open(QFile::encodeName(copy).constData(), &db);
    sqlite3_exec(db, "BEGIN; CREATE TABLE t (x)", nullptr, nullptr, nullptr);
    const QByteArray journal = readAll(copy + "-journal");
    sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    QFile::remove(copy);
    return journal;
}

qint64 integrityProblems(const QString &path, const QString &password = QString())
{
    auto db =
        Database::open(path, !password.isEmpty(), false, password.isEmpty() ? QString() : ";pwd=" + password);
    SqlStatement check(db->handle(), QStringLiteral("PRAGMA integrity_check"));
    return check.step() && check.text(0) == QLatin1String("ok") ? 0 : 1;
}

} // namespace

TEST(DatabaseOpen, MissingFileIs3024AndNothingIsCreated)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("nothere.mdb");
    EXPECT_RUNTIME_ERROR(Database::open(path), err::DatabaseNotFound);
    EXPECT_RUNTIME_ERROR(Database::open(path, true, false, ";pwd=x"), err::DatabaseNotFound);
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_RUNTIME_ERROR(Database::open(dir.path()), err::DatabaseNotFound);
}

TEST(DatabaseOpen, ForeignFilesAreRefusedAndNeverWritten)
{
    QTemporaryDir dir;
    QByteArray jet(4096, '\0');
    jet.replace(0, 19, QByteArray("\x00\x01\x00\x00Standard Jet DB", 19));
    const QString jetPath = dir.filePath("old.mdb");
    writeAll(jetPath, jet);
    const QString textPath = dir.filePath("notes.mdb");
    writeAll(textPath, "Dear diary, this is not a database.\n");
    const QString emptyPath = dir.filePath("empty.mdb");
    writeAll(emptyPath, QByteArray());

    for (const QString &path : {jetPath, textPath, emptyPath}) {
        const QByteArray before = readAll(path);
        EXPECT_RUNTIME_ERROR(Database::open(path), err::UnrecognizedFormat);
        EXPECT_RUNTIME_ERROR(Database::open(path, true, false, ";pwd="), err::UnrecognizedFormat);
        EXPECT_RUNTIME_ERROR(Database::repair(path), err::UnrecognizedFormat);
        EXPECT_EQ(readAll(path), before) << path.toStdString();
        EXPECT_FALSE(QFile::exists(path + "-journal"));
    }
}

TEST(DatabaseOpen, NewDatabaseNeverOverwritesAndShipsItsRows)
{
    TempDatabase temp;
    const QByteArray before = readAll(temp.path());
    EXPECT_RUNTIME_ERROR(createDatabaseFromSchema(temp.path()), err::DatabaseExists);
    EXPECT_EQ(readAll(temp.path()), before);

    Database &db = temp.db();
    auto settings = db.openRecordset("Select * from tblSettings Where Type='COMMSETTINGS'");
    ASSERT_FALSE(settings->eof());
    EXPECT_EQ(settings->value("Name").toString(), "COM1");
    EXPECT_EQ(settings->value("Setting1").toString(), "");
    for (const char *type : {"RETURNADDRESS1", "RETURNADDRESS2", "RETURNADDRESSCHOICE", "VERSION"})
        EXPECT_EQ(db.openRecordset(QStringLiteral("Select * from tblSettings Where Type='%1'").arg(type))
                      ->recordCount(),
                  1)
            << type;
    auto orientation =
        db.openRecordset("Select * from tblSettings Where Type='REPORT' And Name='Envelope Orientation'");
    EXPECT_EQ(orientation->value("Setting1").toString(), "Landscape");
    for (const char *layout :
         {"Labels 1 x 2-5/8 3-up", "Labels 1-1/2 x 4 1-up", "Labels 15/16 x 3-1/2 1-up", "Labels 1 x 4 2-up",
          "Envelope Main Address", "Envelope Return Address", "Envelope Orientation", "Pocket Report"}) {
        auto row = db.openRecordset(
            QStringLiteral("Select * from tblSettings Where Type='REPORTdefault' And Name='%1'").arg(layout));
        ASSERT_EQ(row->recordCount(), 1) << layout;
        EXPECT_FALSE(row->value("Setting3").toString().isEmpty()) << layout;
        bool numeric = false;
        row->value("Setting4").toString().toInt(&numeric);
        EXPECT_TRUE(numeric) << layout;
    }
}

TEST(DatabaseOpen, DamagedFileIs3049AndRepairKeepsTheOriginal)
{
    TempDatabase temp;
    ContactGenerator::insert(temp.db(), 400);
    const qint64 before = countRows(temp.db(), "tblContacts");
    temp.close();

    // Garble two pages among the contacts, leaving the file's header intact.
    QByteArray bytes = readAll(temp.path());
    ASSERT_GT(bytes.size(), 40 * 1024);
    const int page = 4096;
    for (const int at : {(bytes.size() / page / 2) * page, (bytes.size() / page * 3 / 4) * page})
        for (int i = 0; i < page; ++i)
            bytes[at + i] = char((i * 37 + 11) & 0xff);
    writeAll(temp.path(), bytes);

    EXPECT_RUNTIME_ERROR(Database::open(temp.path()), err::DamagedDatabase);

    const QString backup = Database::repair(temp.path()).backup;
    EXPECT_EQ(readAll(backup), bytes) << "the damaged original is kept untouched";
    EXPECT_EQ(integrityProblems(temp.path()), 0);
    auto db = Database::open(temp.path());
    const qint64 after = countRows(*db, "tblContacts");
    EXPECT_GE(after, before - 32) << "no more is lost than the rows of the garbled pages";
    EXPECT_LE(after, before);
    EXPECT_EQ(countRows(*db, "tblSettings"), 16);
    // A new contact still gets a number no earlier contact had.
    db->execute("INSERT INTO tblContacts (LastName) VALUES ('Newcomer')");
    auto rs = db->openRecordset("Select RecordID from tblContacts Where LastName='Newcomer'");
    EXPECT_GT(rs->value(0).toLongLong(), before);
}

// Damage a read meets while the book is open marks it where nothing of the mark's name is and
// the book can be repaired there, and the mark is found whichever name opens the book (its
// own, a link to it, a link to its folder). A user's file or link of its name (and what it
// leads to) stays as it was, before the repair and after it.
TEST(DamageMetWhileOpen, MarksTheBookOnlyWhereItsNameIsFreeAndItCanBeRepaired)
{
    enum Beside { Nothing, UsersFile, LinkOfItsName, ReadOnlyBook, ReadOnlyFolder, ReadOnlyMedium };
    const std::pair<const char *, Beside> cases[] = {
        {"books/Quiltern.mdb", Nothing},       {"Linked.mdb", Nothing},     {"Shelf/Quiltern.mdb", Nothing},
        {"books/Quiltern.mdb", UsersFile},     {"Linked.mdb", LinkOfItsName}, {"books/Quiltern.mdb", ReadOnlyBook},
        {"Shelf/Quiltern.mdb", ReadOnlyFolder}, {"Linked.mdb", ReadOnlyMedium}};
    for (const auto &[name, beside] : cases) {
        SCOPED_TRACE(testing::Message() << name << " " << beside);
        QTemporaryDir dir;
        const QDir folder(dir.path());
        ASSERT_TRUE(folder.mkdir("books"));
        const QString real = folder.filePath("books/Quiltern.mdb"), mark = real + ".damaged";
        createDatabaseFromSchema(real);
        ContactGenerator::insert(*Database::open(real), 200);
        ASSERT_TRUE(QFile::link(real, folder.filePath("Linked.mdb")));
        ASSERT_TRUE(QFile::link(folder.filePath("books"), folder.filePath("Shelf")));
        writeAll(folder.filePath("letter.txt"), "Dear Ann");
        if (beside == UsersFile)
            writeAll(mark, "my own notes");
        if (beside == LinkOfItsName)
            QFile::link(folder.filePath("letter.txt"), mark);
        const QByteArray markBytes = readAll(mark);
        QByteArray bytes = readAll(real);
        damage::garblePage(bytes, damage::firstPageOf(real, "tblContacts"));
        writeAll(real, bytes);
        // Read-only for everyone, which binds even a user the permissions would not stop.
        const QString readOnly = beside == ReadOnlyBook ? real : folder.filePath("books");
        const QFile::Permissions modes = QFile::permissions(readOnly);
        if (beside == ReadOnlyBook || beside == ReadOnlyFolder)
            QFile::setPermissions(readOnly, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther);
        const QByteArray medium = QFile::encodeName(folder.filePath("books"));
        if (beside == ReadOnlyMedium && (::mount(medium, medium, nullptr, MS_BIND, nullptr) != 0 ||
                                         ::mount(nullptr, medium, nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr))) {
            ::umount2(medium, MNT_DETACH);
            continue; // no read-only mount can be made here
        }
        // Past the size an open checks, the damage is met only by the read.
        const qint64 limit = DamageMark::setOpenCheckLimit(0);
        auto db = Database::open(folder.filePath(name));
        EXPECT_RUNTIME_ERROR(db->openRecordset("Select Count(*) From tblContacts Where Notes Like '*x*'"),
                             err::DamagedDatabase);
        db.reset();
        DamageMark::setOpenCheckLimit(limit);
        for (const char *path : {"books/Quiltern.mdb", "Linked.mdb", "Shelf/Quiltern.mdb"})
            EXPECT_EQ(DamageMark::known(folder.filePath(path)), beside == Nothing) << path;
        const auto unchanged = [&] {
            return readAll(mark) == markBytes && QFileInfo(mark).isSymLink() == (beside == LinkOfItsName);
        };
        EXPECT_TRUE(beside == Nothing || unchanged());
        EXPECT_EQ(readAll(real), bytes);
        QFile::setPermissions(readOnly, modes);
        if (beside == ReadOnlyMedium)
            ::umount2(medium, MNT_DETACH);
        if (beside >= ReadOnlyBook)
            continue;
        Database::repair(real);
        EXPECT_FALSE(DamageMark::known(real));
        EXPECT_TRUE(unchanged());
    }
}

// Damage the repair reads through: a file cut short, or a header garbled or wiped while
// the pages behind it are whole.
struct Damage {
    const char *name;
    QByteArray (*apply)(QByteArray bytes);
};

class RepairOfDamage : public ::testing::TestWithParam<Damage> {};

TEST_P(RepairOfDamage, CopiesTheReadableRowsAndKeepsTheOriginal)
{
    TempDatabase temp;
    ContactGenerator::insert(temp.db(), 400);
    const qint64 before = countRows(temp.db(), "tblContacts");
    temp.close();
    const QByteArray damaged = GetParam().apply(readAll(temp.path()));
    writeAll(temp.path(), damaged);
    EXPECT_RUNTIME_ERROR(Database::open(temp.path()), err::DamagedDatabase);

    const Database::RepairReport report = Database::repair(temp.path());
    EXPECT_EQ(readAll(report.backup), damaged);
    EXPECT_EQ(integrityProblems(temp.path()), 0);
    auto db = Database::open(temp.path());
    const qint64 kept = countRows(*db, "tblContacts");
    EXPECT_GT(kept, 0);
    EXPECT_LE(kept, before);
    EXPECT_EQ(report.table("tblContacts").kept, kept);
    EXPECT_EQ(report.lostRows(), kept < before) << "a loss is told, and only a loss";
    EXPECT_EQ(countRows(*db, "tblSettings"), 16);
    EXPECT_EQ(QDir(QFileInfo(temp.path()).path()).entryList(QDir::Files).size(), 2)
        << "the file and its backup";
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, RepairOfDamage,
    ::testing::Values(Damage{"truncated", [](QByteArray b) { return b.left(b.size() * 85 / 100 + 123); }},
                      Damage{"garbled_header",
                             [](QByteArray b) {
                                 for (int i = 16; i < 100; ++i)
                                     b[i] = char((i * 53 + 7) & 0xff);
                                 return b;
                             }},
                      Damage{"wiped_header_cut_short",
                             [](QByteArray b) {
                                 b = b.left(b.size() * 9 / 10);
                                 b.replace(0, 100, QByteArray(100, '\0'));
                                 return b;
                             }}),
    [](const auto &info) { return std::string(info.param.name); });

// Rows a repair looks for on pages no table reaches: those of contacts deleted before the
// damage are not among them.
TEST(DatabaseRepair, ContactsDeletedBeforeTheDamageStayDeleted)
{
    TempDatabase temp;
    ContactGenerator::insert(temp.db(), 400);
    temp.db().execute("DELETE FROM tblContacts WHERE RecordID > 100 And RecordID <= 300");
    temp.close();
    QByteArray bytes = readAll(temp.path());
    damage::garblePage(bytes, damage::firstPageOf(temp.path(), "tblContacts"));
    writeAll(temp.path(), bytes);

    const Database::RepairReport report = Database::repair(temp.path());
    auto db = Database::open(temp.path());
    EXPECT_EQ(countRows(*db, "tblContacts"), 200);
    EXPECT_EQ(countRows(*db, "tblContacts WHERE RecordID > 100 And RecordID <= 300"), 0);
    EXPECT_FALSE(report.lostRows());
}

// A row told longer than its page holds costs that row alone, not its page's others.
TEST(DatabaseRepair, ARowToldLongerThanItsPageCostsOnlyThatRow)
{
    TempDatabase temp;
    ContactGenerator::insert(temp.db(), 400);
    temp.close();
    QByteArray bytes = readAll(temp.path());
    const qint64 leaf = damage::firstChildOf(bytes, damage::firstPageOf(temp.path(), "tblContacts"));
    auto *page = reinterpret_cast<uchar *>(bytes.data()) + (leaf - 1) * damage::PageSize;
    int last = 0; // the cell that ends at the page's end; a length of 4000 runs past it
    for (int cell = 0; cell < qFromBigEndian<quint16>(page + 3); ++cell)
        last = std::max<int>(last, qFromBigEndian<quint16>(page + 8 + 2 * cell));
    ASSERT_TRUE((page[last] & 0x80) && !(page[last + 1] & 0x80)) << "a length of two bytes";
    page[last] = 0x80 | (4000 >> 7);
    page[last + 1] = 4000 & 0x7F;
    writeAll(temp.path(), bytes);
    EXPECT_EQ(Database::repair(temp.path()).table("tblContacts").kept, 399);
}

// An index entry whose list of fields is garbled past its own length: the engine would read
// out of bounds walking that index, so the index is passed over and every row is kept.
TEST(DatabaseRepair, AnIndexEntryWithGarbledFieldsIsPassedOver)
{
    TempDatabase temp;
    ContactGenerator::insert(temp.db(), 400);
    SqlStatement root(
        temp.db().handle(),
        QStringLiteral("SELECT rootpage FROM sqlite_master WHERE name = 'tblContacts.Email_Address'"));
    ASSERT_TRUE(root.step());
    qint64 leaf = root.int64(0);
    root.finalize();
    temp.close();
    QByteArray bytes = readAll(temp.path());
    if (bytes[(leaf - 1) * damage::PageSize] == 0x02)
        leaf = damage::firstChildOf(bytes, leaf);
    auto *page = reinterpret_cast<uchar *>(bytes.data()) + (leaf - 1) * damage::PageSize;
    const int cell = qFromBigEndian<quint16>(page + 8);
    const uchar fields[] = {0xeb, 0xd6, 0xcf, 0xf2, 0x87, 0x0b}; // after the entry's length
    std::copy(std::begin(fields), std::end(fields), page + cell + 1);
    writeAll(temp.path(), bytes);
    EXPECT_EQ(Database::repair(temp.path()).table("tblContacts").kept, 400);
}

// A stored definition of a table of the program's that cannot be read, in a file with a
// password: the table gets the program's definition, and its rows and indexes.
TEST(DatabaseRepair, AnUnreadableDefinitionOfAKnownTableIsReplacedWithTheProgramsOwn)
{
    TempDatabase temp;
    ContactGenerator::insert(temp.db(), 300);
    temp.close();
    {
        auto db = Database::open(temp.path(), true, false, ";pwd=");
        db->newPassword("", "s3cret");
        SqlStatement(db->handle(), "PRAGMA writable_schema = ON").step();
        SqlStatement(db->handle(), "UPDATE sqlite_master SET sql = replace(sql, 'CONSTRAINT', 'CONSTR#INT') "
                                   "WHERE name = 'tblContacts'")
            .step();
    }
    EXPECT_RUNTIME_ERROR(Database::open(temp.path(), true, false, ";pwd=s3cret"), err::DamagedDatabase);

    const Database::RepairReport report = Database::repair(temp.path(), "s3cret");
    EXPECT_FALSE(report.lostRows());
    auto db = Database::open(temp.path(), true, false, ";pwd=s3cret");
    EXPECT_EQ(countRows(*db, "tblContacts"), 300);
    EXPECT_EQ(db->tableDef("tblContacts").field("Prefix").size, 50);
    EXPECT_TRUE(db->indexColumnsOf("tblContacts").contains(QStringList{"LastName", "FirstName"}));
}

// A file with a password whose first page is garbled: the password still opens its other
// pages, so a wrong one is told from the damage, and the damage is repaired.
TEST(DatabaseRepair, AWrongPasswordIsToldFromADamagedEncryptedFile)
{
    TempDatabase temp;
    ContactGenerator::insert(temp.db(), 100);
    temp.close();
    Database::open(temp.path(), true, false, ";pwd=")->newPassword("", "s3cret");
    QByteArray bytes = readAll(temp.path());
    damage::garblePage(bytes, 1, 11, damage::EncryptedPageSize, damage::EncryptedSaltSize);
    writeAll(temp.path(), bytes);

    EXPECT_RUNTIME_ERROR(Database::open(temp.path(), true, false, ";pwd=secret"), err::NotValidPassword);
    EXPECT_RUNTIME_ERROR(Database::repair(temp.path(), "secret"), err::NotValidPassword);
    EXPECT_EQ(readAll(temp.path()), bytes);
    EXPECT_RUNTIME_ERROR(Database::open(temp.path(), true, false, ";pwd=s3cret"), err::DamagedDatabase);
    EXPECT_EQ(Database::repair(temp.path(), "s3cret").table("tblContacts").kept, 100);
    auto db = Database::open(temp.path(), true, false, ";pwd=s3cret");
    EXPECT_EQ(countRows(*db, "tblContacts"), 100);
    EXPECT_EQ(countRows(*db, "tblSettings"), 16);
}

// The settings rows a new database has, put back where a file lacks them: a row found by its
// Type is there whatever its Name holds, a report's position only under its own Name.
TEST(ShippedSettings, OnlyTheRowsAFileLacksArePutBackWithTheirFirstValues)
{
    // A change to a new file, the rows put back and the rows there are afterwards.
    const std::tuple<const char *, QStringList, qint64> cases[] = {
        {"UPDATE tblSettings SET Name = '1' WHERE Type = 'RETURNADDRESSCHOICE'", {}, 16},
        {"UPDATE tblSettings SET Type = 'returnaddress1' WHERE Type = 'RETURNADDRESS1'", {}, 16},
        {"DELETE FROM tblSettings WHERE Type = 'VERSION' OR Type = 'COMMSETTINGS'",
         {"COMMSETTINGS", "VERSION"},
         16},
        {"UPDATE tblSettings SET Name = 'Pocket' WHERE Type = 'REPORTdefault' AND Name = 'Pocket Report'",
         {"REPORTdefault Pocket Report"},
         17},
    };
    for (const auto &[change, putBack, rows] : cases) {
        TempDatabase temp;
        temp.db().execute(change);
        temp.close();
        EXPECT_EQ(putBackShippedSettings(temp.path()), putBack) << change;
        auto db = Database::open(temp.path());
        EXPECT_EQ(countRows(*db, "tblSettings"), rows) << change;
        EXPECT_EQ(countRows(*db, "tblSettings WHERE Type = 'VERSION' AND Name = '3.0'"), 1) << change;
    }
}

// The first page (the one written most often) garbled over its header, the page's own header,
// its cells' end or the whole. The pages behind it tell a plain file from an encrypted one: a
// plain file is damaged, never asked for a password; an encrypted one is asked for its password
// and then repaired with it. An encrypted file's first bytes, its salt, stay: without them no
// page can be read.
TEST(DatabaseRepair, AGarbledFirstPageIsRepairedAndAnEncryptedOneAsksItsPassword)
{
    for (const bool encrypted : {false, true}) {
        const int page = encrypted ? damage::EncryptedPageSize : damage::PageSize;
        for (const auto &[from, to] : {std::pair{0, 100}, {100, 112}, {page * 3 / 4, page}, {0, page}}) {
            SCOPED_TRACE(testing::Message() << "encrypted " << encrypted << " bytes " << from << "-" << to);
            TempDatabase temp;
            ContactGenerator::insert(temp.db(), 300);
            temp.close();
            const QString password = encrypted ? "s3cret" : "";
            if (encrypted)
                Database::open(temp.path(), true, false, ";pwd=")->newPassword("", password);
            QByteArray bytes = readAll(temp.path());
            for (int i = std::max(from, encrypted ? damage::EncryptedSaltSize : 0); i < to; ++i)
                bytes[i] = char(((i + 11) * 37 + 11) & 0xff);
            writeAll(temp.path(), bytes);
            EXPECT_RUNTIME_ERROR(Database::open(temp.path()),
                                 encrypted ? err::NotValidPassword : err::DamagedDatabase);
            if (encrypted)
                EXPECT_RUNTIME_ERROR(Database::open(temp.path(), true, false, ";pwd=s3cret"),
                                     err::DamagedDatabase);
            EXPECT_EQ(Database::repair(temp.path(), password).table("tblContacts").kept, 300);
            EXPECT_EQ(integrityProblems(temp.path(), password), 0);
        }
    }
}

// A repair or a password change cut short leaves its copies beside the file, the plain copy
// of an encrypted one among them: the next open that finds the file whole removes them. A
// file the program's work would not have left stays: a user's file named alike, one others
// may read (unless every file shows the same mode, as on a FAT stick), one that holds no
// database, a backup being copied that is no beginning of the file's.
TEST(DatabaseRepair, OnlyTheProgramsOwnLeftoversAreRemovedOnTheNextOpen)
{
    TempDatabase temp;
    temp.close();
    constexpr QFile::Permissions everyFile = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                             QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther |
                                             QFile::ExeOther;
    QFile::setPermissions(temp.path(), everyFile);
    const QByteArray plain = readAll(temp.path());
    QByteArray encrypted(2048, '\0');
    for (int i = 0; i < encrypted.size(); ++i)
        encrypted[i] = char((i * 7919 + 13) % 251);
    const QByteArray journal = QByteArray::fromHex("d9d505f920a163d7") + QByteArray(500, 'j');
    const auto own = [&](const char *work) {
        return QFileInfo(dbfile::freshSidePath(temp.path(), work)).fileName();
    };
    constexpr QFile::Permissions ownerOnly = QFile::ReadOwner | QFile::WriteOwner;
    struct Leftover {
        QString name;
        QByteArray bytes;
        QFile::Permissions mode;
        bool removed;
    };
    const QString repair = own("repair");
    const QString halfMade = own("repair");
    const QString killedWriting = own("repair");
    const QString kept = own("rekey");
    const QByteArray unmarkedJournal = journalOfAWriteUnderWay(temp.path());
    ASSERT_GE(unmarkedJournal.size(), 28);
    ASSERT_FALSE(unmarkedJournal.startsWith(QByteArray::fromHex("d9d505f920a163d7")));
    const Leftover leftovers[] = {
        {own("scratch"), plain, ownerOnly, true},
        {repair, plain, ownerOnly, true},
        {repair + "-journal", journal, ownerOnly, true},
        {own("rekey"), encrypted, ownerOnly, true},
        {own("rekey"), QByteArray(), ownerOnly, true},
        // A new file killed before its first page was written, its journal beside it.
        {halfMade, QByteArray(8192, '\0') + plain.mid(8192, 8192), ownerOnly, true},
        {halfMade + "-journal", journal, ownerOnly, true},
        {own("repair"), QByteArray(8192, '\0'), ownerOnly, false},
        // Killed in the middle of a write, before its journal was marked; and such a journal
        // whose file went without it.
        {killedWriting, plain, ownerOnly, true},
        {killedWriting + "-journal", unmarkedJournal, ownerOnly, true},
        {own("repair") + "-journal", unmarkedJournal, ownerOnly, true},
        {own("repair") + "-journal", QByteArray(12, '\0') + plain.mid(12, 500), ownerOnly, false},
        // The journal of a file that stays stays with it.
        {kept, plain, ownerOnly | QFile::ReadGroup, false},
        {kept + "-journal", journal, ownerOnly, false},
        {own("repair"), plain, ownerOnly | QFile::ReadOther, false},
        {own("scratch"), "rows in plain", ownerOnly, false},
        {own("rekey"), plain, everyFile, true},
        {own("backup"), plain.left(plain.size() / 2), everyFile, true},
        {own("backup"), plain.mid(4096, 4096), ownerOnly, false},
        {own("repair"), "rows in plain", everyFile, false},
        {"Quiltern.mdb.rekey-20240101", plain, ownerOnly, false},
        {"Quiltern.mdb.repair-deadbeef", plain, ownerOnly, false},
        {"Quiltern.mdb.repair-deadbeef00000000", plain, ownerOnly, false},
    };
    for (const Leftover &leftover : leftovers) {
        writeAll(temp.folder() + "/" + leftover.name, leftover.bytes);
        QFile::setPermissions(temp.folder() + "/" + leftover.name, leftover.mode);
    }
    Database::open(temp.path());
    for (const Leftover &leftover : leftovers)
        EXPECT_NE(QFileInfo::exists(temp.folder() + "/" + leftover.name), leftover.removed)
            << leftover.name.toStdString();
}

TEST(DatabasePassword, SetChangeAndRemove)
{
    TempDatabase temp;
    temp.db().execute("INSERT INTO tblContacts (FirstName, LastName) VALUES ('Zebulon', 'Quarterfield')");
    temp.close();
    const QString path = temp.path();

    {
        auto db = Database::open(path, true, false, ";pwd=");
        EXPECT_RUNTIME_ERROR(db->newPassword("wrong", "s3cret"), err::NotValidPassword);
        db->newPassword("", "s3cret");
        EXPECT_TRUE(db->hasPassword());
        EXPECT_EQ(countRows(*db, "tblContacts"), 1) << "the database is open again with the new password";
    }
    const QByteArray encrypted = readAll(path);
    EXPECT_FALSE(encrypted.startsWith("SQLite format 3"));
    EXPECT_FALSE(encrypted.contains("Quarterfield"));
    EXPECT_FALSE(encrypted.contains("Zebulon"));
    EXPECT_FALSE(encrypted.contains("COMMSETTINGS"));

    EXPECT_RUNTIME_ERROR(Database::open(path), err::NotValidPassword);
    EXPECT_RUNTIME_ERROR(Database::open(path, true, false, ";pwd=S3CRET"), err::NotValidPassword);
    EXPECT_RUNTIME_ERROR(Database::repair(path), err::NotValidPassword);
    EXPECT_EQ(readAll(path), encrypted) << "failed opens leave the file as it was";

    {
        auto db = Database::open(path, true, false, ";pwd=s3cret");
        // A file with a password is held exclusively while open.
        EXPECT_RUNTIME_ERROR(Database::open(path, true, false, ";pwd=s3cret"), err::FileInUse);
        auto rs = db->openRecordset("Select * from tblContacts");
        EXPECT_EQ(rs->value("LastName").toString(), "Quarterfield");
        db->newPassword("s3cret", "n3w pass;word");
        EXPECT_FALSE(rs->isOpen()) << "record sets close with the rewrite";
    }
    EXPECT_RUNTIME_ERROR(Database::open(path, true, false, ";pwd=s3cret"), err::NotValidPassword);
    {
        auto db = Database::open(path, true, false, ";pwd=n3w pass;word");
        EXPECT_EQ(countRows(*db, "tblContacts"), 1);
        db->newPassword("n3w pass;word", "");
    }
    EXPECT_TRUE(readAll(path).startsWith("SQLite format 3"));
    auto plain = Database::open(path);
    EXPECT_EQ(countRows(*plain, "tblContacts"), 1);
    QDir folder(temp.folder());
    EXPECT_EQ(folder.entryList(QDir::Files).size(), 1)
        << folder.entryList(QDir::Files).join(",").toStdString();
}

TEST(DatabasePassword, OnlyAnExclusiveOpenChangesIt)
{
    TempDatabase temp;
    EXPECT_RUNTIME_ERROR(temp.db().newPassword("", "abc"), err::SharedPasswordChange);
    temp.close();
    // A password given for a file that has none is ignored.
    auto db = Database::open(temp.path(), true, false, ";pwd=whatever");
    EXPECT_FALSE(db->hasPassword());
    EXPECT_RUNTIME_ERROR(Database::open(temp.path()), err::FileInUse);
}

TEST(DatabaseFile, TableDefinitionsReportDefinedSizes)
{
    TempDatabase temp;
    const TableDef contacts = temp.db().tableDef("TBLCONTACTS");
    EXPECT_EQ(contacts.name(), "tblContacts");
    ASSERT_EQ(contacts.fields().size(), 68);
    EXPECT_EQ(contacts.fields().front().name, "RecordID");
    EXPECT_EQ(contacts.fields().front().type, JetType::Counter);
    EXPECT_EQ(contacts.field("UserField1").size, 255);
    EXPECT_EQ(contacts.field("Code").size, 50);
    EXPECT_EQ(contacts.field("Suffix").size, 20);
    EXPECT_EQ(contacts.field("First_State").size, 25);
    EXPECT_EQ(contacts.field("Phone1_Desc").size, 20);
    EXPECT_EQ(contacts.field("Notes").type, JetType::Memo);
    EXPECT_EQ(contacts.field("PrintNotes").type, JetType::YesNo);
    EXPECT_EQ(contacts.field("Date3").type, JetType::DateTime);
    EXPECT_EQ(contacts.field("AddressForLabels").type, JetType::Integer);
    EXPECT_RUNTIME_ERROR(contacts.field("Nope"), err::ItemNotFound);
    ASSERT_NE(contacts.index("LastName"), nullptr);
    EXPECT_EQ(contacts.index("LastName")->fields, QStringList({"LastName", "FirstName"}));
    ASSERT_NE(contacts.index("PrimaryKey"), nullptr);
    EXPECT_NE(contacts.index("PicturePath8"), nullptr);
    EXPECT_NE(contacts.index("DateUpdated"), nullptr);
    EXPECT_EQ(contacts.index("Notes"), nullptr);

    const TableDef links = temp.db().tableDef("tblCategoryID");
    ASSERT_NE(links.index("PrimaryKey"), nullptr);
    EXPECT_TRUE(links.index("PrimaryKey")->unique);
    EXPECT_EQ(links.index("PrimaryKey")->fields, QStringList({"ID", "CategoryNumber"}));
    EXPECT_RUNTIME_ERROR(temp.db().tableDef("qryContacts"), err::ItemNotFound);
    QStringList names;
    for (const TableDef &def : temp.db().tableDefs())
        names.append(def.name());
    EXPECT_EQ(names, QStringList({"tblCategoryDesc", "tblCategoryID", "tblContacts", "tblCurrentReminders",
                                  "tblRemind", "tblSettings"}));
}

TEST(DatabaseFile, TableDefinitionsAskedAgainAreTheSameAndAReopenedFileIsReadAfresh)
{
    TempDatabase temp;
    Database &db = temp.db();
    const TableDef first = db.tableDef("tblContacts");
    const TableDef again = db.tableDef("TBLCONTACTS");
    EXPECT_EQ(again.name(), "tblContacts");
    EXPECT_EQ(again.fields().size(), first.fields().size());
    ASSERT_EQ(again.indexes().size(), first.indexes().size());
    for (qsizetype i = 0; i < first.indexes().size(); ++i)
        EXPECT_EQ(again.indexes()[i].fields, first.indexes()[i].fields);
    EXPECT_RUNTIME_ERROR(db.tableDef("tblCopy"), err::ItemNotFound);

    EXPECT_RUNTIME_ERROR(db.tableDef("tblCopy"), err::ItemNotFound); // asking twice finds nothing twice

    // A table added to the file while it was closed is known once it is open again.
    temp.close();
    {
        auto raw = Database::open(temp.path());
        ASSERT_EQ(sqlite3_exec(raw->handle(), "CREATE TABLE tblCopy (RecordID INTEGER, LastName TEXT)", nullptr,
                               nullptr, nullptr),
                  SQLITE_OK);
    }
    auto reopened = Database::open(temp.path());
    EXPECT_EQ(reopened->tableDef("tblCopy").fields().size(), 2);
    EXPECT_NE(reopened->tableDef("tblContacts").index("LastName"), nullptr);
}

// Run as a child process by the test below: adds contacts one transaction at a time and
// reports each commit, until it is killed.
TEST(DatabaseCrash, ChildWriter)
{
    const QByteArray path = qgetenv("QUILTERN_CRASH_WRITER_DB");
    if (path.isEmpty())
        GTEST_SKIP() << "only run as the child of KilledWriterLeavesACommittedFile";
    auto db = Database::open(QString::fromUtf8(path));
    for (int n = 1;; ++n) {
        db->beginTrans();
        for (int i = 0; i < 50; ++i)
            db->execute(QStringLiteral("INSERT INTO tblContacts (LastName, Notes) VALUES ('Batch %1', '%2')")
                            .arg(n)
                            .arg(QString(2000, QChar(u'a' + i % 26))));
        db->commitTrans();
        printf("committed %d\n", n);
        fflush(stdout);
    }
}

TEST(DatabaseCrash, KilledWriterLeavesACommittedFile)
{
    TempDatabase temp;
    temp.close();
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QUILTERN_CRASH_WRITER_DB", temp.path());
    child.setProcessEnvironment(environment);
    child.start(QCoreApplication::applicationFilePath(), {"--gtest_filter=DatabaseCrash.ChildWriter"});
    ASSERT_TRUE(child.waitForStarted(10000));
    int committed = 0;
    QByteArray pending;
    while (committed < 20 && child.waitForReadyRead(20000)) {
        pending += child.readAllStandardOutput();
        int end;
        while ((end = pending.indexOf('\n')) >= 0) {
            const QByteArray line = pending.left(end);
            pending.remove(0, end + 1);
            if (line.startsWith("committed "))
                committed = line.mid(10).toInt();
        }
    }
    child.kill();
    child.waitForFinished(10000);
    ASSERT_GE(committed, 20);

    EXPECT_EQ(integrityProblems(temp.path()), 0);
    auto db = Database::open(temp.path());
    for (int n = 1; n <= committed; ++n)
        EXPECT_EQ(countRows(*db, QStringLiteral("tblContacts Where LastName = 'Batch %1'").arg(n)), 50) << n;
    const qint64 total = countRows(*db, "tblContacts");
    EXPECT_EQ(total % 50, 0) << "no batch is half there";
}

TEST(ContactGenerator, SameSeedSameContactsWithTheAwkwardCases)
{
    ContactGenerator a(5), b(5);
    bool apostrophe = false, accent = false, organisationOnly = false, secondAddress = false,
         emptyPhone = false;
    for (int i = 0; i < 300; ++i) {
        const QVariantMap c = a.next();
        ASSERT_EQ(c, b.next());
        const QString last = c.value("LastName").toString();
        apostrophe = apostrophe || last.contains('\'');
        accent = accent || std::any_of(last.begin(), last.end(), [](QChar ch) { return ch.unicode() > 127; });
        organisationOnly = organisationOnly ||
                           (last.isEmpty() && c.value("FirstName").toString().isEmpty() &&
                            !c.value("Organization").toString().isEmpty());
        secondAddress = secondAddress || !c.value("Second_City").toString().isEmpty();
        emptyPhone = emptyPhone || c.value("Phone1").toString().isEmpty();
    }
    EXPECT_TRUE(apostrophe && accent && organisationOnly && secondAddress && emptyPhone);

    TempDatabase temp;
    ContactGenerator::insert(temp.db(), 250, 5);
    EXPECT_EQ(countRows(temp.db(), "tblContacts"), 250);
    EXPECT_GT(countRows(temp.db(), "tblContacts Where AddressForLabels = 2"), 0);
    // Whatever the first contact lacks, the rows after it keep their names, second
    // addresses and birthdays.
    for (quint32 seed : {5u, 7u}) {
        TempDatabase other;
        ContactGenerator::insert(other.db(), 100, seed);
        EXPECT_GT(countRows(other.db(), "tblContacts Where LastName > ''"), 50) << seed;
        EXPECT_GT(countRows(other.db(), "tblContacts Where Second_City > ''"), 10) << seed;
        EXPECT_GT(countRows(other.db(), "tblContacts Where Date1 Is Not Null"), 10) << seed;
    }
}

TEST(DatabaseOpen, AStoredQueryWhoseTableIsGoneNamesTheTable)
{
    TempDatabase temp;
    ASSERT_EQ(sqlite3_exec(temp.db().handle(), "DROP TABLE tblRemind", nullptr, nullptr, nullptr), SQLITE_OK);
    try {
        temp.db().openRecordset(QStringLiteral("qryRemind"));
        ADD_FAILURE() << "the query opened without its table";
    } catch (const platform::RuntimeError &error) {
        EXPECT_EQ(error.number(), err::UnknownName);
        EXPECT_TRUE(error.description().endsWith(": tblRemind.")) << error.description().toStdString();
    }
}

// `rows` contacts with long notes, then `password` set ("" for none).
static void fill(TempDatabase &temp, int rows, const QString &password)
{
    sqlite3_exec(temp.db().handle(),
                 "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n) INSERT INTO "
                 "tblContacts (LastName, Notes) SELECT i, hex(zeroblob(450)) FROM n LIMIT " +
                     QByteArray::number(rows),
                 nullptr, nullptr, nullptr);
    temp.close();
    if (!password.isEmpty())
        Database::open(temp.path(), true, false, ";pwd=")->newPassword("", password);
}

TEST(DatabasePassword, ChangeRewritesTheFileTheLinkLeadsToAndKeepsItsMode)
{
    for (const auto &[link, mode, from, to] :
         {std::tuple{true, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther, "", "s3cret"},
          std::tuple{false, QFile::ReadOwner | QFile::WriteOwner, "s3cret", ""}}) {
        TempDatabase temp;
        fill(temp, 50, from);
        QFile::setPermissions(temp.path(), mode);
        const QString opened = link ? temp.folder() + "-link.mdb" : temp.path();
        ASSERT_TRUE(!link || QFile::link(temp.path(), opened));
        Database::open(opened, true, false, QStringLiteral(";pwd=") + from)->newPassword(from, to);
        EXPECT_EQ(QFileInfo(opened).isSymLink(), link);
        EXPECT_EQ(readAll(temp.path()).startsWith("SQLite format 3"), QString(to).isEmpty());
        EXPECT_EQ(
            countRows(*Database::open(temp.path(), true, false, ";pwd=" + QString(to)), "tblContacts"), 50);
        EXPECT_EQ(QFile::permissions(temp.path()) & ~QFile::Permissions(0x0F00), mode) << to;
        QFile::remove(temp.folder() + "-link.mdb");
    }
}

TEST(DatabasePassword, RefusedWhileAnotherProgramHasTheFileOpen)
{
    TempDatabase temp;
    temp.close();
    QProcess holder; // has the file open and reads nothing, as an idle SQLite shell
    holder.start("sh", {"-c", "exec 3<\"$0\"; echo open; read line", temp.path()});
    ASSERT_TRUE(holder.waitForReadyRead(10000));
    auto db = Database::open(temp.path(), true, false, ";pwd=");
    EXPECT_RUNTIME_ERROR(db->newPassword("", "s3cret"), err::FileInUse);
    holder.closeWriteChannel();
    ASSERT_TRUE(holder.waitForFinished(10000));
    db->newPassword("", "s3cret");
}

// The child of the test below: removes the password and dies with the plain copy half made.
TEST(DatabasePassword, ChildKilledDuringAChange)
{
    static const QString path = qEnvironmentVariable("QUILTERN_REKEY_DB");
    if (path.isEmpty())
        GTEST_SKIP() << "only run as the child of AnInterruptedChangeLeavesNothingBehind";
    auto db = Database::open(path, true, false, ";pwd=old");
    sqlite3_progress_handler(
        db->handle(), 1000,
        [](void *) {
            if (QFileInfo(QFileInfo(path).dir().entryInfoList({"*.rekey-*"}).value(0)).size() > 1024 * 1024)
                ::raise(SIGKILL);
            return 0;
        },
        nullptr);
    db->newPassword("old", "");
}

TEST(DatabasePassword, AnInterruptedChangeLeavesNothingBehind)
{
    TempDatabase temp;
    fill(temp, 4000, "old");
    qputenv("QUILTERN_REKEY_DB", temp.path().toUtf8());
    QProcess::execute(QCoreApplication::applicationFilePath(), {"--gtest_filter=*.ChildKilledDuringAChange"});
    qunsetenv("QUILTERN_REKEY_DB");
    const QFileInfo left = QDir(temp.folder()).entryInfoList({"Quiltern.mdb.rekey-*"}).value(0);
    ASSERT_GT(left.size(), 1024 * 1024);
    EXPECT_EQ(left.permissions() & ~QFile::Permissions(0x0F00), QFile::ReadOwner | QFile::WriteOwner);
    EXPECT_EQ(countRows(*Database::open(temp.path(), true, false, ";pwd=old"), "tblContacts"), 4000);
    EXPECT_EQ(QDir(temp.folder()).entryList(QDir::Files), QStringList{"Quiltern.mdb"});
}

// Another copy of the program, from another login or user, opening the book: this test run
// again, told the book and whether it reads, says what came of it.
TEST(DatabaseOtherCopy, OneCopyWritesABookAtATime)
{
    if (const QString child = qEnvironmentVariable("QUILTERN_OTHER_COPY"); !child.isEmpty()) {
        int told = 0;
        if (qEnvironmentVariableIsSet("QUILTERN_CASE_BLIND"))
            setFolderCaseRuleForTesting([](const QString &) { return true; });
        try {
            Database::open(child.mid(1), false, child.startsWith('r'));
        } catch (const RuntimeError &error) {
            told = error.number();
        }
        return (void)printf("told %d\n", told);
    }
    TempDatabase temp;
    temp.close();
    // On a disk that ignores letter case, by the name and its folder's in other letters.
    const QString otherLetters = QFileInfo(temp.folder()).path() + '/' +
                                 QFileInfo(temp.folder()).fileName().toUpper() + "/quiltern.MDB";
    auto otherCopy = [&](bool reads, bool caseBlind = false) {
        QProcess child;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("QUILTERN_OTHER_COPY",
                           (reads ? "r" : "w") + (caseBlind ? otherLetters : temp.path()));
        if (caseBlind)
            environment.insert("QUILTERN_CASE_BLIND", "1");
        child.setProcessEnvironment(environment);
        child.start(QCoreApplication::applicationFilePath(), {"--gtest_filter=DatabaseOtherCopy.*"});
        child.waitForFinished(20000);
        const QByteArray said = child.readAllStandardOutput();
        return said.mid(said.indexOf("told ") + 5).split('\n')[0].toInt();
    };
    // How this copy has the book: a read-only file, it reads; the other reads; what it is told.
    for (const auto &[readOnlyFile, thisReads, otherReads, told] :
         {std::tuple{false, false, false, err::FileInUse},
          {false, false, true, err::FileInUse},
          {false, true, false, err::FileInUse},
          {false, true, true, 0},
          {true, false, false, 0}}) {
        SCOPED_TRACE(testing::Message() << readOnlyFile << thisReads << otherReads);
        QFile::setPermissions(temp.path(),
                              readOnlyFile ? QFile::ReadOwner : QFile::ReadOwner | QFile::WriteOwner);
        {
            auto db = Database::open(temp.path(), false, thisReads);
            // Opens within one copy share its hold.
            auto again = Database::open(temp.path(), false, thisReads);
            EXPECT_EQ(otherCopy(otherReads), told);
            EXPECT_EQ(otherCopy(otherReads, true), told);
        }
        EXPECT_EQ(otherCopy(otherReads), 0) << "let go with the last open";
    }
    EXPECT_EQ(otherCopy(false, true), 0) << "the other letters lead to the book";
    // A repaired book is held from the repair while its report is read, up to its open here.
    QFile::setPermissions(temp.path(), QFile::ReadOwner | QFile::WriteOwner);
    damageDatabase(temp.path());
    {
        const Database::RepairReport report = Database::repair(temp.path());
        EXPECT_EQ(otherCopy(false), err::FileInUse);
        EXPECT_NO_THROW(Database::open(temp.path(), true));
    }
    EXPECT_EQ(otherCopy(false), 0);
}
