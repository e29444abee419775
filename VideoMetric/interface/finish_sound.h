#pragma once
// The sound that tells a user away from the screen that a run has ended.
#include <QSoundEffect>
#include <string>

namespace vidmetra::ui {

class FinishSound {
 public:
  // Plays the WAV file; one that cannot be played stays silent, as a missing sound is no reason to bother anyone.
  void Play(const std::string& wav_path);
  QUrl source() const { return effect_.source(); }

 private:
  QSoundEffect effect_;
};

}  // namespace vidmetra::ui
