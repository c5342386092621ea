#include "addressbooks/PocketBook.h"
#include "BookFixtures.h"
#include "addressbooks/BookBlock.h"
#include "addressbooks/PocketPanels.h"
#include "printing/GLOBAL.h"
#include "printing/PdfDestination.h"
#include "printing/PrintModeSwitch.h"
#include "printing/ReportRun.h"
#include "printing/frmPreview.h"
#include "support/DialogScript.h"
#include "support/FileBytes.h"
#include "support/FixedMetricsScope.h"
#include "support/PrintedPages.h"
#include "support/TempDatabase.h"

#include "platform/print/PrintOutput.h"
#include "platform/print/PrintSurface.h"
#include "platform/print/PrinterObject.h"
#include "platform/ui/MousePointer.h"
#include "platform/ui/MsgBox.h"
#include "start/modMain.h"

#include <QPrinter>
#include <QPrinterInfo>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

using testsupport::textAt;

// Contacts of 22 lines each (name, 20 note lines, separator): in panels of 40 lines
// no two share a panel.
std::vector<QVariantMap> panelFillers(int count)
{
    std::vector<QVariantMap> rows;
    for (int i = 1; i <= count; ++i)
        rows.push_back({{"LastName", QStringLiteral("C%1").arg(i)}, {"Notes", notesOfLines(20)}, {"PrintNotes", -1}});
    return rows;
}

QString numberLine(int panel)
{
    return PocketPanels::numberLine(panel);
}

// 8 pt: lines 160 twips high, panels of 40 lines, the top 360 twips down without a
// settings row. With no printer, every document sent to print is caught here instead
// of being written to a file.
class PocketBookTest : public ::testing::Test {
  protected:
    void SetUp() override
    {
        gDb = platform::Database::open(temp.path());
        UnloadPreview();
        platform::Printer().reset();
        PreviewSurface().setPreview(true);
        platform::PrintOutput::setPrinterLookupForTesting([] { return QPrinterInfo(); });
        // The surface asks where before it lays a document out, and the document goes
        // there once it ends; the printer object asks when its document is sent.
        platform::PrintOutput::setPdfPathChooser([this](const QString &name) {
            names << name;
            if (name.isEmpty())
                printed.push_back(platform::Printer().document());
            return pdfFolder.filePath(QStringLiteral("printed.pdf"));
        });
        QObject::connect(&PreviewSurface(), &platform::PrintSurface::contentChanged, &PreviewSurface(), [this] {
            const platform::PrintSurface &vp = PreviewSurface();
            if (!vp.preview() && !vp.documentOpen() && vp.pageCount() > 0)
                printed.push_back(vp.document());
        });
    }
    void TearDown() override
    {
        UnloadPreview();
        platform::Printer().reset();
        platform::PrintOutput::setPrinterLookupForTesting(nullptr);
        platform::PrintOutput::setPdfPathChooser({});
        platform::PrintOutput::forgetChosenPrinterForTesting();
        gDatabase.reset();
    }

    void storePocketRow(const QString &y, const QString &alternate, const QString &lastNameFirst)
    {
        gDb->execute(QStringLiteral("Insert Into tblSettings (Type, Name, Setting1, Setting2, Setting3, Setting4, "
                                    "Setting5, Setting6) Values ('REPORT', 'Pocket Report', '0', '%1', 'Arial', "
                                    "'8', '%2', '%3')")
                         .arg(y, alternate, lastNameFirst));
    }

    const platform::PrintDocument &surfaceDocument() { return PreviewSurface().document(); }

    TempDatabase temp;
    testsupport::FixedMetricsScope metrics;
    QTemporaryDir pdfFolder;
    QStringList names;
    std::vector<platform::PrintDocument> printed;
};

TEST_F(PocketBookTest, PreviewShowsBothSidesAsPagesOfOneDocument)
{
    MemoryRecords records = bookRecords({{{"FirstName", "Ann"}, {"LastName", "Lee"}}});
    PrintPocketReport(records, QStringLiteral("Friends"), false);
    const platform::PrintDocument &doc = surfaceDocument();
    EXPECT_EQ(doc.name, "Pocket Report - side 1");
    EXPECT_EQ(doc.orientation, 0);
    ASSERT_EQ(doc.pageCount(), 2);
    // Side 1: panels 4 and 1; the caption is panel 1's first line.
    EXPECT_EQ(textAt(doc, 1, 6390, 360), QString(23, u' ') + "Friends");
    EXPECT_EQ(textAt(doc, 1, 6390, 680), "Ann Lee");
    EXPECT_EQ(textAt(doc, 1, 1260, 6600), numberLine(4));
    EXPECT_EQ(textAt(doc, 1, 6390, 6600), numberLine(1));
    // Side 2: panels 2 and 3, at the top of the next page.
    EXPECT_EQ(textAt(doc, 2, 1260, 6600), numberLine(2));
    EXPECT_EQ(textAt(doc, 2, 6390, 6600), numberLine(3));
    EXPECT_TRUE(names.isEmpty()) << "nothing goes to the printer in preview";
    EXPECT_EQ(platform::mousePointer(), platform::MousePointer::Default);
}

