#include "support/avi_seeds.h"

#include "support/avi_builder.h"

namespace vidmetra::testing {

namespace {

AviBuilder SeedClip(bool with_audio, bool with_text) {
  AviBuilder builder;
  const int video = builder.AddVideoStream(4, 2, std::string(4, '\0'), 24);
  const int audio = with_audio ? builder.AddAudioStream(1, 8000, 8) : -1;
  if (with_text) {
    AviStreamSpec text;
    text.type = "txts";
    text.format = {'t'};
    text.chunk_suffix = "tx";
    builder.AddStream(text);
  }
  for (uint32_t i = 0; i < 5; ++i) {
    builder.AddSample(video, PatternBytes(24, i), i % 3 == 0);
    if (audio >= 0) builder.AddSample(audio, PatternBytes(3 + i, 50 + i));
  }
  builder.SetEntriesPerStandardIndex(2);
  return builder;
}

}  // namespace

std::vector<NamedBytes> AviSeedFiles() {
  return {
      {"classic_relative", SeedClip(true, false).Build(AviIndexLayout::kClassicRelative)},
      {"classic_absolute", SeedClip(false, true).Build(AviIndexLayout::kClassicAbsolute)},
      {"open_dml", SeedClip(true, false).Build(AviIndexLayout::kOpenDml)},
      {"open_dml_with_classic", SeedClip(false, false).Build(AviIndexLayout::kOpenDmlWithClassic)},
      {"open_dml_direct", SeedClip(true, true).Build(AviIndexLayout::kOpenDmlDirect)},
      {"no_index", SeedClip(false, false).Build(AviIndexLayout::kNone)},
  };
}

}  // namespace vidmetra::testing
