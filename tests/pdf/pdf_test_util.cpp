#include "pdf_test_util.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "support/test_support.h"

using testsupport::shellQuote;

namespace pdftest {

int Sh(const std::string& command, std::string* out) {
    int status = 0;
    const std::string output =
        testsupport::capture("timeout 120 sh -c " + shellQuote(command) + " 2>&1", &status);
    if (out) *out = output;
    return status;
}

namespace {

void MustRun(const std::string& command) {
    std::string out;
    ASSERT_EQ(Sh(command, &out), 0) << command << "\n" << out;
}

std::string Density(int dpi) {
    return dpi > 0 ? " -units PixelsPerInch -density " + std::to_string(dpi) : " -units Undefined";
}

// A page with lines, blocks and a circle: edges in every direction, long runs and short ones.
std::string BilevelDrawing(int width, int height) {
    std::ostringstream s;
    s << "-size " << width << "x" << height << " xc:white -fill black -stroke black"
      << " -draw 'rectangle " << width / 10 << "," << height / 20 << " " << width / 2 << ","
      << height / 8 << "'"
      << " -draw 'circle " << width / 2 << "," << height / 2 << " " << width / 2 << ","
      << height / 2 + width / 4 << "'"
      << " -fill white -draw 'circle " << width / 2 << "," << height / 2 << " " << width / 2 << ","
      << height / 2 + width / 8 << "'"
      << " -fill black -draw 'line 0," << height - 1 << " " << width - 1 << ",0'"
      << " -draw 'rectangle 0," << height * 7 / 8 << " " << width - 1 << "," << height * 7 / 8 + 2
      << "'";
    return s.str();
}

}  // namespace

void MakeBilevelPng(const std::string& path, int width, int height, int dpi) {
    MustRun("/usr/bin/convert " + BilevelDrawing(width, height) + " -threshold 50% -type bilevel" +
            Density(dpi) + " " + shellQuote(path));
}

void MakeBilevelTiff(const std::string& path, int width, int height, int dpi,
                     const std::string& compression) {
    const std::string g4 = path + ".g4.tif";
    MustRun("/usr/bin/convert " + BilevelDrawing(width, height) + " -threshold 50% -type bilevel" +
            Density(dpi) + " -compress Group4 " + shellQuote(g4));
    if (compression == "g4")
        MustRun("mv " + shellQuote(g4) + " " + shellQuote(path));
    else
        MustRun("tiffcp -c " + compression + " " + shellQuote(g4) + " " + shellQuote(path) +
                " && rm " + shellQuote(g4));
}

void MakeGreyPng(const std::string& path, int width, int height, int dpi) {
    MustRun("/usr/bin/convert -size " + std::to_string(width) + "x" + std::to_string(height) +
            " gradient:white-black -fill gray40 -draw 'circle 30,30 30,60' -colorspace Gray "
            "-depth 8" +
            Density(dpi) + " PNG8:" + shellQuote(path) + " && /usr/bin/convert " +
            shellQuote(path) + " -type Grayscale -depth 8 " + shellQuote(path));
}

void MakeColourImage(const std::string& path, int width, int height, int dpi) {
    MustRun("/usr/bin/convert -size " + std::to_string(width) + "x" + std::to_string(height) +
            " gradient:orange-navy -fill green -draw 'rectangle 10,10 60,40' -fill red -draw "
            "'circle 80,60 80,90' -depth 8 -type TrueColor" +
            Density(dpi) + " -quality 92 " +
            (path.size() > 4 && path.substr(path.size() - 4) == ".png" ? "PNG24:" : "") +
            shellQuote(path));
}

void MakePalettePng(const std::string& path, int width, int height, int dpi) {
    MustRun("/usr/bin/convert -size " + std::to_string(width) + "x" + std::to_string(height) +
            " gradient:yellow-purple -fill blue -draw 'rectangle 5,5 50,30' -colors 12 -type "
            "Palette" +
            Density(dpi) + " PNG8:" + shellQuote(path));
}

void MakeCmykJpeg(const std::string& path, int width, int height) {
    // Left half pure red, right half white: an inverted reading turns them cyan and black.
    MustRun("/usr/bin/convert -size " + std::to_string(width) + "x" + std::to_string(height) +
            " xc:white -fill red -draw 'rectangle 0,0 " + std::to_string(width / 2 - 1) + "," +
            std::to_string(height - 1) + "' -colorspace CMYK -quality 95 " + shellQuote(path));
}

void MakeNoisyScan(const std::string& path, int width, int height, int dpi, bool colour) {
    MustRun("/usr/bin/convert -size " + std::to_string(width) + "x" + std::to_string(height) +
            (colour ? " gradient:'#f4ecd8'-'#d8e4f0' -fill '#203080'"
                    : " gradient:gray95-gray80 -fill gray20") +
            " -draw 'rectangle 20,20 " + std::to_string(width / 2) + ",40' -draw 'circle " +
            std::to_string(width / 2) + "," + std::to_string(height / 2) + " " +
            std::to_string(width / 2 + 15) + "," + std::to_string(height / 2) +
            "' -seed 3 -attenuate 0.1 +noise Gaussian" +
            (colour ? " -type TrueColor" : " -colorspace Gray") + " -depth 8" + Density(dpi) + " " +
            (path.size() > 4 && path.substr(path.size() - 4) == ".png" ? (colour ? "PNG24:" : "")
                                                                       : "") +
            shellQuote(path));
}

std::vector<PageSize> PageSizes(const std::string& pdf) {
    std::string out;
    std::vector<PageSize> sizes;
    if (Sh("pdfinfo -f 1 -l 100000 " + shellQuote(pdf), &out) != 0) return sizes;
    std::istringstream in(out);
    std::string line;
    while (std::getline(in, line)) {
        double w = 0, h = 0;
        int page = 0;
        if (std::sscanf(line.c_str(), "Page %d size: %lf x %lf", &page, &w, &h) == 3)
            sizes.push_back({w, h});
    }
    return sizes;
}

std::vector<ImageEntry> Images(const std::string& pdf) {
    std::string out;
    std::vector<ImageEntry> images;
    if (Sh("pdfimages -list " + shellQuote(pdf), &out) != 0) return images;
    std::istringstream in(out);
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream f(line);
        ImageEntry e;
        int num;
        std::string type, comp;
        if (!(f >> e.page >> num >> type >> e.width >> e.height >> e.colour >> comp >>
              e.bitsPerComponent >> e.encoding))
            continue;
        images.push_back(e);
    }
    return images;
}

