#include "printing/MailingLabels.h"
#include "MemoryRecords.h"
#include "printing/FormEnvelope.h"
#include "printing/PrintModeSwitch.h"
#include "printing/ReportRun.h"
#include "printing/ReturnAddress.h"
#include "printing/frmPreview.h"
#include "support/DialogScript.h"
#include "support/FixedMetricsScope.h"
#include "support/PrintedPages.h"
#include "support/TempDatabase.h"

#include "platform/db/Database.h"
#include "platform/db/Recordset.h"
#include "platform/print/PrintSurface.h"
#include "platform/print/TextMetrics.h"
#include "platform/base/TextDirection.h"
#include "platform/ui/MsgBox.h"
#include "start/modMain.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <gtest/gtest.h>

#include <cmath>

namespace {

using platform::PrintRun;
using testsupport::runsOnPage;
using Lines = std::vector<std::string>;

QStringList contactFields()
{
    QStringList fields{"Prefix", "FirstName", "MiddleName", "LastName", "Suffix", "Organization", "AddressForLabels"};
    for (const char *set : {"First_", "Second_"})
        for (const char *f :
             {"Address_Desc", "Address1", "Address2", "Address3", "City", "State", "PostalCode", "Country"})
            fields << QLatin1String(set) + QLatin1String(f);
    return fields;
}

QVariantMap person(int n)
{
    return {{"FirstName", QStringLiteral("P%1").arg(n)}, {"LastName", "Lee"}, {"First_Address1", "1 Main"}};
}

std::vector<QVariantMap> people(int count, QVariantMap (*make)(int) = &person)
{
    std::vector<QVariantMap> rows;
    for (int n = 1; n <= count; ++n)
        rows.push_back(make(n));
    return rows;
}

// Six lines: name, organisation, two address lines, city line, country.
QVariantMap fullPerson(int n)
{
    QVariantMap contact = person(n);
    contact.insert({{"Organization", "Acme Widgets"}, {"First_Address2", "Suite 4"}, {"First_City", "Bath"},
                    {"First_State", "ME"}, {"First_PostalCode", "04530"}, {"First_Country", "USA"}});
    return contact;
}

class LabelRunTest : public ::testing::Test {
  protected:
    void SetUp() override
    {
        gDb = platform::Database::open(temp.path());
        UnloadPreview();
        PreviewSurface().setPreview(true);
        ReportRun::setEventIntervalForTesting(0);
    }
    void TearDown() override
    {
        UnloadPreview();
        gDatabase.reset();
        ReportRun::setEventIntervalForTesting(20);
    }

    const platform::PrintDocument &document() { return PreviewSurface().document(); }
    void report(const QString &name, int x, int y, const QString &font, const QString &size)
    {
        gDb->execute(QStringLiteral("Delete * From tblSettings Where Type='REPORT' And Name='%1'").arg(name));
        gDb->execute(QStringLiteral("Insert Into tblSettings (Type, Name, Setting1, Setting2, Setting3, Setting4) "
                                    "Values ('REPORT', '%1', '%2', '%3', '%4', '%5')")
                         .arg(name)
                         .arg(x)
                         .arg(y)
                         .arg(font, size));
    }
    // The first run of every label, in print order: where each label starts.
    std::vector<std::pair<double, double>> labelTops(int page, const QString &marker = QStringLiteral("P"))
    {
        std::vector<std::pair<double, double>> tops;
        for (const PrintRun &run : runsOnPage(document(), page))
            if (run.text.startsWith(marker))
                tops.emplace_back(run.x, run.y);
        return tops;
    }

