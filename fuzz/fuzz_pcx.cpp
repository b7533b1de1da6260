// Feeds arbitrary bytes to the Pcx decoder: inspect, allocate, load.
#include "fuzz/fuzz_file_input.h"

using namespace vellumo::imaging;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzinput::InspectAndLoad(data, size, InspectPcx, LoadPcx);
    return 0;
}
