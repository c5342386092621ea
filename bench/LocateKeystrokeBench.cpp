// One keystroke in the main window's locate box, against plain SQLite and Qt doing the
// same visible work. The window is the real one, offscreen: the last letter is typed as a
// keyboard sends it, pressed and then released; its release (the part timed) makes the
// locate box search, move the list, and the grid and the two detail boxes show the new
// contact once events have run. The reference finds the first row through the
// last-name index, reads one screen of rows from there into a plain table view of the
// grid's size, with the grid's fields in the grid's columns, builds the two detail texts
// the same way and sets them into two boxes of the same size, placed under the table as
// the window places them, then lets events run (both sides paint what changed); its
// statements are compiled once, as the program keeps its own. Both sides run in turn in
// every repetition; "ratio" is the median keystroke/reference.
#include "MainWindowBench.h"
#include "../tests/support/MainWindowControls.h"
#include "mainwindow/DetailBoxes.h"
#include "platform/db/DataControl.h"
#include "platform/db/TextCollation.h"
#include "platform/grid/DataGridModel.h"

#include <QHash>
#include <QHeaderView>
#include <QStandardItemModel>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTableView>
#include <QTemporaryDir>

namespace {

const bench::KeptDatabase Contacts100k("contacts", 100000);
const bench::KeptDatabase Contacts1M("contacts", 1000000);

// Texts typed in turn, so that every keystroke moves the list somewhere else.
const char *const Typed[] = {"Smi", "Mor", "O'B", "Zha", "Bro", "Kow", "Åbe", "Nguy", "Tay", "Dup"};

class Reference {
  public:
    Reference(const QString &path, int screenRows, const QTableView &grid, const QWidget &nameBox,
              const QWidget &phoneBox)
        : mScreenRows(screenRows), mModel(screenRows, grid.model()->columnCount())
    {
        sqlite3_open_v2(QFile::encodeName(path).constData(), &mDb, SQLITE_OPEN_READONLY, nullptr);
        // The text columns and their indexes are declared in the program's own order.
        platform::registerTextCollation(mDb);
        sqlite3_prepare_v2(mDb,
                           "SELECT RecordID FROM tblContacts WHERE LastName >= ?1 AND LastName LIKE ?1 || '%' "
                           "ORDER BY LastName, FirstName LIMIT 1",
                           -1, &mFind, nullptr);
        sqlite3_prepare_v2(mDb,
                           "SELECT * FROM tblContacts WHERE LastName >= ?1 ORDER BY LastName, FirstName LIMIT ?2",
                           -1, &mScreen, nullptr);
        // Each column of the table shows the field the grid's column shows.
        const auto *gridModel = qobject_cast<const platform::DataGridModel *>(grid.model());
        QHash<QString, int> selected;
        for (int c = 0; c < sqlite3_column_count(mScreen); ++c)
            selected.insert(QString::fromUtf8(sqlite3_column_name(mScreen, c)).toLower(), c);
        for (int c = 0; c < mModel.columnCount(); ++c)
            mSourceOfColumn.push_back(
                gridModel ? selected.value(gridModel->columns()[c].dataField.toLower(), -1) : -1);

        // The table and the boxes where the window has them, relative to the grid.
        const QPoint origin = grid.pos();
        const QRect nameAt = nameBox.geometry().translated(-origin);
        const QRect phoneAt = phoneBox.geometry().translated(-origin);
        const QRect all = QRect(QPoint(0, 0), grid.size()).united(nameAt).united(phoneAt);
        mWindow.resize(all.right() + 1, all.bottom() + 1);
        mGrid = new QTableView(&mWindow);
        mGrid->setModel(&mModel);
        mGrid->setGeometry(0, 0, grid.width(), grid.height());
        mGrid->setFont(grid.font());
        mGrid->setWordWrap(grid.wordWrap());
        mGrid->verticalHeader()->setVisible(grid.verticalHeader()->isVisible());
        mGrid->verticalHeader()->setDefaultSectionSize(grid.rowHeight(0));
        mGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
        mGrid->selectRow(0);
        for (int c = 0; c < mModel.columnCount(); ++c)
            mGrid->setColumnWidth(c, grid.columnWidth(c));
        mName = new QPlainTextEdit(&mWindow);
        mPhone = new QPlainTextEdit(&mWindow);
        mName->setGeometry(nameAt);
        mPhone->setGeometry(phoneAt);
        mName->setFont(nameBox.font());
        mPhone->setFont(phoneBox.font());
        mName->setReadOnly(true);
        mPhone->setReadOnly(true);
        mWindow.show();
        QCoreApplication::processEvents();
    }
    ~Reference()
    {
        sqlite3_finalize(mFind);
        sqlite3_finalize(mScreen);
        sqlite3_close(mDb);
    }

