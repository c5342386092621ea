// Start-up to the first painted main window on 100,000 and 1,000,000 contacts, against
// plain SQLite and Qt showing what that window first shows: open the file, count the list
// (the grid's scroll bar), read one screen of rows in the list's order, build a main
// window with menus of the same shape and a table of the grid's size and columns holding
// those rows, show and paint it. Each iteration times both sides in turn; "ratio" is the
// median start-up/reference.
#include "MainWindowBench.h"
#include "../tests/support/MainWindowControls.h"
#include "helpers/RecordSource.h"
#include "mainwindow/NameList.h"
#include "platform/db/Database.h"
#include "platform/db/Recordset.h"
#include "platform/db/TextCollation.h"
#include "platform/grid/DataGridModel.h"
#include "platform/ui/DialogSeam.h"
#include "platform/ui/ProgramFolder.h"
#include "reference/BareMenus.h"
#include "start/modMain.h"

#include <sqlcipher/sqlite3.h>

#include <QAbstractTableModel>
#include <QHeaderView>
#include <QMainWindow>
#include <QTableView>
#include <QTemporaryDir>

namespace {

using bench::Clock;
using bench::seconds;

const bench::KeptDatabase Contacts100k("contacts", 100000);
const bench::KeptDatabase Contacts1M("contacts", 1000000);

// What the program's first window shows of the list, read from one untimed start.
struct FirstWindow {
    QSize windowSize;
    QRect gridGeometry;
    QFont gridFont;
    int rowHeight = 0;
    int screenRows = 0;
    QStringList fields;   // the field each column shows
    QStringList captions; // the columns' captions
    QList<int> widths;    // the columns' widths in pixels
};

// A list of `rows` rows of which the first screen is read: a plain model over a count and
// one screen of texts.
class ScreenModel : public QAbstractTableModel {
  public:
    ScreenModel(qint64 rows, const QStringList &captions, std::vector<QStringList> screen)
        : mRows(int(rows)), mCaptions(captions), mScreen(std::move(screen))
    {
    }
    int rowCount(const QModelIndex &parent = {}) const override { return parent.isValid() ? 0 : mRows; }
    int columnCount(const QModelIndex &parent = {}) const override
    {
        return parent.isValid() ? 0 : int(mCaptions.size());
    }
    QVariant data(const QModelIndex &index, int role) const override
    {
        if (role != Qt::DisplayRole || std::size_t(index.row()) >= mScreen.size())
            return {};
        return mScreen[std::size_t(index.row())].value(index.column());
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (role != Qt::DisplayRole || orientation != Qt::Horizontal)
            return {};
        return mCaptions.value(section);
    }

