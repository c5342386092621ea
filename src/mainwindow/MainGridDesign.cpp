#include "mainwindow/MainGridDesign.h"

namespace {
constexpr int alignLeft = 0;
constexpr int alignCentre = 2;
} // namespace

QList<ColumnLayoutFile::Column> designedGridColumns()
{
    struct Design {
        const char *caption;
        const char *field;
        double width;
    };
    static const Design designs[] = {
        {"Last Name", "LastName", 1500},
        {"First Name", "FirstName", 1200},
        {"Middle Name", "MiddleName", 1000},
        {"Organization", "Organization", 2000},
        {"Phone 1", "Phone1", 1400},
        {"Phone 1 Desc", "Phone1_Desc", 1100},
        {"Phone 2", "Phone2", 1400},
        {"Phone 2 Desc", "Phone2_Desc", 1100},
        {"Phone 3", "Phone3", 1400},
        {"Phone 3 Desc", "Phone3_Desc", 1100},
        {"Phone 4", "Phone4", 1400},
        {"Phone 4 Desc", "Phone4_Desc", 1100},
        {"Phone 5", "Phone5", 1400},
        {"Phone 5 Desc", "Phone5_Desc", 1100},
        {"Phone 6", "Phone6", 1400},
        {"Phone 6 Desc", "Phone6_Desc", 1100},
        {"E-mail Address", "Email_Address", 2200},
        {"Prefix", "Prefix", 700},
        {"Suffix", "Suffix", 700},
        {"Nickname", "Nickname", 1000},
        {"Title", "Title", 1200},
        {"Address Desc", "First_Address_Desc", 1100},
        {"Address 1", "First_Address1", 2000},
        {"Address 2", "First_Address2", 1500},
        {"Address 3", "First_Address3", 1500},
        {"City", "First_City", 1400},
        {"State", "First_State", 700},
        {"Postal Code", "First_PostalCode", 1000},
        {"Country", "First_Country", 1100},
        {"2nd Address Desc", "Second_Address_Desc", 1100},
        {"2nd Address 1", "Second_Address1", 2000},
        {"2nd Address 2", "Second_Address2", 1500},
        {"2nd Address 3", "Second_Address3", 1500},
        {"2nd City", "Second_City", 1400},
        {"2nd State", "Second_State", 700},
        {"2nd Postal Code", "Second_PostalCode", 1000},
        {"2nd Country", "Second_Country", 1100},
        {"Date 1", "Date1", 1000},
        {"Date 1 Desc", "Date1_Desc", 1100},
        {"Date 2", "Date2", 1000},
        {"Date 2 Desc", "Date2_Desc", 1100},
        {"Date 3", "Date3", 1000},
        {"Date 3 Desc", "Date3_Desc", 1100},
        {"Date 4", "Date4", 1000},
        {"Date 4 Desc", "Date4_Desc", 1100},
        {"Date 5", "Date5", 1000},
        {"Date 5 Desc", "Date5_Desc", 1100},
        {"User Field 1", "UserField1", 1200},
        {"User Field 1 Desc", "UserField1_Desc", 1100},
        {"User Field 2", "UserField2", 1200},
        {"User Field 2 Desc", "UserField2_Desc", 1100},
        {"User Field 3", "UserField3", 1200},
        {"User Field 3 Desc", "UserField3_Desc", 1100},
        {"Code", "Code", 800},
        {"Notes", "Notes", 3000},
        {"Date Updated", "DateUpdated", 1700},
        {"Picture 1", "PicturePath1", 1400},
        {"Picture 2", "PicturePath2", 1400},
        {"Picture 3", "PicturePath3", 1400},
    };
    QList<ColumnLayoutFile::Column> columns;
    columns.append({QString(), QStringLiteral("Selected"), 255, alignCentre});
    for (const Design &d : designs)
        columns.append({QString::fromUtf8(d.caption), QString::fromUtf8(d.field), d.width, alignLeft});
    return columns;
}
