#include "engine/filter/filter_reader.h"
#include "platform/path_util.h"

// Before app_exception.h, which takes back the GetMessage name windows.h defines.
#ifdef _WIN32
#include <windows.h>
#endif

#include "engine/filter/filter.h"
#include "engine/filter/xml_document.h"
#include "platform/app_exception.h"

#include <climits>
#include <cstring>
#include <exception>
#include <memory>
#include <vector>

#ifndef _WIN32
#include <filesystem>
#endif

namespace {

constexpr std::size_t kMaxIDLength = 40;
constexpr std::size_t kMaxDisplayNameLength = 40;

#define FAIL_FILTER(text) ThrowAppException(text, "Filter", __LINE__)

bool IsAsciiAlnum(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

int HexDigitValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

bool IsRegularFile(const std::string& path) {
#ifdef _WIN32
    const DWORD attributes = GetFileAttributesW(WidePath(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
#else
    std::error_code error;
    const auto status = std::filesystem::status(path, error);
    return !error && std::filesystem::exists(status) && !std::filesystem::is_directory(status);
#endif
}

void ReadColorMap(CFilter& filter, const CXmlElement& root) {
    const std::unique_ptr<CXmlElement> colorMap = root.FindChild("ColorMap");
    if (!colorMap) {
        FAIL_FILTER("bad filter format. (ColorMap tag not found.)");
    }
    std::vector<std::unique_ptr<CXmlElement>> children;
    if (!colorMap->GetChildElements(children)) {
        FAIL_FILTER("bad filter format. (failed to get ColorMap child.)");
    }
    int count = 0;
    for (const auto& child : children) {
        if (child->GetName() != "Color") {
            FAIL_FILTER("bad filter format. (not Color tag as ColorMap child.)");
        }
        std::string rgb;
        if (!child->GetAttribute("RGB", rgb)) {
            FAIL_FILTER("bad filter format. (RGB attribute not found.)");
        }
        ColorValue colour = 0;
        if (!ParseColorValue(rgb.c_str(), colour)) {
            FAIL_FILTER("bad filter format. (RGB attribute is bad.)");
        }
        if (count >= kColorMapSize) {
            FAIL_FILTER("bad filter format. (number of Color tag is not 216.)");
        }
        filter.SetColor(count++, colour);
    }
    if (count != kColorMapSize) {
        FAIL_FILTER("bad filter format. (number of Color tag is not 216.)");
    }
}

void ReadFilterList(CFilter& filter, const CXmlElement& root) {
    const std::unique_ptr<CXmlElement> filterList = root.FindChild("FilterList");
    if (!filterList) {
        FAIL_FILTER("bad filter format. (FilterList tag not found.)");
    }
    std::vector<std::unique_ptr<CXmlElement>> children;
    if (!filterList->GetChildElements(children)) {
        FAIL_FILTER("bad filter format. (failed to get FilterList child.)");
    }
    for (const auto& child : children) {
        if (child->GetName() != "Filter") {
            FAIL_FILTER("bad filter format. (not Filter tag as FilterList child.)");
        }
        std::string id;
        if (!child->GetAttribute("ID", id)) {
            FAIL_FILTER("bad filter format. (ID attribute not found.)");
        }
        std::string timeout;
        if (!child->GetAttribute("Timeout", timeout)) {
            FAIL_FILTER("bad filter format. (Timeout attribute not found.)");
        }
        filter.AppendRef(CFilterRef(std::move(id), ParseLeadingInteger(timeout.c_str())));
    }
}

void ReadFilter(CFilter& filter, const std::string& path) {
    if (!IsRegularFile(path)) {
        FAIL_FILTER("file not found.");
    }
    const std::unique_ptr<CXmlDocument> document = CreateXmlDocument();
    if (!document->Load(path)) {
        FAIL_FILTER("xml parse error.");
    }
    const std::unique_ptr<CXmlElement> root = document->GetRoot();
    if (!root) {
        FAIL_FILTER("bad filter format. (root tag not found.)");
    }
    if (root->GetName() != "ZezirivFilter") {
        FAIL_FILTER("bad filter format. (bad root tag.)");
    }
    std::string value;
    if (!root->GetAttribute("Version", value)) {
        FAIL_FILTER("bad filter format. (Version attribute not found.)");
    }
    if (value != "1.0") {
        FAIL_FILTER("bad filter format. (bad filter version.)");
    }
    const std::unique_ptr<CXmlElement> profile = root->FindChild("Profile");
    if (!profile) {
        FAIL_FILTER("bad filter format. (Profile rag not found.)");
    }
    if (!profile->GetAttribute("ID", value)) {
        FAIL_FILTER("bad filter format. (ID attribute not found.)");
    }
    if (!IsValidFilterID(value.c_str())) {
        FAIL_FILTER("bad filter format. (filter ID is bad.)");
    }
    filter.SetID(value);
    if (!profile->GetAttribute("DisplayName", value)) {
        FAIL_FILTER("bad filter format. (DisplayName attribute not found.)");
    }
    if (!IsValidDisplayName(value.c_str())) {
        FAIL_FILTER("bad filter format. (filter DisplayName is bad.)");
    }
    filter.SetDisplayName(value);
    const bool reference = profile->GetAttribute("Type", value) && value == "reference";
    filter.SetType(reference ? CFilter::kReference : CFilter::kColorMap);
    filter.SetVisible(!(profile->GetAttribute("Visible", value) && value == "no"));
    filter.SetRepeat(profile->GetAttribute("Repeat", value) ? ParseLeadingInteger(value.c_str())
                                                            : 0);
    if (reference) {
        ReadFilterList(filter, *root);
    } else {
        ReadColorMap(filter, *root);
    }
}

} // namespace

bool LoadFilterFile(CFilter& filter, const std::string& path) {
    return LoadFilterFile(filter, path, nullptr);
}

bool LoadFilterFile(CFilter& filter, const std::string& path, std::string* message) {
    try {
        try {
            ReadFilter(filter, path);
        } catch (const AppException&) {
            throw;
        } catch (const XmlComponentError& error) {
            ThrowFromComError(error);
        } catch (const std::exception& error) {
            ThrowFromStdException(error);
        }
    } catch (const AppException& error) {
        if (message) {
            *message = error.GetMessage();
        }
        return false;
    } catch (...) {
        // Only a failure while building the exception itself lands here; still not loaded.
        if (message) {
            message->clear();
        }
        return false;
    }
    if (message) {
        message->clear();
    }
    return true;
}

bool ParseColorValue(const char* text, ColorValue& colour) {
    if (!text || std::strlen(text) != 7 || text[0] != '#') {
        return false;
    }
    unsigned channels[3];
    for (int i = 0; i < 3; ++i) {
        const int high = HexDigitValue(text[1 + 2 * i]);
        const int low = HexDigitValue(text[2 + 2 * i]);
        if (high < 0 || low < 0) {
            return false;
        }
        channels[i] = static_cast<unsigned>(high * 16 + low);
    }
    colour = MakeColor(channels[0], channels[1], channels[2]);
    return true;
}

bool IsValidFilterID(const char* text) {
    if (!text) {
        return false;
    }
    const std::size_t length = std::strlen(text);
    if (length < 1 || length > kMaxIDLength) {
        return false;
    }
    for (std::size_t i = 0; i < length; ++i) {
        if (!IsAsciiAlnum(text[i]) && text[i] != '_' && text[i] != '@') {
            return false;
        }
    }
    return true;
}

bool IsValidDisplayName(const char* text) {
    if (!text) {
        return false;
    }
    const std::size_t length = std::strlen(text);
    return length >= 1 && length <= kMaxDisplayNameLength;
}

int ParseLeadingInteger(const char* text) {
    if (!text) {
        return 0;
    }
    const bool negative = *text == '-';
    if (negative) {
        ++text;
    }
    long long value = 0;
    for (; *text >= '0' && *text <= '9'; ++text) {
        value = value * 10 + (*text - '0');
        if (value > static_cast<long long>(INT_MAX) + 1) {
            value = static_cast<long long>(INT_MAX) + 1;
        }
    }
    if (negative) {
        value = -value;
    }
    if (value > INT_MAX) {
        value = INT_MAX;
    }
    return static_cast<int>(value);
}
