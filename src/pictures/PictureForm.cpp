#include "pictures/PictureForm.h"

#include "helpers/DatabaseState.h"
#include "helpers/MainCommonDialog.h"
#include "helpers/ValueHelpers.h"
#include "pictures/PictureBox.h"
#include "pictures/PictureFiles.h"
#include "pictures/PictureFit.h"
#include "pictures/PictureHandOver.h"
#include "pictures/PictureStore.h"
#include "platform/RuntimeError.h"
#include "platform/db/Database.h"
#include "platform/db/Recordset.h"
#include "platform/db/jet/JetQuote.h"
#include "platform/gdi/StdPicture.h"
#include "platform/ui/MousePointer.h"
#include "platform/ui/MsgBox.h"
#include "platform/ui/ScreenFit.h"
#include "platform/ui/Twips.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QToolButton>
#include <algorithm>
#include <cmath>

using platform::CommonDialog;
using platform::MsgBox;
using platform::RuntimeError;
using platform::StdPicture;

namespace {

// The window is designed in twips for 12 twips per pixel, and keeps its size in pixels
// on every screen, so that the display box is always 1024 by 768 pixels.
constexpr double DesignTwipsPerPixel = 12.0;
int px(double designTwips)
{
    return qRound(designTwips / DesignTwipsPerPixel);
}

struct Design {
    const char *name;
    int left, top, width, height;
};
constexpr int ClientWidth = 14856;
constexpr int ClientHeight = 9204;
constexpr Design CancelDesign{"cmdCancel", 12960, 2940, 1548, 450};
constexpr Design CloseDesign{"cmdClose", 12960, 3708, 1548, 450};
constexpr Design DeleteDesign{"cmdDelete", 12972, 5064, 1548, 450};
constexpr Design LoadFileDesign{"cmdLoadFile", 12960, 5832, 1548, 450};
constexpr Design ClipboardPasteDesign{"cmdClipboardPaste", 12960, 7392, 1500, 450};
constexpr Design PrevDesign{"cmdPrev", 13224, 1068, 360, 348};
constexpr Design NextDesign{"cmdNext", 13716, 1068, 360, 348};
constexpr Design OriginalDesign{"picOriginal", 4380, 2508, 8112, 5388};

// A screen smaller than this (in pixels) gets the window over all of it; without a screen,
// the window lays out for the larger one.
constexpr QSize SmallScreen{1280, 800};
constexpr QRect NoScreenArea{0, 0, 1280, 1024};
// On a landscape screen the button column keeps this many pixels off the right edge.
constexpr int ColumnRightGap = 4;
// On a portrait screen the buttons form a row under the box, in design twips: the row stands
// this far below the box and in from the left, with gaps between the buttons; the arrows sit
// just under the box; the window is this much lower than it was wide.
constexpr int RowBelowBox = 500;
constexpr int RowLeft = 500;
constexpr int RowGap = 300;
constexpr int RowBottomMargin = 300;
constexpr int ArrowsBelowBox = 50;
constexpr int PortraitHeightCut = 4000;

PictureEditor &editorLink()
{
    static PictureEditor editor;
    return editor;
}

// A picture name of the edited contact changed: the hand-over says so, and the editor hears it.
void pictureNameChanged()
{
    gPictureHandOver.gPictureChanged = true;
    if (editorLink().recordChanged)
        editorLink().recordChanged();
}

// The display box is what a picture is shown and stored as: no more of it is ever needed.
// A transparent picture is kept as it looks over the box.
std::unique_ptr<StdPicture> loadForBox(const QString &path, const PictureBox &box)
{
    return StdPicture::LoadPicture(path, QSize(PictureBox::CanvasWidth, PictureBox::CanvasHeight),
                                   box.BackColor());
}

// "Picture 2" or "Pictures 2, 4 and 6".
QString slotList(const QList<int> &numbers)
{
    QStringList each;
    for (const int number : numbers)
        each.append(QString::number(number));
    return (numbers.size() == 1 ? QStringLiteral("Picture ") : QStringLiteral("Pictures ")) + listed(each);
}

QPointer<PictureForm> &slot()
{
    static QPointer<PictureForm> window;
    return window;
}

void reportFailure(const RuntimeError &error)
{
    platform::setMousePointer(platform::MousePointer::Default);
    MsgBox(error.description() + QStringLiteral(" (Error ") + QString::number(error.number()) +
           QStringLiteral(")"));
}

QString pastePrompt()
{
    return QStringLiteral("First you must enter a NAME for this picture.\r"
                          "Do NOT enter a file extension (like .jpg), JUST enter a name (like My Car).\r\r"
                          "This name must not contain any characters that are illegal in a file name, or "
                          "it will be ignored.\r"
                          "Illegal characters are: ") +
           QStringLiteral("   *  \\  /  :  ?  |  .  ") + QLatin1Char('"') + QStringLiteral("  <  >");
}

} // namespace

