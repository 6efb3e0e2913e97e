// Shared pieces of the fuzz targets: the framing that turns one fuzz input
// into the files of one or two sectors, and a scratch folder per process.
//
// An input is kParamBytes bytes of parameters (which system, which race,
// which format ... each target reads them its own way), then frames:
//   tag     1 byte: low nibble = member (index into kSectorMembers, taken
//           modulo their count), bit 4 = the second sector (for merge)
//   length  3 bytes, little-endian, cut to what the input still holds
//   bytes   the member's contents
// A member framed twice is written twice: the later frame wins. A member
// not framed at all is missing from the folder, which readers must also
// survive.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orrimar::fuzz {

inline constexpr std::array<const char*, 9> kSectorMembers = {".sun", ".pln", ".mon", ".aln", ".nam",
                                                              ".col", ".con", ".emp", ".cmt"};
inline constexpr std::size_t kParamBytes = 4;
inline constexpr std::uint8_t kSecondSector = 0x10;

struct Frame {
    std::uint8_t tag = 0;
    std::string_view bytes;
};

struct FuzzInput {
    std::array<std::uint8_t, kParamBytes> params{};
    std::vector<Frame> frames;
};

FuzzInput parseInput(const std::uint8_t* data, std::size_t size);

// One frame as it lies in an input.
std::string encodeFrame(std::uint8_t tag, std::string_view bytes);
// Every member of the sector `baseName` that exists on disk, framed; the
// second sector's tags carry kSecondSector when `second`.
std::string encodeSector(const std::string& baseName, bool second = false);

// The process's own scratch folder below the system's temporary folder,
// made on first use and emptied by clear(). Fuzzing with -jobs runs several
// processes, so the folder is named by the process id.
class Scratch {
public:
    Scratch();
    ~Scratch();
    const std::string& dir() const { return dir_; }
    std::string path(const std::string& name) const { return dir_ + "/" + name; }
    // Removes everything inside the folder (the folder stays).
    void clear() const;
    // Writes the frames of `input` as the sectors `first` and `second`
    // (base names inside the folder) after clearing the folder.
    void writeSectors(const FuzzInput& input, const std::string& first, const std::string& second = "b") const;

private:
    std::string dir_;
};

// The process-wide scratch folder of this fuzz target.
const Scratch& scratch();

std::string readFile(const std::string& path);
void writeFile(const std::string& path, std::string_view bytes);

}  // namespace orrimar::fuzz
