// Saving a picture from the picture window against libjpeg-turbo. Our side does what the
// window's Save does with a loaded 1600x1200 photograph: paint it fitted into the
// 1024x768 display box (scale), then sample, encode and write the box as a JPEG file
// through a temporary file. The reference encodes the same 1024x768 box pixels with
// libjpeg-turbo at the same settings (quality 75, 2x2 luminance, optimised Huffman
// tables) and writes them to a file too. The two sides alternate in every iteration.
#include "BenchSupport.h"
#include "JpegReference.h"
#include "pictures/PictureBox.h"
#include "pictures/PictureStore.h"
#include "platform/gdi/StdPicture.h"

#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <jpeglib.h>
#include <random>
#include <vector>

namespace {

// The work of this thread alone, which a busy machine inflates far less than the time on
// the wall; both sides run on this one thread and each is timed both ways.
double threadSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

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

    bench::PairedTimes thread, wall;
    std::vector<double> scaling;
    // Each side hands back its thread time and notes its wall time.
    double oursWall = 0, theirsWall = 0;
    const auto oursSide = [&] {
        const auto started = bench::Clock::now();
        const double start = threadSeconds();
        box.Cls();
        if (!box.PaintPicture(*picture, PictureBox::CanvasWidth, PictureBox::CanvasHeight))
            std::abort();
        scaling.push_back(threadSeconds() - start);
        pictures::storePictureFile(box.canvas(), ours);
        oursWall = bench::seconds(started);
        return threadSeconds() - start;
    };
    const auto reference = [&] {
        const auto started = bench::Clock::now();
        const double start = threadSeconds();
        saveWithLibjpeg(rgb, PictureBox::CanvasWidth, PictureBox::CanvasHeight, theirs);
        theirsWall = bench::seconds(started);
        return threadSeconds() - start;
    };
    for (auto _ : state) {
        state.SetIterationTime(thread.time(oursSide, reference));
        wall.add(oursWall, theirsWall);
    }
    thread.report(state);
    wall.report(state, "ms", "wall_");
    state.counters["scale_ms"] = bench::PairedTimes::median(scaling) * 1e3;
    state.counters["bytes"] = double(QFile(ours).size());
    state.counters["ref_bytes"] = double(QFile(theirs).size());
}

BENCHMARK(BM_SavePictureFromWindow)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace


int main(int argc, char **argv)
{
    return bench::main(argc, argv);
}
