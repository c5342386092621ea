#include "start/modMain.h"
#include "dialing/CommSettingsForm.h"
#include "dialing/DialingForm.h"
#include "platform/base/Clock.h"
#include "platform/comm/Comm.h"
#include "platform/db/Database.h"
#include "platform/db/Recordset.h"
#include "platform/ui/MousePointer.h"
#include "platform/ui/MsgBox.h"
#include "support/DialogScript.h"
#include "support/PseudoModem.h"
#include "support/TempDatabase.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// Points COM<n> at a device for the life of the object.
struct ComEnvironment {
    ComEnvironment(int port, const QString &device) : name(QStringLiteral("QUILTERN_COM%1").arg(port).toLatin1())
    {
        qputenv(name.constData(), device.toLocal8Bit());
    }
    ~ComEnvironment() { qunsetenv(name.constData()); }
    QByteArray name;
};

// What reached the modem, and when by the program's steady clock.
struct Arrival {
    QByteArray bytes;
    qint64 at;
};

class DialingTest : public ::testing::Test {
  protected:
    void SetUp() override
    {
        gDb = platform::Database::open(temp.path());
        platform::setSteadyClockForTesting([this] { return tick(); });
        // The time of day leaps about; nothing waits by it.
        platform::setClockForTesting([this] { return timeOfDay = timeOfDay.addSecs(3600); });
    }
    void TearDown() override
    {
        form.reset();
        platform::setSteadyClockForTesting({});
        platform::setClockForTesting({});
        gDatabase.reset();
    }

    // Each reading of the clock moves it on a quarter second and notes what the modem got.
    qint64 tick()
    {
        clock += 250;
        if (modem) {
            const QByteArray bytes = modem->received();
            if (!bytes.isEmpty())
                arrivals.push_back({bytes, clock});
        }
        if (form)
            portOpenAt.push_back(form->findChild<platform::Comm *>(QStringLiteral("Comm1"))->commPortOpen());
        if (form && closeAt == clock)
            form->close();
        return clock;
    }

    void settings(const QString &name, const QString &prefix)
    {
        gDb->execute(QStringLiteral("Update tblSettings Set Name='%1', Setting1='%2' Where Type='COMMSETTINGS'")
                         .arg(name, prefix));
    }
    QString stored(const QString &field)
    {
        return gDb->openRecordset(QStringLiteral("Select * from tblSettings Where Type='COMMSETTINGS'"))
            ->value(field)
            .toString();
    }

    DialingForm &openDialing(QStringList descriptions, QStringList numbers)
    {
        PhoneSource source;
        source.description = [descriptions](int line) { return QVariant(descriptions.value(line - 1)); };
        source.number = [this, numbers](int line) {
            numberReads << line;
            return QVariant(numbers.value(line - 1));
        };
        form = std::make_unique<DialingForm>(source);
        form->load();
        form->show();
        return *form;
    }
    QListWidget *lines() { return form->findChild<QListWidget *>(QStringLiteral("lbPhoneChoice")); }
    void choose(int row) { lines()->setCurrentRow(row); }

    // Every byte that reached the modem, in order.
    QByteArray allReceived()
    {
        QByteArray all;
        for (const Arrival &a : arrivals)
            all += a.bytes;
        if (modem)
            all += modem->received();
        return all;
    }

    TempDatabase temp;
    DialogScript script;
    std::unique_ptr<DialingForm> form;
    std::unique_ptr<PseudoModem> modem;
    qint64 clock = 0;
    qint64 closeAt = -1; // the Dial window is closed from its title bar then
    QDateTime timeOfDay{QDate(2024, 12, 31), QTime(23, 59, 58)};
    std::vector<Arrival> arrivals;
    std::vector<bool> portOpenAt;
    QList<int> numberReads;
};

} // namespace

