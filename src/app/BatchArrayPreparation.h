#pragma once

#include "app/BatchCommandLine.h"
#include "engine/ArraySettings.h"
#include "runs/AppState.h"

#include <string>

namespace quorrel {

bool IsArrayMode(const std::string& mode);
// Whether the command line gives any of the array settings.
bool AnyArrayOption(const BatchCommandLine& line);

// The array window as it is shown (closed recruitment, InfluxInside := Influx), with the
// fields the command line fills in, checked once as the window's Start checks them (a bad
// value is a bad input, BatchInputError) and stored, and the table files it names.
void PrepareBatchArray(AppState& app, const BatchCommandLine& line, bool variableOutcome);

} // namespace quorrel
