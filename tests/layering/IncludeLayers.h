#pragma once

#include <filesystem>
#include <string>
#include <vector>

// The floors of a source tree and the includes that break them.
namespace layering {

// One part of the tree: a folder (relative to the tree's root, "" for the root itself) on a
// floor. With subfolders, the folders under it belong to the same part unless they are
// listed themselves.
struct Part {
    std::string folder;
    int floor;
    bool withSubfolders;
};

// A quoted include that does not point down: it names the including file, its line, the
// included path as written, and why it is refused.
struct Breach {
    std::string file;
    int line;
    std::string included;
    std::string reason;
};

// A file may include files of its own part and of parts on lower floors. Includes are
// read as written ("folder/file.h" from the root, or "file.h" beside the including file);
// a file of a folder that belongs to no part is a breach of its own.
std::vector<Breach> breaches(const std::filesystem::path &root, const std::vector<Part> &parts);

// One line per breach, for a failure message.
std::string describe(const std::vector<Breach> &found);

} // namespace layering
