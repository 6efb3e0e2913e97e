// Names for the systems and races a run generates.
//
// A name is built from syllables of one of several styles (tables of our own
// below, each with its own sounds so that a sector does not read as one
// language): 2 to 4 syllables, at most 20 letters, one word, plain ASCII
// letters. Joins between syllables follow a few rules that keep a name
// sayable: a syllable after a vowel starts with a consonant, a consonant
// cluster never follows a closing consonant, a letter is never doubled
// across a join, and only the last syllable may close on two consonants.
//
// The names of a thing are a fixed sequence of candidates drawn from a
// stream of its own, seeded from the run seed and the thing's cell (and,
// for a race, its place among the races of its system). That stream is not
// the dice: naming rolls nothing the rules roll, so a run with names writes
// the same systems as one without, and a regenerated or extended galaxy
// gives its systems the same names. A thing takes its first candidate not
// yet used in the sector; only a clash moves it on.
//
// Styles are chosen per region (blocks of 32 parsecs): two names in three
// use their region's style, so neighbours tend to sound alike.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_set>

namespace orrimar {

// SplitMix64 (Steele, Lea and Flood): one multiply-xorshift round per value,
// so a few dozen values per name cost next to nothing; its seeds need no
// care, every 64-bit value starts a good stream.
class NameStream {
public:
    explicit NameStream(std::uint64_t seed) : state_(seed) {}
    std::uint64_t next() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    // 0..n-1; the bias of a 64-bit value taken modulo a table size is below
    // one in 10^16.
    std::uint32_t below(std::uint32_t n) { return static_cast<std::uint32_t>(next() % n); }

private:
    std::uint64_t state_;
};

// What is being named in a cell: the system, or the race at `index` among
// the races generated with that system.
struct NameSubject {
    std::int16_t x = 0;  // parsecs
    std::int16_t y = 0;
    std::int16_t z = 0;
    std::uint32_t race = 0;  // 0 = the system; 1 + k = its k-th race
};

inline constexpr int kNameStyles = 5;
inline constexpr std::size_t kMaxGeneratedNameLength = 20;

// The candidates of one subject, in order. Deterministic in (run seed, subject).
class NameCandidates {
public:
    NameCandidates(std::uint64_t runSeed, const NameSubject& subject);
    std::string next();
    // The style of the candidate last returned.
    int lastStyle() const { return lastStyle_; }

private:
    NameStream stream_;
    int regionStyle_;
    int lastStyle_ = 0;
};

// A name of style `style` (0..kNameStyles-1) from `stream`; may exceed the
// length limit, which NameCandidates enforces by drawing again.
std::string buildName(NameStream& stream, int style);

// The names of one sector, kept unique. Names are compared without regard
// to ASCII letter case ("Vessane" and "VESSANE" clash). Only a 64-bit hash
// of each name is kept: eight bytes a name instead of the text; a hash
// clash between two different names would only move a name on to its next
// candidate, still deterministically.
class SectorNameGenerator {
public:
    explicit SectorNameGenerator(std::uint64_t runSeed) : runSeed_(runSeed) {}

    // A name already in the sector (from its name file), in the code page.
    void reserve(std::string_view name);
    bool taken(std::string_view name) const;
    // The subject's first free candidate, now taken.
    std::string take(const NameSubject& subject);

    // Candidates passed over because they were taken.
    std::int64_t clashes() const { return clashes_; }
    std::size_t size() const { return used_.size(); }

private:
    std::uint64_t runSeed_;
    std::unordered_set<std::uint64_t> used_;
    std::int64_t clashes_ = 0;
};

}  // namespace orrimar
