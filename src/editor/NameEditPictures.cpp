// The editor's picture buttons: a click opens the picture window on the slot's file, or
// on a file the user chooses when the slot has none; a right click offers to paste the
// clipboard's picture into the slot under a name the user gives.
#include "editor/NameEdit.h"

#include "editor/GLOBAL.h"
#include "editor/MainListLink.h"
#include "helpers/GLOBAL.h"
#include "helpers/InputForm.h"
#include "helpers/MainCommonDialog.h"
#include "helpers/ValueHelpers.h"
#include "helpers/mCommon.h"
#include "pictures/PictureFiles.h"
#include "pictures/PictureForm.h"
#include "pictures/PictureHandOver.h"
#include "platform/RuntimeError.h"
#include "platform/db/Recordset.h"
#include "platform/gdi/StdPicture.h"
#include "platform/ui/ClassicFont.h"
#include "platform/ui/MsgBox.h"

#include <QDir>
#include <QLineEdit>
#include <QMenu>

using platform::MsgBox;
using platform::RuntimeError;

namespace {

QString pictureBoxName(int n)
{
    return QStringLiteral("txtPic%1File").arg(n);
}

} // namespace

PictureEditor NameEdit::pictureEditor()
{
    PictureEditor editor;
    for (int n = 1; n <= 8; ++n)
        editor.pictureBoxes << box(pictureBoxName(n));
    editor.lastNameBox = box(QStringLiteral("txtLastName"));
    editor.database = &mList.Database();
    if (gEditor.gEditExistingRecord)
        editor.recordId = mList.Recordset().value(QStringLiteral("RecordID")).toLongLong();
    editor.recordChanged = [] { gEditor.gRecordChanged = true; };
    return editor;
}

bool NameEdit::GetFileName()
{
    try {
        PictureForm::showLoadPictureDialog(
            QStringLiteral("Image files (*.jpg;*.gif;*.bmp)|*.jpg;*.gif;*.bmp|All Files (*.*)|*.*"), 1);
        return CMDialog1().dlgFileName.length() >= 1;
    } catch (const RuntimeError &error) {
        if (error.number() != platform::err::DialogCancelled)
            MsgBox(error.description() + QStringLiteral(" (Error ") + QString::number(error.number()) +
                   QStringLiteral(")"));
        return false;
    }
}

void NameEdit::cmdPicture_Click(int n)
{
    try {
        gPictureHandOver.gPictureSlot = n;
        const QString name = box(pictureBoxName(n))->text();
        const QString path = pictures::picturePath(name);
        if (pictures::slotFileExists(name)) {
            CMDialog1().dlgFileName = path;
        } else {
            if (pictures::nameGiven(name))
                MsgBox(QStringLiteral("The file:\r") + QDir::toNativeSeparators(path) +
                           QStringLiteral("\r was not found.\r\rYou may have deleted it from another record.  "
                                          "You may want to blank out the file name shown below the button "
                                          "(and then Save this record) if you do not choose another picture."),
                       platform::vbInformation, QStringLiteral("File not found.  Link broken."));
            if (!GetFileName())
                return;
        }
        PictureForm::setEditor(pictureEditor());
        PictureForm::instance().showModal(this);
    } catch (const RuntimeError &error) {
        MsgBox(error.description() + QStringLiteral(".    Error number: ") + QString::number(error.number()),
               platform::vbOKOnly, QStringLiteral("Error"));
    }
}

void NameEdit::cmdPicture_MouseDown(int n, Qt::MouseButton button, const QPoint &globalPosition)
{
    if (button != Qt::RightButton)
        return;
    gPictureHandOver.gPictureSlot = n;
    mnuFile->popup(globalPosition);
}

void NameEdit::mnuFilePasteImage_Click()
{
    if (!platform::StdPicture::ClipboardHasBitmap())
        return;
    InputForm::instance().txtInput->setFont(platform::classicFont(QStringLiteral("Arial"), 8, false));
    const QString answer = Trim(InputDialog(
        QStringLiteral("First you must enter a NAME for this picture.\r"
                       "Do NOT enter a file extension (like .jpg), JUST enter a name for this picture.\r\r"
                       "This name must not contain any characters that are illegal in a file name or it will "
                       "be ignored.\rIllegal characters are:") +
            QStringLiteral("   *  \\  /  :  ?  |  ") + QLatin1Char('"') + QStringLiteral("  <  >"),
        QStringLiteral("Picture name required")));
    if (answer.isEmpty() || !CheckFileNameChars(answer))
        return;
    gPictureHandOver.gPastePicture = true;
    CMDialog1().dlgFileName =
        answer.right(4).toLower() == QLatin1String(".jpg") ? answer : answer + QStringLiteral(".jpg");
    try {
        PictureForm::setEditor(pictureEditor());
        PictureForm &form = PictureForm::instance();
        form.setWindowTitle(answer);
        form.showModal(this);
    } catch (const RuntimeError &error) {
        // The clipboard may have lost its picture since it was asked.
        MsgBox(error.description() + QStringLiteral(".    Error number: ") + QString::number(error.number()),
               platform::vbOKOnly, QStringLiteral("Error"));
    }
    gPictureHandOver.gPastePicture = false;
}
