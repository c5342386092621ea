#include "platform/ui/ButtonCaption.h"

#include <QPushButton>
#include <gtest/gtest.h>

TEST(ButtonCaption, NarrowButtonGrowsToItsCaptionAndAWideOneKeepsItsSize)
{
    QPushButton narrow(QStringLiteral("P&revious Page"));
    narrow.setGeometry(10, 20, 30, 40);
    platform::widenToCaption(&narrow);
    const int caption = narrow.fontMetrics().horizontalAdvance(QStringLiteral("Previous Page"));
    EXPECT_GE(narrow.width(), caption + 12);
    EXPECT_LE(narrow.width(), caption + 20) << "the access-key marker takes no room";
    EXPECT_EQ(narrow.pos(), QPoint(10, 20)) << "it grows to the right";
    EXPECT_EQ(narrow.height(), 40);

    QPushButton wide(QStringLiteral("OK"));
    wide.setGeometry(0, 0, 300, 25);
    platform::widenToCaption(&wide);
    EXPECT_EQ(wide.size(), QSize(300, 25));
}
