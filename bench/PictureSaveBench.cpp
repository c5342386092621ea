// Saving a picture from the picture window against libjpeg-turbo. Our side does what the
// window's Save does with a loaded 1600x1200 photograph: paint it fitted into the
// 1024x768 display box (scale), then sample, encode and write the box as a JPEG file
// through a temporary file. The reference encodes the same 1024x768 box pixels with
// libjpeg-turbo at the same settings (quality 75, 2x2 luminance, optimised Huffman
// tables) and writes them to a file too. The two sides alternate in every iteration.
#include "JpegReference.h"
#include "pictures/PictureBox.h"
#include "pictures/PictureStore.h"
#include "platform/gdi/StdPicture.h"

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <jpeglib.h>
#include <random>
#include <vector>

namespace {

// The work of this thread alone: the machine may be busy with other programs, and
// both sides run on this one thread.
struct Clock {
    using duration = std::chrono::nanoseconds;
    using time_point = std::chrono::time_point<Clock, duration>;
    static time_point now()
    {
        timespec t{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
        return time_point(duration(std::int64_t(t.tv_sec) * 1000000000 + t.tv_nsec));
    }
};

QImage photograph(int width, int height)
{
    const std::vector<std::uint8_t> rgb = benchjpeg::photograph(width, height);
    QImage image(width, height, QImage::Format_RGB888);
    for (int y = 0; y < height; ++y)
        std::memcpy(image.scanLine(y), rgb.data() + std::size_t(y) * std::size_t(width) * 3,
                    std::size_t(width) * 3);
    return image;
}

void saveWithLibjpeg(const std::vector<std::uint8_t> &rgb, int width, int height, const QString &path)
{
    unsigned char *buffer = nullptr;
    const unsigned long size = benchjpeg::encode(rgb, width, height, JDCT_FLOAT, &buffer);
    QFile::remove(path);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(reinterpret_cast<const char *>(buffer), qint64(size)) != qint64(size))
        std::abort();
    file.close();
    std::free(buffer);
}

double seconds(Clock::duration d)
{
    return std::chrono::duration<double>(d).count();
}

void BM_SavePictureFromWindow(benchmark::State &state)
{
    QTemporaryDir folder;
    const QString ours = folder.filePath(QStringLiteral("Pictures/ours.jpg"));
    const QString theirs = folder.filePath(QStringLiteral("Pictures/theirs.jpg"));
    const auto picture = platform::StdPicture::FromImage(photograph(1600, 1200));
    PictureBox box;

    // The reference encodes the very pixels the box holds once the picture is fitted.
    box.Cls();
    if (!box.PaintPicture(*picture, PictureBox::CanvasWidth, PictureBox::CanvasHeight))
        std::abort();
    const QImage boxPixels = box.image().convertToFormat(QImage::Format_RGB888);
    std::vector<std::uint8_t> rgb;
    for (int y = 0; y < boxPixels.height(); ++y)
        rgb.insert(rgb.end(), boxPixels.constScanLine(y), boxPixels.constScanLine(y) + boxPixels.width() * 3);

    double oursTotal = 0, scaleTotal = 0, theirsTotal = 0, oursWall = 0, theirsWall = 0;
    for (auto _ : state) {
        const auto wallStart = std::chrono::steady_clock::now();
        const auto start = Clock::now();
        box.Cls();
        if (!box.PaintPicture(*picture, PictureBox::CanvasWidth, PictureBox::CanvasHeight))
            std::abort();
        const auto painted = Clock::now();
        pictures::storePictureFile(box.canvas(), ours);
        const auto stored = Clock::now();
        const auto wallStored = std::chrono::steady_clock::now();
        saveWithLibjpeg(rgb, PictureBox::CanvasWidth, PictureBox::CanvasHeight, theirs);
        const auto referenced = Clock::now();
        const auto wallReferenced = std::chrono::steady_clock::now();
        oursWall += std::chrono::duration<double>(wallStored - wallStart).count();
        theirsWall += std::chrono::duration<double>(wallReferenced - wallStored).count();

        state.SetIterationTime(seconds(stored - start));
        oursTotal += seconds(stored - start);
        scaleTotal += seconds(painted - start);
        theirsTotal += seconds(referenced - stored);
    }
    const double n = double(state.iterations());
    state.counters["ours_ms"] = oursTotal / n * 1e3;
    state.counters["scale_ms"] = scaleTotal / n * 1e3;
    state.counters["libjpeg_ms"] = theirsTotal / n * 1e3;
    state.counters["ratio"] = oursTotal / theirsTotal;
    state.counters["wall_ratio"] = oursWall / theirsWall;
    state.counters["ours_bytes"] = double(QFile(ours).size());
    state.counters["libjpeg_bytes"] = double(QFile(theirs).size());
    std::printf("save 1024x768 from the window / libjpeg-turbo encode and write = %.2f in thread time, %.2f in "
                "wall time (ours %.1f ms of which scaling %.1f ms, libjpeg-turbo %.1f ms)\n",
                oursTotal / theirsTotal, oursWall / theirsWall, oursTotal / n * 1e3, scaleTotal / n * 1e3,
                theirsTotal / n * 1e3);
}

BENCHMARK(BM_SavePictureFromWindow)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
