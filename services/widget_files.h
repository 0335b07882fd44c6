// Which widget file the shell is asked to open for a box: by the box's model name, or by the answer of
// the model chooser when the model has no widget of its own. The names are relative: they resolve
// against the process's current folder, where the widget files are expected beside the program.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace quorvel {

// The model chooser's answer when the user cancelled or chose no model.
inline constexpr std::int32_t kNoModelChosen = -1;

// The widget file of a model name (exact, case-sensitive); nothing for a model outside the table.
std::optional<std::string_view> WidgetFileForModel(std::string_view modelName);

// The widget file of a model chooser answer (0, 1, 2 for its radio buttons in order); nothing for
// kNoModelChosen or any other value.
std::optional<std::string_view> WidgetFileForChooserAnswer(std::int32_t answer);

}  // namespace quorvel
