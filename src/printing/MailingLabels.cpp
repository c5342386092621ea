#include "printing/MailingLabels.h"

#include "printing/ContactLines.h"
#include "printing/DisplayedRecords.h"
#include "printing/GLOBAL.h"
#include "printing/PrintText.h"
#include "printing/ReportRun.h"
#include "printing/ReportSettings.h"
#include "printing/frmPreview.h"

#include "platform/RuntimeError.h"
#include "platform/print/PrintSurface.h"
#include "platform/print/TextMetrics.h"
#include "platform/ui/MsgBox.h"

#include <QCoreApplication>
#include <algorithm>
#include <cmath>

namespace {

using platform::PrintSurface;

constexpr int AddressSlots = 7;
constexpr int SheetRowPitch = 1440;
constexpr int SheetRowsPerPage = 10;
constexpr int MostCopies = 32000;

struct LabelLayout {
    const QString &name;
    int columns;     // 1: continuous labels down the page
    int pitchDown;   // label to label, twips
    int columnPitch; // sheets only
    int labelWidth;  // the label itself, from its left edge, twips
};

const LabelLayout Layout3Up{reportname::Labels3Up, 3, SheetRowPitch, 3960, 3780};
const LabelLayout Layout1Up4{reportname::Labels1Up4, 1, 2160, 0, 5760};
const LabelLayout Layout1Up3{reportname::Labels1Up3, 1, 1440, 0, 5040};
const LabelLayout Layout2Up{reportname::Labels2Up, 2, SheetRowPitch, 5940, 5760};

QString text(DisplayedRecords &r, const QString &field)
{
    return NullToString(r.value(field)).toString();
}

// The margins a label run clears, put back when it ends so the other reports keep theirs.
class MarginsKept {
  public:
    explicit MarginsKept(PrintSurface &vp)
        : mVp(vp), mTop(vp.marginTop()), mLeft(vp.marginLeft()), mBottom(vp.marginBottom())
    {
    }
    ~MarginsKept()
    {
        mVp.setMarginTop(mTop);
        mVp.setMarginLeft(mLeft);
        mVp.setMarginBottom(mBottom);
    }

  private:
    PrintSurface &mVp;
    double mTop, mLeft, mBottom;
};

class LabelRun {
  public:
    LabelRun(DisplayedRecords &records, const LabelLayout &layout, int copies)
        : mRecords(records), mLayout(layout), mCopies(copies), vp(PreviewSurface())
    {
    }

    void run()
    {
        MarginsKept margins(vp);
        // Every layout places its labels itself and starts its own pages.
        platform::PageFlowOff flow(vp);
        ReportRun::draw([this](ReportRun &run) {
            mRun = &run;
            open();
            if (mLayout.columns == 1)
                drawContinuous();
            else
                drawSheet();
            vp.setAction(PrintSurface::EndDoc);
            run.endWalk();
        });
    }

  private:
    void open()
    {
        if (mLayout.columns == 3)
            mRun->showBusy();
        QCoreApplication::processEvents();
        if (vp.orientation() == 1)
            vp.setOrientation(0);
        vp.setDocFlag34(true);
        if (mLayout.columns == 3)
            vp.setMargin51(0);
        vp.setDocSetting91(0);
        vp.setDocName(mLayout.name);
        vp.setAction(PrintSurface::StartDoc);
        mRun->showBusy();
        if (vp.preview())
            frmPreview::instance().showModeless();
        qint16 y2 = 0;
        LoadReportSettingsPreview(mLayout.name, mX, mY, y2);
    }

    // Each record's label copies times in a row; false once the records are done.
    bool nextLabel()
    {
        if (++mCopy >= mCopies) {
            mCopy = 0;
            mRecords.moveNext();
        }
        return !mRecords.eof();
    }

