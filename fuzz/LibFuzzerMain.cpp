// The libFuzzer entry for one harness; FUZZ_TARGET names it (see CMakeLists.txt).
#include "FuzzTargets.h"

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    fuzz::setUp(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    fuzz::FUZZ_TARGET(data, size);
    return 0;
}
