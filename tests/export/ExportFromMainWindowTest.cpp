#include "mainwindow/MainWindowFixture.h"
#include "support/FileBytes.h"

#include "platform/ui/Clipboard.h"
#include "platform/ui/MsgBox.h"

#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>

namespace {

class ExportFromMainWindowTest : public MainWindowFixture {
  protected:
    void SetUp() override
    {
        prepare(0);
        for (const char *row : {"'Abel', 'Al', 'al@x.org', 'Salem'", "'Baker', 'Bo', 'bo@x.org', 'Austin'",
                                "'Cole', 'Cy', 'none', 'Boston'"})
            before(QStringLiteral("INSERT INTO tblContacts (LastName, FirstName, Email_Address, First_City, "
                                  "Selected) VALUES (%1, ' ')")
                       .arg(QLatin1String(row)));
    }
    QTemporaryDir out;
};

TEST_F(ExportFromMainWindowTest, EveryExportOfTheReportsMenuWritesItsFileAndTheListStaysPut)
{
    NameList &w = start();
    clickCell(w, 1, 1);
    ASSERT_EQ(current(w, "LastName").toString(), "Baker");
    struct Case {
        const char *item;
        const char *offered;
        int lines; // physical lines of the file
    };
    const Case cases[] = {{"Export", "NameOut.txt", 4},         {"ExportWithNotes", "NameOut.txt", 4},
                          {"ExportEmail", "NameOut.txt", 3},    {"ExportVistaprint", "VistaprintOut.csv", 4},
                          {"ExportReport1", "NameOut.txt", 12}, {"ExportReport2", "NameOut.txt", 9}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.item);
        QAction *item = w.menuItem(QString::fromLatin1(c.item));
        ASSERT_TRUE(item->isEnabled());
        const QString path = out.filePath(QString::fromLatin1(c.item));
        script.answerMessage(platform::vbYes).answerSaveFile(path).answerMessage(platform::vbOK);
        const std::size_t before = script.shown().size();
        item->trigger();
        ASSERT_EQ(script.shown().size(), before + 3);
        EXPECT_EQ(script.shown()[before + 1].fileName, QString::fromLatin1(c.offered));
        EXPECT_EQ(script.shown()[before + 2].title, "Export completed");
        EXPECT_EQ(readFileBytes(path).count("\r\n"), c.lines);
        EXPECT_EQ(current(w, "LastName").toString(), "Baker");
        EXPECT_EQ(Table1(w)->currentIndex().row(), 1);
    }
}

TEST_F(ExportFromMainWindowTest, TheClipboardButtonCopiesTheCurrentRowAndReturnsToTheLocateBox)
{
    NameList &w = start();
    clickCell(w, 2, 1);
    ASSERT_TRUE(w.menuItem("CopyClipboard")->isEnabled());
    w.button("cmdClipboard")->click();
    QCoreApplication::processEvents();
    EXPECT_EQ(platform::clipboardText(), "Cy Cole \r\nBoston \r\n");
    EXPECT_TRUE(txtLocate(w)->hasFocus());
    clickCell(w, 0, 1);
    w.menuItem("CopyClipboard")->trigger();
    EXPECT_EQ(platform::clipboardText(), "Al Abel \r\nSalem \r\n");
}

} // namespace
