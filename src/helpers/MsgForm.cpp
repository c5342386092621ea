#include "helpers/MsgForm.h"

#include "platform/ui/Twips.h"

#include <QLabel>
#include <QMouseEvent>

MsgForm::MsgForm()
{
    setObjectName(QStringLiteral("MsgForm"));
    setWindowTitle(QStringLiteral("Message"));
    setFocusPolicy(Qt::StrongFocus);
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, colours.color(QPalette::Base));
    setPalette(colours);
    platform::setClientSizeTwips(this, 7368, 2520);
    setDialogBorder(true);

    Msg = new QLabel(this);
    Msg->setObjectName(QStringLiteral("Msg"));
    Msg->setTextFormat(Qt::PlainText);
    Msg->setWordWrap(true);
    Msg->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QPalette label = Msg->palette();
    label.setColor(QPalette::WindowText, label.color(QPalette::Text));
    Msg->setPalette(label);
    platform::setGeometryTwips(Msg, 420, 390, 6390, 1545);
    Msg->installEventFilter(this);
}

MsgForm &MsgForm::instance()
{
    static QPointer<MsgForm> form;
    return platform::instanceOf(form);
}

void MsgForm::Form_Load()
{
    platform::centerWindowOnScreen(this);
}

void MsgForm::Form_KeyPress(int &keyAscii)
{
    Q_UNUSED(keyAscii);
    unload();
}

void MsgForm::mouseReleaseEvent(QMouseEvent *event)
{
    if (rect().contains(event->position().toPoint()))
        unload();
}

bool MsgForm::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Msg && event->type() == QEvent::MouseButtonRelease) {
        unload();
        return true;
    }
    return platform::Form::eventFilter(watched, event);
}
