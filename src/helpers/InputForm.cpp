#include "helpers/InputForm.h"

#include "helpers/GLOBAL.h"
#include "platform/ui/ClassicFont.h"
#include "platform/ui/Shell.h"
#include "platform/ui/Twips.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QProxyStyle>
#include <QPushButton>

namespace {
// The box masks a password with "*", whatever the desktop style would draw.
class StarMaskStyle : public QProxyStyle {
  public:
    int styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                  QStyleHintReturn *returnData) const override
    {
        if (hint == QStyle::SH_LineEdit_PasswordCharacter)
            return '*';
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};
} // namespace

InputForm::InputForm()
{
    setObjectName(QStringLiteral("InputForm"));
    setWindowTitle(QStringLiteral("Input"));
    // Classic dialogs of this kind are painted in the scroll-bar grey.
    setAutoFillBackground(true);
    QPalette background = palette();
    background.setColor(QPalette::Window, QColor(0xC8, 0xC8, 0xC8));
    setPalette(background);
    setFont(platform::classicFont(QStringLiteral("MS Sans Serif"), 7.8, true));
    platform::setClientSizeTwips(this, 6336, 3096);
    setDialogBorder(true);

    lblMessage = new QLabel(this);
    lblMessage->setObjectName(QStringLiteral("lblMessage"));
    lblMessage->setTextFormat(Qt::PlainText); // prompts may quote what the user typed
    lblMessage->setWordWrap(true);
    lblMessage->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    platform::setGeometryTwips(lblMessage, 660, 336, 5160, 1752);

    txtInput = new QLineEdit(this);
    txtInput->setObjectName(QStringLiteral("txtInput"));
    txtInput->setFont(platform::classicFont(QStringLiteral("MS Sans Serif"), 9.6, true));
    auto *mask = new StarMaskStyle;
    mask->setParent(txtInput);
    txtInput->setStyle(mask);
    platform::setGeometryTwips(txtInput, 660, 2124, 5220, 396);
    txtInput->installEventFilter(this);

    cmdOK = new QPushButton(QStringLiteral("&OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    platform::setGeometryTwips(cmdOK, 1935, 2676, 930, 330);

    cmdCancel = new QPushButton(QStringLiteral("&Cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    platform::setGeometryTwips(cmdCancel, 3210, 2676, 915, 330);

    setTabOrder(txtInput, cmdOK);
    setTabOrder(cmdOK, cmdCancel);
    connect(cmdOK, &QPushButton::clicked, this, &InputForm::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &InputForm::cmdCancel_Click);
    // Enter in the box accepts, as OK does.
    connect(txtInput, &QLineEdit::returnPressed, this, &InputForm::cmdOK_Click);
}

QPointer<InputForm> &InputForm::slot()
{
    static QPointer<InputForm> form;
    return form;
}

InputForm &InputForm::instance()
{
    return platform::instanceOf(slot());
}

void InputForm::unloadIfLoaded()
{
    if (slot() && slot()->isLoaded())
        slot()->unload();
}

void InputForm::Form_Load()
{
    platform::centerWindowOnScreen(this);
    if (gTabletMode)
        move(x(), platform::twipsToPixelsY(1000));
    txtInput->setFocus();
}

void InputForm::cmdOK_Click()
{
    hide();
}

void InputForm::cmdCancel_Click()
{
    txtInput->setText(QString());
    hide();
}

void InputForm::txtInput_Click()
{
    if (gTabletMode)
        platform::startOnScreenKeyboard();
}

bool InputForm::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == txtInput && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton)
        txtInput_Click();
    return platform::Form::eventFilter(watched, event);
}

void InputForm::keyPressEvent(QKeyEvent *event)
{
    // Escape, which the box and the buttons pass on, answers as Cancel does: a password
    // typed and then abandoned is never taken.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        cmdCancel_Click();
        return;
    }
    platform::Form::keyPressEvent(event);
}
