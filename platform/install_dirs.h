// Where the program finds the files it reads at run time: beside the executable (the build tree,
// a copied folder) or, once installed, in the data folder <prefix>/share/vellumo beside
// <prefix>/bin.
#pragma once

#include <string>

namespace vellumo::platform {

// The folder that holds the running executable; "" when the system does not say.
std::string ExecutableDir();
// The installed data folder for an executable in exeDir, whether it exists or not.
std::string InstalledDataDir(const std::string& exeDir);
// The file `name` beside the executable when it is there, else the one in the installed data
// folder when that is there, else the path beside the executable (so a missing file is looked
// for, and reported, where a copied program keeps it).
std::string FindProgramFile(const std::string& exeDir, const std::string& name);

}  // namespace vellumo::platform
