#include <QProcess>
#include <QRegularExpression>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

using ::testing::AnyOf;
using ::testing::Contains;
using ::testing::HasSubstr;
using ::testing::Not;
using ::testing::StartsWith;

// The libraries a program or library names as needed, as the system's loader reads them.
std::vector<std::string> neededLibraries(const QString &file)
{
    QProcess readelf;
    readelf.start(QStringLiteral("readelf"), {QStringLiteral("--dynamic"), QStringLiteral("--wide"), file});
    const bool ran = readelf.waitForFinished(30000) && readelf.exitStatus() == QProcess::NormalExit &&
                     readelf.exitCode() == 0;
    EXPECT_TRUE(ran) << "readelf could not read " << file.toStdString() << ": "
                     << readelf.readAllStandardError().toStdString();
    std::vector<std::string> names;
    static const QRegularExpression needed(QStringLiteral(R"(\(NEEDED\)\s+Shared library: \[([^\]]+)\])"));
    for (auto it = needed.globalMatch(QString::fromLocal8Bit(readelf.readAllStandardOutput())); it.hasNext();)
        names.push_back(it.next().captured(1).toStdString());
    return names;
}

// Qt Print Support costs every start-up its loading and relocation, and nothing printable
// happens at start-up: the program reaches it only through the printing library it loads
// when something is printed.
TEST(ProgramLibraries, TheProgramStartsWithoutQtPrintSupport)
{
    const std::vector<std::string> program = neededLibraries(QStringLiteral(QUILTERN_PROGRAM_PATH));
    EXPECT_THAT(program, Contains(StartsWith("libQt6Widgets.so"))) << "the libraries it does need are read";
    EXPECT_THAT(program, Not(Contains(AnyOf(HasSubstr("PrintSupport"), HasSubstr("printsupport")))));

    EXPECT_THAT(neededLibraries(QStringLiteral(QUILTERN_PRINTSUPPORT_PATH)),
                Contains(StartsWith("libQt6PrintSupport.so")));
}

} // namespace
