#include "engine/engine_files.h"

#include <fmt/format.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <filesystem>

#include "engine/document.h"
#include "records/errors.h"
#include "records/sector_files.h"

namespace orrimar::engine {

namespace {

template <typename T>
std::unique_ptr<RecordReader<T>> openRequired(const std::string& baseName, const char* extension) {
    return std::make_unique<RecordReader<T>>(sectorPath(baseName, extension));
}

template <typename T>
std::unique_ptr<RecordReader<T>> openOptional(const std::string& baseName, const char* extension) {
    auto file = std::make_unique<RecordReader<T>>(sectorPath(baseName, extension), IfMissing::Empty);
    if (!file->present()) return nullptr;
    return file;
}

template <typename T>
T readChecked(RecordReader<T>& file, std::int64_t id) {
    if (id < 0 || id >= file.count()) {
        throw RangeError(fmt::format("Range check error: record {} is beyond the end of {} ({} records)", id,
                                     file.path(), file.count()));
    }
    return file.read(id);
}

std::string lastComponent(const std::string& baseName) {
    const std::string name = std::filesystem::path(baseName).filename().string();
    return name.empty() ? baseName : name;
}

// Heat factors of the day-night swing by atmosphere class 1..6: how fast
// the surface warms by day (A) and how far its air holds the heat (B).
constexpr std::array<long double, 6> kSwingA = {0.2L, 0.4L, 0.5L, 0.6L, 0.8L, 1.0L};
constexpr std::array<long double, 6> kSwingB = {5.0L, 4.0L, 2.5L, 1.5L, 0.8L, 0.1L};

}  // namespace

SectorReader::SectorReader(const std::string& baseName)
    : systems_(openRequired<TSystemRec>(baseName, ".sun")),
      planets_(openRequired<TPlanetRec>(baseName, ".pln")),
      moons_(openRequired<TMoonRec>(baseName, ".mon")),
      aliens_(openRequired<TAlienRec>(baseName, ".aln")),
      colonies_(openOptional<TColonyRec>(baseName, ".col")) {
    if (auto control = openOptional<TConRec>(baseName, ".con")) controlCount_ = control->count();
    if (auto empires = openOptional<TEmpireRec>(baseName, ".emp")) empireCount_ = empires->count();
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

TSystemRec SectorReader::system(std::int64_t id) { return readChecked(*systems_, id); }
TPlanetRec SectorReader::planet(std::int64_t id) { return readChecked(*planets_, id); }
TMoonRec SectorReader::moon(std::int64_t id) { return readChecked(*moons_, id); }
TAlienRec SectorReader::alien(std::int64_t id) { return readChecked(*aliens_, id); }

OutputFile::OutputFile(std::string path) : path_(std::move(path)), partPath_(path_ + ".part") {
    stream_.open(partPath_, std::ios::binary | std::ios::trunc);
    if (!stream_) throw ioErrorFromErrno(errno, path_);
}

OutputFile::~OutputFile() {
    if (committed_) return;
    stream_.close();
    std::remove(partPath_.c_str());
}

void OutputFile::commit() {
    stream_.flush();
    const bool written = static_cast<bool>(stream_);
    stream_.close();
    if (!written || stream_.fail()) throw IoError(fmt::format("I/O error writing {}", path_));
    if (std::rename(partPath_.c_str(), path_.c_str()) != 0) throw ioErrorFromErrno(errno, path_);
    committed_ = true;
}

float effectiveLuminosity(const TSystemRec& system, int star) {
    const auto lum = [&](int i) { return static_cast<long double>(system.luminosity[static_cast<std::size_t>(i - 1)]); };
    // Light from a companion falls off with the square root of the
    // separation in AU; a zero separation adds nothing rather than infinity.
    const auto share = [](long double light, long double separation) -> long double {
        const long double d = std::sqrt(0.1L * separation);
        return d > 0.0L ? light / d : 0.0L;
    };
    const long double s2 = system.separation[0];
    const long double s3 = system.separation[1];
    const int count = std::clamp<int>(system.starCount, 1, 3);
    long double e = lum(star);
    if (count == 2) {
        e += share(star == 1 ? lum(2) : lum(1), s2);
    } else if (count == 3) {
        if (star == 1) e += share(lum(2), s2) + share(lum(3), s3);
        if (star == 2) e += share(lum(1), s2) + share(lum(3), s2 + s3);
        if (star == 3) e += share(lum(1), s3) + share(lum(2), s2 + s3);
    }
    return static_cast<float>(e);
}

int dayNightSwing(const TPlanetRec& planet, float effectiveLuminosityValue) {
    const int radius = planet.orbitRadius > 0 ? planet.orbitRadius : 1;
    const std::size_t cls = static_cast<std::size_t>(std::clamp<int>(planet.atmosphereClass, 1, 6) - 1);
    const long double q = effectiveLuminosityValue / std::sqrt(radius * 0.1L);
    const long double kelvin = planet.temperature + 273;
    const long long byDay = static_cast<long long>(kSwingA[cls] * q * std::abs(planet.rotation) * 0.5L);
    const long long byAir = static_cast<long long>(kelvin * kSwingB[cls] * q);
    long long swing = std::min(byDay, byAir);
    if (kelvin + static_cast<long double>(swing) > 2000.0L) swing = 2000 - static_cast<long long>(kelvin);
    return static_cast<int>(swing);
}

std::string grouped(long long value) {
    std::string digits = std::to_string(value < 0 ? -value : value);
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
    const long long part = (value < 0 ? -value : value) % 10;
    const std::string sign = (value < 0 && whole == 0) ? "-" : "";
    return fmt::format("{}{}.{}", sign, grouped(whole), part);
}

std::string magnitude(double value) {
    if (!std::isfinite(value)) return "unknown";
    const double size = std::fabs(value);
    if (size >= 1000.0) return grouped(std::llround(value));
    if (size >= 100.0) return fmt::format("{:.0f}", value);
    if (size >= 10.0) return fmt::format("{:.1f}", value);
    if (size >= 1.0) return fmt::format("{:.2f}", value);
    if (size == 0.0) return "0";
    // Below one: three significant figures, never in exponent form.
    const int decimals = 2 - static_cast<int>(std::floor(std::log10(size)));
    return fmt::format("{:.{}f}", value, std::min(decimals, 8));
}

}  // namespace orrimar::engine
