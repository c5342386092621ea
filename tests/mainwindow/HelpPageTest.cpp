#include "MainWindowFixture.h"

#include "platform/ui/ProgramFolder.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>

namespace {

// The page as the build places it beside the program.
QString builtPage()
{
    return QDir(QStringLiteral(QUILTERN_PROGRAM_DIR)).filePath(QStringLiteral("Quiltern.htm"));
}

QString pageText()
{
    QFile file(builtPage());
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

QStringList matches(const QString &text, const QString &pattern)
{
    QStringList found;
    for (const QRegularExpressionMatch &m : QRegularExpression(pattern).globalMatch(text))
        found << m.captured(1);
    return found;
}

// The words a reader sees: no tags, one blank between words.
QString readerText(QString page)
{
    page.remove(QRegularExpression(QStringLiteral("<[^>]*>")));
    return page.simplified();
}

class HelpPageTest : public MainWindowFixture {};

TEST_F(HelpPageTest, TheHelpCommandsOpenThePageTheBuildPlacesBesideTheProgram)
{
    prepare(1);
    NameList &w = start();
    platform::setProgramFolderForTesting(QStringLiteral(QUILTERN_PROGRAM_DIR));
    w.menuItem("HelpSystem")->trigger();
    w.button("cmdHelp")->click();
    platform::setProgramFolderForTesting(program.folder().path());

    EXPECT_TRUE(script.shown().empty()) << "no \"cannot be found\" box";
    ASSERT_EQ(script.shellCalls().size(), 2u);
    for (const platform::DialogRequest &call : script.shellCalls()) {
        EXPECT_EQ(call.kind, platform::DialogKind::OpenDocument);
        EXPECT_EQ(call.text, builtPage());
    }
}

TEST(HelpPage, HasATitleAndItsLinksStayOnThePage)
{
    const QString page = pageText();
    ASSERT_FALSE(page.isEmpty()) << builtPage().toStdString();
    EXPECT_TRUE(page.startsWith(QStringLiteral("<!DOCTYPE html>")));
    EXPECT_FALSE(matches(page, QStringLiteral("<title>\\s*(\\S[^<]*)</title>")).isEmpty());

    const QStringList ids = matches(page, QStringLiteral("\\sid=\"([^\"]+)\""));
    EXPECT_EQ(QSet<QString>(ids.begin(), ids.end()).size(), ids.size()) << "an anchor named twice";
    const QStringList links = matches(page, QStringLiteral("href=\"([^\"]*)\""));
    EXPECT_FALSE(links.isEmpty());
    for (const QString &link : links) {
        EXPECT_TRUE(link.startsWith(u'#') && ids.contains(link.mid(1))) << link.toStdString();
    }
    // Any browser shows it as it is, offline: nothing runs and nothing is fetched.
    for (const char *pattern : {"<script", "\\ssrc=", "<link", "url\\(", "@import", "<iframe", "<object"})
        EXPECT_FALSE(page.contains(QRegularExpression(QLatin1String(pattern),
                                                      QRegularExpression::CaseInsensitiveOption)))
            << pattern;
}

TEST_F(HelpPageTest, NamesEveryMenuItemAndButtonOfTheMainWindowByItsCaption)
{
    prepare(1);
    NameList &w = start();
    const QString page = readerText(pageText());
    QStringList captions;
    for (QMenu *menu : w.findChildren<QMenu *>()) {
        for (QAction *item : menu->actions()) {
            // The printing-service export is told by what it writes, not by the service's name.
            if (item->isVisible() && !item->isSeparator() && item->objectName() != "ExportVistaprint")
                captions << item->text();
        }
    }
    for (QPushButton *button : w.findChildren<QPushButton *>())
        captions << button->text();
    ASSERT_GT(captions.size(), 60);
    for (QString caption : captions) {
        caption.remove(u'&');
        if (!caption.isEmpty()) {
            EXPECT_TRUE(page.contains(caption)) << caption.toStdString();
        }
    }
}

} // namespace
