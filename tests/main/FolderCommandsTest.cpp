// The Repository commands on the real main window: the questions answered by the test, the
// files moved or deleted, and both lists marked for a refill.
#include "main/CurInsWindow.h"
#include "LiveWindow.h"

#include <gtest/gtest.h>

#include <memory>

#include "editor/ExtendEdit.h"
#include "lang/LangPARAM.h"
#include "store/StorageFolder.h"
#include "support/TempFolder.h"
#include "ui/Application.h"

namespace {

using testsupport::FileExists;
using testsupport::TempFolder;
using testsupport::WriteFileBytes;

class FolderCommands : public LiveWindow {
 protected:
  void SetUp() override {
    OpenWindow(oldDir.path());
    w->AskUser = [this](const std::wstring& text, const std::wstring&) {
      asked.push_back(text);
      return answer;
    };
    w->SetNeedUpdate(0, false);
  }

  TempFolder oldDir{L"old"}, newDir{L"new"};
  bool answer = true;
  std::vector<std::wstring> asked;
};

TEST_F(FolderCommands, MovingToAnotherFolderMarksBothListsForARefill) {
  WriteFileBytes(oldDir / L"text.qdb", "");
  w->ChangeStorageFolderTo(newDir.path());
  EXPECT_EQ(asked.size(), 1u);
  EXPECT_EQ(w->UserDBFolder, newDir.path());
  EXPECT_TRUE(FileExists(newDir / L"text.qdb"));
  EXPECT_FALSE(FileExists(oldDir / L"text.qdb"));
  EXPECT_TRUE(w->LV_Text->NeedUpdate);
  EXPECT_TRUE(w->LV_Img->NeedUpdate);
  EXPECT_FALSE(w->CompanionSynchronised);

  asked.clear();
  w->LV_Text->NeedUpdate = w->LV_Img->NeedUpdate = false;
  w->ChangeStorageFolderTo(newDir.path() + L"\\");  // the same folder: nothing asked, nothing marked
  EXPECT_TRUE(asked.empty());
  EXPECT_FALSE(w->LV_Text->NeedUpdate);
}

TEST_F(FolderCommands, ClearingTheTextStoreDeletesItsFileAndMarksOnlyTheTextList) {
  WriteFileBytes(oldDir / L"text.qdb", "");
  WriteFileBytes(oldDir / L"img.qdb", "");
  w->A_ClearTextDB->Execute();
  EXPECT_EQ(asked, std::vector<std::wstring>{MessageText(7)});
  EXPECT_FALSE(FileExists(oldDir / L"text.qdb"));
  EXPECT_TRUE(FileExists(oldDir / L"img.qdb"));
  EXPECT_TRUE(w->LV_Text->NeedUpdate);
  EXPECT_FALSE(w->LV_Img->NeedUpdate);
  EXPECT_EQ(w->PendingAction, w->RefillStateFor(w->ActiveList));
  EXPECT_TRUE(w->CPG_Main->Enabled());
}

}  // namespace
