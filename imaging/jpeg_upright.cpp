#include "imaging/jpeg_upright.h"

#include <algorithm>
#include <csetjmp>
#include <new>
#include <type_traits>
#include <utility>

// clang-format off
#include <jerror.h>
// clang-format on

#include "imaging/codec_common.h"

namespace vellumo::imaging {

// A libjpeg error jumps out of the scope that holds it.
static_assert(std::is_trivially_destructible_v<UprightCoefficients>);

bool JpegTurnIsLossless(const JpegMarkers& m, Orientation orientation) {
    const bool wholeColumns = m.width % m.mcuWidth == 0;
    const bool wholeRows = m.height % m.mcuHeight == 0;
    switch (orientation) {
        case Orientation::TopRight:  // mirror: the right edge moves to the left
        case Orientation::LeftBottom:
            return wholeColumns;
        case Orientation::BottomLeft:  // flip: the bottom edge moves to the top
        case Orientation::RightTop:
            return wholeRows;
        case Orientation::BottomRight:
        case Orientation::RightBottom:
            return wholeColumns && wholeRows;
        case Orientation::TopLeft:
        case Orientation::LeftTop:
            return true;
    }
    return false;
}

bool UprightCoefficients::Lossless(const jpeg_decompress_struct& src, Orientation orientation) {
    JpegMarkers frame;
    frame.width = static_cast<int>(src.image_width);
    frame.height = static_cast<int>(src.image_height);
    // A single component is coded block by block, whatever sampling factors it declares.
    const bool single = src.num_components == 1;
    frame.mcuWidth = DCTSIZE * (single ? 1 : src.max_h_samp_factor);
    frame.mcuHeight = DCTSIZE * (single ? 1 : src.max_v_samp_factor);
    return JpegTurnIsLossless(frame, orientation);
}

UprightCoefficients::UprightCoefficients(jpeg_decompress_struct& src,
                                         jvirt_barray_ptr* coefficients, Orientation orientation)
    : src_(src), coefficients_(coefficients), orientation_(orientation) {
    // Every turn is a transposition or none, then mirrors of the result.
    switch (orientation) {
        case Orientation::TopLeft:
        case Orientation::LeftTop:
            break;
        case Orientation::TopRight:
        case Orientation::RightTop:
            mirrorX_ = true;
            break;
        case Orientation::BottomLeft:
        case Orientation::LeftBottom:
            mirrorY_ = true;
            break;
        case Orientation::BottomRight:
        case Orientation::RightBottom:
            mirrorX_ = mirrorY_ = true;
            break;
    }
    // Coefficient (row v, column u) of a block: transposing swaps them; a mirror across the
    // vertical axis negates the odd columns, one across the horizontal axis the odd rows.
    for (int v = 0; v < DCTSIZE; ++v) {
        for (int u = 0; u < DCTSIZE; ++u) {
            const int k = v * DCTSIZE + u;
            from_[k] = static_cast<uint8_t>(transposes() ? u * DCTSIZE + v : k);
            const bool negate = (mirrorX_ && (u & 1)) != (mirrorY_ && (v & 1));
            sign_[k] = negate ? -1 : 1;
        }
    }
    count_ = std::min(src.num_components, MAX_COMPONENTS);
    for (int c = 0; c < count_; ++c) {
        Component& component = components_[c];
        component.source = coefficients[c];
        const jpeg_component_info& info = src.comp_info[c];
        component.width = transposes() ? info.height_in_blocks : info.width_in_blocks;
        component.height = transposes() ? info.width_in_blocks : info.height_in_blocks;
    }
}

bool UprightCoefficients::transposes() const {
    return SwapsSides(orientation_);
}

void UprightCoefficients::setUprightParameters(jpeg_compress_struct& dst) const {
    if (orientation_ == Orientation::TopLeft) return;
    if (dst.num_components == 1) {
        dst.comp_info[0].h_samp_factor = 1;
        dst.comp_info[0].v_samp_factor = 1;
    }
    if (!transposes()) return;
    std::swap(dst.image_width, dst.image_height);
    for (int c = 0; c < dst.num_components; ++c)
        std::swap(dst.comp_info[c].h_samp_factor, dst.comp_info[c].v_samp_factor);
    // Each step goes with its coefficient.
    for (JQUANT_TBL* table : dst.quant_tbl_ptrs) {
        if (!table) continue;
        for (int v = 0; v < DCTSIZE; ++v)
            for (int u = 0; u < v; ++u)
                std::swap(table->quantval[v * DCTSIZE + u], table->quantval[u * DCTSIZE + v]);
    }
}

jvirt_barray_ptr* UprightCoefficients::attach(jpeg_compress_struct& dst) {
    if (orientation_ == Orientation::TopLeft) return coefficients_;
    auto* common = reinterpret_cast<j_common_ptr>(&dst);
    if (dst.num_components != count_) ERREXIT(common, JERR_BAD_VIRTUAL_ACCESS);
    for (int c = 0; c < count_; ++c) {
        Component& component = components_[c];
        const jpeg_component_info& info = dst.comp_info[c];
        component.bandRows = static_cast<JDIMENSION>(info.v_samp_factor);
        const auto across = static_cast<JDIMENSION>(info.h_samp_factor);
        const JDIMENSION padded = (component.width + across - 1) / across * across;
        component.band = dst.mem->alloc_barray(common, JPOOL_IMAGE, padded, component.bandRows);
        handles_[c] = reinterpret_cast<jvirt_barray_ptr>(&component);
    }
    // The compressor reads its arrays only through the memory manager, one band of block rows
    // at a time: answering that call with turned rows saves holding a turned copy of them all.
    ownAccess_ = dst.mem->access_virt_barray;
    dst.mem->access_virt_barray = Access;
    dst.client_data = this;
    return handles_;
}

JBLOCKARRAY UprightCoefficients::Access(j_common_ptr cinfo, jvirt_barray_ptr array,
                                        JDIMENSION startRow, JDIMENSION rows, boolean writable) {
    auto* self = static_cast<UprightCoefficients*>(cinfo->client_data);
    for (int c = 0; c < self->count_; ++c) {
        if (self->handles_[c] != array) continue;
        Component& component = self->components_[c];
        const jpeg_component_info& info = reinterpret_cast<j_compress_ptr>(cinfo)->comp_info[c];
        // The compressor must see the grid the turn makes, and only read it.
        if (writable || rows > component.bandRows || info.width_in_blocks != component.width ||
            info.height_in_blocks != component.height)
            ERREXIT(cinfo, JERR_BAD_VIRTUAL_ACCESS);
        self->fillRows(component, startRow, rows);
        return component.band;
    }
    return self->ownAccess_(cinfo, array, startRow, rows, writable);
}

void UprightCoefficients::fillRows(Component& component, JDIMENSION startRow, JDIMENSION rows) {
    auto* src = reinterpret_cast<j_common_ptr>(&src_);
    const auto sourceRow = [&](JDIMENSION row) {
        return src_.mem->access_virt_barray(src, component.source, row, 1, FALSE)[0];
    };
    const JDIMENSION width = component.width, height = component.height;
    const JDIMENSION endRow = std::min(startRow + rows, height);
    const uint8_t* from = from_;
    const JCOEF* sign = sign_;
    const auto turn = [from, sign](const JCOEF* in, JCOEF* out) {
        for (int k = 0; k < DCTSIZE2; ++k) out[k] = static_cast<JCOEF>(in[from[k]] * sign[k]);
    };
    if (!transposes()) {
        // Each upright row is one source row, mirrored.
        for (JDIMENSION y = startRow; y < endRow; ++y) {
            const JBLOCKROW in = sourceRow(mirrorY_ ? height - 1 - y : y);
            JBLOCKROW out = component.band[y - startRow];
            for (JDIMENSION x = 0; x < width; ++x) turn(in[mirrorX_ ? width - 1 - x : x], out[x]);
        }
        return;
    }
    // Upright column x is source row x (mirrored), upright row y its block y (mirrored): each
    // source row is fetched once for the whole band.
    for (JDIMENSION x = 0; x < width; ++x) {
        const JBLOCKROW in = sourceRow(mirrorX_ ? width - 1 - x : x);
        for (JDIMENSION y = startRow; y < endRow; ++y)
            turn(in[mirrorY_ ? height - 1 - y : y], component.band[y - startRow][x]);
    }
}

size_t JpegBytes::size() const {
    return pieces_.empty() ? 0 : (pieces_.size() - 1) * kPiece + lastUsed_;
}

void JpegBytes::clear() {
    pieces_.clear();
    lastUsed_ = 0;
}

void JpegBytes::attach(jpeg_compress_struct& dst) {
    clear();
    destination_.base.init_destination = Start;
    destination_.base.empty_output_buffer = Full;
    destination_.base.term_destination = Finish;
    destination_.owner = this;
    dst.dest = &destination_.base;
}

void JpegBytes::addPiece(j_compress_ptr cinfo) {
    std::unique_ptr<uint8_t[]> piece(new (std::nothrow) uint8_t[kPiece]);
    bool added = false;
    if (piece) {
        try {
            pieces_.push_back(std::move(piece));
            added = true;
        } catch (const std::bad_alloc&) {
        }
    }
    if (!added) ERREXIT1(cinfo, JERR_OUT_OF_MEMORY, 0);
    lastUsed_ = 0;
    destination_.base.next_output_byte = pieces_.back().get();
    destination_.base.free_in_buffer = kPiece;
}

void JpegBytes::Start(j_compress_ptr cinfo) {
    reinterpret_cast<Destination*>(cinfo->dest)->owner->addPiece(cinfo);
}

boolean JpegBytes::Full(j_compress_ptr cinfo) {
    JpegBytes* self = reinterpret_cast<Destination*>(cinfo->dest)->owner;
    self->lastUsed_ = kPiece;
    self->addPiece(cinfo);
    return TRUE;
}

void JpegBytes::Finish(j_compress_ptr cinfo) {
    JpegBytes* self = reinterpret_cast<Destination*>(cinfo->dest)->owner;
    self->lastUsed_ = kPiece - self->destination_.base.free_in_buffer;
}

int TurnJpegUpright(std::FILE* file, Orientation orientation, JpegBytes& out) {
    out.clear();
    if (std::fseek(file, 0, SEEK_SET) != 0) return kImgCannotOpen;
    const long long fileBytes = codec::FileSize(file);
    jpeg_decompress_struct src{};
    jpeg_compress_struct dst{};
    // One error manager for both, so that one jump point serves both.
    JpegErrors errors;
    InstallJpegErrors(errors, true);
    src.err = &errors.base;
    dst.err = &errors.base;
    jpeg_create_decompress(&src);
    jpeg_create_compress(&dst);
    // Set after the jump point and read after a jump: volatile.
    volatile int status = kImgCorruptFile;
    if (setjmp(errors.jump) == 0) {
        jpeg_stdio_src(&src, file);
        jpeg_read_header(&src, TRUE);
        if (!UprightCoefficients::Lossless(src, orientation)) {
            status = kImgUnsupportedOption;
        } else if (PlausibleJpegFrame(src.image_width, src.image_height, src.num_components,
                                      fileBytes)) {
            jvirt_barray_ptr* coefficients = jpeg_read_coefficients(&src);
            // Only data that decodes without a word of complaint is passed on unchanged.
            if (!errors.damaged && !errors.irregular) {
                UprightCoefficients upright(src, coefficients, orientation);
                jpeg_copy_critical_parameters(&src, &dst);
                upright.setUprightParameters(dst);
                out.attach(dst);
                jpeg_write_coefficients(&dst, upright.attach(dst));
                jpeg_finish_compress(&dst);
                status = kImgOk;
            }
        }
    } else if (errors.base.msg_code == JERR_OUT_OF_MEMORY) {
        status = kImgNoMemory;
    }
    jpeg_destroy_compress(&dst);
    jpeg_destroy_decompress(&src);
    if (status != kImgOk) out.clear();
    return status;
}

}  // namespace vellumo::imaging
