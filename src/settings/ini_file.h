// A plain Windows INI file read and written as the private-profile functions
// do: section and key names compare case-insensitively, the rest of the file
// is kept as it was (order, comments, other sections), a written key is
// edited in place or added at the end of its section, integers are written
// in decimal. Not QSettings, which escapes spaces and reorders keys.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace orrimar {

class IniFile {
public:
    // Loads the file if it exists; a missing file is an empty one.
    explicit IniFile(std::string path);

    const std::string& path() const { return path_; }

    std::optional<std::string> readString(const std::string& section, const std::string& key) const;
    // Decimal, "$" hex or "0x" hex, with an optional sign; anything else, or
    // a missing key, gives the default.
    int readInteger(const std::string& section, const std::string& key, int defaultValue) const;

    void writeString(const std::string& section, const std::string& key, const std::string& value);
    void writeInteger(const std::string& section, const std::string& key, int value);

    // Writes the file back (beside it first, then renamed into place);
    // IoError on failure.
    void save() const;

private:
    std::string path_;
    std::vector<std::string> lines_;
};

}  // namespace orrimar
