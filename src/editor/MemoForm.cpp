#include "editor/MemoForm.h"

#include "editor/DesignPlace.h"
#include "editor/FieldRules.h"
#include "helpers/GLOBAL.h"
#include "helpers/NotesText.h"
#include "helpers/OnScreenKeyboard.h"
#include "helpers/ValueHelpers.h"
#include "platform/RuntimeError.h"
#include "platform/db/Database.h"
#include "platform/db/Recordset.h"
#include "platform/db/SqliteError.h"
#include "platform/db/jet/JetQuote.h"
#include "platform/ui/ButtonCaption.h"
#include "platform/ui/MsgBox.h"
#include "platform/ui/ScreenFit.h"
#include "platform/ui/Twips.h"

#include <QComboBox>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QResizeEvent>
#include <QToolButton>

namespace {

const QString NotesQuery =
    QStringLiteral("Select Type, Name, Setting8 from tblSettings Where Type='NOTE' Order by Name");
const QString LastNoteQuery = QStringLiteral("Select Name from tblSettings Where Type='LASTNOTE'");
const QString LastNoteWriteQuery = QStringLiteral("Select Name, Type from tblSettings Where Type='LASTNOTE'");
const QString TitleRefusedCaption = QStringLiteral("Note Title");
// The defined size of the Name column that holds a note's title.
constexpr int MaxTitleLength = 255;

// How the window's parts follow a resize, in twips. A window no higher or no wider than the
// smallest keeps that side as designed. The notes box leaves room for the title row above
// and the button row below it, and a margin at the sides; the buttons stand a fixed distance
// above the bottom edge, Exit and Cancel either side of the centre, Add and Delete outside them.
constexpr int SmallestResizedHeight = 1600;
constexpr int SmallestResizedWidth = 1200;
constexpr int NotesHeightLeftOver = 2515;
constexpr int NotesWidthLeftOver = 900;
constexpr int ButtonsAboveBottom = 1200;
constexpr int ButtonsFromCentre = 150;
constexpr int ButtonGap = 300;
// In tablet mode the window opens at the top of the screen.
constexpr int TabletTop = 10;

// The window as designed, in twips: its inside, where each control stands in it, and the
// row of four buttons along its bottom.
constexpr int ClientWidth = 10788;
constexpr int ClientHeight = 8040;
constexpr DesignPlace Design[] = {{"lblTitle", 384, 60, 1176, 252},       {"cmbTitle", 324, 312, 5748, 330},
                                  {"cmdFindNext", 8364, 264, 1008, 564},  {"cmdFind", 9384, 264, 1008, 564},
                                  {"txtNotes", 360, 1116, 10056, 6000},   {"ImageKeyboard", 360, 7224, 700, 564}};
constexpr int ButtonRowTop = 7224;
constexpr int ButtonWidth = 1530;
constexpr int ButtonHeight = 564;
constexpr int DeleteLeft = 1800;
constexpr int CancelLeft = 3672;
constexpr int ExitLeft = 5664;
constexpr int AddLeft = 7524;

QRect geometryTwips(const QWidget *w)
{
    const QRect g = w->geometry();
    return {qRound(platform::pixelsToTwipsX(g.x())), qRound(platform::pixelsToTwipsY(g.y())),
            qRound(platform::pixelsToTwipsX(g.width())), qRound(platform::pixelsToTwipsY(g.height()))};
}

void placeTwips(QWidget *w, const QRect &r)
{
    platform::setGeometryTwips(w, r.left(), r.top(), r.width(), r.height());
}

} // namespace

void MemoForm::open(platform::Database &db)
{
    platform::showModalOnce(new MemoForm(db));
}

