// The settings backend of the Linux program: a per-user text file,
// $XDG_CONFIG_HOME/lumvia/lumvia.conf (~/.config/lumvia/lumvia.conf when that
// is unset), one "name = value" line per value, with the value names and
// numbers of the registry. A load reads the file once; every other read and
// write opens it by itself; a write goes to a temporary file in the same
// folder that is then renamed over the old one, so the file is never seen
// half written.
#pragma once

#include <string>

// The file the settings live in, worked out from the environment on each
// call; empty when neither XDG_CONFIG_HOME nor a home folder is known.
std::string SettingsFilePath();

// LoadSettings from one read of the file. False, with why in *why, when a
// file is there but cannot be read (the values then have their defaults); a
// file not made yet is no failure.
bool LoadSettingsFile(std::string* why = nullptr);

// SaveSettings in one write of the file: every value is held until all of them
// are known, then the file is replaced once. False, with why in *why, when it
// could not be written (the old file is then left as it was).
bool SaveSettingsFile(std::string* why = nullptr);
