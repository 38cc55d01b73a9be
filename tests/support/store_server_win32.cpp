// Under Wine a Windows program can start a Linux program but neither read its
// output nor signal it: the server writes its port into a file and stops on
// a request for "__stop__".

#include <windows.h>
#include <winsock2.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <thread>

#include "support/store_server.h"

namespace tunora::testing {
namespace {

// Wine's own export: the Linux path of a Windows path.
std::string unixPath(const std::filesystem::path& path) {
  using Converter = char*(CDECL*)(LPCWSTR);
  const auto convert = reinterpret_cast<Converter>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
  if (convert == nullptr) return {};
  char* converted = convert(path.wstring().c_str());
  if (converted == nullptr) return {};
  std::string text(converted);
  HeapFree(GetProcessHeap(), 0, converted);
  return text;
}

void setVariable(const char* name, const std::string& value) {
  // Both the C runtime's copy and the process environment: WinINet reads one
  // of them when its session opens.
  _putenv((std::string(name) + "=" + value).c_str());
  SetEnvironmentVariableA(name, value.empty() ? nullptr : value.c_str());
}

struct Winsock {
  Winsock() {
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
  }
  ~Winsock() { WSACleanup(); }
};

void sendStop(int port) {
  const Winsock winsock;
  const SOCKET connection = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(static_cast<u_short>(port));
  if (connect(connection, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) {
    const char request[] = "GET /__stop__ HTTP/1.0\r\n\r\n";
    send(connection, request, sizeof request - 1, 0);
    char answer[256];
    while (recv(connection, answer, sizeof answer, 0) > 0) {
    }
  }
  closesocket(connection);
}

}  // namespace

StoreServer::StoreServer(const std::filesystem::path& pages)
    : log_(std::filesystem::temp_directory_path() /
           ("tunora-store-" + std::to_string(GetCurrentProcessId()) + "-" +
            std::to_string(reinterpret_cast<std::uintptr_t>(this)) + ".log")) {
  std::filesystem::path portFile = log_;
  portFile.replace_extension(".port");
  std::filesystem::remove(log_);
  std::filesystem::remove(portFile);
  // The source folder is known as "Z:/..." here; python3 wants the Linux path.
  const std::string script =
      std::string(TUNORA_SOURCE_DIR).substr(2) + "/tests/support/store_server.py";
  std::string command = "python3 \"" + script + "\" \"" + unixPath(log_) + "\" \"" +
                        unixPath(pages) + "\" \"" + unixPath(portFile) + "\"";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessA("Z:\\usr\\bin\\python3", command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      nullptr, &startup, &process))
    return;
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  for (int wait = 0; wait < 200 && port_ == 0; ++wait) {
    std::ifstream(portFile) >> port_;
    if (port_ == 0) std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  std::filesystem::remove(portFile);
  if (port_ == 0) return;
  setVariable("http_proxy", "http://" + host());
  setVariable("no_proxy", "127.0.0.1");
}

StoreServer::~StoreServer() {
  setVariable("http_proxy", "");
  setVariable("no_proxy", "");
  if (port_ != 0) sendStop(port_);
  std::error_code ignored;
  std::filesystem::remove(log_, ignored);
}

std::vector<RecordedRequest> StoreServer::requests() const {
  return readRequestLog(log_);
}

int refusingPort() {
  const Winsock winsock;
  // A port just handed out and released again: nothing listens there.
  const SOCKET listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  int length = sizeof address;
  if (bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length) != 0)
    return 0;
  return ntohs(address.sin_port);
}

}  // namespace tunora::testing
