#include "settings/ini_file.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <fstream>
#include <limits>
#include <string_view>

#include "common/errors.h"
#include "common/file_io.h"
#include "common/number_text.h"

namespace orrimar {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

std::string trim(std::string_view text) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && std::isspace(static_cast<unsigned char>(text[begin])) != 0) ++begin;
    while (end > begin && std::isspace(static_cast<unsigned char>(text[end - 1])) != 0) --end;
    return std::string(text.substr(begin, end - begin));
}

bool equalsIgnoreCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

// "[name]" lines, with blanks allowed around the name as Windows does.
std::optional<std::string> sectionName(const std::string& line) {
    const std::string t = trim(line);
    if (t.size() < 2 || t.front() != '[') return std::nullopt;
    const auto close = t.find(']');
    if (close == std::string::npos) return std::nullopt;
    return trim(std::string_view(t).substr(1, close - 1));
}

// "key=value" lines; comments (";") and blank lines are not entries.
bool splitEntry(const std::string& line, std::string& key, std::string& value) {
    const std::string t = trim(line);
    if (t.empty() || t.front() == ';' || t.front() == '[') return false;
    const auto eq = t.find('=');
    if (eq == std::string::npos) return false;
    key = trim(std::string_view(t).substr(0, eq));
    value = trim(std::string_view(t).substr(eq + 1));
    // A value wholly in quotes is read without them.
    if (value.size() >= 2 &&
        ((value.front() == '"' && value.back() == '"') || (value.front() == '\'' && value.back() == '\''))) {
        value = value.substr(1, value.size() - 2);
    }
    return true;
}

// Decimal, "$hex" or "0xhex" with an optional sign; the whole text must fit.
std::optional<int> parseInteger(const std::string& text) {
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    int base = 10;
    if (i < text.size() && text[i] == '$') {
        base = 16;
        ++i;
    } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i >= text.size()) return std::nullopt;
    long long value = 0;
    for (; i < text.size(); ++i) {
        const int digit = hexDigitValue(text[i]);
        if (digit < 0 || digit >= base) return std::nullopt;
        value = value * base + digit;
        if (value > static_cast<long long>(std::numeric_limits<int>::max()) + 1) return std::nullopt;
    }
    if (negative) value = -value;
    if (value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max()) return std::nullopt;
    return static_cast<int>(value);
}

}  // namespace

IniFile::IniFile(std::string path) : path_(std::move(path)) {
    std::ifstream in(path_, std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        // A UTF-8 byte-order mark, as Notepad writes one, is not part of the
        // first line: left there it would hide the first section's header.
        if (lines_.empty() && line.rfind(kByteOrderMark, 0) == 0) line.erase(0, kByteOrderMark.size());
        lines_.push_back(line);
    }
}

std::optional<std::string> IniFile::readString(const std::string& section, const std::string& key) const {
    bool inSection = false;
    std::string k;
    std::string v;
    for (const auto& line : lines_) {
        if (const auto name = sectionName(line)) {
            inSection = equalsIgnoreCase(*name, section);
            continue;
        }
        if (inSection && splitEntry(line, k, v) && equalsIgnoreCase(k, key)) return v;
    }
    return std::nullopt;
}

int IniFile::readInteger(const std::string& section, const std::string& key, int defaultValue) const {
    const auto text = readString(section, key);
    if (!text) return defaultValue;
    return parseInteger(*text).value_or(defaultValue);
}

void IniFile::writeString(const std::string& section, const std::string& key, const std::string& value) {
    const std::string entry = key + "=" + value;
    bool inSection = false;
    std::size_t sectionLine = lines_.size();
    std::size_t insertAt = lines_.size();
    std::string k;
    std::string v;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        if (const auto name = sectionName(lines_[i])) {
            if (inSection) break;  // end of our section
            inSection = equalsIgnoreCase(*name, section);
            if (inSection) {
                sectionLine = i;
                insertAt = i + 1;
            }
            continue;
        }
        if (!inSection) continue;
        if (splitEntry(lines_[i], k, v)) {
            if (equalsIgnoreCase(k, key)) {
                lines_[i] = k + "=" + value;  // edited in place, key spelling kept
                return;
            }
            insertAt = i + 1;
        } else if (!trim(lines_[i]).empty()) {
            insertAt = i + 1;  // keep comments of the section above the new key
        }
    }
    if (sectionLine == lines_.size()) {
        if (!lines_.empty() && !trim(lines_.back()).empty()) lines_.emplace_back();
        lines_.push_back("[" + section + "]");
        lines_.push_back(entry);
        return;
    }
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(insertAt), entry);
}

void IniFile::writeInteger(const std::string& section, const std::string& key, int value) {
    writeString(section, key, std::to_string(value));
}

void IniFile::save() const {
    AtomicOutputFile file(path_);
    // The mark skipped when reading is not written back, but a first line
    // that itself begins with the mark's bytes (a file that began with two)
    // would lose them to the next reading's skip and could become a section
    // header there; one mark in front keeps every line as it was read.
    if (!lines_.empty() && lines_.front().rfind(kByteOrderMark, 0) == 0) file.write(std::string(kByteOrderMark));
    for (const auto& line : lines_) {
        file.write(line);
        file.write("\r\n");
    }
    file.commit();
}

}  // namespace orrimar
