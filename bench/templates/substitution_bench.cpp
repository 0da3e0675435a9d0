#include <benchmark/benchmark.h>

#include <time.h>

#include <algorithm>
#include <array>
#include <iterator>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/calendar.h"
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
    // A macro's value read from its page the plain way, as any expander must once.
    std::string Value(const Macro& macro) const
    {
        if (macro.source == MacroSource::CurrentDate || macro.source == MacroSource::CurrentTime) {
            const DateTime now = GetNow(clock);
            return (macro.source == MacroSource::CurrentDate ? FormatLongDate(formatter, now)
                                                             : FormatTime(formatter, now))
                .value_or(std::string());
        }
        if (std::optional<std::string> text = source.FieldText(macro.source, macro.controlId)) {
            return *text;
        }
        const SystemTime record = *source.PickerRecord(macro.source, macro.controlId);
        return (macro.value == MacroValue::LongDate ? FormatLongDate(formatter, DateOfRecord(record))
                                                    : FormatTime(formatter, TimeOfRecord(record)))
            .value_or(std::string());
    }
};

// `size` bytes of text with a macro every 24 bytes, cycling through the whole table.
std::string TemplateText(std::size_t size)
{
    std::string text;
    for (std::size_t i = 0; text.size() < size; ++i) {
        const std::string_view code = kMacros[i % kMacroCount].code;
        text += "Some text: ";
        text += code;
        text.append(24 - 11 - code.size() - 1, '.');
        text += '\n';
    }
    return text;
}

// The floor: one plain pass that copies the text, finds each macro (any letter case) between two percent
// signs in a hash map of the codes, and puts in its value: read from the pages the first time the macro
// is met, as the engine must, or with `known` values, known in advance.
class OnePassCopy {
public:
    explicit OnePassCopy(const Pages& pages, bool known = false) : pages_(pages)
    {
        for (std::size_t m = 0; m < kMacros.size(); ++m) {
            index_.emplace(kMacros[m].code.substr(1, kMacros[m].code.size() - 2), m);
            if (known) {
                known_[m] = pages.Value(kMacros[m]);
            }
        }
    }

    std::string operator()(std::string_view source) const
    {
        std::array<std::optional<std::string>, kMacroCount> values = known_;
        std::string out;
        out.reserve(source.size());
        std::size_t copied = 0;
        std::size_t at = source.find('%');
        while (at != std::string_view::npos) {
            const std::size_t close = source.find('%', at + 1);
            if (close == std::string_view::npos) {
                break;
            }
            const std::size_t length = close - at - 1;
            char upper[8];
            if (length >= 2 && length <= sizeof upper) {
                std::ranges::transform(source.substr(at + 1, length), upper,
                                       [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; });
                const auto found = index_.find(std::string_view(upper, length));
                if (found != index_.end()) {
                    std::optional<std::string>& value = values[found->second];
                    if (!value) {
                        value = pages_.Value(kMacros[found->second]);
                    }
                    out.append(source, copied, at - copied);
                    out += *value;
                    copied = close + 1;
                    at = source.find('%', close + 1);
                    continue;
                }
            }
            at = close;
        }
        out.append(source, copied);
        return out;
    }

private:
    const Pages& pages_;
    std::unordered_map<std::string_view, std::size_t> index_;
    std::array<std::optional<std::string>, kMacroCount> known_;
};

// CPU time of this thread, which other processes on the machine do not inflate.
double ThreadSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

const std::vector<std::int64_t> kTemplateSizes = {1 << 10, 10 << 10, 100 << 10, 1 << 20, 4 << 20};

// Expansion against its floor on the same text, interleaved: the time is the engine's alone (CPU),
// "ratio" is the engine's CPU time over the floor's.
void BM_Expand(benchmark::State& state)
{
    const Pages pages;
    const std::string source = TemplateText(static_cast<std::size_t>(state.range(0)));
    const OnePassCopy floor(pages);
    std::string check = source;
    Expand(check, pages.source, pages.clock, pages.formatter);
    if (check != floor(source)) {
        state.SkipWithError("the floor does other work than the engine");
        return;
    }
    double engineSeconds = 0;
    double floorSeconds = 0;
    for (auto _ : state) {
        const double start = ThreadSeconds();
        std::string text = source;
        Expand(text, pages.source, pages.clock, pages.formatter);
        benchmark::DoNotOptimize(text);
        const double middle = ThreadSeconds();
        std::string copy(source);
        copy = floor(copy);
        benchmark::DoNotOptimize(copy);
        const double stop = ThreadSeconds();
        engineSeconds += middle - start;
        floorSeconds += stop - middle;
        state.SetIterationTime(middle - start);
    }
    const double bytes = static_cast<double>(state.iterations()) * static_cast<double>(source.size());
    state.counters["ns/B"] = engineSeconds * 1e9 / bytes;
    state.counters["floor ns/B"] = floorSeconds * 1e9 / bytes;
    state.counters["ratio"] = engineSeconds / floorSeconds;
}
BENCHMARK(BM_Expand)->ArgsProduct({kTemplateSizes})->UseManualTime()->Unit(benchmark::kMicrosecond);

// The floor alone; with range(1), the values known in advance, which shows what reading the pages costs.
void BM_ExpandFloor(benchmark::State& state)
{
    const Pages pages;
    const std::string source = TemplateText(static_cast<std::size_t>(state.range(0)));
    const OnePassCopy floor(pages, state.range(1) != 0);
    for (auto _ : state) {
        std::string copy(source);
        copy = floor(copy);
        benchmark::DoNotOptimize(copy);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * source.size()));
}
BENCHMARK(BM_ExpandFloor)->ArgsProduct({kTemplateSizes, {0, 1}})->Unit(benchmark::kMicrosecond);

// The most percent signs a text can hold: every byte a '%' that starts no macro.
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
