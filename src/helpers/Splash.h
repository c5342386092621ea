#pragma once

#include "platform/ui/Form.h"

class QLabel;
class QTimer;

// The program's picture and notice line; closes itself three seconds after it loads.
class Splash : public platform::Form {
    Q_OBJECT
  public:
    Splash();

    static Splash &instance();

    QLabel *Label1;
    QTimer *Timer1;

    void Timer1_Timer();

  protected:
    void Form_Load() override;
    void paintEvent(QPaintEvent *event) override;
};
