#include "pelixo/core/tic_points.h"

#include <functional>

#include "pelixo/core/dc_reader_numbers.h"
#include "pelixo/core/text.h"
#include "platform/file_content.h"
#include "platform/memory.h"

namespace pelixo {

namespace {

// The text up to the next comma, which is removed with it; an item that no
// comma follows reads as empty.
std::string_view TakeItem(std::string_view* rest) {
  // Items are short: a plain loop finds the comma sooner than a library
  // search would get going.
  size_t comma = 0;
  while (comma < rest->size() && (*rest)[comma] != ',') ++comma;
  if (comma == rest->size()) {
    *rest = std::string_view();
    return std::string_view();
  }
  std::string_view item = rest->substr(0, comma);
  rest->remove_prefix(comma + 1);
  return item;
}

void AssignWithoutQuotes(std::string_view item, std::string* text) {
  // Mostly the quotes stand only around the item: what is between them.
  if (item.size() >= 2 && item.front() == '"' && item.back() == '"') {
    item = item.substr(1, item.size() - 2);
  }
  if (item.find('"') == std::string_view::npos) {
    text->assign(item);
    return;
  }
  text->clear();
  for (char c : item) {
    if (c != '"') text->push_back(c);
  }
}

double Coordinate(std::string_view item) {
  double value = kNullReal;
  if (!ParseReal(item, &value, " \t")) return kNullReal;
  return value;
}

}  // namespace

bool TTICPointhandler::ParsePointLine(std::string_view line, PointRecord* record) {
  int passed_over;
  if (line.starts_with("NEZ")) {
    passed_over = 0;
  } else if (line.starts_with("STN") || line.starts_with("PLR STN")) {
    passed_over = 1;
  } else if (line.starts_with("BASE") || line.starts_with("RTK")) {
    passed_over = 3;
  } else {
    return false;
  }
  std::string_view rest = line;
  TakeItem(&rest);  // the record type
  AssignWithoutQuotes(TakeItem(&rest), &record->Name);
  AssignWithoutQuotes(TakeItem(&rest), &record->Code);
  for (int i = 0; i < passed_over; ++i) TakeItem(&rest);
  record->North = Coordinate(TakeItem(&rest));
  record->East = Coordinate(TakeItem(&rest));
  record->Height = Coordinate(TakeItem(&rest));
  return true;
}

void TTICPointhandler::LoadFromText(std::string_view text) {
  // A large job's points without regrowing the list: at most one a line.
  platform::ReserveLarge(points_, points_.size() + CountLines(text));
  LineReader lines(text);
  PointRecord record;
  for (std::string_view line; lines.Next(&line);) {
    if (ParsePointLine(line, &record)) points_.push_back(std::move(record));
  }
  IndexNames();
}

void TTICPointhandler::IndexNames() {
  size_t slots = 16;
  while (slots < 2 * points_.size()) slots *= 2;
  first_index_.assign(slots, 0);
  const size_t mask = slots - 1;
  // The first point of a name wins; later ones only stay in the list.
  for (size_t i = 0; i < points_.size(); ++i) {
    const std::string& name = points_[i].Name;
    points_[i].FirstOfName = false;
    for (size_t s = std::hash<std::string_view>()(name) & mask;; s = (s + 1) & mask) {
      uint32_t& slot = first_index_[s];
      if (slot == 0) {
        slot = static_cast<uint32_t>(i + 1);
        points_[i].FirstOfName = true;
        break;
      }
      if (points_[slot - 1].Name == name) break;
    }
  }
}

platform::Status TTICPointhandler::LoadFromFile(const std::string& path) {
  platform::Expected<platform::FileContent> text = platform::FileContent::Read(path);
  if (!text) return platform::Error("Cannot open file " + path);
  LoadFromText(text->bytes());
  return platform::Status::Ok();
}

const PointRecord* TTICPointhandler::Find(std::string_view name) const {
  if (first_index_.empty()) return nullptr;
  const PointRecord* found = nullptr;
  if (next_guess_ < points_.size() && points_[next_guess_].FirstOfName &&
      points_[next_guess_].Name == name) {
    found = &points_[next_guess_];
  }
  const size_t mask = first_index_.size() - 1;
  for (size_t s = std::hash<std::string_view>()(name) & mask;
       found == nullptr && first_index_[s] != 0; s = (s + 1) & mask) {
    const PointRecord& candidate = points_[first_index_[s] - 1];
    if (candidate.Name == name) {
      found = &candidate;
      break;
    }
  }
  if (found == nullptr) return nullptr;
  next_guess_ = static_cast<size_t>(found - points_.data()) + 1;
  return found;
}

bool TTICPointhandler::FindPoint(std::string_view name, std::string* code, double* north,
                                 double* east, double* height) const {
  const PointRecord* point = Find(name);
  if (point == nullptr) return false;
  *code = point->Code;
  *north = point->North;
  *east = point->East;
  *height = point->Height;
  return true;
}

}  // namespace pelixo
