#include "editor/NotesForm.h"

#include "editor/DesignPlace.h"
#include "editor/GLOBAL.h"
#include "helpers/GLOBAL.h"
#include "helpers/NotesText.h"
#include "helpers/OnScreenKeyboard.h"
#include "platform/ui/ButtonCaption.h"
#include "platform/ui/ScreenFit.h"
#include "platform/ui/Twips.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QResizeEvent>
#include <QToolButton>

namespace {
// How the window's parts follow a resize, in twips: a window no higher or no wider than the
// smallest keeps that side as designed; the notes box leaves room for the button row below
// it and a margin at the sides; the buttons stand a fixed distance above the bottom edge.
constexpr int SmallestResizedHeight = 1600;
constexpr int SmallestResizedWidth = 1200;
constexpr int NotesHeightLeftOver = 1550;
constexpr int NotesWidthLeftOver = 600;
constexpr int ButtonsAboveBottom = 1200;
// The keyboard button stands this much higher than the button row where that leaves it this
// clear of the notes box; otherwise, as tall as the buttons, it stands in their row.
constexpr int KeyboardAboveButtons = 100;
constexpr int KeyboardClearance = 60;
// In tablet mode the window opens at the top of the screen; a window last closed there
// opens in the middle again.
constexpr int TabletTop = 10;

// The window as designed, in twips: its inside, and where each control stands in it.
constexpr int ClientWidth = 12060;
constexpr int ClientHeight = 7740;
constexpr DesignPlace Design[] = {{"txtNotes", 204, 240, 11604, 6372},
                                  {"cmdFindNext", 9768, 6816, 1008, 564},
                                  {"cmdFind", 10788, 6816, 1008, 564},
                                  {"cmdExit", 5244, 6816, 1530, 564},
                                  {"ImageKeyboard", 204, 6716, 700, 564}};

int twipsX(int pixels)
{
    return qRound(platform::pixelsToTwipsX(pixels));
}
int twipsY(int pixels)
{
    return qRound(platform::pixelsToTwipsY(pixels));
}
// A control's place in twips.
QRect geometryTwips(const QWidget *w)
{
    const QRect g = w->geometry();
    return {twipsX(g.x()), twipsY(g.y()), twipsX(g.width()), twipsY(g.height())};
}
} // namespace

void NotesForm::open(QPlainTextEdit &editorNotes)
{
    platform::showModalOnce(new NotesForm(editorNotes));
}

NotesForm::NotesForm(QPlainTextEdit &editorNotes) : mEditorNotes(editorNotes)
{
    setObjectName(QStringLiteral("NotesForm"));
    setWindowTitle(QStringLiteral("Notes"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint);
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, QColor(0xC0, 0xC0, 0xC0));
    setPalette(colours);
    platform::setClientSizeTwips(this, ClientWidth, ClientHeight);

    txtNotes = new QPlainTextEdit(this);
    txtNotes->setObjectName(QStringLiteral("txtNotes"));
    txtNotes->setFont(QFont(QStringLiteral("Arial")));
    txtNotes->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    placeAsDesigned(txtNotes, Design);
    cmdFindNext = new QPushButton(QStringLiteral("Find Next"), this);
    cmdFindNext->setObjectName(QStringLiteral("cmdFindNext"));
    placeAsDesigned(cmdFindNext, Design);
    cmdFindNext->hide();
    cmdFind = new QPushButton(QStringLiteral("Find"), this);
    cmdFind->setObjectName(QStringLiteral("cmdFind"));
    placeAsDesigned(cmdFind, Design);
    cmdExit = new QPushButton(QStringLiteral("&Exit"), this);
    cmdExit->setObjectName(QStringLiteral("cmdExit"));
    placeAsDesigned(cmdExit, Design);
    ImageKeyboard = new QToolButton(this);
    ImageKeyboard->setObjectName(QStringLiteral("ImageKeyboard"));
    ImageKeyboard->setText(QStringLiteral("Keyboard"));
    placeAsDesigned(ImageKeyboard, Design);

    connect(txtNotes, &QPlainTextEdit::textChanged, this, [] { gEditor.gRecordChanged = true; });
    connect(cmdFind, &QPushButton::clicked, this, &NotesForm::cmdFind_Click);
    connect(cmdFindNext, &QPushButton::clicked, this, &NotesForm::cmdFindNext_Click);
    connect(cmdExit, &QPushButton::clicked, this, &NotesForm::cmdExit_Click);
    setCancelButton(cmdExit);
    connect(ImageKeyboard, &QToolButton::clicked, this, &NotesForm::ImageKeyboard_Click);
}

