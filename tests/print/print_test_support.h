// What the painting tests share: the offscreen Qt they draw with, an
// in-memory sector of named systems, and poppler's pdfinfo and pdftotext
// to read back the PDF files written.
#pragma once

#include <QGuiApplication>

#include <array>
#include <cstdio>
#include <memory>
#include <string>

#include "atlas/atlas_model.h"
#include "cli/painting_app.h"

namespace orrimar::printtest {

inline void ensureGui() { cli::ensurePaintingApp(); }

// A square of side x side systems one parsec apart in the plane z = 0,
// every third one bright, each named "S<id>" unless `unnamedEvery` > 0
// leaves every n-th without a name.
inline atlas::AtlasModel gridModel(int side, int unnamedEvery = 0) {
    std::vector<atlas::SystemEntry> entries;
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x) {
            atlas::SystemEntry e;
            e.x = static_cast<std::int16_t>(x);
            e.y = static_cast<std::int16_t>(y);
            e.starKind = static_cast<std::uint8_t>(x % 3 == 0 ? 5 : 9);
            e.brightness = static_cast<std::uint8_t>(x % 3 == 0 ? 5 : 2);
            e.starCount = 1;
            e.marks = static_cast<std::uint8_t>(y % 4 == 0 ? atlas::kMarkNativeLife : 0);
            entries.push_back(e);
        }
    }
    atlas::AtlasModel model = atlas::AtlasModel::fromEntries(std::move(entries));
    for (atlas::SystemId id = 0; id < model.size(); ++id)
        if (unnamedEvery == 0 || id % unnamedEvery != 0) model.setName(id, "S" + std::to_string(id));
    return model;
}

// What a command printed on its standard output.
inline std::string commandOutput(const std::string& command) {
    std::string text;
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    if (!pipe) return text;
    std::array<char, 4096> buffer{};
    while (std::fgets(buffer.data(), static_cast<int>(buffer.size()), pipe.get()) != nullptr) text += buffer.data();
    return text;
}

// pdfinfo's "Pages:" and "Page size:" lines.
struct PdfInfo {
    int pages = 0;
    std::string pageSize;  // "841.89 x 595.276 pts (A4)"
};
inline PdfInfo pdfInfo(const std::string& path) {
    PdfInfo info;
    const std::string text = commandOutput("pdfinfo '" + path + "' 2>&1");
    const auto pages = text.find("Pages:");
    if (pages != std::string::npos) info.pages = std::stoi(text.substr(pages + 6));
    const auto size = text.find("Page size:");
    if (size != std::string::npos) {
        const auto start = text.find_first_not_of(' ', size + 10);
        info.pageSize = text.substr(start, text.find('\n', start) - start);
    }
    return info;
}

inline std::string pdfText(const std::string& path, int page = 0) {
    const std::string pages = page > 0 ? " -f " + std::to_string(page) + " -l " + std::to_string(page) : "";
    return commandOutput("pdftotext -raw" + pages + " '" + path + "' - 2>&1");
}

}  // namespace orrimar::printtest
