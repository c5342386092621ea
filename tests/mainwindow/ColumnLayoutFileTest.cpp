#include "mainwindow/ColumnLayoutFile.h"

#include "platform/ui/ProgramFolder.h"
#include "support/TemporaryProgramFolder.h"

#include <QFile>
#include <QLocale>

#include <gtest/gtest.h>

// Readable failures: the column's four values.
void PrintTo(const ColumnLayoutFile::Column &column, std::ostream *os)
{
    *os << '{' << column.caption.toStdString() << ", " << column.dataField.toStdString() << ", "
        << column.width << ", " << column.alignment << '}';
}

namespace {

using Column = ColumnLayoutFile::Column;

// The grid as designed has 60 columns; the file covers columns 1 to 59.
constexpr int StoredColumns = 59;

class ColumnLayoutFileTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(mFolder.isValid()); }

    void writeRaw(const QByteArray &bytes)
    {
        QFile file(ColumnLayoutFile::path());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    QByteArray readRaw()
    {
        QFile file(ColumnLayoutFile::path());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    static QList<Column> lines(int count)
    {
        QList<Column> columns;
        for (int i = 1; i <= count; ++i) {
            columns.append(
                {QStringLiteral("Caption %1").arg(i), QStringLiteral("Field%1").arg(i), 1000.0 + i, i % 4});
        }
        return columns;
    }

    TemporaryProgramFolder mFolder;
};

} // namespace

TEST_F(ColumnLayoutFileTest, FileLivesInTheProgramFolder)
{
    EXPECT_EQ(ColumnLayoutFile::path(), mFolder.filePath("qncolumn.dat"));
}

TEST_F(ColumnLayoutFileTest, WritesTheExactLineFormat)
{
    const QList<Column> columns = {{"Last Name", "LastName", 1500, 0},
                                   {QString::fromUtf8("Société"), "Organization", 1379.90551, 2},
                                   {"", "Phone1", 0.5, 3}};
    ASSERT_TRUE(ColumnLayoutFile::write(columns));
    EXPECT_EQ(readRaw(), QByteArray("\"Last Name\",\"LastName\",1500,0\r\n"
                                    "\"Soci\xE9t\xE9\",\"Organization\",1379.906,2\r\n"
                                    "\"\",\"Phone1\",0.5,3\r\n"));
}

TEST_F(ColumnLayoutFileTest, RoundTripKeepsAccentsQuotesAndCommas)
{
    const QList<Column> columns = {{QString::fromUtf8("Prénom, “Zoë”"), "FirstName", 1200, 0},
                                   {"Say \"hi\"", "Nickname", 987.5, 1},
                                   {"\"", "Title", 100, 2},
                                   {"", "Code", 300, 3}};
    ASSERT_TRUE(ColumnLayoutFile::write(columns));
    EXPECT_EQ(ColumnLayoutFile::read(StoredColumns), columns);
}

TEST_F(ColumnLayoutFileTest, CharactersOutsideTheCodePageComeBackAsQuestionMarks)
{
    ASSERT_TRUE(ColumnLayoutFile::write({{QString::fromUtf8("Имя"), "FirstName", 1000, 0}}));
    const QList<Column> back = ColumnLayoutFile::read(StoredColumns);
    ASSERT_EQ(back.size(), 1);
    EXPECT_EQ(back[0].caption, "???");
}

TEST_F(ColumnLayoutFileTest, NumbersIgnoreTheLocale)
{
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    ASSERT_TRUE(ColumnLayoutFile::write({{"Width", "LastName", 1234.25, 1}}));
    const QList<Column> back = ColumnLayoutFile::read(StoredColumns);
    QLocale::setDefault(saved);
    EXPECT_EQ(readRaw(), QByteArray("\"Width\",\"LastName\",1234.25,1\r\n"));
    ASSERT_EQ(back.size(), 1);
    EXPECT_DOUBLE_EQ(back[0].width, 1234.25);
}

TEST_F(ColumnLayoutFileTest, NumberTextHasAtMostSevenSignificantDigits)
{
    EXPECT_EQ(ColumnLayoutFile::numberText(1500), "1500");
    EXPECT_EQ(ColumnLayoutFile::numberText(1379.90551), "1379.906");
    EXPECT_EQ(ColumnLayoutFile::numberText(-12.5), "-12.5");
    EXPECT_EQ(ColumnLayoutFile::numberText(0), "0");
    EXPECT_EQ(ColumnLayoutFile::numberText(3), "3");
    EXPECT_EQ(ColumnLayoutFile::numberText(225.0709), "225.0709");
    EXPECT_EQ(ColumnLayoutFile::numberText(123456789), "1.234568E+08");
    // A fraction written with 7 digits reads back as that number.
    ASSERT_TRUE(ColumnLayoutFile::write({{"A", "LastName", 2345.678912, 0}}));
    const QList<Column> back = ColumnLayoutFile::read(StoredColumns);
    ASSERT_EQ(back.size(), 1);
    EXPECT_DOUBLE_EQ(back[0].width, 2345.679);
}

