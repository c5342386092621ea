#include "addressbooks/PocketBook.h"

#include "addressbooks/BookletImposition.h"
#include "addressbooks/PocketPanels.h"

#include "printing/DisplayedRecords.h"
#include "printing/GLOBAL.h"
#include "printing/ReportRun.h"
#include "printing/ReportSettings.h"
#include "printing/frmPreview.h"

#include "helpers/ValueHelpers.h"
#include "platform/RuntimeError.h"
#include "platform/print/PrintSurface.h"
#include "platform/print/PrinterObject.h"
#include "platform/ui/MsgBox.h"

#include <QCoreApplication>

const QString PocketHalfwayTitle = QStringLiteral("Halfway done");
const QString PocketHalfwayText = QStringLiteral(
    "After the printing stops, you're only half done!  Turn the paper over and load it back into the printer "
    "(in the same order it was initially fed in), then press OK to continue printing on the other side of "
    "the paper.");

namespace {

using platform::PrintCanvas;
using platform::PrintSurface;
using platform::PrinterObject;

// Where the left and the right panel of a row print their lines.
constexpr int LeftPanelX = 1260;
constexpr int RightPanelX = 6390;

bool askToTurnOver()
{
    return platform::MsgBox(PocketHalfwayText, platform::vbOKCancel + platform::vbInformation,
                            PocketHalfwayTitle) == platform::vbOK;
}

// What the booklet is drawn on. The layout and the imposition are the same for both
// outputs; they differ in how documents start and end and how a line is measured.
class PocketOutput {
  public:
    virtual ~PocketOutput() = default;
    virtual PrintCanvas &canvas() = 0;
    // Portrait, the first side's document where the output names one, Arial 8.
    virtual void begin() = 0;
    // Applies the "Pocket Report" settings row; returns its start Y.
    virtual qint32 applySettings() = 0;
    virtual double lineHeight() = 0;
    // Line heights left empty between the two panel rows of a sheet side.
    virtual int rowGap() const = 0;
    virtual void nextSheetSide() = 0;
    // Side 1 is complete; false when the user does not want side 2.
    virtual bool turnOver() = 0;
    virtual void end() = 0;
};

class SurfaceOutput : public PocketOutput {
  public:
    SurfaceOutput() : vp(PreviewSurface()) {}

    PrintCanvas &canvas() override { return vp; }

    void begin() override
    {
        if (vp.orientation() == 1)
            vp.setOrientation(0);
        vp.setDocFlag34(true);
        vp.setDocSetting91(0);
        vp.setDocName(QStringLiteral("Pocket Report - side 1"));
        vp.setAction(PrintSurface::StartDoc);
        vp.setFontName(QStringLiteral("Arial"));
        vp.setFontSize(8);
        if (vp.preview())
            frmPreview::instance().showModeless();
    }

    qint32 applySettings() override
    {
        qint16 x = 0, y2 = 0;
        qint32 y = 0;
        LoadReportSettingsPreview(reportname::Pocket, x, y, y2);
        return y;
    }

    // The advance of one printed line; the blank line leaves no mark.
    double lineHeight() override
    {
        const double before = vp.currentY();
        vp.printLine(QStringLiteral(" "));
        return vp.currentY() - before;
    }

    int rowGap() const override { return 8; }

    void nextSheetSide() override { vp.setAction(PrintSurface::NewPage); }

    bool turnOver() override
    {
        // A preview shows side 2 on the pages after side 1, in the same document.
        if (vp.preview()) {
            vp.setAction(PrintSurface::NewPage);
            return true;
        }
        vp.setAction(PrintSurface::EndDoc);
        if (!askToTurnOver())
            return false;
        vp.setDocName(QStringLiteral("Pocket Report - side 2"));
        vp.setAction(PrintSurface::StartDoc);
        return true;
    }

    void end() override { vp.setAction(PrintSurface::EndDoc); }

  private:
    PrintSurface &vp;
};

class PrinterOutput : public PocketOutput {
  public:
    PrinterOutput() : printer(platform::Printer()) {}

    PrintCanvas &canvas() override { return printer; }

    void begin() override
    {
        if (printer.orientation() == PrinterObject::Landscape)
            printer.setOrientation(PrinterObject::Portrait);
        printer.setFontName(QStringLiteral("Arial"));
        printer.setFontSize(8);
    }

    qint32 applySettings() override
    {
        qint16 x = 0, y2 = 0;
        qint32 y = 0;
        LoadReportSettingsPrinter(reportname::Pocket, x, y, y2);
        return y;
    }

    double lineHeight() override { return printer.textHeight(QStringLiteral("Now is The Time")); }

    int rowGap() const override { return 7; }

    void nextSheetSide() override { printer.newPage(); }

