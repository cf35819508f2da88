// The save of the settings file as one replacement: the old file or the new one, never a mix.
#pragma once
#include <optional>
#include <string>

#include "settings_form.h"

namespace tav::settings {

// Writes the values into a copy of path beside it, then moves the copy over path in one step;
// any failure leaves path as it was. The message for the user, or nothing (SaveSettings).
std::optional<std::u16string> SaveSettingsFile(const std::u16string& path, const FormValues& values,
                                               ShortcutWork& shortcuts);

}  // namespace tav::settings
