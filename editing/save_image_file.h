// Saving the image under review (the working image) as a graphics file of one of eight
// formats, chosen by the user in the save dialog. The image and the page list stay as they are.
#pragma once

#include <QString>

#include "imaging/image_buffer.h"

class QWidget;

namespace vellumo::editing {

// The save dialog's type list, in order: position 1 TIFF, 2 BMP, 3 JPEG, 4 PCX, 5 GIF, 6 PNG,
// 7 EPS, 8 TGA.
QString SaveImageFilter();
// The file name the dialog proposes for the stored "LastFileType": "*.tif" for 0, 1 and any
// value outside 2 to 8.
QString InitialSaveName(int lastFileType);
// The path with the chosen type's extension appended unless it already ends in it (compared
// without regard to case): scan.tiff becomes scan.tiff.TIF, page.tif stays. Positions outside
// 1 to 8 count as BMP.
QString EnforceSaveExtension(const QString& path, int position);
// Writes the image's working area in the format of the position (outside 1 to 8: BMP).
// 0 or the imaging operation's negative code.
int SaveImageAs(const QString& path, int position, const imaging::ImageBuffer& image);

// The whole command on the working image: asks for the file ("Save As Graphics File"),
// remembers the folder and the type, writes the file and tells the user of a failure.
// Returns 0 when a file was written, 1 when the user cancelled, else the negative code.
int SaveImageFile(const imaging::ImageBuffer& workingImage, QWidget* parent);

}  // namespace vellumo::editing
