#include <benchmark/benchmark.h>

#include <iterator>
#include <string>
#include <vector>

#include "fakes/fake_clock.h"
#include "fakes/fake_locale_formatter.h"
#include "fakes/fake_macro_value_source.h"
#include "templates/substitution.h"

namespace {

const SystemTime kNow{2004, 3, 1, 1, 13, 5, 9, 0};
const SystemTime kPicker{2003, 6, 0, 15, 10, 0, 0, 0};

// Every field filled as the pages would show it: "<code> value" for texts, kPicker for pickers.
struct Pages {
    FakeClock clock{kNow};
    FakeLocaleFormatter formatter;
    FakeMacroValueSource source;

    Pages()
    {
        for (const Macro& macro : kMacros) {
            if (macro.value == MacroValue::Text) {
                source.texts[{macro.source, macro.controlId}] = std::string(macro.code.substr(1)) + " value";
            } else if (macro.controlId != 0) {
                source.pickers[{macro.source, macro.controlId}] = kPicker;
            }
        }
    }
    // The value of each macro, in table order, as the engine puts it in.
    std::vector<std::string> Values() const
    {
        std::vector<std::string> values;
        for (const Macro& macro : kMacros) {
            std::string text(macro.code);
            Expand(text, source, clock, formatter);
            values.push_back(text);
        }
        return values;
    }
};

// 1 MB of text with a macro every 24 bytes, cycling through the whole table.
std::string LargeText()
{
    std::string text;
    for (std::size_t i = 0; text.size() < 1024 * 1024; ++i) {
        const std::string_view code = kMacros[i % kMacroCount].code;
        text += "Some text: ";
        text += code;
        text.append(24 - 11 - code.size() - 1, '.');
        text += '\n';
    }
    return text;
}

// The floor: the same macros in the same order, each with one plain case-sensitive std::string sweep
// into a new string, values known in advance, no limit.
std::string PlainReplace(const std::string& source, const std::vector<std::string>& values)
{
    std::string text = source;
    for (std::size_t m = 0; m < kMacros.size(); ++m) {
        const std::string code(kMacros[m].code);
        std::size_t from = 0;
        std::size_t at = text.find(code);
        if (at == std::string::npos) {
            continue;
        }
        std::string out;
        out.reserve(text.size());
        for (; at != std::string::npos; at = text.find(code, from)) {
            out.append(text, from, at - from);
            out += values[m];
            from = at + code.size();
        }
        out.append(text, from, std::string::npos);
        text.swap(out);
    }
    return text;
}

void BM_ExpandLargeText(benchmark::State& state)
{
    const Pages pages;
    const std::string source = LargeText();
    std::string check = source;
    Expand(check, pages.source, pages.clock, pages.formatter);
    if (check != PlainReplace(source, pages.Values())) {
        state.SkipWithError("the floor does other work than the engine");
        return;
    }
    for (auto _ : state) {
        std::string text = source;
        Expand(text, pages.source, pages.clock, pages.formatter);
        benchmark::DoNotOptimize(text);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * source.size()));
}
BENCHMARK(BM_ExpandLargeText)->Unit(benchmark::kMillisecond);

void BM_PlainReplaceFloor(benchmark::State& state)
{
    const Pages pages;
    const std::string source = LargeText();
    const std::vector<std::string> values = pages.Values();
    for (auto _ : state) {
        std::string text = PlainReplace(source, values);
        benchmark::DoNotOptimize(text);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * source.size()));
}
BENCHMARK(BM_PlainReplaceFloor)->Unit(benchmark::kMillisecond);

// The slowest scan: every byte a '%' that starts no macro, looked at once for each of the 54 macros.
void BM_ExpandPercentSigns(benchmark::State& state)
{
    const Pages pages;
    const std::string source(1024 * 1024, '%');
    for (auto _ : state) {
        std::string text = source;
        Expand(text, pages.source, pages.clock, pages.formatter);
        benchmark::DoNotOptimize(text);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * source.size()));
}
BENCHMARK(BM_ExpandPercentSigns)->Unit(benchmark::kMillisecond);

// Language texts holding codes: the weekday 204 x %IL%, Yes/No 204 x %ISE%, the seasons 204 x %ISG%, the
// signs 204 x %IYR%; state.range(0) of these levels below %IWD%, the other fields plain words.
void BM_ExpandNestedLanguageTexts(benchmark::State& state)
{
    struct Level {
        std::pair<MacroSource, int> field;
        std::string_view word, next;
    };
    const Level chain[] = {{{MacroSource::General, 1039}, "Monday", "%IL%"},
                           {{MacroSource::General, 1064}, "Yes", "%ISE%"},
                           {{MacroSource::General, 1045}, "Winter", "%ISG%"},
                           {{MacroSource::Horoscope, 1108}, "Aries", "%IYR%"}};
    Pages pages;
    for (std::size_t level = 0; level < std::size(chain); ++level) {
        std::string value;
        for (int i = 0; i < 204 && static_cast<std::int64_t>(level) < state.range(0); ++i) {
            value += chain[level].next;
        }
        pages.source.texts[chain[level].field] = value.empty() ? std::string(chain[level].word) : value;
    }
    pages.source.texts[{MacroSource::Horoscope, 1109}] = "Rat";
    std::size_t size = 0;
    bool capped = false;
    for (auto _ : state) {
        std::string text = "Day: %IWD%\n";
        capped = Expand(text, pages.source, pages.clock, pages.formatter).capped;
        size = text.size();
        benchmark::DoNotOptimize(text);
    }
    state.counters["MiB"] = static_cast<double>(size) / (1024.0 * 1024.0);
    state.counters["capped"] = capped ? 1 : 0;
}
BENCHMARK(BM_ExpandNestedLanguageTexts)->DenseRange(1, 4)->Unit(benchmark::kMillisecond);

}   // namespace
