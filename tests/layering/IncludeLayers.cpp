#include "IncludeLayers.h"

#include <algorithm>
#include <fstream>
#include <regex>
#include <sstream>

namespace fs = std::filesystem;

namespace layering {
namespace {

// The part a folder belongs to: the folder itself, or the nearest listed folder above it
// that takes its subfolders in; nullptr when there is none.
const Part *partOf(const std::string &folder, const std::vector<Part> &parts)
{
    const Part *nearest = nullptr;
    for (const Part &part : parts) {
        if (part.folder == folder)
            return &part;
        const bool under =
            part.withSubfolders && (part.folder.empty() || folder.rfind(part.folder + '/', 0) == 0);
        if (under && (!nearest || part.folder.size() > nearest->folder.size()))
            nearest = &part;
    }
    return nearest;
}

std::string folderOf(const std::string &relativeFile)
{
    const auto slash = relativeFile.rfind('/');
    return slash == std::string::npos ? std::string() : relativeFile.substr(0, slash);
}

std::string label(const Part &part)
{
    return (part.folder.empty() ? std::string("(root)") : part.folder) + " on floor " + std::to_string(part.floor);
}

bool isSource(const fs::path &file)
{
    const std::string ext = file.extension().string();
    return ext == ".h" || ext == ".cpp" || ext == ".hpp" || ext == ".cc";
}

} // namespace

std::vector<Breach> breaches(const fs::path &root, const std::vector<Part> &parts)
{
    static const std::regex quotedInclude(R"(^\s*#\s*include\s*"([^"]+)\")");
    std::vector<std::string> files;
    for (const auto &entry : fs::recursive_directory_iterator(root))
        if (entry.is_regular_file() && isSource(entry.path()))
            files.push_back(fs::relative(entry.path(), root).generic_string());
    std::sort(files.begin(), files.end());

    std::vector<Breach> found;
    for (const std::string &file : files) {
        const std::string folder = folderOf(file);
        const Part *from = partOf(folder, parts);
        if (!from) {
            found.push_back({file, 0, std::string(), "its folder has no floor"});
            continue;
        }
        std::ifstream in(root / file);
        std::string text;
        for (int line = 1; std::getline(in, text); ++line) {
            std::smatch match;
            if (!std::regex_search(text, match, quotedInclude))
                continue;
            const std::string included = match[1];
            // As the compiler looks: beside the including file first, then from the root.
            std::string target = folder.empty() ? included : folder + '/' + included;
            if (!fs::exists(root / target))
                target = included;
            if (!fs::exists(root / target)) {
                found.push_back({file, line, included, "no such file in the tree"});
                continue;
            }
            const Part *to = partOf(folderOf(target), parts);
            if (!to) {
                found.push_back({file, line, included, "the included folder has no floor"});
                continue;
            }
            if (to == from || to->floor < from->floor)
                continue;
            const char *direction = to->floor == from->floor ? "across" : "upward";
            found.push_back({file, line, included, std::string(direction) + ": " + label(*from) + " includes " + label(*to)});
        }
    }
    return found;
}

std::string describe(const std::vector<Breach> &found)
{
    std::ostringstream out;
    for (const Breach &breach : found)
        out << breach.file << ':' << breach.line << " \"" << breach.included << "\": " << breach.reason << '\n';
    return out.str();
}

} // namespace layering