void PictureForm::setEditor(const PictureEditor &editor)
{
    editorLink() = editor;
}

PictureForm &PictureForm::instance()
{
    QPointer<PictureForm> &window = slot();
    if (!window || window->isUnloaded()) {
        if (window)
            window->deleteLater();
        auto *form = new PictureForm;
        try {
            form->load();
        } catch (...) {
            delete form;
            throw;
        }
        window = form;
    }
    return *window;
}

PictureForm *PictureForm::loadedInstance()
{
    PictureForm *window = slot().data();
    return window && window->isLoaded() ? window : nullptr;
}

PictureForm::PictureForm()
{
    setObjectName(QStringLiteral("PictureForm"));
    setAttribute(Qt::WA_DeleteOnClose, false);

    picView = new QScrollArea(this);
    picView->setObjectName(QStringLiteral("picView"));
    picView->setFrameShape(QFrame::NoFrame);
    // A picture shows no focus: Tab passes it by, and a click still lets the keys scroll it.
    picView->setFocusPolicy(Qt::ClickFocus);
    picView->move(0, 0);
    picResized = new PictureBox(picView);
    picResized->setObjectName(QStringLiteral("picResized"));
    picView->setWidget(picResized);
    picOriginal = new QWidget(this);
    picOriginal->setObjectName(QStringLiteral("picOriginal"));
    picOriginal->setGeometry(px(OriginalDesign.left), px(OriginalDesign.top), px(OriginalDesign.width),
                             px(OriginalDesign.height));
    picOriginal->hide();

    const auto makeButton = [this](const Design &d, const QString &caption, const QString &tip) {
        auto *b = new QPushButton(caption, this);
        b->setObjectName(QLatin1String(d.name));
        b->setGeometry(px(d.left), px(d.top), px(d.width), px(d.height));
        b->setAutoDefault(false);
        if (!tip.isEmpty())
            b->setToolTip(tip);
        return b;
    };
    cmdCancel = makeButton(CancelDesign, QStringLiteral("Cancel"),
                           QStringLiteral("Cancel, do not save changes to this picture link."));
    cmdClose = makeButton(CloseDesign, QStringLiteral("Save"), QStringLiteral("Close and save changes."));
    cmdDelete = makeButton(DeleteDesign, QStringLiteral("Delete Picture"), QString());
    cmdLoadFile = makeButton(LoadFileDesign, QStringLiteral("Change Picture"), QString());
    cmdClipboardPaste = makeButton(ClipboardPasteDesign, QStringLiteral("Paste from Clipboard"), QString());
    cmdClipboardPaste->hide();

    const auto makeArrow = [this](const Design &d, Qt::ArrowType arrow, const QString &tip) {
        auto *b = new QToolButton(this);
        b->setObjectName(QLatin1String(d.name));
        b->setArrowType(arrow);
        b->setToolTip(tip);
        b->setGeometry(px(d.left), px(d.top), px(d.width), px(d.height));
        b->hide();
        return b;
    };
    cmdPrev = makeArrow(PrevDesign, Qt::LeftArrow, QStringLiteral("Previous picture"));
    cmdNext = makeArrow(NextDesign, Qt::RightArrow, QStringLiteral("Next picture"));

    // Cancel comes first, so the window opens with the focus on it.
    setTabOrder(cmdCancel, cmdClose);
    setTabOrder(cmdClose, cmdLoadFile);
    setTabOrder(cmdLoadFile, cmdDelete);
    setTabOrder(cmdDelete, cmdClipboardPaste);
    setTabOrder(cmdClipboardPaste, cmdNext);
    setTabOrder(cmdNext, cmdPrev);

    connect(cmdCancel, &QPushButton::clicked, this, &PictureForm::cmdCancel_Click);
    setCancelButton(cmdCancel);
    connect(cmdClose, &QPushButton::clicked, this, &PictureForm::cmdClose_Click);
    connect(cmdDelete, &QPushButton::clicked, this, &PictureForm::cmdDelete_Click);
    connect(cmdLoadFile, &QPushButton::clicked, this, &PictureForm::cmdLoadFile_Click);
    connect(cmdClipboardPaste, &QPushButton::clicked, this, &PictureForm::cmdClipboardPaste_Click);
    connect(cmdNext, &QToolButton::clicked, this, &PictureForm::cmdNext_Click);
    connect(cmdPrev, &QToolButton::clicked, this, &PictureForm::cmdPrev_Click);
}

