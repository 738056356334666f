// The Select page: the folder tree, the backup list and its edits, the backup folder.
#include "ui/main_form.h"

#include <optional>

#include "control/page_layout.h"
#include "platform/win32/wide.h"
#include "resources/resource_ids.h"

#include "list/backup_list_store.h"
#include "platform/system.h"
#include "store/drive_checks.h"
#include "store/folder_size.h"
#include "store/store_paths.h"
#include "ui/main_form_constants.h"

namespace vh::ui {

void TMainForm::CreateSelectPage() {
  SetContainer(Pages.Panel(kSelectPage));
  Panel.Create(*this, 0, 0, kDesignWidth - 8, 265, ui::Panel::Sunken);
  SetContainer(Panel.Handle());
  TreeView.Create(*this, 0, 0, splitterLeft_ - 1, 261, 19);
  LoadTreeImages();
  Splitter.Create(*this, splitterLeft_, 0, kSplitterWidth, 261);
  StringGrid.Create(*this, &win32::ListViewGrid::Create, splitterLeft_ + kSplitterWidth, 0, 328, 261);
  grid_ = std::make_unique<win32::ListViewGrid>(StringGrid.Handle());
  StringGridHint.Create(StringGrid);

  SetContainer(Pages.Panel(kSelectPage));
  RefreshBtn.Create(*this, Button::Push, "Re&fresh", 7, 274, 54, 25);
  AddBtn.Create(*this, Button::Push, "&Add", 65, 274, 54, 25);
  RemoveBtn.Create(*this, Button::Push, "&Remove", 123, 274, 54, 25);
  FilesPanel.Create(*this, 7, 308, 170, 44, ui::Panel::Sunken);
  SetContainer(FilesPanel.Handle());
  ShowFilesChk.Create(*this, Button::CheckBox, "Fi&les", 7, 13, 52, 17);  // clear of its neighbour
  SystemFilesChk.Create(*this, Button::CheckBox, "S&ystem files", 64, 13, 89, 17);
  SetContainer(Pages.Panel(kSelectPage));
  const POINT b{186, 269};
  DestGroupBox.Create(*this, "Backup folder", b.x, b.y, 225, 84);
  UserBackupFolderEdit.Create(*this, "", b.x + 8, b.y + 16, 209, 21, true);
  InfoBtn.Create(*this, Button::Push, "&Info", b.x + 8, b.y + 48, 54, 25);
  ChangeBtn.Create(*this, Button::Push, "&Change", b.x + 161, b.y + 48, 54, 25);
  SubDirBtn.Create(*this, Button::Push, "&Sub-folder", 430, 274, 75, 25);
  HelpBtn.Create(*this, Button::Push, "&Help", 430, 302, 75, 25);
  OKBtn.Create(*this, Button::DefaultPush, "OK", 430, 330, 75, 25);
  SetContainer(nullptr);

  SetHelpContext({&TreeView, &RefreshBtn, &ShowFilesChk, &SystemFilesChk}, 4);
  StringGrid.SetHelpContext(1);
  AddBtn.SetHelpContext(1);
  RemoveBtn.SetHelpContext(2);
  DestGroupBox.SetHelpContext(3);
  ChangeBtn.SetHelpContext(3);
  InfoBtn.SetHelpContext(27);
  SubDirBtn.SetHelpContext(19);

  RefreshBtn.onClick = [this] { RefreshBtnClick(); };
  AddBtn.onClick = [this] { AddBtnClick(); };
  RemoveBtn.onClick = [this] { RemoveBtnClick(); };
  ShowFilesChk.onClick = [this] { ShowFilesChkClick(); };
  SystemFilesChk.onClick = [this] { SystemFilesChkClick(); };
  SubDirBtn.onClick = [this] { SubDirBtnClick(); };
  InfoBtn.onClick = [this] { InfoBtnClick(); };
  ChangeBtn.onClick = [this] { ChangeBtnClick(); };
  HelpBtn.onClick = [this] { HelpBtnClick(); };
  OKBtn.onClick = [this] { OKBtnClick(); };
  TreeView.onExpanding = [this](TreeItem item) { TreeViewExpanding(item); };
  Splitter.onMoved = [this](int left) { SplitterMoved(left); };
  StringGrid.onMouseDown = [this](POINT at) { StringGridMouseDown(at); };
  StringGrid.onMouseMove = [this](POINT at) { StringGridMouseMove(at); };
  StringGrid.WatchMouse();

  // Tree items go to the list (the grid or the Add button); list rows go back (the Remove button
  // or the tree). Nothing else is taken.
  TreeView.onBeginDrag = [this](TreeItem) { Dragging.Drag(TreeView); };  // the tree has seen the pointer move
  auto fromTree = [this](const Control& source) { return &source == &TreeView; };
  auto fromGrid = [this](const Control& source) { return &source == &StringGrid; };
  Dragging.AddTarget(StringGrid, fromTree, [this](const Control&) { AddSelection(Logic.BackupList, Logic.Log(), *this); });
  Dragging.AddTarget(AddBtn, fromTree, [this](const Control&) { AddSelection(Logic.BackupList, Logic.Log(), *this); });
  Dragging.AddTarget(RemoveBtn, fromGrid, [this](const Control&) { RemoveSelectedEntry(Logic.BackupList, Logic.Log(), *this); });
  Dragging.AddTarget(TreeView, fromGrid, [this](const Control&) { RemoveSelectedEntry(Logic.BackupList, Logic.Log(), *this); });
}

// The tree's pictures in the largest size drawn that fits the window's dpi.
void TMainForm::LoadTreeImages() {
  struct Strip {
    int size, id;
  };
  Strip strip{16, IDB_TREEIMAGES};
  for (Strip s : {Strip{20, IDB_TREEIMAGES20}, Strip{24, IDB_TREEIMAGES24}, Strip{32, IDB_TREEIMAGES32}}) {
    if (s.size <= Scale(16)) strip = s;
  }
  TreeView.LoadImages(strip.id, strip.size);
}

void TMainForm::RegisterDragCursor() {
  Dragging.SetCursor(static_cast<HCURSOR>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDC_DRAGFOLDER),
                                                     IMAGE_CURSOR, 0, 0, LR_DEFAULTSIZE | LR_SHARED)));
}

