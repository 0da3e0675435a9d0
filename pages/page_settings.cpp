#include "pages/page_settings.h"

#include "widgets/pickers.h"

void LoadPicker(QDateTimeEdit& picker, const SettingsStore& settings, SettingId id)
{
    WritePicker(picker, settings.ReadDateTime(id));
}

void SavePicker(const QDateTimeEdit& picker, const SettingsStore& settings, SettingId id)
{
    settings.WriteDateTime(id, PickerValue(picker));
}
