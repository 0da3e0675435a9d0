#include "settings/settings_store.h"

#include <gtest/gtest.h>

#include <limits>

#include "fakes/fake_autostart_list.h"
#include "fakes/fake_clock.h"
#include "fakes/fake_program_location.h"
#include "fakes/fake_settings_backend.h"

namespace {

class SettingsStoreTest : public ::testing::Test {
protected:
    FakeSettingsBackend m_backend;
    FakeAutostartList m_autostart;
    FakeClock m_clock{SystemTime{2004, 11, 6, 20, 14, 5, 0, 0}};
    FakeProgramLocation m_location{"/opt/chronel/bin/chronel"};
    SettingsStore m_store{m_backend, m_autostart, m_clock, m_location};
};

SettingId Id(int index)
{
    return static_cast<SettingId>(index);
}

TEST_F(SettingsStoreTest, FreshOrUnopenableProfileReadsEveryDefault)
{
    const DateTime now = DateTime::FromParts(2004, 11, 20, 14, 5, 0);
    for (const bool broken : {false, true}) {
        m_backend.broken = broken;
        for (int index = 0; index < kSettingCount; ++index) {
            const SettingInfo info = *DescribeSetting(Id(index));
            SCOPED_TRACE(std::string(info.name));
            DateTime date = DateTime::Invalid();
            DateTimeSpan span(5.0);
            std::string text = "unchanged";
            switch (info.kind) {
            case SettingKind::Integer:
                EXPECT_EQ(m_store.ReadInt(Id(index)), info.name == "Visibled" || info.name == "IsMonthsPlus" ? 1 : 0);
                break;
            case SettingKind::DateTime:
                EXPECT_FALSE(m_store.ReadDateTime(Id(index), date));
                EXPECT_EQ(date, now);
                break;
            case SettingKind::Span:
                EXPECT_FALSE(m_store.ReadSpan(Id(index), span));
                EXPECT_EQ(span.GetTotalDays(), 0.0);
                break;
            case SettingKind::Text:
                EXPECT_FALSE(m_store.ReadString(Id(index), text));
                EXPECT_EQ(text, info.name == "Lang" ? "english" : "/opt/chronel/bin/Templates");
                break;
            }
        }
    }
    EXPECT_FALSE(m_store.WriteInt(SettingId::ActivePageNo, 3));
}

TEST_F(SettingsStoreTest, EncodingsAreExact)
{
    ASSERT_TRUE(m_store.WriteDateTime(SettingId::DateFrom, DateTime::FromParts(2004, 11, 20, 14, 5, 0)));
    EXPECT_EQ(m_backend.QueryValue("DateFrom"), RegValue::Sz("2004 11 20 14 5 0"));
    ASSERT_TRUE(m_store.WriteSpan(SettingId::Span, DateTimeSpan(1.5)));
    EXPECT_EQ(m_backend.QueryValue("Span"), RegValue::Sz("1.50000000000000000000"));
    ASSERT_TRUE(m_store.WriteInt(SettingId::YearsPlus, -3));
    EXPECT_EQ(m_backend.QueryValue("YearsPlus"), RegValue::Dword(0xFFFFFFFDu));
    EXPECT_EQ(m_store.ReadInt(SettingId::YearsPlus), -3);
    ASSERT_TRUE(m_store.WriteDateTime(SettingId::Date, DateTime::Invalid()));
    EXPECT_EQ(m_backend.QueryValue("Date"), RegValue::Sz("-1 -1 -1 -1 -1 -1"));
}

TEST_F(SettingsStoreTest, DateTimeTexts)
{
    const DateTime now = DateTime::FromParts(2004, 11, 20, 14, 5, 0);
    const struct {
        const char* why;
        const char* stored;
        bool result;
        DateTime expected;
    } cases[] = {
        {"plain", "2004 11 20 14 5 0", true, DateTime::FromParts(2004, 11, 20, 14, 5, 0)},
        {"any white space, text after six ignored", " 1999\t12\n31 23 59 59 junk", true,
         DateTime::FromParts(1999, 12, 31, 23, 59, 59)},
        {"30 February", "2004 2 30 0 0 0", false, DateTime::Invalid()},
        {"five numbers", "2004 2 3 0 0", false, now},
        {"empty", "", false, now},
        {"letters", "abc", false, now},
        {"number beyond int", "99999999999 1 1 0 0 0", false, DateTime::Invalid()},
        {"out of range year", "10000 1 1 0 0 0", false, DateTime::Invalid()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        m_backend.Put("Time", RegValue::Sz(c.stored));
        DateTime value;
        EXPECT_EQ(m_store.ReadDateTime(SettingId::Time, value), c.result);
        EXPECT_TRUE(c.expected.IsValid() ? value == c.expected : !value.IsValid());
    }
}

TEST_F(SettingsStoreTest, SpanTexts)
{
    const struct {
        const char* why;
        const char* stored;
        bool result;
        double days;
    } cases[] = {
        {"plain", "1.50000000000000000000", true, 1.5},
        {"letters read as zero", "abc", true, 0.0},
        {"empty", "", false, 0.0},
        {"leading blanks and sign", "  -2.25xyz", true, -2.25},
        {"exponent", "+1e2", true, 100.0},
        {"dangling exponent ignored", "3e", true, 3.0},
        {"comma ends the number", "1,5", true, 1.0},
        {"overflow", "1e999", true, std::numeric_limits<double>::infinity()},
        {"underflow", "1e-999", true, 0.0},
        {"no nan", "nan", true, 0.0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        m_backend.Put("Span", RegValue::Sz(c.stored));
        DateTimeSpan value(9.0);
        EXPECT_EQ(m_store.ReadSpan(SettingId::Span, value), c.result);
        EXPECT_EQ(value.GetTotalDays(), c.days);
    }
}

TEST_F(SettingsStoreTest, StoredBytesAreReadAsTheRegistryWould)
{
    std::string text;
    m_backend.Put("Lang", RegValue::Sz(std::string(2055, 'a')));
    EXPECT_TRUE(m_store.ReadString(SettingId::Lang, text));
    EXPECT_EQ(text.size(), 2055u);
    m_backend.Put("Lang", RegValue::Sz(std::string(2056, 'a')));
    EXPECT_FALSE(m_store.ReadString(SettingId::Lang, text)) << "2056 bytes with the terminator is too long";
    EXPECT_EQ(text, "english");
    // Whatever bytes fit the request are read; more than four bytes give the default.
    m_backend.Put("Visibled", RegValue::Sz("0"));   // '0', 0: two bytes
    EXPECT_EQ(m_store.ReadInt(SettingId::Visibled), '0');
    m_backend.Put("Visibled", RegValue::Sz("long text"));
    EXPECT_EQ(m_store.ReadInt(SettingId::Visibled), 1);
    m_backend.Put("Lang", RegValue::Dword(0x00636261));   // "abc" and a zero
    EXPECT_TRUE(m_store.ReadString(SettingId::Lang, text));
    EXPECT_EQ(text, "abc");
}

TEST_F(SettingsStoreTest, WrongKindsAreRefused)
{
    EXPECT_FALSE(m_store.WriteInt(SettingId::Lang, 1));
    EXPECT_EQ(m_backend.Count(), 0u);
    EXPECT_FALSE(m_store.WriteString(SettingId::ActivePageNo, "x"));
    EXPECT_FALSE(m_store.WriteInt(Id(kSettingCount), 1));
    std::string text = "kept";
    EXPECT_FALSE(m_store.ReadString(SettingId::Visibled, text));
    EXPECT_EQ(text, "kept");
    EXPECT_EQ(m_store.ReadInt(SettingId::Lang), 0);
    EXPECT_EQ(m_store.ReadInt(Id(-5)), 0);
}

}  // namespace
