// Bringing image files into the program: LoadImageFile reads any readable file into the
// working image (the format found by inspecting the file, never by its name), and the
// "LOAD PAGE" command appends each file the user picks to the page list as a page that refers
// to the user's own file.
#pragma once

#include <QString>

class QObject;
class QWidget;

// The folder the "LOAD PAGE" dialog opens in: filled from "CurrentDir" at start-up and
// written back there whenever a file is loaded. Ends in a separator unless empty.
extern QString loadFolder;
// Fills loadFolder from the settings; the main dialog calls it once at start-up.
void ReadLoadFolder();

// Reads the file into the working image (whatever it held is released first). 0 on success;
// -1 after telling the user "Unsupported graphics format", with the working image empty.
int LoadImageFile(const QString& path, QWidget* parent = nullptr);
