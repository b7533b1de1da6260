// The marks on the page list's thumbnails: a small clock while a page waits for its clean-up or
// its text, and a "BLANK" label on a page found blank. The item carries the page's state; the
// delegate paints the marks over the thumbnail.
#pragma once

#include <QStyledItemDelegate>

#include "document/page_document.h"

class QListWidgetItem;

namespace vellumo::mainwnd {

// Item data roles of the marks (bool).
inline constexpr int kWaitingForTextRole = Qt::UserRole + 10;
inline constexpr int kBlankPageRole = Qt::UserRole + 11;

// Copies the page's marks into its item (with a tooltip that says what they mean).
void SetPageMarks(QListWidgetItem& item, const document::Page& page);

class CPageMarkDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
};

}  // namespace vellumo::mainwnd
