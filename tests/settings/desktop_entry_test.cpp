#include "settings/desktop_entry.h"

#include <gtest/gtest.h>

namespace {

TEST(DesktopEntry, ExecQuotesThePathAsRequired)
{
    // A blank or a reserved character needs quotes, inside which a quote, dollar and backquote are escaped
    // and a backslash twice; a percent is doubled.
    const std::pair<const char*, const char*> cases[] = {
        {"/opt/chronel/chronel", "/opt/chronel/chronel"},
        {"/home/a b/chronel", "\"/home/a b/chronel\""},
        {"/x/\"$`", "\"/x/\\\\\"\\\\$\\\\`\""},
        {"/x\\y", "\"/x\\\\\\\\y\""},
        {"/x/100%", "/x/100%%"},
        {"/x/it's;&|<>*?#()~", "\"/x/it's;&|<>*?#()~\""},
        {"/home/\xD0\x96/chronel", "/home/\xD0\x96/chronel"},
    };
    for (const auto& [path, exec] : cases) {
        EXPECT_EQ(QuoteExecArgument(path), exec) << path;
    }
}

}   // namespace
