// The main window: mode (send an ASCII file, or receive from the field
// device), the ASCII format, the job name and the destination, and the
// action button that runs the send or receive driver. It owns the format
// definitions, restores its state from the registry when shown and stores
// it when closed, opens the options dialog and, from its system menu, the
// about box.
#ifndef PELIXO_APP_WIN32_CONVERT_FORM_H_
#define PELIXO_APP_WIN32_CONVERT_FORM_H_

#include <memory>
#include <string>

#include "pelixo/app/device_transfer.h"
#include "pelixo/app/receive_driver.h"
#include "pelixo/app/send_driver.h"
#include "pelixo/app/user_texts.h"
#include "pelixo/app/win32/form.h"
#include "pelixo/app/win32/window_user_interface.h"
#include "pelixo/core/format_definitions.h"

namespace pelixo::window {

class TAboutForm;
class TOptionsDialog;

class TConvertForm : public TForm {
 public:
  TConvertForm(TApplication& application, TUserTexts& texts);
  ~TConvertForm() override;

  // The creation step: builds the (hidden) window, loads the format
  // definitions from `formats_ini` and fills the lists, then loads the text
  // library from `program_dir`. False, after error 20044, when Formats.ini
  // gives no section: the program ends.
  bool FormCreate(const std::string& formats_ini, const std::string& program_dir);
  // The forms created after it, and the drivers that need them.
  void Attach(TOptionsDialog& options, TAboutForm& about);
  // Restores the registry state, sets the captions and shows the window.
  void FormShow();

  TWindowUserInterface& ui() { return ui_; }

 protected:
  void ControlsCreated() override;
  bool OnCommand(int id, int code) override;
  bool OnClose() override;
  bool OnSysCommand(WPARAM command) override;

 private:
  // Checks a radio button as the user would: its partner is unchecked, and
  // its click handler runs when it was not checked before.
  void CheckRadio(int id);
  void UncheckRadio(int id) { SetCheck(Item(id), false); }
  void RadioClicked(int id);

  void SendFileRadioBtnClick();     // the Send layout
  void ReceiveFileRadioBtnClick();  // the Receive layout
  void DCFileRadioBtnClick();
  void DeviceRadioBtnClick();
  void SendReceiveBtnClick();
  void OptionsBtnClick();
  void CloseBtnClick();
  void FormClose();

  // Only one of the two format lists shows: the upload list for Send.
  void ShowFormatList(bool upload);
  void ReadStoredState();
  void SetLabel(int id, const std::string& text);

  TUserTexts& texts_;
  TWindowUserInterface ui_;
  TFormatDefinitions definitions_;
  TOptionsDialog* options_ = nullptr;
  TAboutForm* about_ = nullptr;
  std::unique_ptr<TDeviceTransfer> device_;
  std::unique_ptr<TSendDriver> send_driver_;
  std::unique_ptr<TReceiveDriver> receive_driver_;

  bool write_to_dc_file_ = false;  // the destination remembered for Send mode
  int download_position_ = 0;
  int upload_position_ = 0;
  bool debug_ = false;
  bool busy_ = false;
  bool closed_ = false;
};

}  // namespace pelixo::window

#endif  // PELIXO_APP_WIN32_CONVERT_FORM_H_
