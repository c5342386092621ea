#include "editor/FieldRules.h"
#include "editor/ContactFields.h"

#include "platform/base/DateText.h"

#include <QLocale>

#include <gtest/gtest.h>

TEST(WordStartCapitals, OnlySmallLettersAtTheStartOrAfterATrailingBlank)
{
    EXPECT_EQ(wordStartKey("", 'a'), 'A');
    EXPECT_EQ(wordStartKey("Ann ", 'b'), 'B');
    EXPECT_EQ(wordStartKey("Ann", 'b'), 'b');
    EXPECT_EQ(wordStartKey("", 'Q'), 'Q');
    EXPECT_EQ(wordStartKey("", '1'), '1');
    EXPECT_EQ(wordStartKey("", '{'), '{');
    EXPECT_EQ(wordStartKey("", 0xE9), 0xE9) << "letters outside a..z stay";
    EXPECT_EQ(wordStartKey("x ", '`'), '`');
    EXPECT_EQ(wordStartKey("x ", 'z'), 'Z');
}

TEST(WordStartCapitals, TheBoxesThatTakeThem)
{
    EXPECT_TRUE(isWordCapitalBox("txtLastName"));
    EXPECT_TRUE(isWordCapitalBox("txtSecond_Country"));
    EXPECT_FALSE(isWordCapitalBox("txtFirst_PostalCode"));
    EXPECT_FALSE(isWordCapitalBox("txtFirst_State"));
    EXPECT_FALSE(isWordCapitalBox("txtEmail_Address"));
    EXPECT_TRUE(isStateBox("txtSecond_State"));
    EXPECT_EQ(stateKey('m'), 'M');
    EXPECT_EQ(stateKey('M'), 'M');
    EXPECT_EQ(stateKey('-'), '-');
}

TEST(DateBoxes, NumbersAndDateTexts)
{
    EXPECT_EQ(dateBoxNumber("txtDate3"), 3);
    EXPECT_EQ(dateBoxNumber("txtDate3_Desc"), 0);
    EXPECT_EQ(dateBoxNumber("txtDate6"), 0);
    EXPECT_TRUE(isDateText("1/2/2020"));
    EXPECT_TRUE(isDateText("1/2/2020 1:30:00 PM")) << "a date with a time is a date";
    EXPECT_FALSE(isDateText("13/45/2020"));
    EXPECT_FALSE(isDateText("soon"));
    EXPECT_FALSE(isDateText(""));
}

// A date box shows what the field holds and saves what it reads back from the box, as the
// store reads it: in every locale, a date and a date with a time of day come back the same.
TEST(DateBoxes, ShowTextsThatReadBackAsTheSameDateInEveryLocale)
{
    const QDateTime values[] = {
        platform::plainDateTime(QDate(1985, 7, 14)),
        platform::plainDateTime(QDate(2001, 5, 6), QTime(15, 30)),
        platform::plainDateTime(QDate(2024, 12, 25), QTime(0, 5, 9)),
        platform::plainDateTime(QDate(2003, 1, 2), QTime(12, 0, 1)),
    };
    const QList<QLocale> locales =
        QLocale::matchingLocales(QLocale::AnyLanguage, QLocale::AnyScript, QLocale::AnyTerritory);
    ASSERT_GT(locales.size(), 300);
    for (const QLocale &locale : locales) {
        platform::setDateLocaleForTesting(locale);
        for (const QDateTime &value : values) {
            const QString text = fieldText(value);
            EXPECT_TRUE(isDateText(text)) << qPrintable(locale.name()) << " shows " << qPrintable(text);
            EXPECT_EQ(platform::parseDateText(text), value)
                << qPrintable(locale.name()) << " shows " << qPrintable(text);
        }
    }
    platform::setDateLocaleForTesting(QLocale::system());
}

TEST(LinkTargets, MailWebAndNothing)
{
    LinkTarget t = linkTargetOf("ann@example.org");
    EXPECT_EQ(t.kind, LinkTarget::Mail);
    EXPECT_EQ(t.address, "mailto:ann@example.org");
    t = linkTargetOf("http://ann@example.org");
    EXPECT_EQ(t.kind, LinkTarget::Mail) << "an @ anywhere makes it mail";
    t = linkTargetOf("example.org");
    EXPECT_EQ(t.kind, LinkTarget::Web);
    EXPECT_EQ(t.address, "http://example.org");
    t = linkTargetOf("Http://Example.org");
    EXPECT_EQ(t.address, "Http://Example.org");
    t = linkTargetOf("https://x.org/a");
    EXPECT_EQ(t.address, "https://x.org/a");
    EXPECT_EQ(linkTargetOf("no dots here").kind, LinkTarget::None);
    EXPECT_EQ(linkTargetOf("").kind, LinkTarget::None);
}

TEST(LinkTargets, TextThatMerelyStartsWithHttpIsAWebAddress)
{
    const LinkTarget t = linkTargetOf("httpd.conf");
    EXPECT_EQ(t.kind, LinkTarget::Web);
    EXPECT_EQ(t.address, "http://httpd.conf");
    EXPECT_EQ(linkTargetOf("http:foo.bar").address, "http://http:foo.bar");
}

TEST(ContactName, BlankMeansOnlyBlanks)
{
    EXPECT_TRUE(contactHasNoName("", "", ""));
    EXPECT_TRUE(contactHasNoName("   ", " ", ""));
    EXPECT_FALSE(contactHasNoName("", "", "Guild"));
    EXPECT_FALSE(contactHasNoName("  x", "", ""));
    EXPECT_FALSE(contactHasNoName("", "\t", "")) << "only blanks count as blank";
}

TEST(ContactName, DeleteQuestionName)
{
    EXPECT_EQ(deleteConfirmationName("Ann", QVariant(), "Able", QVariant()), "Ann  Able");
    EXPECT_EQ(deleteConfirmationName(QVariant(), QVariant(), QVariant(), "Guild"), "Guild");
    EXPECT_EQ(deleteConfirmationName("A", "B", "C", "D"), "A B C  D");
    // Only blanks go: a tab or a line end stored in a name is part of it.
    EXPECT_EQ(deleteConfirmationName("\tAnn", QVariant(), "Able", "Guild\r\n"), "\tAnn  Able  Guild\r\n");
    EXPECT_EQ(deleteConfirmationName(QVariant(), QVariant(), QVariant(), "\t"), "\t");
}

TEST(CategoryClause, NumberAfterTheEqualsSign)
{
    EXPECT_EQ(categoryNumberOf(" CategoryNumber = 5 "), 5);
    EXPECT_EQ(categoryNumberOf(" CategoryNumber = 12"), 12);
    EXPECT_EQ(categoryNumberOf(""), -1);
    EXPECT_EQ(categoryNumberOf(" CategoryNumber "), -1);
}
