#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

// The reference codec, for checking what the encoder writes: libjpeg decodes our files
// and encodes the same pixels for comparison.
namespace libjpeg {

struct Decoded {
    bool ok = false;
    std::string error; // the fatal error, when not ok
    int warnings = 0;
    std::vector<std::string> warningTexts;
    int width = 0, height = 0, components = 0;
    bool jfif = false;
    int jfifMajor = 0, jfifMinor = 0, densityUnit = -1, xDensity = 0, yDensity = 0;
    std::vector<std::string> comments;
    std::vector<std::array<int, 2>> sampling;          // per component: H, V
    std::vector<int> quantTableOf;                     // per component
    std::array<std::array<int, 64>, 4> quantNatural{}; // row order
    std::array<bool, 4> quantPresent{};
    std::vector<std::uint8_t> pixels; // RGB (or grey), top-down
};

Decoded decode(const std::vector<std::uint8_t> &file);

// Quantised coefficients as stored in the file, per component: blocks in raster order,
// each 64 values in row order.
struct Coefficients {
    bool ok = false;
    int warnings = 0;
    std::vector<int> blocksWide, blocksHigh;
    std::vector<std::vector<std::int16_t>> blocks;
};
Coefficients readCoefficients(const std::vector<std::uint8_t> &file);

// Encodes top-down RGB pixels (or grey when components is 1) with optimised Huffman
// tables, the floating-point transform and the given sampling factors (H1, V1, H2, V2,
// H3, V3). Given tables (row order) replace those the quality would make.
using QuantTables = std::array<std::array<unsigned, 64>, 2>;
std::vector<std::uint8_t> encode(const std::vector<std::uint8_t> &pixels, int width, int height,
                                 int components, int quality, const std::array<int, 6> &sampling,
                                 const QuantTables *tables = nullptr);

} // namespace libjpeg
