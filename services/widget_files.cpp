#include "services/widget_files.h"

#include <array>
#include <utility>

namespace quorvel {

namespace {

constexpr std::string_view kVrx511Widget = "NORVANEEu_VRX511_Widget.widget";
constexpr std::string_view kVrx513Widget = "NORVANEEu_VRX513_Widget.widget";
constexpr std::string_view kVrx533Widget = "NORVANEEu_VRX533_Widget.widget";
constexpr std::string_view kVrx515Widget = "NORVANEEu_VRX515_Widget";  // this one comes without extension

// Compared in this order; the first equal name wins.
constexpr std::array<std::pair<std::string_view, std::string_view>, 4> kModelWidgets = {{
    {"VRX-513", kVrx513Widget},
    {"VRX-533", kVrx533Widget},
    {"VRX-511", kVrx511Widget},
    {"VRX-515", kVrx515Widget},
}};

// The chooser's radio buttons in order: "VRX-511", "VRX-513", "VRX-533".
constexpr std::array<std::string_view, 3> kChooserWidgets = {kVrx511Widget, kVrx513Widget, kVrx533Widget};

}  // namespace

std::optional<std::string_view> WidgetFileForModel(std::string_view modelName) {
  for (const auto& [model, file] : kModelWidgets) {
    if (model == modelName) return file;
  }
  return std::nullopt;
}

std::optional<std::string_view> WidgetFileForChooserAnswer(std::int32_t answer) {
  if (answer < 0 || static_cast<std::size_t>(answer) >= kChooserWidgets.size()) return std::nullopt;
  return kChooserWidgets[static_cast<std::size_t>(answer)];
}

}  // namespace quorvel
