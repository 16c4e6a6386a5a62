// Pelixo.exe: creates the hidden owner window, then in this order the main
// window, the options dialog and the about box, shows the main window and
// runs the message loop until the main window closes.
#include <windows.h>

#include <commctrl.h>

#include "pelixo/app/switches.h"
#include "pelixo/app/user_texts.h"
#include "pelixo/app/win32/about_form.h"
#include "pelixo/app/win32/application.h"
#include "pelixo/app/win32/convert_form.h"
#include "pelixo/app/win32/options_dialog.h"
#include "pelixo/app/win32/resource_info.h"
#include "pelixo/core/format_definitions.h"
#include "platform/files.h"
#include "platform/interrupt.h"
#include "platform/switches.h"

namespace {

// Ends the program when Formats.ini gives no format definitions.
constexpr int kExitNoFormats = 1;
constexpr int kExitNoWindow = 2;

int RunPelixo(HINSTANCE instance) {
  INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_STANDARD_CLASSES |
                                                         ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);

  using namespace pelixo::window;
  TApplication application(instance);
  if (!application.CreateHandle("Pelixo")) return kExitNoWindow;
  pelixo::TUserTexts texts;

  TConvertForm main_window(application, texts);
  if (!main_window.FormCreate(pelixo::DefaultFormatsIniPath(),
                              platform::ExecutableDirectory())) {
    return main_window.handle() != nullptr ? kExitNoFormats : kExitNoWindow;
  }
  TOptionsDialog options(application, texts, main_window.ui());
  if (!options.Create(main_window.handle())) return kExitNoWindow;
  TAboutForm about(application, texts);
  if (!about.Create(main_window.handle(), ProgramFileName())) return kExitNoWindow;
  main_window.Attach(options, about);

  main_window.FormShow();
  return application.Run();
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE /*previous*/, LPSTR /*command_line*/,
                   int /*show*/) {
  platform::SetSwitches(pelixo::PelixoSwitches());
  platform::RemoveTemporaryFilesOnInterrupt();
  return RunPelixo(instance);
}
