// The tests' main: GoogleTest's, and at the end a wait for threads that are still
// ending (GStreamer's pooled streaming threads go when a pipeline does). The leak
// check at exit stops every thread, and one that is half gone makes it crash.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <iterator>
#include <thread>

namespace {

std::ptrdiff_t ThreadCount()
{
    std::error_code error;
    const std::filesystem::directory_iterator tasks("/proc/self/task", error);
    return error ? 0 : std::distance(tasks, std::filesystem::directory_iterator());
}

class ThreadsSettle final : public testing::Environment {
public:
    void TearDown() override
    {
        using namespace std::chrono_literals;
        const auto deadline = std::chrono::steady_clock::now() + 3s;
        auto count = ThreadCount();
        if (count <= 1)
            return;
        auto steadySince = std::chrono::steady_clock::now();
        while (std::chrono::steady_clock::now() < deadline && std::chrono::steady_clock::now() - steadySince < 200ms) {
            std::this_thread::sleep_for(5ms);
            if (const auto now = ThreadCount(); now != count) {
                count = now;
                steadySince = std::chrono::steady_clock::now();
            }
        }
    }
};

}  // namespace

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    testing::AddGlobalTestEnvironment(new ThreadsSettle);  // GoogleTest owns it
    return RUN_ALL_TESTS();
}