TEST_F(PocketBookTest, TwoPanelRowsShareASheetSideWithAGapOfEightLines)
{
    MemoryRecords records = bookRecords(panelFillers(5));
    records.setCurrent(3);
    PrintPocketReport(records, QString(), false);
    const platform::PrintDocument &doc = surfaceDocument();
    ASSERT_EQ(doc.pageCount(), 2);
    // Upper row (8, 1), lower row (6, 3) from 360 + 40 x 160 + 8 x 160.
    EXPECT_EQ(textAt(doc, 1, 6390, 680), "C1");
    EXPECT_EQ(textAt(doc, 1, 1260, 6600), numberLine(8));
    EXPECT_EQ(textAt(doc, 1, 6390, 8040), "C3");
    EXPECT_EQ(textAt(doc, 1, 1260, 14280), numberLine(6));
    // The other side: (2, 7) and (4, 5).
    EXPECT_EQ(textAt(doc, 2, 1260, 360), "C2");
    EXPECT_EQ(textAt(doc, 2, 6390, 6600), numberLine(7));
    EXPECT_EQ(textAt(doc, 2, 1260, 8040), "C4");
    EXPECT_EQ(textAt(doc, 2, 6390, 8040), "C5");
    EXPECT_EQ(records.current(), 3u);
}

TEST_F(PocketBookTest, AStartLowOnThePageKeepsEachSheetSideOnePage)
{
    storePocketRow("1500", "0", "0");
    MemoryRecords records = bookRecords(panelFillers(5));
    PrintPocketReport(records, QString(), false);
    const platform::PrintDocument &doc = surfaceDocument();
    ASSERT_EQ(doc.pageCount(), 2);
    // The lower row's last line from 1860 + 48 x 160 + 39 x 160, below the bottom margin.
    EXPECT_EQ(textAt(doc, 1, 1260, 15780), numberLine(6));
    EXPECT_EQ(textAt(doc, 2, 6390, 9540), "C5");
}

TEST_F(PocketBookTest, PrintingSendsSideOneAsksToTurnThePaperAndSendsSideTwo)
{
    PreviewSurface().setPreview(false);
    MemoryRecords records = bookRecords(panelFillers(9)); // 12 panels
    DialogScript script;
    script.answerMessage(platform::vbOK);
    PrintPocketReport(records, QString(), false);
    ASSERT_EQ(script.shown().size(), 1u);
    EXPECT_EQ(script.shown()[0].title, PocketHalfwayTitle);
    EXPECT_EQ(script.shown()[0].text, PocketHalfwayText);
    EXPECT_EQ(script.shown()[0].buttons, platform::vbOKCancel);
    EXPECT_EQ(script.shown()[0].icon, platform::vbInformation);
    EXPECT_EQ(names, (QStringList{"Pocket Report - side 1", "Pocket Report - side 2"}));
    ASSERT_EQ(printed.size(), 2u);
    // Side 1: (12, 1) and (10, 3), then (8, 5) alone at the top of the second sheet.
    ASSERT_EQ(printed[0].pageCount(), 2);
    EXPECT_EQ(textAt(printed[0], 1, 1260, 6600), numberLine(12));
    EXPECT_EQ(textAt(printed[0], 1, 6390, 8040), "C3");
    EXPECT_EQ(textAt(printed[0], 2, 6390, 360), "C5");
    EXPECT_EQ(textAt(printed[0], 2, 1260, 6600), numberLine(8));
    // Side 2: (2, 11) and (4, 9), then (6, 7).
    ASSERT_EQ(printed[1].pageCount(), 2);
    EXPECT_EQ(textAt(printed[1], 1, 1260, 360), "C2");
    EXPECT_EQ(textAt(printed[1], 1, 1260, 8040), "C4");
    EXPECT_EQ(textAt(printed[1], 2, 1260, 360), "C6");
    EXPECT_EQ(textAt(printed[1], 2, 6390, 360), "C7");
}

TEST_F(PocketBookTest, CancelBetweenTheSidesPrintsSideOneOnly)
{
    PreviewSurface().setPreview(false);
    MemoryRecords records = bookRecords(panelFillers(2));
    records.setCurrent(1);
    DialogScript script;
    script.answerMessage(platform::vbCancel);
    PrintPocketReport(records, QString(), false);
    EXPECT_EQ(names, QStringList{"Pocket Report - side 1"});
    EXPECT_FALSE(PreviewSurface().documentOpen());
    EXPECT_EQ(records.current(), 1u);
    EXPECT_EQ(platform::mousePointer(), platform::MousePointer::Default);
}

