#pragma once
// For platform/ only: callers outside it drive the office through platform/office_engine.h.
// The UNO side of the office engine, built as a module of its own
// (platform/modules/office_uno.cpp, linked with the UNO libraries) that the
// engine opens on its first start: a run that never drives the office does
// not load the UNO runtime. The engine keeps the office process, the program
// to start and the lock; the module keeps every UNO object (the component
// contexts, the desktop and the open documents) and is called with the
// engine's lock held. Codes are those of office_engine.h.
#include <cstdint>
#include <string>
#include <string_view>

// What the module needs of the office process the engine started.
class IOfficeProcessControl {
 public:
  virtual bool IsRunning() = 0;
  virtual int ExitCode() const = 0;
  virtual bool Respawn() = 0;
  virtual std::string ConnectAddress() const = 0;

 protected:
  ~IOfficeProcessControl() = default;
};

struct OfficeUnoFunctions {
  // Starts the local UNO runtime for the office program at `program` (once).
  bool (*bootstrap)(const std::string& program);
  // Connects to the started office and reaches its desktop, waiting for it
  // (and starting it again when it asks to be) up to a minute.
  bool (*connect)();
  bool (*connected)();  // a desktop is held
  bool (*alive)();      // connected, the process runs and the office answers
  // Drops the documents and the connection (not the local runtime).
  void (*forget)();
  // Closes every document without saving and ends the office, when it runs.
  void (*closeAllAndTerminate)();
  // `path` is absolute and names an existing regular file of `size` bytes.
  int (*openDocument)(const std::string& path, int64_t size, uint64_t& id);
  int (*getText)(uint64_t id, std::u16string& text);  // Word's form (office_engine.h)
  int (*setText)(uint64_t id, std::u16string_view text);
  int (*paragraphCount)(uint64_t id, int& count);
  int (*save)(uint64_t id);
  int (*close)(uint64_t id);
  bool (*isOpen)(uint64_t id);
  int (*openCount)();
};

// The module's one exported function: its table, working on `process`,
// which must outlive the program.
#define QZU_OFFICE_UNO_ENTRY "qzu_office_uno_functions"
using OfficeUnoEntry = const OfficeUnoFunctions*(IOfficeProcessControl& process);
