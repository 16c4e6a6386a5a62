// Pelixo.exe on a private virtual display, worked from outside as a user
// would: the layouts of both modes, the options dialog and the about box
// looked at and photographed, a send to a DC file and a receive through the
// stand-in device component run through the real file dialogs, and the
// registry state the window leaves behind. Run by run_window_test.sh,
// which provides the display, the wine prefix and the folders.
#include <windows.h>

#include <cstdlib>
#include <initializer_list>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "gtest/gtest.h"
#include "pelixo/app/win32/control_ids.h"
#include "tests/pelixo/app/win32/window_driver.h"

namespace window_test {
namespace {

namespace ids = pelixo::window;

constexpr char kPelixoKey[] = "Software\\Corvane\\Pelixo";
constexpr char kSyncronaKey[] = "Software\\Corvane\\Syncrona";
constexpr char kConverterKey[] =
    "SOFTWARE\\Corvane\\Syncrona\\Device Drivers\\Terrapad\\Converter";

std::string Env(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? value : "";
}

std::string Slashes(std::string path) {
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  return path;
}

const std::string kBin = Slashes(PELIXO_BIN_DIR);
const std::string kData = Slashes(PELIXO_TEST_DATA "/window");

std::optional<DWORD> ReadDword(const char* value) {
  DWORD data = 0, size = sizeof(data);
  if (RegGetValueA(HKEY_CURRENT_USER, kPelixoKey, value, RRF_RT_REG_DWORD, nullptr,
                   &data, &size) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  return data;
}

std::optional<std::string> ReadString(const char* key, const char* value) {
  char data[2048] = {};
  DWORD size = sizeof(data);
  if (RegGetValueA(HKEY_CURRENT_USER, key, value, RRF_RT_REG_SZ, nullptr, data,
                   &size) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  return std::string(data);
}

void WriteDword(const char* value, DWORD data) {
  HKEY key;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kPelixoKey, 0, nullptr, 0,
                            KEY_WRITE, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  RegSetValueExA(key, value, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data),
                 sizeof(data));
  RegCloseKey(key);
}

void WriteMachineString(const char* key_path, const char* value,
                        const std::string& data) {
  HKEY key;
  ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, key_path, 0, nullptr, 0,
                            KEY_WRITE, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  RegSetValueExA(key, value, 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                 static_cast<DWORD>(data.size() + 1));
  RegCloseKey(key);
}

// The lines of a file, split at CR LF.
std::vector<std::string> Lines(const std::string& bytes) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < bytes.size()) {
    size_t end = bytes.find("\r\n", start);
    if (end == std::string::npos) {
      lines.push_back(bytes.substr(start));
      break;
    }
    lines.push_back(bytes.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

// "dd-Mmm-yy hh:nn " as the DC header carries its time.
bool IsDCDate(const std::string& text) {
  const std::string shape = "99-aaa-99 99:99 ";
  if (text.size() != shape.size()) return false;
  for (size_t i = 0; i < shape.size(); ++i) {
    char c = text[i];
    switch (shape[i]) {
      case '9': if (c < '0' || c > '9') return false; break;
      case 'a': if (!IsCharAlphaA(c)) return false; break;
      default: if (c != shape[i]) return false;
    }
  }
  return true;
}

// The layout the user guide's pictures show, beside them.
std::string GuideLayoutPath() {
  return WindowsPath(Env("PELIXO_GUIDE_IMAGES") + "/layout.txt");
}

// The lines of section `[name]` of the guide's layout file: everything up
// to the next section, without blank lines and "#" comments; nothing when
// the file or the section is missing.
std::optional<std::vector<std::string>> GuideLayout(const std::string& name) {
  std::optional<std::string> bytes = ReadFileBytes(GuideLayoutPath());
  if (!bytes) return std::nullopt;
  std::optional<std::vector<std::string>> section;
  bool inside = false;
  size_t start = 0;
  while (start < bytes->size()) {
    size_t end = bytes->find('\n', start);
    if (end == std::string::npos) end = bytes->size();
    std::string line = bytes->substr(start, end - start);
    start = end + 1;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == '#') continue;
    if (line[0] == '[') {
      inside = line == "[" + name + "]";
      if (inside) section.emplace();
      continue;
    }
    if (inside) section->push_back(line);
  }
  return section;
}

class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    shots_ = Env("PELIXO_WINDOW_SHOTS");
    ASSERT_FALSE(shots_.empty()) << "run through run_window_test.sh";
    work_ = WindowsPath(Env("PELIXO_WINDOW_WORK"));
    ASSERT_NE(work_, "Z:");
    const ::testing::TestInfo* test =
        ::testing::UnitTest::GetInstance()->current_test_info();
    dir_ = work_ + "\\" + test->name();
    CreateDirectoryA(dir_.c_str(), nullptr);
    app_ = dir_ + "\\app";
    CreateDirectoryA(app_.c_str(), nullptr);
    ASSERT_TRUE(CopyFileA((kBin + "\\Pelixo.exe").c_str(),
                          (app_ + "\\Pelixo.exe").c_str(), FALSE));
    // Every test starts as a first run.
    RegDeleteTreeA(HKEY_CURRENT_USER, kPelixoKey);
    RegDeleteTreeA(HKEY_CURRENT_USER, kSyncronaKey);
  }

