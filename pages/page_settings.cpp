#include "pages/page_settings.h"

#include "widgets/pickers.h"

void LoadPicker(QDateTimeEdit& picker, const SettingsStore& settings, SettingId id)
{
    DateTime value;
    settings.ReadDateTime(id, value);
    WritePicker(picker, value);
}

void SavePicker(const QDateTimeEdit& picker, const SettingsStore& settings, SettingId id)
{
    settings.WriteDateTime(id, PickerValue(picker));
}
