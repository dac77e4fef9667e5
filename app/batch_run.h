#pragma once
// BatchRun: the main window's record of its batch. Whether a batch runs, on
// which button and in which direction, is kept here and never read back from
// a caption: a button may show no caption at all (a function with no decode
// side), and the direction of the window changes with every click while a
// batch goes on. UI thread only.
#include <cstdint>

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
  // Every file of the batch is converted in this direction.
  ConversionDirection direction = ConversionDirection::Encode;
  // Files handed to the conversion core that it did not convert.
  int32_t failedCount = 0;
  // The window was asked to close during the batch: it closes once the
  // batch has ended, with no summary.
  bool closeRequested = false;
};

}  // namespace rg_Ombrine_app
