// A medium damaged while it plays on Repeat: the rewind finds nothing to play, and
// the graph reports a failure instead of ending again and again.

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <ostream>
#include <string>

#include "graph_session.h"
#include "platform/media/seek_progress.h"
#include "support/test_media.h"

namespace graph_test {
namespace {

enum class Damage { CutToNothing, Overwritten };

struct DamageCase {
    const char* medium;
    Damage damage;
};

void PrintTo(const DamageCase& c, std::ostream* out)
{
    *out << c.medium << (c.damage == Damage::CutToNothing ? " cut to nothing" : " overwritten");
}

// A copy of a test medium in the temporary folder, removed at the end.
class ScratchCopy {
public:
    explicit ScratchCopy(const char* medium)
        : m_source(MediaPath(medium)), m_path(std::filesystem::temp_directory_path() /
                                              ("vantrel-damaged-" + std::to_string(getpid()) + "-" + medium))
    {
        Restore();
    }
    ~ScratchCopy()
    {
        std::error_code ignored;
        std::filesystem::remove(m_path, ignored);
    }
    std::string Path() const { return m_path.string(); }

    void Harm(Damage damage) const
    {
        if (damage == Damage::CutToNothing) {
            std::filesystem::resize_file(m_path, 0);
            return;
        }
        // In place, as a writer that overwrites a file does: the size stays.
        std::fstream file(m_path, std::ios::binary | std::ios::in | std::ios::out);
        file << std::string(std::filesystem::file_size(m_path), '\x5a');
    }
    // The same file (the same inode the graph holds open) with its content back.
    void Restore() const
    {
        std::ifstream in(m_source, std::ios::binary);
        std::ofstream(m_path, std::ios::binary | std::ios::trunc) << in.rdbuf();
    }

private:
    std::filesystem::path m_source;
    std::filesystem::path m_path;
};

class DamagedWhilePlayingTest : public GraphTest, public ::testing::WithParamInterface<DamageCase> {};

TEST_P(DamagedWhilePlayingTest, TheRewindFailsInsteadOfLoopingAndRunTriesAgain)
{
    const ScratchCopy copy(GetParam().medium);
    Session session;
    ASSERT_EQ(session.Render(copy.Path()), S_OK);
    ASSERT_EQ(session.control->Run(), S_OK);
    LONG code = 0;
    // Rewound at the end as Repeat does: the medium loops, however short it is.
    ASSERT_TRUE(session.NextEvent(&code));
    ASSERT_EQ(code, EC_COMPLETE);
    ASSERT_EQ(session.position->put_CurrentPosition(0.0), S_OK);
    ASSERT_TRUE(session.NextEvent(&code));
    ASSERT_EQ(code, EC_COMPLETE);
    copy.Harm(GetParam().damage);
    session.position->put_CurrentPosition(0.0);
    ASSERT_TRUE(session.NextEvent(&code));
    EXPECT_EQ(code, EC_ERRORABORT);

    // Stopped, then run again: still damaged, it fails again; mended, it plays.
    ASSERT_EQ(session.control->Stop(), S_OK);
    ASSERT_EQ(session.control->Run(), S_OK);
    ASSERT_TRUE(session.NextEvent(&code));
    EXPECT_EQ(code, EC_ERRORABORT);
    copy.Restore();
    ASSERT_EQ(session.control->Stop(), S_OK);
    ASSERT_EQ(session.position->put_CurrentPosition(0.0), S_OK);
    ASSERT_EQ(session.control->Run(), S_OK);
    ASSERT_TRUE(session.NextEvent(&code));
    EXPECT_EQ(code, EC_COMPLETE);
}

INSTANTIATE_TEST_SUITE_P(Media, DamagedWhilePlayingTest,
                         ::testing::Values(DamageCase{test_media::kClipMpg.name, Damage::CutToNothing},
                                           DamageCase{test_media::kClipMpg.name, Damage::Overwritten},
                                           DamageCase{test_media::kClipAvi.name, Damage::CutToNothing},
                                           DamageCase{test_media::kOneFrameAvi.name, Damage::CutToNothing}));

// The cases a real medium cannot be made to give on demand.
TEST(EndedWithoutProgress, JudgesOnlyEndsQueuedSinceTheSeek)
{
    using platform::gst::EndedWithoutProgress;
    const platform::gst::SeekMark rewind{0.0, 5, 40};
    constexpr double kLength = 2.0;
    // An end left in the queue from before the seek is the end of that play.
    EXPECT_FALSE(EndedWithoutProgress(rewind, 4, 40, 0.0, kLength));
    // A picture decoded since: a one-picture medium loops at its own pace.
    EXPECT_FALSE(EndedWithoutProgress(rewind, 5, 41, 0.0, kLength));
    // Sound alone, as short as it is, moves the position on.
    EXPECT_FALSE(EndedWithoutProgress(rewind, 5, 40, 0.02, kLength));
    EXPECT_TRUE(EndedWithoutProgress(rewind, 5, 40, 0.0, kLength));
    EXPECT_TRUE(EndedWithoutProgress(rewind, 7, 40, std::nullopt, std::nullopt));
    // A medium cut to nothing reports no length, or none left: a rewind there is no end asked for.
    EXPECT_TRUE(EndedWithoutProgress(rewind, 5, 40, 0.0, 0.0));
    // A seek to the end (or past it, clamped there) ends the stream as it asked; short of it, it did not.
    const platform::gst::SeekMark toTheEnd{kLength, 5, 40};
    EXPECT_FALSE(EndedWithoutProgress(toTheEnd, 5, 40, kLength, kLength));
    EXPECT_TRUE(EndedWithoutProgress(platform::gst::SeekMark{1.5, 5, 40}, 5, 40, 1.5, kLength));
}

}  // namespace
}  // namespace graph_test