    struct Strip {
        double column; // every line of every label
        double top;    // of the first place
        int pitch;
        int lines;
        double size;
    };
    // Every label prints whole, in the row's size, its lines in the column, on one page
    // clear of the paper's unprintable edge, at a place of the strip (a whole number of
    // pitches below the first place, less than a one-point line further); a place is
    // left blank only where a label would cross a page end.
    void expectLabelsOnTheStrip(const Strip &strip, int labels)
    {
        const double edge = platform::PrintDocument::UnprintableEdge;
        const double pageHeight = document().pageSize().height();
        std::vector<std::pair<PrintRun, double>> runs; // with their distance from the first page's top
        for (int page = 1; page <= document().pageCount(); ++page)
            for (const PrintRun &run : runsOnPage(document(), page))
                runs.emplace_back(run, run.y + (page - 1) * pageHeight);
        ASSERT_FALSE(runs.empty());
        platform::PrintFont font = runs.front().first.font;
        const double lineHeight = platform::textMetrics().lineHeight(font);
        platform::PrintFont spacer = font;
        spacer.size = 1;
        const double spacerLine = platform::textMetrics().lineHeight(spacer);
        const double block = strip.lines * lineHeight;
        for (const auto &[run, down] : runs) {
            EXPECT_EQ(run.x, strip.column) << run.text.toStdString() << " at " << down;
            EXPECT_GE(run.y, edge) << run.text.toStdString();
            EXPECT_LE(run.y + lineHeight, pageHeight - edge) << run.text.toStdString();
            EXPECT_EQ(run.font.size, strip.size) << run.text.toStdString();
        }
        int label = 0;
        qint64 place = -1;
        for (const auto &[run, down] : runs) {
            if (!run.text.startsWith(u'P'))
                continue;
            ++label;
            EXPECT_EQ(run.text, QStringLiteral("P%1 Lee ").arg(label));
            const qint64 at = qint64(std::floor((down - strip.top + 0.5) / strip.pitch));
            EXPECT_GE(down - (strip.top + at * strip.pitch), -0.5) << label;
            EXPECT_LT(down - (strip.top + at * strip.pitch), spacerLine) << label;
            EXPECT_GT(at, place) << label;
            for (qint64 skipped = place + 1; skipped < at; ++skipped) {
                const double y = std::fmod(strip.top + skipped * strip.pitch, pageHeight);
                EXPECT_TRUE(y < edge || y + block > pageHeight - edge) << "place " << skipped << " left blank";
            }
            place = at;
        }
        EXPECT_EQ(label, labels);
    }

