#include "pelixo/app/win32/options_dialog.h"

#include "pelixo/app/win32/control_ids.h"

namespace pelixo::window {
namespace {

constexpr int kClientWidth = 361;
constexpr int kClientHeight = 223;

constexpr int kListHeight = 200;  // the drop-down part included

}  // namespace

bool TOptionsDialog::Create(HWND owner) {
  if (!CreateForm(owner, DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU,
                  WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT,
                  "Options (Send File)", kClientWidth, kClientHeight)) {
    return false;
  }
  Prepare();
  return true;
}

void TOptionsDialog::Execute() {
  Prepare();
  ShowModal();
}

void TOptionsDialog::CreateControls() {
  HWND window = handle();
  constexpr DWORD kList = CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP | WS_GROUP;
  constexpr DWORD kLabel = SS_LEFT | SS_NOPREFIX;
  AddControl(window, kUnitsGroupBox, "BUTTON", "Units", BS_GROUPBOX, 0,
             {8, 8, 345, 81});
  AddControl(window, kCoordUnitsLabel, "STATIC", "Coordinate:", kLabel, 0,
             {24, 32, 96, 13});
  AddControl(window, kCoordUnitsCombo, "COMBOBOX", "", kList, 0,
             {128, 28, 209, kListHeight});
  AddControl(window, kAngleUnitsLabel, "STATIC", "Angular:", kLabel, 0,
             {24, 60, 96, 13});
  AddControl(window, kAngleUnitsCombo, "COMBOBOX", "", kList, 0,
             {128, 56, 209, kListHeight});
  AddControl(window, kCoordSysFileLabel, "STATIC",
             "Coordinate system definition file:", kLabel, 0, {8, 100, 345, 13});
  AddControl(window, kCoordSysFileEdit, "EDIT", "",
             ES_AUTOHSCROLL | WS_TABSTOP | WS_GROUP, WS_EX_CLIENTEDGE,
             {8, 118, 264, 21});
  AddControl(window, kBrowseBtn, "BUTTON", "Browse...",
             BS_PUSHBUTTON | WS_TABSTOP | WS_GROUP, 0, {278, 116, 75, 25});
  AddControl(window, kDCFileVersionLabel, "STATIC", "DC file version:", kLabel, 0,
             {8, 155, 112, 13});
  AddControl(window, kDCFileVersionCombo, "COMBOBOX", "", kList, 0,
             {128, 151, 225, kListHeight});
  AddControl(window, kOptionsOKBtn, "BUTTON", "OK",
             BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, 0, {197, 190, 75, 25});
  AddControl(window, kOptionsCancelBtn, "BUTTON", "Cancel",
             BS_PUSHBUTTON | WS_TABSTOP | WS_GROUP, 0, {278, 190, 75, 25});
  SendMessageA(window, DM_SETDEFID, kOptionsOKBtn, 0);
}

void TOptionsDialog::Prepare() {
  platform::Status status = options_.FormShow();
  const TOptionsForm::Captions& captions = options_.captions();
  SetText(handle(), captions.dialog);
  SetText(Item(kUnitsGroupBox), captions.units);
  SetText(Item(kCoordUnitsLabel), captions.coordinate);
  SetText(Item(kAngleUnitsLabel), captions.angular);
  SetText(Item(kCoordSysFileLabel), captions.coord_sys_file);
  SetText(Item(kDCFileVersionLabel), captions.dc_file_version);
  SetText(Item(kOptionsOKBtn), captions.ok);
  SetText(Item(kOptionsCancelBtn), captions.cancel);
  SetText(Item(kBrowseBtn), captions.browse);
  filling_ = true;
  SetComboItems(Item(kAngleUnitsCombo), options_.angle_unit_items());
  SetComboItems(Item(kCoordUnitsCombo), options_.coord_unit_items());
  SetComboItems(Item(kDCFileVersionCombo), options_.dc_version_items());
  filling_ = false;
  ShowOptions();
  ShowStatus(status);
}

void TOptionsDialog::ShowOptions() {
  const SendOptions& options = options_.options();
  filling_ = true;
  SetText(Item(kCoordSysFileEdit), options.coord_sys_file);
  SelectComboItem(Item(kCoordUnitsCombo), options.coord_units);
  SelectComboItem(Item(kAngleUnitsCombo), options.angle_units);
  SelectComboItem(Item(kDCFileVersionCombo), options.dc_file_version);
  filling_ = false;
}

void TOptionsDialog::ShowStatus(const platform::Status& status) {
  if (!status) ui_.ShowError(status.error().message());
}

bool TOptionsDialog::OnCommand(int id, int code) {
  SendOptions& options = options_.options();
  switch (id) {
    case kOptionsOKBtn:
      if (code != BN_CLICKED) return false;
      options_.OKBtnClick();
      EndModal(kIdOk);
      return true;
    case kOptionsCancelBtn:
      if (code != BN_CLICKED) return false;
      {
        platform::Status status = options_.CancelBtnClick();
        ShowOptions();
        ShowStatus(status);
      }
      EndModal(kIdCancel);
      return true;
    case kBrowseBtn:
      if (code != BN_CLICKED) return false;
      options_.BrowseBtnClick(browse_ui_);
      ShowOptions();
      return true;
    case kCoordSysFileEdit:
      if (code != EN_CHANGE || filling_) return false;
      options.coord_sys_file = GetText(Item(kCoordSysFileEdit));
      return true;
    case kCoordUnitsCombo:
      if (code != CBN_SELCHANGE || filling_) return false;
      options.coord_units = ComboSelection(Item(kCoordUnitsCombo));
      return true;
    case kAngleUnitsCombo:
      if (code != CBN_SELCHANGE || filling_) return false;
      options.angle_units = ComboSelection(Item(kAngleUnitsCombo));
      return true;
    case kDCFileVersionCombo:
      if (code != CBN_SELCHANGE || filling_) return false;
      options.dc_file_version = ComboSelection(Item(kDCFileVersionCombo));
      return true;
    default:
      return false;
  }
}

bool TOptionsDialog::OnClose() {
  // The close box neither stores nor reverts: the edits stay the current
  // options until the dialog is shown again.
  EndModal(kIdCancel);
  return true;
}

}  // namespace pelixo::window
