// The front ends' choice of log format.
#include "engine/engine.h"

namespace orrimar::engine {

LogFormat logFormatOfFilter(int filterIndex) { return filterIndex == 2 ? LogFormat::Html : LogFormat::Text; }

}  // namespace orrimar::engine