    qint64 keystroke(const QByteArray &prefix)
    {
        sqlite3_reset(mFind);
        sqlite3_bind_text(mFind, 1, prefix.constData(), int(prefix.size()), SQLITE_STATIC);
        const qint64 id = sqlite3_step(mFind) == SQLITE_ROW ? sqlite3_column_int64(mFind, 0) : -1;

        sqlite3_reset(mScreen);
        sqlite3_bind_text(mScreen, 1, prefix.constData(), int(prefix.size()), SQLITE_STATIC);
        sqlite3_bind_int(mScreen, 2, mScreenRows);
        QHash<QString, QVariant> current;
        qint64 cells = 0;
        for (int row = 0; sqlite3_step(mScreen) == SQLITE_ROW; ++row) {
            for (int c = 0; c < sqlite3_column_count(mScreen); ++c) {
                const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(mScreen, c));
                const QString value = text ? QString::fromUtf8(text, sqlite3_column_bytes(mScreen, c)) : QString();
                cells += value.size();
                if (row == 0)
                    current.insert(QString::fromUtf8(sqlite3_column_name(mScreen, c)),
                                   text ? QVariant(value) : QVariant());
            }
            for (int c = 0; c < mModel.columnCount(); ++c) {
                const int source = mSourceOfColumn[std::size_t(c)];
                const auto *text =
                    source >= 0 ? reinterpret_cast<const char *>(sqlite3_column_text(mScreen, source)) : nullptr;
                mModel.setData(mModel.index(row, c),
                               text ? QString::fromUtf8(text, sqlite3_column_bytes(mScreen, source)) : QString());
            }
        }
        benchmark::DoNotOptimize(cells);
        const ContactFieldReader field = [&current](const QString &name) { return current.value(name); };
        mName->setPlainText(detailNameText(field));
        mPhone->setPlainText(detailPhoneText(field));
        QCoreApplication::processEvents();
        return id;
    }

  private:
    sqlite3 *mDb = nullptr;
    sqlite3_stmt *mFind = nullptr;
    sqlite3_stmt *mScreen = nullptr;
    int mScreenRows;
    QStandardItemModel mModel;
    std::vector<int> mSourceOfColumn;
    QWidget mWindow;
    QTableView *mGrid;
    QPlainTextEdit *mName;
    QPlainTextEdit *mPhone;
};

NameList &startWindow(const QString &path, QTemporaryDir &folder)
{
    bench::prepareStart(path, folder.path());
    if (Main() != MainOutcome::MainWindowShown)
        std::abort();
    QCoreApplication::processEvents();
    return *NameList::loadedInstance();
}

void OneLocateKeystroke(benchmark::State &state)
{
    const QString path = (state.range(0) == 100000 ? Contacts100k : Contacts1M).ready();
    QTemporaryDir folder;
    NameList &window = startWindow(path, folder);
    // The list in last-name order, the order the reference searches, whichever order the
    // kept database was last left in.
    if (cmbSort(window)->currentText() != QLatin1String("LastName")) {
        cmbSort(window)->setCurrentIndex(cmbSort(window)->findText(QStringLiteral("LastName")));
        window.dispatch(QStringLiteral("cmbSort"));
        QCoreApplication::processEvents();
    }
    txtLocate(window)->setFocus();
    const int screenRows = std::max(1, Table1(window)->viewport()->height() / std::max(1, Table1(window)->rowHeight(0)));
    Reference reference(path, screenRows, *Table1(window), *txtName(window), *txtPhone(window));

    bench::PairedTimes times;
    int n = 0;
    // Each key event bears its own instant, as the window system stamps them.
    static quint64 stamp = 0;
    for (auto _ : state) {
        const QString text = QString::fromUtf8(Typed[n++ % std::size(Typed)]);
        const QByteArray utf8 = text.toUtf8();
        qint64 expected = 0;
        txtLocate(window)->setText(text.chopped(1));
        // The last letter goes down, and the box shows the text typed, before the key is
        // timed, on either side.
        const QString last = text.right(1);
        const auto key = Qt::Key(last.toUpper().at(0).unicode());
        const Qt::KeyboardModifiers shift = last.at(0).isUpper() ? Qt::ShiftModifier : Qt::NoModifier;
        QKeyEvent press(QEvent::KeyPress, key, shift, last);
        press.setTimestamp(++stamp);
        QApplication::sendEvent(txtLocate(window), &press);
        QCoreApplication::processEvents();
        if (txtLocate(window)->text() != text) {
            std::fprintf(stderr, "typing %s left %s in the locate box\n", utf8.constData(),
                         txtLocate(window)->text().toUtf8().constData());
            std::abort();
        }
        const double ours = times.time(
            [&] {
                QKeyEvent release(QEvent::KeyRelease, key, shift, last);
                release.setTimestamp(++stamp);
                QApplication::sendEvent(txtLocate(window), &release);
                QCoreApplication::processEvents();
            },
            [&] { expected = reference.keystroke(utf8); });
        state.SetIterationTime(ours);

        const qint64 found = Data1(window)->recordset()->value(QStringLiteral("RecordID")).toLongLong();
        if (found != expected) {
            std::fprintf(stderr, "locate of %s found %lld, SQLite %lld\n", utf8.constData(),
                         static_cast<long long>(found), static_cast<long long>(expected));
            std::abort();
        }
    }
    times.report(state, "us");
    state.counters["screen_rows"] = screenRows;
    bench::stopProgram(window);
}

// The record set's search alone, repeated, for profiling.
void FindFirstAlone(benchmark::State &state)
{
    auto db = platform::Database::open(Contacts100k.ready());
    auto rs = db->openRecordset(QStringLiteral("Select * from  tblContacts Order By LastName, FirstName "));
    int n = 0;
    for (auto _ : state)
        rs->findFirst(QStringLiteral("LastName like \"") + QString::fromUtf8(Typed[n++ % std::size(Typed)]) +
                      QStringLiteral("*\""));
}

} // namespace

BENCHMARK(FindFirstAlone)->Unit(benchmark::kMicrosecond);
BENCHMARK(OneLocateKeystroke)
    ->Arg(100000)
    ->Arg(1000000)
    ->UseManualTime()
    ->Iterations(200)
    ->Unit(benchmark::kMicrosecond);

int main(int argc, char **argv)
{
    return bench::main(argc, argv);
}
