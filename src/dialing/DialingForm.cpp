#include "dialing/DialingForm.h"

#include "editor/EditorHooks.h"
#include "editor/NameEdit.h"
#include "helpers/DatabaseState.h"
#include "helpers/MsgForm.h"
#include "helpers/SettingsRow.h"
#include "helpers/ValueHelpers.h"
#include "platform/RuntimeError.h"
#include "platform/base/AnsiText.h"
#include "platform/base/Clock.h"
#include "platform/comm/Comm.h"
#include "platform/db/Database.h"
#include "platform/db/Recordset.h"
#include "platform/ui/ClassicFont.h"
#include "platform/ui/MousePointer.h"
#include "platform/ui/MsgBox.h"
#include "platform/ui/Twips.h"

#include <QEventLoop>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScopeGuard>
#include <QTimer>

using platform::BusyPointer;

namespace {

constexpr int DescriptionWidth = 21;
constexpr int PassMilliseconds = 20;

const QString CommSettingsType = QStringLiteral("COMMSETTINGS");
const QString DialingInstruction =
    QStringLiteral("After you pick up the phone, press any key or click the mouse anywhere in this window to "
                   "disconnect the modem speaker.");

QString text(const QVariant &value)
{
    return NullToString(value).toString();
}

// The port number is the last character of the setting's name ("COM3" is 3).
int portNumberOf(const QString &name)
{
    return name.isEmpty() ? 0 : name.right(1).toInt();
}

void showError(const QString &description)
{
    platform::MsgBox(description, platform::vbExclamation, QStringLiteral("Error"));
}

// Whether a text may go to the modem, told as `where`. A control character would end the
// dial command and make what follows it a command of its own: such a text is refused, and
// the user corrects the stored text. A character the port's code page lacks would reach
// the modem as "?": told first, and dialled only if the user says so.
bool mayDial(const QString &dialText, const QString &where, const QString &correction)
{
    if (std::any_of(dialText.begin(), dialText.end(),
                    [](QChar c) { return c.category() == QChar::Other_Control; })) {
        platform::MsgBox(
            where +
                QStringLiteral(" holds a control character (a line break, a tab or the like), which "
                               "the modem would take as the end of the dialing command and what "
                               "follows it as a command of its own.  Nothing was dialed.\r\n\r\n") +
                correction,
            platform::vbExclamation, QStringLiteral("Phone number not dialed"));
        return false;
    }
    // One that shows nothing on the screen, a soft hyphen say, would reach the modem unseen:
    // told too. Those the port lacks are told as such below.
    const QStringList lacking = platform::ansiLacking(dialText);
    const QStringList unseen = platform::unseenCharacters(dialText);
    QStringList named;
    std::copy_if(unseen.begin(), unseen.end(), std::back_inserter(named),
                 [&lacking](const QString &c) { return !lacking.contains(c); });
    if (!named.isEmpty()) {
        if (platform::MsgBox(where + QStringLiteral(" holds characters that do not show on the screen: ") +
                                 named.join(QLatin1Char(' ')) +
                                 QStringLiteral(".  Each of them would reach the modem as part of the "
                                                "number.\r\n\r\nDial anyway?"),
                             platform::vbYesNo + platform::vbExclamation + platform::vbDefaultButton2,
                             QStringLiteral("Characters that do not show")) != platform::vbYes)
            return false;
    }
    if (lacking.isEmpty())
        return true;
    return platform::MsgBox(
               where + QStringLiteral(" holds characters the modem port cannot carry: ") +
                   lacking.join(QLatin1Char(' ')) +
                   QStringLiteral(".  Each of them would reach the modem as \"?\".\r\n\r\nDial anyway?"),
               platform::vbYesNo + platform::vbExclamation + platform::vbDefaultButton2,
               QStringLiteral("Characters the modem cannot take")) == platform::vbYes;
}

} // namespace

DialingForm::DialingForm(PhoneSource source) : mSource(std::move(source))
{
    setObjectName(QStringLiteral("DialingForm"));
    setWindowTitle(QStringLiteral("Dial the Phone"));
    platform::setClientSizeTwips(this, 5625, 3345);
    setDialogBorder(true);

    lbPhoneChoice = new QListWidget(this);
    lbPhoneChoice->setObjectName(QStringLiteral("lbPhoneChoice"));
    lbPhoneChoice->setFont(platform::classicFont(QStringLiteral("Courier New"), 9));
    lbPhoneChoice->setToolTip(QStringLiteral("Double-clicking on a phone number dials that number."));
    platform::setGeometryTwips(lbPhoneChoice, 120, 120, 5385, 2175);

    cmdDial = new QPushButton(QStringLiteral("Dial the &phone"), this);
    cmdDial->setObjectName(QStringLiteral("cmdDial"));
    cmdDial->setToolTip(QStringLiteral("Dials the phone number highlighted above."));
    platform::setGeometryTwips(cmdDial, 720, 2520, 1935, 495);

    cmdExit = new QPushButton(QStringLiteral("&Cancel"), this);
    cmdExit->setObjectName(QStringLiteral("cmdExit"));
    platform::setGeometryTwips(cmdExit, 2970, 2520, 1935, 495);

    Comm1 = new platform::Comm(this);
    Comm1->setObjectName(QStringLiteral("Comm1"));

    connect(cmdDial, &QPushButton::clicked, this, &DialingForm::cmdDial_Click);
    connect(cmdExit, &QPushButton::clicked, this, &DialingForm::cmdExit_Click);
    setCancelButton(cmdExit);
    connect(lbPhoneChoice, &QListWidget::itemDoubleClicked, this, &DialingForm::lbPhoneChoice_DblClick);
    setTabOrder(lbPhoneChoice, cmdDial);
    setTabOrder(cmdDial, cmdExit);
}

