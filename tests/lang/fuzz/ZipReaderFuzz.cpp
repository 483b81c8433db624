// libFuzzer harness for the ZIP reader: any input must end in entries or a ZipError, within the
// allocation limit the run sets. Built natively with clang by run-fuzz.sh, not by the cross build.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "lang/ZipReader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const qzip::MemorySource src(std::string_view(reinterpret_cast<const char*>(data), size));
  try {
    for (const auto& entry : qzip::ReadDirectory(src)) {
      try {
        qzip::ReadEntry(src, entry);
      } catch (const qzip::ZipError&) {
      }
    }
  } catch (const qzip::ZipError&) {
  }
  return 0;
}