  void InstallFormats() {
    ASSERT_TRUE(CopyFileA((kData + "\\Formats.ini").c_str(),
                          (app_ + "\\Formats.ini").c_str(), FALSE));
  }

  // Starts Pelixo and waits for its main window.
  HWND StartPelixo() {
    program_.emplace(app_ + "\\Pelixo.exe", app_);
    if (!program_->started()) return nullptr;
    return WaitForWindow(program_->id(), "Pelixo");
  }

  // Closes the main window with its close button; false when the program
  // does not end, or ends with a failure.
  bool ClosePelixo(HWND main) {
    Click(GetDlgItem(main, ids::kCloseBtn));
    std::optional<DWORD> code = program_->WaitForExit();
    return code && *code == 0;
  }

  // The stand-in device component registered, its job readers in the
  // converter folder.
  void RegisterStandInDevice() {
    HMODULE server = LoadLibraryA((kBin + "\\syncrona.dll").c_str());
    ASSERT_NE(server, nullptr) << "no stand-in component";
    using RegisterFunction = HRESULT(STDAPICALLTYPE*)();
    auto register_server = reinterpret_cast<RegisterFunction>(
        reinterpret_cast<void*>(GetProcAddress(server, "DllRegisterServer")));
    ASSERT_NE(register_server, nullptr);
    ASSERT_EQ(register_server(), S_OK);
    FreeLibrary(server);
    WriteMachineString(kConverterKey, "Directory", kBin);
    WriteMachineString(kConverterKey, "Language File", "");
  }

  // The picture of `window` for the user guide, and its layout, which must
  // be the one the guide's pictures show. The layout seen is left beside
  // the picture as <name>.layout, from which run_window_test.sh refreshes
  // the guide's layout file.
  void Photograph(const std::string& name, HWND window) {
    EXPECT_TRUE(Screenshot(shots_, name, window)) << name;
    std::vector<std::string> seen = DescribeLayout(window);
    std::string text = "[" + name + "]\n";
    for (const std::string& line : seen) text += line + "\n";
    EXPECT_TRUE(WriteFileBytes(WindowsPath(shots_ + "/" + name + ".layout"), text));
    if (Env("PELIXO_REFRESH_GUIDE_IMAGES") == "1") return;
    std::optional<std::vector<std::string>> shown = GuideLayout(name);
    ASSERT_TRUE(shown.has_value())
        << "no [" << name << "] in " << GuideLayoutPath()
        << " (PELIXO_REFRESH_GUIDE_IMAGES=1 writes it)";
    EXPECT_EQ(seen.size(), shown->size()) << name << ": number of lines";
    for (size_t i = 0; i < seen.size() && i < shown->size(); ++i) {
      EXPECT_EQ(seen[i], (*shown)[i]) << name << ", line " << i + 1;
    }
  }

