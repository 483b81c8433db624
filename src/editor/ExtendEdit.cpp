#include "editor/ExtendEdit.h"

#include "main/CurInsWindow.h"

namespace {
constexpr int kClientWidth = 547, kClientHeight = 414;
constexpr COLORREF kMoneyGreen = RGB(192, 220, 192);

ui::FormStyle EditorStyle() {
  ui::FormStyle s{L"TF_ExtendEdit", L"Edit+"};
  s.borderless = true;
  s.color = kMoneyGreen;
  return s;
}
}  // namespace

TF_ExtendEdit::TF_ExtendEdit(ui::Component* owner, TCurInsWindow& main)
    : ui::Form(owner, L"F_ExtendEdit", EditorStyle()), main_(main) {
  SetClientSize(Scale(kClientWidth), Scale(kClientHeight));
  REDB_Text = Make<ui::RichEdit>(L"REDB_Text", hwnd_, Font());
  REDB_Text->SetBounds(0, Scale(17 + 22 + 26), Scale(kClientWidth), Scale(kClientHeight - 17 - 22 - 26));
  REDB_Text->SetVisible(true);
  REDB_Text->SetEnabled(false);
  main_.AttachPopupMenu(*REDB_Text, *main_.PM_Edit);
}

void TF_ExtendEdit::CloseEditor() {
  Hide();
  Tag = 0;
  REDB_Text->SetEnabled(false);
  main_.TTB_ExpandTextEdit->SetDown(false);
  main_.SetActiveTextEditor(main_.AREDB_Text);
}
