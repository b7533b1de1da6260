#include "support/text_pages.h"

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <sstream>

#include "imaging/codecs.h"
#include "imaging/transform.h"

namespace testsupport {

using namespace vellumo::imaging;

namespace {

const char kEnglish[] =
    "Every office keeps a drawer of paper that nobody wants to file and nobody dares to "
    "throw away. Letters from the bank, receipts for repairs, the warranty of a washing "
    "machine, a contract signed years ago. When the day comes that one of them is needed, "
    "the search begins, and it rarely ends well. A scanner turns that drawer into a folder "
    "of documents that can be searched in seconds, provided the text of each page can be "
    "read by the computer as well as by the eye. The picture of a page is not enough: a "
    "search for the word invoice finds nothing in a photograph. Recognition reads the "
    "letters in the picture and lays the words, invisible, exactly where they appear, so "
    "that a reader can select a sentence, copy it into a letter, or let a screen reader "
    "speak it aloud. Good recognition is careful about small things. Words must keep their "
    "spaces when they are copied, or the sentence becomes one long string that no search "
    "will ever match. Lines must end where the printed lines end. Columns must be read one "
    "after the other, not across the page from left to right. The text must sit on the "
    "words it belongs to, so that a highlighted phrase covers the ink and not the margin "
    "beside it. None of this should make the file much larger, because the picture is "
    "still the largest part of every page. Many people scan in the evening, after work, "
    "with a cup of tea beside the machine and a pile of envelopes on the floor. They want "
    "the program to be quick and quiet, to keep every page in order, and to tell them "
    "clearly when something goes wrong. A missing language pack should not cost them a "
    "document; it should cost them only the text, with a plain note about which package "
    "to install. The same care applies to old pages. Paper turns yellow, ink fades, and a "
    "page is often fed into the scanner slightly crooked. Small specks of dust appear as "
    "dots between the letters. A good program reads through all of that and still finds "
    "the name of the landlord, the date of the meter reading, and the amount that was paid "
    "in March. Over the years such a folder becomes a small archive of a household: "
    "insurance policies, school reports, medical letters, tax returns, the manual of a "
    "heating system that nobody remembers installing. Each of these documents is worth "
    "little on its own, but together they describe a life, and finding the right one "
    "quickly is worth a great deal.";

const char kGerman[] =
    "Jedes B\xC3\xBC"
    "ro hat eine Schublade voller Papiere, die niemand ablegen und niemand "
    "wegwerfen m\xC3\xB6"
    "chte. Briefe von der Bank, Quittungen f\xC3\xBC"
    "r Reparaturen, die "
    "Garantie einer Waschmaschine, ein Vertrag, der vor Jahren unterschrieben wurde. Wenn "
    "eines dieser Bl\xC3\xA4"
    "tter gebraucht wird, beginnt die Suche, und sie endet selten "
    "gut. Ein Scanner verwandelt diese Schublade in einen Ordner voller Dokumente, die sich "
    "in wenigen Sekunden durchsuchen lassen, sofern der Text jeder Seite vom Rechner ebenso "
    "gelesen werden kann wie vom Auge. Das Bild einer Seite gen\xC3\xBC"
    "gt dabei nicht: Die "
    "Suche nach dem Wort Rechnung findet in einem Foto nichts. Die Texterkennung liest die "
    "Buchstaben im Bild und legt die W\xC3\xB6"
    "rter unsichtbar genau dorthin, wo sie "
    "erscheinen, damit man einen Satz markieren, in einen Brief kopieren oder sich von einem "
    "Bildschirmleser vorlesen lassen kann. Gute Erkennung achtet auf Kleinigkeiten. Die "
    "W\xC3\xB6"
    "rter m\xC3\xBC"
    "ssen beim Kopieren ihre Leerzeichen behalten, sonst wird der Satz "
    "zu einer langen Zeichenkette, die keine Suche jemals findet. Zeilen m\xC3\xBC"
    "ssen dort "
    "enden, wo die gedruckten Zeilen enden. Spalten m\xC3\xBC"
    "ssen nacheinander gelesen werden "
    "und nicht quer \xC3\xBC"
    "ber die Seite. Der Text muss auf den W\xC3\xB6"
    "rtern liegen, zu "
    "denen er geh\xC3\xB6"
    "rt, damit eine markierte Stelle die Tinte bedeckt und nicht den Rand "
    "daneben. Nichts davon sollte die Datei wesentlich gr\xC3\xB6\xC3\x9F"
    "er machen, denn das "
    "Bild bleibt der gr\xC3\xB6\xC3\x9F"
    "te Teil jeder Seite. Viele Menschen scannen am Abend, "
    "nach der Arbeit, mit einer Tasse Tee neben dem Ger\xC3\xA4"
    "t und einem Stapel Umschl\xC3\xA4"
    "ge "
    "auf dem Boden. Sie w\xC3\xBC"
    "nschen sich ein Programm, das schnell und leise arbeitet, "
    "jede Seite in der richtigen Reihenfolge beh\xC3\xA4"
    "lt und deutlich sagt, wenn etwas "
    "schiefgeht. Ein fehlendes Sprachpaket darf kein Dokument kosten, sondern nur den Text, "
    "mit einem klaren Hinweis, welches Paket zu installieren ist. Dieselbe Sorgfalt gilt "
    "f\xC3\xBC"
    "r alte Seiten. Papier vergilbt, Tinte verblasst, und oft wird ein Blatt leicht "
    "schief eingezogen. Kleine Staubk\xC3\xB6"
    "rner erscheinen als Punkte zwischen den "
    "Buchstaben. Ein gutes Programm liest durch all das hindurch und findet trotzdem den "
    "Namen des Vermieters, das Datum der Z\xC3\xA4"
    "hlerablesung und den Betrag, der im "
    "M\xC3\xA4"
    "rz gezahlt wurde. Mit den Jahren wird aus einem solchen Ordner ein kleines "
    "Archiv des Haushalts: Versicherungen, Zeugnisse, Arztbriefe, Steuerbescheide und die "
    "Anleitung einer Heizung, an deren Einbau sich niemand erinnert. Jedes dieser Dokumente "
    "ist f\xC3\xBC"
    "r sich wenig wert, doch zusammen beschreiben sie ein Leben, und das richtige "
    "schnell zu finden, ist viel wert.";

std::vector<std::string> Split(const char* text) {
    std::vector<std::string> words;
    std::istringstream in(text);
    std::string w;
    while (in >> w) words.push_back(w);
    return words;
}

// UTF-8 to Latin-1 for the PostScript strings (the prose has nothing beyond Latin-1).
std::string Latin1(const std::string& utf8) {
    std::string out;
    for (size_t i = 0; i < utf8.size(); ++i) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if ((c & 0xE0) == 0xC0 && i + 1 < utf8.size()) {
            out += static_cast<char>(((c & 0x1F) << 6) | (utf8[i + 1] & 0x3F));
            ++i;
        }
    }
    return out;
}

std::string PsString(const std::string& latin1) {
    std::string out = "<";
    char hex[3];
    for (unsigned char c : latin1) {
        std::snprintf(hex, sizeof hex, "%02X", c);
        out += hex;
    }
    return out + ">";
}

// The page program: each word is shown and its outline's box, turned into device pixels,
// printed as "W left top right bottom" before it; "L" starts a line.
std::string PageProgram(const TextPagePlan& plan, const std::vector<std::string>& words) {
    std::ostringstream ps;
    ps.setf(std::ios::fixed);
    ps.precision(3);
    ps << "%!PS\n<< /PageSize [" << plan.pageWidthPt << " " << plan.pageHeightPt
       << "] >> setpagedevice\n"
       << "/Body /" << plan.font
       << " findfont dup length dict begin { 1 index /FID ne { def } { pop pop } ifelse } "
          "forall /Encoding ISOLatin1Encoding def currentdict end definefont pop\n"
       << "/Body findfont " << plan.pointSize << " scalefont setfont\n"
       << "/lead " << plan.pointSize * 1.3 << " def /space ( ) stringwidth pop def\n"
       << "/dev { transform 2 { round cvi exch } repeat } def\n"
       // Prints the device box of the four corners of a user-space box.
       << "/report { /ury exch def /urx exch def /lly exch def /llx exch def\n"
          "  [ llx lly dev urx lly dev urx ury dev llx ury dev ] /c exch def\n"
          "  (W ) print c 0 get c 2 get min c 4 get min c 6 get min =only ( ) print\n"
          "  c 1 get c 3 get min c 5 get min c 7 get min =only ( ) print\n"
          "  c 0 get c 2 get max c 4 get max c 6 get max =only ( ) print\n"
          "  c 1 get c 3 get max c 5 get max c 7 get max =only (\\n) print } def\n"
       << "/newline { /x colL def /y y lead sub def (L\\n) print } def\n"
       << "/word { dup stringwidth pop /w exch def\n"
          "  x colL gt x w add colR gt and { newline } if\n"
          "  gsave newpath x y moveto dup false charpath flattenpath pathbbox grestore report\n"
          "  x y moveto show /x x w add space add def } def\n";
    // A slight skew turns the whole text about the page's centre.
    const double cx = plan.pageWidthPt / 2, cy = plan.pageHeightPt / 2;
    ps << cx << " " << cy << " translate " << plan.skewDegrees << " rotate " << -cx << " " << -cy
       << " translate\n";
    const double margin = 64, gutter = 24;
    const double columnWidth =
        (plan.pageWidthPt - 2 * margin - gutter * (plan.columns - 1)) / plan.columns;
    const size_t perColumn = (words.size() + plan.columns - 1) / plan.columns;
    for (int c = 0; c < plan.columns; ++c) {
        const double left = margin + c * (columnWidth + gutter);
        ps << "/colL " << left << " def /colR " << left + columnWidth << " def /x colL def /y "
           << plan.pageHeightPt - margin - plan.pointSize << " def (L\\n) print\n";
        for (size_t i = c * perColumn; i < std::min(words.size(), (c + 1) * perColumn); ++i)
            ps << PsString(Latin1(words[i])) << " word\n";
    }
    ps << "showpage\n";
    return ps.str();
}

// Worn-scan noise on a grey page: speckle over everything, dark specks in the margins and
// between the lines, and a few pale spots inside the strokes.
void AddNoise(ImageBuffer& image, unsigned seed) {
    std::mt19937 rng(seed);
    std::normal_distribution<double> grain(0, 14);
    std::uniform_int_distribution<int> percent(0, 9999);
    const int w = ImageWidth(image), h = ImageHeight(image);
    for (int y = 0; y < h; ++y) {
        uint8_t* row = RowPointer(image, y);
        for (int x = 0; x < w; ++x) {
            double v = row[x] + grain(rng);
            const int roll = percent(rng);
            if (roll < 6)
                v = 40;  // a dark speck
            else if (roll < 12 && row[x] < 128)
                v = 230;  // a pale spot in a stroke
            row[x] = static_cast<uint8_t>(std::clamp(v, 0.0, 255.0));
        }
    }
    // Dust: small dark blots of two to three pixels.
    std::uniform_int_distribution<int> px(0, w - 4), py(0, h - 4);
    for (int i = 0; i < w * h / 40000; ++i) {
        const int x0 = px(rng), y0 = py(rng);
        for (int y = y0; y < y0 + 2 + i % 2; ++y)
            for (int x = x0; x < x0 + 2 + i % 2; ++x) RowPointer(image, y)[x] = 30;
    }
}

bool IsDark(const ImageBuffer& image, int x, int y) {
    const uint8_t* row = RowPointer(image, y);
    switch (BitsPerPixel(image)) {
        case 1: {
            const int index = (row[x / 8] >> (7 - x % 8)) & 1;
            return image.palette[index].rgbRed < 128;
        }
        case 8:
            return image.palette[row[x]].rgbRed < 128;
        default:
            return row[3 * x] + row[3 * x + 1] + row[3 * x + 2] < 3 * 128;
    }
}

// The outline's box, shrunk or grown to the pixels the word actually inked.
InkBox InkedBox(const ImageBuffer& image, const InkBox& outline) {
    const int w = ImageWidth(image), h = ImageHeight(image);
    InkBox ink{w, h, 0, 0};
    for (int y = std::max(0, outline.top - 1); y < std::min(h, outline.bottom + 1); ++y)
        for (int x = std::max(0, outline.left - 1); x < std::min(w, outline.right + 1); ++x)
            if (IsDark(image, x, y)) {
                ink.left = std::min(ink.left, x);
                ink.top = std::min(ink.top, y);
                ink.right = std::max(ink.right, x + 1);
                ink.bottom = std::max(ink.bottom, y + 1);
            }
    return ink.right > ink.left ? ink : outline;
}

std::string GhostscriptDevice(int bits) {
    return bits == 1 ? "tiffg4" : bits == 24 ? "png16m" : "pnggray";
}

}  // namespace

