#include "services/http_request.h"

CQzuRef<CQzuComInstance> MakeHttpRequestInstance() {
  return CQzuRef<CQzuComInstance>::Adopt(new CQzuHttpRequestInstance());
}
