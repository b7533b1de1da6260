#include "widgets/dialog_units.h"

#include <QFontMetrics>

namespace vellumo::widgets {

QFont TemplateFont() {
    QFont font(QStringLiteral("Segoe UI"));
    font.setPixelSize(10 * 96 / 72);  // points at 96 dpi, rounded down as the system does
    return font;
}

QSize DialogBaseUnits() {
    static const QSize units = [] {
        const QFontMetrics metrics(TemplateFont());
        const QString letters =
            QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
        const int width = (metrics.horizontalAdvance(letters) / 26 + 1) / 2;
        return QSize(qMax(width, 1), qMax(metrics.height(), 1));
    }();
    return units;
}

namespace {
int ToPixelsX(int units) {
    return (units * DialogBaseUnits().width() + 2) / 4;
}
int ToPixelsY(int units) {
    return (units * DialogBaseUnits().height() + 4) / 8;
}
}  // namespace

QRect DialogUnitsToPixels(const QRect& r) {
    return QRect(ToPixelsX(r.x()), ToPixelsY(r.y()), ToPixelsX(r.width()), ToPixelsY(r.height()));
}

QSize DialogUnitsToPixels(const QSize& s) {
    return QSize(ToPixelsX(s.width()), ToPixelsY(s.height()));
}

}  // namespace vellumo::widgets
