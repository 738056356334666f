#include "ui/versions_dlg.h"

#include <shellapi.h>

#include "control/versions_dialog.h"
#include "platform/message_boxes.h"
#include "platform/system.h"
#include "platform/win32/wide.h"

namespace vh::ui {
namespace {

constexpr DWORD kVersionsHelp = 33;  // one topic for the whole dialog

}  // namespace

TVersionsDlg::TVersionsDlg(HWND owner) {
  CreateCentred(L"VesperhollowVersions", WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME,
                WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT | WS_EX_CONTEXTHELP, "Vesperhollow - Earlier versions", 360,
                176);
  if (owner) SetOwner(owner);
  SetWindowHelp(kVersionsHelp);
  using K = ControlKind;
  table_.Create(*this, Handle(), {
    {&VersionsBox, K::GroupBox, "Earlier versions kept", {8, 8, 344, 92}, kVersionsHelp},
    {&SummaryLabel, K::Label, "", {10, 20, 324, 64}, kVersionsHelp, {}, &VersionsBox},
    {&DaysLabel, K::Label, "Days to keep them (0 = keep none):", {8, 114, 220, 17}, kVersionsHelp},
    {&DaysEdit, K::Edit, "", {232, 111, 56, 21}, kVersionsHelp},
    {&OpenFolderBtn, K::Push, "&Open Folder", {8, 143, 90, 25}, kVersionsHelp, [this] { OpenFolderBtnClick(); }},
    {&OKBtn, K::DefaultPush, "OK", {111, 143, 75, 25}, 0, [this] { OKBtnClick(); }},
    {&CancelBtn, K::Push, "Cancel", {194, 143, 75, 25}, 0, [this] { EndModal(IDCANCEL); }},
    {&HelpBtn, K::Push, "&Help", {277, 143, 75, 25}, 0, [this] { HelpBtnClick(); }},
  });
  SendMessageW(DaysEdit.Handle(), EM_SETLIMITTEXT, 8, 0);
  SetDefaultButton(OKBtn.Handle());
  openFolder = [this](const std::string& folder) {
    ShellExecuteW(Handle(), L"explore", win32::Widen(folder).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
  };
}

std::optional<int> TVersionsDlg::Choose(const std::string& backupFolder, int keepDays) {
  backupFolder_ = backupFolder;
  days_.reset();
  {
    const Hourglass wait;  // a large versions folder takes a moment to measure
    SummaryLabel.SetText(VersionsSummaryText(SummariseVersions(backupFolder)));
  }
  DaysEdit.SetText(std::to_string(keepDays));
  SendMessageW(DaysEdit.Handle(), EM_SETSEL, 0, -1);  // typing replaces the days shown
  SetDialogFocus(DaysEdit.Handle());
  return ShowModal() == IDOK ? days_ : std::nullopt;
}

void TVersionsDlg::OpenFolderBtnClick() {
  std::string message;
  const std::string folder = VersionsFolderToOpen(backupFolder_, message);
  if (folder.empty()) Boxes().Show(message, kAppCaption, kMbOk | kMbIconInformation);
  else openFolder(folder);
}

void TVersionsDlg::OKBtnClick() {
  const KeepDaysEntry entry = ReadKeepDays(DaysEdit.Text());
  if (!entry.days) {
    // The dialog stays open with the box's text in hand, to be put right.
    Boxes().Show(entry.message, kAppCaption, kMbOk | kMbIconExclamation);
    DaysEdit.Focus();
    SendMessageW(DaysEdit.Handle(), EM_SETSEL, 0, -1);
    return;
  }
  days_ = entry.days;
  EndModal(IDOK);
}

void TVersionsDlg::HelpBtnClick() { HelpViewer.ShowTopic(Handle(), kVersionsHelp); }

LRESULT TVersionsDlg::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_HELP:
      HelpViewer.ShowTopic(Handle(), kVersionsHelp);
      return TRUE;
  }
  return Window::HandleMessage(message, wParam, lParam);
}

}  // namespace vh::ui
