#pragma once
// The HTTP port: what the link check needs of the network. One request at a
// time per call, answered later on the same thread through the event loop
// the caller runs. Backends: platform/qt/QtHttp (Qt Network) and a scripted
// double for tests (tests/support/ScriptedHttp.h).
//
// A backend follows no redirect itself (the caller records every hop),
// sends no cookie and no credentials, and never asks anyone but the host the
// address names.
#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quillet {

enum class HttpMethod : uint8_t { Head, Get };

struct HttpRequest {
  HttpMethod Method = HttpMethod::Head;
  // An absolute http: or https: address.
  std::string Url;
  // Sent as given, after the backend's own (Host and the like).
  std::vector<std::pair<std::string, std::string>> Headers;
  // From sending to the answer's headers, all in: a server that trickles
  // its answer a byte at a time still runs out of it.
  std::chrono::milliseconds Timeout{20000};
  // From sending until the connection stands (the name looked up and
  // connected, TLS agreed).
  std::chrono::milliseconds ConnectTimeout{10000};
};

// Why no answer came.
enum class HttpFailure : uint8_t {
  None,          // an answer: see Status
  HostNotFound,  // the host name does not resolve
  Refused,       // nothing listens there
  Timeout,       // the deadline or the connect timeout passed
  Reset,         // the connection was closed or reset before an answer
  Tls,           // the secure connection could not be made or trusted
  Other,
};

struct HttpResponse {
  HttpFailure Failure = HttpFailure::None;
  // The answer's status code; 0 with a failure.
  int Status = 0;
  // The answer's headers as received (names in any letter case).
  std::vector<std::pair<std::string, std::string>> Headers;
  // The backend's words for a failure.
  std::string Error;

  // The first header of that name, any letter case.
  std::optional<std::string> Header(std::string_view name) const;
};

class Http {
 public:
  using RequestId = uint64_t;
  using Done = std::function<void(const HttpResponse&)>;

  virtual ~Http() = default;
  // Starts a request; done is called once, later, from the event loop, with
  // the answer's status and headers (a GET's body is never read: the
  // transfer stops at the headers) or the failure.
  virtual RequestId Send(const HttpRequest& request, Done done) = 0;
  // Aborts a request at once; its done is not called. Unknown or finished
  // ids are ignored.
  virtual void Cancel(RequestId id) = 0;
};

}  // namespace quillet
