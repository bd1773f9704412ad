// Converting a request-shaped value tree from code page 936 to Unicode,
// beside raw iconv over the same bytes in one call, and the ratio of their
// throughputs (1.0: as fast as raw iconv).
#include <benchmark/benchmark.h>
#include <iconv.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "platform/core/Variant.h"
#include "platform/system/CodePages.h"
#include "services/LibStrs.h"

namespace {

using qv::Variant;

constexpr int kLeaves = 10000;

// About 100 bytes of GBK text per leaf: Chinese captions with codes and numbers.
std::string LeafText(int i) {
  static const char* const kWords[] = {"成本分类方式", "料品类别", "年月范围", "仅打印当期有入库者", "生成报表"};
  std::string utf8 = std::string(kWords[i % 5]) + " 料号 A" + std::to_string(100000 + i) + " 单价 " +
                     std::to_string(i * 37 % 10007) + ".25 仓库 W" + std::to_string(i % 97) + " 备注 期末结存";
  std::string gbk;
  qv::TryEncodeCodePage(utf8, 936, gbk);
  return gbk;
}

// [environment, captions, values]; values hold rows of rows, as condition
// lists do.
Variant RequestTree(std::size_t& bytes) {
  bytes = 0;
  int next = 0;
  auto leaf = [&] {
    std::string text = LeafText(next++);
    bytes += text.size();
    return Variant(std::move(text));
  };
  std::vector<Variant> environment, captions, values;
  for (int i = 0; i < 1000; ++i) environment.push_back(leaf());
  for (int i = 0; i < 1000; ++i) captions.push_back(leaf());
  while (next < kLeaves) {
    std::vector<Variant> row;
    for (int j = 0; j < 10 && next < kLeaves; ++j) row.push_back(Variant::ArrayOf({leaf(), j, leaf()}));
    values.push_back(Variant::ArrayOf(std::move(row)));
  }
  return Variant::ArrayOf({Variant::ArrayOf(std::move(environment)), Variant::ArrayOf(std::move(captions)),
                           Variant::ArrayOf(std::move(values))});
}

void Collect(const Variant& value, std::string& all) {
  if (value.IsText()) {
    all += value.TextRef();
  } else if (value.IsArray()) {
    for (const Variant& element : value.ArrayRef().Elements()) Collect(element, all);
  }
}

void BM_CodePageToUnicodeTree(benchmark::State& state) {
  std::size_t bytes;
  const Variant tree = RequestTree(bytes);
  for (auto _ : state) benchmark::DoNotOptimize(qv::CodePageToUnicode(tree, 936));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
}

void BM_RawIconv(benchmark::State& state) {
  std::size_t bytes;
  std::string all;
  Collect(RequestTree(bytes), all);
  iconv_t cd = iconv_open("UTF-8", "CP936");
  std::string out(all.size() * 2, '\0');
  for (auto _ : state) {
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    char* in = all.data();
    std::size_t inLeft = all.size();
    char* o = out.data();
    std::size_t outLeft = out.size();
    iconv(cd, &in, &inLeft, &o, &outLeft);
    benchmark::DoNotOptimize(o);
  }
  iconv_close(cd);
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * all.size()));
}

BENCHMARK(BM_CodePageToUnicodeTree)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_RawIconv)->Unit(benchmark::kMillisecond)->MinTime(1.0);

// Keeps each run's time per iteration so the ratio can be printed at the end.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) seconds_[run.benchmark_name()] = run.GetAdjustedRealTime();
    ConsoleReporter::ReportRuns(runs);
  }
  // 0 when the run was filtered out.
  double Seconds(const std::string& name) const {
    const auto found = seconds_.find(name);
    return found == seconds_.end() ? 0 : found->second;
  }

 private:
  std::map<std::string, double> seconds_;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  const double tree = reporter.Seconds("BM_CodePageToUnicodeTree/min_time:1.000");
  const double raw = reporter.Seconds("BM_RawIconv/min_time:1.000");
  if (tree > 0 && raw > 0)
    std::printf("\nCodePageToUnicode throughput / raw iconv throughput: %.2f (target: at least 0.50)\n", raw / tree);
  benchmark::Shutdown();
}