TEST(DialingLines, DescriptionsPadToColumn22AndNeverLoseTheNumber)
{
    const struct {
        QVariant description;
        QVariant number;
        QString line;
    } cases[] = {
        {QStringLiteral("Home"), QStringLiteral(" (514) 555-0101 "), QStringLiteral("Home") + QString(17, ' ') + "(514) 555-0101"},
        {QVariant(), QVariant(), QString(21, ' ')},
        {QStringLiteral("  Work  "), QString(), QStringLiteral("Work") + QString(17, ' ')},
        {QString(21, 'D'), QStringLiteral("1"), QString(21, 'D') + "1"},
        {QString(22, 'D'), QStringLiteral("1"), QString(22, 'D') + "1"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(DialingForm::phoneLine(c.description, c.number), c.line) << c.line.toStdString();
}

TEST_F(DialingTest, DialSendsPrefixNumberThenHangsUpAfterTheMessageWithOneSecondWaits)
{
    modem = std::make_unique<PseudoModem>();
    ComEnvironment com(4, modem->slavePath());
    settings(QStringLiteral("COM4"), QStringLiteral("9,"));
    openDialing({"Home", "Work", "", "", "", "Car"}, {"111", "  555-1234  ", "", "", "", "999"});
    ASSERT_EQ(lines()->count(), 6);
    EXPECT_EQ(lines()->item(5)->text(), QStringLiteral("Car") + QString(18, ' ') + "999");

    QString message;
    script.onModal(QStringLiteral("MsgForm"), [&](QWidget *w) {
        message = w->findChild<QLabel *>(QStringLiteral("Msg"))->text();
        const QLabel *shown = w->findChild<QLabel *>(QStringLiteral("Msg"));
        EXPECT_EQ(shown->font().pointSize(), 16);
        EXPECT_LE(shown->heightForWidth(shown->width()), shown->height()) << "the whole message shows";
        // The number went out before the message, and nothing else yet.
        EXPECT_EQ(modem->received(), QByteArray("9,555-1234;\r"));
        QTest::keyClick(w, Qt::Key_Space);
    });
    choose(1);
    form->cmdDial_Click();

    EXPECT_EQ(message, QStringLiteral("Dialing 555-1234\nAfter you pick up the phone, press any key or click the mouse "
                                      "anywhere in this window to disconnect the modem speaker."));
    ASSERT_EQ(allReceived(), QByteArray("+++ATH0\r"));
    ASSERT_EQ(arrivals.size(), 2u);
    EXPECT_EQ(arrivals[0].bytes, QByteArray("+++"));
    EXPECT_EQ(arrivals[1].bytes, QByteArray("ATH0\r"));
    EXPECT_GE(arrivals[1].at - arrivals[0].at, 1000);
    // The second wait ran with the port still open; it is closed at the end.
    ASSERT_FALSE(portOpenAt.empty());
    EXPECT_TRUE(portOpenAt.back());
    EXPECT_FALSE(form->findChild<platform::Comm *>(QStringLiteral("Comm1"))->commPortOpen());
    EXPECT_EQ(platform::mousePointer(), platform::MousePointer::Default);
    for (const char *name : {"cmdDial", "cmdExit"})
        EXPECT_TRUE(form->findChild<QPushButton *>(name)->isEnabled()) << name;
    EXPECT_TRUE(lines()->isEnabled());
    EXPECT_TRUE(form->isVisible()); // stays open for another number
    EXPECT_EQ(numberReads.count(2), 2); // listed once, read again for the dial
}

TEST_F(DialingTest, NothingIsSentWithoutAChosenLineOrForABlankNumber)
{
    modem = std::make_unique<PseudoModem>();
    ComEnvironment com(1, modem->slavePath());
    openDialing({"Home", "Work"}, {"111", "   "});
    script.answerMessage(platform::vbOK).answerMessage(platform::vbOK);
    form->cmdDial_Click();
    choose(1);
    form->cmdDial_Click();
    const auto shown = script.shown();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].text, QStringLiteral("You must select a phone number from the list before you can dial."));
    EXPECT_EQ(shown[0].title, QStringLiteral("No phone number selected"));
    EXPECT_EQ(shown[1].text, QStringLiteral("The selected phone number is blank."));
    EXPECT_EQ(shown[1].title, QStringLiteral("No phone number exists in this field"));
    for (const auto &box : shown)
        EXPECT_EQ(box.icon, platform::vbExclamation);
    EXPECT_FALSE(form->findChild<platform::Comm *>(QStringLiteral("Comm1"))->commPortOpen());
    EXPECT_TRUE(allReceived().isEmpty());
}

