#include "helpers/ValueHelpers.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QDate>
#include <gtest/gtest.h>

TEST(NullToString, NullBecomesEmptyTextAndEverythingElseStays)
{
    EXPECT_EQ(NullToString(QVariant()).typeId(), QMetaType::QString);
    EXPECT_EQ(NullToString(QVariant()).toString(), QString());
    EXPECT_EQ(NullToString(QVariant::fromValue(nullptr)).toString(), QString());
    EXPECT_EQ(NullToString(QString()).toString(), QString());

    const QVariant five = NullToString(5);
    EXPECT_EQ(five.typeId(), QMetaType::Int);
    EXPECT_EQ(five.toInt(), 5);
    const QVariant date = NullToString(QDate(2020, 1, 2));
    EXPECT_EQ(date.typeId(), QMetaType::QDate);
    EXPECT_EQ(NullToString(QStringLiteral(" x ")).toString(), QStringLiteral(" x "));
}

TEST(EmptyToNull, OnlyTheExactEmptyTextBecomesNull)
{
    EXPECT_TRUE(IsNull(EmptyToNull(QStringLiteral(""))));
    EXPECT_TRUE(IsNull(EmptyToNull(QString())));
    EXPECT_TRUE(IsNull(EmptyToNull(QVariant())));
    EXPECT_EQ(EmptyToNull(QStringLiteral(" ")).toString(), QStringLiteral(" "));
    EXPECT_EQ(EmptyToNull(0).typeId(), QMetaType::Int);
    EXPECT_FALSE(IsNull(EmptyToNull(false)));
}

TEST(NullToZero, OnlyNullBecomesASixteenBitZero)
{
    const QVariant zero = NullToZero(QVariant());
    EXPECT_EQ(zero.typeId(), QMetaType::Short);
    EXPECT_EQ(zero.toInt(), 0);
    const QVariant empty = NullToZero(QStringLiteral(""));
    EXPECT_EQ(empty.typeId(), QMetaType::QString);
    EXPECT_TRUE(empty.toString().isEmpty());
    EXPECT_EQ(NullToZero(qlonglong(70000)).toLongLong(), 70000);
}

TEST(ReplaceAll, ResumesBehindEachReplacement)
{
    QString text = QStringLiteral("aaa");
    ReplaceAll(text, QStringLiteral("a"), QStringLiteral("aa"));
    EXPECT_EQ(text, QStringLiteral("aaaaaa"));

    text = QStringLiteral("abab");
    ReplaceAll(text, QStringLiteral("ab"), QStringLiteral("xaby"));
    EXPECT_EQ(text, QStringLiteral("xabyxaby"));

    // Replacing by a shorter text lets a new occurrence form across the join; it is not
    // searched again because the search goes on behind the replacement.
    text = QStringLiteral("aab");
    ReplaceAll(text, QStringLiteral("ab"), QStringLiteral("b"));
    EXPECT_EQ(text, QStringLiteral("ab"));
}

TEST(ReplaceAll, ComparesExactlyAndHandlesEdgeCases)
{
    QString text = QStringLiteral("ABC");
    ReplaceAll(text, QStringLiteral("b"), QStringLiteral("x"));
    EXPECT_EQ(text, QStringLiteral("ABC"));

    text = QStringLiteral("a-b-c-");
    ReplaceAll(text, QStringLiteral("-"), QString());
    EXPECT_EQ(text, QStringLiteral("abc"));

    text = QStringLiteral("unchanged");
    ReplaceAll(text, QStringLiteral("zz"), QStringLiteral("y"));
    EXPECT_EQ(text, QStringLiteral("unchanged"));

    text = QStringLiteral("abc");
    ReplaceAll(text, QString(), QStringLiteral("x"));
    EXPECT_EQ(text, QStringLiteral("abc"));

    // Far beyond the old 32,767-character limit.
    text = QString(40000, QLatin1Char('a'));
    ReplaceAll(text, QStringLiteral("a"), QStringLiteral("bb"));
    EXPECT_EQ(text, QString(80000, QLatin1Char('b')));
}

TEST(ShowComboDropDown, OpensTheListOnlyWhenItHoldsItems)
{
    QComboBox combo;
    combo.show();
    ShowComboDropDown(&combo);
    EXPECT_FALSE(combo.view()->isVisible());

    combo.addItem(QStringLiteral("First note"));
    ShowComboDropDown(&combo);
    EXPECT_TRUE(combo.view()->isVisible());
    combo.hidePopup();

    ShowComboDropDown(nullptr); // no combo box: nothing to open, no crash
}

TEST(Trim, TakesBlanksOnlyFromTheChosenEnds)
{
    EXPECT_EQ(LTrim(QStringLiteral("  a b  ")), QStringLiteral("a b  "));
    EXPECT_EQ(RTrim(QStringLiteral("  a b  ")), QStringLiteral("  a b"));
    EXPECT_EQ(Trim(QStringLiteral("  a b  ")), QStringLiteral("a b"));
    EXPECT_EQ(Trim(QStringLiteral("\ta\r\n")), QStringLiteral("\ta\r\n")) << "tabs and line ends stay";
    EXPECT_EQ(Trim(QStringLiteral("    ")), QString());
    EXPECT_EQ(RTrim(QString()), QString());
    EXPECT_EQ(LTrim(QStringLiteral("\u00a0a")), QStringLiteral("\u00a0a")) << "a no-break space is no blank";
}
