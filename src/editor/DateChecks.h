#pragma once

#include <functional>

class EditorPage;
class QLineEdit;
class QWidget;

// The editor's five date boxes: a box left holding something that is no date is told at
// once, unless the user left it for a command that saves, whose own check tells it; the
// last box left holding a date is remembered for the reminder window.
class DateChecks {
  public:
    // savesWhenClicked tells the commands whose click saves a changed contact.
    DateChecks(const EditorPage &page, std::function<bool(const QWidget *)> savesWhenClicked);

    void txtDate_LostFocus(int n);
    // The first date box whose text is no date; nullptr when all are dates or empty.
    QLineEdit *firstInvalidDateBox() const;
    // Tells that the box holds no date and puts the focus back into it.
    void tellInvalidDate(QLineEdit *date);

  private:
    const EditorPage &mPage;
    std::function<bool(const QWidget *)> mSavesWhenClicked;
    // The message box takes the focus from the date box: that leaving is not checked again.
    bool mCheckingDate = false;
};
