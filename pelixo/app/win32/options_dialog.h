// The window of the options dialog (caption "Options (Send File)"): the
// three lists, the coordinate-system file field with "Browse...", OK and
// Cancel. The options themselves and what OK, Cancel and Browse do are the
// `TOptionsForm` of the settings; this window shows its state and hands
// every edit to it at once, so that its state stays what the controls show.
// The close box neither stores nor reverts: the edits stay the current
// options until the dialog is shown again.
#ifndef PELIXO_APP_WIN32_OPTIONS_DIALOG_H_
#define PELIXO_APP_WIN32_OPTIONS_DIALOG_H_

#include "pelixo/app/options_form.h"
#include "pelixo/app/user_texts.h"
#include "pelixo/app/win32/form.h"
#include "pelixo/app/win32/window_user_interface.h"

namespace pelixo::window {

class TOptionsDialog : public TForm {
 public:
  TOptionsDialog(TApplication& application, const TUserTexts& texts,
                 TWindowUserInterface& ui)
      : TForm(application), options_(texts), ui_(ui), browse_ui_(ui) {}

  // The creation step at program start: builds the hidden dialog owned by
  // `owner` and prepares it as every showing does (captions, lists, the
  // stored options).
  bool Create(HWND owner);
  // Prepares the dialog again and shows it modally.
  void Execute();

  // The current Send options.
  const TOptionsForm& options() const { return options_; }

 protected:
  bool OnCommand(int id, int code) override;

 private:
  // FormShow of the options, then its state into the controls.
  void Prepare();
  // The options' state into the controls.
  void ShowOptions();
  void ShowStatus(const platform::Status& status);

  TOptionsForm options_;
  TWindowUserInterface& ui_;
  TBrowseUserInterface browse_ui_;
  // Set while the controls are being filled, when their notifications are
  // not edits.
  bool filling_ = false;
};

}  // namespace pelixo::window

#endif  // PELIXO_APP_WIN32_OPTIONS_DIALOG_H_
