#include "print/paper.h"

#include <cctype>

namespace orrimar::print {

const PaperInfo& paperInfo(Paper paper) {
    for (const PaperInfo& info : kPapers)
        if (info.paper == paper) return info;
    return kPapers[0];
}

std::optional<Paper> paperFromText(std::string_view text) {
    for (const PaperInfo& info : kPapers) {
        if (info.name.size() != text.size()) continue;
        bool same = true;
        for (std::size_t i = 0; i < text.size() && same; ++i)
            same = std::tolower(static_cast<unsigned char>(text[i])) ==
                   std::tolower(static_cast<unsigned char>(info.name[i]));
        if (same) return info.paper;
    }
    return std::nullopt;
}

std::string paperNames() {
    std::string names;
    for (const PaperInfo& info : kPapers) {
        if (!names.empty()) names += ", ";
        names += info.name;
    }
    return names;
}

QSizeF paperPoints(Paper paper) { return QPageSize(paperInfo(paper).id).size(QPageSize::Point); }

}  // namespace orrimar::print
