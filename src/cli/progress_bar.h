// The progress bar of long commands, drawn on the error stream so that the
// one success line on stdout stays alone there.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>

namespace orrimar::cli {

// `Progress` is the core's progress interface of the command (the sector
// loop's or an export's); both have the same three calls.
template <typename Progress>
class ProgressBar final : public Progress {
public:
    explicit ProgressBar(std::ostream& err) : err_(err) {}
    ~ProgressBar() override {
        if (drawn_) err_ << "\n";
    }
    ProgressBar(const ProgressBar&) = delete;
    ProgressBar& operator=(const ProgressBar&) = delete;

    void setMaximum(std::int64_t steps) override { maximum_ = steps; }
    // Redrawn only when the percentage moves: a million cells would
    // otherwise mean a million writes to the terminal.
    void setProgress(std::int64_t done) override {
        if (maximum_ <= 0) return;
        const auto percent = static_cast<int>(done * 100 / maximum_);
        if (percent == shown_) return;
        shown_ = percent;
        const int filled = percent * kWidth / 100;
        err_ << '\r' << '[' << std::string(static_cast<std::size_t>(filled), '#')
             << std::string(static_cast<std::size_t>(kWidth - filled), ' ') << "] " << percent << '%' << std::flush;
        drawn_ = true;
    }
    bool cancelRequested() override { return false; }

private:
    static constexpr int kWidth = 40;
    std::ostream& err_;
    std::int64_t maximum_ = 0;
    int shown_ = -1;
    bool drawn_ = false;
};

}  // namespace orrimar::cli
