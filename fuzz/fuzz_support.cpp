#include "fuzz_support.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

#include <unistd.h>

namespace orrimar::fuzz {

namespace fs = std::filesystem;

FuzzInput parseInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput input;
    std::size_t at = 0;
    for (std::size_t i = 0; i < kParamBytes && at < size; ++i) input.params[i] = data[at++];
    while (at < size) {
        Frame frame;
        frame.tag = data[at++];
        std::size_t length = 0;
        for (int shift = 0; shift < 24 && at < size; shift += 8) length |= std::size_t{data[at++]} << shift;
        if (length > size - at) length = size - at;
        frame.bytes = std::string_view(reinterpret_cast<const char*>(data + at), length);
        at += length;
        input.frames.push_back(frame);
    }
    return input;
}

std::string encodeFrame(std::uint8_t tag, std::string_view bytes) {
    std::string out;
    out += static_cast<char>(tag);
    const std::size_t length = bytes.size();
    out += static_cast<char>(length & 0xff);
    out += static_cast<char>((length >> 8) & 0xff);
    out += static_cast<char>((length >> 16) & 0xff);
    out.append(bytes.substr(0, 0xffffff));
    return out;
}

std::string encodeSector(const std::string& baseName, bool second) {
    std::string out;
    for (std::size_t i = 0; i < kSectorMembers.size(); ++i) {
        const std::string path = baseName + kSectorMembers[i];
        if (!fs::exists(path)) continue;
        const auto tag = static_cast<std::uint8_t>(i | (second ? kSecondSector : 0));
        out += encodeFrame(tag, readFile(path));
    }
    return out;
}

Scratch::Scratch() {
    std::error_code ec;
    fs::path base = fs::temp_directory_path(ec);
    if (ec) base = "/tmp";
    dir_ = (base / ("orrimar-fuzz-" + std::to_string(::getpid()))).string();
    fs::create_directories(dir_);
}

Scratch::~Scratch() {
    std::error_code ec;
    fs::remove_all(dir_, ec);
}

void Scratch::clear() const {
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(dir_, ec)) fs::remove_all(entry.path(), ec);
}

void Scratch::writeSectors(const FuzzInput& input, const std::string& first, const std::string& second) const {
    clear();
    for (const Frame& frame : input.frames) {
        const std::size_t member = (frame.tag & 0x0f) % kSectorMembers.size();
        const std::string& base = (frame.tag & kSecondSector) != 0 ? second : first;
        writeFile(path(base) + kSectorMembers[member], frame.bytes);
    }
}

const Scratch& scratch() {
    static const Scratch folder;
    return folder;
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeFile(const std::string& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace orrimar::fuzz
