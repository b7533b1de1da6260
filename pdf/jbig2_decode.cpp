// JBIG2 images of PDF pages through jbig2dec. jbig2.h comes last: it needs the C integer types
// and defines macros that must not reach other headers.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "imaging/image_buffer.h"
#include "pdf/page_image.h"

#include <jbig2.h>
#undef inline

namespace vellumo::pdf {

using namespace vellumo::imaging;

bool DecodeJbig2(std::string_view data, std::string_view globals, int width, int height,
                 ImageBuffer& out, std::string& reason) {
    auto onError = [](void*, const char*, Jbig2Severity, uint32_t) {};
    Jbig2GlobalCtx* globalCtx = nullptr;
    if (!globals.empty()) {
        Jbig2Ctx* g = jbig2_ctx_new(nullptr, JBIG2_OPTIONS_EMBEDDED, nullptr, onError, nullptr);
        if (!g) {
            reason = "not enough memory";
            return false;
        }
        jbig2_data_in(g, reinterpret_cast<const unsigned char*>(globals.data()), globals.size());
        globalCtx = jbig2_make_global_ctx(g);
    }
    Jbig2Ctx* ctx = jbig2_ctx_new(nullptr, JBIG2_OPTIONS_EMBEDDED, globalCtx, onError, nullptr);
    bool ok = false;
    if (ctx) {
        jbig2_data_in(ctx, reinterpret_cast<const unsigned char*>(data.data()), data.size());
        jbig2_complete_page(ctx);
        Jbig2Image* page = jbig2_page_out(ctx);
        if (page && static_cast<int>(page->width) == width &&
            static_cast<int>(page->height) >= height && AllocateImage(out, width, height, 1) == 0) {
            const size_t rowBytes = (static_cast<size_t>(width) + 7) / 8;
            for (int y = 0; y < height; ++y) {
                uint8_t* row = RowPointer(out, static_cast<uint32_t>(y));
                const uint8_t* src = page->data + static_cast<size_t>(y) * page->stride;
                // JBIG2 has 1 = black; the image's entry 0 is black.
                for (size_t i = 0; i < rowBytes; ++i) row[i] = static_cast<uint8_t>(~src[i]);
                if (width % 8) row[rowBytes - 1] &= static_cast<uint8_t>(0xFF << (8 - width % 8));
            }
            ok = true;
        } else {
            reason = page ? "the JBIG2 page has the wrong size" : "the JBIG2 data is damaged";
        }
        if (page) jbig2_release_page(ctx, page);
        jbig2_ctx_free(ctx);
    } else {
        reason = "not enough memory";
    }
    if (globalCtx) jbig2_global_ctx_free(globalCtx);
    return ok;
}

}  // namespace vellumo::pdf
