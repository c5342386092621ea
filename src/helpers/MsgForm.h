#pragma once

#include "platform/ui/Form.h"

class QLabel;

// A plain message the user dismisses with a click or a typed key. The caller sets the
// text (and, if it likes, the font size) of Msg, then shows the window modally.
class MsgForm : public platform::Form {
    Q_OBJECT
  public:
    MsgForm();

    static MsgForm &instance();

    QLabel *Msg;

  protected:
    void Form_Load() override;
    void Form_KeyPress(int &keyAscii) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
};
