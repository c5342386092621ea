#pragma once

// The main window's menus in shape: the same titles' count, items, separators and number of
// shortcuts, with plain Qt. Both bare references (the whole process and the in-process
// start-up) build their menus with this.
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>

namespace bench {

inline void addBareMenus(QMenuBar *bar)
{
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
        QMenu *menu = bar->addMenu(QString::fromLatin1(m.title));
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
}

} // namespace bench
