#include "names/name_generator.h"

#include <array>
#include <span>

namespace orrimar {

namespace {

// One style of names: its sounds and how often a syllable opens on a vowel,
// starts with a cluster or ends open. The tables are ours, written for
// their sound alone. Inside a word a syllable closes only on a soft
// consonant (n, l, r, m, s), which runs into any next sound; the stops and
// hisses that would jam against the next syllable close only the last one.
struct NameStyle {
    std::span<const std::string_view> onsets;    // one consonant sound each ("th" is one)
    std::span<const std::string_view> clusters;  // two consonant sounds; never after a closing consonant
    std::span<const std::string_view> nuclei;    // vowels and vowel pairs
    std::span<const std::string_view> midCodas;  // closing a syllable inside the word
    std::span<const std::string_view> endCodas;  // closing the last syllable
    int vowelStartPercent;                       // the first syllable has no onset
    int clusterPercent;                          // a cluster instead of a single onset, where one may stand
    int openPercent;                             // the syllable ends on its vowel
    std::array<int, 3> syllableWeights;          // percent of 2, 3 and 4 syllables
};

// Liquid: soft consonants, long vowel pairs ("Thaelis", "Suneorn").
constexpr std::string_view kLiquidOnsets[] = {"l", "m", "n", "r", "s", "v", "th", "sh", "f", "h", "ph", "d"};
constexpr std::string_view kLiquidClusters[] = {"fl", "sl", "vr", "thr"};
constexpr std::string_view kLiquidNuclei[] = {"a", "e", "i", "o", "ae", "ia", "ei", "ea", "u"};
constexpr std::string_view kLiquidMid[] = {"n", "l", "r", "s"};
constexpr std::string_view kLiquidEnd[] = {"n", "l", "r", "s", "th", "nd", "rn", "ls", "rth"};

// Hard: stops and gutturals, back vowels ("Krandur", "Zhoruk").
constexpr std::string_view kHardOnsets[] = {"k", "g", "d", "t", "z", "b", "v", "h", "r", "m", "kh", "j", "zh"};
constexpr std::string_view kHardClusters[] = {"kr", "gr", "dr", "tr", "br", "gl"};
constexpr std::string_view kHardNuclei[] = {"a", "o", "u", "ai", "au", "e"};
constexpr std::string_view kHardMid[] = {"r", "n", "m"};
constexpr std::string_view kHardEnd[] = {"k", "g", "r", "x", "z", "n", "m", "d", "sh", "rk", "rg", "kt", "rn", "ng"};

// Bright: light stops and liquids, clear vowels ("Pelorin", "Clavessa").
constexpr std::string_view kBrightOnsets[] = {"b", "c", "p", "t", "f", "l", "m", "n", "r", "s", "v", "d"};
constexpr std::string_view kBrightClusters[] = {"pl", "pr", "br", "cl", "fl", "tr"};
constexpr std::string_view kBrightNuclei[] = {"a", "e", "i", "o", "u", "io", "ia"};
constexpr std::string_view kBrightMid[] = {"n", "s", "r", "l", "m"};
constexpr std::string_view kBrightEnd[] = {"n", "s", "r", "l", "m", "nt", "st", "rs"};

// Sibilant: hisses and front vowels ("Tsevik", "Skaelyst").
constexpr std::string_view kSibilantOnsets[] = {"s", "z", "c", "ch", "v", "sh", "ts", "t", "n", "l"};
constexpr std::string_view kSibilantClusters[] = {"sk", "st", "sl", "sv", "sn"};
constexpr std::string_view kSibilantNuclei[] = {"e", "i", "a", "ae", "o", "y"};
constexpr std::string_view kSibilantMid[] = {"s", "n", "l"};
constexpr std::string_view kSibilantEnd[] = {"s", "t", "n", "l", "x", "k", "sk", "st", "ts", "lk"};

// Open: consonant and vowel in turn, few closing sounds ("Kalewanu").
constexpr std::string_view kOpenOnsets[] = {"k", "l", "m", "n", "p", "h", "t", "w", "v", "r"};
// Plain vowels listed twice: pairs in every syllable would run together.
constexpr std::string_view kOpenNuclei[] = {"a", "e", "i", "o", "u", "a", "i", "o", "u", "ai", "ao"};
constexpr std::string_view kOpenCodas[] = {"n"};

// Two-syllable names are few per style, so they are the ones that clash:
// kept to about one name in ten, the styles' names add up to some twenty
// million that a sector draws evenly enough for a hundred thousand systems
// to pass over a taken name 250 to 450 times, a million systems 28,000 times.
constexpr std::array<NameStyle, kNameStyles> kStyles = {{
    {kLiquidOnsets, kLiquidClusters, kLiquidNuclei, kLiquidMid, kLiquidEnd, 15, 10, 50, {10, 65, 25}},
    {kHardOnsets, kHardClusters, kHardNuclei, kHardMid, kHardEnd, 10, 30, 40, {12, 65, 23}},
    {kBrightOnsets, kBrightClusters, kBrightNuclei, kBrightMid, kBrightEnd, 15, 20, 50, {10, 65, 25}},
    {kSibilantOnsets, kSibilantClusters, kSibilantNuclei, kSibilantMid, kSibilantEnd, 10, 25, 50, {10, 68, 22}},
    // Open syllables are few, so these names are longer: no two-syllable names.
    {kOpenOnsets, {}, kOpenNuclei, kOpenCodas, kOpenCodas, 10, 0, 80, {0, 70, 30}},
}};

// A style's regional share: two names in three use their region's style.
constexpr std::uint32_t kRegionalThirds = 2;
// Regions are cubes of 2^5 = 32 parsecs.
constexpr int kRegionShift = 5;

std::string_view pick(NameStream& s, std::span<const std::string_view> table) {
    return table[s.below(static_cast<std::uint32_t>(table.size()))];
}

bool percent(NameStream& s, int p) { return static_cast<int>(s.below(100)) < p; }

// One round of SplitMix64's finalizer over the running hash and a new value.
std::uint64_t mix(std::uint64_t h, std::uint64_t v) {
    NameStream s(h ^ (v * 0xD6E8FEB86659FD93ULL));
    return s.next();
}

// "names" in ASCII: keeps this stream apart from any other use of the run seed.
constexpr std::uint64_t kNamesSalt = 0x6E616D6573ULL;

std::uint64_t asBits(std::int16_t v) { return static_cast<std::uint16_t>(v); }

int regionStyle(std::uint64_t runSeed, const NameSubject& s) {
    std::uint64_t h = mix(runSeed, kNamesSalt + 1);
    h = mix(h, asBits(static_cast<std::int16_t>(s.x >> kRegionShift)));
    h = mix(h, asBits(static_cast<std::int16_t>(s.y >> kRegionShift)));
    h = mix(h, asBits(static_cast<std::int16_t>(s.z >> kRegionShift)));
    return static_cast<int>(h % kNameStyles);
}

std::uint64_t subjectSeed(std::uint64_t runSeed, const NameSubject& s) {
    std::uint64_t h = mix(runSeed, kNamesSalt);
    h = mix(h, asBits(s.x));
    h = mix(h, asBits(s.y));
    h = mix(h, asBits(s.z));
    return mix(h, s.race);
}

char lowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool isVowel(char c) {
    switch (c) {
        case 'a':
        case 'e':
        case 'i':
        case 'o':
        case 'u':
        case 'y': return true;
        default: return false;
    }
}

std::uint64_t nameHash(std::string_view name) {
    // FNV-1a over the case-folded letters, then a mixing round so that the
    // set's buckets see well-spread values.
    std::uint64_t h = 0xCBF29CE484222325ULL;
    for (const char c : name) {
        h ^= static_cast<unsigned char>(lowerAscii(c));
        h *= 0x100000001B3ULL;
    }
    return mix(h, name.size());
}

}  // namespace

std::string buildName(NameStream& stream, int style) {
    const NameStyle& st = kStyles[static_cast<std::size_t>(style % kNameStyles)];
    const auto roll = static_cast<int>(stream.below(100));
    const int syllables = roll < st.syllableWeights[0]                           ? 2
                          : roll < st.syllableWeights[0] + st.syllableWeights[1] ? 3
                                                                                 : 4;

    std::string name;
    // No reserve: most names fit the string's own small buffer, no allocation.
    for (int i = 0; i < syllables; ++i) {
        const bool last = i == syllables - 1;
        const bool afterVowel = i > 0 && isVowel(name.back());
        std::string_view onset;
        if (i == 0) {
            if (!percent(stream, st.vowelStartPercent)) {
                onset = !st.clusters.empty() && percent(stream, st.clusterPercent) ? pick(stream, st.clusters)
                                                                                   : pick(stream, st.onsets);
            }
        } else if (afterVowel) {
            // A vowel never meets a vowel across a join.
            onset = !st.clusters.empty() && percent(stream, st.clusterPercent) ? pick(stream, st.clusters)
                                                                               : pick(stream, st.onsets);
        } else {
            // After a closing consonant: one letter at most, never the same
            // letter again ("rth" + "th" would be unsayable); else the vowel follows.
            onset = pick(stream, st.onsets);
            if (onset.size() > 1 || onset.front() == name.back()) onset = {};
        }
        name += onset;
        name += pick(stream, st.nuclei);
        if (!percent(stream, st.openPercent)) name += pick(stream, last ? st.endCodas : st.midCodas);
    }
    name.front() = static_cast<char>(name.front() - 'a' + 'A');
    return name;
}

NameCandidates::NameCandidates(std::uint64_t runSeed, const NameSubject& subject)
    : stream_(subjectSeed(runSeed, subject)), regionStyle_(regionStyle(runSeed, subject)) {}

std::string NameCandidates::next() {
    for (;;) {
        const bool regional = stream_.below(3) < kRegionalThirds;
        lastStyle_ = regional ? regionStyle_ : static_cast<int>(stream_.below(kNameStyles));
        std::string name = buildName(stream_, lastStyle_);
        if (name.size() <= kMaxGeneratedNameLength) return name;
    }
}

void SectorNameGenerator::reserve(std::string_view name) { used_.insert(nameHash(name)); }

bool SectorNameGenerator::taken(std::string_view name) const { return used_.count(nameHash(name)) != 0; }

std::string SectorNameGenerator::take(const NameSubject& subject) {
    NameCandidates candidates(runSeed_, subject);
    for (;;) {
        std::string name = candidates.next();
        if (used_.insert(nameHash(name)).second) return name;
        ++clashes_;
    }
}

}  // namespace orrimar
