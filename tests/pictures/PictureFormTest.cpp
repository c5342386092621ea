#include "PictureFixture.h"
#include "TestPictures.h"

#include "pictures/PictureBox.h"
#include "pictures/PictureFit.h"
#include "pictures/PictureStore.h"
#include "platform/RuntimeError.h"
#include "platform/gdi/StdPicture.h"
#include "platform/ui/MsgBox.h"
#include "platform/ui/Twips.h"

#include <QBuffer>
#include <QImageReader>
#include <QPainter>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <cstdio>
#include <jpeglib.h>
#include <sys/stat.h>

using platform::DialogKind;

namespace {

// ---------------------------------------------------------------------------------------------
// Fit rules

struct FitCase {
    int pictureWidth, pictureHeight;
    int width, height;
};

TEST(PictureFit, KeepsProportionsInABoxOfFourByThree)
{
    const FitCase cases[] = {
        {800, 600, 15360, 11520},  // the box's own shape fills it
        {1200, 1000, 13824, 11520}, // a little wider than high reaches the height first
        {2000, 1000, 15360, 7680},  // twice as wide reaches the width
        {1000, 1000, 11520, 11520}, // square: as wide as the box is high
        {600, 800, 8640, 11520},    // higher than wide fills the height
        {10, 5000, 23, 11520},      // a thin strip
    };
    for (const FitCase &c : cases) {
        const pictures::FitSize fit = pictures::fitPicture(15360, 11520, c.pictureWidth, c.pictureHeight);
        EXPECT_EQ(fit.width, c.width) << c.pictureWidth << "x" << c.pictureHeight;
        EXPECT_EQ(fit.height, c.height) << c.pictureWidth << "x" << c.pictureHeight;
    }
}

TEST(PictureFit, AMoveSquaresTheRatioOfAHighPictureAndStretchesAWideOne)
{
    EXPECT_EQ(pictures::moveFitWidth(15360, 600, 800), 8640);  // 0.5625 of the box
    EXPECT_EQ(pictures::moveFitWidth(15360, 400, 800), 3840);  // 0.25 of the box
    EXPECT_EQ(pictures::moveFitWidth(15360, 2000, 1000), 15360);
    EXPECT_EQ(pictures::moveFitWidth(15360, 500, 500), 15360);
}

TEST(PictureFit, OnlySlotTwoIsPassedOver)
{
    struct Tries {
        int current;
        std::vector<int> next, previous;
    };
    const Tries table[] = {
        {1, {2, 3}, {}}, {2, {3}, {1}}, {3, {4}, {2, 1}}, {4, {5}, {3}}, {7, {8}, {6}},
        {8, {}, {7}},    {0, {}, {}},   {9, {}, {}},
    };
    const auto listOf = [](const pictures::SlotTries &t) {
        std::vector<int> found;
        for (int s : t.order)
            if (s != 0)
                found.push_back(s);
        return found;
    };
    for (const Tries &t : table) {
        EXPECT_EQ(listOf(pictures::nextSlotTries(t.current)), t.next) << "next from " << t.current;
        EXPECT_EQ(listOf(pictures::previousSlotTries(t.current)), t.previous) << "previous from " << t.current;
    }
}

TEST(PictureName, RefusesTheTenCharactersAPastedNameMayNotHold)
{
    EXPECT_TRUE(PictureForm::IsValidFilename(QString()));
    EXPECT_TRUE(PictureForm::IsValidFilename(QStringLiteral("My Car")));
    for (const char *bad : {"a*", "a\\b", "a/b", "a:b", "a?", "a|b", "a<b", "a>b", "My.Car", "a\"b"})
        EXPECT_FALSE(PictureForm::IsValidFilename(QString::fromLatin1(bad))) << bad;
}

// ---------------------------------------------------------------------------------------------
// Opening

TEST_F(PictureTest, OpensOnTheSlotFileWithItsListedNameAndTheFittedPicture)
{
    inPictures(QStringLiteral("Face.png"), 1000, 1000, Qt::red);
    name(1, QStringLiteral("face.PNG"));
    PictureForm &form = openSlot(1);
    EXPECT_EQ(form.windowTitle(), "Face.png") << "as the folder lists it";
    EXPECT_EQ(form.picResized->width(), 1024);
    EXPECT_EQ(form.picResized->height(), 768);
    // A square picture is as wide as the box is high, at the left; the rest keeps the background.
    const QImage shown = form.picResized->image();
    EXPECT_EQ(QColor(shown.pixel(10, 700)), QColor(Qt::red));
    EXPECT_EQ(QColor(shown.pixel(760, 10)), QColor(Qt::red));
    EXPECT_EQ(QColor(shown.pixel(775, 10)), form.picResized->BackColor());
    EXPECT_EQ(form.focusWidget(), form.cmdCancel);
    // Whatever the screen's shape, every button can be reached.
    for (QPushButton *button : form.findChildren<QPushButton *>())
        EXPECT_TRUE(form.rect().contains(button->geometry())) << button->objectName().toStdString();
}

TEST_F(PictureTest, NextAndPreviousShowWhenAnotherSlotIsNamedEvenWithoutItsFile)
{
    inPictures(QStringLiteral("one.png"));
    name(1, QStringLiteral("one.png"));
    name(6, QStringLiteral("gone.jpg"));
    PictureForm &form = openSlot(1);
    EXPECT_FALSE(form.cmdNext->isHidden());
    EXPECT_FALSE(form.cmdPrev->isHidden());
}

TEST_F(PictureTest, NextAndPreviousStayHiddenForAFileFromElsewhereOrAnOnlyPicture)
{
    inPictures(QStringLiteral("one.png"));
    name(1, QStringLiteral("one.png"));
    PictureForm &alone = openSlot(1);
    EXPECT_TRUE(alone.cmdNext->isHidden());
    alone.cmdCancel_Click();

    name(2, QStringLiteral("two.jpg"));
    writePicture(folder.filePath(QStringLiteral("elsewhere/x.png")), 50, 50, Qt::green);
    PictureForm &chosen = openOn(3, folder.filePath(QStringLiteral("elsewhere/x.png")));
    EXPECT_TRUE(chosen.cmdNext->isHidden()) << "slot 3 names no file of its own";
}

TEST_F(PictureTest, PasteModeTakesTheClipboardAndOffersNoMovesNorAnotherPaste)
{
    inPictures(QStringLiteral("one.png"));
    name(1, QStringLiteral("one.png"));
    clipboardPicture(400, 300, Qt::yellow);
    PictureForm &form = openPaste(2, QStringLiteral("Sunny"));
    EXPECT_TRUE(form.mbFromClipboard);
    EXPECT_TRUE(form.cmdNext->isHidden());
    EXPECT_FALSE(form.cmdClipboardPaste->isEnabled());
    EXPECT_FALSE(form.cmdClipboardPaste->isHidden());
    EXPECT_EQ(form.windowTitle(), "Sunny");
    EXPECT_EQ(QColor(form.picResized->image().pixel(1000, 700)), QColor(Qt::yellow));
}

TEST_F(PictureTest, AnUnreadablePictureFailsTheOpeningAndLeavesNoWindow)
{
    writeFileBytes(pictures() + QStringLiteral("broken.jpg"), "not a picture at all");
    name(1, QStringLiteral("broken.jpg"));
    QDir().mkpath(pictures());
    writeFileBytes(pictures() + QStringLiteral("broken.jpg"), "not a picture at all");
    try {
        openSlot(1);
        ADD_FAILURE() << "opened";
    } catch (const platform::RuntimeError &error) {
        EXPECT_EQ(error.number(), platform::err::InvalidPicture);
    }
    EXPECT_EQ(PictureForm::loadedInstance(), nullptr);
}

// A JPEG of one colour written a row at a time, so that the test never holds it whole.
void writeLargeJpeg(const QString &path, int width, int height, QColor colour)
{
    FILE *out = std::fopen(QFile::encodeName(path).constData(), "wb");
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr errors{};
    cinfo.err = jpeg_std_error(&errors);
    jpeg_create_compress(&cinfo);
    jpeg_stdio_dest(&cinfo, out);
    cinfo.image_width = JDIMENSION(width);
    cinfo.image_height = JDIMENSION(height);
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<JSAMPLE> row;
    for (int x = 0; x < width; ++x)
        row.insert(row.end(), {JSAMPLE(colour.red()), JSAMPLE(colour.green()), JSAMPLE(colour.blue())});
    for (JSAMPROW rows[1] = {row.data()}; cinfo.next_scanline < cinfo.image_height;)
        jpeg_write_scanlines(&cinfo, rows, 1);
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    std::fclose(out);
}

TEST_F(PictureTest, APictureTooLargeForTheReaderToHoldIsTakenAndStoredAt1024By768)
{
    const QString source = folder.filePath(QStringLiteral("huge.jpg"));
    ASSERT_GT(12000LL * 9000 * 4, QImageReader::allocationLimit() * 1024LL * 1024) << "it must not fit whole";
    writeLargeJpeg(source, 12000, 9000, QColor(200, 40, 40));
    PictureForm &form = openOn(1, source);
    EXPECT_TRUE(near(form.picResized->image().pixel(1000, 700), QColor(200, 40, 40)))
        << "four by three, it fills the box";
    form.cmdClose_Click();
    const libjpeg::Decoded stored = decodeFile(pictures() + QStringLiteral("huge.jpg"));
    EXPECT_EQ(stored.width, 1024);
    EXPECT_TRUE(near(decodedPixel(stored, 1000, 700), QColor(200, 40, 40)));
}

// Stored as the picture looks: over the box's background, upright as its camera said, and
// read whatever its format and size, a page scanned at 600 dpi included.
TEST_F(PictureTest, APictureIsStoredAsItLooksOverTheBox)
{
    const auto halves = [](QImage image, QRect second, QColor first, QColor other) {
        image.fill(first);
        QPainter(&image).fillRect(second, other);
        return image;
    };
    const QRect right(200, 0, 200, 300);
    halves(QImage(400, 300, QImage::Format_ARGB32), right, QColor(0, 0, 0, 0), QColor(255, 0, 0, 128))
        .save(folder.filePath("see-through.png"));
    halves(QImage(400, 300, QImage::Format_ARGB32), right, Qt::transparent, QColor(0, 160, 0))
        .convertToFormat(QImage::Format_Indexed8, {qRgba(0, 0, 0, 0), qRgb(0, 160, 0)})
        .save(folder.filePath("see-through-palette.png"));
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    halves(QImage(400, 300, QImage::Format_RGB32), right, Qt::red, Qt::blue).save(&buffer, "JPEG", 95);
    // Stored sideways, with the EXIF orientation (6) that turns it upright.
    writeFileBytes(
        folder.filePath("phone.jpg"),
        jpeg.insert(2,
                    QByteArray("\xFF\xE1\0\x22"
                               "Exif\0\0MM\0\x2A\0\0\0\x08\0\x01\x01\x12\0\x03\0\0\0\x01\0\x06\0\0\0\0\0\0",
                               36)));
    ASSERT_TRUE(halves(QImage(4960, 7016, QImage::Format_RGB888), QRect(0, 3508, 4960, 3508), Qt::darkCyan,
                       Qt::darkMagenta)
                    .save(folder.filePath("scan.bmp")));
    const std::pair<const char *, std::vector<std::pair<QPoint, QColor>>> cases[] = {
        {"see-through.png", {{{100, 384}, Qt::white}, {{800, 384}, QColor(255, 127, 127)}}},
        {"see-through-palette.png", {{{100, 384}, Qt::white}, {{800, 384}, QColor(0, 160, 0)}}},
        {"phone.jpg", {{{288, 150}, Qt::red}, {{288, 600}, Qt::blue}, {{900, 384}, Qt::white}}},
        {"scan.bmp", {{{270, 150}, Qt::darkCyan}, {{270, 600}, Qt::darkMagenta}, {{900, 384}, Qt::white}}},
    };
    for (const auto &[file, looks] : cases) {
        openOn(1, folder.filePath(QLatin1String(file))).cmdClose_Click();
        const libjpeg::Decoded stored = decodeFile(pictures() + QLatin1String(file));
        ASSERT_EQ(stored.width, 1024) << file;
        for (const auto &[at, colour] : looks)
            EXPECT_TRUE(near(decodedPixel(stored, at.x(), at.y()), colour))
                << file << " at " << at.x() << "," << at.y();
    }
}

TEST_F(PictureTest, ADamagedOrCutShortPictureOrAPipeIsRefusedSayingSoAndNothingIsStored)
{
    inPictures(QStringLiteral("start.png"), 800, 600, Qt::blue);
    name(1, QStringLiteral("start.png"));
    const auto damaged = [this](const char *format, void (*damage)(QByteArray &)) {
        const QString source = folder.filePath(QStringLiteral("damaged.") + QLatin1String(format));
        writePicture(source, 400, 300, Qt::green, format);
        QByteArray bytes = readFileBytes(source);
        damage(bytes);
        writeFileBytes(source, bytes);
        return source;
    };
    const QString lost = folder.filePath(QStringLiteral("lost.png")), pipe = folder.filePath("pipe.jpg");
    const QString huge = damaged("BMP", [](QByteArray &b) { // says it is 12000 by 12000 pixels
        b.replace(18, 8, QByteArray("\xE0\x2E\0\0\xE0\x2E\0\0", 8));
    });
    writeFileBytes(lost, testpictures::pngWithLowerHalfLost(400, 300, Qt::green));
    ASSERT_EQ(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0); // opening it would wait for a writer
    const std::pair<QString, QString> cases[] = {
        {damaged("JPEG", [](QByteArray &b) { b.truncate(b.size() / 2); }), "The picture file is cut short"},
        {damaged("JPG",
                 [](QByteArray &b) { b = b.first((b.size() + b.indexOf("\xFF\xDA")) / 2) + "\xFF\xD9"; }),
         "The picture file is damaged"}, // cut in its scan, end marker put back: read grey below the cut
        {damaged("PNG", [](QByteArray &b) { b[b.indexOf("IDAT") + 6] = char(~b[b.indexOf("IDAT") + 6]); }),
         "The picture file is damaged"},
        {lost, "The picture file is damaged"}, // read without an error, its lower half black
        {pipe, "Invalid picture: " + pipe},
        {huge, "The picture is too large to read: " + huge},
    };
    for (const auto &[path, told] : cases) {
        // Opened from the editor, the window does not open; chosen with Change Picture, the
        // shown picture stays and is what Save keeps.
        EXPECT_THROW(openOn(1, path), platform::RuntimeError);
        PictureForm &form = openSlot(1);
        DialogScript script;
        script.answerOpenFile(path).answerMessage(platform::vbOK);
        form.cmdLoadFile_Click();
        EXPECT_TRUE(script.shown(DialogKind::Message).at(0).text.startsWith(told)) << path.toStdString();
        form.cmdClose_Click();
        EXPECT_EQ(slotBox(1).text(), "start.png");
        EXPECT_EQ(filesIn(pictures()), QStringList{"start.png"}) << path.toStdString();
    }
}

// ---------------------------------------------------------------------------------------------
// The close

// Escape is Cancel, also pressed from Save.
TEST_F(PictureTest, CancelOrDeleteFocusedClosesWithoutTouchingAnything)
{
    for (const char *focused : {"cmdCancel", "cmdDelete", "Escape"}) {
        clipboardPicture(400, 300, Qt::yellow);
        PictureForm &form = openPaste(1, QStringLiteral("Kept"));
        if (qstrcmp(focused, "Escape") == 0) {
            form.cmdClose->setFocus();
            QTest::keyClick(form.cmdClose, Qt::Key_Escape);
            EXPECT_FALSE(form.isLoaded());
        } else {
            form.findChild<QWidget *>(QLatin1String(focused))->setFocus();
            form.unload();
        }
        EXPECT_FALSE(QFile::exists(pictures() + QStringLiteral("Kept.jpg"))) << focused;
        EXPECT_EQ(slotBox(1).text(), "") << focused;
        EXPECT_FALSE(gPictureHandOver.gPictureChanged) << focused;
        EXPECT_FALSE(gEditor.gRecordChanged) << focused;
    }
}

TEST_F(PictureTest, ClosingFromTheTitleBarRightAfterOpeningSavesNothing)
{
    clipboardPicture(400, 300, Qt::yellow);
    PictureForm &form = openPaste(1, QStringLiteral("Untouched"));
    form.close();
    EXPECT_FALSE(form.isLoaded());
    EXPECT_FALSE(QDir(pictures()).exists());
    EXPECT_FALSE(gPictureHandOver.gPictureChanged);
}

TEST_F(PictureTest, APasteIsStoredAsA1024By768JpegThatLibjpegReadsCleanly)
{
    clipboardPicture(100, 100, Qt::green);
    ASSERT_FALSE(QDir(pictures()).exists());
    PictureForm &form = openPaste(4, QStringLiteral("My Car"));
    form.cmdClose_Click();

    EXPECT_EQ(filesIn(pictures()), QStringList{"My Car.jpg"}) << "the folder is made; no temporary file stays";
    EXPECT_EQ(slotBox(4).text(), "My Car.jpg");
    EXPECT_TRUE(gPictureHandOver.gPictureChanged);
    EXPECT_TRUE(gEditor.gRecordChanged);
    const libjpeg::Decoded jpeg = decodeFile(pictures() + QStringLiteral("My Car.jpg"));
    ASSERT_TRUE(jpeg.ok) << jpeg.error;
    EXPECT_EQ(jpeg.warnings, 0);
    EXPECT_EQ(jpeg.width, 1024);
    EXPECT_EQ(jpeg.height, 768);
    ASSERT_EQ(jpeg.sampling.size(), 3u);
    EXPECT_EQ(jpeg.sampling[0], (std::array<int, 2>{2, 2}));
    EXPECT_EQ(jpeg.sampling[1], (std::array<int, 2>{1, 1}));
    // The square picture fills the box's height at the left; the rest is the background.
    EXPECT_TRUE(near(decodedPixel(jpeg, 300, 400), Qt::green));
    EXPECT_TRUE(near(decodedPixel(jpeg, 950, 400), form.picResized->BackColor()));
}

TEST_F(PictureTest, AFileFromElsewhereIsCopiedInUnderItsOwnNameWithJpegContent)
{
    // A PNG named like a GIF: the content decides how it is read.
    const QString source = folder.filePath(QStringLiteral("camera/holiday.gif"));
    writePicture(source, 640, 480, Qt::darkCyan, "PNG");
    PictureForm &form = openOn(2, source);
    form.cmdClose_Click();
    EXPECT_EQ(slotBox(2).text(), "holiday.gif");
    const libjpeg::Decoded jpeg = decodeFile(pictures() + QStringLiteral("holiday.gif"));
    ASSERT_TRUE(jpeg.ok) << jpeg.error;
    EXPECT_EQ(jpeg.width, 1024);
    EXPECT_TRUE(near(decodedPixel(jpeg, 512, 384), QColor(Qt::darkCyan)));
    EXPECT_TRUE(QFile::exists(source)) << "the original stays where it was";
}

TEST_F(PictureTest, TheSlotsOwnFileIsNotStoredAgain)
{
    inPictures(QStringLiteral("own.png"));
    name(3, QStringLiteral("own.png"));
    const QByteArray before = readFileBytes(pictures() + QStringLiteral("own.png"));
    PictureForm &form = openSlot(3);
    form.cmdClose_Click();
    EXPECT_EQ(readFileBytes(pictures() + QStringLiteral("own.png")), before);
    EXPECT_EQ(slotBox(3).text(), "own.png");
    EXPECT_FALSE(gPictureHandOver.gPictureChanged);
    EXPECT_FALSE(gEditor.gRecordChanged);
}

TEST_F(PictureTest, ANameInAnotherCaseTakesTheListedNameAndStoresThePictureAgain)
{
    inPictures(QStringLiteral("Car.jpg"), 800, 600, Qt::magenta);
    name(1, QStringLiteral("car.jpg"));
    PictureForm &form = openSlot(1);
    form.cmdClose_Click();
    EXPECT_EQ(slotBox(1).text(), "Car.jpg");
    EXPECT_TRUE(gPictureHandOver.gPictureChanged);
    EXPECT_EQ(filesIn(pictures()), QStringList{"Car.jpg"});
    EXPECT_TRUE(decodeFile(pictures() + QStringLiteral("Car.jpg")).ok) << "now JPEG content";
}

TEST_F(PictureTest, AnotherContactsFileIsReplacedOnlyWhenTheUserSaysSo)
{
    inPictures(QStringLiteral("Shared.jpg"), 800, 600, Qt::blue);
    addContact(QStringLiteral("Other"), {{QStringLiteral("PicturePath5"), QStringLiteral("shared.JPG")}});
    const qint64 me = addContact(QStringLiteral("Current"));
    const QByteArray before = readFileBytes(pictures() + QStringLiteral("Shared.jpg"));

    for (int answer : {platform::vbNo, platform::vbYes}) {
        DialogScript script;
        script.answerMessage(answer);
        clipboardPicture(300, 300, Qt::red);
        PictureForm &form = openPaste(1, QStringLiteral("Shared"), me);
        form.cmdClose_Click();
        ASSERT_EQ(script.shown().size(), 1u);
        EXPECT_EQ(script.shown()[0].buttons, platform::vbYesNo);
        EXPECT_EQ(script.shown()[0].defaultButton, 2);
        EXPECT_TRUE(script.shown()[0].text.contains("Other"));
        if (answer == platform::vbNo) {
            EXPECT_EQ(readFileBytes(pictures() + QStringLiteral("Shared.jpg")), before);
            EXPECT_EQ(slotBox(1).text(), "");
            EXPECT_FALSE(gPictureHandOver.gPictureChanged);
        } else {
            EXPECT_NE(readFileBytes(pictures() + QStringLiteral("Shared.jpg")), before);
            EXPECT_EQ(slotBox(1).text(), "Shared.jpg");
        }
    }
}

// A file named with a blank before it is written under the name its slot keeps, and another
// contact's picture of that name is asked about.
TEST_F(PictureTest, ANameAfterABlankIsWrittenAndLinkedWithoutIt)
{
    inPictures(QStringLiteral("Portrait.jpg"));
    addContact(QStringLiteral("Other"), {{QStringLiteral("PicturePath1"), "Portrait.jpg"}});
    const QString source = folder.filePath(QStringLiteral("camera/ Portrait.jpg"));
    writePicture(source, 640, 480, Qt::red, "PNG");
    DialogScript script;
    script.answerMessage(platform::vbYes);
    openOn(2, source).cmdClose_Click();
    EXPECT_TRUE(script.shown().at(0).text.startsWith("The picture file Portrait.jpg is already linked to"));
    EXPECT_EQ(slotBox(2).text(), "Portrait.jpg");
    EXPECT_EQ(filesIn(pictures()), QStringList{"Portrait.jpg"});
    EXPECT_TRUE(near(QImage(pictures() + QStringLiteral("Portrait.jpg")).pixel(9, 9), Qt::red));
}

TEST_F(PictureTest, TheEditedContactsOwnFileIsReplacedWithoutAsking)
{
    const qint64 me = addContact(QStringLiteral("Current"), {{QStringLiteral("PicturePath1"), QStringLiteral("Me.jpg")}});
    inPictures(QStringLiteral("Me.jpg"));
    clipboardPicture(300, 300, Qt::red);
    PictureForm &form = openPaste(1, QStringLiteral("Me"), me);
    form.cmdClose_Click();
    EXPECT_TRUE(near(decodedPixel(decodeFile(pictures() + QStringLiteral("Me.jpg")), 100, 100), Qt::red));
}

// Every address book in the program folder shares the Pictures folder: a file the open book
// does not link is another book's, and stays; the picture takes a name free in the folder and
// in the book, and the user is told.
TEST_F(PictureTest, TwoBooksSavingPicturesOfOneNameEachKeepTheirOwn)
{
    const QString camera = folder.filePath(QStringLiteral("camera/portrait.png"));
    writePicture(camera, 640, 480, Qt::red, "PNG");
    inPictures(QStringLiteral("portrait.png"), 800, 600, Qt::blue);
    addContact(QStringLiteral("Lefevre"), {{QStringLiteral("PicturePath1"), QStringLiteral("portrait.png")}});
    const QByteArray firstBooks = readFileBytes(pictures() + QStringLiteral("portrait.png"));
    TempDatabase second;
    book = &second.db();
    addContact(QStringLiteral("Lost"),
               {{QStringLiteral("PicturePath6"), QStringLiteral("Portrait (2).png")}});
    DialogScript script;
    script.answerMessage(platform::vbOK);
    openOn(1, camera).cmdClose_Click();
    EXPECT_EQ(
        script.shown().at(0).text,
        "The Pictures folder already holds a file named portrait.png that no record of this address book "
        "links; it may belong to another address book kept in the program folder.  That file is left as "
        "it is, and this picture is saved as portrait (3).png.");
    EXPECT_EQ(script.shown()[0].title, "Picture saved under another name");
    EXPECT_EQ(slotBox(1).text(), "portrait (3).png");
    EXPECT_EQ(readFileBytes(pictures() + QStringLiteral("portrait.png")), firstBooks);
    EXPECT_TRUE(
        near(decodedPixel(decodeFile(pictures() + QStringLiteral("portrait (3).png")), 9, 9), Qt::red));
    EXPECT_FALSE(QDir(deleted()).exists());
}

// The edited contact's other slots, named by its stored row or in its boxes, link a file as much
// as other contacts do: their picture is replaced only when the user says so.
TEST_F(PictureTest, TheEditedContactsOtherSlotsPictureIsReplacedOnlyWhenTheUserSaysSo)
{
    const QString camera = folder.filePath(QStringLiteral("camera/portrait.png"));
    writePicture(camera, 640, 480, Qt::red, "PNG");
    for (const bool storedRowLinks : {true, false}) {
        inPictures(QStringLiteral("portrait.png"), 800, 600, Qt::blue);
        const qint64 me =
            addContact(QStringLiteral("Current"), {{QStringLiteral("PicturePath4"), "Portrait.PNG"}});
        name(3, storedRowLinks ? QString() : QStringLiteral("portrait.png"));
        DialogScript script;
        script.answerMessage(platform::vbNo);
        openOn(1, camera, me).cmdClose_Click();
        EXPECT_EQ(
            script.shown().at(0).text,
            QStringLiteral("The picture file portrait.png is already linked to %1 of this record.\r\rDo you "
                           "want to replace that picture with this one?  Choose No to keep it and leave "
                           "this picture unsaved.")
                .arg(storedRowLinks ? "Picture 4" : "Pictures 3 and 4"));
        EXPECT_EQ(QImage(pictures() + QStringLiteral("portrait.png")).pixelColor(9, 9), QColor(Qt::blue));
        EXPECT_EQ(slotBox(1).text(), "") << storedRowLinks;
        temp.db().execute("Delete * from tblContacts");
    }
}

TEST_F(PictureTest, AFailedSaveIsToldKeepsTheOldFileAndNamesNothing)
{
    // A folder where the file should go makes the last step fail.
    QDir().mkpath(pictures() + QStringLiteral("Blocked.jpg"));
    name(2, QStringLiteral("old.jpg"));
    clipboardPicture(300, 300, Qt::red);
    DialogScript script;
    script.answerMessage(platform::vbOK);
    PictureForm &form = openPaste(2, QStringLiteral("Blocked"));
    form.cmdClose_Click();
    ASSERT_EQ(script.shown().size(), 1u);
    EXPECT_TRUE(script.shown()[0].text.contains("Blocked.jpg"));
    EXPECT_EQ(slotBox(2).text(), "old.jpg");
    EXPECT_FALSE(gPictureHandOver.gPictureChanged);
    EXPECT_FALSE(gEditor.gRecordChanged);
    EXPECT_TRUE(QFileInfo(pictures() + QStringLiteral("Blocked.jpg")).isDir());
    EXPECT_EQ(filesIn(pictures()), QStringList()) << "no temporary file stays";
    EXPECT_FALSE(form.isLoaded()) << "the window closes all the same";
}

TEST(PictureStore, ALeftoverTemporaryFileIsReplacedAndRemoved)
{
    TemporaryProgramFolder folder;
    const QString target = folder.filePath(QStringLiteral("Pictures/a.jpg"));
    const QString temporary = pictures::temporaryStoreFile(folder.filePath(QStringLiteral("Pictures/")), target);
    QDir().mkpath(folder.filePath(QStringLiteral("Pictures")));
    writeFileBytes(temporary, "left over");
    cImage image;
    ASSERT_TRUE(image.Create(64, 48, 24));
    pictures::storePictureFile(image, target);
    EXPECT_FALSE(QFile::exists(temporary));
    EXPECT_TRUE(QFile::exists(target));
    EXPECT_NE(temporary, pictures::temporaryStoreFile(folder.filePath(QStringLiteral("Pictures/")),
                                                    QFileInfo(temporary).fileName()))
        << "a picture named like the temporary file gets another one";
}

// ---------------------------------------------------------------------------------------------
// Paste from Clipboard and Change Picture

TEST_F(PictureTest, PasteFromClipboardNamesThePictureAsTyped)
{
    struct Case {
        const char *typed;
        const char *caption; // null: nothing happens
        const char *file;
    };
    const Case cases[] = {
        {"My Car", "My Car", "My Car.jpg"},
        {"  My Car ", "  My Car ", "My Car.jpg"},
        {"My.Car", nullptr, nullptr},
        {"   ", nullptr, nullptr},
    };
    inPictures(QStringLiteral("start.png"), 800, 600, Qt::blue);
    name(1, QStringLiteral("start.png"));
    for (const Case &c : cases) {
        clipboardPicture(300, 300, Qt::red);
        PictureForm &form = openSlot(1);
        ASSERT_FALSE(form.cmdClipboardPaste->isHidden()) << "the clipboard holds a picture";
        DialogScript script;
        script.answerInput(QString::fromLatin1(c.typed));
        form.cmdClipboardPaste_Click();
        EXPECT_EQ(script.shown()[0].title, "Picture name required");
        if (c.caption) {
            EXPECT_EQ(form.windowTitle(), QString::fromLatin1(c.caption));
            EXPECT_EQ(CMDialog1().dlgFileName, QString::fromLatin1(c.file));
            EXPECT_TRUE(form.mbFromClipboard);
            EXPECT_EQ(QColor(form.picResized->image().pixel(5, 5)), QColor(Qt::red));
        } else {
            EXPECT_EQ(form.windowTitle(), "start.png") << c.typed;
            EXPECT_FALSE(form.mbFromClipboard) << c.typed;
            EXPECT_EQ(QColor(form.picResized->image().pixel(5, 5)), QColor(Qt::blue)) << c.typed;
        }
        form.cmdCancel_Click();
    }
}

TEST_F(PictureTest, ChangePictureShowsTheChosenFileAndACancelKeepsTheShownOne)
{
    inPictures(QStringLiteral("start.png"), 800, 600, Qt::blue);
    name(1, QStringLiteral("start.png"));
    name(2, QStringLiteral("other.jpg"));
    const QString chosen = folder.filePath(QStringLiteral("elsewhere/new one.png"));
    writePicture(chosen, 300, 600, Qt::green);

    PictureForm &form = openSlot(1);
    {
        DialogScript script;
        script.cancelFile();
        form.cmdLoadFile_Click();
        EXPECT_EQ(script.shown()[0].title, "Load Picture");
        EXPECT_EQ(script.shown()[0].filterIndex, 2);
    }
    EXPECT_EQ(form.windowTitle(), "start.png");
    EXPECT_EQ(CMDialog1().dlgFileName, pictures() + QStringLiteral("start.png"));
    EXPECT_FALSE(form.cmdNext->isHidden());

    {
        DialogScript script;
        script.answerOpenFile(chosen);
        form.cmdLoadFile_Click();
    }
    EXPECT_EQ(form.windowTitle(), "new one.png");
    EXPECT_TRUE(form.cmdNext->isHidden());
    EXPECT_EQ(QColor(form.picResized->image().pixel(100, 700)), QColor(Qt::green));
    EXPECT_EQ(QColor(form.picResized->image().pixel(600, 10)), form.picResized->BackColor());
    form.cmdClose_Click();
    EXPECT_EQ(slotBox(1).text(), "new one.png");
    EXPECT_TRUE(QFile::exists(pictures() + QStringLiteral("new one.png")));
}

// ---------------------------------------------------------------------------------------------
// Delete Picture

TEST_F(PictureTest, DeleteOfAPictureNotYetSavedSaysSo)
{
    clipboardPicture(300, 300, Qt::red);
    PictureForm &form = openPaste(1, QStringLiteral("Fresh"));
    DialogScript script;
    script.answerMessage(platform::vbOK);
    form.cmdDelete_Click();
    EXPECT_EQ(script.shown()[0].text,
              "Picture not yet saved in Quiltern, so you can't delete it.  Use the Cancel button instead.");
    EXPECT_TRUE(form.isLoaded());
}

TEST_F(PictureTest, DeleteMovesThePictureWhenNoOtherContactLinksIt)
{
    struct Case {
        const char *what;
        bool ownRowLinks;
        bool newContact;
    };
    const Case cases[] = {{"no row links it", false, false},
                          {"only the edited contact's row", true, false},
                          {"a contact not stored yet", false, true}};
    for (const Case &c : cases) {
        const QString file = QStringLiteral("Gone%1.png").arg(&c - cases);
        inPictures(file);
        const qint64 me = addContact(QStringLiteral("Current"),
                                     c.ownRowLinks ? QVariantMap{{QStringLiteral("PicturePath2"), file}} : QVariantMap{});
        name(2, file);
        PictureForm &form = openSlot(2, c.newContact ? std::nullopt : std::optional<qint64>(me));
        DialogScript script;
        script.answerMessage(platform::vbYes);
        form.cmdDelete_Click();
        EXPECT_EQ(script.shown()[0].title, "Delete Confirmation") << c.what;
        EXPECT_EQ(script.shown()[0].defaultButton, 2) << c.what;
        EXPECT_FALSE(QFile::exists(pictures() + file)) << c.what;
        EXPECT_TRUE(QFile::exists(deleted() + file)) << c.what;
        EXPECT_EQ(slotBox(2).text(), "") << c.what;
        EXPECT_TRUE(gPictureHandOver.gPictureChanged) << c.what;
        EXPECT_FALSE(form.isLoaded()) << c.what;
        gPictureHandOver.gPictureChanged = false;
    }
}

// A file another slot of the same contact still links stays too: only the slot lets go of it.
TEST_F(PictureTest, DeleteKeepsAnOlderCopyAlreadyInDeletedPictures)
{
    writePicture(deleted() + QStringLiteral("dup.png"), 10, 10, Qt::black);
    const QByteArray older = readFileBytes(deleted() + QStringLiteral("dup.png"));
    for (const bool otherSlotLinks : {false, true}) {
        inPictures(QStringLiteral("dup.png"), 800, 600, Qt::blue);
        name(1, QStringLiteral("dup.png"));
        name(8, otherSlotLinks ? QStringLiteral("dup.png") : QString());
        PictureForm &form = openSlot(1);
        DialogScript script;
        script.answerMessage(platform::vbYes);
        form.cmdDelete_Click();
        EXPECT_EQ(QFile::exists(pictures() + QStringLiteral("dup.png")), otherSlotLinks);
        EXPECT_EQ(readFileBytes(deleted() + QStringLiteral("dup.png")), older);
        EXPECT_EQ(slotBox(1).text(), "");
    }
}

TEST_F(PictureTest, DeleteIsRefusedWhileOtherContactsLinkThePicture)
{
    struct Case {
        QStringList others;
        const char *listed;
    };
    const Case cases[] = {
        {{"Brown"}, "record: \rBrown\r"},
        {{"Brown", "Adams"}, "records: \rAdams, Brown\r"},
        // Another contact of the same last name is still another contact.
        {{"Current"}, "record: \rCurrent\r"},
    };
    for (const Case &c : cases) {
        const QString file = QStringLiteral("Kept%1.png").arg(&c - cases);
        inPictures(file);
        const qint64 me = addContact(QStringLiteral("Current"), {{QStringLiteral("PicturePath1"), file}});
        for (const QString &other : c.others)
            addContact(other, {{QStringLiteral("PicturePath7"), file}});
        name(1, file);
        PictureForm &form = openSlot(1, me);
        DialogScript script;
        script.answerMessage(platform::vbYes).answerMessage(platform::vbOK);
        form.cmdDelete_Click();
        ASSERT_EQ(script.shown().size(), 2u);
        EXPECT_EQ(script.shown()[1].title, "Picture not deleted because it is assigned to another record.");
        EXPECT_TRUE(script.shown()[1].text.startsWith(
            QStringLiteral("This picture is also linked to the following ") + QLatin1String(c.listed)))
            << script.shown()[1].text.toStdString();
        EXPECT_TRUE(QFile::exists(pictures() + file));
        EXPECT_EQ(slotBox(1).text(), file);
        EXPECT_TRUE(form.isLoaded());
        form.cmdCancel_Click();
    }
}

TEST_F(PictureTest, ANewContactCannotDeleteAFileThatOneOtherContactLinks)
{
    inPictures(QStringLiteral("theirs.png"));
    addContact(QStringLiteral("Owner"), {{QStringLiteral("PicturePath1"), QStringLiteral("theirs.png")}});
    name(1, QStringLiteral("theirs.png"));
    PictureForm &form = openSlot(1, std::nullopt);
    DialogScript script;
    script.answerMessage(platform::vbYes).answerMessage(platform::vbOK);
    form.cmdDelete_Click();
    EXPECT_TRUE(QFile::exists(pictures() + QStringLiteral("theirs.png")));
    EXPECT_TRUE(script.shown()[1].text.contains("Owner"));
}

TEST_F(PictureTest, DeleteAnsweredNoChangesNothing)
{
    inPictures(QStringLiteral("stay.png"));
    name(1, QStringLiteral("stay.png"));
    PictureForm &form = openSlot(1);
    DialogScript script;
    script.answerMessage(platform::vbNo);
    form.cmdDelete_Click();
    EXPECT_TRUE(QFile::exists(pictures() + QStringLiteral("stay.png")));
    EXPECT_TRUE(form.isLoaded());
    EXPECT_FALSE(gPictureHandOver.gPictureChanged);
}

// ---------------------------------------------------------------------------------------------
// Moving between slots

TEST_F(PictureTest, NextPassesOverAnEmptySlotTwoOnly)
{
    inPictures(QStringLiteral("p1.png"), 800, 600, Qt::blue);
    inPictures(QStringLiteral("p3.png"), 600, 800, Qt::red);
    inPictures(QStringLiteral("p5.png"), 800, 600, Qt::green);
    name(1, QStringLiteral("p1.png"));
    name(3, QStringLiteral("p3.png"));
    name(5, QStringLiteral("p5.png"));
    PictureForm &form = openSlot(1);
    form.cmdNext_Click();
    EXPECT_EQ(gPictureHandOver.gPictureSlot, 3);
    EXPECT_EQ(form.windowTitle(), "p3.png");
    EXPECT_EQ(CMDialog1().dlgFileName, pictures() + QStringLiteral("p3.png"));
    // 600 by 800 is painted 0.5625 of the box wide at full height; nothing of the
    // earlier picture stays beside it.
    const QImage shown = form.picResized->image();
    EXPECT_EQ(QColor(shown.pixel(570, 760)), QColor(Qt::red));
    EXPECT_EQ(QColor(shown.pixel(585, 10)), form.picResized->BackColor());

    form.cmdNext_Click();
    EXPECT_EQ(gPictureHandOver.gPictureSlot, 3) << "slot 4 is empty and stops the move";
    form.cmdPrev_Click();
    EXPECT_EQ(gPictureHandOver.gPictureSlot, 1) << "slot 2 is passed over";
    form.cmdPrev_Click();
    EXPECT_EQ(gPictureHandOver.gPictureSlot, 1);
    EXPECT_FALSE(form.cmdPrev->isHidden());
    EXPECT_FALSE(gEditor.gRecordChanged);
}

TEST_F(PictureTest, ANeighbourWhoseFileIsGoneCountsAsEmpty)
{
    inPictures(QStringLiteral("p7.png"));
    name(7, QStringLiteral("p7.png"));
    name(8, QStringLiteral("deleted.jpg"));
    PictureForm &form = openSlot(7);
    form.cmdNext_Click();
    EXPECT_EQ(gPictureHandOver.gPictureSlot, 7);
    EXPECT_EQ(form.windowTitle(), "p7.png");
}

TEST_F(PictureTest, AMoveAfterAPasteDropsThePastedPicture)
{
    inPictures(QStringLiteral("p1.png"), 800, 600, Qt::blue);
    inPictures(QStringLiteral("p2.png"), 800, 600, Qt::green);
    name(1, QStringLiteral("p1.png"));
    name(2, QStringLiteral("p2.png"));
    clipboardPicture(300, 300, Qt::red);
    PictureForm &form = openSlot(1);
    {
        DialogScript script;
        script.answerInput(QStringLiteral("Pasted"));
        form.cmdClipboardPaste_Click();
    }
    ASSERT_TRUE(form.mbFromClipboard);
    form.cmdNext_Click();
    EXPECT_FALSE(form.mbFromClipboard);
    form.cmdClose_Click();
    EXPECT_EQ(slotBox(2).text(), "p2.png") << "no folder in a picture name";
    EXPECT_EQ(filesIn(pictures()), (QStringList{"p1.png", "p2.png"}));
}

} // namespace
