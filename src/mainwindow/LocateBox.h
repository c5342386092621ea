#pragma once

#include <QObject>
#include <Qt>

class MainControls;
class NameList;

// The locate box over the grid: each key typed moves the list to the first contact whose
// sort field begins with the box's text; Enter opens that contact, leaving the box empties it.
class LocateBox : public QObject {
    Q_OBJECT
  public:
    explicit LocateBox(NameList &window);

    // Starts routing the box's keys, clicks and focus to the handlers below.
    void connectEvents();

    // KeyCode: a classic virtual key.
    void txtLocate_KeyUp(int KeyCode, Qt::KeyboardModifiers Shift);
    void txtLocate_KeyPress(int &KeyAscii);
    void txtLocate_LostFocus();
    void txtLocate_Click();

  protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

  private:
    NameList &mWindow;
    MainControls &mUi;
};
