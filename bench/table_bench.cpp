// Loading and saving a full table, each beside a plain read or write of the same
// 478,800 bytes through the same standard streams, in a folder of its own; the ratios follow
// the table of timings.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/slot_table.h"
#include "core/std_table_storage.h"
#include "core/table_file.h"

namespace {

namespace fs = std::filesystem;
using quenda::kTableFileBytes;

fs::path g_dir;
quenda::SlotTable g_table;
quenda::StdTableStorage g_storage;
std::unique_ptr<quenda::TableFile> g_file;

fs::path PlainFile() { return g_dir / "plain.bin"; }

// Every field filled to its width and every icon drawn in many colours, so that nothing is
// cheaper than in a table in real use.
void FillTable() {
  g_table = quenda::SlotTable{};
  for (int page = 0; page < quenda::kPageCount; ++page) {
    for (int slot = 0; slot < quenda::kSlotsPerPage; ++slot) {
      const std::string id = std::to_string(page * 100 + slot);
      for (int field = 0; field < quenda::kFieldCount; ++field) {
        quenda::SetSlotField(g_table, field, page, slot, std::string(300, char('a' + field)) + id);
      }
      quenda::Picture picture(32, 32);
      for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
          picture.Set(x, y,
                      quenda::Rgb((x * 8 + page) << 16 | (y * 8) << 8 | ((x ^ y) * 8 + slot)));
        }
      }
      quenda::StoreSlotIcon(g_table, page, slot, picture);
    }
  }
}

void BM_LoadTable(benchmark::State& state) {
  for (auto _ : state) {
    if (quenda::MaybeError error = g_file->Load(g_table)) {
      state.SkipWithError(quenda::ErrorText(*error).c_str());
      break;
    }
  }
  state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(kTableFileBytes));
}

void BM_PlainRead(benchmark::State& state) {
  std::vector<char> bytes(kTableFileBytes);
  for (auto _ : state) {
    std::ifstream in(PlainFile(), std::ios::binary);
    in.read(bytes.data(), std::streamsize(bytes.size()));
    if (in.gcount() != std::streamsize(bytes.size())) {
      state.SkipWithError("short read");
      break;
    }
    benchmark::DoNotOptimize(bytes.data());
  }
  state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(kTableFileBytes));
}

void BM_SaveTable(benchmark::State& state) {
  for (auto _ : state) {
    if (quenda::MaybeError error = g_file->Save(g_table)) {
      state.SkipWithError(quenda::ErrorText(*error).c_str());
      break;
    }
  }
  state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(kTableFileBytes));
}

void BM_PlainWrite(benchmark::State& state) {
  const std::vector<char> bytes(kTableFileBytes, 'x');
  for (auto _ : state) {
    std::ofstream out(PlainFile(), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), std::streamsize(bytes.size()));
    out.flush();
    if (!out) {
      state.SkipWithError("write failed");
      break;
    }
  }
  state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(kTableFileBytes));
}

// The first N fields with a whole text of 300 bytes beside them; they go into the table file's
// block.
void BM_SaveTableWithWholeTexts(benchmark::State& state) {
  const quenda::SlotTable plain = g_table;
  for (int n = 0; n < state.range(0); ++n) {
    const int page = n / 2 / quenda::kSlotsPerPage, slot = n / 2 % quenda::kSlotsPerPage;
    const int field = n % 2 ? quenda::WorkFolder : quenda::Target;
    quenda::SetSlotWholeText(g_table, field, page, slot,
                             std::string(296, 'w') + "\xed\x95\x9c" + std::to_string(slot));
  }
  for (auto _ : state) {
    if (quenda::MaybeError error = g_file->Save(g_table)) {
      state.SkipWithError(quenda::ErrorText(*error).c_str());
      break;
    }
  }
  state.counters["file_bytes"] = double(fs::file_size(g_file->Path()));
  g_table = plain;
  (void)g_file->Save(g_table);
  state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(kTableFileBytes));
}

// What a look for another writer's change costs while there is none: one look at the file's
// version.
void BM_SyncUnchanged(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(g_file->Sync(g_table).changed);
}

