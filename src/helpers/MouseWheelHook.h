#pragma once

#include <QList>
#include <QObject>
#include <QPointer>

class QWidget;
class QWheelEvent;

// The application-wide watcher behind the mouse-wheel hook: it sees wheel events on their way
// to any widget and hands those for a hooked window to that window's MouseWheel entry.
class MouseWheelHook : public QObject {
    Q_OBJECT
  public:
    static MouseWheelHook *instance();

    void hook(QWidget *window);
    void unhook(QWidget *window);
    bool isHooked(QWidget *window) const;

  protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

  private:
    explicit MouseWheelHook(QObject *parent) : QObject(parent) {}

    bool handleWheel(QWidget *receiver, QWheelEvent *event);

    QList<QPointer<QWidget>> mWindows;
};
