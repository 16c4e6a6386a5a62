#include "pelixo/app/win32/convert_form.h"

#include <exception>

#include "pelixo/app/options_form.h"
#include "pelixo/app/win32/about_form.h"
#include "pelixo/app/win32/control_ids.h"
#include "pelixo/app/win32/options_dialog.h"
#include "platform/registry.h"

namespace pelixo::window {
namespace {

constexpr int kLabelHeight = 13;
constexpr int kRadioWidth = 113;
constexpr int kRadioHeight = 17;

constexpr Bounds kModeGroup = {16, 16, 345, 49};
constexpr Bounds kDestinationGroup = {16, 136, 345, 69};
constexpr Bounds kFormatList = {144, 76, 217, kListHeight};

constexpr Bounds InGroup(const Bounds& group, int left, int top) {
  return {group.left + left, group.top + top, kRadioWidth, kRadioHeight};
}

// Creation order is the tab order: job name field, action button, close
// button, options button, destination group, mode group, download list,
// upload list. The labels take no part in it.
constexpr ControlLayout kControls[] = {
    {kFileFormatLabel, "STATIC", "ASCII File Format:", kLabelStyle, 0,
     {16, 80, 120, kLabelHeight}},
    {kJobNameLabel, "STATIC", "Job Name:", kLabelStyle, 0, {16, 108, 120, kLabelHeight}},
    {kJobNameEdit, "EDIT", "", kEditStyle, WS_EX_CLIENTEDGE, {144, 104, 217, 21}},
    {kSendReceiveBtn, "BUTTON", "Send...", kDefaultButtonStyle, 0, {376, 24, 75, 25}},
    {kCloseBtn, "BUTTON", "Close", kButtonStyle, 0, {376, 56, 75, 25}},
    {kOptionsBtn, "BUTTON", "Options...", kButtonStyle, 0, {376, 179, 75, 25}},
    {kDestinationGroupBox, "BUTTON", "Data Destination", BS_GROUPBOX | WS_GROUP, 0,
     kDestinationGroup},
    {kDCFileRadioBtn, "BUTTON", "DC file", BS_AUTORADIOBUTTON | WS_TABSTOP | WS_GROUP, 0,
     InGroup(kDestinationGroup, 16, 19)},
    {kDeviceRadioBtn, "BUTTON", "Terrapad", BS_AUTORADIOBUTTON, 0,
     InGroup(kDestinationGroup, 16, 42)},
    {kModeGroupBox, "BUTTON", "Operating mode", BS_GROUPBOX | WS_GROUP, 0, kModeGroup},
    {kSendFileRadioBtn, "BUTTON", "Send file", BS_AUTORADIOBUTTON | WS_TABSTOP | WS_GROUP, 0,
     InGroup(kModeGroup, 16, 19)},
    {kReceiveFileRadioBtn, "BUTTON", "Receive file", BS_AUTORADIOBUTTON, 0,
     InGroup(kModeGroup, 192, 19)},
    {kDownloadFormatsCombo, "COMBOBOX", "", kListStyle, 0, kFormatList},
    {kUploadFormatsCombo, "COMBOBOX", "", kListStyle, 0, {144, 48, 217, kListHeight}},
};
constexpr FormLayout kLayout = {WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
                                WS_EX_APPWINDOW | WS_EX_CONTROLPARENT, "Pelixo", 462, 214,
                                kControls, kSendReceiveBtn};

int Partner(int radio) {
  switch (radio) {
    case kSendFileRadioBtn: return kReceiveFileRadioBtn;
    case kReceiveFileRadioBtn: return kSendFileRadioBtn;
    case kDCFileRadioBtn: return kDeviceRadioBtn;
    default: return kDCFileRadioBtn;
  }
}

// The window's state values in the order they are read; a wrong type ends
// the reading at the value its message names.
constexpr const char* kStateValues[] = {kWriteToDCFileValue, kSendFileValue,
                                        kDownloadFormatIndexValue,
                                        kUploadFormatIndexValue};

int ValuesReadBefore(const platform::Status& status) {
  if (status) return 4;
  const std::string& message = status.error().message();
  for (int i = 0; i < 4; ++i) {
    if (message.find(std::string("'") + kStateValues[i] + "'") != std::string::npos) {
      return i;
    }
  }
  return 0;
}

void Show(HWND control, bool visible) {
  ShowWindow(control, visible ? SW_SHOWNA : SW_HIDE);
}

// The controls only the Send layout enables.
constexpr std::initializer_list<int> kSendControls = {
    kDestinationGroupBox, kDCFileRadioBtn, kDeviceRadioBtn,
    kJobNameLabel,        kJobNameEdit,    kOptionsBtn};

// The captions the text library gives; the job name's label sizes itself.
constexpr struct {
  int id;
  UserTextId text;
} kCaptions[] = {{kModeGroupBox, kTextOperatingMode},
                 {kSendFileRadioBtn, kTextSendFile},
                 {kReceiveFileRadioBtn, kTextReceiveFile},
                 {kDestinationGroupBox, kTextDataDestination},
                 {kDCFileRadioBtn, kTextDcFile},
                 {kDeviceRadioBtn, kTextDevice},
                 {kCloseBtn, kTextClose},
                 {kOptionsBtn, kTextOptions}};

}  // namespace

TConvertForm::TConvertForm(TApplication& application, TUserTexts& texts)
    : TForm(application), texts_(texts), ui_(application) {}

TConvertForm::~TConvertForm() = default;

bool TConvertForm::FormCreate(const std::string& formats_ini,
                              const std::string& program_dir) {
  if (!CreateForm(application_.handle(), kLayout)) return false;
  ui_.SetMainWindow(handle(), Item(kJobNameEdit));
  download_position_ = 0;
  upload_position_ = 0;

  // Only one of the two lists shows, at the same place.
  HWND upload = Item(kUploadFormatsCombo);
  SetWindowPos(upload, nullptr, kFormatList.left, kFormatList.top, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  Show(upload, false);

  if (!definitions_.Load(formats_ini)) {
    ui_.ShowError(texts_.GetUserText(kTextNoFormats));
    return false;
  }
  for (int i = 0; i < definitions_.Count(); ++i) {
    const TFormatDefinition& definition = definitions_[i];
    AddComboItem(Item(definition.Upload ? kUploadFormatsCombo
                                        : kDownloadFormatsCombo),
                 definition.Name);
  }
  texts_.LoadTextLibrary(program_dir);
  return true;
}

void TConvertForm::Attach(TOptionsDialog& options, TAboutForm& about) {
  options_ = &options;
  about_ = &about;
  device_ = std::make_unique<TDeviceTransfer>(ui_, texts_);
  send_driver_ = std::make_unique<TSendDriver>(ui_, texts_, definitions_,
                                               options.options(), device_.get());
  receive_driver_ =
      std::make_unique<TReceiveDriver>(ui_, texts_, definitions_, *device_);
}

void TConvertForm::ControlsCreated() {
  // As laid out: Send file, to a DC file.
  SetCheck(Item(kSendFileRadioBtn), true);
  SetCheck(Item(kDCFileRadioBtn), true);
}

void TConvertForm::FormShow() {
  ReadStoredState();

  SetText(handle(), texts_.GetUserText(kTextCaption));
  for (const auto& caption : kCaptions) {
    SetText(Item(caption.id), texts_.GetUserText(caption.text));
  }
  SetLabel(kJobNameLabel, texts_.GetUserText(kTextJobName));

  SelectComboItem(Item(kDownloadFormatsCombo), download_position_);
  SelectComboItem(Item(kUploadFormatsCombo), upload_position_);

  if (IsChecked(Item(kSendFileRadioBtn))) {
    SetText(Item(kSendReceiveBtn), texts_.GetUserText(kTextSend));
    EnableItems({kJobNameLabel, kJobNameEdit}, true);
  } else {
    // The Receive layout, its caption now from the text library.
    ReceiveFileRadioBtnClick();
  }

  HMENU system_menu = GetSystemMenu(handle(), FALSE);
  if (system_menu != nullptr) {
    AppendMenuA(system_menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(system_menu, MF_STRING, kAboutCommand,
                texts_.GetUserText(kTextAboutMenu).c_str());
  }

  ShowWindow(handle(), SW_SHOW);
  SetForegroundWindow(handle());
  FocusFirstControl();
}

void TConvertForm::ReadStoredState() {
  platform::Expected<platform::RegistryKey> key = OpenPelixoKey();
  // Without the key the window keeps its laid-out state.
  if (!key) return;
  bool write_to_dc_file_stored = key->ValueExists(kWriteToDCFileValue);
  bool send_file_stored = key->ValueExists(kSendFileValue);

  MainWindowState state;
  platform::Status status = LoadMainWindowState(&state);
  int read = ValuesReadBefore(status);

  if (read > 0) {
    if (write_to_dc_file_stored) {
      write_to_dc_file_ = state.write_to_dc_file;
      CheckRadio(state.write_to_dc_file ? kDCFileRadioBtn : kDeviceRadioBtn);
    } else {
      CheckRadio(kDCFileRadioBtn);
      UncheckRadio(kDeviceRadioBtn);
    }
  }
  if (read > 1) {
    bool send = send_file_stored && state.send_file;
    CheckRadio(send ? kSendFileRadioBtn : kReceiveFileRadioBtn);
    ShowFormatList(send);
  }
  // A stored position the list does not reach gives its first entry; a
  // negative one stays and leaves the list without a selection.
  if (read > 2) {
    download_position_ = state.download_format_index;
    if (download_position_ >= ComboCount(Item(kDownloadFormatsCombo))) {
      download_position_ = 0;
    }
  }
  if (read > 3) {
    upload_position_ = state.upload_format_index;
    if (upload_position_ >= ComboCount(Item(kUploadFormatsCombo))) {
      upload_position_ = 0;
    }
    debug_ = DebugValuePresent();
  }
  if (!status) ui_.ShowError(status.error().message());
}

void TConvertForm::SetLabel(int id, const std::string& text) {
  HWND label = Item(id);
  SetText(label, text);
  // The labels size themselves to their text.
  SetWindowPos(label, nullptr, 0, 0, TextWidth(label, text) + 2, kLabelHeight,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TConvertForm::CheckRadio(int id) {
  bool was_checked = IsChecked(Item(id));
  SetCheck(Item(id), true);
  SetCheck(Item(Partner(id)), false);
  if (!was_checked) RadioClicked(id);
}

void TConvertForm::RadioClicked(int id) {
  switch (id) {
    case kSendFileRadioBtn: SendFileRadioBtnClick(); break;
    case kReceiveFileRadioBtn: ReceiveFileRadioBtnClick(); break;
    case kDCFileRadioBtn: DCFileRadioBtnClick(); break;
    case kDeviceRadioBtn: DeviceRadioBtnClick(); break;
    default: break;
  }
}

void TConvertForm::SendFileRadioBtnClick() {
  SetText(Item(kSendReceiveBtn), texts_.GetUserText(kTextSend));
  SetText(Item(kDestinationGroupBox), texts_.GetUserText(kTextDataDestination));
  EnableItems(kSendControls, true);
  CheckRadio(write_to_dc_file_ ? kDCFileRadioBtn : kDeviceRadioBtn);
  ShowFormatList(/*upload=*/true);
}

void TConvertForm::ReceiveFileRadioBtnClick() {
  SetText(Item(kSendReceiveBtn), texts_.GetUserText(kTextReceive));
  UncheckRadio(kDCFileRadioBtn);
  CheckRadio(kDeviceRadioBtn);
  EnableItems(kSendControls, false);
  ShowFormatList(/*upload=*/false);
}

void TConvertForm::ShowFormatList(bool upload) {
  Show(Item(kUploadFormatsCombo), upload);
  Show(Item(kDownloadFormatsCombo), !upload);
}

void TConvertForm::DCFileRadioBtnClick() { write_to_dc_file_ = true; }

void TConvertForm::DeviceRadioBtnClick() {
  // The device forced by the Receive layout is not a choice of destination.
  if (IsChecked(Item(kSendFileRadioBtn))) write_to_dc_file_ = false;
}

void TConvertForm::SendReceiveBtnClick() {
  // One transfer at a time, also while a device dialog that only the
  // hidden owner window waits for is open.
  if (busy_ || send_driver_ == nullptr) return;
  busy_ = true;
  try {
    if (IsChecked(Item(kSendFileRadioBtn))) {
      SendSelection selection;
      selection.job_name = GetText(Item(kJobNameEdit));
      selection.upload_format_index = ComboSelection(Item(kUploadFormatsCombo));
      selection.write_to_dc_file = IsChecked(Item(kDCFileRadioBtn));
      send_driver_->SendAsciiFile(selection);
    } else {
      receive_driver_->set_debug(debug_);
      receive_driver_->ReceiveFromDevice(
          ComboSelection(Item(kDownloadFormatsCombo)));
    }
  } catch (const std::exception& error) {
    ui_.ShowError(error.what());
  } catch (...) {
    ui_.ShowError("Unexpected failure");
  }
  if (application_.wait_cursor()) application_.SetWaitCursor(false);
  busy_ = false;
}

void TConvertForm::OptionsBtnClick() {
  if (options_ != nullptr) options_->Execute();
}

void TConvertForm::CloseBtnClick() {
  if (closed_) return;
  closed_ = true;
  FormClose();
  ShowWindow(handle(), SW_HIDE);
  PostQuitMessage(0);
}

void TConvertForm::FormClose() {
  MainWindowState state;
  state.write_to_dc_file = write_to_dc_file_;
  state.send_file = IsChecked(Item(kSendFileRadioBtn));
  state.download_format_index = ComboSelection(Item(kDownloadFormatsCombo));
  state.upload_format_index = ComboSelection(Item(kUploadFormatsCombo));
  StoreMainWindowState(state);
}

bool TConvertForm::OnCommand(int id, int code) {
  if (code != BN_CLICKED) return false;
  switch (id) {
    case kSendFileRadioBtn:
    case kReceiveFileRadioBtn:
    case kDCFileRadioBtn:
    case kDeviceRadioBtn:
      // The button has checked itself and unchecked its partner.
      if (IsChecked(Item(id))) RadioClicked(id);
      return true;
    case kSendReceiveBtn: SendReceiveBtnClick(); return true;
    case kOptionsBtn: OptionsBtnClick(); return true;
    case kCloseBtn: CloseBtnClick(); return true;
    default: return false;
  }
}

bool TConvertForm::OnClose() {
  CloseBtnClick();
  return true;
}

bool TConvertForm::OnSysCommand(WPARAM command) {
  if (command != kAboutCommand) return false;
  if (about_ != nullptr) about_->ShowModal();
  return true;
}

}  // namespace pelixo::window
