// How a second copy finds the first: by the named mutex, also when it may not open it.
#include <windows.h>
#include <sddl.h>

#include <gtest/gtest.h>

#include "single_instance_win32.h"

namespace tav {
namespace {

constexpr wchar_t kName[] = L"Local\\Tavimbra.Test.SingleInstance";

TEST(SingleInstance, AnotherCopyAlsoWhenItsMutexCannotBeOpened) {
  struct Case {
    const wchar_t* firstCopy;  // security descriptor of the first copy's mutex; nullptr: none runs
    bool anotherCopy;
  } cases[] = {
      {nullptr, false},
      {L"", true},  // made with the default security: opened
      // An empty access list: nobody may open it, as a normal copy may not open an elevated
      // copy's mutex (there the integrity label refuses it).
      {L"D:", true},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    UniqueKernelHandle first;
    if (cases[i].firstCopy) {
      PSECURITY_DESCRIPTOR sd = nullptr;
      if (*cases[i].firstCopy) {
        ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW(cases[i].firstCopy, SDDL_REVISION_1, &sd,
                                                                          nullptr));
      }
      SECURITY_ATTRIBUTES sa{sizeof sa, sd, FALSE};
      first.reset(CreateMutexW(sd ? &sa : nullptr, FALSE, kName));
      LocalFree(sd);
      ASSERT_TRUE(first) << "case " << i;
    }
    InstanceLock lock = TakeInstanceLock(kName);
    EXPECT_EQ(lock.anotherCopy, cases[i].anotherCopy) << "case " << i;
    if (!cases[i].firstCopy) {
      EXPECT_TRUE(lock.mutex) << "case " << i << ": the first copy holds it";
    }
  }
}

}  // namespace
}  // namespace tav
