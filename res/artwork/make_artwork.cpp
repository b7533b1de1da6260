// Paints all of Vellumo's artwork: the window skin (200.png), the page-count background, the
// command, tab, radio and toggle bitmaps, the program icon and the about picture.
//
//   QT_QPA_PLATFORM=offscreen vellumo_make_artwork OUTPUT_DIR [--preview PREVIEW_DIR]
//   QT_QPA_PLATFORM=offscreen vellumo_make_artwork OUTPUT_DIR/LANG --language LANG QM_FILE
//   QT_QPA_PLATFORM=offscreen vellumo_make_artwork --check IMAGES_DIR
//
// With --language the images that carry words (the skin, the command buttons, ABOUT, HELP and
// the tabs) are painted in that language, from the program's translations, into their own
// folder; the program picks them by the user's language. A word that does not fit its place
// even at the smallest size allowed is an error: nothing is ever cut off.
//
// Every control's position comes from the main window's control table (mainwnd/controls.h),
// the one the main dialog places its controls from; frames and labels are drawn around those
// rectangles, so moving a control means changing one line there and regenerating. Bitmaps that sit
// on the skin are painted on a copy of the skin pixels beneath them, so their rounded corners blend
// in whatever way the widget blits them (with or without alpha). Radios and toggles are also used
// on the settings pages, so they keep a transparent background.

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QTextStream>
#include <QTranslator>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "mainwnd/controls.h"
#include "widgets/skin_palette.h"