    bool turnOver() override
    {
        printer.endDoc();
        return askToTurnOver();
    }

    void end() override { printer.endDoc(); }

  private:
    PrinterObject &printer;
};

class PocketReport {
  public:
    PocketReport(DisplayedRecords &records, const QString &category, bool lastNameFirst, PocketOutput &output)
        : mRecords(records), mCategory(category), mLastNameFirst(lastNameFirst), mOutput(output),
          mCanvas(output.canvas())
    {
    }

    void run()
    {
        ReportRun::draw([this](ReportRun &run) { draw(run); });
    }

  private:
    void draw(ReportRun &run)
    {
        // The panels stand where the imposition puts them; every sheet side is a page.
        platform::PageFlowOff flow(mCanvas);
        mOutput.begin();
        run.showBusy();
        mTop = mOutput.applySettings() + PocketStartInset;
        mCanvas.setCurrentY(mTop);
        const PocketLayout layout(mCanvas, mLastNameFirst);
        mLineHeight = mOutput.lineHeight();
        const int depth = PocketPanelDepth(mLineHeight);

        run.markPosition(mRecords);
        const PocketPanels panels =
            LayOutPocketPanels(mRecords, layout, depth, Trim(mCategory), [&run] { run.letEventsRun(); });
        const BookletImposition booklet = ImposeBooklet(panels.panelCount());

        mCanvas.setCurrentY(mTop);
        printSide(run, panels, booklet.side1);
        bool secondSide = !booklet.side2.empty();
        if (secondSide && mOutput.turnOver()) {
            // The second side starts in the book's own font, whatever the row set.
            mCanvas.setFontName(QStringLiteral("Arial"));
            mCanvas.setFontSize(8);
            mCanvas.setCurrentY(mTop);
            printSide(run, panels, booklet.side2);
        }

        mOutput.end();
        run.endWalk();
    }

    // Window events run between two panel rows, as between two records of a walk.
    void printSide(ReportRun &run, const PocketPanels &panels, const std::vector<PanelRow> &rows)
    {
        const int depth = panels.depth();
        for (std::size_t i = 0; i < rows.size(); ++i) {
            if (i > 0)
                run.letEventsRun();
            const std::size_t onSheetSide = i % BookletImposition::RowsPerSheetSide;
            if (i > 0 && onSheetSide == 0) {
                mOutput.nextSheetSide();
                mCanvas.setCurrentY(mTop);
            } else if (onSheetSide == 1) {
                mCanvas.setCurrentY(mCanvas.currentY() + mOutput.rowGap() * mLineHeight);
            }
            const qint64 left = qint64(depth) * (rows[i].left - 1) + 1;
            const qint64 right = qint64(depth) * (rows[i].right - 1) + 1;
            // A panel is a page of the folded book: a line runs on to the fold, or to the
            // paper's edge, and is cut there rather than run onto the facing page.
            const double fold = mCanvas.paperSize().width() / 2;
            for (int line = 0; line < depth; ++line) {
                mCanvas.setCurrentX(LeftPanelX);
                mCanvas.printNoLineEnd(
                    FittedText(panels.record(left + line), mCanvas.font(), fold - LeftPanelX));
                mCanvas.setCurrentX(RightPanelX);
                mCanvas.printLine(panels.record(right + line));
            }
        }
    }

    DisplayedRecords &mRecords;
    QString mCategory;
    bool mLastNameFirst;
    PocketOutput &mOutput;
    PrintCanvas &mCanvas;
    double mTop = 0;
    double mLineHeight = 0;
};

} // namespace

void PrintPocketReport(DisplayedRecords &Records, const QString &Category, bool LastNameFirst)
{
    SurfaceOutput output;
    PocketReport(Records, Category, LastNameFirst, output).run();
}

void PrintPocketReportAlternate(DisplayedRecords &Records, const QString &Category, bool LastNameFirst)
{
    PrinterOutput output;
    PocketReport(Records, Category, LastNameFirst, output).run();
}

void PocketMenu_Click(platform::Database &Db, DisplayedRecords &Records, const QString &Category,
                      qint32 SelectedCount, bool &PocketLastNameFirst)
{
    ConfirmAndRunReport(Records, SelectedCount, [&] {
        std::optional<PocketReportOptions> options;
        try {
            options = ReadPocketReportOptions(Db);
        } catch (const platform::RuntimeError &error) {
            platform::MsgBox(error.description());
            return;
        }
        if (options)
            PocketLastNameFirst = options->lastNameFirst;
        if (options && options->alternatePrint && !PreviewSurface().preview())
            PrintPocketReportAlternate(Records, Category, PocketLastNameFirst);
        else
            PrintPocketReport(Records, Category, PocketLastNameFirst);
    });
}
