// Records as they lie on disk, and record files read back whole without
// going through the readers under test.
#pragma once

#include <string>
#include <vector>

#include "records/record_codec.h"
#include "support/file_text.h"

namespace orrimar::testing {

// A record's bytes as written.
template <typename T>
std::string bytesOf(const T& record) {
    unsigned char bytes[sizeof(T)];
    encodeRecord(record, bytes);
    return std::string(reinterpret_cast<const char*>(bytes), sizeof(T));
}

// Every whole record of a file, decoded; none for a missing file.
template <typename T>
std::vector<T> readAll(const std::string& path) {
    const std::string bytes = fileBytes(path);
    std::vector<T> records(bytes.size() / sizeof(T));
    for (std::size_t i = 0; i < records.size(); ++i) {
        records[i] = decodeRecord<T>(reinterpret_cast<const unsigned char*>(bytes.data()) + i * sizeof(T));
    }
    return records;
}

}  // namespace orrimar::testing
