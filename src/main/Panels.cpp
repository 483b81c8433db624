// The accordion of the two panels and the centring of their tool bars and the progress bar.
#include "main/CurInsWindow.h"

#include "ui/Application.h"

void TCurInsWindow::CP_TextExpand(ui::CategoryPanel& sender) {
  for (ui::CategoryPanel* p : CPG_Main->Panels()) p->SetCollapsed(p != &sender);
  const int header = CPG_Main->HeaderHeight();
  RECT group{};
  GetClientRect(CPG_Main->Handle(), &group);
  sender.SetExpandedHeight(group.bottom - header - header / 3);
  PendingAction = RefillStateFor(&sender);
  CPG_Main->Repaint();
}

void TCurInsWindow::CP_TextCollapse(ui::CategoryPanel& sender) {
  if (TTB_ExpandTextEdit->Down() && &sender == CP_Text) {
    // The text panel stays open while the extended editor is in use.
    CP_TextExpand(*CP_Text);
    return;
  }
  if (CPG_Main->AllPanelsCollapsed()) CP_TextExpand(&sender == CP_Img ? *CP_Text : *CP_Img);
}

void TCurInsWindow::CentreToolBar(ui::ToolBar& bar) {
  try {
    bar.SetIndent(0);
    int sum = 0;
    for (ui::ToolButton* b : bar.Buttons()) sum += b->Width();
    bar.SetIndent(std::max(0, (bar.ClientWidth() - sum) / 2));
  } catch (...) {
  }
}

void TCurInsWindow::RelayoutPanels() {
  for (ui::ToolBar* bar : {TB_TextView, TB_TextEdit, TB_ImgView, TB_ImgEdit}) CentreToolBar(*bar);
  RECT rc{};
  GetClientRect(hwnd_, &rc);
  PB_DbReadTrack->SetBounds((rc.right - PB_DbReadTrack->Width()) / 2, (rc.bottom - PB_DbReadTrack->Height()) / 2,
                            PB_DbReadTrack->Width(), PB_DbReadTrack->Height());
  const int border = (IDB_Img->Width() - IDB_Img->ClientWidth()) / 2;
  E_ImgComment->SetBounds(border, TB_ImgEdit->Top() + TB_ImgEdit->Height(), IDB_Img->ClientWidth(),
                          E_ImgComment->Height());
}
