// One behaviour suite for every ProfileFile backend. A test binary instantiates it with the
// backends it has: the portable one natively, both under Wine.
#pragma once
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "profile_file.h"

namespace tav::test {

struct ProfileBackend {
  std::string name;
  std::function<std::unique_ptr<ProfileFile>(std::u16string path, std::u16string section)> open;
};

class ProfileConformance : public ::testing::TestWithParam<ProfileBackend> {};

inline std::string BackendName(const ::testing::TestParamInfo<ProfileBackend>& info) { return info.param.name; }

}  // namespace tav::test
