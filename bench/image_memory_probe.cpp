// Loads one image file the way LOAD PAGE does and prints the size of the decoded picture in
// bytes (its pixel rows), so that bench/image_memory.sh can set the peak memory of the load
// against it. Exit status 1 when the file is refused.
#include <cstdio>

#include "imaging/codecs.h"
#include "platform/memory_policy.h"

using namespace vellumo::imaging;

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: image_memory_probe FILE\n");
        return 2;
    }
    vellumo::platform::ReturnLargeBlocksToTheSystem();  // as the program does
    ImageBuffer image{};
    if (ReadImageFile(argv[1], image) != 0) {
        std::fprintf(stderr, "%s: %s\n", argv[1], ImageFileProblem().c_str());
        return 1;
    }
    std::printf("%llu\n", static_cast<unsigned long long>(image.rowBytes) *
                              static_cast<unsigned long long>(ImageHeight(image)));
    FreeImage(image);
    return 0;
}
