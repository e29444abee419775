#include "vidmetra/caption_font.h"

#include <array>
#include <cstdint>
#include <mutex>
#include <unordered_map>
#include <vector>

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H

namespace vidmetra {
namespace {

constexpr char kProductText[] = "VIDEO QUALITY MEASUREMENT";
// The product text starts 40 pixels into the 150 that a right-hand caption has, and its shadow reaches one
// pixel further; "Zyr" has to end before the product text starts.
constexpr int kProductTextRoom = 150 - 40 - 1;
constexpr int kMarkRoom = 40 - 2;
// A line and its shadow inside the 15-pixel spacing.
constexpr int kLineRoom = 15 - 1;
constexpr int kLargestHeight = 13;
constexpr int kSmallestSize = 5;

struct Glyph {
  std::vector<uint8_t> coverage;  // rows x width bytes, 0 (empty) to 255 (covered)
  int width = 0;
  int rows = 0;
  int left = 0;   // from the pen position to the first column
  int top = 0;    // from the baseline up to the first row
  int advance = 0;
};

// Decodes one UTF-8 sequence at `text[i]`, advancing `i`; a malformed byte stands for itself as U+FFFD.
char32_t NextCodePoint(const char* text, size_t length, size_t& i) {
  const auto lead = static_cast<unsigned char>(text[i++]);
  if (lead < 0x80) return lead;
  const int extra = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : -1;
  if (extra < 0 || i + static_cast<size_t>(extra) > length) return 0xFFFD;
  char32_t code = lead & (0x3F >> extra);
  for (int k = 0; k < extra; ++k) {
    const auto next = static_cast<unsigned char>(text[i]);
    if ((next & 0xC0) != 0x80) return 0xFFFD;
    code = (code << 6) | (next & 0x3F);
    ++i;
  }
  return code;
}

void Blend(uint8_t* pixel, CaptionColour colour, unsigned coverage) {
  const auto mix = [coverage](uint8_t under, uint8_t over) {
    return static_cast<uint8_t>((under * (255 - coverage) + over * coverage + 127) / 255);
  };
  pixel[0] = mix(pixel[0], colour.b);
  pixel[1] = mix(pixel[1], colour.g);
  pixel[2] = mix(pixel[2], colour.r);
}

}  // namespace

struct CaptionFont::Face {
  FT_Library library = nullptr;
  FT_Face face = nullptr;
  int ascender = 0;
  int line_height = 0;
  std::array<Glyph, 128> ascii;
  // Glyphs beyond ASCII (file names) are rasterised when first met; a run's threads may share the font.
  std::mutex others_mutex;
  std::unordered_map<char32_t, Glyph> others;

  ~Face() {
    if (face != nullptr) FT_Done_Face(face);
    if (library != nullptr) FT_Done_FreeType(library);
  }

  Glyph Render(char32_t code) const {
    Glyph glyph;
    if (FT_Load_Char(face, code, FT_LOAD_RENDER | FT_LOAD_TARGET_LIGHT) != 0) return glyph;
    const FT_GlyphSlot slot = face->glyph;
    const FT_Bitmap& bitmap = slot->bitmap;
    glyph.advance = static_cast<int>((slot->advance.x + 32) >> 6);
    if (bitmap.pixel_mode != FT_PIXEL_MODE_GRAY) return glyph;
    glyph.width = static_cast<int>(bitmap.width);
    glyph.rows = static_cast<int>(bitmap.rows);
    glyph.left = slot->bitmap_left;
    glyph.top = slot->bitmap_top;
    glyph.coverage.resize(static_cast<size_t>(glyph.width) * static_cast<size_t>(glyph.rows));
    for (int row = 0; row < glyph.rows; ++row) {
      const unsigned char* source = bitmap.buffer + static_cast<ptrdiff_t>(row) * bitmap.pitch;
      std::copy(source, source + glyph.width, glyph.coverage.begin() + static_cast<ptrdiff_t>(row) * glyph.width);
    }
    return glyph;
  }

  int Advance(std::string_view text) const {
    int width = 0;
    for (const char c : text) {
      if (FT_Load_Char(face, static_cast<unsigned char>(c), FT_LOAD_DEFAULT | FT_LOAD_TARGET_LIGHT) == 0) {
        width += static_cast<int>((face->glyph->advance.x + 32) >> 6);
      }
    }
    return width;
  }