MemoForm::MemoForm(platform::Database &db) : mDb(db)
{
    setObjectName(QStringLiteral("MemoForm"));
    setWindowTitle(QStringLiteral("Notes"));
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, QColor(0xC0, 0xC0, 0xC0));
    setPalette(colours);
    platform::setClientSizeTwips(this, ClientWidth, ClientHeight);

    lblTitle = new QLabel(QStringLiteral("Note Title:"), this);
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    placeAsDesigned(lblTitle, Design);
    cmbTitle = new QComboBox(this);
    cmbTitle->setObjectName(QStringLiteral("cmbTitle"));
    cmbTitle->setEditable(true);
    cmbTitle->setInsertPolicy(QComboBox::NoInsert);
    cmbTitle->setFont(QFont(QStringLiteral("Tahoma")));
    QPalette titleColours = cmbTitle->palette();
    titleColours.setColor(QPalette::Text, QColor(0, 0, 0xC0));
    cmbTitle->setPalette(titleColours);
    placeAsDesigned(cmbTitle, Design);
    cmdFindNext = new QPushButton(QStringLiteral("Find Next"), this);
    cmdFindNext->setObjectName(QStringLiteral("cmdFindNext"));
    placeAsDesigned(cmdFindNext, Design);
    cmdFindNext->hide();
    cmdFind = new QPushButton(QStringLiteral("Find"), this);
    cmdFind->setObjectName(QStringLiteral("cmdFind"));
    placeAsDesigned(cmdFind, Design);
    txtNotes = new QPlainTextEdit(this);
    txtNotes->setObjectName(QStringLiteral("txtNotes"));
    txtNotes->setFont(QFont(QStringLiteral("Tahoma")));
    txtNotes->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    placeAsDesigned(txtNotes, Design);
    auto button = [this](const QString &name, const QString &caption, int left, const QString &tip) {
        auto *b = new QPushButton(caption, this);
        b->setObjectName(name);
        b->setToolTip(tip);
        platform::setGeometryTwips(b, left, ButtonRowTop, ButtonWidth, ButtonHeight);
        return b;
    };
    cmdDelete = button(QStringLiteral("cmdDelete"), QStringLiteral("Delete"), DeleteLeft, QString());
    cmdCancel = button(QStringLiteral("cmdCancel"), QStringLiteral("&Cancel"), CancelLeft,
                       QStringLiteral("Cancel changes"));
    cmdExit =
        button(QStringLiteral("cmdExit"), QStringLiteral("&Exit"), ExitLeft, QStringLiteral("Save and Exit"));
    cmdAdd = button(QStringLiteral("cmdAdd"), QStringLiteral("Add New Note"), AddLeft, QString());
    ImageKeyboard = new QToolButton(this);
    ImageKeyboard->setObjectName(QStringLiteral("ImageKeyboard"));
    ImageKeyboard->setText(QStringLiteral("Keyboard"));
    placeAsDesigned(ImageKeyboard, Design);

    connect(txtNotes, &QPlainTextEdit::textChanged, this, [this] { mNoteChanged = true; });
    connect(cmbTitle, &QComboBox::activated, this, [this] { cmbTitle_Click(); });
    connect(cmdAdd, &QPushButton::clicked, this, &MemoForm::cmdAdd_Click);
    connect(cmdDelete, &QPushButton::clicked, this, &MemoForm::cmdDelete_Click);
    connect(cmdFind, &QPushButton::clicked, this, &MemoForm::cmdFind_Click);
    connect(cmdFindNext, &QPushButton::clicked, this, &MemoForm::cmdFindNext_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &MemoForm::cmdCancel_Click);
    setCancelButton(cmdCancel);
    connect(cmdExit, &QPushButton::clicked, this, &MemoForm::cmdExit_Click);
    connect(ImageKeyboard, &QToolButton::clicked, this, &MemoForm::ImageKeyboard_Click);
    cmbTitle->installEventFilter(this);
    if (cmbTitle->lineEdit())
        cmbTitle->lineEdit()->installEventFilter(this);
}

MemoForm::~MemoForm()
{
    cmbTitle->removeEventFilter(this);
    if (cmbTitle->lineEdit())
        cmbTitle->lineEdit()->removeEventFilter(this);
}

// ---------------------------------------------------------------------------------------------

