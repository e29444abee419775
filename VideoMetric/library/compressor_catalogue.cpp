#include "vidmetra/compressor_catalogue.h"

#include <algorithm>

#include "vidmetra/ffmpeg_api.h"
#include "vidmetra/video_encoder.h"

namespace vidmetra {
namespace {

struct BuiltIn {
  EncoderRecipe recipe;
  const char* description;
  const char* default_state;
  bool key_frame_interval;
};

// Lossless ones first: they are what a measurement's visualization usually wants.
const BuiltIn kBuiltIns[] = {
    {{FourCc("FFV1"), "ffv1", "bgr0", QualityControl::kNone, false}, "FFV1 lossless (FFmpeg video codec #1)", "",
     false},
    {{FourCc("HFYU"), "huffyuv", "rgb24", QualityControl::kNone, false}, "HuffYUV lossless", "", false},
    {{FourCc("ULRG"), "utvideo", "gbrp", QualityControl::kNone, false}, "Ut Video lossless (RGB)", "", false},
    {{FourCc("MJPG"), "mjpeg", "yuv420p", QualityControl::kQuantiser, false, true}, "Motion JPEG", "", false},
    {{FourCc("FMP4"), "mpeg4", "yuv420p", QualityControl::kQuantiser, true}, "MPEG-4 Part 2", "g=250", true},
    {{FourCc("H264"), "libx264", "yuv420p", QualityControl::kConstantRateFactor, true}, "H.264 (x264)",
     "g=250:preset=medium", true},
};

}  // namespace

CompressorCatalogue& CompressorCatalogue::Instance() {
  static CompressorCatalogue catalogue;
  return catalogue;
}

CompressorCatalogue::CompressorCatalogue() {
  entries_.push_back(Entry{kUncompressedFourCc, kUncompressedName, "", false, false, false, nullptr});
  const FfmpegApi* ff = LoadFfmpeg();
  for (const BuiltIn& built_in : kBuiltIns) {
    // Only what this FFmpeg was built with is offered; without FFmpeg, nothing is.
    if (ff == nullptr || ff->avcodec_find_encoder_by_name(built_in.recipe.encoder) == nullptr) continue;
    const EncoderRecipe recipe = built_in.recipe;
    const std::string description = built_in.description;
    const std::string state = built_in.default_state;
    entries_.push_back(Entry{recipe.fourcc, description, state, recipe.quality != QualityControl::kNone,
                             recipe.data_rate, built_in.key_frame_interval, [recipe, description, state] {
                               return std::make_unique<VideoEncoder>(recipe, description, state);
                             }});
  }
}

const CompressorCatalogue::Entry* CompressorCatalogue::Find(uint32_t fourcc) const {
  const auto found = std::find_if(entries_.begin(), entries_.end(), [&](const Entry& e) { return e.fourcc == fourcc; });
  return found == entries_.end() ? nullptr : &*found;
}

void CompressorCatalogue::Install(Entry entry) {
  Remove(entry.fourcc);
  entries_.push_back(std::move(entry));
}

void CompressorCatalogue::Remove(uint32_t fourcc) {
  std::erase_if(entries_, [&](const Entry& e) { return e.fourcc == fourcc; });
}

std::unique_ptr<VideoCompressor> CompressorCatalogue::Open(const CompressorSettings& settings) const {
  const Entry* entry = settings.fcc_type == kVideoCompressorType ? Find(settings.fcc_handler) : nullptr;
  if (entry == nullptr || !entry->create) return nullptr;
  std::unique_ptr<VideoCompressor> compressor = entry->create();
  if (compressor && !settings.state.empty() && !compressor->SetState(settings.state)) return nullptr;
  return compressor;
}

std::string CompressorName(const CompressorSettings& settings) {
  const std::unique_ptr<VideoCompressor> compressor = CompressorCatalogue::Instance().Open(settings);
  return compressor ? compressor->Description() : kUncompressedName;
}

std::string FourCcText(uint32_t fourcc) {
  std::string text;
  for (int i = 0; i < 4; ++i) {
    const char c = static_cast<char>(fourcc >> (8 * i));
    text += (c >= 0x20 && c < 0x7F) ? c : ' ';
  }
  return text;
}

}  // namespace vidmetra
