#pragma once
// An AviSynth+ script evaluated through AviSynth+'s C interface: the file side of the AVS path, holding the script
// environment and the clip the script returns, with the clip's video as its one stream.
#include <memory>
#include <string>

#include "vidmetra/avi_file_stream.h"
#include "vidmetra/avisynth_api.h"

namespace vidmetra {

class AvisynthScript {
 public:
  AvisynthScript() = default;
  ~AvisynthScript() { Close(); }
  AvisynthScript(const AvisynthScript&) = delete;
  AvisynthScript& operator=(const AvisynthScript&) = delete;

  // False when AviSynth+ cannot be loaded, the script fails or its clip cannot be read; Error() then says why.
  bool Open(const std::string& name);
  void Close();

  // The clip's video, or null when the script is not open.
  AviFileStream* VideoStream() const { return stream_.get(); }
  // AviSynth+'s own message, or what else went wrong; empty after a successful open.
  const std::string& Error() const { return error_; }

 private:
  bool Evaluate(const std::string& name);
  // Closes what was opened and keeps `why` as the error; false.
  bool Fail(std::string why);

  const AvisynthApi* api_ = nullptr;
  AvsScriptEnvironment* environment_ = nullptr;
  AvsClip* clip_ = nullptr;
  std::unique_ptr<AviFileStream> stream_;
  std::string error_;
};

}  // namespace vidmetra
