#pragma once

// PrinterChoice moved to common; this name stays for a while.
#include "common/printer_choice.h"
