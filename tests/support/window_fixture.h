#pragma once
// Windows made on the toolkit's offscreen platform, and a profile of their own.

#include <gtest/gtest.h>

#include <QImage>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/framework/app.h"
#include "platform/framework/window_host.h"
#include "platform/framework/wnd.h"
#include "res/resource_table.h"

class TestApp : public CWinApp {
public:
    TestApp() : CWinApp("vantrel-test") {}
};

// A top-level window that records the messages it receives.
class RecordingWnd : public CWnd {
public:
    struct Message {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    };
    std::vector<Message> messages;
    std::vector<UINT> Ids() const
    {
        std::vector<UINT> ids;
        for (const auto& m : messages)
            ids.push_back(m.message);
        return ids;
    }
    int Count(UINT message) const
    {
        int n = 0;
        for (const auto& m : messages)
            n += m.message == message ? 1 : 0;
        return n;
    }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        messages.push_back({message, wParam, lParam});
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

class WindowTest : public ::testing::Test {
protected:
    // Before any member of a derived fixture reads the settings.
    WindowTest()
        : m_config(std::filesystem::temp_directory_path() /
                   ("vantrel-window-test-" + std::to_string(::getpid()) + "-" +
                    ::testing::UnitTest::GetInstance()->current_test_info()->name()))
    {
        std::filesystem::create_directories(m_config);
        ::setenv("XDG_CONFIG_HOME", m_config.c_str(), 1);
        platform::EnsureToolkit();
        res::RegisterResources();
    }
    void TearDown() override
    {
        platform::PumpEvents(0);
        std::filesystem::remove_all(m_config);
    }
    static QImage Canvas(CWnd& wnd)
    {
        const QImage* image = platform::CanvasOf(wnd.GetSafeHwnd());
        return image != nullptr ? *image : QImage();
    }
    static bool MakeTopLevel(CWnd& wnd, int clientWidth, int clientHeight)
    {
        WindowStyle style;
        style.sizingFrame = false;
        return wnd.CreateEx(style, RECT{10, 10, 10 + clientWidth, 10 + clientHeight}, nullptr) != FALSE;
    }

    std::filesystem::path m_config;
    TestApp m_app;
};

// Pixels of one colour (0xRRGGBB) inside a rectangle of the image.
inline int CountColour(const QImage& image, QRgb rgb, int left, int top, int right, int bottom)
{
    int n = 0;
    for (int y = std::max(0, top); y < std::min(bottom, image.height()); ++y) {
        for (int x = std::max(0, left); x < std::min(right, image.width()); ++x) {
            n += (image.pixel(x, y) & 0xFFFFFF) == rgb ? 1 : 0;
        }
    }
    return n;
}

inline int CountNotBlack(const QImage& image, int left, int top, int right, int bottom)
{
    int all = 0;
    for (int y = std::max(0, top); y < std::min(bottom, image.height()); ++y) {
        for (int x = std::max(0, left); x < std::min(right, image.width()); ++x) {
            all += (image.pixel(x, y) & 0xFFFFFF) != 0 ? 1 : 0;
        }
    }
    return all;
}
