#include <windows.h>

#include <vector>

#include "profile_conformance.h"
#include "temp_dir.h"
#include "text_encoding.h"

namespace tav::test {

INSTANTIATE_TEST_SUITE_P(Backends, ProfileConformance,
                         ::testing::Values(ProfileBackend{"Portable", &OpenPortableProfile},
                                           ProfileBackend{"Win32", &OpenWin32Profile}),
                         BackendName);

namespace {

// Files a user or another tool may leave behind; the portable reader must agree with the platform.
const char* const kTrickyFiles[] = {
    "[tavimbra]\r\nBack=00FF00\r\n",
    "[TavImbra]\r\nback = 00FF00 \r\nKEY1=65\r\n",
    "[tavimbra]\nBack=00FF00",
    "[tavimbra]\r\nBack=1\r\nBack=2\r\nKey1=3\r\nKey1=4\r\n",
    "[tavimbra]\r\nBack=1\r\n[tavimbra]\r\nText=2\r\nKey2=9\r\n",
    "; comment\r\n[tavimbra]\r\n;Back=1\r\nBack=2\r\n# Text=3\r\n",
    "[tavimbra]\r\nFont=a=b\r\nText==x\r\n",
    "[tavimbra]\r\nFont=\"quoted\"\r\nBack='single'\r\nText=\"half\r\n",
    "[tavimbra]\r\nBack\r\nKey1\r\n",
    "  [ tavimbra ]  \r\nBack=1\r\n",
    "[tavimbra]   \r\n\tBack\t=\t7\t\r\nKey1 = \t 12 \r\n",
    "\xEF\xBB\xBF[tavimbra]\r\nFont=\xE3\x81\x82\r\n",
    "[tavimbra]\r\nFont=\x82\x6C\x82\x72 \x82\x6F\x83\x53\x83\x56\x83\x62\x83\x4E\r\n",  // CP 932
    "[tavimbra\r\nBack=1\r\n[tavimbra]\r\nBack=2\r\n",
    "[tavimbra]\r\nFontSize=10.5\r\nKey1=-7\r\nKey2=+8\r\nBold=0x1\r\nItalic= 3 4\r\n",
    "[tavimbra]\r\n\r\n\r\nBack=5\r\n[other]\r\nText=6\r\n",
    "[tavimbra]\r\nKey1=99999999999\r\nKey2=0b101\r\nBold=0o17\r\nItalic=010\r\nFontSize=0X10\r\n",
    "",
};
const char16_t* const kKeys[] = {u"Back", u"Text", u"Font", u"Key1", u"Key2", u"FontSize", u"Bold", u"Italic"};

std::u16string PlatformString(const std::u16string& path, const char16_t* key) {
  wchar_t buf[256];
  DWORD n = GetPrivateProfileStringW(L"tavimbra", W(key), L"<def>", buf, 256, W(path));
  return U(buf, n);
}

TEST(PlatformAgreement, PortableReaderReadsTrickyFilesLikeThePlatform) {
  for (std::size_t i = 0; i < std::size(kTrickyFiles); ++i) {
    TempDir dir;
    WriteBytes(dir.path() / "s.ini", kTrickyFiles[i]);
    std::u16string path = dir.Text("s.ini");
    auto ours = OpenPortableProfile(path, u"tavimbra");
    for (const char16_t* key : kKeys) {
      std::u16string platform = PlatformString(path, key);
      EXPECT_EQ(ToUtf8(ours->ReadString(key, u"<def>", 256)), ToUtf8(platform))
          << "file " << i << " key " << ToUtf8(key);
      if (platform.empty()) continue;  // an empty value reads as 0 here, not as the default
      int platformInt = static_cast<int>(GetPrivateProfileIntW(L"tavimbra", W(key), 4242, W(path)));
      EXPECT_EQ(ours->ReadInt(key, 4242), platformInt) << "file " << i << " key " << ToUtf8(key);
    }
  }
}

TEST(PlatformAgreement, PortableWriterLeavesTheSameBytesAsThePlatform) {
  struct Write {
    const char16_t* key;
    const char16_t* value;
  };
  const Write writes[] = {{u"Back", u"0F00FF"}, {u"key1", u"65"},   {u"Font", u"ＭＳ Ｐゴシック"},
                          {u"NEW", u"  x"},     {u"Back", u"0F00FF"}, {u"Text", u""}};
  for (std::size_t i = 0; i < std::size(kTrickyFiles); ++i) {
    TempDir dir;
    WriteBytes(dir.path() / "ours.ini", kTrickyFiles[i]);
    WriteBytes(dir.path() / "platform.ini", kTrickyFiles[i]);
    auto ours = OpenPortableProfile(dir.Text("ours.ini"), u"tavimbra");
    std::u16string platformPath = dir.Text("platform.ini");
    for (const Write& w : writes) {
      ours->WriteString(w.key, w.value);
      WritePrivateProfileStringW(L"tavimbra", W(w.key), W(w.value), W(platformPath));
    }
    WritePrivateProfileStringW(nullptr, nullptr, nullptr, W(platformPath));  // flush the platform's cache
    EXPECT_EQ(ReadBytes(dir.path() / "ours.ini"), ReadBytes(dir.path() / "platform.ini")) << "file " << i;
  }
}

TEST(PlatformAgreement, NewFileFromAFullSaveMatchesThePlatform) {
  TempDir dir;
  auto ours = OpenPortableProfile(dir.Text("ours.ini"), u"tavimbra");
  auto platform = OpenWin32Profile(dir.Text("platform.ini"), u"tavimbra");
  for (const char16_t* key : {u"Back", u"Text", u"AutoComplete", u"KeepFocus", u"UseSkin", u"key1", u"key2", u"Font",
                              u"FontSize", u"Bold", u"Italic", u"SendTo", u"StartUP"}) {
    EXPECT_TRUE(ours->WriteString(key, u"1"));
    EXPECT_TRUE(platform->WriteString(key, u"1"));
  }
  WritePrivateProfileStringW(nullptr, nullptr, nullptr, W(dir.Text("platform.ini")));
  EXPECT_EQ(ReadBytes(dir.path() / "ours.ini"), ReadBytes(dir.path() / "platform.ini"));
}

}  // namespace
}  // namespace tav::test
