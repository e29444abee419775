#pragma once
#include "vidmetra/measurement_driver.h"

namespace vidmetra {

// Opens input entries from disk: a raw reader when the entry carries a size, otherwise the reader its name
// calls for, with the AVI reader asked to deliver YV12 where it can.
class FileReaderOpener : public ReaderOpener {
 public:
  // With `prefetch`, each reader reads its next frame on a second core while the current one is measured.
  explicit FileReaderOpener(bool prefetch = false) : prefetch_(prefetch) {}
  std::unique_ptr<SequenceReader> Open(const InputFileEntry& entry) override;
  std::string LastFailure() const override { return last_failure_; }

 private:
  bool prefetch_;
  std::string last_failure_;
};

}  // namespace vidmetra
