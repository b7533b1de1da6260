// JPEG files go into the PDF as they are (DCTDecode) once their coded data has been checked to
// decode to the end: the markers before the scan give the size, the colour space, Adobe's
// inverted CMYK and the resolution (JFIF, else Exif). A photo whose Exif orientation says it is
// shown turned is turned without decoding where its size allows; damaged data is refused with
// the reason, and data with harmless irregularities, or a turn that cannot be lossless, goes
// through the decoder instead.
#include <memory>

#include "imaging/codec_common.h"
#include "imaging/jpeg_support.h"
#include "imaging/jpeg_upright.h"
#include "pdf/image_embed.h"

namespace vellumo::pdf {

using namespace vellumo::imaging;

namespace {

using vellumo::imaging::JpegMarkers;
using vellumo::imaging::Orientation;

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

Orientation OrientationOf(const JpegMarkers& h) {
    return h.exif ? h.exifInfo.orientation : Orientation::TopLeft;
}

// The resolution of the upright picture.
bool UprightDpi(const JpegMarkers& h, double& dpiX, double& dpiY) {
    double x = 0, y = 0;
    if (!vellumo::imaging::JpegResolution(h.jfifUnit, h.jfifX, h.jfifY, h.exifInfo, x, y))
        return false;
    const bool swap = vellumo::imaging::SwapsSides(OrientationOf(h));
    dpiX = swap ? y : x;
    dpiY = swap ? x : y;
    return true;
}

std::string JpegDictionary(int width, int height, int components, bool adobe) {
    std::string dict = "/Type /XObject /Subtype /Image /Width " + std::to_string(width) +
                       " /Height " + std::to_string(height) + " /BitsPerComponent 8 /ColorSpace ";
    dict += components == 1 ? "/DeviceGray" : components == 3 ? "/DeviceRGB" : "/DeviceCMYK";
    // Adobe's applications write CMYK JPEGs with inverted values and mark them with the Adobe
    // segment; readers then need the inverting decode array.
    if (components == 4 && adobe) dict += " /Decode [1 0 1 0 1 0 1 0]";
    return dict + " /Filter /DCTDecode";
}

}  // namespace

bool ReadJpegResolution(const std::string& path, double& dpiX, double& dpiY) {
    JpegMarkers h;
    return vellumo::imaging::ReadJpegMarkers(path, h) && UprightDpi(h, dpiX, dpiY);
}

EmbedResult EmbedJpegFile(PdfWriter& writer, int object, const std::string& path,
                          const EmbedOptions&, EmbeddedImage& image, std::string& error) {
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file) return EmbedResult::Declined;
    JpegMarkers h;
    if (!vellumo::imaging::ReadJpegMarkers(file.get(), h)) return EmbedResult::Declined;
    // Baseline, extended and progressive Huffman frames of 8-bit samples are what every PDF
    // reader decodes; lossless, arithmetic-coded or 12-bit files go through the decoder.
    const bool plain = (h.frameType == 0 || h.frameType == 1 || h.frameType == 2) &&
                       h.precision == 8 && h.width > 0 && h.height > 0 &&
                       (h.components == 1 || h.components == 3 || h.components == 4);
    if (!plain) return EmbedResult::Declined;
    const long long size = codec::FileSize(file.get());
    if (size <= 0 ||
        !vellumo::imaging::PlausibleJpegFrame(static_cast<uint64_t>(h.width),
                                              static_cast<uint64_t>(h.height), h.components, size))
        return EmbedResult::Declined;  // the decoder gives the reason

    // What goes in unchanged must decode to its end: readers would show grey or garbage.
    std::string problem;
    switch (vellumo::imaging::CheckJpegData(path, &problem)) {
        case vellumo::imaging::JpegDataState::Damaged:
            error = "The JPEG file " + path + " is damaged (" + problem + ")";
            return EmbedResult::Failed;
        case vellumo::imaging::JpegDataState::Irregular:
            return EmbedResult::Declined;
        case vellumo::imaging::JpegDataState::Clean:
            break;
    }

    image.kind = h.components == 1 ? PageKind::Grey : PageKind::Colour;
    image.coding = "JPEG";
    const Orientation orientation = OrientationOf(h);
    UprightDpi(h, image.dpiX, image.dpiY);
    if (orientation == Orientation::TopLeft) {
        image.width = h.width;
        image.height = h.height;
        writer.beginStream(object, JpegDictionary(h.width, h.height, h.components, h.adobe));
        if (!CopyFileRange(file.get(), 0, size, writer)) {
            error = "Cannot read the JPEG file " + path;
            return EmbedResult::Failed;
        }
        writer.endStream();
        return EmbedResult::Done;
    }

    // Turned without decoding when no partial block would move; otherwise decoded and turned.
    // The turned data is complete before the stream begins, so a failure can still decline.
    if (!vellumo::imaging::JpegTurnIsLossless(h, orientation)) return EmbedResult::Declined;
    vellumo::imaging::JpegBytes upright;
    if (vellumo::imaging::TurnJpegUpright(file.get(), orientation, upright) != kImgOk)
        return EmbedResult::Declined;
    file.reset();
    const bool swap = vellumo::imaging::SwapsSides(orientation);
    image.width = swap ? h.height : h.width;
    image.height = swap ? h.width : h.height;
    writer.beginStream(object, JpegDictionary(image.width, image.height, h.components, h.adobe));
    for (size_t i = 0; i < upright.pieces(); ++i)
        writer.write(upright.piece(i), upright.pieceSize(i));
    writer.endStream();
    return EmbedResult::Done;
}

}  // namespace vellumo::pdf
