#include "pages/zone_chooser.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

#include "fakes/ui_environment.h"
#include "pages/test_places.h"

namespace {

const QString kComputer = QStringLiteral("This computer (Europe/Berlin)");
const QString kNewYork = QStringLiteral("New York \u2014 United States (America/New_York)");
const QString kSydney = QStringLiteral("Sydney \u2014 Australia (Australia/Sydney)");

struct ZoneChooserTest : ::testing::Test {
    UiEnvironment env;
    ZoneChooser chooser;
    QSignalSpy chosen{&chooser, &ZoneChooser::zoneChosen};

    void SetUp() override { FillZoneChooser(chooser, WithTestPlaces(env.Services())); }
};

TEST_F(ZoneChooserTest, ThisComputerFirstThenEveryPlaceWithItsComment)
{
    EXPECT_EQ(chooser.Matches({}), (QStringList{kComputer, QStringLiteral("Berlin \u2014 Germany (Europe/Berlin)"),
                                                kNewYork, kSydney, QStringLiteral("UTC")}));
    EXPECT_EQ(chooser.itemData(3, Qt::ToolTipRole).toString(), "New South Wales (most areas)");
    EXPECT_EQ(chooser.Matches(QStringLiteral("new y")), QStringList{kNewYork});
    EXPECT_EQ(chooser.Matches(QStringLiteral("This")), QStringList{kComputer});
    EXPECT_EQ(chooser.Zone(), "");
    EXPECT_EQ(chooser.ZoneText(), "Europe/Berlin");
    EXPECT_FALSE(chooser.SetZone("Mars/Olympus"));
    EXPECT_EQ(chooser.Zone(), "");
}

// Typed words and Enter choose the first match; arrows move through the matches. A choice survives a
// new language, and leaving a half-typed text shows the chosen entry again.
TEST_F(ZoneChooserTest, KeyboardChoosesAndNewEntriesKeepTheChoice)
{
    chooser.show();
    chooser.lineEdit()->selectAll();   // as Tab leaves it
    QTest::keyClicks(chooser.lineEdit(), QStringLiteral("syd"));
    QTest::keyClick(chooser.lineEdit(), Qt::Key_Return);
    EXPECT_EQ(chooser.Zone(), "Australia/Sydney");
    EXPECT_EQ(chooser.currentText(), kSydney);
    EXPECT_EQ(chosen.count(), 1);
    QTest::keyClick(chooser.lineEdit(), Qt::Key_Up);
    EXPECT_EQ(chooser.Zone(), "America/New_York");
    EXPECT_EQ(chosen.count(), 2);

    env.messages.Override(kComputerZoneMessage, "Этот компьютер (%1)");
    FillZoneChooser(chooser, WithTestPlaces(env.Services(), "UTC+01:00"));
    EXPECT_EQ(chooser.itemText(0), "Этот компьютер (UTC+01:00)");
    EXPECT_EQ(chooser.Zone(), "America/New_York");
    chooser.setCurrentIndex(0);
    EXPECT_EQ(chooser.ZoneText(), "UTC+01:00");
}

}   // namespace
