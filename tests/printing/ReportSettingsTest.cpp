#include "printing/ReportSettings.h"
#include "printing/frmPreview.h"
#include "support/ExpectRuntimeError.h"
#include "support/TempDatabase.h"

#include "platform/db/DaoError.h"
#include "platform/print/PrintSurface.h"
#include "platform/print/PrinterObject.h"
#include "start/modMain.h"

#include <gtest/gtest.h>

namespace {

// The program's database is a fresh one from the shipped schema for each test.
class ReportSettingsTest : public ::testing::Test {
  protected:
    void SetUp() override
    {
        gDb = platform::Database::open(temp.path());
        platform::Printer().reset();
    }
    void TearDown() override
    {
        gDatabase.reset();
        platform::Printer().reset();
    }

    void storeReport(const QString &name, const QString &x, const QString &y, const QString &font,
                     const QString &size)
    {
        gDb->execute(QStringLiteral("Delete * From tblSettings Where Type='REPORT' And Name='%1'").arg(name));
        gDb->execute(QStringLiteral("Insert Into tblSettings (Type, Name, Setting1, Setting2, Setting3, "
                                    "Setting4) Values ('REPORT', '%1', '%2', '%3', '%4', '%5')")
                         .arg(name, x, y, font, size));
    }

    TempDatabase temp;
};

// Both loaders, on the canvas each one draws on.
struct Loader {
    const char *name;
    void (*load)(const QString &, qint16 &, qint32 &, qint16 &);
    platform::PrintCanvas &(*canvas)();
};

const Loader Loaders[] = {
    {"preview", &LoadReportSettingsPreview, []() -> platform::PrintCanvas & { return PreviewSurface(); }},
    {"printer", &LoadReportSettingsPrinter, []() -> platform::PrintCanvas & { return platform::Printer(); }},
};

TEST_F(ReportSettingsTest, WithoutARowPrintingStartsAtTheCornerInTheCurrentFont)
{
    for (const Loader &loader : Loaders) {
        SCOPED_TRACE(loader.name);
        platform::PrintCanvas &canvas = loader.canvas();
        canvas.setFontName(QStringLiteral("Times New Roman"));
        canvas.setFontSize(14);
        canvas.setCurrentX(500);
        canvas.setCurrentY(600);
        qint16 x = 7;
        qint32 y = 8;
        qint16 y2 = 9;
        loader.load(reportname::Labels2Up, x, y, y2);
        EXPECT_EQ(x, 0);
        EXPECT_EQ(y, 0);
        EXPECT_EQ(y2, 0);
        EXPECT_EQ(canvas.currentX(), 0);
        EXPECT_EQ(canvas.currentY(), 0);
        EXPECT_EQ(canvas.fontName(), QStringLiteral("Times New Roman"));
        EXPECT_EQ(canvas.fontSize(), 14);
    }
}

TEST_F(ReportSettingsTest, ARowSetsThePositionAndTheFont)
{
    storeReport(reportname::EnvelopeMain, QStringLiteral("5760"), QStringLiteral("2880"),
                QStringLiteral("Courier New"), QStringLiteral("12.5"));
    for (const Loader &loader : Loaders) {
        SCOPED_TRACE(loader.name);
        platform::PrintCanvas &canvas = loader.canvas();
        qint16 x = 0;
        qint32 y = 0;
        qint16 y2 = 0;
        loader.load(reportname::EnvelopeMain, x, y, y2);
        EXPECT_EQ(x, 5760);
        EXPECT_EQ(y, 2880);
        EXPECT_EQ(y2, 2880);
        EXPECT_EQ(canvas.currentX(), 5760);
        EXPECT_EQ(canvas.currentY(), 2880);
        EXPECT_EQ(canvas.fontName(), QStringLiteral("Courier New"));
        EXPECT_EQ(canvas.fontSize(), 12.5);
    }
}

TEST_F(ReportSettingsTest, FractionalPositionsRoundHalvesToEven)
{
    storeReport(reportname::Labels3Up, QStringLiteral(" 720.5 "), QStringLiteral("721.5"),
                QStringLiteral("Arial"), QStringLiteral("10"));
    qint16 x = 0;
    qint32 y = 0;
    qint16 y2 = 0;
    LoadReportSettingsPreview(reportname::Labels3Up, x, y, y2);
    EXPECT_EQ(x, 720);
    EXPECT_EQ(y, 722);
    EXPECT_EQ(y2, 722);
    EXPECT_EQ(PreviewSurface().currentX(), 720.5) << "the surface takes the stored number as it is";
}

TEST_F(ReportSettingsTest, AValueThatIsNoNumberOrDoesNotFitIsReportedAndLeavesTheCanvasAlone)
{
    struct Case {
        const char *x, *y, *size;
        int error;
    };
    const Case cases[] = {
        {"abc", "0", "10", platform::err::TypeMismatch},
        {"", "0", "10", platform::err::TypeMismatch},
        {"0", "0", "ten", platform::err::TypeMismatch},
        {"32768", "0", "10", platform::err::Overflow},
        {"-32769", "0", "10", platform::err::Overflow},
        // The start Y is also wanted as a 16-bit number.
        {"0", "40000", "10", platform::err::Overflow},
        // Numbers that fit but print off the letter page, or pages without end.
        {"32767", "0", "10", platform::err::Overflow},
        {"0", "15481", "10", platform::err::Overflow},
        {"-1441", "0", "10", platform::err::Overflow},
        {"0", "0", "1e9", platform::err::Overflow},
        {"0", "0", "720", platform::err::Overflow},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.x) + " / " + c.y + " / " + c.size);
        gDb->execute(
            QStringLiteral("Delete From tblSettings Where Type='REPORT' And Name='Labels 1 x 4 2-up'"));
        storeReport(reportname::Labels2Up, QLatin1String(c.x), QLatin1String(c.y), QStringLiteral("Courier"),
                    QLatin1String(c.size));
        for (const Loader &loader : Loaders) {
            SCOPED_TRACE(loader.name);
            platform::PrintCanvas &canvas = loader.canvas();
            canvas.setFontName(QStringLiteral("Arial"));
            canvas.setCurrentX(100);
            qint16 x = 5;
            qint32 y = 5;
            qint16 y2 = 5;
            EXPECT_RUNTIME_ERROR(loader.load(reportname::Labels2Up, x, y, y2), c.error);
            EXPECT_EQ(x, 5);
            EXPECT_EQ(canvas.currentX(), 100);
            EXPECT_EQ(canvas.fontName(), QStringLiteral("Arial"));
        }
    }
}

