#pragma once
// The HTTP port on Qt Network. Redirects are not followed (every hop is the
// caller's), cookies are neither sent nor kept, no credentials are given
// (neither from the address nor when a server asks), and a request has a
// total deadline of its own: Qt's transfer timeout restarts with every byte,
// so a server that trickles would never run out of it.
#include <QNetworkAccessManager>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <unordered_map>

#include "platform/Http.h"

class QNetworkReply;

namespace quillet {

class QtHttp : public Http {
 public:
  QtHttp();
  ~QtHttp() override;

  RequestId Send(const HttpRequest& request, Done done) override;
  void Cancel(RequestId id) override;

 private:
  struct Pending {
    QPointer<QNetworkReply> Reply;
    QTimer* Deadline = nullptr;
    QTimer* Connect = nullptr;
    Done OnDone;
  };
  void Finish(RequestId id, const HttpResponse& response);
  void Drop(Pending& p);
  QTimer* StartTimer(std::chrono::milliseconds after, RequestId id, const char* what, std::chrono::milliseconds limit);

  QObject owner_;
  QNetworkAccessManager manager_;
  std::unordered_map<RequestId, Pending> pending_;
  RequestId next_ = 1;
};

}  // namespace quillet
