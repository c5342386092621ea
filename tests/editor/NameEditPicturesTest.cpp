#include "EditorFixture.h"

#include "helpers/MainCommonDialog.h"
#include "helpers/ValueHelpers.h"
#include "pictures/PictureForm.h"
#include "platform/ui/Clipboard.h"
#include "platform/ui/MsgBox.h"
#include "start/modMain.h"
#include "support/TemporaryProgramFolder.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QMenu>

using platform::DialogKind;

class EditorPicturesTest : public EditorTest {
  protected:
    void SetUp() override
    {
        EditorTest::SetUp();
        gAppName = QStringLiteral("Quiltern");
        gPictureHandOver.gPictureSlot = 1;
        gPictureHandOver.gPastePicture = false;
        CMDialog1() = platform::CommonDialog();
        platform::clearClipboard();
        contact = addPerson("Pat", "Painter");
        list->Refresh();
        list->moveTo(contact);
    }
    void TearDown() override
    {
        platform::clearClipboard();
        EditorTest::TearDown();
    }
    QString pictures() const { return folder.path() + QStringLiteral("/Pictures/"); }
    static void writePicture(const QString &path, QColor colour = Qt::blue)
    {
        QDir().mkpath(QFileInfo(path).absolutePath());
        QImage image(320, 240, QImage::Format_RGB32);
        image.fill(colour);
        ASSERT_TRUE(image.save(path, "PNG"));
    }
    static void clipboardPicture()
    {
        QImage image(64, 48, QImage::Format_RGB32);
        image.fill(Qt::red);
        platform::setClipboardImage(image);
    }
    // The picture window as the editor opened it, closed with the given button.
    static std::function<void(QWidget *)> closeWith(const QString &button, QString *caption = nullptr,
                                                    int *slot = nullptr)
    {
        return [button, caption, slot](QWidget *w) {
            if (caption)
                *caption = w->windowTitle();
            if (slot)
                *slot = gPictureHandOver.gPictureSlot;
            DialogScript::click(w, button);
        };
    }

    TemporaryProgramFolder folder;
    qint64 contact = 0;
};

TEST_F(EditorPicturesTest, ABlankSlotGoesStraightToTheLoadPictureDialog)
{
    openEditorHere(true);
    for (const QString &blank : {QString(), QStringLiteral("   ")}) {
        box("txtPic3File")->setText(blank);
        DialogScript script;
        script.cancelFile();
        widget<QPushButton>("cmdPicture3")->click();
        ASSERT_EQ(script.shown().size(), 1u) << "no message, no window";
        EXPECT_EQ(script.shown()[0].kind, DialogKind::OpenFile);
        EXPECT_EQ(script.shown()[0].title, "Load Picture");
        EXPECT_EQ(script.shown()[0].filterIndex, 1);
        EXPECT_EQ(gPictureHandOver.gPictureSlot, 3);
    }
}

TEST_F(EditorPicturesTest, ALinkedFileOpensThePictureWindowWithoutADialog)
{
    writePicture(pictures() + "Face.png");
    openEditorHere(true);
    box("txtPic2File")->setText("Face.png");
    gEditor.gRecordChanged = false;
    QString caption;
    DialogScript script;
    script.onModal("PictureForm", closeWith("cmdClose", &caption));
    widget<QPushButton>("cmdPicture2")->click();
    EXPECT_EQ(script.shown().size(), 1u);
    EXPECT_EQ(caption, "Face.png");
    EXPECT_EQ(CMDialog1().dlgFileName, pictures() + "Face.png");
    EXPECT_FALSE(gEditor.gRecordChanged) << "the slot's own file, unchanged";
}

TEST_F(EditorPicturesTest, ABrokenLinkIsToldThenAFileFromAnywhereIsStoredInTheSlot)
{
    const QString chosen = folder.filePath("camera/beach.png");
    writePicture(chosen, Qt::yellow);
    NameEdit &ed = openEditorHere(true);
    box("txtPic1File")->setText("lost.jpg");
    DialogScript script;
    script.answerMessage(platform::vbOK).answerOpenFile(chosen).onModal("PictureForm", closeWith("cmdClose"));
    widget<QPushButton>("cmdPicture1")->click();
    const auto &message = script.shown()[0];
    EXPECT_EQ(message.title, "File not found.  Link broken.");
    EXPECT_EQ(message.icon, platform::vbInformation);
    EXPECT_TRUE(message.text.startsWith("The file:\r" + QDir::toNativeSeparators(pictures() + "lost.jpg") +
                                        "\r was not found.\r\rYou may have deleted it from another record."));
    EXPECT_EQ(text("txtPic1File"), "beach.png");
    EXPECT_TRUE(gPictureHandOver.gPictureChanged);
    EXPECT_TRUE(QFile::exists(pictures() + "beach.png"));

    // The name reaches the record when the contact is saved.
    ed.cmdSave_Click();
    ASSERT_TRUE(ed.isUnloaded()) << "stored, the editor closes";
    EXPECT_EQ(stored(contact, "PicturePath1").toString(), "beach.png");
}

