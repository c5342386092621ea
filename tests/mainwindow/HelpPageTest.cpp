#include "MainWindowFixture.h"

#include "platform/ui/ProgramFolder.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>

namespace {

class HelpPageTest : public MainWindowFixture {};

// Both Help commands hand the page the build places beside the program to the shell; the
// page names every command of the main window by its caption, and its links stay on it.
TEST_F(HelpPageTest, BothHelpCommandsOpenTheBuiltPageWhichNamesEveryMenuItemAndLinksWithinItself)
{
    prepare(1);
    NameList &w = start();
    const QString built = QDir(QStringLiteral(QUILTERN_PROGRAM_DIR)).filePath(QStringLiteral("Quiltern.htm"));
    platform::setProgramFolderForTesting(QStringLiteral(QUILTERN_PROGRAM_DIR));
    w.menuItem("HelpSystem")->trigger();
    w.button("cmdHelp")->click();
    platform::setProgramFolderForTesting(program.folder().path());
    EXPECT_TRUE(script.shown().empty()) << "no \"cannot be found\" box";
    ASSERT_EQ(script.shellCalls().size(), 2u);
    for (const platform::DialogRequest &call : script.shellCalls())
        EXPECT_EQ(call.text, built);

    QFile file(built);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString page = QString::fromUtf8(file.readAll());
    const QString words = QString(page).remove(QRegularExpression(QStringLiteral("<[^>]*>"))).simplified();
    QStringList captions;
    for (QMenu *menu : w.findChildren<QMenu *>())
        for (QAction *item : menu->actions())
            // The printing-service export is told by what it writes, not by the service's name.
            if (item->isVisible() && !item->isSeparator() && item->objectName() != "ExportVistaprint")
                captions << item->text().remove(u'&');
    ASSERT_GT(captions.size(), 50);
    for (const QString &caption : captions)
        EXPECT_TRUE(words.contains(caption)) << caption.toStdString();
    for (const auto &link : QRegularExpression(QStringLiteral("href=\"#([^\"]*)\"")).globalMatch(page))
        EXPECT_TRUE(page.contains(" id=\"" + link.captured(1) + '"')) << link.captured(1).toStdString();
    EXPECT_FALSE(page.contains(QRegularExpression(QStringLiteral("href=\"[^#]")))) << "a link off the page";
}

} // namespace
