#include "editor/NameEdit.h"

#include "editor/ContactFields.h"
#include "editor/ContactTransfer.h"
#include "editor/DateChecks.h"
#include "editor/EditorHooks.h"
#include "editor/EditorPage.h"
#include "editor/FieldRules.h"
#include "editor/GLOBAL.h"
#include "editor/MainListLink.h"
#include "editor/PictureStrip.h"
#include "helpers/GLOBAL.h"
#include "helpers/MSendInput.h"
#include "helpers/OnScreenKeyboard.h"
#include "pictures/PictureHandOver.h"
#include "platform/RuntimeError.h"
#include "platform/db/Database.h"
#include "platform/db/Recordset.h"
#include "platform/ui/KeyCodes.h"
#include "platform/ui/MousePointer.h"
#include "platform/ui/MsgBox.h"
#include "platform/ui/Twips.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

using platform::MsgBox;

namespace {

QPointer<NameEdit> &editorSlot()
{
    static QPointer<NameEdit> slot;
    return slot;
}

const QString NoNameTitle = QStringLiteral("Critical data was not supplied");
const QString ExistingCaption = QStringLiteral("View/Edit an Existing Record");
const QString NewCaption = QStringLiteral("Add a New Record");

// Room for a usual window frame, in pixels, before the first showing tells the real one.
const QSize UsualFrame(16, 40);
// A screen of 12 twips a pixel (large fonts) lower than this many pixels puts the editor at
// the top of the screen rather than in its middle, as does tablet mode.
constexpr int LargeFontTwipsPerPixel = 12;
constexpr int LowScreenPixels = 800;
constexpr int TopOnLowScreen = 10;

QLabel *addLabel(QWidget *parent, const QString &text, const QString &name)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    return label;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Opening

void NameEdit::open(MainListLink &list, bool existing, const QString &caption)
{
    gEditor.gEditExistingRecord = existing;
    QPointer<NameEdit> &slot = editorSlot();
    if (slot) {
        slot->unload();
        slot->deleteLater();
    }
    slot = new NameEdit(list);
    slot->load();
    if (!caption.isEmpty())
        slot->setWindowTitle(caption);
    slot->showModal();
    if (slot) {
        if (slot->isLoaded())
            slot->unload();
        slot->deleteLater();
    }
}

NameEdit *NameEdit::loaded()
{
    NameEdit *editor = editorSlot();
    return editor && editor->isLoaded() ? editor : nullptr;
}

NameEdit::NameEdit(MainListLink &list) : mList(list)
{
    setObjectName(QStringLiteral("NameEdit"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    mPage = std::make_unique<EditorPage>(*this, [this](int n) {
        if (isLoaded())
            mDates->txtDate_LostFocus(n);
    });
    mDates = std::make_unique<DateChecks>(*mPage, [this](const QWidget *control) { return savesWhenClicked(control); });
    mTransfer = std::make_unique<ContactTransfer>(mList, *mPage, *mDates);
    mPictures = std::make_unique<PictureStrip>(*this, *mPage, mList);
    buildDesign();
    setKeyPreview(true);
}

NameEdit::~NameEdit() = default;

QLineEdit *NameEdit::box(const QString &name) const
{
    return mPage->box(name);
}

void NameEdit::buildDesign()
{
    // The fields stand on a page of their own that scrolls when the screen is lower than
    // the editor; the command buttons below it stay in view (placeWindow sizes the window
    // to both, within the screen).
    QHBoxLayout *bottom = mPage->build();
    bottom->addLayout(mPictures->build(), 1);
    mCommandRows = buildCommandRows();
    auto *shell = new QVBoxLayout(this);
    shell->setContentsMargins(0, 0, 0, 0);
    shell->setSpacing(0);
    shell->addWidget(mPage->scrollPage(), 1);
    shell->addWidget(mCommandRows);
    mPage->orderTabs();
}

QWidget *NameEdit::buildCommandRows()
{
    auto *commandRows = new QWidget(this);
    auto *rows = new QVBoxLayout(commandRows);
    const QMargins page = mPage->scrollPage()->widget()->layout()->contentsMargins();
    rows->setContentsMargins(page.left(), 0, page.right(), page.bottom());

    auto *commands = new QHBoxLayout;
    rows->addLayout(commands);
    auto button = [this, commands](const QString &name, const QString &caption) {
        auto *b = new QPushButton(caption, this);
        b->setObjectName(name);
        b->setAutoDefault(false);
        commands->addWidget(b);
        return b;
    };
    cmdPrev = new QToolButton(this);
    cmdPrev->setObjectName(QStringLiteral("cmdPrev"));
    cmdPrev->setIcon(style()->standardIcon(QStyle::SP_ArrowLeft));
    commands->addWidget(cmdPrev);
    cmdNext = new QToolButton(this);
    cmdNext->setObjectName(QStringLiteral("cmdNext"));
    cmdNext->setIcon(style()->standardIcon(QStyle::SP_ArrowRight));
    commands->addWidget(cmdNext);
    cmdSave = button(QStringLiteral("cmdSave"), QStringLiteral("&Save"));
    cmdCancel = button(QStringLiteral("cmdCancel"), QStringLiteral("&Cancel"));
    cmdAddNew = button(QStringLiteral("cmdAddNew"), QStringLiteral("&Add New"));
    cmdAddNew->setToolTip(
        QStringLiteral("Saves your changes, then blanks out the fields so you can add a new record."));
    cmdDelete = button(QStringLiteral("cmdDelete"), QStringLiteral("&Delete"));
    cmdCategories = button(QStringLiteral("cmdCategories"), QStringLiteral("Cate&gories"));
    cmdRemind = button(QStringLiteral("cmdRemind"), QStringLiteral("Create &Reminder"));
    // Neither window exists until its subsystem provides it.
    cmdCategories->setEnabled(bool(EditorHooks::showCategoryAssign));
    cmdRemind->setEnabled(bool(EditorHooks::showReminder));

    auto *templates = new QHBoxLayout;
    rows->addLayout(templates);
    cmdMakeDefault = new QToolButton(this);
    cmdMakeDefault->setObjectName(QStringLiteral("cmdMakeDefault"));
    cmdMakeDefault->setToolTip(
        QStringLiteral("When clicked, this record will be used as a template for new "
                       "records.  All data in this record (except the Name fields) will "
                       "then appear in new records."));
    templates->addWidget(cmdMakeDefault);
    templates->addWidget(addLabel(this, QStringLiteral("Use as template"), QStringLiteral("Label1")));
    cmdClearDefault = new QToolButton(this);
    cmdClearDefault->setObjectName(QStringLiteral("cmdClearDefault"));
    cmdClearDefault->setToolTip(QStringLiteral("This clears the template effect for new records."));
    templates->addWidget(cmdClearDefault);
    templates->addWidget(addLabel(this, QStringLiteral("Clear template"), QStringLiteral("Label2")));
    templates->addStretch();
    ImageKeyboard = new QToolButton(this);
    ImageKeyboard->setObjectName(QStringLiteral("ImageKeyboard"));
    ImageKeyboard->setText(QStringLiteral("Keyboard"));
    templates->addWidget(ImageKeyboard);

    connect(cmdSave, &QPushButton::clicked, this, &NameEdit::cmdSave_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &NameEdit::cmdCancel_Click);
    connect(cmdAddNew, &QPushButton::clicked, this, &NameEdit::cmdAddNew_Click);
    connect(cmdDelete, &QPushButton::clicked, this, &NameEdit::cmdDelete_Click);
    connect(cmdNext, &QToolButton::clicked, this, &NameEdit::cmdNext_Click);
    connect(cmdPrev, &QToolButton::clicked, this, &NameEdit::cmdPrev_Click);
    connect(cmdMakeDefault, &QToolButton::clicked, this, &NameEdit::cmdMakeDefault_Click);
    connect(cmdClearDefault, &QToolButton::clicked, this, &NameEdit::cmdClearDefault_Click);
    connect(cmdCategories, &QPushButton::clicked, this, [] {
        if (EditorHooks::showCategoryAssign)
            EditorHooks::showCategoryAssign();
    });
    connect(cmdRemind, &QPushButton::clicked, this, &NameEdit::cmdRemind_Click);
    connect(ImageKeyboard, &QToolButton::clicked, this, &NameEdit::ImageKeyboard_Click);
    return commandRows;
}

// ---------------------------------------------------------------------------------------------
// Load and unload

void NameEdit::placeWindow()
{
    // As large as the page wants, but never larger than the screen's free area: a lower
    // screen scrolls the page instead of hiding the command buttons below its edge.
    QScrollArea *page = mPage->scrollPage();
    const QSize wanted = page->widget()->sizeHint();
    const QSize commands = mCommandRows->sizeHint();
    QSize size(qMax(wanted.width(), commands.width()), wanted.height() + commands.height());
    // Before its first showing the window's frame is not known yet: room for a usual one.
    const QSize frame = (frameGeometry().size() - geometry().size()).expandedTo(UsualFrame);
    const QScreen *screen = this->screen();
    const QRect free = screen ? screen->availableGeometry() : QRect();
    if (screen) {
        const QSize room = free.size() - frame;
        if (size.height() > room.height())
            size.rwidth() += page->verticalScrollBar()->sizeHint().width();
        size = size.boundedTo(room);
    }
    resize(size);
    if (gEditor.gEditFormLeft >= 1) {
        platform::moveWindowTwips(this, gEditor.gEditFormLeft, gEditor.gEditFormTop);
        return;
    }
    const int width = platform::windowWidthTwips(this);
    const int height = platform::windowHeightTwips(this);
    const int left = (platform::screenWidthTwips() - width) / 2;
    const int twipsPerPixelX = qRound(platform::pixelsToTwipsX(1));
    const int twipsPerPixelY = qMax(1, int(qRound(platform::pixelsToTwipsY(1))));
    const int heightPixels = platform::screenHeightTwips() / twipsPerPixelY;
    int top = (platform::screenHeightTwips() - height) / 2;
    if ((twipsPerPixelX == LargeFontTwipsPerPixel && heightPixels < LowScreenPixels) || gTabletMode)
        top = TopOnLowScreen;
    else if (screen) {
        // A window nearly as high as the free area keeps its frame, title bar included, on it.
        const int highest = qRound(platform::pixelsToTwipsY(free.y()));
        const int lowest = qRound(platform::pixelsToTwipsY(free.bottom() + 1 - size.height() - frame.height()));
        top = qBound(highest, top, qMax(highest, lowest));
    }
    platform::moveWindowTwips(this, left, top);
}

// Puts the template contact into the page; false when it is gone, which ends the template.
bool NameEdit::showTemplate()
{
    gEditor.gFindCriteria = QStringLiteral("RecordID = ") + QString::number(gEditor.gTemplateRecordID.toLongLong());
    mTransfer->findInList(gEditor.gFindCriteria);
    if (mList.Recordset().noMatch()) {
        gEditor.gTemplateRecordID = 0;
        return false;
    }
    mTransfer->MoveDataToForm();
    return true;
}

void NameEdit::Form_Load()
{
    try {
        mPage->setDesignLimits();
        if (!gTabletMode)
            ImageKeyboard->hide();
        gEditor.gLastDateBox = 0;
        placeWindow();
        if (mList.ShowsFindResult()) {
            cmdAddNew->hide();
            cmdDelete->hide();
        }
        if (mList.ShowsSelectedOnly())
            cmdAddNew->hide();
        mPage->showToday();
        gEditor.gDialFromList = false;
        gEditor.gRecordSaved = false;
        gEditor.gRecordChanged = false;
        if (gEditor.gEditExistingRecord) {
            cmdCategories->show();
            gEditor.gFindCriteria = QStringLiteral("RecordID = ") + QString::number(mTransfer->currentRecordId());
            mTransfer->findInList(gEditor.gFindCriteria);
            mTransfer->MoveDataToForm();
            if (box(QStringLiteral("txtPhone6_Desc"))->text().isEmpty())
                box(QStringLiteral("txtPhone6_Desc"))->setText(QStringLiteral("Other Phone"));
            if (box(QStringLiteral("txtUserField3_Desc"))->text().isEmpty())
                box(QStringLiteral("txtUserField3_Desc"))->setText(QStringLiteral("User Field 3"));
            gEditor.gRecordChanged = false;
        } else {
            cmdCategories->hide();
            if (gEditor.gTemplateRecordID.toLongLong() > 0 && showTemplate()) {
                mPage->blankNameBoxes(true);
                mPage->clearUpdateStamp();
            }
        }
        platform::setMousePointer(platform::MousePointer::Default);
    } catch (const platform::RuntimeError &e) {
        ContactTransfer::reportError(e.description(), e.number());
        unload();
        platform::setMousePointer(platform::MousePointer::Default);
    }
}

void NameEdit::Form_Unload(bool &cancel)
{
    const QPoint corner = frameGeometry().topLeft();
    gEditor.gEditFormLeft = qRound(platform::pixelsToTwipsX(corner.x()));
    gEditor.gEditFormTop = qRound(platform::pixelsToTwipsY(corner.y()));

    // Any change not stored yet is asked about, also after an earlier save in this opening.
    if (gEditor.gRecordChanged) {
        int answer;
        if (gPictureHandOver.gPictureChanged) {
            answer = MsgBox(
                QStringLiteral("You changed a picture linked to this record.  If you proceed, the file "
                               "names shown under the Picture buttons will revert to the OLD file "
                               "names, causing confusion and breaking this picture link.  It is "
                               "strongly recommended you click NO here and then SAVE this record "
                               "instead.\r\rLose your changes?"),
                platform::vbYesNo | platform::vbExclamation | platform::vbDefaultButton2,
                QStringLiteral(" Warning - Picture was changed"));
        } else {
            answer = MsgBox(QStringLiteral("Lose any changes?"), platform::vbYesNo | platform::vbQuestion,
                            QStringLiteral("Confirmation"));
        }
        if (answer != platform::vbYes) {
            cancel = true;
            return;
        }
        gPictureHandOver.gPictureChanged = false;
        gEditor.gRecordChanged = false;
    }
    if (!gEditor.gRecordSaved)
        return;
    gPictureHandOver.gPictureChanged = false;
    mTransfer->showSavedInList();
    if (gEditor.gNewRecordAdded && gEditor.gAssignCategoryOnAdd == 1 && EditorHooks::showCategoryAssign)
        EditorHooks::showCategoryAssign();
    gEditor.gNewRecordAdded = false;
}

void NameEdit::Form_KeyDown(int &keyCode, Qt::KeyboardModifiers shift)
{
    Q_UNUSED(shift);
    QWidget *focused = focusWidget();
    if (focused && focused->property("Tag").toString() == QLatin1String("txtNotes"))
        return;
    if (keyCode == Qt::Key_Return || keyCode == Qt::Key_Enter || keyCode == Qt::Key_Down)
        SendKeysInput(QStringLiteral("{Tab}"), false);
    else if (keyCode == Qt::Key_Up)
        SendKeysInput(QStringLiteral("+{Tab}"), false);
}

void NameEdit::Form_KeyPress(int &keyAscii)
{
    if (keyAscii == platform::CharEscape) {
        unload();
        keyAscii = platform::KeyCancelled;
        return;
    }
    QWidget *focused = focusWidget();
    const bool inNotes = focused && focused->property("Tag").toString() == QLatin1String("txtNotes");
    if (!inNotes && keyAscii == platform::CharEnter) {
        keyAscii = platform::KeyCancelled;
        return;
    }
    if (focused)
        mPage->capitalizeKey(focused, keyAscii);
}

void NameEdit::ImageKeyboard_Click()
{
    if (gTabletMode)
        startOnScreenKeyboardOrTell();
}

// ---------------------------------------------------------------------------------------------
// Record commands

// The Save button: the contact is stored and the editor closes; its unload puts the main
// list on the stored contact. A contact that cannot be stored keeps the editor open.
void NameEdit::cmdSave_Click()
{
    if (mTransfer->storeContact())
        unload();
}

// The commands whose click saves a changed contact first, and so checks its dates then.
bool NameEdit::savesWhenClicked(const QWidget *control) const
{
    return control && (control == cmdSave || control == cmdAddNew || control == cmdNext || control == cmdPrev);
}

void NameEdit::cmdCancel_Click()
{
    unload();
}

void NameEdit::cmdAddNew_Click()
{
    if (gEditor.gRecordChanged) {
        // A contact that could not be stored keeps what was typed.
        if (!mTransfer->saveAndStay())
            return;
        gEditor.gRecordChanged = false;
    }
    try {
        setWindowTitle(NewCaption);
        gEditor.gEditExistingRecord = false;
        cmdCategories->hide();
        if (gEditor.gTemplateRecordID.toLongLong() <= 0) {
            mPage->emptyDataBoxes();
            gEditor.gRecordChanged = false;
        } else if (showTemplate()) {
            mPage->blankNameBoxes(false);
        } else {
            mPage->emptyDataBoxes();
        }
        mPage->clearUpdateStamp();
        box(QStringLiteral("txtFirstName"))->setFocus();
    } catch (const platform::RuntimeError &e) {
        platform::setMousePointer(platform::MousePointer::Default);
        ContactTransfer::reportError(e.description(), e.number());
        unload();
    }
}

void NameEdit::cmdDelete_Click()
{
    if (!gEditor.gEditExistingRecord) {
        MsgBox(QStringLiteral("You cannot delete a record before you add it!"), platform::vbCritical,
               QStringLiteral("New record not saved yet"));
        return;
    }
    if (mPage->hasNoName()) {
        MsgBox(QStringLiteral("Name and Organization are blank."), platform::vbInformation,
               QStringLiteral("No record deleted"));
        return;
    }
    try {
        platform::Recordset &rs = mList.Recordset();
        const QString stored = deleteConfirmationName(
            rs.value(QStringLiteral("FirstName")), rs.value(QStringLiteral("MiddleName")),
            rs.value(QStringLiteral("LastName")), rs.value(QStringLiteral("Organization")));
        if (MsgBox(QStringLiteral("Are you sure you want to delete this record?\r(") + stored +
                       QStringLiteral(")"),
                   platform::vbYesNo | platform::vbQuestion,
                   QStringLiteral("Confirmation")) != platform::vbYes)
            return;
        if (!mTransfer->deleteCurrent()) {
            // The contact is gone: there is nothing left to lose.
            gEditor.gRecordChanged = false;
            unload();
        }
    } catch (const platform::RuntimeError &e) {
        MsgBox(e.description());
    }
}

bool NameEdit::listIsEmpty()
{
    if (mList.Recordset().recordCount() > 0)
        return false;
    MsgBox(QStringLiteral("There are no records to display in the current selection.  Add some records "
                          "first."),
           platform::vbInformation, QStringLiteral("No records to display"));
    return true;
}

bool NameEdit::readyToMove()
{
    if (listIsEmpty())
        return false;
    if (gEditor.gRecordChanged) {
        if (mPage->hasNoName()) {
            MsgBox(QStringLiteral("You have made changes to the existing record, but it cannot be saved "
                                  "because it does not have a Name or an Organization."),
                   platform::vbExclamation, NoNameTitle);
            return false;
        }
        // A contact that could not be stored stays on screen as typed.
        if (!mTransfer->saveAndStay())
            return false;
        gEditor.gRecordChanged = false;
    }
    setWindowTitle(ExistingCaption);
    gEditor.gEditExistingRecord = true;
    return true;
}

void NameEdit::cmdNext_Click()
{
    try {
        // A stored change may take the contact out of the list, and leave it empty: the editor
        // stays on the contact, which Save writes by its key.
        if (!readyToMove() || listIsEmpty())
            return;
        platform::Recordset &rs = mList.Recordset();
        rs.moveNext();
        if (rs.eof())
            rs.moveLast();
        cmdCategories->show();
        mTransfer->MoveDataToForm();
    } catch (const platform::RuntimeError &e) {
        MsgBox(e.description());
    }
}

void NameEdit::cmdPrev_Click()
{
    try {
        if (!readyToMove() || listIsEmpty())
            return;
        platform::Recordset &rs = mList.Recordset();
        const qint64 key = mTransfer->currentRecordId();
        rs.movePrevious();
        if (rs.bof()) {
            rs.moveFirst();
        } else {
            const platform::Bookmark reached = rs.bookmark();
            rs.moveFirst();
            if (mTransfer->currentRecordId() != key)
                rs.setBookmark(reached);
        }
        cmdCategories->show();
        mTransfer->MoveDataToForm();
    } catch (const platform::RuntimeError &e) {
        MsgBox(e.description());
    }
}

void NameEdit::cmdMakeDefault_Click()
{
    if (!gEditor.gEditExistingRecord) {
        MsgBox(QStringLiteral("You must save this record first before you can make it the default template."),
               platform::vbOKOnly, QStringLiteral("Must save record first"));
        return;
    }
    try {
        gEditor.gTemplateRecordID = mTransfer->shownRecordId();
        writeTemplateSetting(mList.Database(), gEditor.gTemplateRecordID.toLongLong());
        MsgBox(
            QStringLiteral("This record will be used as a template for new records.  All data in this record "
                           "(except the Name fields) will now appear in new records."),
            platform::vbOKOnly, QStringLiteral("Template Saved"));
    } catch (const platform::RuntimeError &e) {
        MsgBox(e.description());
    }
}

void NameEdit::cmdClearDefault_Click()
{
    try {
        gEditor.gTemplateRecordID = 0;
        writeTemplateSetting(mList.Database(), 0);
        MsgBox(QStringLiteral("Template reset to original default."), platform::vbOKOnly,
               QStringLiteral("Template Cleared"));
    } catch (const platform::RuntimeError &e) {
        MsgBox(e.description());
    }
}

void NameEdit::cmdRemind_Click()
{
    if (!gEditor.gEditExistingRecord) {
        MsgBox(QStringLiteral("You must save this record before you can associate a reminder with it."),
               platform::vbCritical, QStringLiteral("Please save this record first"));
        return;
    }
    gEditor.gRemindFromEditor = true;
    if (EditorHooks::showReminder)
        EditorHooks::showReminder();
    gEditor.gRemindFromEditor = false;
}
