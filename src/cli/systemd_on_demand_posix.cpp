// libsystemd for the tool, loaded when `tunora follow` first talks to the
// session bus. Linked as usual, libsystemd and the compression, capability and
// cryptography libraries behind it are mapped at every start: about a
// millisecond, 6 to 9 % of `tunora tags` on 500 files, and only following a
// player needs them. These definitions stand in for the sd-bus and sd-event
// functions the follower calls and forward each call to the library, opened on
// the first one (cli/on_demand_library.h). Without the library every call fails
// as the library's own calls do, with a negative errno or a null pointer, and
// `tunora follow` reports that it cannot reach the session bus.

#include <systemd/sd-bus.h>
#include <systemd/sd-event.h>

#include <cerrno>
#include <cstdarg>

#include "cli/on_demand_library.h"

namespace {

// What every call returns when the library is missing; its text names the
// cause ("Can not access a needed shared library").
constexpr int kMissing = -ELIBACC;

struct Systemd {
  decltype(&sd_bus_open_user) busOpenUser = nullptr;
  decltype(&sd_bus_flush_close_unref) busFlushCloseUnref = nullptr;
  decltype(&sd_bus_set_method_call_timeout) busSetMethodCallTimeout = nullptr;
  decltype(&sd_bus_attach_event) busAttachEvent = nullptr;
  decltype(&sd_bus_detach_event) busDetachEvent = nullptr;
  decltype(&sd_bus_match_signal) busMatchSignal = nullptr;
  decltype(&sd_bus_slot_unref) busSlotUnref = nullptr;
  decltype(&sd_bus_list_names) busListNames = nullptr;
  decltype(&sd_bus_call_methodv) busCallMethodv = nullptr;
  decltype(&sd_bus_get_property) busGetProperty = nullptr;
  decltype(&sd_bus_get_property_string) busGetPropertyString = nullptr;
  decltype(&sd_bus_error_free) busErrorFree = nullptr;
  decltype(&sd_bus_message_unref) messageUnref = nullptr;
  decltype(&sd_bus_message_get_sender) messageGetSender = nullptr;
  decltype(&sd_bus_message_readv) messageReadv = nullptr;
  decltype(&sd_bus_message_read_basic) messageReadBasic = nullptr;
  decltype(&sd_bus_message_skip) messageSkip = nullptr;
  decltype(&sd_bus_message_enter_container) messageEnterContainer = nullptr;
  decltype(&sd_bus_message_exit_container) messageExitContainer = nullptr;
  decltype(&sd_bus_message_peek_type) messagePeekType = nullptr;
  decltype(&sd_bus_message_at_end) messageAtEnd = nullptr;
  decltype(&sd_event_new) eventNew = nullptr;
  decltype(&sd_event_unref) eventUnref = nullptr;
  decltype(&sd_event_add_signal) eventAddSignal = nullptr;
  decltype(&sd_event_add_time_relative) eventAddTimeRelative = nullptr;
  decltype(&sd_event_loop) eventLoop = nullptr;
  decltype(&sd_event_source_unref) sourceUnref = nullptr;
  decltype(&sd_event_source_set_enabled) sourceSetEnabled = nullptr;
  decltype(&sd_event_source_set_time_relative) sourceSetTimeRelative = nullptr;

