#include "pdf/image_embed.h"

#include <cerrno>
#include <cstring>
#include <memory>

#include "imaging/codecs.h"
#include "platform/regular_file.h"

namespace vellumo::pdf {

using namespace vellumo::imaging;

namespace {

enum class Magic { Other, Jpeg, Png, Tiff };

Magic ReadMagic(std::FILE* file) {
    unsigned char b[8] = {};
    const size_t n = std::fread(b, 1, sizeof b, file);
    if (n >= 3 && b[0] == 0xFF && b[1] == 0xD8 && b[2] == 0xFF) return Magic::Jpeg;
    if (n == 8 && std::memcmp(b, "\x89PNG\r\n\x1a\n", 8) == 0) return Magic::Png;
    if (n >= 4 && ((b[0] == 'I' && b[1] == 'I' && (b[2] == 42 || b[2] == 43) && b[3] == 0) ||
                   (b[0] == 'M' && b[1] == 'M' && b[2] == 0 && (b[3] == 42 || b[3] == 43))))
        return Magic::Tiff;
    return Magic::Other;
}

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

}  // namespace

int CheckImageFile(const std::string& path, std::string& error) {
    std::unique_ptr<std::FILE, FileCloser> file(vellumo::platform::OpenRegularFile(path));
    if (!file) {
        error = "Cannot open " + path + ": " + vellumo::platform::UnreadableFileReason(path);
        return 2;
    }
    file.reset();
    ImageFileInfo info;
    if (DetectImageFormat(path.c_str(), &info) == ImageFormat::None) {
        error = "Not an image file of a supported format: " + path;
        return 3;
    }
    return 0;
}

bool EmbedImageFile(PdfWriter& writer, int object, const std::string& path,
                    const EmbedOptions& options, EmbeddedImage& image, std::string& error) {
    Magic magic;
    {
        std::unique_ptr<std::FILE, FileCloser> file(vellumo::platform::OpenRegularFile(path));
        if (!file) {
            error = "Cannot open " + path + ": " + vellumo::platform::UnreadableFileReason(path);
            return false;
        }
        magic = ReadMagic(file.get());
    }
    EmbedResult result = EmbedResult::Declined;
    if (magic == Magic::Jpeg) result = EmbedJpegFile(writer, object, path, options, image, error);
    if (magic == Magic::Png) result = EmbedPngFile(writer, object, path, options, image, error);
    if (magic == Magic::Tiff) result = EmbedTiffFile(writer, object, path, options, image, error);
    if (result == EmbedResult::Declined)
        result = EmbedDecodedFile(writer, object, path, options, image, error);
    if (result == EmbedResult::Done && writer.failed()) {
        error = std::string("Cannot write the PDF file: ") + std::strerror(errno);
        return false;
    }
    return result == EmbedResult::Done;
}

std::string G4Dictionary(int width, int height, bool blackIs1) {
    char buf[256];
    std::snprintf(buf, sizeof buf,
                  "/Type /XObject /Subtype /Image /Width %d /Height %d /ColorSpace /DeviceGray "
                  "/BitsPerComponent 1 /Filter /CCITTFaxDecode /DecodeParms << /K -1 /Columns %d "
                  "/Rows %d%s >>",
                  width, height, width, height, blackIs1 ? " /BlackIs1 true" : "");
    return buf;
}

bool CopyFileRange(std::FILE* file, long long offset, long long length, PdfWriter& writer) {
    if (fseeko(file, offset, SEEK_SET) != 0) return false;
    std::vector<char> buf(1 << 16);
    while (length > 0) {
        const size_t want =
            length < static_cast<long long>(buf.size()) ? static_cast<size_t>(length) : buf.size();
        const size_t got = std::fread(buf.data(), 1, want, file);
        if (got == 0) return false;
        writer.write(buf.data(), got);
        length -= static_cast<long long>(got);
    }
    return !writer.failed();
}

std::string IndexedColourSpace(const unsigned char* rgb, int entries) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string s = "[/Indexed /DeviceRGB " + std::to_string(entries - 1) + " <";
    for (int i = 0; i < entries * 3; ++i) {
        s += kHex[rgb[i] >> 4];
        s += kHex[rgb[i] & 15];
    }
    return s + ">]";
}

}  // namespace vellumo::pdf