PictureForm::~PictureForm() = default;

void PictureForm::showLoadPictureDialog(const QString &filter, int filterIndex)
{
    CommonDialog &dialog = CMDialog1();
    dialog.dlgCancelError = true;
    dialog.dlgFlags = CommonDialog::cdlOFNHideReadOnly;
    dialog.dlgFilter = filter;
    dialog.dlgFilterIndex = filterIndex;
    dialog.dlgFileName.clear();
    dialog.dlgDialogTitle = QStringLiteral("Load Picture");
    dialog.dlgShowOpen();
}

bool PictureForm::IsValidFilename(const QString &fileName)
{
    static const QString refused = QStringLiteral("*\\/:?|<>.\"");
    for (const QChar ch : refused) {
        if (fileName.contains(ch))
            return false;
    }
    return true;
}

// ---------------------------------------------------------------------------------------------
// Opening and layout

void PictureForm::Form_Load()
{
    mbFromClipboard = false;
    CommonDialog &dialog = CMDialog1();
    setWindowTitle(pictures::listedName(dialog.dlgFileName));
    cmdNext->hide();
    cmdPrev->hide();
    layOut();

    if (gPictureHandOver.gPastePicture) {
        cmdClipboardPaste->setEnabled(false);
        mOriginal = StdPicture::FromClipboard(picResized->BackColor());
        if (!mOriginal)
            throw RuntimeError(platform::err::InvalidPicture, QStringLiteral("The clipboard holds no picture."));
        fitOriginal();
        mbFromClipboard = true;
    } else {
        mOriginal = loadForBox(pictures::resolvedPath(dialog.dlgFileName), *picResized);
        fitOriginal();
        decideSlotButtons();
    }
    cmdCancel->setFocus();
}

