#include "app/system_info_dialog.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

QString LocaleFact()
{
    for (const auto& [label, value] : SystemInfoDialog::Facts()) {
        if (label == "Locale:") {
            return value;
        }
    }
    return {};
}

TEST(SystemInfoDialog, NamesTheLocaleThatFormatsDates)
{
    const QByteArray saved = qgetenv("LC_ALL");
    const struct {
        const char* lcAll;
        const char* fact;
    } cases[] = {
        {"C", "C (no locale set)"},
        {"POSIX", "C (no locale set)"},
        {"C.UTF-8", "C (no locale set)"},
        {"ru_RU.UTF-8", "ru_RU.UTF-8 (\xD1\x80\xD1\x83\xD1\x81\xD1\x81\xD0\xBA\xD0\xB8\xD0\xB9, "
                        "\xD0\xA0\xD0\xBE\xD1\x81\xD1\x81\xD0\xB8\xD1\x8F)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.lcAll);
        qputenv("LC_ALL", c.lcAll);
        EXPECT_EQ(LocaleFact().toStdString(), c.fact);
    }
    qputenv("LC_ALL", saved);
}

}  // namespace
