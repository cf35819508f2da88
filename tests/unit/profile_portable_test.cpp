#include "profile_conformance.h"

namespace tav::test {
INSTANTIATE_TEST_SUITE_P(Portable, ProfileConformance,
                         ::testing::Values(ProfileBackend{"Portable", &OpenPortableProfile}), BackendName);
}  // namespace tav::test
