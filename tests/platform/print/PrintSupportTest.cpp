#include "platform/print/PrintSupport.h"
#include "platform/RuntimeError.h"
#include "platform/print/PrintOutput.h"
#include "platform/print/PrinterObject.h"
#include "platform/ui/CommonDialog.h"
#include "support/DialogScript.h"
#include "support/FileBytes.h"

#include <QDir>
#include <QFile>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <cups/cups.h>
#include <gtest/gtest.h>

namespace {

using platform::PrintDocument;
using platform::PrintOutput;
using platform::PrintRun;
using platform::RuntimeError;

PrintDocument pages(int count)
{
    PrintDocument document;
    document.name = QStringLiteral("Phone List");
    for (int i = 1; i <= count; ++i)
        document.pages.push_back({PrintRun{QStringLiteral("Page %1").arg(i), {}, 1440, 720}});
    return document;
}

QString libraryFolder()
{
    return platform::printSupportFolders().constLast();
}

// The error a call raised, or none.
template <typename Call> std::optional<RuntimeError> errorOf(Call call)
{
    try {
        call();
    } catch (const RuntimeError &error) {
        return error;
    }
    return std::nullopt;
}

class PrintSupportLoading : public ::testing::Test {
  protected:
    void TearDown() override { platform::setPrintSupportFoldersForTesting({}); }
    QTemporaryDir empty;
};

TEST_F(PrintSupportLoading, TheFirstFolderHoldingTheLibraryIsUsed)
{
    const platform::PrintSupportApi &api = platform::loadPrintSupport({empty.path(), libraryFolder()});
    EXPECT_EQ(api.version, platform::PrintSupportApi::CurrentVersion);
    EXPECT_EQ(&api, &platform::printSupport()) << "one library, however it was found";
}

TEST_F(PrintSupportLoading, AMissingOrBrokenLibraryIsAPrinterErrorThatSaysSo)
{
    QTemporaryDir broken;
    // A file of the library's name that is no library at all.
    QDir source(libraryFolder());
    const QStringList names = source.entryList({QStringLiteral("*quiltern_printsupport*")}, QDir::Files);
    ASSERT_FALSE(names.isEmpty()) << libraryFolder().toStdString();
    QFile fake(broken.filePath(names.constFirst()));
    ASSERT_TRUE(fake.open(QIODevice::WriteOnly));
    fake.write("not a library");
    fake.close();

    const struct {
        const char *what;
        QStringList folders;
        const char *says;
    } cases[] = {
        {"no library", {empty.path()}, "was not found"},
        {"no folders", {}, "was not found"},
        {"a file that is no library", {broken.path()}, "could not be loaded"},
    };
    for (const auto &c : cases) {
        const auto error = errorOf([&] { platform::loadPrintSupport(c.folders); });
        ASSERT_TRUE(error) << c.what;
        EXPECT_EQ(error->number(), PrintOutput::PrinterError) << c.what;
        EXPECT_TRUE(error->description().startsWith(QStringLiteral("Printing is not available")))
            << c.what << ": " << error->description().toStdString();
        EXPECT_TRUE(error->description().contains(QLatin1String(c.says)))
            << c.what << ": " << error->description().toStdString();
    }
}

// Printing and printer setup fail with the message when the library is gone, before any
// window opens, and work again once it is back.
TEST_F(PrintSupportLoading, WithoutTheLibraryEveryWayToAPrinterFailsCleanly)
{
    PrintOutput::forgetChosenPrinterForTesting();
    platform::setPrintSupportFoldersForTesting({empty.path()});
    EXPECT_FALSE(platform::printSupportLoaded());
    // Laying out for the default paper needs no printer.
    EXPECT_EQ(PrintOutput::paperTwips(), QSizeF(PrintDocument::LetterWidth, PrintDocument::LetterHeight));

    DialogScript script;
    const std::vector<std::pair<const char *, std::function<void()>>> calls = {
        {"print", [] { PrintOutput::sendToPrinter(pages(1)); }},
        {"ask where to print", [] { PrintOutput::askDestination(QStringLiteral("Phone List")); }},
        {"chosen printer", [] { PrintOutput::chosenPrinter(); }},
        {"printer setup",
         [] {
             platform::CommonDialog dialog;
             dialog.dlgShowPrinter();
         }},
    };
    for (const auto &[what, call] : calls) {
        const auto error = errorOf(call);
        ASSERT_TRUE(error) << what;
        EXPECT_EQ(error->number(), PrintOutput::PrinterError) << what;
        EXPECT_TRUE(error->description().contains(QLatin1String("was not found"))) << what;
    }
    EXPECT_FALSE(PrintOutput::printerChosen()) << "a failed setup chooses nothing";

    platform::setPrintSupportFoldersForTesting({});
    EXPECT_NO_THROW(PrintOutput::chosenPrinter());
    EXPECT_TRUE(platform::printSupportLoaded());
}

class ChosenPrinter : public ::testing::Test {
  protected:
    void SetUp() override { PrintOutput::forgetChosenPrinterForTesting(); }
    void TearDown() override { PrintOutput::forgetChosenPrinterForTesting(); }
    QTemporaryDir dir;
};

// The printer the print dialog chose (here the file printer) receives the pages asked
// for, on the paper it was set to.
TEST_F(ChosenPrinter, ReceivesThePagesAskedForOnItsPaper)
{
    const QString path = dir.filePath(QStringLiteral("printed.pdf"));
    QPrinter &printer = PrintOutput::chosenPrinter();
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    printer.setPageSize(QPageSize(QPageSize::A4));
    PrintOutput::choosePrinter();
    EXPECT_NEAR(PrintOutput::paperTwips().width(), 11906, 1);

    PrintOutput::sendAsChosen(pages(5), 2, 4);
    EXPECT_EQ(pdfPageCount(readFileBytes(path)), 3);
}

// Until a printer is chosen, documents are laid out on the paper the default printer holds,
// held in portrait; with no printer to say, on Letter. A chosen printer's paper comes first.
TEST_F(ChosenPrinter, ReportsTakeTheDefaultPrintersPaperUntilOneIsChosen)
{
    const struct {
        const char *what;
        QPageSize paper;
        QSizeF twips;
    } rows[] = {
        {"no printer", QPageSize(), {PrintDocument::LetterWidth, PrintDocument::LetterHeight}},
        {"A4", QPageSize(QPageSize::A4), {11906, 16838}},
        {"Legal", QPageSize(QPageSize::Legal), {12240, 20160}},
        {"a paper named on its side", QPageSize(QSizeF(297, 210), QPageSize::Millimeter), {11906, 16838}},
    };
    for (const auto &row : rows) {
        PrintOutput::setPrinterLookupForTesting([] { return QPrinterInfo(); }, [&] { return row.paper; });
        const QSizeF twips = PrintOutput::paperTwips();
        EXPECT_NEAR(twips.width(), row.twips.width(), 1) << row.what;
        EXPECT_NEAR(twips.height(), row.twips.height(), 1) << row.what;
        platform::Printer().printLine(QStringLiteral("x"));
        EXPECT_EQ(platform::Printer().document().paperSize, twips) << row.what << ": the printer object's document";
        platform::Printer().reset();
    }
    PrintOutput::setPrinterLookupForTesting([] { return QPrinterInfo(); }, [] { return QPageSize(QPageSize::A4); });
    PrintOutput::chosenPrinter().setPageSize(QPageSize(QPageSize::Letter));
    PrintOutput::choosePrinter();
    EXPECT_EQ(PrintOutput::paperTwips(), QSizeF(PrintDocument::LetterWidth, PrintDocument::LetterHeight));
    PrintOutput::setPrinterLookupForTesting({});
}

TEST_F(ChosenPrinter, AFileItCannotWriteIsAnErrorNamingTheFile)
{
    const QString path = dir.filePath(QStringLiteral("missing/folder/printed.pdf"));
    QPrinter &printer = PrintOutput::chosenPrinter();
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    PrintOutput::choosePrinter();
    const auto error = errorOf([] { PrintOutput::sendAsChosen(pages(1)); });
    ASSERT_TRUE(error);
    EXPECT_EQ(error->number(), platform::err::PathNotFound);
    EXPECT_TRUE(error->description().contains(QDir::toNativeSeparators(path))) << error->description().toStdString();
}

// A job the print system refuses is an error that names the printer and gives the system's
// reason; one it takes is none. The system is the test's own, its scheduler on a socket in a
// folder of its own, with a queue that takes jobs and one that refuses them, as `cupsreject`
// leaves a queue.
TEST(PrintSystem, AJobTheSystemRefusesIsAnErrorThatSaysWhy)
{
    const QString cupsd = QStandardPaths::findExecutable(QStringLiteral("cupsd"), {"/usr/sbin", "/sbin"});
    if (cupsd.isEmpty())
        GTEST_SKIP() << "no print system scheduler (cupsd) is installed";
    QTemporaryDir dir;
    const QString root = dir.path();
    writeFileBytes(
        root + "/cupsd.conf",
        ("Listen " + root + "/cups.sock\nBrowsing No\nWebInterface No\nDefaultAuthType None\n").toUtf8());
    writeFileBytes(root + "/cups-files.conf",
                   QStringLiteral("ServerRoot %1\nRequestRoot %1\nCacheDir %1\nStateDir %1\nTempDir %1\n"
                                  "Printcap %1/printcap\nErrorLog %1/log\nAccessLog %1/log\nPageLog %1/log\n"
                                  "ServerBin /usr/lib/cups\nDataDir /usr/share/cups\nFileDevice Yes\n"
                                  "SystemGroup root\n")
                       .arg(root)
                       .toUtf8());
    writeFileBytes(root + "/printers.conf",
                   "<Printer Taking>\nDeviceURI file:///dev/null\nState Idle\nAccepting Yes\n</Printer>\n"
                   "<Printer Refusing>\nDeviceURI file:///dev/null\nState Idle\nAccepting No\n</Printer>\n");
    QProcess scheduler;
    const auto end = qScopeGuard([&] {
        scheduler.terminate();
        scheduler.waitForFinished();
        cupsSetServer(nullptr);
        PrintOutput::setPrinterLookupForTesting({});
    });
    scheduler.start(cupsd, {"-f", "-c", root + "/cupsd.conf", "-s", root + "/cups-files.conf"});
    ASSERT_TRUE(scheduler.waitForStarted());
    cupsSetServer(QFile::encodeName(root + "/cups.sock").constData());
    const bool ready = QTest::qWaitFor( // once it answers for its queues
        [] {
            cups_dest_t *dest = cupsGetNamedDest(CUPS_HTTP_DEFAULT, "Refusing", nullptr);
            cupsFreeDests(dest ? 1 : 0, dest);
            return dest != nullptr;
        },
        20000);
    ASSERT_TRUE(ready) << readFileBytes(root + "/log").toStdString();
    const auto printOn = [](const char *printer) {
        const QPrinterInfo info = QPrinterInfo::printerInfo(QString::fromLatin1(printer));
        EXPECT_FALSE(info.isNull()) << printer;
        PrintOutput::setPrinterLookupForTesting([info] { return info; });
        return errorOf([] { PrintOutput::sendToPrinter(pages(2)); });
    };
    const auto taken = printOn("Taking");
    EXPECT_FALSE(taken) << taken->description().toStdString();
    const auto refused = printOn("Refusing");
    ASSERT_TRUE(refused);
    EXPECT_EQ(refused->number(), PrintOutput::PrinterError);
    EXPECT_EQ(refused->description(),
              "The document could not be printed on \"Refusing\". Destination \"Refusing\" is not accepting jobs.");
}

} // namespace
