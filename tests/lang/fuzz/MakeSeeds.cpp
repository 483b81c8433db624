// Writes a few well-formed archives as the fuzzer's starting corpus.
#include <fstream>
#include <string>

#include "support/ZipWriter.h"

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  const std::string dir = argv[1];
  using testsupport::MakeZip;
  const std::string seeds[] = {
      MakeZip({{"desc.txt", "[Files]\r\ndynamic=m.txt\r\n[Stuff]\r\nEnglish=en\\\r\n[Trans]\r\n"},
               {"en/m.txt", "one\r\ntwo\r\n"}}),
      MakeZip({{"a", std::string(5000, 'a')}, {"b/c", "\xEF\xBB\xBFtext"}, {"d/", ""}}),
      MakeZip({}),
  };
  int i = 0;
  for (const auto& s : seeds) std::ofstream(dir + "/seed" + std::to_string(i++) + ".zip", std::ios::binary) << s;
  return 0;
}
