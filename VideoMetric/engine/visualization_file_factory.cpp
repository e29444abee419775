#include "vidmetra/visualization_file_factory.h"

#include "vidmetra/caption_font.h"
#include "vidmetra/visualization_file.h"

namespace vidmetra {

std::unique_ptr<VisualizationOutput> VisualizationFileFactory::Create(const VisualizationSettings& settings,
                                                                      const std::vector<int32_t>& result_ids,
                                                                      const ResultStore& store) {
  return std::make_unique<VisualizationFile>(settings, result_ids, store, catalogue_, CaptionFont::Shared());
}

}  // namespace vidmetra
