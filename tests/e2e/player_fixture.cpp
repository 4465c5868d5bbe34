#include "e2e/player_fixture.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

void PrintTo(const SizedRect& rect, std::ostream* out)
{
    *out << rect.width << "x" << rect.height << (rect.left < 0 ? "" : "+") << rect.left << (rect.top < 0 ? "" : "+")
         << rect.top;
}

namespace e2e {
namespace {

constexpr milliseconds kPollPeriod(50);

// Keeps the button press apart from the moves: the drag anchors where the pointer is when the
// press is handled.
constexpr const char* kInputPause = "0.3";

}  // namespace

bool Eventually(const std::function<bool()>& check, milliseconds limit)
{
    const auto deadline = std::chrono::steady_clock::now() + limit;
    for (;;) {
        if (check())
            return true;
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(kPollPeriod);
    }
}

void PlayerTest::Launch(const std::vector<std::string>& args)
{
    m_player.reset();
    m_window.clear();
    std::vector<std::string> argv{VANTREL_BINARY};
    argv.insert(argv.end(), args.begin(), args.end());
    std::vector<std::string> env{m_x.DisplayEnv(), "QT_QPA_PLATFORM=xcb", "XDG_CONFIG_HOME=" + m_config.Path(),
                                 "XDG_RUNTIME_DIR=" + m_config.Path(), "VANTREL_AUDIOSINK=fakesink"};
    env.insert(env.end(), m_env.begin(), m_env.end());
    m_player.emplace(harness::Command{.argv = argv, .env = env});
}

harness::ExitStatus PlayerTest::WaitForExit(milliseconds limit)
{
    m_window.clear();
    return m_player->Wait(limit);
}

std::string PlayerTest::Window()
{
    if (m_window.empty()) {
        const auto found = m_x.WaitForWindow("^Telvo", kPatience);
        EXPECT_TRUE(found) << "the player's window never appeared";
        if (found)
            m_window = *found;
    }
    return m_window;
}

std::string PlayerTest::Title()
{
    std::string name = m_x.Capture({"xdotool", "getwindowname", Window()}).out;
    if (name.ends_with('\n'))
        name.pop_back();
    return name;
}

bool PlayerTest::WaitForTitle(const std::string& title)
{
    return Eventually([&] { return Title() == title; });
}

SizedRect PlayerTest::Geometry()
{
    const harness::Output shell = m_x.Capture({"xdotool", "getwindowgeometry", "--shell", Window()});
    std::map<std::string, int> fields;
    std::istringstream lines(shell.out);
    for (std::string line; std::getline(lines, line);) {
        const auto equals = line.find('=');
        if (equals != std::string::npos)
            fields[line.substr(0, equals)] = std::stoi(line.substr(equals + 1));
    }
    EXPECT_EQ(fields.count("WIDTH"), 1u) << "no geometry for window " << Window();
    return {fields["X"], fields["Y"], fields["WIDTH"], fields["HEIGHT"]};
}

SizedRect PlayerTest::Client()
{
    const SizedRect outer = Geometry();
    return {outer.left + kFrame, outer.top + kFrame, outer.width - 2 * kFrame, outer.height - 2 * kFrame};
}

ScreenImage PlayerTest::Shot(const SizedRect& area)
{
    const std::string crop = std::to_string(area.width) + "x" + std::to_string(area.height) + "+" +
                             std::to_string(area.left) + "+" + std::to_string(area.top);
    const harness::Output ppm = m_x.Capture({"import", "-window", "root", "-crop", crop, "-depth", "8", "ppm:-"});
    auto image = ScreenImage::FromPpm(ppm.out);
    EXPECT_TRUE(image && image->Width() == area.width && image->Height() == area.height)
        << "no screenshot of " << testing::PrintToString(area);
    return image.value_or(ScreenImage{});
}

bool PlayerTest::WaitForScreen(const SizedRect& area, const std::function<bool(const ScreenImage&)>& check,
                               milliseconds limit)
{
    return Eventually([&] { return check(Shot(area)); }, limit);
}

void PlayerTest::Xdotool(std::vector<std::string> args)
{
    args.insert(args.begin(), "xdotool");
    EXPECT_EQ(m_x.Capture(args).status.code, 0) << "xdotool " << testing::PrintToString(args);
}

void PlayerTest::PressKey(const std::string& key, int x, int y)
{
    Xdotool({"mousemove", std::to_string(x), std::to_string(y), "sleep", kInputPause, "key", key});
}

void PlayerTest::DragBy(int x, int y, int dx, int dy)
{
    Xdotool({"mousemove", std::to_string(x), std::to_string(y), "sleep", kInputPause, "mousedown", "1", "sleep",
             kInputPause, "mousemove_relative", "--", std::to_string(dx), std::to_string(dy), "sleep", kInputPause,
             "mouseup", "1", "sleep", kInputPause});
}

void PlayerTest::RightClick(int x, int y)
{
    Xdotool({"mousemove", std::to_string(x), std::to_string(y), "sleep", kInputPause, "click", "3"});
}

std::string PlayerTest::SettingsPath() const
{
    return m_config / "Quorvel/vantrel.conf";
}

std::map<std::string, std::string> PlayerTest::ReadSettings() const
{
    std::map<std::string, std::string> values;
    std::ifstream file(SettingsPath());
    std::string group;
    for (std::string line; std::getline(file, line);) {
        if (line.starts_with('[')) {
            group = line;
            continue;
        }
        const auto equals = line.find('=');
        if (group == "[System]" && equals != std::string::npos) {
            values[line.substr(0, equals)] = line.substr(equals + 1);
        }
    }
    return values;
}

void PlayerTest::WriteSettings(const std::map<std::string, int>& values) const
{
    std::filesystem::create_directories(m_config / "Quorvel");
    std::ofstream file(SettingsPath());
    file << "[System]\n";
    for (const auto& [name, value] : values)
        file << name << "=" << value << "\n";
}

}  // namespace e2e
