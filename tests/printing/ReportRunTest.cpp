#include "printing/ReportRun.h"
#include "printing/ReportRunWatch.h"

#include <QCloseEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

TEST(ReportRunTest, OnlyOneReportRunsAtATime)
{
    EXPECT_FALSE(ReportRun::running());
    {
        ReportRun first;
        EXPECT_TRUE(first.started());
        EXPECT_TRUE(ReportRun::running());
        ReportRun second;
        EXPECT_FALSE(second.started());
        EXPECT_TRUE(ReportRun::running());
    }
    EXPECT_FALSE(ReportRun::running());
    ReportRun again;
    EXPECT_TRUE(again.started());
    again.finish();
    EXPECT_FALSE(ReportRun::running());
}

TEST(ReportRunTest, OtherWindowsGetNoInputWhileAReportRuns)
{
    QWidget main;
    auto *button = new QPushButton(QStringLiteral("Sort"), &main);
    auto *edit = new QLineEdit(&main);
    edit->move(0, 40);
    int clicks = 0;
    QObject::connect(button, &QPushButton::clicked, [&] { ++clicks; });
    QWidget preview;
    auto *next = new QPushButton(QStringLiteral("Next"), &preview);
    int nextClicks = 0;
    QObject::connect(next, &QPushButton::clicked, [&] { ++nextClicks; });
    main.show();
    preview.show();
    ReportRunWatch::instance().setPreviewWindow(&preview);
    {
        ReportRun run;
        QTest::mouseClick(button, Qt::LeftButton);
        QTest::keyClicks(edit, QStringLiteral("abc"));
        QTest::mouseClick(next, Qt::LeftButton);
        EXPECT_EQ(clicks, 0);
        EXPECT_EQ(edit->text(), QString());
        EXPECT_EQ(nextClicks, 1);
        // Closing the main window mid-run is held back too.
        EXPECT_FALSE(main.close());
        EXPECT_TRUE(main.isVisible());
    }
    QTest::mouseClick(button, Qt::LeftButton);
    QTest::keyClicks(edit, QStringLiteral("abc"));
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(edit->text(), "abc");
    EXPECT_TRUE(main.close());
    ReportRunWatch::instance().setPreviewWindow(nullptr);
}

TEST(ReportRunTest, ModalWindowsShownDuringARunStillTakeInput)
{
    QWidget dialog;
    dialog.setWindowModality(Qt::ApplicationModal);
    auto *ok = new QPushButton(QStringLiteral("OK"), &dialog);
    int clicks = 0;
    QObject::connect(ok, &QPushButton::clicked, [&] { ++clicks; });
    dialog.show();
    ReportRun run;
    QTest::mouseClick(ok, Qt::LeftButton);
    EXPECT_EQ(clicks, 1);
}

TEST(ReportRunTest, WindowsHearWhenARunBeginsAndEnds)
{
    std::vector<bool> heard;
    QObject receiver;
    QObject::connect(&ReportRunWatch::instance(), &ReportRunWatch::runningChanged, &receiver,
                     [&](bool running) { heard.push_back(running); });
    {
        ReportRun run;
        ReportRun refused;
    }
    EXPECT_EQ(heard, (std::vector<bool>{true, false}));
}

} // namespace
