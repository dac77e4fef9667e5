#pragma once
// The envelope dialog: a modal dialog that hosts a form and runs a nested
// loop until the form posts it the private message 0xA001 with wParam 3 (or
// the user closes it and the form's close query allows that).
#include <QDialog>

#include "framework/win_form.h"

class CQzuEnvelopeDialog {
 public:
  // Creates the form's window inside a new envelope owned by `owner`, runs
  // it and destroys the form's window afterwards. Returns the end code (3
  // after the end message), 0 when the dialog was closed otherwise or the
  // form's window could not be created.
  static int RunModal(CQzuWinForm& form, CQzuWinControl* owner, int width, int height, int id);
  // Posts the end message to an envelope; false without one.
  static bool PostEnd(QDialog* envelope);
};
