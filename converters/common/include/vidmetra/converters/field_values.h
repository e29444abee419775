#pragma once
#include <map>
#include <string>

#include "vidmetra/converters/picture_size.h"

namespace vidmetra::converters {

struct FrameRange {
  long long first = 0;
  long long last = -1;  // inclusive; below `first` when nothing is to be done
};

// The values of a tool's fields by key: texts as typed, numbers as digits, flags as "1" or empty.
class FieldValues {
 public:
  void Set(const std::string& key, std::string value) { values_[key] = std::move(value); }

  const std::string& Text(const std::string& key) const;
  // An empty number field counts as 0, as the dialogs start.
  long long Number(const std::string& key) const;
  int SmallNumber(const std::string& key) const { return static_cast<int>(Number(key)); }
  bool Flag(const std::string& key) const { return !Text(key).empty(); }

  PictureSize Size() const { return PictureSize{SmallNumber("width"), SmallNumber("height")}; }
  // The "name" pattern with frame `number` put in as the "digits" field says; no folder, no extension.
  std::string FrameName(long long number) const;
  // "from" to "to", or 0 to `all_last` when the "all" flag is set.
  FrameRange Range(long long all_last) const;

 private:
  std::map<std::string, std::string> values_;
};

}  // namespace vidmetra::converters
