#include "mainwindow/MainWindowFixture.h"
#include "platform/ui/MsgBox.h"
#include "support/PseudoModem.h"

#include <QListWidget>
#include <QPushButton>

namespace {

class DialingFromWindowsTest : public MainWindowFixture {
  protected:
    void SetUp() override { qputenv("QUILTERN_COM2", modem.slavePath().toLocal8Bit()); }
    void TearDown() override
    {
        qunsetenv("QUILTERN_COM2");
        MainWindowFixture::TearDown();
    }

    // Chooses a line of the dialling window, dials, dismisses the message, closes.
    void dialLine(int row, QStringList *listed = nullptr)
    {
        script.onModal("DialingForm", [this, row, listed](QWidget *d) {
            auto *lines = d->findChild<QListWidget *>("lbPhoneChoice");
            if (listed)
                for (int i = 0; i < lines->count(); ++i)
                    *listed << lines->item(i)->text();
            lines->setCurrentRow(row);
            script.onModal("MsgForm", [](QWidget *m) { QTest::mouseClick(m, Qt::LeftButton); });
            DialogScript::click(d, "cmdDial");
            DialogScript::click(d, "cmdExit");
        });
    }

    PseudoModem modem;
};

} // namespace

TEST_F(DialingFromWindowsTest, MainListDialsTheCurrentRowThroughTheStoredPort)
{
    prepare(0);
    before("Update tblSettings Set Name='COM2', Setting1='1' Where Type='COMMSETTINGS'");
    before("INSERT INTO tblContacts (LastName, Phone3_Desc, Phone3, Selected) VALUES ('Lee', 'Cell', ' 555 ', ' ')");
    NameList &w = start();
    QStringList listed;
    dialLine(2, &listed);
    w.button("cmdDial")->click();
    EXPECT_EQ(script.pending(), 0u);
    ASSERT_EQ(listed.size(), 6);
    EXPECT_EQ(listed[2], QStringLiteral("Cell") + QString(17, ' ') + "555");
    EXPECT_EQ(modem.received(), QByteArray("1555;\r+++ATH0\r"));
    EXPECT_FALSE(gEditor.gDialFromList);
}

TEST_F(DialingFromWindowsTest, EmptyListIsToldThereIsNothingToDial)
{
    prepare(0);
    NameList &w = start();
    script.answerMessage(platform::vbOK);
    w.button("cmdDial")->click();
    ASSERT_EQ(script.shown(platform::DialogKind::Message).size(), 1u);
    EXPECT_EQ(script.shown(platform::DialogKind::Message)[0].text,
              QStringLiteral("There are no records displayed for dialing."));
    EXPECT_TRUE(modem.received().isEmpty());
}

TEST_F(DialingFromWindowsTest, EditorDialsTheNumberAsTypedAndUnsaved)
{
    prepare(0);
    before("Update tblSettings Set Name='COM2', Setting1='' Where Type='COMMSETTINGS'");
    before("INSERT INTO tblContacts (LastName, Phone1, Selected) VALUES ('Lee', '111', ' ')");
    NameList &w = start();
    script.onModal("NameEdit", [this](QWidget *e) {
        DialogScript::setText(e, "txtPhone1", "222");
        dialLine(0);
        DialogScript::click(e, "ImagePhone");
        script.answerMessage(platform::vbYes); // lose the typed number
        DialogScript::click(e, "cmdCancel");
    });
    w.button("cmdEdit")->click();
    EXPECT_EQ(modem.received(), QByteArray("222;\r+++ATH0\r"));
    EXPECT_EQ(count("Select Count(*) from tblContacts Where Phone1='111'"), 1);
}
