#pragma once

#include <QObject>

class QWidget;

class NameList;

// Routes the events of the main window's grid, locate box and detail area to the
// window's handlers for them.
class NameListEvents : public QObject {
    Q_OBJECT
  public:
    explicit NameListEvents(NameList &window);

  protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

  private:
    bool locateBoxEvent(QEvent *event);
    bool gridKey(QEvent *event);
    bool gridMouse(QWidget *viewport, QEvent *event);

    NameList &mWindow;
};
