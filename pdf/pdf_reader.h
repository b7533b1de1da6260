// Our reader of PDF files: the cross-reference data (tables, streams, hybrids, and a rebuild
// by scanning when they are damaged), indirect objects (object streams included), the page
// tree with its inherited attributes, and the data of streams, decoded through the general
// filters. It reads the file through a read-only mapping and never changes it. Enough to find
// pages that are one image and take their image data as it is; drawing pages is Poppler's work.
#pragma once

#include <cstddef>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "pdf/pdf_object.h"

namespace vellumo::pdf {

enum class PdfStatus {
    Ok,
    CannotOpen,     // the file cannot be opened or read
    NotPdf,         // the file does not start like a PDF
    Damaged,        // a structure the reader needs is broken (the reason says which)
    NeedsPassword,  // encrypted, and the password given (if any) does not open it
    NoSuchPage,     // a page index beyond the last page
    Unsupported,    // valid, but uses something the reader does not handle
};

// A filter the general decoder leaves to an image decoder, with its parameters.
struct ImageFilter {
    std::string name;  // DCTDecode, CCITTFaxDecode, JBIG2Decode, JPXDecode; empty for none
    PdfObject params;  // its /DecodeParms entry (resolved), or null
};

// A page as the page tree gives it, inherited attributes filled in.
struct PdfPage {
    PdfObject dict;                    // the page dictionary
    PdfObject resources;               // resolved /Resources (own or inherited), or null
    double box[4] = {0, 0, 612, 792};  // the visible box: CropBox within MediaBox, in points
    int rotate = 0;                    // 0, 90, 180 or 270
    double width() const { return box[2] - box[0]; }
    double height() const { return box[3] - box[1]; }
};

class PdfDocument {
public:
    ~PdfDocument();
    PdfDocument(const PdfDocument&) = delete;
    PdfDocument& operator=(const PdfDocument&) = delete;

    // Opens the file and reads its cross-reference data and page tree. On failure doc is null
    // and reason says what is wrong, for the user to read.
    static PdfStatus open(const std::string& path, std::shared_ptr<PdfDocument>& doc,
                          std::string& reason);

    const std::string& path() const { return path_; }
    std::string_view bytes() const { return bytes_; }
    // The file is encrypted: strings and streams cannot be read without its key.
    bool encrypted() const { return encrypted_; }
    int pageCount() const { return static_cast<int>(pages_.size()); }
    const PdfPage& page(int index) const { return pages_[static_cast<size_t>(index)]; }

    // The indirect object (null when it does not exist or cannot be read).
    PdfObject object(PdfRef ref) const;
    // Follows references (a chain of them too) to the object itself.
    PdfObject resolve(const PdfObject& object) const;
    PdfObject resolvedKey(const PdfObject& dict, std::string_view key) const {
        return resolve(dict.get(key));
    }

    // The stream's bytes as stored in the file.
    std::string_view rawStream(const PdfObject& stream) const;
    // Decodes the stream through its general filters (Flate, LZW, ASCIIHex, ASCII85,
    // RunLength, with predictors), stopping before an image filter, which is reported in
    // *imageFilter (an image filter is refused when imageFilter is null). maxBytes bounds the
    // output. False with a reason on damaged data, unknown filters or encrypted files.
    bool decodeStream(const PdfObject& stream, std::string& out, std::string& reason,
                      ImageFilter* imageFilter = nullptr,
                      size_t maxBytes = size_t{256} << 20) const;

private:
    PdfDocument() = default;
    struct XrefEntry {
        unsigned char type = 0;  // 0 free or unknown, 1 in the file, 2 in an object stream
        size_t offset = 0;       // type 1: where "num gen obj" starts; type 2: the stream's number
        unsigned index = 0;      // type 2: index within the object stream
    };
    bool readXref(std::string& reason);
    bool readXrefSection(size_t offset, bool& isStream);
    bool readXrefTable(size_t offset);
    bool readXrefStream(size_t offset);
    void rebuildXref();
    bool readPageTree(std::string& reason);
    PdfObject parseObjectAt(size_t offset, int expectedNum, int depth) const;
    PdfObject objectInStream(int streamNum, unsigned index, int num, int depth) const;
    PdfObject objectAtDepth(PdfRef ref, int depth) const;
    void setEntry(size_t num, const XrefEntry& entry, bool overwrite);

    std::string path_;
    void* map_ = nullptr;
    size_t mapSize_ = 0;
    std::string_view bytes_;
    std::vector<XrefEntry> xref_;
    PdfObject trailer_;
    PdfObject sectionTrailer_;                // of the section being read
    std::unordered_set<size_t> seenNumbers_;  // numbers a newer section has settled
    bool encrypted_ = false;
    std::vector<PdfPage> pages_;

    mutable std::mutex cacheMutex_;
    mutable std::unordered_map<int, PdfObject> objectCache_;
    mutable std::unordered_map<int, std::shared_ptr<const std::string>> objectStreams_;
};

// Decodes data through one general filter; false with a reason when it is damaged or unknown.
bool ApplyFilter(const std::string& name, const PdfObject& params, std::string_view in,
                 std::string& out, size_t maxBytes, std::string& reason);
// The filter names of a stream's /Filter entry, abbreviations spelt out.
std::vector<std::string> FilterNames(const PdfObject& filter);

}  // namespace vellumo::pdf
