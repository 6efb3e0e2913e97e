// Starts the companion programs of the launch pad. Each start is handed to
// the system and never waited for or watched; a companion that cannot be
// started is not reported.
#pragma once

#include <QString>

#include <functional>

namespace orrimar::ui {

// Starts `program` detached with `workingDir` as its directory; returns
// whether it started. Replaceable so tests start nothing.
using DetachedStarter = std::function<bool(const QString& program, const QString& workingDir)>;

DetachedStarter systemStarter();

// The file in `dir` that stands for a companion named like "cresset.exe":
// the name itself or, on this platform, the bare name without ".exe", in any
// case of letters (the names come from a system whose file names ignore
// case). Empty when there is none.
QString findCompanion(const QString& dir, const QString& fileName);

// Starts a companion from the program directory: the file name, the
// parameters (none are passed by the launch pad), the working directory and
// the show command kept for its callers (windows open in their normal size).
void start_companion(const QString& fileName, const QString& parameters, const QString& directory, int showCommand,
                     const DetachedStarter& starter);

// The show command of every launch: the window in its current size and position.
constexpr int kShowNormal = 5;

}  // namespace orrimar::ui
