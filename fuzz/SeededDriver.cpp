// Runs the harnesses without libFuzzer: inputs made by mutating a seed corpus with a fixed
// pseudo-random seed, so that a run is repeatable and a finding can be replayed.
//   fuzz_driver [--target NAME] [--inputs N] [--seed S] [--corpus DIR] [FILE...]
// With files, each is run once through the chosen target (a replay).

#include "FuzzTargets.h"

#include <QDir>
#include <QFile>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

using Bytes = std::string;

// Pieces that make inputs interesting for every target: the dialect's words and
// punctuation, numbers at the edges of their ranges, key string syntax, file quoting.
const char *const Tokens[] = {
    " Or ", " And ", " Not ", "(", ")", "'", "\"", "#", "&", " & ", "+", "-", "*", "/", "\\", "^", " Mod ",
    " Like ", " Between ", " In (", ", ", "=", "<>", "<=", "[", "]", "1e300", "-1e300", "4294967297",
    "2147483648", "9.2e18", "2958466", "Null", "Mid('abcdef', ", "DateAdd('yyyy', ", "DateSerial(",
    "DateDiff('s', ", "Year(", "Format(", "IIf(", "Nz(", "CInt(", "Space(", "String(", "Replace(",
    "LastName", "First_City", "RecordID", "Date1", "tblContacts", "Select * from ", " Where ", " Order By ",
    "Delete from tblContacts", "Update tblContacts Set LastName = 'x'", ";", "{", "}", "~", "%", "^",
    " 32767}", "{ENTER ", "{a 99999}", "\r\n", ",", "\"\"", "1440", "-1", "\xC3\xA9", "\x00",
};

class Mutator {
  public:
    explicit Mutator(unsigned seed) : mRandom(seed) {}

    std::size_t below(std::size_t n) { return n == 0 ? 0 : std::size_t(mRandom() % n); }

    Bytes mutate(const std::vector<Bytes> &seeds)
    {
        Bytes b = seeds.empty() ? Bytes() : seeds[below(seeds.size())];
        const std::size_t rounds = 1 + below(8);
        for (std::size_t r = 0; r < rounds; ++r) {
            switch (below(7)) {
            case 0: // flip a byte
                if (!b.empty())
                    b[below(b.size())] = char(mRandom());
                break;
            case 1: // insert a byte
                b.insert(b.begin() + std::ptrdiff_t(below(b.size() + 1)), char(mRandom()));
                break;
            case 2:
            case 3: { // insert a token
                const char *t = Tokens[below(std::size(Tokens))];
                b.insert(below(b.size() + 1), t, std::max<std::size_t>(1, std::strlen(t)));
                break;
            }
            case 4: // drop a run
                if (!b.empty()) {
                    const std::size_t at = below(b.size());
                    b.erase(at, 1 + below(std::min<std::size_t>(16, b.size() - at)));
                }
                break;
            case 5: { // repeat a run, which grows long chains
                if (b.empty())
                    break;
                const std::size_t at = below(b.size());
                const Bytes run = b.substr(at, 1 + below(std::min<std::size_t>(40, b.size() - at)));
                const std::size_t times = 1 + below(below(4) == 0 ? 300 : 8);
                for (std::size_t i = 0; i < times && b.size() < 64 * 1024; ++i)
                    b.insert(at, run);
                break;
            }
            default: // splice another seed
                if (!seeds.empty()) {
                    const Bytes &other = seeds[below(seeds.size())];
                    b = b.substr(0, below(b.size() + 1)) + other.substr(below(other.size() + 1));
                }
                break;
            }
        }
        return b;
    }

  private:
    std::mt19937 mRandom;
};

std::vector<Bytes> seedsOf(const QString &folder)
{
    std::vector<Bytes> seeds;
    const QDir dir(folder);
    for (const QString &name : dir.entryList(QDir::Files, QDir::Name)) {
        QFile file(dir.filePath(name));
        if (file.open(QIODevice::ReadOnly))
            seeds.push_back(file.readAll().toStdString());
    }
    return seeds;
}

} // namespace

int main(int argc, char **argv)
{
    std::string only;
    long long inputs = 1000;
    unsigned seed = 1;
    QString corpus;
    std::vector<std::string> replay;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--target" && hasValue)
            only = argv[++i];
        else if (arg == "--inputs" && hasValue)
            inputs = std::stoll(argv[++i]);
        else if (arg == "--seed" && hasValue)
            seed = unsigned(std::stoul(argv[++i]));
        else if (arg == "--corpus" && hasValue)
            corpus = QString::fromLocal8Bit(argv[++i]);
        else
            replay.push_back(arg);
    }
    fuzz::setUp(&argc, &argv);

    bool known = only.empty();
    for (const fuzz::Target &target : fuzz::targets) {
        if (!only.empty() && only != target.name)
            continue;
        known = true;
        if (!replay.empty()) {
            for (const std::string &path : replay) {
                QFile file(QString::fromLocal8Bit(path.c_str()));
                if (!file.open(QIODevice::ReadOnly)) {
                    std::fprintf(stderr, "cannot read %s\n", path.c_str());
                    return 2;
                }
                const QByteArray bytes = file.readAll();
                target.run(reinterpret_cast<const std::uint8_t *>(bytes.constData()), std::size_t(bytes.size()));
            }
            continue;
        }
        const std::vector<Bytes> seeds = seedsOf(corpus + u'/' + QLatin1String(target.name));
        Mutator mutator(seed);
        const long long refusedBefore = fuzz::refusals();
        const auto start = std::chrono::steady_clock::now();
        // Every seed runs as it is first, then the mutations.
        for (const Bytes &s : seeds)
            target.run(reinterpret_cast<const std::uint8_t *>(s.data()), s.size());
        const long long seedsRefused = fuzz::refusals() - refusedBefore;
        for (long long n = 0; n < inputs; ++n) {
            const Bytes input = mutator.mutate(seeds);
            target.run(reinterpret_cast<const std::uint8_t *>(input.data()), input.size());
        }
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        std::printf("%s: %lld inputs from %zu seeds (%lld refused) in %.2f s (%.0f inputs/s), "
                    "%lld refused by the layer\n",
                    target.name, inputs + (long long)seeds.size(), seeds.size(), seedsRefused, seconds,
                    double(inputs + (long long)seeds.size()) / std::max(seconds, 1e-9),
                    fuzz::refusals() - refusedBefore);
    }
    if (!known) {
        std::fprintf(stderr, "no target named %s\n", only.c_str());
        return 2;
    }
    return 0;
}
