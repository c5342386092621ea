#include "pictures/Pics3.h"
#include "TestPictures.h"

#include "platform/db/DataControl.h"
#include "platform/db/Database.h"
#include "platform/db/Recordset.h"
#include "platform/ui/Twips.h"
#include "support/FileBytes.h"
#include "support/TempDatabase.h"
#include "support/TemporaryProgramFolder.h"

#include <QDir>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QTest>
#include <QVariantMap>
#include <cstdio>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

// The panel over a list of contacts of its own.
class PanelTest : public ::testing::Test {
  protected:
    void SetUp() override
    {
        data.setDatabase(&temp.db());
        data.setRecordSource(QStringLiteral("Select * from tblContacts Order By RecordID"));
        Pics3::setRecords([this] { return data.recordset(); });
        Pics3::setMainWindow(nullptr);
    }
    void TearDown() override
    {
        if (Pics3 *panel = Pics3::loadedInstance())
            panel->unloadForShutDown();
        Pics3::setRecords({});
    }

    void add(const QVariantMap &fields)
    {
        auto rs = temp.db().openRecordset(QStringLiteral("tblContacts"), platform::RecordsetType::Table);
        rs->addNew();
        for (auto it = fields.cbegin(); it != fields.cend(); ++it)
            rs->setValue(it.key(), it.value());
        rs->update();
    }
    void picture(const QString &name, QColor colour)
    {
        QDir().mkpath(folder.filePath(QStringLiteral("Pictures")));
        QImage image(40, 30, QImage::Format_RGB32);
        image.fill(colour);
        ASSERT_TRUE(image.save(folder.filePath(QStringLiteral("Pictures/") + name), "PNG"));
    }
    Pics3 &loaded()
    {
        data.refresh();
        Pics3 &panel = Pics3::instance();
        panel.LoadRecordPictures();
        return panel;
    }
    static bool shows(const QLabel *image) { return !image->pixmap().isNull(); }

    TemporaryProgramFolder folder;
    TempDatabase temp;
    platform::DataControl data;
};

TEST_F(PanelTest, ShowsTheFirstThreePicturesThatExistAndTheNameAsCaption)
{
    picture(QStringLiteral("one.png"), Qt::red);
    picture(QStringLiteral("Three.PNG"), Qt::blue);
    add({{"FirstName", "  Ann "}, {"LastName", "Able"}, {"PicturePath1", "one.png"},
         {"PicturePath2", "missing.png"}, {"PicturePath3", "three.png"}, {"PicturePath4", "one.png"}});
    Pics3 &panel = loaded();
    EXPECT_EQ(panel.windowTitle(), "Ann  Able");
    EXPECT_TRUE(shows(panel.Image1));
    EXPECT_FALSE(shows(panel.Image2));
    EXPECT_TRUE(shows(panel.Image3)) << "a name found whatever its case";
    EXPECT_EQ(panel.Image3->pixmap().toImage().pixelColor(5, 5), QColor(Qt::blue));
    EXPECT_FALSE(panel.isVisible()) << "filling never shows the panel";
}

TEST_F(PanelTest, ABlankNameOrAFileThatIsNoPictureLeavesTheImageEmpty)
{
    picture(QStringLiteral("one.png"), Qt::red);
    QFile text(folder.filePath(QStringLiteral("Pictures/words.jpg")));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("no picture here");
    text.close();
    add({{"LastName", "Smith"}, {"PicturePath1", " "}, {"PicturePath2", "words.jpg"}, {"PicturePath3", "one.png"}});
    Pics3 &panel = loaded();
    EXPECT_FALSE(shows(panel.Image1));
    EXPECT_FALSE(shows(panel.Image2));
    EXPECT_TRUE(shows(panel.Image3));
    EXPECT_EQ(panel.windowTitle(), "Smith");
}

// A pipe, which would hold the panel, is never opened, and damaged picture data is not shown.
TEST_F(PanelTest, APipeOrDamagedPictureDataLeavesTheImageEmpty)
{
    QDir().mkpath(folder.filePath(QStringLiteral("Pictures")));
    ASSERT_EQ(mkfifo(QFile::encodeName(folder.filePath(QStringLiteral("Pictures/pipe.jpg"))).constData(), 0600), 0);
    writeFileBytes(folder.filePath(QStringLiteral("Pictures/half.png")), testpictures::pngWithLowerHalfLost(40, 30, Qt::red));
    add({{"LastName", "Smith"}, {"PicturePath1", "pipe.jpg"}, {"PicturePath2", "half.png"}});
    Pics3 &panel = loaded();
    EXPECT_FALSE(shows(panel.Image1) || shows(panel.Image2));
}

