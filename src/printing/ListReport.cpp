#include "printing/ListReport.h"

#include "printing/DisplayedRecords.h"
#include "printing/GLOBAL.h"
#include "printing/PrintText.h"
#include "printing/ReportRun.h"
#include "printing/frmPreview.h"

#include "platform/base/Clock.h"
#include "platform/base/DateText.h"
#include "platform/base/TextDirection.h"
#include "platform/print/PrintSurface.h"

namespace {

using platform::PrintSurface;

// The page, in twips, as the lists lay it out.
constexpr int PageTop = 720;
constexpr int DateX = 10080;
constexpr int PageCentre = 5940;
constexpr int NameX = 1080;
constexpr int DetailX = NameX + 360;
constexpr int DetailWidth = 9360;
constexpr int OneLineNameX = 720;
constexpr int OneLineRight = 10900;
// The gap between a name and the detail on its line, and the width of the lines that
// continue a detail under it.
constexpr int OneLineDetailGap = 100;
constexpr int ContinuationWidth = 10800;
// The depth the lines of a page may fill, by layout: the page count follows from it and the
// line height of the font.
constexpr double OneLinePageDepth = 13968.0;
constexpr double NameAbovePageDepth = 13248.0;

class ListReport {
  public:
    ListReport(DisplayedRecords &records, const QString &heading, const ListReportStyle &style,
               const ListRecordTextsBuilder &texts)
        : mRecords(records), mHeading(heading), mStyle(style), mTexts(texts), vp(PreviewSurface())
    {
    }

    void run(const std::function<bool()> &prepare)
    {
        ReportRun::draw([&](ReportRun &run) {
            mGuard = &run;
            if (prepare && !prepare())
                return;
            draw();
        });
    }

  private:
    void draw()
    {
        startDocument();
        if (mStyle.keepPosition)
            mGuard->markPosition(mRecords);
        vp.setCurrentX(DateX);
        vp.printLine(platform::shortDateText(platform::today()));
        ++gPrinting.gPageLineCount;
        printHeading();

        mRecords.moveFirst();
        while (!mRecords.eof()) {
            const ListRecordTexts texts = mTexts(mRecords);
            breakPageWhenFull();
            if (mStyle.layout == ListLayout::OneLine)
                printOneLine(texts);
            else
                printNameAboveDetail(texts);
            mRecords.moveNext();
            if (!mRecords.eof())
                mGuard->letEventsRun();
        }

        vp.setAction(PrintSurface::EndDoc);
        mGuard->endWalk();
    }

    void startDocument()
    {
        if (vp.orientation() == 1)
            vp.setOrientation(0);
        vp.setDocFlag34(true);
        vp.setDocSetting91(0);
        vp.setDocName(mStyle.documentName);
        vp.setAction(PrintSurface::StartDoc);
        vp.setFontName(QStringLiteral("Arial"));
        vp.setFontSize(8);
        // The line height as the surface advances it; this measuring line is drawn
        // over by the first page.
        const double y1 = vp.currentY();
        vp.printLine(QStringLiteral(" "));
        const double lineHeight = vp.currentY() - y1;
        if (mStyle.layout == ListLayout::OneLine)
            mCapacity = static_cast<double>(WholeNumber(OneLinePageDepth / lineHeight));
        else
            mCapacity = NameAbovePageDepth / lineHeight;
        mGuard->showBusy();
        if (vp.preview())
            frmPreview::instance().showModeless();
        gPrinting.gPageLineCount = 0;
        vp.setCurrentY(PageTop);
    }

    void printHeading()
    {
        // The heading names a category, a field of its own.
        const QString heading = platform::isolatedLine(Trim(mHeading));
        if (heading.isEmpty())
            return;
        vp.setFontBold(true);
        if (mStyle.headingStyle7)
            vp.setFontStyle7(true);
        vp.setMeasureText(heading);
        vp.setCurrentX(PageCentre - WholeNumber(vp.measuredWidth()) / 2);
        vp.printLine(heading);
        if (mStyle.headingStyle7)
            vp.setFontStyle7(false);
        vp.printLine(QStringLiteral(" "));
        gPrinting.gPageLineCount += 2;
    }

    void breakPageWhenFull()
    {
        const bool full = mStyle.layout == ListLayout::OneLine ? gPrinting.gPageLineCount >= mCapacity
                                                               : gPrinting.gPageLineCount > mCapacity;
        if (!full)
            return;
        vp.setAction(PrintSurface::NewPage);
        vp.setCurrentY(PageTop);
        gPrinting.gPageLineCount = 0;
    }

    void printOneLine(const ListRecordTexts &texts)
    {
        vp.setCurrentX(OneLineNameX);
        vp.setFontBold(true);
        vp.setFontStyle7(true);
        vp.printNoLineEnd(texts.name);
        const qint64 x = WholeNumber(vp.currentX());
        vp.setFontBold(false);
        vp.setFontStyle7(false);
        if (texts.detail.isEmpty()) {
            vp.printLine(QStringLiteral(" "));
            ++gPrinting.gPageLineCount;
            return;
        }
        gPrinting.gPrintTextBuffer = texts.detail;
        bool firstLine = true;
        // A name reaching the right edge leaves no room beside it: its line ends and
        // the rest starts on the continuation lines.
        if (OneLineRight - x <= 0) {
            vp.printLine(QStringLiteral(" "));
            ++gPrinting.gPageLineCount;
            firstLine = false;
        }
        while (!gPrinting.gPrintTextBuffer.isEmpty()) {
            QString line;
            if (firstLine) {
                line = GetNextPrintLine(gPrinting.gPrintTextBuffer, static_cast<int>(OneLineRight - x),
                                        vp.font());
                vp.setCurrentX(x + OneLineDetailGap);
            } else {
                line = GetNextPrintLine(gPrinting.gPrintTextBuffer, ContinuationWidth, vp.font());
                vp.setCurrentX(NameX);
            }
            vp.printLine(line);
            ++gPrinting.gPageLineCount;
            firstLine = false;
        }
    }

    void printNameAboveDetail(const ListRecordTexts &texts)
    {
        vp.setCurrentX(NameX);
        vp.setFontBold(true);
        vp.printLine(texts.name);
        ++gPrinting.gPageLineCount;
        vp.setFontBold(false);
        vp.setCurrentX(DetailX);
        const double indent = vp.currentX();
        if (!IsNonBlank(texts.detail))
            return;
        gPrinting.gPrintTextBuffer = texts.detail;
        while (!gPrinting.gPrintTextBuffer.isEmpty()) {
            const QString line = GetNextPrintLine(gPrinting.gPrintTextBuffer, DetailWidth, vp.font());
            vp.setCurrentX(indent);
            vp.printLine(line);
            ++gPrinting.gPageLineCount;
        }
    }

    DisplayedRecords &mRecords;
    QString mHeading;
    const ListReportStyle &mStyle;
    const ListRecordTextsBuilder &mTexts;
    PrintSurface &vp;
    double mCapacity = 0.0;
    ReportRun *mGuard = nullptr;
};

} // namespace

void RunListReport(DisplayedRecords &Records, const QString &Heading, const ListReportStyle &Style,
                   const ListRecordTextsBuilder &Texts, const std::function<bool()> &Prepare)
{
    ListReport(Records, Heading, Style, Texts).run(Prepare);
}
