#pragma once
// BatchRun: the main window's record of its batch. Whether a batch runs, on
// which button, in which direction and with which function, is kept here and
// never read back from a caption: a button may show no caption at all (a
// function with no decode side), and the direction and the function of the
// window change with every click while a batch goes on. UI thread only.
#include <cstdint>

#include "app/batch_texts.h"
#include "app/conversion_options.h"

namespace rg_Ombrine_app {

struct BatchRun {
  enum class Phase {
    Idle,
    Running,   // from the start of RunBatch until its summary
    Stopping,  // a stop was asked for: the batch ends after its current file
  };

  bool Active() const { return phase != Phase::Idle; }

  Phase phase = Phase::Idle;
  // The batch button the batch runs on; only compared, never dereferenced
  // once the batch has ended.
  const void* button = nullptr;
  // Every file of the batch is converted in this direction and with this
  // function, whatever is clicked meanwhile; the options that tune the
  // function are read for every file.
  ConversionDirection direction = ConversionDirection::Encode;
  ConversionFunction function = ConversionFunction::None;
  // The files that failed, were skipped or lost characters.
  BatchTally tally;
  // The window was asked to close during the batch: it closes once the
  // batch has ended, with no summary.
  bool closeRequested = false;
};

}  // namespace rg_Ombrine_app
