#include "widgets/picker_widget.h"

#include <gtest/gtest.h>

#include "fakes/date_at.h"
#include "fakes/fake_zone_source.h"

namespace {

// Pickers hold wall-clock values: whatever the computer's zone, a value comes back as it went in, also
// one that a daylight-saving change skips or repeats.
TEST(PickerWidget, ValuesSurviveAnyZone)
{
    const DateTime values[] = {At(2004, 3, 28, 2, 30), At(2004, 10, 31, 2, 30), At(1754, 1, 1),
                               At(9998, 12, 31, 23, 59, 59), At(2004, 7, 1, 12)};
    for (const char* zone : {"UTC0", "CET-1CEST,M3.5.0,M10.5.0/3", "EST5EDT,M3.2.0,M11.1.0", "<+0530>-5:30"}) {
        SCOPED_TRACE(zone);
        const ScopedZoneEnv tz("TZ", zone);
        QDateEdit date;
        QTimeEdit time;
        SetUpDatePicker(date, At(1754, 1, 1), At(9998, 12, 31, 23, 59, 59));
        SetUpTimePicker(time);
        for (const DateTime& value : values) {
            WritePicker(date, value);
            WritePicker(time, value);
            EXPECT_EQ(PickerValue(date), value) << value.Format("%F %T");
            EXPECT_EQ(ReadPickerDateTime(&date, &time), value) << value.Format("%F %T");
        }
        WritePicker(date, At(1600, 1, 1));
        EXPECT_EQ(ReadPickerDate(&date), At(1754, 1, 1)) << "held within the range";
    }
}

}  // namespace
