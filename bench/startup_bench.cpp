#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/child_run.h"

// Time from process start to the main window shown, against a bare Qt window, each started
// `runs` times in turn (default 21); the medians are compared, and the peak memory of the two.
// Uses the display in DISPLAY, or Qt's offscreen platform when there is none.
int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::atoi(argv[1]) : 21;
  if (std::getenv("DISPLAY") == nullptr && std::getenv("QT_QPA_PLATFORM") == nullptr) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
  }
  const std::string folder = bench::OwnFolder();
  struct Probe {
    std::vector<std::string> command;
    std::vector<double> seconds, peak_mb;
  };
  Probe form2{{folder + "/startup_form2_probe"}, {}, {}};
  Probe bare{{folder + "/startup_bare_probe"}, {}, {}};
  for (int i = 0; i < runs; ++i) {
    for (Probe* probe : {&form2, &bare}) {
      const bench::ChildRun run = bench::RunChild(probe->command);
      if (run.exit_status != 0) {
        std::fprintf(stderr, "startup_bench: %s failed (status %d)\n", probe->command[0].c_str(), run.exit_status);
        return 1;
      }
      probe->seconds.push_back(run.seconds);
      probe->peak_mb.push_back(static_cast<double>(run.peak_rss_kib) * 1024 / 1e6);
    }
  }

  const double form2_time = bench::Median(form2.seconds), bare_time = bench::Median(bare.seconds);
  const double form2_mb = bench::Median(form2.peak_mb), bare_mb = bench::Median(bare.peak_mb);
  std::printf("platform: %s, %d runs each\n", std::getenv("QT_QPA_PLATFORM") ? std::getenv("QT_QPA_PLATFORM") : "xcb",
              runs);
  std::printf("start to shown, median: main window %.1f ms, bare window %.1f ms, ratio %.2f (goal <= 1.20)\n",
              form2_time * 1000, bare_time * 1000, form2_time / bare_time);
  std::printf("peak memory, median: main window %.1f MB, bare window %.1f MB, difference %+.1f MB (goal <= +5.0)\n",
              form2_mb, bare_mb, form2_mb - bare_mb);
  return 0;
}
