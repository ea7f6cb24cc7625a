// Engine benchmarks. Unscramble is measured against a baseline that follows
// the spelling rule literally (copy the word, find, delete); the run ends
// with a table of the speed-ups.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "ConsoleSurface.h"
#include "Exact.h"
#include "PlainRules.h"
#include "SearchCommand.h"
#include "Unscramble.h"
#include "Wild.h"
#include "WordList.h"

namespace {

using namespace lexigrove;

// A surface that collects result lines, with all options ticked.
class Collector : public ConsoleSurface {
public:
    explicit Collector(std::string text) : ConsoleSurface(std::move(text), AllOptions()) {}
    static std::array<bool, kLengthOptionCount> AllOptions() {
        std::array<bool, kLengthOptionCount> all;
        all.fill(true);
        return all;
    }
};

// A surface that only records the result lines as views into the cached
// list (which outlives every run), so that a timing measures the search and
// not the results log.
class Recorder : public Collector {
public:
    explicit Recorder(std::string text) : Collector(std::move(text)) { lines_.reserve(1 << 16); }
    void ResultsAppend(std::string_view line) override { lines_.push_back(line); }
    void ResultsClear() override { lines_.clear(); }
    const std::vector<std::string_view>& Lines() const { return lines_; }

private:
    std::vector<std::string_view> lines_;
};

// The baseline: the spelling rule step by step, copying each word and
// deleting what each typed character finds, over the same list and into the
// same kind of surface as the engine.
void BaselineUnscramble(SearchSurface& surface, const WordList& list) {
    const std::string text = surface.ReadText();
    if (text.size() < 2) return;
    for (std::string_view entry : list) {
        if (plain::Spells(text, entry)) surface.ResultsAppend(entry);
    }
}

const std::vector<std::string>& Texts() {
    static const std::vector<std::string> texts = {
        "retains",                          // 7
        "ret?ins",                          // 7 with '?'
        "unscrambleworda",                  // 15
        "unscr?mbl?worda",                  // 15 with '?'
        "thequickbrownfoxjumpsoverlazydo",  // 30
        "thequickbrownf?xjumps?verlazyd?",  // 30 with '?'
    };
    return texts;
}

WordListCache& WarmCache() {
    static WordListCache cache;
    return cache;
}

void BM_Unscramble_Engine(benchmark::State& state) {
    const int position = static_cast<int>(state.range(0));
    const std::string& text = Texts()[static_cast<std::size_t>(state.range(1))];
    WordListCache& cache = WarmCache();
    Collector expected(text);
    BaselineUnscramble(expected, cache.Fetch(OptionWordLength(position)));
    Collector check(text);
    UnscrambleLength(check, cache, position);
    if (check.Output() != expected.Output()) {
        state.SkipWithError("engine and baseline disagree");
        return;
    }
    Recorder surface(text);
    for (auto _ : state) {
        surface.ResultsClear();
        UnscrambleLength(surface, cache, position);
        benchmark::DoNotOptimize(surface.Lines().data());
    }
}

void BM_Unscramble_Baseline(benchmark::State& state) {
    const int position = static_cast<int>(state.range(0));
    const std::string& text = Texts()[static_cast<std::size_t>(state.range(1))];
    const WordList& list = WarmCache().Fetch(OptionWordLength(position));
    Recorder surface(text);
    for (auto _ : state) {
        surface.ResultsClear();
        BaselineUnscramble(surface, list);
        benchmark::DoNotOptimize(surface.Lines().data());
    }
}

// Each case's engine run right before its baseline run, so that the two
// times compared meet the same load on a shared machine.
void RegisterUnscramblePairs() {
    for (int position = 0; position < kLengthOptionCount; ++position) {
        for (int text = 0; text < 6; ++text) {
            benchmark::RegisterBenchmark("BM_Unscramble_Engine", BM_Unscramble_Engine)
                ->Args({position, text})
                ->MinTime(0.05);
            benchmark::RegisterBenchmark("BM_Unscramble_Baseline", BM_Unscramble_Baseline)
                ->Args({position, text})
                ->MinTime(0.05);
        }
    }
}

// Loading and splitting all fourteen lists into an empty cache.
void BM_FirstLoadAllLists(benchmark::State& state) {
    for (auto _ : state) {
        WordListCache cache;
        std::size_t words = 0;
        for (int length = 2; length <= 15; ++length) words += cache.Fetch(length).size();
        benchmark::DoNotOptimize(words);
    }
}
BENCHMARK(BM_FirstLoadAllLists)->Unit(benchmark::kMicrosecond);

void RunCommand(benchmark::State& state, const std::string& text, int mode) {
    WordListCache& cache = WarmCache();
    std::size_t lines = 0;
    for (auto _ : state) {
        Collector surface(text);
        bFindClick(surface, cache, mode);
        lines = static_cast<std::size_t>(surface.ResultsLineCount());
    }
    state.counters["lines"] = static_cast<double>(lines);
}

void BM_Wild_SevenWildcards(benchmark::State& state) { RunCommand(state, "???????", kWild); }
void BM_Wild_FifteenLetters(benchmark::State& state) { RunCommand(state, "absentm?ndednes", kWild); }
void BM_Exact_Found(benchmark::State& state) { RunCommand(state, "zyzzyvas", kExact); }
void BM_Exact_LongList(benchmark::State& state) { RunCommand(state, "zoogeographically", kExact); }
BENCHMARK(BM_Wild_SevenWildcards)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Wild_FifteenLetters)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Exact_Found)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Exact_LongList)->Unit(benchmark::kMicrosecond);

