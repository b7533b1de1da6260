// The start of a session of pages. Before anything else, the sessions of instances that did not
// close properly are looked for; for each with pages the user is asked whether to restore them.
// Yes: the document takes that session over, pages, history, folder and lock. No: its files go.
// Without one to restore, the document gets a new session of its own.
#pragma once

class QWidget;

namespace vellumo::document {

class PageDocument;

// Questions and messages are owned by `owner` (may be null). When no private folder can be made
// for the pages, the user is told and the pages go to the temporary folder, unjournaled.
void StartPageSession(PageDocument& document, QWidget* owner);

}  // namespace vellumo::document
