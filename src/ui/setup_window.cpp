#include "ui/setup_window.h"

#include <FL/Fl_Box.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_RGB_Image.H>

#include <algorithm>
#include <cerrno>
#include <stdexcept>
#include <system_error>
#include <utility>
#include <vector>

#include "shell/application.h"
#include "ui/splash_image.h"
#include "platform/atomic_file.h"
#include "platform/bounded_read.h"
#include "platform/file_system.h"
#include "config/settings.h"
#include "platform/platform.h"
#include "platform/process.h"
#include "platform/screen_saver_choice.h"
#include "platform/system_folder.h"
#include "ui/ui_controls.h"
#include "ui/readme_window.h"
#include "ui/setup_text.h"
#include "ui/text_fit.h"
#include "video/presenter.h"
// App().MessageBox, not the macro that FLTK's headers bring on Windows.
#include "base/windows_names_push.h"
#include "base/catalogue.h"

SetupWindow* SetupForm = nullptr;

namespace {

template <void (SetupWindow::*Handler)()>
void Thunk(Fl_Widget*, void* form) {
  App().RunHandler([form] { (static_cast<SetupWindow*>(form)->*Handler)(); });
}

// The data files' message: the file and where it was looked for.
std::string NoDataFilesText(const std::vector<std::string>& folders) {
  std::string where;
  for (const std::string& f : folders) where += (where.empty() ? "" : Tr("、")) + NativePath(f);
  return Fill(Tr("データファイル (bmp1.bmp) が見つかりません: %s"), {where});
}

// The settings file records the data folder on a line of its own: a line
// end or Ctrl-Z in the folder's name would split it.
bool RecordableFolder(const std::string& folder) { return folder.find_first_of("\r\n\x1a") == std::string::npos; }

std::string UnrecordableFolderText(const std::string& folder) {
  return Fill(Tr("データファイルのフォルダ名に改行などの制御文字が含まれているため、設定ファイルに記録できません: %s"), {NativePath(folder)});
}

// A translation's longer texts: the lines grow toward the window's right
// margin (then break), the buttons within the space beside them (limits at
// factor 1).
void FitTranslatedTexts(SetupWindow& f) {
  for (Label* l : {f.PickLabel, f.PickLabel2, f.NoWarrantyLabel, f.NoWarrantyLabel2}) FitLabel(*l, 560);
  Widen(*f.ReadmeButton, GrowToward::Left, 230);
  Widen(*f.InstallButton, GrowToward::Right, 561);
}

}  // namespace

bool InstallProgramCopy(const std::string& source, const std::string& target,
                        std::string& failedFile) {
  // The program is read whole, then written in one step as an executable
  // file that replaces the old copy only once it is complete.
  std::optional<std::string> program = ReadRegularFile(source, kProgramFileLimit);
  if (program && program->size() >= kProgramFileLimit) errno = EFBIG;
  if (!program || program->size() >= kProgramFileLimit) {
    failedFile = source;
    return false;
  }
  if (!ReplaceFileAtomically(target, *program, 0755)) {
    failedFile = target;
    return false;
  }
  return true;
}

namespace {

// Copies the program, makes it the user's screen saver and only then writes
// the settings file for the data in `dataFolder`: the user's settings are
// put back to the defaults by a setup that did all else, never by one that
// fails. The failure's text; empty when all was done.
std::string InstallInto(const std::string& dataFolder) {
  // The failure's errno, taken before the file's name is looked up.
  const auto cannotWrite = [](std::string (*file)()) {
    const int err = errno;
    return CannotWriteText(file(), err);
  };
  const std::string folder = InstallFolder();
  if (!CreateFolders(folder)) return cannotWrite(SettingsFilePath);
  const std::string target = JoinPath(folder, "zuk_rer1.scr");
  const std::string program = ProgramFilePath();
  std::string failedFile;
  if (!InstallProgramCopy(program, target, failedFile)) {
    const int err = errno;
    return failedFile == program ? CannotReadText(failedFile, err) : CannotWriteText(failedFile, err);
  }
  if (!ChooseAsUsersScreenSaver(target)) return cannotWrite(UsersScreenSaverSetting);
  if (!WriteSetupFile(dataFolder)) return cannotWrite(SettingsFilePath);
  return std::string();
}

std::function<bool()>& DisplayProbe() {
  static std::function<bool()> probe = ProbeDisplay;
  return probe;
}

}  // namespace

ScopedDisplayProbe::ScopedDisplayProbe(std::function<bool()> probe)
    : previous_(std::exchange(DisplayProbe(), std::move(probe))) {}

ScopedDisplayProbe::~ScopedDisplayProbe() { DisplayProbe() = std::move(previous_); }

