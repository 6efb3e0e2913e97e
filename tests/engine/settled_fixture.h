// Moved to the shared test-support library.
#pragma once

#include "engine/log_fixtures.h"
#include "support/settled_fixture.h"