DialingForm::~DialingForm() = default;

void DialingForm::open(const PhoneSource &source)
{
    // A fresh window each time, so the list always shows the contact it was opened for.
    QPointer<DialingForm> form = new DialingForm(source);
    form->load();
    if (!form->isUnloaded())
        form->showModal();
    if (form)
        form->deleteLater();
}

void DialingForm::installEditorHook()
{
    EditorHooks::showDialing = [] {
        NameEdit *editor = NameEdit::loaded();
        if (!editor)
            return;
        QPointer<NameEdit> watched = editor;
        open(phonesOfBoxes([watched](const QString &name) { return watched ? watched->box(name) : nullptr; }));
    };
}

QString DialingForm::phoneLine(const QVariant &description, const QVariant &number)
{
    const QString trimmedDescription = Trim(text(description));
    const int pad = std::max<qsizetype>(0, DescriptionWidth - trimmedDescription.size());
    return trimmedDescription + QString(pad, QLatin1Char(' ')) + Trim(text(number));
}

void DialingForm::Form_Load()
{
    platform::centerWindowOnScreen(this);
    try {
        for (int line = 1; line <= 6; ++line)
            lbPhoneChoice->addItem(phoneLine(mSource.description(line), mSource.number(line)));
    } catch (const platform::RuntimeError &error) {
        showError(error.description());
    }
    lbPhoneChoice->setCurrentRow(-1);
    lbPhoneChoice->clearSelection();
}

void DialingForm::Form_Unload(bool &cancel)
{
    Q_UNUSED(cancel);
    // Never leave the modem's port held behind a closed window. A hang-up under way goes on
    // behind it and closes the port once the modem has had the whole of it.
    if (!mHangingUp)
        Comm1->setCommPortOpen(false);
}

void DialingForm::cmdExit_Click()
{
    unload();
}

void DialingForm::setControlsEnabled(bool enabled)
{
    cmdDial->setEnabled(enabled);
    cmdExit->setEnabled(enabled);
    lbPhoneChoice->setEnabled(enabled);
}

void DialingForm::waitOneSecond()
{
    // Timed on a clock the time of day does not move: set back an hour, it would hold the
    // window for that hour.
    const qint64 until = platform::steadyMilliseconds() + 1000;
    while (platform::steadyMilliseconds() < until) {
        QEventLoop pass;
        QTimer::singleShot(PassMilliseconds, &pass, &QEventLoop::quit);
        pass.exec();
    }
}

void DialingForm::cmdDial_Click()
{
    const int chosen = lbPhoneChoice->currentRow();
    if (chosen < 0 || !lbPhoneChoice->currentItem()->isSelected()) {
        platform::MsgBox(QStringLiteral("You must select a phone number from the list before you can dial."),
                         platform::vbExclamation, QStringLiteral("No phone number selected"));
        return;
    }
    try {
        gSql = settingsRowQuery(CommSettingsType);
        std::unique_ptr<platform::Recordset> settings = gDb->openRecordset(gSql);
        if (settings->recordCount() <= 0)
            throw platform::RuntimeError(platform::err::NoCurrentRecord,
                                         QStringLiteral("The modem settings are missing from this database."));
        settings->moveFirst();
        const int port = portNumberOf(text(settings->value(QStringLiteral("Name"))));
        const QString number = Trim(text(mSource.number(chosen + 1)));
        if (number.isEmpty()) {
            platform::MsgBox(QStringLiteral("The selected phone number is blank."), platform::vbExclamation,
                             QStringLiteral("No phone number exists in this field"));
            return;
        }
        // Composed, a letter typed with a combining accent goes out as the one character.
        const QString prefix =
            text(settings->value(QStringLiteral("Setting1"))).normalized(QString::NormalizationForm_C);
        const QString dialed = number.normalized(QString::NormalizationForm_C);
        const QString description = Trim(text(mSource.description(chosen + 1)));
        const QString field = QStringLiteral("Phone%1").arg(chosen + 1) +
                              (description.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(description));
        if (!mayDial(prefix, QStringLiteral("The dialing prefix"),
                     QStringLiteral("Correct it under Options, Modem Port, and dial again.")) ||
            !mayDial(dialed, QStringLiteral("The number in ") + field,
                     QStringLiteral("Correct the number and dial again.")))
            return;
        if (!Comm1->commPortOpen()) {
            Comm1->setCommPort(port);
            Comm1->setCommPortOpen(true);
        }
        Comm1->setCommInputLen(0);
        Comm1->commOutput(prefix + dialed + QStringLiteral(";\r"));

        MsgForm &message = MsgForm::instance();
        message.Msg->setText(QStringLiteral("Dialing ") + number + QLatin1Char('\n') + DialingInstruction);
        QFont font = message.Msg->font();
        font.setPointSize(16);
        message.Msg->setFont(font);
        message.showModal(this);

        {
            // Hanging up takes two seconds; the window takes no clicks meanwhile.
            const BusyPointer busy;
            mHangingUp = true;
            const auto hungUp = qScopeGuard([this] { mHangingUp = false; });
            setControlsEnabled(false);
            Comm1->commOutput(QStringLiteral("+++"));
            waitOneSecond();
            Comm1->commOutput(QStringLiteral("ATH0\r"));
            waitOneSecond();
            Comm1->setCommPortOpen(false);
        }
        setControlsEnabled(true);
        cmdExit->setFocus();
    } catch (const platform::RuntimeError &error) {
        // A failed dial must not keep the port: the next dial opens it afresh.
        Comm1->setCommPortOpen(false);
        setControlsEnabled(true);
        showError(error.description());
    }
}
