#include "components/global_objects.h"

#include <QCoreApplication>

#include <cstdlib>
#include <memory>

namespace rg_Tavelkin_MingLingJi {

namespace {

// Members in the order of construction; destroyed in the reverse one.
struct GlobalObjectSet {
  rg_TavelkinWangZhiChongDingXiangLei urlRedirect;
  rg_TavelkinShuRuKuangLei inputBox;
  CWString aboutText;
  BannerTextSet bannerTexts;
};

std::unique_ptr<GlobalObjectSet>& TheSet() {
  static std::unique_ptr<GlobalObjectSet> set;
  return set;
}

GlobalObjectSet& Set() {
  CreateGlobalObjects();
  return *TheSet();
}

}  // namespace

void CreateGlobalObjects() {
  if (TheSet()) return;
  TheSet() = std::make_unique<GlobalObjectSet>();
  // Once per process: the routine finds whatever set exists at the end.
  static const bool registered = [] {
    if (QCoreApplication::instance()) qAddPostRoutine(&DestroyGlobalObjects);
    else std::atexit(&DestroyGlobalObjects);
    return true;
  }();
  (void)registered;
}

void DestroyGlobalObjects() { TheSet().reset(); }

bool GlobalObjectsExist() { return TheSet() != nullptr; }

rg_TavelkinWangZhiChongDingXiangLei& UrlRedirectGlobal() { return Set().urlRedirect; }
rg_TavelkinShuRuKuangLei& InputBoxGlobal() { return Set().inputBox; }
CWString& AboutText() { return Set().aboutText; }
BannerTextSet& BannerTexts() { return Set().bannerTexts; }

int ShowInputBox(const CWString& content, const CWString& prompt, const CWString& title, CWString* result) {
  return InputBoxGlobal().ShowInputBox(content, prompt, title, result);
}

}  // namespace rg_Tavelkin_MingLingJi
