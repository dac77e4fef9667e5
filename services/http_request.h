#pragma once
// The request instance behind "WinHttp.WinHttpRequest.5.1". The program only
// ever makes one and keeps it; it is never opened or sent, so it carries no
// connection and no operation.
#include "services/com_object.h"

class CQzuHttpRequestInstance : public CQzuComInstance {
 protected:
  ~CQzuHttpRequestInstance() override = default;
};

// The maker registered under "WinHttp.WinHttpRequest.5.1".
CQzuRef<CQzuComInstance> MakeHttpRequestInstance();
