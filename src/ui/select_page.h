#pragma once
// The Select page's controls: the folder tree and the backup list side by side with the splitter
// between them, the list's buttons, the tree's options and the backup-folder box.
#include "ui/list_view_grid.h"
#include "ui/control_table.h"
#include "ui/controls.h"
#include "ui/drag_drop.h"
#include "ui/tree_view.h"

namespace vh::ui {

class TMainForm;

class SelectPage {
 public:
  // Makes the controls on `page` of the form; their events go to the form's handlers.
  void Create(TMainForm& form, HWND page);
  // The tree, the splitter and the grid share the panel's height and its width as the splitter divides it.
  void Layout(int growth, int pageWidth);
  int SplitterLeft() const { return splitterLeft_; }
  // The splitter moved to `left`, kept where the tree and the grid both stay in view.
  void MoveSplitter(int left);

  ui::Panel Panel, FilesPanel;
  ui::TreeView TreeView;
  ui::Splitter Splitter;
  HostedControl StringGrid{&ListViewGrid::Create};
  Hint StringGridHint;
  GroupBox DestGroupBox;
  Edit UserBackupFolderEdit;
  Button RefreshBtn, AddBtn, RemoveBtn, ShowFilesChk, SystemFilesChk, SubDirBtn, InfoBtn, ChangeBtn, HelpBtn, OKBtn;
  DragDrop Dragging;

 private:
  ControlTable table_;
  int splitterLeft_ = 177;
};

}  // namespace vh::ui