TEST_F(PocketBookTest, PrinterVariantPrintsTwoDocumentsWithAGapOfSevenLines)
{
    platform::Printer().setOrientation(platform::PrinterObject::Landscape);
    MemoryRecords records = bookRecords(panelFillers(5));
    DialogScript script;
    script.answerMessage(platform::vbOK);
    PrintPocketReportAlternate(records, QString(), false);
    EXPECT_EQ(script.shown().size(), 1u);
    ASSERT_EQ(printed.size(), 2u);
    EXPECT_EQ(names, (QStringList{QString(), QString()}));
    EXPECT_EQ(printed[0].orientation, 0) << "landscape is set back to portrait";
    EXPECT_EQ(textAt(printed[0], 1, 6390, 680), "C1");
    EXPECT_EQ(textAt(printed[0], 1, 6390, 7880), "C3");
    EXPECT_EQ(textAt(printed[1], 1, 1260, 7880), "C4");
    EXPECT_EQ(surfaceDocument().pageCount(), 0) << "the preview's surface is not drawn on";
}

// With the file printer chosen, each side of the booklet, in either variant, asks where
// it goes and is proposed a name that replaces neither the chosen file nor side 1.
TEST_F(PocketBookTest, TheTwoSidesGoToTwoFiles)
{
    const QString chosen = pdfFolder.filePath(QStringLiteral("book.pdf"));
    writeFileBytes(chosen, "an earlier book");
    QPrinter &printer = platform::PrintOutput::chosenPrinter();
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(chosen);
    platform::PrintOutput::choosePrinter();
    platform::PrintOutput::setPdfPathChooser(&ChoosePdfPath);
    PreviewSurface().setPreview(false);
    MemoryRecords records = bookRecords(panelFillers(9)); // two sheets a side
    const struct {
        void (*print)(DisplayedRecords &, const QString &, bool);
        QStringList proposed;
    } variants[] = {
        {&PrintPocketReport, {"Pocket Report - side 1.pdf", "Pocket Report - side 2.pdf"}},
        {&PrintPocketReportAlternate, {"Report.pdf", "Report (2).pdf"}},
    };
    for (const auto &variant : variants) {
        DialogScript script;
        script.answerSaveFile(pdfFolder.filePath(variant.proposed[0]))
            .answerMessage(platform::vbOK)
            .answerSaveFile(pdfFolder.filePath(variant.proposed[1]));
        variant.print(records, QString(), false);
        const auto asked = script.shown(platform::DialogKind::SaveFile);
        ASSERT_EQ(asked.size(), 2u) << variant.proposed[0].toStdString();
        for (int side = 0; side < 2; ++side) {
            EXPECT_EQ(asked[side].fileName, variant.proposed[side]);
            EXPECT_EQ(pdfPageCount(readFileBytes(pdfFolder.filePath(variant.proposed[side]))), 2)
                << variant.proposed[side].toStdString();
        }
    }
    EXPECT_EQ(readFileBytes(chosen), "an earlier book");
}

TEST_F(PocketBookTest, MenuEntryTakesNameFormStartAndOutputFromTheSettingsRow)
{
    storePocketRow("100", "1", "1");
    MemoryRecords records = bookRecords({{{"FirstName", "Ann"}, {"LastName", "Lee"}}});
    bool lastNameFirst = false;
    {
        // In preview the surface variant runs, whatever the row says.
        DialogScript script;
        script.answerMessage(platform::vbOK);
        PocketMenu_Click(*gDb, records, QString(), 0, lastNameFirst);
        EXPECT_TRUE(lastNameFirst);
        EXPECT_EQ(textAt(surfaceDocument(), 1, 6390, 460 + 2 * 160), "Lee, Ann");
        EXPECT_TRUE(printed.empty());
    }
    {
        // Printing, the row sends the book straight to the printer.
        PreviewSurface().setPreview(false);
        DialogScript script;
        script.answerMessage(platform::vbOK).answerMessage(platform::vbOK);
        PocketMenu_Click(*gDb, records, QString(), 0, lastNameFirst);
        ASSERT_EQ(printed.size(), 2u);
        EXPECT_EQ(names.first(), QString()) << "the printer object names no document";
        EXPECT_EQ(textAt(printed[0], 1, 6390, 460 + 2 * 160), "Lee, Ann");
    }
}

