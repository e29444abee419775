#include "vidmetra/riff_codec_tags.h"

#include "vidmetra/ffmpeg_api.h"

namespace vidmetra {
namespace {

AVCodecID Lookup(const AVCodecTag* table, uint32_t tag) {
  const AVCodecTag* const tables[] = {table, nullptr};
  return Ffmpeg().av_codec_get_id(tables, tag);
}

}  // namespace

AVCodecID VideoCodecForFourCc(uint32_t fourcc) {
  if (fourcc == 0) return AV_CODEC_ID_RAWVIDEO;
  return Lookup(Ffmpeg().avformat_get_riff_video_tags(), fourcc);
}

AVCodecID AudioCodecForWaveTag(uint16_t tag, uint16_t bits_per_sample) {
  constexpr uint16_t kPcm = 1;
  constexpr uint16_t kFloat = 3;
  if (tag == kPcm) {
    switch (bits_per_sample) {
      case 8: return AV_CODEC_ID_PCM_U8;
      case 16: return AV_CODEC_ID_PCM_S16LE;
      case 24: return AV_CODEC_ID_PCM_S24LE;
      case 32: return AV_CODEC_ID_PCM_S32LE;
      default: return AV_CODEC_ID_NONE;
    }
  }
  if (tag == kFloat) {
    if (bits_per_sample == 32) return AV_CODEC_ID_PCM_F32LE;
    if (bits_per_sample == 64) return AV_CODEC_ID_PCM_F64LE;
    return AV_CODEC_ID_NONE;
  }
  return Lookup(Ffmpeg().avformat_get_riff_audio_tags(), tag);
}

}  // namespace vidmetra
