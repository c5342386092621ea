#include "mainwindow/LocateBox.h"

#include "helpers/DatabaseState.h"
#include "helpers/KeyboardLayout.h"
#include "helpers/SortOrder.h"
#include "mainwindow/GridEvents.h"
#include "mainwindow/LocateRules.h"
#include "mainwindow/MainControls.h"
#include "mainwindow/NameList.h"
#include "mainwindow/RecordCommands.h"
#include "platform/RuntimeError.h"
#include "platform/db/DataControl.h"
#include "platform/db/Database.h"
#include "platform/db/Recordset.h"
#include "platform/ui/KeyCodes.h"
#include "platform/ui/MousePointer.h"
#include "platform/ui/MsgBox.h"
#include "platform/ui/Shell.h"
#include "platform/ui/Tablet.h"

#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTableView>

#include <optional>

namespace {

// The field the list is sorted by, which the locate box searches.
QString sortField()
{
    return gContactsTable ? gContactsTable->index() : DefaultSortChoice;
}

// A key that the US layout the key codes describe does not have: a letter of another
// layout, or a character that an input method composed.
int keyCodeOf(const QKeyEvent *key)
{
    const int vk = KeyboardLayout::virtualKey(key->key());
    if (vk != 0)
        return vk;
    const QString text = key->text();
    if (!text.isEmpty() && text.at(0).isPrint())
        return KeyboardLayout::VkPacket;
    return 0;
}

} // namespace

LocateBox::LocateBox(NameList &window) : QObject(&window), mWindow(window), mUi(*window.mUi) {}

void LocateBox::connectEvents()
{
    mUi.txtLocate->installEventFilter(this);
}

bool LocateBox::eventFilter(QObject *watched, QEvent *event)
{
    Q_UNUSED(watched);
    switch (event->type()) {
    case QEvent::KeyPress: {
        auto *key = static_cast<QKeyEvent *>(event);
        if (key->text().isEmpty())
            return false;
        const int typed = key->text().at(0).unicode();
        int keyAscii = typed;
        txtLocate_KeyPress(keyAscii);
        return keyAscii == platform::KeyCancelled;
    }
    case QEvent::KeyRelease: {
        auto *key = static_cast<QKeyEvent *>(event);
        // A held key searches once, when it is let go.
        if (!key->isAutoRepeat())
            txtLocate_KeyUp(keyCodeOf(key), key->modifiers());
        return false;
    }
    case QEvent::InputMethod: {
        // Dead keys and composing input methods hand the box whole characters, with no
        // key released afterwards: search once the box holds them.
        if (!static_cast<QInputMethodEvent *>(event)->commitString().isEmpty())
            QMetaObject::invokeMethod(
                this, [this] { txtLocate_KeyUp(KeyboardLayout::VkPacket, {}); }, Qt::QueuedConnection);
        return false;
    }
    case QEvent::FocusOut: {
        // A message box or menu over the window does not end the locate; going elsewhere
        // in the window does.
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            txtLocate_LostFocus();
        return false;
    }
    case QEvent::MouseButtonRelease:
        if (static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton)
            txtLocate_Click();
        return false;
    default:
        return false;
    }
}

void LocateBox::txtLocate_KeyUp(int KeyCode, Qt::KeyboardModifiers Shift)
{
    Q_UNUSED(Shift);
    platform::Recordset *rs = mUi.Data1->recordset();
    if (!rs || !rs->isOpen() || rs->recordCount() <= 0)
        return;
    QLineEdit *box = mUi.txtLocate;
    try {
        const LocateStep step = locateStepFor(KeyCode, box->text(), gRecordSource.gSortedByDate);
        if (step == LocateStep::FocusGrid) {
            mUi.Table1->setFocus();
            return;
        }
        // Given back before the message below, as the block is left.
        platform::BusyPointer busy;
        if (step == LocateStep::ClearBox) {
            box->clear();
        } else if (step == LocateStep::Search) {
            gEditor.gFindCriteria = locateCriteria(sortField(), box->text());
            std::optional<platform::Bookmark> mark;
            if (!rs->eof() && !rs->bof())
                mark = rs->bookmark();
            rs->findFirst(gEditor.gFindCriteria);
            if (rs->noMatch() && mark)
                rs->setBookmark(*mark);
        }
    } catch (const platform::RuntimeError &error) {
        platform::MsgBox(error.description());
    }
}

void LocateBox::txtLocate_KeyPress(int &KeyAscii)
{
    mWindow.grid().cancelColumnMove();
    if (KeyAscii != platform::CharEnter)
        return;
    KeyAscii = platform::KeyCancelled;
    mUi.Table1->setFocus();
    // The View/Edit command opens the editor on the contact found, and refuses an empty
    // list with its own message.
    mWindow.records().cmdEdit_Click();
}

void LocateBox::txtLocate_LostFocus()
{
    mUi.txtLocate->clear();
}

void LocateBox::txtLocate_Click()
{
    if (platform::isTabletWithoutMouse())
        platform::startOnScreenKeyboard();
}
