// Decodes an embedded JBIG2 stream (as a PDF holds it) with jbig2dec's library, the decoder of
// Ghostscript and MuPDF, into packed rows (1 = black). Shared by the encoder tests and the
// round-trip fuzz target.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

extern "C" {
#include <jbig2.h>
}

namespace jbig2test {

struct Decoded {
    bool ok = false;
    int width = 0, height = 0;
    std::vector<uint8_t> rows;  // (width + 7) / 8 bytes a row
    std::string errors;         // the decoder's warnings and errors
};

inline void CollectErrors(void* data, const char* message, Jbig2Severity severity, uint32_t) {
    if (severity >= JBIG2_SEVERITY_WARNING)
        *static_cast<std::string*>(data) += message + std::string("\n");
}

inline Decoded DecodeEmbedded(const std::vector<uint8_t>& stream) {
    Decoded d;
    Jbig2Ctx* ctx =
        jbig2_ctx_new(nullptr, JBIG2_OPTIONS_EMBEDDED, nullptr, CollectErrors, &d.errors);
    if (!ctx) return d;
    if (jbig2_data_in(ctx, stream.data(), stream.size()) == 0 && jbig2_complete_page(ctx) == 0) {
        if (Jbig2Image* image = jbig2_page_out(ctx)) {
            d.width = static_cast<int>(image->width);
            d.height = static_cast<int>(image->height);
            const size_t rowBytes = (image->width + 7) / 8;
            d.rows.resize(rowBytes * image->height);
            for (uint32_t y = 0; y < image->height; ++y)
                std::memcpy(d.rows.data() + y * rowBytes, image->data + y * image->stride,
                            rowBytes);
            // Bits past the width are not part of the image.
            if (image->width % 8)
                for (uint32_t y = 0; y < image->height; ++y)
                    d.rows[y * rowBytes + rowBytes - 1] &=
                        static_cast<uint8_t>(0xFF00 >> (image->width % 8));
            d.ok = true;
            jbig2_release_page(ctx, image);
        }
    }
    jbig2_ctx_free(ctx);
    return d;
}

}  // namespace jbig2test
