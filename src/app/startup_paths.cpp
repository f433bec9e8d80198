#include "app/startup_paths.h"

std::string FormatLanguageLibraryPath(const std::string& exeDirectory, unsigned languageId) {
    return exeDirectory + "resource\\" + std::to_string(languageId) + "\\ttres.dll";
}

std::vector<std::string> GetFilterDirectories(const std::string& exeDirectory,
                                              unsigned languageId) {
    const std::string language = std::to_string(languageId);
    const std::string system = exeDirectory + "filter\\system";
    const std::string privateDir = exeDirectory + "filter\\private";
    return {privateDir + "\\" + language, privateDir, system + "\\" + language, system};
}