bool QpdfClean(const std::string& pdf, std::string* report) {
    std::string out;
    const int rc = Sh("qpdf --check " + shellQuote(pdf), &out);
    if (report) *report = out;
    return rc == 0 && out.find("No syntax or stream encoding errors") != std::string::npos &&
           out.find("WARNING") == std::string::npos;
}

std::string RenderPoppler(const std::string& pdf, int page, int dpi, bool grey,
                          const std::string& outBase) {
    const std::string p = std::to_string(page);
    std::string out;
    Sh("pdftoppm -png -singlefile -r " + std::to_string(dpi) + " -f " + p + " -l " + p +
           (grey ? " -gray " : " ") + shellQuote(pdf) + " " + shellQuote(outBase),
       &out);
    EXPECT_EQ(out, "") << "pdftoppm reported problems";
    return outBase + ".png";
}

std::string RenderCairo(const std::string& pdf, int page, int dpi, bool grey,
                        const std::string& outBase) {
    const std::string p = std::to_string(page);
    std::string out;
    Sh("pdftocairo -png -singlefile -r " + std::to_string(dpi) + " -f " + p + " -l " + p +
           (grey ? " -gray " : " ") + shellQuote(pdf) + " " + shellQuote(outBase),
       &out);
    EXPECT_EQ(out, "") << "pdftocairo reported problems";
    return outBase + ".png";
}

