// What a command gets from the main window that runs it: the window that owns its questions and
// receives its posted messages, the page document, and the settings the main dialog mirrors.
// The features (editing/, scanning/, output/) see the window only through this.
#pragma once

#include <QString>

#include "document/page_document.h"

class QWidget;

namespace vellumo::document {

class PageProcessing;

// The settings the main dialog mirrors for its commands: the quick settings of the home view
// (the next scans read them) and the last folders of the file dialogs.
struct MainSettings {
    int scanMode = 0;         // "nType": 0 black and white, 1 grey, 2 colour
    int brightnessLevel = 3;  // "nBright": 0 bright end .. 6 dark end
    int pageSize = 0;         // "PageSize": 0 Letter, 1 A4, 2 Legal, 3 A3
    int showPreview = 1;      // "Preview"
    int autoCrop = 0;         // "AutoCrop"
    int noFeeder = 0;         // "ADF"
    int duplex = 0;           // "Duplex"
    int invert = 0;           // "Invert"
    int compress = 1;         // "Compress"
    QString currentDir;       // "CurrentDir": the last folder pages were loaded from
    QString currentDirSave;   // "CurrentDirSave": the last folder a PDF or image was saved to
};

struct CommandContext {
    QWidget* window = nullptr;      // the main dialog
    QWidget* skinWindow = nullptr;  // the window the main dialog lies on (may be null)
    PageDocument* document = nullptr;
    MainSettings* settings = nullptr;
    // The pages' background clean-up and text recognition (null: none).
    PageProcessing* processing = nullptr;
};

}  // namespace vellumo::document
