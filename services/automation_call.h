#pragma once
// Late-bound calls on an automation holder by member name, as the program
// makes them on Word's objects: get a property, put a property, call a
// method. An instance that answers such calls derives from
// CQzuDispatchInstance. Member names compare without regard to ASCII case.
//
// Every call stores its result code in the called holder's errorCode (0
// after success) and returns it; a failed call leaves the result empty.
#include <cstdint>
#include <string_view>
#include <vector>

#include "services/com_object.h"

// Result codes of a late-bound call besides those the instance reports.
enum : int {
  kComOk = 0,
  kComNoDispatch = -2,       // the holder is empty or its instance takes no calls by name
  kComBadArgument = -5,      // an argument of the wrong kind or too few arguments
  kComMemberNotFound = -7,   // no member of that name
};

// One argument or result of a call.
struct CQzuComValue {
  enum class Kind { Empty, Missing, Bool, Int, Text, Object };
  Kind kind = Kind::Empty;
  bool boolValue = false;
  long long intValue = 0;
  CWString text;
  CQzuRef<CQzuComInstance> object;

  static CQzuComValue MissingArgument() { CQzuComValue v; v.kind = Kind::Missing; return v; }
  static CQzuComValue FromBool(bool b) { CQzuComValue v; v.kind = Kind::Bool; v.boolValue = b; return v; }
  static CQzuComValue FromInt(long long i) { CQzuComValue v; v.kind = Kind::Int; v.intValue = i; return v; }
  static CQzuComValue FromText(const CWString& t) { CQzuComValue v; v.kind = Kind::Text; v.text = t; return v; }
  static CQzuComValue FromObject(CQzuRef<CQzuComInstance> o) {
    CQzuComValue v;
    v.kind = Kind::Object;
    v.object = std::move(o);
    return v;
  }
  // A boolean argument may come as a boolean or an integer (Word takes 0 for false).
  bool AsBool(bool& out) const;
};

class CQzuDispatchInstance : public CQzuComInstance {
 public:
  // Each returns kComOk or a negative code; the defaults know no member.
  virtual int GetProperty(std::u16string_view name, CQzuComValue& result);
  virtual int PutProperty(std::u16string_view name, const CQzuComValue& value);
  virtual int CallMethod(std::u16string_view name, const std::vector<CQzuComValue>& args, CQzuComValue& result);

 protected:
  ~CQzuDispatchInstance() override = default;
  static bool Is(std::u16string_view name, std::u16string_view member);
};

int ComGetProperty(CQzuComObject& object, std::u16string_view name, CQzuComValue& result);
// The property as an object in `result` (emptied when the call fails or
// gives no object).
int ComGetObject(CQzuComObject& object, std::u16string_view name, CQzuComObject& result);
// The property as a text in `result` (empty when the call fails or gives no text).
int ComGetText(CQzuComObject& object, std::u16string_view name, CWString& result);
int ComPutProperty(CQzuComObject& object, std::u16string_view name, const CQzuComValue& value);
// `result` may be null when the caller does not want it.
int ComCallMethod(CQzuComObject& object, std::u16string_view name, const std::vector<CQzuComValue>& args,
                  CQzuComValue* result = nullptr);
// The method's object result in `result` (emptied on failure).
int ComCallMethodObject(CQzuComObject& object, std::u16string_view name, const std::vector<CQzuComValue>& args,
                        CQzuComObject& result);