TEST_F(ColumnLayoutFileTest, MissingFileGivesNoColumns)
{
    EXPECT_TRUE(ColumnLayoutFile::read(StoredColumns).isEmpty());
}

TEST_F(ColumnLayoutFileTest, ShortFileRebuildsWhatItHas)
{
    ASSERT_TRUE(ColumnLayoutFile::write(lines(10)));
    EXPECT_EQ(ColumnLayoutFile::read(StoredColumns), lines(10));
}

TEST_F(ColumnLayoutFileTest, LongFileIsReadOnlyAsFarAsTheGridGoes)
{
    ASSERT_TRUE(ColumnLayoutFile::write(lines(70)));
    EXPECT_EQ(ColumnLayoutFile::read(StoredColumns), lines(59));
}

TEST_F(ColumnLayoutFileTest, ACaptionThatReadsAsANumberStopsReading)
{
    writeRaw("\"Last\",\"LastName\",1500,0\r\n"
             "\"2024\",\"FirstName\",1000,0\r\n"
             "\"Org\",\"Organization\",1000,0\r\n");
    EXPECT_EQ(ColumnLayoutFile::read(StoredColumns), (QList<Column>{{"Last", "LastName", 1500, 0}}));
    // A file whose lines start with a width.
    writeRaw("1500,\"Last\",\"LastName\",0\r\n");
    EXPECT_TRUE(ColumnLayoutFile::read(StoredColumns).isEmpty());
}

TEST_F(ColumnLayoutFileTest, ALineWithThreeFieldsShiftsTheRestAndStops)
{
    // Its alignment would be the next line's caption, which is no number.
    writeRaw("\"A\",\"LastName\",1500,0\r\n"
             "\"B\",\"FirstName\",1000\r\n"
             "\"C\",\"Organization\",1000,0\r\n");
    EXPECT_EQ(ColumnLayoutFile::read(StoredColumns), (QList<Column>{{"A", "LastName", 1500, 0}}));
}

TEST_F(ColumnLayoutFileTest, DamagedFilesYieldTheValidPrefixAndNeverCrash)
{
    const QByteArray good = "\"A\",\"LastName\",1500,0\r\n";
    const QList<QByteArray> damaged = {
        good + "\"B\",\"FirstName\",wide,0\r\n",     // width is no number
        good + "\"B\",\"FirstName\",-5,0\r\n",       // negative width
        good + "\"B\",\"FirstName\",1000,7\r\n",     // no such alignment
        good + "\"B\",\"FirstName\",1000,1.5\r\n",   // alignment not whole
        good + "\"B\",\"FirstName\",1000",           // cut off
        good + "\"B\",\"FirstNa",                    // cut off inside a quote
        good + "\r\n\"B\",\"FirstName\",1000,0\r\n", // blank line reads as an empty number
        good + QByteArray("\0\0\0\xFF\xFE", 5),      // binary garbage
    };
    for (const QByteArray &bytes : damaged) {
        writeRaw(bytes);
        EXPECT_EQ(ColumnLayoutFile::read(StoredColumns), (QList<Column>{{"A", "LastName", 1500, 0}}))
            << bytes.toStdString();
    }
}

TEST_F(ColumnLayoutFileTest, ToleratesOtherLineEndsAndSpacing)
{
    writeRaw("\"A\" , \"LastName\" , 1500 , 0\n\"B\",\"FirstName\"\r\n1000,1\r\"C\",\"Code\",.5,2");
    EXPECT_EQ(
        ColumnLayoutFile::read(StoredColumns),
        (QList<Column>{{"A", "LastName", 1500, 0}, {"B", "FirstName", 1000, 1}, {"C", "Code", 0.5, 2}}));
}

TEST_F(ColumnLayoutFileTest, NoColumnsAskedForReadsNothing)
{
    ASSERT_TRUE(ColumnLayoutFile::write(lines(3)));
    EXPECT_TRUE(ColumnLayoutFile::read(0).isEmpty());
    EXPECT_TRUE(ColumnLayoutFile::parse(QByteArray(), StoredColumns).isEmpty());
}

TEST_F(ColumnLayoutFileTest, WriteReplacesAndFailsCleanlyWhenFolderIsGone)
{
    ASSERT_TRUE(ColumnLayoutFile::write(lines(5)));
    ASSERT_TRUE(ColumnLayoutFile::write(lines(2)));
    EXPECT_EQ(ColumnLayoutFile::read(StoredColumns), lines(2));
    platform::setProgramFolderForTesting(mFolder.filePath("no/such/folder"));
    EXPECT_FALSE(ColumnLayoutFile::write(lines(2)));
}
