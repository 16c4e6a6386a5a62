// Control ids of Pelixo's windows. The window tests find the controls by
// these ids, so they are part of what the window promises.
#ifndef PELIXO_APP_WIN32_CONTROL_IDS_H_
#define PELIXO_APP_WIN32_CONTROL_IDS_H_

namespace pelixo::window {

// The standard dialog ids: Enter and Esc arrive as these.
inline constexpr int kIdOk = 1;
inline constexpr int kIdCancel = 2;

// Main window. The close button is the cancel button (Esc).
inline constexpr int kSendReceiveBtn = 101;
inline constexpr int kCloseBtn = kIdCancel;
inline constexpr int kOptionsBtn = 103;
inline constexpr int kJobNameEdit = 104;
inline constexpr int kJobNameLabel = 105;
inline constexpr int kFileFormatLabel = 106;
inline constexpr int kDownloadFormatsCombo = 107;
inline constexpr int kUploadFormatsCombo = 108;
inline constexpr int kModeGroupBox = 109;
inline constexpr int kSendFileRadioBtn = 110;
inline constexpr int kReceiveFileRadioBtn = 111;
inline constexpr int kDestinationGroupBox = 112;
inline constexpr int kDCFileRadioBtn = 113;
inline constexpr int kDeviceRadioBtn = 114;

// The about item of the main window's system menu.
inline constexpr unsigned kAboutCommand = 1000;

// Options dialog. OK and Cancel are the standard ids (Enter, Esc).
inline constexpr int kOptionsOKBtn = kIdOk;
inline constexpr int kOptionsCancelBtn = kIdCancel;
inline constexpr int kUnitsGroupBox = 201;
inline constexpr int kCoordUnitsLabel = 202;
inline constexpr int kCoordUnitsCombo = 203;
inline constexpr int kAngleUnitsLabel = 204;
inline constexpr int kAngleUnitsCombo = 205;
inline constexpr int kCoordSysFileLabel = 206;
inline constexpr int kCoordSysFileEdit = 207;
inline constexpr int kBrowseBtn = 208;
inline constexpr int kDCFileVersionLabel = 209;
inline constexpr int kDCFileVersionCombo = 210;

// About box.
inline constexpr int kAboutOKBtn = kIdOk;
inline constexpr int kAboutImage = 301;
inline constexpr int kAboutGroupBox = 302;
inline constexpr int kProductLabel = 303;
inline constexpr int kVersionLabel = 304;
inline constexpr int kBuildLabel = 305;
inline constexpr int kCopyrightLabel = 306;
inline constexpr int kRightsLabel = 307;

}  // namespace pelixo::window

#endif  // PELIXO_APP_WIN32_CONTROL_IDS_H_
