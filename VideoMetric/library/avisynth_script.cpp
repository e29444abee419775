#include "vidmetra/avisynth_script.h"

namespace vidmetra {

bool AvisynthScript::Open(const std::string& name) {
  Close();
  api_ = LoadAvisynth();
  if (api_ == nullptr) return Fail("AviSynth+ is not installed (" + AvisynthLibraryPath() + " could not be loaded)");
  if (!Evaluate(name)) return Fail(error_);
  stream_ = AviFileStream::ForClip(*api_, clip_, 0);
  if (!stream_) return Fail("the script's clip has no video in YV12, I420, YUY2, RGB24 or RGB32");
  return true;
}

bool AvisynthScript::Fail(std::string why) {
  Close();
  error_ = std::move(why);
  return false;
}

bool AvisynthScript::Evaluate(const std::string& name) {
  environment_ = api_->create_script_environment(kAvsInterfaceVersion);
  if (environment_ == nullptr) {
    error_ = "AviSynth+ could not create a script environment";
    return false;
  }
  if (const char* problem = api_->get_error(environment_)) {
    error_ = problem;
    return false;
  }
  AvsValue argument;
  argument.type = 's';
  argument.d.string = name.c_str();
  // Import evaluates the file as a script in its own folder, so relative names inside it resolve as they do for
  // the script's author.
  const AvsValue result = api_->invoke(environment_, "Import", argument, nullptr);
  if (result.type == 'c') clip_ = api_->take_clip(result, environment_);
  if (result.type == 'e' && result.d.string != nullptr) error_ = result.d.string;
  api_->release_value(result);
  if (clip_ == nullptr) {
    if (error_.empty()) error_ = "the script returns no clip";
    return false;
  }
  if (const char* problem = api_->clip_get_error(clip_)) {
    error_ = problem;
    return false;
  }
  return true;
}

void AvisynthScript::Close() {
  stream_.reset();
  if (api_ != nullptr) {
    if (clip_ != nullptr) api_->release_clip(clip_);
    if (environment_ != nullptr) api_->delete_script_environment(environment_);
  }
  clip_ = nullptr;
  environment_ = nullptr;
  api_ = nullptr;
  error_.clear();
}

}  // namespace vidmetra
