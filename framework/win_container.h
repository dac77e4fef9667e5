#pragma once
// Containers: controls whose children sit at absolute positions inside them
// (nobody lays them out but their owner). rg_ZuJianBuJuQi is the plain panel
// components build on; rg_TuPianKuang the picture box.
#include <QImage>

#include "framework/win_control.h"

// Marks a control that reports container events (created, shown, hidden,
// size) through its event slots.
class IContainerEventListener {
 public:
  virtual ~IContainerEventListener() = default;
};

namespace rg_Ombrine_MFCJieMian_base {

class CQzuWinContainer : public CQzuWinControl, public IContainerEventListener {
  QZU_DECLARE_CLASS(CQzuWinContainer)

 public:
  int CopyFrom(const CQzuObject& source) override;

 protected:
  QWidget* CreateNativeWidget(const CQzuCreateParams& params, QWidget* parent) override;
};

class rg_ZuJianBuJuQi : public CQzuWinContainer {
  QZU_DECLARE_CLASS(rg_ZuJianBuJuQi)

 public:
  int CopyFrom(const CQzuObject& source) override;
};

class rg_TuPianKuang : public CQzuWinContainer {
  QZU_DECLARE_CLASS(rg_TuPianKuang)

 public:
  int CopyFrom(const CQzuObject& source) override;
  // The picture drawn at the top left, under the children.
  void SetPicture(const QImage& picture);
  const QImage& GetPicture() const { return m_picture; }

 protected:
  QWidget* CreateNativeWidget(const CQzuCreateParams& params, QWidget* parent) override;

 private:
  QImage m_picture;
};

}  // namespace rg_Ombrine_MFCJieMian_base

using rg_Ombrine_MFCJieMian_base::CQzuWinContainer;
