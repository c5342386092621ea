#include "platform/base/DateText.h"
#include "platform/base/Clock.h"

#include <gtest/gtest.h>

using namespace platform;

TEST(DateText, ShortAndGeneralFormsUnderEnglishUs)
{
    EXPECT_EQ(shortDateText(QDate(2020, 1, 2)), "1/2/2020");
    EXPECT_EQ(generalDateText(QDateTime(QDate(2020, 1, 2), QTime(0, 0))), "1/2/2020");
    EXPECT_EQ(generalDateText(QDateTime(QDate(2020, 1, 2), QTime(13, 30))), "1/2/2020 1:30:00 PM");
    EXPECT_EQ(shortDateText(QDate()), "");
}

TEST(DateText, ParsesShortDatesTimesAndIso)
{
    EXPECT_EQ(parseDateText("12/25/2024"), QDateTime(QDate(2024, 12, 25), QTime(0, 0)));
    EXPECT_EQ(parseDateText(" 1/2/20 "), QDateTime(QDate(2020, 1, 2), QTime(0, 0)));
    EXPECT_EQ(parseDateText("1/2/45"), QDateTime(QDate(1945, 1, 2), QTime(0, 0)));
    EXPECT_EQ(parseDateText("12/25/2024 3:15 PM"), QDateTime(QDate(2024, 12, 25), QTime(15, 15)));
    EXPECT_EQ(parseDateText("12/25/2024 12:00:05 AM"), QDateTime(QDate(2024, 12, 25), QTime(0, 0, 5)));
    EXPECT_EQ(parseDateText("2024-02-29 08:00:00"), QDateTime(QDate(2024, 2, 29), QTime(8, 0)));
    EXPECT_FALSE(parseDateText("2/30/2024").isValid());
    EXPECT_FALSE(parseDateText("13/1/2024").isValid());
    EXPECT_FALSE(parseDateText("hello").isValid());
    EXPECT_FALSE(parseDateText("1/2/2024 25:00").isValid());
    EXPECT_FALSE(parseDateText("").isValid());
}

TEST(Clock, CanBeFixedAndRestored)
{
    const QDateTime fixed(QDate(2001, 9, 9), QTime(1, 46, 40));
    setClockForTesting([fixed] { return fixed; });
    EXPECT_EQ(now(), fixed);
    EXPECT_EQ(today(), QDate(2001, 9, 9));
    setClockForTesting({});
    EXPECT_NE(today(), QDate(2001, 9, 9));
}

// What the editor shows in a date box must read back as the same date when it is saved,
// whatever the user's locale, including the C locale of a bare session.
TEST(DateText, ShortDatesReadBackUnderEveryLocale)
{
    const QDate days[] = {QDate(1985, 7, 14), QDate(2024, 12, 25), QDate(2003, 1, 2)};
    for (const char *name : {"C", "en_US", "en_GB", "de_DE", "fr_FR", "nl_NL", "hu_HU", "ja_JP", "ko_KR",
                             "zh_CN", "pl_PL", "fi_FI", "sv_SE", "ru_RU", "ar_EG", "he_IL", "pt_BR"}) {
        const QLocale locale(QString::fromLatin1(name));
        for (const QDate &day : days) {
            const QString text = shortDateText(day, locale);
            EXPECT_EQ(parseDateText(text, locale), QDateTime(day, QTime(0, 0)))
                << name << " shows " << qPrintable(text) << " in the pattern "
                << qPrintable(shortDateFormat(locale));
        }
    }
}

TEST(DateText, CLocaleShowsDigitsInItsOwnOrder)
{
    EXPECT_EQ(shortDateText(QDate(1985, 7, 14), QLocale::c()), "14/7/1985");
    EXPECT_EQ(parseDateText("14/7/1985", QLocale::c()), QDateTime(QDate(1985, 7, 14), QTime(0, 0)));
    EXPECT_EQ(shortDateText(QDate(1985, 7, 14), QLocale(QStringLiteral("en_US"))), "7/14/1985");
}

// The time zone is left out of the long time, and so are the brackets, commas and words
// that went with it; the date loses its words too. What is left reads back.
TEST(DateText, TimesCarryNoWordsOrTheTimeZonesBrackets)
{
    const struct {
        const char *locale, *shown;
    } cases[] = {
        {"en_US", "5/6/2001 3:30:00 PM"},      {"es_ES", "6/5/2001 15:30:00"},
        {"ca_ES", "6/5/2001 15:30:00"},        {"hr_HR", "06. 05. 2001. 15:30:00"},
        {"zh_TW", "2001/5/6 15:30:00"},        {"be_BY", "6.05.2001 15:30:00"},
        {"bg_BG", "6.05.2001 15:30:00"},       {"ja_JP", "2001/05/06 15:30:00"},
        {"th_TH", "6/5/2001 15:30:00"},        {"fr_CA", "2001-05-06 15:30:00"},
        {"fi_FI", "6.5.2001 15.30.00"},        {"en_CA", "2001-05-06 3:30:00 P.M."},
        {"ko_KR", "2001. 5. 6. 오후 3:30:00"}, {"zh_HK", "6/5/2001 下午3:30:00"},
        {"el_GR", "6/5/2001 3:30:00 Μ.Μ."},    {"fr_CH", "06.05.2001 15.30:00"},
    };
    const QDateTime value = plainDateTime(QDate(2001, 5, 6), QTime(15, 30));
    for (const auto &c : cases) {
        const QLocale locale(QString::fromLatin1(c.locale));
        EXPECT_EQ(generalDateText(value, locale), QString::fromUtf8(c.shown)) << c.locale;
        setDateLocaleForTesting(locale);
        EXPECT_EQ(generalDateText(value), QString::fromUtf8(c.shown)) << c.locale;
        EXPECT_EQ(parseDateText(generalDateText(value)), value) << c.locale;
    }
    setDateLocaleForTesting(QLocale::system());
}

TEST(DateText, ReadsTheLocalesOwnDigitsAndDayHalvesOnEitherSide)
{
    const QDateTime afternoon = plainDateTime(QDate(2001, 5, 6), QTime(15, 30));
    EXPECT_EQ(parseDateText(QStringLiteral("٦/٥/٢٠٠١ ٣:٣٠:٠٠ م"), QLocale(QStringLiteral("ar_EG"))),
              afternoon);
    EXPECT_EQ(parseDateText(QStringLiteral("2001. 5. 6. 오후 3:30:00"), QLocale(QStringLiteral("ko_KR"))),
              afternoon);
    EXPECT_EQ(parseDateText(QStringLiteral("6.5.2001 15.30"), QLocale(QStringLiteral("fi_FI"))), afternoon);
    EXPECT_FALSE(
        parseDateText(QStringLiteral("6/5/2001 م 3:30 PM"), QLocale(QStringLiteral("ar_EG"))).isValid());
    EXPECT_FALSE(
        parseDateText(QStringLiteral("6/5/2001 15:30 م"), QLocale(QStringLiteral("ar_EG"))).isValid());
    EXPECT_EQ(plainDigitsText(QStringLiteral("١٤‏/٧‏/١٩٨٥")), "14/7/1985");
}
