// Loading a long program in the stand-in engine, written in the style of real inspection
// programs (operator calls, loops, conditions, exception handling, string formatting), beside
// reading the same file's bytes: what the engine adds to the I/O a load cannot avoid.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>

#include "hdevengine/HDevEngineCpp.h"
#include "support/temp_folder.h"

namespace {

// One block of a realistic program, every variable numbered by the block.
std::string block(int n) {
  const std::string i = std::to_string(n);
  return "<c>* Part " + i +
         "</c>\n"
         "<l>read_image (Image" +
         i + ", 'part_' + " + i +
         "$'03d' + '.png')</l>\n"
         "<l>threshold (Image" +
         i + ", Region" + i +
         ", 128, 255)</l>\n"
         "<l>connection (Region" +
         i + ", Parts" + i +
         ")</l>\n"
         "<l>area_center (Parts" +
         i + ", Area" + i + ", Row" + i + ", Column" + i +
         ")</l>\n"
         "<l>if (|Area" +
         i + "| &gt; 0 and max(Area" + i +
         ") &gt;= 10)</l>\n"
         "<l>    Total := Total + sum(Area" +
         i +
         ")</l>\n"
         "<l>endif</l>\n"
         "<l>try</l>\n"
         "<l>    Selected" +
         i + " := Area" + i + "[0:min([2, |Area" + i +
         "| - 1])]</l>\n"
         "<l>catch (Exception)</l>\n"
         "<l>    Codes := [Codes, Exception[0]]</l>\n"
         "<l>endtry</l>\n"
         "<l>for J := 0 to |Area" +
         i +
         "| - 1 by 1</l>\n"
         "<l>    Text := 'Area ' + J + ': ' + Area" +
         i +
         "[J]$'.1f' // for the report</l>\n"
         "<l>endfor</l>\n";
}

constexpr int kLinesPerBlock = 16;

const std::filesystem::path& scratchFolder() {
  return quorvex::test::processScratchFolder("quorvex_load_");
}

std::string writeProgram(int lines) {
  const std::filesystem::path path = scratchFolder() / ("load_" + std::to_string(lines) + ".hdev");
  std::ofstream out(path, std::ios::trunc);
  out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
         "<hdevelop file_version=\"1.0\" halcon_version=\"11.0\">\n"
         "<procedure name=\"main\">\n<interface/>\n<body>\n"
         "<l>Total := 0</l>\n<l>Codes := []</l>\n";
  for (int n = 0; n * kLinesPerBlock < lines; ++n) out << block(n);
  out << "</body>\n</procedure>\n</hdevelop>\n";
  return path.string();
}

void loadProgram(benchmark::State& state) {
  const std::string file = writeProgram(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    try {
      HDevEngineCpp::HDevProgram program(file.c_str());
      benchmark::DoNotOptimize(&program);
    } catch (const HDevEngineCpp::HDevEngineException& e) {
      state.SkipWithError(e.Message());
      break;
    }
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

void readBytes(benchmark::State& state) {
  const std::string file = writeProgram(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    std::ifstream in(file, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    benchmark::DoNotOptimize(bytes.data());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

BENCHMARK(loadProgram)->Arg(1000)->Arg(5000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(readBytes)->Arg(5000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
