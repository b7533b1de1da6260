// Reading an image file of any readable format: the format is found by asking each decoder in
// a fixed order whether the file is one of its own, never by the file's name.
#include <cstring>

#include "imaging/codecs.h"
#include "platform/regular_file.h"

namespace vellumo::imaging {

namespace {

struct FormatEntry {
    ImageFormat format;
    int (*inspect)(const char*, ImageFileInfo&);
    int (*load)(const char*, ImageBuffer&);
};

// The order decides files that more than one decoder would accept.
constexpr FormatEntry kFormats[] = {
    {ImageFormat::Tiff, InspectTiff, LoadTiff}, {ImageFormat::Bmp, InspectBmp, LoadBmp},
    {ImageFormat::Jpeg, InspectJpeg, LoadJpeg}, {ImageFormat::Pcx, InspectPcx, LoadPcx},
    {ImageFormat::Gif, InspectGif, LoadGif},    {ImageFormat::Png, InspectPng, LoadPng},
    {ImageFormat::Tga, InspectTga, LoadTga},
};

}  // namespace

ImageFormat DetectImageFormat(const char* file, ImageFileInfo* info) {
    ImageFileInfo scratch;
    ImageFileInfo& result = info ? *info : scratch;
    // A FIFO or a device would make the decoders wait or read for ever.
    if (!file || !vellumo::platform::IsRegularFile(file)) {
        result = ImageFileInfo{};
        return ImageFormat::None;
    }
    for (const FormatEntry& entry : kFormats)
        if (entry.inspect(file, result) == kImgOk) return entry.format;
    result = ImageFileInfo{};
    return ImageFormat::None;
}

int ReadImageFile(const char* file, ImageBuffer& image) {
    std::memset(&image, 0, sizeof image);
    if (!file || !vellumo::platform::IsRegularFile(file)) return kImgCannotOpen;
    ImageFileInfo info;
    // A file of a known format whose header the codec refuses (too large, damaged) reports
    // that reason rather than an unknown format.
    int refused = kImgNotThisFormat;
    for (const FormatEntry& entry : kFormats) {
        if (int rc = entry.inspect(file, info)) {
            if (refused == kImgNotThisFormat) refused = rc;
            continue;
        }
        if (int rc = AllocateImage(image, info.width, info.height, info.bitsPerPixel)) return rc;
        if (int rc = entry.load(file, image)) {
            FreeImage(image);
            return rc;
        }
        return kImgOk;
    }
    return refused;
}

}  // namespace vellumo::imaging
