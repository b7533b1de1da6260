#include "mainwnd/page_marks.h"

#include <QApplication>
#include <QListWidgetItem>
#include <QPainter>
#include <QPainterPath>

namespace vellumo::mainwnd {

namespace {

const QColor kWaitingColour(0x2b, 0x78, 0xc2);
const QColor kBlankColour(0xd9, 0x6c, 0x00);
constexpr int kMarkSize = 24;
constexpr int kInset = 6;

// A clock face: the page's work is still under way.
void PaintWaitingMark(QPainter& p, const QRect& picture) {
    const QRectF face(picture.right() - kInset - kMarkSize, picture.top() + kInset, kMarkSize,
                      kMarkSize);
    p.setPen(QPen(Qt::white, 2));
    p.setBrush(kWaitingColour);
    p.drawEllipse(face);
    const QPointF c = face.center();
    p.setPen(QPen(Qt::white, 2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(c, c + QPointF(0, -7));
    p.drawLine(c, c + QPointF(5, 3));
}

void PaintBlankMark(QPainter& p, const QRect& picture) {
    QFont font = QApplication::font();
    font.setPixelSize(12);
    font.setBold(true);
    p.setFont(font);
    const QString text = QStringLiteral("BLANK");
    const int width = QFontMetrics(font).horizontalAdvance(text) + 12;
    const QRectF label(picture.left() + kInset, picture.top() + kInset, width, 20);
    p.setPen(Qt::NoPen);
    p.setBrush(kBlankColour);
    p.drawRoundedRect(label, 5, 5);
    p.setPen(Qt::white);
    p.drawText(label, Qt::AlignCenter, text);
}

}  // namespace

void SetPageMarks(QListWidgetItem& item, const document::Page& page) {
    item.setData(kWaitingForTextRole, page.waitingForText);
    item.setData(kBlankPageRole, page.blank);
    QStringList notes;
    if (page.blank) notes << QCoreApplication::translate("CPageView", "Blank page");
    if (page.waitingForText)
        notes << QCoreApplication::translate("CPageView", "Waiting for its text");
    item.setToolTip(notes.join(QStringLiteral("; ")));
}

void CPageMarkDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const {
    QStyledItemDelegate::paint(painter, option, index);
    const bool waiting = index.data(kWaitingForTextRole).toBool();
    const bool blank = index.data(kBlankPageRole).toBool();
    if (!waiting && !blank) return;
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    const QWidget* widget = option.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    const QRect picture = style->subElementRect(QStyle::SE_ItemViewItemDecoration, &opt, widget);
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    if (waiting) PaintWaitingMark(*painter, picture);
    if (blank) PaintBlankMark(*painter, picture);
    painter->restore();
}

}  // namespace vellumo::mainwnd
