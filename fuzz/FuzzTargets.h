#pragma once

#include <cstddef>
#include <cstdint>

// The harnesses shared by the libFuzzer builds and the seeded driver. Each takes one input
// and aborts (after writing why to stderr) on anything but the layer's own refusals: a
// crash, an exception of another kind, or a change to the database.
namespace fuzz {

struct Target {
    const char *name;  // also the folder of its seed corpus
    void (*run)(const std::uint8_t *data, std::size_t size);
};

// The Jet dialect: the first byte picks how the rest is used (record source, FindFirst /
// FindNext on an open list, or a criterion translated and run over every contact).
void dialect(const std::uint8_t *data, std::size_t size);
// The saved column layout file, read and written back.
void columnLayout(const std::uint8_t *data, std::size_t size);
// Key strings for the key sender; the first byte sets Caps Lock.
void keyString(const std::uint8_t *data, std::size_t size);

inline constexpr Target targets[] = {
    {"dialect", dialect},
    {"qncolumn", columnLayout},
    {"keys", keyString},
};

// How many inputs the layer refused with its own run-time error so far (the rest ran).
long long refusals();

// Makes the application object and the database the dialect harness works on; call once
// before the first input.
void setUp(int *argc, char ***argv);

} // namespace fuzz
