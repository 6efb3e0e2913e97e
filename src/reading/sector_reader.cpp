#include "reading/sector_reader.h"

#include "records/sector_tail.h"

#include <fmt/format.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <filesystem>

#include "common/ansi_text.h"
#include "common/errors.h"
#include "records/sector_base.h"
#include "records/sector_files.h"
#include "records/sector_tail.h"

namespace orrimar::reading {

namespace {

template <typename T>
std::unique_ptr<ValidatingReader<T>> openRequired(const std::string& baseName, const char* extension,
                                                  const SectorCounts& counts) {
    return std::make_unique<ValidatingReader<T>>(sectorPath(baseName, extension), counts);
}

template <typename T>
std::unique_ptr<ValidatingReader<T>> openOptional(const std::string& baseName, const char* extension,
                                                  const SectorCounts& counts) {
    auto file = std::make_unique<ValidatingReader<T>>(sectorPath(baseName, extension), counts, IfMissing::Empty);
    if (!file->present()) return nullptr;
    return file;
}

template <typename T>
std::unique_ptr<RecordReader<T>> openOptional(const std::string& baseName, const char* extension) {
    auto file = std::make_unique<RecordReader<T>>(sectorPath(baseName, extension), IfMissing::Empty);
    if (!file->present()) return nullptr;
    return file;
}

std::string lastComponent(const std::string& baseName) {
    const std::string name = std::filesystem::path(baseName).filename().string();
    return name.empty() ? baseName : name;
}

std::string checkedBase(const std::string& given) {
    std::string base = sectorBaseName(given);
    requireSector(base);
    return base;
}

}  // namespace

SectorReader::SectorReader(const std::string& givenBase)
    : baseName_(checkedBase(givenBase)),
      lock_(SectorLock::forReading(baseName_)),
      systems_(openRequired<TSystemRec>(baseName_, ".sun", counts_)),
      planets_(openRequired<TPlanetRec>(baseName_, ".pln", counts_)),
      moons_(openRequired<TMoonRec>(baseName_, ".mon", counts_)),
      aliens_(openRequired<TAlienRec>(baseName_, ".aln", counts_)),
      colonies_(openOptional<TColonyRec>(baseName_, ".col", counts_)) {
    const std::string& baseName = baseName_;
    counts_ = {systems_->count(), planets_->count(), moons_->count(), aliens_->count()};
    // A system file of more systems than any run makes is not a sector:
    // refused before a report of gigabytes is written from it.
    if (systems_->hasPartialRecord()) {
        throw RangeError(
            fmt::format("{}: not a whole number of {}-byte records", systems_->path(), sizeof(TSystemRec)));
    }
    if (systems_->count() > kMaxSystemsInSector) {
        throw RangeError(fmt::format("{}: {} systems, more than any sector holds ({})", systems_->path(),
                                     systems_->count(), kMaxSystemsInSector));
    }
    // A torn or zeroed end (a stopped write, a power cut) is refused here,
    // not met half-way through a report: repair cuts it back.
    RequireWholeSectorTail(baseName);
    control_ = openOptional<TConRec>(baseName, ".con", counts_);
    empires_ = openOptional<TEmpireRec>(baseName, ".emp", counts_);
    sectorName_ = lastComponent(baseName);
    if (auto names = openOptional<TNameRec>(baseName, ".nam"); names && names->count() > 0) {
        const TNameRec header = names->read(0);
        if (header.name.length > 0) sectorName_ = header.name.str();
    }
    names_ = SectorNames::load(baseName);
}

std::string labelled(const std::optional<std::string>& ansiName, std::int64_t id) {
    if (!ansiName) return std::to_string(id);
    return withId(ansiToUtf8(*ansiName), id);
}

std::string nameText(const std::optional<std::string>& ansiName) {
    return ansiName ? ansiToUtf8(*ansiName) : std::string();
}

TSystemRec SectorReader::system(std::int64_t id) { return systems_->read(id); }
TPlanetRec SectorReader::planet(std::int64_t id) { return planets_->read(id); }
TMoonRec SectorReader::moon(std::int64_t id) { return moons_->read(id); }
TAlienRec SectorReader::alien(std::int64_t id) { return aliens_->read(id); }

std::string grouped(long long value) {
    // The magnitude as unsigned: negating the smallest long long overflows.
    const unsigned long long size =
        value < 0 ? 0ULL - static_cast<unsigned long long>(value) : static_cast<unsigned long long>(value);
    std::string digits = std::to_string(size);
    std::string out;
    const std::size_t n = digits.size();
    for (std::size_t i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0) out += ',';
        out += digits[i];
    }
    return value < 0 ? "-" + out : out;
}

std::string fixed(double value, int decimals) {
    if (!std::isfinite(value)) return "unknown";
    return fmt::format("{:.{}f}", value, decimals);
}

std::string tenths(long long value) {
    const long long whole = value / 10;
    // The remainder before its magnitude: negating the smallest long long overflows.
    const long long part = value % 10 < 0 ? -(value % 10) : value % 10;
    const std::string sign = (value < 0 && whole == 0) ? "-" : "";
    return fmt::format("{}{}.{}", sign, grouped(whole), part);
}

std::string magnitude(double value) {
    if (!std::isfinite(value)) return "unknown";
    const double size = std::fabs(value);
    // llround of a figure beyond the range of long long is undefined: such
    // figures are grouped from their own digits instead.
    if (size >= 9.0e18) return fmt::format("{:.3g}", value);
    if (size >= 1000.0) return grouped(std::llround(value));
    if (size >= 100.0) return fmt::format("{:.0f}", value);
    if (size >= 10.0) return fmt::format("{:.1f}", value);
    if (size >= 1.0) return fmt::format("{:.2f}", value);
    if (size == 0.0) return "0";
    // Below one: three significant figures, never in exponent form.
    const int decimals = 2 - static_cast<int>(std::floor(std::log10(size)));
    return fmt::format("{:.{}f}", value, std::min(decimals, 8));
}

}  // namespace orrimar::reading
