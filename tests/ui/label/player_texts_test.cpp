// The texts the player window writes into its label panel.

#include <sys/time.h>
#include <utime.h>

#include <algorithm>
#include <ctime>
#include <fstream>

#include "support/window_fixture.h"
#include "ui/player/player_dlg.h"

namespace {

class PlayerTextsTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        ::setenv("TZ", "UTC", 1);
        ::tzset();
        m_app.m_pMainWnd = &dlg;
        ASSERT_TRUE(dlg.Create(IDD_PLAYER));
    }
    void TearDown() override
    {
        dlg.DestroyWindow();
        m_app.m_pMainWnd = nullptr;
        WindowTest::TearDown();
    }
    std::string MakeFile(const std::string& name, std::size_t bytes, std::time_t mtime)
    {
        const std::string path = (m_config / name).string();
        std::ofstream(path, std::ios::binary) << std::string(bytes, 'x');
        const utimbuf times{mtime, mtime};
        ::utime(path.c_str(), &times);
        return path;
    }

    CPlayerDlg dlg;
};

}  // namespace

TEST_F(PlayerTextsTest, StatusLineBeforeAnyMediumHasAnEmptyStateWord)
{
    dlg.UpdateStatus(TRUE);
    EXPECT_EQ(dlg.m_wndLabel.m_strStatus, ": 0/0  Volume: 5/10    ");
    EXPECT_EQ(dlg.m_wndLabel.m_dPosition, 0.0);
    EXPECT_EQ(dlg.m_wndLabel.m_dDuration, 0.0);
}

TEST_F(PlayerTextsTest, StatusLineTruncatesAndKeepsTheExactValuesForTheBar)
{
    dlg.m_nState = STATE_PAUSED;
    dlg.m_dDuration = 95.48;
    dlg.m_nVolume = 42;
    dlg.UpdateStatus(FALSE);
    EXPECT_EQ(dlg.m_wndLabel.m_strStatus, "Paused: 0/95  Volume: 42/10    ");
    EXPECT_EQ(dlg.m_wndLabel.m_dDuration, 95.48);
}

TEST_F(PlayerTextsTest, FileDetailsOfAnOpenedFile)
{
    dlg.m_strPath = MakeFile("clip 1.mpg", 1025, 1000000000);
    dlg.m_dDuration = 95.48;
    dlg.m_rcSource = SizedRect{0, 0, 320, 240};
    dlg.GatherFileInfo();
    EXPECT_EQ(dlg.m_strSizeText, "2KB (1,025 byte)");
    EXPECT_EQ(dlg.m_strDateText, "2001/09/09(Sun) 01:46:40");
    dlg.m_nState = STATE_PLAYING;
    dlg.UpdateInfo();
    const CLabelPanel& panel = dlg.m_wndLabel;
    EXPECT_EQ(panel.m_strStatus, "Playing: 0/95  Volume: 5/10    ");
    EXPECT_EQ(panel.m_strName, "clip 1.mpg");
    EXPECT_EQ(panel.m_strVideoSize, "Video size: 320 x 240");
    EXPECT_EQ(panel.m_strTime, "Time: 95.480000(sec)");
    EXPECT_EQ(panel.m_strSize, "Size: 2KB (1,025 byte)");
    EXPECT_EQ(panel.m_strDate, "Date: 2001/09/09(Sun) 01:46:40");
    EXPECT_EQ(panel.m_strError, "");
    EXPECT_GE(panel.m_nTick, 64) << "the info page replaces the splash";
}

