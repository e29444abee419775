#pragma once
// The part of AviSynth+'s C interface this library calls, declared here so that nothing of AviSynth+ is needed
// to build: the library is loaded at run time and these entries are looked up in it.
#include <cstdint>
#include <string>

namespace vidmetra {

struct AvsScriptEnvironment;
struct AvsClip;
struct AvsVideoFrame;

// A script value: a tagged union of 16 bytes, passed and returned by value.
struct AvsValue {
  int16_t type = 'v';  // 'c' clip, 's' string, 'e' error, 'v' void, ...
  int16_t array_size = 0;
  union {
    void* clip;
    const char* string;
    int64_t longlong;
  } d{.longlong = 0};
};
static_assert(sizeof(AvsValue) == 16);

struct AvsVideoInfo {
  int32_t width;
  int32_t height;
  uint32_t fps_numerator;
  uint32_t fps_denominator;
  int32_t num_frames;
  int32_t pixel_type;
  int32_t audio_samples_per_second;
  int32_t sample_type;
  int64_t num_audio_samples;
  int32_t nchannels;
  int32_t image_type;
};

// Pixel types of the clips this library reads (8 bits per sample).
namespace avs_pixel {
inline constexpr uint32_t kBgr = 1u << 28;
inline constexpr uint32_t kYuv = 1u << 29;
inline constexpr uint32_t kInterleaved = 1u << 30;
inline constexpr uint32_t kPlanar = 1u << 31;
inline constexpr uint32_t kBgr24 = 1u << 0 | kBgr | kInterleaved;
inline constexpr uint32_t kBgr32 = 1u << 1 | kBgr | kInterleaved;
inline constexpr uint32_t kYuy2 = 1u << 2 | kYuv | kInterleaved;
inline constexpr uint32_t kYv12 = kPlanar | kYuv | 1u << 3;
inline constexpr uint32_t kI420 = kPlanar | kYuv | 1u << 4;
}  // namespace avs_pixel

// Planes of a planar frame; packed frames are read as plane 0.
inline constexpr int kAvsPlaneY = 1 << 0;
inline constexpr int kAvsPlaneU = 1 << 1;
inline constexpr int kAvsPlaneV = 1 << 2;

// The oldest interface version that has everything below.
inline constexpr int kAvsInterfaceVersion = 6;

struct AvisynthApi {
  AvsScriptEnvironment* (*create_script_environment)(int version) = nullptr;
  void (*delete_script_environment)(AvsScriptEnvironment*) = nullptr;
  AvsValue (*invoke)(AvsScriptEnvironment*, const char* name, AvsValue args, const char** arg_names) = nullptr;
  const char* (*get_error)(AvsScriptEnvironment*) = nullptr;
  AvsClip* (*take_clip)(AvsValue, AvsScriptEnvironment*) = nullptr;
  void (*release_value)(AvsValue) = nullptr;
  void (*release_clip)(AvsClip*) = nullptr;
  const char* (*clip_get_error)(AvsClip*) = nullptr;
  const AvsVideoInfo* (*get_video_info)(AvsClip*) = nullptr;
  AvsVideoFrame* (*get_frame)(AvsClip*, int n) = nullptr;
  void (*release_video_frame)(AvsVideoFrame*) = nullptr;
  int (*get_pitch_p)(const AvsVideoFrame*, int plane) = nullptr;
  int (*get_row_size_p)(const AvsVideoFrame*, int plane) = nullptr;
  int (*get_height_p)(const AvsVideoFrame*, int plane) = nullptr;
  const uint8_t* (*get_read_ptr_p)(const AvsVideoFrame*, int plane) = nullptr;
};

// AviSynth+'s entries, loaded once per process and kept loaded; null when the library cannot be loaded or lacks
// one of them. The library is `VIDMETRA_AVISYNTH_LIBRARY` when that is set, else the system's AviSynth+.
const AvisynthApi* LoadAvisynth();
// Where LoadAvisynth looks.
std::string AvisynthLibraryPath();

}  // namespace vidmetra
