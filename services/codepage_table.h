// The nine codepages that a box can be given, in the order of the codepage list, with the payload files
// that make up each one's support set on the box.
#pragma once

#include <span>
#include <string_view>
#include <vector>

namespace quorvel {

struct PayloadFile {
  std::string_view name;  // the file's name on the box
  int id;                 // the embedded payload ("Codepage" type)
};

struct CodepageRow {
  std::string_view listText;
  int codepage;
  std::span<const PayloadFile> marker;      // none or one
  std::span<const PayloadFile> oldModules;  // for the "HDD_a" layout
  std::span<const PayloadFile> newModules;  // for the "HDD_1" layout
  std::span<const PayloadFile> maps;
};

inline constexpr int kCodepageRows = 9;

std::span<const CodepageRow> CodepageTable();

// The files of a row in the order they are written: the marker, the modules of the layout, the maps.
// Nothing for a row out of range.
std::vector<PayloadFile> CodepageFiles(int row, int shareLayout);

}  // namespace quorvel
