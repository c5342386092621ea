// The locate box: typing moves the list to the first contact whose sort field begins
// with the text typed so far.

#include "mainwindow/NameList.h"

#include "helpers/DatabaseState.h"
#include "helpers/SortOrder.h"
#include "helpers/StartRoutine.h"
#include "mainwindow/LocateRules.h"
#include "platform/RuntimeError.h"
#include "platform/db/DataControl.h"
#include "platform/db/Recordset.h"
#include "platform/ui/MousePointer.h"
#include "platform/ui/MsgBox.h"
#include "platform/ui/Shell.h"
#include "platform/ui/Tablet.h"

#include <QLineEdit>
#include <QTableView>

#include <optional>

using platform::MousePointer;
using platform::setMousePointer;

namespace {

// The field the list is sorted by, which the locate box searches.
QString sortField()
{
    return gContactsTable ? gContactsTable->index() : DefaultSortChoice;
}

} // namespace

void NameList::txtLocate_KeyUp(int KeyCode, Qt::KeyboardModifiers Shift)
{
    Q_UNUSED(Shift);
    platform::Recordset *rs = Data1->recordset();
    if (!rs || !rs->isOpen() || rs->recordCount() <= 0)
        return;
    try {
        const LocateStep step = locateStepFor(KeyCode, txtLocate->text(), gRecordSource.gSortedByDate);
        if (step == LocateStep::FocusGrid) {
            Table1->setFocus();
            return;
        }
        setMousePointer(MousePointer::Hourglass);
        if (step == LocateStep::ClearBox) {
            txtLocate->clear();
        } else if (step == LocateStep::Search) {
            gFindCriteria = locateCriteria(sortField(), txtLocate->text());
            std::optional<platform::Bookmark> mark;
            if (!rs->eof() && !rs->bof())
                mark = rs->bookmark();
            rs->findFirst(gFindCriteria);
            if (rs->noMatch() && mark)
                rs->setBookmark(*mark);
        }
        setMousePointer(MousePointer::Default);
    } catch (const platform::RuntimeError &error) {
        setMousePointer(MousePointer::Default);
        platform::MsgBox(error.description());
    }
}

void NameList::txtLocate_KeyPress(int &KeyAscii)
{
    miMoveColumn = 0;
    if (KeyAscii != 13)
        return;
    KeyAscii = 0;
    Table1->setFocus();
    // The View/Edit command opens the editor on the contact found, and refuses an empty
    // list with its own message.
    cmdEdit_Click();
}

void NameList::txtLocate_LostFocus()
{
    txtLocate->clear();
}

void NameList::txtLocate_Click()
{
    if (platform::isTabletWithoutMouse())
        platform::startOnScreenKeyboard();
}
