#include "ui/readme_window.h"

#include <FL/Fl_Button.H>

#include <optional>
#include <stdexcept>

#include "shell/application.h"
#include "platform/bounded_read.h"
#include "platform/file_system.h"
#include "ui/memo_wrap.h"
#include "ui/text_fit.h"
#include "ui/ui_controls.h"
#include "base/catalogue.h"

ReadmeWindow* ReadmeForm = nullptr;

namespace {

void Button1Thunk(Fl_Widget*, void* form) {
  App().RunHandler([form] { static_cast<ReadmeWindow*>(form)->CloseReadme(); });
}

}  // namespace

std::string LoadReadmeText(const std::string& fileName) {
  // Only a regular file is read (a FIFO or a device can't hang the window),
  // and only its first MiB, the rest ignored; anything else is reported as
  // a file that can't be opened.
  const std::optional<std::string> bytes = ReadRegularFile(fileName, kReadmeFileLimit);
  if (!bytes) throw std::runtime_error(Fill(Tr("ファイル %s は開けません"), {NativePath(fileName)}));
  return ReadmeTextFromBytes(bytes->size() == kReadmeFileLimit ? WithoutCutUtf8Character(*bytes) : *bytes);
}

std::string ReadmeFileIn(const std::string& folder) {
  const std::string own = folder + Tr("readme.txt");
  return IsRegularFile(own) ? own : folder + "readme.txt";
}

ReadmeWindow::ReadmeWindow() {
  auto* win = new DialogWindow(316, 414, Tr("説明"));
  window_ = win;
  TextArea = new Memo(12, 14, 291, 357);
  TextArea->SetText("");
  CloseButton = new Fl_Button(202, 382, 73, 25, Tr("閉じる"));
  UseDialogFont(CloseButton);
  CloseButton->callback(Button1Thunk, this);
  win->end();
  if (TextsTranslated()) Widen(*CloseButton, GrowToward::Left, 12);
  HookCloseBox();
}

ReadmeWindow::~ReadmeWindow() {
  delete window_;
  window_ = nullptr;
}

void ReadmeWindow::ShowReadme(const std::string& fileName) {
  const std::string text = LoadReadmeText(fileName);  // throws before anything changes
  // Broken into display lines the way the Windows memo breaks Japanese text
  // (the window's size is fixed, so once is enough).
  TextArea->SetText(WrapForDisplay(*TextArea, text));
  Show();
}

void ReadmeWindow::CloseReadme() { Hide(); }

std::string ReadmeWindow::DisplayedText() const { return TextArea->Text(); }
