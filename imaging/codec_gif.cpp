// GIF through giflib. Loading decodes the first frame (interlaced or not) at its own size:
// a two-colour table gives a 1-bit image, any other an 8-bit palette image, and the
// transparent colour becomes white. Saving writes 1- and 8-bit images with their colour
// tables; colour images are reduced to 256 colours by giflib's median-cut quantiser (on a
// 5-bit-per-channel histogram, without dithering, which keeps scanned text crisp).
#include <gif_lib.h>

#include <cstring>
#include <vector>

#include "imaging/codec_common.h"
#include "imaging/codecs.h"

namespace {

// A 12-bit LZW code can stand for at most 4096 pixels.
constexpr uint64_t kLzwExpansion = 4096 * 8 / 3;

struct MemoryReader {
    const uint8_t* data;
    size_t size;
    size_t pos;
};

int ReadFromMemory(GifFileType* gif, GifByteType* buffer, int length) {
    auto* reader = static_cast<MemoryReader*>(gif->UserData);
    if (length <= 0) return 0;
    const size_t left = reader->size - reader->pos;
    const size_t n = static_cast<size_t>(length) < left ? static_cast<size_t>(length) : left;
    std::memcpy(buffer, reader->data + reader->pos, n);
    reader->pos += n;
    return static_cast<int>(n);
}

struct GifReader {
    GifFileType* gif = nullptr;
    ~GifReader() {
        if (gif) DGifCloseFile(gif, nullptr);
    }
};

struct FrameInfo {
    int width = 0, height = 0;
    bool interlaced = false;
    int transparent = -1;
    const ColorMapObject* colours = nullptr;
    int imageBits = 0;
};

// Walks to the first image descriptor, collecting the transparency of its graphic control
// extension. The reader then stands at the frame's pixel data.
int FindFirstFrame(GifFileType* gif, size_t fileBytes, FrameInfo& frame) {
    int transparent = -1;
    while (true) {
        GifRecordType type;
        if (DGifGetRecordType(gif, &type) == GIF_ERROR) return kImgCorruptFile;
        if (type == TERMINATE_RECORD_TYPE) return kImgCorruptFile;  // no frame at all
        if (type == EXTENSION_RECORD_TYPE) {
            int code = 0;
            GifByteType* block = nullptr;
            if (DGifGetExtension(gif, &code, &block) == GIF_ERROR) return kImgCorruptFile;
            if (code == GRAPHICS_EXT_FUNC_CODE && block && block[0] >= 4) {
                GraphicsControlBlock control;
                if (DGifExtensionToGCB(block[0], block + 1, &control) == GIF_OK)
                    transparent = control.TransparentColor;
            }
            while (block) {
                if (DGifGetExtensionNext(gif, &block) == GIF_ERROR) return kImgCorruptFile;
            }
            continue;
        }
        if (type != IMAGE_DESC_RECORD_TYPE) return kImgCorruptFile;
        if (DGifGetImageDesc(gif) == GIF_ERROR) return kImgCorruptFile;
        break;
    }
    frame.width = gif->Image.Width;
    frame.height = gif->Image.Height;
    frame.interlaced = gif->Image.Interlace;
    frame.transparent = transparent;
    frame.colours = gif->Image.ColorMap ? gif->Image.ColorMap : gif->SColorMap;
    frame.imageBits = frame.colours && frame.colours->ColorCount <= 2 ? 1 : 8;
    if (frame.width <= 0 || frame.height <= 0) return kImgCorruptFile;
    if (!codec::AcceptableDimensions(static_cast<uint64_t>(frame.width),
                                     static_cast<uint64_t>(frame.height), frame.imageBits))
        return kImgNoMemory;
    if (!codec::PlausibleSize(uint64_t(frame.width) * uint64_t(frame.height), fileBytes,
                              kLzwExpansion))
        return kImgCorruptFile;
    return kImgOk;
}

int OpenGif(const std::vector<uint8_t>& data, MemoryReader& reader, GifReader& session) {
    if (data.size() < 6 || std::memcmp(data.data(), "GIF", 3) != 0 ||
        (std::memcmp(data.data() + 3, "87a", 3) != 0 &&
         std::memcmp(data.data() + 3, "89a", 3) != 0))
        return kImgNotThisFormat;
    reader = MemoryReader{data.data(), data.size(), 0};
    int error = 0;
    session.gif = DGifOpen(&reader, ReadFromMemory, &error);
    return session.gif ? kImgOk : kImgCorruptFile;
}

// Reads the file when it starts with a GIF signature.
int ReadHead(const char* file, std::vector<uint8_t>& data) {
    FILE* stream = file ? std::fopen(file, "rb") : nullptr;
    if (!stream) return kImgCannotOpen;
    char magic[6] = {};
    const bool gif = std::fread(magic, 1, 6, stream) == 6 && std::memcmp(magic, "GIF", 3) == 0;
    std::fclose(stream);
    if (!gif) return kImgNotThisFormat;
    return codec::ReadWholeFile(file, data, size_t{1} << 30);
}

}  // namespace

