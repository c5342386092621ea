#include "platform/db/jet/JetDateLiteral.h"

#include "platform/base/Clock.h"

#include <gtest/gtest.h>

using namespace platform;

namespace {

QDateTime at(int y, int m, int d, int h = 0, int mi = 0, int s = 0)
{
    return QDateTime(QDate(y, m, d), QTime(h, mi, s));
}

} // namespace

TEST(JetDateLiteral, MonthFirstWhateverTheLocale)
{
    EXPECT_EQ(parseJetDateLiteral("12/25/2024"), at(2024, 12, 25));
    EXPECT_EQ(parseJetDateLiteral("1/2/2024"), at(2024, 1, 2));
    EXPECT_EQ(parseJetDateLiteral(" 3-5-24 "), at(2024, 3, 5));
    EXPECT_EQ(parseJetDateLiteral("7/4/76"), at(1976, 7, 4));
    EXPECT_EQ(parseJetDateLiteral("25/12/2024"), at(2024, 12, 25));
    EXPECT_EQ(parseJetDateLiteral("5/12/2024"), at(2024, 5, 12));
    EXPECT_FALSE(parseJetDateLiteral("25/13/2024").isValid());
    EXPECT_FALSE(parseJetDateLiteral("2/30/2024").isValid());
}

TEST(JetDateLiteral, IsoNamedMonthsAndTimes)
{
    EXPECT_EQ(parseJetDateLiteral("2024-12-25"), at(2024, 12, 25));
    EXPECT_EQ(parseJetDateLiteral("2024-12-25 13:05:09"), at(2024, 12, 25, 13, 5, 9));
    EXPECT_EQ(parseJetDateLiteral("12/25/2024 1:30 PM"), at(2024, 12, 25, 13, 30));
    EXPECT_EQ(parseJetDateLiteral("12/25/2024 12:00:00 AM"), at(2024, 12, 25));
    EXPECT_EQ(parseJetDateLiteral("12/25/2024 12 PM"), at(2024, 12, 25, 12));
    EXPECT_EQ(parseJetDateLiteral("25-Dec-2024"), at(2024, 12, 25));
    EXPECT_EQ(parseJetDateLiteral("25 December 2024 8:15"), at(2024, 12, 25, 8, 15));
    EXPECT_EQ(parseJetDateLiteral("Dec 25, 2024"), at(2024, 12, 25));
    EXPECT_EQ(parseJetDateLiteral("13:30"), at(1899, 12, 30, 13, 30));
    EXPECT_FALSE(parseJetDateLiteral("12/25/2024 25:00").isValid());
    EXPECT_FALSE(parseJetDateLiteral("12/25/2024 13:30 PM").isValid());
    EXPECT_FALSE(parseJetDateLiteral("25-Foo-2024").isValid());
    EXPECT_FALSE(parseJetDateLiteral("soon").isValid());
    EXPECT_FALSE(parseJetDateLiteral("").isValid());
}

TEST(JetDateLiteral, AMissingYearIsThisYear)
{
    setClockForTesting([] { return QDateTime(QDate(2031, 6, 1), QTime(10, 0)); });
    EXPECT_EQ(parseJetDateLiteral("12/25"), at(2031, 12, 25));
    EXPECT_EQ(parseJetDateLiteral("Mar 5"), at(2031, 3, 5));
    setClockForTesting({});
}
