// Opens media one after another in one player window, the way the menu does it
// (Render File..., the line typed, OK), and prints what the process holds after a
// warm-up and after the measured opens: resident memory, threads, open file
// descriptors and widgets.
//
//   vantrel_bench_opens WARMUP OPENS PLAY_MS GOOD... -- DAMAGED...
//
// Opens alternate between a good file, which then plays for PLAY_MS, and a
// damaged one, which fails and shows the error line; each list is taken in turn.

#include <dirent.h>

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "platform/com/dshow.h"
#include "platform/framework/app.h"
#include "res/resource.h"
#include "res/resource_table.h"
#include "ui/player/player_dlg.h"
#include "bench_player.h"

namespace {

struct Holdings {
    double rssMiB = 0;
    long threads = 0;
    long descriptors = 0;
    long widgets = 0;
};

long StatusField(const std::string& name)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(name + ":", 0) == 0)
            return std::strtol(line.c_str() + name.size() + 1, nullptr, 10);
    }
    return -1;
}

long OpenDescriptors()
{
    DIR* dir = opendir("/proc/self/fd");
    if (dir == nullptr)
        return -1;
    long count = 0;
    while (const dirent* entry = readdir(dir)) {
        if (entry->d_name[0] != '.')
            ++count;
    }
    closedir(dir);
    return count - 1;  // the one this count has open
}

Holdings Measure()
{
    return Holdings{static_cast<double>(StatusField("VmRSS")) / 1024.0, StatusField("Threads"), OpenDescriptors(),
                    static_cast<long>(QApplication::allWidgets().size())};
}

// Types `path` into the Open media dialog once it is up and accepts it.
void AnswerOpenDialog(const std::string& path)
{
    auto* poll = new QTimer;
    poll->setInterval(5);
    QObject::connect(poll, &QTimer::timeout, [poll, path] {
        QWidget* dialog = QApplication::activeModalWidget();
        if (dialog == nullptr)
            return;
        poll->stop();
        poll->deleteLater();
        dialog->findChild<QLineEdit*>()->setText(QString::fromStdString(path));
        for (auto* button : dialog->findChildren<QPushButton*>()) {
            if (button->text() == "OK")
                button->click();
        }
    });
    poll->start();
}

void Print(const char* when, const Holdings& h)
{
    std::printf("%-28s %10.1f %8ld %12ld %8ld\n", when, h.rssMiB, h.threads, h.descriptors, h.widgets);
}

}  // namespace

int main(int argc, char** argv)
{
    std::vector<std::string> good;
    std::vector<std::string> damaged;
    for (int i = 4, list = 0; i < argc; ++i) {
        if (std::string(argv[i]) == "--")
            ++list;
        else
            (list == 0 ? good : damaged).push_back(argv[i]);
    }
    if (argc < 4 || good.empty() || damaged.empty()) {
        std::fprintf(stderr, "usage: %s WARMUP OPENS PLAY_MS GOOD... -- DAMAGED...\n", argv[0]);
        return 2;
    }
    const int warmup = std::atoi(argv[1]);
    const int opens = std::atoi(argv[2]);
    const int playMs = std::atoi(argv[3]);

    BenchApp app;
    CPlayerDlg dlg;
    if (!StartBenchPlayer(app, dlg)) return 1;
    dlg.ShowWindow(SW_SHOW);
    platform::PumpEvents(100);

    int failed = 0;
    const auto openOne = [&](int index) {
        const bool playable = index % 2 == 0;
        const std::vector<std::string>& list = playable ? good : damaged;
        AnswerOpenDialog(list[static_cast<std::size_t>(index / 2) % list.size()]);
        dlg.SendMessage(WM_COMMAND, ID_FILE_OPEN, 0);
        if (playable != !dlg.m_strPath.empty())
            ++failed;
        platform::PumpEvents(playable ? playMs : 20);
    };

    const Holdings start = Measure();
    for (int i = 0; i < warmup; ++i)
        openOne(i);
    platform::PumpEvents(200);
    const Holdings warm = Measure();
    for (int i = 0; i < opens; ++i)
        openOne(warmup + i);
    platform::PumpEvents(200);
    const Holdings end = Measure();

    std::printf("%-28s %10s %8s %12s %8s\n", "", "RSS MiB", "threads", "descriptors", "widgets");
    Print("at start", start);
    Print(("after " + std::to_string(warmup) + " warm-up opens").c_str(), warm);
    Print(("after " + std::to_string(opens) + " more opens").c_str(), end);
    std::printf("%-28s %10.1f %8ld %12ld %8ld\n", "growth over the measured", end.rssMiB - warm.rssMiB,
                end.threads - warm.threads, end.descriptors - warm.descriptors, end.widgets - warm.widgets);
    if (opens > 0)
        std::printf("%-28s %10.3f %8.2f %12.2f\n", "per open", (end.rssMiB - warm.rssMiB) / opens,
                    static_cast<double>(end.threads - warm.threads) / opens,
                    static_cast<double>(end.descriptors - warm.descriptors) / opens);
    if (failed > 0)
        std::printf("%d opens did not end as expected (a good file refused or a damaged one taken)\n", failed);

    dlg.DestroyWindow();
    app.m_pMainWnd = nullptr;
    return failed > 0 ? 1 : 0;
}
