#pragma once

#include <QString>

class QPlainTextEdit;
class QWidget;

// Find and Find Next over the text of a notes box, shared by the notes window and the
// memo pad: case-insensitive, forward from the caret, without wrapping to the start.
class NotesSearch {
  public:
    // Asks for the text (offering the last one), selects its first occurrence and shows
    // the Find Next button; tells the user when it does not occur.
    void find(QPlainTextEdit *notes, QWidget *findNextButton);
    // Selects the next occurrence after the current selection or caret; at the end, hides
    // the Find Next button and says so.
    void findNext(QPlainTextEdit *notes, QWidget *findNextButton);
    // Forgets the text searched for (when the window closes).
    void clear() { mFindText.clear(); }

    const QString &findText() const { return mFindText; }
    qint64 findPosition() const { return mFindPosition; }

  private:
    void select(QPlainTextEdit *notes);

    QString mFindText;
    qint64 mFindPosition = 0; // 1-based; 0 when the last search found nothing
};
