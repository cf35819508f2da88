// Which Japanese face replaces one that is not installed, with stand-in faces of the preferred
// names added for this process only (made by fonts/make_test_fonts.py).
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "built_files.h"
#include "input_box_look_win32.h"
#include "text_encoding.h"

namespace tav::test {
namespace {

namespace fs = std::filesystem;

fs::path FontsFolder() { return test::BuiltTestFile(L"win", L"test_fonts"); }

// Faces added privately for the life of the object.
class AddedFaces {
 public:
  explicit AddedFaces(const std::vector<const wchar_t*>& files) {
    for (const wchar_t* file : files) {
      fs::path path = FontsFolder() / file;
      if (AddFontResourceExW(path.c_str(), FR_PRIVATE, nullptr) > 0) added_.push_back(path);
    }
  }
  ~AddedFaces() {
    for (const fs::path& path : added_) RemoveFontResourceExW(path.c_str(), FR_PRIVATE, nullptr);
  }
  std::size_t Count() const { return added_.size(); }

 private:
  std::vector<fs::path> added_;
};

std::u16string FaceOf(HFONT font) {
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, font);
  wchar_t face[LF_FACESIZE] = {};
  GetTextFaceW(dc, LF_FACESIZE, face);
  SelectObject(dc, old);
  DeleteDC(dc);
  return U(face);
}

TEST(FontFallback, PreferredFacesInOrderThenAProportionalNonDecorativeOne) {
  if (!fs::exists(FontsFolder() / L"decorative.ttf"))
    GTEST_SKIP() << "no stand-in faces in " << FontsFolder().string() << " (python3-fonttools)";
  // The decorative face comes first in the enumeration; the system's own IPA P Gothic is the
  // only other proportional Japanese face.
  struct Case {
    std::vector<const wchar_t*> files;
    const char16_t* expected;
  } cases[] = {
      {{L"decorative.ttf"}, u"IPA Pゴシック"},
      {{L"decorative.ttf", L"ms_ui_gothic.ttf"}, u"MS UI Gothic"},
      {{L"decorative.ttf", L"ms_ui_gothic.ttf", L"ms_pgothic.ttf"}, u"ＭＳ Ｐゴシック"},
      {{L"decorative.ttf", L"ms_ui_gothic.ttf", L"ms_pgothic.ttf", L"meiryo_ui.ttf"}, u"Meiryo UI"},
      {{L"decorative.ttf", L"ms_ui_gothic.ttf", L"ms_pgothic.ttf", L"meiryo_ui.ttf", L"yu_gothic_ui.ttf"},
       u"Yu Gothic UI"},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    AddedFaces faces(cases[i].files);
    ASSERT_EQ(faces.Count(), cases[i].files.size()) << "case " << i;
    ASSERT_TRUE(FaceInstalled(u"AAA Tav Decorative", SHIFTJIS_CHARSET)) << "case " << i;
    EXPECT_EQ(FallbackJapaneseFace(), cases[i].expected) << "case " << i << " got " << ToUtf8(FallbackJapaneseFace());
    UniqueFont font = CreateInputBoxFont({u"No Such Face For Tavimbra", 11, false, false}, 96);
    EXPECT_EQ(FaceOf(font.get()), cases[i].expected) << "case " << i << " got " << ToUtf8(FaceOf(font.get()));
  }
}

}  // namespace
}  // namespace tav::test