namespace {

// ---------------------------------------------------------------------------------------------
// Layout: pixels of the skin image, which are the main dialog's client coordinates.

namespace layout {
constexpr int kWidth = 899;
constexpr int kHeight = 665;

// The opaque window body inside the canvas; the margin around it carries the drop shadow.
const QRect kBody(6, 4, 887, 653);
constexpr qreal kBodyRadius = 12;
constexpr int kSidebarRight = 231;  // the embedded settings pages start here
constexpr int kStepsTop = 518;      // centre of the first of the three steps

// The controls' places come from the main window's control table.
constexpr QRect Place(int controlId) {
    const vellumo::mainwnd::ControlPlace p = vellumo::mainwnd::PlaceOf(controlId);
    return QRect(p.x, p.y, p.width, p.height);
}
constexpr QPoint Corner(int controlId) {
    return Place(controlId).topLeft();
}
namespace id = vellumo::mainwnd::id;

// Left column.
const QRect kTabHome = Place(id::HomeTab);
const QRect kTabSettings = Place(id::SettingsTab);
const QRect kTabGeneral = Place(id::GeneralTab);
const QRect kTabEmail = Place(id::EmailTab);
const QRect kTabDocuments = Place(id::DocumentsTab);
const QRect kAbout = Place(id::About);
const QRect kHelp = Place(id::Help);

// Window buttons.
const QRect kMinimize = Place(id::Minimize);
const QRect kExit = Place(id::Exit);

// Page list.
const QRect kPageCount = Place(id::PageCount);
const QRect kPageList = Place(id::PageList);
const QRect kPageCard(264, 70, 310, 518);

// Command buttons.
const QRect kScan = Place(id::ScanPage);
const QRect kLoad = Place(id::LoadPage);
const QRect kMail = Place(id::MailPdf);
const QRect kSave = Place(id::SavePdf);

// Quick settings: the controls' top-left corners; the widgets draw their bitmap from there.
const QPoint kModeRadios[3] = {Corner(id::ModeRadios[0]), Corner(id::ModeRadios[1]),
                               Corner(id::ModeRadios[2])};
// Left to right: dark end (level 6) to bright end (level 0).
const QPoint kBrightRadios[7] = {Corner(id::BrightnessRadios[6]), Corner(id::BrightnessRadios[5]),
                                 Corner(id::BrightnessRadios[4]), Corner(id::BrightnessRadios[3]),
                                 Corner(id::BrightnessRadios[2]), Corner(id::BrightnessRadios[1]),
                                 Corner(id::BrightnessRadios[0])};
// Letter, A4, Legal, A3.
const QPoint kSizeRadios[4] = {Corner(id::PageSizeRadios[0]), Corner(id::PageSizeRadios[1]),
                               Corner(id::PageSizeRadios[2]), Corner(id::PageSizeRadios[3])};
const QPoint kToggles[3] = {Corner(id::ShowPreview), Corner(id::NoFeeder), Corner(id::Duplex)};

// Group cards of the quick settings and the heading line above each.
const QRect kModeCard(597, 153, 264, 92);
const QRect kBrightCard(597, 266, 264, 56);
const QRect kSizeCard(597, 346, 264, 63);
const QRect kOptionCard(597, 432, 264, 91);
constexpr int kModeHeadingY = 142;
constexpr int kBrightHeadingY = 257;
constexpr int kSizeHeadingY = 337;
constexpr int kOptionHeadingY = 423;
constexpr int kBrightLabelY = 307;

// Where an embedded settings page is shown (covers the page list and the quick settings).
const QRect kSettingsFrame(vellumo::mainwnd::kSettingsPageFrame.x,
                           vellumo::mainwnd::kSettingsPageFrame.y,
                           vellumo::mainwnd::kSettingsPageFrame.width,
                           vellumo::mainwnd::kSettingsPageFrame.height);
}  // namespace layout

// Bitmap sizes.
constexpr int kRadioSize = 18;
constexpr int kToggleSize = 19;
constexpr int kLabelGap = 8;  // from a radio's or toggle's control edge to its label

// ---------------------------------------------------------------------------------------------
// Palette.

namespace colour {
const QColor kSidebar(0x24, 0x30, 0x38);
const QColor kSidebarPill(0x33, 0x44, 0x4e);
const QColor kSidebarSubPill(0x2d, 0x3c, 0x45);
const QColor kSidebarLine(0x3a, 0x4a, 0x54);
const QColor kSidebarText(0xff, 0xff, 0xff);
const QColor kSidebarMuted(0xb1, 0xbe, 0xc5);
const QColor kSidebarDim(0x84, 0x94, 0x9c);
const QColor kAccentOnDark(0x5a, 0xa6, 0xee);

const QColor kContent(0xed, 0xed, 0xed);  // also the settings pages' background
const QColor kCard(0xff, 0xff, 0xff);
const QColor kCardBorder(0xd5, 0xd9, 0xdc);
const QColor kHeading(71, 82, 86);
const QColor kText(0x2a, 0x32, 0x36);
const QColor kMuted(0x6c, 0x78, 0x7e);
const QColor kTrack(0xd0, 0xd6, 0xda);
const QColor kListBackground(227, 227, 227);

const QColor kAccent = QColor::fromRgb(vellumo::widgets::kSkinAccent);
const QColor kAccentHover(0x36, 0x87, 0xd4);
const QColor kAccentPressed(0x21, 0x62, 0xa2);
const QColor kAccentText(0x1f, 0x5e, 0x9c);
const QColor kControlBorder(0x86, 0x93, 0x9a);
const QColor kSecondaryBorder(0xbf, 0xc7, 0xcc);
const QColor kSecondaryHover(0xf3, 0xf7, 0xfa);
const QColor kSecondaryPressed(0xe1, 0xe8, 0xed);
const QColor kWindowGlyph(0x4f, 0x5b, 0x61);
const QColor kWindowHover(0xdb, 0xde, 0xe0);
const QColor kWindowPressed(0xca, 0xcf, 0xd2);
const QColor kDanger(0xcf, 0x43, 0x39);
const QColor kDangerPressed(0xad, 0x35, 0x2c);
const QColor kIconPage(0x4a, 0x5a, 0x64);
const QColor kIconLines(0xb6, 0xc1, 0xc8);
}  // namespace colour

const char* const kFontFamily = "Lato";

// ---------------------------------------------------------------------------------------------
// Drawing helpers.

QFont uiFont(int pixelSize, QFont::Weight weight, qreal letterSpacing = 0) {
    QFont font(kFontFamily);
    font.setPixelSize(pixelSize);
    font.setWeight(weight);
    font.setHintingPreference(QFont::PreferVerticalHinting);
    font.setStyleStrategy(QFont::PreferAntialias);
    if (letterSpacing != 0) font.setLetterSpacing(QFont::AbsoluteSpacing, letterSpacing);
    return font;
}

enum class Align { Left, Centre, Right };

// Texts that did not fit their place even at the smallest size allowed (a fault: the
// generator refuses to write images with cut-off words).
std::vector<QString> unfitted;

// The font at which `text` fits `maxWidth` (0: any width): first without letter spacing, then
// smaller, down to three quarters of its size. A text that does not fit even so is noted.
QFont fitted(const QString& text, QFont font, qreal maxWidth) {
    if (maxWidth <= 0 || QFontMetricsF(font).horizontalAdvance(text) <= maxWidth) return font;
    font.setLetterSpacing(QFont::AbsoluteSpacing, 0);
    const int smallest = std::max(9, font.pixelSize() * 3 / 4);
    while (QFontMetricsF(font).horizontalAdvance(text) > maxWidth && font.pixelSize() > smallest)
        font.setPixelSize(font.pixelSize() - 1);
    if (QFontMetricsF(font).horizontalAdvance(text) > maxWidth)
        unfitted.push_back(QString("\"%1\" (%2 px wide, %3 px free)")
                               .arg(text)
                               .arg(QFontMetricsF(font).horizontalAdvance(text), 0, 'f', 0)
                               .arg(maxWidth, 0, 'f', 0));
    return font;
}

// Draws one line of text with its capitals centred on centreY and the baseline and start on
// whole pixels, which keeps the glyphs crisp. With maxWidth the text is made to fit that width.
void drawLabel(QPainter& p, const QString& text, const QFont& wanted, const QColor& colour, qreal x,
               qreal centreY, Align align = Align::Left, qreal maxWidth = 0) {
    const QFont font = fitted(text, wanted, maxWidth);
    const QFontMetricsF metrics(font);
    const qreal width = metrics.horizontalAdvance(text);
    qreal left = x;
    if (align == Align::Centre) left = x - width / 2;
    if (align == Align::Right) left = x - width;
    const qreal baseline = std::round(centreY + metrics.capHeight() / 2);
    p.save();
    p.setFont(font);
    p.setPen(colour);
    p.drawText(QPointF(std::round(left), baseline), text);
    p.restore();
}

// The words of the artwork in the language being painted (English without a translation).
QString skinText(const char* context, const char* english) {
    return QCoreApplication::translate(context, english);
}

QImage newCanvas(int width, int height) {
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

void beginPainter(QPainter& p) {
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
}

// A filled rounded rectangle with an optional one-pixel border kept on the pixel grid.
void roundedBox(QPainter& p, const QRectF& rect, qreal radius, const QColor& fill,
                const QColor& border = QColor()) {
    p.save();
    if (border.isValid()) {
        p.setPen(QPen(border, 1));
        p.setBrush(fill);
        p.drawRoundedRect(rect.adjusted(0.5, 0.5, -0.5, -0.5), radius - 0.5, radius - 0.5);
    } else {
        p.setPen(Qt::NoPen);
        p.setBrush(fill);
        p.drawRoundedRect(rect, radius, radius);
    }
    p.restore();
}

// Separable box blur of the alpha channel, run three times (close to a Gaussian).
QImage blurredAlpha(const QImage& source, int radius) {
    const int w = source.width();
    const int h = source.height();
    std::vector<float> a(static_cast<size_t>(w) * h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) a[y * w + x] = qAlpha(source.pixel(x, y));
    std::vector<float> tmp(a.size());
    auto pass = [&](bool horizontal) {
        const int n = horizontal ? w : h;
        const int lines = horizontal ? h : w;
        for (int line = 0; line < lines; ++line) {
            auto at = [&](int i) -> float& {
                return horizontal ? a[line * w + i] : a[i * w + line];
            };
            float sum = 0;
            for (int i = -radius; i <= radius; ++i) sum += at(std::clamp(i, 0, n - 1));
            for (int i = 0; i < n; ++i) {
                (horizontal ? tmp[line * w + i] : tmp[i * w + line]) = sum / (2 * radius + 1);
                sum += at(std::min(i + radius + 1, n - 1)) - at(std::max(i - radius, 0));
            }
        }
        a.swap(tmp);
    };
    for (int i = 0; i < 3; ++i) {
        pass(true);
        pass(false);
    }
    QImage out = newCanvas(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            out.setPixel(x, y, qPremultiply(qRgba(0, 0, 0, std::lround(a[y * w + x]))));
    return out;
}

// ---------------------------------------------------------------------------------------------
// Small glyphs.

void drawHouse(QPainter& p, QPointF origin, const QColor& colour) {
    p.save();
    p.translate(origin);
    p.setPen(QPen(colour, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    QPainterPath roof;
    roof.moveTo(2, 8.5);
    roof.lineTo(9, 2.5);
    roof.lineTo(16, 8.5);
    p.drawPath(roof);
    QPainterPath walls;
    walls.moveTo(4.5, 7);
    walls.lineTo(4.5, 15.5);
    walls.lineTo(13.5, 15.5);
    walls.lineTo(13.5, 7);
    p.drawPath(walls);
    p.drawLine(QPointF(9, 15.5), QPointF(9, 11.5));
    p.restore();
}

void drawSliders(QPainter& p, QPointF origin, const QColor& colour, const QColor& background) {
    p.save();
    p.translate(origin);
    p.setPen(QPen(colour, 1.6, Qt::SolidLine, Qt::RoundCap));
    const qreal rows[3] = {4, 9, 14};
    const qreal knobs[3] = {12, 6, 11};
    for (int i = 0; i < 3; ++i) p.drawLine(QPointF(2, rows[i]), QPointF(16, rows[i]));
    p.setBrush(background);
    for (int i = 0; i < 3; ++i) p.drawEllipse(QPointF(knobs[i], rows[i]), 2.2, 2.2);
    p.restore();
}

void drawChevron(QPainter& p, QPointF centre, bool down, const QColor& colour) {
    p.save();
    p.setPen(QPen(colour, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    QPainterPath path;
    if (down) {
        path.moveTo(centre + QPointF(-4, -2));
        path.lineTo(centre + QPointF(0, 2));
        path.lineTo(centre + QPointF(4, -2));
    } else {
        path.moveTo(centre + QPointF(-2, -4));
        path.lineTo(centre + QPointF(2, 0));
        path.lineTo(centre + QPointF(-2, 4));
    }
    p.drawPath(path);
    p.restore();
}

// ---------------------------------------------------------------------------------------------
// Program icon: a page with a folded corner crossed by the scanner's light bar. Geometry on a
// 256 grid; the two smallest sizes have their own pixel-fitted drawing.

struct IconGeometry {
    qreal left = 52, top = 20, right = 204, bottom = 236, radius = 16, fold = 48;
    qreal beamTop = 138, beamHeight = 16, beamLeft = 28, beamRight = 228;
    qreal stroke = 8;
};

QPainterPath iconPagePath(const IconGeometry& g) {
    QPainterPath path;
    path.moveTo(g.left + g.radius, g.top);
    path.lineTo(g.right - g.fold, g.top);
    path.lineTo(g.right, g.top + g.fold);
    path.lineTo(g.right, g.bottom - g.radius);
    path.quadTo(g.right, g.bottom, g.right - g.radius, g.bottom);
    path.lineTo(g.left + g.radius, g.bottom);
    path.quadTo(g.left, g.bottom, g.left, g.bottom - g.radius);
    path.lineTo(g.left, g.top + g.radius);
    path.quadTo(g.left, g.top, g.left + g.radius, g.top);
    path.closeSubpath();
    return path;
}

struct TextLine {
    qreal y, right;
};
const TextLine kIconText[] = {{80, 150}, {104, 176}, {178, 176}, {202, 134}};
constexpr qreal kIconTextLeft = 80, kIconTextHeight = 11;

void drawIconVector(QPainter& p, int size) {
    const IconGeometry g;
    const qreal scale = size / 256.0;
    p.save();
    p.scale(scale, scale);
    const QPainterPath page = iconPagePath(g);
    QLinearGradient paper(0, g.top, 0, g.bottom);
    paper.setColorAt(0, QColor(0xff, 0xff, 0xff));
    paper.setColorAt(1, QColor(0xe8, 0xee, 0xf2));
    p.fillPath(page, paper);

    // Light falling on the page just behind the bar, as if the bar were moving down.
    p.save();
    p.setClipPath(page);
    QLinearGradient glow(0, g.beamTop - 46, 0, g.beamTop);
    QColor clear = colour::kAccent;
    clear.setAlpha(0);
    QColor lit = colour::kAccent;
    lit.setAlpha(80);
    glow.setColorAt(0, clear);
    glow.setColorAt(1, lit);
    p.fillRect(QRectF(g.left, g.beamTop - 46, g.right - g.left, 46), glow);
    p.restore();

    if (size >= 32) {
        p.setPen(Qt::NoPen);
        p.setBrush(colour::kIconLines);
        for (const TextLine& line : kIconText)
            p.drawRoundedRect(
                QRectF(kIconTextLeft, line.y, line.right - kIconTextLeft, kIconTextHeight),
                kIconTextHeight / 2, kIconTextHeight / 2);
    }

    const qreal stroke = std::max(g.stroke, 1.0 / scale);
    p.setPen(QPen(colour::kIconPage, stroke, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(page);
    QPainterPath fold;
    fold.moveTo(g.right - g.fold, g.top);
    fold.lineTo(g.right - g.fold, g.top + g.fold - 10);
    fold.quadTo(g.right - g.fold, g.top + g.fold, g.right - g.fold + 10, g.top + g.fold);
    fold.lineTo(g.right, g.top + g.fold);
    p.setBrush(QColor(0xd3, 0xdc, 0xe2));
    p.drawPath(fold);

    p.setPen(Qt::NoPen);
    p.setBrush(colour::kAccent);
    p.drawRoundedRect(QRectF(g.beamLeft, g.beamTop, g.beamRight - g.beamLeft, g.beamHeight),
                      g.beamHeight / 2, g.beamHeight / 2);
    p.restore();
}

// 16 and 24 pixels: straight lines on the pixel grid instead of a scaled drawing.
void drawIconSmall(QPainter& p, int size) {
    struct Grid {
        int left, top, right, bottom, fold, beamTop, beamHeight;
    };
    const Grid g = size <= 16 ? Grid{3, 1, 13, 15, 4, 8, 2} : Grid{4, 1, 20, 23, 6, 12, 3};
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    QPolygon page;
    page << QPoint(g.left, g.top) << QPoint(g.right - g.fold, g.top)
         << QPoint(g.right, g.top + g.fold) << QPoint(g.right, g.bottom)
         << QPoint(g.left, g.bottom);
    p.drawPolygon(page);
    p.setBrush(QColor(0xd3, 0xdc, 0xe2));
    QPolygon fold;
    fold << QPoint(g.right - g.fold, g.top) << QPoint(g.right - g.fold, g.top + g.fold)
         << QPoint(g.right, g.top + g.fold);
    p.drawPolygon(fold);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(colour::kIconPage, 1));
    p.setBrush(Qt::NoBrush);
    QPolygonF outline;
    outline << QPointF(g.left + 0.5, g.top + 0.5) << QPointF(g.right - g.fold + 0.5, g.top + 0.5)
            << QPointF(g.right - 0.5, g.top + g.fold - 0.5)
            << QPointF(g.right - 0.5, g.bottom - 0.5) << QPointF(g.left + 0.5, g.bottom - 0.5);
    p.drawPolygon(outline);
    p.drawLine(QPointF(g.right - g.fold + 0.5, g.top + 0.5),
               QPointF(g.right - g.fold + 0.5, g.top + g.fold + 0.5));
    p.drawLine(QPointF(g.right - g.fold + 0.5, g.top + g.fold + 0.5),
               QPointF(g.right - 0.5, g.top + g.fold + 0.5));
    p.setRenderHint(QPainter::Antialiasing, false);
    QColor glow = colour::kAccent;
    glow.setAlpha(70);
    p.fillRect(QRect(g.left + 1, g.beamTop - 2, g.right - g.left - 2, 2), glow);
    p.fillRect(QRect(0, g.beamTop, size, g.beamHeight), colour::kAccent);
    p.restore();
}

QImage makeIcon(int size) {
    QImage image = newCanvas(size, size);
    QPainter p(&image);
    beginPainter(p);
    if (size <= 24)
        drawIconSmall(p, size);
    else
        drawIconVector(p, size);
    return image;
}

// The about dialog's picture: the icon lifted off the dialog by a soft shadow.
QImage makeAboutPicture() {
    const int size = 128;
    const QImage icon = makeIcon(size);
    QImage shape = newCanvas(size, size);
    {
        QPainter p(&shape);
        p.drawImage(0, 3, icon);
    }
    QImage picture = newCanvas(size, size);
    QPainter p(&picture);
    p.setOpacity(0.3);
    p.drawImage(0, 0, blurredAlpha(shape, 2));
    p.setOpacity(1);
    p.drawImage(0, 0, icon);
    return picture;
}

QString iconSvg() {
    const IconGeometry g;
    auto n = [](qreal v) { return QString::number(v, 'g', 6); };
    QString page =
        QString(
            "M%1 %2 L%3 %2 L%4 %5 L%4 %6 Q%4 %7 %8 %7 L%1 %7 Q%9 %7 %9 %6 "
            "L%9 %10 Q%9 %2 %1 %2 Z")
            .arg(n(g.left + g.radius), n(g.top), n(g.right - g.fold), n(g.right), n(g.top + g.fold),
                 n(g.bottom - g.radius), n(g.bottom), n(g.right - g.radius), n(g.left))
            .arg(n(g.top + g.radius));
    QString fold = QString("M%1 %2 L%1 %3 Q%1 %4 %5 %4 L%6 %4")
                       .arg(n(g.right - g.fold), n(g.top), n(g.top + g.fold - 10),
                            n(g.top + g.fold), n(g.right - g.fold + 10), n(g.right));
    QString out;
    QTextStream s(&out);
    s << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"256\" height=\"256\" "
         "viewBox=\"0 0 256 256\">\n"
      << "  <defs>\n"
      << "    <linearGradient id=\"paper\" x1=\"0\" y1=\"" << n(g.top) << "\" x2=\"0\" y2=\""
      << n(g.bottom) << "\" gradientUnits=\"userSpaceOnUse\">\n"
      << "      <stop offset=\"0\" stop-color=\"#ffffff\"/>\n"
      << "      <stop offset=\"1\" stop-color=\"#e8eef2\"/>\n"
      << "    </linearGradient>\n"
      << "    <linearGradient id=\"glow\" x1=\"0\" y1=\"" << n(g.beamTop - 46)
      << "\" x2=\"0\" y2=\"" << n(g.beamTop) << "\" gradientUnits=\"userSpaceOnUse\">\n"
      << "      <stop offset=\"0\" stop-color=\"" << colour::kAccent.name()
      << "\" stop-opacity=\"0\"/>\n"
      << "      <stop offset=\"1\" stop-color=\"" << colour::kAccent.name()
      << "\" stop-opacity=\"0.314\"/>\n"
      << "    </linearGradient>\n"
      << "    <clipPath id=\"page\"><path d=\"" << page << "\"/></clipPath>\n"
      << "  </defs>\n"
      << "  <path d=\"" << page << "\" fill=\"url(#paper)\"/>\n"
      << "  <rect x=\"" << n(g.left) << "\" y=\"" << n(g.beamTop - 46) << "\" width=\""
      << n(g.right - g.left) << "\" height=\"46\" fill=\"url(#glow)\" clip-path=\"url(#page)\"/>\n";
    for (const TextLine& line : kIconText)
        s << "  <rect x=\"" << n(kIconTextLeft) << "\" y=\"" << n(line.y) << "\" width=\""
          << n(line.right - kIconTextLeft) << "\" height=\"" << n(kIconTextHeight) << "\" rx=\""
          << n(kIconTextHeight / 2) << "\" fill=\"" << colour::kIconLines.name() << "\"/>\n";
    s << "  <path d=\"" << page << "\" fill=\"none\" stroke=\"" << colour::kIconPage.name()
      << "\" stroke-width=\"" << n(g.stroke) << "\" stroke-linejoin=\"round\"/>\n"
      << "  <path d=\"" << fold << "\" fill=\"#d3dce2\" stroke=\"" << colour::kIconPage.name()
      << "\" stroke-width=\"" << n(g.stroke)
      << "\" stroke-linejoin=\"round\" "
         "stroke-linecap=\"round\"/>\n"
      << "  <rect x=\"" << n(g.beamLeft) << "\" y=\"" << n(g.beamTop) << "\" width=\""
      << n(g.beamRight - g.beamLeft) << "\" height=\"" << n(g.beamHeight) << "\" rx=\""
      << n(g.beamHeight / 2) << "\" fill=\"" << colour::kAccent.name() << "\"/>\n"
      << "</svg>\n";
    return out;
}

// ---------------------------------------------------------------------------------------------
// The skin.

void paintSidebar(QPainter& p) {
    using namespace layout;
    p.save();
    p.fillRect(QRect(kBody.left(), kBody.top(), kSidebarRight - kBody.left(), kBody.height()),
               colour::kSidebar);

    // Product name with the icon.
    const QImage logo = makeIcon(32);
    p.drawImage(QPoint(kTabHome.left() + 6, 30), logo);
    drawLabel(p, "Vellumo", uiFont(22, QFont::Bold), colour::kSidebarText, kTabHome.left() + 48,
              40);
    drawLabel(p, skinText("Skin", QT_TRANSLATE_NOOP("Skin", "Paper to PDF")),
              uiFont(12, QFont::Normal, 0.3), colour::kSidebarDim, kTabHome.left() + 49, 59,
              Align::Left, kSidebarRight - kTabHome.left() - 49 - 10);

    // The three steps of the program's work, a quiet reminder in the empty part of the column.
    const char* const steps[3] = {QT_TRANSLATE_NOOP("Skin", "Scan or load pages"),
                                  QT_TRANSLATE_NOOP("Skin", "Check them in the list"),
                                  QT_TRANSLATE_NOOP("Skin", "Save or mail as PDF")};
    for (int i = 0; i < 3; ++i) {
        const qreal y = kStepsTop + i * 30;
        const QPointF centre(kTabHome.left() + 22, y);
        p.setPen(QPen(colour::kSidebarLine, 1.5));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(centre, 9, 9);
        drawLabel(p, QString::number(i + 1), uiFont(11, QFont::Bold), colour::kSidebarMuted,
                  centre.x() + 0.5, y, Align::Centre);
        drawLabel(p, skinText("Skin", steps[i]), uiFont(12, QFont::Normal), colour::kSidebarMuted,
                  kTabHome.left() + 44, y, Align::Left, kSidebarRight - kTabHome.left() - 44 - 8);
    }

    // Divider above ABOUT and HELP.
    p.fillRect(QRect(kTabHome.left(), kAbout.top() - 16, kTabHome.width(), 1),
               colour::kSidebarLine);
    p.restore();
}

void paintPageCard(QPainter& p) {
    using namespace layout;
    roundedBox(p, kPageCard, 10, colour::kCard, colour::kCardBorder);
    // Hint under the list, between its bottom edge and the card's.
    const int hintY = (kPageList.bottom() + 1 + kPageCard.bottom() + 1) / 2;
    drawLabel(
        p,
        skinText("Skin", QT_TRANSLATE_NOOP("Skin", "Click a page to view it, right-click to edit")),
        uiFont(12, QFont::Normal), colour::kMuted, kPageList.center().x() + 1, hintY, Align::Centre,
        kPageCard.width() - 16);
}

void paintHeading(QPainter& p, const char* text, int centreY) {
    drawLabel(p, skinText("Skin", text).toUpper(), uiFont(11, QFont::Bold, 0.9), colour::kHeading,
              layout::kModeCard.left() + 4, centreY, Align::Left, layout::kModeCard.width() - 8);
}

// A label right of a radio (18 px bitmap in a 20 px control) or a toggle (19 px in 23 px),
// which must end before `right`. Its words are the control's own (context "Command").
void paintControlLabel(QPainter& p, const char* text, QPoint control, int controlWidth,
                       int bitmapSize, int right) {
    const qreal x = control.x() + controlWidth + kLabelGap;
    drawLabel(p, skinText("Command", text), uiFont(13, QFont::Normal), colour::kText, x,
              control.y() + bitmapSize / 2.0, Align::Left, right - x);
}

void paintQuickSettings(QPainter& p) {
    using namespace layout;
    for (const QRect& card : {kModeCard, kBrightCard, kSizeCard, kOptionCard})
        roundedBox(p, card, 8, colour::kCard, colour::kCardBorder);

    const int cardRight = kModeCard.right() - 8;
    paintHeading(p, QT_TRANSLATE_NOOP("Skin", "Scanning mode"), kModeHeadingY);
    const char* const modes[3] = {QT_TRANSLATE_NOOP("Command", "Scan in black and white"),
                                  QT_TRANSLATE_NOOP("Command", "Scan in grey scales"),
                                  QT_TRANSLATE_NOOP("Command", "Scan in color")};
    for (int i = 0; i < 3; ++i)
        paintControlLabel(p, modes[i], kModeRadios[i], 20, kRadioSize, cardRight);

    paintHeading(p, QT_TRANSLATE_NOOP("Skin", "Brightness"), kBrightHeadingY);
    // A track behind the seven steps; the radios' white faces cover it at each step.
    const qreal trackY = kBrightRadios[0].y() + kRadioSize / 2.0;
    p.fillRect(QRectF(kBrightRadios[0].x() + kRadioSize / 2.0, trackY - 1,
                      kBrightRadios[6].x() - kBrightRadios[0].x(), 2),
               colour::kTrack);
    const QFont small = uiFont(12, QFont::Normal);
    // The three words share the row: each keeps to its third of it.
    const qreal third = (kBrightRadios[6].x() + kRadioSize - kBrightRadios[0].x()) / 3.0 - 4;
    drawLabel(p, skinText("Skin", QT_TRANSLATE_NOOP("Skin", "Dark")), small, colour::kMuted,
              kBrightRadios[0].x(), kBrightLabelY, Align::Left, third);
    drawLabel(p, skinText("Skin", QT_TRANSLATE_NOOP("Skin", "Normal")), small, colour::kMuted,
              kBrightRadios[3].x() + kRadioSize / 2.0, kBrightLabelY, Align::Centre, third);
    drawLabel(p, skinText("Skin", QT_TRANSLATE_NOOP("Skin", "Bright")), small, colour::kMuted,
              kBrightRadios[6].x() + kRadioSize, kBrightLabelY, Align::Right, third);

    paintHeading(p, QT_TRANSLATE_NOOP("Skin", "Page size"), kSizeHeadingY);
    const char* const sizes[4] = {
        QT_TRANSLATE_NOOP("Command", "Letter"), QT_TRANSLATE_NOOP("Command", "A4"),
        QT_TRANSLATE_NOOP("Command", "Legal"), QT_TRANSLATE_NOOP("Command", "A3")};
    // Letter and A4 end before the second column's radios.
    for (int i = 0; i < 4; ++i)
        paintControlLabel(p, sizes[i], kSizeRadios[i], 20, kRadioSize,
                          i < 2 ? kSizeRadios[2].x() - 6 : cardRight);

    paintHeading(p, QT_TRANSLATE_NOOP("Skin", "Options"), kOptionHeadingY);
    const char* const options[3] = {
        QT_TRANSLATE_NOOP("Command", "Show scan result before saving it"),
        QT_TRANSLATE_NOOP("Command", "Disable autofeeder"),
        QT_TRANSLATE_NOOP("Command", "Enable duplex scanning")};
    for (int i = 0; i < 3; ++i)
        paintControlLabel(p, options[i], kToggles[i], 23, kToggleSize, cardRight);
}

QImage makeSkin() {
    using namespace layout;
    QImage skin = newCanvas(kWidth, kHeight);
    QPainterPath body;
    body.addRoundedRect(QRectF(kBody), kBodyRadius, kBodyRadius);

    // Soft shadow, slightly below the body.
    {
        QImage shape = newCanvas(kWidth, kHeight);
        QPainter sp(&shape);
        beginPainter(sp);
        sp.fillPath(body.translated(0, 2), QColor(0, 0, 0, 110));
        sp.end();
        QPainter p(&skin);
        p.drawImage(0, 0, blurredAlpha(shape, 2));
    }

    QPainter p(&skin);
    beginPainter(p);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.fillPath(body, colour::kContent);
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    p.save();
    p.setClipPath(body);
    paintSidebar(p);
    p.restore();
    paintPageCard(p);
    paintQuickSettings(p);

    // A hairline around the body keeps the edge visible on light desktops.
    p.setPen(QPen(QColor(0, 0, 0, 40), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(kBody).adjusted(0.5, 0.5, -0.5, -0.5), kBodyRadius - 0.5,
                      kBodyRadius - 0.5);
    return skin;
}

// ---------------------------------------------------------------------------------------------
// Bitmaps on the skin.

enum class State { Normal, Pressed, Hover };

// The skin pixels a control covers, as the ground its bitmap is painted on.
QImage groundFor(const QImage& skin, const QRect& rect) {
    return skin.copy(rect);
}

enum class ButtonKind { Primary, Secondary };

QImage makeCommandButton(const QImage& skin, const QRect& place, const QString& label,
                         ButtonKind kind, State state) {
    QImage image = groundFor(skin, place);
    QPainter p(&image);
    beginPainter(p);
    const QRectF box(0, 0, place.width(), place.height());
    QColor text;
    if (kind == ButtonKind::Primary) {
        const QColor fill = state == State::Pressed ? colour::kAccentPressed
                            : state == State::Hover ? colour::kAccentHover
                                                    : colour::kAccent;
        roundedBox(p, box, 6, fill);
        text = Qt::white;
    } else {
        const QColor fill = state == State::Pressed ? colour::kSecondaryPressed
                            : state == State::Hover ? colour::kSecondaryHover
                                                    : colour::kCard;
        const QColor border = state == State::Normal ? colour::kSecondaryBorder : colour::kAccent;
        roundedBox(p, box, 6, fill, border);
        text = colour::kAccentText;
    }
    const int shift = state == State::Pressed ? 1 : 0;
    drawLabel(p, label, uiFont(13, QFont::Bold, 0.7), text, box.width() / 2,
              box.height() / 2 + shift, Align::Centre, box.width() - 12);
    return image;
}

QImage makeSidebarButton(const QImage& skin, const QRect& place, const QString& label,
                         State state) {
    QImage image = groundFor(skin, place);
    QPainter p(&image);
    beginPainter(p);
    const QRectF box(0, 0, place.width(), place.height());
    const QColor fill = state == State::Pressed ? QColor(0x1b, 0x25, 0x2b)
                        : state == State::Hover ? colour::kSidebarPill
                                                : colour::kSidebar;
    roundedBox(p, box, 6, fill,
               state == State::Normal ? colour::kSidebarLine : QColor(0x4f, 0x62, 0x6d));
    const QColor text = state == State::Normal ? colour::kSidebarMuted : colour::kSidebarText;
    drawLabel(p, label, uiFont(12, QFont::Bold, 0.8), text, box.width() / 2,
              box.height() / 2 + (state == State::Pressed ? 1 : 0), Align::Centre,
              box.width() - 10);
    return image;
}

enum class WindowGlyph { Minimize, Power };

QImage makeWindowButton(const QImage& skin, const QRect& place, WindowGlyph glyph, State state) {
    QImage image = groundFor(skin, place);
    QPainter p(&image);
    beginPainter(p);
    const QRectF box(2, 2, place.width() - 4, place.height() - 4);
    const bool danger = glyph == WindowGlyph::Power;
    QColor ink = colour::kWindowGlyph;
    if (state != State::Normal) {
        QColor fill = state == State::Pressed ? colour::kWindowPressed : colour::kWindowHover;
        if (danger) {
            fill = state == State::Pressed ? colour::kDangerPressed : colour::kDanger;
            ink = Qt::white;
        }
        roundedBox(p, box, 8, fill);
    }
    const QPointF c(place.width() / 2.0, place.height() / 2.0);
    if (glyph == WindowGlyph::Minimize) {
        p.setRenderHint(QPainter::Antialiasing, false);
        p.fillRect(QRectF(c.x() - 7, c.y() + 3, 14, 2), ink);
    } else {
        p.setPen(QPen(ink, 2, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        const qreal r = 7.5;
        const QRectF ring(c.x() - r, c.y() - r + 1, 2 * r, 2 * r);
        // The ring opens at the top, 50 degrees either side of the stem.
        p.drawArc(ring, (90 + 40) * 16, 280 * 16);
        p.drawLine(QPointF(c.x(), c.y() - r - 1), QPointF(c.x(), c.y() + 1));
    }
    return image;
}

QImage makePageCountBackground(const QImage& skin, State state, bool disabled) {
    QImage image = groundFor(skin, layout::kPageCount);
    QPainter p(&image);
    beginPainter(p);
    // A soft box rather than a pill: the count's text may be drawn in a wide fallback font
    // (DejaVu Sans at 15 px needs 182 px of the 200), so the box keeps its full width.
    const QRectF pill(0, 2, layout::kPageCount.width(), layout::kPageCount.height() - 5);
    QColor fill(0xee, 0xf2, 0xf5);
    QColor border(0xdc, 0xe3, 0xe8);
    if (state == State::Hover) {
        fill = QColor(0xe3, 0xeb, 0xf1);
        border = QColor(0xc9, 0xd5, 0xdd);
    }
    if (disabled) {
        fill = QColor(0xf5, 0xf6, 0xf7);
        border = QColor(0xe6, 0xe8, 0xea);
    }
    roundedBox(p, pill, 7, fill, border);
    return image;
}

enum class TabLook { Current, Plain };

QImage makeMainTab(const QImage& skin, const QRect& place, const QString& label, bool settings,
                   TabLook look, bool open) {
    QImage image = groundFor(skin, place);
    QPainter p(&image);
    beginPainter(p);
    const bool current = look == TabLook::Current;
    const QRectF pill(0, 4, place.width(), 36);
    if (current) roundedBox(p, pill, 8, colour::kSidebarPill);
    const QColor background = current ? colour::kSidebarPill : colour::kSidebar;
    const QColor iconColour = current ? colour::kAccentOnDark : colour::kSidebarMuted;
    const QPointF iconAt(13, pill.center().y() - 9);
    if (settings)
        drawSliders(p, iconAt, iconColour, background);
    else
        drawHouse(p, iconAt, iconColour);
    drawLabel(p, label, uiFont(14, current ? QFont::Bold : QFont::DemiBold, 0.6),
              current ? colour::kSidebarText : colour::kSidebarMuted, 44, pill.center().y(),
              Align::Left, place.width() - 44 - (settings ? 30 : 10));
    if (settings)
        drawChevron(p, QPointF(place.width() - 18, pill.center().y()), open,
                    current ? colour::kSidebarText : colour::kSidebarDim);
    return image;
}

// General and Email under SETTINGS: a guide line under the SETTINGS icon links them to it.
QImage makeSubTab(const QImage& skin, const QRect& place, const QString& label, TabLook look) {
    QImage image = groundFor(skin, place);
    QPainter p(&image);
    beginPainter(p);
    const bool current = look == TabLook::Current;
    const QRectF pill(34, 2, place.width() - 34, 24);
    if (current) roundedBox(p, pill, 6, colour::kSidebarSubPill);
    const qreal guideX = 22;
    p.fillRect(QRectF(guideX - 0.5, 0, 1, 28), colour::kSidebarLine);
    if (current) {
        p.setPen(Qt::NoPen);
        p.setBrush(colour::kAccentOnDark);
        p.drawRoundedRect(QRectF(guideX - 1.5, pill.top() + 3, 3, pill.height() - 6), 1.5, 1.5);
    }
    drawLabel(p, label, uiFont(13, current ? QFont::Bold : QFont::Normal),
              current ? colour::kSidebarText : colour::kSidebarMuted, 44, pill.center().y(),
              Align::Left, place.width() - 44 - 8);
    return image;
}

// ---------------------------------------------------------------------------------------------
// Radios and toggles, transparent around the shape.

QImage makeRadio(bool selected) {
    QImage image = newCanvas(kRadioSize, kRadioSize);
    QPainter p(&image);
    beginPainter(p);
    const QPointF c(kRadioSize / 2.0, kRadioSize / 2.0);
    p.setBrush(Qt::white);
    p.setPen(QPen(selected ? colour::kAccent : colour::kControlBorder, 1.5));
    p.drawEllipse(c, 8.0, 8.0);
    if (selected) {
        p.setPen(Qt::NoPen);
        p.setBrush(colour::kAccent);
        p.drawEllipse(c, 4.5, 4.5);
    }
    return image;
}

QImage makeToggle(bool on) {
    QImage image = newCanvas(kToggleSize, kToggleSize);
    QPainter p(&image);
    beginPainter(p);
    const QRectF box(1, 1, kToggleSize - 2, kToggleSize - 2);
    if (on) {
        p.setPen(Qt::NoPen);
        p.setBrush(colour::kAccent);
        p.drawRoundedRect(box, 4, 4);
        p.setPen(QPen(Qt::white, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        QPainterPath tick;
        tick.moveTo(5, 9.8);
        tick.lineTo(8.2, 13);
        tick.lineTo(14, 6.5);
        p.drawPath(tick);
    } else {
        p.setBrush(Qt::white);
        p.setPen(QPen(colour::kControlBorder, 1.5));
        p.drawRoundedRect(box.adjusted(0.25, 0.25, -0.25, -0.25), 3.75, 3.75);
    }
    return image;
}

// ---------------------------------------------------------------------------------------------
// Output.

struct Output {
    QDir dir;
    int written = 0;
    bool ok = true;

    void save(const QImage& image, const QString& name) {
        const QString path = dir.filePath(name);
        // Straight (non-premultiplied) alpha in the file, as every PNG reader expects.
        if (!image.convertToFormat(QImage::Format_ARGB32).save(path, "PNG")) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            ok = false;
            return;
        }
        ++written;
    }
};

struct ArtworkSet {
    QImage skin;
    QImage pageCount[3];  // normal 188, hover 189, disabled 190
    std::vector<std::pair<QString, QImage>> files;
    QImage byName(const QString& name) const {
        for (const auto& f : files)
            if (f.first == name) return f.second;
        return {};
    }
};

ArtworkSet makeAll() {
    using namespace layout;
    ArtworkSet set;
    set.skin = makeSkin();
    const QImage& skin = set.skin;
    auto add = [&](const QString& name, const QImage& image) {
        set.files.emplace_back(name, image);
    };
    add("200.png", skin);

    add("188.png", makePageCountBackground(skin, State::Normal, false));
    add("189.png", makePageCountBackground(skin, State::Hover, false));
    add("190.png", makePageCountBackground(skin, State::Normal, true));

    struct Command {
        QRect place;
        const char* label;
        ButtonKind kind;
        int ids[3];  // normal, pressed, hover
    };
    const Command commands[] = {
        {kScan, QT_TRANSLATE_NOOP("Command", "SCAN PAGE"), ButtonKind::Primary, {175, 176, 177}},
        {kLoad, QT_TRANSLATE_NOOP("Command", "LOAD PAGE"), ButtonKind::Secondary, {172, 173, 174}},
        {kMail,
         QT_TRANSLATE_NOOP("Command", "MAIL AS PDF"),
         ButtonKind::Secondary,
         {178, 179, 180}},
        {kSave, QT_TRANSLATE_NOOP("Command", "SAVE AS PDF"), ButtonKind::Primary, {181, 182, 183}},
    };
    const State states[3] = {State::Normal, State::Pressed, State::Hover};
    for (const Command& c : commands)
        for (int s = 0; s < 3; ++s)
            add(QString("%1.png").arg(c.ids[s]),
                makeCommandButton(skin, c.place, skinText("Command", c.label), c.kind, states[s]));

    const int aboutIds[3] = {490, 510, 500};
    const int helpIds[3] = {520, 540, 530};
    const int minimizeIds[3] = {570, 6000, 590};
    const int exitIds[3] = {550, 580, 560};
    for (int s = 0; s < 3; ++s) {
        add(QString("%1.png").arg(aboutIds[s]),
            makeSidebarButton(skin, kAbout,
                              skinText("Command", QT_TRANSLATE_NOOP("Command", "ABOUT")),
                              states[s]));
        add(QString("%1.png").arg(helpIds[s]),
            makeSidebarButton(
                skin, kHelp, skinText("Command", QT_TRANSLATE_NOOP("Command", "HELP")), states[s]));
        add(QString("%1.png").arg(minimizeIds[s]),
            makeWindowButton(skin, kMinimize, WindowGlyph::Minimize, states[s]));
        add(QString("%1.png").arg(exitIds[s]),
            makeWindowButton(skin, kExit, WindowGlyph::Power, states[s]));
    }

    const QString home = skinText("Command", QT_TRANSLATE_NOOP("Command", "HOME"));
    const QString settings = skinText("Command", QT_TRANSLATE_NOOP("Command", "SETTINGS"));
    const QString general = skinText("Command", QT_TRANSLATE_NOOP("Command", "General"));
    const QString email = skinText("Command", QT_TRANSLATE_NOOP("Command", "Email"));
    const QString documents = skinText("Command", QT_TRANSLATE_NOOP("Command", "Documents"));
    add("290.png", makeMainTab(skin, kTabHome, home, false, TabLook::Current, false));
    add("300.png", makeMainTab(skin, kTabHome, home, false, TabLook::Plain, false));
    add("350.png", makeMainTab(skin, kTabSettings, settings, true, TabLook::Current, true));
    add("360.png", makeMainTab(skin, kTabSettings, settings, true, TabLook::Plain, false));
    add("370.png", makeSubTab(skin, kTabGeneral, general, TabLook::Current));
    add("380.png", makeSubTab(skin, kTabGeneral, general, TabLook::Plain));
    add("430.png", makeSubTab(skin, kTabEmail, email, TabLook::Current));
    add("440.png", makeSubTab(skin, kTabEmail, email, TabLook::Plain));
    add("410.png", makeSubTab(skin, kTabDocuments, documents, TabLook::Current));
    add("420.png", makeSubTab(skin, kTabDocuments, documents, TabLook::Plain));
    add("450.png", groundFor(skin, kTabGeneral));
    add("480.png", groundFor(skin, kTabEmail));
    add("470.png", groundFor(skin, kTabDocuments));

    add("138.png", makeRadio(true));
    add("139.png", makeRadio(false));
    add("130.png", makeToggle(true));
    add("131.png", makeToggle(false));

    for (int size : {16, 24, 32, 48, 64, 128, 256})
        add(QString("18_%1.png").arg(size), makeIcon(size));
    add("18.png", makeIcon(256));
    add("about.png", makeAboutPicture());
    return set;
}

// ---------------------------------------------------------------------------------------------
// Previews: the skin with the bitmaps at their places, as the two views show them.

void placeAt(QPainter& p, const ArtworkSet& set, const QString& name, QPoint at) {
    p.drawImage(at, set.byName(name));
}

void paintPageCountText(QPainter& p, int pages) {
    // The program draws this itself on 188: "Segoe UI" (here its fallback) 15 px, RGB 71, 82, 86.
    QFont font("Segoe UI");
    font.setPixelSize(15);
    p.setFont(font);
    p.setPen(colour::kHeading);
    p.drawText(layout::kPageCount, Qt::AlignCenter,
               QString("Pages ready to save (%1):").arg(pages));
}

QImage previewHome(const ArtworkSet& set) {
    using namespace layout;
    QImage out = set.skin.copy();
    QPainter p(&out);
    beginPainter(p);
    placeAt(p, set, "290.png", kTabHome.topLeft());
    placeAt(p, set, "360.png", kTabSettings.topLeft());
    placeAt(p, set, "450.png", kTabGeneral.topLeft());
    placeAt(p, set, "480.png", kTabEmail.topLeft());
    placeAt(p, set, "470.png", kTabDocuments.topLeft());
    placeAt(p, set, "175.png", kScan.topLeft());
    placeAt(p, set, "172.png", kLoad.topLeft());
    placeAt(p, set, "178.png", kMail.topLeft());
    placeAt(p, set, "181.png", kSave.topLeft());
    placeAt(p, set, "490.png", kAbout.topLeft());
    placeAt(p, set, "520.png", kHelp.topLeft());
    placeAt(p, set, "570.png", kMinimize.topLeft());
    placeAt(p, set, "550.png", kExit.topLeft());
    placeAt(p, set, "188.png", kPageCount.topLeft());
    paintPageCountText(p, 2);
    for (int i = 0; i < 3; ++i) placeAt(p, set, i == 0 ? "138.png" : "139.png", kModeRadios[i]);
    for (int i = 0; i < 7; ++i) placeAt(p, set, i == 3 ? "138.png" : "139.png", kBrightRadios[i]);
    for (int i = 0; i < 4; ++i) placeAt(p, set, i == 1 ? "138.png" : "139.png", kSizeRadios[i]);
    for (int i = 0; i < 3; ++i) placeAt(p, set, i == 0 ? "130.png" : "131.png", kToggles[i]);
    // The list control with two thumbnails, as the page view shows them.
    p.fillRect(kPageList, colour::kListBackground);
    p.setPen(QColor(0xa0, 0xa0, 0xa0));
    p.drawRect(QRectF(kPageList).adjusted(0.5, 0.5, -0.5, -0.5));
    p.save();
    p.setClipRect(kPageList.adjusted(1, 1, -1, -1));
    for (int i = 0; i < 2; ++i) {
        const QRect thumb(kPageList.left() + 53, kPageList.top() + 12 + i * 290, 180, 240);
        p.fillRect(thumb, Qt::white);
        for (int line = 0; line < 8; ++line)
            p.fillRect(
                QRect(thumb.left() + 20, thumb.top() + 30 + line * 22, 140 - (line % 3) * 30, 8),
                QColor(0x9a, 0x9a, 0x9a));
    }
    p.restore();
    return out;
}

QImage previewSettings(const ArtworkSet& set) {
    using namespace layout;
    QImage out = set.skin.copy();
    QPainter p(&out);
    beginPainter(p);
    placeAt(p, set, "300.png", kTabHome.topLeft());
    placeAt(p, set, "350.png", kTabSettings.topLeft());
    placeAt(p, set, "370.png", kTabGeneral.topLeft());
    placeAt(p, set, "440.png", kTabEmail.topLeft());
    placeAt(p, set, "420.png", kTabDocuments.topLeft());
    placeAt(p, set, "500.png", kAbout.topLeft());
    placeAt(p, set, "540.png", kHelp.topLeft());
    placeAt(p, set, "590.png", kMinimize.topLeft());
    placeAt(p, set, "560.png", kExit.topLeft());
    placeAt(p, set, "188.png", kPageCount.topLeft());
    paintPageCountText(p, 0);
    // The embedded page: its background and a few of its controls.
    p.fillRect(kSettingsFrame, colour::kContent);
    QFont title(kFontFamily);
    title.setPixelSize(24);
    p.setFont(title);
    p.setPen(Qt::black);
    p.drawText(QRect(kSettingsFrame.left(), kSettingsFrame.top() + 4, kSettingsFrame.width(), 30),
               Qt::AlignCenter, "General Settings");
    QFont body(kFontFamily);
    body.setPixelSize(13);
    p.setFont(body);
    const char* const modes[3] = {"Scan in black and white", "Scan in grey scales",
                                  "Scan in color"};
    for (int i = 0; i < 3; ++i) {
        const QPoint at(kSettingsFrame.left() + 48, kSettingsFrame.top() + 100 + i * 24);
        p.drawImage(at, set.byName(i == 0 ? "138.png" : "139.png"));
        p.drawText(at + QPoint(26, 13), modes[i]);
        const QPoint box(kSettingsFrame.left() + 48, kSettingsFrame.top() + 300 + i * 22);
        p.drawImage(box, set.byName(i == 1 ? "130.png" : "131.png"));
        p.drawText(box + QPoint(26, 14), i == 1 ? "Auto crop scanned images" : "An option");
    }
    return out;
}

// Every state of every bitmap on one sheet, on a neutral ground, twice the size.
QImage previewSheet(const ArtworkSet& set) {
    const int width = 900;
    QImage sheet(width, 1200, QImage::Format_ARGB32_Premultiplied);
    sheet.fill(QColor(0xc8, 0xc8, 0xc8));
    QPainter p(&sheet);
    int x = 10, y = 10, rowHeight = 0;
    for (const auto& [name, image] : set.files) {
        if (name == "200.png" || name == "18.png" || name.startsWith("18_256")) continue;
        const QSize s = image.size() * 2;
        if (x + s.width() > width - 10) {
            x = 10;
            y += rowHeight + 18;
            rowHeight = 0;
        }
        p.drawImage(QRect(QPoint(x, y), s), image);
        p.setPen(Qt::black);
        p.setFont(QFont(kFontFamily, 8));
        p.drawText(QPoint(x, y + s.height() + 12), name);
        x += s.width() + 10;
        rowHeight = std::max(rowHeight, s.height());
    }
    p.end();
    return sheet.copy(0, 0, width, std::min(1200, y + rowHeight + 30));
}

// ---------------------------------------------------------------------------------------------
// Check of a set of images against what the program relies on: the sizes the widgets take from
// their bitmaps, a transparent outside of the skin with an opaque body under every control, and
// bitmaps on the skin that match the skin pixels they cover (so a skin regenerated without its
// bitmaps, or one file edited by hand, is caught).

enum class Ground { Skin, OnSkin, Free };

struct Expected {
    QString name;
    QSize size;
    Ground ground;
    QRect place;  // where an OnSkin bitmap lies on the skin
};

std::vector<Expected> expectedImages() {
    using namespace layout;
    std::vector<Expected> list;
    auto onSkin = [&](std::initializer_list<int> ids, QRect place, QSize size) {
        for (int id : ids)
            list.push_back(
                {QString("%1.png").arg(id), size, Ground::OnSkin, QRect(place.topLeft(), size)});
    };
    list.push_back({"200.png", QSize(kWidth, kHeight), Ground::Skin, {}});
    onSkin({188, 189, 190}, kPageCount, QSize(200, 32));
    onSkin({175, 176, 177}, kScan, kScan.size());
    onSkin({172, 173, 174}, kLoad, kLoad.size());
    onSkin({178, 179, 180}, kMail, kMail.size());
    onSkin({181, 182, 183}, kSave, kSave.size());
    onSkin({490, 510, 500}, kAbout, QSize(90, 27));
    onSkin({520, 540, 530}, kHelp, QSize(90, 27));
    onSkin({570, 6000, 590}, kMinimize, QSize(36, 36));
    onSkin({550, 580, 560}, kExit, QSize(36, 36));
    onSkin({290, 300}, kTabHome, QSize(192, 44));
    onSkin({350, 360}, kTabSettings, QSize(192, 46));
    onSkin({370, 380, 450}, kTabGeneral, QSize(192, 28));
    onSkin({430, 440, 480}, kTabEmail, QSize(192, 32));
    onSkin({410, 420, 470}, kTabDocuments, QSize(192, 28));
    for (int id : {138, 139})
        list.push_back({QString("%1.png").arg(id), QSize(18, 18), Ground::Free, {}});
    for (int id : {130, 131})
        list.push_back({QString("%1.png").arg(id), QSize(19, 19), Ground::Free, {}});
    for (int size : {16, 24, 32, 48, 64, 128, 256})
        list.push_back({QString("18_%1.png").arg(size), QSize(size, size), Ground::Free, {}});
    list.push_back({"18.png", QSize(256, 256), Ground::Free, {}});
    list.push_back({"about.png", QSize(128, 128), Ground::Free, {}});
    return list;
}

// Pixel values only: a file written by another tool may carry a colour space tag.
bool samePixels(const QImage& a, const QImage& b) {
    if (a.size() != b.size()) return false;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y)) return false;
    return true;
}

// The images that carry words, painted once more for every language.
bool carriesWords(const QString& name) {
    static const QStringList names = {
        "200.png", "172.png", "173.png", "174.png", "175.png", "176.png", "177.png", "178.png",
        "179.png", "180.png", "181.png", "182.png", "183.png", "490.png", "500.png", "510.png",
        "520.png", "530.png", "540.png", "290.png", "300.png", "350.png", "360.png", "370.png",
        "380.png", "430.png", "440.png", "410.png", "420.png"};
    return names.contains(name);
}

// Checks the images of one folder: every image, or (a language's folder) those with words.
int checkImages(const QDir& dir, bool wordsOnly = false) {
    int faults = 0;
    auto fault = [&](const QString& name, const QString& what) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(name), qPrintable(what));
        ++faults;
    };
    const QImage skin = QImage(dir.filePath("200.png")).convertToFormat(QImage::Format_ARGB32);
    const std::vector<Expected> expected = expectedImages();
    int checked = 0;
    for (const Expected& e : expected) {
        if (wordsOnly && !carriesWords(e.name)) continue;
        ++checked;
        const QImage image = QImage(dir.filePath(e.name)).convertToFormat(QImage::Format_ARGB32);
        if (image.isNull()) {
            fault(e.name, "missing or unreadable");
            continue;
        }
        if (image.size() != e.size) {
            fault(e.name, QString("is %1 x %2, must be %3 x %4")
                              .arg(image.width())
                              .arg(image.height())
                              .arg(e.size.width())
                              .arg(e.size.height()));
            continue;
        }
        const int w = image.width(), h = image.height();
        if (e.ground == Ground::Free) {
            if (qAlpha(image.pixel(0, 0)) != 0) fault(e.name, "corner is not transparent");
            if (qAlpha(image.pixel(w / 2, h / 2)) != 255) fault(e.name, "centre is not opaque");
            continue;
        }
        if (e.ground == Ground::Skin) {
            for (QPoint corner :
                 {QPoint(0, 0), QPoint(w - 1, 0), QPoint(0, h - 1), QPoint(w - 1, h - 1)})
                if (qAlpha(image.pixel(corner)) != 0) fault(e.name, "corner is not transparent");
            continue;
        }
        if (skin.isNull()) continue;  // reported as a fault of 200.png
        bool opaque = true, matches = true;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                if (qAlpha(image.pixel(x, y)) != 255) opaque = false;
                if (qAlpha(skin.pixel(e.place.topLeft() + QPoint(x, y))) != 255) opaque = false;
            }
        for (QPoint corner :
             {QPoint(0, 0), QPoint(w - 1, 0), QPoint(0, h - 1), QPoint(w - 1, h - 1)})
            if (image.pixel(corner) != skin.pixel(e.place.topLeft() + corner)) matches = false;
        if (!opaque) fault(e.name, "it or the skin under it is not opaque everywhere");
        if (!matches) fault(e.name, "its corners differ from the skin beneath");
    }
    if (wordsOnly) {
        if (faults == 0)
            std::printf("%d images checked in %s\n", checked, qPrintable(dir.absolutePath()));
        return faults == 0 ? 0 : 1;
    }
    // The blank tab places must be the skin itself.
    for (const auto& [name, place] : {std::pair<QString, QRect>{"450.png", layout::kTabGeneral},
                                      {"480.png", layout::kTabEmail},
                                      {"470.png", layout::kTabDocuments}}) {
        const QImage blank = QImage(dir.filePath(name)).convertToFormat(QImage::Format_ARGB32);
        if (!blank.isNull() && !skin.isNull() && !samePixels(blank, skin.copy(place)))
            fault(name, "differs from the skin at its place");
    }
    if (!QFile::exists(dir.filePath("18.svg"))) fault("18.svg", "missing");
    if (faults == 0)
        std::printf("%zu images checked in %s\n", expected.size() + 1,
                    qPrintable(dir.absolutePath()));
    return faults == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    const QStringList args = app.arguments();
    if (args.size() == 3 && args[1] == "--check") {
        // The English images, then each language's folder beside them.
        const QDir dir(args[2]);
        int result = checkImages(dir);
        for (const QString& language : dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot))
            result |= checkImages(QDir(dir.filePath(language)), true);
        return result;
    }
    QString previewDir, language, translations;
    bool usage = args.size() < 2;
    for (int i = 2; i < args.size() && !usage; ++i) {
        if (args[i] == "--preview" && i + 1 < args.size())
            previewDir = args[++i];
        else if (args[i] == "--language" && i + 2 < args.size()) {
            language = args[++i];
            translations = args[++i];
        } else
            usage = true;
    }
    if (usage) {
        std::fprintf(stderr,
                     "usage: %s OUTPUT_DIR [--preview PREVIEW_DIR] [--language LANG QM_FILE]\n"
                     "       %s --check IMAGES_DIR\n",
                     argv[0], argv[0]);
        return 2;
    }

    // The look depends on the font; refuse to paint with a substitute.
    for (QFont::Weight weight : {QFont::Normal, QFont::DemiBold, QFont::Bold}) {
        QFont probe = uiFont(13, weight);
        if (QFontInfo(probe).family() != kFontFamily) {
            std::fprintf(stderr, "font family %s not found (Debian package fonts-lato)\n",
                         kFontFamily);
            return 1;
        }
    }
    QTranslator translator;
    if (!language.isEmpty()) {
        if (!translator.load(translations)) {
            std::fprintf(stderr, "cannot read the translations %s\n", qPrintable(translations));
            return 1;
        }
        QCoreApplication::installTranslator(&translator);
    }

    const ArtworkSet set = makeAll();
    if (!unfitted.empty()) {
        for (const QString& text : unfitted)
            std::fprintf(stderr, "%s: does not fit: %s\n",
                         qPrintable(language.isEmpty() ? QString("en") : language),
                         qPrintable(text));
        return 1;
    }
    Output out{QDir(args[1])};
    if (!out.dir.mkpath(".")) {
        std::fprintf(stderr, "cannot create %s\n", qPrintable(args[1]));
        return 1;
    }
    for (const auto& [name, image] : set.files)
        if (language.isEmpty() || carriesWords(name)) out.save(image, name);
    if (language.isEmpty()) {
        QFile svg(out.dir.filePath("18.svg"));
        if (svg.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            svg.write(iconSvg().toUtf8());
            ++out.written;
        } else {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(svg.fileName()));
            out.ok = false;
        }
    }

    if (!previewDir.isEmpty()) {
        Output preview{QDir(previewDir)};
        preview.dir.mkpath(".");
        preview.save(previewHome(set), "preview-home.png");
        preview.save(previewSettings(set), "preview-settings.png");
        preview.save(previewSheet(set), "preview-sheet.png");
        out.ok = out.ok && preview.ok;
    }

    std::printf("%d files written to %s\n", out.written, qPrintable(out.dir.absolutePath()));
    return out.ok ? 0 : 1;
}
