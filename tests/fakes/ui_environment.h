#pragma once

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimeEdit>

#include <cstdlib>
#include <string>
#include <vector>

#include "fakes/fake_clock.h"
#include "fakes/fake_clock_setter.h"
#include "fakes/fake_locale_formatter.h"
#include "fakes/fake_messages.h"
#include "fakes/fake_program_location.h"
#include "fakes/fake_time_change_source.h"
#include "fakes/fake_zone_source.h"
#include "pages/page_services.h"
#include "pages/working_days_source.h"
#include "platform/reg_file_settings_backend.h"
#include "platform/xdg_autostart_list.h"
#include "settings/settings_store.h"
#include "widgets/control_id.h"

// Everything a page or the main window needs, with a fake clock at 2004-03-01 13:05:09, the fixed English
// formatter, and settings, autostart and program folders in one temporary folder. The language files and
// the help file sit beside the program file.
struct UiEnvironment {
    QTemporaryDir folder;
    FakeClock clock{SystemTime{2004, 3, 1, 1, 13, 5, 9, 0}};
    FakeClockSetter clockSetter{clock};
    FakeTimeChangeSource timeChanges;
    FakeLocaleFormatter formatter;
    FakeMessages messages;
    FakeZoneSource zones;
    FakeProgramLocation location{ProgramPath(folder)};
    RegFileSettingsBackend backend{Path(folder, "config"), "Orvane", "Chronel"};
    XdgAutostartList autostart{std::vector<std::string>{Path(folder, "autostart")}, 0, backend.Lock()};
    SettingsStore settings{backend, autostart, clock, location};
    std::vector<DateTime> shownOnTimeInfo;
    WorkingDaysSource workingDays{settings, {}, kMondayToFriday};

    PageServices Services()
    {
        return PageServices{clock,       formatter, settings,
                            messages,    zones,     [this](const DateTime& v) { shownOnTimeInfo.push_back(v); },
                            &workingDays};
    }

    static std::string Path(const QTemporaryDir& dir, const char* name) { return dir.filePath(name).toStdString(); }
    static std::string ProgramPath(const QTemporaryDir& dir)
    {
        QDir(dir.path()).mkpath(QStringLiteral("program"));
        return dir.filePath(QStringLiteral("program/chronel")).toStdString();
    }
};

// The control with that id below `root`. A missing one fails the test at once: every later step would
// only report its absence again.
template <typename T>
T& ControlOf(const QWidget& root, int id)
{
    T* control = FindControlAs<T>(root, id);
    if (control == nullptr) {
        ADD_FAILURE() << "no control " << id;
        std::abort();
    }
    return *control;
}
