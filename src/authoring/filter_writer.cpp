#include "authoring/filter_writer.h"

#include <cstdio>

namespace {

std::string EscapeAttribute(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

// "--" may not appear inside an XML comment.
std::string SafeCommentLine(const std::string& line) {
    std::string out;
    for (const char c : line) {
        if (c == '-' && !out.empty() && out.back() == '-') {
            out += ' ';
        }
        out += c;
    }
    if (!out.empty() && out.back() == '-') {
        out += ' ';
    }
    return out;
}

std::string Header(const std::vector<std::string>& comment) {
    std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    if (!comment.empty()) {
        out += "<!--\n";
        for (const std::string& line : comment) {
            out += "  " + SafeCommentLine(line) + "\n";
        }
        out += "-->\n";
    }
    return out;
}

} // namespace

std::string WriteColorMapFilter(const std::string& id, const std::string& displayName,
                                const ColorMap& colors, const std::vector<std::string>& comment) {
    std::string out = Header(comment);
    out += "<ZezirivFilter Version=\"1.0\">\n";
    out += "  <Profile ID=\"" + EscapeAttribute(id) + "\" DisplayName=\"" +
           EscapeAttribute(displayName) + "\"/>\n";
    out += "  <ColorMap>\n";
    for (const ColorValue c : colors) {
        char line[40];
        std::snprintf(line, sizeof line, "    <Color RGB=\"#%02x%02x%02x\"/>\n", RedOf(c),
                      GreenOf(c), BlueOf(c));
        out += line;
    }
    out += "  </ColorMap>\n";
    out += "</ZezirivFilter>\n";
    return out;
}

std::string WriteReferenceFilter(const std::string& id, const std::string& displayName, int repeat,
                                 const std::vector<FilterMember>& members,
                                 const std::vector<std::string>& comment) {
    std::string out = Header(comment);
    out += "<ZezirivFilter Version=\"1.0\">\n";
    out += "  <Profile ID=\"" + EscapeAttribute(id) + "\" DisplayName=\"" +
           EscapeAttribute(displayName) + "\" Type=\"reference\" Repeat=\"" +
           std::to_string(repeat) + "\"/>\n";
    out += "  <FilterList>\n";
    for (const FilterMember& m : members) {
        out += "    <Filter ID=\"" + EscapeAttribute(m.id) + "\" Timeout=\"" +
               std::to_string(m.timeout) + "\"/>\n";
    }
    out += "  </FilterList>\n";
    out += "</ZezirivFilter>\n";
    return out;
}
