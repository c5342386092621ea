#include "export/TextExports.h"
#include "export/ExportFixture.h"
#include "support/FixedMetricsScope.h"

#include "platform/print/PrinterObject.h"

namespace {

const auto labels = [](DisplayedRecords &r, platform::CommonDialog &d) { ExportLabelFormat(r, d); };
const auto condensed = [](DisplayedRecords &r, platform::CommonDialog &d) { ExportCondensed(r, d); };

// A contact with every field the text exports read, its first address set described as
// `description`.
QVariantMap everyField(const QString &description)
{
    QVariantMap c{{"Prefix", "Dr."},
                  {"FirstName", "Ann"},
                  {"MiddleName", "B."},
                  {"LastName", "Lee"},
                  {"Suffix", "Jr."},
                  {"Title", "Owner"},
                  {"Nickname", "Annie"},
                  {"Organization", "Lee & Co"},
                  {"First_Address_Desc", description},
                  {"First_Address1", "1 Main St"},
                  {"First_Address2", "Suite 2"},
                  {"First_Address3", "Rear"},
                  {"First_City", "Salem"},
                  {"First_State", "OR"},
                  {"First_PostalCode", "97301"},
                  {"First_Country", "USA"},
                  {"Email_Address", "ann@lee.com "}};
    for (int n = 1; n <= 6; ++n) {
        c.insert(QStringLiteral("Phone%1_Desc").arg(n), QStringLiteral("P%1 ").arg(n));
        c.insert(QStringLiteral("Phone%1").arg(n), QStringLiteral("555-010%1 ").arg(n));
    }
    return c;
}

using LabelFormat = ExportFixture;

TEST_F(LabelFormat, AFullContactGivesFourteenLinesThenABlankLine)
{
    add(everyField("Office"));
    show();
    EXPECT_EQ(run(labels).toStdString(),
              "Dr. Ann B. Lee Jr.\r\nLee & Co\r\n1 Main St\r\nSuite 2\r\nRear\r\nSalem, OR 97301\r\n"
              "USA\r\nann@lee.com\r\nP1  555-0101\r\nP2  555-0102\r\nP3  555-0103\r\n"
              "P4  555-0104\r\nP5  555-0105\r\nP6  555-0106\r\n \r\n");
}

TEST_F(LabelFormat, TheOrganisationIsLeftOffAHomeAddress)
{
    struct Case {
        QVariant description;
        bool organisation;
    };
    const Case cases[] = {{"Home", false},  {"home address", false}, {"Homestead", false}, {"HOME", false},
                          {"Office", true}, {"Hom e", true},         {QVariant(), true},   {"", true}};
    for (const Case &c : cases) {
        temp.db().execute(QStringLiteral("Delete * From tblContacts"));
        add({{"LastName", "Lee"}, {"Organization", "Acme"}, {"First_Address_Desc", c.description}});
        show();
        SCOPED_TRACE(c.description.toString().toStdString());
        EXPECT_EQ(run(labels).toStdString(), c.organisation ? "Lee \r\nAcme\r\n \r\n" : "Lee \r\n \r\n");
    }
}

TEST_F(LabelFormat, TheSecondAddressSetWithItsOwnDescription)
{
    add({{"LastName", "Lee"},
         {"Organization", "Acme"},
         {"AddressForLabels", 2},
         {"First_Address_Desc", "Office"},
         {"First_Address1", "1 Main St"},
         {"Second_Address_Desc", "Home"},
         {"Second_Address1", "  9 Elm Rd"},
         {"Second_State", "TX"},
         {"Second_PostalCode", "73301"}});
    show();
    // An address line keeps its leading blanks; a city line without a city has no comma.
    EXPECT_EQ(run(labels).toStdString(), "Lee \r\n  9 Elm Rd\r\nTX 73301\r\n \r\n");
}

TEST_F(LabelFormat, PhonesCityLinesAndLinesThatOpenBelowTheBlank)
{
    add({{"FirstName", "Al"},
         {"LastName", "Bo"},
         {"First_City", "Salem"},
         {"First_PostalCode", "97301"},
         {"First_Address1", "\tTabbed"},
         {"Phone2", "555-0102"},
         {"Phone3_Desc", "Fax"}});
    add({{"FirstName", "Cy"}, {"LastName", "Do"}, {"First_City", "Austin"}, {"First_State", "TX"}});
    show();
    EXPECT_EQ(run(labels).toStdString(),
              "Al Bo \r\nSalem 97301\r\n  555-0102\r\n \r\nCy Do \r\nAustin, TX \r\n \r\n");
}

// The condensed layout wraps with fixed metrics: the printer's font is 10 points, so each
// character is 100 twips and a line holds 93 of them.
class Condensed : public ExportFixture {
  protected:
    void SetUp() override
    {
        ExportFixture::SetUp();
        platform::Printer().reset();
    }
    testsupport::FixedMetricsScope metrics;
};

TEST_F(Condensed, ANameAloneGivesItsHeadingAndABlankLine)
{
    add({{"FirstName", "Al"}, {"LastName", "Bo"}});
    add({{"Organization", "Zed Corp"}});
    show();
    EXPECT_EQ(run(condensed).toStdString(), "  Zed Corp  \r\n \r\n"
                                            "  Al Bo    \r\n \r\n");
}

TEST_F(Condensed, PhonesAddressAndEmailRunTogether)
{
    add({{"LastName", "Bo"}, {"Phone1_Desc", "Home "}, {"Phone1", "555-0101 "}});
    add({{"LastName", "Cy"},
         {"Phone2", "555-0102"},
         {"First_Address1", " 1 Main St"},
         {"First_City", "Salem"},
         {"First_Country", "USA"},
         {"Email_Address", "cy@x.org"}});
    add({{"LastName", "Di"}, {"First_Country", "USA"}});
    show();
    EXPECT_EQ(run(condensed).toStdString(),
              "  Bo    \r\n    Home: 555-0101\r\n \r\n"
              // An address line keeps its leading blank, and an empty city line is still one blank.
              "  Cy    \r\n    : 555-0102  Address:  1 Main St  Salem   USA  Email:cy@x.org\r\n \r\n"
              "  Di    \r\n    Address:  USA\r\n \r\n");
}

TEST_F(Condensed, TheSecondAddressSet)
{
    add({{"LastName", "Bo"}, {"AddressForLabels", 2}, {"First_City", "One"}, {"Second_City", "Two"}});
    show();
    EXPECT_EQ(run(condensed).toStdString(), "  Bo    \r\n    Address: Two\r\n \r\n");
}

// Wider characters (250 twips) make a line of 37 characters, so that a word can be
// wider than a line.
class CondensedWide : public Condensed {
  protected:
    testsupport::FixedMetricsScope wide{25.0};
};

TEST_F(CondensedWide, LongTextIsWrappedAtTheLastBreakThatFits)
{
    add({{"LastName", "Bo"},
         {"First_Address1", "12345678 12345678 12345678 12345678"},
         {"First_City", "Salem-Keizer"}});
    // A word wider than the line is cut after the character that overflows.
    add({{"LastName", "Cy"}, {"First_Address1", QString(50, u'x')}});
    show();
    const std::string x(50, 'x');
    EXPECT_EQ(run(condensed).toStdString(),
              "  Bo    \r\n    Address: 12345678 12345678\r\n    12345678 12345678  Salem-Keizer\r\n \r\n"
              "  Cy    \r\n    Address:\r\n    " +
                  x.substr(0, 38) + "\r\n    " + x.substr(38) + "\r\n \r\n");
}

} // namespace
