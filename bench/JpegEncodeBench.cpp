// Encoding speed of the program's JPEG encoder against libjpeg-turbo, from the same
// pixels in memory, at quality 75 with 2x2 luminance sampling and optimised Huffman
// tables; "ratio" is the median of ours/libjpeg-turbo over repetitions timed in turn.
#include "BenchSupport.h"
#include "JpegReference.h"

#include "pictures/cImage.h"
#include "pictures/cJpeg.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <vector>

namespace {

struct Picture {
    int width = 0, height = 0;
    std::vector<std::uint8_t> rgb; // top-down, for the reference
    std::unique_ptr<cImage> image; // the same pixels, for ours
};

Picture makePicture(int width, int height)
{
    Picture p;
    p.width = width;
    p.height = height;
    p.rgb = benchjpeg::photograph(width, height);
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
    unsigned char *buffer = nullptr;
    const unsigned long size = benchjpeg::encode(p.rgb, p.width, p.height, method, &buffer);
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
