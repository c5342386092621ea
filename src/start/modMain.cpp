#include "start/modMain.h"

#include "dialing/DialingForm.h"
#include "editor/GLOBAL.h"
#include "helpers/DatabaseOpenDialog.h"
#include "helpers/GLOBAL.h"
#include "helpers/RecordSource.h"
#include "helpers/ValueHelpers.h"
#include "helpers/mCommonDialog.h"
#include "mainwindow/CommandUnderWay.h"
#include "mainwindow/NameList.h"
#include "platform/RuntimeError.h"
#include "platform/db/DamageMark.h"
#include "platform/db/Database.h"
#include "platform/db/NewDatabase.h"
#include "platform/db/Recordset.h"
#include "platform/db/SqliteError.h"
#include "platform/ui/ApplicationTitle.h"
#include "platform/ui/MousePointer.h"
#include "platform/ui/MsgBox.h"
#include "platform/ui/ProgramFolder.h"
#include "platform/ui/ProgressWindow.h"
#include "platform/ui/SingleInstance.h"
#include "platform/ui/Tablet.h"
#include "start/ChangePassword.h"

#include <QApplication>
#include <QFileInfo>
#include <QSet>
#include <QThread>
#include <QTimer>

#include <atomic>
#include <cstdlib>
#include <future>

#include <optional>
#include <utility>

using platform::RuntimeError;