  bool SetSize(int width, int height) {
    if (FT_Set_Pixel_Sizes(face, static_cast<FT_UInt>(width), static_cast<FT_UInt>(height)) != 0) return false;
    ascender = static_cast<int>((face->size->metrics.ascender + 63) >> 6);
    line_height = ascender + static_cast<int>((-face->size->metrics.descender + 63) >> 6);
    return true;
  }

  // The tallest size whose lines fit their spacing, then the widest whose product line fits its room; glyphs
  // may be narrower than they are tall.
  bool ChooseSize() {
    int height = kLargestHeight;
    while (height > kSmallestSize && (!SetSize(height, height) || line_height > kLineRoom)) --height;
    for (int width = height; width >= kSmallestSize; --width) {
      if (SetSize(width, height) && line_height <= kLineRoom && Advance(kProductText) <= kProductTextRoom &&
          Advance("Zyr") <= kMarkRoom) {
        return true;
      }
    }
    return false;
  }

  bool Load(const std::string& file) {
    if (file.empty() || FT_Init_FreeType(&library) != 0) return false;
    if (FT_New_Face(library, file.c_str(), 0, &face) != 0 || !FT_IS_SCALABLE(face)) return false;
    if (!ChooseSize()) return false;
    for (char32_t code = 32; code < 127; ++code) ascii[code] = Render(code);
    return true;
  }

  const Glyph& Find(char32_t code) {
    if (code < ascii.size()) return ascii[code];
    const std::lock_guard<std::mutex> lock(others_mutex);
    auto found = others.find(code);
    if (found == others.end()) found = others.emplace(code, Render(code)).first;
    return found->second;
  }
};

const CaptionFont& CaptionFont::Shared() {
  static const CaptionFont font(FindCaptionFontFile());
  return font;
}

CaptionFont::CaptionFont(const std::string& font_file) : face_(std::make_unique<Face>()) {
  if (!face_->Load(font_file)) face_.reset();
}

CaptionFont::~CaptionFont() = default;

bool CaptionFont::usable() const { return face_ != nullptr; }

int CaptionFont::LineHeight() const { return face_ ? face_->line_height : 0; }

int CaptionFont::TextWidth(std::string_view text) const {
  if (!face_) return 0;
  int width = 0;
  for (size_t i = 0; i < text.size();) width += face_->Find(NextCodePoint(text.data(), text.size(), i)).advance;
  return width;
}

void CaptionFont::Stamp(const CaptionCanvas& canvas, int x, int y, const char* text, size_t length,
                        CaptionColour colour) const {
  if (!face_) return;
  const int baseline = y + face_->ascender;
  int pen = x;
  for (size_t i = 0; i < length;) {
    const Glyph& glyph = face_->Find(NextCodePoint(text, length, i));
    for (int row = 0; row < glyph.rows; ++row) {
      const uint8_t* coverage = glyph.coverage.data() + static_cast<ptrdiff_t>(row) * glyph.width;
      for (int column = 0; column < glyph.width; ++column) {
        if (coverage[column] == 0) continue;
        uint8_t* pixel = canvas.PixelAt(pen + glyph.left + column, baseline - glyph.top + row);
        if (pixel != nullptr) Blend(pixel, colour, coverage[column]);
      }
    }
    pen += glyph.advance;
  }
}

std::string FindCaptionFontFile() {
  FcConfig* config = FcInitLoadConfigAndFonts();
  if (config == nullptr) return {};
  std::string file;
  // fontconfig answers with its nearest sans face when DejaVu is not installed.
  if (FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>("DejaVu Sans:bold")); pattern != nullptr) {
    FcConfigSubstitute(config, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    if (FcPattern* match = FcFontMatch(config, pattern, &result); match != nullptr) {
      FcChar8* path = nullptr;
      if (FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch && path != nullptr) {
        file = reinterpret_cast<const char*>(path);
      }
      FcPatternDestroy(match);
    }
    FcPatternDestroy(pattern);
  }
  FcConfigDestroy(config);
  return file;
}

}  // namespace vidmetra
