#include "services/codepage_table.h"

#include <array>

#include "services/service_state.h"

namespace quorvel {

namespace {

constexpr PayloadFile k950Marker[] = {{"codepage.950", 151}};
constexpr PayloadFile k950Old[] = {{"nls_cp950.o", 153}, {"nls_big5.o", 155}};
constexpr PayloadFile k950New[] = {{"nls_cp950.ko", 174}, {"nls_cp950_12.ko", 192}};
constexpr PayloadFile k950Maps[] = {{"unicode_map.950", 156}};

constexpr PayloadFile k936Marker[] = {{"codepage.936", 157}};
constexpr PayloadFile k936Old[] = {{"nls_cp936.o", 158}, {"nls_gb2312.o", 159}};
constexpr PayloadFile k936New[] = {{"nls_cp936.ko", 175}, {"nls_cp936_12.ko", 190}};
constexpr PayloadFile k936Maps[] = {{"unicode_map.936", 160}};

constexpr PayloadFile k850Marker[] = {{"codepage.850", 143}};
constexpr PayloadFile k850Old[] = {{"nls_cp850.o", 145}};
constexpr PayloadFile k850New[] = {{"nls_cp850.ko", 179}, {"nls_cp850_12.ko", 187}};
constexpr PayloadFile k850Maps[] = {{"unicode_map.850", 148}};

constexpr PayloadFile k949Marker[] = {{"codepage.949", 165}};
constexpr PayloadFile k949Old[] = {{"nls_cp949.o", 166}, {"nls_euc-kr.o", 167}};
constexpr PayloadFile k949New[] = {{"nls_cp949.ko", 176}, {"nls_cp949_12.ko", 191}};
constexpr PayloadFile k949Maps[] = {{"unicode_map.949", 168}};

constexpr PayloadFile k866Marker[] = {{"codepage.866", 169}};
constexpr PayloadFile k866Old[] = {{"nls_cp866.o", 170}, {"nls_koi8-r.o", 185}};
constexpr PayloadFile k866New[] = {
    {"nls_cp866.ko", 177}, {"nls_koi8-r.ko", 183}, {"nls_cp866_12.ko", 188}, {"nls_koi8-r_12.ko", 194}};
constexpr PayloadFile k866Maps[] = {{"unicode_map.866", 171}, {"unicode_map.KOI8-R", 184}};

constexpr PayloadFile k932Marker[] = {{"codepage.932", 161}};
constexpr PayloadFile k932Old[] = {{"nls_cp932.o", 162}, {"nls_euc-jp.o", 163}, {"nls_sjis.o", 172}};
constexpr PayloadFile k932New[] = {
    {"nls_cp932.ko", 173}, {"nls_euc-jp.ko", 178}, {"nls_cp932_12.ko", 189}, {"nls_euc-jp_12.ko", 193}};
constexpr PayloadFile k932Maps[] = {{"unicode_map.932", 164}};

// Rows 3 to 5 carry no files: the box supports them itself, if its firmware does.
constexpr std::array<CodepageRow, kCodepageRows> kTable = {{
    {"Traditional Chinese", 950, k950Marker, k950Old, k950New, k950Maps},
    {"Simplified Chinese", 936, k936Marker, k936Old, k936New, k936Maps},
    {"Western European", 850, k850Marker, k850Old, k850New, k850Maps},
    {"Northern European", 865, {}, {}, {}, {}},
    {"Central European", 852, {}, {}, {}, {}},
    {"Turkish", 857, {}, {}, {}, {}},
    {"Korean Hangul", 949, k949Marker, k949Old, k949New, k949Maps},
    {"Cyrillic", 866, k866Marker, k866Old, k866New, k866Maps},
    {"Japanese SJIS", 932, k932Marker, k932Old, k932New, k932Maps},
}};

}  // namespace

std::span<const CodepageRow> CodepageTable() { return kTable; }

std::vector<PayloadFile> CodepageFiles(int row, int shareLayout) {
  if (row < 0 || row >= kCodepageRows) return {};
  const CodepageRow& entry = kTable[static_cast<std::size_t>(row)];
  std::vector<PayloadFile> files(entry.marker.begin(), entry.marker.end());
  const auto modules = shareLayout == kNewShareLayout ? entry.newModules : entry.oldModules;
  files.insert(files.end(), modules.begin(), modules.end());
  files.insert(files.end(), entry.maps.begin(), entry.maps.end());
  return files;
}

}  // namespace quorvel