void PictureForm::layOut()
{
    int windowWidth = px(ClientWidth);
    int windowHeight = px(ClientHeight);
    const QScreen *screen = QGuiApplication::primaryScreen();
    // The screen's free area less the window's frame, so that the title bar stays on it too;
    // a platform that frames its windows from the start tells the frame once the window exists.
    winId();
    const QRect area = screen ? platform::availableClientArea(this) : NoScreenArea;
    const QSize screenSize = screen ? screen->geometry().size() : area.size();
    // On a small screen the window takes the whole screen.
    if (screenSize.width() < SmallScreen.width() || screenSize.height() < SmallScreen.height()) {
        windowWidth = area.width();
        windowHeight = area.height();
        setGeometry(QRect(area.topLeft(), geometry().size()));
    }
    const int boxWidth = picResized->width();
    const int boxHeight = picResized->height();
    const QList<QPushButton *> column = {cmdCancel, cmdClose, cmdLoadFile, cmdDelete, cmdClipboardPaste};

    if (screenSize.width() > screenSize.height()) {
        int left = (windowWidth - boxWidth) / 2 + boxWidth - cmdCancel->width() / 2;
        // A window narrower than the box would otherwise put the buttons out of reach.
        left = qMin(left, windowWidth - cmdCancel->width() - ColumnRightGap);
        for (QPushButton *b : column)
            b->move(left, b->y());
        cmdPrev->move(left, cmdPrev->y());
        cmdNext->move(cmdCancel->x() + cmdCancel->width() - cmdNext->width(), cmdNext->y());
        // The design itself lets the box pass the window's bottom by a pixel; only a window
        // made lower than designed, for the screen, scrolls the box.
        picView->resize(qMin(boxWidth, windowWidth),
                        windowHeight < px(ClientHeight) ? qMin(boxHeight, windowHeight) : boxHeight);
    } else {
        const int formerWidth = windowWidth;
        windowWidth = windowHeight;
        // Never so low that the row of buttons under the box falls outside the window, nor
        // higher than the screen: there the box gives up room to the row, and scrolls.
        windowHeight = qMin(qMax(formerWidth - px(PortraitHeightCut),
                                 boxHeight + px(RowBelowBox) + cmdCancel->height() + px(RowBottomMargin)),
                            area.height());
        const int shownHeight =
            qMin(boxHeight, windowHeight - px(RowBelowBox) - cmdCancel->height() - px(RowBottomMargin));
        int left = px(RowLeft);
        for (QPushButton *b : column) {
            b->move(left, shownHeight + px(RowBelowBox));
            left = b->x() + b->width() + px(RowGap);
        }
        cmdPrev->move(windowWidth / 2 - 2 * cmdPrev->width(), shownHeight + px(ArrowsBelowBox));
        cmdNext->move(windowWidth / 2 + 2 * cmdPrev->width(), shownHeight + px(ArrowsBelowBox));
        picView->resize(qMin(boxWidth, windowWidth), qMax(1, shownHeight));
    }
    cmdClipboardPaste->setVisible(StdPicture::ClipboardHasBitmap());
    resize(windowWidth, windowHeight);
}

QLineEdit *PictureForm::slotBox(int slotNumber) const
{
    const QList<QLineEdit *> &boxes = editorLink().pictureBoxes;
    if (slotNumber < 1 || slotNumber > 8 || slotNumber > boxes.size())
        return nullptr;
    return boxes[slotNumber - 1];
}

QString PictureForm::slotName(int slotNumber) const
{
    QLineEdit *box = slotBox(slotNumber);
    return box ? box->text() : QString();
}

void PictureForm::decideSlotButtons()
{
    const int current = gPictureHandOver.gPictureSlot;
    if (!slotBox(current) || !pictures::slotFileExists(slotName(current)))
        return;
    for (int other = 1; other <= 8; ++other) {
        if (other != current && pictures::nameGiven(slotName(other))) {
            cmdNext->show();
            cmdPrev->show();
            return;
        }
    }
}

double PictureForm::boxWidthTwips() const
{
    return platform::pixelsToTwipsX(picResized->width());
}

double PictureForm::boxHeightTwips() const
{
    return platform::pixelsToTwipsY(picResized->height());
}

void PictureForm::fitOriginal()
{
    const pictures::FitSize fit =
        pictures::fitPicture(boxWidthTwips(), boxHeightTwips(), mOriginal->Width(), mOriginal->Height());
    mlNewWidth = fit.width;
    mlNewHeight = fit.height;
    picResized->Cls();
    paintOriginal(mlNewWidth, mlNewHeight);
}

