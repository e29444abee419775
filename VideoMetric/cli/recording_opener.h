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
