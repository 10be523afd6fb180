// The program's load configuration. The loader reads it before any code runs, so it is
// constant data; the build points the PE header at it (scripts/pe_hardening.py), as the linker
// does not.
#include <windows.h>

namespace {

constexpr IMAGE_LOAD_CONFIG_DIRECTORY64 LoadConfig() {
  IMAGE_LOAD_CONFIG_DIRECTORY64 config{};
  config.Size = sizeof config;
  // DependentLoadFlags, which this header still names Reserved1: the DLLs that the program's
  // imports pull in are looked for in the system folder only, never beside the program.
  config.Reserved1 = LOAD_LIBRARY_SEARCH_SYSTEM32;
  return config;
}

}  // namespace

extern "C" const IMAGE_LOAD_CONFIG_DIRECTORY64 _load_config_used;
constinit const IMAGE_LOAD_CONFIG_DIRECTORY64 _load_config_used = LoadConfig();