int MemoForm::insertTitle(const QString &title, qint64 bookmark)
{
    // The list is sorted as the engine sorts titles: without regard to case.
    int at = 0;
    while (at < cmbTitle->count() &&
           QString::compare(cmbTitle->itemText(at), title, Qt::CaseInsensitive) <= 0)
        ++at;
    cmbTitle->insertItem(at, title, bookmark);
    return at;
}

void MemoForm::selectTitle(const QString &title)
{
    const int at = cmbTitle->findText(title, Qt::MatchFixedString | Qt::MatchCaseSensitive);
    cmbTitle->setCurrentIndex(at);
    cmbTitle_Click();
}

void MemoForm::saveShownText()
{
    mNotes->edit();
    mNotes->setValue(QStringLiteral("Setting8"), textToStore(*txtNotes));
    mNotes->update();
}

void MemoForm::showSelectedNote()
{
    // Each title carries its own row, so notes are never mixed up by their titles.
    const int at = cmbTitle->currentIndex();
    if (at < 0)
        return;
    mNotes->setBookmark(platform::Bookmark{cmbTitle->itemData(at).toLongLong(), mBookmarkOwner});
    showStoredText(*txtNotes, NullToString(mNotes->value(QStringLiteral("Setting8"))).toString());
    mNoteChanged = false;
}

void MemoForm::Form_Load()
{
    mFirstActivate = true;
    platform::centerWindowOnScreen(this);
    if (gTabletMode) {
        platform::moveWindowTwips(
            this, qRound(platform::pixelsToTwipsX(platform::expectedFrameGeometry(this).x())), TabletTop);
        txtNotes->setFont(QFont(QStringLiteral("Tahoma"), 14));
        platform::widenToCaption(ImageKeyboard);
        ImageKeyboard->show();
    } else {
        ImageKeyboard->hide();
    }
    int lastPosition = 0;
    {
        std::unique_ptr<platform::Recordset> last = mDb.openRecordset(LastNoteQuery);
        if (last->recordCount() > 0)
            lastPosition = NullToString(last->value(QStringLiteral("Name"))).toString().trimmed().toInt();
    }
    mNotes = mDb.openRecordset(NotesQuery);
    if (mNotes->recordCount() > 0) {
        for (mNotes->moveFirst(); !mNotes->eof(); mNotes->moveNext()) {
            const platform::Bookmark mark = mNotes->bookmark();
            mBookmarkOwner = mark.owner;
            insertTitle(NullToString(mNotes->value(QStringLiteral("Name"))).toString(), mark.value);
        }
        // A stored place that names no title (-1 after closing with none selected) shows the first.
        if (lastPosition < 0 || lastPosition >= cmbTitle->count())
            lastPosition = 0;
        cmbTitle->setCurrentIndex(lastPosition);
        showSelectedNote();
    }
    // A file that cannot be written shows its notes for reading: no title or text can be
    // typed, and no note added or deleted.
    if (mDb.readOnly()) {
        txtNotes->setReadOnly(true);
        cmbTitle->lineEdit()->setReadOnly(true);
        cmdAdd->setEnabled(false);
        cmdDelete->setEnabled(false);
    }
}

void MemoForm::Form_Activate()
{
    if (!mFirstActivate)
        return;
    if (mNotes->recordCount() == 0 && mDb.readOnly()) {
        // No note to read and none can be added: the user is told why, and the window closes.
        mFirstActivate = false;
        platform::MsgBox(platform::readOnlyDatabaseText(mDb.name()), platform::vbExclamation, windowTitle());
        unload();
        return;
    }
    if (mNotes->recordCount() == 0) {
        cmbTitle->hide();
        cmdDelete->hide();
        cmdAdd_Click();
        if (cmbTitle->count() == 0) {
            mNoteChanged = false;
            mFirstActivate = false;
            unload();
            return;
        }
        cmbTitle->show();
        cmdDelete->show();
    }
    mFirstActivate = false;
    mNoteChanged = false;
}

