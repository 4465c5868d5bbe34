// How the player's facts read through the MPRIS interface and what its requests become.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "platform/desktop/mpris_rules.h"

namespace desktop {
namespace {

PlayerFacts OpenClip(Playback playback = Playback::Playing)
{
    PlayerFacts facts;
    facts.playback = playback;
    facts.hasPicture = true;
    facts.title = "clip.avi";
    facts.location = "/m/clip.avi";
    facts.lengthSeconds = 2.0;
    facts.volumeLevel = 5;
    facts.loudestVolume = 10;
    return facts;
}

// The plain mappings show end to end; these are the texts a client may send.
TEST(MprisRules, LoopStatusesAskedFor)
{
    EXPECT_EQ(RepeatForLoopStatus("Track"), true);
    EXPECT_EQ(RepeatForLoopStatus("Playlist"), true);
    EXPECT_EQ(RepeatForLoopStatus("None"), false);
    EXPECT_EQ(RepeatForLoopStatus("track"), std::nullopt);
    EXPECT_EQ(RepeatForLoopStatus(""), std::nullopt);
}

TEST(MprisRules, VolumeIsTheLevelInTenthsAndGoesToTheNearestLevel)
{
    EXPECT_DOUBLE_EQ(VolumeForLevel(7, 10), 0.7);
    EXPECT_DOUBLE_EQ(VolumeForLevel(15, 10), 1.0);  // a level edited out of range plays at the loudest
    EXPECT_DOUBLE_EQ(VolumeForLevel(-3, 10), 0.0);
    EXPECT_EQ(LevelForVolume(0.73, 10), 7);
    EXPECT_EQ(LevelForVolume(0.75, 10), 8);
    EXPECT_EQ(LevelForVolume(0.04, 10), 0);
    EXPECT_EQ(LevelForVolume(1.0, 10), 10);
    EXPECT_EQ(LevelForVolume(3.5, 10), 10);
    EXPECT_EQ(LevelForVolume(-0.2, 10), 0);
    EXPECT_EQ(LevelForVolume(std::numeric_limits<double>::infinity(), 10), 10);
    EXPECT_EQ(LevelForVolume(std::nan(""), 10), std::nullopt);
}

TEST(MprisRules, SeeksStayInsideAMediumOfKnownLength)
{
    const PlayerFacts clip = OpenClip();
    EXPECT_EQ(SeekTarget(clip, 1.0, 0.5), 1.5);
    EXPECT_EQ(SeekTarget(clip, 1.0, -5.0), 0.0);
    EXPECT_EQ(SeekTarget(clip, 1.0, 30.0), 2.0);  // the end, handled as any end of the stream
    EXPECT_EQ(SeekTarget(clip, 1.0, std::nan("")), std::nullopt);
    EXPECT_EQ(PositionTarget(clip, 2.0), 2.0);
    EXPECT_EQ(PositionTarget(clip, 2.5), std::nullopt);
    EXPECT_EQ(PositionTarget(clip, -0.1), std::nullopt);

    PlayerFacts unknownLength = clip;
    unknownLength.lengthSeconds = 0;
    EXPECT_FALSE(CanSeek(unknownLength));
    EXPECT_EQ(SeekTarget(unknownLength, 1.0, 0.5), std::nullopt);
    EXPECT_FALSE(CanSeek(PlayerFacts{}));
    EXPECT_FALSE(CanPlay(PlayerFacts{}));
    EXPECT_TRUE(CanPlay(OpenClip(Playback::Stopped)));
}

TEST(MprisRules, OnlyWhatChangedIsAnnounced)
{
    const PlayerFacts playing = OpenClip();
    using Names = std::vector<std::string>;
    EXPECT_EQ(ChangedPlayerProperties(playing, playing), Names{});

    PlayerFacts paused = playing;
    paused.playback = Playback::Paused;
    EXPECT_EQ(ChangedPlayerProperties(playing, paused), Names{"PlaybackStatus"});

    // Nothing open and stopped read alike; only what may be done differs.
    PlayerFacts stopped;
    stopped.playback = Playback::Stopped;
    EXPECT_EQ(ChangedPlayerProperties(PlayerFacts{}, stopped), (Names{"CanPlay", "CanPause"}));

    PlayerFacts louder = playing;
    louder.volumeLevel = 6;
    louder.repeat = true;
    EXPECT_EQ(ChangedPlayerProperties(playing, louder), (Names{"LoopStatus", "Volume"}));

    // Beyond the loudest the volume reads the same.
    PlayerFacts over = playing;
    over.volumeLevel = 12;
    PlayerFacts top = playing;
    top.volumeLevel = 10;
    EXPECT_EQ(ChangedPlayerProperties(over, top), Names{});

    // A seek is a signal of its own, and the picture a matter of the screen saver.
    PlayerFacts sought = playing;
    sought.seeks = 4;
    sought.hasPicture = false;
    EXPECT_EQ(ChangedPlayerProperties(playing, sought), Names{});

    PlayerFacts other = playing;
    other.location = "/m/other.avi";
    other.title = "other.avi";
    EXPECT_EQ(ChangedPlayerProperties(playing, other), Names{"Metadata"});
    other.lengthSeconds = 0;
    EXPECT_EQ(ChangedPlayerProperties(playing, other), (Names{"Metadata", "CanSeek"}));
}

TEST(MprisRules, ScreenKeptAwakeOnlyWhileAPicturePlays)
{
    EXPECT_TRUE(KeepsScreenAwake(OpenClip()));
    for (const Playback playback : {Playback::None, Playback::Stopped, Playback::Paused})
        EXPECT_FALSE(KeepsScreenAwake(OpenClip(playback)));
    PlayerFacts audio = OpenClip();
    audio.hasPicture = false;
    EXPECT_FALSE(KeepsScreenAwake(audio));
}

}  // namespace
}  // namespace desktop
