#include "tools/merge_names.h"

#include <filesystem>
#include <limits>

#include <fmt/format.h>

#include "names/sector_names.h"
#include "records/errors.h"

namespace orrimar {

namespace {

std::int64_t offsetFor(std::uint8_t kind, const MergeOffsets& offsets) {
    switch (static_cast<NameKind>(kind)) {
        case NameKind::System: return offsets.systems;
        case NameKind::Planet: return offsets.planets;
        case NameKind::Race: return offsets.races;
        case NameKind::Moon: return offsets.moons;
        case NameKind::Header: break;
    }
    return 0;
}

}  // namespace

bool isCarriedNameKind(std::uint8_t kind) { return kind >= 1 && kind <= 4; }

TNameRec renumberName(TNameRec record, const MergeOffsets& offsets) {
    if (record.value < 0) return record;
    const std::int64_t offset = offsetFor(record.kind, offsets);
    const std::int64_t shifted = static_cast<std::int64_t>(record.value) + offset;
    if (shifted > std::numeric_limits<std::int32_t>::max()) {
        throw RangeError(fmt::format("Range check error (name value {} + {})", record.value, offset));
    }
    record.value = static_cast<std::int32_t>(shifted);
    return record;
}

MergeNames::MergeNames(const std::string& mainBase, const std::string& addedBase)
    : added_(addedBase + ".nam", IfMissing::Empty), mainPath_(mainBase + ".nam") {
    if (added_.hasPartialRecord()) {
        throw IoError(fmt::format("Damaged sector file: its size is not a whole number of {}-byte records ({})",
                                  sizeof(TNameRec), added_.path()));
    }
    added_.forEach([&](std::int64_t id, const TNameRec& r) {
        if (id > 0 && isCarriedNameKind(r.kind)) ++carried_;
    });
    if (carried_ == 0) return;
    main_ = std::make_unique<RecordFile<TNameRec>>(mainPath_, RawRecordFile::Mode::OpenExisting);
    if (main_->hasPartialRecord()) {
        throw IoError(fmt::format("Damaged sector file: its size is not a whole number of {}-byte records ({})",
                                  sizeof(TNameRec), mainPath_));
    }
    main_->setAutoFlush(false);
    mainCount_ = main_->count();
}

MergeNames::~MergeNames() = default;

void MergeNames::check(const MergeOffsets& offsets) {
    if (!main_) return;
    added_.forEach([&](std::int64_t k, const TNameRec& r) {
        if (k == 0 || !isCarriedNameKind(r.kind)) return;
        try {
            (void)renumberName(r, offsets);
        } catch (const RangeError& e) {
            throw RangeError(fmt::format("{} in record {} of {}", e.what(), k, added_.path()));
        }
    });
}

void MergeNames::copy(const MergeOffsets& offsets) {
    if (!main_) return;
    // Record 0 is the added sector's header: the main sector keeps its own.
    added_.forEach([&](std::int64_t k, const TNameRec& r) {
        if (k > 0 && isCarriedNameKind(r.kind)) main_->append(renumberName(r, offsets));
    });
    main_->flush();
}

void MergeNames::close() {
    if (main_) main_->close();
}

void MergeNames::rollBack() noexcept {
    if (!main_) return;
    try {
        main_->truncate(mainCount_);
    } catch (...) {
    }
    try {
        main_->close();
    } catch (...) {
    }
    std::error_code ec;
    std::filesystem::resize_file(mainPath_, static_cast<std::uintmax_t>(mainCount_) * sizeof(TNameRec), ec);
}

}  // namespace orrimar
