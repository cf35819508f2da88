// COM on the calling thread for a scope.
#pragma once
#include <windows.h>
#include <objbase.h>

namespace tav {

// A single-threaded apartment without the old OLE 1 DDE (the shell's requests want one). Where
// the thread already has COM this only counts it once more; the end undoes only a start that
// succeeded.
class ComApartment {
 public:
  ComApartment() : started_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE)) {}
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;
  ~ComApartment() {
    if (SUCCEEDED(started_)) CoUninitialize();
  }

 private:
  HRESULT started_;
};

}  // namespace tav
