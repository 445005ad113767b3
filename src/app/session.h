#pragma once

// Session moved below the windows; this name stays for a while.
#include "data/session.h"
