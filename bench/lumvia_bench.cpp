// lumvia-bench: where a frame's time goes. Draws through the saver's own
// frame step, render state and sprite texture into a headless GL context and
// reports start-up, the cost of each module at three sizes, the engine's own
// share of a frame, heap allocations, peak memory, frame pacing under a
// model of the Windows timer at its default step and at 1 ms, and the frames
// as a model display of 60 to 144 Hz shows them, with the driver's usual
// swap interval of 1 and with the one the frame loop sets.
//
//   lumvia-bench [--frames N] [--json FILE] [--quick]
//
// N frames are measured per module and size (default 100). The report goes
// to stdout as Markdown; --json also writes it as JSON. --quick measures a
// few frames of each, to see that the benchmark runs.
#include <sys/resource.h>
#include <sys/utsname.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "bench/bench_seams.h"
#include "core/module_table.h"
#include "core/random.h"
#include "core/saver_state.h"
#include "frames/frame.h"
#include "render/gl.h"
#include "render/gl_context.h"
#include "render/headless_gl.h"
#include "scenes/modules.h"
#include "scenes/skeleton.h"
#include "settings/store.h"

namespace {

struct Size {
  int width;
  int height;
};
constexpr Size kSizes[] = {{640, 480}, {1024, 768}, {1920, 1080}};
constexpr Size kPacingSizes[] = {{640, 480}, {1024, 768}};
constexpr double kTimerSteps[] = {15.625, 1.0};  // the Windows default, a 1 ms period
constexpr int kRefreshRates[] = {60, 75, 120, 144};
constexpr double kDrawCosts[] = {5, 25};  // ms a frame takes to draw on the model display
constexpr int kWarmStarts = 5;
constexpr int kWarmFrames = 10;

struct Options {
  int frames = 100;        // per module and size
  int engineFrames = 2000; // per module, nothing drawn
  int pacingFrames = 300;  // per clock and size
  int shownFrames = 600;   // per display, drawing cost and swap interval
  std::string json;
};

struct Stats {
  size_t count = 0;
  double min = 0, median = 0, p99 = 0, max = 0;
};

Stats Summarise(std::vector<double> values) {
  Stats s;
  s.count = values.size();
  if (values.empty()) return s;
  std::sort(values.begin(), values.end());
  const size_t n = values.size();
  s.min = values.front();
  s.max = values.back();
  s.median = n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
  // The nearest rank: the smallest value with at least 99 % at or below it.
  size_t rank = (n * 99 + 99) / 100;
  s.p99 = values[std::min(n, std::max<size_t>(rank, 1)) - 1];
  return s;
}

// --- What the run found --------------------------------------------------------

struct StartUp {
  double context = 0, decode = 0, mipmap = 0, firstFrame = 0;
};

struct ModuleCost {
  double cpuMsPerFrame = 0;
  double framesPerSecond = 0;
};

struct EngineShare {
  double quadricsPerFrame = 0;
  double usPerFrame = 0;         // real time, nothing drawn
  // Steady state, over the drawn frames of every size.
  double mallocsPerFrame = 0;  // from our own code
  double newsPerFrame = 0;     // operator new anywhere in the process
};

struct Pacing {
  double step = 0;
  Size size{};
  Stats starts;  // from one frame's start (just after its pacing) to the next one's
  Stats swaps;   // from one frame's end (its buffer swap) to the next one's
  Stats draw;    // real time of one frame step without its sleep
};

struct Shown {
  int hz = 0;
  double drawMs = 0;
  int swapInterval = 0;
  Stats intervals;            // from one shown frame to the next
  double unevenPerSecond = 0;  // intervals of another number of refreshes than the median's
};

struct Report {
  std::string machine, cpu, glVersion, glRenderer;
  double loadBefore = 0, loadAfter = 0;
  int frames = 0;
  StartUp cold;
  StartUp warm;  // median of the warm starts, each part on its own
  ModuleCost cost[kModuleSlots][std::size(kSizes)];
  EngineShare share[kModuleSlots];
  std::vector<Pacing> pacing;
  std::vector<Shown> shown;
  double peakMiB = 0;
  uint64_t startUpMallocs = 0, startUpNews = 0;
};

// --- The machine -----------------------------------------------------------------

std::string CpuModel() {
  std::ifstream in("/proc/cpuinfo");
  std::string line;
  while (std::getline(in, line))
    if (line.rfind("model name", 0) == 0) return line.substr(line.find(':') + 2);
  return "unknown CPU";
}

double LoadAverage() {
  double load[1] = {0};
  return getloadavg(load, 1) == 1 ? load[0] : -1;
}

void DescribeMachine(Report& r) {
  utsname u{};
  uname(&u);
  r.machine = std::string(u.sysname) + " " + u.release + " " + u.machine;
  r.cpu = CpuModel() + " x " + std::to_string(sysconf(_SC_NPROCESSORS_ONLN));
}

// --- Running frames -----------------------------------------------------------------

bool MakeContext(Size size) {
  DestroyGLContext();
  SetHeadlessSize(size.width, size.height);
  if (CreateGLContext(nullptr, kColourBits)) return true;
  std::fprintf(stderr, "lumvia-bench: no OpenGL context (EGL, Mesa surfaceless) at %dx%d\n",
               size.width, size.height);
  return false;
}

// The saver showing this module alone, from its first frame, with the
// built-in settings and a fixed random seed.
void ShowOnly(int module) {
  SetBuiltInDefaults();
  for (int n = 1; n <= kModuleCount; ++n) ModuleTable[n].active = n == module;
  CycleTime = 15;
  FrameState = {};
  SeedRandom(1);
  CurrentModule = module;
  LoadModuleParams(module);
  StartSaverState(true, nullptr, true);
  SaverState.LastSwitchTime = TickCount();
}

void Frames(int count) {
  for (int i = 0; i < count; ++i) RenderFrame(nullptr);
}

StartUp MeasureStartUp(Size size) {
  bench::Counts& c = bench::Counted();
  c.decodeMs = c.mipmapMs = 0;
  StartUp s;
  const double start = bench::WallMs();
  if (!MakeContext(size)) std::exit(1);
  s.context = bench::WallMs() - start - c.decodeMs - c.mipmapMs;
  s.decode = c.decodeMs;
  s.mipmap = c.mipmapMs;
  ShowOnly(1);
  const double frame = bench::WallMs();
  RenderFrame(nullptr);
  s.firstFrame = bench::WallMs() - frame;
  return s;
}

void MeasureStartUps(Report& r, Size size) {
  const bench::Counts before = bench::Counted();
  r.cold = MeasureStartUp(size);
  r.startUpMallocs = bench::Counted().mallocs - before.mallocs;
  r.startUpNews = bench::Counted().news - before.news;
  r.glVersion = reinterpret_cast<const char*>(glGetString(GL_VERSION));
  r.glRenderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
  std::vector<double> context, decode, mipmap, first;
  for (int i = 0; i < kWarmStarts; ++i) {
    const StartUp s = MeasureStartUp(size);
    context.push_back(s.context);
    decode.push_back(s.decode);
    mipmap.push_back(s.mipmap);
    first.push_back(s.firstFrame);
  }
  r.warm = {Summarise(context).median, Summarise(decode).median, Summarise(mipmap).median,
            Summarise(first).median};
}

void MeasureModules(Report& r, const Options& o) {
  bench::UseUnpacedClock();
  for (size_t z = 0; z < std::size(kSizes); ++z) {
    if (!MakeContext(kSizes[z])) std::exit(1);
    for (int module = 1; module <= kModuleCount; ++module) {
      ShowOnly(module);
      Frames(kWarmFrames);
      const double cpu = bench::CpuMs(), wall = bench::WallMs();
      const bench::Counts before = bench::Counted();
      Frames(o.frames);
      ModuleCost& cost = r.cost[module][z];
      cost.cpuMsPerFrame = (bench::CpuMs() - cpu) / o.frames;
      cost.framesPerSecond = o.frames * 1000.0 / (bench::WallMs() - wall);
      const double frames = static_cast<double>(o.frames * std::size(kSizes));
      r.share[module].mallocsPerFrame += (bench::Counted().mallocs - before.mallocs) / frames;
      r.share[module].newsPerFrame += (bench::Counted().news - before.news) / frames;
    }
  }
}

// The frame step and the scenes with the quadrics and clears counted, not
// drawn: what is left is our own arithmetic and the matrix calls.
void MeasureEngineShare(Report& r, const Options& o) {
  bench::UseUnpacedClock();
  if (!MakeContext(kSizes[0])) std::exit(1);
  bench::SetDrawing(false);
  for (int module = 1; module <= kModuleCount; ++module) {
    ShowOnly(module);
    Frames(kWarmFrames);
    bench::Counts& c = bench::Counted();
    const uint64_t quadrics = c.quadrics;
    const double wall = bench::WallMs();
    Frames(o.engineFrames);
    EngineShare& s = r.share[module];
    s.usPerFrame = (bench::WallMs() - wall) * 1000.0 / o.engineFrames;
    s.quadricsPerFrame = static_cast<double>(c.quadrics - quadrics) / o.engineFrames;
  }
  bench::SetDrawing(true);
}

std::vector<double> Intervals(const std::vector<double>& times) {
  std::vector<double> intervals;
  for (size_t i = 1; i < times.size(); ++i) intervals.push_back(times[i] - times[i - 1]);
  return intervals;
}

// Frames of "Love" paced by the real frame step under a model timer.
void MeasurePacing(Report& r, const Options& o) {
  for (double step : kTimerSteps) {
    for (Size size : kPacingSizes) {
      if (!MakeContext(size)) std::exit(1);
      bench::UseSteppedClock(step);
      ShowOnly(1);
      Frames(kWarmFrames);
      std::vector<double> starts, swaps, draws;
      starts.reserve(o.pacingFrames);
      bench::RecordFrameStarts(&starts);
      for (int i = 0; i < o.pacingFrames; ++i) {
        const double wall = bench::WallMs();
        RenderFrame(nullptr);
        draws.push_back(bench::WallMs() - wall);
        swaps.push_back(bench::ClockNow());
      }
      bench::RecordFrameStarts(nullptr);
      r.pacing.push_back({step, size, Summarise(Intervals(starts)), Summarise(Intervals(swaps)),
                          Summarise(draws)});
    }
  }
  bench::UseUnpacedClock();
}

// Frames with nothing drawn (no module enabled), paced by the real frame step
// on the model display's clock: the swap interval of 1 that drivers usually
// start with, and the one the frame loop sets for the rate.
void MeasureShownFrames(Report& r, const Options& o) {
  SetBuiltInDefaults();
  for (int n = 1; n <= kModuleCount; ++n) ModuleTable[n].active = false;
  CurrentModule = 0;
  for (int hz : kRefreshRates) {
    for (double drawMs : kDrawCosts) {
      for (int interval : {1, SwapIntervalFor(hz)}) {
        std::vector<double> shown;
        bench::UseModelDisplay(hz, interval, drawMs, &shown);
        StartSaverState(true, nullptr, false);
        Frames(kWarmFrames);
        shown.clear();
        Frames(o.shownFrames);
        const Stats stats = Summarise(Intervals(shown));
        const double period = 1000.0 / hz;
        const long refreshes = std::lround(stats.median / period);
        int uneven = 0;
        for (double gap : Intervals(shown)) uneven += std::lround(gap / period) != refreshes;
        const double seconds = (shown.back() - shown.front()) / 1000.0;
        r.shown.push_back({hz, drawMs, interval, stats, seconds > 0 ? uneven / seconds : 0});
      }
    }
  }
  bench::UseUnpacedClock();
}

// --- The report ------------------------------------------------------------------------

std::string SizeName(Size s) { return std::to_string(s.width) + "x" + std::to_string(s.height); }

void PrintMarkdown(const Report& r, FILE* out) {
  std::fprintf(out, "# lumvia-bench\n\n");
  std::fprintf(out, "- machine: %s, %s\n", r.machine.c_str(), r.cpu.c_str());
  std::fprintf(out, "- GL: %s, %s\n", r.glVersion.c_str(), r.glRenderer.c_str());
  std::fprintf(out, "- load average (1 min): %.2f at the start, %.2f at the end\n\n", r.loadBefore,
               r.loadAfter);

  std::fprintf(out, "## Start-up at 640x480 (ms)\n\n");
  std::fprintf(out, "| step | first in the process | again (median of %d) |\n|---|---:|---:|\n",
               kWarmStarts);
  const struct {
    const char* name;
    double cold, warm;
  } steps[] = {{"context creation", r.cold.context, r.warm.context},
               {"texture decode", r.cold.decode, r.warm.decode},
               {"mipmap build", r.cold.mipmap, r.warm.mipmap},
               {"first frame", r.cold.firstFrame, r.warm.firstFrame}};
  for (const auto& s : steps) std::fprintf(out, "| %s | %.1f | %.1f |\n", s.name, s.cold, s.warm);
  std::fprintf(out, "\nHeap allocations during the first start-up: %llu by our code (malloc), "
                    "%llu operator new in the whole process, the driver's shader compiler included\n\n",
               static_cast<unsigned long long>(r.startUpMallocs),
               static_cast<unsigned long long>(r.startUpNews));

  std::fprintf(out, "## Modules, unpaced, %d frames each: CPU ms per frame / frames per second\n\n",
               r.frames);
  std::fprintf(out, "| module |");
  for (Size s : kSizes) std::fprintf(out, " %s |", SizeName(s).c_str());
  std::fprintf(out, "\n|---|");
  for (size_t z = 0; z < std::size(kSizes); ++z) std::fprintf(out, "---:|");
  std::fprintf(out, "\n");
  for (int m = 1; m <= kModuleCount; ++m) {
    std::fprintf(out, "| %d %s |", m, Modules[m].name);
    for (size_t z = 0; z < std::size(kSizes); ++z)
      std::fprintf(out, " %.1f / %.0f |", r.cost[m][z].cpuMsPerFrame, r.cost[m][z].framesPerSecond);
    std::fprintf(out, "\n");
  }

  std::fprintf(out, "\n## The engine's share of a frame (quadrics and clears counted, not drawn)\n\n");
  std::fprintf(out, "| module | quadrics per frame | µs per frame | heap allocations per drawn frame: "
                    "malloc by our code / operator new anywhere |\n|---|---:|---:|---:|\n");
  for (int m = 1; m <= kModuleCount; ++m)
    std::fprintf(out, "| %d %s | %.0f | %.1f | %.2f / %.2f |\n", m, Modules[m].name,
                 r.share[m].quadricsPerFrame, r.share[m].usPerFrame, r.share[m].mallocsPerFrame,
                 r.share[m].newsPerFrame);
  std::fprintf(out, "\nPeak resident memory: %.1f MiB\n\n", r.peakMiB);

  std::fprintf(out, "## Pacing of \"Love\" under a model timer (ms)\n\n");
  std::fprintf(out, "| clock and sleep step | size | intervals | start to start: min | median | p99 |"
                    " swap to swap: min | median | p99 | frame step median |\n"
                    "|---|---|---:|---:|---:|---:|---:|---:|---:|---:|\n");
  for (const Pacing& p : r.pacing)
    std::fprintf(out, "| %g ms | %s | %zu | %.1f | %.1f | %.1f | %.1f | %.1f | %.1f | %.1f |\n",
                 p.step, SizeName(p.size).c_str(), p.starts.count, p.starts.min, p.starts.median,
                 p.starts.p99, p.swaps.min, p.swaps.median, p.swaps.p99, p.draw.median);

  std::fprintf(out, "\n## Frames as a model display shows them (ms)\n\n");
  std::fprintf(out, "| display | drawing | swap interval | shown intervals | min | median | p99 |"
                    " uneven per second |\n|---|---:|---:|---:|---:|---:|---:|---:|\n");
  for (const Shown& s : r.shown)
    std::fprintf(out, "| %d Hz | %.0f | %d | %zu | %.1f | %.1f | %.1f | %.1f |\n", s.hz, s.drawMs,
                 s.swapInterval, s.intervals.count, s.intervals.min, s.intervals.median,
                 s.intervals.p99, s.unevenPerSecond);
}

std::string Quoted(const std::string& text) {
  std::string q = "\"";
  for (char c : text) {
    if (c == '"' || c == '\\') q += '\\';
    q += c;
  }
  return q + "\"";
}

void WriteJson(const Report& r, FILE* out) {
  std::fprintf(out, "{\n  \"machine\": %s,\n  \"cpu\": %s,\n  \"gl_version\": %s,\n"
                    "  \"gl_renderer\": %s,\n  \"load_before\": %.2f,\n  \"load_after\": %.2f,\n",
               Quoted(r.machine).c_str(), Quoted(r.cpu).c_str(), Quoted(r.glVersion).c_str(),
               Quoted(r.glRenderer).c_str(), r.loadBefore, r.loadAfter);
  auto startUp = [out](const char* name, const StartUp& s) {
    std::fprintf(out, "  \"%s\": {\"context_ms\": %.2f, \"decode_ms\": %.2f, \"mipmap_ms\": %.2f, "
                      "\"first_frame_ms\": %.2f},\n",
                 name, s.context, s.decode, s.mipmap, s.firstFrame);
  };
  startUp("start_up_first", r.cold);
  startUp("start_up_again", r.warm);
  std::fprintf(out, "  \"start_up_mallocs\": %llu,\n  \"start_up_news\": %llu,\n"
                    "  \"frames\": %d,\n  \"modules\": [\n",
               static_cast<unsigned long long>(r.startUpMallocs),
               static_cast<unsigned long long>(r.startUpNews), r.frames);
  for (int m = 1; m <= kModuleCount; ++m) {
    const EngineShare& s = r.share[m];
    std::fprintf(out, "    {\"module\": %d, \"name\": %s, \"quadrics_per_frame\": %.0f, "
                      "\"engine_us_per_frame\": %.2f, \"mallocs_per_frame\": %.3f, "
                      "\"news_per_frame\": %.3f, \"sizes\": [",
                 m, Quoted(Modules[m].name).c_str(), s.quadricsPerFrame, s.usPerFrame,
                 s.mallocsPerFrame, s.newsPerFrame);
    for (size_t z = 0; z < std::size(kSizes); ++z)
      std::fprintf(out, "%s{\"size\": \"%s\", \"cpu_ms_per_frame\": %.3f, \"fps\": %.1f}",
                   z ? ", " : "", SizeName(kSizes[z]).c_str(), r.cost[m][z].cpuMsPerFrame,
                   r.cost[m][z].framesPerSecond);
    std::fprintf(out, "]}%s\n", m < kModuleCount ? "," : "");
  }
  std::fprintf(out, "  ],\n  \"peak_resident_mib\": %.1f,\n  \"pacing\": [\n", r.peakMiB);
  auto stats = [](const Stats& t) {
    char text[160];
    std::snprintf(text, sizeof text,
                  "{\"count\": %zu, \"min\": %.2f, \"median\": %.2f, \"p99\": %.2f, \"max\": %.2f}",
                  t.count, t.min, t.median, t.p99, t.max);
    return std::string(text);
  };
  for (size_t i = 0; i < r.pacing.size(); ++i) {
    const Pacing& p = r.pacing[i];
    std::fprintf(out, "    {\"timer_step_ms\": %g, \"size\": \"%s\", \"start_intervals_ms\": %s, "
                      "\"swap_intervals_ms\": %s, \"frame_step_ms\": %s}%s\n",
                 p.step, SizeName(p.size).c_str(), stats(p.starts).c_str(), stats(p.swaps).c_str(),
                 stats(p.draw).c_str(), i + 1 < r.pacing.size() ? "," : "");
  }
  std::fprintf(out, "  ],\n  \"shown\": [\n");
  for (size_t i = 0; i < r.shown.size(); ++i) {
    const Shown& s = r.shown[i];
    std::fprintf(out, "    {\"refresh_hz\": %d, \"draw_ms\": %.0f, \"swap_interval\": %d, "
                      "\"shown_intervals_ms\": %s, \"uneven_per_second\": %.2f}%s\n",
                 s.hz, s.drawMs, s.swapInterval, stats(s.intervals).c_str(), s.unevenPerSecond,
                 i + 1 < r.shown.size() ? "," : "");
  }
  std::fprintf(out, "  ]\n}\n");
}

int Usage(const char* problem) {
  std::fprintf(stderr, "lumvia-bench: %s\nusage: lumvia-bench [--frames N] [--json FILE] [--quick]\n",
               problem);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  Options o;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
    if (arg == "--quick") {
      o.frames = 3;
      o.engineFrames = 10;
      o.pacingFrames = 10;
      o.shownFrames = 20;
    } else if (arg == "--frames" && value && std::atoi(value) > 0) {
      o.frames = std::atoi(argv[++i]);
    } else if (arg == "--json" && value && *value) {
      o.json = argv[++i];
    } else {
      return Usage(("unknown or incomplete argument " + arg).c_str());
    }
  }

  Report r;
  r.frames = o.frames;
  DescribeMachine(r);
  r.loadBefore = LoadAverage();
  MeasureStartUps(r, kSizes[0]);
  MeasurePacing(r, o);
  MeasureShownFrames(r, o);
  MeasureModules(r, o);
  MeasureEngineShare(r, o);
  DestroyGLContext();
  r.loadAfter = LoadAverage();
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  r.peakMiB = static_cast<double>(usage.ru_maxrss) / 1024.0;

  PrintMarkdown(r, stdout);
  if (!o.json.empty()) {
    FILE* out = std::fopen(o.json.c_str(), "w");
    if (!out) {
      std::fprintf(stderr, "lumvia-bench: cannot write %s\n", o.json.c_str());
      return 1;
    }
    WriteJson(r, out);
    std::fclose(out);
  }
  return 0;
}
