// The rows of the README's command tables, in both languages: the tables headed
// "file | line | typing | runs" (or the Japanese heading), each cell's code text.
#pragma once
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "text_encoding.h"

namespace tav::test {

struct ReadmeExample {
  std::u16string file, line, typed;
  std::u16string runs;  // the code in the "runs" cell: the whole command line where it is the whole cell,
  bool exact = false;   // else a part of it ("a web search for the words (`q=...`)")
  bool operator<(const ReadmeExample& o) const { return std::tie(file, line, typed) < std::tie(o.file, o.line, o.typed); }
};

inline std::set<ReadmeExample> ReadmeExamples(const std::filesystem::path& readme) {
  std::stringstream bytes;
  bytes << std::ifstream(readme, std::ios::binary).rdbuf();
  const std::u16string text = FromUtf8(bytes.str());
  const auto code = [](const std::u16string& c) {
    const std::size_t from = c.find(u'`'), to = c.find(u'`', from + 1);
    return from == std::u16string::npos || to == std::u16string::npos ? u"" : c.substr(from + 1, to - from - 1);
  };
  std::set<ReadmeExample> examples;
  bool inTable = false;
  for (std::size_t at = 0, end; at < text.size(); at = end + 1) {
    end = std::min(text.find(u'\n', at), text.size());
    const std::u16string row = text.substr(at, end - at);
    std::vector<std::u16string> c;
    for (std::size_t i = 1, bar; row.rfind(u"|", 0) == 0 && (bar = row.find(u" |", i)) != std::u16string::npos; i = bar + 2)
      c.push_back(row.substr(row.find_first_not_of(u' ', i), bar - row.find_first_not_of(u' ', i)));
    if (c.size() == 4 && ((c[0] == u"file" && c[3] == u"runs") || (c[0] == u"ファイル" && c[3] == u"実行されるもの")))
      inTable = true;
    else if (c.size() == 4 && inTable)
      examples.insert({code(c[0]), code(c[1]), code(c[2]), code(c[3]), c[3] == u"`" + code(c[3]) + u"`"});
    else
      inTable = inTable && row.rfind(u"|-", 0) == 0;  // the line under the heading
  }
  return examples;
}

}  // namespace tav::test
