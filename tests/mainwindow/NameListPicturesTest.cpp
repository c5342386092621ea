#include "MainWindowFixture.h"

#include "pictures/Pics3.h"
#include "platform/ui/Twips.h"

#include <QDir>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

namespace {

class PicturePanelTest : public MainWindowFixture {
  protected:
    NameList &startWithPictures()
    {
        prepare(0);
        before("INSERT INTO tblContacts (FirstName, LastName, PicturePath1, Selected) VALUES ('Ann', 'Able', "
               "'ann.png', ' ')");
        before("INSERT INTO tblContacts (FirstName, LastName, Selected) VALUES ('Bob', 'Baker', ' ')");
        const QString pictures = program.folder().filePath("Pictures");
        QDir().mkpath(pictures);
        QImage image(40, 30, QImage::Format_RGB32);
        image.fill(Qt::red);
        EXPECT_TRUE(image.save(pictures + "/ann.png", "PNG"));
        return start();
    }
    static double left(const QWidget *w) { return platform::pixelsToTwipsX(w->frameGeometry().x()); }
};

} // namespace

TEST_F(PicturePanelTest, TheButtonShowsAndHidesThePanelThatFollowsTheCurrentRow)
{
    NameList &w = startWithPictures();
    ASSERT_NE(Pics3::loadedInstance(), nullptr) << "the first row change made the panel, hidden";
    Pics3 &panel = *Pics3::loadedInstance();
    EXPECT_FALSE(panel.isVisible());
    EXPECT_EQ(panel.windowTitle(), "Ann Able");

    w.button("cmdPictures")->click();
    EXPECT_TRUE(panel.isVisible());
    EXPECT_FALSE(panel.Image1->pixmap().isNull());

    shown(w).moveNext();
    QCoreApplication::processEvents();
    EXPECT_EQ(panel.windowTitle(), "Bob Baker");
    EXPECT_TRUE(panel.Image1->pixmap().isNull());

    w.button("cmdPictures")->click();
    EXPECT_FALSE(panel.isVisible());
}

TEST_F(PicturePanelTest, TheMainWindowMakesRoomWhenThePanelStandsAtTheScreensEdge)
{
    NameList &w = startWithPictures();
    platform::moveWindowTwips(&w, 2000, 300);
    w.button("cmdPictures")->click();
    Pics3 &panel = *Pics3::loadedInstance();
    ASSERT_EQ(left(&panel), 0);
    EXPECT_NEAR(left(&w), platform::windowWidthTwips(&panel) + 1, platform::pixelsToTwipsX(1));
}

TEST_F(PicturePanelTest, AMaximisedMainWindowBecomesNormalBesideThePanel)
{
    NameList &w = startWithPictures();
    w.showMaximized();
    QCoreApplication::processEvents();
    w.button("cmdPictures")->click();
    QCoreApplication::processEvents();
    Pics3 &panel = *Pics3::loadedInstance();
    EXPECT_FALSE(w.windowState() & Qt::WindowMaximized);
    EXPECT_EQ(panel.frameGeometry().topLeft(), QPoint(0, 0));
    EXPECT_NEAR(left(&w), platform::windowWidthTwips(&panel), platform::pixelsToTwipsX(2));
    EXPECT_NEAR(platform::windowHeightTwips(&w), platform::screenHeightTwips() - 600, platform::pixelsToTwipsY(2));
}

TEST_F(PicturePanelTest, ClosingTheProgramClosesAnEnlargedPanel)
{
    NameList &w = startWithPictures();
    w.button("cmdPictures")->click();
    Pics3 &panel = *Pics3::loadedInstance();
    panel.Image1_DblClick();
    ASSERT_TRUE(panel.enlarged());
    StartedProgram::closeWindow();
    EXPECT_EQ(Pics3::loadedInstance(), nullptr);
}

// Shown, the panel leaves the keys with the main window; made active (a click), it holds the
// focus itself, Tab and Shift+Tab go back to the main window, the main window's access keys
// work from it, and Escape closes it as its title bar does.
TEST_F(PicturePanelTest, TheKeyboardLeavesThePanelAndReachesTheMainWindowFromIt)
{
    NameList &w = startWithPictures();
    w.button("cmdPictures")->click();
    QCoreApplication::processEvents();
    Pics3 &panel = *Pics3::loadedInstance();
    EXPECT_EQ(QApplication::activeWindow(), &w);
    const auto press = [&](Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QApplication::setActiveWindow(&panel);
        EXPECT_EQ(QApplication::focusWidget(), &panel);
        QTest::keyClick(&panel, key, modifiers);
        QCoreApplication::processEvents();
    };
    for (const auto &[key, modifiers] :
         {std::pair{Qt::Key_Tab, Qt::NoModifier}, {Qt::Key_Backtab, Qt::ShiftModifier}}) {
        press(key, modifiers);
        EXPECT_EQ(QApplication::activeWindow(), &w);
    }
    script.onModal("NameEdit", [](QWidget *editor) { DialogScript::click(editor, "cmdCancel"); });
    press(Qt::Key_V, Qt::AltModifier); // View/Edit of the main window
    EXPECT_EQ(script.shown(platform::DialogKind::ModalForm).size(), 1u);

    panel.Image1_DblClick();
    press(Qt::Key_Escape);
    EXPECT_TRUE(panel.isVisible() && !panel.enlarged());
    press(Qt::Key_Escape);
    EXPECT_EQ(Pics3::loadedInstance(), nullptr);
    EXPECT_EQ(QApplication::activeWindow(), &w);
}
