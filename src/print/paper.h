// The papers a poster or a sheet is printed on, by the names a user types
// or picks: A4, A3, A2, Letter, Tabloid.
#pragma once

#include <QPageSize>
#include <QSizeF>
#include <QString>

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace orrimar::print {

enum class Paper : std::uint8_t { A4, A3, A2, Letter, Tabloid };

struct PaperInfo {
    Paper paper;
    std::string_view name;
    QPageSize::PageSizeId id;
};

inline constexpr std::array<PaperInfo, 5> kPapers = {{
    {Paper::A4, "A4", QPageSize::A4},
    {Paper::A3, "A3", QPageSize::A3},
    {Paper::A2, "A2", QPageSize::A2},
    {Paper::Letter, "Letter", QPageSize::Letter},
    {Paper::Tabloid, "Tabloid", QPageSize::Tabloid},
}};

const PaperInfo& paperInfo(Paper paper);
// The paper a name means, ignoring case; nothing for any other text.
std::optional<Paper> paperFromText(std::string_view text);
// "A4, A3, A2, Letter, Tabloid", for messages.
std::string paperNames();
// Width and height of the paper upright, in points (1/72 inch).
QSizeF paperPoints(Paper paper);

}  // namespace orrimar::print
