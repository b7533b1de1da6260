// Test inputs made by independent tools (ImageMagick, libtiff's tools) and checks of the PDFs
// with qpdf and poppler (pdfinfo, pdfimages, pdftoppm, pdftocairo).
#pragma once

#include <string>
#include <vector>

namespace pdftest {

// Runs a shell command with a time limit; returns its exit status, output in *out (stdout and
// stderr together) when given.
int Sh(const std::string& command, std::string* out = nullptr);

// Inputs. Sizes in pixels, resolution in dpi (0: the file records none).
void MakeBilevelPng(const std::string& path, int width, int height, int dpi);
void MakeBilevelTiff(const std::string& path, int width, int height, int dpi,
                     const std::string& compression);  // "g4", "lzw", "none" (tiffcp -c)
void MakeGreyPng(const std::string& path, int width, int height, int dpi);
void MakeColourImage(const std::string& path, int width, int height, int dpi);  // by extension
void MakePalettePng(const std::string& path, int width, int height, int dpi);
void MakeCmykJpeg(const std::string& path, int width, int height);
// A page as a scanner gives it: a paper tone, text and sensor noise, grey or colour; the format
// by extension. JPEG pays on it where it does not on the smooth drawings above.
void MakeNoisyScan(const std::string& path, int width, int height, int dpi, bool colour);

struct PageSize {
    double width, height;
};
std::vector<PageSize> PageSizes(const std::string& pdf);

struct ImageEntry {
    int page;
    int width, height;
    std::string colour;
    int bitsPerComponent;
    std::string encoding;  // "ccitt", "jpeg", "image" (Flate) ...
};
std::vector<ImageEntry> Images(const std::string& pdf);

// qpdf --check passes without warnings.
bool QpdfClean(const std::string& pdf, std::string* report = nullptr);

// Renders page (from 1) at dpi into a PNG (grey when grey) and returns its path.
std::string RenderPoppler(const std::string& pdf, int page, int dpi, bool grey,
                          const std::string& outBase);
std::string RenderCairo(const std::string& pdf, int page, int dpi, bool grey,
                        const std::string& outBase);
// The image of page as poppler decodes it from the file, as PNG.
std::string ExtractImage(const std::string& pdf, int page, const std::string& outBase);

// The same with MuPDF (mutool draw), Ghostscript and pdf.js (Node, tests/support/pdfjs); grey
// or colour as asked (pdf.js always colour).
std::string RenderMutool(const std::string& pdf, int page, int dpi, bool grey,
                         const std::string& outBase);
std::string RenderGhostscript(const std::string& pdf, int page, int dpi, bool grey,
                              const std::string& outBase);
std::string RenderPdfjs(const std::string& pdf, int page, int dpi, const std::string& outBase);
// The JBIG2 stream of page's image as pdfimages extracts it, decoded by the jbig2dec program,
// as PBM; empty when the page has no JBIG2 image or jbig2dec fails.
std::string DecodeJbig2WithJbig2dec(const std::string& pdf, int page, const std::string& outBase);

// Number of differing pixels, and the PSNR in dB, as ImageMagick's compare gives them;
// threshold: both images cut at 50% first.
long DifferentPixels(const std::string& a, const std::string& b, bool threshold = false);
double Psnr(const std::string& a, const std::string& b);

}  // namespace pdftest
