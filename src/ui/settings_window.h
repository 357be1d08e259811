// The settings window: the settings file's values on two track bars and
// four check boxes, saved on "設定完了".
#pragma once

#include <memory>
#include <string>

#include "shell/form.h"

class Fl_Box;
class Fl_Button;
class Fl_Check_Button;
class Fl_RGB_Image;
class Label;
class Shape;
class TrackBar;
struct WindowSettings;

class SettingsWindow : public Form {
 public:
  SettingsWindow();
  ~SettingsWindow() override;

  // Reads the settings file into the controls; without a PATH line: the
  // message box "設定ファイルがありません", then the end of the program.
  void FormCreate() override;
  void FormHide() override;
  void ShowMeteorCount();
  // Saves and ends; a save that fails is reported and the window stays.
  void Save();
  void ShowReadme();

  // The control values as the settings writer takes them.
  WindowSettings Values() const;
  // The install folder with its trailing '/', from the PATH line.
  std::string DataPath;

  Fl_Box* Picture = nullptr;
  Label* MakerLabel = nullptr;
  Label* MeteorCountCaption = nullptr;
  Shape* MeteorCountFrame = nullptr;
  Label* MeteorCountLabel = nullptr;
  Label* MeteorCountMin = nullptr;
  Label* MeteorCountMax = nullptr;
  TrackBar* MeteorCountBar = nullptr;
  Label* SlowMachineLabel = nullptr;
  Label* FastMachineLabel = nullptr;
  Label* VolumeCaption = nullptr;
  Label* VolumeMin = nullptr;
  Label* VolumeMax = nullptr;
  TrackBar* VolumeBar = nullptr;
  Fl_Check_Button* SoundBox = nullptr;
  Fl_Check_Button* AutopilotBox = nullptr;
  Fl_Check_Button* JoystickBox = nullptr;
  Fl_Check_Button* LongGameBox = nullptr;
  Fl_Button* ReadmeButton = nullptr;
  Shape* ButtonFrame = nullptr;
  Fl_Button* SaveButton = nullptr;

 private:
  std::unique_ptr<Fl_RGB_Image> splash_;
};

extern SettingsWindow* SettingsForm;
