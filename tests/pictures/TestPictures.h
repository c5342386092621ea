#pragma once

#include "pictures/cImage.h"

#include <QByteArray>
#include <QColor>
#include <cstdint>
#include <memory>
#include <vector>

// Pictures for the encoder's tests, as top-down RGB bytes and as a 24-bit cImage.
namespace testpictures {

// A PNG of one colour whose lower half of image data was zeroed after its data checksum was
// taken, every chunk checksum right: it decodes with its lower half black, and only the data
// checksum, checked after the last row, tells of the damage.
QByteArray pngWithLowerHalfLost(int width, int height, QColor colour);

// Smooth shading, soft-edged shapes, fine texture and a little grain, like a photograph.
std::vector<std::uint8_t> photoLike(int width, int height, std::uint32_t seed = 1);
// Every byte random.
std::vector<std::uint8_t> noise(int width, int height, std::uint32_t seed = 7);

std::unique_ptr<cImage> imageOf(const std::vector<std::uint8_t> &rgb, int width, int height);
std::vector<std::uint8_t> greyOf(const std::vector<std::uint8_t> &rgb);

// The luminance PSNR in dB of a decoded picture (RGB, or grey when decodedComponents is 1).
double psnrY(const std::vector<std::uint8_t> &originalRgb, const std::vector<std::uint8_t> &decoded,
             int decodedComponents);

} // namespace testpictures
