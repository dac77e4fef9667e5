#pragma once
// rg_TavelkinPinPaiHengFuLei1, the banner strip across the top of the main
// window: three picture items with a link under each (help, contact, home
// page), a wide picture item that glides one pixel per 20 ms tick back and
// forth between a hidden left marker and a right bound, and a separator with
// a static edge along the bottom.
//
// Clicks open the configured addresses through OpenAddress (which tells the
// user when nothing could open them), show the help text, or raise the
// strip's events as handler(receiver, strip, user data, arguments):
//   RightPressEvent       right press on any link; right click of the contact item
//   ItemEvent (index)     left press on extra link i; click of extra item i
//   HelpEvent             left press on the help link; click of the help item;
//                         a non-zero result skips the built-in help box
//   BackgroundPressEvent  left press on the strip itself (not on a child)
// A right click on the gliding item pauses the glide, another resumes it in
// the direction it had. The glide direction is one flag for the process.
//
// Items are owner-drawn buttons showing BMP pictures RCDATA 530-549, five
// sizes per item, one per DPI step (BannerPictureStep). The owner keeps the
// strip as wide as its form and may name a control whose left edge bounds
// the glide (BannerReference). The glide timer ticks only while the strip can
// be seen: it is held while the strip or its window is hidden or minimised.
// The gliding item is stacked above the strip's other children (its lane
// overlaps none of them), which keeps each step cheap for Qt.
// UI thread only; the redraws of the items and the help box process pending
// window messages (the glide tick does not).
#include <cstdint>

#include "common/event.h"
#include "components/owner_drawn_button.h"
#include "framework/hyperlink_box.h"
#include "framework/label.h"
#include "framework/painter.h"
#include "framework/timer_control.h"
#include "framework/win_container.h"

namespace rg_Tavelkin_GongNengChuangKou {

// Configured values: the product's page (until the owner gives its own with
// SetBannerHomeLink), the caption of the contact link and where it leads.
// The product has no page and no contact address on the web: both are empty,
// and an empty address opens the README shipped beside the program
// (BannerLinkAddress), never an address that does not exist.
inline constexpr char16_t kBannerHomeAddress[] = u"";
inline constexpr char16_t kBannerContactText[] = u"联系作者";
inline constexpr char16_t kBannerChatAddress[] = u"";
// The file the build copies beside the executable.
inline constexpr char16_t kBannerReadmeName[] = u"README.md";
// Given to SetBannerHomeLink: hides the home link and the home item.
inline constexpr char16_t kBannerHideHome[] = u"-1";

inline constexpr char16_t kBannerHelpCaption[] = u"疑点说明";
inline constexpr char16_t kBannerHomeCaption[] = u"软件主页";
inline constexpr char16_t kBannerLinkFont[] = u"微软雅黑, 12, 0, 0, 0, 0, 0";

// Ids of the children; extra items and links all take kBannerExtraId.
inline constexpr int kBannerHomeLinkId = 101;
inline constexpr int kBannerHelpLinkId = 102;
inline constexpr int kBannerContactLinkId = 103;
inline constexpr int kBannerTimerId = 104;
inline constexpr int kBannerMarkerId = 105;
inline constexpr int kBannerGlideItemId = 106;
inline constexpr int kBannerHomeItemId = 107;
inline constexpr int kBannerContactItemId = 108;
inline constexpr int kBannerHelpItemId = 109;
inline constexpr int kBannerSeparatorId = 110;
inline constexpr int kBannerExtraId = 0xFFFF;

inline constexpr int kBannerGlideMilliseconds = 20;
inline constexpr int kBannerExtraCount = 4;
// Pictures: five per item, items in this order, from RCDATA 530.
inline constexpr int32_t kBannerFirstPicture = 530;
inline constexpr int kBannerPictureSteps = 5;
enum BannerPictureItem : int { kPicturesGlide = 0, kPicturesHelp = 1, kPicturesHome = 2, kPicturesContact = 3 };
inline constexpr int kBannerPictureCount = 4 * kBannerPictureSteps;

enum BannerGlideDirection : int32_t { kGlideRightwards = 0, kGlideLeftwards = 1 };

// What a link configured with `address` opens: the address itself, or for
// an empty one the README in the executable's folder.
CWString BannerLinkAddress(const CWString& address);

// The DPI step whose pictures a factor takes: 0 up to 1.0, 1 up to 1.25,
// 2 up to 1.5, 3 up to 1.75, 4 above.
int BannerPictureStep(double factor);

class rg_TavelkinPinPaiHengFuLei1 : public rg_Ombrine_MFCJieMian_base::rg_ZuJianBuJuQi {
  QZU_DECLARE_CLASS(rg_TavelkinPinPaiHengFuLei1)

 public:
  using Button = rg_TavelkinMingLingJi_ChuangKouZuJian::rg_TavelkinAnNiu1;
  using Link = rg_Ombrine_MFCJieMian_KuoZhanZuJian::rg_ChaoJiLianJieKuang;

