#include "ui/about_box.h"

#include <shellapi.h>

#include "platform/win32/wide.h"
#include "resources/resource_ids.h"

namespace vh::ui {
namespace {

const char* const kWebSite = "https://www.orrindale.example/vesperhollow";
const char* const kMailTo = "mailto:support@orrindale.example";

}  // namespace

void IconImage::Create(Window& parent, HICON icon, int x, int y, int width, int height) {
  Control::Create(parent, L"STATIC", "", SS_ICON | SS_CENTERIMAGE | SS_REALSIZECONTROL, x, y, width, height);
  if (icon) SendMessageW(Handle(), STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
}

TAboutBox::TAboutBox() {
  CreateCentred(L"VesperhollowAbout", WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME,
                WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT, "Vesperhollow", 360, 132);
  ProgramIcon.Create(*this, nullptr, 16, 16, 48, 48);
  ProductName.Create(*this, "Vesperhollow 3.1", 80, 18, 264, 22);
  Comments.Create(*this, "Backs up your files and folders on a timer.", 80, 46, 264, 17);
  WebBtn.Create(*this, Button::Push, "&Web Site", 16, 95, 75, 25);
  EmailBtn.Create(*this, Button::Push, "&Email", 99, 95, 75, 25);
  OKButton.Create(*this, Button::DefaultPush, "OK", 269, 95, 75, 25);
  SetDefaultButton(OKButton.Handle());
  DpiChanged();

  openLink = [this](const std::string& target) {
    ShellExecuteW(Handle(), L"open", win32::Widen(target).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
  };
  WebBtn.onClick = [this] { WebBtnClick(); };
  EmailBtn.onClick = [this] { EmailBtnClick(); };
  OKButton.onClick = [this] { OKButtonClick(); };
}

TAboutBox::~TAboutBox() {
  // The controls go before the font and the icon they draw with.
  if (Handle()) DestroyWindow(Handle());
  if (boldFont_) DeleteObject(boldFont_);
  if (icon_) DestroyIcon(icon_);
}

// The picture and the bold font are made for the box's dpi, again when it changes.
void TAboutBox::DpiChanged() {
  const int iconSize = Scale(48);
  HICON icon = static_cast<HICON>(
      LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_APP), IMAGE_ICON, iconSize, iconSize, 0));
  SendMessageW(ProgramIcon.Handle(), STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
  if (icon_) DestroyIcon(icon_);
  icon_ = icon;
  LOGFONTW font{};
  GetObjectW(Font(), sizeof font, &font);
  font.lfWeight = FW_BOLD;
  font.lfHeight = font.lfHeight * 5 / 4;  // a little larger than the body text
  HFONT bold = CreateFontIndirectW(&font);
  SendMessageW(ProductName.Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(bold), TRUE);
  if (boldFont_) DeleteObject(boldFont_);
  boldFont_ = bold;
}

void TAboutBox::FormShow() { SetDialogFocus(OKButton.Handle()); }  // given to it when the box is activated

void TAboutBox::OKButtonClick() { EndModal(IDOK); }

void TAboutBox::WebBtnClick() { openLink(kWebSite); }

void TAboutBox::EmailBtnClick() { openLink(kMailTo); }

LRESULT TAboutBox::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_SHOWWINDOW && wParam) FormShow();
  return Window::HandleMessage(message, wParam, lParam);
}

}  // namespace vh::ui
