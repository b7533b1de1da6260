// The program's messages in the user's language. Every part of the program makes its messages
// in English, and the log keeps them so (it is read by support); they are put into the user's
// language only where they are shown: by the dialog seam's real dialogs and by the activity
// dialog. A message that the Qt-free libraries compose (a scanner error, a file name) is
// matched against the catalogue of the program's message forms, and its variable parts are
// carried over into the translated form.
#pragma once

#include <QString>

namespace vellumo::platform {

// `english` in the installed language; unchanged when no translation is installed or the
// catalogue does not know it.
QString TranslatedMessage(const QString& english);
// A file-dialog filter ("PDF File (*.PDF);;…"), each entry translated, in the same order.
QString TranslatedFilter(const QString& english);

}  // namespace vellumo::platform
