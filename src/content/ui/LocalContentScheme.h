#pragma once
// The web engine's side of the local content scheme (content/LocalContent.h) and of "app:"
// links. Both schemes are registered once, before the QApplication exists; each content view
// installs the handlers on its own profile.

#include <QWebEngineUrlSchemeHandler>

#include <functional>
#include <string>
#include <vector>

namespace orv {

// Registers the local content scheme and "app" with the web engine; call before the
// QApplication is made (later calls are ignored by the engine).
void RegisterContentSchemes();

// Serves local pages: what ServeLocalUrl allows, from the folders roots() names at the time of
// the request; every other request fails.
class CLocalContentScheme : public QWebEngineUrlSchemeHandler {
    Q_OBJECT
public:
    using RootsProvider = std::function<std::vector<std::string>()>;
    explicit CLocalContentScheme(RootsProvider roots, QObject* parent = nullptr);

    void requestStarted(QWebEngineUrlRequestJob* job) override;

private:
    RootsProvider m_roots;
};

// "app:" links are reader commands, never content: the view handles them in its navigation
// filter, and any request that still reaches the engine (a picture, a frame) fails.
class CRefusingScheme : public QWebEngineUrlSchemeHandler {
    Q_OBJECT
public:
    using QWebEngineUrlSchemeHandler::QWebEngineUrlSchemeHandler;

    void requestStarted(QWebEngineUrlRequestJob* job) override;
};

} // namespace orv
