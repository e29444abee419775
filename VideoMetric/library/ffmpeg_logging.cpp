#include "vidmetra/ffmpeg_logging.h"

#include <mutex>

#include "vidmetra/ffmpeg_api.h"

namespace vidmetra {

void QuietFfmpegLogging() {
  static std::once_flag once;
  std::call_once(once, [] {
    if (const FfmpegApi* ff = LoadFfmpeg()) ff->av_log_set_level(AV_LOG_QUIET);
  });
}

}  // namespace vidmetra
