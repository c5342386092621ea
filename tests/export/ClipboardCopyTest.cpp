#include "export/ClipboardCopy.h"
#include "export/ExportFixture.h"

#include "platform/ui/Clipboard.h"

namespace {

class Clipboard : public ExportFixture {
  protected:
    QString copy(const QVariantMap &contact)
    {
        temp.db().execute(QStringLiteral("Delete * From tblContacts"));
        add(contact);
        show();
        DataControlRecords records(Data1);
        CopyNameAddressToClipboard(records);
        return platform::clipboardText();
    }
};

TEST_F(Clipboard, NameOrganisationTitleAndLabelAddressOneALine)
{
    EXPECT_EQ(copy({{"Prefix", "Dr."},
                    {"FirstName", "Ann"},
                    {"MiddleName", "B."},
                    {"LastName", "Lee"},
                    {"Suffix", "Jr."},
                    {"Nickname", "Annie"},
                    {"Organization", "  Lee & Co"},
                    {"Title", "Owner"},
                    {"Email_Address", "ann@lee.com"},
                    {"Phone1", "555-0101"},
                    {"First_Address_Desc", "Home"},
                    {"First_Address1", "1 Main St"},
                    {"First_Address2", "Suite 2"},
                    {"First_Address3", "Rear"},
                    {"First_City", "Salem"},
                    {"First_State", "OR"},
                    {"First_PostalCode", "97301"},
                    {"First_Country", "USA "}}),
              "Dr. Ann B. Lee Jr.\r\n  Lee & Co\r\nOwner\r\n1 Main St\r\nSuite 2\r\nRear\r\nSalem, OR "
              "97301\r\nUSA\r\n");
}

TEST_F(Clipboard, NameLinesAndCityLines)
{
    struct Case {
        QVariantMap contact;
        const char *text;
    };
    const Case cases[] = {
        {{{"FirstName", "Al"}, {"LastName", "Bo"}}, "Al Bo \r\n"},
        {{{"Prefix", "Mr."}, {"LastName", "Bo"}}, "Mr. Bo \r\n"},
        {{{"LastName", "Bo"}, {"First_City", "Salem"}, {"First_PostalCode", "97301"}},
         "Bo \r\nSalem 97301\r\n"},
        {{{"LastName", "Bo"}, {"First_State", "OR"}, {"First_PostalCode", "97301"}}, "Bo \r\nOR 97301\r\n"},
        {{{"LastName", "Bo"}, {"First_City", "Salem"}, {"First_State", "OR"}}, "Bo \r\nSalem, OR \r\n"},
        {{{"Organization", "Acme"}, {"First_Address1", "1 Main"}, {"First_Country", "USA"}},
         "Acme\r\n1 Main\r\nUSA\r\n"},
        {{{"LastName", "Bo"}, {"AddressForLabels", 2}, {"First_City", "One"}, {"Second_City", "Two"}},
         "Bo \r\nTwo \r\n"},
        {{{"LastName", "Bo"}, {"AddressForLabels", 3}, {"First_City", "One"}, {"Second_City", "Two"}},
         "Bo \r\nOne \r\n"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(copy(c.contact), QString::fromUtf8(c.text));
}

TEST_F(Clipboard, NothingDisplayedLeavesTheClipboardAlone)
{
    platform::setClipboardText(QStringLiteral("earlier"));
    show();
    DataControlRecords records(Data1);
    CopyNameAddressToClipboard(records);
    EXPECT_EQ(platform::clipboardText(), "earlier");
}

} // namespace
