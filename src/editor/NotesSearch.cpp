#include "editor/NotesSearch.h"

#include "helpers/GLOBAL.h"
#include "helpers/ValueHelpers.h"
#include "platform/ui/MsgBox.h"

#include <QPlainTextEdit>
#include <QTextCursor>

void NotesSearch::select(QPlainTextEdit *notes)
{
    notes->setFocus();
    QTextCursor cursor = notes->textCursor();
    cursor.setPosition(int(mFindPosition - 1));
    cursor.setPosition(int(mFindPosition - 1 + mFindText.size()), QTextCursor::KeepAnchor);
    notes->setTextCursor(cursor);
}

void NotesSearch::find(QPlainTextEdit *notes, QWidget *findNextButton)
{
    findNextButton->hide();
    mFindText = InputDialog(QStringLiteral("Enter the text to search for, then press OK."),
                            QStringLiteral("Specify text to find"), mFindText);
    if (Trim(mFindText).isEmpty())
        return;
    mFindPosition = notes->toPlainText().indexOf(mFindText, 0, Qt::CaseInsensitive) + 1;
    if (mFindPosition > 0) {
        select(notes);
        findNextButton->show();
        return;
    }
    platform::MsgBox(QStringLiteral("[") + mFindText +
                         QStringLiteral("]\r\n\r\nThe text you searched for (shown above) was not found."),
                     platform::vbOKOnly, QStringLiteral("Text not found"));
}

void NotesSearch::findNext(QPlainTextEdit *notes, QWidget *findNextButton)
{
    if (Trim(mFindText).isEmpty())
        return;
    const QTextCursor cursor = notes->textCursor();
    const int from = cursor.selectionStart() + (cursor.selectionEnd() - cursor.selectionStart());
    mFindPosition = notes->toPlainText().indexOf(mFindText, from, Qt::CaseInsensitive) + 1;
    if (mFindPosition > 0) {
        select(notes);
        return;
    }
    findNextButton->hide();
    platform::MsgBox(QStringLiteral("[") + mFindText + QStringLiteral("]\r\n\r\nReached end of notes."),
                     platform::vbOKOnly, QStringLiteral("No more occurrences found"));
}
