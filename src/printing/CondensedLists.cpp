#include "printing/CondensedLists.h"

#include "printing/ContactLines.h"
#include "printing/DisplayedRecords.h"
#include "printing/GLOBAL.h"
#include "printing/PrintText.h"
#include "printing/ReportRun.h"
#include "printing/frmPreview.h"

#include "platform/RuntimeError.h"
#include "platform/print/PrintSurface.h"
#include "platform/ui/Clock.h"
#include "platform/ui/DateText.h"
#include "platform/ui/MousePointer.h"
#include "platform/ui/MsgBox.h"

#include <QCoreApplication>

namespace {

using platform::PrintSurface;

// The page, in twips, as the lists lay it out.
constexpr int PageTop = 720;
constexpr int DateX = 10080;
constexpr int PageCentre = 5940;

enum class Layout { OneLine, TwoLine };

// The texts of one contact, built from the current record.
struct ContactTexts {
    QString name;
    QString rest;
};

QString addressText(DisplayedRecords &r, Layout layout)
{
    const QString set = LabelAddressSet(r);
    QString text = RunningAddressText(r, set);
    if (layout == Layout::TwoLine) {
        if (IsNonBlank(text))
            text = FieldText(r, set + QStringLiteral("Address_Desc")) + QStringLiteral(": ") + text +
                   QStringLiteral("  ");
        const QString email = FieldText(r, QStringLiteral("Email_Address"));
        if (IsNonBlank(email))
            text += QStringLiteral("  Email:") + RTrim(email) + QStringLiteral("  ");
    }
    return text;
}

ContactTexts contactTexts(DisplayedRecords &r, Layout layout)
{
    ContactTexts texts;
    if (layout == Layout::OneLine)
        texts.name =
            Trim(ContactNameLine(r) + QStringLiteral(" ") + FieldText(r, QStringLiteral("Organization")));
    else
        texts.name = CondensedHeadingLine(r);
    const QString address = addressText(r, layout);
    texts.rest = RTrim(RunningPhoneText(r) + QStringLiteral("  ") + address);
    return texts;
}

// Where one list differs from the other.
struct ListStyle {
    Layout layout;
    QString documentName;
    bool headingStyle7;
};

class CondensedReport {
  public:
    CondensedReport(DisplayedRecords &records, const QString &category, ListStyle style)
        : mRecords(records), mCategory(category), mStyle(std::move(style)), vp(PreviewSurface())
    {
    }

    void run()
    {
        ReportRun::draw([this](ReportRun &run) {
            mGuard = &run;
            draw();
        });
    }

  private:
    void draw()
    {
        startDocument();
        mGuard->markPosition(mRecords);
        vp.setCurrentX(DateX);
        vp.printLine(platform::shortDateText(platform::today()));
        ++gPageLineCount;
        printHeading();

        mRecords.moveFirst();
        while (!mRecords.eof()) {
            const ContactTexts texts = contactTexts(mRecords, mStyle.layout);
            breakPageWhenFull();
            if (mStyle.layout == Layout::OneLine)
                printOneLine(texts);
            else
                printTwoLine(texts);
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
        if (mStyle.layout == Layout::OneLine)
            mCapacity = static_cast<double>(WholeNumber(13968.0 / lineHeight));
        else
            mCapacity = 13248.0 / lineHeight;
        platform::setMousePointer(platform::MousePointer::Hourglass);
        if (vp.preview())
            frmPreview::instance().showModeless();
        gPageLineCount = 0;
        vp.setCurrentY(PageTop);
    }

    void printHeading()
    {
        const QString heading = Trim(mCategory);
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
        gPageLineCount += 2;
    }

    void breakPageWhenFull()
    {
        const bool full =
            mStyle.layout == Layout::OneLine ? gPageLineCount >= mCapacity : gPageLineCount > mCapacity;
        if (!full)
            return;
        vp.setAction(PrintSurface::NewPage);
        vp.setCurrentY(PageTop);
        gPageLineCount = 0;
    }

    void printOneLine(const ContactTexts &texts)
    {
        vp.setCurrentX(720);
        vp.setFontBold(true);
        vp.setFontStyle7(true);
        vp.printNoLineEnd(texts.name);
        const qint64 x = WholeNumber(vp.currentX());
        vp.setFontBold(false);
        vp.setFontStyle7(false);
        if (texts.rest.isEmpty()) {
            vp.printLine(QStringLiteral(" "));
            ++gPageLineCount;
            return;
        }
        gPrintTextBuffer = texts.rest;
        bool firstLine = true;
        // A name reaching the right edge leaves no room beside it: its line ends and
        // the rest starts on the continuation lines.
        if (10900 - x <= 0) {
            vp.printLine(QStringLiteral(" "));
            ++gPageLineCount;
            firstLine = false;
        }
        while (!gPrintTextBuffer.isEmpty()) {
            QString line;
            if (firstLine) {
                line = GetNextPrintLine(gPrintTextBuffer, static_cast<int>(10900 - x), vp.font());
                vp.setCurrentX(x + 100);
            } else {
                line = GetNextPrintLine(gPrintTextBuffer, 10800, vp.font());
                vp.setCurrentX(1080);
            }
            vp.printLine(line);
            ++gPageLineCount;
            firstLine = false;
        }
    }

    void printTwoLine(const ContactTexts &texts)
    {
        vp.setCurrentX(1080);
        vp.setFontBold(true);
        vp.printLine(texts.name);
        ++gPageLineCount;
        vp.setFontBold(false);
        vp.setCurrentX(1440);
        const double indent = vp.currentX();
        if (!IsNonBlank(texts.rest))
            return;
        gPrintTextBuffer = texts.rest;
        while (!gPrintTextBuffer.isEmpty()) {
            const QString line = GetNextPrintLine(gPrintTextBuffer, 9360, vp.font());
            vp.setCurrentX(indent);
            vp.printLine(line);
            ++gPageLineCount;
        }
    }

    DisplayedRecords &mRecords;
    QString mCategory;
    ListStyle mStyle;
    PrintSurface &vp;
    double mCapacity = 0.0;
    ReportRun *mGuard = nullptr;
};

} // namespace

void PrintCondensedOneLine(DisplayedRecords &Records, const QString &Category)
{
    CondensedReport(Records, Category, {Layout::OneLine, QStringLiteral("Condensed 1-Line"), true}).run();
}

void PrintCondensedList(DisplayedRecords &Records, const QString &Category)
{
    CondensedReport(Records, Category, {Layout::TwoLine, QStringLiteral("Condensed List"), false}).run();
}

void Condensed1LineMenu_Click(DisplayedRecords &Records, const QString &Category, qint32 SelectedCount)
{
    ConfirmAndRunReport(Records, SelectedCount, [&] { PrintCondensedOneLine(Records, Category); });
}

void CondensedList_Click(DisplayedRecords &Records, const QString &Category, qint32 SelectedCount)
{
    ConfirmAndRunReport(Records, SelectedCount, [&] { PrintCondensedList(Records, Category); });
}
