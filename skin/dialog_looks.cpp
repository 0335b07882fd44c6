#include "skin/dialog_looks.h"

#include <algorithm>
#include <array>

namespace quorvel::skin {

namespace {

// Faces of the small dialogs' OK and Cancel buttons.
constexpr ButtonFaces kOk{1, 306, 307, "OK"};
constexpr ButtonFaces kCancel{2, 304, 305, "Cancel"};
// The widget engine notice's Download (OK) and Next (Cancel).
constexpr ButtonFaces kDownload{1, 280, 281, "Download"};
constexpr ButtonFaces kNext{2, 282, 283, "Next"};

const std::array<DialogLook, 9>& Looks() {
  static const std::array<DialogLook, 9> looks{{
      // The main window.
      {102, 267, Background::Stretched, false, false, true,
       {{1002, 284, 285, "Refresh"}, {1008, 286, 287, "Configuration"}, {1007, 294, 295, "Apply"},
        {1003, 296, 297, "Connect"}, {1004, 298, 299, "Disconnect"}, {1021, 300, 301, "About"},
        {1009, 302, 303, "Exit"}, {1022, 288, 289, "Language"}, {1025, 290, 291, "Add-on"},
        {1027, 263, 379, "Minimize"}, {1028, 262, 378, "Close"}},
       {}, {1000, 1001}, 0, 1032, "Widget"},
      {308, 268, Background::Stretched, true, true, false, {kOk}, {}, {}},                  // about box
      {134, 272, Background::Stretched, true, true, false, {kOk, kCancel}, {1016, 1017}, {}},  // login
      {139, 273, Background::Stretched, true, true, false, {kOk, kCancel}, {}, {}},         // language
      {229, 270, Background::Stretched, true, true, false, {kOk, kCancel}, {}, {}},         // drive letter in use
      {265, 274, Background::Stretched, true, true, false, {kOk, kCancel}, {}, {}},         // model chooser
      {264, 269, Background::Stretched, true, true, false, {kDownload, kNext}, {}, {}},     // widget notice
      {180, 273, Background::Unscaled, true, true, false, {}, {}, {}},                      // warning
      {141, 271, Background::Unscaled, true, true, false, {}, {}, {}, 1023},                // restart progress
  }};
  return looks;
}

}  // namespace

const DialogLook* FindDialogLook(int templateId) {
  const auto& looks = Looks();
  const auto found = std::find_if(looks.begin(), looks.end(),
                                  [templateId](const DialogLook& look) { return look.templateId == templateId; });
  return found != looks.end() ? &*found : nullptr;
}

TextColour DialogTextColour(const DialogLook& look, int control, bool backgroundShown) {
  const auto& plain = look.plainControls;
  if (!backgroundShown || std::find(plain.begin(), plain.end(), control) != plain.end()) return TextColour::Standard;
  return look.whiteTexts ? TextColour::White : TextColour::Black;
}

TextColour HeaderTextColour(bool stripShown) { return stripShown ? TextColour::Black : TextColour::Standard; }

}  // namespace quorvel::skin
