#include "printing/FormEnvelope.h"

#include "printing/DisplayedRecords.h"
#include "printing/GLOBAL.h"
#include "printing/MailingLabels.h"
#include "printing/PrintText.h"
#include "printing/ReportRun.h"
#include "printing/ReportSettings.h"
#include "printing/ReturnAddress.h"
#include "printing/frmPreview.h"

#include "helpers/DatabaseState.h"
#include "helpers/SettingsRow.h"

#include "platform/RuntimeError.h"
#include "platform/base/TextDirection.h"
#include "platform/db/Database.h"
#include "platform/db/Recordset.h"
#include "platform/print/PrintSurface.h"
#include "platform/ui/MsgBox.h"
#include "platform/ui/Twips.h"

#include <QLabel>
#include <QPushButton>

namespace {

using platform::PrintSurface;

// Where and in which font one block of the envelope is printed.
struct BlockPlace {
    qint32 x = 0;
    qint32 y = 0;
    QString fontName;
    qint64 fontSize = 0;

    void apply(PrintSurface &vp) const
    {
        vp.setFontName(fontName);
        vp.setFontSize(double(fontSize));
        vp.setCurrentX(x);
        vp.setCurrentY(y);
    }
};

BlockPlace placeOf(PrintSurface &vp, const QString &reportName)
{
    qint16 x = 0, y2 = 0;
    qint32 y = 0;
    LoadReportSettingsPreview(reportName, x, y, y2);
    return {qint32(WholeNumber(vp.currentX())), qint32(WholeNumber(vp.currentY())), vp.fontName(),
            WholeNumber(vp.fontSize())};
}

// Address lines 1 to 3, city, state, postal code and country of the chosen return
// address, trimmed; all empty when the choice is none.
QStringList returnAddressLines()
{
    QStringList lines(7);
    gSql = settingsRowQuery(QStringLiteral("RETURNADDRESSCHOICE"));
    std::unique_ptr<platform::Recordset> rs = gDb->openRecordset(gSql);
    if (rs->recordCount() <= 0)
        throw platform::RuntimeError(platform::err::NoCurrentRecord,
                                     QStringLiteral("The settings row RETURNADDRESSCHOICE is missing from this "
                                                    "database."));
    rs->moveFirst();
    const int choice = ReturnAddress::choiceFrom(NullToString(rs->value(QStringLiteral("Name"))).toString());
    if (choice == 0)
        return lines;
    const QString type = QStringLiteral("RETURNADDRESS%1").arg(choice);
    gSql = settingsRowQuery(type);
    rs = gDb->openRecordset(gSql);
    if (rs->recordCount() <= 0)
        throw platform::RuntimeError(platform::err::NoCurrentRecord,
                                     QStringLiteral("The settings row %1 is missing from this database.").arg(type));
    rs->moveFirst();
    for (int i = 0; i < 7; ++i)
        lines[i] = platform::isolatedLine(
            Trim(NullToString(rs->value(QStringLiteral("Setting%1").arg(i + 1))).toString()));
    return lines;
}

void printReturnBlock(PrintSurface &vp, const BlockPlace &place, const QStringList &lines)
{
    place.apply(vp);
    for (int i = 0; i < 3; ++i) {
        vp.setCurrentX(place.x);
        if (!lines[i].isEmpty())
            vp.printLine(lines[i]);
    }
    const QString &city = lines[3], &state = lines[4], &postalCode = lines[5], &country = lines[6];
    vp.setCurrentX(place.x);
    const QString separator = !city.isEmpty() && !state.isEmpty() ? QStringLiteral(", ") : QString();
    if (!city.isEmpty())
        vp.printNoLineEnd(city + separator);
    if (!state.isEmpty())
        vp.printNoLineEnd(state + QStringLiteral("  "));
    // A city without a state would run into the postal code.
    else if (!city.isEmpty() && !postalCode.isEmpty())
        vp.printNoLineEnd(QStringLiteral(" "));
    if (!postalCode.isEmpty())
        vp.printNoLineEnd(postalCode);
    vp.setCurrentX(place.x);
    if (!city.isEmpty() || !state.isEmpty() || !postalCode.isEmpty())
        vp.printLine(QStringLiteral(" "));
    vp.setCurrentX(place.x);
    if (!country.isEmpty())
        vp.printLine(country);
    vp.printLine(QStringLiteral(" "));
}

} // namespace

