#include "ElfNeeded.h"

#include <cstring>
#include <elf.h>
#include <fstream>
#include <iterator>

namespace layering {
namespace {

template <typename T> std::optional<T> readAt(const std::vector<char> &bytes, std::uint64_t offset)
{
    if (offset > bytes.size() || bytes.size() - offset < sizeof(T))
        return std::nullopt;
    T value;
    std::memcpy(&value, bytes.data() + offset, sizeof(T));
    return value;
}

} // namespace

std::optional<std::vector<std::string>> neededLibraries(const std::filesystem::path &file)
{
    std::ifstream in(file, std::ios::binary);
    const std::vector<char> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    const auto header = readAt<Elf64_Ehdr>(bytes, 0);
    if (!header || std::memcmp(header->e_ident, ELFMAG, SELFMAG) != 0 || header->e_ident[EI_CLASS] != ELFCLASS64)
        return std::nullopt;

    // The dynamic section names its strings by address: the loadable segments say where
    // in the file an address lies.
    std::vector<Elf64_Phdr> loads;
    std::optional<Elf64_Phdr> dynamic;
    for (unsigned i = 0; i < header->e_phnum; ++i) {
        const auto segment = readAt<Elf64_Phdr>(bytes, header->e_phoff + std::uint64_t(i) * header->e_phentsize);
        if (!segment)
            return std::nullopt;
        if (segment->p_type == PT_LOAD)
            loads.push_back(*segment);
        else if (segment->p_type == PT_DYNAMIC)
            dynamic = segment;
    }
    if (!dynamic)
        return std::vector<std::string>{};
    const auto fileOffset = [&](std::uint64_t address) -> std::optional<std::uint64_t> {
        for (const Elf64_Phdr &load : loads) {
            if (address >= load.p_vaddr && address < load.p_vaddr + load.p_filesz)
                return load.p_offset + (address - load.p_vaddr);
        }
        return std::nullopt;
    };

    std::vector<std::uint64_t> nameOffsets;
    std::optional<std::uint64_t> strings;
    for (std::uint64_t at = dynamic->p_offset; at < dynamic->p_offset + dynamic->p_filesz; at += sizeof(Elf64_Dyn)) {
        const auto entry = readAt<Elf64_Dyn>(bytes, at);
        if (!entry)
            return std::nullopt;
        if (entry->d_tag == DT_NULL)
            break;
        if (entry->d_tag == DT_NEEDED)
            nameOffsets.push_back(entry->d_un.d_val);
        else if (entry->d_tag == DT_STRTAB)
            strings = fileOffset(entry->d_un.d_ptr);
    }
    if (!nameOffsets.empty() && !strings)
        return std::nullopt;
    std::vector<std::string> names;
    for (const std::uint64_t offset : nameOffsets) {
        const std::uint64_t start = *strings + offset;
        if (start >= bytes.size())
            return std::nullopt;
        const void *end = std::memchr(bytes.data() + start, '\0', bytes.size() - start);
        if (!end)
            return std::nullopt;
        names.emplace_back(bytes.data() + start, static_cast<const char *>(end));
    }
    return names;
}

} // namespace layering