void PictureForm::paintOriginal(std::int32_t widthTwips, std::int32_t heightTwips)
{
    const int width = qRound(widthTwips * picResized->width() / boxWidthTwips());
    const int height = qRound(heightTwips * picResized->height() / boxHeightTwips());
    if (!picResized->PaintPicture(*mOriginal, qMax(1, width), qMax(1, height)))
        throw RuntimeError(platform::err::InvalidPicture, QStringLiteral("The picture could not be shown."));
}

// ---------------------------------------------------------------------------------------------
// Buttons

void PictureForm::cmdClipboardPaste_Click()
{
    try {
        if (!StdPicture::ClipboardHasBitmap())
            return;
        const QString answer = platform::InputBox(pastePrompt(), QStringLiteral("Picture name required"));
        const QString name = Trim(answer);
        if (name.isEmpty() || !IsValidFilename(name))
            return;
        std::unique_ptr<StdPicture> picture = StdPicture::FromClipboard(picResized->BackColor());
        if (!picture)
            return;
        mOriginal = std::move(picture);
        fitOriginal();
        setWindowTitle(answer);
        CMDialog1().dlgFileName = name + QStringLiteral(".jpg");
        mbFromClipboard = true;
        update();
    } catch (const RuntimeError &error) {
        reportFailure(error);
    }
}

void PictureForm::cmdLoadFile_Click()
{
    CommonDialog &dialog = CMDialog1();
    // A cancelled or failed choice keeps the picture shown, and with it the file it came from.
    const QString formerFile = dialog.dlgFileName;
    try {
        showLoadPictureDialog(QStringLiteral("All Files (*.*)|*.*|JPG Files & (*.jpg)|*.jpg"), 2);
        const QString chosen = dialog.dlgFileName;
        std::unique_ptr<StdPicture> picture = loadForBox(chosen, *picResized);
        setWindowTitle(chosen.isEmpty() ? QString() : pictures::listedName(chosen));
        cmdNext->hide();
        cmdPrev->hide();
        mOriginal = std::move(picture);
        fitOriginal();
        mbFromClipboard = false;
    } catch (const RuntimeError &error) {
        dialog.dlgFileName = formerFile;
        if (error.number() != platform::err::DialogCancelled)
            reportFailure(error);
    }
}

PictureForm::NameLinks PictureForm::linksTo(const QString &name)
{
    const PictureEditor &editor = editorLink();
    if (!editor.database)
        throw RuntimeError(platform::err::DatabaseNotFound, QStringLiteral("No database is open."));
    const int current = gPictureHandOver.gPictureSlot;
    NameLinks links;
    const auto ownSlotLinks = [&](int n) {
        if (n == current)
            links.ownSlot = true;
        else if (!links.ownOtherSlots.contains(n))
            links.ownOtherSlots << n;
    };
    const QString trimmed = Trim(name);
    const QString quoted = platform::jetQuote(trimmed);
    QString sql = QStringLiteral("Select RecordID, LastName");
    for (int n = 1; n <= 8; ++n)
        sql += QStringLiteral(", PicturePath%1").arg(n);
    sql += QStringLiteral(" from tblContacts Where PicturePath1=") + quoted;
    for (int n = 2; n <= 8; ++n)
        sql += QStringLiteral(" Or PicturePath%1 = ").arg(n) + quoted;
    sql += QStringLiteral(" Order By LastName");
    std::unique_ptr<platform::Recordset> rs =
        editor.database->openRecordset(sql, platform::RecordsetType::Snapshot);
    for (; !rs->eof(); rs->moveNext()) {
        // The edited contact's own stored row is not another contact, whatever its name.
        if (editor.recordId && rs->value(QStringLiteral("RecordID")).toLongLong() == *editor.recordId) {
            for (int n = 1; n <= 8; ++n) {
                const QString stored =
                    NullToString(rs->value(QStringLiteral("PicturePath%1").arg(n))).toString();
                if (pictures::sameName(Trim(stored), trimmed))
                    ownSlotLinks(n);
            }
            continue;
        }
        links.others << NullToString(rs->value(QStringLiteral("LastName"))).toString();
    }
    rs->close();
    // The editor's boxes hold what the contact will store.
    for (int n = 1; n <= int(editor.pictureBoxes.size()); ++n) {
        if (pictures::sameName(Trim(editor.pictureBoxes[n - 1]->text()), trimmed))
            ownSlotLinks(n);
    }
    std::sort(links.ownOtherSlots.begin(), links.ownOtherSlots.end());
    return links;
}