std::vector<std::string> TextPage::lines() const {
    std::vector<std::string> out;
    for (const PageWord& w : words) {
        if (static_cast<int>(out.size()) <= w.line) out.resize(w.line + 1);
        if (!out[w.line].empty()) out[w.line] += ' ';
        out[w.line] += w.text;
    }
    return out;
}

const std::vector<std::string>& ProseWords(const std::string& language) {
    static const std::vector<std::string> english = Split(kEnglish);
    static const std::vector<std::string> german = Split(kGerman);
    return language == "deu" ? german : english;
}

double Overlap(const InkBox& a, const InkBox& b) {
    const double iw = std::min(a.right, b.right) - std::max(a.left, b.left);
    const double ih = std::min(a.bottom, b.bottom) - std::max(a.top, b.top);
    if (iw <= 0 || ih <= 0) return 0;
    const double inter = iw * ih;
    const double areaA = double(a.right - a.left) * (a.bottom - a.top);
    const double areaB = double(b.right - b.left) * (b.bottom - b.top);
    return inter / (areaA + areaB - inter);
}

bool RenderTextPage(const TextPagePlan& plan, const std::string& path, TextPage& page,
                    std::string& error) {
    const std::vector<std::string>& prose = ProseWords(plan.language);
    std::vector<std::string> words;
    for (int i = 0; i < plan.words; ++i)
        words.push_back(prose[(plan.firstWord + i) % prose.size()]);

    const std::string program = path + ".ps";
    if (FILE* f = std::fopen(program.c_str(), "w")) {
        const std::string text = PageProgram(plan, words);
        std::fwrite(text.data(), 1, text.size(), f);
        std::fclose(f);
    } else {
        error = "cannot write " + program;
        return false;
    }
    const std::string command =
        "gs -q -dNOPAUSE -dBATCH -dSAFER -sDEVICE=" + GhostscriptDevice(plan.bitsPerPixel) + " -r" +
        std::to_string(plan.dpi) + " -sOutputFile='" + path + "' '" + program + "' 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) {
        error = "cannot run gs";
        return false;
    }
    page = TextPage{};
    page.path = path;
    int line = -1;
    size_t next = 0;
    char buffer[512];
    std::string stray;
    while (std::fgets(buffer, sizeof buffer, pipe)) {
        InkBox box;
        if (buffer[0] == 'L') {
            ++line;
        } else if (std::sscanf(buffer, "W %d %d %d %d", &box.left, &box.top, &box.right,
                               &box.bottom) == 4 &&
                   next < words.size()) {
            page.words.push_back(PageWord{words[next++], box, std::max(line, 0)});
        } else {
            stray += buffer;
        }
    }
    const int status = pclose(pipe);
    unlink(program.c_str());
    if (status != 0 || next != words.size()) {
        error = "gs failed: " + stray;
        return false;
    }
    // Lines without words (a column that starts on a fresh line) are not lines of the text.
    std::vector<int> renumber;
    for (PageWord& w : page.words) {
        if (renumber.empty() || renumber.back() != w.line) renumber.push_back(w.line);
        w.line = static_cast<int>(renumber.size()) - 1;
    }

    const bool transform = plan.noisy || plan.quarterTurns % 4 != 0;
    ImageBuffer image{};
    if (ReadImageFile(path.c_str(), image) != 0) {
        error = "cannot read back " + path;
        return false;
    }
    page.width = ImageWidth(image);
    page.height = ImageHeight(image);
    for (PageWord& w : page.words) w.ink = InkedBox(image, w.ink);
    if (transform) {
        if (plan.noisy && BitsPerPixel(image) == 8) AddNoise(image, 1234 + plan.firstWord);
        const int turns = ((plan.quarterTurns % 4) + 4) % 4;
        for (int t = 0; t < turns; ++t) {
            ImageBuffer turned{};
            if (AllocateImage(turned, ImageHeight(image), ImageWidth(image), BitsPerPixel(image)) !=
                    0 ||
                RotateQuarterTurn(0, image, turned) != 0) {
                FreeImage(turned);
                FreeImage(image);
                error = "cannot turn the page";
                return false;
            }
            CopyPalette(image, turned);
            FreeImage(image);
            CopyImageDescriptor(turned, image);
            // The words turn with the page: clockwise, (x, y) -> (h - y, x).
            for (PageWord& w : page.words) {
                const InkBox b = w.ink;
                w.ink = InkBox{page.height - b.bottom, b.left, page.height - b.top, b.right};
            }
            std::swap(page.width, page.height);
        }
        SetImageDpi(image, plan.dpi, plan.dpi);
        const int saved = plan.bitsPerPixel == 1 ? SaveTiff(path.c_str(), image, 4)
                                                 : SavePng(path.c_str(), image, 0);
        if (saved != 0) {
            FreeImage(image);
            error = "cannot save " + path;
            return false;
        }
    }
    FreeImage(image);
    return true;
}

}  // namespace testsupport
