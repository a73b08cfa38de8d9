// Reading an archive back is zarc/archive/archive_file.h; this name stays only for the includes
// not yet moved to it.
#pragma once

#include "zarc/archive/archive_file.h"
