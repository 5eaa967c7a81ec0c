// A plug-in's life in the stand-in host, message by message: Startup after
// loading, the filter's Get Parameters and Go, repeats, About, Unload and
// Reload (the library really leaves memory and comes back), Shutdown.
//
// Every message gets a fresh record: the check word, the plug-in's
// reference, the globals slot that the session keeps for the plug-in (also
// while its library is unloaded) and the basic suite; filter messages add the
// filter handle and the parameters handle, which the session keeps between
// runs and which is null until the plug-in creates it. Each message starts a
// new undo scope in the document, and the host is active while it runs.
#pragma once

#include <span>
#include <string>
#include <vector>

#include "hostapp/dialogs/dialog_manager.h"
#include "hostapp/host/host_context.h"
#include "hostapp/loader/plugin_loader.h"

namespace host {

struct MessageRecord {
  std::string caller;
  std::string selector;
  HostErr result = 0;
};

class PluginSession {
 public:
  // Opens the scanned plug-in's library. Throws LoadError.
  PluginSession(HostContext& host, PluginFile file);
  // A plug-in linked into this program (tests): `entry` stands for the
  // library's entry point; the resources are the file's. Unload and Reload
  // then keep the code in memory.
  PluginSession(HostContext& host, PluginFile file, PluginMainProc entry);
  ~PluginSession();
  PluginSession(const PluginSession&) = delete;
  PluginSession& operator=(const PluginSession&) = delete;

  HostErr startup();
  HostErr shutdown();
  HostErr about();
  // Sends Unload, then closes the library.
  HostErr unload();
  // Reopens the library (throws LoadError), then sends Reload.
  HostErr reload();
  HostErr getParameters();
  HostErr go();
  // The user chooses the filter: Get Parameters, then Go unless it was
  // cancelled or failed; the Go continues the undo scope of Get Parameters.
  // Returns the first non-zero result.
  HostErr chooseFilter();
  // The user repeats the filter: Go alone, with the kept parameters.
  HostErr repeatFilter() { return go(); }

  // Any message with the common header only, or a filter message for any
  // filter handle. A message while the library is unloaded is not sent and
  // gives kHostCantHappenErr.
  HostErr send(const char* caller, const char* selector);
  HostErr sendFilter(const char* selector, FilterHandle filter);

  PluginRef ref() const { return ref_; }
  bool loaded() const { return loaded_; }
  void* globals() const { return globals_; }
  // The filter the plug-in registered, or null.
  FilterHandle filter() const;
  MemHandle parameters() const { return parameters_; }
  // The bytes in the parameters handle, the plug-in's record as the host
  // keeps it; empty before there is one. The session never reads the
  // record's fields: whoever needs them decodes the bytes.
  std::vector<unsigned char> recordBytes() const;
  // Makes the kept parameters hold `bytes`, as after an earlier run of the
  // filter: creates a handle of their size when there is none; a kept handle
  // of another size is refused with kHostBadParameterErr.
  HostErr setRecordBytes(std::span<const unsigned char> bytes);

  const std::vector<MessageRecord>& messages() const { return messages_; }
  DialogManager& dialogs() { return host_.service<DialogManager>(); }
  HostContext& host() { return host_; }
  const PluginFile& file() const { return file_; }
  // The entry point in use (the library's or the linked one).
  PluginMainProc entry() const;

 private:
  HostErr deliver(const char* caller, const char* selector, MessageHeader& header);
  MessageHeader header();

  HostContext& host_;
  PluginFile file_;
  std::unique_ptr<PluginLibrary> library_;
  PluginMainProc linkedEntry_ = nullptr;
  PluginRef ref_ = nullptr;
  bool loaded_ = false;
  void* globals_ = nullptr;
  bool continueUndoScope_ = false;  // the next message keeps the undo scope
  MemHandle parameters_ = nullptr;
  std::vector<MessageRecord> messages_;
};

// Text of a result code: decimal, or its four characters in quotes when the
// code is a four-character code.
std::string resultCodeText(HostErr code);

}  // namespace host
