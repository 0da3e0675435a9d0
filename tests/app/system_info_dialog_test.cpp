#include "app/system_info_dialog.h"

#include <gtest/gtest.h>

namespace {

TEST(SystemInfoDialog, NamesTheLocaleThatFormatsDates)
{
    const QByteArray saved = qgetenv("LC_ALL");
    const std::pair<const char*, const char*> cases[] = {
        {"C", "C (no locale set)"},
        {"C.UTF-8", "C (no locale set)"},
        {"ru_RU.UTF-8", "ru_RU.UTF-8 (русский, Россия)"},
    };
    for (const auto& [lcAll, fact] : cases) {
        SCOPED_TRACE(lcAll);
        qputenv("LC_ALL", lcAll);
        QString shown;
        for (const auto& [label, value] : SystemInfoDialog::Facts()) {
            shown = label == "Locale:" ? value : shown;
        }
        EXPECT_EQ(shown.toStdString(), fact);
    }
    qputenv("LC_ALL", saved);
}

}   // namespace