  bool bindAll(const tunora::OnDemandLibrary& library) {
    return library.bind("sd_bus_open_user", busOpenUser) &&
           library.bind("sd_bus_flush_close_unref", busFlushCloseUnref) &&
           library.bind("sd_bus_set_method_call_timeout", busSetMethodCallTimeout) &&
           library.bind("sd_bus_attach_event", busAttachEvent) &&
           library.bind("sd_bus_detach_event", busDetachEvent) &&
           library.bind("sd_bus_match_signal", busMatchSignal) &&
           library.bind("sd_bus_slot_unref", busSlotUnref) &&
           library.bind("sd_bus_list_names", busListNames) &&
           library.bind("sd_bus_call_methodv", busCallMethodv) &&
           library.bind("sd_bus_get_property", busGetProperty) &&
           library.bind("sd_bus_get_property_string", busGetPropertyString) &&
           library.bind("sd_bus_error_free", busErrorFree) &&
           library.bind("sd_bus_message_unref", messageUnref) &&
           library.bind("sd_bus_message_get_sender", messageGetSender) &&
           library.bind("sd_bus_message_readv", messageReadv) &&
           library.bind("sd_bus_message_read_basic", messageReadBasic) &&
           library.bind("sd_bus_message_skip", messageSkip) &&
           library.bind("sd_bus_message_enter_container", messageEnterContainer) &&
           library.bind("sd_bus_message_exit_container", messageExitContainer) &&
           library.bind("sd_bus_message_peek_type", messagePeekType) &&
           library.bind("sd_bus_message_at_end", messageAtEnd) &&
           library.bind("sd_event_new", eventNew) && library.bind("sd_event_unref", eventUnref) &&
           library.bind("sd_event_add_signal", eventAddSignal) &&
           library.bind("sd_event_add_time_relative", eventAddTimeRelative) &&
           library.bind("sd_event_loop", eventLoop) &&
           library.bind("sd_event_source_unref", sourceUnref) &&
           library.bind("sd_event_source_set_enabled", sourceSetEnabled) &&
           library.bind("sd_event_source_set_time_relative", sourceSetTimeRelative);
  }
};

const Systemd* systemd() {
  return tunora::loadOnDemand<Systemd>("libsystemd.so.0");
}

}  // namespace

