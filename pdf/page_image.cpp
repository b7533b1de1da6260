#include "pdf/page_image.h"

#include <cmath>
#include <cstring>

#include "imaging/imaging.h"
#include "imaging/jpeg_reduced.h"

namespace vellumo::pdf {

using namespace vellumo::imaging;

namespace {

struct Matrix {
    double a = 1, b = 0, c = 0, d = 1, e = 0, f = 0;
    // this, then m: the matrix "m cm" makes of the current one.
    Matrix then(const Matrix& m) const {
        // new CTM = m x CTM
        return Matrix{m.a * a + m.b * c, m.a * b + m.b * d,     m.c * a + m.d * c,
                      m.c * b + m.d * d, m.e * a + m.f * c + e, m.e * b + m.f * d + f};
    }
};

struct GraphicsState {
    Matrix ctm;
    int textRender = 0;
};

bool Fail(std::string* why, const std::string& text) {
    if (why) *why = text;
    return false;
}

// An extended graphics state that changes nothing about how an opaque image looks.
bool HarmlessExtGState(const PdfDocument& doc, const PdfObject& gs) {
    if (!gs.isDict()) return false;
    const PdfObject smask = doc.resolve(gs.get("SMask"));
    if (!smask.isNull() && !smask.isName("None")) return false;
    for (const char* key : {"ca", "CA"}) {
        const PdfObject v = doc.resolve(gs.get(key));
        if (v.isNumber() && v.number() < 0.999) return false;
    }
    const PdfObject bm = doc.resolve(gs.get("BM"));
    if (!bm.isNull() && !bm.isName("Normal") && !bm.isName("Compatible")) {
        if (bm.type != PdfObject::Type::Array || !bm.at(0).isName("Normal")) return false;
    }
    return true;
}

bool Near(double value, double target, double tolerance) {
    return std::fabs(value - target) <= tolerance;
}

}  // namespace

bool FindPageImage(const PdfDocument& doc, int index, PageImage& image, std::string* why) {
    image = PageImage{};
    if (index < 0 || index >= doc.pageCount()) return Fail(why, "no such page");
    if (doc.encrypted()) return Fail(why, "the document is encrypted");
    const PdfPage& page = doc.page(index);

    // The content: one stream or an array of them, joined as one.
    const PdfObject contents = doc.resolvedKey(page.dict, "Contents");
    std::vector<PdfObject> parts;
    if (contents.type == PdfObject::Type::Stream) parts.push_back(contents);
    if (contents.type == PdfObject::Type::Array)
        for (size_t i = 0; i < contents.size(); ++i) parts.push_back(doc.resolve(contents.at(i)));
    if (parts.empty()) return Fail(why, "the page is empty");
    std::string content;
    for (const PdfObject& part : parts) {
        std::string data, reason;
        if (!doc.decodeStream(part, data, reason, nullptr, size_t{16} << 20))
            return Fail(why, "the page content cannot be read: " + reason);
        content += data;
        content += '\n';
    }

    const PdfObject xobjects = doc.resolvedKey(page.resources, "XObject");
    const PdfObject extGStates = doc.resolvedKey(page.resources, "ExtGState");
    std::vector<GraphicsState> stack;
    GraphicsState gs;
    std::vector<PdfObject> operands;
    bool found = false;
    bool inPath = false;
    PdfLexer lex(content);
    while (!lex.atEnd()) {
        bool isOperator = false;
        const size_t before = lex.pos();
        PdfObject token = lex.readToken(isOperator);
        if (lex.pos() == before) return Fail(why, "the page content is damaged");
        if (!isOperator) {
            if (operands.size() > 64) return Fail(why, "the page content is damaged");
            operands.push_back(std::move(token));
            continue;
        }
        const std::string& op = token.text;
        auto number = [&](size_t i) {
            return i < operands.size() && operands[i].isNumber() ? operands[i].number() : 0.0;
        };
        if (op == "q") {
            if (stack.size() > 256) return Fail(why, "the page content is damaged");
            stack.push_back(gs);
        } else if (op == "Q") {
            if (!stack.empty()) {
                gs = stack.back();
                stack.pop_back();
            }
        } else if (op == "cm") {
            if (operands.size() != 6) return Fail(why, "the page content is damaged");
            gs.ctm = gs.ctm.then(
                Matrix{number(0), number(1), number(2), number(3), number(4), number(5)});
        } else if (op == "Tr") {
            gs.textRender = static_cast<int>(number(0));
        } else if (op == "Tj" || op == "TJ" || op == "'" || op == "\"") {
            if (gs.textRender != 3) return Fail(why, "the page has visible text");
        } else if (op == "gs") {
            if (operands.empty() || operands[0].type != PdfObject::Type::Name ||
                !HarmlessExtGState(doc, doc.resolvedKey(extGStates, operands[0].text)))
                return Fail(why, "the page uses transparency");
        } else if (op == "m" || op == "l" || op == "c" || op == "v" || op == "y" || op == "h" ||
                   op == "re") {
            inPath = true;
        } else if (op == "n") {
            inPath = false;  // a path ended without painting
        } else if (op == "W" || op == "W*") {
            return Fail(why, "the page clips its content");
        } else if (op == "Do") {
            if (operands.empty() || operands[0].type != PdfObject::Type::Name)
                return Fail(why, "the page content is damaged");
            const PdfObject& ref = xobjects.get(operands[0].text);
            const PdfObject xobject = doc.resolve(ref);
            if (xobject.type != PdfObject::Type::Stream || !xobject.get("Subtype").isName("Image"))
                return Fail(why, "the page draws a form");
            if (found) return Fail(why, "the page has more than one image");
            found = true;
            const PdfObject mask = doc.resolve(xobject.get("ImageMask"));
            if (mask.type == PdfObject::Type::Bool && mask.boolean)
                return Fail(why, "the image is a stencil mask");
            if (!xobject.get("SMask").isNull() || !xobject.get("Mask").isNull())
                return Fail(why, "the image has a mask");
            const PdfObject w = doc.resolvedKey(xobject, "Width");
            const PdfObject h = doc.resolvedKey(xobject, "Height");
            if (w.type != PdfObject::Type::Int || h.type != PdfObject::Type::Int ||
                w.integer <= 0 || h.integer <= 0 || w.integer > kMaxImageSide ||
                h.integer > kMaxImageSide)
                return Fail(why, "the image has no valid size");
            // Upright, unmirrored, and covering the visible box.
            const Matrix& m = gs.ctm;
            const double tolX = std::max(1.0, page.width() * 0.002);
            const double tolY = std::max(1.0, page.height() * 0.002);
            if (!Near(m.b, 0, 1e-3) || !Near(m.c, 0, 1e-3) || m.a <= 0 || m.d <= 0 ||
                !Near(m.e, page.box[0], tolX) || !Near(m.f, page.box[1], tolY) ||
                !Near(m.e + m.a, page.box[2], tolX) || !Near(m.f + m.d, page.box[3], tolY))
                return Fail(why, "the image does not fill the page");
            image.ref = ref.type == PdfObject::Type::Ref ? ref.ref : PdfRef{};
            image.stream = xobject;
            image.width = static_cast<int>(w.integer);
            image.height = static_cast<int>(h.integer);
        } else if (op == "BI" || op == "sh" || op == "S" || op == "s" || op == "f" || op == "F" ||
                   op == "f*" || op == "B" || op == "B*" || op == "b" || op == "b*" || op == "EI" ||
                   op == "d0" || op == "d1") {
            return Fail(why, "the page has more than an image");
        }
        // Everything else sets state that an opaque image ignores: colours, line styles,
        // text positioning and fonts, marked content.
        (void)inPath;
        operands.clear();
    }
    if (!found) return Fail(why, "the page has no image");
    image.pageWidth = page.width();
    image.pageHeight = page.height();
    image.rotate = page.rotate;
    return true;
}

}  // namespace vellumo::pdf
