// The settings store: the ten module records and the saver's own settings,
// kept per user as 32-bit numbers (view parameters in hundredths). What is
// stored under which name is the table of settings/stored_values.h.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "settings/stored_values.h"

// Puts the saver's own settings back to those start values.
void ResetSettings();

// --- Store -----------------------------------------------------------------
// Loads every stored value with one read of the backend, picks CurrentModule
// and seeds the random generator. False, with the reason in *why, when the
// store is there but cannot be read; the values then have their built-in
// settings, as when nothing is stored.
bool LoadSettings(std::string* why = nullptr);
// Saves every stored value with one write of the backend (a NaN view value
// keeps its stored number). False, with the reason in *why, when it could
// not be written.
bool SaveSettings(std::string* why = nullptr);

// The same without the backend: the settings from stored numbers, and the
// numbers that store them (a NaN view value leaves its number as it is).
void LoadSettingsFrom(const StoredNumbers& numbers);
void StoreSettingsInto(StoredNumbers& numbers);

// The 32-bit number stored for a view parameter (none for a NaN), and the
// value read back.
std::optional<int32_t> ScaleForStore(float value);
float ScaleFromStore(int32_t stored);

// --- Backend: the registry on Windows, the settings file on Linux, memory in
// the tests; each program links one. ---------------------------------------
// Reads the number of every stored value at once (each one it lacks stays
// empty). False, with the reason in *why, when the store is there but cannot
// be read.
bool ReadStoredNumbers(StoredNumbers& numbers, std::string* why);
// Writes every number that is not empty, at once where the store can. False,
// with the reason in *why, when one could not be written.
bool WriteStoredNumbers(const StoredNumbers& numbers, std::string* why);