TEST_F(PlayerTextsTest, MissingFilesUrlsAndOldDatesGiveTheirFallbackTexts)
{
    dlg.m_strPath = (m_config / "gone.mpg").string();
    dlg.GatherFileInfo();
    EXPECT_EQ(dlg.m_strSizeText, "Unknown.");
    EXPECT_EQ(dlg.m_strDateText, "Unknown.");

    dlg.m_strPath = "http://127.0.0.1:8080/movies/clip.mpg";
    dlg.GatherFileInfo();
    dlg.UpdateInfo();
    EXPECT_EQ(dlg.m_wndLabel.m_strName, "http://127.0.0.1:8080/movies/clip.mpg") << "a URL is shown whole";
    EXPECT_EQ(dlg.m_wndLabel.m_strSize, "Size: Unknown.");
    EXPECT_EQ(dlg.m_wndLabel.m_strDate, "Date: Unknown.");

    dlg.m_strPath = MakeFile("old.avi", 0, -86400);
    dlg.GatherFileInfo();
    EXPECT_EQ(dlg.m_strSizeText, "0KB (0 byte)");
    EXPECT_EQ(dlg.m_strDateText, "") << "a time before 1970 has no text";
}

TEST_F(PlayerTextsTest, AFailedOpenShowsOnlyTheErrorLineButKeepsTheEarlierLines)
{
    dlg.m_strPath = MakeFile("good.avi", 10, 1000000000);
    dlg.GatherFileInfo();
    dlg.UpdateInfo();
    ASSERT_EQ(dlg.m_wndLabel.m_strName, "good.avi");

    dlg.m_strPath.clear();
    dlg.UpdateInfo();
    EXPECT_EQ(dlg.m_wndLabel.m_strStatus, "");
    EXPECT_EQ(dlg.m_wndLabel.m_strError, "Error: Cannot play back the file.");
    EXPECT_EQ(dlg.m_wndLabel.m_strName, "good.avi");
    EXPECT_EQ(dlg.m_wndLabel.m_strSize, "Size: 1KB (10 byte)");

    dlg.UpdateStatus(TRUE);  // a later status refresh leaves the error display
    EXPECT_FALSE(dlg.m_wndLabel.m_strStatus.empty());
}

// A failure while playing shows the red line alone, through status refreshes (a
// tick, a volume step) and full rebuilds (a new layout); the file's lines are
// kept for the next attempt.
TEST_F(PlayerTextsTest, APlaybackFailureShowsOnlyTheErrorLineUntilItIsCleared)
{
    dlg.m_strPath = MakeFile("clip.mpg", 10, 1000000000);
    dlg.GatherFileInfo();
    dlg.m_nState = STATE_STOPPED;
    dlg.UpdateInfo();
    const CLabelPanel& panel = dlg.m_wndLabel;
    RECT rc;
    dlg.m_wndLabel.GetClientRect(&rc);
    const auto greenPixels = [&] {
        const QImage image = Canvas(dlg.m_wndLabel);
        int n = 0;
        for (int y = 0; y < std::min<int>(rc.bottom, image.height()); ++y)
            for (int x = 0; x < std::min<int>(rc.right, image.width()); ++x)
                n += qGreen(image.pixel(x, y)) != 0 ? 1 : 0;
        return n;
    };
    ASSERT_GT(greenPixels(), 0);

    dlg.m_bPlaybackFailed = 1;
    dlg.UpdateInfo();
    dlg.UpdateStatus(TRUE);
    dlg.UpdateStatus(FALSE);
    EXPECT_EQ(panel.m_strStatus, "");
    EXPECT_EQ(panel.m_strError, "Error: Cannot play back the file.");
    EXPECT_EQ(panel.m_strName, "clip.mpg");
    EXPECT_EQ(greenPixels(), 0) << "no status line, bar or info line";
    EXPECT_GT(CountNotBlack(Canvas(dlg.m_wndLabel), 0, 0, rc.right, rc.bottom), 0) << "the red line";

    dlg.m_bPlaybackFailed = 0;
    dlg.UpdateInfo();
    EXPECT_EQ(panel.m_strStatus, "Stopped: 0/0  Volume: 5/10    ");
    EXPECT_EQ(panel.m_strError, "");
    EXPECT_GT(greenPixels(), 0);
}
