// How each of the program's dialogs looks: its background picture and how it is laid on, the colour of its
// static texts, and the picture faces of its buttons. Bitmaps and dialogs are named by resource number.
#pragma once

#include <vector>

namespace quorvel::skin {

enum class Background {
  Stretched,  // the whole picture stretched over the client area
  Unscaled,   // the picture copied at its own size to the top-left corner
};

// A picture button: its normal face, the face shown while it is pressed or the mouse is over it, and the
// label that the faces show, which the button carries as its window text for screen readers (the faces
// are drawn without it).
struct ButtonFaces {
  int control;
  int normal;
  int active;
  const char* label;
};

struct DialogLook {
  int templateId;
  int backgroundBitmap;
  Background background;
  bool whiteTexts;            // static texts, radio buttons and check boxes: white (else black)
  bool activeFaceWhenDisabled;  // a disabled button shows its second face (else its normal face)
  bool mainFrame;             // captionless, rounded, dragged by its background, minimised to an icon
  std::vector<ButtonFaces> buttons;
  std::vector<int> plainControls;  // controls that keep the standard colours whatever their kind
  std::vector<int> lists;          // report lists with the painted rows, header and scroll bars
  int progressBar = 0;             // the flat progress bar's control (0: none)
  int facelessButton = 0;          // a picture button without faces (0: none)
  const char* facelessLabel = "";  // its label, which it shows as its caption
};

// The look of the dialog made from this template; null for a template without one.
const DialogLook* FindDialogLook(int templateId);

// The colours of text drawn on a painted surface: the look's own are chosen for its picture, so they
// hold only where the picture is shown. A surface without its picture (not embedded, not decoded) is
// drawn in the system's standard colours, on which the look's white or black text could not be read.
enum class TextColour {
  Standard,  // the system's colours for the control (its ground and its text)
  White,     // white text on the picture
  Black,     // black text on the picture
};

// A static text, check box or radio button `control` of a dialog with this look, whose background
// picture is or is not shown.
TextColour DialogTextColour(const DialogLook& look, int control, bool backgroundShown);

// A list header's items: black on its strip picture, standard without it.
TextColour HeaderTextColour(bool stripShown);

}  // namespace quorvel::skin