int InspectGif(const char* file, ImageFileInfo& info) {
    info = ImageFileInfo{};
    std::vector<uint8_t> data;
    if (int rc = ReadHead(file, data)) return rc;
    MemoryReader reader{};
    GifReader session;
    if (int rc = OpenGif(data, reader, session)) return rc;
    FrameInfo frame;
    if (int rc = FindFirstFrame(session.gif, data.size(), frame)) return rc;
    info.width = frame.width;
    info.height = frame.height;
    info.bitsPerPixel = frame.imageBits;
    info.fileBitsPerSample = frame.colours ? frame.colours->BitsPerPixel : 8;
    info.fileSamplesPerPixel = 1;
    info.compression = frame.interlaced ? 1 : 0;
    return kImgOk;
}

int LoadGif(const char* file, ImageBuffer& image) {
    if (!image.header) return kImgEmpty;
    std::vector<uint8_t> data;
    if (int rc = ReadHead(file, data)) return rc;
    MemoryReader reader{};
    GifReader session;
    if (int rc = OpenGif(data, reader, session)) return rc;
    FrameInfo frame;
    if (int rc = FindFirstFrame(session.gif, data.size(), frame)) return rc;
    if (int rc = codec::CheckLoadTarget(image, frame.width, frame.height, frame.imageBits))
        return rc;

    std::memset(image.palette, 0, sizeof(RgbQuad) * static_cast<size_t>(image.paletteSize));
    if (frame.colours) {
        const int count = frame.colours->ColorCount;
        for (int i = 0; i < count && i < image.paletteSize; ++i) {
            const GifColorType& c = frame.colours->Colors[i];
            image.palette[i] = RgbQuad{c.Blue, c.Green, c.Red, 0};
        }
    } else {
        SetGreyRamp(image);  // no colour table at all: show the indices as grey levels
    }
    if (frame.transparent >= 0 && frame.transparent < image.paletteSize)
        image.palette[frame.transparent] = RgbQuad{255, 255, 255, 0};
    if (HasGreyRamp(image))
        image.imageFlags |= kImageFlagGrey;
    else
        image.imageFlags &= ~kImageFlagGrey;
    image.header->biXPelsPerMeter = 0;
    image.header->biYPelsPerMeter = 0;

    const int width = frame.width, height = frame.height;
    std::vector<GifPixelType> line(static_cast<size_t>(width));
    // Interlaced rows arrive in four passes: every 8th from 0, every 8th from 4, every 4th
    // from 2, every 2nd from 1.
    static const int kStart[4] = {0, 4, 2, 1};
    static const int kStep[4] = {8, 8, 4, 2};
    const int passes = frame.interlaced ? 4 : 1;
    for (int pass = 0; pass < passes; ++pass) {
        const int start = frame.interlaced ? kStart[pass] : 0;
        const int step = frame.interlaced ? kStep[pass] : 1;
        for (int y = start; y < height; y += step) {
            if (DGifGetLine(session.gif, line.data(), width) == GIF_ERROR) return kImgCorruptFile;
            uint8_t* row = RowPointer(image, static_cast<uint32_t>(y));
            if (frame.imageBits == 8) {
                std::memcpy(row, line.data(), static_cast<size_t>(width));
            } else {
                std::memset(row, 0, image.rowBytes);
                for (int x = 0; x < width; ++x)
                    if (line[x] & 1) row[x >> 3] |= static_cast<uint8_t>(0x80 >> (x & 7));
            }
        }
    }
    return kImgOk;
}

