#include <benchmark/benchmark.h>

#include <optional>
#include <string>
#include <vector>

#include "helpreader/chm_file.h"
#include "platform/help_reader.h"
#include "platform/proc_program_location.h"

namespace {

// The shipped help file and the reader, as built a folder above this program.
std::string BuiltFile(const char* name)
{
    return ProgramFolder(ProcProgramLocation()) + "../" + name;
}

const std::string kTopic = "/overview.htm";

// The floor: chmlib in this process, the least a topic can cost.
void BM_HelpTopicInProcess(benchmark::State& state)
{
    const std::string chm = BuiltFile("chronel.chm");
    for (auto _ : state) {
        std::optional<std::string> page = ReadChmObject(chm, kTopic);
        if (!page) {
            state.SkipWithError("no help file beside the program");
            break;
        }
        benchmark::DoNotOptimize(page);
    }
}
BENCHMARK(BM_HelpTopicInProcess);

// One topic through a reader process: fork, exec, chmlib, pipe, reap. The argument is the memory in MiB
// this process holds besides, as a running program does: fork copies its page tables.
void BM_HelpTopicThroughReader(benchmark::State& state)
{
    const std::string chm = BuiltFile("chronel.chm");
    const HelpReader reader(BuiltFile(kHelpReaderProgramName));
    std::vector<char> held(static_cast<std::size_t>(state.range(0)) << 20, '\1');
    benchmark::DoNotOptimize(held.data());
    for (auto _ : state) {
        std::optional<ChmObjects> objects = reader.Read(chm, {kTopic});
        if (!objects || objects->empty()) {
            state.SkipWithError("the reader gave nothing");
            break;
        }
        benchmark::DoNotOptimize(objects);
    }
}
BENCHMARK(BM_HelpTopicThroughReader)->Arg(0)->Arg(100)->UseRealTime()->Unit(benchmark::kMicrosecond);

// What the help window reads on its first topic: every page, stylesheet and image, in one process.
void BM_WholeHelpFileThroughReader(benchmark::State& state)
{
    const std::string chm = BuiltFile("chronel.chm");
    const HelpReader reader(BuiltFile(kHelpReaderProgramName));
    std::size_t bytes = 0;
    for (auto _ : state) {
        std::optional<ChmObjects> objects = reader.Read(chm);
        if (!objects) {
            state.SkipWithError("the reader gave nothing");
            break;
        }
        bytes = 0;
        for (const auto& [path, content] : *objects) {
            bytes += content.size();
        }
        benchmark::DoNotOptimize(objects);
    }
    state.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_WholeHelpFileThroughReader)->UseRealTime()->Unit(benchmark::kMicrosecond);

}   // namespace
