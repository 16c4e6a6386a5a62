#include "pelixo/app/win32/options_dialog.h"

#include "pelixo/app/win32/control_ids.h"

namespace pelixo::window {
namespace {

constexpr ControlLayout kControls[] = {
    {kUnitsGroupBox, "BUTTON", "Units", BS_GROUPBOX, 0, {8, 8, 345, 81}},
    {kCoordUnitsLabel, "STATIC", "Coordinate:", kLabelStyle, 0, {24, 32, 96, 13}},
    {kCoordUnitsCombo, "COMBOBOX", "", kListStyle, 0, {128, 28, 209, kListHeight}},
    {kAngleUnitsLabel, "STATIC", "Angular:", kLabelStyle, 0, {24, 60, 96, 13}},
    {kAngleUnitsCombo, "COMBOBOX", "", kListStyle, 0, {128, 56, 209, kListHeight}},
    {kCoordSysFileLabel, "STATIC", "Coordinate system definition file:", kLabelStyle, 0,
     {8, 100, 345, 13}},
    {kCoordSysFileEdit, "EDIT", "", kEditStyle, WS_EX_CLIENTEDGE, {8, 118, 264, 21}},
    {kBrowseBtn, "BUTTON", "Browse...", kButtonStyle, 0, {278, 116, 75, 25}},
    {kDCFileVersionLabel, "STATIC", "DC file version:", kLabelStyle, 0, {8, 155, 112, 13}},
    {kDCFileVersionCombo, "COMBOBOX", "", kListStyle, 0, {128, 151, 225, kListHeight}},
    {kOptionsOKBtn, "BUTTON", "OK", kDefaultButtonStyle, 0, {197, 190, 75, 25}},
    {kOptionsCancelBtn, "BUTTON", "Cancel", kButtonStyle, 0, {278, 190, 75, 25}},
};
constexpr FormLayout kLayout = {kModalFormStyle, kModalFormExStyle, "Options (Send File)",
                                361, 223, kControls, kOptionsOKBtn};

using Captions = TOptionsForm::Captions;
constexpr struct {
  int id;
  std::string Captions::*caption;
} kCaptions[] = {{kUnitsGroupBox, &Captions::units},
                 {kCoordUnitsLabel, &Captions::coordinate},
                 {kAngleUnitsLabel, &Captions::angular},
                 {kCoordSysFileLabel, &Captions::coord_sys_file},
                 {kDCFileVersionLabel, &Captions::dc_file_version},
                 {kOptionsOKBtn, &Captions::ok},
                 {kOptionsCancelBtn, &Captions::cancel},
                 {kBrowseBtn, &Captions::browse}};

// The lists and the option each shows.
constexpr struct {
  int id;
  int SendOptions::*option;
} kLists[] = {{kCoordUnitsCombo, &SendOptions::coord_units},
              {kAngleUnitsCombo, &SendOptions::angle_units},
              {kDCFileVersionCombo, &SendOptions::dc_file_version}};

}  // namespace

bool TOptionsDialog::Create(HWND owner) {
  if (!CreateForm(owner, kLayout)) return false;
  Prepare();
  return true;
}

void TOptionsDialog::Execute() {
  Prepare();
  ShowModal();
}

void TOptionsDialog::Prepare() {
  platform::Status status = options_.FormShow();
  const TOptionsForm::Captions& captions = options_.captions();
  SetText(handle(), captions.dialog);
  for (const auto& caption : kCaptions) SetText(Item(caption.id), captions.*caption.caption);
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
  for (const auto& list : kLists) SelectComboItem(Item(list.id), options.*list.option);
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
    default:
      break;
  }
  for (const auto& list : kLists) {
    if (list.id != id) continue;
    if (code != CBN_SELCHANGE || filling_) return false;
    options.*list.option = ComboSelection(Item(id));
    return true;
  }
  return false;
}

}  // namespace pelixo::window
