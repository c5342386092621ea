// The least a Qt program with the main window's chrome costs: a main window of the same
// size with menus of the same shape (items, separators, shortcuts) and an empty grid.
// The whole-process start-up benchmark times the program against it; both report their
// first paint the same way.
#include "platform/ui/FirstPaint.h"

#include <QApplication>
#include <QHeaderView>
#include <QMainWindow>
#include <QMenuBar>
#include <QStandardItemModel>
#include <QTableView>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    platform::reportFirstPaintIfAsked(QStringLiteral("BareMainWindow"));

    QMainWindow window;
    window.setObjectName(QStringLiteral("BareMainWindow"));
    window.setWindowTitle(QStringLiteral("Bare main window"));

    // Each menu's items in order: 'i' an item, 'k' an item with a shortcut, '-' a separator.
    struct Menu {
        const char *title;
        const char *shape;
    };
    static const Menu menus[] = {
        {"&File", "ik-kk-ki-i-k-k"},
        {"&Edit", "kk-kii-k-kkkkk-k-k"},
        {"&Reports", "iiiii-iiii-iiiiii-iiiiii-ii"},
        {"&Options", "iiiiii"},
        {"&Help", "ii"},
    };
    int item = 0;
    int key = Qt::Key_A;
    for (const Menu &m : menus) {
        QMenu *menu = window.menuBar()->addMenu(QString::fromLatin1(m.title));
        for (const char *c = m.shape; *c; ++c) {
            if (*c == '-') {
                menu->addSeparator();
                continue;
            }
            QAction *action = menu->addAction(QStringLiteral("Menu item number %1...").arg(++item));
            if (*c == 'k')
                action->setShortcut(QKeySequence(Qt::CTRL | Qt::Key(key++)));
        }
    }

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