SetupWindow::SetupWindow() {
  auto* win = new DialogWindow(572, 185, Tr("ＺＵＫスクリーンセーバー Ver1.91　セットアップ"));
  window_ = win;

  splash_.reset(MakeSplashImage());
  Picture = new Fl_Box(14, 12, 198, 132);
  Picture->box(FL_NO_BOX);
  if (splash_) Picture->image(splash_.get());
  MakerLabel = new Label(88, 149, 59, 12, "ZUK-SOFT", kClNavy);
  PickLabel = new Label(228, 13, 322, 12, Tr(kPickScreenSaverText), kClMaroon);
  PickLabel2 = new Label(230, 33, 238, 12, Tr(kPickScreenSaverText2), kClMaroon);
  NoWarrantyLabel = new Label(230, 88, 306, 12, Tr("この変なスクリーンセーバーは無保証のフリーソフトです。"),
                       kClGreen);
  NoWarrantyLabel2 = new Label(238, 106, 306, 12,
                      Tr("（まあ、保証しているソフトって、あんまり見たことないですね）"), kClGreen);
  ButtonFrame = new Shape(393, 132, 172, 45, kClBlack, kClGray, true);

  // The controls that take the focus, in their tab order.
  ReadmeButton = new Fl_Button(288, 140, 89, 29, Tr("説　明"));
  UseDialogFont(ReadmeButton);
  ReadmeButton->callback(Thunk<&SetupWindow::ShowReadme>, this);
  InstallButton = new Fl_Button(400, 140, 157, 29, Tr("セットアップ開始"));
  UseDialogFont(InstallButton);
  InstallButton->labelcolor(kClBlack);
  InstallButton->callback(Thunk<&SetupWindow::Install>, this);
  win->end();
  if (TextsTranslated()) FitTranslatedTexts(*this);
  HookCloseBox();
}

SetupWindow::~SetupWindow() {
  // The picture box must not outlive its picture.
  delete window_;
  window_ = nullptr;
}

void SetupWindow::FormActivate() {
  if (!DisplayProbe()()) {
    App().MessageBox(Tr("★ZUK_RER1ｽｸﾘｰﾝｾｰﾊﾞｰで、DirectＸが使用できません。"));
    ProgramEnd();
  }
}

std::vector<std::string> SetupWindow::DataFolderCandidates(const std::string& currentDir) const {
  // The folder the installer was started from comes first, as it always
  // has; then the running program's own folder and the installed data
  // folder, for a start from a terminal elsewhere or from the menu.
  const std::string program = ResolvedPath(ProgramFilePath());
  std::vector<std::string> folders{currentDir};
  if (program.empty()) return folders;
  std::vector<std::string> more{program.substr(0, program.rfind('/'))};
  for (const std::string& f : InstalledDataFolders(program)) more.push_back(f);
  // Each folder once: the program's own is often the current folder.
  for (const std::string& f : more) {
    if (std::find(folders.begin(), folders.end(), f) == folders.end()) folders.push_back(f);
  }
  return folders;
}

void SetupWindow::Install() {
  InstallButton->deactivate();

  // A failure is reported with the file and the reason; nothing claims
  // success, and the window comes back for another try. The box stands
  // alone, as the success box does: under Wine without a window manager a
  // box over this window stays below it in X and shows as a black hole.
  auto failed = [this](const std::string& text) {
    Hide();
    App().MessageBox(text + "\n" + Tr("セットアップは完了していません。"));
    Show();
    InstallButton->activate();
  };

  const std::string currentDir = CurrentFolder();
  if (currentDir.empty()) {
    failed(CannotReadText(".", errno));
    return;
  }
  const std::vector<std::string> folders = DataFolderCandidates(currentDir);
  const std::string installFolder = FolderWithDataFiles(folders);
  if (installFolder.empty()) {
    failed(NoDataFilesText(folders));
    return;
  }
  if (!RecordableFolder(installFolder)) {
    failed(UnrecordableFolderText(installFolder));
    return;
  }
  const std::string failure = InstallInto(installFolder);
  if (!failure.empty()) {
    failed(failure);
    return;
  }

  Hide();
  Sys().MessageBeep();
  App().Title = Tr("ＺＵＫスクリーンセーバーＮｏ．１");
  App().MessageBox(Tr("　★セットアップ完了。無事に動くといいですね！(^^;)　"));
  ProgramEnd();
}

void SetupWindow::ShowReadme() {
  if (ReadmeForm == nullptr) return;
  try {
    const std::string folder = FolderWithDataFiles(DataFolderCandidates(CurrentFolder()));
    ReadmeForm->ShowReadme(ReadmeFileIn(folder.empty() ? folder : JoinPath(folder, "")));
  } catch (const std::exception& e) {
    App().HandleException(e);
  }
}

void SetupWindow::FormHide() {
  if (ReadmeForm != nullptr) ReadmeForm->Hide();
}
