#pragma once
// rg_TavelkinBianLiZiMuLuLei: walks a folder and, on request, its
// sub-folders, depth-first with a folder before its sub-folders, and hands
// each visited folder's matching files to the folder event. Sub-folders whose
// names contain an exclusion keyword are not entered (the batch keeps out of
// its own result and backup folders so). Folder links are not followed, so a
// link loop cannot trap a walk.
//
// The walk runs on the UI thread and processes pending window messages after
// every folder, so the window stays responsive and its stop button can set
// the stop flag in the middle of a walk.
#include <cstdint>

#include "common/arrays.h"
#include "common/event.h"
#include "common/object.h"

namespace rg_Tavelkin_MingLingJi {

class rg_TavelkinBianLiZiMuLuLei : public CQzuObject {
  QZU_DECLARE_CLASS(rg_TavelkinBianLiZiMuLuLei)
 public:
  // handler(receiver, walker, user data, full paths of the folder's matching
  // files, the folder without a trailing separator); its result is ignored.
  using FolderEvent = CQzuEventSlot<const rg_Ombrine_base::rg_WenBenShuZuLei&, const CWString&>;
  // handler(receiver, walker, user data, the folder without a trailing
  // separator); its result is ignored.
  using SkippedFolderEvent = CQzuEventSlot<const CWString&>;

  rg_TavelkinBianLiZiMuLuLei() = default;
  // A copy carries the stop flag; its folder event is unconnected.
  rg_TavelkinBianLiZiMuLuLei(const rg_TavelkinBianLiZiMuLuLei& other);
  rg_TavelkinBianLiZiMuLuLei& operator=(const rg_TavelkinBianLiZiMuLuLei& other);
  ~rg_TavelkinBianLiZiMuLuLei() override = default;

  bool IsEqual(const CQzuObject& other) const override;
  // Copies the stop flag; the folder event stays as it is.
  int CopyFrom(const CQzuObject& source) override;
  void Reset() override { stopFlag = 0; }
  void LoadFromStream(CQzuStream& stream) override;
  void SaveToStream(CQzuStream& stream) const override;

  // Walks `folder`: one folder event for it with the files matching `filter`
  // ("|"-separated name patterns such as "*.htm|*.html|*.txt"), then, when
  // `includeSubFolders` is not 0, the same for every sub-folder in listing
  // order whose own name contains none of the "|"-separated `exclusions`
  // (ASCII letters compared without regard to case; the root is never
  // tested). Returns 1 when the walk ran to its end, 0 when the stop flag
  // ended it. A folder that cannot be listed (no right to read it, gone, a
  // path past the system's length limit) still gets its folder event, with
  // no files, and is reported: `skippedFolders` counts it and the skipped
  // folder event names it, before its folder event.
  int WalkSubFolders(const CWString& folder, const CWString& filter, int includeSubFolders,
                     const CWString& exclusions);
  // Raises the folder event directly.
  void FireFolderEvent(const rg_Ombrine_base::rg_WenBenShuZuLei& files, const CWString& folder);

  // When not 0, a walk returns 0 at once at every level. The walker never
  // changes it: its owner sets it to end a running walk and clears it.
  int32_t stopFlag = 0;
  // Folders that could not be listed; the walker only adds to it, its owner
  // clears it (a batch before it starts, to say how many at its end). Not
  // part of the copy, the comparison or the stream form.
  int32_t skippedFolders = 0;
  FolderEvent folderEvent;
  SkippedFolderEvent skippedFolderEvent;
};

}  // namespace rg_Tavelkin_MingLingJi