void PictureForm::cmdDelete_Click()
{
    try {
        const QString caption = windowTitle();
        const QString file = pictures::resolvedPath(pictures::picturePath(caption));
        if (caption.isEmpty() || !pictures::filePresent(file)) {
            MsgBox(QStringLiteral("Picture not yet saved in ") + gAppName +
                   QStringLiteral(", so you can't delete it.  Use the Cancel button instead."));
            return;
        }
        if (MsgBox(QStringLiteral("Are you sure you want to delete this picture from ") + gAppName +
                       QStringLiteral("?\r") + caption,
                   platform::vbYesNo + platform::vbQuestion + platform::vbDefaultButton2,
                   QStringLiteral("Delete Confirmation")) != platform::vbYes)
            return;

        const NameLinks links = linksTo(caption);
        const QStringList &others = links.others;
        if (!others.isEmpty()) {
            MsgBox(QStringLiteral("This picture is also linked to the following record") +
                       (others.size() >= 2 ? QStringLiteral("s") : QString()) + QStringLiteral(": \r") +
                       others.join(QStringLiteral(", ")) +
                       QStringLiteral("\r\rTherefore you can't delete it.  To remove this picture from the "
                                      "current record only, blank out the blue filename shown below the "
                                      "picture button on the previous Edit screen, then save the record."),
                   platform::vbExclamation, QStringLiteral("Picture not deleted because it is assigned to another record."));
            return;
        }

        // An older copy already in the deleted pictures stays. A file another slot of this
        // contact still links stays too: only this slot lets go of it.
        if (links.ownOtherSlots.isEmpty())
            pictures::moveToDeletedPictures(file, pictures::DeletedNameTaken::DropThisCopy);
        pictureNameChanged();
        if (QLineEdit *box = slotBox(gPictureHandOver.gPictureSlot))
            box->clear();
        cmdDelete->setFocus();
        unload();
    } catch (const RuntimeError &error) {
        reportFailure(error);
    }
}

void PictureForm::cmdCancel_Click()
{
    cmdCancel->setFocus();
    unload();
}

void PictureForm::cmdClose_Click()
{
    cmdClose->setFocus();
    unload();
}

// ---------------------------------------------------------------------------------------------
// Moving between slots

void PictureForm::cmdNext_Click()
{
    moveToSlot(pictures::nextSlotTries(gPictureHandOver.gPictureSlot).order);
}

void PictureForm::cmdPrev_Click()
{
    moveToSlot(pictures::previousSlotTries(gPictureHandOver.gPictureSlot).order);
}

void PictureForm::moveToSlot(const int *tries)
{
    int target = 0;
    for (int i = 0; i < 3 && tries[i] != 0; ++i) {
        if (pictures::slotFileExists(slotName(tries[i]))) {
            target = tries[i];
            break;
        }
    }
    if (target == 0)
        return;
    const QString path = pictures::picturePath(slotName(target));
    try {
        // The picture is read first: one that cannot be read leaves the window as it was.
        std::unique_ptr<StdPicture> picture = loadForBox(pictures::resolvedPath(path), *picResized);
        gPictureHandOver.gPictureSlot = target;
        CMDialog1().dlgFileName = path;
        mOriginal = std::move(picture);
        mlNewWidth = pictures::moveFitWidth(boxWidthTwips(), mOriginal->Width(), mOriginal->Height());
        picResized->Cls();
        paintOriginal(mlNewWidth, std::int32_t(std::nearbyint(boxHeightTwips())));
        setWindowTitle(pictures::listedName(path));
        // A picture pasted before the move is no longer the one shown.
        mbFromClipboard = false;
    } catch (const RuntimeError &error) {
        reportFailure(error);
    }
}

