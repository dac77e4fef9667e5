#include "framework/colour_window.h"

namespace {

IColourWindow* g_colourWindow = nullptr;

}  // namespace

IColourWindow* ColourWindowPointer() { return g_colourWindow; }

IColourWindow* SetColourWindowPointer(IColourWindow* window) {
  IColourWindow* before = g_colourWindow;
  g_colourWindow = window;
  return before;
}
