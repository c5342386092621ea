#include "support/DialogScript.h"

#include "helpers/URLLink.h"
#include "helpers/URLLinkYellow.h"
#include "platform/ui/MousePointer.h"
#include "platform/ui/MsgBox.h"

#include <QLabel>
#include <QTest>
#include <gtest/gtest.h>

using platform::DialogKind;

TEST(LinkLabel, LeftClickRaisesGoToUrlThenOpensTheAddress)
{
    DialogScript script;
    URLLink link;
    link.setURL("https://example.org/club");
    QStringList seen;
    QObject::connect(&link, &URLLink::GoToURL, [&](QString &url, bool &cancel) {
        seen << url;
        EXPECT_FALSE(cancel);
        EXPECT_TRUE(script.shellCalls().empty()) << "raised before the opening";
    });
    QTest::mouseClick(link.lblURL, Qt::LeftButton);
    EXPECT_EQ(seen, QStringList({"https://example.org/club"}));
    ASSERT_EQ(script.shellCalls().size(), 1u);
    EXPECT_EQ(script.shellCalls()[0].kind, DialogKind::OpenLink);
    EXPECT_EQ(script.shellCalls()[0].text, "https://example.org/club");
    EXPECT_EQ(platform::mousePointer(), platform::MousePointer::Default);
}

TEST(LinkLabel, OtherButtonsDoNothing)
{
    DialogScript script;
    URLLink link;
    int raised = 0;
    QObject::connect(&link, &URLLink::GoToURL, [&](QString &, bool &) { ++raised; });
    QTest::mouseClick(link.lblURL, Qt::RightButton);
    QTest::mouseClick(link.lblURL, Qt::MiddleButton);
    EXPECT_EQ(raised, 0);
    EXPECT_TRUE(script.shellCalls().empty());
}

TEST(LinkLabel, HandlerMayCancelOrChangeTheAddress)
{
    DialogScript script;
    URLLinkYellow link;
    link.setURL("https://example.org/");
    bool cancelNext = true;
    QObject::connect(&link, &URLLink::GoToURL, [&](QString &url, bool &cancel) {
        cancel = cancelNext;
        url = "mailto:club@example.org";
    });
    QTest::mouseClick(link.lblURL, Qt::LeftButton);
    EXPECT_TRUE(script.shellCalls().empty());
    cancelNext = false;
    QTest::mouseClick(link.lblURL, Qt::LeftButton);
    ASSERT_EQ(script.shellCalls().size(), 1u);
    EXPECT_EQ(script.shellCalls()[0].text, "mailto:club@example.org");
    EXPECT_EQ(link.URL(), "https://example.org/") << "the stored address is not changed";
}

TEST(LinkLabel, AnythingButAWebOrMailAddressIsReportedNotOpened)
{
    DialogScript script;
    script.answerMessage(platform::vbOK);
    URLLink link;
    link.setURL("/usr/bin/xterm");
    QTest::mouseClick(link.lblURL, Qt::LeftButton);
    EXPECT_TRUE(script.shellCalls().empty());
    ASSERT_EQ(script.shown().size(), 1u);
    EXPECT_EQ(script.shown()[0].text,
              "Unable to load '/usr/bin/xterm' : Only web and e-mail addresses can be opened. (Error 5)");
    EXPECT_EQ(script.shown()[0].buttons, platform::vbOKOnly);
    EXPECT_EQ(script.shown()[0].title, "Quiltern 3");
    EXPECT_EQ(platform::mousePointer(), platform::MousePointer::Default);
}

TEST(LinkLabel, TextSizesTheLabelAndTooltipFollowsTheFlag)
{
    URLLink link;
    link.resize(300, 40);
    link.setText("A much longer caption than before");
    const QFontMetrics metrics(link.lblURL->font());
    EXPECT_EQ(link.lblURL->geometry(),
              QRect(0, 0, metrics.horizontalAdvance("A much longer caption than before"), metrics.height()));
    EXPECT_EQ(link.size(), QSize(300, 40));
    EXPECT_TRUE(link.lblURL->font().underline());

    link.setURL("https://example.com/a");
    EXPECT_EQ(link.lblURL->toolTip(), "");
    link.setShowToolTip(true);
    EXPECT_EQ(link.lblURL->toolTip(), "https://example.com/a");
    link.setURL("https://example.com/b");
    EXPECT_EQ(link.lblURL->toolTip(), "https://example.com/b");
}

TEST(LinkLabel, DesignIsSavedWithoutDefaultsAndReadBack)
{
    URLLink fresh;
    QVariantMap empty;
    fresh.WriteProperties(empty);
    EXPECT_TRUE(empty.isEmpty());
    EXPECT_EQ(fresh.Text(), URLLink::DefaultText);
    EXPECT_FALSE(fresh.ShowToolTip());

    URLLink link;
    link.setText("Club page");
    link.setURL("https://club.example/");
    link.setShowToolTip(true);
    QVariantMap bag;
    link.WriteProperties(bag);
    EXPECT_EQ(bag.size(), 3);

    URLLink copy;
    copy.ReadProperties(bag);
    EXPECT_EQ(copy.Text(), "Club page");
    EXPECT_EQ(copy.URL(), "https://club.example/");
    EXPECT_TRUE(copy.ShowToolTip());
    EXPECT_EQ(copy.lblURL->toolTip(), "https://club.example/");
}

TEST(LinkLabel, UnreadableDesignGivesANewControlsValues)
{
    URLLink link;
    link.setText("Old");
    link.ReadProperties({{"Text", "Club"}, {"URL", "https://club.example/"}, {"ShowToolTip", "perhaps"}});
    EXPECT_EQ(link.Text(), URLLink::DefaultText);
    EXPECT_EQ(link.URL(), URLLink::DefaultURL);
    EXPECT_FALSE(link.ShowToolTip());
    link.ReadProperties({{"ShowToolTip", "True"}});
    EXPECT_TRUE(link.ShowToolTip());
    EXPECT_EQ(link.lblURL->toolTip(), URLLink::DefaultURL);
}

TEST(LinkLabel, YellowDiffersOnlyInItsBackground)
{
    URLLinkYellow yellow;
    URLLink plain;
    EXPECT_EQ(yellow.palette().color(QPalette::Window), QColor(0xFF, 0xFF, 0xC0));
    EXPECT_TRUE(yellow.autoFillBackground());
    EXPECT_FALSE(plain.autoFillBackground());
    EXPECT_EQ(yellow.Text(), plain.Text());
}
