#pragma once
#include "vidmetra/measurement_driver.h"

namespace vidmetra {

class TaskPool;

// Opens input entries from disk: a raw reader when the entry carries a size, otherwise the reader its name
// calls for, with the AVI reader asked to deliver YV12 where it can.
class FileReaderOpener : public ReaderOpener {
 public:
  // With a pool of more than one thread, each reader reads its next frame on the pool while the current one is
  // measured.
  explicit FileReaderOpener(TaskPool* pool = nullptr) : pool_(pool) {}
  std::unique_ptr<SequenceReader> Open(const InputFileEntry& entry) override;

 private:
  TaskPool* pool_;
};

}  // namespace vidmetra
