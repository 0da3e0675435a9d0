#pragma once

#include "settings/settings_store.h"

class QDateTimeEdit;

// A picker's value in the settings. A missing or unreadable value loads as the current time; a stored one
// that names no moment leaves the picker as it is.
void LoadPicker(QDateTimeEdit& picker, const SettingsStore& settings, SettingId id);
void SavePicker(const QDateTimeEdit& picker, const SettingsStore& settings, SettingId id);