void PrintEnvelopes(DisplayedRecords &Records, int Which)
{
    if (Which != 1 && Which != 2)
        return;
    // A second run while one draws would restart the surface under it.
    if (ReportRun::running())
        return;
    if (Records.recordCount() <= 0) {
        platform::MsgBox(QStringLiteral("There are no records displayed, so none will print."),
                         platform::vbInformation, QStringLiteral("No records to print"));
        return;
    }
    ReportRun::draw([&](ReportRun &run) {
        PrintSurface &vp = PreviewSurface();
        // Both blocks print where the settings put them; each envelope is one page.
        platform::PageFlowOff flow(vp);
        run.markPosition(Records);
        if (EnvelopeOrientationLandscape(*gDb)) {
            vp.setOrientation(1);
            if (vp.orientation() != 1) {
                platform::MsgBox(QStringLiteral("Sorry, unable to switch printer orientation to Landscape.  Change "
                                                "Report Options for Envelope Orientation to Portrait to avoid this "
                                                "error message."));
                run.endWalk();
                return;
            }
        } else {
            vp.setOrientation(0);
        }
        vp.setDocFlag34(false);
        vp.setDocName(QStringLiteral("Envelope"));
        vp.setDocSetting91(0);
        vp.setAction(PrintSurface::StartDoc);
        run.showBusy();
        if (vp.preview())
            frmPreview::instance().showModeless();

        const BlockPlace returnPlace = placeOf(vp, reportname::EnvelopeReturn);
        const QStringList returnLines = returnAddressLines();
        const BlockPlace mainPlace = placeOf(vp, reportname::EnvelopeMain);
        if (Which == 2)
            Records.moveFirst();
        while (!Records.eof()) {
            printReturnBlock(vp, returnPlace, returnLines);
            mainPlace.apply(vp);
            PrintLabelAddress(Records, 7);
            if (Which == 1)
                break;
            Records.moveNext();
            if (Records.eof())
                break;
            vp.newPage();
            run.letEventsRun();
        }
        vp.setAction(PrintSurface::EndDoc);
        run.endWalk();
    });
}

FormEnvelope::FormEnvelope(std::unique_ptr<DisplayedRecords> records, QWidget *mainWindow)
    : mRecords(std::move(records)), mMainWindow(mainWindow)
{
    setObjectName(QStringLiteral("FormEnvelope"));
    setWindowTitle(QStringLiteral("Envelope Printing Confirmation"));
    platform::setClientSizeTwips(this, 4680, 3480);
    setDialogBorder(true);

    lblEnvQuestion = new QLabel(QStringLiteral("Do you want to print an envelope for just the CURRENT record, or "
                                               "envelopes for ALL displayed records?"),
                                this);
    lblEnvQuestion->setObjectName(QStringLiteral("lblEnvQuestion"));
    lblEnvQuestion->setWordWrap(true);
    platform::setGeometryTwips(lblEnvQuestion, 240, 120, 4200, 720);

    auto addButton = [this](const char *name, const QString &caption, const QString &tip, int top) {
        auto *b = new QPushButton(caption, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setToolTip(tip);
        platform::setGeometryTwips(b, 840, top, 3000, 495);
        return b;
    };
    cmdCurrent = addButton("cmdCurrent", QStringLiteral("&Print Current Record"),
                           QStringLiteral("Prints one envelope for the current record."), 960);
    cmdAll = addButton("cmdAll", QStringLiteral("Print &All Records"),
                       QStringLiteral("Prints envelopes for EVERY displayed record."), 1560);
    cmdReturnAddress = addButton("cmdReturnAddress", QStringLiteral("Change &Return Address"),
                                 QStringLiteral("Change the return address printed on the envelopes."), 2160);
    cmdCancel = addButton("cmdCancel", QStringLiteral("&Cancel"), QString(), 2760);
    setTabOrder(cmdCurrent, cmdAll);
    setTabOrder(cmdAll, cmdReturnAddress);
    setTabOrder(cmdReturnAddress, cmdCancel);

    connect(cmdCurrent, &QPushButton::clicked, this, &FormEnvelope::cmdCurrent_Click);
    connect(cmdAll, &QPushButton::clicked, this, &FormEnvelope::cmdAll_Click);
    connect(cmdReturnAddress, &QPushButton::clicked, this, &FormEnvelope::cmdReturnAddress_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &FormEnvelope::cmdCancel_Click);
    setCancelButton(cmdCancel);
}

FormEnvelope::~FormEnvelope() = default;

FormEnvelope *FormEnvelope::open(std::unique_ptr<DisplayedRecords> records, QWidget *mainWindow)
{
    auto *form = new FormEnvelope(std::move(records), mainWindow);
    connect(form, &platform::Form::wasUnloaded, form, &QObject::deleteLater);
    if (mainWindow)
        mainWindow->setEnabled(false);
    form->load();
    form->showModeless();
    return form;
}

void FormEnvelope::Form_Load()
{
    platform::centerWindowOnScreen(this);
    gPrinting.gEnvelopeFormOpen = -1;
}

void FormEnvelope::Form_QueryUnload(bool &cancel, int unloadMode)
{
    Q_UNUSED(unloadMode);
    // The window waits, disabled, for the return address window it opened, also when it is
    // closed from its title bar: gone, it would let the main window open a second return
    // address window, and the older one's save would undo the newer one's.
    if (mReturnAddress && mReturnAddress->isLoaded()) {
        cancel = true;
        mReturnAddress->raise();
        mReturnAddress->activateWindow();
    }
}

void FormEnvelope::Form_Unload(bool &cancel)
{
    Q_UNUSED(cancel);
    if (mMainWindow)
        mMainWindow->setEnabled(true);
    gPrinting.gEnvelopeFormOpen = 0;
}

void FormEnvelope::print(int which)
{
    // One run at a time: the buttons wait for a run to end before they start another.
    if (ReportRun::running())
        return;
    PrintEnvelopes(*mRecords, which);
    unload();
}

void FormEnvelope::cmdCurrent_Click()
{
    print(1);
}

void FormEnvelope::cmdAll_Click()
{
    print(2);
}

void FormEnvelope::cmdReturnAddress_Click()
{
    mReturnAddress = ReturnAddress::showFromEnvelope(this);
}

void FormEnvelope::cmdCancel_Click()
{
    unload();
}
