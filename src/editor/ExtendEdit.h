// The extended editor window: created hidden at start, shown beside the main window when the
// text panel needs more room, never destroyed while the program runs.
#pragma once

#include "ui/Form.h"
#include "ui/RichEdit.h"

class TCurInsWindow;

class TF_ExtendEdit : public ui::Form {
 public:
  TF_ExtendEdit(ui::Component* owner, TCurInsWindow& main);

  TCurInsWindow& Main() const { return main_; }
  // The window's rich edit; disabled unless it is the main window's active text editor.
  ui::RichEdit* REDB_Text;

  // Hides the window and hands the text back to the compact editor.
  void CloseEditor();

 private:
  TCurInsWindow& main_;
};