TEST_F(PocketBookTest, FailureShowsItsTextAndPutsTheCurrentRecordBack)
{
    MemoryRecords records({"LastName"}, {{{"LastName", "A"}}, {{"LastName", "B"}}});
    records.setCurrent(1);
    DialogScript script;
    script.answerMessage(platform::vbOK);
    PrintPocketReport(records, QString(), false);
    ASSERT_EQ(script.shown().size(), 1u);
    EXPECT_EQ(script.shown()[0].text, "Item not found in this collection.");
    EXPECT_EQ(records.current(), 1u);
    EXPECT_EQ(platform::mousePointer(), platform::MousePointer::Default);
}

// Laying out the contacts and drawing the panel rows let window events run between two
// contacts and between two rows, under the hourglass; the arrow shows over each question
// between the sides (the save dialogs, "Halfway done").
TEST_F(PocketBookTest, ComposingLetsWindowEventsRunAndEveryQuestionShowsTheArrow)
{
    using platform::MousePointer;
    platform::PrintOutput::chosenPrinter().setOutputFormat(QPrinter::PdfFormat);
    platform::PrintOutput::choosePrinter();
    platform::PrintOutput::setPdfPathChooser(&ChoosePdfPath);
    PreviewSurface().setPreview(false);
    MemoryRecords records = bookRecords(panelFillers(9)); // 12 panels, 3 rows a side
    std::vector<MousePointer> asked, drawing;
    std::vector<std::size_t> contactsReached;
    platform::setDialogHookForTesting([&](const platform::DialogRequest &) {
        asked.push_back(platform::mousePointer());
        return platform::DialogAnswer{true, platform::vbOK, {}, pdfFolder.filePath(QString::number(asked.size()))};
    });
    ReportRun::setEventIntervalForTesting(0);
    QTimer turns;
    QObject::connect(&turns, &QTimer::timeout, [&] {
        if (ReportRun::running() && records.eof())
            drawing.push_back(platform::mousePointer());
        else if (ReportRun::running() && drawing.empty())
            contactsReached.push_back(records.current());
    });
    turns.start(0);
    PrintPocketReport(records, QString(), false);
    ReportRun::setEventIntervalForTesting(20);
    DialogScript::installStrictDefault();
    EXPECT_EQ(contactsReached, (std::vector<std::size_t>{1, 2, 3, 4, 5, 6, 7, 8}));
    // Before the second and the third row of each side, and as each side is written.
    EXPECT_EQ(drawing, std::vector<MousePointer>(6, MousePointer::Hourglass));
    EXPECT_EQ(asked, std::vector<MousePointer>(3, MousePointer::Default));
    EXPECT_EQ(platform::mousePointer(), MousePointer::Default);
}

// A long word in the notes: every character is printed once at every wrap, the one the
// wrap puts past the panel's width included.
TEST_F(PocketBookTest, LongWordsKeepEveryCharacterAtEveryWrap)
{
    for (const QString &notes :
         {"Account " + QStringLiteral("1234567890").repeated(8) + " end", QString(196, u'x')}) {
        MemoryRecords records = bookRecords({{{"LastName", "Lee"}, {"Notes", notes}, {"PrintNotes", -1}}});
        PrintPocketReport(records, QString(), false);
        QString printed;
        for (const platform::PrintRun &run : testsupport::runsOnPage(surfaceDocument(), 1))
            if (run.x == 6390 && run.text != "Lee" && run.text != numberLine(1) && !run.text.startsWith("--"))
                printed += run.text;
        EXPECT_EQ(printed.remove(u' ').toStdString(), QString(notes).remove(u' ').toStdString());
    }
}

// Notes of the full-size book wrapped in the real font, and a pocket line past its
// length: every line holds whole characters as drawn (none starts with a mark, a joiner
// or the second half of a pair), and the notes' lines together give the text back.
TEST(PocketBookCutTest, LinesAreCutBetweenWholeCharacters)
{
    const auto broken = [](QChar c) { return c.isLowSurrogate() || c == QChar(0x200D) || c.isMark(); };
    for (const char *piece : {"e\u0301", "สวัสดีครับ", "नमस्ते", "👨‍👩‍👧", "😀"}) {
        const QString text = QString::fromUtf8(piece).repeated(600);
        SCOPED_TRACE(piece);
        QStringList lines;
        for (gPrinting.gPrintTextBuffer = text; !gPrinting.gPrintTextBuffer.isEmpty();)
            lines << GetNextPrintLine(gPrinting.gPrintTextBuffer, NoteWrapWidth(BookSize::FullSize), {});
        EXPECT_EQ(lines.join(QString()), text);
        PocketPanels panels(40);
        panels.writeLine(text);
        EXPECT_FALSE(broken(text[panels.record(1).size()]));
        for (const QString &line : lines + QStringList{panels.record(1)})
            EXPECT_FALSE(broken(line.front()) || line.back().isHighSurrogate() ||
                         line.back() == QChar(0x200D));
    }
}

} // namespace