TEST_F(ReportSettingsTest, TheMessageNamesTheReportAndTheValue)
{
    storeReport(reportname::Labels1Up3, QStringLiteral("1 inch"), QStringLiteral("0"),
                QStringLiteral("Arial"), QStringLiteral("9"));
    qint16 x = 0;
    qint32 y = 0;
    qint16 y2 = 0;
    try {
        LoadReportSettingsPreview(reportname::Labels1Up3, x, y, y2);
        ADD_FAILURE() << "a start position of \"1 inch\" was taken";
    } catch (const platform::RuntimeError &error) {
        EXPECT_TRUE(error.description().contains(reportname::Labels1Up3));
        EXPECT_TRUE(error.description().contains(QStringLiteral("\"1 inch\"")));
    }
}

TEST_F(ReportSettingsTest, RowsAreFoundByKindAndName)
{
    // The database comes with standard values for every report and user rows for the
    // envelope only.
    const std::optional<ReportSettingsRow> defaults = ReadReportDefaults(*gDb, reportname::Labels3Up);
    ASSERT_TRUE(defaults);
    EXPECT_EQ(defaults->y(), QStringLiteral("420"));
    EXPECT_FALSE(ReadReportSettings(*gDb, reportname::Labels3Up)) << "a standard row is no user row";
    for (const QString &name : ReportNames())
        EXPECT_TRUE(ReadReportDefaults(*gDb, name)) << name.toStdString();
    EXPECT_TRUE(ReadReportSettings(*gDb, reportname::EnvelopeOrientation));
    EXPECT_EQ(gSql, QStringLiteral(
                        "Select * from tblSettings Where Type='REPORT' And Name='Envelope Orientation'"));
}

TEST_F(ReportSettingsTest, EnvelopeOrientation)
{
    struct Case {
        const char *stored; // nullptr: no row
        bool landscape;
    };
    for (const Case c : {Case{"Landscape", true}, Case{"LANDSCAPE", true}, Case{"landscape", true},
                         Case{"Portrait", false}, Case{"", false}, Case{nullptr, false}}) {
        SCOPED_TRACE(c.stored ? c.stored : "(no row)");
        gDb->execute(
            QStringLiteral("Delete From tblSettings Where Type='REPORT' And Name='Envelope Orientation'"));
        if (c.stored)
            storeReport(reportname::EnvelopeOrientation, QLatin1String(c.stored), QStringLiteral("0"),
                        QStringLiteral("Arial"), QStringLiteral("8"));
        EXPECT_EQ(EnvelopeOrientationLandscape(*gDb), c.landscape);
    }
}

TEST_F(ReportSettingsTest, PocketSwitchesAreOnOnlyForOne)
{
    EXPECT_FALSE(ReadPocketReportOptions(*gDb)) << "no row until the user saves one";
    gDb->execute(
        QStringLiteral("Insert Into tblSettings (Type, Name, Setting1, Setting2, Setting3, Setting4, "
                       "Setting5, Setting6) Values ('REPORT', 'Pocket Report', '0', '0', 'Arial', "
                       "'8', '1', '2')"));
    const std::optional<PocketReportOptions> options = ReadPocketReportOptions(*gDb);
    ASSERT_TRUE(options);
    EXPECT_TRUE(options->alternatePrint);
    EXPECT_FALSE(options->lastNameFirst);
}

} // namespace
