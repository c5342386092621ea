#include "editor/PictureStrip.h"

#include "editor/EditorPage.h"
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
#include "platform/ui/Form.h"
#include "platform/ui/MsgBox.h"

#include <QAction>
#include <QDir>
#include <QGridLayout>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>

using platform::MsgBox;
using platform::RuntimeError;

namespace {

QString pictureBoxName(int n)
{
    return QStringLiteral("txtPic%1File").arg(n);
}

} // namespace

PictureStrip::PictureStrip(platform::Form &window, EditorPage &page, MainListLink &list)
    : mWindow(window), mPage(page), mList(list)
{
}

QGridLayout *PictureStrip::build()
{
    auto *pictures = new QGridLayout;
    for (int n = 1; n <= Count; ++n) {
        auto *button = new QPushButton(QStringLiteral("Picture %1").arg(n), &mWindow);
        button->setObjectName(QStringLiteral("cmdPicture%1").arg(n));
        button->setAutoDefault(false);
        button->setContextMenuPolicy(Qt::CustomContextMenu);
        QObject::connect(button, &QPushButton::clicked, &mWindow, [this, n] { cmdPicture_Click(n); });
        QObject::connect(button, &QPushButton::customContextMenuRequested, &mWindow,
                         [this, n, button](const QPoint &at) {
                             cmdPicture_MouseDown(n, Qt::RightButton, button->mapToGlobal(at));
                         });
        cmdPicture.append(button);
        QLineEdit *file = mPage.addBox(&mWindow, pictureBoxName(n), 0);
        const int line = (n - 1) % PerColumn * 2;
        const int column = (n - 1) / PerColumn;
        pictures->addWidget(button, line, column);
        pictures->addWidget(file, line + 1, column);
    }
    mnuFile = new QMenu(QStringLiteral("File"), &mWindow);
    mnuFile->setObjectName(QStringLiteral("mnuFile"));
    mnuFilePasteImage = mnuFile->addAction(QStringLiteral("Paste image"));
    mnuFilePasteImage->setObjectName(QStringLiteral("mnuFilePasteImage"));
    QObject::connect(mnuFilePasteImage, &QAction::triggered, &mWindow, [this] { mnuFilePasteImage_Click(); });
    return pictures;
}

PictureEditor PictureStrip::pictureEditor()
{
    PictureEditor editor;
    for (int n = 1; n <= Count; ++n)
        editor.pictureBoxes << mPage.box(pictureBoxName(n));
    editor.lastNameBox = mPage.box(QStringLiteral("txtLastName"));
    editor.database = &mList.Database();
    if (gEditor.gEditExistingRecord)
        editor.recordId = mList.Recordset().value(QStringLiteral("RecordID")).toLongLong();
    editor.recordChanged = [] { gEditor.gRecordChanged = true; };
    return editor;
}

bool PictureStrip::GetFileName()
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

void PictureStrip::cmdPicture_Click(int n)
{
    try {
        gPictureHandOver.gPictureSlot = n;
        const QString name = mPage.box(pictureBoxName(n))->text();
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
        PictureForm::instance().showModal(&mWindow);
    } catch (const RuntimeError &error) {
        MsgBox(platform::withFullStop(error.description()) + QStringLiteral("    Error number: ") +
                   QString::number(error.number()),
               platform::vbOKOnly, QStringLiteral("Error"));
    }
}

void PictureStrip::cmdPicture_MouseDown(int n, Qt::MouseButton button, const QPoint &globalPosition)
{
    if (button != Qt::RightButton)
        return;
    gPictureHandOver.gPictureSlot = n;
    mnuFile->popup(globalPosition);
}

void PictureStrip::mnuFilePasteImage_Click()
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
    // A name starting with a full stop would make a hidden file, which the picture buttons
    // never find again: it is ignored like a name with an illegal character.
    if (answer.isEmpty() || !CheckFileNameChars(answer) || answer.startsWith(u'.'))
        return;
    gPictureHandOver.gPastePicture = true;
    CMDialog1().dlgFileName =
        answer.right(4).toLower() == QLatin1String(".jpg") ? answer : answer + QStringLiteral(".jpg");
    try {
        PictureForm::setEditor(pictureEditor());
        PictureForm &form = PictureForm::instance();
        form.setWindowTitle(answer);
        form.showModal(&mWindow);
    } catch (const RuntimeError &error) {
        // The clipboard may have lost its picture since it was asked.
        MsgBox(platform::withFullStop(error.description()) + QStringLiteral("    Error number: ") +
                   QString::number(error.number()),
               platform::vbOKOnly, QStringLiteral("Error"));
    }
    gPictureHandOver.gPastePicture = false;
}
