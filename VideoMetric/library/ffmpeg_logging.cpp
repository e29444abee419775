#include "vidmetra/ffmpeg_logging.h"

extern "C" {
#include <libavutil/log.h>
}

#include <mutex>

namespace vidmetra {

void QuietFfmpegLogging() {
  static std::once_flag once;
  std::call_once(once, [] { av_log_set_level(AV_LOG_QUIET); });
}

}  // namespace vidmetra
