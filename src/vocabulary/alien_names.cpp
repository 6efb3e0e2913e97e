#include "vocabulary/alien_names.h"

#include <array>
#include <cstddef>

#include <fmt/format.h>

namespace orrimar::vocabulary {

namespace {

// Entry k-1 names code k. The comment beside a name gives the rule it
// follows from; names without one are descriptive choices no rule touches.

constexpr std::array<std::string_view, kHabitatCount> kHabitats = {
    "Land",                // 75% of all rolls; what a heavy world forces
    "Trees (arboreal)",    // rare; a limbless form cannot keep it
    "Shore (amphibious)",  // ocean or arid worlds; fins likely
    "Water (aquatic)",     // ocean worlds only; fins in place of arms
    "Air (flying)",        // never above 2 g; always given wings
};

constexpr std::array<std::string_view, kHabitatCount> kHabitatPhrases = {
    "on land", "in the trees", "on the shore, in and out of water", "in water", "in the air",
};

constexpr std::array<std::string_view, kBodyFormCount> kBodyForms = {
    "Carbon-based",   // every ordinary category
    "Plant-based",    // plants, favoured by carbon dioxide air
    "Silicon-based",  // favoured by sulfuric air
    "Ammonia-based",  // an unusual chemistry of non-oxygen worlds
    "Energy",         // no appendages
    "Gelatinous",     // the amorphous kind
    "Mechanical",     // the machine kind
    "Gaseous",        // no appendages
    "Crystalline",    // no appendages
};

constexpr std::array<std::string_view, kAppendageTypeCount> kAppendages = {
    "Wings",       // sets the wings flag; every flyer has a pair
    "Fins",        // sets the fins flag; aquatic races only
    "Arms",        // the second pair of an ordinary body
    "Tentacles",   // the rare alternative to legs
    "Legs",        // the first pair of nine bodies in ten
    "Pseudopods",  // a body made only of them is pseudopodal
    "Tendrils",    // what a limbless form grows
};

constexpr std::array<std::string_view, kSubtypeCount> kSubtypes = {
    "Humanoid",    // most humans, animal-folk and some odd kinds
    "Near-human",  // a fifth of humans
    "Beast",       // four-legged and hoofed forms; fur
    "Avian",       // winged forms; feathers
    "Reptilian",   // the reptile category
    "Hybrid",      // animals of mixed reptile, bird and beast forms
    "Insectoid",   // the insect category
    "Plant",       // plant-based bodies
    "Exotic",      // the exotic category
    "Machine",     // mechanical bodies, always spacefaring
    "Amorphous",   // gelatinous bodies
    "Fungoid",     // plant-like form on a carbon body
};

constexpr std::array<std::string_view, kFormCodeCount> kFormCodes = {
    "Humanoid",             // 1
    "Insectoid",            // 2
    "Reptilian",            // 3
    "Quadruped",            // 4
    "Predatory beast",      // 5: stronger, fiercer, fangs and claws likelier
    "Centauroid",           // 6
    "Clawed beast",         // 7: claws likelier
    "Plant-like",           // 8: turns a scavenger into a light feeder
    "Plant",                // 9: often rooted in place
    "Avian",                // 10: winged and few-legged
    "Aquatic humanoid",     // 11: humanoid with fins
    "Animal-like",          // 12: the start when total aliens are disabled
    "Utterly alien",        // 13: the start otherwise
    "Four-armed humanoid",  // 14: two pairs of arms on legs
    "Limbless",             // 15: no appendages, grows tendrils
    "Serpentine",           // 16: a reptile without legs
    "Crystalline",          // 17: no appendages
    "Machine",              // 18
    "Radial",               // 19
    "Crustacean",           // 20: an insectoid of shore or water
    "Multi-limbed",         // 21: many arms and tentacles
    "Primate-like",         // 22
    "Hoofed beast",         // 23
    "Energy form",          // 24: the energy body
    "Gaseous form",         // 25: the gaseous body
    "Pseudopodal",          // 26: nothing but pseudopods
};

constexpr std::array<std::string_view, kOrderCodeCount> kOrders = {
    "Solitary",  // 1..7: the orders of levels 1 and 2
    "Mated pairs",
    "Extended families",  // 3: more charisma, less hostility
    "Herds",
    "Packs",
    "Clans",
    "Hive",     // 7: a collective belief held fervently
    "Tribes",   // 8: turns to warlords without charisma
    "Nations",  // 9: refined to 15..20, 24, 25
    "City-states",
    "Feudal realms",
    "Empire",
    "Federation",       // 13: rarely becomes a commune
    "Corporate state",  // 14: a caste society when weak but hardy
    "Absolute monarchy",
    "Constitutional monarchy",
    "Republic",
    "Democracy",
    "Oligarchy",
    "Theocracy",
    "Commune",  // 21: more charisma, less hostility
    "Caste society",
    "Warlord rule",
    "Interstellar commonwealth",  // 24: spacefaring levels only
    "Technocracy",
};

// Diet: herbivores, omnivores and carnivores in 15/60/21 shares, with
// carnivores the likeliest to bear natural weapons; small carnivores eat
// insects; plant bodies feed on light, energy and silicon bodies absorb
// energy, and the rarest exotic bodies eat minerals.
constexpr std::array<std::string_view, 8> kAspectA = {
    "Herbivore",       "Omnivore",      "Carnivore", "Scavenger", "Insectivore", "Light feeder (photosynthesis)",
    "Energy absorber", "Mineral eater",
};
// Reproduction: two sexes for 85%; insectoid forms may turn to a hive queen.
constexpr std::array<std::string_view, 5> kAspectB = {
    "Asexual", "Hermaphrodite", "Two sexes", "Three or more sexes", "Hive queen",
};
// Young: mammal-like forms bear them live, reptile, bird and insect forms
// lay eggs.
constexpr std::array<std::string_view, 4> kAspectC = {
    "Spores",
    "Eggs",
    "Live birth",
    "Budding",
};
// Covering: beasts grow fur, birds feathers, humanoids hair; reptiles,
// insects, plants and machines have a hide of their own, sometimes plated;
// every covering but a hide has colours of its own (flag set 2).
constexpr std::array<std::string_view, 8> kAspectD = {
    "Tough hide", "Bare skin", "Armoured plates", "Slime", "Scales", "Fur", "Feathers", "Hair",
};
// Belief, by development level; the hive serves its collective, and only
// agnostics and atheists have no devotion (aspect F 0).
constexpr std::array<std::string_view, 11> kAspectE = {
    "Animism",    "Ancestor worship", "Shamanism",   "Polytheism", "Nature worship",
    "Monotheism", "Philosophy",       "Agnosticism", "Atheism",    "Devotion to the collective",
    "Dualism",
};

constexpr std::array<std::string_view, kTraitCount> kTraits = {
    "Diurnal",    // 1: never beside cave dwellers (18)
    "Nocturnal",  // 2: never beside diurnal
    "Keen eyesight",
    "Telepathy",  // 4: a special gift; no empathy, no song-speech
    "Empathy",    // 5: a special gift
    "Keen hearing",
    "Keen smell",
    "Heat-shedding skin",  // 8: half the races of hot worlds
    "Cold adaptation",     // 9: every race of a world below -5 degrees
    "Telekinesis",         // 10: a special gift
    "Insulating fat",      // 11: half the races of cold worlds
    "Heat adaptation",     // 12: every race of a world above 30 degrees
    "Clairvoyance",        // 13: a special gift
    "Teleportation",       // 14: a special gift
    "Night vision",
    "Colour blind",
    "Poor eyesight",
    "Cave dwellers",  // 18: hence not diurnal
    "Large litters",
    "Metamorphosis",   // 20: insectoid and utterly alien forms only
    "Shape-changing",  // 21: a special gift
    "Regeneration",
    "Camouflage",
    "Venomous",
    "Dormancy",  // 25: every crystalline form
    "Agile climbers",
    "Slow metabolism",
    "Fast metabolism",
    "Mind control",  // 29: a special gift
    "Long memory",
    "Pack instinct",
    "Sessile",      // 32: no speed; likeliest for plants
    "Never lands",  // 33: flyers only
    "Natural armour",
    "Survives in vacuum",  // 35: energy, gaseous and crystalline bodies
    "Ultrasonic hearing",
    "Domesticates other species",  // 37: development level 4 and above
    "Astral projection",           // 38: a special gift
    "Herd instinct",
    "Boneless",  // 40: hence no exoskeleton
    "Many eyes",
    "Renowned artists",  // 42: civilisation 16 and above
    "Photographic memory",
    "Natural navigators",
    "Eats anything",    // 45: kept by omnivores and scavengers
    "Colony organism",  // 46: insectoids, plants, exotics only
    "Invisibility",     // 47: a special gift
    "Stores water",
    "Great endurance",  // 49: constitution 14 and above
    "Sharp reflexes",
    "Cold-blooded",       // 51: warm worlds only; never cold-adapted
    "Flies with wings",   // 52: winged and with appendages
    "Swimmer",            // 53: every shore or water race
    "Floats on the air",  // 54: flyers without appendages
    "Strong jumpers",
    "Healing touch",     // 56: a special gift
    "Song-speech",       // 57: not for telepaths or radio speakers
    "Radio speech",      // 58: a special gift
    "Psionic immunity",  // 59: only where no special gift is
    "Never sleeps",      // 60: neither diurnal nor nocturnal
    "Long-lived",
    "Rapid breeders",
    "Master engineers",   // 63: level 5 and intelligence 11 and above
    "Industrious",        // 64: level 5 and above
    "Great strength",     // 65: strength 12 and above
    "Gifted scientists",  // 66: level 6 and intelligence 11 and above
    "Nomadic",
    "Psionic sensitivity",  // 68: not with psionic immunity
    "Curious about strangers",
    "Hibernation",  // 70: not for those who never sleep
    "Ritual combat",
    "Great scholars",  // 72: civilisation 15 and above
    "Territorial",
    "Hoarders",
    "Gregarious",
    "Ambidextrous",  // 76: needs appendages
    "Natural mimics",
    "Poison resistant",
    "Radiation resistant",
    "Keen touch",
    "Exoskeleton",          // 81: not humanoid, not boneless
    "Cyborgs",              // 82: level 7 and above; machines from level 6
    "Genetic engineering",  // 83: level 6 and above
    "Holds breath for long",
    "Symbiotic partner species",
    "Honour-bound",
    "Storytellers",
    "Skilled traders",
    "Powerful voice",
    "Disease carriers",  // 90: never immune as well
    "Disease immunity",  // 91: kept by machines
    "Acidic saliva",
    "Polyglots",  // 93: civilisation 11 and above
    "Natural mathematicians",
    "Precognition",  // 95: a special gift
    "Musical",       // 96: always with song-speech
};

// Flag sets 1, 2 and 4 are picked alike (d11, an 11 replaced by d6 + 10):
// ten common colours and six rare ones.
constexpr std::array<std::string_view, kFlagsPerSet> kColours = {
    "Black", "White", "Grey",   "Brown", "Tan",    "Red",  "Orange",     "Yellow",
    "Green", "Blue",  "Purple", "Pink",  "Silver", "Gold", "Iridescent", "Translucent",
};

// Flag set 3: natural weapons and body features (flags 1..9, from the form
// code and diet), then the colour pattern (11..16, from the number of
// colours: one colour is always uniform, three or more may be many-hued).
constexpr std::array<std::string_view, kFlagsPerSet> kBodyFeatures = {
    "Tail",  // 1: likeliest for beasts and reptiles
    "Spines",
    "Horns",
    "Antennae",          // 4: likeliest for insectoids and crustaceans
    "Fangs",             // 5: by diet, likelier for predators
    "Claws",             // 6: by diet, needs appendages
    "Pincers",           // 7: insectoids and crustaceans, needs appendages
    "Limb markings",     // 8: a two-colour pattern; needs appendages otherwise
    "Transparent body",  // 9: pseudopodal water dwellers
    "Crest",             // 10: no rule sets it
    "Uniform colour",    // 11: the only pattern of a one-coloured race
    "Patterned",         // 12: with spots, stripes or mottling
    "Many-hued",         // 13: three colours or more
    "Spotted",
    "Striped",
    "Mottled",
};

// Flag set 5: physiology. Flag 1 stands alone beside psionic immunity;
// blood (11..14) follows the form: insectoids have haemolymph, reptiles
// and machines mostly green fluid; then rare gifts and senses.
constexpr std::array<std::string_view, kFlagsPerSet> kPhysiology = {
    "Mind closed to psionics",  // 1
    "Poisonous to eat",
    "Bioluminescent",
    "Electric organs",
    "Chameleon skin",
    "Infrared vision",
    "Ultraviolet vision",
    "Echolocation",
    "Magnetic sense",
    "Pressure sense",  // 10: limbless and crustacean forms only
    "Red blood",       // 11: the common case
    "Blue blood",
    "Green blood",       // 13: reptiles, machines, crystals
    "Clear haemolymph",  // 14: insectoids
    "Twin hearts",       // 15, 16: no rule sets them
    "Redundant organs",
};

constexpr std::array<std::string_view, kFlagSetCount> kFlagSetTitles = {
    "Colours", "Covering colours", "Body features", "Eye colours", "Physiology",
};

constexpr std::array<std::string_view, kAspectCount> kAspectTitles = {
    "Diet", "Reproduction", "Young", "Covering", "Belief", "Devotion",
};

template <std::size_t N>
std::string lookup(const std::array<std::string_view, N>& table, int code) {
    if (code < 1 || code > static_cast<int>(N)) return fmt::format("unknown ({})", code);
    return std::string(table[static_cast<std::size_t>(code - 1)]);
}

}  // namespace

int aspectMaxCode(Aspect aspect) {
    switch (aspect) {
        case Aspect::A: return static_cast<int>(kAspectA.size());
        case Aspect::B: return static_cast<int>(kAspectB.size());
        case Aspect::C: return static_cast<int>(kAspectC.size());
        case Aspect::D: return static_cast<int>(kAspectD.size());
        case Aspect::E: return static_cast<int>(kAspectE.size());
        case Aspect::F: return 10;
    }
    return 0;
}

std::string_view aspectTitle(Aspect aspect) { return kAspectTitles[static_cast<std::size_t>(aspect)]; }

std::string habitatName(int code) { return lookup(kHabitats, code); }
std::string habitatPhrase(int code) {
    if (code < 1 || code > kHabitatCount) return fmt::format("in habitat {}", code);
    return std::string(kHabitatPhrases[static_cast<std::size_t>(code - 1)]);
}
std::string bodyFormName(int code) { return lookup(kBodyForms, code); }
std::string appendageName(int code) { return lookup(kAppendages, code); }
std::string subtypeName(int code) { return lookup(kSubtypes, code); }
std::string formCodeName(int code) { return lookup(kFormCodes, code); }
std::string orderName(int code) { return lookup(kOrders, code); }
std::string traitName(int trait) { return lookup(kTraits, trait); }

std::string aspectName(Aspect aspect, int code) {
    switch (aspect) {
        case Aspect::A: return lookup(kAspectA, code);
        case Aspect::B: return lookup(kAspectB, code);
        case Aspect::C: return lookup(kAspectC, code);
        case Aspect::D: return lookup(kAspectD, code);
        case Aspect::E: return lookup(kAspectE, code);
        case Aspect::F:
            // A degree of the belief rather than a kind.
            if (code == 0) return "None";
            if (code < 0 || code > 10) return fmt::format("unknown ({})", code);
            return fmt::format("{} of 10", code);
    }
    return fmt::format("unknown ({})", code);
}

std::string flagName(int set, int flag) {
    switch (set) {
        case 1:
        case 2:
        case 4: return lookup(kColours, flag);
        case 3: return lookup(kBodyFeatures, flag);
        case 5: return lookup(kPhysiology, flag);
        default: return fmt::format("unknown ({})", flag);
    }
}

std::string_view flagSetTitle(int set) {
    if (set < 1 || set > kFlagSetCount) return "Unknown flags";
    return kFlagSetTitles[static_cast<std::size_t>(set - 1)];
}

std::string_view sizeClassTitle() { return "Size class"; }

std::string_view ratingTitle(char rating) {
    switch (rating) {
        case 'A': return "Civilisation";  // development level + 0..12
        case 'B': return "Speed";         // fliers faster, small bodies slower, sessile 0
        case 'C': return "Life span";     // years; longer with development, doubled if sessile
        case 'D': return "Instinct";      // falls as intelligence rises
        case 'E': return "Hostility";     // falls with wisdom and charisma
        default: return "Rating";
    }
}

}  // namespace orrimar::vocabulary
