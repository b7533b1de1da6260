// Reading an image file of any readable format: the format is found by asking each decoder in
// a fixed order whether the file is one of its own, never by the file's name.
#include <cstring>

#include "imaging/codec_common.h"
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

const char* FormatName(ImageFormat format) {
    switch (format) {
        case ImageFormat::Tiff:
            return "TIFF";
        case ImageFormat::Bmp:
            return "BMP";
        case ImageFormat::Jpeg:
            return "JPEG";
        case ImageFormat::Pcx:
            return "PCX";
        case ImageFormat::Gif:
            return "GIF";
        case ImageFormat::Png:
            return "PNG";
        case ImageFormat::Tga:
            return "TGA";
        case ImageFormat::None:
            break;
    }
    return "image";
}

const char* GeneralProblem(int status) {
    switch (status) {
        case kImgCannotOpen:
            return "it cannot be opened";
        case kImgNoMemory:
            return "the picture is too large";
        case kImgBadDepth:
            return "its number of bits per pixel is not supported";
        case kImgUnsupportedFile:
            return "it uses a variant of the format that is not supported";
        default:
            return "it is damaged or incomplete";
    }
}

// The first decoder that knows the file's kind but not its content gives the reason.
void NoteFailure(ImageFormat format, int status) {
    if (status == kImgNotThisFormat || status == kImgOk) return;
    const std::string& detail = codec::NotedImageProblem();
    std::string reason = std::string("the ") + FormatName(format) + " file ";
    reason += detail.empty() ? std::string("cannot be read: ") + GeneralProblem(status)
                             : "cannot be read: " + detail;
    codec::ClearImageProblem();
    codec::NoteImageProblem(reason);
}

// Remembers a failing decoder's reason until the search over the formats is done.
struct ProblemSearch {
    std::string first;
    void failed(ImageFormat format, int status) {
        if (!first.empty() || status == kImgNotThisFormat || status == kImgOk) {
            codec::ClearImageProblem();
            return;
        }
        NoteFailure(format, status);
        first = codec::NotedImageProblem();
        codec::ClearImageProblem();
    }
    void finish(int status) {
        codec::ClearImageProblem();
        if (!first.empty())
            codec::NoteImageProblem(first);
        else if (status == kImgCannotOpen)
            codec::NoteImageProblem("the file cannot be opened");
        else
            codec::NoteImageProblem(
                "it is not an image of a format Vellumo reads (TIFF, BMP, JPEG, PCX, GIF, PNG, "
                "TGA)");
    }
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
    codec::ClearImageProblem();
    ProblemSearch search;
    int last = kImgNotThisFormat;
    for (const FormatEntry& entry : kFormats) {
        last = entry.inspect(file, result);
        if (last == kImgOk) {
            codec::ClearImageProblem();
            return entry.format;
        }
        search.failed(entry.format, last);
    }
    result = ImageFileInfo{};
    search.finish(last);
    return ImageFormat::None;
}

int ReadImageFile(const char* file, ImageBuffer& image) {
    std::memset(&image, 0, sizeof image);
    if (!file || !vellumo::platform::IsRegularFile(file)) return kImgCannotOpen;
    codec::ClearImageProblem();
    ProblemSearch search;
    ImageFileInfo info;
    int last = kImgNotThisFormat;
    // A file of a known format whose header the codec refuses (too large, damaged) reports
    // that reason rather than an unknown format.
    int refused = kImgNotThisFormat;
    for (const FormatEntry& entry : kFormats) {
        last = entry.inspect(file, info);
        if (last != kImgOk) {
            if (refused == kImgNotThisFormat) refused = last;
            search.failed(entry.format, last);
            continue;
        }
        int rc = AllocateImage(image, info.width, info.height, info.bitsPerPixel);
        if (rc == kImgOk) rc = entry.load(file, image);
        if (rc != kImgOk) {
            FreeImage(image);
            NoteFailure(entry.format, rc);
            return rc;
        }
        codec::ClearImageProblem();
        return kImgOk;
    }
    search.finish(last);
    return refused;
}

std::string ImageFileProblem() {
    return codec::NotedImageProblem();
}

}  // namespace vellumo::imaging
