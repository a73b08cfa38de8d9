// Nothing is declared here any more: each interface has its own header. Kept, forwarding, only
// while tools/zarc still includes it.
#pragma once

#include "platform/file_system.h"
#include "platform/program_resources.h"
#include "platform/registry.h"
