// Moved to the shared test-support library.
#pragma once

#include "support/file_text.h"
#include "support/record_bytes.h"
#include "support/test_dir.h"
