#include "ui/readme_window.h"

#include <FL/Fl_Button.H>

#include <optional>
#include <stdexcept>

#include "shell/application.h"
#include "platform/bounded_read.h"
#include "ui/memo_wrap.h"
#include "ui/ui_controls.h"

TForm4* Form4 = nullptr;

namespace {

void Button1Thunk(Fl_Widget*, void* form) {
  App().RunHandler([form] { static_cast<TForm4*>(form)->Button1Click(); });
}

}  // namespace

std::string LoadReadmeText(const std::string& fileName) {
  // Only a regular file is read (a FIFO or a device can't hang the window),
  // and only its first MiB, the rest ignored; anything else is reported as
  // a file that can't be opened.
  const std::optional<std::string> bytes = ReadRegularFile(fileName, kReadmeFileLimit);
  if (!bytes) throw std::runtime_error("ファイル " + fileName + " は開けません");
  return ReadmeTextFromBytes(bytes->size() == kReadmeFileLimit ? WithoutCutUtf8Character(*bytes) : *bytes);
}

TForm4::TForm4() {
  auto* win = new TDialogWindow(316, 414, "説明");
  window_ = win;
  Memo1 = new TMemo(12, 14, 291, 357);
  Memo1->SetText("");
  Button1 = new Fl_Button(202, 382, 73, 25, "閉じる");
  UseDialogFont(Button1);
  Button1->callback(Button1Thunk, this);
  win->end();
  HookCloseBox();
}

TForm4::~TForm4() {
  delete window_;
  window_ = nullptr;
}

void TForm4::ShowReadme(const std::string& fileName) {
  const std::string text = LoadReadmeText(fileName);  // throws before anything changes
  // Broken into display lines the way the Windows memo breaks Japanese text
  // (the window's size is fixed, so once is enough).
  Memo1->SetText(WrapForDisplay(*Memo1, text));
  Show();
}

void TForm4::Button1Click() { Hide(); }

std::string TForm4::MemoText() const { return Memo1->Text(); }
