// Replays the seed corpora and the kept crash inputs through every fuzz target.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "fuzz_target.h"

namespace tav::fuzz {
namespace {
std::map<std::string, Entry>& Targets() {
  static std::map<std::string, Entry> targets;
  return targets;
}
}  // namespace

Registration::Registration(const char* name, Entry entry) { Targets()[name] = entry; }

namespace {
namespace fs = std::filesystem;

std::vector<fs::path> InputsOf(const std::string& target) {
  std::vector<fs::path> files;
  for (const char* kind : {"corpus", "regressions"}) {
    fs::path dir = fs::path(TAV_FUZZ_DIR) / kind / target;
    if (!fs::is_directory(dir)) continue;
    for (const auto& e : fs::directory_iterator(dir))
      if (e.is_regular_file()) files.push_back(e.path());
  }
  return files;
}

TEST(FuzzCorpus, EveryTargetHasSeedsAndAllOfThemHold) {
  ASSERT_GE(Targets().size(), 6u);
  for (const auto& [name, entry] : Targets()) {
    auto files = InputsOf(name);
    EXPECT_FALSE(files.empty()) << "no seed corpus for " << name;
    for (const auto& f : files) {
      std::ifstream in(f, std::ios::binary);
      std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
      ASSERT_TRUE(in) << f;
      g_replayedFile = f.string();  // a broken property aborts, naming the check and this file
      entry(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    }
  }
  g_replayedFile.clear();
}

}  // namespace
}  // namespace tav::fuzz
