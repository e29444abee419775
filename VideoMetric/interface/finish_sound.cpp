#include "finish_sound.h"

#include <QUrl>

namespace vidmetra::ui {

void FinishSound::Play(const std::string& wav_path) {
  effect_.setSource(QUrl::fromLocalFile(QString::fromStdString(wav_path)));
  effect_.play();
}

}  // namespace vidmetra::ui
