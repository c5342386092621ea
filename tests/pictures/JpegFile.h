#pragma once

#include <cstdint>
#include <vector>

// The segments of a JPEG file in order, for checking its layout byte by byte.
namespace jpegfile {

struct Segment {
    std::uint8_t marker = 0;        // the byte after FF
    std::size_t offset = 0;         // of the FF
    int length = 0;                 // the segment's length field, 0 for SOI and EOI
    std::vector<std::uint8_t> body; // the bytes after the length field
};

// Walks the markers, skipping the coded data after each SOS. Empty when the file does
// not start with SOI or a segment runs past the end.
std::vector<Segment> segments(const std::vector<std::uint8_t> &file);

// The coded data that follows an SOS segment up to the next marker, stuffing included.
std::vector<std::uint8_t> codedDataAfter(const std::vector<std::uint8_t> &file, const Segment &sos);

} // namespace jpegfile
