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
#include "platform/ui/MsgBox.h"
#include "start/modMain.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <gtest/gtest.h>

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

std::vector<QVariantMap> people(int count)
{
    std::vector<QVariantMap> rows;
    for (int n = 1; n <= count; ++n)
        rows.push_back(person(n));
    return rows;
}

class LabelsTest : public ::testing::Test {
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

    TempDatabase temp;
    DialogScript script;
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

TEST_F(LabelsTest, ContinuousLabelsKeepTheirPitchAcrossPageEnds)
{
    const struct {
        void (*menu)(DisplayedRecords &, qint32);
        const char *name;
        const char *size;
        int pitch;
    } layouts[] = {{&Labels1UpMenu2_Click, "Labels 15/16 x 3-1/2 1-up", "9.5", 1440},
                   {&Labels1UpMenu1_Click, "Labels 1-1/2 x 4 1-up", "12", 2160}};
    for (const auto &layout : layouts) {
        SCOPED_TRACE(layout.name);
        report(QString::fromLatin1(layout.name), 0, 0, QStringLiteral("Arial"), QString::fromLatin1(layout.size));
        MemoryRecords records(contactFields(), people(50));
        script.answerInput(QStringLiteral("1"));
        layout.menu(records, 0);
        const double pageHeight = document().pageSize().height();
        std::vector<std::pair<double, double>> tops;
        for (int page = 1; page <= document().pageCount(); ++page)
            for (const auto &top : labelTops(page))
                tops.emplace_back(top.first, top.second + (page - 1) * pageHeight);
        ASSERT_EQ(tops.size(), 50u);
        const double spacerLine = 21;
        for (int k = 0; k < 50; ++k) {
            const double expected = 360 + k * layout.pitch;
            EXPECT_GE(tops[k].second, expected - 0.5) << k;
            EXPECT_LT(tops[k].second, expected + spacerLine) << k;
            EXPECT_EQ(tops[k].first, 360) << k;
        }
        EXPECT_GT(document().pageCount(), 3);
        // Every label in the kept whole-number size.
        for (const PrintRun &run : runsOnPage(document(), 1))
            EXPECT_EQ(run.font.size, std::round(QString::fromLatin1(layout.size).toDouble()));
        EXPECT_EQ(PreviewSurface().marginTop(), platform::PrintSurface::DefaultMarginTop) << "margins are put back";
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
        gDb->execute(QStringLiteral("Update tblSettings Set Name='%1' Where Type='RETURNADDRESSCHOICE'").arg(stored));
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
              (Lines{"(300,400) Arial 8 9 Oak", "(300,568) Arial 8 Bath, ", "(780,568) Arial 8 ME ",
                     "(1020,568) Arial 8 04530", "(300,736) Arial 8 USA", "(5000,3000) Arial 12 P3 Lee ",
                     "(5000,3252) Arial 12 1 Main"}));
    EXPECT_EQ(records.current(), 1u);

    PrintEnvelopes(records, 1);
    ASSERT_EQ(document().pageCount(), 1);
    EXPECT_NE(testsupport::findRun(document(), 1, "P2 Lee "), nullptr) << "the current record";
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
