// The least a Qt program with the main window's chrome costs: a main window of the same
// size with menus of the same shape (items, separators, shortcuts) and an empty grid.
// The whole-process start-up benchmark times the program against it; both report their
// first paint the same way.
#include "BareMenus.h"
#include "platform/ui/ClassicFont.h"
#include "platform/ui/FirstPaint.h"

#include <QApplication>
#include <QHeaderView>
#include <QMainWindow>
#include <QStandardItemModel>
#include <QTableView>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    // The program's fonts, so both sides of the start-up comparison draw the same text.
    platform::useDesignFonts();
    platform::reportFirstPaintIfAsked(QStringLiteral("BareMainWindow"));

    QMainWindow window;
    window.setObjectName(QStringLiteral("BareMainWindow"));
    window.setWindowTitle(QStringLiteral("Bare main window"));

    bench::addBareMenus(window.menuBar());

    QStandardItemModel model(0, 10);
    for (int column = 0; column < model.columnCount(); ++column)
        model.setHeaderData(column, Qt::Horizontal, QStringLiteral("Column %1").arg(column + 1));
    QTableView grid;
    grid.setModel(&model);
    grid.verticalHeader()->hide();
    window.setCentralWidget(&grid);

    // About the main window's size on screen at 96 dots an inch, menu bar included.
    window.resize(868, 567);
    window.show();
    return app.exec();
}
