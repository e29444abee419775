#pragma once

namespace vidmetra::converters {

// Where a conversion that counts frames says how far it is. The command line ignores it.
class RunProgress {
 public:
  virtual ~RunProgress() = default;
  virtual void Start(long long /*first*/, long long /*last*/) {}
  virtual void Reach(long long /*current*/) {}
};

}  // namespace vidmetra::converters
