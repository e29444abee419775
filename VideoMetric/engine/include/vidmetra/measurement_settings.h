#pragma once
// Every option of a measurement, in one object that the program keeps for its whole life and hands to each run.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "vidmetra/colour_matrix.h"
#include "vidmetra/compressor_settings.h"
#include "vidmetra/input_file_entry.h"
#include "vidmetra/run_interfaces.h"

namespace vidmetra {

enum NameGeneration : int32_t { kNamePrefix = 0, kNamePostfix = 1, kNameCustom = 2 };
enum CsvType : int32_t { kCsvSemicolon = 0, kCsvComma = 1 };
enum CaptionPosition : int32_t { kTopLeft = 0, kBottomLeft = 1, kTopRight = 2, kBottomRight = 3 };

struct CsvOutputSettings {
  std::string output_folder;
  std::string custom_name;  // at most 60 characters
  int32_t name_generation = kNamePrefix;
  int32_t separator = kCsvComma;
  bool enabled = false;
  bool unicode = false;
};

struct CaptionSettings {
  int32_t position = kTopLeft;
  bool draw_caption = true;  // always true
  std::string text;
  bool print_metric_value = true;
  bool print_frame_number = true;
  bool draw_background = true;  // always true
};

struct VisualizationSettings {
  std::string output_folder;
  std::string custom_name;
  int32_t name_generation = kNamePrefix;
  bool enabled = false;
  CaptionSettings caption;
  int32_t width = 0;   // set by the engine before the output is created
  int32_t height = 0;
  CompressorSettings compressor;  // none chosen: written uncompressed
};

struct BadFrameSettings {
  std::string output_folder;
  int32_t mode = 0;
  int32_t count = 0;
  int32_t radius = 0;
  bool enabled = false;
};

struct MeasurementRequest {
  ProgressSink* progress = nullptr;
  RunLog* log = nullptr;
  RunGate* gate = nullptr;
  std::vector<InputFileEntry> files;  // the original first in reference mode
  int32_t metric_index = 0;
  int32_t component = 0;
  int32_t colour_matrix = kRec601;
  std::string configuration;
  VisualizationSettings visualization;
};

struct InputState {
  std::array<InputFileEntry, 3> inputs;  // original, first processed, second processed
  bool play_wav = false;
  std::string wav_path;
  bool auto_close_progress = false;
  std::string last_original;
  std::string last_first_processed;
  std::string last_second_processed;
  std::vector<std::string> metric_configurations;  // one per catalogue entry
  bool comparative_analysis = false;
};

struct MeasurementSettings {
  CsvOutputSettings csv;
  VisualizationSettings visualization;
  CaptionSettings caption;
  BadFrameSettings bad_frames;
  MeasurementRequest request;
  InputState input;
  bool show_report = false;  // the "Show results visualization" check box
};

}  // namespace vidmetra
