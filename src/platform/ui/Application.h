#pragma once

#include <QApplication>

namespace platform {

class RuntimeError;

// The program's application object. An error no handler trapped never crosses the event
// loop: a run-time error is told as the run time tells one, anything else in a sentence of
// its own, and the program goes on with the next event. Traps of the handlers themselves
// come first; this is only the net under them.
class Application : public QApplication {
    Q_OBJECT
  public:
    Application(int &argc, char **argv);

    bool notify(QObject *receiver, QEvent *event) override;
};

// Tells the user of a run-time error that no trap of the program caught: its number and
// its description, in a critical box; the pointer becomes the arrow again.
void reportRuntimeError(const RuntimeError &error);

} // namespace platform
