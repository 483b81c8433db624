#include "lang/LangPARAM.h"

#include <windows.h>

#include <array>
#include <exception>

namespace {

const std::array<std::wstring, kBuiltInMessageCount>& BuiltInMessages() {
  // Numbers 0, 1, 2, 10, 11 and 18 are kept empty so that the numbering of later texts holds.
  static const std::array<std::wstring, kBuiltInMessageCount> texts = {
      L"",
      L"",
      L"",
      L"Select directory where database files is stored",
      L"Do you want to move current records to a new location?",
      L"Confirmation",
      L"Warning!",
      L"All text records will be lost. Continue?",
      L"All graphic records will be lost. Continue?",
      L"This keys combination already in use. Rechoice another one.",
      L"",
      L"",
      L"QuilletApp-en.chm",
      L"Version",
      L"is available",
      L"New version of the Quillet is found",
      L"New versions of the Quillet is not found",
      L"https://quillet.tarnvik.com/download.html",
      L"",
      L"https://quillet.tarnvik.com/",
      L"Quillet",
      L"Would you like to see a short demo?",
      L"Saving is not possible. Only reading.",
      L"JPEG|*.jpg;*.jpeg|BMP|*.bmp|PNG|*.png|GIF|*.gif",
      L"Save As",
      L"Window type",
      L"Window title",
  };
  return texts;
}

bool FileExists(const std::wstring& path) {
  const DWORD attr = GetFileAttributesW(path.c_str());
  return attr != INVALID_FILE_ATTRIBUTES && !(attr & FILE_ATTRIBUTE_DIRECTORY);
}

LangPARAM* g_processLang = nullptr;

}  // namespace

const std::wstring& BuiltInMessage(int n) {
  if (n < 0 || n >= kBuiltInMessageCount)
    throw EListError("List index out of bounds (" + std::to_string(n) + ")");
  return BuiltInMessages()[static_cast<std::size_t>(n)];
}

LangPARAM::LangPARAM(const std::wstring& packagePath) {
  LoadDefaultMessages();
  if (FileExists(packagePath) && LoadPackage(packagePath)) {
    PackagePath = packagePath;
    PackageLoaded = true;
  }
}

void LangPARAM::LoadDefaultMessages() {
  DynamicList.Clear();
  for (const auto& text : BuiltInMessages()) DynamicList.Add(text);
}

bool LangPARAM::LoadPackage(const std::wstring& path) {
  try {
    if (!extractor.SetPackageFile(path)) return false;
    HashedStringList desc;
    HashedStringList index;
    extractor.ExtractToList(desc, L"desc.txt");
    iniProcceder.IndexSections(desc, index);
    // All three sections must be there before anything is taken over.
    const auto files = IniProcceder::SectionLine(index, L"Files");
    const auto stuff = IniProcceder::SectionLine(index, L"Stuff");
    const auto trans = IniProcceder::SectionLine(index, L"Trans");
    iniProcceder.CopySection(desc, LanguageList, files);
    if (LanguageList.HasName(L"dynamic")) DynamicFileName = LanguageList.Value(L"dynamic");
    if (LanguageList.HasName(L"static")) StaticFileName = LanguageList.Value(L"static");
    iniProcceder.CopySection(desc, LanguageList, stuff);
    iniProcceder.CopySection(desc, TransList, trans);
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

bool LangPARAM::SelectLanguage(std::wstring_view name) {
  if (!PackageLoaded) return false;
  try {
    if (!LanguageList.HasName(name)) return false;
    LangFolder = LanguageList.Value(name);
    extractor.ExtractToList(StaticList, LangFolder + StaticFileName);
    extractor.ExtractToList(DynamicList, LangFolder + DynamicFileName);
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

void SetProcessLang(LangPARAM* lang) { g_processLang = lang; }

LangPARAM* ProcessLang() { return g_processLang; }

const std::wstring& MessageText(int n) {
  if (!g_processLang) return BuiltInMessage(n);
  return g_processLang->MessageText(n);
}
