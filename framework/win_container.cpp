#include "framework/win_container.h"

#include <QPainter>

namespace rg_Ombrine_MFCJieMian_base {

QZU_IMPLEMENT_CLASS(CQzuWinContainer, CQzuWinControl, "rg_Ombrine_MFCJieMian_base::CQzuWinContainer")
QZU_IMPLEMENT_CLASS(rg_ZuJianBuJuQi, CQzuWinContainer, "rg_Ombrine_MFCJieMian_base::rg_ZuJianBuJuQi")
QZU_IMPLEMENT_CLASS(rg_TuPianKuang, CQzuWinContainer, "rg_Ombrine_MFCJieMian_base::rg_TuPianKuang")

namespace {

class PictureWidget : public QWidget {
 public:
  PictureWidget(QWidget* parent, const QImage& picture) : QWidget(parent), picture(picture) {}
  QImage picture;

 protected:
  void paintEvent(QPaintEvent*) override {
    if (picture.isNull()) return;
    QPainter p(this);
    p.drawImage(0, 0, picture);
  }
};

}  // namespace

int CQzuWinContainer::CopyFrom(const CQzuObject& source) {
  QZU_COPY_FROM_PREAMBLE(CQzuWinContainer, source)
  CopyWinControl(src);
  return 1;
}

QWidget* CQzuWinContainer::CreateNativeWidget(const CQzuCreateParams&, QWidget* parent) {
  auto* w = new QWidget(parent);
  return w;
}

int rg_ZuJianBuJuQi::CopyFrom(const CQzuObject& source) {
  QZU_COPY_FROM_PREAMBLE(rg_ZuJianBuJuQi, source)
  CopyWinControl(src);
  return 1;
}

int rg_TuPianKuang::CopyFrom(const CQzuObject& source) {
  QZU_COPY_FROM_PREAMBLE(rg_TuPianKuang, source)
  CopyWinControl(src);
  m_picture = src.m_picture;
  return 1;
}

void rg_TuPianKuang::SetPicture(const QImage& picture) {
  m_picture = picture;
  if (auto* w = dynamic_cast<PictureWidget*>(GetWidget())) {
    w->picture = picture;
    w->update();
  }
}

QWidget* rg_TuPianKuang::CreateNativeWidget(const CQzuCreateParams&, QWidget* parent) {
  return new PictureWidget(parent, m_picture);
}

}  // namespace rg_Ombrine_MFCJieMian_base