  std::string shots_, work_, dir_, app_;
  std::optional<Program> program_;
};

void ExpectBounds(HWND control, HWND main, int left, int top, int width = -1,
                  int height = -1) {
  Rect r = BoundsIn(control, main);
  int id = GetDlgCtrlID(control);
  EXPECT_EQ(r.left, left) << "control " << id;
  EXPECT_EQ(r.top, top) << "control " << id;
  if (width >= 0) {
    EXPECT_EQ(r.width, width) << "control " << id;
  }
  if (height >= 0) {
    EXPECT_EQ(r.height, height) << "control " << id;
  }
}

// Inside a group box, as the layout places its radio buttons.
void ExpectInGroup(HWND control, HWND group, HWND main, int left, int top) {
  Rect g = BoundsIn(group, main);
  Rect r = BoundsIn(control, main);
  EXPECT_EQ(r.left - g.left, left) << "control " << GetDlgCtrlID(control);
  EXPECT_EQ(r.top - g.top, top) << "control " << GetDlgCtrlID(control);
}

// A key pressed in `window`: down and up, to the control with the focus.
void PressKey(HWND window, WPARAM key) {
  HWND target = FocusOf(window);
  if (target == nullptr) target = window;
  PostMessageA(target, WM_KEYDOWN, key, 1);
  PostMessageA(target, WM_KEYUP, key, 0xC0000001);
  Sleep(100);
}

void ExpectCentred(HWND window) {
  Rect outer = WindowBounds(window);
  int screen_width = GetSystemMetrics(SM_CXSCREEN);
  int screen_height = GetSystemMetrics(SM_CYSCREEN);
  EXPECT_NEAR(outer.left, (screen_width - outer.width) / 2, 1);
  EXPECT_NEAR(outer.top, (screen_height - outer.height) / 2, 1);
}

void ExpectClient(HWND window, int width, int height) {
  Rect client = ClientSize(window);
  EXPECT_EQ(client.width, width);
  EXPECT_EQ(client.height, height);
}

struct ControlText {
  int id;
  const char* text;
};

void ExpectTexts(HWND window, std::initializer_list<ControlText> controls) {
  for (const ControlText& c : controls) {
    EXPECT_EQ(Text(GetDlgItem(window, c.id)), c.text) << "control " << c.id;
  }
}

// `state` of every control of `ids` in `window` is `expected`.
void ExpectAll(HWND window, bool (*state)(HWND), bool expected,
               std::initializer_list<int> ids) {
  for (int id : ids) {
    EXPECT_EQ(state(GetDlgItem(window, id)), expected) << "control " << id;
  }
}

// A job written to `path` carries the points of the expected Site.DC; its
// header is the caller's affair.
std::vector<std::string> ExpectSiteJobBody(const std::string& path) {
  std::vector<std::string> written = Lines(*ReadFileBytes(path));
  std::vector<std::string> expected = Lines(*ReadFileBytes(kData + "\\expected\\Site.DC"));
  EXPECT_EQ(written.size(), expected.size());
  for (size_t i = 1; i < written.size() && i < expected.size(); ++i) {
    EXPECT_EQ(written[i], expected[i]) << "line " << i + 1;
  }
  return written.size() == expected.size() ? written : std::vector<std::string>{};
}

// Waits for `path` to go; true when it has.
bool WaitUntilGone(const std::string& path) {
  DWORD start = GetTickCount();
  while (GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES &&
         GetTickCount() - start < kPatienceMs) {
    Sleep(100);
  }
  return GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES;
}

std::string TempFolder() {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  return temp;
}

TEST_F(WindowTest, FirstRunShowsBothModesTheOptionsAndTheAboutBox) {
  InstallFormats();
  HWND main = StartPelixo();
  ASSERT_NE(main, nullptr) << "no main window";
  auto item = [main](int id) { return GetDlgItem(main, id); };

  // The window: client 462 x 214, single fixed border, centred.
  ExpectClient(main, 462, 214);
  ExpectCentred(main);
  LONG style = GetWindowLongA(main, GWL_STYLE);
  EXPECT_EQ(style & WS_THICKFRAME, 0);
  EXPECT_EQ(style & WS_CAPTION, WS_CAPTION);

  // Every control where the layout puts it, with its text.
  HWND mode = item(ids::kModeGroupBox);
  HWND destination = item(ids::kDestinationGroupBox);
  ExpectBounds(mode, main, 16, 16, 345, 49);
  ExpectInGroup(item(ids::kSendFileRadioBtn), mode, main, 16, 19);
  ExpectInGroup(item(ids::kReceiveFileRadioBtn), mode, main, 192, 19);
  ExpectBounds(item(ids::kFileFormatLabel), main, 16, 80);
  ExpectBounds(item(ids::kDownloadFormatsCombo), main, 144, 76, 217);
  ExpectBounds(item(ids::kUploadFormatsCombo), main, 144, 76, 217);
  ExpectBounds(item(ids::kJobNameLabel), main, 16, 108);
  ExpectBounds(item(ids::kJobNameEdit), main, 144, 104, 217);
  ExpectBounds(destination, main, 16, 136, 345, 69);
  ExpectInGroup(item(ids::kDCFileRadioBtn), destination, main, 16, 19);
  ExpectInGroup(item(ids::kDeviceRadioBtn), destination, main, 16, 42);
  ExpectBounds(item(ids::kSendReceiveBtn), main, 376, 24, 75, 25);
  ExpectBounds(item(ids::kCloseBtn), main, 376, 56, 75, 25);
  ExpectBounds(item(ids::kOptionsBtn), main, 376, 179, 75, 25);

  ExpectTexts(main, {{ids::kModeGroupBox, "Operating mode"},
                     {ids::kSendFileRadioBtn, "Send file"},
                     {ids::kReceiveFileRadioBtn, "Receive file"},
                     {ids::kFileFormatLabel, "ASCII File Format:"},
                     {ids::kJobNameLabel, "Job Name:"},
                     {ids::kDestinationGroupBox, "Data Destination"},
                     {ids::kDCFileRadioBtn, "DC file"},
                     {ids::kDeviceRadioBtn, "Terrapad"},
                     {ids::kCloseBtn, "Close"},
                     {ids::kOptionsBtn, "Options..."}});

  // The lists hold the definitions of their direction, in file order.
  EXPECT_EQ(ComboItems(item(ids::kDownloadFormatsCombo)),
            (std::vector<std::string>{"Numbered point list", "Names and codes"}));
  EXPECT_EQ(ComboItems(item(ids::kUploadFormatsCombo)),
            (std::vector<std::string>{"Comma separated points", "Fixed columns"}));
  EXPECT_EQ(ComboSelection(item(ids::kDownloadFormatsCombo)), 0);
  EXPECT_EQ(ComboSelection(item(ids::kUploadFormatsCombo)), 0);

  // Enter presses the action button.
  EXPECT_EQ(SendMessageA(main, DM_GETDEFID, 0, 0),
            MAKELRESULT(ids::kSendReceiveBtn, DC_HASDEFID));

  // Creation order is the tab order.
  const std::vector<int> tab_order = {
      ids::kJobNameEdit,     ids::kSendReceiveBtn,       ids::kCloseBtn,
      ids::kOptionsBtn,      ids::kDestinationGroupBox,  ids::kDCFileRadioBtn,
      ids::kDeviceRadioBtn,  ids::kModeGroupBox,         ids::kSendFileRadioBtn,
      ids::kReceiveFileRadioBtn, ids::kDownloadFormatsCombo,
      ids::kUploadFormatsCombo};
  std::vector<int> order;
  for (HWND child = GetWindow(main, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    int id = GetDlgCtrlID(child);
    if (id != ids::kFileFormatLabel && id != ids::kJobNameLabel) order.push_back(id);
  }
  EXPECT_EQ(order, tab_order);

  // A first run: Receive mode, the device as the forced destination.
  EXPECT_EQ(Text(item(ids::kSendReceiveBtn)), "Receive...");
  ExpectAll(main, Checked, true, {ids::kReceiveFileRadioBtn, ids::kDeviceRadioBtn});
  ExpectAll(main, Checked, false, {ids::kSendFileRadioBtn, ids::kDCFileRadioBtn});
  ExpectAll(main, Enabled, false,
            {ids::kDCFileRadioBtn, ids::kDeviceRadioBtn, ids::kDestinationGroupBox,
             ids::kJobNameEdit, ids::kJobNameLabel, ids::kOptionsBtn});
  EXPECT_TRUE(Visible(item(ids::kDownloadFormatsCombo)));
  EXPECT_FALSE(Visible(item(ids::kUploadFormatsCombo)));
  Photograph("main-receive", main);

  // Send mode: the remembered destination of a first run is the device.
  Click(item(ids::kSendFileRadioBtn));
  EXPECT_EQ(Text(item(ids::kSendReceiveBtn)), "Send...");
  ExpectAll(main, Checked, true, {ids::kSendFileRadioBtn, ids::kDeviceRadioBtn});
  ExpectAll(main, Checked, false, {ids::kReceiveFileRadioBtn, ids::kDCFileRadioBtn});
  ExpectAll(main, Enabled, true,
            {ids::kDCFileRadioBtn, ids::kDeviceRadioBtn, ids::kDestinationGroupBox,
             ids::kJobNameEdit, ids::kOptionsBtn});
  EXPECT_TRUE(Visible(item(ids::kUploadFormatsCombo)));
  EXPECT_FALSE(Visible(item(ids::kDownloadFormatsCombo)));

  // The DC file destination survives a trip through Receive mode.
  Click(item(ids::kDCFileRadioBtn));
  Click(item(ids::kReceiveFileRadioBtn));
  EXPECT_TRUE(Checked(item(ids::kDeviceRadioBtn)));
  Click(item(ids::kSendFileRadioBtn));
  EXPECT_TRUE(Checked(item(ids::kDCFileRadioBtn)));
  EXPECT_FALSE(Checked(item(ids::kDeviceRadioBtn)));
  SetEditText(item(ids::kJobNameEdit), "Site.2");
  Photograph("main-send", main);

  // The options dialog, as a first run stores nothing.
  Click(item(ids::kOptionsBtn));
  HWND options = WaitForWindow(program_->id(), "Options (Send File)");
  ASSERT_NE(options, nullptr) << "no options dialog";
  EXPECT_FALSE(Enabled(main)) << "the options dialog is modal";
  auto option = [options](int id) { return GetDlgItem(options, id); };
  ExpectCentred(options);
  ExpectTexts(options, {{ids::kUnitsGroupBox, "Units"},
                        {ids::kCoordUnitsLabel, "Coordinate:"},
                        {ids::kAngleUnitsLabel, "Angular:"},
                        {ids::kCoordSysFileLabel, "Coordinate system definition file:"},
                        {ids::kDCFileVersionLabel, "DC file version:"},
                        {ids::kOptionsOKBtn, "OK"},
                        {ids::kOptionsCancelBtn, "Cancel"},
                        {ids::kBrowseBtn, "Browse..."},
                        {ids::kCoordSysFileEdit, ""}});
  EXPECT_EQ(ComboItems(option(ids::kCoordUnitsCombo)),
            (std::vector<std::string>{"Meters", "Feet", "US Feet"}));
  EXPECT_EQ(ComboItems(option(ids::kAngleUnitsCombo)),
            (std::vector<std::string>{"Degrees", "Gons", "Mils"}));
  EXPECT_EQ(ComboItems(option(ids::kDCFileVersionCombo)),
            (std::vector<std::string>{"Version 10.7", "Version 10.0",
                                      "Version 7.7", "Version 7.5"}));
  EXPECT_EQ(ComboSelection(option(ids::kCoordUnitsCombo)), 0);
  EXPECT_EQ(ComboSelection(option(ids::kAngleUnitsCombo)), 1);
  EXPECT_EQ(ComboSelection(option(ids::kDCFileVersionCombo)), 0);
  Photograph("options", options);
  Click(option(ids::kOptionsCancelBtn));
  EXPECT_TRUE(WaitUntilHidden(options));

  // The about box from the system menu.
  PostMessageA(main, WM_SYSCOMMAND, ids::kAboutCommand, 0);
  HWND about = WaitForWindow(program_->id(), "About Pelixo");
  ASSERT_NE(about, nullptr) << "no about box";
  auto about_item = [about](int id) { return GetDlgItem(about, id); };
  ExpectClient(about, 361, 294);
  ExpectCentred(about);
  HWND group = about_item(ids::kAboutGroupBox);
  ExpectBounds(about_item(ids::kAboutImage), about, 29, 8, 302, 78);
  ExpectBounds(group, about, 28, 90, 305, 161);
  for (auto [id, top] : {std::pair{ids::kProductLabel, 15}, {ids::kVersionLabel, 37},
                         {ids::kBuildLabel, 60}, {ids::kCopyrightLabel, 83},
                         {ids::kRightsLabel, 107}}) {
    ExpectInGroup(about_item(id), group, about, 4, top);
  }
  ExpectBounds(about_item(ids::kAboutOKBtn), about, 144, 261, 75, 25);
  ExpectTexts(about, {{ids::kProductLabel, "Pelixo"},
                      {ids::kVersionLabel, "Version 1.0"},
                      {ids::kBuildLabel, "Build 2"},
                      {ids::kCopyrightLabel, "Copyright (C) 2026 Corvane"},
                      {ids::kAboutOKBtn, "OK"}});
  EXPECT_EQ(Text(about_item(ids::kRightsLabel)).rfind("All rights reserved.", 0), 0u);
  Photograph("about", about);
  // Enter closes it: the OK button is the default one.
  PressKey(about, VK_RETURN);
  EXPECT_TRUE(WaitUntilHidden(about));

  ASSERT_TRUE(ClosePelixo(main));
  EXPECT_EQ(ReadDword("SendFile"), 1u);
  EXPECT_EQ(ReadDword("WriteToDCFile"), 1u);
  EXPECT_EQ(ReadDword("DownloadFormatIndex"), 0u);
  EXPECT_EQ(ReadDword("UploadFormatIndex"), 0u);
  // Cancel stores no options.
  EXPECT_EQ(ReadDword("AngleUnits"), std::nullopt);
}

TEST_F(WindowTest, SendWritesTheDCFileThroughTheFileDialogs) {
  InstallFormats();
  std::string input = dir_ + "\\points.csv";
  std::string output = dir_ + "\\Site.DC";
  ASSERT_TRUE(CopyFileA((kData + "\\points.csv").c_str(), input.c_str(), FALSE));
  WriteDword("SendFile", 1);
  WriteDword("WriteToDCFile", 1);
  WriteDword("UploadFormatIndex", 5);  // beyond the list: its first entry
  HWND main = StartPelixo();
  ASSERT_NE(main, nullptr) << "no main window";
  auto item = [main](int id) { return GetDlgItem(main, id); };
  EXPECT_TRUE(Checked(item(ids::kSendFileRadioBtn)));
  EXPECT_TRUE(Checked(item(ids::kDCFileRadioBtn)));
  EXPECT_EQ(ComboSelection(item(ids::kUploadFormatsCombo)), 0);

  // An empty job name is refused, and the focus goes to its field.
  Click(item(ids::kSendReceiveBtn));
  EXPECT_EQ(AnswerMessageBox(program_->id(), "Error"),
            "A job name must be specified for the converted data");
  Sleep(300);
  EXPECT_EQ(FocusOf(main), item(ids::kJobNameEdit));

  SetEditText(item(ids::kJobNameEdit), "Site.2");
  Click(item(ids::kSendReceiveBtn));
  EXPECT_TRUE(AnswerFileDialog(program_->id(), "Comma separated points", input))
      << "no open dialog";
  EXPECT_EQ(AnswerFileDialog(program_->id(), "Save DC Format File", output),
            "Site.DC");
  ASSERT_TRUE(WaitForFile(output)) << "no DC file";

  std::vector<std::string> written = ExpectSiteJobBody(output);
  ASSERT_FALSE(written.empty());
  ASSERT_EQ(written[0].size(), 46u);
  EXPECT_TRUE(IsDCDate(written[0].substr(24, 16))) << written[0];
  EXPECT_EQ(written[0].substr(0, 24) + written[0].substr(40),
            "00NMTP V10-70       0000213111");

  ASSERT_TRUE(ClosePelixo(main));
  EXPECT_EQ(ReadString(kPelixoKey, "UploadFile"), input);
  EXPECT_EQ(ReadDword("SendFile"), 1u);
  EXPECT_EQ(ReadDword("WriteToDCFile"), 1u);
  EXPECT_EQ(ReadDword("UploadFormatIndex"), 0u);
}

TEST_F(WindowTest, AnExternalProgramRunsWhileTheWindowIsDisabledButAnswering) {
  // An upload definition whose external program is this driver's probe,
  // which looks at Pelixo's main window while it runs.
  std::string probe = dir_ + "\\probe.txt";
  std::string ini =
      "[ProbedUpload]\r\nNAME=Probed points\r\nDESCRIPTION=Probed points\r\n"
      "EXTENSION=csv\r\nDIRECTION=Upload\r\nSTYLE=Comma\r\n"
      "HEADER1=Name,North,East,Height,Code\r\n"
      "EXTERNALPROGRAM=" + kBin + "\\window_test.exe --probe " + probe + "\r\n"
      "FIELD1=NAME,STRING,0,0,LEFT\r\nFIELD2=NORTHING,REAL,0,3,RIGHT\r\n"
      "FIELD3=EASTING,REAL,0,3,RIGHT\r\nFIELD4=ELEVATION,REAL,0,3,RIGHT\r\n"
      "FIELD5=CODE,STRING,0,0,LEFT\r\n";
  ASSERT_TRUE(WriteFileBytes(app_ + "\\Formats.ini", ini));
  std::string input = dir_ + "\\points.csv";
  std::string output = dir_ + "\\Site.DC";
  ASSERT_TRUE(CopyFileA((kData + "\\points.csv").c_str(), input.c_str(), FALSE));
  WriteDword("SendFile", 1);
  WriteDword("WriteToDCFile", 1);

  HWND main = StartPelixo();
  ASSERT_NE(main, nullptr) << "no main window";
  SetEditText(GetDlgItem(main, ids::kJobNameEdit), "Site.2");
  Click(GetDlgItem(main, ids::kSendReceiveBtn));
  EXPECT_TRUE(AnswerFileDialog(program_->id(), "Probed points", input));
  EXPECT_EQ(AnswerFileDialog(program_->id(), "Save DC Format File", output),
            "Site.DC");
  ASSERT_TRUE(WaitForFile(output)) << "no DC file";
  EXPECT_EQ(ReadFileBytes(probe), "disabled, answering");
  EXPECT_TRUE(Enabled(main)) << "enabled again after the program";
  ExpectSiteJobBody(output);
  ASSERT_TRUE(ClosePelixo(main));
}

TEST_F(WindowTest, SendToTheStandInDeviceHandsOverTheJobItAsksFor) {
  InstallFormats();
  RegisterStandInDevice();
  std::string device = dir_ + "\\device";
  CreateDirectoryA(device.c_str(), nullptr);
  SetEnvironmentVariableA("SYNCRONA_DEVICE_FOLDER", device.c_str());
  SetEnvironmentVariableA("SYNCRONA_SEND_VERSION", "1000");
  std::string input = dir_ + "\\points.csv";
  ASSERT_TRUE(CopyFileA((kData + "\\points.csv").c_str(), input.c_str(), FALSE));
  WriteDword("SendFile", 1);
  WriteDword("WriteToDCFile", 0);

  HWND main = StartPelixo();
  ASSERT_NE(main, nullptr) << "no main window";
  EXPECT_TRUE(Checked(GetDlgItem(main, ids::kDeviceRadioBtn)));
  SetEditText(GetDlgItem(main, ids::kJobNameEdit), "Site.2");
  Click(GetDlgItem(main, ids::kSendReceiveBtn));
  EXPECT_TRUE(AnswerFileDialog(program_->id(), "Comma separated points", input));
  std::string on_device = device + "\\Site.2.DC";
  ASSERT_TRUE(WaitForFile(on_device)) << "nothing reached the device";

  // Built for the version the component asked for: 10.0.
  std::vector<std::string> written = ExpectSiteJobBody(on_device);
  ASSERT_FALSE(written.empty());
  EXPECT_EQ(written[0].substr(0, 24), "00NMTP V10          0000");
  EXPECT_EQ(written[0].substr(40), "213111");

  // The job's temporary file goes once the device has it.
  EXPECT_TRUE(WaitUntilGone(TempFolder() + "Site.2.DC"));
  ASSERT_TRUE(ClosePelixo(main));
  EXPECT_EQ(ReadDword("WriteToDCFile"), 0u);
}

TEST_F(WindowTest, ReceiveExportsAJobFromTheStandInDevice) {
  InstallFormats();
  RegisterStandInDevice();
  std::string device = dir_ + "\\device";
  CreateDirectoryA(device.c_str(), nullptr);
  ASSERT_TRUE(CopyFileA((kData + "\\device\\SITE1.DC").c_str(),
                        (device + "\\SITE1.DC").c_str(), FALSE));
  // A signed job file of version 10.70 holding the points of the job.
  std::string job = "Corvane Terrapad Job" + std::string(16, '\0') + "\x0A\x46" +
                    "NEZ,K10,BM,6170000.250,720000.750,45.125\r\n"
                    "NEZ,K11,WALL,6170010.000,720005.500,44.000\r\n";
  ASSERT_TRUE(WriteFileBytes(device + "\\SITE1.JOB", job));
  SetEnvironmentVariableA("SYNCRONA_DEVICE_FOLDER", device.c_str());
  SetEnvironmentVariableA("SYNCRONA_CHOSEN_JOBS", "SITE1");

  std::string output = dir_ + "\\received.txt";
  HWND main = StartPelixo();
  ASSERT_NE(main, nullptr) << "no main window";
  EXPECT_EQ(Text(GetDlgItem(main, ids::kSendReceiveBtn)), "Receive...");
  Click(GetDlgItem(main, ids::kSendReceiveBtn));
  EXPECT_EQ(AnswerFileDialog(program_->id(), "Numbered point list", output),
            "SITE1.txt");
  ASSERT_TRUE(WaitForFile(output)) << "no ASCII file";
  EXPECT_EQ(ReadFileBytes(output), ReadFileBytes(kData + "\\expected\\SITE1.txt"));

  // The received files leave the temporary directory after the export.
  std::string received = TempFolder() + "SITE1";
  WaitUntilGone(received + ".DC");
  for (const char* extension : {".DC", ".JOB", ".TIC", ".DCO"}) {
    EXPECT_EQ(GetFileAttributesA((received + extension).c_str()),
              INVALID_FILE_ATTRIBUTES)
        << extension;
  }

  ASSERT_TRUE(ClosePelixo(main));
  EXPECT_EQ(ReadString(kPelixoKey, "DownloadFile"), output);
  EXPECT_EQ(ReadDword("SendFile"), 0u);
}

TEST_F(WindowTest, OptionsOkStoresAndCancelReverts) {
  InstallFormats();
  WriteDword("SendFile", 1);
  HWND main = StartPelixo();
  ASSERT_NE(main, nullptr) << "no main window";
  DWORD pid = program_->id();

  Click(GetDlgItem(main, ids::kOptionsBtn));
  HWND options = WaitForWindow(pid, "Options (Send File)");
  ASSERT_NE(options, nullptr);
  auto option = [options](int id) { return GetDlgItem(options, id); };
  SelectCombo(option(ids::kAngleUnitsCombo), 0);
  // Browse puts the chosen file's full path into the field.
  std::string chosen = dir_ + "\\grid.dc";
  ASSERT_TRUE(CopyFileA((kData + "\\points.csv").c_str(), chosen.c_str(), FALSE));
  Click(option(ids::kBrowseBtn));
  EXPECT_TRUE(AnswerFileDialog(pid, "Open", chosen)) << "no Browse dialog";
  EXPECT_EQ(Text(option(ids::kCoordSysFileEdit)), chosen);
  Click(option(ids::kOptionsCancelBtn));
  ASSERT_TRUE(WaitUntilHidden(options));
  EXPECT_TRUE(Enabled(main));
  EXPECT_EQ(ReadDword("AngleUnits"), std::nullopt);
  EXPECT_EQ(ReadString(kPelixoKey, "CoordSysFile"), std::nullopt);

  Click(GetDlgItem(main, ids::kOptionsBtn));
  ASSERT_NE(WaitForWindow(pid, "Options (Send File)"), nullptr);
  EXPECT_EQ(ComboSelection(option(ids::kAngleUnitsCombo)), 1);
  EXPECT_EQ(Text(option(ids::kCoordSysFileEdit)), "");
  SelectCombo(option(ids::kAngleUnitsCombo), 0);
  SelectCombo(option(ids::kCoordUnitsCombo), 2);
  SelectCombo(option(ids::kDCFileVersionCombo), 3);
  SetEditText(option(ids::kCoordSysFileEdit), "grid.dc");
  Click(option(ids::kOptionsOKBtn));
  ASSERT_TRUE(WaitUntilHidden(options));
  EXPECT_EQ(ReadDword("AngleUnits"), 0u);
  EXPECT_EQ(ReadDword("CoordUnits"), 2u);
  EXPECT_EQ(ReadDword("DCFileVersion"), 3u);
  EXPECT_EQ(ReadString(kPelixoKey, "CoordSysFile"), "grid.dc");

  // Esc closes the main window, which stores its state on the way out.
  PressKey(main, VK_ESCAPE);
  EXPECT_EQ(program_->WaitForExit(), 0u);
  EXPECT_EQ(ReadDword("SendFile"), 1u);
}

TEST_F(WindowTest, AValueOfTheWrongTypeIsReportedAndTheRestKeepsTheLayout) {
  InstallFormats();
  HKEY key;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kPelixoKey, 0, nullptr, 0,
                            KEY_WRITE, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  RegSetValueExA(key, "SendFile", 0, REG_SZ, reinterpret_cast<const BYTE*>("1"), 2);
  RegCloseKey(key);
  WriteDword("DownloadFormatIndex", 1);

  program_.emplace(app_ + "\\Pelixo.exe", app_);
  ASSERT_TRUE(program_->started());
  EXPECT_EQ(AnswerMessageBox(program_->id(), "Error"),
            "Invalid data type for 'SendFile'");
  HWND main = WaitForWindow(program_->id(), "Pelixo");
  ASSERT_NE(main, nullptr) << "no main window after the error";
  auto item = [main](int id) { return GetDlgItem(main, id); };
  // The reading stopped at SendFile: the laid-out Send file and DC file
  // stay, the list positions were not read.
  EXPECT_TRUE(Checked(item(ids::kSendFileRadioBtn)));
  EXPECT_TRUE(Checked(item(ids::kDCFileRadioBtn)));
  EXPECT_EQ(Text(item(ids::kSendReceiveBtn)), "Send...");
  EXPECT_EQ(ComboSelection(item(ids::kDownloadFormatsCombo)), 0);
  ASSERT_TRUE(ClosePelixo(main));
  EXPECT_EQ(ReadDword("SendFile"), 1u);
  EXPECT_EQ(ReadDword("WriteToDCFile"), 0u) << "the flag was never set";
}

TEST_F(WindowTest, ATextLibraryBesideTheProgramRewordsWhatItHolds) {
  InstallFormats();
  ASSERT_TRUE(CopyFileA((kBin + "\\xelidor\\Xelidor.DLL").c_str(),
                        (app_ + "\\Xelidor.DLL").c_str(), FALSE));
  program_.emplace(app_ + "\\Pelixo.exe", app_);
  ASSERT_TRUE(program_->started());
  HWND main = WaitForWindow(program_->id(), "Pelixo (stand-in texts)");
  ASSERT_NE(main, nullptr) << "no main window with the library's caption";
  EXPECT_EQ(Text(GetDlgItem(main, ids::kCloseBtn)), "Close window");
  // An empty text in the library, and one it lacks: the program's own.
  EXPECT_EQ(Text(GetDlgItem(main, ids::kOptionsBtn)), "Options...");
  EXPECT_EQ(Text(GetDlgItem(main, ids::kSendReceiveBtn)), "Receive...");
  ASSERT_TRUE(ClosePelixo(main));
}

TEST_F(WindowTest, MissingFormatsIniEndsTheProgramWithAnError) {
  program_.emplace(app_ + "\\Pelixo.exe", app_);
  ASSERT_TRUE(program_->started());
  EXPECT_EQ(AnswerMessageBox(program_->id(), "Error"),
            "No file formats specified - Formats.ini file required");
  std::optional<DWORD> code = program_->WaitForExit();
  ASSERT_TRUE(code.has_value()) << "the program did not end";
  EXPECT_EQ(*code, 1u) << "ends with its own exit code, not a crash";
}

// The probe: started by Pelixo as a definition's external program, it
// writes down whether Pelixo's main window is disabled and still handles
// its messages meanwhile.
int RunProbe(const std::string& out) {
  HWND main = FindWindowA("#32770", "Pelixo");
  std::string state = "no window";
  if (main != nullptr) {
    DWORD_PTR ignored = 0;
    // A second press of the action button while the transfer runs must not
    // start another one (it would open its own dialog and not answer).
    HWND button = GetDlgItem(main, ids::kSendReceiveBtn);
    SendMessageTimeoutA(main, WM_COMMAND, MAKEWPARAM(ids::kSendReceiveBtn, BN_CLICKED),
                        reinterpret_cast<LPARAM>(button), SMTO_ABORTIFHUNG,
                        kPatienceMs / 3, &ignored);
    bool answers = SendMessageTimeoutA(main, WM_NULL, 0, 0, SMTO_ABORTIFHUNG,
                                       kPatienceMs / 3, &ignored) != 0;
    state = std::string(IsWindowEnabled(main) ? "enabled" : "disabled") +
            (answers ? ", answering" : ", not answering");
  }
  return WriteFileBytes(out, state) ? 0 : 1;
}

}  // namespace
}  // namespace window_test

int main(int argc, char** argv) {
  if (argc == 3 && std::string(argv[1]) == "--probe") {
    return window_test::RunProbe(argv[2]);
  }
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
