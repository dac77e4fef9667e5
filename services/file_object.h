#pragma once
// The command package's file read/write object: the framework's file object
// under its own class name, so that records carrying it keep their shape.
#include "platform/file_read_write.h"

namespace rg_TavelkinMingLingJi_ChangYongJiChengLei {

class rg_TavelkinWenJianDouXieLei : public rg_Ombrine_base::rg_WenJianDouXieLei {
  QZU_DECLARE_CLASS(rg_TavelkinWenJianDouXieLei)
 public:
  rg_TavelkinWenJianDouXieLei() = default;
  rg_TavelkinWenJianDouXieLei(const rg_TavelkinWenJianDouXieLei&) = default;
  rg_TavelkinWenJianDouXieLei& operator=(const rg_TavelkinWenJianDouXieLei& other) {
    CopyFrom(other);
    return *this;
  }
};

}  // namespace rg_TavelkinMingLingJi_ChangYongJiChengLei