// ---------------------------------------------------------------------------------------------
// The close

void PictureForm::Form_Unload(bool &cancel)
{
    Q_UNUSED(cancel);
    closeAndStore();
    mbFromClipboard = false;
}

std::optional<QString> PictureForm::nameToStoreAs(const QString &name)
{
    const QString present = pictures::resolvedPath(pictures::picturePath(name));
    if (!pictures::filePresent(present))
        return name;
    const NameLinks links = linksTo(name);
    if (!links.others.isEmpty() || !links.ownOtherSlots.isEmpty()) {
        QString linkedTo;
        if (!links.others.isEmpty())
            linkedTo = QStringLiteral("another record: ") + links.others.join(QStringLiteral(", "));
        if (!links.ownOtherSlots.isEmpty())
            linkedTo += (linkedTo.isEmpty() ? QString() : QStringLiteral(", and to ")) +
                        slotList(links.ownOtherSlots) + QStringLiteral(" of this record");
        if (MsgBox(QStringLiteral("The picture file ") + name + QStringLiteral(" is already linked to ") +
                       linkedTo +
                       QStringLiteral(".\r\rDo you want to replace that picture with this one?  Choose No to "
                                      "keep it and leave this picture unsaved."),
                   platform::vbYesNo + platform::vbExclamation + platform::vbDefaultButton2,
                   QStringLiteral("Replace picture?")) != platform::vbYes)
            return std::nullopt;
        return name;
    }
    if (links.ownSlot)
        return name;
    const QString free =
        pictures::freeName(pictures::picturesFolder(), name,
                           [this](const QString &candidate) { return linksTo(candidate).any(); });
    MsgBox(
        QStringLiteral("The Pictures folder already holds a file named ") + QFileInfo(present).fileName() +
            QStringLiteral(" that no record of this address book links; it may belong to another address "
                           "book kept in the program folder.  That file is left as it is, and this picture "
                           "is saved as ") +
            free + QStringLiteral("."),
        platform::vbOKOnly + platform::vbInformation, QStringLiteral("Picture saved under another name"));
    return free;
}

void PictureForm::closeAndStore()
{
    // Cancel and a completed Delete close the window with the focus on their buttons.
    const QWidget *focused = focusWidget();
    if (focused == cmdCancel || focused == cmdDelete)
        return;

    platform::BusyPointer busy;
    const CommonDialog &dialog = CMDialog1();
    // The slot keeps its name without blanks around it, so the file is written under that name
    // too, and asked about under it.
    QString name = Trim(mbFromClipboard ? dialog.dlgFileName : pictures::listedName(dialog.dlgFileName));
    const QString target = pictures::picturePath(name);
    const bool store = mbFromClipboard || (target != dialog.dlgFileName && !dialog.dlgFileName.isEmpty() &&
                                           pictures::normalFileExists(dialog.dlgFileName));
    try {
        // Without a name there is neither a file to store nor one to link.
        if (name.isEmpty())
            return;
        if (store) {
            // The store replaces the file, or a name of it in another letter case.
            const auto isOpenBookFile = [](const QString &storeName) {
                return TellIfOpenBookFile(pictures::resolvedPath(pictures::picturePath(storeName)),
                                          QStringLiteral("The picture is not saved."));
            };
            if (isOpenBookFile(name))
                return;
            const std::optional<QString> storedAs = nameToStoreAs(name);
            if (!storedAs || (*storedAs != name && isOpenBookFile(*storedAs)))
                return;
            name = *storedAs;
            pictures::storePictureFile(picResized->canvas(), pictures::picturePath(name));
        }
        // The slot names the file only once the file is there.
        QLineEdit *box = slotBox(gPictureHandOver.gPictureSlot);
        if (box && box->text() != name) {
            box->setText(name);
            pictureNameChanged();
        }
    } catch (const RuntimeError &error) {
        busy.release();
        MsgBox(error.description());
    }
}
