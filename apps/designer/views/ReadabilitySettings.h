#pragma once
// The user's readability thresholds, kept in the program's settings: the one place that reads and
// writes them, for the window and the command line alike (both name the program the same way, so
// they read the same settings file).

#include "core/Readability.h"

// The thresholds the user set; the defaults for any that is missing or out of range.
ReadabilityThresholds readReadabilityThresholds();
void writeReadabilityThresholds(const ReadabilityThresholds& thresholds);