void TMainForm::CreateFolderTree() {
  FolderView = std::make_unique<TFolderView>(TreeView, [](const std::string& name) {
    std::wstring wide = win32::Widen(name);
    CharUpperBuffW(wide.data(), static_cast<DWORD>(wide.size()));
    return win32::Narrow(wide);
  });
  FolderView->Fill(Logic.BackupList);
}

void TMainForm::RefreshSelectPage() {
  SystemFilesChk.SetEnabled(ShowFilesChk.Checked());
  const SubDirButtonState state = SubDirButtonFor(Logic.BackupList, grid_->CurrentRow());
  SubDirBtn.SetText(state.caption);
  SubDirBtn.SetEnabled(state.enabled);
}

void TMainForm::LayOutSelectPage(int w, int pageWidth) {
  const PageLayout layout = LayoutFor(w, splitterLeft_);
  Panel.SetBounds(0, 0, pageWidth, 265);
  const SIZE inside = ClientSize(Panel.Handle());
  const int panelWidth = inside.cx, height = inside.cy;
  splitterLeft_ = ClampSplitter(splitterLeft_, panelWidth);
  TreeView.SetBounds(0, 0, splitterLeft_ - 1, height);
  Splitter.SetBounds(splitterLeft_, 0, kSplitterWidth, height);
  StringGrid.SetBounds(splitterLeft_ + kSplitterWidth, 0, panelWidth - splitterLeft_ - kSplitterWidth, height);
  grid_->SetColumnWidth(0, Scale(layout.listColumnWidth));
  grid_->FitLastColumn();
  DestGroupBox.SetBounds(186, 269, layout.destBoxWidth, 84);
  UserBackupFolderEdit.SetBounds(186 + 8, 269 + 16, layout.backupEditWidth, 21);
  ChangeBtn.SetBounds(186 + layout.changeBtnLeft, 269 + 48, 54, 25);
  SubDirBtn.SetBounds(layout.rightButtonsLeft, 274, 75, 25);
}

void TMainForm::RefreshBtnClick() { FolderView->Fill(Logic.BackupList); }

void TMainForm::TreeOptionsChanged() {
  FolderView->ShowFiles = ShowFilesChk.Checked();
  FolderView->SystemFiles = SystemFilesChk.Checked();
  FolderView->Fill(Logic.BackupList);
}

void TMainForm::TreeViewExpanding(TreeItem item) { FolderView->ExpandNode(item); }

void TMainForm::AddBtnClick() { AddSelection(Logic.BackupList, Logic.Log(), *this); }

void TMainForm::RemoveBtnClick() { RemoveSelectedEntry(Logic.BackupList, Logic.Log(), *this); }

void TMainForm::SubDirBtnClick() { ToggleSubfolders(Logic.BackupList, Logic.Log(), *this); }

void TMainForm::StringGridMouseDown(POINT at) {
  const int row = grid_->RowAt(at);
  if (row > 0) grid_->SetCurrentRow(row);
  // The platform tells a drag from a click with the left button only; a press of another
  // button would wait for the pointer to move.
  if (!(GetKeyState(VK_LBUTTON) & 0x8000)) return;
  POINT screen = at;
  ClientToScreen(StringGrid.Handle(), &screen);
  Dragging.Drag(StringGrid, screen);
}

void TMainForm::StringGridMouseMove(POINT at) {
  const int row = grid_->RowAt(at);
  if (row > 0) StringGridHint.SetText(grid_->Cell(0, row));
  StringGridHint.SetActive(row > 0);
}

void TMainForm::SplitterMoved(int left) {
  splitterLeft_ = ClampSplitter(left, ClientSize(Panel.Handle()).cx);
  FormResize();
}

RunResult TMainForm::RemoveEntryBackups(const TSourceList& list, int index, bool quiet, TMessageLog& log) {
  return operations_.Delete->RemoveEntryBackups(list, index, 1, BackupFolder(), quiet, log);
}

RunResult TMainForm::RemoveSubfolderBackups(const std::string& mirrorFolder, bool quiet, TMessageLog& log) {
  return operations_.Delete->RemoveSubfolderBackups(BackupFolder(), mirrorFolder, quiet, log);
}

std::string TMainForm::FolderSizeReport(const std::string& backupFolder) {
  const HCURSOR previous = ShowHourglass();
  std::string report = BackupFolderSizeReport(backupFolder);
  SetCursor(previous);
  return report;
}

}  // namespace vh::ui
