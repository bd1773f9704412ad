#include "platform/ui/controls/Animate.h"

#include <string>

#include "platform/core/Exception.h"

namespace qv {

namespace {

struct Clip {
  int Frames;
  int Width;
  int Height;
};

// The frames and frame size of each clip, in TCommonAVI order.
constexpr Clip kClips[] = {
    {0, 0, 0},      {29, 80, 50},   {26, 80, 50},   {22, 80, 50}, {34, 272, 60},
    {20, 272, 60},  {22, 272, 60},  {23, 272, 60},  {24, 272, 60},
};

}  // namespace

const TEnumType& CommonAVIType() {
  static const TEnumType type("TCommonAVI", {"aviNone", "aviFindFolder", "aviFindFile", "aviFindComputer",
                                             "aviCopyFiles", "aviCopyFile", "aviRecycleFile", "aviEmptyRecycle",
                                             "aviDeleteFile"});
  return type;
}

const TClass& TAnimate::StaticClass() {
  static const TClass cls =
      ClassBuilder<TAnimate>("TAnimate", &TWinControl::StaticClass())
          .Enumeration("CommonAVI", CommonAVIType(), &TAnimate::CommonAVI, &TAnimate::SetCommonAVI)
          .Boolean("AutoSize", &TAnimate::AutoSize, &TAnimate::SetAutoSize)
          .Integer("FrameCount", &TAnimate::FrameCount)
          .Integer("FrameWidth", &TAnimate::FrameWidth)
          .Integer("FrameHeight", &TAnimate::FrameHeight)
          .Integer("StartFrame", &TAnimate::StartFrame, &TAnimate::SetStartFrame)
          .Integer("StopFrame", &TAnimate::StopFrame, &TAnimate::SetStopFrame)
          .Integer("Repetitions", &TAnimate::Repetitions, &TAnimate::SetRepetitions)
          .Boolean("Active", &TAnimate::Active, &TAnimate::SetActive)
          .Event("OnOpen", &TAnimate::OnOpen)
          .Event("OnClose", &TAnimate::OnClose)
          .Event("OnStart", &TAnimate::OnStart)
          .Event("OnStop", &TAnimate::OnStop);
  return cls;
}

TAnimate::TAnimate(TComponent* owner) : TWinControl(owner) { SetBounds(0, 0, 100, 80); }

int TAnimate::FrameCount() const { return kClips[commonAVI_].Frames; }
int TAnimate::FrameWidth() const { return kClips[commonAVI_].Width; }
int TAnimate::FrameHeight() const { return kClips[commonAVI_].Height; }

void TAnimate::SetCommonAVI(TCommonAVI clip) {
  if (clip == commonAVI_) return;
  Stop();
  const bool wasOpen = commonAVI_ != aviNone;
  commonAVI_ = clip;
  startFrame_ = 1;
  stopFrame_ = FrameCount();
  currentFrame_ = clip == aviNone ? 0 : 1;
  ApplyAutoSize();
  Changed(ControlChange::Content);
  if (clip != aviNone)
    OnOpen(this);
  else if (wasOpen)
    OnClose(this);
}

void TAnimate::SetAutoSize(bool autoSize) {
  autoSize_ = autoSize;
  ApplyAutoSize();
}

void TAnimate::ApplyAutoSize() {
  if (autoSize_ && commonAVI_ != aviNone) SetBounds(Left(), Top(), FrameWidth(), FrameHeight());
}

void TAnimate::SetStartFrame(int frame) { startFrame_ = frame; }
void TAnimate::SetStopFrame(int frame) { stopFrame_ = frame; }
void TAnimate::SetRepetitions(int repetitions) { repetitions_ = repetitions < 0 ? 0 : repetitions; }

void TAnimate::SetActive(bool active) {
  if (active)
    Play(startFrame_, stopFrame_, repetitions_);
  else
    Stop();
}

void TAnimate::CheckFrame(int frame) const {
  if (frame < 1 || frame > FrameCount())
    throw EInvalidOperation("Frame " + std::to_string(frame) + " is outside the clip's " +
                            std::to_string(FrameCount()) + " frames");
}

void TAnimate::Play(int fromFrame, int toFrame, int count) {
  if (commonAVI_ == aviNone) throw EInvalidOperation("No clip to play");
  CheckFrame(fromFrame);
  CheckFrame(toFrame);
  if (fromFrame > toFrame) throw EInvalidOperation("The start frame comes after the stop frame");
  startFrame_ = fromFrame;
  stopFrame_ = toFrame;
  SetRepetitions(count);
  currentFrame_ = fromFrame;
  playsDone_ = 0;
  active_ = true;
  Changed(ControlChange::Content);
  OnStart(this);
}

void TAnimate::Stop() {
  if (!active_) return;
  active_ = false;
  Changed(ControlChange::Content);
  OnStop(this);
}

void TAnimate::Reset() {
  Stop();
  startFrame_ = 1;
  stopFrame_ = FrameCount();
  currentFrame_ = commonAVI_ == aviNone ? 0 : 1;
  Changed(ControlChange::Content);
}

void TAnimate::Seek(int frame) {
  CheckFrame(frame);
  currentFrame_ = frame;
  Changed(ControlChange::Content);
}

void TAnimate::NextFrame() {
  if (!active_) return;
  if (currentFrame_ < stopFrame_) {
    ++currentFrame_;
  } else {
    ++playsDone_;
    if (repetitions_ > 0 && playsDone_ >= repetitions_) return Stop();
    currentFrame_ = startFrame_;
  }
  Changed(ControlChange::Content);
}

}  // namespace qv
