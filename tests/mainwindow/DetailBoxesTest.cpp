#include "mainwindow/DetailBoxes.h"

#include <QVariantMap>
#include <gtest/gtest.h>

namespace {

// A contact as a map; a field it lacks reads as Null.
ContactFieldReader contact(const QVariantMap &fields)
{
    return [fields](const QString &name) { return fields.value(name); };
}

QString name(const QVariantMap &fields)
{
    return detailNameText(contact(fields));
}

struct NameCase {
    const char *first;
    const char *middle;
    const char *last;
    const char *expected;
};

} // namespace

TEST(DetailBoxes, NamePartsJoinWithOneBlankEachAndKeepTheirTrailingBlank)
{
    const NameCase cases[] = {
        {"Ann", "", "Lee", "Ann Lee"}, {"Ann", "B", "Lee", "Ann B Lee"}, {"", "", "Lee", "Lee"},
        {"Ann", "", "", "Ann "},       {"  Ann", "", "Lee", "Ann Lee"},  {"Ann", nullptr, "Lee", "Ann Lee"},
        {"", "B", "", "B "},
    };
    for (const NameCase &c : cases) {
        QVariantMap fields{{"FirstName", c.first}, {"LastName", c.last}};
        if (c.middle)
            fields["MiddleName"] = c.middle;
        EXPECT_EQ(name(fields), c.expected)
            << c.first << "|" << (c.middle ? c.middle : "Null") << "|" << c.last;
    }
}

TEST(DetailBoxes, OrganisationFollowsTheNameOrBecomesTheFirstLine)
{
    EXPECT_EQ(name({{"FirstName", "Ann"}, {"LastName", "Lee"}, {"Organization", "  Acme"}}),
              "Ann Lee\r\nAcme");
    EXPECT_EQ(name({{"Organization", "Acme"}}), "Acme") << "all name parts Null";
    EXPECT_EQ(name({{"FirstName", ""}, {"MiddleName", ""}, {"LastName", ""}, {"Organization", "Acme"}}),
              "Acme");
    EXPECT_EQ(name({}), "");
}

TEST(DetailBoxes, CityStateAndPostalCodeLine)
{
    const auto cityLine = [](const char *city, const char *state, const char *postal) {
        return name({{"First_City", city}, {"First_State", state}, {"First_PostalCode", postal}});
    };
    EXPECT_EQ(cityLine("Austin", "TX", "78701"), "\r\nAustin, TX 78701");
    EXPECT_EQ(cityLine("Austin", "", ""), "\r\nAustin") << "no comma for a city alone";
    EXPECT_EQ(cityLine("", "TX", "78701"), "\r\nTX 78701");
    EXPECT_EQ(cityLine("", "", "78701"), "\r\n78701");
    EXPECT_EQ(cityLine("Austin  ", "  ", "78701"), "\r\nAustin 78701") << "a state of blanks counts as none";
    EXPECT_EQ(cityLine("", "", ""), "");
}

TEST(DetailBoxes, AddressLinesAreAlwaysAppendedAfterALineBreak)
{
    EXPECT_EQ(name({{"LastName", "Lee"},
                    {"First_Address1", " 1 Main St"},
                    {"First_Address2", ""},
                    {"First_Address3", "Suite 4"},
                    {"First_Country", "Canada  "}}),
              "Lee\r\n1 Main St\r\nSuite 4\r\nCanada");
    EXPECT_EQ(name({{"First_Address1", "1 Main St"}}), "\r\n1 Main St")
        << "without name and organisation the first line stays empty";
}

TEST(DetailBoxes, TheLabelChoiceSelectsTheAddressSet)
{
    const QVariantMap both{{"First_Address1", "Home Rd"}, {"Second_Address1", "Work Ave"}};
    QVariantMap second = both;
    second["AddressForLabels"] = 2;
    EXPECT_EQ(name(second), "\r\nWork Ave");
    QVariantMap first = both;
    first["AddressForLabels"] = 1;
    EXPECT_EQ(name(first), "\r\nHome Rd");
    EXPECT_EQ(name(both), "\r\nHome Rd") << "Null";
    first["AddressForLabels"] = 3;
    EXPECT_EQ(name(first), "\r\nHome Rd") << "any other value";
}

TEST(DetailBoxes, PhonesWithTheirDescriptionsEachEndWithALineBreak)
{
    EXPECT_EQ(detailPhoneText(contact({{"Phone1_Desc", "Home  "},
                                       {"Phone1", "555-1000  "},
                                       {"Phone2_Desc", "Work"},
                                       {"Phone2", "   "},
                                       {"Phone3_Desc", "Fax"},
                                       {"Phone4", "555-4000"},
                                       {"Phone6_Desc", "Mobile"},
                                       {"Phone6", "555-6000"}})),
              "Home  555-1000\r\n  555-4000\r\nMobile  555-6000\r\n");
    EXPECT_EQ(detailPhoneText(contact({{"Phone1_Desc", "Home"}})), "") << "a description without a number";
}
