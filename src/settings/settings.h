#pragma once

#include <cstdint>

#include "run/progress_log.h"
#include "settings/run_settings.h"
#include "settings/settings_file.h"

namespace zarame {

class SettingsStore;

// What the store gives the window when it opens.
struct StoredSettings {
    RunSettings inputs;
    std::int32_t logMax = kDefaultLogMax;
};

// Reads "LogMax" and the sixteen inputs with their defaults and load rules. "LogMax" that is not
// a number, or beyond 32 bits, gives 1000; the window's log holds any other to its range.
StoredSettings LoadSettings(SettingsStore& store);

// Writes the sixteen inputs; "LogMax" is never written. The result says whether they were kept,
// and if not, why.
SettingsSaveResult SaveSettings(SettingsStore& store, const RunSettings& settings);

}  // namespace zarame
