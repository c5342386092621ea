#include "export/CsvExports.h"
#include "export/ExportFixture.h"

#include "platform/base/DateText.h"

#include <QDateTime>
#include <QLocale>
#include <QScopeGuard>

namespace {

using Csv = ExportFixture;

const QByteArray Header46 =
    "\"Prefix\",\"FirstName\",\"MiddleName\",\"LastName\",\"Suffix\",\"Organization\",\"Address1\","
    "\"Address2\",\"Address3\",\"City\",\"State\",\"PostalCode\",\"Country\",\"Phone1_Desc\",\"Phone1\","
    "\"Phone2_Desc\",\"Phone2\",\"Phone3_Desc\",\"Phone3\",\"Phone4_Desc\",\"Phone4\",\"Phone5_Desc\","
    "\"Phone5\",\"Phone6_Desc\",\"Phone6\",\"Date Record Last Updated\",\"Date1_Desc\",\"Date1\","
    "\"Date2_Desc\",\"Date2\",\"Date3_Desc\",\"Date3\",\"Date4_Desc\",\"Date4\",\"Date5_Desc\",\"Date5\","
    "\"Email_Address\",\"UserField1_Desc\",\"UserField1\",\"UserField2_Desc\",\"UserField2\","
    "\"UserField3_Desc\",\"UserField3\",\"Code\",\"Nickname\",\"Title\"";

const auto csv = [](DisplayedRecords &r, platform::CommonDialog &d) { ExportCsv(r, d, false); };
const auto csvWithNotes = [](DisplayedRecords &r, platform::CommonDialog &d) { ExportCsv(r, d, true); };

// The values of a line that holds no comma, quote or line break inside a value.
QList<QByteArray> values(const QByteArray &line)
{
    QList<QByteArray> v = line.mid(1, line.size() - 2).split(',');
    for (QByteArray &value : v)
        value = value.mid(0, value.size() - (value.endsWith('"') ? 1 : 0)).mid(value.startsWith('"') ? 1 : 0);
    return v;
}

TEST_F(Csv, FirstLineNamesTheColumnsAndNotesComeLastWhenAsked)
{
    add({{"LastName", "Ng"}});
    show();
    const QByteArray without = run(csv);
    EXPECT_TRUE(without.startsWith(Header46 + "\r\n"));
    const QByteArray with = run(csvWithNotes);
    EXPECT_TRUE(with.startsWith(Header46 + ",\"Notes\"\r\n"));
    EXPECT_EQ(values(afterFirstLine(without).chopped(2)).size(), 46);
    EXPECT_EQ(values(afterFirstLine(with).chopped(2)).size(), 47);
}

TEST_F(Csv, ValuesAreTrimmedQuotedAndTheirDoubleQuotesBecomeApostrophes)
{
    add({{"Prefix", "  Dr. "},
         {"FirstName", " Ann  Marie "},
         {"LastName", "O\"Neil, Jr"},
         {"Organization", "Smith  &  Sons"},
         {"Email_Address", "ann@example.com"},
         {"Code", "\"VIP\""},
         {"Notes", "Line one, \"quoted\"\r\nLine two "}});
    show();
    const QByteArray line = afterFirstLine(run(csvWithNotes));
    EXPECT_TRUE(line.startsWith("\"Dr.\",\"Ann  Marie\",\"\",\"O'Neil, Jr\",\"\",\"Smith  &  Sons\","));
    EXPECT_NE(line.indexOf(",\"ann@example.com\","), -1);
    EXPECT_NE(line.indexOf(",\"'VIP'\","), -1);
    // The note's line break stays inside its value, so the contact spans two lines.
    EXPECT_TRUE(line.endsWith(",\"Line one, 'quoted'\r\nLine two\"\r\n"));
    EXPECT_EQ(line.count('"') % 2, 0);
}

TEST_F(Csv, AddressColumnsTakeTheLabelAddressSet)
{
    struct Case {
        QVariant choice;
        const char *city;
    };
    const Case cases[] = {{2, "Second"}, {1, "First"}, {QVariant(), "First"}, {7, "First"}, {0, "First"}};
    for (const Case &c : cases) {
        temp.db().execute(QStringLiteral("Delete * From tblContacts"));
        add({{"LastName", "Ng"},
             {"AddressForLabels", c.choice},
             {"First_Address1", "1 First St"},
             {"First_City", "First"},
             {"First_Country", "Canada"},
             {"Second_Address1", "2 Second Ave"},
             {"Second_City", "Second"}});
        show();
        const QList<QByteArray> v = values(afterFirstLine(run(csv)).chopped(2));
        SCOPED_TRACE(c.choice.toString().toStdString());
        EXPECT_EQ(v[9], c.city);
        EXPECT_EQ(v[6], QByteArray(c.city) == "First" ? "1 First St" : "2 Second Ave");
        EXPECT_EQ(v[12], QByteArray(c.city) == "First" ? "Canada" : "");
    }
}

TEST_F(Csv, DatesAreWrittenAsTheSystemShowsThem)
{
    add({{"LastName", "Ng"},
         {"DateUpdated", QDateTime(QDate(2021, 3, 4), QTime(13, 30))},
         {"Date1", QDateTime(QDate(2020, 1, 2), QTime(13, 30))},
         {"Date1_Desc", "Met \"there\""},
         {"Date2", QDateTime(QDate(1999, 12, 31), QTime(0, 0))}});
    show();
    const QList<QByteArray> v = values(afterFirstLine(run(csv)).chopped(2));
    EXPECT_EQ(v[25], "3/4/2021");
    EXPECT_EQ(v[26], "Met 'there'");
    EXPECT_EQ(v[27], "1/2/2020 1:30:00 PM");
    EXPECT_EQ(v[29], "12/31/1999");
    EXPECT_EQ(v[31], "");
    EXPECT_EQ(v[35], "");
}

// Dates leave in digits the file holds, in the order of the user's locale. What the
// locale's form still holds beyond the code page (an Arabic AM/PM text) is named apart
// from the records with other characters lost.
TEST_F(Csv, DatesGoOutInPlainDigitsWhateverTheLocale)
{
    const struct {
        const char *locale;
        const char *updated, *date1, *date2;
        const char *named; // in the closing message; none when everything was written
    } cases[] = {
        {"ar_EG", "4/3/2021", "2/1/2020 1:30:00 ?", "31/12/1999", "(\u0645)"},
        {"ja_JP", "2021/03/04", "2020/01/02 13:30:00", "1999/12/31", nullptr},
        {"fa_IR", "2021/3/4", "2020/1/2 13:30:00", "1999/12/31", nullptr},
        {"es_ES", "4/3/2021", "2/1/2020 13:30:00", "31/12/1999", nullptr},
    };
    add({{"LastName", "Ng"},
         {"DateUpdated", QDateTime(QDate(2021, 3, 4), QTime(13, 30))},
         {"Date1", QDateTime(QDate(2020, 1, 2), QTime(13, 30))},
         {"Date2", QDateTime(QDate(1999, 12, 31), QTime(0, 0))}});
    show();
    const auto restore = qScopeGuard([] { platform::setDateLocaleForTesting(QLocale::system()); });
    for (const auto &c : cases) {
        SCOPED_TRACE(c.locale);
        platform::setDateLocaleForTesting(QLocale(QString::fromLatin1(c.locale)));
        const QList<QByteArray> v = values(afterFirstLine(run(csv)).chopped(2));
        EXPECT_EQ(v[25], c.updated);
        EXPECT_EQ(v[27], c.date1);
        EXPECT_EQ(v[29], c.date2);
        ASSERT_EQ(shown.size(), 3u);
        const QString told = shown.at(2).text;
        EXPECT_FALSE(told.contains("record(s)")) << qPrintable(told);
        if (c.named)
            EXPECT_TRUE(told.contains(QString::fromUtf8(c.named))) << qPrintable(told);
        else
            EXPECT_FALSE(told.contains("lacks")) << qPrintable(told);
    }
}

TEST_F(Csv, TextGoesOutInTheAnsiCodePage)
{
    add({{"FirstName", "Zoë"}, {"LastName", "Łukasiewicz"}, {"Organization", "5 € café"}});
    show();
    const QByteArray line = afterFirstLine(run(csv));
    EXPECT_TRUE(line.startsWith("\"\",\"Zo\xEB\",\"\",\"?ukasiewicz\",\"\",\"5 \x80 caf\xE9\","));
}

TEST_F(Csv, EveryDisplayedContactInTheListsOrder)
{
    for (const char *name : {"Cole", "Abel", "Baker"})
        add({{"LastName", name}});
    show(QStringLiteral("Select * From tblContacts Where LastName <> \"Baker\" Order By LastName DESC"));
    const QList<QByteArray> lines = run(csv).split('\n');
    ASSERT_EQ(lines.size(), 4); // the first line, two contacts, and nothing after the last line end
    EXPECT_EQ(values(lines[1].chopped(1))[3], "Cole");
    EXPECT_EQ(values(lines[2].chopped(1))[3], "Abel");
    EXPECT_EQ(lines[3], "");
}

using Email = ExportFixture;

const auto email = [](DisplayedRecords &r, platform::CommonDialog &d) { ExportEmail(r, d); };

TEST_F(Email, OnlyAddressesWithAnAtSignAndAFullStopQualify)
{
    struct Case {
        QVariant address;
        bool written;
    };
    const Case cases[] = {{"ann@example.com", true},
                          {"first.last@host", true},
                          {".@", true},
                          {"ann@example", false},
                          {"ann.example.com", false},
                          {"", false},
                          {QVariant(), false},
                          {"  ", false}};
    int i = 0;
    for (const Case &c : cases)
        add({{"LastName", QStringLiteral("N%1").arg(i++)}, {"Email_Address", c.address}});
    show();
    const QByteArray bytes = run(email);
    QByteArray expected = "\"Name\",\"FirstName\",\"LastName\",\"Email_Address\"\r\n";
    i = 0;
    for (const Case &c : cases) {
        if (c.written)
            expected +=
                QStringLiteral("\"N%1\",\"\",\"N%1\",\"%2\"\r\n").arg(i).arg(c.address.toString()).toLatin1();
        ++i;
    }
    EXPECT_EQ(bytes, expected);
}

TEST_F(Email, NameJoinsFirstAndLastNameWithoutStrayBlanks)
{
    add({{"FirstName", " Ann "}, {"LastName", " Lee "}, {"Email_Address", " a@b.c "}});
    add({{"LastName", "Only\"Last"}, {"Email_Address", "o@b.c"}});
    add({{"FirstName", "Only First"}, {"Email_Address", "f@b.c"}});
    show(QStringLiteral("Select * From tblContacts Order By RecordID"));
    EXPECT_EQ(afterFirstLine(run(email)), "\"Ann Lee\",\"Ann\",\"Lee\",\"a@b.c\"\r\n"
                                          "\"Only'Last\",\"\",\"Only'Last\",\"o@b.c\"\r\n"
                                          "\"Only First\",\"Only First\",\"\",\"f@b.c\"\r\n");
}

using Vistaprint = ExportFixture;

TEST_F(Vistaprint, EveryContactWithItsFirstAddress)
{
    add({{"Prefix", "Dr."},
         {"FirstName", "Ann"},
         {"MiddleName", "B"},
         {"LastName", "Lee"},
         {"Suffix", "Jr."},
         {"Title", "Owner"},
         {"Organization", "Lee \"&\" Co"},
         {"AddressForLabels", 2},
         {"First_Address1", "1 First St"},
         {"First_Address2", "Suite 2"},
         {"First_Address3", "Back door"},
         {"First_City", "Salem"},
         {"First_State", "OR"},
         {"First_PostalCode", "97301"},
         {"First_Country", "USA"},
         {"Second_Address1", "9 Other Rd"}});
    add({{"Organization", "Zed"}});
    show();
    const QString path = target(QStringLiteral("VistaprintOut.csv"));
    EXPECT_EQ(run([](DisplayedRecords &r, platform::CommonDialog &d) { ExportVistaprint(r, d); }, path),
              "\"Salutation\",\"First Name\",\"Middle\",\"Last Name\",\"Suffix\",\"Title\",\"Company Name\","
              "\"Address Line 1\",\"Address Line 2\",\"City\",\"State\",\"ZIP Code\"\r\n"
              "\"\",\"\",\"\",\"\",\"\",\"\",\"Zed\",\"\",\"\",\"\",\"\",\"\"\r\n"
              "\"Dr.\",\"Ann\",\"B\",\"Lee\",\"Jr.\",\"Owner\",\"Lee '&' Co\",\"1 First St\",\"Suite 2\","
              "\"Salem\",\"OR\",\"97301\"\r\n");
    const platform::DialogRequest &save = shown[1];
    EXPECT_EQ(save.fileName, "VistaprintOut.csv");
    EXPECT_EQ(save.filter, "All Files (*.*)|*.*|csv Files & (*.csv)|*.csv");
}

} // namespace
