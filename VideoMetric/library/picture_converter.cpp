#include "vidmetra/picture_converter.h"

#include <cstring>

#include "vidmetra/colour_space.h"
#include "vidmetra/ffmpeg_api.h"

namespace vidmetra {
namespace {

// No scaling happens, so only the chroma filters matter: full chroma interpolation both ways, accurate rounding,
// and the same bits on every processor.
constexpr int kScaleFlags = SWS_BICUBIC | SWS_ACCURATE_RND | SWS_BITEXACT | SWS_FULL_CHR_H_INT | SWS_FULL_CHR_H_INP;

bool IsFullRange(const AVFrame& picture) {
  switch (picture.format) {
    case AV_PIX_FMT_YUVJ420P: case AV_PIX_FMT_YUVJ422P: case AV_PIX_FMT_YUVJ444P: case AV_PIX_FMT_YUVJ440P:
    case AV_PIX_FMT_YUVJ411P:
      return true;
    default:
      return picture.color_range == AVCOL_RANGE_JPEG;
  }
}

int SwsMatrix(AVColorSpace space) {
  switch (space) {
    case AVCOL_SPC_BT709: return SWS_CS_ITU709;
    case AVCOL_SPC_FCC: return SWS_CS_FCC;
    case AVCOL_SPC_SMPTE240M: return SWS_CS_SMPTE240M;
    case AVCOL_SPC_BT2020_NCL: case AVCOL_SPC_BT2020_CL: return SWS_CS_BT2020;
    default: return SWS_CS_DEFAULT;
  }
}

}  // namespace

int NativeColourSpace(int pixel_format) {
  switch (pixel_format) {
    case AV_PIX_FMT_YUV420P: case AV_PIX_FMT_YUVJ420P:
      return kYv12;
    case AV_PIX_FMT_YUV422P: case AV_PIX_FMT_YUVJ422P: case AV_PIX_FMT_YUYV422: case AV_PIX_FMT_UYVY422:
      return kYuy2;
    default:
      return kRgb24;
  }
}

PictureConverter::~PictureConverter() {
  if (context_ != nullptr) Ffmpeg().sws_freeContext(context_);
}

int PictureConverter::SourceFormat(const AVFrame& picture) const {
  if (range_ == Range::kLimited) return picture.format;
  switch (picture.format) {
    case AV_PIX_FMT_YUVJ420P: return AV_PIX_FMT_YUV420P;
    case AV_PIX_FMT_YUVJ422P: return AV_PIX_FMT_YUV422P;
    case AV_PIX_FMT_YUVJ444P: return AV_PIX_FMT_YUV444P;
    default: return picture.format;
  }
}

bool PictureConverter::Write(const AVFrame& picture, int colour_space, int width, int height, uint8_t* target) {
  if (picture.width != width || picture.height != height || picture.data[0] == nullptr) return false;
  const ptrdiff_t luma = static_cast<ptrdiff_t>(width) * height;
  const int chroma_width = (width + 1) / 2;
  const int chroma_height = (height + 1) / 2;
  const ptrdiff_t chroma = static_cast<ptrdiff_t>(chroma_width) * chroma_height;
  switch (colour_space) {
    case kYv12: {
      uint8_t* const planes[4] = {target, target + luma + chroma, target + luma, nullptr};
      const int strides[4] = {width, chroma_width, chroma_width, 0};
      const int heights[4] = {height, chroma_height, chroma_height, 0};
      return WritePlanes(picture, AV_PIX_FMT_YUV420P, planes, strides, heights);
    }
    case kYuy2: {
      uint8_t* const planes[4] = {target, nullptr, nullptr, nullptr};
      const int strides[4] = {2 * width, 0, 0, 0};
      const int heights[4] = {height, 0, 0, 0};
      return WritePlanes(picture, AV_PIX_FMT_YUYV422, planes, strides, heights);
    }
    case kYuv: {
      uint8_t* const planes[4] = {target, target + luma, target + 2 * luma, nullptr};
      const int strides[4] = {width, width, width, 0};
      const int heights[4] = {height, height, height, 0};
      return WritePlanes(picture, AV_PIX_FMT_YUV444P, planes, strides, heights);
    }
    case kY: {
      uint8_t* const planes[4] = {target, nullptr, nullptr, nullptr};
      const int strides[4] = {width, 0, 0, 0};
      const int heights[4] = {height, 0, 0, 0};
      // The luma plane of any 8-bit YUV picture is the grey picture itself.
      const AVPixFmtDescriptor* source = Ffmpeg().av_pix_fmt_desc_get(static_cast<AVPixelFormat>(picture.format));
      const bool planar_luma = source != nullptr && (source->flags & AV_PIX_FMT_FLAG_PLANAR) != 0 &&
                               (source->flags & AV_PIX_FMT_FLAG_RGB) == 0 && source->comp[0].depth == 8 &&
                               source->comp[0].plane == 0;
      if (planar_luma && (range_ == Range::kKeep || !IsFullRange(picture))) {
        Ffmpeg().av_image_copy_plane(target, width, picture.data[0], picture.linesize[0], width, height);
        return true;
      }
      return WritePlanes(picture, AV_PIX_FMT_GRAY8, planes, strides, heights);
    }
    case kRgb24: {
      // DIB rows: bottom row first, each padded to 4 bytes with zeros.
      const auto row_bytes = static_cast<int>(RowBytes(kRgb24, width));
      uint8_t* const bottom = target + static_cast<ptrdiff_t>(height - 1) * row_bytes;
      uint8_t* const planes[4] = {bottom, nullptr, nullptr, nullptr};
      const int strides[4] = {-row_bytes, 0, 0, 0};
      const int heights[4] = {height, 0, 0, 0};
      const bool converted = WritePlanes(picture, AV_PIX_FMT_BGR24, planes, strides, heights);
      for (int y = 0; y < height && row_bytes > 3 * width; ++y) {
        std::memset(target + static_cast<ptrdiff_t>(y) * row_bytes + 3 * width, 0,
                    static_cast<size_t>(row_bytes - 3 * width));
      }
      return converted;
    }
    default:
      return false;
  }
}

bool PictureConverter::WritePlanes(const AVFrame& picture, int target_format, uint8_t* const planes[4],
                                   const int strides[4], const int heights[4]) {
  if (SourceFormat(picture) != target_format) return Convert(picture, target_format, planes, strides);
  for (int i = 0; i < 4 && planes[i] != nullptr; ++i) {
    const int row = strides[i] < 0 ? -strides[i] : strides[i];
    const int used = target_format == AV_PIX_FMT_BGR24 ? 3 * picture.width : row;
    Ffmpeg().av_image_copy_plane(planes[i], strides[i], picture.data[i], picture.linesize[i], used, heights[i]);
  }
  return true;
}

bool PictureConverter::Convert(const AVFrame& picture, int target_format, uint8_t* const planes[4],
                               const int strides[4]) {
  const FfmpegApi& ff = Ffmpeg();
  const int matrix = SwsMatrix(picture.colorspace);
  // Kept full-range values pass through as they are: source and target both read as the same range.
  const int range = range_ == Range::kLimited && IsFullRange(picture) ? 1 : 0;
  if (context_ == nullptr || SourceFormat(picture) != source_format_ || target_format != target_format_ ||
      matrix != colour_matrix_ || range != source_range_) {
    ff.sws_freeContext(context_);
    context_ = ff.sws_alloc_context();
    if (context_ == nullptr) return false;
    ff.av_opt_set_int(context_, "srcw", picture.width, 0);
    ff.av_opt_set_int(context_, "srch", picture.height, 0);
    ff.av_opt_set_int(context_, "src_format", SourceFormat(picture), 0);
    ff.av_opt_set_int(context_, "dstw", picture.width, 0);
    ff.av_opt_set_int(context_, "dsth", picture.height, 0);
    ff.av_opt_set_int(context_, "dst_format", target_format, 0);
    ff.av_opt_set_int(context_, "sws_flags", kScaleFlags, 0);
    ff.av_opt_set_int(context_, "src_range", range, 0);
    ff.av_opt_set_int(context_, "dst_range", 0, 0);
    ff.av_opt_set(context_, "sws_dither", "none", 0);
    if (ff.sws_init_context(context_, nullptr, nullptr) < 0) {
      ff.sws_freeContext(context_);
      context_ = nullptr;
      return false;
    }
    const int* coefficients = ff.sws_getCoefficients(matrix);
    ff.sws_setColorspaceDetails(context_, coefficients, range, coefficients, 0, 0, 1 << 16, 1 << 16);
    source_format_ = SourceFormat(picture);
    target_format_ = target_format;
    colour_matrix_ = matrix;
    source_range_ = range;
  }
  // The context is built for one size; a picture of another size never reaches here (checked by Write).
  return ff.sws_scale(context_, picture.data, picture.linesize, 0, picture.height, planes, strides) == picture.height;
}

}  // namespace vidmetra
