#include "settings/settings_store.h"

#include <gtest/gtest.h>

#include <limits>
#include <tuple>

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

const DateTime kNow = DateTime::FromParts(2004, 11, 20, 14, 5, 0);

TEST_F(SettingsStoreTest, FreshOrUnopenableProfileReadsEveryDefault)
{
    for (const bool broken : {false, true}) {
        m_backend.broken = broken;
        for (int index = 0; index < kSettingCount; ++index) {
            const SettingId id = SettingId(index);
            const SettingInfo info = *DescribeSetting(id);
            SCOPED_TRACE(std::string(info.name));
            std::string text = "unchanged";
            const int intDefault = info.name == "Visibled" || info.name == "IsMonthsPlus" ? 1 : 0;
            const std::string textDefault = info.name == "Lang"             ? "english"
                                            : info.name == "TemplateFolder" ? "/opt/chronel/bin/Templates"
                                                                            : "";
            switch (info.kind) {
            case SettingKind::Integer:
                EXPECT_EQ(m_store.ReadInt(id), intDefault);
                break;
            case SettingKind::DateTime:
                EXPECT_EQ(m_store.ReadDateTime(id), kNow);
                break;
            case SettingKind::Span:
                break;   // written for other copies of the program, never read
            case SettingKind::TextList:
                EXPECT_TRUE(m_store.ReadList(id).empty());
                break;
            case SettingKind::Text:
                EXPECT_TRUE(!m_store.ReadString(id, text) && text == textDefault) << text;
                break;
            }
        }
    }
    EXPECT_FALSE(m_store.WriteInt(SettingId::ActivePageNo, 3));
}

TEST_F(SettingsStoreTest, DateTimeTexts)
{
    const DateTime bad = DateTime::Invalid();
    const std::pair<const char*, DateTime> cases[] = {
        {"2004 11 20 14 5 0", kNow},
        {" 1999\t12\n31 23 59 59 junk", DateTime::FromParts(1999, 12, 31, 23, 59, 59)},   // text after six
        {"2004 2 30 0 0 0", bad},                                                         // 30 February
        {"2004 2 3 0 0", kNow},                                                           // five numbers
        {"", kNow},
        {"99999999999 1 1 0 0 0", bad},   // beyond int
        {"10000 1 1 0 0 0", bad},
    };
    for (const auto& [stored, expected] : cases) {
        SCOPED_TRACE(stored);
        m_backend.SetValue("Time", RegValue::Sz(stored));
        const DateTime value = m_store.ReadDateTime(SettingId::Time);
        EXPECT_TRUE(expected.IsValid() ? value == expected : !value.IsValid());
    }
}

TEST_F(SettingsStoreTest, StoredBytesAreReadAsTheRegistryWould)
{
    std::string text;
    m_backend.SetValue("Lang", RegValue::Sz(std::string(2055, 'a')));
    EXPECT_TRUE(m_store.ReadString(SettingId::Lang, text));
    EXPECT_EQ(text.size(), 2055u);
    m_backend.SetValue("Lang", RegValue::Sz(std::string(2056, 'a')));
    EXPECT_FALSE(m_store.ReadString(SettingId::Lang, text)) << "2056 bytes with the terminator is too long";
    EXPECT_EQ(text, "english");
    // Whatever bytes fit the request are read; more than four bytes give the default.
    m_backend.SetValue("Visibled", RegValue::Sz("0"));   // '0', 0: two bytes
    EXPECT_EQ(m_store.ReadInt(SettingId::Visibled), '0');
    m_backend.SetValue("Visibled", RegValue::Sz("long text"));
    EXPECT_EQ(m_store.ReadInt(SettingId::Visibled), 1);
    m_backend.SetValue("Lang", RegValue::Dword(0x00636261));   // "abc" and a zero
    EXPECT_TRUE(m_store.ReadString(SettingId::Lang, text));
    EXPECT_EQ(text, "abc");
}

}   // namespace
