#include "platform/gdi/StdPicture.h"
#include "platform/RuntimeError.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/GdiBitmap.h"

#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace platform;

namespace {

int loadError(const QString &path)
{
    try {
        StdPicture::LoadPicture(path);
    } catch (const RuntimeError &e) {
        return e.number();
    }
    return 0;
}

int depthOf(const StdPicture &picture)
{
    BITMAP description{};
    GetObjectA(picture.Handle(), sizeof(BITMAP), &description);
    return description.bmBitsPixel;
}

} // namespace

TEST(StdPicture, LoadsFilesWhateverTheirExtension)
{
    QTemporaryDir dir;
    QImage image(6, 4, QImage::Format_RGB32);
    image.fill(QColor(1, 2, 3));
    image.setPixel(5, 0, qRgb(200, 100, 50));
    // A PNG under a .jpg name still loads: the content decides.
    const QString path = dir.filePath(QStringLiteral("really a png.jpg"));
    ASSERT_TRUE(image.save(path, "PNG"));
    auto picture = StdPicture::LoadPicture(path);
    ASSERT_TRUE(picture);
    EXPECT_EQ(6, picture->Width());
    EXPECT_EQ(4, picture->Height());
    EXPECT_EQ(32, depthOf(*picture));
    EXPECT_EQ(0xC86432u, liveBitmap(picture->Handle())->pixel(5, 0));
    EXPECT_EQ(0x010203u, liveBitmap(picture->Handle())->pixel(0, 3));
}

TEST(StdPicture, DepthFollowsThePicture)
{
    QImage mono(9, 2, QImage::Format_Mono);
    mono.fill(0);
    mono.setPixel(8, 1, 1);
    auto one = StdPicture::FromImage(mono);
    ASSERT_TRUE(one);
    EXPECT_EQ(1, depthOf(*one));
    EXPECT_EQ(1, liveBitmap(one->Handle())->index(8, 1));

    QImage few(3, 3, QImage::Format_Indexed8);
    few.setColorTable({qRgb(0, 0, 0), qRgb(10, 20, 30), qRgb(255, 0, 0)});
    few.fill(2);
    auto four = StdPicture::FromImage(few);
    EXPECT_EQ(4, depthOf(*four));
    EXPECT_EQ(0xFF0000u, liveBitmap(four->Handle())->pixel(1, 1));

    QImage many(3, 3, QImage::Format_Indexed8);
    QList<QRgb> table;
    for (int i = 0; i < 100; ++i)
        table.append(qRgb(i, i, i));
    many.setColorTable(table);
    many.fill(77);
    auto eight = StdPicture::FromImage(many);
    EXPECT_EQ(8, depthOf(*eight));
    EXPECT_EQ(77, liveBitmap(eight->Handle())->index(2, 2));

    EXPECT_EQ(nullptr, StdPicture::FromImage(QImage()));
}

TEST(StdPicture, UnreadableFilesRaise)
{
    QTemporaryDir dir;
    EXPECT_EQ(err::FileNotFound, loadError(dir.filePath(QStringLiteral("missing.bmp"))));
    EXPECT_EQ(err::FileNotFound, loadError(dir.path()));
    const QString text = dir.filePath(QStringLiteral("notes.gif"));
    QFile f(text);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("not a picture at all");
    f.close();
    EXPECT_EQ(err::InvalidPicture, loadError(text));
}

TEST(StdPicture, ComesFromTheClipboard)
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    clipboard->setText(QStringLiteral("text only"));
    EXPECT_FALSE(StdPicture::ClipboardHasBitmap());
    EXPECT_EQ(nullptr, StdPicture::FromClipboard());

    QImage image(5, 7, QImage::Format_RGB32);
    image.fill(QColor(9, 8, 7));
    clipboard->setImage(image);
    ASSERT_TRUE(StdPicture::ClipboardHasBitmap());
    auto picture = StdPicture::FromClipboard();
    ASSERT_TRUE(picture);
    EXPECT_EQ(5, picture->Width());
    EXPECT_EQ(7, picture->Height());
    EXPECT_EQ(0x090807u, liveBitmap(picture->Handle())->pixel(4, 6));
    clipboard->clear();
}
