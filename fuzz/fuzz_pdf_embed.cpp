// Feeds arbitrary bytes to the PDF embedding of an image file, the way "SAVE AS PDF" meets a
// page file: every path the PDF writer has (JPEG pass-through with its check and lossless turn,
// PNG data copy, TIFF strip copy and streaming, the loader for everything else), then the JPEG
// recompression of a build with compression on. Sizes the file claims must be bounded by the
// file itself: an allocation beyond that is a finding (see -rss_limit_mb and -malloc_limit_mb).
#include <cstdio>
#include <string>

#include "fuzz/fuzz_file_input.h"
#include "pdf/image_embed.h"
#include "pdf/jpeg_requantize.h"

using namespace vellumo::imaging;
using namespace vellumo::pdf;

namespace {
// The decoders have fuzzers of their own for large pictures; here a legitimately large one
// only costs time that the embedding paths could use.
constexpr uint64_t kLargestFuzzedPicture = uint64_t{4} << 20;
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzinput::MemoryFile file(data, size);
    if (!file.ok()) return 0;
    // Claims the file cannot back are refused before anything is allocated for them; that is
    // what this target looks for, whatever the picture's size.
    ImageFileInfo info;
    if (DetectImageFormat(file.path(), &info) != ImageFormat::None &&
        uint64_t(info.width) * uint64_t(info.height) * 4 > kLargestFuzzedPicture)
        return 0;
    std::FILE* sink = std::fopen("/dev/null", "wb");
    if (!sink) return 0;
    // The first page as the program embeds every file, and a second one as a multi-page TIFF
    // or a PDF brought in has, with the writer's own choice of coding for bilevel pages.
    for (int page : {0, 1}) {
        PdfWriter writer(sink);
        EmbeddedImage image;
        std::string error;
        EmbedImagePage(writer, writer.reserveObject(), file.path(), page, "", EmbedOptions{},
                       image, error);
    }
    std::fclose(sink);
    // The recompressed copy goes to a second in-memory file.
    fuzzinput::MemoryFile copy(nullptr, 0);
    if (copy.ok()) RequantizeJpeg(file.path(), copy.path(), 50, 150, 150);
    return 0;
}
