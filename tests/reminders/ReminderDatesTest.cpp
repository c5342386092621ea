#include "reminders/ReminderDates.h"

#include <gtest/gtest.h>

namespace {

struct WarnCase {
    QDate remind;
    int warningDays;
    QDate expected;
};

class WarnDateTest : public ::testing::TestWithParam<WarnCase> {};

TEST_P(WarnDateTest, IsTheDateLessTheWarningDays)
{
    const WarnCase &c = GetParam();
    EXPECT_EQ(warnDateOf(c.remind, c.warningDays), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    LeapAndCommonYears, WarnDateTest,
    ::testing::Values(WarnCase{QDate(2026, 3, 10), 15, QDate(2026, 2, 23)},
                      WarnCase{QDate(2028, 3, 10), 15, QDate(2028, 2, 24)},
                      WarnCase{QDate(2026, 3, 10), 0, QDate(2026, 3, 10)},
                      WarnCase{QDate(2027, 1, 5), 10, QDate(2026, 12, 26)},
                      WarnCase{QDate(2024, 3, 1), 1, QDate(2024, 2, 29)},
                      WarnCase{QDate(2026, 3, 1), 365, QDate(2025, 3, 1)}));

struct AdvanceCase {
    const char *period;
    int amount;
    QDate from;
    QDate expected;
};

class AdvanceTest : public ::testing::TestWithParam<AdvanceCase> {};

TEST_P(AdvanceTest, MovesByOnePeriod)
{
    const AdvanceCase &c = GetParam();
    EXPECT_EQ(advancedByOnePeriod(c.from, reminderPeriodOf(QString::fromLatin1(c.period)), c.amount), c.expected)
        << c.period << " " << c.amount << " from " << c.from.toString(Qt::ISODate).toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Periods, AdvanceTest,
    ::testing::Values(
        // Days cross month and year ends exactly.
        AdvanceCase{"Days", 7, QDate(2026, 12, 28), QDate(2027, 1, 4)},
        AdvanceCase{"Days", 7, QDate(2028, 2, 25), QDate(2028, 3, 3)},
        AdvanceCase{"Days", 1, QDate(2026, 12, 31), QDate(2027, 1, 1)},
        // Months keep the day and fall back to the last day of a shorter month; the day lost
        // once stays lost.
        AdvanceCase{"Months", 1, QDate(2026, 1, 31), QDate(2026, 2, 28)},
        AdvanceCase{"Months", 1, QDate(2028, 1, 31), QDate(2028, 2, 29)},
        AdvanceCase{"Months", 1, QDate(2026, 2, 28), QDate(2026, 3, 28)},
        AdvanceCase{"Months", 1, QDate(2028, 2, 29), QDate(2028, 3, 29)},
        AdvanceCase{"Months", 3, QDate(2026, 11, 30), QDate(2027, 2, 28)},
        AdvanceCase{"Months", 12, QDate(2026, 5, 15), QDate(2027, 5, 15)},
        // Years: 29 February becomes 28 February.
        AdvanceCase{"Years", 1, QDate(2028, 2, 29), QDate(2029, 2, 28)},
        AdvanceCase{"Years", 4, QDate(2028, 2, 29), QDate(2032, 2, 29)},
        AdvanceCase{"Years", 1, QDate(2026, 12, 25), QDate(2027, 12, 25)},
        // No move: a one-time reminder, and a period of another text.
        AdvanceCase{"One time", 0, QDate(2026, 5, 1), QDate(2026, 5, 1)},
        AdvanceCase{"Weeks", 2, QDate(2026, 5, 1), QDate(2026, 5, 1)},
        AdvanceCase{"months", 1, QDate(2026, 5, 1), QDate(2026, 5, 1)},
        AdvanceCase{"Days ", 1, QDate(2026, 5, 1), QDate(2026, 5, 1)}));

TEST(ReminderPeriodTest, OnlyTheFourExactTextsArePeriods)
{
    EXPECT_EQ(reminderPeriodOf("One time"), ReminderPeriod::OneTime);
    EXPECT_EQ(reminderPeriodOf("Days"), ReminderPeriod::Days);
    EXPECT_EQ(reminderPeriodOf("Months"), ReminderPeriod::Months);
    EXPECT_EQ(reminderPeriodOf("Years"), ReminderPeriod::Years);
    for (const char *other : {"one time", "YEARS", "", " Days", "Onetime"})
        EXPECT_EQ(reminderPeriodOf(QString::fromLatin1(other)), ReminderPeriod::Unknown) << other;
}

struct AnniversaryCase {
    QDate date;
    QDate today;
    QDate expected;
};

class AnniversaryTest : public ::testing::TestWithParam<AnniversaryCase> {};

TEST_P(AnniversaryTest, IsThisYearsUnlessPast)
{
    const AnniversaryCase &c = GetParam();
    EXPECT_EQ(nextAnniversary(c.date, c.today), c.expected)
        << "today " << c.today.toString(Qt::ISODate).toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    BeforeOnAndAfterToday, AnniversaryTest,
    ::testing::Values(AnniversaryCase{QDate(1980, 12, 25), QDate(2026, 12, 24), QDate(2026, 12, 25)},
                      AnniversaryCase{QDate(1980, 12, 25), QDate(2026, 12, 25), QDate(2026, 12, 25)},
                      AnniversaryCase{QDate(1980, 12, 25), QDate(2026, 12, 26), QDate(2027, 12, 25)},
                      AnniversaryCase{QDate(2031, 1, 1), QDate(2026, 6, 1), QDate(2027, 1, 1)},
                      // 29 February rolls over to 1 March in a year without it.
                      AnniversaryCase{QDate(1984, 2, 29), QDate(2026, 1, 10), QDate(2026, 3, 1)},
                      AnniversaryCase{QDate(1984, 2, 29), QDate(2028, 1, 10), QDate(2028, 2, 29)},
                      AnniversaryCase{QDate(1984, 2, 29), QDate(2026, 3, 1), QDate(2026, 3, 1)},
                      AnniversaryCase{QDate(1984, 2, 29), QDate(2026, 3, 2), QDate(2027, 3, 1)},
                      AnniversaryCase{QDate(1984, 2, 29), QDate(2027, 3, 2), QDate(2028, 2, 29)}));

} // namespace