namespace {

QString &commandLineOverride()
{
    static QString text;
    return text;
}

QString &singleInstanceKey()
{
    static QString key;
    return key;
}

// Held for the rest of the run once this copy is the one that runs.
std::unique_ptr<platform::SingleInstance> &runningCopy()
{
    static std::unique_ptr<platform::SingleInstance> guard;
    return guard;
}

const QString NoticeLine = QStringLiteral("Quiltern 3 - keeps your contacts, lists, labels and reminders.");
const QString PasswordPromptText =
    QStringLiteral("Type your password.  You have two chances to get it right.");
const QString PasswordPromptTitle = QStringLiteral("Password?");

// "1 contact", "3 categories".
QString rowsOf(qint64 count, const QString &one, const QString &many)
{
    return QString::number(count) + QLatin1Char(' ') + (count == 1 ? one : many);
}

// What a repair kept, told once it is over: the contacts, categories and reminders the
// repaired file holds, what the damaged file held of each kind of row it lost (its own
// tables' rows included), the tables left out, a list of tables lost, and where the
// damaged original is.
void reportRepair(const platform::Database::RepairReport &report, const QStringList &settingsReset)
{
    struct Kind {
        const char *table, *one, *many;
        bool told; // among what the repaired file is said to hold
    };
    static const Kind kinds[] = {{"tblContacts", "contact", "contacts", true},
                                 {"tblCategoryDesc", "category", "categories", true},
                                 {"tblCategoryID", "category assignment", "category assignments", false},
                                 {"tblRemind", "reminder", "reminders", true},
                                 {"tblSettings", "setting", "settings", false},
                                 // The due reminders, worked out afresh from the reminders.
                                 {"tblCurrentReminders", nullptr, nullptr, false}};
    // A table short of rows is named with the rows it held at least where they could be
    // counted, and among those that may have lost some where not even that is known.
    QStringList holds, held, mayBeShort;
    for (const Kind &kind : kinds) {
        const auto table = report.table(QLatin1String(kind.table));
        if (kind.told)
            holds.append(rowsOf(table.kept, QLatin1String(kind.one), QLatin1String(kind.many)));
        if (kind.one && table.held > table.kept)
            held.append(rowsOf(table.held, QLatin1String(kind.one), QLatin1String(kind.many)));
        else if (kind.one && !table.whole)
            mayBeShort.append(QLatin1String(kind.many));
    }
    for (const auto &table : report.tables) {
        const bool known = std::any_of(std::begin(kinds), std::end(kinds), [&](const Kind &kind) {
            return table.name.compare(QLatin1String(kind.table), Qt::CaseInsensitive) == 0;
        });
        if (!known && table.held > table.kept)
            held.append(rowsOf(table.held, QStringLiteral("row"), QStringLiteral("rows")) +
                        QStringLiteral(" of your table ") + table.name);
        else if (!known && !table.whole)
            mayBeShort.append(QStringLiteral("rows of your table ") + table.name);
    }
    const QString kept = QStringLiteral("  It holds ") + listed(holds) + QLatin1Char('.');
    const QString original =
        QStringLiteral("  The damaged original is kept as ") + report.backup + QLatin1Char('.');
    const QString cut =
        !report.cutShort          ? QString()
        : report.claimedPages > 0 ? QStringLiteral("  The file was cut short: it ends after %1 of its %2 pages.")
                                        .arg(report.pages)
                                        .arg(report.claimedPages)
                                  : QStringLiteral("  The file was cut short.");
    const QString before = held.isEmpty() ? QString()
                                          : QStringLiteral("  The damaged file held at least ") +
                                                listed(held) + QLatin1Char('.');
    const QString mayBeLost = mayBeShort.isEmpty()
                                  ? QString()
                                  : QStringLiteral("  Some ") + listed(mayBeShort) + QStringLiteral(" may be lost.");
    const QString leftOut = report.leftOut.isEmpty() ? QString()
                            : report.leftOut.size() == 1
                                ? QStringLiteral("  Your table ") + report.leftOut.first() +
                                      QStringLiteral(" could not be read and is left out.")
                                : QStringLiteral("  Your tables ") + listed(report.leftOut) +
                                      QStringLiteral(" could not be read and are left out.");
    const QString listLost =
        report.listLost
            ? QStringLiteral(
                  "  The file's list of tables could not be read, so what else it held is not known.")
            : QString();
    const QString reset = settingsReset.isEmpty() ? QString()
                          : settingsReset.size() == 1
                              ? QStringLiteral("  The setting ") + settingsReset.first() +
                                    QStringLiteral(" is reset to its first value.")
                              : QStringLiteral("  The settings ") + listed(settingsReset) +
                                    QStringLiteral(" are reset to their first values.");
    // The due reminders alone are never named: they are worked out afresh when shown.
    const QString lost = cut + before + mayBeLost + leftOut + listLost + reset;
    if (lost.isEmpty()) {
        platform::MsgBox(QStringLiteral("The database has been repaired.") + kept + original,
                         platform::vbOKOnly + platform::vbInformation, QStringLiteral("Database Repaired"));
        return;
    }
    platform::MsgBox(QStringLiteral("The database has been repaired, but some of its data could not be "
                                    "recovered.") +
                         kept + lost + original,
                     platform::vbOKOnly + platform::vbExclamation, QStringLiteral("Database Repaired"));
}

// A repair of a large file takes a while: a window shows its steps and how far it has come
// from its first moments. It offers no Cancel: the work is on copies, and the file is
// replaced only at its end.
platform::Database::RepairReport repairShowingProgress(const QString &path, const QString &password)
{
    using Step = platform::Database::RepairStep;
    struct Shown {
        Step step;
        const char *text;
        int from, to; // of the bar's hundred
    };
    static const Shown shown[] = {{Step::Reading, "Step 1 of 4: Reading the damaged file", 0, 10},
                                  {Step::Copying, "Step 2 of 4: Copying its rows", 10, 60},
                                  {Step::Searching, "Step 3 of 4: Looking for rows on its other pages", 60, 85},
                                  {Step::Checking, "Step 4 of 4: Checking the repaired file", 85, 100}};
    platform::ProgressWindow window(QStringLiteral("Repairing Database"), 100,
                                    platform::ProgressWindow::Cancel::NotOffered);
    int bar = 0;
    return platform::Database::repair(path, password, [&](Step step, qint64 done, qint64 total) {
        const Shown &at = *std::find_if(std::begin(shown), std::end(shown),
                                        [&](const Shown &one) { return one.step == step; });
        const qint64 within = total > 0 ? (at.to - at.from) * done / total : 0;
        // A step may look again at what an earlier one read: the bar never goes back.
        bar = std::max(bar, at.from + int(within));
        window.report(bar, QLatin1String(at.text));
    });
}

// The repaired file, kept from every other copy of the program until it opens here again.
std::shared_ptr<platform::FileUseLock> &heldSinceRepair()
{
    static std::shared_ptr<platform::FileUseLock> held;
    return held;
}

// The repair with its window and its report. A file that lost settings rows every window
// reads gets them back as a new database has them.
void repairAndReport(const QString &path, const QString &password)
{
    const platform::Database::RepairReport report = repairShowingProgress(path, password);
    heldSinceRepair() = report.hold;
    QStringList reset;
    try {
        reset = platform::putBackShippedSettings(path, password);
    } catch (const RuntimeError &) {
        // The repaired file stands; a window that misses a row says which.
    }
    reportRepair(report, reset);
}

// The password the open database was opened with, which a repair while it is open reads
// it with.
QString &openedWith()
{
    static QString password;
    return password;
}

// The files this run has told cannot be repaired where they are, by the file each path
// leads to: each is told once.
QSet<QString> &toldCannotRepairHere()
{
    static QSet<QString> told;
    return told;
}

QString fileLedToBy(const QString &path)
{
    const QString real = QFileInfo(path).canonicalFilePath();
    return real.isEmpty() ? path : real;
}

// A damaged file that cannot be written where it is cannot be repaired there; the user is
// told how to have it repaired, and what becomes of it meanwhile (`meanwhile`).
void tellCannotRepairHere(const QString &path, const QString &meanwhile)
{
    toldCannotRepairHere().insert(fileLedToBy(path));
    platform::MsgBox(QStringLiteral("Database may be corrupted.  Quiltern cannot repair it where it is: the file "
                                    "or its folder cannot be written.  ") +
                         platform::repairACopyText(QFileInfo(path).absoluteFilePath()) + meanwhile,
                     platform::vbOKOnly + platform::vbExclamation, QStringLiteral("Corrupt Database"));
}

bool toldCannotRepair(const QString &path)
{
    return toldCannotRepairHere().contains(fileLedToBy(path));
}

// The general error report: a damaged file may be repaired once per call; any other
// error is shown. True when the failed step is to run again; false when the open has
// failed for good (the caller ends the program, or keeps what it has).
bool reportStartError(const RuntimeError &error, bool &repairTried, const QString &path, const QString &password)
{
    // Not even as it is does it open: nothing is left to offer.
    if (error.number() == platform::err::DamagedDatabase && platform::Database::cannotBeWritten(path)) {
        tellCannotRepairHere(path, QStringLiteral("  As it is, it cannot be opened."));
        return false;
    }
    if (error.number() == platform::err::DamagedDatabase && !repairTried) {
        const int answer = platform::MsgBox(
            QStringLiteral(
                "Database may be corrupted.  Press the OK button if you want Quiltern to attempt to "
                "repair it."),
            platform::vbOKCancel + platform::vbExclamation, QStringLiteral("Corrupt Database"));
        if (answer != platform::vbOK)
            return false;
        repairTried = true;
        try {
            repairAndReport(path, password);
        } catch (const RuntimeError &failed) {
            // A repair that failed left the file as it was: opening it again would only
            // report the damage once more. Its own cause is told instead.
            return reportStartError(failed, repairTried, path, password);
        }
        return true;
    }
    platform::MsgBox(error.description() + QStringLiteral("    Error number: ") +
                         QString::number(error.number()),
                     platform::vbOKOnly + platform::vbCritical, QStringLiteral("Error"));
    return false;
}

// A damaged file that cannot be repaired where it is opens read-only as it is, once the
// user has been told.
std::unique_ptr<platform::Database> openOrAsItIs(const QString &path, bool exclusive, const QString &connect)
{
    try {
        return platform::Database::open(path, exclusive, false, connect);
    } catch (const RuntimeError &error) {
        if (error.number() != platform::err::DamagedDatabase || !platform::Database::cannotBeWritten(path))
            throw;
    }
    std::unique_ptr<platform::Database> db = platform::Database::openAsItIs(path, exclusive, connect);
    if (!toldCannotRepair(path))
        tellCannotRepairHere(path, QStringLiteral("  Until then it opens read-only, as it is."));
    return db;
}

// The shared open, and the two password tries that reopen exclusively. Returns the error
// that stopped the open, if any; "ended" when the user gave no password.
std::optional<RuntimeError> openDatabase(const QString &path, std::unique_ptr<platform::Database> &db,
                                         QString &password, bool &ended)
{
    const auto repaired = std::exchange(heldSinceRepair(), nullptr);
    try {
        db = openOrAsItIs(path, false, QString());
        openedWith().clear();
        return std::nullopt;
    } catch (const RuntimeError &error) {
        if (error.number() != platform::err::NotValidPassword)
            return error;
    }
    // The password given before a repair of the file opens the repaired file.
    if (!password.isEmpty()) {
        try {
            db = openOrAsItIs(path, true, QStringLiteral(";pwd=") + password);
            openedWith() = password;
            return std::nullopt;
        } catch (const RuntimeError &error) {
            if (error.number() != platform::err::NotValidPassword)
                return error;
        }
    }
    for (int attempt = 1; attempt <= 2; ++attempt) {
        // Typed into a masked box: a password on screen is a password told.
        password = InputDialog(PasswordPromptText, PasswordPromptTitle, QString(), true);
        if (password.isEmpty()) {
            ended = true;
            return std::nullopt;
        }
        try {
            db = openOrAsItIs(path, true, QStringLiteral(";pwd=") + password);
            openedWith() = password;
            return std::nullopt;
        } catch (const RuntimeError &error) {
            if (error.number() != platform::err::NotValidPassword || attempt == 2)
                return error;
        }
    }
    return std::nullopt;
}

// An SQLite file of another program opens as a database; it is told apart by the
// tables every window of this one reads.
std::optional<RuntimeError> checkOwnTables(platform::Database &db)
{
    try {
        if (db.isTable(QStringLiteral("tblContacts")) && db.isTable(QStringLiteral("tblSettings")))
            return std::nullopt;
        platform::raiseForeignFile(db.name());
    } catch (const RuntimeError &error) {
        return error;
    }
}

// The size the editor allows in the user field, as the contacts table declares it.
std::optional<qint16> userField1SizeOf(platform::Database &db)
{
    try {
        return qint16(db.tableDef(QStringLiteral("tblContacts")).field(QStringLiteral("UserField1")).size);
    } catch (const RuntimeError &) {
        // A database without the field still opens; the size keeps its value.
        return std::nullopt;
    }
}

std::unique_ptr<platform::Recordset> openContactsTable(platform::Database &db)
{
    std::unique_ptr<platform::Recordset> table =
        db.openRecordset(QStringLiteral("tblContacts"), platform::RecordsetType::Table);
    table->setIndex(QStringLiteral("LastName"));
    return table;
}

// What the start reads of the database before the main window can load. It is read on a
// second thread while this one builds the window, which needs none of it.
struct OpenedAhead {
    std::unique_ptr<platform::Database> db;
    std::optional<qint16> userField1Size;
    std::unique_ptr<platform::Recordset> contacts; // reads db: goes before it
    std::optional<StartupSettings> settings;
};

// A file that needs anything of the user (a password, a repair) or fails in any way gives
// nothing here: the usual path opens it again and asks or tells.
OpenedAhead openAhead(const QString &path, QThread *windowThread)
{
    OpenedAhead ahead;
    try {
        // Locals, so that a failure part way lets the table go before the file it reads.
        std::unique_ptr<platform::Database> db = platform::Database::open(path);
        if (checkOwnTables(*db))
            return {};
        const std::optional<qint16> userField1Size = userField1SizeOf(*db);
        std::unique_ptr<platform::Recordset> contacts = openContactsTable(*db);
        StartupSettings settings;
        settings.readAhead(*db, NameList::startupSettingTypes());
        // The first list read and counted compiles and looks up what every list of
        // contacts reads with; a list of a row or two does it here for the window's list.
        db->openRecordset(QStringLiteral("Select * from tblContacts Where RecordID < 3 Order By RecordID"))
            ->recordCount();
        // The first list shown is most often every contact, whose count is the longest
        // step of its first reading.
        db->countAhead(QStringLiteral("SELECT count(*) FROM \"tblContacts\""));
        // Handed over only once nothing here can fail: the table is the window thread's.
        contacts->moveToThread(windowThread);
        ahead.userField1Size = userField1Size;
        ahead.settings = std::move(settings);
        ahead.contacts = std::move(contacts);
        ahead.db = std::move(db);
    } catch (...) {
        return {};
    }
    return ahead;
}

// A library may end the program with exit() while the book is open: the display's own
// does when the display goes away. The book then closes as the program's end closes it,
// ahead of the destruction of every static made before the main window was first shown,
// while the windows that list its rows still stand.
void closeDatabaseAtExit()
{
    static const bool registered = std::atexit(closeDatabase) == 0;
    Q_UNUSED(registered);
}

// The second half of the start, which a restart from the main window runs alone: opens
// gDbPath (asking for its password, offering a repair), checks that it is a database of
// this program, reads the size of the user field, opens the contacts table in last-name
// order and shows the main window; after a failure it reports and tries again or ends.
// `opened` is a database the caller has already opened from gDbPath and checked.
// The window is built while the database opens on a second thread (openAhead).
MainOutcome openAndShow(std::unique_ptr<platform::Database> opened = {})
{
    bool repairTried = false;
    std::future<OpenedAhead> ahead;
    if (!opened) {
        ahead = std::async(std::launch::async, openAhead, gDbPath, QThread::currentThread());
        NameList::build();
    }
    QString password;
    for (;;) {
        closeDatabase();
        bool ended = false;
        std::optional<RuntimeError> failure;
        OpenedAhead early = ahead.valid() ? ahead.get() : OpenedAhead{};
        if (early.db) {
            openedWith().clear(); // the early open is of a file without a password
            gDb = std::move(early.db);
            gContactsTable = std::move(early.contacts);
        } else {
            if (opened)
                gDb = std::move(opened);
            else
                failure = openDatabase(gDbPath, gDb, password, ended);
            if (ended)
                return MainOutcome::Ended;
            if (!failure)
                failure = checkOwnTables(*gDb);
            if (!failure)
                early.userField1Size = userField1SizeOf(*gDb);
        }
        if (!failure) {
            if (early.userField1Size)
                gEditor.gUserField1Size = *early.userField1Size;
            try {
                if (!gContactsTable)
                    gContactsTable = openContactsTable(*gDb);
                if (early.settings)
                    NameList::instance().useStartupSettings(std::move(*early.settings));
                NameList::instance().showModeless();
                closeDatabaseAtExit();
                return MainOutcome::MainWindowShown;
            } catch (const RuntimeError &error) {
                failure = error;
            }
        }
        closeDatabase();
        if (!reportStartError(*failure, repairTried, gDbPath, password))
            return MainOutcome::Ended;
    }
}

} // namespace

