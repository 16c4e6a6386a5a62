#include "pelixo/app/win32/about_form.h"

#include <optional>
#include <string>

#include "pelixo/app/win32/control_ids.h"
#include "pelixo/app/win32/resource_ids.h"
#include "pelixo/app/win32/resource_info.h"

namespace pelixo::window {
namespace {

// The group's labels sit at these offsets inside it.
constexpr Bounds kGroup = {28, 90, 305, 161};

constexpr Bounds InGroup(int left, int top, int width, int height) {
  return {kGroup.left + left, kGroup.top + top, width, height};
}

// The banner keeps this place whatever size the bitmap has.
constexpr Bounds kBanner = {29, 8, 302, 78};
constexpr DWORD kCentredLabel = SS_CENTER | SS_NOPREFIX;

constexpr ControlLayout kControls[] = {
    {kAboutImage, "STATIC", "", SS_BITMAP | SS_REALSIZECONTROL, 0, kBanner},
    {kAboutGroupBox, "BUTTON", "", BS_GROUPBOX, 0, kGroup},
    {kProductLabel, "STATIC", "Product Name", kCentredLabel, 0, InGroup(4, 15, 297, 13)},
    {kVersionLabel, "STATIC", "Version", kCentredLabel, 0, InGroup(4, 37, 297, 13)},
    {kBuildLabel, "STATIC", "Build", kCentredLabel, 0, InGroup(4, 60, 297, 13)},
    {kCopyrightLabel, "STATIC", "Copyright", kCentredLabel, 0, InGroup(4, 83, 297, 13)},
    {kRightsLabel, "STATIC", "", kCentredLabel, 0, InGroup(4, 107, 297, 49)},
    {kAboutOKBtn, "BUTTON", "OK", kDefaultButtonStyle, 0, {144, 261, 75, 25}},
};
constexpr FormLayout kLayout = {kModalFormStyle, kModalFormExStyle, "About", 361, 294,
                                kControls, kAboutOKBtn};

}  // namespace

TAboutForm::~TAboutForm() {
  if (banner_ != nullptr) DeleteObject(banner_);
}

bool TAboutForm::Create(HWND owner, const std::string& program_file) {
  if (!CreateForm(owner, kLayout)) return false;
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

void TAboutForm::ControlsCreated() {
  banner_ = static_cast<HBITMAP>(
      LoadImageA(application_.instance(), MAKEINTRESOURCEA(IDB_PELIXO_BANNER),
                 IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR));
  if (banner_ != nullptr) {
    HWND image = Item(kAboutImage);
    SendMessageA(image, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(banner_));
    SetWindowPos(image, nullptr, kBanner.left, kBanner.top, kBanner.width, kBanner.height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

bool TAboutForm::OnCommand(int id, int code) {
  if ((id == kAboutOKBtn || id == kIdCancel) && code == BN_CLICKED) {
    EndModal(id);
    return true;
  }
  return false;
}

void TAboutForm::FocusFirstControl() {
  SendMessageA(handle(), WM_NEXTDLGCTL,
               reinterpret_cast<WPARAM>(Item(kAboutOKBtn)), TRUE);
}

}  // namespace pelixo::window