    void drawContinuous()
    {
        mY += LabelStartInset;
        mX += LabelStartInset;
        vp.setMargin50(0);
        vp.setMargin52(0);
        const double column = WholeNumber(mX);
        // Every label prints in the settings row's size; between labels the surface holds
        // it as a whole number.
        const double labelSize = vp.fontSize();
        const double keptSize = double(WholeNumber(labelSize));
        const int lines = LabelLinesForFontSize(mLayout.name, labelSize);
        const double blockHeight = lines * platform::textMetrics().lineHeight(vp.font());
        platform::PrintFont spacerFont = vp.font();
        spacerFont.size = 1;
        const double spacerHeight = platform::textMetrics().lineHeight(spacerFont);
        const double pageHeight = vp.document().pageSize().height();
        const double edge = platform::PrintDocument::UnprintableEdge;
        // A label is never split over a page end: one that would reach into the paper's
        // unprintable edge leaves its place on the stock blank and takes the next place
        // down that lies wholly on a page, so the labels after it keep their places. Only
        // labels so tall that such a place might never come print where they fall.
        const double placeStep = std::max<double>(mLayout.pitchDown, blockHeight) + spacerHeight;
        const bool placesFitPages = blockHeight + placeStep <= pageHeight - 2 * edge;

        mRun->markPosition(mRecords);
        mRecords.moveFirst();
        const double top = mY;
        double spacerTotal = 0; // filling after the places so far
        qint64 places = 0;
        while (!mRecords.eof()) {
            // Labels run on down the stock: each place measured from the first label's top.
            const double place = top + double(places) * blockHeight + spacerTotal;
            const int page = std::max(0, int(std::floor(place / pageHeight)));
            const double y = place - page * pageHeight;
            const bool printable = y >= edge && y + blockHeight <= pageHeight - edge;
            if (printable || !placesFitPages) {
                while (vp.pageCount() - 1 < page)
                    vp.setAction(PrintSurface::NewPage);
                vp.setFontSize(labelSize);
                vp.setCurrentY(std::max(y, edge));
                vp.setCurrentX(column);
                PrintLabelAddress(mRecords, lines, textWidth());
                vp.setFontSize(keptSize);
            }
            ++places;
            // Blank one-point lines fill the place out to its pitch from the first label's
            // top, so differences of line height never add up over a long run.
            const double short_ = double(places) * (mLayout.pitchDown - blockHeight) - spacerTotal;
            if (short_ > 0)
                spacerTotal += std::ceil(short_ / spacerHeight) * spacerHeight;
            if (!printable && placesFitPages)
                continue;
            if (!nextLabel())
                break;
            mRun->letEventsRun();
        }
    }

    void drawSheet()
    {
        const int lines = LabelLinesForFontSize(mLayout.name, vp.fontSize());
        mRun->markPosition(mRecords);
        mRecords.moveFirst();
        int column = 1;
        int row = 1;
        mY += LabelStartInset;
        const qint32 firstRowY = mY;
        vp.setCurrentY(mY);
        mX += LabelStartInset;
        while (!mRecords.eof()) {
            vp.setCurrentX(mX + (column - 1) * mLayout.columnPitch);
            PrintLabelAddress(mRecords, lines, textWidth());
            if (column >= mLayout.columns) {
                mY += SheetRowPitch;
                vp.setCurrentY(mY);
                column = 1;
                ++row;
            } else {
                vp.setCurrentY(mY);
                ++column;
            }
            if (!nextLabel())
                break;
            if (row > SheetRowsPerPage) {
                row = 1;
                mY = firstRowY;
                vp.setAction(PrintSurface::NewPage);
                vp.setCurrentY(firstRowY);
            }
            mRun->letEventsRun();
        }
    }

    // A label's lines end at its right edge, short of the next label.
    double textWidth() const { return mLayout.labelWidth - LabelStartInset; }

    DisplayedRecords &mRecords;
    const LabelLayout &mLayout;
    int mCopies;
    PrintSurface &vp;
    ReportRun *mRun = nullptr;
    qint16 mX = 0;
    qint32 mY = 0;
    int mCopy = 0;
};

void printLabels(DisplayedRecords &Records, qint32 SelectedCount, const LabelLayout &Layout)
{
    // A second run while one draws would restart the surface under it.
    if (ReportRun::running())
        return;
    const int copies = ConfirmLabelCopies(Records, SelectedCount);
    if (copies <= 0)
        return;
    LabelRun(Records, Layout, copies).run();
}

} // namespace

int LabelLinesForFontSize(const QString &LayoutName, double F)
{
    if (LayoutName == reportname::Labels1Up4)
        return F > 12 ? 5 : F > 10 ? 6 : 7;
    if (LayoutName == reportname::Labels1Up3)
        return F > 11 ? 4 : F > 8 ? 5 : 7;
    return F > 10 ? 5 : 6;
}

