// Every way of ending the program ends it well and leaves the nine settings behind.

#include <sys/stat.h>

#include <csignal>
#include <filesystem>
#include <iterator>
#include <string>

#include "e2e/player_fixture.h"

namespace e2e {
namespace {

const char* const kSettingNames[] = {"AutoRewind", "Repeat", "Zoom", "StretchWindow", "Volume", "x", "y", "cx", "cy"};

class Closing : public PlayerTest {
protected:
    void ExpectAllNineSaved()
    {
        const auto saved = ReadSettings();
        for (const char* name : kSettingNames)
            EXPECT_EQ(saved.count(name), 1u) << name << " not saved";
        EXPECT_EQ(saved.size(), std::size(kSettingNames));
    }
};

TEST_F(Closing, EscapeSavesThePlacementThatTheNextStartRestores)
{
    Launch();
    const SizedRect first = Geometry();
    DragBy(first.left + 100, first.top + 40, 37, 23);
    const SizedRect moved{first.left + 37, first.top + 23, first.width, first.height};
    ASSERT_TRUE(Eventually([&] { return Geometry() == moved; })) << testing::PrintToString(Geometry());

    PressKey("Escape", moved.left + 100, moved.top + 40);
    const harness::ExitStatus status = WaitForExit();
    EXPECT_EQ(status.code, 0);
    ExpectAllNineSaved();
    const auto saved = ReadSettings();
    EXPECT_EQ(saved.at("AutoRewind"), "1");
    EXPECT_EQ(saved.at("Repeat"), "0");
    EXPECT_EQ(saved.at("Zoom"), "0");
    EXPECT_EQ(saved.at("StretchWindow"), "0");
    EXPECT_EQ(saved.at("Volume"), "5");
    EXPECT_EQ(saved.at("x"), std::to_string(moved.left));
    EXPECT_EQ(saved.at("y"), std::to_string(moved.top));
    EXPECT_EQ(saved.at("cx"), std::to_string(moved.width));
    EXPECT_EQ(saved.at("cy"), std::to_string(moved.height));

    Launch();
    EXPECT_TRUE(Eventually([&] { return Geometry() == moved; })) << testing::PrintToString(Geometry());
}

TEST_F(Closing, EnterDoesNotClose)
{
    Launch();
    const SizedRect window = Geometry();
    PressKey("Return", window.left + 100, window.top + 40);
    // The window still follows a drag made after the key, so the key was handled and left it open.
    DragBy(window.left + 100, window.top + 40, 37, 23);
    const SizedRect moved{window.left + 37, window.top + 23, window.width, window.height};
    EXPECT_TRUE(Eventually([&] { return Geometry() == moved; })) << testing::PrintToString(Geometry());
    EXPECT_TRUE(Player().Running());
}

class ClosingSignal : public Closing, public testing::WithParamInterface<int> {};

TEST_P(ClosingSignal, EndsWithSuccessAndSaves)
{
    // Only a placement stored: the rest gets written too, with what this run held.
    WriteSettings({
        {"x",      60 },
        {"y",      40 },
        {"cx",     250},
        {"cy",     120},
        {"Repeat", 2  },
        {"Volume", 42 }
    });
    Launch();
    ASSERT_EQ(Geometry(), (SizedRect{60, 40, 250, 120}));
    Player().Signal(GetParam());
    const harness::ExitStatus status = WaitForExit();
    EXPECT_EQ(status.code, 0);
    EXPECT_FALSE(status.signal) << "ended by signal " << status.signal.value_or(0);
    ExpectAllNineSaved();
    const auto saved = ReadSettings();
    EXPECT_EQ(saved.at("Repeat"), "2");
    EXPECT_EQ(saved.at("Volume"), "42");
    EXPECT_EQ(saved.at("AutoRewind"), "1");
    EXPECT_EQ(saved.at("x"), "60");
    EXPECT_EQ(saved.at("cy"), "120");
}

INSTANTIATE_TEST_SUITE_P(Signals, ClosingSignal, testing::Values(SIGTERM, SIGINT),
                         [](const testing::TestParamInfo<int>& test) {
                             return test.param == SIGTERM ? std::string("Term") : std::string("Interrupt");
                         });

// Something other than a settings file where the settings go: the player starts, ends on
// Escape and leaves it as it was.
class ClosingBeside : public Closing, public testing::WithParamInterface<std::string> {
protected:
    bool IsPipe(const std::string& path) const
    {
        struct stat info {};
        return ::lstat(path.c_str(), &info) == 0 && S_ISFIFO(info.st_mode);
    }
};

TEST_P(ClosingBeside, StartsEndsAndLeavesItAlone)
{
    const std::string kind = GetParam();
    const std::string path = SettingsPath();
    const std::string pipe = m_config / "pipe";
    std::filesystem::create_directories(m_config / "Quorvel");
    if (kind == "Pipe") {
        ASSERT_EQ(::mkfifo(path.c_str(), 0644), 0);
    } else if (kind == "LinkToPipe") {
        ASSERT_EQ(::mkfifo(pipe.c_str(), 0644), 0);
        std::filesystem::create_symlink(pipe, path);
    } else {
        WriteSettings({
            {"Volume", 3}
        });
        std::filesystem::create_directory(path + ".lock");
    }

    Launch();
    const SizedRect window = Geometry();
    PressKey("Escape", window.left + 100, window.top + 40);
    const harness::ExitStatus status = WaitForExit();
    EXPECT_EQ(status.code, 0);
    EXPECT_FALSE(status.signal) << "ended by signal " << status.signal.value_or(0);

    if (kind == "Pipe") {
        EXPECT_TRUE(IsPipe(path));
    } else if (kind == "LinkToPipe") {
        EXPECT_TRUE(std::filesystem::is_symlink(path));
        EXPECT_TRUE(IsPipe(pipe));
    } else {
        ExpectAllNineSaved();
        EXPECT_EQ(ReadSettings().at("Volume"), "3");
    }
}

INSTANTIATE_TEST_SUITE_P(Settings, ClosingBeside, testing::Values("Pipe", "LinkToPipe", "LockFolder"),
                         [](const testing::TestParamInfo<std::string>& test) { return test.param; });

}  // namespace
}  // namespace e2e
