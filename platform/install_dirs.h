// Where the program finds the files it reads at run time: beside the executable (the build tree,
// a copied folder) or, once installed, in the data folder <prefix>/share/vellumo beside
// <prefix>/bin; its helper programs in <prefix>/libexec/vellumo, off the PATH.
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
// The installed folder of the program's helper programs (the page viewer) for an executable in
// exeDir: <prefix>/libexec/vellumo beside <prefix>/bin, whether it exists or not.
std::string InstalledHelperDir(const std::string& exeDir);
// The helper program `name` beside the executable when it is there (the build tree, a copied
// folder), else the installed one; "" when neither exists.
std::string FindHelperProgram(const std::string& exeDir, const std::string& name);

}  // namespace vellumo::platform
