// The box font as the mapper really makes it: face, height, weight and slant on a DC holding it.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "input_box_look_win32.h"
#include "text_encoding.h"

namespace tav::test {
namespace {

struct Made {
  std::u16string face;
  LOGFONTW asked{};
  TEXTMETRICW metrics{};
};

Made Make(const InputBoxFontChoice& choice, UINT dpi) {
  Made m;
  UniqueFont font = CreateInputBoxFont(choice, dpi);
  if (!font) return m;
  GetObjectW(font.get(), sizeof m.asked, &m.asked);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, font.get());
  wchar_t face[LF_FACESIZE] = {};
  GetTextFaceW(dc, LF_FACESIZE, face);
  m.face = U(face);
  GetTextMetricsW(dc, &m.metrics);
  SelectObject(dc, old);
  DeleteDC(dc);
  return m;
}

// Western faces from fonts-dejavu-core, Japanese ones from fonts-ipafont-gothic (scripts/setup.sh).
TEST(InputBoxFont, InstalledFaceIsKeptWithTheAskedSizeWeightAndSlant) {
  struct Case {
    const char16_t* face;
    double points;
    bool bold, italic;
    UINT dpi;
    int pixels;  // character height
  } cases[] = {
      {u"DejaVu Sans", 14, true, true, 96, 19},
      {u"DejaVu Serif", 11, false, true, 96, 15},
      {u"DejaVu Sans Mono", 11, true, false, 96, 15},
      {u"IPA Pゴシック", 11, false, false, 96, 15},
      {u"IPAゴシック", 14, true, false, 96, 19},
      {u"DejaVu Sans", 11, false, false, 144, 22},
      {u"DejaVu Sans", 100000, false, false, 96, 64},  // held at 48 points
      {u"IPA Pゴシック", 2147483647.0, false, false, 144, 96},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    const Case& c = cases[i];
    ASSERT_TRUE(FaceInstalled(c.face)) << "case " << i << ": " << ToUtf8(c.face) << " is not installed";
    Made m = Make({c.face, c.points, c.bold, c.italic}, c.dpi);
    EXPECT_EQ(m.face, c.face) << "case " << i << " got " << ToUtf8(m.face);
    EXPECT_EQ(m.asked.lfHeight, -c.pixels) << "case " << i;
    // The rasteriser rounds ascent and descent apart: one pixel either way.
    EXPECT_NEAR(m.metrics.tmHeight - m.metrics.tmInternalLeading, c.pixels, 1) << "case " << i;
    EXPECT_EQ(m.metrics.tmWeight, c.bold ? FW_BOLD : FW_NORMAL) << "case " << i;
    EXPECT_EQ(m.metrics.tmItalic != 0, c.italic) << "case " << i;
  }
}

TEST(InputBoxFont, MissingFaceBecomesAProportionalJapaneseFace) {
  for (const char16_t* face : {u"No Such Face For Tavimbra", u""}) {
    Made m = Make({face, 12, true, false}, 96);
    EXPECT_FALSE(m.face.empty()) << ToUtf8(face);
    EXPECT_EQ(m.face, FallbackJapaneseFace()) << ToUtf8(face) << " got " << ToUtf8(m.face);
    EXPECT_EQ(m.metrics.tmCharSet, SHIFTJIS_CHARSET) << ToUtf8(m.face);
    // TMPF_FIXED_PITCH set means a variable-pitch font.
    EXPECT_TRUE(m.metrics.tmPitchAndFamily & TMPF_FIXED_PITCH) << ToUtf8(m.face) << " is fixed-pitch";
    EXPECT_NEAR(m.metrics.tmHeight - m.metrics.tmInternalLeading, 16, 1) << ToUtf8(m.face);
    EXPECT_EQ(m.metrics.tmWeight, FW_BOLD) << ToUtf8(m.face);
  }
}

TEST(InputBoxFont, CharsetIsOneTheFaceHas) {
  EXPECT_EQ(FaceCharset(u"IPA Pゴシック"), SHIFTJIS_CHARSET);
  EXPECT_EQ(FaceCharset(u"DejaVu Sans"), ANSI_CHARSET);
  EXPECT_EQ(FaceCharset(u"No Such Face For Tavimbra"), DEFAULT_CHARSET);
}

}  // namespace
}  // namespace tav::test