extern "C" {

int sd_bus_open_user(sd_bus** bus) {
  const Systemd* loaded = systemd();
  return loaded ? loaded->busOpenUser(bus) : kMissing;
}

sd_bus* sd_bus_flush_close_unref(sd_bus* bus) {
  const Systemd* loaded = systemd();
  return loaded ? loaded->busFlushCloseUnref(bus) : nullptr;
}

int sd_bus_set_method_call_timeout(sd_bus* bus, uint64_t usec) {
  const Systemd* loaded = systemd();
  return loaded ? loaded->busSetMethodCallTimeout(bus, usec) : kMissing;
}

int sd_bus_attach_event(sd_bus* bus, sd_event* event, int priority) {
  const Systemd* loaded = systemd();
  return loaded ? loaded->busAttachEvent(bus, event, priority) : kMissing;
}

int sd_bus_detach_event(sd_bus* bus) {
  const Systemd* loaded = systemd();
  return loaded ? loaded->busDetachEvent(bus) : kMissing;
}

int sd_bus_match_signal(sd_bus* bus, sd_bus_slot** slot, const char* sender, const char* path,
                        const char* interface, const char* member,
                        sd_bus_message_handler_t callback, void* userdata) {
  const Systemd* loaded = systemd();
  return loaded ? loaded->busMatchSignal(bus, slot, sender, path, interface, member, callback,
                                         userdata)
                : kMissing;
}

sd_bus_slot* sd_bus_slot_unref(sd_bus_slot* slot) {
  const Systemd* loaded = systemd();
  return loaded ? loaded->busSlotUnref(slot) : nullptr;
}

int sd_bus_list_names(sd_bus* bus, char*** acquired, char*** activatable) {
  const Systemd* loaded = systemd();
  return loaded ? loaded->busListNames(bus, acquired, activatable) : kMissing;
}

// The arguments follow the types, as sd_bus_call_methodv reads them.
int sd_bus_call_method(sd_bus* bus, const char* destination, const char* path,
                       const char* interface, const char* member, sd_bus_error* error,
                       sd_bus_message** reply, const char* types, ...) {
  const Systemd* loaded = systemd();
  if (loaded == nullptr) return kMissing;
  std::va_list arguments;
  va_start(arguments, types);
  const int result = loaded->busCallMethodv(bus, destination, path, interface, member, error, reply,
                                            types, arguments);
  va_end(arguments);
  return result;
}

int sd_bus_get_property(sd_bus* bus, const char* destination, const char* path,
                        const char* interface, const char* member, sd_bus_error* error,
                        sd_bus_message** reply, const char* type) {
  const Systemd* loaded = systemd();
  return loaded
             ? loaded->busGetProperty(bus, destination, path, interface, member, error, reply, type)
             : kMissing;
}

int sd_bus_get_property_string(sd_bus* bus, const char* destination, const char* path,
                               const char* interface, const char* member, sd_bus_error* error,
                               char** text) {
  const Systemd* loaded = systemd();
  return loaded
             ? loaded->busGetPropertyString(bus, destination, path, interface, member, error, text)
             : kMissing;
}

void sd_bus_error_free(sd_bus_error* error) {
  if (const Systemd* loaded = systemd()) loaded->busErrorFree(error);
}

sd_bus_message* sd_bus_message_unref(sd_bus_message* message) {
  const Systemd* loaded = systemd();
  return loaded ? loaded->messageUnref(message) : nullptr;
}

const char* sd_bus_message_get_sender(sd_bus_message* message) {
  const Systemd* loaded = systemd();
  return loaded ? loaded->messageGetSender(message) : nullptr;
}

// A pointer to fill follows each type, as sd_bus_message_readv reads them.
int sd_bus_message_read(sd_bus_message* message, const char* types, ...) {
  const Systemd* loaded = systemd();
  if (loaded == nullptr) return kMissing;
  std::va_list arguments;
  va_start(arguments, types);
  const int result = loaded->messageReadv(message, types, arguments);
  va_end(arguments);
  return result;
}

int sd_bus_message_read_basic(sd_bus_message* message, char type, void* value) {
  const Systemd* loaded = systemd();
  return loaded ? loaded->messageReadBasic(message, type, value) : kMissing;
}

int sd_bus_message_skip(sd_bus_message* message, const char* types) {
  const Systemd* loaded = systemd();
  return loaded ? loaded->messageSkip(message, types) : kMissing;
}

int sd_bus_message_enter_container(sd_bus_message* message, char type, const char* contents) {
  const Systemd* loaded = systemd();
  return loaded ? loaded->messageEnterContainer(message, type, contents) : kMissing;
}

int sd_bus_message_exit_container(sd_bus_message* message) {
  const Systemd* loaded = systemd();
  return loaded ? loaded->messageExitContainer(message) : kMissing;
}

int sd_bus_message_peek_type(sd_bus_message* message, char* type, const char** contents) {
  const Systemd* loaded = systemd();
  return loaded ? loaded->messagePeekType(message, type, contents) : kMissing;
}

int sd_bus_message_at_end(sd_bus_message* message, int complete) {
  const Systemd* loaded = systemd();
  return loaded ? loaded->messageAtEnd(message, complete) : kMissing;
}

int sd_event_new(sd_event** event) {
  const Systemd* loaded = systemd();
  return loaded ? loaded->eventNew(event) : kMissing;
}

sd_event* sd_event_unref(sd_event* event) {
  const Systemd* loaded = systemd();
  return loaded ? loaded->eventUnref(event) : nullptr;
}

int sd_event_add_signal(sd_event* event, sd_event_source** source, int signal,
                        sd_event_signal_handler_t callback, void* userdata) {
  const Systemd* loaded = systemd();
  return loaded ? loaded->eventAddSignal(event, source, signal, callback, userdata) : kMissing;
}

int sd_event_add_time_relative(sd_event* event, sd_event_source** source, clockid_t clock,
                               uint64_t usec, uint64_t accuracy, sd_event_time_handler_t callback,
                               void* userdata) {
  const Systemd* loaded = systemd();
  return loaded ? loaded->eventAddTimeRelative(event, source, clock, usec, accuracy, callback,
                                               userdata)
                : kMissing;
}

int sd_event_loop(sd_event* event) {
  const Systemd* loaded = systemd();
  return loaded ? loaded->eventLoop(event) : kMissing;
}

sd_event_source* sd_event_source_unref(sd_event_source* source) {
  const Systemd* loaded = systemd();
  return loaded ? loaded->sourceUnref(source) : nullptr;
}

int sd_event_source_set_enabled(sd_event_source* source, int enabled) {
  const Systemd* loaded = systemd();
  return loaded ? loaded->sourceSetEnabled(source, enabled) : kMissing;
}

int sd_event_source_set_time_relative(sd_event_source* source, uint64_t usec) {
  const Systemd* loaded = systemd();
  return loaded ? loaded->sourceSetTimeRelative(source, usec) : kMissing;
}

}  // extern "C"