bool MemoForm::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == cmbTitle || watched == cmbTitle->lineEdit()) {
        if (event->type() == QEvent::FocusIn) {
            const auto reason = static_cast<QFocusEvent *>(event)->reason();
            // Coming back with Shift+Tab the user goes on backwards: a list dropped in the way
            // would hold the keys.
            if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason &&
                reason != Qt::BacktabFocusReason && watched == cmbTitle && isVisible())
                ShowComboDropDown(cmbTitle);
        } else if (event->type() == QEvent::FocusOut) {
            const auto reason = static_cast<QFocusEvent *>(event)->reason();
            if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason &&
                watched == cmbTitle)
                cmbTitle_Validate();
        }
    }
    return platform::Form::eventFilter(watched, event);
}

void MemoForm::cmbTitle_Click()
{
    if (mFirstActivate)
        return;
    if (mNoteChanged)
        saveShownText();
    showSelectedNote();
}

bool MemoForm::refuseTitle(const QString &title, const QString &ownName)
{
    QString why;
    if (title.isEmpty()) {
        why = QStringLiteral("A note needs a title.");
    } else if (title.size() > MaxTitleLength) {
        why = QStringLiteral("A note title can be at most %1 characters long.").arg(MaxTitleLength);
    } else {
        for (int i = 0; i < cmbTitle->count(); ++i) {
            const QString other = cmbTitle->itemText(i);
            if (QString::compare(other, ownName, Qt::CaseSensitive) != 0 &&
                QString::compare(other, title, Qt::CaseInsensitive) == 0) {
                why = QStringLiteral("There is already a note titled \"%1\".").arg(other);
                break;
            }
        }
    }
    if (why.isEmpty())
        return false;
    platform::MsgBox(why, platform::vbExclamation, TitleRefusedCaption);
    return true;
}

bool MemoForm::cmbTitle_Validate()
{
    if (mValidating || !mNotes || mNotes->recordCount() == 0 || cmbTitle->currentIndex() < 0)
        return true;
    const QString current = NullToString(mNotes->value(QStringLiteral("Name"))).toString();
    const QString typed = cmbTitle->currentText();
    if (typed == current)
        return true;
    mValidating = true;
    const QString title = typed.trimmed();
    if (title == current || refuseTitle(title, current)) {
        cmbTitle->setEditText(current);
        mValidating = false;
        return title == current;
    }
    const qint64 mark = mNotes->bookmark().value;
    for (int i = cmbTitle->count() - 1; i >= 0; --i) {
        if (cmbTitle->itemText(i) == current)
            cmbTitle->removeItem(i);
    }
    mNotes->edit();
    mNotes->setValue(QStringLiteral("Name"), title);
    mNotes->update();
    cmbTitle->setCurrentIndex(insertTitle(title, mark));
    cmbTitle_Click();
    mValidating = false;
    return true;
}

void MemoForm::cmdAdd_Click()
{
    const QString answer = InputDialog(QStringLiteral("Enter a Title for this new note."),
                                       QStringLiteral("New Note"), QString());
    // Only the blanks at the end go: a title may start with blanks, and tabs are the user's.
    const QString title = RTrim(answer);
    if (title.isEmpty())
        return;
    if (refuseTitle(title, QString()))
        return;
    if (mNoteChanged) {
        saveShownText();
        mNoteChanged = false;
    }
    mNotes->addNew();
    mNotes->setValue(QStringLiteral("Type"), QStringLiteral("NOTE"));
    mNotes->setValue(QStringLiteral("Name"), title);
    txtNotes->clear();
    mNotes->update();
    mNoteChanged = false;
    const platform::Bookmark mark = mNotes->lastModified();
    mBookmarkOwner = mark.owner;
    cmbTitle->setCurrentIndex(insertTitle(title, mark.value));
    showSelectedNote();
    txtNotes->setFocus();
}

