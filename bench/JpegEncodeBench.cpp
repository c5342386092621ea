// Encoding speed of the program's JPEG encoder against libjpeg-turbo, from the same
// pixels in memory, at quality 75 with 2x2 luminance sampling and optimised Huffman
// tables; "ratio" is the median of ours/libjpeg-turbo over repetitions timed in turn.
#include "BenchSupport.h"

#include "pictures/cImage.h"
#include "pictures/cJpeg.h"

#include <benchmark/benchmark.h>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <jpeglib.h>
#include <map>
#include <random>
#include <vector>

namespace {

struct Picture {
    int width = 0, height = 0;
    std::vector<std::uint8_t> rgb; // top-down, for the reference
    std::unique_ptr<cImage> image; // the same pixels, for ours
};

// Shading, shapes, texture and grain, so that the coded size is like a photograph's.
Picture makePicture(int width, int height)
{
    Picture p;
    p.width = width;
    p.height = height;
    p.rgb.resize(std::size_t(width) * std::size_t(height) * 3);
    std::mt19937 random(42);
    std::uniform_int_distribution<int> grain(-4, 4);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const double fx = double(x) / width, fy = double(y) / height;
            double r = 60 + 120 * fy, g = 110 + 80 * fy, b = 200 - 90 * fy;
            const double d = std::hypot(fx - 0.6, fy - 0.4);
            if (d < 0.25) {
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
            std::uint8_t *q = &p.rgb[(std::size_t(y) * std::size_t(width) + std::size_t(x)) * 3];
            q[0] = std::uint8_t(std::clamp(int(r) + grain(random), 0, 255));
            q[1] = std::uint8_t(std::clamp(int(g) + grain(random), 0, 255));
            q[2] = std::uint8_t(std::clamp(int(b) + grain(random), 0, 255));
        }
    }
    p.image = std::make_unique<cImage>();
    if (!p.image->Create(width, height, 24))
        std::abort();
    const int stride = p.image->BytesPerScanLine();
    for (int y = 0; y < height; ++y) {
        std::uint8_t *row = p.image->DIBitsPtr() + std::size_t(height - 1 - y) * std::size_t(stride);
        for (int x = 0; x < width; ++x) {
            const std::uint8_t *q = &p.rgb[(std::size_t(y) * std::size_t(width) + std::size_t(x)) * 3];
            row[x * 3] = q[2];
            row[x * 3 + 1] = q[1];
            row[x * 3 + 2] = q[0];
        }
    }
    return p;
}

const Picture &picture(int width, int height)
{
    static std::map<std::pair<int, int>, Picture> pictures;
    auto it = pictures.find({width, height});
    if (it == pictures.end())
        it = pictures.emplace(std::make_pair(width, height), makePicture(width, height)).first;
    return it->second;
}

std::size_t encodeOurs(const Picture &p)
{
    cJpeg encoder;
    encoder.SetSamplingFrequencies(2, 2, 1, 1, 1, 1);
    encoder.SetQuality(75);
    if (encoder.SampleHDC(p.image->hdc(), p.width, p.height) != 0)
        std::abort();
    return encoder.FileBytes().size();
}

std::size_t encodeReference(const Picture &p, J_DCT_METHOD method)
{
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr errors{};
    cinfo.err = jpeg_std_error(&errors);
    jpeg_create_compress(&cinfo);
    unsigned char *buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = JDIMENSION(p.width);
    cinfo.image_height = JDIMENSION(p.height);
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 75, TRUE);
    cinfo.optimize_coding = TRUE;
    cinfo.dct_method = method;
    cinfo.comp_info[0].h_samp_factor = 2;
    cinfo.comp_info[0].v_samp_factor = 2;
    jpeg_start_compress(&cinfo, TRUE);
    const std::size_t rowBytes = std::size_t(p.width) * 3;
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(p.rgb.data() + rowBytes * cinfo.next_scanline);
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    std::free(buffer);
    return size;
}

// Ours against libjpeg-turbo with one DCT method, the two encoding in turn in every
// repetition, so both meet the same machine conditions.
void EncodeAgainstLibjpeg(benchmark::State &state, J_DCT_METHOD method)
{
    const Picture &p = picture(int(state.range(0)), int(state.range(1)));
    bench::PairedTimes times;
    std::size_t ours = 0, theirs = 0;
    for (auto _ : state)
        state.SetIterationTime(
            times.time([&] { ours = encodeOurs(p); }, [&] { theirs = encodeReference(p, method); }));
    times.report(state);
    state.counters["bytes"] = double(ours);
    state.counters["ref_bytes"] = double(theirs);
    state.counters["MPix/s"] = benchmark::Counter(double(p.width) * p.height / 1e6,
                                                  benchmark::Counter::kIsIterationInvariantRate);
}

BENCHMARK_CAPTURE(EncodeAgainstLibjpeg, islow, JDCT_ISLOW)
    ->Args({1024, 768})
    ->Args({4000, 3000})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(EncodeAgainstLibjpeg, float, JDCT_FLOAT)
    ->Args({1024, 768})
    ->Args({4000, 3000})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    return bench::main(argc, argv);
}