TEST_F(DialingTest, APortThatCannotOpenIsNamedAndLeftClosed)
{
    ComEnvironment com(3, QStringLiteral("/nonexistent/ttyModem"));
    settings(QStringLiteral("COM3"), QString());
    openDialing({"Home"}, {"111"});
    script.answerMessage(platform::vbOK);
    choose(0);
    form->cmdDial_Click();
    ASSERT_EQ(script.shown().size(), 1u);
    EXPECT_EQ(script.shown()[0].title, QStringLiteral("Error"));
    EXPECT_TRUE(script.shown()[0].text.contains(QStringLiteral("/nonexistent/ttyModem")));
    EXPECT_FALSE(form->findChild<platform::Comm *>(QStringLiteral("Comm1"))->commPortOpen());
    EXPECT_TRUE(form->findChild<QPushButton *>(QStringLiteral("cmdDial"))->isEnabled());
    EXPECT_EQ(platform::mousePointer(), platform::MousePointer::Default);
}

TEST_F(DialingTest, SettingsWindowChoosesTheStoredPortAndSavesOnlyAChosenOne)
{
    const struct {
        QString stored;
        int row;
    } loads[] = {{"COM3", 2}, {"COM9", 8}, {"COM0", -1}, {"", -1}};
    for (const auto &c : loads) {
        settings(c.stored, QStringLiteral("9,"));
        CommSettingsForm window;
        window.load();
        EXPECT_EQ(window.findChild<QListWidget *>(QStringLiteral("lbCommPort"))->currentRow(), c.row)
            << c.stored.toStdString();
        EXPECT_EQ(window.findChild<QLineEdit *>(QStringLiteral("txtDialingPrefix"))->text(), QStringLiteral("9,"));
    }

    settings(QStringLiteral("COM0"), QStringLiteral("9,"));
    {
        CommSettingsForm window;
        window.load();
        window.findChild<QLineEdit *>(QStringLiteral("txtDialingPrefix"))->setText(QStringLiteral("*70,"));
        window.cmdSave_Click(); // no port chosen: closes, keeps the row
        EXPECT_TRUE(window.isUnloaded());
    }
    EXPECT_EQ(stored(QStringLiteral("Setting1")), QStringLiteral("9,"));
    {
        CommSettingsForm window;
        window.load();
        window.findChild<QListWidget *>(QStringLiteral("lbCommPort"))->setCurrentRow(5);
        window.findChild<QLineEdit *>(QStringLiteral("txtDialingPrefix"))->setText(QStringLiteral("*70,"));
        window.cmdCancel_Click();
    }
    EXPECT_EQ(stored(QStringLiteral("Name")), QStringLiteral("COM0"));
    {
        CommSettingsForm window;
        window.load();
        window.findChild<QListWidget *>(QStringLiteral("lbCommPort"))->setCurrentRow(5);
        window.findChild<QLineEdit *>(QStringLiteral("txtDialingPrefix"))->setText(QStringLiteral("*70,"));
        window.cmdSave_Click();
    }
    EXPECT_EQ(stored(QStringLiteral("Name")), QStringLiteral("COM6"));
    EXPECT_EQ(stored(QStringLiteral("Setting1")), QStringLiteral("*70,"));
    EXPECT_TRUE(script.shown().empty());
}