TEST_F(EditorPicturesTest, APictureThatCannotBeReadIsReportedByTheButton)
{
    QDir().mkpath(pictures());
    QFile file(pictures() + "notes.jpg");
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("plain text");
    file.close();
    openEditorHere(true);
    box("txtPic1File")->setText("notes.jpg");
    DialogScript script;
    script.answerMessage(platform::vbOK);
    widget<QPushButton>("cmdPicture1")->click();
    EXPECT_EQ(script.shown()[0].title, "Error");
    EXPECT_TRUE(script.shown()[0].text.contains(".    Error number: 481"));
    EXPECT_EQ(PictureForm::loadedInstance(), nullptr);
}

TEST_F(EditorPicturesTest, ARightClickPicksTheSlotAndOffersPasteImage)
{
    NameEdit &ed = openEditorHere(true);
    ed.pictures().cmdPicture_MouseDown(5, Qt::LeftButton, QPoint());
    EXPECT_EQ(gPictureHandOver.gPictureSlot, 1);
    emit widget<QPushButton>("cmdPicture5")->customContextMenuRequested(QPoint(3, 3));
    EXPECT_EQ(gPictureHandOver.gPictureSlot, 5);
    EXPECT_TRUE(widget<QMenu>("mnuFile")->isVisible());
    EXPECT_EQ(widget<QMenu>("mnuFile")->actions().value(0), widget<QAction>("mnuFilePasteImage"));
    widget<QMenu>("mnuFile")->hide();
}

TEST_F(EditorPicturesTest, NameBoxesAreBlueOnTheButtonFaceLikeTheDescriptions)
{
    openEditorHere(true);
    const QColor blue = box("txtPhone1_Desc")->palette().color(QPalette::Text);
    for (int n = 1; n <= 8; ++n) {
        const QPalette colours = box(QStringLiteral("txtPic%1File").arg(n))->palette();
        EXPECT_EQ(colours.color(QPalette::Text), blue) << n;
        EXPECT_EQ(colours.color(QPalette::Base), colours.color(QPalette::Button)) << n;
    }
}

TEST_F(EditorPicturesTest, PasteImageWithoutAPictureOnTheClipboardDoesNothing)
{
    NameEdit &ed = openEditorHere(true);
    platform::setClipboardText("only text");
    DialogScript script;
    ed.pictures().mnuFilePasteImage_Click();
    EXPECT_TRUE(script.shown().empty());
}

TEST_F(EditorPicturesTest, PasteImageHandsOverTheTypedNameWithJpg)
{
    struct Case {
        const char *typed;
        const char *handedOver; // null: the window does not open
    };
    const Case cases[] = {{"Portrait", "Portrait.jpg"},
                          {"Portrait.JPG", "Portrait.JPG"},
                          {"  Portrait  ", "Portrait.jpg"},
                          {"Who?", nullptr},
                          {".Portrait", nullptr},
                          {"  .jpg", nullptr},
                          {"", nullptr}};
    NameEdit &ed = openEditorHere(true);
    for (const Case &c : cases) {
        clipboardPicture();
        gPictureHandOver.gPictureSlot = 6;
        CMDialog1().dlgFileName.clear();
        QString caption;
        bool pasteWhileShown = false;
        DialogScript script;
        script.answerInput(QString::fromLatin1(c.typed));
        if (c.handedOver)
            script.onModal("PictureForm", [&](QWidget *w) {
                caption = w->windowTitle();
                pasteWhileShown = gPictureHandOver.gPastePicture;
                DialogScript::click(w, "cmdCancel");
            });
        ed.pictures().mnuFilePasteImage_Click();
        EXPECT_EQ(script.shown()[0].title, "Picture name required") << c.typed;
        EXPECT_FALSE(gPictureHandOver.gPastePicture) << c.typed;
        if (c.handedOver) {
            EXPECT_EQ(CMDialog1().dlgFileName, QString::fromLatin1(c.handedOver));
            EXPECT_EQ(caption, Trim(QString::fromLatin1(c.typed)));
            EXPECT_TRUE(pasteWhileShown);
        } else {
            EXPECT_EQ(script.shown().size(), 1u) << c.typed;
        }
    }
}

TEST_F(EditorPicturesTest, APastedPictureSavedInTheWindowReachesTheRecord)
{
    NameEdit &ed = openEditorHere(true);
    clipboardPicture();
    gPictureHandOver.gPictureSlot = 2;
    DialogScript script;
    script.answerInput("Badge").onModal("PictureForm", closeWith("cmdClose"));
    ed.pictures().mnuFilePasteImage_Click();
    EXPECT_EQ(text("txtPic2File"), "Badge.jpg");
    EXPECT_TRUE(QFile::exists(pictures() + "Badge.jpg"));
    ed.cmdSave_Click();
    ASSERT_TRUE(ed.isUnloaded()) << "stored, the editor closes";
    EXPECT_EQ(stored(contact, "PicturePath2").toString(), "Badge.jpg");
}