void NotesForm::Form_Load()
{
    // Opening the window alone never marks the record as changed.
    const bool changed = gEditor.gRecordChanged;
    txtNotes->setPlainText(boxText(mEditorNotes));
    gEditor.gRecordChanged = changed;

    if (gEditor.gNotesFormTop != 0 && gEditor.gNotesFormTop != TabletTop) {
        // The size kept is the outer one: the frame this window will get is taken off it.
        const QMargins frame = platform::expectedFrameMargins(this);
        resize(platform::twipsToPixelsX(gEditor.gNotesFormWidth) - frame.left() - frame.right(),
               platform::twipsToPixelsY(gEditor.gNotesFormHeight) - frame.top() - frame.bottom());
        platform::moveWindowTwips(this, gEditor.gNotesFormLeft, gEditor.gNotesFormTop);
    } else {
        platform::centerWindowOnScreen(this);
        if (gTabletMode)
            platform::moveWindowTwips(this, twipsX(platform::expectedFrameGeometry(this).x()), TabletTop);
    }
    if (gTabletMode) {
        txtNotes->setFont(QFont(QStringLiteral("Tahoma"), 14));
        platform::widenToCaption(ImageKeyboard);
        ImageKeyboard->show();
    } else {
        ImageKeyboard->hide();
    }
}

void NotesForm::resizeEvent(QResizeEvent *event)
{
    platform::Form::resizeEvent(event);
    if (!txtNotes)
        return;
    Form_Resize(platform::windowWidthTwips(this), platform::windowHeightTwips(this));
}

void NotesForm::Form_Resize(int width, int height)
{
    QRect notes = geometryTwips(txtNotes);
    QRect exit = geometryTwips(cmdExit);
    QRect find = geometryTwips(cmdFind);
    QRect findNext = geometryTwips(cmdFindNext);
    if (height > SmallestResizedHeight) {
        notes.setHeight(height - NotesHeightLeftOver);
        exit.moveTop(height - ButtonsAboveBottom);
    }
    if (width > SmallestResizedWidth) {
        notes.setWidth(width - NotesWidthLeftOver);
        exit.moveLeft(width / 2 - exit.width() / 2);
        find.moveLeft(notes.left() + notes.width() - find.width() - findNext.width());
        findNext.moveLeft(find.left() - findNext.width());
    }
    find.moveTop(exit.top());
    findNext.moveTop(exit.top());
    // The buttons never overlap: the search buttons give way to Exit.
    if (float(exit.left() + exit.width()) > float(findNext.left())) {
        findNext.moveLeft(exit.left() + exit.width());
        find.moveLeft(exit.left() + exit.width() + findNext.width());
    }
    platform::setGeometryTwips(txtNotes, notes.left(), notes.top(), notes.width(), notes.height());
    platform::setGeometryTwips(cmdExit, exit.left(), exit.top(), exit.width(), exit.height());
    platform::setGeometryTwips(cmdFind, find.left(), find.top(), find.width(), find.height());
    platform::setGeometryTwips(cmdFindNext, findNext.left(), findNext.top(), findNext.width(),
                               findNext.height());
    const QRect keyboard = geometryTwips(ImageKeyboard);
    const int raised = exit.top() - KeyboardAboveButtons;
    const int keyboardTop = raised >= notes.top() + notes.height() + KeyboardClearance ? raised : exit.top();
    platform::setGeometryTwips(ImageKeyboard, notes.left(), keyboardTop, keyboard.width(), keyboard.height());
}

void NotesForm::Form_Unload(bool &cancel)
{
    Q_UNUSED(cancel);
    const QRect frame = frameGeometry();
    gEditor.gNotesFormLeft = twipsX(frame.x());
    gEditor.gNotesFormTop = twipsY(frame.y());
    gEditor.gNotesFormWidth = twipsX(frame.width());
    gEditor.gNotesFormHeight = twipsY(frame.height());
    mSearch.clear();
    if (gEditor.gRecordChanged)
        mEditorNotes.setPlainText(boxText(*txtNotes));
}

void NotesForm::cmdFind_Click()
{
    mSearch.find(txtNotes, cmdFindNext);
}

void NotesForm::cmdFindNext_Click()
{
    mSearch.findNext(txtNotes, cmdFindNext);
}

void NotesForm::cmdExit_Click()
{
    unload();
}

void NotesForm::ImageKeyboard_Click()
{
    if (gTabletMode)
        startOnScreenKeyboardOrTell();
}