TEST_F(DialingTest, MissingSettingsRowIsReportedAndNeverAdded)
{
    gDb->execute(QStringLiteral("Delete * from tblSettings Where Type='COMMSETTINGS'"));
    script.answerMessage(platform::vbOK).answerMessage(platform::vbOK);
    CommSettingsForm window;
    window.load();
    EXPECT_EQ(window.findChild<QListWidget *>(QStringLiteral("lbCommPort"))->count(), 9);
    window.findChild<QListWidget *>(QStringLiteral("lbCommPort"))->setCurrentRow(1);
    window.cmdSave_Click();
    ASSERT_EQ(script.shown().size(), 2u);
    EXPECT_EQ(script.shown()[1].title, QStringLiteral("Error"));
    EXPECT_TRUE(script.shown()[1].text.contains(QStringLiteral("nothing was saved")));
    EXPECT_FALSE(window.isUnloaded());
    EXPECT_EQ(gDb->openRecordset(QStringLiteral("Select * from tblSettings Where Type='COMMSETTINGS'"))->recordCount(), 0);
}

// A control character is refused before the port opens, naming its field; one the port lacks goes as "?" on Yes.
TEST_F(DialingTest, NoControlCharacterIsSentAndCharactersThePortLacksAreTold)
{
    modem = std::make_unique<PseudoModem>();
    ComEnvironment com(2, modem->slavePath());
    const QString refused[][3] = {{"9,", "555-0100\rATS0=1\nATH1", "The number in Phone1 (Home) holds a control"},
                                  {"9,\r", "555-0100", "The dialing prefix holds a control character"},
                                  // Ones a message could not show are named by their codes.
                                  {"", QStringLiteral("555\u2028ATS0=1\u200E\u2002"),
                                   "The number in Phone1 (Home) holds characters the modem port cannot carry: "
                                   "U+2028 U+200E U+2002."},
                                  // Ones that do not show are named though the port carries them.
                                  {"", QStringLiteral("555\u00AD0100\u200B"),
                                   "The number in Phone1 (Home) holds characters that do not show on "
                                   "the screen: U+00AD.  "},
                                  {"", QStringLiteral("555 ÉXT ٣٤"), "The number in Phone1 (Home) holds characters "
                                                                    "the modem port cannot carry: ٣ ٤."}};
    for (const auto &[prefix, number, told] : refused) {
        settings(QStringLiteral("COM2"), prefix);
        openDialing({"Home"}, {number});
        script.answerMessage(platform::vbNo);
        choose(0);
        form->cmdDial_Click();
        EXPECT_TRUE(script.shown().back().text.startsWith(told)) << script.shown().back().text.toStdString();
    }
    EXPECT_TRUE(allReceived().isEmpty());
    script.answerMessage(platform::vbYes).onModal(QStringLiteral("MsgForm"), [](QWidget *w) { w->close(); });
    form->cmdDial_Click();
    EXPECT_EQ(allReceived(), QByteArray("555 \xC9XT ??;\r+++ATH0\r"));
}

// Closed from its title bar during the hang-up, the window goes, and the modem still gets the
// whole of it before the port closes; nothing is told.
TEST_F(DialingTest, TheHangUpEndsWholeWhenTheWindowIsClosedDuringIt)
{
    modem = std::make_unique<PseudoModem>();
    ComEnvironment com(4, modem->slavePath());
    settings(QStringLiteral("COM4"), QString());
    openDialing({"Home"}, {"555-0100"});
    script.onModal(QStringLiteral("MsgForm"), [](QWidget *w) { w->close(); });
    closeAt = 500;
    choose(0);
    form->cmdDial_Click();
    EXPECT_TRUE(form->isUnloaded());
    EXPECT_EQ(allReceived(), QByteArray("555-0100;\r+++ATH0\r"));
    EXPECT_FALSE(form->findChild<platform::Comm *>(QStringLiteral("Comm1"))->commPortOpen());
    EXPECT_EQ(script.shown().size(), 1u);
}