QString databaseFileSearch(const QString &path)
{
    if (path.trimmed().isEmpty())
        return QString();
    const QFileInfo info(path);
    if (!info.exists() || !info.isFile() || info.isHidden())
        return QString();
    return info.fileName();
}

QString startupCommandLine()
{
    if (!commandLineOverride().isNull())
        return commandLineOverride().trimmed();
    const QStringList arguments = QCoreApplication::arguments();
    return arguments.mid(1).join(QLatin1Char(' ')).trimmed();
}

void setCommandLineForTesting(const QString &commandLine)
{
    commandLineOverride() = commandLine;
}

void setSingleInstanceKeyForTesting(const QString &key)
{
    singleInstanceKey() = key;
}

void releaseSingleInstanceForTesting()
{
    runningCopy().reset();
}

namespace {

// Re-entry from a command of the main window, which has already unloaded the main
// window and closed gDb.
void runMainAgain(std::unique_ptr<platform::Database> opened)
{
    setRestartingThroughMain(true);
    MainOutcome outcome;
    if (opened) {
        DialingForm::installEditorHook();
        resetRecordSourceParts();
        outcome = openAndShow(std::move(opened));
    } else {
        outcome = Main();
    }
    setRestartingThroughMain(false);
    if (outcome == MainOutcome::Ended)
        endProgram();
}

// Damage a command meets while the program runs: the files whose repair the user declined
// in this run (the next start offers it again), and whether an offer is on its way.
struct DamageMet {
    bool offerQueued = false;
    // Counts the repairs made: damage told before a repair was met in the file it replaced.
    std::atomic<int> repairs = 0;
    QSet<QString> met;
    QSet<QString> declined;
};

DamageMet &damageMet()
{
    static DamageMet met;
    return met;
}

// The repair offered at start, offered for the open file: declined, the program goes on
// with the file as it is; accepted, the main window closes, the file is repaired and the
// repaired file shown. A repair that fails is reported as at start, and the program ends.
void offerRepairOfOpenFile()
{
    if (!gDb || !gDb->isOpen() || !NameList::loadedInstance())
        return;
    const QString file = gDb->name();
    // A file whose mark could not be written (a file of its name is the user's) is offered
    // all the same.
    if ((!damageMet().met.contains(file) && !platform::DamageMark::known(file)) ||
        damageMet().declined.contains(file))
        return;
    if (platform::Database::cannotBeWritten(file)) {
        if (!toldCannotRepair(file))
            tellCannotRepairHere(file, QStringLiteral("  Until then it stays open read-only, as it is."));
        return;
    }
    const int answer = platform::MsgBox(
        QStringLiteral("Database may be corrupted.  Press the OK button if you want Quiltern to attempt to "
                       "repair it."),
        platform::vbOKCancel + platform::vbExclamation, QStringLiteral("Corrupt Database"));
    if (answer != platform::vbOK) {
        damageMet().declined.insert(file);
        return;
    }
    damageMet().met.remove(file);
    ++damageMet().repairs;
    const QString password = openedWith();
    setRestartingThroughMain(true);
    NameList::loadedInstance()->unload();
    closeDatabase();
    try {
        repairAndReport(gDbPath, password);
    } catch (const RuntimeError &failed) {
        setRestartingThroughMain(false);
        platform::MsgBox(failed.description() + QStringLiteral("    Error number: ") +
                             QString::number(failed.number()),
                         platform::vbOKOnly + platform::vbCritical, QStringLiteral("Error"));
        endProgram();
        return;
    }
    // Opened again with the password it was open with; what will not open so is the start
    // routine's to ask for or report.
    std::unique_ptr<platform::Database> repaired;
    const auto held = std::exchange(heldSinceRepair(), nullptr);
    try {
        repaired = password.isEmpty()
                       ? platform::Database::open(gDbPath)
                       : platform::Database::open(gDbPath, true, false, QStringLiteral(";pwd=") + password);
        if (checkOwnTables(*repaired))
            repaired.reset();
    } catch (const RuntimeError &) {
        repaired.reset();
    }
    runMainAgain(std::move(repaired));
}

// Waits for the command that met the damage to end: its own message or window closed, its
// work done. The file is then closed under nothing that still reads it.
void offerRepairWhenIdle()
{
    if (commandUnderWay()) {
        whenNoCommandUnderWay(offerRepairWhenIdle);
        return;
    }
    if (QApplication::activeModalWidget() || platform::mousePointer() == platform::MousePointer::Hourglass ||
        restartingThroughMain()) {
        QTimer::singleShot(100, qApp, offerRepairWhenIdle);
        return;
    }
    damageMet().offerQueued = false;
    offerRepairOfOpenFile();
}

// Told on the thread that met the damage; the offer is made on the window thread.
void damageMetWhileRunning(const QString &path)
{
    const int repairs = damageMet().repairs;
    QMetaObject::invokeMethod(
        qApp,
        [path, repairs] {
            if (repairs != damageMet().repairs)
                return;
            damageMet().met.insert(path);
            if (std::exchange(damageMet().offerQueued, true))
                return;
            offerRepairWhenIdle();
        },
        Qt::QueuedConnection);
}

// Opens the file as the start routine would, without touching gDb; on failure the
// message has been shown and nullptr comes back.
std::unique_ptr<platform::Database> checkDatabaseFile(const QString &path)
{
    bool repairTried = false;
    QString password;
    // The file open now stays open when this one does not.
    const QString openWith = openedWith();
    for (;;) {
        std::unique_ptr<platform::Database> db;
        bool ended = false;
        std::optional<RuntimeError> failure = openDatabase(path, db, password, ended);
        if (!ended && !failure)
            failure = checkOwnTables(*db);
        if (!ended && !failure)
            return db;
        db.reset();
        if (ended || !reportStartError(*failure, repairTried, path, password)) {
            openedWith() = openWith;
            return nullptr;
        }
    }
}

} // namespace

