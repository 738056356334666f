// The Select page: the folder tree, the backup list and its edits, the backup folder.
#include "ui/select_page.h"

#include "ui/main_form.h"

#include "control/page_layout.h"
#include "control/window_events.h"
#include "platform/system.h"
#include "resources/resource_ids.h"
#include "store/folder_size.h"
#include "ui/main_form_constants.h"

namespace vh::ui {

void SelectPage::Create(TMainForm& form, HWND page) {
  using K = ControlKind;
  const Box paneArea{0, 0, kDesignWidth - 8, 265};
  table_.Create(form, page, {
    {&Panel, K::SunkenPanel, "", paneArea, 0, {}, nullptr, Anchor::Fill},
    {&RefreshBtn, K::Push, "Re&fresh", {7, 274, 54, 25}, 4, [&form] { form.RefreshBtnClick(); }},
    {&AddBtn, K::Push, "&Add", {65, 274, 54, 25}, 1, [&form] { form.AddBtnClick(); }},
    {&RemoveBtn, K::Push, "&Remove", {123, 274, 54, 25}, 2, [&form] { form.RemoveBtnClick(); }},
    {&FilesPanel, K::SunkenPanel, "", {7, 308, 170, 44}},
    // The two boxes clear of each other.
    {&ShowFilesChk, K::CheckBox, "Fi&les", {7, 13, 52, 17}, 4, [&form] { form.ShowFilesChkClick(); }, &FilesPanel},
    {&SystemFilesChk, K::CheckBox, "S&ystem files", {64, 13, 89, 17}, 4, [&form] { form.SystemFilesChkClick(); },
     &FilesPanel},
    {&DestGroupBox, K::GroupBox, "Backup folder", {186, 269, 225, 84}, 3, {}, nullptr, Anchor::Widen},
    {&UserBackupFolderEdit, K::ReadOnlyEdit, "", {8, 16, 209, 21}, 0, {}, &DestGroupBox, Anchor::Widen},
    {&InfoBtn, K::Push, "&Info", {8, 48, 54, 25}, 27, [&form] { form.InfoBtnClick(); }, &DestGroupBox},
    {&ChangeBtn, K::Push, "&Change", {161, 48, 54, 25}, 3, [&form] { form.ChangeBtnClick(); }, &DestGroupBox,
     Anchor::Right},
    {&SubDirBtn, K::Push, "&Sub-folder", {430, 274, 75, 25}, 19, [&form] { form.SubDirBtnClick(); }, nullptr,
     Anchor::Right},
    {&HelpBtn, K::Push, "&Help", {430, 302, 75, 25}, 0, [&form] { form.HelpBtnClick(); }, nullptr, Anchor::Right},
    {&OKBtn, K::DefaultPush, "OK", {430, 330, 75, 25}, 0, [&form] { form.OKBtnClick(); }, nullptr, Anchor::Right},
  });
  // The panel's three share its height and divide its width at the splitter; Layout places them.
  TreeView.Create(Panel, 0, 0, splitterLeft_ - 1, paneArea.height, 19);
  TreeView.SetHelpContext(4);
  Splitter.Create(Panel, splitterLeft_, 0, kSplitterWidth, paneArea.height);
  StringGrid.Create(Panel, splitterLeft_ + kSplitterWidth, 0, paneArea.width - splitterLeft_ - kSplitterWidth,
                    paneArea.height);
  StringGrid.SetHelpContext(1);
  StringGridHint.Create(StringGrid);

  TreeView.onExpanding = [&form](TreeItem item) { form.TreeViewExpanding(item); };
  Splitter.onMoved = [&form](int left) { form.SplitterMoved(left); };
  StringGrid.onMouseDown = [&form](POINT at) { form.StringGridMouseDown(at); };
  StringGrid.onMouseMove = [&form](POINT at) { form.StringGridMouseMove(at); };
  StringGrid.WatchMouse();

  // Tree items go to the list (the grid or the Add button); list rows go back (the Remove button
  // or the tree). Nothing else is taken.
  TreeView.onBeginDrag = [this](TreeItem) { Dragging.Drag(TreeView); };  // the tree has seen the pointer move
  auto fromTree = [this](const Control& source) { return &source == &TreeView; };
  auto fromGrid = [this](const Control& source) { return &source == &StringGrid; };
  Dragging.AddTarget(StringGrid, fromTree, [&form](const Control&) { form.AddBtnClick(); });
  Dragging.AddTarget(AddBtn, fromTree, [&form](const Control&) { form.AddBtnClick(); });
  Dragging.AddTarget(RemoveBtn, fromGrid, [&form](const Control&) { form.RemoveBtnClick(); });
  Dragging.AddTarget(TreeView, fromGrid, [&form](const Control&) { form.RemoveBtnClick(); });
}

void SelectPage::Layout(int growth, int pageWidth) {
  table_.Layout(growth, pageWidth);
  const SIZE inside = Panel.Owner().ClientSize(Panel.Handle());
  splitterLeft_ = ClampSplitter(splitterLeft_, inside.cx);
  TreeView.SetBounds(0, 0, splitterLeft_ - 1, inside.cy);
  Splitter.SetBounds(splitterLeft_, 0, kSplitterWidth, inside.cy);
  StringGrid.SetBounds(splitterLeft_ + kSplitterWidth, 0, inside.cx - splitterLeft_ - kSplitterWidth, inside.cy);
}

void SelectPage::MoveSplitter(int left) {
  splitterLeft_ = ClampSplitter(left, Panel.Owner().ClientSize(Panel.Handle()).cx);
}

void TMainForm::LoadTreeImages() {
  const int strip = TreeImageStrip(Scale(16));
  static_assert(IDB_TREEIMAGES32 == IDB_TREEIMAGES + 3, "one id a strip, in the order of their sizes");
  select_.TreeView.LoadImages(IDB_TREEIMAGES + strip, kTreeImageSizes[strip]);
}

void TMainForm::CreateFolderTree() {
  FolderView = std::make_unique<TFolderView>(select_.TreeView, &UpperCase);
  FolderView->Fill(Logic.BackupList);
}

void TMainForm::RefreshSelectPage() {
  select_.SystemFilesChk.SetEnabled(select_.ShowFilesChk.Checked());
  const SubDirButtonState state = SubDirButtonFor(Logic.BackupList, grid_->CurrentRow());
  select_.SubDirBtn.SetText(state.caption);
  select_.SubDirBtn.SetEnabled(state.enabled);
}

void TMainForm::RefreshBtnClick() { FolderView->Fill(Logic.BackupList); }

void TMainForm::TreeOptionsChanged() {
  FolderView->ShowFiles = select_.ShowFilesChk.Checked();
  FolderView->SystemFiles = select_.SystemFilesChk.Checked();
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
  if (!KeyHeld(VK_LBUTTON)) return;
  select_.Dragging.Drag(select_.StringGrid, select_.StringGrid.ToScreen(at));
}

void TMainForm::StringGridMouseMove(POINT at) {
  const int row = grid_->RowAt(at);
  if (row > 0) select_.StringGridHint.SetText(grid_->Cell(0, row));
  select_.StringGridHint.SetActive(row > 0);
}

void TMainForm::SplitterMoved(int left) {
  select_.MoveSplitter(left);
  FormResize();
}

RunResult TMainForm::RemoveEntryBackups(const TSourceList& list, int index, bool quiet, TMessageLog& log) {
  return operations_.Delete->RemoveEntryBackups(list, index, 1, BackupFolder(), quiet, log);
}

RunResult TMainForm::RemoveSubfolderBackups(const std::string& mirrorFolder, bool quiet, TMessageLog& log) {
  return operations_.Delete->RemoveSubfolderBackups(BackupFolder(), mirrorFolder, quiet, log);
}

std::string TMainForm::FolderSizeReport(const std::string& backupFolder) {
  const Hourglass wait;
  return BackupFolderSizeReport(backupFolder);
}

}  // namespace vh::ui
