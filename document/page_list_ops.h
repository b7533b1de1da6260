// The page list's operations that ask the user or follow the view's selection: "&Delete",
// "Move &up", "Move do&wn", moving a page by dragging it, clearing the list after a PDF was
// saved or sent, and "Undo" and "Redo". Each tells the document's views what changed.
#pragma once

#include <QString>

#include "document/page_document.h"

class QWidget;

namespace vellumo::document {

// "&Delete" of the page menu: asks, deletes the page at `currentItem` and its files.
void DeletePage(PageDocument& document, QWidget* owner);
void MovePageUp(PageDocument& document, QWidget* owner);
void MovePageDown(PageDocument& document, QWidget* owner);
// Moves the page at `from` to the place `to` by neighbour swaps, the way repeated "Move up" or
// "Move down" would, then rebuilds the view and selects the page at its new place. False
// (nothing changed) when either place is outside the list or both are the same.
bool MovePage(PageDocument& document, int from, int to);
// Asks the question; Yes empties the list (an undo brings the pages back). Either way the count
// is posted and the view rebuilt.
void ClearPages(PageDocument& document, QWidget* owner, const QString& question);
// "Undo" and "Redo": take back the last step, or do again the one last taken back, and select
// the first page that changed.
void UndoPageChange(PageDocument& document);
void RedoPageChange(PageDocument& document);

}  // namespace vellumo::document