MainOutcome Main()
{
    StartRoutine::restart = runMainAgain;
    platform::DamageMark::observer() = damageMetWhileRunning;
    StartRoutine::checkDatabaseFile = checkDatabaseFile;
    StartRoutine::changePassword = [] {
        if (NameList *window = NameList::loadedInstance())
            ChangePassword(*window);
    };
    DialingForm::installEditorHook();
    if (gDbPath > QStringLiteral(" ")) {
        // Whatever view the previous main window left in force, the new one starts
        // from all contacts, as after Open Database.
        resetRecordSourceParts();
        return openAndShow();
    }

    gTabletMode = platform::isTabletWithoutMouse();
    try {
        gNoticeLine = NoticeLine;
        gRecordSource.gListSource = ContactsTable;
        gAppName = QStringLiteral("Quiltern");
        const QString folder = platform::programFolder();
        // The first default joins without a separator, as the classic path test did:
        // only a folder that already ends in a separator names a file inside it.
        gDbPath = folder + gAppName + QStringLiteral(".mdb");

        const QString commandLine = startupCommandLine();
        if (!commandLine.isEmpty()) {
            if (databaseFileSearch(commandLine).isEmpty()) {
                platform::MsgBox(
                    QStringLiteral("The database file name you supplied on the command line cannot be "
                                   "found.  You specified file name ") +
                        commandLine,
                    platform::vbOKOnly + platform::vbCritical, QStringLiteral("Data file name invalid"));
                return MainOutcome::Ended;
            }
            gDbPath = commandLine;
        }

        if (!(databaseFileSearch(gDbPath) > QStringLiteral(" ")))
            gDbPath = folder + QStringLiteral("/") + gAppName + QStringLiteral(".mdb");

        const QString key =
            singleInstanceKey().isEmpty() ? platform::SingleInstance::defaultKey() : singleInstanceKey();
        auto guard = std::make_unique<platform::SingleInstance>(key);
        if (!guard->tryToRun()) {
            const QString title = platform::applicationTitle();
            platform::setApplicationTitle(title + QStringLiteral(" #2"));
            platform::MsgBox(gAppName +
                             QStringLiteral(" is already running!  For data integrity, you can't start a "
                                            "second copy of the program."));
            platform::setApplicationTitle(title);
            if (!guard->bringRunningCopyForward())
                throw RuntimeError(5, QStringLiteral("The running copy of ") + title +
                                          QStringLiteral(" could not be brought forward."));
            return MainOutcome::Ended;
        }
        runningCopy() = std::move(guard);
        QObject::connect(runningCopy().get(), &platform::SingleInstance::comeForwardRequested, [] {
            if (NameList *window = NameList::loadedInstance()) {
                window->showNormal();
                window->raise();
                window->activateWindow();
            }
        });

        if (databaseFileSearch(gDbPath).isEmpty()) {
            QString chosen;
            if (ShowDatabaseOpenDialog(chosen))
                gDbPath = chosen;
        }
    } catch (const RuntimeError &error) {
        bool repairTried = true; // nothing is open yet: no repair to offer
        reportStartError(error, repairTried, gDbPath, QString());
        return MainOutcome::Ended;
    }
    return openAndShow();
}
