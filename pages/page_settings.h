#pragma once

#include "settings/settings_store.h"

class QDateTimeEdit;

// A picker's value in the settings: loading an invalid or missing value shows it as the picker shows any
// invalid value.
void LoadPicker(QDateTimeEdit& picker, const SettingsStore& settings, SettingId id);
void SavePicker(const QDateTimeEdit& picker, const SettingsStore& settings, SettingId id);
