#include "components/banner_strip.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

#include "common/dpi.h"
#include "components/global_objects.h"
#include "framework/qt_text.h"
#include "textlib/open_address.h"

namespace rg_Tavelkin_GongNengChuangKou {

using rg_Ombrine_MFCJieMian_base::rg_ZuJianBuJuQi;

QZU_IMPLEMENT_CLASS(rg_TavelkinPinPaiHengFuLei1, rg_ZuJianBuJuQi,
                    "rg_Tavelkin_GongNengChuangKou::rg_TavelkinPinPaiHengFuLei1")

namespace {

constexpr COLORREF kWhite = 0xFFFFFF;
constexpr COLORREF kHomeLinkColour = 0xFF8800;
constexpr COLORREF kHomeLinkHover = 0x8050FF;
constexpr COLORREF kHelpLinkColour = 0x00A800;
constexpr COLORREF kHelpLinkHover = 0xFF2FA7;
constexpr int kItemHoverBrightness = 30;
// Pixels between the right edge of the last item shown and the glide's left
// bound (not scaled).
constexpr int kMarkerGap = 20;

// Starts rightwards; every strip of the process reads and turns the one flag.
int32_t g_glideDirection = kGlideRightwards;

rg_TavelkinPinPaiHengFuLei1* Self(CQzuObject* receiver) { return static_cast<rg_TavelkinPinPaiHengFuLei1*>(receiver); }

intptr_t Created(CQzuObject* r, CQzuObject*, intptr_t) { return Self(r)->SetupBannerAfterCreate(); }
intptr_t Resized(CQzuObject* r, CQzuObject*, intptr_t, int, int) { return Self(r)->FitBannerWidth(); }
intptr_t Tick(CQzuObject* r, CQzuObject* s, intptr_t) { return Self(r)->ScrollBannerMarquee(s); }
intptr_t ItemRightClick(CQzuObject* r, CQzuObject* s, intptr_t) { return Self(r)->ToggleBannerScroll(s); }
intptr_t ItemClick(CQzuObject* r, CQzuObject* s, intptr_t) { return Self(r)->DispatchBannerClick(s); }
intptr_t LinkLeftDown(CQzuObject* r, CQzuObject* s, intptr_t, int, int, int) {
  return Self(r)->HandleBannerLinkClick(s);
}
intptr_t LinkRightDown(CQzuObject* r, CQzuObject*, intptr_t, int, int, int) {
  Self(r)->FireBannerRightPress();
  return 0;
}
intptr_t BackgroundDown(CQzuObject* r, CQzuObject*, intptr_t, int, int, int) {
  Self(r)->FireBannerBackgroundPress();
  return 0;
}

// trunc(value x factor): the lengths the strip computes after creation.
int Trunc(int value) { return ScaleForDpi(value); }

void OpenIfAny(const CWString& address) {
  if (!address.IsEmpty()) OpenAddress(address, CWString());
}

}  // namespace

CWString BannerLinkAddress(const CWString& address) {
  if (!address.IsEmpty()) return address;
  return FromQString(QCoreApplication::applicationDirPath()) + u"/" + kBannerReadmeName;
}

int BannerPictureStep(double factor) {
  if (factor <= 1.0) return 0;
  if (factor <= 1.25) return 1;
  if (factor <= 1.5) return 2;
  if (factor <= 1.75) return 3;
  return 4;
}

// ---- construction ----

rg_TavelkinPinPaiHengFuLei1::rg_TavelkinPinPaiHengFuLei1() : m_receiver(CQzuReceiverRef::Make(this)) {
  for (int i = 0; i < kBannerPictureCount; ++i) pictureIds[i] = kBannerFirstPicture + i;
  SetBackColour(kWhite);
  PickBannerBitmaps();
}

rg_TavelkinPinPaiHengFuLei1::~rg_TavelkinPinPaiHengFuLei1() {
  m_receiver->Detach();
  RightPressEvent.Disconnect();
  ItemEvent.Disconnect();
  HelpEvent.Disconnect();
  BackgroundPressEvent.Disconnect();
  // The members go in reverse order: extra links and items first, then the
  // separator, the items, marker, timer, links and the base.
}

// ---- object operations ----

bool rg_TavelkinPinPaiHengFuLei1::IsEqual(const CQzuObject& other) const { return &other == this; }

int rg_TavelkinPinPaiHengFuLei1::CopyFrom(const CQzuObject& source) {
  QZU_COPY_FROM_PREAMBLE(rg_TavelkinPinPaiHengFuLei1, source)
  CopyWinControl(src);
  BannerReference = src.BannerReference;
  reserved = src.reserved;
  rightItemsWidth = src.rightItemsWidth;
  m_homeLink.CopyFrom(src.m_homeLink);
  m_helpLink.CopyFrom(src.m_helpLink);
  m_contactLink.CopyFrom(src.m_contactLink);
  m_glideTimer.CopyFrom(src.m_glideTimer);
  m_leftMarker.CopyFrom(src.m_leftMarker);
  m_glideItem.CopyFrom(src.m_glideItem);
  m_homeItem.CopyFrom(src.m_homeItem);
  m_contactItem.CopyFrom(src.m_contactItem);
  m_helpItem.CopyFrom(src.m_helpItem);
  m_separator.CopyFrom(src.m_separator);
  for (int i = 0; i < kBannerPictureCount; ++i) pictureIds[i] = src.pictureIds[i];
  for (int i = 0; i < kBannerExtraCount; ++i) {
    m_extraItems[i].CopyFrom(src.m_extraItems[i]);
    m_extraLinks[i].CopyFrom(src.m_extraLinks[i]);
    extraItemFlags[i] = src.extraItemFlags[i];
  }
  return 1;
}

void rg_TavelkinPinPaiHengFuLei1::SaveToStream(CQzuStream& s) const {
  if (!s.Ok()) return;
  s.WriteText(m_text);
  m_homeLink.SaveToStream(s);
  m_helpLink.SaveToStream(s);
  m_contactLink.SaveToStream(s);
  m_glideTimer.SaveToStream(s);
  m_leftMarker.SaveToStream(s);
  m_glideItem.SaveToStream(s);
  m_homeItem.SaveToStream(s);
  m_contactItem.SaveToStream(s);
  m_helpItem.SaveToStream(s);
  m_separator.SaveToStream(s);
  s.WriteInt32(BannerReference ? BannerReference->GetId() : 0);
  s.WriteInt32(reserved);
  for (int32_t id : pictureIds) s.WriteInt32(id);
  s.WriteInt32(rightItemsWidth);
  for (const Button& item : m_extraItems) item.SaveToStream(s);
  for (const Link& link : m_extraLinks) link.SaveToStream(s);
  for (int32_t flag : extraItemFlags) s.WriteInt32(flag);
}

void rg_TavelkinPinPaiHengFuLei1::LoadFromStream(CQzuStream& s) {
  // A short read sets the stream's error; every later read then does nothing.
  if (!s.Ok()) return;
  CWString text;
  if (!s.ReadText(text)) return;
  m_text = text;
  m_homeLink.LoadFromStream(s);
  m_helpLink.LoadFromStream(s);
  m_contactLink.LoadFromStream(s);
  m_glideTimer.LoadFromStream(s);
  m_leftMarker.LoadFromStream(s);
  m_glideItem.LoadFromStream(s);
  m_homeItem.LoadFromStream(s);
  m_contactItem.LoadFromStream(s);
  m_helpItem.LoadFromStream(s);
  m_separator.LoadFromStream(s);
  int32_t referenceId = 0;  // names no control of this process: the reference stays
  s.ReadInt32(referenceId);
  s.ReadInt32(reserved);
  for (int32_t& id : pictureIds) s.ReadInt32(id);
  s.ReadInt32(rightItemsWidth);
  for (Button& item : m_extraItems) item.LoadFromStream(s);
  for (Link& link : m_extraLinks) link.LoadFromStream(s);
  for (int32_t& flag : extraItemFlags) s.ReadInt32(flag);
}

int rg_TavelkinPinPaiHengFuLei1::DefaultWidth() const { return ScaleByDpiFactor(1086); }
int rg_TavelkinPinPaiHengFuLei1::DefaultHeight() const { return ScaleByDpiFactor(91); }

// ---- children ----

void rg_TavelkinPinPaiHengFuLei1::ConnectLink(Link& link) {
  link.OnLeftDown.Connect(&LinkLeftDown, m_receiver);
  link.OnRightDown.Connect(&LinkRightDown, m_receiver);
}

void rg_TavelkinPinPaiHengFuLei1::ConnectItem(Button& item) {
  item.RightClickEvent.Connect(&ItemRightClick, m_receiver);
  item.ClickEvent.Connect(&ItemClick, m_receiver);
}

void rg_TavelkinPinPaiHengFuLei1::SetupLink(Link& link, const CWString& caption, COLORREF normal, COLORREF hover) {
  ConnectLink(link);
  link.SetBackColour(kWhite);
  link.SetCaption(caption);
  link.SetFontText(kBannerLinkFont);
  link.SetLinkColours(normal, normal, hover);
}

void rg_TavelkinPinPaiHengFuLei1::SetupItem(Button& item) {
  ConnectItem(item);
  item.SetCursorShape(rg_Ombrine_MFCJieMian_base::kCursorHand);
  for (int state = 0; state <= rg_TavelkinMingLingJi_ChuangKouZuJian::kButtonPressed; ++state) {
    item.backColours[state] = kWhite;
    item.borderColours[state] = kWhite;
  }
  item.hoverBrightness = kItemHoverBrightness;
  item.leftMargin = 0;
  item.imageFills = 0;
}

void rg_TavelkinPinPaiHengFuLei1::CreateChildren() {
  OnCreated.Connect(&Created, m_receiver);
  OnSize.Connect(&Resized, m_receiver);
  OnLeftDown.Connect(&BackgroundDown, m_receiver);

  SetupLink(m_homeLink, kBannerHomeCaption, kHomeLinkColour, kHomeLinkHover);
  m_homeLink.SetAddressKind(rg_Ombrine_MFCJieMian_KuoZhanZuJian::kLinkWebAddress);
  m_homeLink.SetAddress(BannerLinkAddress(kBannerHomeAddress));
  m_homeLink.Create(this, ScaleByDpiFactor(212), ScaleByDpiFactor(66), ScaleByDpiFactor(96), ScaleByDpiFactor(22),
                    kBannerHomeLinkId);

  SetupLink(m_helpLink, kBannerHelpCaption, kHelpLinkColour, kHelpLinkHover);
  m_helpLink.Create(this, ScaleByDpiFactor(12), ScaleByDpiFactor(66), ScaleByDpiFactor(96), ScaleByDpiFactor(22),
                    kBannerHelpLinkId);

  SetupLink(m_contactLink, kBannerContactText, kHomeLinkColour, kHomeLinkHover);
  m_contactLink.SetAddressKind(rg_Ombrine_MFCJieMian_KuoZhanZuJian::kLinkWebAddress);
  m_contactLink.SetAddress(BannerLinkAddress(kBannerChatAddress));
  m_contactLink.Create(this, ScaleByDpiFactor(112), ScaleByDpiFactor(66), ScaleByDpiFactor(96),
                       ScaleByDpiFactor(22), kBannerContactLinkId);

  m_glideTimer.OnTick.Connect(&Tick, m_receiver);
  m_glideTimer.SetInterval(kBannerGlideMilliseconds);
  // Until the strip shows: nobody sees the glide.
  m_glideTimer.SetSuspended(!GetWidget() || !GetWidget()->isVisible());
  m_glideTimer.Create(this, ScaleByDpiFactor(538), ScaleByDpiFactor(32), ScaleByDpiFactor(26),
                      ScaleByDpiFactor(26), kBannerTimerId);

  m_leftMarker.SetVisible(false);
  m_leftMarker.Create(this, ScaleByDpiFactor(316), 0, ScaleByDpiFactor(16), ScaleByDpiFactor(96), kBannerMarkerId);

  for (Button* item : {&m_glideItem, &m_homeItem, &m_contactItem, &m_helpItem}) SetupItem(*item);
  m_glideItem.Create(this, ScaleByDpiFactor(424), ScaleByDpiFactor(8), ScaleByDpiFactor(210), ScaleByDpiFactor(70),
                     kBannerGlideItemId);
  // Its picture covers it whole: a step of the glide then shifts the pixels
  // already drawn instead of painting the strip and the item again.
  if (QWidget* face = m_glideItem.GetWidget()) face->setAttribute(Qt::WA_OpaquePaintEvent);
  m_homeItem.Create(this, ScaleByDpiFactor(212), ScaleByDpiFactor(1), ScaleByDpiFactor(96), ScaleByDpiFactor(64),
                    kBannerHomeItemId);
  m_contactItem.Create(this, ScaleByDpiFactor(112), ScaleByDpiFactor(1), ScaleByDpiFactor(96), ScaleByDpiFactor(64),
                       kBannerContactItemId);
  m_helpItem.Create(this, ScaleByDpiFactor(12), ScaleByDpiFactor(1), ScaleByDpiFactor(96), ScaleByDpiFactor(64),
                    kBannerHelpItemId);

  m_separator.SetBackColour(kWhite);
  m_separator.RemoveStyle(qzu_win::kWsBorder);
  m_separator.SetExStyle((m_separator.GetExStyle() | qzu_win::kWsExStaticEdge) &
                         ~(qzu_win::kWsExClientEdge | qzu_win::kWsExDlgModalFrame));
  m_separator.Create(this, 0, ScaleByDpiFactor(90), ScaleByDpiFactor(1677), ScaleByDpiFactor(2), kBannerSeparatorId);
  KeepGlideItemOnTop();
}

void rg_TavelkinPinPaiHengFuLei1::KeepGlideItemOnTop() {
  // Each step of the glide moves a child of the strip, and Qt then looks for
  // siblings stacked above it that its old and new places overlap, and builds
  // the strip's region of opaque children anew; as the last child the item
  // has no siblings above it and is joined to that region last, which saves
  // about a tenth of the instructions of a step (bench/idle.sh). Nothing
  // shows the order: the item's lane, from the left marker to its right
  // bound, overlaps no other child.
  if (QWidget* face = m_glideItem.GetWidget()) face->raise();
}

void rg_TavelkinPinPaiHengFuLei1::PickBannerBitmaps() {
  const int step = BannerPictureStep(GetDpiFactor());
  const struct {
    Button* item;
    int pictures;
  } items[] = {{&m_glideItem, kPicturesGlide},
               {&m_helpItem, kPicturesHelp},
               {&m_homeItem, kPicturesHome},
               {&m_contactItem, kPicturesContact}};
  for (const auto& it : items) {
    // The hover picture is made from the normal one when first needed.
    it.item->images[rg_TavelkinMingLingJi_ChuangKouZuJian::kImageHover].Clear();
    it.item->SetButtonBitmapResource(pictureIds[it.pictures * kBannerPictureSteps + step]);
  }
}

// ---- the home link ----

void rg_TavelkinPinPaiHengFuLei1::SetBannerHomeLink(const CWString& text) {
  const bool shown = text != kBannerHideHome;
  m_homeLink.SetVisible(shown);
  m_homeItem.SetVisible(shown);
  m_homeLink.SetAddress(shown ? BannerLinkAddress(text) : CWString());
  m_homeLink.Invalidate();
  Button& last = shown ? m_homeItem : m_contactItem;
  m_leftMarker.SetLeft(last.GetLeft() + last.GetWidth() + kMarkerGap);
}

// ---- after creation and on size changes ----

int rg_TavelkinPinPaiHengFuLei1::SetupBannerAfterCreate() {
  m_separator.SetTop(Trunc(91));
  const int width = Trunc(96);
  for (int i = 0; i < kBannerExtraCount; ++i) {
    if (!extraItemFlags[i]) continue;
    const int x = GetClientWidth() - width * (i + 1) - Trunc(10);
    Button& item = m_extraItems[i];
    ConnectItem(item);
    item.Create(this, x, 1, width, Trunc(64), kBannerExtraId);
    item.SetVisible(true);
    BannerReference = &item;
    rightItemsWidth = GetClientWidth() - item.GetLeft();
    Link& link = m_extraLinks[i];
    ConnectLink(link);
    link.Create(this, x, m_helpLink.GetTop(), width, Trunc(22), kBannerExtraId);
    link.SetVisible(true);
  }
  KeepGlideItemOnTop();
  return 0;
}

int rg_TavelkinPinPaiHengFuLei1::FitBannerWidth() {
  m_separator.SetWidth(GetClientWidth());
  const int height = 2 + Trunc(91);
  if (GetHeight() != height) SetHeight(height);
  return 0;
}

// ---- the glide ----

int32_t rg_TavelkinPinPaiHengFuLei1::GetGlideDirection() { return g_glideDirection; }
void rg_TavelkinPinPaiHengFuLei1::SetGlideDirection(int32_t direction) { g_glideDirection = direction; }

int rg_TavelkinPinPaiHengFuLei1::ScrollBannerMarquee(CQzuObject* sender) {
  if (sender != &m_glideTimer) return 0;
  // No message pump here: the tick returns to the event loop at once, which
  // runs whatever is pending.
  const int left = m_glideItem.GetLeft();
  if (g_glideDirection == kGlideLeftwards) {
    m_glideItem.SetLeft(left - 1);
    if (left - 1 < m_leftMarker.GetLeft()) g_glideDirection = kGlideRightwards;
    return 0;
  }
  m_glideItem.SetLeft(left + 1);
  const int bound = (BannerReference ? BannerReference->GetLeft() : GetClientWidth()) - Trunc(10);
  if (left + 1 + m_glideItem.GetWidth() > bound) g_glideDirection = kGlideLeftwards;
  return 0;
}

bool rg_TavelkinPinPaiHengFuLei1::HandleWindowEvent(QObject* watched, QEvent* event) {
  if (watched == GetWidget() && (event->type() == QEvent::Show || event->type() == QEvent::Hide))
    m_glideTimer.SetSuspended(event->type() == QEvent::Hide);
  return rg_ZuJianBuJuQi::HandleWindowEvent(watched, event);
}

int rg_TavelkinPinPaiHengFuLei1::ToggleBannerScroll(CQzuObject* sender) {
  if (sender == &m_glideItem) {
    m_glideTimer.SetInterval(m_glideTimer.GetInterval() == 0 ? kBannerGlideMilliseconds : 0);
  } else if (sender == &m_contactItem) {
    FireBannerRightPress();
  }
  return 0;
}

// ---- clicks ----

int rg_TavelkinPinPaiHengFuLei1::ExtraIndexOf(const CQzuObject* sender) const {
  for (int i = 0; i < kBannerExtraCount; ++i)
    if (sender == &m_extraItems[i] || sender == &m_extraLinks[i]) return i;
  return -1;
}

int rg_TavelkinPinPaiHengFuLei1::DispatchBannerClick(CQzuObject* sender) {
  if (sender == &m_glideItem) OpenIfAny(BannerLinkAddress(kBannerHomeAddress));
  else if (sender == &m_homeItem) OpenIfAny(m_homeLink.GetAddress());
  else if (sender == &m_contactItem) OpenIfAny(m_contactLink.GetAddress());
  else if (sender == &m_helpItem) HandleBannerLinkClick(&m_helpLink);
  else if (const int i = ExtraIndexOf(sender); i >= 0) FireBannerItemEvent(i);
  return 0;
}

int rg_TavelkinPinPaiHengFuLei1::HandleBannerLinkClick(CQzuObject* sender) {
  if (sender == &m_helpLink) {
    // Unless a handler takes the press, the help text is shown read-only.
    if (!HelpEvent.IsConnected() || Raise(HelpEvent) == 0)
      rg_Tavelkin_MingLingJi::ShowInputBox(rg_Tavelkin_MingLingJi::AboutText(), CWString(), kBannerHelpCaption);
  } else if (const int i = ExtraIndexOf(sender); i >= 0) {
    FireBannerItemEvent(i);
  }
  // Any other link opens its own address on the press.
  return 0;
}

void rg_TavelkinPinPaiHengFuLei1::FireBannerRightPress() { Raise(RightPressEvent); }

void rg_TavelkinPinPaiHengFuLei1::FireBannerItemEvent(int index) { Raise(ItemEvent, index); }

void rg_TavelkinPinPaiHengFuLei1::FireBannerBackgroundPress() { Raise(BackgroundPressEvent); }

}  // namespace rg_Tavelkin_GongNengChuangKou
