// Moved to the shared test-support library.
#pragma once

#include "support/hand_made_sector.h"
