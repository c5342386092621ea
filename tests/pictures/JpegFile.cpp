#include "JpegFile.h"

namespace jpegfile {

namespace {

std::size_t endOfCodedData(const std::vector<std::uint8_t> &file, std::size_t p)
{
    while (p + 1 < file.size()) {
        if (file[p] == 0xFF && file[p + 1] != 0x00 && !(file[p + 1] >= 0xD0 && file[p + 1] <= 0xD7))
            return p;
        ++p;
    }
    return file.size();
}

} // namespace

std::vector<Segment> segments(const std::vector<std::uint8_t> &file)
{
    std::vector<Segment> result;
    if (file.size() < 2 || file[0] != 0xFF || file[1] != 0xD8)
        return result;
    result.push_back(Segment{0xD8, 0, 0, {}});
    std::size_t p = 2;
    while (p + 1 < file.size()) {
        if (file[p] != 0xFF)
            return {};
        Segment s;
        s.marker = file[p + 1];
        s.offset = p;
        if (s.marker == 0xD9) {
            result.push_back(s);
            return result;
        }
        if (p + 3 >= file.size())
            return {};
        s.length = (file[p + 2] << 8) | file[p + 3];
        if (p + 2 + std::size_t(s.length) > file.size() || s.length < 2)
            return {};
        s.body.assign(file.begin() + std::ptrdiff_t(p + 4),
                      file.begin() + std::ptrdiff_t(p + 2 + std::size_t(s.length)));
        p += 2 + std::size_t(s.length);
        if (s.marker == 0xDA)
            p = endOfCodedData(file, p);
        result.push_back(std::move(s));
    }
    return {};
}

std::vector<std::uint8_t> codedDataAfter(const std::vector<std::uint8_t> &file, const Segment &sos)
{
    const std::size_t start = sos.offset + 2 + std::size_t(sos.length);
    const std::size_t end = endOfCodedData(file, start);
    return std::vector<std::uint8_t>(file.begin() + std::ptrdiff_t(start),
                                     file.begin() + std::ptrdiff_t(end));
}

} // namespace jpegfile
