// Bringing image files into the program: LoadImageFile reads any readable file into the
// working image (the format found by inspecting the file, never by its name), and the
// "LOAD PAGE" command appends each file the user picks to the page list as a page that refers
// to the user's own file.
#pragma once

#include <QString>
#include <QStringList>

#include "document/command_context.h"
#include "imaging/image_buffer.h"

class QWidget;

namespace vellumo::editing {

// Reads the file into the working image (whatever it held is released first). 0 on success;
// -1 after telling the user "Unsupported graphics format", with the working image empty.
int LoadImageFile(imaging::ImageBuffer& workingImage, const QString& path,
                  QWidget* parent = nullptr);

// "LOAD PAGE": asks for one or more files in the remembered load folder (currentDir), and
// appends a page for every readable one. The folder of each file becomes the remembered one,
// also in "CurrentDir". Questions are owned by the main dialog.
void OnLoadPage(const document::CommandContext& context);

// What "LOAD PAGE" does with the files once they are chosen, for files chosen any other way
// (dropped on the page list): each, in order, is logged, becomes the remembered folder and is
// appended when readable (one "Unsupported graphics format" for each that is not); then the
// page count is posted, the view rebuilt and "Image(s) loaded" logged.
void LoadPageFiles(const document::CommandContext& context, const QStringList& files);

}  // namespace vellumo::editing
