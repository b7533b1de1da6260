#include "prefs/button_st.h"

#include <QPainter>
#include <QStyle>
#include <algorithm>

#include "widgets/dialog_units.h"
#include "widgets/skin_palette.h"

namespace vellumo::prefs {

using namespace vellumo::widgets;

CButtonST::CButtonST(Kind kind, const QString& text, QWidget* parent)
    : QAbstractButton(parent), kind_(kind) {
    setText(text);
    setCheckable(true);
    // A radio reads as a radio button to assistive technology (its group keeps it exclusive).
    setAutoExclusive(kind == Kind::Radio);
    setFocusPolicy(Qt::StrongFocus);
    if (kind == Kind::CheckBox)
        SetBitmaps(kCheckedBitmap, kUncheckedBitmap);
    else
        SetBitmaps(kSelectedBitmap, kUnselectedBitmap);
    connect(this, &QAbstractButton::toggled, this, [this] { update(); });
}

void CButtonST::SetBitmaps(int checkedId, int uncheckedId) {
    checkedId_ = checkedId;
    uncheckedId_ = uncheckedId;
    checkedImage_ = QImage(QStringLiteral(":/images/%1.png").arg(checkedId));
    uncheckedImage_ = QImage(QStringLiteral(":/images/%1.png").arg(uncheckedId));
    update();
}

const QImage& CButtonST::image(int id) {
    return id == checkedId_ ? checkedImage_ : uncheckedImage_;
}

QSize CButtonST::sizeHint() const {
    const QSize bitmap = checkedImage_.size();
    const int textWidth = text().isEmpty() ? 0 : fontMetrics().horizontalAdvance(text()) + 4;
    return QSize(bitmap.width() + textWidth, qMax(bitmap.height(), fontMetrics().height()));
}

void CButtonST::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QImage& bitmap = image(currentBitmap());
    // A bitmap taller than the button is scaled down to fit, keeping its shape. Labelled
    // buttons all draw theirs at the height of the lowest line of the page's templates (8
    // units), so that boxes of 8 and 9 units in one column look alike.
    int fit = height();
    if (!text().isEmpty()) fit = std::min(fit, DialogUnitsToPixels(QSize(0, 8)).height());
    QSize size = bitmap.size();
    if (size.height() > fit) size.scale(size.width(), fit, Qt::KeepAspectRatio);
    const QRect place(QPoint(0, (height() - size.height()) / 2), size);
    if (!isEnabled()) painter.setOpacity(0.45);
    painter.drawImage(place, bitmap);
    painter.setOpacity(1.0);
    if (!text().isEmpty()) {
        painter.setPen(isEnabled() ? QColor(Qt::black)
                                   : palette().color(QPalette::Disabled, QPalette::WindowText));
        const QRect textRect(place.right() + 4, 0, width() - place.right() - 4, height());
        painter.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextShowMnemonic, text());
    }
    if (hasFocus()) {
        // The focus ring of every skinned control, in the skin's accent colour.
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(QColor::fromRgb(kSkinAccent), 1.5));
        painter.drawRoundedRect(QRectF(rect()).adjusted(0.75, 0.75, -0.75, -0.75), 3, 3);
    }
}

}  // namespace vellumo::prefs
