#include "export/CsvExports.h"
#include "export/ExportFixture.h"
#include "export/TextExports.h"
#include "helpers/DatabaseState.h"
#include "support/Unprivileged.h"

#include "platform/base/FileKind.h"
#include "platform/db/Database.h"
#include "platform/ui/MousePointer.h"

#include <QFile>
#include <QFileInfo>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using Frame = ExportFixture;
using platform::DialogKind;

const auto labels = [](DisplayedRecords &r, platform::CommonDialog &d) { ExportLabelFormat(r, d); };

void setMode(const QString &path, QFileDevice::Permissions permissions)
{
    ASSERT_TRUE(QFile::setPermissions(path, permissions));
}

constexpr auto ReadAndList = QFileDevice::ReadOwner | QFileDevice::ExeOwner | QFileDevice::ReadGroup |
                             QFileDevice::ExeGroup | QFileDevice::ReadOther | QFileDevice::ExeOther;
constexpr auto Everything =
    ReadAndList | QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;

class FrameOnContacts : public Frame {
  protected:
    void SetUp() override
    {
        Frame::SetUp();
        for (const char *name : {"Abel", "Baker", "Cole"})
            add({{"LastName", name}});
        show();
        Data1.recordset()->moveNext();
    }
    QString currentName() { return Data1.recordset()->value(QStringLiteral("LastName")).toString(); }
};

TEST_F(FrameOnContacts, AskSaveAsWriteAndTell)
{
    const QString path = target(QStringLiteral("list.txt"));
    const QByteArray bytes = run(labels, path);
    EXPECT_EQ(bytes, "Abel \r\n \r\nBaker \r\n \r\nCole \r\n \r\n");
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown[0].title, "Confirmation");
    EXPECT_EQ(shown[0].style, platform::vbYesNo + platform::vbQuestion);
    EXPECT_EQ(shown[1].kind, DialogKind::SaveFile);
    EXPECT_EQ(shown[1].title, "Save As");
    EXPECT_EQ(shown[1].fileName, "NameOut.txt");
    EXPECT_EQ(shown[1].filter, "All Files (*.*)|*.*|Text Files & (*.txt)|*.txt");
    EXPECT_EQ(shown[1].filterIndex, 2);
    EXPECT_EQ(shown[1].flags,
              platform::CommonDialog::cdlOFNOverwritePrompt | platform::CommonDialog::cdlOFNHideReadOnly);
    EXPECT_EQ(shown[2].text, "The exported list is located in file " + path);
    EXPECT_EQ(shown[2].style, platform::vbOKOnly + platform::vbInformation);
    EXPECT_EQ(shown[2].title, "Export completed");
    // The list is back on the contact that was current, and the pointer on the arrow.
    EXPECT_EQ(currentName(), "Baker");
    EXPECT_EQ(platform::mousePointer(), platform::MousePointer::Default);
    // No state is kept: the next export offers the default name again.
    run(labels, target(QStringLiteral("other.txt")));
    EXPECT_EQ(shown[1].fileName, "NameOut.txt");
}

TEST_F(FrameOnContacts, NoOrCancelEndTheCommandSilently)
{
    {
        DialogScript script;
        script.answerMessage(platform::vbNo);
        DataControlRecords records(Data1);
        ExportLabelFormat(records, CMDialog1);
        EXPECT_EQ(script.shown().size(), 1u);
    }
    {
        DialogScript script;
        script.answerMessage(platform::vbYes).cancelFile();
        DataControlRecords records(Data1);
        ExportCsv(records, CMDialog1, false);
        EXPECT_EQ(script.shown().size(), 2u);
    }
    EXPECT_TRUE(QDir(folder.path()).entryList(QDir::Files).isEmpty());
    EXPECT_EQ(currentName(), "Baker");
}

// Whole, and with the earlier file's permissions and owner (given away when root exports).
TEST_F(FrameOnContacts, AnExistingFileIsReplacedWhole)
{
    writeFileBytes(target(), QByteArray(5000, 'x'));
    setMode(target(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup);
    ASSERT_TRUE(geteuid() != 0 || chown(QFile::encodeName(target()).constData(), 65534, 65534) == 0);
    const QFile::Permissions mode = QFile::permissions(target());
    const uint owner = QFileInfo(target()).ownerId();
    EXPECT_EQ(run(labels), "Abel \r\n \r\nBaker \r\n \r\nCole \r\n \r\n");
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList{"NameOut.txt"});
    EXPECT_TRUE(QFile::permissions(target()) == mode && QFileInfo(target()).ownerId() == owner);
}

