#include "framework/user_app.h"

QZU_IMPLEMENT_ABSTRACT_CLASS(CQzuUserApp, CQzuObject, "CQzuUserApp")

namespace {
CQzuUserApp* g_running = nullptr;
}  // namespace

CQzuUserApp::CQzuUserApp() {
  if (!g_running) g_running = this;
}

CQzuUserApp::CQzuUserApp(const CQzuUserApp& other) : CQzuObject(other) {
  if (!g_running) g_running = this;
}

CQzuUserApp::~CQzuUserApp() {
  if (g_running == this) g_running = nullptr;
}

int CQzuUserApp::InitInstance() { return StartApplication() != 0 ? 0 : 1; }

CQzuUserApp* RunningUserApp() { return g_running; }