    TempDatabase temp;
    DialogScript script;
};

class LabelsTest : public LabelRunTest {
  protected:
    // 10 pt: 100 twips a character; lines 210 high, so the one-point spacer line (21)
    // does not divide the label pitch.
    testsupport::FixedMetricsScope metrics{10.0, 21.0};
};

TEST(LabelAddress, LinesCloseUpAndFollowTheLabelAddressSet)
{
    const struct {
        const char *what;
        QVariantMap contact;
        QStringList lines;
    } cases[] = {
        {"organisation only", {{"Organization", "Acme"}, {"First_Address1", "1 Main"}},
         {"Acme", "1 Main", "", "", "", "", ""}},
        {"home address leaves the organisation off",
         {{"FirstName", "Ann"}, {"LastName", "Lee"}, {"Organization", "Acme"}, {"First_Address_Desc", "my hOMEstead"},
          {"First_Address1", "1 Main"}},
         {"Ann Lee ", "1 Main", "", "", "", "", ""}},
        {"gaps close and the country comes last",
         {{"Prefix", "Dr."}, {"LastName", "Lee"}, {"Suffix", "Jr."}, {"Organization", "Acme"},
          {"First_Address1", "1 Main"}, {"First_Address3", "Suite 4"}, {"First_City", "Bath"},
          {"First_State", "ME"}, {"First_PostalCode", "04530"}, {"First_Country", "USA  "}},
         {"Dr. Lee Jr.", "Acme", "1 Main", "Suite 4", "Bath, ME 04530", "USA", ""}},
        {"second set, city without state",
         {{"LastName", "Lee"}, {"AddressForLabels", 2}, {"First_Address1", "wrong"}, {"Second_Address1", "2 Elm"},
          {"Second_City", "Bath"}, {"Second_PostalCode", "04530"}},
         {"Lee ", "2 Elm", "Bath 04530", "", "", "", ""}},
        {"state without city, set 7 is the first set",
         {{"LastName", "Lee"}, {"AddressForLabels", 7}, {"First_State", "ME"}, {"First_PostalCode", "04530"}},
         {"Lee ", "ME 04530", "", "", "", "", ""}},
        {"postal code alone", {{"LastName", "Lee"}, {"First_PostalCode", "04530"}}, {"Lee ", " 04530", "", "", "", "", ""}},
    };
    for (const auto &c : cases) {
        MemoryRecords records(contactFields(), {c.contact});
        records.moveFirst();
        EXPECT_EQ(LabelAddressLines(records), c.lines) << c.what;
    }
}

TEST_F(LabelsTest, CopiesAnswerIsAWholeNumberBelow32001)
{
    const struct {
        const char *answer;
        int copies;
    } cases[] = {{"1", 1}, {"2.5", 2}, {"3.5", 4}, {"32000", 32000}, {"0", 0}, {"-3", 0},
                 {"32001", 0}, {"two", 0}, {"", 0}};
    MemoryRecords records(contactFields(), people(1));
    for (const auto &c : cases) {
        script.answerInput(QString::fromLatin1(c.answer));
        EXPECT_EQ(ConfirmLabelCopies(records, 0), c.copies) << c.answer;
    }
    const auto input = script.shown(platform::DialogKind::Input);
    ASSERT_FALSE(input.empty());
    EXPECT_EQ(input[0].title, QStringLiteral("Print Labels - Confirmation"));
    EXPECT_EQ(input[0].defaultText, QStringLiteral("1"));
    EXPECT_TRUE(input[0].text.endsWith(QString(7, '\r') + "Number of copies:"));
}

TEST_F(LabelsTest, CopiesAskNothingWithoutRecordsAndWarnAboutUnshownSelections)
{
    MemoryRecords none(contactFields(), {});
    script.answerMessage(platform::vbOK);
    EXPECT_EQ(ConfirmLabelCopies(none, 3), 0);
    EXPECT_EQ(script.shown()[0].text, QStringLiteral("There are no records displayed, so none will print."));

    MemoryRecords all(contactFields(), people(2), QStringLiteral("Select * from tblContacts"));
    script.answerMessage(platform::vbCancel);
    EXPECT_EQ(ConfirmLabelCopies(all, 3), 0);
    EXPECT_TRUE(script.shown()[1].text.startsWith(QStringLiteral("All displayed records will be printed, not just the 3 you have selected.")));
    EXPECT_EQ(script.shown()[1].style, 305);

    MemoryRecords selected(contactFields(), people(2), QStringLiteral("... Where Selected='x'"));
    script.answerInput(QStringLiteral("2"));
    EXPECT_EQ(ConfirmLabelCopies(selected, 3), 2);
    EXPECT_EQ(script.shown().size(), 3u);
}

TEST_F(LabelsTest, ThreeUpSheetFillsRowsAcrossTenRowsAPage)
{
    report(QStringLiteral("Labels 1 x 2-5/8 3-up"), 100, 200, QStringLiteral("Arial"), QStringLiteral("10"));
    MemoryRecords records(contactFields(), people(31));
    records.setCurrent(7);
    script.answerInput(QStringLiteral("1"));
    Labels3upMenu_Click(records, 0);
    ASSERT_EQ(document().pageCount(), 2);
    EXPECT_EQ(document().name, QStringLiteral("Labels 1 x 2-5/8 3-up"));
    const auto page1 = labelTops(1);
    ASSERT_EQ(page1.size(), 30u);
    for (int i = 0; i < 30; ++i) {
        EXPECT_EQ(page1[i].first, 460 + (i % 3) * 3960) << i;
        EXPECT_EQ(page1[i].second, 560 + (i / 3) * 1440) << i;
    }
    EXPECT_EQ(labelTops(2), (std::vector<std::pair<double, double>>{{460, 560}}));
    EXPECT_EQ(records.current(), 7u) << "the current record is put back";
    // 10 pt gives six lines a label: the address line sits one line under the name.
    EXPECT_EQ(testsupport::textAt(document(), 1, 460, 770), QStringLiteral("1 Main"));
}

TEST_F(LabelsTest, TwoUpCopiesTakeConsecutivePositions)
{
    MemoryRecords records(contactFields(), people(2));
    script.answerInput(QStringLiteral("3"));
    Labels2UpMenu_Click(records, 0);
    const auto tops = labelTops(1);
    ASSERT_EQ(tops.size(), 6u);
    // No REPORT row: from the quarter-inch inset, in the surface's font.
    const std::vector<std::pair<double, double>> expected{{360, 360},  {6300, 360},  {360, 1800},
                                                          {6300, 1800}, {360, 3240}, {6300, 3240}};
    EXPECT_EQ(tops, expected);
    QStringList names;
    for (const PrintRun &run : runsOnPage(document(), 1))
        if (run.text.startsWith('P'))
            names << run.text;
    EXPECT_EQ(names, (QStringList{"P1 Lee ", "P1 Lee ", "P1 Lee ", "P2 Lee ", "P2 Lee ", "P2 Lee "}));
}

// Measured with the installed fonts, not fixed metrics: the places must hold whatever
// height a font's lines have.
TEST_F(LabelRunTest, SheetLabelsLandOnTheirPlacesAtEveryStartThatFits)
{
    const struct {
        void (*menu)(DisplayedRecords &, qint32);
        const char *name;
        int columns;
        int columnPitch;
    } sheets[] = {{&Labels3upMenu_Click, "Labels 1 x 2-5/8 3-up", 3, 3960},
                  {&Labels2UpMenu_Click, "Labels 1 x 4 2-up", 2, 5940}};
    const double edge = platform::PrintDocument::UnprintableEdge;
    for (const auto &sheet : sheets) {
        for (const char *fontName : {"Arial", "Times New Roman", "Courier New"}) {
            for (const double size : {8.0, 10.0, 10.5, 12.0}) {
                platform::PrintFont font;
                font.name = QString::fromLatin1(fontName);
                font.size = size;
                const double lineHeight = platform::textMetrics().lineHeight(font);
                const int lines = size > 10 ? 5 : 6;
                // The last start whose tenth row ends clear of the paper's unprintable edge.
                const int lastY = int(std::floor(document().paperSize.height() - edge - lines * lineHeight - 360 -
                                                 9 * 1440));
                for (const auto &[x, y] : {std::pair{0, 0}, {0, 420}, {-120, 480}, {250, lastY}}) {
                    SCOPED_TRACE(testing::Message() << sheet.name << ", " << fontName << " " << size << ", X " << x
                                                    << " Y " << y);
                    report(QString::fromLatin1(sheet.name), x, y, font.name, QString::number(size));
                    MemoryRecords records(contactFields(), people(sheet.columns * 10 + 1));
                    script.answerInput(QStringLiteral("1"));
                    sheet.menu(records, 0);
                    ASSERT_EQ(document().pageCount(), 2);
                    const auto tops = labelTops(1);
                    ASSERT_EQ(tops.size(), std::size_t(sheet.columns * 10));
                    for (int i = 0; i < int(tops.size()); ++i) {
                        const double left = x + 360 + (i % sheet.columns) * sheet.columnPitch;
                        const double top = y + 360 + (i / sheet.columns) * 1440;
                        EXPECT_EQ(tops[i], std::pair(left, top)) << i;
                        EXPECT_EQ(testsupport::textAt(document(), 1, left, top + lineHeight), QStringLiteral("1 Main"))
                            << i;
                    }
                    EXPECT_EQ(labelTops(2), (std::vector<std::pair<double, double>>{{x + 360, y + 360}}));
                }
            }
        }
    }
}

TEST_F(LabelRunTest, ContinuousLabelsKeepTheirColumnAndPlacesOverPageEnds)
{
    const struct {
        void (*menu)(DisplayedRecords &, qint32);
        const char *name;
        int pitch;
    } layouts[] = {{&Labels1UpMenu2_Click, "Labels 15/16 x 3-1/2 1-up", 1440},
                   {&Labels1UpMenu1_Click, "Labels 1-1/2 x 4 1-up", 2160}};
    for (const auto &layout : layouts) {
        for (const char *fontName : {"Arial", "Times New Roman", "Courier New"}) {
            for (const double size : {8.0, 9.5, 12.0}) {
                for (const auto &[x, y] : {std::pair{0, 0}, {300, -700}, {-100, 1000}}) {
                    SCOPED_TRACE(testing::Message() << layout.name << ", " << fontName << " " << size << ", X " << x
                                                    << " Y " << y);
                    const QString name = QString::fromLatin1(layout.name);
                    report(name, x, y, QString::fromLatin1(fontName), QString::number(size));
                    MemoryRecords records(contactFields(), people(40, &fullPerson));
                    script.answerInput(QStringLiteral("1"));
                    layout.menu(records, 0);
                    expectLabelsOnTheStrip({double(x + 360), double(y + 360), layout.pitch,
                                            LabelLinesForFontSize(name, size), size},
                                           40);
                    EXPECT_EQ(PreviewSurface().fontSize(), std::round(size)) << "the kept size after each label";
                    EXPECT_EQ(PreviewSurface().marginTop(), platform::PrintSurface::DefaultMarginTop);
                    EXPECT_TRUE(PreviewSurface().flowsOverPageEnd()) << "put back for the other reports";
                }
            }
        }
    }
}

TEST_F(LabelsTest, CancelledCopiesStartNoDocument)
{
    PreviewSurface().setOrientation(1);
    MemoryRecords records(contactFields(), people(2));
    script.cancelInput();
    Labels3upMenu_Click(records, 0);
    EXPECT_EQ(PreviewSurface().orientation(), 1);
    EXPECT_EQ(document().pageCount(), 0);
}

class EnvelopesTest : public LabelsTest {
  protected:
    void returnAddress(int row, const QStringList &settings)
    {
        QStringList sets;
        for (int i = 0; i < 7; ++i)
            sets << QStringLiteral("Setting%1='%2'").arg(i + 1).arg(settings.value(i));
        gDb->execute(QStringLiteral("Update tblSettings Set %1 Where Type='RETURNADDRESS%2'")
                         .arg(sets.join(", "))
                         .arg(row));
    }
    void choice(const QString &stored)
    {
        gDb->execute(
            QStringLiteral("Update tblSettings Set Name='%1' Where Type='RETURNADDRESSCHOICE'").arg(stored));
    }
};

TEST_F(EnvelopesTest, ReturnBlockAndMainAddressOnEachEnvelope)
{
    report(QStringLiteral("Envelope Return Address"), 300, 400, QStringLiteral("Arial"), QStringLiteral("8"));
    report(QStringLiteral("Envelope Main Address"), 5000, 3000, QStringLiteral("Arial"), QStringLiteral("12"));
    returnAddress(2, {"9 Oak", "", "", "Bath", "ME", "04530", "USA"});
    returnAddress(1, {"wrong", "", "", "", "", "", ""});
    choice(QStringLiteral(" 2 "));
    MemoryRecords records(contactFields(), people(3));
    records.setCurrent(1);
    PrintEnvelopes(records, 2);
    EXPECT_EQ(document().name, QStringLiteral("Envelope"));
    EXPECT_EQ(document().orientation, 1) << "the shipped orientation row says Landscape";
    ASSERT_EQ(document().pageCount(), 3);
    EXPECT_EQ(testsupport::pageLines(document(), 3),
              (Lines{"(300,400) Arial 8 9 Oak", "(300,568) Arial 8 Bath, ", "(780,568) Arial 8 ME  ",
                     "(1100,568) Arial 8 04530", "(300,736) Arial 8 USA", "(5000,3000) Arial 12 P3 Lee ",
                     "(5000,3252) Arial 12 1 Main"}));
    EXPECT_EQ(records.current(), 1u);

    PrintEnvelopes(records, 1);
    ASSERT_EQ(document().pageCount(), 1);
    EXPECT_NE(testsupport::findRun(document(), 1, "P2 Lee "), nullptr) << "the current record";
}

TEST_F(EnvelopesTest, ReturnCityLineKeepsTwoBlanksAfterTheStateAndOneAfterACityAlone)
{
    report(QStringLiteral("Envelope Return Address"), 300, 400, QStringLiteral("Arial"), QStringLiteral("8"));
    choice(QStringLiteral("1"));
    // 8 pt: 80 twips a character.
    const struct {
        QStringList cityStatePostalCode;
        Lines cityLine;
    } cases[] = {
        {{"Bath", "ME", "04530"}, {"(300,400) Arial 8 Bath, ", "(780,400) Arial 8 ME  ", "(1100,400) Arial 8 04530"}},
        {{"Bath", "", "04530"}, {"(300,400) Arial 8 Bath", "(700,400) Arial 8 04530"}},
        {{"", "ME", "04530"}, {"(300,400) Arial 8 ME  ", "(620,400) Arial 8 04530"}},
        {{"Bath", "ME", ""}, {"(300,400) Arial 8 Bath, ", "(780,400) Arial 8 ME  "}},
    };
    for (const auto &c : cases) {
        returnAddress(1, QStringList{"", "", ""} + c.cityStatePostalCode);
        MemoryRecords records(contactFields(), {{{"LastName", "Lee"}}});
        PrintEnvelopes(records, 1);
        Lines cityLine = testsupport::pageLines(document(), 1);
        cityLine.resize(c.cityLine.size());
        EXPECT_EQ(cityLine, c.cityLine) << c.cityStatePostalCode.join(u'|').toStdString();
    }
}

TEST_F(EnvelopesTest, AMainAddressLowOnTheEnvelopeKeepsOneEnvelopeAPage)
{
    // Landscape, 12240 high: seven 12-pt lines from 11000 pass the bottom margin.
    report(QStringLiteral("Envelope Main Address"), 5000, 11000, QStringLiteral("Arial"), QStringLiteral("12"));
    MemoryRecords records(contactFields(), people(3));
    PrintEnvelopes(records, 2);
    ASSERT_EQ(document().pageCount(), 3);
    for (int page = 1; page <= 3; ++page)
        EXPECT_EQ(testsupport::textAt(document(), page, 5000, 11252), QStringLiteral("1 Main")) << page;
}

TEST_F(EnvelopesTest, ChoicesOtherThanOneOrTwoPrintNoReturnAddress)
{
    returnAddress(1, {"1 First", "", "", "", "", "", ""});
    for (const char *stored : {"", "0", "3", "x"}) {
        choice(QString::fromLatin1(stored));
        MemoryRecords records(contactFields(), people(1));
        PrintEnvelopes(records, 1);
        ASSERT_EQ(document().pageCount(), 1) << stored;
        EXPECT_EQ(testsupport::findRun(document(), 1, "1 First"), nullptr) << stored;
        EXPECT_NE(testsupport::findRun(document(), 1, "P1 Lee "), nullptr) << stored;
    }
    choice(QStringLiteral("1"));
    MemoryRecords records(contactFields(), people(1));
    PrintEnvelopes(records, 1);
    EXPECT_NE(testsupport::findRun(document(), 1, "1 First"), nullptr);
}

TEST_F(EnvelopesTest, NoDisplayedRecordsIsToldBeforeAnyDocument)
{
    MemoryRecords none(contactFields(), {});
    script.answerMessage(platform::vbOK);
    PrintEnvelopes(none, 2);
    ASSERT_EQ(script.shown().size(), 1u);
    EXPECT_EQ(script.shown()[0].title, QStringLiteral("No records to print"));
    EXPECT_EQ(document().pageCount(), 0);
}

TEST_F(EnvelopesTest, ReturnAddressWindowSavesAllRowsOrNone)
{
    {
        ReturnAddress window;
        window.load();
        EXPECT_TRUE(window.findChild<QRadioButton *>("rbNone")->isChecked());
        window.findChild<QLineEdit *>("txtSecond_Address_Desc")->setText("Office");
        EXPECT_EQ(window.findChild<QRadioButton *>("rbSecond")->text(), QStringLiteral("Office"));
        window.findChild<QRadioButton *>("rbSecond")->setChecked(true);
        window.findChild<QLineEdit *>("txtSecond_City")->setText(" Bath ");
        window.cmdSave_Click();
        EXPECT_TRUE(window.isUnloaded());
    }
    auto row = [&](const char *type, const char *field) {
        return gDb->openRecordset(QStringLiteral("Select * from tblSettings Where Type='%1'").arg(type))
            ->value(field)
            .toString();
    };
    EXPECT_EQ(row("RETURNADDRESSCHOICE", "Name"), QStringLiteral("2"));
    EXPECT_EQ(row("RETURNADDRESS2", "Name"), QStringLiteral("Office"));
    EXPECT_EQ(row("RETURNADDRESS2", "Setting4"), QStringLiteral(" Bath "));

    gDb->execute("Delete * from tblSettings Where Type='RETURNADDRESS2'");
    script.answerMessage(platform::vbOK).answerMessage(platform::vbOK);
    ReturnAddress window;
    window.load(); // the second group keeps its design texts
    EXPECT_EQ(window.findChild<QLineEdit *>("txtSecond_Address_Desc")->text(), QStringLiteral("Second Return Address"));
    window.findChild<QRadioButton *>("rbFirst")->setChecked(true);
    window.cmdSave_Click();
    EXPECT_FALSE(window.isUnloaded());
    ASSERT_EQ(script.shown().size(), 2u);
    EXPECT_EQ(script.shown()[1].title, QStringLiteral("Error"));
    EXPECT_EQ(script.shown()[1].icon, platform::vbCritical);
    EXPECT_EQ(row("RETURNADDRESSCHOICE", "Name"), QStringLiteral("2")) << "nothing of a failed save is kept";
}

} // namespace

