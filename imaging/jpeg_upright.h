// Lossless quarter and half turns and mirrors of JPEG data, the same file jpegtran -perfect
// makes. The coefficients are read once and turned block row by block row while the compressor
// asks for them, so memory holds a single set of coefficients: no turned copy of them and no copy
// of the input file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <vector>

#include "imaging/jpeg_support.h"

namespace vellumo::imaging {

// True when the frame's size allows turning it upright without decoding: no partial MCU lies
// on an edge that the turn would move to the top or the left.
bool JpegTurnIsLossless(const JpegMarkers& markers, Orientation orientation);

// A decompressor's coefficients (after jpeg_read_coefficients) handed to a compressor as those
// of the upright picture. Use: jpeg_copy_critical_parameters, setUprightParameters, then
// jpeg_write_coefficients(dst, attach(dst)); this object must outlive the compression. It owns
// nothing (the rows it hands over live in dst's pool), so a libjpeg error may jump past it.
class UprightCoefficients {
public:
    // The frame must allow the turn losslessly (Lossless below).
    UprightCoefficients(jpeg_decompress_struct& src, jvirt_barray_ptr* coefficients,
                        Orientation orientation);
    UprightCoefficients(const UprightCoefficients&) = delete;
    UprightCoefficients& operator=(const UprightCoefficients&) = delete;

    // True when the turn swaps the sides: the source's coefficient (u, v) of a block becomes the
    // upright one's (v, u).
    bool transposes() const;
    // Makes dst's parameters, copied from the source, those of the upright picture: its size,
    // the sampling factors and the quantisation tables turned with the coefficients, and 1 x 1
    // sampling for a single component (as jpegtran writes it).
    void setUprightParameters(jpeg_compress_struct& dst) const;
    // The arrays for jpeg_write_coefficients: dst's memory manager fills each row of them from
    // the source when the compressor asks for it. Errors go to dst's error manager.
    jvirt_barray_ptr* attach(jpeg_compress_struct& dst);

    // Whether the frame of a decompressor that has read its header can be turned losslessly.
    static bool Lossless(const jpeg_decompress_struct& src, Orientation orientation);

private:
    static JBLOCKARRAY Access(j_common_ptr cinfo, jvirt_barray_ptr array, JDIMENSION startRow,
                              JDIMENSION rows, boolean writable);

    jpeg_decompress_struct& src_;
    jvirt_barray_ptr* coefficients_;
    Orientation orientation_;
    // The upright block (x, y) comes from block (x, y) of the source's grid, transposed when
    // transposes() and mirrored as these say; its coefficient k is the source's from_[k] times
    // sign_[k].
    bool mirrorX_ = false, mirrorY_ = false;
    uint8_t from_[DCTSIZE2] = {};
    JCOEF sign_[DCTSIZE2] = {};
    struct Component {
        jvirt_barray_ptr source = nullptr;
        JDIMENSION width = 0, height = 0;  // upright, in blocks
        JBLOCKARRAY band = nullptr;        // the rows handed to the compressor
        JDIMENSION bandRows = 0;
    };
    int count_ = 0;
    Component components_[MAX_COMPONENTS];
    jvirt_barray_ptr handles_[MAX_COMPONENTS] = {};
    decltype(jpeg_memory_mgr::access_virt_barray) ownAccess_ = nullptr;

    void fillRows(Component& component, JDIMENSION startRow, JDIMENSION rows);
};

// JPEG data made in memory, kept in the pieces it was written in: none is ever copied into a
// larger one as the data grows.
class JpegBytes {
public:
    static constexpr size_t kPiece = 256 * 1024;
    size_t size() const;
    size_t pieces() const { return pieces_.size(); }
    const uint8_t* piece(size_t i) const { return pieces_[i].get(); }
    size_t pieceSize(size_t i) const { return i + 1 < pieces_.size() ? kPiece : lastUsed_; }
    void clear();
    // Makes dst write into this (emptied first).
    void attach(jpeg_compress_struct& dst);

    JpegBytes() = default;
    JpegBytes(const JpegBytes&) = delete;
    JpegBytes& operator=(const JpegBytes&) = delete;

private:
    struct Destination {
        jpeg_destination_mgr base;
        JpegBytes* owner;
    };
    static void Start(j_compress_ptr cinfo);
    static boolean Full(j_compress_ptr cinfo);
    static void Finish(j_compress_ptr cinfo);
    void addPiece(j_compress_ptr cinfo);

    std::vector<std::unique_ptr<uint8_t[]>> pieces_;
    size_t lastUsed_ = 0;
    Destination destination_{};
};

// Reads the JPEG file open at file (from its start) and writes its picture upright into out,
// without decoding it to pixels: no markers are copied but the frame's own. 0;
// kImgUnsupportedOption when the size does not allow a lossless turn; kImgCorruptFile when the
// data is damaged or irregular (or claims a frame the file is too small for); kImgNoMemory.
int TurnJpegUpright(std::FILE* file, Orientation orientation, JpegBytes& out);

}  // namespace vellumo::imaging
