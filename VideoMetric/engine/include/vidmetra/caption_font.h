#pragma once
// The caption typeface: a bold sans face found through fontconfig, rasterised by FreeType at a size that keeps
// every caption line inside its 15-pixel spacing and the product line inside 150 pixels. Glyphs are rasterised
// once; stamping text afterwards allocates nothing.
#include <memory>
#include <string>
#include <string_view>

#include "vidmetra/caption_canvas.h"

namespace vidmetra {

class CaptionFont final : public TextStamp {
 public:
  // The process-wide font, looked up on first use.
  static const CaptionFont& Shared();
  // The face in `font_file`; an empty or unreadable file gives a font that draws nothing.
  explicit CaptionFont(const std::string& font_file);
  ~CaptionFont() override;
  CaptionFont(const CaptionFont&) = delete;
  CaptionFont& operator=(const CaptionFont&) = delete;

  bool usable() const;
  // Pixels from the first column of `text` to the end of its last glyph's advance.
  int TextWidth(std::string_view text) const;
  // Pixels from the top of a line to the bottom of its lowest possible glyph.
  int LineHeight() const;
  void Stamp(const CaptionCanvas& canvas, int x, int y, const char* text, size_t length,
             CaptionColour colour) const override;

 private:
  struct Face;
  std::unique_ptr<Face> face_;
};

// The file fontconfig offers for a bold sans face (DejaVu Sans Bold where installed); empty when none.
std::string FindCaptionFontFile();

}  // namespace vidmetra
