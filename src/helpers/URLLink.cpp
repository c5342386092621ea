#include "helpers/URLLink.h"

#include "platform/RuntimeError.h"
#include "platform/ui/ClassicFont.h"
#include "platform/ui/MousePointer.h"
#include "platform/ui/MsgBox.h"
#include "platform/ui/Shell.h"
#include "platform/ui/Twips.h"

#include <QLabel>
#include <QMouseEvent>

const QString URLLink::DefaultText = QStringLiteral("Quiltern on the web");
const QString URLLink::DefaultURL = QStringLiteral("https://www.example.com/");

namespace {
constexpr int invalidArgument = 5;

// A saved Boolean: a Boolean, a number, or the words True and False.
bool readBoolean(const QVariant &value, bool &ok)
{
    ok = true;
    if (value.typeId() == QMetaType::Bool)
        return value.toBool();
    if (value.typeId() == QMetaType::QString) {
        const QString text = value.toString().trimmed();
        if (text.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
            return true;
        if (text.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
            return false;
    }
    const int number = value.toInt(&ok);
    return number != 0;
}
} // namespace

URLLink::URLLink(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("URLLink"));
    lblURL = new QLabel(this);
    lblURL->setObjectName(QStringLiteral("lblURL"));
    lblURL->setTextFormat(Qt::PlainText);
    QFont font = platform::classicFont(QStringLiteral("MS Sans Serif"), 8.25);
    font.setUnderline(true);
    lblURL->setFont(font);
    QPalette colours = lblURL->palette();
    colours.setColor(QPalette::WindowText, colours.color(QPalette::Highlight));
    lblURL->setPalette(colours);
    lblURL->setCursor(Qt::PointingHandCursor);
    platform::setGeometryTwips(lblURL, 120, 120, 1800, 240);
    lblURL->installEventFilter(this);
    InitProperties();
}

void URLLink::InitProperties()
{
    setText(DefaultText);
    mURL = DefaultURL;
    setShowToolTip(false);
}

QString URLLink::Text() const
{
    return lblURL->text();
}

void URLLink::setText(const QString &text)
{
    lblURL->setText(text);
    const QFontMetrics metrics(lblURL->font());
    lblURL->setGeometry(0, 0, metrics.horizontalAdvance(text), metrics.height());
    emit PropertyChanged(QStringLiteral("Text"));
}

void URLLink::setURL(const QString &url)
{
    mURL = url;
    UpdateToolTip();
    emit PropertyChanged(QStringLiteral("URL"));
}

void URLLink::setShowToolTip(bool show)
{
    mShowToolTip = show;
    UpdateToolTip();
    emit PropertyChanged(QStringLiteral("ShowToolTip"));
}

void URLLink::UpdateToolTip()
{
    lblURL->setToolTip(mShowToolTip ? mURL : QString());
}

void URLLink::ReadProperties(const QVariantMap &bag)
{
    const QVariant text = bag.value(QStringLiteral("Text"), DefaultText);
    const QVariant url = bag.value(QStringLiteral("URL"), DefaultURL);
    const QVariant tip = bag.value(QStringLiteral("ShowToolTip"), false);
    bool tipOk = false;
    const bool showTip = readBoolean(tip, tipOk);
    if (!text.canConvert<QString>() || !url.canConvert<QString>() || !tipOk) {
        InitProperties();
        return;
    }
    setText(text.toString());
    mURL = url.toString();
    setShowToolTip(showTip);
}

void URLLink::WriteProperties(QVariantMap &bag) const
{
    if (Text() != DefaultText)
        bag.insert(QStringLiteral("Text"), Text());
    if (mURL != DefaultURL)
        bag.insert(QStringLiteral("URL"), mURL);
    if (mShowToolTip)
        bag.insert(QStringLiteral("ShowToolTip"), true);
}

bool URLLink::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == lblURL && event->type() == QEvent::MouseButtonPress)
        lblURL_MouseDown(static_cast<QMouseEvent *>(event)->buttons());
    return QWidget::eventFilter(watched, event);
}

void URLLink::lblURL_MouseDown(Qt::MouseButtons buttons)
{
    if (!(buttons & Qt::LeftButton))
        return;
    QString address = mURL;
    bool cancel = false;
    emit GoToURL(address, cancel);
    if (cancel)
        return;
    const platform::BusyPointer busy;
    try {
        // Only web and e-mail addresses go to the shell: a design may carry any text.
        if (!platform::isShellLink(address))
            throw platform::RuntimeError(invalidArgument,
                                         QStringLiteral("Only web and e-mail addresses can be opened."));
        platform::openLink(address);
    } catch (const platform::RuntimeError &error) {
        platform::MsgBox(QStringLiteral("Unable to load '%1' : %2 (Error %3)")
                             .arg(address, error.description())
                             .arg(error.number()),
                         platform::vbOKOnly);
    }
}
