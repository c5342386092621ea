#include "printing/ReportOptionsForm.h"
#include "printing/ReportSettings.h"
#include "support/DialogScript.h"
#include "support/FixedMetricsScope.h"
#include "support/TempDatabase.h"

#include "platform/db/Recordset.h"
#include "platform/print/PrinterObject.h"
#include "platform/ui/MsgBox.h"
#include "start/modMain.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <gtest/gtest.h>

namespace {

using Row = std::vector<QString>;

class ReportOptionsFormTest : public ::testing::Test {
  protected:
    void SetUp() override
    {
        gDb = platform::Database::open(temp.path());
        // The window's own rows only: none but the orientation, as before any Save.
        gDb->execute("Delete * From tblSettings Where Type='REPORT' And Name<>'Envelope Orientation'");
    }
    void TearDown() override
    {
        if (form && !form->isUnloaded())
            form->unload();
        delete form;
        gDatabase.reset();
    }

    // A fresh window, loaded, with the report of that name chosen from its list.
    ReportOptionsForm &open(const QString &report = QString())
    {
        form = new ReportOptionsForm;
        form->load();
        if (!report.isEmpty()) {
            form->lbReports->setCurrentRow(int(ReportNames().indexOf(report)));
            form->lbReports_Click();
        }
        return *form;
    }

    // Setting1 to Setting6 of the REPORT row, empty when there is none.
    Row stored(const QString &name)
    {
        const std::optional<ReportSettingsRow> row = ReadReportSettings(*gDb, name);
        if (!row)
            return {};
        return Row(std::begin(row->setting), std::end(row->setting));
    }

    void deleteRows(const QString &type, const QString &name)
    {
        gDb->execute(QStringLiteral("Delete From tblSettings Where Type='%1' And Name='%2'").arg(type, name));
    }