  private:
    int mRows;
    QStringList mCaptions;
    std::vector<QStringList> mScreen;
};

double referenceStart(const QString &path, const FirstWindow &shape)
{
    const auto start = Clock::now();
    sqlite3 *db = nullptr;
    sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    // The text columns and their indexes are declared in the program's own order.
    platform::registerTextCollation(db);
    sqlite3_stmt *count = nullptr;
    sqlite3_prepare_v2(db, "SELECT count(*) FROM tblContacts", -1, &count, nullptr);
    const qint64 rows = sqlite3_step(count) == SQLITE_ROW ? sqlite3_column_int64(count, 0) : 0;
    sqlite3_finalize(count);
    QStringList quoted;
    for (const QString &field : shape.fields)
        quoted << (field.isEmpty() ? QStringLiteral("NULL") : u'"' + field + u'"');
    const QByteArray text = QStringLiteral("SELECT %1 FROM tblContacts ORDER BY LastName, FirstName LIMIT %2")
                                .arg(quoted.join(u','))
                                .arg(shape.screenRows)
                                .toUtf8();
    sqlite3_stmt *screen = nullptr;
    sqlite3_prepare_v2(db, text.constData(), -1, &screen, nullptr);
    std::vector<QStringList> cells;
    while (sqlite3_step(screen) == SQLITE_ROW) {
        QStringList row;
        for (int c = 0; c < sqlite3_column_count(screen); ++c) {
            const auto *value = reinterpret_cast<const char *>(sqlite3_column_text(screen, c));
            row << (value ? QString::fromUtf8(value, sqlite3_column_bytes(screen, c)) : QString());
        }
        cells.push_back(row);
    }
    sqlite3_finalize(screen);

    QMainWindow window;
    window.setObjectName(QStringLiteral("ReferenceMainWindow"));
    bench::addBareMenus(window.menuBar());
    ScreenModel model(rows, shape.captions, std::move(cells));
    auto *client = new QWidget;
    window.setCentralWidget(client);
    auto *grid = new QTableView(client);
    grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid->verticalHeader()->setDefaultSectionSize(shape.rowHeight);
    grid->verticalHeader()->hide();
    grid->setModel(&model);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setFont(shape.gridFont);
    grid->setGeometry(shape.gridGeometry);
    for (int c = 0; c < shape.widths.size(); ++c)
        grid->setColumnWidth(c, shape.widths[c]);
    grid->selectRow(0);
    window.resize(shape.windowSize);
    window.show();
    QImage painted = window.grab().toImage();
    const double elapsed = seconds(start);
    benchmark::DoNotOptimize(painted.constBits());
    window.close();
    sqlite3_close(db);
    return elapsed;
}

// The program's start: the start routine shows the main window, which is then painted.
double startToFirstPaint(const QString &path)
{
    QTemporaryDir folder;
    bench::prepareStart(path, folder.path());

    const auto start = Clock::now();
    if (Main() != MainOutcome::MainWindowShown)
        std::abort();
    NameList *window = NameList::loadedInstance();
    QImage painted = window->grab().toImage();
    const double elapsed = seconds(start);
    benchmark::DoNotOptimize(painted.constBits());

    bench::stopProgram(*window);
    return elapsed;
}

// Starts the program once, untimed, to see what its first window shows.
FirstWindow firstWindowOf(const QString &path)
{
    QTemporaryDir folder;
    bench::prepareStart(path, folder.path());
    if (Main() != MainOutcome::MainWindowShown)
        std::abort();
    NameList *window = NameList::loadedInstance();
    QTableView *grid = Table1(*window);
    const auto *model = qobject_cast<const platform::DataGridModel *>(grid->model());
    if (!model)
        std::abort();
    FirstWindow shape;
    shape.windowSize = window->size();
    // Where the grid stands in the window's client area, below the menus.
    shape.gridGeometry = grid->geometry();
    shape.gridFont = grid->font();
    shape.rowHeight = grid->rowHeight(0);
    shape.screenRows = grid->viewport()->height() / qMax(1, shape.rowHeight) + 1;
    for (int c = 0; c < model->columnCount(); ++c) {
        shape.fields << model->columns()[c].dataField;
        shape.captions << model->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
        shape.widths << grid->columnWidth(c);
    }
    bench::stopProgram(*window);
    return shape;
}

void StartToFirstPaintedMainWindow(benchmark::State &state)
{
    const QString path = (state.range(0) == 100000 ? Contacts100k : Contacts1M).ready();
    const FirstWindow shape = firstWindowOf(path);
    bench::PairedTimes times;
    for (auto _ : state) {
        state.SetIterationTime(
            times.time([&] { return startToFirstPaint(path); }, [&] { return referenceStart(path, shape); }));
    }
    times.report(state);
}

// The same contacts with the due reminders asked for at start-up: a thousand reminders,
// about half of them due, so the first activation rebuilds the due list and shows its
// window, which is closed as soon as it is on screen.
const bench::KeptDatabase DueReminders100k("start-due", 100000, 42, [](platform::Database &db) {
    sqlite3_exec(db.handle(), "BEGIN", nullptr, nullptr, nullptr);
    db.execute("INSERT INTO tblSettings (Type, Name) VALUES ('REMINDERSTARTUP', '1')");
    for (int i = 0; i < 1000; ++i) {
        const QDate date = QDate::currentDate().addDays(i % 60 - 30);
        db.execute(QStringLiteral("INSERT INTO tblRemind (LinkedRecordID, Description, RemindDate, WarningDays, "
                                  "WarnDate, Status, FrequencyPeriod, FrequencyAmount) VALUES (%1, 'Reminder %1', "
                                  "#%2#, 0, #%2#, 'Active', 'Years', 1)")
                       .arg(i + 1)
                       .arg(date.toString(QStringLiteral("M/d/yyyy"))));
    }
    sqlite3_exec(db.handle(), "COMMIT", nullptr, nullptr, nullptr);
});

void StartToFirstPaintedMainWindowWithDueReminders(benchmark::State &state)
{
    const QString path = DueReminders100k.ready();
    const FirstWindow shape = firstWindowOf(Contacts100k.ready());
    int dueWindows = 0;
    platform::setDialogHookForTesting([&dueWindows](const platform::DialogRequest &request) {
        if (request.kind != platform::DialogKind::ModalForm || request.objectName != u"CurrentReminders")
            std::abort();
        ++dueWindows;
        return platform::DialogAnswer{};
    });
    bench::PairedTimes times;
    for (auto _ : state)
        state.SetIterationTime(
            times.time([&] { return startToFirstPaint(path); }, [&] { return referenceStart(path, shape); }));
    platform::setDialogHookForTesting({});
    if (dueWindows != state.iterations())
        std::abort();
    times.report(state);
}

} // namespace

BENCHMARK(StartToFirstPaintedMainWindowWithDueReminders)
    ->Arg(100000)
    ->UseManualTime()
    ->Iterations(5)
    ->Unit(benchmark::kMillisecond);

BENCHMARK(StartToFirstPaintedMainWindow)
    ->Arg(100000)
    ->Arg(1000000)
    ->UseManualTime()
    ->Iterations(6)
    ->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    return bench::main(argc, argv);
}