namespace {

// The window opens on the choice in force, so that Space does not change it unseen.
TEST_F(EnvelopesTest, ReturnAddressOpensWithTheFocusOnTheChoiceInForce)
{
    for (const auto &[stored, focused] : {std::pair{"1", "rbFirst"}, {"2", "rbSecond"}, {"0", "rbNone"}}) {
        gDb->execute(
            QStringLiteral("Update tblSettings Set Name='%1' Where Type='RETURNADDRESSCHOICE'").arg(stored));
        ReturnAddress window;
        window.showModeless();
        ASSERT_NE(window.focusWidget(), nullptr);
        EXPECT_EQ(window.focusWidget()->objectName(), focused);
        window.unload();
    }
}

// An organisation of 255 characters, and a long right-to-left street: every line of every
// layout ends at its label's right edge with "…", whole characters kept, short of the next
// label; a line that fits is printed whole.
TEST_F(LabelsTest, LinesAreCutAtTheLabelsRightEdge)
{
    const struct {
        void (*menu)(DisplayedRecords &, qint32);
        int labelWidth;
    } layouts[] = {{Labels3upMenu_Click, 3780}, {Labels2UpMenu_Click, 5760}, {Labels1UpMenu1_Click, 5760},
                   {Labels1UpMenu2_Click, 5040}};
    QVariantMap contact = person(1);
    contact.insert({{"Organization", QString(255, u'W')}, {"First_Address1", QString::fromUtf8("רחוב הרצל ").repeated(9)}});
    for (const auto &layout : layouts) {
        MemoryRecords records(contactFields(), {contact, person(2), person(3)});
        script.answerInput(QStringLiteral("1"));
        layout.menu(records, 0);
        const std::vector<PrintRun> runs = runsOnPage(document(), 1);
        ASSERT_EQ(runs.size(), 7u);
        // 10 pt, 100 twips a character: the text starts a quarter inch inside the label.
        const int fits = (layout.labelWidth - 360) / 100;
        EXPECT_EQ(runs[0].text, QStringLiteral("P1 Lee ")) << "a line that fits";
        const QChar cut(platform::CutMark);
        EXPECT_EQ(runs[1].text, QString(fits - 1, u'W') + cut);
        QString street = runs[2].text;
        for (const char16_t mark : {platform::FirstStrongIsolate, platform::RightToLeftIsolate,
                                    platform::PopDirectionalIsolate})
            street.remove(QChar(mark));
        EXPECT_EQ(street, QString::fromUtf8("רחוב הרצל ").repeated(9).left(fits - 1).trimmed() + cut);
        for (const PrintRun &run : runs)
            EXPECT_LE(run.x + platform::textMetrics().width(run.font, run.text), run.x - 360 + layout.labelWidth)
                << run.text.toStdString();
    }
}

} // namespace
