#include "services/automation_call.h"

bool CQzuComValue::AsBool(bool& out) const {
  if (kind == Kind::Bool) {
    out = boolValue;
    return true;
  }
  if (kind == Kind::Int) {
    out = intValue != 0;
    return true;
  }
  return false;
}

int CQzuDispatchInstance::GetProperty(std::u16string_view, CQzuComValue&) { return kComMemberNotFound; }
int CQzuDispatchInstance::PutProperty(std::u16string_view, const CQzuComValue&) { return kComMemberNotFound; }
int CQzuDispatchInstance::CallMethod(std::u16string_view, const std::vector<CQzuComValue>&, CQzuComValue&) {
  return kComMemberNotFound;
}

bool CQzuDispatchInstance::Is(std::u16string_view name, std::u16string_view member) {
  return CWString(name).EqualsIgnoreAsciiCase(member);
}

namespace {

CQzuDispatchInstance* Dispatch(CQzuComObject& object) { return object.As<CQzuDispatchInstance>(); }

// Keeps the instance alive for the call: the call may replace the holder's.
CQzuRef<CQzuComInstance> Pin(CQzuComObject& object) { return CQzuRef<CQzuComInstance>::Share(object.Get()); }

}  // namespace

int ComGetProperty(CQzuComObject& object, std::u16string_view name, CQzuComValue& result) {
  result = CQzuComValue();
  CQzuRef<CQzuComInstance> pin = Pin(object);
  CQzuDispatchInstance* target = Dispatch(object);
  int code = target ? target->GetProperty(name, result) : kComNoDispatch;
  if (code != kComOk) result = CQzuComValue();
  object.errorCode = code;
  return code;
}

int ComGetObject(CQzuComObject& object, std::u16string_view name, CQzuComObject& result) {
  CQzuComValue value;
  int code = ComGetProperty(object, name, value);
  if (code == kComOk && value.kind == CQzuComValue::Kind::Object && value.object) {
    result.Attach(std::move(value.object));
  } else {
    result.ReleaseInstance();
  }
  return code;
}

int ComGetText(CQzuComObject& object, std::u16string_view name, CWString& result) {
  CQzuComValue value;
  int code = ComGetProperty(object, name, value);
  if (code == kComOk && value.kind == CQzuComValue::Kind::Text) {
    result = value.text;
  } else {
    result.Empty();
  }
  return code;
}

int ComPutProperty(CQzuComObject& object, std::u16string_view name, const CQzuComValue& value) {
  CQzuRef<CQzuComInstance> pin = Pin(object);
  CQzuDispatchInstance* target = Dispatch(object);
  int code = target ? target->PutProperty(name, value) : kComNoDispatch;
  object.errorCode = code;
  return code;
}

int ComCallMethod(CQzuComObject& object, std::u16string_view name, const std::vector<CQzuComValue>& args,
                  CQzuComValue* result) {
  CQzuComValue local;
  CQzuComValue& out = result ? *result : local;
  out = CQzuComValue();
  CQzuRef<CQzuComInstance> pin = Pin(object);
  CQzuDispatchInstance* target = Dispatch(object);
  int code = target ? target->CallMethod(name, args, out) : kComNoDispatch;
  if (code != kComOk) out = CQzuComValue();
  object.errorCode = code;
  return code;
}

int ComCallMethodObject(CQzuComObject& object, std::u16string_view name, const std::vector<CQzuComValue>& args,
                        CQzuComObject& result) {
  CQzuComValue value;
  int code = ComCallMethod(object, name, args, &value);
  if (code == kComOk && value.kind == CQzuComValue::Kind::Object && value.object) {
    result.Attach(std::move(value.object));
  } else {
    result.ReleaseInstance();
  }
  return code;
}
