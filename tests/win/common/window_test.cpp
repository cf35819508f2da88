// The base window every form stands on: its class made on first use, the object behind the
// handle, and a handler that throws answered by DefWindowProc.
#include <gtest/gtest.h>
#include <windows.h>

#include <stdexcept>
#include <string>

#include "window_names.h"
#include "window_win32.h"

namespace tav {
namespace {

constexpr wchar_t kClass[] = L"TavBaseWindowTest";

// Throws from its handler for one message (a standard exception, or anything else), answers
// every other one by DefWindowProc.
class ThrowingWindow final : public Window {
 public:
  ThrowingWindow(UINT throwOn, bool standard) : throwOn_(throwOn), standard_(standard) {}
  ~ThrowingWindow() {
    if (hwnd_ && IsWindow(hwnd_)) DestroyWindow(hwnd_);
  }
  bool Make(const wchar_t* caption) {
    return Create(GetModuleHandleW(nullptr), {kClass}, 0, caption, WS_POPUP, 0, 0, 50, 50);
  }
  int thrown = 0;

 private:
  LRESULT HandleMessage(UINT m, WPARAM w, LPARAM l) override {
    if (m == throwOn_) {
      ++thrown;
      if (standard_) throw std::runtime_error("handler failed");
      throw 7;
    }
    return DefWindowProcW(hwnd_, m, w, l);
  }
  UINT throwOn_;
  bool standard_;
};

TEST(BaseWindow, AThrowingHandlerIsAnsweredByDefWindowProc) {
  // What DefWindowProc answers and does: WM_NCCREATE lets the window be made with its caption,
  // WM_SETTEXT stores the text and says TRUE, WM_GETTEXTLENGTH counts it, WM_NCHITTEST finds the
  // client area. Any other answer (0 among them) shows in the result or the window.
  struct Case {
    UINT message;
    bool standard;
  } cases[] = {
      {WM_NCCREATE, true}, {WM_NCCREATE, false},     {WM_SETTEXT, true},
      {WM_SETTEXT, false}, {WM_GETTEXTLENGTH, true}, {WM_NCHITTEST, false},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    const Case& c = cases[i];
    ThrowingWindow window(c.message, c.standard);
    if (!window.Make(L"made")) {
      ADD_FAILURE() << "case " << i << ": no window";
      continue;
    }
    HWND w = window.Hwnd();
    EXPECT_EQ(reinterpret_cast<Window*>(GetWindowLongPtrW(w, GWLP_USERDATA)), &window) << "case " << i;
    EXPECT_EQ(test::WindowText(w), L"made") << "case " << i;
    EXPECT_EQ(SendMessageW(w, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"set")), TRUE) << "case " << i;
    EXPECT_EQ(test::WindowText(w), L"set") << "case " << i;
    EXPECT_EQ(SendMessageW(w, WM_GETTEXTLENGTH, 0, 0), 3) << "case " << i;
    RECT r;
    GetWindowRect(w, &r);
    EXPECT_EQ(SendMessageW(w, WM_NCHITTEST, 0, MAKELPARAM(r.left + 25, r.top + 25)), HTCLIENT) << "case " << i;
    EXPECT_GE(window.thrown, 1) << "case " << i << ": the handler saw the message";
  }
}

}  // namespace
}  // namespace tav