  // ConstructBanner: children without windows, a white background, the
  // pictures for the current DPI factor.
  rg_TavelkinPinPaiHengFuLei1();
  // DestroyBanner: no handler starts once the destructor has begun.
  ~rg_TavelkinPinPaiHengFuLei1() override;

  // Only the object itself.
  bool IsEqual(const CQzuObject& other) const override;
  // CopyBannerValues: every member but the event slots and the receiver;
  // the children share their windows.
  int CopyFrom(const CQzuObject& source) override;
  // The base's text member, the links, timer, marker, items and separator,
  // BannerReference (written as the id of the control, 0 for none; a load
  // reads it and keeps the reference it has), reserved, the picture ids, the
  // right-items width, the extra items and links, the extra item flags.
  void LoadFromStream(CQzuStream& stream) override;
  void SaveToStream(CQzuStream& stream) const override;
  // 1086 x 91 logical pixels, scaled and rounded.
  int DefaultWidth() const override;
  int DefaultHeight() const override;

  // The home link's address (BannerLinkAddress of `text`). kBannerHideHome
  // hides the home link and item;
  // the left bound of the glide follows the right edge of the home item, or
  // of the contact item while the home item is hidden, plus 20 pixels.
  void SetBannerHomeLink(const CWString& text);
  // Gives the four items their pictures for the current DPI factor.
  void PickBannerBitmaps();

  // The handlers, public so that an owner (or a test standing in for the
  // timer) can drive them; each returns 0. Senders that are not the expected
  // child are ignored.
  int ScrollBannerMarquee(CQzuObject* sender);
  int ToggleBannerScroll(CQzuObject* sender);
  int DispatchBannerClick(CQzuObject* sender);
  int HandleBannerLinkClick(CQzuObject* sender);
  int SetupBannerAfterCreate();
  int FitBannerWidth();
  void FireBannerRightPress();
  void FireBannerItemEvent(int index);
  void FireBannerBackgroundPress();

  // The process-wide glide direction, shared by every strip.
  static int32_t GetGlideDirection();
  static void SetGlideDirection(int32_t direction);

  Link& HomeLink() { return m_homeLink; }
  Link& HelpLink() { return m_helpLink; }
  Link& ContactLink() { return m_contactLink; }
  rg_Ombrine_MFCJieMian_base::rg_timer& GlideTimer() { return m_glideTimer; }
  rg_Ombrine_MFCJieMian_base::rg_label8& LeftMarker() { return m_leftMarker; }
  Button& GlideItem() { return m_glideItem; }
  Button& HomeItem() { return m_homeItem; }
  Button& ContactItem() { return m_contactItem; }
  Button& HelpItem() { return m_helpItem; }
  rg_Ombrine_MFCJieMian_base::rg_painter& Separator() { return m_separator; }
  Button& ExtraItem(int i) { return m_extraItems[i]; }
  Link& ExtraLink(int i) { return m_extraLinks[i]; }

  // ---- members, in declaration order ----
  // The control whose left edge bounds the glide on the right; none: the
  // strip's client width. Not owned.
  CQzuWinControl* BannerReference = nullptr;
  int32_t reserved = 0;         // copied and streamed only
  int32_t rightItemsWidth = 0;  // client width less the left edge of the last extra item made

 private:
  Link m_homeLink;
  Link m_helpLink;
  Link m_contactLink;
  rg_Ombrine_MFCJieMian_base::rg_timer m_glideTimer;
  rg_Ombrine_MFCJieMian_base::rg_label8 m_leftMarker;
  Button m_glideItem;
  Button m_homeItem;
  Button m_contactItem;
  Button m_helpItem;
  rg_Ombrine_MFCJieMian_base::rg_painter m_separator;

 public:
  CQzuEventSlot<> RightPressEvent;
  CQzuEventSlot<int> ItemEvent;  // extra item index 0 to 3
  CQzuEventSlot<> HelpEvent;     // non-zero: no help box
  CQzuEventSlot<> BackgroundPressEvent;
  int32_t pictureIds[kBannerPictureCount];

 private:
  Button m_extraItems[kBannerExtraCount];
  Link m_extraLinks[kBannerExtraCount];

 public:
  // Non-zero: SetupBannerAfterCreate makes extra item i and its link.
  int32_t extraItemFlags[kBannerExtraCount] = {0, 0, 0, 0};

 protected:
  void CreateChildren() override;
  // Holds the glide timer while the strip is hidden, also when its window is
  // minimised (a spontaneous hide), and lets it go on when it shows again.
  bool HandleWindowEvent(QObject* watched, QEvent* event) override;

 private:
  void SetupLink(Link& link, const CWString& caption, COLORREF normal, COLORREF hover);
  void SetupItem(Button& item);
  void ConnectLink(Link& link);
  void ConnectItem(Button& item);
  // The index of the extra item or link `sender`, or -1.
  int ExtraIndexOf(const CQzuObject* sender) const;
  // Stacks the gliding item above every other child of the strip.
  void KeepGlideItemOnTop();

  CQzuReceiverRef m_receiver;
};

}  // namespace rg_Tavelkin_GongNengChuangKou
