// Start-up to the first painted main window on 100,000 and 1,000,000 contacts, against
// plain SQLite and Qt showing the same window: open the file, count the list (the grid's
// scroll bar), read one screen of rows in the list's order, and build a main window with
// menus of the same shape and the same controls where the program has them (buttons,
// labels, boxes with the same texts and fonts, a table of the grid's size and columns
// holding those rows, the two detail boxes filled from the first row by the same
// builder), then show and paint it. Each iteration times both sides in turn; "ratio" is
// the median start-up/reference.
#include "../tests/support/MainWindowControls.h"
#include "MainWindowBench.h"
#include "helpers/RecordSource.h"
#include "mainwindow/DetailBoxes.h"
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
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>

namespace {

using bench::Clock;
using bench::seconds;

const bench::KeptDatabase Contacts100k("contacts", 100000);
const bench::KeptDatabase Contacts1M("contacts", 1000000);

// A control of the program's first window, as plain Qt would show it.
struct Control {
    enum class Kind { Button, Label, LineEdit, ComboBox, DetailName, DetailPhone, Frame };
    Kind kind = Kind::Frame;
    QRect geometry; // in the client area
    QString text;
    QStringList items; // a combo box's
    QIcon icon;        // a button's
    QSize iconSize;
    Qt::Alignment alignment; // a label's
    QFont font;
    QPalette palette;
    bool fillsBackground = false;
};

// What the program's first window shows, read from one untimed start.
struct FirstWindow {
    QSize windowSize;
    QPalette clientPalette;
    std::vector<Control> controls; // in the order they are stacked, the lowest first
    QRect gridGeometry;
    QFont gridFont;
    QPalette gridPalette;
    Qt::Alignment captionAlignment;
    int minimumColumnWidth = 0;
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
    const QByteArray text = QStringLiteral("SELECT * FROM tblContacts ORDER BY LastName, FirstName LIMIT %1")
                                .arg(shape.screenRows)
                                .toUtf8();
    sqlite3_stmt *screen = nullptr;
    sqlite3_prepare_v2(db, text.constData(), -1, &screen, nullptr);
    // Each column of the table shows the field the grid's column shows.
    QHash<QString, int> selected;
    for (int c = 0; c < sqlite3_column_count(screen); ++c)
        selected.insert(QString::fromUtf8(sqlite3_column_name(screen, c)).toLower(), c);
    std::vector<QStringList> cells;
    QHash<QString, QVariant> first;
    while (sqlite3_step(screen) == SQLITE_ROW) {
        QStringList row;
        for (const QString &field : shape.fields) {
            const int c = selected.value(field.toLower(), -1);
            const auto *value =
                c >= 0 ? reinterpret_cast<const char *>(sqlite3_column_text(screen, c)) : nullptr;
            row << (value ? QString::fromUtf8(value, sqlite3_column_bytes(screen, c)) : QString());
        }
        if (cells.empty()) {
            for (int c = 0; c < sqlite3_column_count(screen); ++c) {
                const auto *value = reinterpret_cast<const char *>(sqlite3_column_text(screen, c));
                first.insert(QString::fromUtf8(sqlite3_column_name(screen, c)),
                             value ? QVariant(QString::fromUtf8(value, sqlite3_column_bytes(screen, c)))
                                   : QVariant());
            }
        }
        cells.push_back(row);
    }
    sqlite3_finalize(screen);
    const ContactFieldReader field = [&first](const QString &name) { return first.value(name); };