// A letter typed as e and a combining acute is written as the code page's é; a Greek name,
// which the code page cannot hold, is told once at the end.
TEST_F(Frame, ComposedLettersAreWrittenWholeAndRecordsLosingCharactersAreCounted)
{
    add({{"FirstName", QString::fromUtf8("Rene\u0301")}, {"LastName", "Abel"}});
    add({{"FirstName", QString::fromUtf8("Δημήτρης")}, {"LastName", QString::fromUtf8("Παπαδόπουλος")}});
    show();
    EXPECT_EQ(run(labels), "Ren\xE9 Abel \r\n \r\n???????? ???????????? \r\n \r\n");
    EXPECT_TRUE(shown.at(2).text.endsWith("\r\n\r\n1 record(s) hold characters that the file's character set "
                                          "lacks; each of those characters was written as \"?\"."));
    EXPECT_EQ(shown[2].style, platform::vbOKOnly + platform::vbExclamation);
}

TEST_F(Frame, NoDisplayedContactsIsToldBeforeTheDialog)
{
    show();
    DialogScript script;
    script.answerMessage(platform::vbYes).answerMessage(platform::vbOK);
    DataControlRecords records(Data1);
    ExportCsv(records, CMDialog1, false);
    ASSERT_EQ(script.shown().size(), 2u);
    EXPECT_EQ(script.shown()[1].kind, DialogKind::Message);
    EXPECT_EQ(script.shown()[1].text, "No current record.");
    EXPECT_EQ(script.shown()[1].style, platform::vbOKOnly);
    EXPECT_TRUE(QDir(folder.path()).entryList(QDir::Files).isEmpty());
}

// Each failure is told with its reason; the folder holds afterwards exactly what it held
// before, and the list is back on its contact.
class FrameFailure : public FrameOnContacts {
  protected:
    void SetUp() override
    {
        FrameOnContacts::SetUp();
        setMode(folder.path(), Everything);
    }

    // A file the export may replace, as far as its own permissions go.
    static void earlier(const QString &path)
    {
        writeFileBytes(path, "earlier");
        setMode(path, Everything & ~(QFileDevice::ExeOwner | QFileDevice::ExeGroup | QFileDevice::ExeOther));
    }

    // The message names the file when the file is at fault.
    void expectRefused(const QString &path, const QString &reason, bool namesFile = true, bool drop = true)
    {
        DialogScript script;
        script.answerMessage(platform::vbYes).answerSaveFile(path).answerMessage(platform::vbOK);
        DataControlRecords records(Data1);
        {
            Unprivileged user(drop);
            ExportCsv(records, CMDialog1, true);
        }
        ASSERT_EQ(script.shown().size(), 3u);
        const platform::DialogRequest &message = script.shown()[2];
        EXPECT_EQ(message.text.contains(path), namesFile) << message.text.toStdString();
        EXPECT_TRUE(message.text.contains(reason)) << message.text.toStdString();
        EXPECT_EQ(message.style, platform::vbOKOnly);
        EXPECT_EQ(currentName(), "Baker");
        EXPECT_EQ(platform::mousePointer(), platform::MousePointer::Default);
    }
};

TEST_F(FrameFailure, AFolderWithoutWritePermission)
{
    // A new file is refused; an existing one the user may write is written in place.
    const QString locked = folder.filePath(QStringLiteral("locked"));
    ASSERT_TRUE(QDir().mkpath(locked));
    earlier(locked + "/NameOut.txt");
    setMode(locked, ReadAndList);
    expectRefused(locked + "/New.txt", "Permission denied");
    {
        Unprivileged user;
        EXPECT_EQ(run(labels, locked + "/NameOut.txt"), "Abel \r\n \r\nBaker \r\n \r\nCole \r\n \r\n");
    }
    setMode(locked, Everything);
    EXPECT_EQ(QDir(locked).entryList(QDir::Files), QStringList{"NameOut.txt"});
}

TEST_F(FrameFailure, AFolderThatCannotBeEntered)
{
    const QString locked = folder.filePath(QStringLiteral("locked"));
    ASSERT_TRUE(QDir().mkpath(locked + "/inner"));
    setMode(locked, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    for (const QString &path : {locked + "/NameOut.txt", locked + "/inner/NameOut.txt"})
        expectRefused(path, "folder cannot be opened");
    setMode(locked, Everything);
}

// A pipe or a device of the chosen name is never opened, and stays what it was (before,
// Yes to replace made a pipe a file, and /dev/full too when root exported to it).
TEST_F(FrameFailure, APipeOrADeviceIsRefusedAndLeftAsItWas)
{
    const QString pipe = folder.filePath(QStringLiteral("pipe.txt"));
    ASSERT_EQ(mkfifo(QFile::encodeName(pipe).constData(), 0666), 0);
    for (const QString &path : {pipe, QStringLiteral("/dev/full")}) {
        if (platform::fileKind(path) != platform::FileKind::Special)
            continue; // no /dev/full here
        expectRefused(path, "It is a device, pipe or socket, not a file, and is left as it is.");
        EXPECT_EQ(platform::fileKind(path), platform::FileKind::Special) << path.toStdString();
    }
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList{}) << "no file was made beside them";
}

