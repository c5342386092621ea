#pragma once

// What the JPEG benchmarks share: a picture like a photograph, and libjpeg-turbo encoding
// pixels with the program's own settings, as the reference to measure against.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <jpeglib.h>
#include <random>
#include <vector>

namespace benchjpeg {

// Shading, shapes, texture and grain, so that the coded size is like a photograph's.
// Top-down red, green, blue bytes.
inline std::vector<std::uint8_t> photograph(int width, int height)
{
    std::vector<std::uint8_t> rgb(std::size_t(width) * std::size_t(height) * 3);
    std::mt19937 random(42);
    std::uniform_int_distribution<int> grain(-4, 4);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const double fx = double(x) / width, fy = double(y) / height;
            double r = 60 + 120 * fy, g = 110 + 80 * fy, b = 200 - 90 * fy;
            if (std::hypot(fx - 0.6, fy - 0.4) < 0.25) {
                r = 220 - 40 * fx;
                g = 150 + 30 * std::sin(y * 0.05);
                b = 60;
            }
            if (fy > 0.66) {
                const double t = 25 * std::sin(x * 0.9 + std::sin(y * 0.3) * 2) * std::cos(y * 0.7);
                r = 70 + t;
                g = 120 + t * 1.2;
                b = 50 + t * 0.5;
            }
            std::uint8_t *q = &rgb[(std::size_t(y) * std::size_t(width) + std::size_t(x)) * 3];
            q[0] = std::uint8_t(std::clamp(int(r) + grain(random), 0, 255));
            q[1] = std::uint8_t(std::clamp(int(g) + grain(random), 0, 255));
            q[2] = std::uint8_t(std::clamp(int(b) + grain(random), 0, 255));
        }
    }
    return rgb;
}

// Quality 75, luminance sampled 2 by 2, Huffman tables optimised for the picture.
// The file's bytes go to out (which the caller frees with std::free); returns its size.
inline unsigned long encode(const std::vector<std::uint8_t> &rgb, int width, int height, J_DCT_METHOD method,
                            unsigned char **out)
{
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr errors{};
    cinfo.err = jpeg_std_error(&errors);
    jpeg_create_compress(&cinfo);
    unsigned long size = 0;
    *out = nullptr;
    jpeg_mem_dest(&cinfo, out, &size);
    cinfo.image_width = JDIMENSION(width);
    cinfo.image_height = JDIMENSION(height);
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 75, TRUE);
    cinfo.optimize_coding = TRUE;
    cinfo.dct_method = method;
    cinfo.comp_info[0].h_samp_factor = 2;
    cinfo.comp_info[0].v_samp_factor = 2;
    jpeg_start_compress(&cinfo, TRUE);
    const std::size_t rowBytes = std::size_t(width) * 3;
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(rgb.data() + rowBytes * cinfo.next_scanline);
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    return size;
}

} // namespace benchjpeg
