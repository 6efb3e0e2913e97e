#include "cli/out_args.h"

#include <filesystem>

#include <fmt/format.h>

#include "common/errors.h"

namespace orrimar::cli {

namespace {

bool endsWithFolded(std::string_view text, std::string_view end) {
    if (text.size() < end.size()) return false;
    const std::string_view tail = text.substr(text.size() - end.size());
    for (std::size_t i = 0; i < end.size(); ++i) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
        if (lower(tail[i]) != lower(end[i])) return false;
    }
    return true;
}

// The last part of a path as typed: "" for "log/", "." for "log/.".
std::string_view lastPart(std::string_view path) {
    const std::size_t cut = path.find_last_of("/\\");
    return cut == std::string_view::npos ? path : path.substr(cut + 1);
}

void refuseFolder(const std::string& given, std::string_view example) {
    if (given.empty()) throw InputError("--out: no file chosen: choose the file to write");
    const std::string_view last = lastPart(given);
    std::error_code ec;
    if (last.empty() || last == "." || last == ".." || std::filesystem::is_directory(given, ec)) {
        const bool slash = given.back() == '/' || given.back() == '\\';
        throw InputError(fmt::format("--out: {} is a folder: give the file to write in it, e.g. {}{}{}", given, given,
                                     slash ? "" : "/", example));
    }
}

}  // namespace

std::string fileOut(const std::string& given, std::string_view example) {
    refuseFolder(given, example);
    return given;
}

std::string baseOut(const std::string& given, std::initializer_list<std::string_view> extensions,
                    std::string_view example) {
    refuseFolder(given, example);
    std::string base = given;
    for (const std::string_view extension : extensions) {
        if (endsWithFolded(base, extension)) {
            base.resize(base.size() - extension.size());
            break;
        }
    }
    const std::string_view last = lastPart(base);
    if (last.empty() || last == "." || last == "..") {
        throw InputError(fmt::format("--out: {} names no file, only an extension: give a name such as {}{}", given,
                                     given.substr(0, given.size() - lastPart(given).size()), example));
    }
    return base;
}

}  // namespace orrimar::cli
