#pragma once

#include "editor/NotesSearch.h"
#include "platform/ui/Form.h"

#include <memory>

class QComboBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QToolButton;

namespace platform {
class Database;
class Recordset;
} // namespace platform

// The memo pad: free-standing notes with a title and a text, kept as NOTE rows of the
// settings table. It reopens the note shown when it last closed (the LASTNOTE row holds
// its place in the title list).
class MemoForm : public platform::Form {
    Q_OBJECT
  public:
    // Shows the memo pad modally and returns once it is unloaded.
    static void open(platform::Database &db);

    explicit MemoForm(platform::Database &db);
    ~MemoForm() override;

    void cmbTitle_Click();
    // Gives the note shown the title typed into the title box; false when the title was
    // refused (empty, too long, or another note's) and the old one put back.
    bool cmbTitle_Validate();
    void cmdAdd_Click();
    void cmdDelete_Click();
    void cmdFind_Click();
    void cmdFindNext_Click();
    void cmdCancel_Click();
    void cmdExit_Click();
    void ImageKeyboard_Click();
    void Form_Resize(int width, int height);

    bool noteChanged() const { return mNoteChanged; }

  protected:
    void Form_Load() override;
    void Form_Activate() override;
    void Form_Unload(bool &cancel) override;
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

  private:
    QLabel *lblTitle = nullptr;
    QComboBox *cmbTitle = nullptr;
    QPushButton *cmdFindNext = nullptr;
    QPushButton *cmdFind = nullptr;
    QPlainTextEdit *txtNotes = nullptr;
    QPushButton *cmdDelete = nullptr;
    QPushButton *cmdCancel = nullptr;
    QPushButton *cmdExit = nullptr;
    QPushButton *cmdAdd = nullptr;
    QToolButton *ImageKeyboard = nullptr;
    void saveShownText();
    void showSelectedNote();
    void selectTitle(const QString &title);
    int insertTitle(const QString &title, qint64 bookmark);
    bool refuseTitle(const QString &title, const QString &ownName);

    platform::Database &mDb;
    std::unique_ptr<platform::Recordset> mNotes;
    bool mNoteChanged = false;
    bool mFirstActivate = false;
    bool mValidating = false;
    quint64 mBookmarkOwner = 0; // the record set every title's row mark belongs to
    NotesSearch mSearch;
};
