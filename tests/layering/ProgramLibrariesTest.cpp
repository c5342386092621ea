#include "ElfNeeded.h"

#include <QTemporaryDir>

#include <fstream>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

using ::testing::AnyOf;
using ::testing::Contains;
using ::testing::HasSubstr;
using ::testing::Not;
using ::testing::StartsWith;

// Qt Print Support costs every start-up its loading and relocation, and nothing printable
// happens at start-up: the program reaches it only through the printing library it loads
// when something is printed.
TEST(ProgramLibraries, TheProgramStartsWithoutQtPrintSupport)
{
    const auto program = layering::neededLibraries(QUILTERN_PROGRAM_PATH);
    ASSERT_TRUE(program) << QUILTERN_PROGRAM_PATH;
    EXPECT_THAT(*program, Contains(StartsWith("libQt6Widgets.so"))) << "the libraries it does need are read";
    EXPECT_THAT(*program, Not(Contains(AnyOf(HasSubstr("PrintSupport"), HasSubstr("printsupport")))));

    const auto library = layering::neededLibraries(QUILTERN_PRINTSUPPORT_PATH);
    ASSERT_TRUE(library) << QUILTERN_PRINTSUPPORT_PATH;
    EXPECT_THAT(*library, Contains(StartsWith("libQt6PrintSupport.so")));
}

TEST(ProgramLibraries, AFileThatIsNoWholeProgramNamesNoLibraries)
{
    QTemporaryDir dir;
    std::ifstream in(QUILTERN_PROGRAM_PATH, std::ios::binary);
    std::string program{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    ASSERT_GT(program.size(), 4096u);
    const struct {
        const char *what;
        std::string bytes;
    } cases[] = {
        {"empty", ""},
        {"text", "#!/bin/sh\necho not a program\n"},
        {"the header alone", program.substr(0, 64)},
        {"cut short", program.substr(0, 4096)},
    };
    for (const auto &c : cases) {
        const std::string path = dir.filePath(QString::fromLatin1(c.what)).toStdString();
        std::ofstream(path, std::ios::binary) << c.bytes;
        EXPECT_FALSE(layering::neededLibraries(path)) << c.what;
    }
}

} // namespace
