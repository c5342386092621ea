#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace layering {

// The libraries a 64-bit ELF program or library names as needed (its DT_NEEDED entries),
// in the order it lists them; no value when the file is not such a program or is cut short.
std::optional<std::vector<std::string>> neededLibraries(const std::filesystem::path &file);

} // namespace layering
