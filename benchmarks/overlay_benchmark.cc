// The whole logo overlay on a stand-in window: reading the window back, tiling the copies,
// the blend, and the redraw, on full-HD and 4K windows.
#include <benchmark/benchmark.h>

#include "engine/vendor.h"
#include "render/logo_overlay.h"

namespace {

using quorvex::engine::HTuple;

void overlayLogo(benchmark::State& state) {
  quorvex::render::enableLogo();
  quorvex::render::buildLogo();
  const auto width = state.range(0);
  const auto height = state.range(1);
  HTuple window;
  HalconCpp::OpenWindow(0, 0, width, height, 0, "visible", "", &window);
  for (auto _ : state) quorvex::render::overlayLogo(window);
  HalconCpp::CloseWindow(window);
  state.SetItemsProcessed(state.iterations() * width * height);
}

BENCHMARK(overlayLogo)->Args({1920, 1080})->Args({3840, 2160})->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
