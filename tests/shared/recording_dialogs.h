// Message boxes as a transcript: "msg:", "err:" or "ask:" followed by the text; questions are
// answered from answers in order, No once they run out.
#pragma once
#include <deque>
#include <string>
#include <vector>

#include "registration.h"

namespace tav::settings {

class RecordingDialogs : public Dialogs {
 public:
  std::vector<std::u16string> log;
  std::deque<bool> answers;
  void Message(const std::u16string& t) override { log.push_back(u"msg:" + t); }
  void Error(const std::u16string& t) override { log.push_back(u"err:" + t); }
  bool AskYesNo(const std::u16string& t) override {
    log.push_back(u"ask:" + t);
    const bool a = !answers.empty() && answers.front();
    if (!answers.empty()) answers.pop_front();
    return a;
  }
};

}  // namespace tav::settings
