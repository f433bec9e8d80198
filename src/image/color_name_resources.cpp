#include "image/color_name_resources.h"

#include "image/color_info.h"
#include "shell/utilities.h"

void LoadColorNameWordsFromResources() {
    LoadColorNameWords([](unsigned id, std::string& text) {
        char buffer[256] = {};
        const bool loaded = LoadResString(id, buffer, static_cast<int>(sizeof(buffer)));
        text = loaded ? buffer : "";
        return loaded;
    });
}
