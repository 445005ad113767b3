#pragma once

// TextCursor moved to common; this name stays for a while.
#include "common/text_cursor.h"