void MemoForm::cmdDelete_Click()
{
    if (mNotes->recordCount() == 0)
        return;
    if (platform::MsgBox(QStringLiteral("Are you sure you want to delete this note?"),
                         platform::vbYesNo | platform::vbQuestion,
                         QStringLiteral("Confirmation")) != platform::vbYes)
        return;
    const int shown = cmbTitle->currentIndex();
    mNotes->deleteRecord();
    if (mNotes->recordCount() == 0) {
        mNoteChanged = false;
        cmbTitle->removeItem(shown);
        unload();
        return;
    }
    txtNotes->clear();
    mNoteChanged = false;
    cmbTitle->removeItem(shown);
    // The note after the deleted one in title order, or the last when it was the last.
    cmbTitle->setCurrentIndex(qMin(shown, cmbTitle->count() - 1));
    cmbTitle_Click();
}

void MemoForm::cmdCancel_Click()
{
    if (!mNoteChanged) {
        unload();
        return;
    }
    if (platform::MsgBox(QStringLiteral("Lose any changes?"), platform::vbYesNo | platform::vbQuestion,
                         QStringLiteral("Confirmation")) == platform::vbYes) {
        mNoteChanged = false;
        unload();
    }
}

void MemoForm::cmdExit_Click()
{
    unload();
}

void MemoForm::Form_Unload(bool &cancel)
{
    Q_UNUSED(cancel);
    mSearch.clear();
    // A read-only file keeps the place of the note shown as it was.
    if (mDb.readOnly()) {
        mNoteChanged = false;
        return;
    }
    if (mNotes && mNotes->recordCount() > 0 && cmbTitle->currentIndex() >= 0) {
        // A title typed but not yet taken (the window closed from its title bar) is taken now.
        cmbTitle_Validate();
        if (mNoteChanged)
            saveShownText();
    }
    std::unique_ptr<platform::Recordset> last = mDb.openRecordset(LastNoteWriteQuery);
    if (last->recordCount() == 0)
        last->addNew();
    else
        last->edit();
    last->setValue(QStringLiteral("Type"), QStringLiteral("LASTNOTE"));
    last->setValue(QStringLiteral("Name"), QString::number(cmbTitle->currentIndex()));
    last->update();
    last->close();
    mNoteChanged = false;
}

void MemoForm::cmdFind_Click()
{
    mSearch.find(txtNotes, cmdFindNext);
}

void MemoForm::cmdFindNext_Click()
{
    mSearch.findNext(txtNotes, cmdFindNext);
}

void MemoForm::ImageKeyboard_Click()
{
    if (gTabletMode)
        startOnScreenKeyboardOrTell();
}

void MemoForm::resizeEvent(QResizeEvent *event)
{
    platform::Form::resizeEvent(event);
    if (txtNotes)
        Form_Resize(platform::windowWidthTwips(this), platform::windowHeightTwips(this));
}

void MemoForm::Form_Resize(int width, int height)
{
    QRect notes = geometryTwips(txtNotes);
    QRect exit = geometryTwips(cmdExit);
    QRect cancel = geometryTwips(cmdCancel);
    QRect add = geometryTwips(cmdAdd);
    QRect del = geometryTwips(cmdDelete);
    if (height > SmallestResizedHeight) {
        notes.setHeight(height - NotesHeightLeftOver);
        exit.moveTop(height - ButtonsAboveBottom);
        cancel.moveTop(exit.top());
        add.moveTop(exit.top());
        del.moveTop(exit.top());
    }
    if (width > SmallestResizedWidth) {
        notes.setWidth(width - NotesWidthLeftOver);
        exit.moveLeft(width / 2 + ButtonsFromCentre);
        cancel.moveLeft(width / 2 - cancel.width() - ButtonsFromCentre);
        add.moveLeft(exit.left() + exit.width() + ButtonGap);
        del.moveLeft(cancel.left() - cancel.width() - ButtonGap);
    }
    placeTwips(txtNotes, notes);
    placeTwips(cmdExit, exit);
    placeTwips(cmdCancel, cancel);
    placeTwips(cmdAdd, add);
    placeTwips(cmdDelete, del);
    const QRect keyboard = geometryTwips(ImageKeyboard);
    platform::setGeometryTwips(ImageKeyboard, notes.left(), exit.top(), keyboard.width(), keyboard.height());
}
