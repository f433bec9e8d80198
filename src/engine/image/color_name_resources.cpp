#include "engine/image/color_name_resources.h"

#include "engine/image/color_info.h"
#include "platform/utilities.h"

void LoadColorNameWordsFromResources() {
    LoadColorNameWords([](unsigned id, std::string& text) {
        char buffer[256] = {};
        const bool loaded = LoadResString(id, buffer, static_cast<int>(sizeof(buffer)));
        text = loaded ? buffer : "";
        return loaded;
    });
}
