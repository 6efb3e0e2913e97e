// The Qt the command line draws posters and sheets with: a QGuiApplication
// on the offscreen platform, made on first use and kept for the rest of the
// run, so printing needs no display (a server, a script, a test).
#pragma once

namespace orrimar::cli {

void ensurePaintingApp();

}  // namespace orrimar::cli
