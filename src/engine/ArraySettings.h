#pragma once

#include "engine/Dialogs.h"
#include "params/ParameterSet.h"

#include <cstdint>
#include <optional>
#include <string>

namespace quorrel {

// How a range is spread over the landscapes of an array.
enum ArraySpread : uint8_t {
    UniformSpread = 1,  // every landscape gets the whole range
    ClumpedSpread = 2,  // equal slices, scattered at random over the array
    GradientSpread = 3, // equal slices rising row by row
};

// The settings of a landscape array, shared by the fixed-outcome and the variable-outcome
// array: a value entered for one is the value the other starts with.
struct ArraySettings {
    int32_t NumOfRow = 5;
    int32_t NumOfCol = 5;
    uint8_t TypeGRate = UniformSpread;
    float InfluxBetween = 0.01f;
    int32_t InfluxTimeStep = 100;
    float InfluxInside = 0.0f; // reloaded from Influx whenever an array window is shown
    std::string InitGRFName;   // empty: the growth-rate tables are not written
    uint8_t TypeVOTC = UniformSpread;
    std::string InitOTCFName;  // empty: the outcome tables are not written

    int Landscapes() const { return NumOfRow * NumOfCol; }

    bool operator==(const ArraySettings&) const = default;
};

// The settings as the fields of an array window hold them.
struct ArraySettingTexts {
    std::string NumOfRow;
    std::string NumOfCol;
    std::string TypeGRate;     // "Uniform", "Clumped" or "Gradient"
    std::string InfluxBetween;
    std::string InfluxTimeStep;
    std::string InfluxInside;
    std::string TypeVOTC;      // read by the variable-outcome array only
};

// The name of a spread (1..3) as the drop-down lists show it.
std::string ArraySpreadName(uint8_t spread);

// The texts a window shows for the settings (reals in the shortest form that reads back
// to the same value, without an exponent).
ArraySettingTexts ArraySettingTextsFrom(const ArraySettings& settings);

// Showing an array window: RecruitType := closed and InfluxInside := Influx. Both changes
// stay after the window is gone.
void PrepareArrayWindow(ParameterSet& params, ArraySettings& settings);

// The fields of an array window, in the order they are checked.
enum class ArraySettingField : uint8_t { Rows, Cols, GRateSpread, OutcomeSpread, InfluxBetween, InfluxTimeStep, InfluxInside };

// The first field whose text breaks its rule, and the error message the window shows for it.
struct ArraySettingFault {
    ArraySettingField Field;
    std::string Message;
};

// Reads and checks the texts in the order of the window's fields; each setting that passes
// its check before the first fault is stored. variable adds the check of the outcome spread.
std::optional<ArraySettingFault> ReadArraySettings(const ArraySettingTexts& texts, bool variable,
                                                   ArraySettings& settings);

// What the window's Start does with its fields: ReadArraySettings, the fault's message shown
// as an error (false), or on success Influx := InfluxInside.
bool ValidateArraySettings(const ArraySettingTexts& texts, bool variable, ArraySettings& settings,
                           ParameterSet& params, Dialogs& dialogs);

} // namespace quorrel
