#include "IncludeLayers.h"

#include <QTemporaryDir>

#include <fstream>
#include <gtest/gtest.h>

namespace fs = std::filesystem;
using layering::Part;

namespace {

// The floors of src/, lowest first. A file includes its own folder's files and those of
// lower floors, never a folder on its own floor or above: the platform layer at the bottom,
// then the helpers every subsystem shares, the subsystems (those that others build on
// first), the main window that holds them, and the start routine that opens it.
const std::vector<Part> Floors = {
    {"platform", 0, false},
    {"platform/base", 0, false},
    // The Jet dialect is the database layer's own SQL: its folder is part of that layer.
    {"platform/db", 1, true},
    {"platform/print", 1, false},
    {"platform/gdi", 1, false},
    {"platform/comm", 1, false},
    // The common dialog's printer setup changes the printer the print layer prints on.
    {"platform/ui", 2, false},
    {"platform/grid", 2, false},
    // The printing library builds the print dialogs the dialog seam shows.
    {"platform/printsupport", 3, false},
    {"helpers", 3, false},
    {"printing", 4, false},
    {"pictures", 4, false},
    {"editor", 5, false},
    {"export", 5, false},
    {"addressbooks", 5, false},
    {"dialing", 6, false},
    {"reminders", 6, false},
    {"selection", 6, false},
    {"mainwindow", 7, false},
    {"start", 8, false},
    {"", 9, false},
    {"tools", 9, false},
};

TEST(IncludeLayering, EveryIncludeOfTheProgramPointsDown)
{
    const fs::path src = fs::path(QUILTERN_SOURCE_DIR) / "src";
    ASSERT_TRUE(fs::exists(src / "main.cpp")) << src;
    const auto found = layering::breaches(src, Floors);
    EXPECT_TRUE(found.empty()) << layering::describe(found);
}

class IncludeCheck : public ::testing::Test {
  protected:
    void write(const std::string &file, const std::string &text)
    {
        const fs::path path = root() / file;
        fs::create_directories(path.parent_path());
        std::ofstream(path) << text;
    }
    fs::path root() const { return fs::path(dir.path().toStdString()); }

    QTemporaryDir dir;
};

TEST_F(IncludeCheck, FindsEveryKindOfBreachAndOnlyThose)
{
    const std::vector<Part> floors = {{"low", 0, false}, {"high", 1, true}, {"side", 1, false}, {"", 2, false}};
    write("low/a.h", "#pragma once\n");
    write("low/a.cpp", "#include \"low/a.h\"\n#include \"a.h\"\n\n#include \"high/b.h\"\n");
    write("high/b.h", "#pragma once\n#include <vector>\n#include \"low/a.h\"\n");
    write("high/b.cpp", "#include \"b.h\"\n#include \"high/sub/c.h\"\n  #  include \"side/d.h\"\n"
                        "#include \"missing/x.h\"\n// #include \"main.h\" is not read: only directives\n");
    write("high/sub/c.h", "#include \"high/b.h\"\n#include \"low/a.h\"\n");
    write("side/d.h", "#include \"low/a.h\"\n");
    write("stray/e.h", "#include \"low/a.h\"\n");
    write("main.cpp", "#include \"high/b.h\"\n#include \"side/d.h\"\n#include \"main.h\"\n");
    write("main.h", "#pragma once\n");

    const auto found = layering::breaches(root(), floors);
    struct Expected {
        std::string file;
        int line;
        std::string included;
        std::string reasonStart;
    };
    const std::vector<Expected> expected = {
        {"high/b.cpp", 3, "side/d.h", "across: high on floor 1 includes side on floor 1"},
        {"high/b.cpp", 4, "missing/x.h", "no such file"},
        {"low/a.cpp", 4, "high/b.h", "upward: low on floor 0 includes high on floor 1"},
        {"stray/e.h", 0, "", "its folder has no floor"},
    };
    ASSERT_EQ(found.size(), expected.size()) << layering::describe(found);
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(found[i].file, expected[i].file) << i;
        EXPECT_EQ(found[i].line, expected[i].line) << i;
        EXPECT_EQ(found[i].included, expected[i].included) << i;
        EXPECT_EQ(found[i].reason.rfind(expected[i].reasonStart, 0), 0u) << found[i].reason;
    }
}

TEST_F(IncludeCheck, AListedSubfolderStandsOnItsOwnFloor)
{
    // "high" takes its subfolders in, but "high/top" is listed above it: the parent may not
    // reach up into it, while it may reach down into the parent.
    const std::vector<Part> floors = {{"high", 1, true}, {"high/top", 2, false}};
    write("high/b.h", "#include \"high/top/t.h\"\n");
    write("high/top/t.h", "#include \"high/b.h\"\n");
    const auto found = layering::breaches(root(), floors);
    ASSERT_EQ(found.size(), 1u) << layering::describe(found);
    EXPECT_EQ(found[0].file, "high/b.h");
    EXPECT_EQ(found[0].reason, "upward: high on floor 1 includes high/top on floor 2");
}

} // namespace
