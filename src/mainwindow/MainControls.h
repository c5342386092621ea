#pragma once

#include <QHash>
#include <QString>

class NameList;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTableView;
class QWidget;

namespace platform {
class DataControl;
} // namespace platform

// The controls of the main window's client area, built where the design puts them: the
// toolbar, the locate and sort boxes, the labels, the grid over the data control Data1, the
// detail boxes under it and the record buttons. Each button runs the window's command of
// its name; a command without a handler leaves its button disabled.
class MainControls {
  public:
    // The window as designed, in twips.
    static constexpr int DesignClientWidth = 12000;
    static constexpr int DesignClientHeight = 8200;

    explicit MainControls(NameList &window);

    QPushButton *button(const QString &name) const;

    QWidget *client; // the window's area under the menu bar
    platform::DataControl *Data1;
    QTableView *Table1;
    QComboBox *cmbSort;
    QLineEdit *txtLocate;
    QLabel *lblLocate;
    QLabel *lblSort;
    QLabel *lblCategory;
    QLabel *lblFilterMsg;
    QLabel *lblSelectedCount;
    QLabel *lblNotice;
    QLabel *lblHeader; // measures only: space kept outside the grid
    QLabel *lblMargin;
    QFrame *TextBackground;
    QPlainTextEdit *txtName;
    QPlainTextEdit *txtPhone;

  private:
    QPushButton *addButton(const QString &name, const QString &caption, const QString &toolTip, int left,
                           int top, int width, int height);

    NameList &mWindow;
    QHash<QString, QPushButton *> mButtons;
};
