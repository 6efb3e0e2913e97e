#include "support/well_formed.h"

#include <vector>

namespace orrimar::logtest {

std::string checkWellFormed(const std::string& page) {
    std::vector<std::string> open;
    std::size_t i = 0;
    const auto entityOk = [&](std::size_t at) {
        const std::size_t end = page.find(';', at);
        if (end == std::string::npos || end - at > 8) return false;
        const std::string entity = page.substr(at + 1, end - at - 1);
        if (entity == "amp" || entity == "lt" || entity == "gt" || entity == "quot" || entity == "apos") return true;
        if (entity.size() > 1 && entity[0] == '#') {
            for (std::size_t k = 1; k < entity.size(); ++k) {
                if (entity[k] < '0' || entity[k] > '9') return false;
            }
            return true;
        }
        return false;
    };
    const std::string doctype = "<!DOCTYPE html>";
    if (page.compare(0, doctype.size(), doctype) != 0) return "no doctype";
    i = doctype.size();
    bool seenRoot = false;
    while (i < page.size()) {
        const char c = page[i];
        if (c == '&') {
            if (!entityOk(i)) return "bad entity at " + std::to_string(i);
            ++i;
            continue;
        }
        if (c == '>') return "stray '>' at " + std::to_string(i);
        if (c != '<') {
            if (open.empty() && c != '\r' && c != '\n' && c != ' ')
                return "text outside the root at " + std::to_string(i);
            ++i;
            continue;
        }
        // A CDATA section (a script's body) is text, whatever it holds,
        // up to the first "]]>".
        const std::string cdata = "<![CDATA[";
        if (page.compare(i, cdata.size(), cdata) == 0) {
            if (open.empty()) return "CDATA outside the root at " + std::to_string(i);
            const std::size_t close = page.find("]]>", i + cdata.size());
            if (close == std::string::npos) return "unclosed CDATA section at " + std::to_string(i);
            i = close + 3;
            continue;
        }
        const std::size_t end = page.find('>', i);
        if (end == std::string::npos) return "unclosed tag at " + std::to_string(i);
        std::string tag = page.substr(i + 1, end - i - 1);
        i = end + 1;
        if (tag.empty()) return "empty tag";
        if (tag[0] == '/') {
            const std::string name = tag.substr(1);
            if (open.empty() || open.back() != name) {
                return "</" + name + "> closes <" + (open.empty() ? std::string("nothing") : open.back()) + ">";
            }
            open.pop_back();
            continue;
        }
        const bool selfClosed = tag.back() == '/';
        if (selfClosed) tag.pop_back();
        const std::size_t nameEnd = tag.find_first_of(" \r\n\t");
        const std::string name = tag.substr(0, nameEnd);
        if (name.empty()) return "nameless tag";
        // Attributes: name="value" pairs with no '<' and only entity '&'.
        std::size_t a = nameEnd == std::string::npos ? tag.size() : nameEnd;
        while (a < tag.size()) {
            while (a < tag.size() && (tag[a] == ' ' || tag[a] == '\r' || tag[a] == '\n')) ++a;
            if (a >= tag.size()) break;
            const std::size_t eq = tag.find('=', a);
            if (eq == std::string::npos || eq + 1 >= tag.size() || tag[eq + 1] != '"')
                return "unquoted attribute in <" + name + ">";
            const std::size_t close = tag.find('"', eq + 2);
            if (close == std::string::npos) return "unterminated attribute in <" + name + ">";
            const std::string value = tag.substr(eq + 2, close - eq - 2);
            if (value.find('<') != std::string::npos) return "'<' in an attribute of <" + name + ">";
            a = close + 1;
        }
        if (open.empty() && seenRoot) return "second root element <" + name + ">";
        seenRoot = true;
        if (!selfClosed) open.push_back(name);
    }
    if (!open.empty()) return "<" + open.back() + "> never closed";
    return "";
}

}  // namespace orrimar::logtest
