// Encapsulated PostScript: the working area as hexadecimal image data. Grey images (8-bit
// with the grey ramp) use the one-component "image" operator; every other image goes through
// "colorimage" with red, green and blue per pixel. 1-bit images are written as grey bytes
// (0 and 255) when their two colours are black and white, else as colour through their
// table; 16- and 32-bit images as colour.
#include <cstdio>
#include <string>
#include <vector>

#include "imaging/codec_common.h"
#include "imaging/codecs.h"

namespace vellumo::imaging {

int SaveEps(const char* file, const ImageBuffer& image) {
    if (int rc = codec::CheckSaveSource(image)) return rc;
    const bool grey = codec::IsPlainGrey(image);
    const int w = static_cast<int>(AreaWidth(image)), h = static_cast<int>(AreaHeight(image));
    const int rowLength = grey ? w : 3 * w;

    char head[1024];
    int n = std::snprintf(head, sizeof head,
                          "%%!PS-Adobe-%d.0 EPSF-%d.0\r\n%%%%BoundingBox: 0 0 %d %d\r\n"
                          "%%%%Creator: Zuriri\r\n%%%%Title: Image\r\n%%%%EndComments\r\n",
                          2, 2, w, h);
    n += std::snprintf(head + n, sizeof head - static_cast<size_t>(n),
                       "/picstr %d string def\r\n0 0 translate\r\n%d %d scale\r\n%d %d 8\r\n"
                       "[%d 0 0 -%d 0 %d]\r\n{currentfile picstr readhexstring pop}\r\n",
                       rowLength, w, h, w, h, w, h, h);
    n += std::snprintf(head + n, sizeof head - static_cast<size_t>(n), "%s",
                       grey ? "image\r\n" : "false 3\r\ncolorimage\r\n");

    codec::OutputFile out;
    if (int rc = out.open(file)) return rc;
    out.write(head, static_cast<size_t>(n));
    static const char kHex[] = "0123456789abcdef";
    std::vector<uint8_t> bytes(static_cast<size_t>(rowLength));
    std::string text(bytes.size() * 2, '0');
    for (int y = 0; y < h && out.ok(); ++y) {
        if (grey)
            codec::AreaRowToGrey(image, static_cast<uint32_t>(y), bytes.data());
        else
            codec::AreaRowToRgb(image, static_cast<uint32_t>(y), bytes.data());
        for (size_t i = 0; i < bytes.size(); ++i) {
            text[2 * i] = kHex[bytes[i] >> 4];
            text[2 * i + 1] = kHex[bytes[i] & 15];
        }
        out.write(text.data(), text.size());
    }
    out.write("\r\nshowpage\r\n", 12);
    return out.commit();
}

}  // namespace vellumo::imaging
