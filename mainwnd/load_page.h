// Bringing image files into the program: LoadImageFile reads any readable file into the
// working image (the format found by inspecting the file, never by its name), and the
// "LOAD PAGE" command appends each file the user picks to the page list as a page that refers
// to the user's own file.
#pragma once

#include <QString>

class QWidget;

// Reads the file into the working image (whatever it held is released first). 0 on success;
// -1 after telling the user "Unsupported graphics format", with the working image empty.
int LoadImageFile(const QString& path, QWidget* parent = nullptr);

// "LOAD PAGE": asks for one or more files in the remembered load folder (currentDir), and
// appends a page for every readable one. The folder of each file becomes the remembered one,
// also in "CurrentDir". Questions are owned by `owner` (the main dialog).
void OnLoadPage(QWidget* owner);
