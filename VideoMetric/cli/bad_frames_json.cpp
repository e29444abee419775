#include "bad_frames_json.h"

namespace vidmetra::cli {
namespace {

constexpr const char* kRoleNames[] = {"original", "first_processed", "second_processed"};

std::string FrameList(const std::vector<int32_t>& frames) {
  std::string list = "[";
  for (size_t i = 0; i < frames.size(); ++i) list.append(i > 0 ? "," : "").append(std::to_string(frames[i]));
  return list + "]";
}

// The inputs whose pictures were saved: those of the run's series.
bool Measured(const ResultStore& store, const std::string& path) {
  for (const int32_t id : store.SeriesIds()) {
    for (const InputFileEntry& file : store.Series(id)->files) {
      if (!path.empty() && file.path == path) return true;
    }
  }
  return false;
}

std::string BadFrames(const RunRecord& record, const MeasurementSettings& settings) {
  if (!record.bad_frames) return "null";
  std::string members;
  for (size_t role = 0; role < settings.input.inputs.size(); ++role) {
    if (!Measured(*record.store, settings.input.inputs[role].path)) continue;
    members.append(members.empty() ? "\"" : ",\"").append(kRoleNames[role]).append("\":").append(FrameList(*record.bad_frames));
  }
  return "{" + members + "}";
}

}  // namespace

std::string WithBadFrames(const std::string& json, const RunRecord& record, const MeasurementSettings& settings) {
  const size_t end = json.rfind('}');
  if (end == std::string::npos) return json;
  return json.substr(0, end) + ",\"bad_frames\":" + BadFrames(record, settings) + json.substr(end);
}

}  // namespace vidmetra::cli
