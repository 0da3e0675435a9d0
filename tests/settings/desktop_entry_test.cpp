#include "settings/desktop_entry.h"

#include <gtest/gtest.h>

namespace {

struct QuoteCase {
    const char* why;
    const char* path;
    const char* exec;
};

const QuoteCase kQuoteCases[] = {
    {"plain path stays bare", "/opt/chronel/chronel", "/opt/chronel/chronel"},
    {"blank needs quotes", "/home/a b/chronel", "\"/home/a b/chronel\""},
    {"quote, dollar, backquote escaped inside quotes", "/x/\"$`", "\"/x/\\\\\"\\\\$\\\\`\""},
    {"backslash escaped twice", "/x\\y", "\"/x\\\\\\\\y\""},
    {"percent doubled", "/x/100%", "/x/100%%"},
    {"non-ASCII stays", "/home/\xD0\x96/chronel", "/home/\xD0\x96/chronel"},
};

TEST(DesktopEntry, ExecQuotesThePathAsRequired)
{
    for (const QuoteCase& c : kQuoteCases) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(QuoteExecArgument(c.path), c.exec);
    }
}

}  // namespace