    QMainWindow window;
    window.setObjectName(QStringLiteral("ReferenceMainWindow"));
    bench::addBareMenus(window.menuBar());
    ScreenModel model(rows, shape.captions, std::move(cells));
    auto *client = new QWidget;
    client->setPalette(shape.clientPalette);
    client->setAutoFillBackground(true);
    window.setCentralWidget(client);
    for (const Control &control : shape.controls) {
        QWidget *widget = nullptr;
        switch (control.kind) {
        case Control::Kind::Button: {
            auto *button = new QPushButton(control.icon, control.text, client);
            button->setIconSize(control.iconSize);
            widget = button;
            break;
        }
        case Control::Kind::Label: {
            auto *label = new QLabel(control.text, client);
            label->setAlignment(control.alignment);
            widget = label;
            break;
        }
        case Control::Kind::LineEdit:
            widget = new QLineEdit(control.text, client);
            break;
        case Control::Kind::ComboBox: {
            auto *box = new QComboBox(client);
            box->addItems(control.items);
            box->setCurrentText(control.text);
            widget = box;
            break;
        }
        case Control::Kind::DetailName:
        case Control::Kind::DetailPhone: {
            auto *box = new QPlainTextEdit(client);
            box->setReadOnly(true);
            box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
            box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
            box->setPlainText(control.kind == Control::Kind::DetailName ? detailNameText(field)
                                                                        : detailPhoneText(field));
            widget = box;
            break;
        }
        case Control::Kind::Frame:
            widget = new QFrame(client);
            break;
        }
        widget->setFont(control.font);
        widget->setPalette(control.palette);
        widget->setAutoFillBackground(control.fillsBackground);
        widget->setGeometry(control.geometry);
    }
    auto *grid = new QTableView(client);
    grid->setFont(shape.gridFont);
    grid->setPalette(shape.gridPalette);
    grid->verticalHeader()->setMinimumSectionSize(1);
    grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid->verticalHeader()->setDefaultSectionSize(shape.rowHeight);
    grid->verticalHeader()->hide();
    grid->horizontalHeader()->setMinimumSectionSize(shape.minimumColumnWidth);
    grid->horizontalHeader()->setDefaultAlignment(shape.captionAlignment);
    grid->setModel(&model);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
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
    QWidget *area = client(*window);
    shape.clientPalette = area->palette();
    // Where the grid stands in the window's client area, below the menus.
    shape.gridGeometry = QRect(grid->mapTo(area, QPoint(0, 0)), grid->size());
    const QWidget *detailName = txtName(*window);
    const QWidget *detailPhone = txtPhone(*window);
    for (QWidget *widget : area->findChildren<QWidget *>()) {
        if (!widget->isVisibleTo(window) || widget == grid || grid->isAncestorOf(widget))
            continue;
        // The parts of a compound control (a box's own frame, scroll bars) come with it.
        bool inControl = false;
        for (QWidget *up = widget->parentWidget(); up && up != area; up = up->parentWidget())
            inControl = inControl || qobject_cast<QPlainTextEdit *>(up) || qobject_cast<QComboBox *>(up) ||
                        qobject_cast<QLineEdit *>(up);
        if (inControl)
            continue;
        Control control;
        control.kind = Control::Kind::Frame;
        control.geometry = QRect(widget->mapTo(area, QPoint(0, 0)), widget->size());
        control.font = widget->font();
        control.palette = widget->palette();
        control.fillsBackground = widget->autoFillBackground();
        if (auto *button = qobject_cast<QPushButton *>(widget)) {
            control.kind = Control::Kind::Button;
            control.text = button->text();
            control.icon = button->icon();
            control.iconSize = button->iconSize();
        } else if (auto *label = qobject_cast<QLabel *>(widget)) {
            control.kind = Control::Kind::Label;
            control.text = label->text();
            control.alignment = label->alignment();
        } else if (auto *line = qobject_cast<QLineEdit *>(widget)) {
            control.kind = Control::Kind::LineEdit;
            control.text = line->text();
        } else if (auto *box = qobject_cast<QComboBox *>(widget)) {
            control.kind = Control::Kind::ComboBox;
            for (int i = 0; i < box->count(); ++i)
                control.items << box->itemText(i);
            control.text = box->currentText();
        } else if (widget == detailName || widget == detailPhone) {
            control.kind = widget == detailName ? Control::Kind::DetailName : Control::Kind::DetailPhone;
        } else if (!qobject_cast<QFrame *>(widget)) {
            continue;
        }
        shape.controls.push_back(control);
    }
    shape.gridFont = grid->font();
    shape.gridPalette = grid->palette();
    shape.captionAlignment = grid->horizontalHeader()->defaultAlignment();
    shape.minimumColumnWidth = grid->horizontalHeader()->minimumSectionSize();
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
    ->Iterations(10)
    ->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    return bench::main(argc, argv);
}
