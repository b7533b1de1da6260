// Our PDF reader on hostile input: cross-reference data, object streams, the page tree, page
// content and the decoding of page images (without Poppler, whose robustness is its own).
#include <cstdint>

#include "fuzz_file_input.h"
#include "imaging/imaging.h"
#include "pdf/page_image.h"
#include "pdf/pdf_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzinput::MemoryFile file(data, size);
    if (!file.ok()) return 0;
    std::shared_ptr<vellumo::pdf::PdfDocument> doc;
    std::string reason;
    if (vellumo::pdf::PdfDocument::open(file.path(), doc, reason) != vellumo::pdf::PdfStatus::Ok)
        return 0;
    for (int i = 0; i < doc->pageCount() && i < 8; ++i) {
        vellumo::pdf::PageImage image;
        if (!vellumo::pdf::FindPageImage(*doc, i, image)) continue;
        if (static_cast<uint64_t>(image.width) * image.height * 3 > fuzzinput::kMaxFuzzPixelBytes)
            continue;
        vellumo::imaging::ImageBuffer pixels{};
        if (vellumo::pdf::DecodePageImage(*doc, image, pixels, reason)) FreeImage(pixels);
    }
    return 0;
}
