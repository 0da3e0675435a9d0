#include "pages/info/sun_tab.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>

#include <set>

#include "fakes/date_at.h"
#include "fakes/ui_environment.h"
#include "info/sun_texts.h"
#include "pages/info/add_place_dialog.h"
#include "pages/info/time_info_page.h"
#include "pages/templates/page_value_source.h"
#include "pages/test_places.h"
#include "pages/zone_chooser.h"
#include "templates/substitution.h"
#include "widgets/pickers.h"
#include "widgets/sun_day_widget.h"

namespace {

// Oslo and Longyearbyen keep Berlin's clocks, whose zone the test data has.
const std::vector<std::string> kStoredPlaces = {
    "Oslo\t59.91\t10.75\tEurope/Berlin",       "no tabs at all",          "Longyearbyen\t78.22\t15.65\tEurope/Berlin",
    "North of the pole\t91\t0\tEurope/Berlin", "\t10\t10\tEurope/Berlin",
};

struct SunTabTest : ::testing::Test {
    UiEnvironment env;
    std::unique_ptr<TimeInfoPage> page;

    void SetUp() override
    {
        env.settings.WriteList(SettingId::SunPlaces, kStoredPlaces);
        env.settings.WriteString(SettingId::InfoZone, "Europe/Berlin");
        page = std::make_unique<TimeInfoPage>(WithTestPlaces(env.Services()));
        page->LoadSettings();
    }
    SunTab& Sun() { return static_cast<SunTab&>(page->SubPage(kSunInfoPage)); }
    QComboBox& Places() { return *Sun().findChild<QComboBox*>("place"); }
    QString Field(int id) { return ControlOf<QLineEdit>(Sun(), id).text(); }
    void Show(int placeIndex, const DateTime& value)
    {
        Places().setCurrentIndex(placeIndex);
        Places().activated(placeIndex);
        page->ShowDateInfo(value);
    }
    // Minutes after midnight of a "9:18:05 AM" field.
    int Minutes(int id)
    {
        const QStringList parts = Field(id).split(QRegularExpression(QStringLiteral("[: ]")));
        EXPECT_EQ(parts.size(), 4) << Field(id).toStdString();
        const int hour = parts.value(0).toInt() % 12 + (parts.value(3) == QStringLiteral("PM") ? 12 : 0);
        return hour * 60 + parts.value(1).toInt();
    }
};

TEST_F(SunTabTest, StoredPlacesSkipBadLinesAndReadBack)
{
    ASSERT_EQ(Places().count(), 3);
    EXPECT_EQ(Places().itemText(0), "Zone's place (Berlin, Germany)");
    EXPECT_EQ(Places().itemText(2), "Longyearbyen");
    page->SaveSettings();
    EXPECT_EQ(env.settings.ReadList(SettingId::SunPlaces),
              (std::vector<std::string>{kStoredPlaces[0], kStoredPlaces[2]}));
}

// Almanac times, to the minute, within two for the model's small differences from it.
TEST_F(SunTabTest, TimesInThePlacesWallTime)
{
    struct Case {
        const char* why;
        int place;
        DateTime value;
        int sunrise, sunset;   // minutes after midnight
    };
    const Case cases[] = {
        {"Oslo, the shortest day", 1, At(2026, 12, 21, 12, 0, 0), 9 * 60 + 18, 15 * 60 + 12},
        {"Berlin, the zone's own place, in summer time", 0, At(2026, 6, 21, 12, 0, 0), 4 * 60 + 43, 21 * 60 + 33},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        Show(c.place, c.value);
        EXPECT_NEAR(Minutes(kSunriseFieldId), c.sunrise, 2);
        EXPECT_NEAR(Minutes(kSunsetFieldId), c.sunset, 2);
        EXPECT_EQ(Sun().findChild<SunDayWidget*>()->Levels().size(), std::size_t{kSunSlots});
    }
}

TEST_F(SunTabTest, PolarDayAndNightAreNotes)
{
    Show(2, At(2026, 12, 21, 12, 0, 0));
    EXPECT_EQ(Field(kSunriseFieldId), "The sun does not rise");
    EXPECT_EQ(Field(kCivilDuskFieldId), "The sun does not rise");
    EXPECT_NE(Field(kNauticalDawnFieldId).left(3), "The") << "the sun comes within 12° of the horizon";
    EXPECT_EQ(Field(kDayLengthFieldId), "0 h 0 min 0 s");
    Show(2, At(2026, 6, 21, 12, 0, 0));
    EXPECT_EQ(Field(kSunsetFieldId), "The sun does not set");
    EXPECT_EQ(Field(kCivilDawnFieldId), "The sun does not reach 6° below the horizon");
    EXPECT_EQ(Field(kDayLengthFieldId), "24 h 0 min 0 s");
    EXPECT_EQ(Field(kDayLengthChangeFieldId), "+0 min 0 s");
    const std::vector<int>& levels = Sun().findChild<SunDayWidget*>()->Levels();
    EXPECT_EQ(std::set<int>(levels.begin(), levels.end()), std::set<int>{kDaylightBand});
}

// This computer's zone stands for its zone.tab line; UTC has none.
TEST_F(SunTabTest, AZoneWithoutCoordinatesAsksForAPlace)
{
    env.settings.WriteString(SettingId::InfoZone, "");
    page = std::make_unique<TimeInfoPage>(WithTestPlaces(env.Services(), "UTC"));
    page->LoadSettings();
    EXPECT_EQ(Places().itemText(0), "Choose a place");
    EXPECT_EQ(Field(kSunriseFieldId), "");
    EXPECT_EQ(Field(kSunAzimuthFieldId), "");
}

TEST_F(SunTabTest, MacrosExpandToTheFields)
{
    Show(1, At(2026, 12, 21, 12, 0, 0));
    const QWidget difference, calculation;
    std::string text = "%ISR%|%ISS%|%IDL%";
    Expand(text, PageValueSource(&difference, &calculation, page.get(), env.messages), env.clock, env.formatter);
    EXPECT_EQ(QString::fromStdString(text),
              Field(kSunriseFieldId) + u'|' + Field(kSunsetFieldId) + u'|' + Field(kDayLengthFieldId));
    EXPECT_TRUE(Field(kDayLengthFieldId).startsWith(QStringLiteral("5 h 5"))) << text;
}

// Bad input shows one line and adds nothing; a good place is added, chosen and stored.
TEST_F(SunTabTest, AddPlaceDialog)
{
    const std::tuple<const char*, const char*, const char*> bad[] = {
        {"", "59.91, 10.75", "Give the place a name."},
        {"Pole", "95, 0", "latitudes run from -90 to 90"},
        {"Pole", "north", "write a place as LATITUDE,LONGITUDE, as in 59.91,10.75"},
    };
    const PageServices services = WithTestPlaces(env.Services());   // the dialog keeps a reference
    AddPlaceDialog dialog(services);
    for (const auto& [name, point, problem] : bad) {
        dialog.NameEdit().setText(QString::fromUtf8(name));
        dialog.PointEdit().setText(QString::fromUtf8(point));
        dialog.accept();
        EXPECT_EQ(dialog.Problem(), QString::fromUtf8(problem));
        EXPECT_FALSE(dialog.Place());
        EXPECT_NE(dialog.result(), QDialog::Accepted);
    }
    dialog.NameEdit().setText(QStringLiteral("Quito"));
    dialog.PointEdit().setText(QStringLiteral("-0.22, -78.51"));
    dialog.Zones().SetZone("America/New_York");
    dialog.accept();
    ASSERT_TRUE(dialog.Place());
    EXPECT_EQ(FormatSunPlace(*dialog.Place()), "Quito\t-0.22\t-78.51\tAmerica/New_York");
    Sun().AddPlace(*dialog.Place());
    EXPECT_EQ(Places().currentText(), "Quito");
    page->SaveSettings();
    EXPECT_EQ(env.settings.ReadList(SettingId::SunPlaces).back(), "Quito\t-0.22\t-78.51\tAmerica/New_York");
}

}   // namespace
