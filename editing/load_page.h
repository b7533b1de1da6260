// Bringing image files into the program: LoadImageFile reads any readable file into the
// working image (the format found by inspecting the file, never by its name), and the
// "LOAD PAGE" command appends every page of each file the user picks (all pages of a
// multi-page TIFF or of a PDF) to the page list as a page that refers to the user's own file
// and the page's place in it. Thumbnails are decoded on worker threads while the list fills.
#pragma once

#include <QString>
#include <QStringList>

#include "document/command_context.h"
#include "imaging/image_buffer.h"
#include "imaging/image_pages.h"

#include <string>

class QWidget;

namespace vellumo::editing {

// Reads the file into the working image (whatever it held is released first). 0 on success;
// -1 after telling the user "Unsupported graphics format", with the working image empty.
int LoadImageFile(imaging::ImageBuffer& workingImage, const QString& path,
                  QWidget* parent = nullptr);

// Reads one page of a file (any page of a multi-page TIFF or of a PDF; password for an
// encrypted PDF) into the working image. 0, or -1 after "Unsupported graphics format" with the
// file and the reason in the details.
int LoadPageImage(imaging::ImageBuffer& workingImage, const imaging::PageRef& page,
                  const std::string& password, QWidget* parent = nullptr);

// "LOAD PAGE": asks for one or more files in the remembered load folder (currentDir), and
// appends a page for every readable one. The folder of each file becomes the remembered one,
// also in "CurrentDir". Questions are owned by the main dialog.
void OnLoadPage(const document::CommandContext& context);

// What "LOAD PAGE" does with the files once they are chosen, for files chosen any other way
// (dropped on the page list): each, in order, is logged and becomes the remembered folder; an
// encrypted PDF asks for its password; every page of every readable file is appended in order
// (one "Unsupported graphics format" for each file or page that cannot be read). Pages appear
// and the page count is posted as their thumbnails arrive; after half a second the activity
// dialog shows how far the load is, and its Cancel stops it (the pages already in stay). Then
// "Image(s) loaded" is logged.
void LoadPageFiles(const document::CommandContext& context, const QStringList& files);

}  // namespace vellumo::editing
