#include "helpers/Splash.h"

#include "helpers/ProgramIdentity.h"
#include "platform/ui/Twips.h"

#include <QLabel>
#include <QPainter>
#include <QTimer>

Splash::Splash()
{
    setObjectName(QStringLiteral("Splash"));
    setWindowFlags(Qt::SplashScreen | Qt::FramelessWindowHint);
    platform::setClientSizeTwips(this, 5760, 3600);
    setFixedSize(size());

    Label1 = new QLabel(noticeLine().trimmed(), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setWordWrap(true);
    Label1->setAlignment(Qt::AlignCenter);
    platform::setGeometryTwips(Label1, 240, 2880, 5280, 480);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(3000);
    connect(Timer1, &QTimer::timeout, this, &Splash::Timer1_Timer);
    Timer1->start();
}

Splash &Splash::instance()
{
    static QPointer<Splash> form;
    return platform::instanceOf(form);
}

void Splash::Form_Load()
{
    platform::centerWindowOnScreen(this);
}

void Splash::Timer1_Timer()
{
    Timer1->stop();
    unload();
}

void Splash::paintEvent(QPaintEvent *event)
{
    QWidget::paintEvent(event);
    QPainter painter(this);
    painter.fillRect(rect(), QColor(0xF0, 0xF0, 0xE8));
    const QPixmap picture = programPicture();
    painter.drawPixmap((width() - picture.width()) / 2, (Label1->y() - picture.height()) / 2, picture);
}
