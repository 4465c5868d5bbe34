// Times OpenMedia of local files on a visible player window, from the call to
// its return, and prints the fastest, median and slowest run of each file.
//
//   vantrel_bench_open RUNS PATH...
//
// The previous medium's graph is released before the clock starts, so every
// run measures building and rendering a graph, not tearing the last one down.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/framework/app.h"
#include "platform/com/dshow.h"
#include "res/resource_table.h"
#include "ui/player/player_dlg.h"
#include "bench_player.h"

namespace {

double Milliseconds(std::chrono::steady_clock::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}

double Median(std::vector<double> sorted)
{
    const std::size_t n = sorted.size();
    return n % 2 == 1 ? sorted[n / 2] : (sorted[n / 2 - 1] + sorted[n / 2]) / 2.0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s RUNS PATH...\n", argv[0]);
        return 2;
    }
    const int runs = std::max(1, std::atoi(argv[1]));

    BenchApp app;
    CPlayerDlg dlg;
    if (!StartBenchPlayer(app, dlg))
        return 1;
    platform::PumpEvents(100);

    std::printf("%-40s %5s %9s %9s %9s %9s\n", "OpenMedia", "runs", "first ms", "min ms", "median ms", "max ms");
    int status = 0;
    for (int i = 2; i < argc; ++i) {
        const std::string path = argv[i];
        std::vector<double> times;
        for (int run = 0; run < runs; ++run) {
            dlg.ReleaseGraph();
            platform::PumpEvents(20);  // let the last run's paints and notifications go by
            const auto start = std::chrono::steady_clock::now();
            const BOOL opened = dlg.OpenMedia(path, FALSE);
            const auto end = std::chrono::steady_clock::now();
            if (!opened) {
                std::fprintf(stderr, "could not open %s\n", path.c_str());
                status = 1;
                break;
            }
            times.push_back(Milliseconds(end - start));
        }
        if (times.empty())
            continue;
        const double first = times.front();
        std::sort(times.begin(), times.end());
        const std::string name = path.substr(path.find_last_of('/') + 1);
        std::printf("%-40s %5zu %9.1f %9.1f %9.1f %9.1f\n", name.c_str(), times.size(), first, times.front(),
                    Median(times), times.back());
    }
    dlg.DestroyWindow();
    app.m_pMainWnd = nullptr;
    return status;
}
