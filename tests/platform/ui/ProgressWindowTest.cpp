#include "platform/ui/ProgressWindow.h"

#include "platform/base/Clock.h"

#include <QApplication>
#include <QProgressDialog>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

using platform::ProgressWindow;

QProgressDialog *shownWindow()
{
    for (QWidget *top : QApplication::topLevelWidgets()) {
        if (top->objectName() == QStringLiteral("ProgressWindow"))
            return qobject_cast<QProgressDialog *>(top);
    }
    return nullptr;
}

// A short task shows nothing; a longer one shows how far it has come, modal, and the
// window's Cancel stops it at the next report. The window goes with the task.
TEST(ProgressWindowTest, ShowsOnceTheTaskLastsAndCancelStopsIt)
{
    QDateTime time(QDate(2026, 3, 1), QTime(8, 0));
    platform::setClockForTesting([&] { return time; });
    {
        ProgressWindow window(QStringLiteral("Phone List"), 10);
        QProgressDialog *dialog = shownWindow();
        ASSERT_NE(dialog, nullptr);
        time = time.addMSecs(ProgressWindow::EventInterval);
        EXPECT_TRUE(window.report(1, QStringLiteral("1 of 10")));
        EXPECT_FALSE(dialog->isVisible());

        time = time.addMSecs(ProgressWindow::ShowAfter);
        EXPECT_TRUE(window.report(4, QStringLiteral("4 of 10")));
        EXPECT_TRUE(dialog->isVisible() && dialog->isModal());
        EXPECT_EQ(dialog->labelText(), "4 of 10");
        EXPECT_EQ(dialog->value(), 4);

        QTest::mouseClick(dialog->findChild<QPushButton *>(), Qt::LeftButton);
        time = time.addMSecs(ProgressWindow::EventInterval);
        EXPECT_FALSE(window.report(5, QStringLiteral("5 of 10")));
    }
    EXPECT_EQ(shownWindow(), nullptr);
    platform::setClockForTesting({});
}

} // namespace