// To root too, who could write it, as the file made in its place would not be read-only.
TEST_F(FrameFailure, AReadOnlyFile)
{
    writeFileBytes(target(), "earlier");
    setMode(target(), QFileDevice::ReadOwner | QFileDevice::ReadOther);
    expectRefused(target(), "The file is read-only.", true, false);
    EXPECT_EQ(readFileBytes(target()), "earlier");
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList{"NameOut.txt"});
}

TEST_F(FrameFailure, AFolderThatIsNotThere)
{
    expectRefused(folder.filePath(QStringLiteral("gone/NameOut.txt")), "folder does not exist");
    EXPECT_TRUE(QDir(folder.path()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot).isEmpty());
}

TEST_F(FrameFailure, ARecordThatCannotBeReadHalfWay)
{
    // The list lacks a column the export reads: the walk fails at the first contact.
    show(QStringLiteral("Select RecordID, Prefix, FirstName, LastName From tblContacts Order By LastName"));
    Data1.recordset()->moveNext();
    earlier(target());
    expectRefused(target(), "AddressForLabels", false);
    EXPECT_EQ(readFileBytes(target()), "earlier");
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList{"NameOut.txt"});
}

// Each export pointed at the open book, or a file it keeps beside it, by any name (a link,
// a second name, other letters) tells the user and asks again on that name; the book stays
// as it was.
TEST_F(Frame, EveryExportRefusesTheOpenBookByAnyNameAndAsksAgain)
{
    add({{"LastName", "Abel"}, {"Email_Address", "abel@example.com"}});
    show();
    const QString book = temp.path(), journal = book + "-journal", backup = book + ".bak";
    writeFileBytes(backup, "the book before a repair");
    ASSERT_TRUE(QFile::link(book, target("link.txt")));
    ASSERT_EQ(
        ::link(QFile::encodeName(book).constData(), QFile::encodeName(target("second.txt")).constData()), 0);
    ASSERT_EQ(::link(QFile::encodeName(backup).constData(), QFile::encodeName(target("old.txt")).constData()),
              0);
    gDb = platform::Database::open(book);
    const std::shared_ptr<void> closing(nullptr, [](void *) {
        gDatabase.reset();
        platform::setFolderCaseRuleForTesting({});
    });
    const QByteArray before = readFileBytes(book) + readFileBytes(backup);
    // Another spelling is another file where case counts, as in the test's folder, and the
    // book's where the disk ignores case.
    const QString upper = QDir(temp.folder()).filePath("QUILTERN.MDB");
    EXPECT_FALSE(TellIfOpenBookFile(upper));
    EXPECT_EQ(platform::listedPath(upper), upper);
    platform::setFolderCaseRuleForTesting([](const QString &) { return true; });
    // Files are renamed and locked through the spelling the folder holds.
    EXPECT_EQ(platform::listedPath(upper), book);
    const QString told[] = {" is the open address book.", " is one of the files the open address book keeps"};
    const std::pair<QString, int> ways[] = {
        {book, 0},  {target("link.txt"), 0}, {target("second.txt"), 0}, {journal, 1}, {target("old.txt"), 1},
        {upper, 0}, {upper + ".Bak", 1}};
    const Export exports[] = {
        [](auto &r, auto &d) { ExportCsv(r, d, false); },  [](auto &r, auto &d) { ExportCsv(r, d, true); },
        [](auto &r, auto &d) { ExportEmail(r, d); },       [](auto &r, auto &d) { ExportVistaprint(r, d); },
        [](auto &r, auto &d) { ExportLabelFormat(r, d); }, [](auto &r, auto &d) { ExportCondensed(r, d); }};
    for (const Export &run : exports) {
        for (const auto &[path, kind] : ways) {
            DialogScript script;
            script.answerMessage(platform::vbYes).answerSaveFile(path).answerMessage(platform::vbOK);
            script.answerSaveFile(target()).answerMessage(platform::vbOK);
            DataControlRecords records(Data1);
            run(records, CMDialog1);
            ASSERT_EQ(script.shown().size(), 5u); // the export completes under the next name
            EXPECT_TRUE(script.shown()[2].text.startsWith(path + told[kind]))
                << script.shown()[2].text.toStdString();
            EXPECT_EQ(script.shown()[3].fileName, path);
            EXPECT_TRUE(readFileBytes(book) + readFileBytes(backup) == before && !QFile::exists(journal));
        }
    }
}

} // namespace
