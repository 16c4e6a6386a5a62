// The texts Pelixo shows, looked up by id. The program's own table answers
// unless the optional text library "Xelidor.DLL" beside the program holds a
// non-empty text of the same id.
#ifndef PELIXO_APP_USER_TEXTS_H_
#define PELIXO_APP_USER_TEXTS_H_

#include <string>

#include "platform/dynamic_library.h"

namespace pelixo {

// Ids of the texts, in the order of the program's table.
enum UserTextId : int {
  kTextJobNameRequired = 20000,
  kTextAnyFileFilter = 20001,
  kTextAsciiFileEmpty = 20002,
  kTextDcFileFilter = 20003,
  kTextSaveDcTitle = 20004,
  kTextCannotHandleVersion = 20005,
  kTextCaption = 20007,
  kTextOperatingMode = 20008,
  kTextSendFile = 20009,
  kTextReceiveFile = 20010,
  kTextJobName = 20012,
  kTextDataDestination = 20013,
  kTextDcFile = 20014,
  kTextDevice = 20015,
  kTextClose = 20016,
  kTextOptions = 20017,
  kTextSend = 20018,
  kTextReceive = 20019,
  kTextOptionsCaption = 20021,
  kTextUnits = 20022,
  kTextCoordinate = 20023,
  kTextAngular = 20024,
  kTextCoordSysFile = 20025,
  kTextDcFileVersion = 20026,
  kTextOk = 20027,
  kTextCancel = 20028,
  kTextBrowse = 20029,
  kTextDegrees = 20030,
  kTextGons = 20031,
  kTextMils = 20032,
  kTextMeters = 20033,
  kTextFeet = 20034,
  kTextUsFeet = 20035,
  kTextVersion100 = 20036,
  kTextVersion77 = 20037,
  kTextVersion75 = 20038,
  kTextAboutCaption = 20039,
  kTextAboutMenu = 20040,
  kTextAboutVersion = 20041,
  kTextAboutBuild = 20042,
  kTextRights = 20043,
  kTextNoFormats = 20044,
};

// `count` and the noun that goes with it: "1 file", "2 files", "0 files".
std::string CountOf(long long count, const char* singular, const char* plural);

// The program's own text of `id`; empty for an id it does not hold.
std::string OwnUserText(int id);

class TUserTexts {
 public:
  // Loads "Xelidor.DLL" from `program_dir` (with its trailing separator)
  // for its string table only; a missing library is no error.
  void LoadTextLibrary(const std::string& program_dir);
  bool HasTextLibrary() const { return library_.loaded(); }

  std::string GetUserText(int id) const;

 private:
  platform::DynamicLibrary library_;
};

}  // namespace pelixo

#endif  // PELIXO_APP_USER_TEXTS_H_
