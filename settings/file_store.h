// The settings backend of the Linux program: a per-user text file,
// $XDG_CONFIG_HOME/lumvia/lumvia.conf (~/.config/lumvia/lumvia.conf when that
// is unset), one "name = value" line per value, with the value names and
// numbers of the registry. A load reads the file once; a save reads it once
// and writes a temporary file in the same folder that is then renamed over
// the old one, so the file is never seen half written.
#pragma once

#include <string>
#include <string_view>

#include "settings/stored_values.h"

// What the Linux programs say, before the reason, when the file fails them.
constexpr const char* kSettingsUnreadable =
    "the settings file cannot be read, so the built-in settings are used";
constexpr const char* kSettingsNotSaved = "the settings were not saved";

// The file the settings live in, worked out from the environment on each
// call; empty when neither XDG_CONFIG_HOME nor a home folder is known.
std::string SettingsFilePath();

// The numbers a settings file's text holds. Names match in any case; the
// first line of a name decides; a value that is not a whole 32-bit number
// is missing.
void ReadSettingsText(std::string_view text, StoredNumbers& numbers);
// The text with the numbers that are not empty written in: the first line of
// each name takes its number, later lines of that name go, a name without a
// line gets one at the end, and every other line stays as it was.
std::string WriteSettingsText(std::string_view text, const StoredNumbers& numbers);
