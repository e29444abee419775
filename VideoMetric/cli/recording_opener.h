#pragma once
// Remembers what each input of a run was read with, so that the summary can name the decoder behind each file.
#include <string>
#include <vector>

#include "vidmetra/measurement_driver.h"

namespace vidmetra::cli {

struct OpenedInput {
  std::string path;
  std::string description;  // the reader's describe text
  std::string decoder;      // empty for files read as stored
  int32_t width = 0;
  int32_t height = 0;
  std::string layout;  // the pixel layout the reader delivers, e.g. "YV12"
  int32_t frames = 0;  // as the reader counts them
};

class RecordingOpener : public ReaderOpener {
 public:
  explicit RecordingOpener(ReaderOpener& inner) : inner_(inner) {}

  std::unique_ptr<SequenceReader> Open(const InputFileEntry& entry) override;
  std::string LastFailure() const override { return inner_.LastFailure(); }

  // One entry per file, in the order the files were first opened.
  const std::vector<OpenedInput>& Inputs() const { return inputs_; }

 private:
  ReaderOpener& inner_;
  std::vector<OpenedInput> inputs_;
};

}  // namespace vidmetra::cli
