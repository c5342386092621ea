#include "support/DialogScript.h"

#include "helpers/About.h"
#include "helpers/Splash.h"
#include "helpers/frmHelp.h"
#include "platform/ui/MousePointer.h"
#include "platform/ui/Twips.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <gtest/gtest.h>

TEST(AboutWindow, ShowsVersionAndClosesOnOk)
{
    DialogScript script;
    script.onModal("About", [](QWidget *w) {
        EXPECT_EQ(w->windowTitle(), "About Quiltern");
        EXPECT_EQ(w->findChild<QLabel *>("Label1")->text(), "Version 3.06");
        EXPECT_FALSE(w->findChild<QLabel *>("lblAuthorInfo")->text().isEmpty());
        EXPECT_FALSE(w->findChild<QLabel *>("Image1")->pixmap().isNull());
        EXPECT_EQ(w->findChild<QPushButton *>("Command1")->text(), "OK");
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        EXPECT_NEAR(w->x(), (screen.width() - w->frameGeometry().width()) / 2, 1);
        EXPECT_NEAR(w->y(), (screen.height() - w->frameGeometry().height()) / 2, 1);
        DialogScript::click(w, "Command1");
    });
    About &about = About::instance();
    about.showModal();
    EXPECT_TRUE(about.isUnloaded());
    EXPECT_NE(&About::instance(), &about) << "the next opening is a fresh window";
    About::instance().unload();
}

TEST(HelpWindow, ShowsWhatTheCallerPutInAndResetsThePointer)
{
    DialogScript script;
    platform::setMousePointer(platform::MousePointer::Hourglass);
    script.onModal("frmHelp", [](QWidget *w) {
        EXPECT_EQ(platform::mousePointer(), platform::MousePointer::Default);
        EXPECT_EQ(w->windowTitle(), "Help");
        EXPECT_EQ(w->findChild<QLabel *>("lblHeading1")->text(), "Print Preview");
        EXPECT_EQ(w->findChild<QLabel *>("lblBody1")->text(), "Use the arrows to turn pages.");
        auto *ok = w->findChild<QPushButton *>("OKButton");
        EXPECT_EQ(ok->text(), "&OK");
        EXPECT_EQ(ok->toolTip(), "Closes this window.");
        DialogScript::click(w, "OKButton");
    });
    frmHelp &help = frmHelp::instance();
    help.lblHeading1->setText("Print Preview");
    help.lblBody1->setText("Use the arrows to turn pages.");
    help.showModal(&help);
    EXPECT_TRUE(help.isUnloaded());
    EXPECT_TRUE(frmHelp::instance().lblHeading1->text().isEmpty());
    frmHelp::instance().unload();
}

TEST(HelpWindow, LayoutInTwips)
{
    frmHelp &help = frmHelp::instance();
    EXPECT_EQ(help.size(), QSize(platform::twipsToPixelsX(9636), platform::twipsToPixelsY(6936)));
    EXPECT_EQ(help.OKButton->geometry().topLeft(),
              QPoint(platform::twipsToPixelsX(4230), platform::twipsToPixelsY(6390)));
    EXPECT_TRUE(help.lblHeading1->font().bold());
    EXPECT_EQ(help.lblHeading1->palette().color(QPalette::WindowText), QColor(0, 0, 0x80));
    help.unload();
}

TEST(SplashWindow, ClosesOnTheFirstTickThreeSecondsAfterLoading)
{
    DialogScript script;
    Splash &splash = Splash::instance();
    EXPECT_EQ(splash.Timer1->interval(), 3000);
    EXPECT_TRUE(splash.Timer1->isActive());
    EXPECT_FALSE(splash.Label1->text().isEmpty());
    splash.showModeless();
    EXPECT_TRUE(splash.isVisible());
    splash.Timer1_Timer();
    EXPECT_TRUE(splash.isUnloaded());
    EXPECT_FALSE(splash.isVisible());
    EXPECT_FALSE(splash.Timer1->isActive());
}
