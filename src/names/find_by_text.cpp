#include "names/find_by_text.h"

#include <charconv>
#include <vector>

#include <fmt/format.h>

#include "common/ansi_text.h"
#include "common/errors.h"
#include "records/sector_base.h"

namespace orrimar {

namespace {

// Candidates named in a refusal; past this many, only how many more.
constexpr std::size_t kListedCandidates = 8;

char foldedLetter(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool startsWithFolded(std::string_view name, std::string_view text) {
    if (name.size() < text.size()) return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (foldedLetter(name[i]) != foldedLetter(text[i])) return false;
    }
    return true;
}

struct Candidate {
    std::int64_t id;
    std::string name;
};

std::string candidateList(const std::vector<Candidate>& candidates) {
    std::string out;
    for (std::size_t i = 0; i < candidates.size() && i < kListedCandidates; ++i) {
        if (!out.empty()) out += ", ";
        out += fmt::format("{} ({})", candidates[i].name, candidates[i].id);
    }
    if (candidates.size() > kListedCandidates) {
        out +=
            fmt::format(" and {} more", groupedCount(static_cast<std::int64_t>(candidates.size() - kListedCandidates)));
    }
    return out;
}

[[noreturn]] void refuseSeveral(std::string_view option, std::string_view noun, std::string_view text,
                                const std::vector<Candidate>& candidates, bool sameName) {
    throw InputError(fmt::format("{}: '{}' {} {} {}s: {}; give {}", option, text,
                                 sameName ? "is the name of" : "begins the names of",
                                 groupedCount(static_cast<std::int64_t>(candidates.size())), noun,
                                 candidateList(candidates), sameName ? "the id" : "more of the name, or the id"));
}

}  // namespace

std::int64_t findByText(std::string_view text, const NameSource& names, std::int64_t count, std::string_view option,
                        std::string_view noun) {
    if (text.find_first_not_of(" \t") == std::string_view::npos) {
        throw InputError(fmt::format("{}: no {} given: give its id or its name", option, noun));
    }
    std::int64_t id = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, id);
    // Ids are counted from 0: a signed number ("-1") is no id, so it is looked for as a name.
    if (ec == std::errc() && ptr == end && text.front() != '-' && text.front() != '+') {
        if (count == 0)
            throw InputError(fmt::format("{}: there is no {} {}: there are no {}s", option, noun, id, noun));
        if (count > 0 && id >= count) {
            throw InputError(
                fmt::format("{}: there is no {} {}: the ids go from 0 to {}", option, noun, id, count - 1));
        }
        return id;
    }
    std::vector<Candidate> exact;
    std::vector<Candidate> folded;
    std::vector<Candidate> prefixed;
    names([&](std::int64_t candidate, std::string_view name) {
        if (name == text) exact.push_back({candidate, std::string(name)});
        if (!startsWithFolded(name, text)) return;
        (name.size() == text.size() ? folded : prefixed).push_back({candidate, std::string(name)});
    });
    if (exact.size() == 1) return exact.front().id;
    if (exact.size() > 1) refuseSeveral(option, noun, text, exact, true);
    if (folded.size() == 1) return folded.front().id;
    if (folded.size() > 1) refuseSeveral(option, noun, text, folded, true);
    if (prefixed.size() == 1) return prefixed.front().id;
    if (prefixed.size() > 1) refuseSeveral(option, noun, text, prefixed, false);
    throw InputError(
        fmt::format("{}: no {} is named '{}' or has a name beginning so: give its id or its name", option, noun, text));
}

NameSource nameSourceOf(const SectorNames& names, NameKind kind) {
    return [&names, kind](const std::function<void(std::int64_t, std::string_view)>& visit) {
        names.forEach(kind, [&](std::int64_t id, const std::string& ansi) { visit(id, ansiToUtf8(ansi)); });
    };
}

}  // namespace orrimar
