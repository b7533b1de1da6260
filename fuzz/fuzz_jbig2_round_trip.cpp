// The JBIG2 encoder on arbitrary bitmaps: the first two bytes give the width (1..256), the
// rest are the rows (missing bytes white). The stream must decode with jbig2dec's library,
// without a warning, to exactly the bitmap given.
#include <cstdlib>
#include <vector>

#include "pdf/jbig2_encoder.h"
#include "tests/pdf/jbig2dec_decode.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    const int width = 1 + ((data[0] << 8 | data[1]) % 256);
    const size_t rowBytes = (static_cast<size_t>(width) + 7) / 8;
    data += 2;
    size -= 2;
    const int height = static_cast<int>(size / rowBytes) + (size % rowBytes ? 1 : 0);
    if (height == 0) return 0;
    std::vector<uint8_t> rows(rowBytes * height, 0);
    std::copy(data, data + size, rows.begin());
    // Bits past the width are no part of the image; the encoder must ignore them.
    std::vector<uint8_t> expected = rows;
    if (width % 8)
        for (int y = 0; y < height; ++y)
            expected[y * rowBytes + rowBytes - 1] &= static_cast<uint8_t>(0xFF00 >> (width % 8));

    vellumo::pdf::Jbig2Encoder encoder(width, height);
    for (int y = 0; y < height; ++y) encoder.encodeRow(rows.data() + y * rowBytes);
    const jbig2test::Decoded d = jbig2test::DecodeEmbedded(encoder.finish());
    if (!d.ok || !d.errors.empty() || d.width != width || d.height != height || d.rows != expected)
        std::abort();
    return 0;
}
