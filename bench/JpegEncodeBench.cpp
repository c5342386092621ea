// Encoding speed of the program's JPEG encoder against libjpeg-turbo, from the same
// pixels in memory, at quality 75 with 2x2 luminance sampling and optimised Huffman
// tables. Prints each size's time ratio and megapixels per second at the end.
#include "JpegReference.h"
#include "pictures/cImage.h"
#include "pictures/cJpeg.h"

#include <benchmark/benchmark.h>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <jpeglib.h>
#include <map>
#include <random>
#include <string>
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

void setCounters(benchmark::State &state, const Picture &p, std::size_t bytes)
{
    state.counters["MPix/s"] =
        benchmark::Counter(double(p.width) * p.height / 1e6, benchmark::Counter::kIsIterationInvariantRate);
    state.counters["bytes"] = double(bytes);
}

void BM_Ours(benchmark::State &state)
{
    const Picture &p = picture(int(state.range(0)), int(state.range(1)));
    std::size_t bytes = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(bytes = encodeOurs(p));
    setCounters(state, p, bytes);
}

void BM_Libjpeg(benchmark::State &state, J_DCT_METHOD method)
{
    const Picture &p = picture(int(state.range(0)), int(state.range(1)));
    std::size_t bytes = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(bytes = encodeReference(p, method));
    setCounters(state, p, bytes);
}

BENCHMARK(BM_Ours)->Args({1024, 768})->Args({4000, 3000})->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Libjpeg, float, JDCT_FLOAT)
    ->Args({1024, 768})
    ->Args({4000, 3000})
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Libjpeg, islow, JDCT_ISLOW)
    ->Args({1024, 768})
    ->Args({4000, 3000})
    ->Unit(benchmark::kMillisecond);

// Keeps each run's time per iteration so that the ratios can be printed at the end.
class RatioReporter : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run> &runs) override
    {
        for (const Run &run : runs)
            if (run.run_type == Run::RT_Iteration && !run.error_occurred)
                times[run.benchmark_name()] = run.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> times;
};

double pixels(const std::string &size)
{
    const auto slash = size.find('/');
    return std::stod(size.substr(0, slash)) * std::stod(size.substr(slash + 1));
}

} // namespace

int main(int argc, char **argv)
{
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    for (const char *size : {"1024/768", "4000/3000"}) {
        const auto ours = reporter.times.find(std::string("BM_Ours/") + size);
        if (ours == reporter.times.end())
            continue;
        for (const char *method : {"float", "islow"}) {
            const auto theirs = reporter.times.find(std::string("BM_Libjpeg/") + method + "/" + size);
            if (theirs != reporter.times.end())
                std::printf("%s: ours / libjpeg-turbo (%s DCT) time = %.2f, ours %.1f MPix/s\n", size, method,
                            ours->second / theirs->second, pixels(size) / ours->second / 1e3);
        }
    }
    benchmark::Shutdown();
    return 0;
}
