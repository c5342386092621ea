#include "printing/ReportRun.h"
#include "printing/ReportRunWatch.h"
#include "support/DialogScript.h"

#include "platform/ui/MousePointer.h"
#include "platform/ui/MsgBox.h"

#include <QCloseEvent>
#include <QAbstractItemView>
#include <QCompleter>
#include <QKeyEvent>
#include <QStringListModel>
#include <QWindow>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <vector>

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
        // Each click and key refused is told, never dropped without a word.
        DialogScript script;
        QTest::mouseClick(button, Qt::LeftButton);
        QTest::keyClicks(edit, QStringLiteral("ab"));
        QTest::mouseClick(next, Qt::LeftButton);
        EXPECT_EQ(clicks, 0);
        EXPECT_EQ(edit->text(), QString());
        EXPECT_EQ(nextClicks, 1);
        ASSERT_EQ(script.shown().size(), 3u);
        // The preview is on screen: closing it stops the report.
        EXPECT_EQ(script.shown()[0].text, ReportRunWatch::runningMessage(true));
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

TEST(ReportRunTest, PopUpsOfADialogShownDuringARunTakeInput)
{
    QWidget main;
    main.show();
    // The save dialog a report opens before it draws, with its folder completion.
    QWidget dialog;
    dialog.setWindowModality(Qt::ApplicationModal);
    auto *path = new QLineEdit(&dialog);
    auto *completer = new QCompleter(QStringList{"apple", "apricot", "banana"}, path);
    path->setCompleter(completer);
    dialog.show();
    ReportRun run;

    QTest::keyClicks(path, QStringLiteral("apr"));
    ASSERT_TRUE(completer->popup()->isVisible());
    // Keys go to the list: letters it hands on to the path, arrows move within it,
    // Escape closes it.
    QTest::keyClicks(completer->popup(), QStringLiteral("i"));
    EXPECT_EQ(path->text(), "apri");
    QTest::keyClick(completer->popup(), Qt::Key_Down);
    EXPECT_EQ(completer->popup()->currentIndex().data().toString(), "apricot");
    QTest::keyClick(completer->popup(), Qt::Key_Escape);
    EXPECT_FALSE(completer->popup()->isVisible());

    // A window of the dialog's own (a pop-up child, or one the window system keeps
    // above it) takes keys and clicks as well.
    QWidget child(&dialog, Qt::Popup);
    auto *childEdit = new QLineEdit(&child);
    child.show();
    QTest::keyClicks(childEdit, QStringLiteral("x"));
    EXPECT_EQ(childEdit->text(), "x");
    child.hide();
    QWidget tool(nullptr, Qt::Tool);
    auto *toolButton = new QPushButton(QStringLiteral("Up"), &tool);
    int toolClicks = 0;
    QObject::connect(toolButton, &QPushButton::clicked, [&] { ++toolClicks; });
    tool.winId();
    tool.windowHandle()->setTransientParent(dialog.windowHandle());
    tool.show();
    QTest::mouseClick(toolButton, Qt::LeftButton);
    EXPECT_EQ(toolClicks, 1);
}

TEST(ReportRunTest, AReportIsStoppedOnlyWhileItRuns)
{
    // A stop asked when nothing runs does not reach the next report.
    ReportRunWatch::instance().requestStop();
    int records = 0;
    ReportRun::draw([&](ReportRun &run) {
        for (; records < 5; ++records)
            run.letEventsRun();
    });
    EXPECT_EQ(records, 5);

    // Asked during a run, the report ends at its next event run, quietly.
    ReportRun::setEventIntervalForTesting(0);
    records = 0;
    ReportRun::draw([&](ReportRun &run) {
        for (; records < 5; ++records) {
            if (records == 2)
                QTimer::singleShot(0, [] { ReportRunWatch::instance().requestStop(); });
            run.letEventsRun();
        }
    });
    ReportRun::setEventIntervalForTesting(20);
    EXPECT_EQ(records, 2);
    EXPECT_FALSE(ReportRun::running());
}

// A report shows the hourglass from its start; however it ends, the arrow comes back.
TEST(ReportRunTest, TheHourglassEndsWithTheWalkTheStopTheFailureOrTheRun)
{
    using platform::MousePointer;
    ASSERT_EQ(platform::mousePointer(), MousePointer::Default);
    std::vector<MousePointer> during;
    const auto busyReport = [&](const std::function<void(ReportRun &)> &end) {
        ReportRun::draw([&](ReportRun &run) {
            run.showBusy();
            run.showBusy(); // shown again while it shows
            during.push_back(platform::mousePointer());
            end(run);
        });
        EXPECT_EQ(platform::mousePointer(), MousePointer::Default);
    };
    busyReport([](ReportRun &run) { run.endWalk(); });
    busyReport([](ReportRun &) { throw ReportStopped(); });
    busyReport([](ReportRun &) {}); // a report that returns without ending its walk

    DialogScript script;
    script.answerMessage(platform::vbOK);
    busyReport([](ReportRun &) { throw std::runtime_error("printer gone"); });
    EXPECT_EQ(during, std::vector<MousePointer>(4, MousePointer::Hourglass));
    ASSERT_EQ(script.shown().size(), 1u);
    EXPECT_EQ(script.shown()[0].text, "printer gone");
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