// A pasted million characters, over all lengths with a warm cache.
std::string MillionCharacters(bool withWildcards) {
    std::string text;
    text.reserve(1000000);
    for (std::size_t i = 0; text.size() < 1000000; ++i)
        text += withWildcards && i % 7 == 3 ? '?' : static_cast<char>('a' + (i * 11) % 26);
    return text;
}
void BM_Unscramble_MillionLetters(benchmark::State& state) { RunCommand(state, MillionCharacters(false), kUnscramble); }
void BM_Unscramble_MillionMixed(benchmark::State& state) { RunCommand(state, MillionCharacters(true), kUnscramble); }
BENCHMARK(BM_Unscramble_MillionLetters)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Unscramble_MillionMixed)->Unit(benchmark::kMillisecond);

// Console output as usual, and a table of engine against baseline at the end.
class SpeedupReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.error_occurred || run.iterations == 0) continue;
            // With repetitions, the median stands for each case.
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name != "median") continue;
            const std::string name = run.run_name.str();
            const double perRun = run.GetAdjustedRealTime();
            for (const char* kind : {"BM_Unscramble_Engine/", "BM_Unscramble_Baseline/"}) {
                const std::string prefix = kind;
                if (name.rfind(prefix, 0) == 0) times_[name.substr(prefix.size())][prefix] = perRun;
            }
        }
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        double worst = 0;
        std::string worstCase;
        std::printf("\nUnscramble, warm cache: baseline time / engine time (option, text)\n");
        for (const auto& [args, pair] : times_) {
            const auto engine = pair.find("BM_Unscramble_Engine/");
            const auto baseline = pair.find("BM_Unscramble_Baseline/");
            if (engine == pair.end() || baseline == pair.end()) continue;
            const double speedup = baseline->second / engine->second;
            std::printf("  %-8s %8.1fx\n", args.c_str(), speedup);
            if (worst == 0 || speedup < worst) {
                worst = speedup;
                worstCase = args;
            }
        }
        if (worst > 0) std::printf("lowest speed-up: %.1fx at %s\n", worst, worstCase.c_str());
    }

private:
    std::map<std::string, std::map<std::string, double>> times_;
};

}  // namespace

int main(int argc, char** argv) {
    RegisterUnscramblePairs();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    SpeedupReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
