#pragma once
// FFmpeg's libraries are loaded when a file first needs them, not when a program starts: with everything they pull
// in (encoders, decoders, network and TLS libraries) they cost tens of milliseconds of start-up, which a run on raw
// YUV files never needs. Every FFmpeg function the library calls goes through one table, loaded once.
extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/dict.h>
#include <libavutil/error.h>
#include <libavutil/frame.h>
#include <libavutil/imgutils.h>
#include <libavutil/log.h>
#include <libavutil/mathematics.h>
#include <libavutil/mem.h>
#include <libavutil/opt.h>
#include <libavutil/pixdesc.h>
#include <libswscale/swscale.h>
}

#include <string>

namespace vidmetra {

// The libraries in the order they are loaded: each one's dependencies before it.
enum class FfmpegLibrary { kAvutil, kSwscale, kAvcodec, kAvformat };
inline constexpr int kFfmpegLibraryCount = 4;

// X(library, function) for every FFmpeg function the library calls.
#define VIDMETRA_FFMPEG_FUNCTIONS(X)                \
  X(kAvutil, av_channel_layout_default)             \
  X(kAvutil, av_dict_free)                          \
  X(kAvutil, av_dict_set)                           \
  X(kAvutil, av_frame_alloc)                        \
  X(kAvutil, av_frame_free)                         \
  X(kAvutil, av_frame_get_buffer)                   \
  X(kAvutil, av_frame_make_writable)                \
  X(kAvutil, av_frame_move_ref)                     \
  X(kAvutil, av_frame_unref)                        \
  X(kAvutil, av_get_pix_fmt)                        \
  X(kAvutil, av_image_copy_plane)                   \
  X(kAvutil, av_log_set_level)                      \
  X(kAvutil, av_mallocz)                            \
  X(kAvutil, av_opt_set)                            \
  X(kAvutil, av_opt_set_double)                     \
  X(kAvutil, av_opt_set_int)                        \
  X(kAvutil, av_pix_fmt_desc_get)                   \
  X(kAvutil, av_rescale_q)                          \
  X(kAvutil, av_strerror)                           \
  X(kSwscale, sws_alloc_context)                    \
  X(kSwscale, sws_freeContext)                      \
  X(kSwscale, sws_getCoefficients)                  \
  X(kSwscale, sws_getContext)                       \
  X(kSwscale, sws_init_context)                     \
  X(kSwscale, sws_scale)                            \
  X(kSwscale, sws_setColorspaceDetails)             \
  X(kAvcodec, av_packet_alloc)                      \
  X(kAvcodec, av_packet_free)                       \
  X(kAvcodec, av_packet_unref)                      \
  X(kAvcodec, avcodec_alloc_context3)               \
  X(kAvcodec, avcodec_find_decoder)                 \
  X(kAvcodec, avcodec_find_encoder_by_name)         \
  X(kAvcodec, avcodec_flush_buffers)                \
  X(kAvcodec, avcodec_free_context)                 \
  X(kAvcodec, avcodec_get_name)                     \
  X(kAvcodec, avcodec_open2)                        \
  X(kAvcodec, avcodec_parameters_alloc)             \
  X(kAvcodec, avcodec_parameters_copy)              \
  X(kAvcodec, avcodec_parameters_free)              \
  X(kAvcodec, avcodec_parameters_to_context)        \
  X(kAvcodec, avcodec_receive_frame)                \
  X(kAvcodec, avcodec_receive_packet)               \
  X(kAvcodec, avcodec_send_frame)                   \
  X(kAvcodec, avcodec_send_packet)                  \
  X(kAvformat, av_codec_get_id)                     \
  X(kAvformat, av_probe_input_format2)              \
  X(kAvformat, av_read_frame)                       \
  X(kAvformat, av_seek_frame)                       \
  X(kAvformat, av_write_frame)                      \
  X(kAvformat, av_write_trailer)                    \
  X(kAvformat, avformat_alloc_output_context2)      \
  X(kAvformat, avformat_close_input)                \
  X(kAvformat, avformat_find_stream_info)           \
  X(kAvformat, avformat_free_context)               \
  X(kAvformat, avformat_get_riff_audio_tags)        \
  X(kAvformat, avformat_get_riff_video_tags)        \
  X(kAvformat, avformat_index_get_entries_count)    \
  X(kAvformat, avformat_index_get_entry)            \
  X(kAvformat, avformat_new_stream)                 \
  X(kAvformat, avformat_open_input)                 \
  X(kAvformat, avformat_write_header)               \
  X(kAvformat, avio_closep)                         \
  X(kAvformat, avio_open)                           \
  X(kAvformat, avio_size)

struct FfmpegApi {
#define VIDMETRA_FFMPEG_MEMBER(library, function) decltype(&::function) function = nullptr;
  VIDMETRA_FFMPEG_FUNCTIONS(VIDMETRA_FFMPEG_MEMBER)
#undef VIDMETRA_FFMPEG_MEMBER
};

// The file a library is loaded from: the one of the major version this program was compiled against
// ("libavcodec.so.59", "avcodec-59.dll").
std::string FfmpegLibraryName(FfmpegLibrary library);

// The process's table, loaded by the first call from any thread and kept for the life of the process; null when a
// library or one of its functions cannot be loaded (FfmpegFailure() says which). The libraries are the system's,
// or those in the folder that the environment variable `VIDMETRA_FFMPEG_DIR` names.
const FfmpegApi* LoadFfmpeg();
inline bool FfmpegAvailable() { return LoadFfmpeg() != nullptr; }
// Why loading failed, naming the library or the function; empty when it did not fail.
const std::string& FfmpegFailure();
// The table, for code that holds an FFmpeg object: such objects exist only once loading succeeded. Code that may
// run first checks FfmpegAvailable().
const FfmpegApi& Ffmpeg();

}  // namespace vidmetra
