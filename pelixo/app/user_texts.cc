#include "pelixo/app/user_texts.h"

#include <utility>

namespace pelixo {
namespace {

struct OwnText {
  int id;
  const char* text;
};

constexpr OwnText kOwnTexts[] = {
    {20000, "A job name must be specified for the converted data"},
    {20001, "Any File|*.*"},
    {20002, "Specified ASCII file does not contain any data"},
    {20003, "Terrapad DC Files|*.DC"},
    {20004, "Save DC Format File"},
    {20005, "Cannot handle jobs of this version"},
    {20007, "Pelixo"},
    {20008, "Operating mode"},
    {20009, "Send file"},
    {20010, "Receive file"},
    {20012, "Job Name:"},
    {20013, "Data Destination"},
    {20014, "DC file"},
    {20015, "Terrapad"},
    {20016, "Close"},
    {20017, "Options..."},
    {20018, "Send..."},
    {20019, "Receive..."},
    {20021, "Options (Send File)"},
    {20022, "Units"},
    {20023, "Coordinate:"},
    {20024, "Angular:"},
    {20025, "Coordinate system definition file:"},
    {20026, "DC file version:"},
    {20027, "OK"},
    {20028, "Cancel"},
    {20029, "Browse..."},
    {20030, "Degrees"},
    {20031, "Gons"},
    {20032, "Mils"},
    {20033, "Meters"},
    {20034, "Feet"},
    {20035, "US Feet"},
    {20036, "Version 10.0"},
    {20037, "Version 7.7"},
    {20038, "Version 7.5"},
    {20039, "About %s"},
    {20040, "About"},
    {20041, "Version %s"},
    {20042, "Build %s"},
    {20043,
     "All rights reserved. Pelixo, Terrapad and Syncrona are trademarks of "
     "Corvane."},
    {20044, "No file formats specified - Formats.ini file required"},
};

// The longest text read from the text library.
constexpr int kMaxLibraryTextChars = 1023;

}  // namespace

std::string CountOf(long long count, const char* singular, const char* plural) {
  return std::to_string(count) + " " + (count == 1 ? singular : plural);
}

std::string OwnUserText(int id) {
  for (const OwnText& entry : kOwnTexts) {
    if (entry.id == id) return entry.text;
  }
  return std::string();
}

void TUserTexts::LoadTextLibrary(const std::string& program_dir) {
  platform::Expected<platform::DynamicLibrary> library =
      platform::DynamicLibrary::LoadResourcesOnly(program_dir + "Xelidor.DLL");
  if (library) library_ = std::move(*library);
}

std::string TUserTexts::GetUserText(int id) const {
  if (library_.loaded()) {
    std::string text =
        library_.LoadString(static_cast<unsigned>(id), kMaxLibraryTextChars);
    if (!text.empty()) return text;
  }
  return OwnUserText(id);
}

}  // namespace pelixo
