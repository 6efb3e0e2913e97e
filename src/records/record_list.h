// Records of one family kept in memory and numbered from 0, as a record
// file numbers its own: the place where the sector loop's workers build a
// system before it is committed to the sector's files. Ids handed out here
// are local to the list; committing shifts them to the file's counts.
#pragma once

#include <cstdint>
#include <vector>

namespace orrimar {

template <typename T>
class RecordList {
public:
    // Records held; the id the next append gets.
    std::int64_t count() const { return static_cast<std::int64_t>(records_.size()); }
    // Returns the new record's id.
    std::int64_t append(const T& record) {
        records_.push_back(record);
        return static_cast<std::int64_t>(records_.size()) - 1;
    }
    const T& operator[](std::int64_t id) const { return records_[static_cast<std::size_t>(id)]; }
    // Empties the list but keeps its storage, so a reused list stops
    // allocating once it has held its largest system.
    void clear() { records_.clear(); }

    auto begin() const { return records_.begin(); }
    auto end() const { return records_.end(); }

private:
    std::vector<T> records_;
};

}  // namespace orrimar
