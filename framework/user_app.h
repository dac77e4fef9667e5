#pragma once
// CQzuUserApp: the root of a program object, the one object a program is
// started as. Constructing one registers it as the process's running user
// application, unless one is registered already (a clone or a fresh copy made
// to reset the running one does not take its place); destroying the
// registered one clears the registration. The application runner
// (RunUserApplication, framework/application_startup.h) creates the program
// object from its class information, finds it registered and runs it.
// UI thread only.
#include "common/object.h"

class CQzuUserApp : public CQzuObject {
  QZU_DECLARE_CLASS(CQzuUserApp)
 public:
  CQzuUserApp();
  CQzuUserApp(const CQzuUserApp& other);
  CQzuUserApp& operator=(const CQzuUserApp& other) = default;
  ~CQzuUserApp() override;

  // The start method: prepares what the program needs and creates its main
  // window; 0 on failure.
  virtual int StartApplication() = 0;
  // Runs before the message loop: 0 when the loop may run, otherwise the
  // process's exit code. The default runs the start method (1 when it failed).
  virtual int InitInstance();
};

// The registered program object; null when none lives.
CQzuUserApp* RunningUserApp();
