#include "export/CsvExports.h"
#include "export/ExportFixture.h"
#include "export/TextExports.h"
#include "helpers/DatabaseState.h"

#include "platform/db/Database.h"

#include <unistd.h>

namespace {

using OpenBook = ExportFixture;

// Each export pointed at the open book, or a file it keeps beside it, by any name (a link,
// a second name) tells the user and asks again on that name; the book stays as it was.
TEST_F(OpenBook, EveryExportRefusesTheOpenBookByAnyNameAndAsksAgain)
{
    add({{"LastName", "Abel"}, {"Email_Address", "abel@example.com"}});
    show();
    const QString book = temp.path(), journal = book + "-journal", backup = book + ".bak";
    writeFileBytes(backup, "the book before a repair");
    ASSERT_TRUE(QFile::link(book, target("link.txt")));
    ASSERT_EQ(::link(QFile::encodeName(book).constData(), QFile::encodeName(target("second.txt")).constData()), 0);
    ASSERT_EQ(::link(QFile::encodeName(backup).constData(), QFile::encodeName(target("old.txt")).constData()), 0);
    gDb = platform::Database::open(book);
    const std::shared_ptr<void> closing(nullptr, [](void *) { gDatabase.reset(); });
    const QByteArray before = readFileBytes(book) + readFileBytes(backup);
    const QString told[] = {" is the open address book.", " is one of the files the open address book keeps"};
    const std::pair<QString, int> ways[] = {{book, 0}, {target("link.txt"), 0}, {target("second.txt"), 0},
                                            {journal, 1}, {target("old.txt"), 1}};
    const Export exports[] = {[](auto &r, auto &d) { ExportCsv(r, d, false); },
                              [](auto &r, auto &d) { ExportCsv(r, d, true); },
                              [](auto &r, auto &d) { ExportEmail(r, d); },
                              [](auto &r, auto &d) { ExportVistaprint(r, d); },
                              [](auto &r, auto &d) { ExportLabelFormat(r, d); },
                              [](auto &r, auto &d) { ExportCondensed(r, d); }};
    for (const Export &run : exports) {
        for (const auto &[path, kind] : ways) {
            DialogScript script;
            script.answerMessage(platform::vbYes).answerSaveFile(path).answerMessage(platform::vbOK);
            script.answerSaveFile(target()).answerMessage(platform::vbOK);
            DataControlRecords records(Data1);
            run(records, CMDialog1);
            ASSERT_EQ(script.shown().size(), 5u); // the export completes under the next name
            EXPECT_TRUE(script.shown()[2].text.startsWith(path + told[kind])) << script.shown()[2].text.toStdString();
            EXPECT_EQ(script.shown()[3].fileName, path);
            EXPECT_TRUE(readFileBytes(book) + readFileBytes(backup) == before && !QFile::exists(journal));
        }
    }
}

} // namespace
