# The addresses the manifests point at. The defaults are placeholders on the reserved host
# example.invalid: development builds make their manifests with them for the checks, and
# scripts/build.sh release refuses them (it passes the real ones from the environment).
set(TAVIMBRA_DOWNLOAD_URL "https://example.invalid/tavimbra/releases/download/v{version}/{file}"
    CACHE STRING "Download address pattern of the release files ({version} and {file} are replaced)")
set(TAVIMBRA_HOMEPAGE "https://example.invalid/tavimbra" CACHE STRING "Project home page for the manifests")
set(TAVIMBRA_RELEASE_NOTES_URL "" CACHE STRING
    "Release notes address pattern ({version} is replaced); empty: <home page>/releases/tag/v{version}")
set(TAVIMBRA_RELEASES_URL "" CACHE STRING
    "Page listing the releases, where Scoop looks for a newer version; empty: <home page>/releases")
set(TAVIMBRA_LICENSE_URL "" CACHE STRING
    "Address of the licence text ({version} is replaced); empty: <home page>/blob/v{version}/LICENSE")
# Derived from the home page at every configure unless set: a cache entry would keep the address
# of the home page it was first made from. Values an older configure derived count as unset.
function(tavimbra_derived_url var suffix)
  if("${${var}}" STREQUAL "" OR "${${var}}" STREQUAL "https://example.invalid/tavimbra${suffix}")
    set(${var} "${TAVIMBRA_HOMEPAGE}${suffix}" PARENT_SCOPE)
  endif()
endfunction()
tavimbra_derived_url(TAVIMBRA_RELEASE_NOTES_URL "/releases/tag/v{version}")
tavimbra_derived_url(TAVIMBRA_RELEASES_URL "/releases")
tavimbra_derived_url(TAVIMBRA_LICENSE_URL "/blob/v{version}/LICENSE")