// Another writer replaced the file, and this side has a change of its own: the file is read and
// merged slot by slot.
void BM_NoticeAndMerge(benchmark::State& state) {
  quenda::SlotTable other = g_table;
  quenda::TableFile other_file(g_dir, g_storage, "OTHER");
  const quenda::SlotTable kept = g_table;
  int round = 0;
  for (auto _ : state) {
    state.PauseTiming();
    quenda::SetSlotField(other, quenda::Memo, 1, round % 25, "other " + std::to_string(round));
    quenda::SetSlotField(g_table, quenda::Memo, 2, round % 25, "mine " + std::to_string(round));
    ++round;
    if (quenda::MaybeError error = g_storage.WriteReplace(
            g_file->Path(), quenda::SerializeTable(other))) {
      state.SkipWithError(quenda::ErrorText(*error).c_str());
      break;
    }
    state.ResumeTiming();
    if (!g_file->Sync(g_table).changed) {
      state.SkipWithError("the change went unnoticed");
      break;
    }
  }
  g_table = kept;
  (void)g_file->Save(g_table);
}

// The in-memory halves, to tell the file system's share from the codec's.
void BM_ParseTable(benchmark::State& state) {
  const std::vector<std::uint8_t> bytes = quenda::SerializeTable(g_table);
  for (auto _ : state) benchmark::DoNotOptimize(quenda::ParseTable(bytes, g_table).used);
  state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(kTableFileBytes));
}

void BM_SerializeTable(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(quenda::SerializeTable(g_table));
  state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(kTableFileBytes));
}

BENCHMARK(BM_LoadTable)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PlainRead)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SaveTable)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PlainWrite)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SaveTableWithWholeTexts)->Arg(10)->Arg(700)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SyncUnchanged)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_NoticeAndMerge)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ParseTable)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SerializeTable)->Unit(benchmark::kMicrosecond);

// The console report, remembering each benchmark's real time for the ratios.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  RatioReporter() : ConsoleReporter(OO_Tabular) {}

  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.run_type == Run::RT_Iteration && !run.error_occurred) {
        times_[run.benchmark_name()] = run.GetAdjustedRealTime();
      }
    }
  }

  void PrintRatio(const char* label, const std::string& a, const std::string& b) const {
    const auto x = times_.find(a), y = times_.find(b);
    if (x == times_.end() || y == times_.end() || y->second <= 0) return;
    std::printf("%-34s %6.2f\n", label, x->second / y->second);
  }

 private:
  std::map<std::string, double> times_;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;

  g_dir = fs::temp_directory_path() /
          ("quenda_bench_" +
           std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
  fs::create_directories(g_dir);
  g_file = std::make_unique<quenda::TableFile>(g_dir, g_storage, "BENCH");
  FillTable();
  int status = 0;
  if (quenda::MaybeError error = g_file->Save(g_table)) {
    std::fprintf(stderr, "%s\n", quenda::ErrorText(*error).c_str());
    status = 1;
  } else {
    std::ofstream(PlainFile(), std::ios::binary) << std::string(kTableFileBytes, 'x');
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\nRatios of real time (full table, %zu bytes):\n", kTableFileBytes);
    reporter.PrintRatio("LoadTable / plain read", "BM_LoadTable", "BM_PlainRead");
    reporter.PrintRatio("SaveTable / plain write", "BM_SaveTable", "BM_PlainWrite");
    reporter.PrintRatio("SaveTable, 10 whole texts / alone", "BM_SaveTableWithWholeTexts/10",
                        "BM_SaveTable");
    reporter.PrintRatio("SaveTable, 700 whole texts / alone", "BM_SaveTableWithWholeTexts/700",
                        "BM_SaveTable");
    reporter.PrintRatio("unchanged look / plain read", "BM_SyncUnchanged", "BM_PlainRead");
    reporter.PrintRatio("notice and merge / plain read", "BM_NoticeAndMerge", "BM_PlainRead");
    reporter.PrintRatio("ParseTable / plain read", "BM_ParseTable", "BM_PlainRead");
    reporter.PrintRatio("SerializeTable / plain write", "BM_SerializeTable", "BM_PlainWrite");
  }
  benchmark::Shutdown();
  std::error_code ec;
  fs::remove_all(g_dir, ec);
  return status;
}
