#pragma once

#include "editor/NotesSearch.h"
#include "platform/ui/Form.h"

class QPlainTextEdit;
class QPushButton;
class QToolButton;

// The large notes window of the editor: a copy of the editor's notes for reading and
// editing, with Find and Find Next. It hands the text back when it closes, if the record
// has changed.
class NotesForm : public platform::Form {
    Q_OBJECT
  public:
    // Shows the window modally over the editor's notes box and returns once it is unloaded.
    static void open(QPlainTextEdit &editorNotes);

    explicit NotesForm(QPlainTextEdit &editorNotes);

    void cmdFind_Click();
    void cmdFindNext_Click();
    void cmdExit_Click();
    void ImageKeyboard_Click();
    // Lays the controls out for an outer window size given in twips.
    void Form_Resize(int width, int height);

    const NotesSearch &search() const { return mSearch; }

  protected:
    void Form_Load() override;
    void Form_Unload(bool &cancel) override;
    void resizeEvent(QResizeEvent *event) override;

  private:
    QPlainTextEdit *txtNotes = nullptr;
    QPushButton *cmdFindNext = nullptr;
    QPushButton *cmdFind = nullptr;
    QPushButton *cmdExit = nullptr;
    QToolButton *ImageKeyboard = nullptr;
    QPlainTextEdit &mEditorNotes;
    NotesSearch mSearch;
};
