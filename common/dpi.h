#pragma once
// The process-wide DPI factor, max(1, dpi / 96). Positions and sizes are
// written in logical pixels at 96 DPI and scaled with it.

double GetDpiFactor();
// Sets the factor; values below 1 become 1. Start-up sets it once; tests set
// 1.25, 1.5 or 2.
void SetDpiFactor(double factor);
// The factor for a screen of `dpi` dots per inch.
double DpiFactorFor(double dpi);

// value x factor + 0.5, truncated: sizes and positions of controls.
int ScaleByDpiFactor(int value);
// value x factor, truncated toward zero: lengths inside owner-drawn drawing.
int ScaleForDpi(int value);