QStringList LabelAddressLines(DisplayedRecords &Records)
{
    QStringList lines(AddressSlots);
    auto spacer = [&](const char *field) {
        return IsNonBlank(text(Records, QLatin1String(field))) ? QStringLiteral(" ") : QString();
    };
    const QString set = LabelAddressSet(Records);
    const auto field = [&](const char *name) { return text(Records, set + QLatin1String(name)); };
    // Each field set apart in its own direction.
    const auto part = [](const QString &value) { return JoinedField(value, FieldJoin::IsolatedLine); };
    const auto name = [&](const char *field) { return part(RTrim(text(Records, QLatin1String(field)))); };

    int index = 0;
    lines[0] = name("Prefix") + spacer("Prefix") + name("FirstName") + spacer("FirstName") + name("MiddleName") +
               spacer("MiddleName") + name("LastName") + QStringLiteral(" ") + name("Suffix");
    if (IsNonBlank(lines[0]))
        index = 1;

    lines[index] = part(text(Records, QStringLiteral("Organization")));
    if (IsNonBlank(lines[index])) {
        if (field("Address_Desc").toUpper().contains(QStringLiteral("HOME")))
            lines[index].clear();
        else
            ++index;
    }
    for (const char *line : {"Address1", "Address2", "Address3"}) {
        lines[index] = part(field(line));
        if (IsNonBlank(lines[index]))
            ++index;
    }
    lines[index] = CityLine(field("City"), field("State"), field("PostalCode"), FieldJoin::IsolatedLine);
    if (IsNonBlank(lines[index]))
        ++index;
    lines[index] = part(RTrim(field("Country")));
    return lines;
}

void PrintLabelAddress(DisplayedRecords &Records, int LineCount, double Width)
{
    if (LineCount < 1 || LineCount > AddressSlots)
        throw platform::RuntimeError(9, QStringLiteral("Subscript out of range"));
    PrintSurface &vp = PreviewSurface();
    const QStringList lines = LabelAddressLines(Records);
    for (int i = 0; i < LineCount; ++i) {
        const double x = vp.currentX();
        vp.printLine(FittedText(lines[i], vp.font(), Width));
        vp.setCurrentX(x);
    }
}

int ConfirmLabelCopies(DisplayedRecords &Records, qint32 SelectedCount)
{
    if (Records.recordCount() <= 0) {
        platform::MsgBox(QStringLiteral("There are no records displayed, so none will print."),
                         platform::vbInformation, QStringLiteral("No records to print"));
        return 0;
    }
    if (SelectedCount >= 1 && !Records.recordSource().contains(QStringLiteral("Selected"))) {
        const QString warning =
            QStringLiteral("All displayed records will be printed, not just the ") + QString::number(SelectedCount) +
            QStringLiteral(" you have selected.  To print just the selected records, click the \"Show Selected "
                           "Records Only\" button or choose that option from the Edit menu.") +
            QStringLiteral("\n\nPress Cancel if you DO NOT want to print all records.");
        if (platform::MsgBox(warning, platform::vbOKCancel + platform::vbExclamation + platform::vbDefaultButton2,
                             QStringLiteral("All records will print")) == platform::vbCancel)
            return 0;
    }
    const QString answer = platform::InputBox(
        QStringLiteral("Click on the OK button to start printing, or Cancel if you do not want to print all "
                       "displayed records.") +
            QString(7, QLatin1Char('\r')) + QStringLiteral("Number of copies:"),
        QStringLiteral("Print Labels - Confirmation"), QStringLiteral("1"));
    const std::optional<double> copies = ReportSettingNumber(answer);
    if (!copies || *copies < 1 || *copies >= MostCopies + 1)
        return 0;
    return int(WholeNumber(*copies));
}

void Labels3upMenu_Click(DisplayedRecords &Records, qint32 SelectedCount)
{
    printLabels(Records, SelectedCount, Layout3Up);
}

void Labels1UpMenu1_Click(DisplayedRecords &Records, qint32 SelectedCount)
{
    printLabels(Records, SelectedCount, Layout1Up4);
}

void Labels1UpMenu2_Click(DisplayedRecords &Records, qint32 SelectedCount)
{
    printLabels(Records, SelectedCount, Layout1Up3);
}

void Labels2UpMenu_Click(DisplayedRecords &Records, qint32 SelectedCount)
{
    printLabels(Records, SelectedCount, Layout2Up);
}
