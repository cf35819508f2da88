// The launcher's window class: how Tavimset, the tests and the benchmark find the running launcher.
#pragma once

namespace tav {

inline constexpr wchar_t kLauncherClass[] = L"TavimbraForm1";

}  // namespace tav
