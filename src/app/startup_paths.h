#pragma once

#include <string>
#include <vector>

// Paths that start-up derives from the executable directory (which ends in a backslash) and
// the system's default language identifier.

// <exe dir>resource\<language>\ttres.dll
std::string FormatLanguageLibraryPath(const std::string& exeDirectory, unsigned languageId);

// The filter directories in loading order, highest priority first: private language, private,
// system language, system.
std::vector<std::string> GetFilterDirectories(const std::string& exeDirectory, unsigned languageId);
