#include "MemoryRecords.h"
#include "printing/CondensedLists.h"
#include "printing/GLOBAL.h"
#include "printing/PhoneListReports.h"
#include "printing/PreviewReportFixture.h"
#include "support/PrintedPages.h"

#include "platform/base/TextDirection.h"

#include <gtest/gtest.h>

namespace {

// The contacts of a Hebrew- and Arabic-speaking user: descriptions beside numbers, a street
// with its number at the end, a city before its postal code, a bracketed organisation.
std::vector<QVariantMap> contacts()
{
    return {{{"FirstName", "דוד"},
             {"LastName", "כהן"},
             {"Phone1", "555-0100"},
             {"Phone1_Desc", "נייד"},
             {"Phone2", "555-0199"},
             {"Phone2_Desc", "בית"},
             {"First_Address1", "רחוב הרצל 12"},
             {"First_City", "רמת גן"},
             {"First_PostalCode", "52522"}},
            {{"LastName", "Levi"}, {"Organization", "חברה (בע\"מ)"}, {"Phone1", "555-0110"}, {"Phone1_Desc", "Work"}},
            {{"LastName", "Smith"}, {"Phone1", "555-0123"}, {"Phone1_Desc", "Work"}, {"First_City", "תל אביב"},
             {"First_State", "CA"}, {"First_PostalCode", "90210"}}};
}

class RightToLeftReportsTest : public PreviewReportTest {
  protected:
    std::vector<std::string> drawn()
    {
        std::vector<std::string> lines;
        for (const QString &line : testsupport::pdfDrawnLines(document(), 0))
            lines.push_back(line.toStdString());
        return lines;
    }
};

// Read back from the PDF as the glyphs stand, left to right: each description beside its
// own number, the street's number where a reader of the street expects it, the city before
// its postal code; the condensed line has the bold name and the details on one line.
TEST_F(RightToLeftReportsTest, PhonesStayBesideTheirDescriptionsAndAddressesInTheirOrder)
{
    MemoryRecords phones(testsupport::printedContactFields(), contacts());
    PrintPhoneList(phones, QString());
    EXPECT_EQ(drawn(), (std::vector<std::string>{"1/2/2020", "  דוד ןהכ    ", "דיינ: 555-0100  תיב: 555-0199",
                                                  "  Levi  (מ\"עב) הרבח  ", "Work: 555-0110", "  Smith    ",
                                                  "Work: 555-0123"}));

    MemoryRecords condensed(testsupport::printedContactFields(), contacts());
    PrintCondensedOneLine(condensed, QString());
    EXPECT_EQ(drawn(), (std::vector<std::string>{
                           "1/2/2020", "דוד ןהכדיינ: 555-0100  תיב: 555-0199    12 לצרה בוחר  ןג תמר 52522",
                           "Levi  (מ\"עב) הרבחWork: 555-0110", "SmithWork: 555-0123    ביבא לת, CA 90210"}));
}

// A right-to-left field cut by the wrap: every line holds its isolates whole, and the
// lines together give back the text.
TEST_F(RightToLeftReportsTest, AWrappedFieldReadsInItsDirectionOnEveryLine)
{
    const QString street = QString::fromUtf8("12 רחוב הרצל ליד הבנק הגדול כניסה מהחצר האחורית");
    gPrinting.gPrintTextBuffer = QStringLiteral("Work: 555-0123  ") + platform::isolatedField(street) + u' ';
    const platform::PrintFont arial{QStringLiteral("Arial"), 8.0, false, false};
    QString joined;
    int lines = 0;
    while (!gPrinting.gPrintTextBuffer.isEmpty()) {
        const QString line = GetNextPrintLine(gPrinting.gPrintTextBuffer, 1600, arial);
        ++lines;
        int open = 0;
        for (const QChar c : line) {
            open += c == platform::FirstStrongIsolate || c == platform::RightToLeftIsolate;
            open -= c == platform::PopDirectionalIsolate;
            EXPECT_GE(open, 0) << line.toStdString();
        }
        EXPECT_EQ(open, 0) << line.toStdString();
        EXPECT_FALSE(line.contains(QChar(platform::LeftToRightIsolate))) << "the street reads right to left";
        joined += (joined.isEmpty() ? QString() : QStringLiteral(" ")) + line;
    }
    EXPECT_GE(lines, 3);
    for (const char16_t mark : {platform::FirstStrongIsolate, platform::RightToLeftIsolate, platform::PopDirectionalIsolate})
        joined.remove(QChar(mark));
    EXPECT_EQ(joined.toStdString(), (QStringLiteral("Work: 555-0123  ") + street).toStdString());
}

} // namespace
