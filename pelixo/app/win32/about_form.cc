#include "pelixo/app/win32/about_form.h"

#include <optional>
#include <string>

#include "pelixo/app/win32/control_ids.h"
#include "pelixo/app/win32/resource_ids.h"
#include "pelixo/app/win32/resource_info.h"

namespace pelixo::window {
namespace {

constexpr int kClientWidth = 361;
constexpr int kClientHeight = 294;

// The group's labels sit at these offsets inside it.
constexpr Bounds kGroup = {28, 90, 305, 161};

Bounds InGroup(int left, int top, int width, int height) {
  return {kGroup.left + left, kGroup.top + top, width, height};
}

}  // namespace

TAboutForm::~TAboutForm() {
  if (banner_ != nullptr) DeleteObject(banner_);
}

bool TAboutForm::Create(HWND owner, const std::string& program_file) {
  if (!CreateForm(owner, DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU,
                  WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT, "About",
                  kClientWidth, kClientHeight)) {
    return false;
  }
  SetText(Item(kAboutOKBtn), texts_.GetUserText(kTextOk));
  SetText(Item(kRightsLabel), texts_.GetUserText(kTextRights));

  TResourceInfo info(program_file);
  if (std::optional<std::string> name = info.ReadVersionString("ProductName")) {
    SetText(handle(), FormatUserText(texts_.GetUserText(kTextAboutCaption), *name));
    SetText(Item(kProductLabel), *name);
  }
  if (std::optional<std::string> version =
          info.ReadVersionString("ProductVersion")) {
    SetText(Item(kVersionLabel),
            FormatUserText(texts_.GetUserText(kTextAboutVersion), *version));
  }
  if (std::optional<VersionNumbers> numbers = info.ReadVersionNumbers()) {
    SetText(Item(kBuildLabel),
            FormatUserText(texts_.GetUserText(kTextAboutBuild),
                           std::to_string(numbers->release)));
  }
  if (std::optional<std::string> legal = info.ReadVersionString("LegalCopyright")) {
    SetText(Item(kCopyrightLabel), *legal);
  }
  return true;
}

void TAboutForm::CreateControls() {
  HWND window = handle();
  banner_ = static_cast<HBITMAP>(
      LoadImageA(application_.instance(), MAKEINTRESOURCEA(IDB_PELIXO_BANNER),
                 IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR));
  HWND image = AddControl(window, kAboutImage, "STATIC", "",
                          SS_BITMAP | SS_REALSIZECONTROL, 0, {29, 8, 302, 78});
  if (banner_ != nullptr) {
    SendMessageA(image, STM_SETIMAGE, IMAGE_BITMAP,
                 reinterpret_cast<LPARAM>(banner_));
    SetWindowPos(image, nullptr, 29, 8, 302, 78, SWP_NOZORDER | SWP_NOACTIVATE);
  }
  AddControl(window, kAboutGroupBox, "BUTTON", "", BS_GROUPBOX, 0, kGroup);
  AddControl(window, kProductLabel, "STATIC", "Product Name",
             SS_CENTER | SS_NOPREFIX, 0, InGroup(4, 15, 297, 13));
  AddControl(window, kVersionLabel, "STATIC", "Version", SS_CENTER | SS_NOPREFIX,
             0, InGroup(4, 37, 297, 13));
  AddControl(window, kBuildLabel, "STATIC", "Build", SS_CENTER | SS_NOPREFIX, 0,
             InGroup(4, 60, 297, 13));
  AddControl(window, kCopyrightLabel, "STATIC", "Copyright",
             SS_CENTER | SS_NOPREFIX, 0, InGroup(4, 83, 297, 13));
  AddControl(window, kRightsLabel, "STATIC", "", SS_CENTER | SS_NOPREFIX, 0,
             InGroup(4, 107, 297, 49));
  AddControl(window, kAboutOKBtn, "BUTTON", "OK",
             BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, 0, {144, 261, 75, 25});
  SendMessageA(window, DM_SETDEFID, kAboutOKBtn, 0);
}

bool TAboutForm::OnCommand(int id, int code) {
  if ((id == kAboutOKBtn || id == kIdCancel) && code == BN_CLICKED) {
    EndModal(id);
    return true;
  }
  return false;
}

bool TAboutForm::OnClose() {
  EndModal(kIdCancel);
  return true;
}

void TAboutForm::FocusFirstControl() {
  SendMessageA(handle(), WM_NEXTDLGCTL,
               reinterpret_cast<WPARAM>(Item(kAboutOKBtn)), TRUE);
}

}  // namespace pelixo::window
