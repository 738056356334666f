#include "ui/rich_edit_page.h"

#include <richedit.h>

#include "platform/win32/wide.h"

namespace vh::ui {
namespace {

// Rich edit turns "\r\n" into its own paragraph mark; Lines() reads that back as a line end.
constexpr wchar_t kLineEnd[] = L"\r\n";

void Replace(HWND control, LRESULT from, LRESULT to, const std::wstring& text) {
  SendMessageW(control, EM_SETSEL, static_cast<WPARAM>(from), static_cast<LPARAM>(to));
  // FALSE: the log's own changes are not for the user to undo.
  SendMessageW(control, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.c_str()));
}

}  // namespace

RichEditPage::RichEditPage(HWND control) : control_(control) {
  SendMessageW(control_, EM_SETTARGETDEVICE, 0, 1);  // 1: no word wrap
  SendMessageW(control_, EM_SETUNDOLIMIT, 0, 0);
  SendMessageW(control_, EM_EXLIMITTEXT, 0, 0x7FFFFFFE);
}

HWND RichEditPage::Create(HWND parent, int id) {
  // The class lives in Msftedit.dll, which stays loaded for the process once the class is in use.
  static const HMODULE library = LoadLibraryW(L"Msftedit.dll");
  if (!library) return nullptr;
  const DWORD style = WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE |
                      ES_READONLY | ES_AUTOVSCROLL | ES_AUTOHSCROLL | ES_DISABLENOSCROLL;
  HWND control =
      CreateWindowExW(WS_EX_CLIENTEDGE, MSFTEDIT_CLASS, L"", style, 0, 0, 100, 100, parent,
                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr),
                      nullptr);
  if (!control) return nullptr;
  // Plain text can only be chosen while the control is empty, so straight after creation.
  SendMessageW(control, EM_SETTEXTMODE, TM_PLAINTEXT | TM_SINGLELEVELUNDO | TM_MULTICODEPAGE, 0);
  return control;
}

std::wstring RichEditPage::Text() const {
  GETTEXTLENGTHEX lengthQuery{GTL_NUMCHARS | GTL_PRECISE, 1200};
  const LRESULT length =
      SendMessageW(control_, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&lengthQuery), 0);
  if (length <= 0) return {};
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  GETTEXTEX query{};
  query.cb = static_cast<DWORD>(text.size() * sizeof(wchar_t));
  query.flags = GT_DEFAULT;
  query.codepage = 1200;  // UTF-16
  const LRESULT got = SendMessageW(control_, EM_GETTEXTEX, reinterpret_cast<WPARAM>(&query),
                                   reinterpret_cast<LPARAM>(text.data()));
  text.resize(got > 0 ? static_cast<size_t>(got) : 0);
  return text;
}

std::vector<std::string> RichEditPage::Lines() const {
  const std::wstring text = Text();
  std::vector<std::string> lines;
  size_t begin = 0;
  size_t i = 0;
  while (i < text.size()) {
    const wchar_t c = text[i];
    if (c == L'\r' || c == L'\n') {
      lines.push_back(win32::Narrow(std::wstring_view(text).substr(begin, i - begin)));
      i += (c == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') ? 2 : 1;
      begin = i;
    } else {
      ++i;
    }
  }
  // Text after the last break (put there by someone else) still counts as a line.
  if (begin < text.size()) lines.push_back(win32::Narrow(std::wstring_view(text).substr(begin)));
  return lines;
}

void RichEditPage::SetLines(const std::vector<std::string>& lines) {
  std::wstring text;
  for (const std::string& line : lines) {
    text += win32::Widen(line);
    text += kLineEnd;
  }
  SetWindowTextW(control_, text.c_str());
}

void RichEditPage::Append(const std::string& line) {
  Replace(control_, -1, -1, win32::Widen(line) + kLineEnd);  // -1, -1: the end of the text
}

void RichEditPage::RemoveFirst(int count) {
  if (count <= 0) return;
  const LRESULT end = SendMessageW(control_, EM_LINEINDEX, static_cast<WPARAM>(count), 0);
  // Past the last line: everything goes.
  Replace(control_, 0, end < 0 ? -1 : end, L"");
}

void RichEditPage::ScrollToEnd() {
  SendMessageW(control_, EM_SETSEL, static_cast<WPARAM>(-1), static_cast<LPARAM>(-1));
  SendMessageW(control_, EM_SCROLLCARET, 0, 0);
}

}  // namespace vh::ui
