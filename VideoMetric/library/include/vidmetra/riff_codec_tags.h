#pragma once
// FourCCs and wave format tags of AVI files mapped onto libavcodec's codec ids through libavformat's RIFF tables,
// so that readers and writers agree on which codec a stream carries.
#include <cstdint>

extern "C" {
#include <libavcodec/codec_id.h>
}

namespace vidmetra {

// The codec of a video stream with this compression FourCC; 0 (uncompressed RGB) is raw video.
AVCodecID VideoCodecForFourCc(uint32_t fourcc);
// The codec of an audio stream with this wave format tag; PCM tags are resolved by their sample size.
AVCodecID AudioCodecForWaveTag(uint16_t tag, uint16_t bits_per_sample);

}  // namespace vidmetra
