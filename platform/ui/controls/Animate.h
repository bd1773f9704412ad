#pragma once
// TAnimate: a window control that plays one of the system's short clips
// (searching, copying, deleting) while a long job runs. The model keeps the
// clip, the frame range, the repetitions and the frame on show; the
// animation's timer (a window backend, or a test) moves it on with
// NextFrame, so nothing here depends on time passing.

#include "platform/ui/WinControl.h"

namespace qv {

enum TCommonAVI {
  aviNone, aviFindFolder, aviFindFile, aviFindComputer, aviCopyFiles,
  aviCopyFile, aviRecycleFile, aviEmptyRecycle, aviDeleteFile
};
const TEnumType& CommonAVIType();

class TAnimate : public TWinControl {
  QV_OBJECT(TAnimate, TWinControl)

  explicit TAnimate(TComponent* owner);

  // Opening a clip stops the one playing, makes the whole clip the frame
  // range, shows its first frame and raises OnOpen (OnClose when the clip is
  // set to aviNone); with AutoSize the control takes the clip's frame size.
  TCommonAVI CommonAVI() const { return commonAVI_; }
  void SetCommonAVI(TCommonAVI clip);
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool autoSize);
  // Of the open clip; 0 without one.
  int FrameCount() const;
  int FrameWidth() const;
  int FrameHeight() const;

  // Frames count from 1. Playing checks the range.
  int StartFrame() const { return startFrame_; }
  void SetStartFrame(int frame);
  int StopFrame() const { return stopFrame_; }
  void SetStopFrame(int frame);
  // 0 plays until stopped.
  int Repetitions() const { return repetitions_; }
  void SetRepetitions(int repetitions);
  int CurrentFrame() const { return currentFrame_; }

  bool Active() const { return active_; }
  // true plays StartFrame to StopFrame Repetitions times; false stops.
  void SetActive(bool active);
  // Raises EInvalidOperation without a clip or for frames outside
  // 1 ≤ fromFrame ≤ toFrame ≤ FrameCount; raises OnStart.
  void Play(int fromFrame, int toFrame, int count);
  // Raises OnStop when playing.
  void Stop();
  // Stops and makes the whole clip the frame range again, from frame 1.
  void Reset();
  // Shows a frame without playing.
  void Seek(int frame);
  // One tick of the animation's timer: the next frame, wrapping to
  // StartFrame after StopFrame; after the last repetition it stops on StopFrame.
  void NextFrame();

  TNotifyEvent OnOpen;
  TNotifyEvent OnClose;
  TNotifyEvent OnStart;
  TNotifyEvent OnStop;

 private:
  void CheckFrame(int frame) const;
  void ApplyAutoSize();

  TCommonAVI commonAVI_ = aviNone;
  bool autoSize_ = true;
  int startFrame_ = 1;
  int stopFrame_ = 0;
  int repetitions_ = 0;
  int currentFrame_ = 0;
  int playsDone_ = 0;
  bool active_ = false;
};

}  // namespace qv