std::string ExtractImage(const std::string& pdf, int page, const std::string& outBase) {
    const std::string p = std::to_string(page);
    Sh("pdfimages -png -f " + p + " -l " + p + " " + shellQuote(pdf) + " " + shellQuote(outBase));
    return outBase + "-000.png";
}

std::string RenderMutool(const std::string& pdf, int page, int dpi, bool grey,
                         const std::string& outBase) {
    const std::string out = outBase + ".png";
    Sh("mutool draw -q -r " + std::to_string(dpi) + (grey ? " -c gray" : " -c rgb") + " -o " +
       shellQuote(out) + " " + shellQuote(pdf) + " " + std::to_string(page));
    return out;
}

std::string RenderGhostscript(const std::string& pdf, int page, int dpi, bool grey,
                              const std::string& outBase) {
    const std::string out = outBase + ".png";
    std::string output;
    if (Sh(std::string("gs -q -dNOPAUSE -dBATCH -dSAFER -sDEVICE=") +
               (grey ? "pnggray" : "png16m") + " -r" + std::to_string(dpi) +
               " -dFirstPage=" + std::to_string(page) + " -dLastPage=" + std::to_string(page) +
               " -o " + shellQuote(out) + " " + shellQuote(pdf),
           &output) != 0)
        ADD_FAILURE() << "Ghostscript: " << output;
    return out;
}

std::string RenderPdfjs(const std::string& pdf, int page, int dpi, const std::string& outBase) {
    const char* source = std::getenv("VELLUMO_SOURCE_DIR");
    const std::string script =
        std::string(source ? source : ".") + "/tests/support/pdfjs/pdfjs_render.mjs";
    const std::string out = outBase + ".png";
    std::string output;
    if (Sh("node " + shellQuote(script) + " " + shellQuote(pdf) + " " + std::to_string(page) + " " +
               std::to_string(dpi) + " " + shellQuote(out),
           &output) != 0)
        ADD_FAILURE() << "pdf.js: " << output;
    return out;
}

std::string DecodeJbig2WithJbig2dec(const std::string& pdf, int page, const std::string& outBase) {
    const std::string p = std::to_string(page);
    if (Sh("pdfimages -jbig2 -f " + p + " -l " + p + " " + shellQuote(pdf) + " " +
           shellQuote(outBase)) != 0)
        return "";
    const std::string stream = outBase + "-000.jb2e", out = outBase + ".pbm";
    std::string output;
    if (Sh("test -f " + shellQuote(stream) + " && jbig2dec -e -t pbm -o " + shellQuote(out) + " " +
               shellQuote(stream),
           &output) != 0)
        return "";
    return out;
}

long DifferentPixels(const std::string& a, const std::string& b, bool threshold) {
    std::string out;
    const std::string cut = threshold ? " -threshold 50% " : " ";
    Sh("/usr/bin/convert -quiet " + shellQuote(a) + cut + shellQuote(a + ".cmp.png") +
           " && /usr/bin/convert -quiet " + shellQuote(b) + cut + shellQuote(b + ".cmp.png") +
           " && /usr/bin/compare -metric AE " + shellQuote(a + ".cmp.png") + " " +
           shellQuote(b + ".cmp.png") + " null:",
       &out);
    char* end = nullptr;
    const long n = std::strtol(out.c_str(), &end, 10);
    if (end == out.c_str()) ADD_FAILURE() << "compare " << a << " " << b << ": " << out;
    return end == out.c_str() ? -1 : n;
}

double Psnr(const std::string& a, const std::string& b) {
    std::string out;
    Sh("/usr/bin/compare -metric PSNR " + shellQuote(a) + " " + shellQuote(b) + " null:", &out);
    if (out.rfind("inf", 0) == 0) return 1000;
    char* end = nullptr;
    const double v = std::strtod(out.c_str(), &end);
    return end == out.c_str() ? -1 : v;
}

}  // namespace pdftest
