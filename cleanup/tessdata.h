// Where Tesseract's data files are: the one place that decides it, so that every part of the
// program that runs Tesseract looks in the same folders.
#pragma once

#include <string>

namespace vellumo::cleanup {

// The folder that holds "<language>.traineddata": $TESSDATA_PREFIX when it is set (the folder
// itself, or its "tessdata" subfolder), else the folders Debian's and Tesseract's own
// installations use. "" when none has the file.
std::string TessdataFolder(const std::string& language);

// True when Tesseract's orientation data ("osd") is installed.
bool OrientationDataInstalled();

}  // namespace vellumo::cleanup