// A shown picture's file deleted and put back, replaced as a save replaces it, or rewritten in
// place, here or by another program.
TEST_F(PanelTest, APictureDeletedPutBackReplacedOrRewrittenIsShownAsItNowIs)
{
    for (const char *name : {"one.png", "three.png", "new.png"})
        picture(QLatin1String(name), name[0] == 'n' ? Qt::blue : Qt::red);
    add({{"LastName", "Eddy"},
         {"PicturePath1", "one.png"},
         {"PicturePath2", "ONE.png"},
         {"PicturePath3", "three.png"}});
    Pics3 &panel = loaded();
    const QString in = folder.filePath(QStringLiteral("Pictures/"));
    ASSERT_TRUE(shows(panel.Image1) && shows(panel.Image2) && QFile::remove(in + "one.png"));
    ASSERT_EQ(
        std::rename(QFile::encodeName(in + "new.png").data(), QFile::encodeName(in + "three.png").data()), 0);
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            return !shows(panel.Image1) && !shows(panel.Image2) &&
                   panel.Image3->pixmap().toImage().pixelColor(5, 5) == QColor(Qt::blue);
        },
        5000));
    // Rewritten in place (the same file, truncated and written again), then put back.
    const auto colour = [](const QLabel *image) {
        return shows(image) ? image->pixmap().toImage().pixelColor(5, 5) : QColor();
    };
    picture(QStringLiteral("three.png"), Qt::yellow);
    EXPECT_TRUE(QTest::qWaitFor([&] { return colour(panel.Image3) == Qt::yellow; }, 5000));
    picture(QStringLiteral("one.png"), Qt::green);
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return colour(panel.Image1) == Qt::green && colour(panel.Image2) == Qt::green; },
        5000));
}

TEST_F(PanelTest, AnEmptyListLeavesThePanelAsItIs)
{
    Pics3 &panel = loaded();
    panel.setWindowTitle(QStringLiteral("before"));
    panel.LoadRecordPictures();
    EXPECT_EQ(panel.windowTitle(), "before");
    panel.Image1_DblClick();
    EXPECT_FALSE(panel.enlarged());
}

TEST_F(PanelTest, EnlargesOnePictureAndAFirstCloseRestoresTheThree)
{
    picture(QStringLiteral("two.png"), Qt::green);
    add({{"FirstName", "Bo"}, {"LastName", "Baker"}, {"PicturePath2", "two.png"}});
    Pics3 &panel = loaded();
    panel.showModeless();
    const QSize threeView = panel.size();

    panel.Image1_DblClick();
    EXPECT_FALSE(panel.enlarged()) << "a Null name does not enlarge";

    panel.Image2_DblClick();
    EXPECT_TRUE(panel.enlarged());
    EXPECT_EQ(panel.size(), QSize(1024, 768));
    EXPECT_EQ(panel.Image2->geometry().topLeft(), QPoint(0, 0));
    EXPECT_EQ(panel.Image2->width(), 1024 - platform::twipsToPixelsX(70));
    EXPECT_TRUE(panel.Image1->isHidden());
    EXPECT_TRUE(panel.Image3->isHidden());
    EXPECT_EQ(panel.windowTitle(), "two.png");

    panel.close();
    EXPECT_TRUE(panel.isLoaded()) << "the first close only restores";
    EXPECT_TRUE(panel.isVisible());
    EXPECT_EQ(panel.size(), threeView);
    EXPECT_FALSE(panel.Image1->isHidden());
    EXPECT_EQ(panel.Image2->y(), platform::twipsToPixelsY(3000));
    EXPECT_EQ(panel.Image3->y(), platform::twipsToPixelsY(6000));
    EXPECT_EQ(panel.windowTitle(), "Bo Baker");

    panel.close();
    EXPECT_FALSE(panel.isLoaded());
}

TEST_F(PanelTest, AnEmptyTextEnlargesWhereNullDoesNot)
{
    add({{"LastName", "Cole"}, {"PicturePath3", ""}});
    Pics3 &panel = loaded();
    panel.Image3_DblClick();
    EXPECT_TRUE(panel.enlarged());
}

TEST_F(PanelTest, ShutDownClosesAnEnlargedPanel)
{
    picture(QStringLiteral("one.png"), Qt::red);
    add({{"LastName", "Dunn"}, {"PicturePath1", "one.png"}});
    Pics3 &panel = loaded();
    panel.showModeless();
    panel.Image1_DblClick();
    ASSERT_TRUE(panel.enlarged());
    panel.unloadForShutDown();
    EXPECT_EQ(Pics3::loadedInstance(), nullptr);
}

} // namespace
