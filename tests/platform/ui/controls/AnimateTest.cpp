// The clip control of wait forms: opening clips, playing frame ranges with
// repetitions, and its events.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/core/Exception.h"
#include "platform/ui/controls/Animate.h"

namespace qv {
namespace {

struct EventLog : TObject {
  std::vector<std::string> events;
  void Open(TObject*) { events.push_back("open"); }
  void Close(TObject*) { events.push_back("close"); }
  void Start(TObject*) { events.push_back("start"); }
  void Stop(TObject*) { events.push_back("stop"); }
};

class AnimateTest : public ::testing::Test {
 protected:
  AnimateTest() : animate(nullptr) {
    animate.OnOpen = MethodOf<&EventLog::Open>(&log);
    animate.OnClose = MethodOf<&EventLog::Close>(&log);
    animate.OnStart = MethodOf<&EventLog::Start>(&log);
    animate.OnStop = MethodOf<&EventLog::Stop>(&log);
  }

  std::vector<int> Ticks(int count) {
    std::vector<int> frames;
    for (int i = 0; i < count; ++i) {
      animate.NextFrame();
      frames.push_back(animate.CurrentFrame());
    }
    return frames;
  }

  EventLog log;
  TAnimate animate;
};

TEST_F(AnimateTest, OpeningAClipSetsTheWholeRangeAndTheFrameSize) {
  animate.SetCommonAVI(aviCopyFiles);
  EXPECT_EQ(animate.FrameCount(), 34);
  EXPECT_EQ(animate.StartFrame(), 1);
  EXPECT_EQ(animate.StopFrame(), 34);
  EXPECT_EQ(animate.CurrentFrame(), 1);
  EXPECT_EQ(animate.Width(), animate.FrameWidth());
  EXPECT_EQ(animate.Height(), animate.FrameHeight());
  EXPECT_FALSE(animate.Active());

  animate.SetCommonAVI(aviNone);
  EXPECT_EQ(animate.FrameCount(), 0);
  EXPECT_EQ(log.events, (std::vector<std::string>{"open", "close"}));
}

TEST_F(AnimateTest, ClipsDifferInFrameCount) {
  animate.SetCommonAVI(aviFindFolder);
  const int folderFrames = animate.FrameCount();
  animate.SetCommonAVI(aviDeleteFile);
  EXPECT_GT(folderFrames, 0);
  EXPECT_NE(animate.FrameCount(), folderFrames);
}

TEST_F(AnimateTest, WithoutAutoSizeTheBoundsStay) {
  animate.SetAutoSize(false);
  animate.SetBounds(4, 5, 30, 20);
  animate.SetCommonAVI(aviFindFile);
  EXPECT_EQ(animate.BoundsRect(), (TRect{4, 5, 34, 25}));
}

TEST_F(AnimateTest, PlaysTheRangeTheGivenNumberOfTimesThenStopsOnTheLastFrame) {
  animate.SetCommonAVI(aviFindFile);
  animate.Play(3, 5, 2);
  EXPECT_TRUE(animate.Active());
  EXPECT_EQ(animate.CurrentFrame(), 3);
  EXPECT_EQ(Ticks(6), (std::vector<int>{4, 5, 3, 4, 5, 5}));
  EXPECT_FALSE(animate.Active());
  EXPECT_EQ(log.events, (std::vector<std::string>{"open", "start", "stop"}));
}

TEST_F(AnimateTest, NoRepetitionsPlaysUntilStopped) {
  animate.SetCommonAVI(aviFindFile);
  animate.SetStartFrame(2);
  animate.SetStopFrame(3);
  animate.SetActive(true);
  EXPECT_EQ(Ticks(5), (std::vector<int>{3, 2, 3, 2, 3}));
  EXPECT_TRUE(animate.Active());
  animate.SetActive(false);
  EXPECT_EQ(Ticks(1), (std::vector<int>{3}));  // a stopped clip stays on its frame
  EXPECT_EQ(log.events, (std::vector<std::string>{"open", "start", "stop"}));
}

TEST_F(AnimateTest, ResetStopsAndRestoresTheWholeClip) {
  animate.SetCommonAVI(aviCopyFile);
  animate.Play(4, 6, 0);
  animate.NextFrame();
  animate.Reset();
  EXPECT_FALSE(animate.Active());
  EXPECT_EQ(animate.StartFrame(), 1);
  EXPECT_EQ(animate.StopFrame(), animate.FrameCount());
  EXPECT_EQ(animate.CurrentFrame(), 1);
}

TEST_F(AnimateTest, OpeningAnotherClipStopsTheOnePlaying) {
  animate.SetCommonAVI(aviCopyFile);
  animate.SetActive(true);
  animate.SetCommonAVI(aviEmptyRecycle);
  EXPECT_FALSE(animate.Active());
  EXPECT_EQ(log.events, (std::vector<std::string>{"open", "start", "stop", "open"}));
}

struct BadRange {
  int from, to;
};

class AnimateBadRange : public AnimateTest, public ::testing::WithParamInterface<BadRange> {};

TEST_P(AnimateBadRange, IsRefusedAndNothingStarts) {
  animate.SetCommonAVI(aviFindComputer);  // 22 frames
  EXPECT_THROW(animate.Play(GetParam().from, GetParam().to, 1), EInvalidOperation);
  EXPECT_FALSE(animate.Active());
  EXPECT_EQ(log.events, (std::vector<std::string>{"open"}));
}

INSTANTIATE_TEST_SUITE_P(Animate, AnimateBadRange,
                         ::testing::Values(BadRange{0, 5}, BadRange{6, 5}, BadRange{1, 23}, BadRange{23, 23}));

TEST_F(AnimateTest, PlayingWithoutAClipIsRefused) {
  EXPECT_THROW(animate.SetActive(true), EInvalidOperation);
  EXPECT_THROW(animate.Seek(1), EInvalidOperation);
  EXPECT_FALSE(animate.Active());
}

TEST_F(AnimateTest, PublishesItsClipByName) {
  const TPropInfo* info = animate.ClassType().FindProperty("CommonAVI");
  ASSERT_NE(info, nullptr);
  info->Set(animate, PropValue(std::int64_t{CommonAVIType().ValueOf("aviRecycleFile")}));
  EXPECT_EQ(animate.CommonAVI(), aviRecycleFile);
}

}  // namespace
}  // namespace qv
