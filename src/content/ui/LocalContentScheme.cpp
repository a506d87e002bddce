#include "content/ui/LocalContentScheme.h"

#include "content/LocalContent.h"

#include <QBuffer>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineUrlScheme>

namespace orv {

void RegisterContentSchemes()
{
    // A host makes the scheme a standard one: relative links, pictures and style sheets of a
    // page resolve against it, and all of it shares one origin. Local: pages from the web may
    // not load it. Secure: pages of it may use what the engine keeps for trusted origins.
    QWebEngineUrlScheme local(kLocalScheme);
    local.setSyntax(QWebEngineUrlScheme::Syntax::Host);
    local.setDefaultPort(QWebEngineUrlScheme::PortUnspecified);
    local.setFlags(QWebEngineUrlScheme::LocalScheme | QWebEngineUrlScheme::SecureScheme
        | QWebEngineUrlScheme::CorsEnabled);
    QWebEngineUrlScheme::registerScheme(local);

    // Without a registered scheme and a handler, the engine hands "app:" links to the desktop
    // and the navigation filter never sees them.
    QWebEngineUrlScheme app("app");
    app.setSyntax(QWebEngineUrlScheme::Syntax::Path);
    QWebEngineUrlScheme::registerScheme(app);
}

CLocalContentScheme::CLocalContentScheme(RootsProvider roots, QObject* parent)
    : QWebEngineUrlSchemeHandler(parent)
    , m_roots(std::move(roots))
{
}

void CLocalContentScheme::requestStarted(QWebEngineUrlRequestJob* job)
{
    if (job->requestMethod() != QByteArrayLiteral("GET")) {
        job->fail(QWebEngineUrlRequestJob::RequestDenied);
        return;
    }
    const std::string url = job->requestUrl().toString(QUrl::FullyEncoded).toStdString();
    LocalReply reply = ServeLocalUrl(url, m_roots ? m_roots() : std::vector<std::string>());
    if (!reply.Ok) {
        job->fail(QWebEngineUrlRequestJob::UrlNotFound);
        return;
    }
    // The job owns the buffer, which holds its own copy of the bytes.
    auto* body = new QBuffer(job);
    body->setData(QByteArray::fromStdString(reply.Body));
    body->open(QIODevice::ReadOnly);
    job->reply(QByteArray::fromStdString(reply.MimeType), body);
}

void CRefusingScheme::requestStarted(QWebEngineUrlRequestJob* job)
{
    job->fail(QWebEngineUrlRequestJob::RequestDenied);
}

} // namespace orv