    TempDatabase temp;
    testsupport::FixedMetricsScope metrics;
    ReportOptionsForm *form = nullptr;
};

TEST_F(ReportOptionsFormTest, OpensWithTheReportListAndThePrintersFonts)
{
    ReportOptionsForm &f = open();
    QStringList listed;
    for (int i = 0; i < f.lbReports->count(); ++i)
        listed << f.lbReports->item(i)->text();
    EXPECT_EQ(listed, ReportNames());
    ASSERT_EQ(f.cmbFonts->count(), platform::Printer().fontCount());
    EXPECT_EQ(f.cmbFonts->itemText(0), platform::Printer().fonts(0));
    EXPECT_FALSE(f.lbReports->isHidden());
    EXPECT_FALSE(f.lblInstructions->isHidden());
    EXPECT_TRUE(f.cmdSave->isHidden());
    EXPECT_TRUE(f.txtXStart->isHidden());
    // No caption is cut off.
    for (QAbstractButton *b : f.findChildren<QAbstractButton *>())
        EXPECT_GE(b->width(), b->sizeHint().width()) << b->objectName().toStdString();
}

TEST_F(ReportOptionsFormTest, ChoosingAReportShowsItsControlsAndStoredValues)
{
    gDb->execute(
        QStringLiteral("Insert Into tblSettings (Type, Name, Setting1, Setting2, Setting3, Setting4) "
                       "Values ('REPORT', 'Labels 1 x 4 2-up', '360', '720', 'Courier New', '11')"));
    ReportOptionsForm &f = open(reportname::Labels2Up);
    EXPECT_EQ(f.lblReports->text(), reportname::Labels2Up);
    EXPECT_TRUE(f.lbReports->isHidden());
    EXPECT_TRUE(f.lblInstructions->isHidden());
    EXPECT_EQ(f.txtXStart->text(), "360");
    EXPECT_EQ(f.txtYStart->text(), "720");
    EXPECT_EQ(f.cmbFonts->currentText(), "Courier New");
    EXPECT_EQ(f.txtFontSize->text(), "11");
    for (QWidget *shown :
         std::initializer_list<QWidget *>{f.txtXStart, f.txtYStart, f.cmbFonts, f.txtFontSize,
                                          f.lblTwipsPerInch, f.cmdReset, f.cmdSave, f.cmdExit})
        EXPECT_FALSE(shown->isHidden()) << shown->objectName().toStdString();
    for (QWidget *hidden : std::initializer_list<QWidget *>{f.cbAlternatePrint, f.cbPrintLastNameFirst,
                                                            f.Frame1, f.lblOrientation})
        EXPECT_TRUE(hidden->isHidden()) << hidden->objectName().toStdString();
    // One report per opening.
    f.lbReports->setCurrentRow(0);
    f.lbReports_Click();
    EXPECT_EQ(f.chosenReport(), reportname::Labels2Up);
}

TEST_F(ReportOptionsFormTest, SavingEmptyBoxesStoresTheStandards)
{
    ReportOptionsForm &f = open(reportname::EnvelopeReturn);
    f.cmbFonts->setEditText(QString());
    f.cmdSave_Click();
    EXPECT_TRUE(f.isUnloaded());
    EXPECT_EQ(stored(reportname::EnvelopeReturn), (Row{"0", "0", "Arial", "8", "", ""}));
}

TEST_F(ReportOptionsFormTest, SavingStoresWhatWasTypedAndEditsTheRowItFinds)
{
    for (const char *x : {"1440", "720"}) {
        ReportOptionsForm &f = open(reportname::Labels3Up);
        f.txtXStart->setText(QLatin1String(x));
        f.txtYStart->setText(QStringLiteral(" 360"));
        f.cmbFonts->setEditText(QStringLiteral("Times New Roman"));
        f.txtFontSize->setText(QStringLiteral("10.5"));
        f.cmdSave_Click();
        delete form;
        form = nullptr;
    }
    EXPECT_EQ(stored(reportname::Labels3Up), (Row{"720", " 360", "Times New Roman", "10.5", "", ""}));
    EXPECT_EQ(gDb->openRecordset(reportSettingsQuery("REPORT", reportname::Labels3Up))->recordCount(), 1);
}

TEST_F(ReportOptionsFormTest, PocketReportKeepsOnlyItsStartAndSwitches)
{
    ReportOptionsForm &f = open(reportname::Pocket);
    EXPECT_TRUE(f.txtXStart->isHidden());
    EXPECT_TRUE(f.cmbFonts->isHidden());
    EXPECT_FALSE(f.txtYStart->isHidden());
    EXPECT_FALSE(f.cbAlternatePrint->isHidden());
    EXPECT_FALSE(f.cbPrintLastNameFirst->isHidden());
    // The hidden boxes play no part.
    f.txtXStart->setText(QStringLiteral("abc"));
    f.cmbFonts->setEditText(QStringLiteral("Courier"));
    f.txtFontSize->setText(QStringLiteral("-1"));
    f.txtYStart->setText(QStringLiteral("500"));
    f.cbAlternatePrint->setChecked(true);
    f.cmdSave_Click();
    EXPECT_TRUE(f.isUnloaded());
    EXPECT_EQ(stored(reportname::Pocket), (Row{"0", "500", "Arial", "8", "1", "0"}));
    const std::optional<PocketReportOptions> options = ReadPocketReportOptions(*gDb);
    ASSERT_TRUE(options);
    EXPECT_TRUE(options->alternatePrint);
}

TEST_F(ReportOptionsFormTest, PocketSwitchesShowOnOnlyForOne)
{
    struct Case {
        const char *s5, *s6;
        bool alternate, lastNameFirst;
    };
    for (const Case c :
         {Case{"1", "0", true, false}, Case{"0", "1", false, true}, Case{"yes", "2", false, false}}) {
        SCOPED_TRACE(std::string(c.s5) + "/" + c.s6);
        deleteRows("REPORT", reportname::Pocket);
        gDb->execute(
            QStringLiteral("Insert Into tblSettings (Type, Name, Setting1, Setting2, Setting3, Setting4, "
                           "Setting5, Setting6) Values ('REPORT', 'Pocket Report', '0', '300', "
                           "'Arial', '8', '%1', '%2')")
                .arg(QLatin1String(c.s5), QLatin1String(c.s6)));
        ReportOptionsForm &f = open(reportname::Pocket);
        EXPECT_EQ(f.txtYStart->text(), "300");
        EXPECT_EQ(f.cbAlternatePrint->isChecked(), c.alternate);
        EXPECT_EQ(f.cbPrintLastNameFirst->isChecked(), c.lastNameFirst);
        f.cmdExit_Click();
        delete form;
        form = nullptr;
    }
}

TEST_F(ReportOptionsFormTest, EnvelopeOrientationShowsAndStoresTheChoice)
{
    struct Case {
        const char *stored; // nullptr: no row
        bool portraitShown;
    };
    for (const Case c :
         {Case{"Landscape", false}, Case{"Portrait", true}, Case{"portrait", false}, Case{nullptr, true}}) {
        SCOPED_TRACE(c.stored ? c.stored : "(no row)");
        deleteRows("REPORT", reportname::EnvelopeOrientation);
        if (c.stored)
            gDb->execute(
                QStringLiteral("Insert Into tblSettings (Type, Name, Setting1, Setting2, Setting3, "
                               "Setting4) Values ('REPORT', 'Envelope Orientation', '%1', '0', 'Arial', "
                               "'8')")
                    .arg(QLatin1String(c.stored)));
        ReportOptionsForm &f = open(reportname::EnvelopeOrientation);
        EXPECT_FALSE(f.Frame1->isHidden());
        EXPECT_TRUE(f.txtXStart->isHidden());
        EXPECT_TRUE(f.cmdReset->isHidden());
        EXPECT_EQ(f.OptionPortrait->isChecked(), c.portraitShown);
        EXPECT_EQ(f.OptionLandscape->isChecked(), !c.portraitShown);
        f.cmdExit_Click();
        delete form;
        form = nullptr;
    }
    // Saving without a row adds one; its unused columns take the standards.
    ReportOptionsForm &f = open(reportname::EnvelopeOrientation);
    f.OptionLandscape->setChecked(true);
    f.cmdSave_Click();
    EXPECT_EQ(stored(reportname::EnvelopeOrientation), (Row{"Landscape", "0", "Arial", "8", "", ""}));
    EXPECT_TRUE(EnvelopeOrientationLandscape(*gDb));
}

TEST_F(ReportOptionsFormTest, ResetPutsTheStandardValuesInTheBoxesOnly)
{
    ReportOptionsForm &f = open(reportname::EnvelopeMain);
    f.txtXStart->setText(QStringLiteral("1"));
    f.cmdReset_Click();
    EXPECT_EQ(f.txtXStart->text(), "5760");
    EXPECT_EQ(f.txtYStart->text(), "2880");
    EXPECT_EQ(f.cmbFonts->currentText(), "Arial");
    EXPECT_EQ(f.txtFontSize->text(), "12");
    EXPECT_TRUE(stored(reportname::EnvelopeMain).empty()) << "nothing is stored by Reset";
}

TEST_F(ReportOptionsFormTest, ResetWithoutStandardRows)
{
    deleteRows("REPORTdefault", reportname::Labels1Up4);
    deleteRows("REPORTdefault", reportname::Pocket);
    ReportOptionsForm &f = open(reportname::Labels1Up4);
    f.txtXStart->setText(QStringLiteral("11"));
    f.cmdReset_Click();
    EXPECT_EQ(f.txtXStart->text(), "11") << "a label layout without standards stays as it is";
    delete form;

    form = nullptr;
    ReportOptionsForm &pocket = open(reportname::Pocket);
    pocket.txtYStart->setText(QStringLiteral("900"));
    pocket.cbAlternatePrint->setChecked(true);
    pocket.cbPrintLastNameFirst->setChecked(true);
    pocket.cmdReset_Click();
    EXPECT_EQ(pocket.txtYStart->text(), "0");
    EXPECT_FALSE(pocket.cbAlternatePrint->isChecked());
    EXPECT_TRUE(pocket.cbPrintLastNameFirst->isChecked());
}

TEST_F(ReportOptionsFormTest, SaveRefusesValuesNoReportCouldUse)
{
    struct Case {
        QString report;
        const char *box;
        const char *value;
        const char *told = nullptr;
    };
    // Letter paper less the quarter inch printers cannot reach, the labels' own quarter inch
    // and a line of the 8 pt an empty size box stands for (160 twips here).
    const char *across = "The starting horizontal print position must be a whole number of twips from -1440 to 11360.";
    const char *down = "The starting vertical print position must be a whole number of twips from -1440 to 14960.";
    const char *size = "The font size must be a number from 1 to 127.";
    const Case cases[] = {
        // Values that fit a number but would print off the paper, or pages without end.
        {reportname::Labels3Up, "txtXStart", "32767", across}, {reportname::Labels3Up, "txtYStart", "14961", down},
        // The envelope's page lies as the shipped orientation says: landscape.
        {reportname::EnvelopeMain, "txtXStart", "15321",
         "The starting horizontal print position must be a whole number of twips from -1440 to 15320."},
        {reportname::Labels2Up, "txtXStart", "-1441", across},
        // The pocket book's first name comes third on its panel.
        {reportname::Pocket, "txtYStart", "14641",
         "The starting vertical print position must be a whole number of twips from -1440 to 14640."},
        {reportname::Labels1Up3, "txtFontSize", "1e9", size}, {reportname::Labels1Up3, "txtFontSize", "720", size},
        {reportname::Labels1Up3, "txtFontSize", "0.5", size},
        {reportname::Labels2Up, "txtXStart", "abc"},    {reportname::Labels2Up, "txtXStart", "1.5"},
        {reportname::Labels2Up, "txtXStart", "32768"},  {reportname::Labels2Up, "txtYStart", "-32769"},
        {reportname::Labels2Up, "txtYStart", "1 inch"}, {reportname::Labels2Up, "txtFontSize", "0"},
        {reportname::Labels2Up, "txtFontSize", "-8"},   {reportname::Labels2Up, "txtFontSize", "big"},
        {reportname::Pocket, "txtYStart", "40000"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.box) + " = " + c.value);
        ReportOptionsForm &f = open(c.report);
        f.show();
        auto *box = f.findChild<QLineEdit *>(QLatin1String(c.box));
        ASSERT_NE(box, nullptr);
        box->setText(QLatin1String(c.value));
        DialogScript script;
        script.answerMessage(platform::vbOK);
        f.cmdSave_Click();
        ASSERT_EQ(script.shown().size(), 1u);
        EXPECT_EQ(script.shown()[0].icon, platform::vbExclamation);
        if (c.told)
            EXPECT_EQ(script.shown()[0].text.toStdString(), c.told);
        EXPECT_FALSE(f.isUnloaded()) << "the window stays for the value to be corrected";
        EXPECT_EQ(f.focusWidget(), box);
        EXPECT_TRUE(stored(c.report).empty());
        f.cmdExit_Click();
        delete form;
        form = nullptr;
    }
}

TEST_F(ReportOptionsFormTest, ExitingStoresNothing)
{
    {
        ReportOptionsForm &f = open(reportname::Labels1Up3);
        f.txtXStart->setText(QStringLiteral("100"));
        f.cmdExit_Click();
        EXPECT_TRUE(f.isUnloaded());
        delete form;
        form = nullptr;
    }
    // Save and Exit before a report is chosen only closes the window.
    ReportOptionsForm &f = open();
    f.cmdSave_Click();
    EXPECT_TRUE(f.isUnloaded());
    EXPECT_EQ(
        gDb->openRecordset(QStringLiteral("Select * from tblSettings Where Type='REPORT'"))->recordCount(),
        1);
}

} // namespace
