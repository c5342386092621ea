#pragma once

#include <QHash>
#include <QKeySequence>
#include <QString>

class NameList;
class QAction;
class QMenu;
class QMenuBar;

// The main window's menu bar: its menus and items, each item named as its command and led
// to the window's command table. An item whose command has no handler is shown disabled.
class MainMenus {
  public:
    explicit MainMenus(NameList &window);

    QAction *item(const QString &name) const;
    QMenuBar *bar() const { return menuBar; }

  private:
    QAction *addItem(QMenu *menu, const QString &name, const QString &caption,
                     const QKeySequence &shortcut = QKeySequence());

    NameList &mWindow;
    QMenuBar *menuBar;
    QMenu *FileMenu;
    QMenu *EditMenu;
    QMenu *ReportsMenu;
    QMenu *OptionsMenu;
    QMenu *HelpMenu;
    QHash<QString, QAction *> mItems;
};
