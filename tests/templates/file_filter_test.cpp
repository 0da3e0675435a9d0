#include "templates/file_filter.h"

#include <gtest/gtest.h>

TEST(FileFilter, WindowsFiltersBecomeQtFilters)
{
    const struct {
        const char* why;
        const char* windows;
        const char* qt;
    } cases[] = {
        {"the callers' filter", "Text Files (*.txt)|*.txt|All Files (*.*)|*.*||", "Text Files (*.txt);;All Files (*)"},
        {"several patterns", "Pictures|*.png;*.jpg||", "Pictures (*.png *.jpg)"},
        {"without final bars", "Text Files (*.txt)|*.txt", "Text Files (*.txt)"},
        {"description without patterns ends the list", "Text|*.txt|Orphan", "Text (*.txt)"},
        {"empty", "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(FormatNameFilters(ParseFileFilter(c.windows)), c.qt);
    }
}
