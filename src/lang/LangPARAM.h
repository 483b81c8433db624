// The process's language: the numbered message texts (27 built-in English ones, replaced by a
// language's message file) and the form texts of the selected language from the package "lang.pkg".
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "lang/Extractor.h"
#include "lang/IniProcceder.h"
#include "lang/StringList.h"

// Message numbers that name a text the program itself relies on.
inline constexpr int kBuiltInMessageCount = 27;

// The built-in English text of message `n`; raises EListError outside 0..26.
const std::wstring& BuiltInMessage(int n);

class LangPARAM {
 public:
  // Never fails: without a usable package the built-in texts stay and PackageLoaded is false.
  explicit LangPARAM(const std::wstring& packagePath);
  LangPARAM(const LangPARAM&) = delete;
  LangPARAM& operator=(const LangPARAM&) = delete;

  void LoadDefaultMessages();
  // Reads desc.txt: the file names, the language list and the [Trans] section. False when the
  // package cannot be read or one of the three sections is missing; lists already filled stay.
  bool LoadPackage(const std::wstring& path);
  // Loads the static and dynamic lists of the language listed as `name`. An entry that is missing
  // or damaged leaves its list as it was.
  bool SelectLanguage(std::wstring_view name);
  // Line n of DynamicList; raises EListError at or beyond its end.
  const std::wstring& MessageText(int n) const { return DynamicList[n]; }

  std::wstring PackagePath;
  std::wstring LangFolder;
  std::wstring DynamicFileName;
  std::wstring StaticFileName;
  Extractor extractor;
  IniProcceder iniProcceder;
  bool PackageLoaded = false;
  HashedStringList LanguageList;
  HashedStringList TransList;
  HashedStringList DynamicList;  // messages, line n is message n
  HashedStringList StaticList;   // form texts
};

// The process's one LangPARAM: process entry installs it right after creating it and removes it
// (nullptr) before destroying it.
void SetProcessLang(LangPARAM* lang);
LangPARAM* ProcessLang();

// Message n of the process's language, looked up at the moment it is shown so that a language
// switch takes effect at once. Before a LangPARAM is installed the built-in text. Raises
// EListError for a number the current list does not have.
const std::wstring& MessageText(int n);
