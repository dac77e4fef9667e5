#include "services/folder_walker.h"

#include "platform/hooks.h"
#include "textlib/folder_listing.h"
#include "textlib/keyword_match.h"
#include "textlib/path_helpers.h"

namespace rg_Tavelkin_MingLingJi {

QZU_IMPLEMENT_CLASS(rg_TavelkinBianLiZiMuLuLei, CQzuObject, "rg_Tavelkin_MingLingJi::rg_TavelkinBianLiZiMuLuLei")

rg_TavelkinBianLiZiMuLuLei::rg_TavelkinBianLiZiMuLuLei(const rg_TavelkinBianLiZiMuLuLei& other)
    : CQzuObject(other), stopFlag(other.stopFlag) {}

rg_TavelkinBianLiZiMuLuLei& rg_TavelkinBianLiZiMuLuLei::operator=(const rg_TavelkinBianLiZiMuLuLei& other) {
  CopyFrom(other);
  return *this;
}

bool rg_TavelkinBianLiZiMuLuLei::IsEqual(const CQzuObject& other) const {
  return SameHeader(other) && static_cast<const rg_TavelkinBianLiZiMuLuLei&>(other).stopFlag == stopFlag;
}

int rg_TavelkinBianLiZiMuLuLei::CopyFrom(const CQzuObject& source) {
  QZU_COPY_FROM_PREAMBLE(rg_TavelkinBianLiZiMuLuLei, source)
  stopFlag = src.stopFlag;
  return 1;
}

void rg_TavelkinBianLiZiMuLuLei::LoadFromStream(CQzuStream& stream) {
  int32_t flag;
  if (stream.ReadInt32(flag)) stopFlag = flag;
}

void rg_TavelkinBianLiZiMuLuLei::SaveToStream(CQzuStream& stream) const { stream.WriteInt32(stopFlag); }

int rg_TavelkinBianLiZiMuLuLei::WalkSubFolders(const CWString& folder, const CWString& filter, int includeSubFolders,
                                                const CWString& exclusions) {
  if (stopFlag != 0) return 0;
  // The sub-folders are listed before the event: a handler that writes into
  // this folder (a batch writing its results beside the inputs) must not
  // change what the walk enters next.
  rg_Ombrine_base::rg_WenBenShuZuLei subFolders;
  bool unreadable = false;
  if (includeSubFolders != 0) ListFolderEntries(folder, u"*", subFolders, 1, &unreadable);
  rg_Ombrine_base::rg_WenBenShuZuLei files;
  bool filesUnreadable = false;
  ListFolderEntries(folder, filter, files, 0, &filesUnreadable);
  const CWString folderText = StripTrailingBackslash(folder);
  if (unreadable || filesUnreadable) {
    ++skippedFolders;
    skippedFolderEvent.Raise(this, folderText);
  }
  FireFolderEvent(files, folderText);
  PumpPendingMessages();

  for (const CWString& sub : subFolders) {
    if (!exclusions.IsEmpty() && ContainsAnyKeyword(PathFileName(sub), exclusions, CWString(), u"|") == 1) continue;
    if (WalkSubFolders(sub, filter, includeSubFolders, exclusions) == 0) return 0;
  }
  return 1;
}

void rg_TavelkinBianLiZiMuLuLei::FireFolderEvent(const rg_Ombrine_base::rg_WenBenShuZuLei& files,
                                                 const CWString& folder) {
  folderEvent.Raise(this, files, folder);
}

}  // namespace rg_Tavelkin_MingLingJi
