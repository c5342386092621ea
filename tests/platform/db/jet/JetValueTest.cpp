#include "platform/db/jet/JetValue.h"

#include <gtest/gtest.h>

using namespace platform;

TEST(JetValue, DatesRoundTripInOneCanonicalForm)
{
    EXPECT_EQ(dateToStorage(QDateTime(QDate(2024, 12, 25), QTime(0, 0))), "2024-12-25");
    EXPECT_EQ(dateToStorage(QDateTime(QDate(2024, 12, 25), QTime(13, 5, 9))), "2024-12-25 13:05:09");
    EXPECT_EQ(dateToStorage(QDate()), "");
    EXPECT_EQ(dateFromStorage("2024-12-25"), QDateTime(QDate(2024, 12, 25), QTime(0, 0)));
    EXPECT_EQ(dateFromStorage("2024-12-25 13:05:09"), QDateTime(QDate(2024, 12, 25), QTime(13, 5, 9)));
    EXPECT_FALSE(dateFromStorage("2024-13-01").isValid());
    EXPECT_FALSE(dateFromStorage("Smith").isValid());
}
