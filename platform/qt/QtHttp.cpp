#include "platform/qt/QtHttp.h"

#include <QNetworkReply>
#include <QNetworkRequest>
#include <QUrl>
#include <algorithm>
#include <cstdint>

namespace quillet {

namespace {

HttpResponse Answer(QNetworkReply& reply) {
  HttpResponse r;
  r.Status = reply.attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
  for (const auto& [name, value] : reply.rawHeaderPairs()) r.Headers.emplace_back(name.toStdString(), value.toStdString());
  return r;
}

HttpFailure FailureOf(QNetworkReply::NetworkError e) {
  switch (e) {
    case QNetworkReply::HostNotFoundError: return HttpFailure::HostNotFound;
    case QNetworkReply::ConnectionRefusedError: return HttpFailure::Refused;
    case QNetworkReply::TimeoutError: return HttpFailure::Timeout;
    case QNetworkReply::RemoteHostClosedError:
    case QNetworkReply::TemporaryNetworkFailureError:
    case QNetworkReply::NetworkSessionFailedError: return HttpFailure::Reset;
    case QNetworkReply::SslHandshakeFailedError: return HttpFailure::Tls;
    default: return HttpFailure::Other;
  }
}

std::string Seconds(std::chrono::milliseconds ms) {
  const auto tenths = (ms.count() + 50) / 100;
  return std::to_string(tenths / 10) + (tenths % 10 ? "." + std::to_string(tenths % 10) : "") + " s";
}

}  // namespace

QtHttp::QtHttp() {
  // Redirects stay ours: each hop is recorded, and none is followed to a
  // host the caller did not choose.
  manager_.setRedirectPolicy(QNetworkRequest::ManualRedirectPolicy);
  // Nothing answers a server's request for credentials: without a slot on
  // authenticationRequired the request ends with its 401 or 407.
}

QtHttp::~QtHttp() {
  for (auto& [id, p] : pending_) Drop(p);
}

QTimer* QtHttp::StartTimer(std::chrono::milliseconds after, RequestId id, const char* what,
                           std::chrono::milliseconds limit) {
  auto* timer = new QTimer(&owner_);
  timer->setSingleShot(true);
  timer->setTimerType(Qt::PreciseTimer);
  QObject::connect(timer, &QTimer::timeout, timer, [this, id, what, limit] {
    HttpResponse r;
    r.Failure = HttpFailure::Timeout;
    r.Error = std::string(what) + Seconds(limit);
    Finish(id, r);
  });
  timer->start(static_cast<int>(std::clamp<int64_t>(after.count(), 0, INT32_MAX)));
  return timer;
}

Http::RequestId QtHttp::Send(const HttpRequest& request, Done done) {
  const RequestId id = next_++;
  Pending& p = pending_[id];
  p.OnDone = std::move(done);

  QUrl url(QString::fromStdString(request.Url), QUrl::TolerantMode);
  url.setUserInfo(QString());
  url.setFragment(QString());
  const QString scheme = url.scheme().toLower();
  if (!url.isValid() || url.host().isEmpty() || (scheme != "http" && scheme != "https")) {
    // Answered from the loop, as every request is.
    QTimer::singleShot(0, &owner_, [this, id] {
      HttpResponse r;
      r.Failure = HttpFailure::Other;
      r.Error = "not an address that can be fetched";
      Finish(id, r);
    });
    return id;
  }

  QNetworkRequest r(url);
  r.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
  r.setAttribute(QNetworkRequest::CookieLoadControlAttribute, QNetworkRequest::Manual);
  r.setAttribute(QNetworkRequest::CookieSaveControlAttribute, QNetworkRequest::Manual);
  r.setAttribute(QNetworkRequest::AuthenticationReuseAttribute, QNetworkRequest::Manual);
  r.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
  r.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
  for (const auto& [name, value] : request.Headers)
    r.setRawHeader(QByteArray::fromStdString(name), QByteArray::fromStdString(value));

  QNetworkReply* reply = request.Method == HttpMethod::Head ? manager_.head(r) : manager_.get(r);
  p.Reply = reply;
  p.Deadline = StartTimer(request.Timeout, id, "no answer within ", request.Timeout);
  p.Connect = StartTimer(request.ConnectTimeout, id, "no connection within ", request.ConnectTimeout);

  // The request went out: the connection stands.
  QObject::connect(reply, &QNetworkReply::requestSent, reply, [this, id] {
    const auto it = pending_.find(id);
    if (it != pending_.end() && it->second.Connect) {
      it->second.Connect->stop();
      it->second.Connect->deleteLater();
      it->second.Connect = nullptr;
    }
  });
  // The headers are in: that is all a check needs, the body is never read.
  QObject::connect(reply, &QNetworkReply::metaDataChanged, reply, [this, id, reply] {
    if (reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).isValid()) Finish(id, Answer(*reply));
  });
  QObject::connect(reply, &QNetworkReply::finished, reply, [this, id, reply] {
    if (!pending_.count(id)) return;
    if (reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).isValid()) return Finish(id, Answer(*reply));
    HttpResponse r;
    r.Failure = FailureOf(reply->error());
    r.Error = reply->errorString().toStdString();
    Finish(id, r);
  });
  return id;
}

void QtHttp::Drop(Pending& p) {
  for (QTimer* t : {p.Deadline, p.Connect}) {
    if (!t) continue;
    t->stop();
    t->deleteLater();
  }
  p.Deadline = p.Connect = nullptr;
  if (QNetworkReply* reply = p.Reply.data()) {
    // Aborting emits finished at once: the request is gone from the list
    // first, so that its handler ignores it.
    reply->disconnect(reply);
    // Aborting a reply that has finished makes Qt complain.
    if (reply->isRunning()) reply->abort();
    reply->deleteLater();
  }
}

void QtHttp::Finish(RequestId id, const HttpResponse& response) {
  const auto it = pending_.find(id);
  if (it == pending_.end()) return;
  Pending p = std::move(it->second);
  pending_.erase(it);
  Drop(p);
  if (p.OnDone) p.OnDone(response);
}

void QtHttp::Cancel(RequestId id) {
  const auto it = pending_.find(id);
  if (it == pending_.end()) return;
  Pending p = std::move(it->second);
  pending_.erase(it);
  Drop(p);
}

}  // namespace quillet
