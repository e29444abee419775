#pragma once
// A main dialog over the built-in metrics, with its settings key, log and compressor file in a scratch folder.
#include <gtest/gtest.h>

#include <memory>

#include "main_dialog.h"
#include "scripted_prompts.h"
#include "support/temp_dir.h"

namespace vidmetra::ui::testing {

const MetricCatalogue& BuiltInCatalogue();
int32_t MetricIndex(const std::string& name);

class ShellTest : public ::testing::Test {
 protected:
  ShellTest();
  // A fresh main dialog over the settings key as it is now.
  MainDialog& Open();
  void SelectMetric(const std::string& name);
  void SetPath(size_t input, const std::string& path);
  // Writes `frames` 16 x 16 YV12 frames; each frame's samples come from its own seed.
  std::string WriteYuv(const std::string& name, int frames, uint32_t seed);

  vidmetra::testing::TempDir dir_;
  SettingsStore store_;
  ScriptedPrompts prompts_;
  MeasurementSettings settings_;
  std::unique_ptr<MainDialog> dialog_;
};

}  // namespace vidmetra::ui::testing