namespace {

int WriteToFile(GifFileType* gif, const GifByteType* data, int length) {
    auto* out = static_cast<codec::OutputFile*>(gif->UserData);
    return out->write(data, static_cast<size_t>(length)) ? length : 0;
}

struct GifWriter {
    GifFileType* gif = nullptr;
    ~GifWriter() {
        if (gif) EGifCloseFile(gif, nullptr);
    }
    int close() {
        GifFileType* g = gif;
        gif = nullptr;
        return EGifCloseFile(g, nullptr) == GIF_OK ? kImgOk : kImgShortWrite;
    }
};

struct ColourMap {
    ColorMapObject* map = nullptr;
    explicit ColourMap(int count) { map = GifMakeMapObject(count, nullptr); }
    ~ColourMap() {
        if (map) GifFreeMapObject(map);
    }
};

}  // namespace

int SaveGif(const char* file, const ImageBuffer& image) {
    if (int rc = codec::CheckSaveSource(image)) return rc;
    const int bits = BitsPerPixel(image);
    const uint32_t width = AreaWidth(image), height = AreaHeight(image);
    if (width > 65535 || height > 65535) return kImgTooLarge;

    // The frame as indices, top row first, and its colour table.
    const int mapBits = bits == 1 ? 1 : 8;
    ColourMap colours(1 << mapBits);
    if (!colours.map) return kImgNoMemory;
    std::vector<GifPixelType> indices;
    try {
        indices.resize(static_cast<size_t>(width) * height);
    } catch (const std::bad_alloc&) {
        return kImgNoMemory;
    }
    if (bits <= 8) {
        for (int i = 0; i < (1 << mapBits); ++i) {
            const RgbQuad c = i < image.paletteSize ? image.palette[i] : RgbQuad{};
            colours.map->Colors[i] = GifColorType{c.rgbRed, c.rgbGreen, c.rgbBlue};
        }
        for (uint32_t y = 0; y < height; ++y) {
            GifPixelType* out = indices.data() + static_cast<size_t>(y) * width;
            const uint8_t* row = RowPointer(image, image.areaTop + y);
            if (bits == 8) {
                std::memcpy(out, row + image.areaLeft, width);
            } else {
                for (uint32_t x = 0; x < width; ++x) {
                    const uint32_t sx = image.areaLeft + x;
                    out[x] = (row[sx >> 3] >> (7 - (sx & 7))) & 1;
                }
            }
        }
    } else {
        std::vector<GifByteType> red, green, blue;
        std::vector<uint8_t> rgb(static_cast<size_t>(width) * 3);
        try {
            red.resize(indices.size());
            green.resize(indices.size());
            blue.resize(indices.size());
        } catch (const std::bad_alloc&) {
            return kImgNoMemory;
        }
        for (uint32_t y = 0; y < height; ++y) {
            codec::AreaRowToRgb(image, y, rgb.data());
            const size_t base = static_cast<size_t>(y) * width;
            for (uint32_t x = 0; x < width; ++x) {
                red[base + x] = rgb[3 * x];
                green[base + x] = rgb[3 * x + 1];
                blue[base + x] = rgb[3 * x + 2];
            }
        }
        int mapSize = 256;
        if (GifQuantizeBuffer(width, height, &mapSize, red.data(), green.data(), blue.data(),
                              indices.data(), colours.map->Colors) == GIF_ERROR)
            return kImgEncodeFailed;
        for (int i = mapSize; i < 256; ++i) colours.map->Colors[i] = GifColorType{0, 0, 0};
    }

    codec::OutputFile out;
    if (int rc = out.open(file)) return rc;
    GifWriter writer;
    int error = 0;
    writer.gif = EGifOpen(&out, WriteToFile, &error);
    if (!writer.gif) return kImgEncodeFailed;
    if (EGifPutScreenDesc(writer.gif, static_cast<int>(width), static_cast<int>(height), mapBits, 0,
                          colours.map) == GIF_ERROR ||
        EGifPutImageDesc(writer.gif, 0, 0, static_cast<int>(width), static_cast<int>(height), false,
                         nullptr) == GIF_ERROR)
        return out.ok() ? kImgEncodeFailed : kImgShortWrite;
    for (uint32_t y = 0; y < height; ++y) {
        if (EGifPutLine(writer.gif, indices.data() + static_cast<size_t>(y) * width,
                        static_cast<int>(width)) == GIF_ERROR)
            return out.ok() ? kImgEncodeFailed : kImgShortWrite;
    }
    if (int rc = writer.close()) return rc;
    return out.commit();
}
